// The glyphs the text view paints keep all of their ink: marks that reach
// above or below the font's line (the dots of Ä, Ö and Ü in some fixed
// fonts) are not cut off by the line's cell.
#include "editor/GlyphCache.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <string>

namespace {

long InkOf(const CGlyphCache::Glyph& g)
{
    long sum = 0;
    for (uint8_t v : g.mask)
        sum += v;
    return sum;
}

// The character drawn alone, with room all round.
long InkDrawnFreely(const wxFont& font, wchar_t c, int width, int height)
{
    wxBitmap bmp(width, 3 * height, 24);
    {
        wxMemoryDC dc(bmp);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        dc.SetFont(font);
        dc.SetTextForeground(*wxWHITE);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        dc.DrawText(wxString(c), 0, height);
    }
    const wxImage img = bmp.ConvertToImage();
    long sum = 0;
    for (int i = 0; i < width * 3 * height; ++i) {
        const unsigned char* p = img.GetData() + static_cast<size_t>(i) * 3;
        sum += std::max({p[0], p[1], p[2]});
    }
    return sum;
}

} // namespace

TEST(GlyphCache, MarksAboveAndBelowTheLineKeepTheirInk)
{
    // "Courier New", the editor's default, falls back to a font whose
    // capital umlauts reach above its line where it is not installed.
    for (const char* face : {"Courier New", "Courier", "Monospace", "DejaVu Sans Mono"}) {
        for (bool bold : {false, true}) {
            wxFont font(wxFontInfo(10).FaceName(face).Bold(bold));
            wxBitmap probe(1, 1);
            wxMemoryDC dc(probe);
            dc.SetFont(font);
            wxCoord cw = 0, h = 0;
            dc.GetTextExtent("X", &cw, &h);
            dc.SelectObject(wxNullBitmap);
            int above = -1, below = -1;
            CGlyphCache::InkBeyondLine(font, above, below);
            ASSERT_GE(above, 0);
            ASSERT_GE(below, 0);
            EXPECT_LT(above + below, h) << face;
            CGlyphCache cache;
            cache.SetFont(CGlyphCache::kNormal, font, cw, h + above + below, above);
            for (wchar_t c : std::wstring(L"ÄÖÜÅÉÇçgjpyÿ")) {
                const CGlyphCache::Glyph& g = cache.Get(CGlyphCache::kNormal, static_cast<char32_t>(c));
                const long free = InkDrawnFreely(font, c, g.width, h);
                ASSERT_GT(free, 0) << face;
                EXPECT_GE(InkOf(g) * 100, free * 99)
                    << face << (bold ? " bold" : "") << ": " << wxString(c).utf8_string() << " cut off";
            }
        }
    }
}
