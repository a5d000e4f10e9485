#include "editor/GlyphCache.h"

#include "text/Utf8.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>

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
    above = below = 0;
    // Capitals with marks above, letters with marks or tails below.
    const wxString probe = wxString::FromUTF8("ÄÖÜÅÉÈÊÂÎÔÛÑØÇçgjpqyÿ|");
    wxBitmap measure(1, 1);
    wxMemoryDC dc(measure);
    dc.SetFont(font);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(probe, &w, &h);
    dc.SelectObject(wxNullBitmap);
    if (w <= 0 || h <= 0)
        return;
    // The line drawn a line's height down, in a bitmap three lines high.
    wxBitmap bmp(w, 3 * h, 24);
    {
        wxMemoryDC mdc(bmp);
        mdc.SetBackground(*wxBLACK_BRUSH);
        mdc.Clear();
        mdc.SetFont(font);
        mdc.SetTextForeground(*wxWHITE);
        mdc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        mdc.DrawText(probe, 0, h);
    }
    const wxImage img = bmp.ConvertToImage();
    const unsigned char* rgb = img.GetData();
    int first = -1, last = -1;
    for (int y = 0; y < 3 * h; ++y) {
        const unsigned char* row = rgb + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        // Faint anti-aliasing at the edge is not worth a taller line.
        if (std::any_of(row, row + static_cast<size_t>(w) * 3, [](unsigned char v) { return v >= 64; })) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    if (first < 0)
        return;
    above = std::max(0, h - first);
    below = std::max(0, last + 1 - 2 * h);
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
    wxString text(static_cast<wchar_t>(c));
    wxBitmap probe(1, 1);
    wxMemoryDC dc(probe);
    dc.SetFont(slot.font);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(text, &w, &h);
    g.width = slot.cellWidth > 0 ? slot.cellWidth * utf8::CellWidth(c) : std::max<int>(1, w);
    dc.SelectObject(wxNullBitmap);
    // White on black: the brightness of each pixel is the glyph's coverage.
    wxBitmap bmp(g.width, g.height, 24);
    {
        wxMemoryDC mdc(bmp);
        mdc.SetBackground(*wxBLACK_BRUSH);
        mdc.Clear();
        mdc.SetFont(slot.font);
        mdc.SetTextForeground(*wxWHITE);
        mdc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        // A wide glyph from a fallback font is narrower than its two cells:
        // centred in them, it stays clear of its neighbours.
        const int left = g.width > w && slot.cellWidth > 0 ? (g.width - w) / 2 : 0;
        mdc.DrawText(text, left, slot.top);
    }
    wxImage img = bmp.ConvertToImage();
    g.mask.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.height));
    const unsigned char* rgb = img.GetData();
    for (size_t i = 0; i < g.mask.size(); ++i) {
        const unsigned char* p = rgb + i * 3;
        g.mask[i] = std::max({p[0], p[1], p[2]});
    }
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
