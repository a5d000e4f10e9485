// The view's pixel buffer: filling, glyph blending, scrolling in place, and
// the copy onto a DC.
#include "editor/GlyphCache.h"
#include "editor/PixelCanvas.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

namespace {

TEST(PixelCanvas, FillsInsideTheClipOnly)
{
    CPixelCanvas c;
    c.Resize(10, 10);
    c.Fill(wxRect(0, 0, 10, 10), 0x000000);
    c.SetClip(wxRect(2, 2, 3, 3));
    c.Fill(wxRect(0, 0, 10, 10), 0x0000FF);
    EXPECT_EQ(c.Pixel(2, 2), 0x0000FFu);
    EXPECT_EQ(c.Pixel(4, 4), 0x0000FFu);
    EXPECT_EQ(c.Pixel(5, 5), 0x000000u);
    EXPECT_EQ(c.Pixel(1, 3), 0x000000u);
    c.ResetClip();
    c.DottedVLine(7, 0, 10, 0x123456);
    EXPECT_EQ(c.Pixel(7, 0), 0x123456u);
    EXPECT_EQ(c.Pixel(7, 1), 0x000000u);
    EXPECT_EQ(c.Pixel(7, 2), 0x123456u);
}

TEST(PixelCanvas, FillsOfEveryWidthCoverTheirRectangleExactly)
{
    CPixelCanvas c;
    c.Resize(90, 4);
    for (int width = 1; width <= 80; ++width) {
        c.Fill(wxRect(0, 0, 90, 4), 0x000000);
        c.Fill(wxRect(3, 1, width, 2), 0x00AB12);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 90; ++x) {
                const bool inside = y >= 1 && y <= 2 && x >= 3 && x < 3 + width;
                ASSERT_EQ(c.Pixel(x, y), inside ? 0x00AB12u : 0u) << "width " << width << " at " << x << "," << y;
            }
    }
}

TEST(PixelCanvas, ScrollMovesPixelsInsideTheAreaOnly)
{
    CPixelCanvas c;
    c.Resize(8, 8);
    for (int y = 0; y < 8; ++y)
        c.Fill(wxRect(0, y, 8, 1), static_cast<COLORREF>(y + 1));
    c.Scroll(wxRect(0, 0, 8, 8), 0, -2); // content moves up two rows
    EXPECT_EQ(c.Pixel(0, 0), 3u);
    EXPECT_EQ(c.Pixel(0, 5), 8u);
    c.Fill(wxRect(0, 0, 8, 8), 0);
    for (int x = 0; x < 8; ++x)
        c.Fill(wxRect(x, 0, 1, 8), static_cast<COLORREF>(x + 1));
    c.Scroll(wxRect(3, 0, 5, 8), 2, 0); // columns 3.. move right, 0-2 stay
    EXPECT_EQ(c.Pixel(0, 4), 1u);
    EXPECT_EQ(c.Pixel(2, 4), 3u);
    EXPECT_EQ(c.Pixel(5, 4), 4u);
    EXPECT_EQ(c.Pixel(7, 4), 6u);
}

TEST(PixelCanvas, GlyphCoverageBlendsAndTheCopyReachesABitmap)
{
    CGlyphCache glyphs;
    wxFont font(wxFontInfo(12).Family(wxFONTFAMILY_TELETYPE));
    glyphs.SetFont(CGlyphCache::kNormal, font, 10, 18);
    const CGlyphCache::Glyph& m = glyphs.Get(CGlyphCache::kNormal, U'M');
    EXPECT_EQ(m.width, 10);
    EXPECT_EQ(m.height, 18);
    int covered = 0;
    for (uint8_t a : m.mask)
        covered += a > 128;
    EXPECT_GT(covered, 10);
    EXPECT_EQ(&glyphs.Get(CGlyphCache::kNormal, U'M'), &m); // rendered once
    const CGlyphCache::Glyph& blank = glyphs.Get(CGlyphCache::kNormal, U' ');
    for (uint8_t a : blank.mask)
        EXPECT_EQ(a, 0);

    CPixelCanvas c;
    c.Resize(20, 18);
    c.Fill(wxRect(0, 0, 20, 18), 0xFFFFFF);
    c.DrawGlyph(0, 0, m, 0x0000FF); // red
    int red = 0, other = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x) {
            COLORREF p = c.Pixel(x, y);
            if (p == 0x0000FF)
                ++red;
            else if (p != 0xFFFFFF && x >= 10)
                ++other;
        }
    EXPECT_GT(red, 5);
    EXPECT_EQ(other, 0); // nothing outside the glyph's cell

    wxBitmap bmp(20, 18);
    {
        wxMemoryDC dc(bmp);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        c.CopyTo(dc, wxRect(0, 0, 20, 18), wxPoint(0, 0));
    }
    wxImage img = bmp.ConvertToImage();
    EXPECT_EQ(img.GetRed(15, 5), 255);
    EXPECT_EQ(img.GetGreen(15, 5), 255);
    int reds = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 10; ++x)
            reds += img.GetRed(x, y) == 255 && img.GetGreen(x, y) == 0;
    EXPECT_EQ(reds, red);
}

} // namespace
