#include "editor/GlyphCache.h"

#include "text/Utf8.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

wxSize TextExtent(const wxFont& font, const wxString& text)
{
    wxBitmap probe(1, 1);
    wxMemoryDC dc(probe);
    dc.SetFont(font);
    return dc.GetTextExtent(text);
}

// The text drawn at (x, y) into width x height pixels, white on black: the
// brightness of each pixel is its coverage.
std::vector<uint8_t> Coverage(const wxFont& font, const wxString& text, int width, int height, int x, int y)
{
    wxBitmap bmp(width, height, 24);
    {
        wxMemoryDC mdc(bmp);
        mdc.SetBackground(*wxBLACK_BRUSH);
        mdc.Clear();
        mdc.SetFont(font);
        mdc.SetTextForeground(*wxWHITE);
        mdc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        mdc.DrawText(text, x, y);
    }
    const wxImage img = bmp.ConvertToImage();
    std::vector<uint8_t> mask(static_cast<size_t>(width) * static_cast<size_t>(height));
    const unsigned char* rgb = img.GetData();
    for (size_t i = 0; i < mask.size(); ++i) {
        const unsigned char* p = rgb + i * 3;
        mask[i] = std::max({p[0], p[1], p[2]});
    }
    return mask;
}

} // namespace

void CGlyphCache::SetFont(int slot, const wxFont& font, int cellWidth, int height, int top)
{
    Slot& s = m_slots[static_cast<size_t>(slot)];
    s = Slot();
    s.font = font;
    s.cellWidth = cellWidth;
    s.height = std::max(1, height);
    s.top = std::max(0, top);
    s.latin.fill(-1);
}

void CGlyphCache::InkBeyondLine(const wxFont& font, int& above, int& below)
{
    // Measured once per font: every view of a session asks for the same.
    static std::unordered_map<std::string, std::pair<int, int>> measured;
    const std::string key = font.GetNativeFontInfoDesc().utf8_string();
    if (auto it = measured.find(key); it != measured.end()) {
        above = it->second.first;
        below = it->second.second;
        return;
    }
    above = below = 0;
    // Capitals with marks above, letters with marks or tails below.
    const wxString probe = wxString::FromUTF8("ÄÖÜÅÉÈÊÂÎÔÛÑØÇçgjpqyÿ|");
    const wxSize extent = TextExtent(font, probe);
    const int w = extent.x, h = extent.y;
    if (w > 0 && h > 0) {
        // The line drawn a line's height down, in a bitmap three lines high.
        const std::vector<uint8_t> ink = Coverage(font, probe, w, 3 * h, 0, h);
        int first = -1, last = -1;
        for (int y = 0; y < 3 * h; ++y) {
            const uint8_t* row = ink.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
            // Faint anti-aliasing at the edge is not worth a taller line.
            if (std::any_of(row, row + w, [](uint8_t v) { return v >= 64; })) {
                if (first < 0)
                    first = y;
                last = y;
            }
        }
        if (first >= 0) {
            above = std::max(0, h - first);
            below = std::max(0, last + 1 - 2 * h);
        }
    }
    measured.emplace(key, std::make_pair(above, below));
}

void CGlyphCache::Clear()
{
    for (Slot& s : m_slots)
        s = Slot();
}

CGlyphCache::Glyph CGlyphCache::Render(const Slot& slot, char32_t c) const
{
    Glyph g;
    g.height = slot.height;
    const wxString text(static_cast<wchar_t>(c));
    const int w = TextExtent(slot.font, text).x;
    g.width = slot.cellWidth > 0 ? slot.cellWidth * utf8::CellWidth(c) : std::max<int>(1, w);
    // A wide glyph from a fallback font is narrower than its two cells:
    // centred in them, it stays clear of its neighbours.
    const int left = g.width > w && slot.cellWidth > 0 ? (g.width - w) / 2 : 0;
    g.mask = Coverage(slot.font, text, g.width, g.height, left, slot.top);
    return g;
}

const CGlyphCache::Glyph& CGlyphCache::Get(int slotIndex, char32_t c)
{
    Slot& slot = m_slots[static_cast<size_t>(slotIndex)];
    int* index = nullptr;
    if (c < 256) {
        index = &slot.latin[c];
    } else {
        auto it = slot.other.find(c);
        if (it == slot.other.end())
            it = slot.other.emplace(c, -1).first;
        index = &it->second;
    }
    if (*index < 0) {
        slot.glyphs.push_back(Render(slot, c));
        *index = static_cast<int>(slot.glyphs.size()) - 1;
    }
    return slot.glyphs[static_cast<size_t>(*index)];
}

int CGlyphCache::TextWidth(int slot, const std::u32string& text)
{
    int w = 0;
    for (char32_t c : text)
        w += Get(slot, c).width;
    return w;
}
