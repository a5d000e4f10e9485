// The view's pixel buffer: filling, glyph blending, scrolling in place, the
// copy onto a DC, and memory shared with a reader.
#include "editor/GlyphCache.h"
#include "editor/PixelCanvas.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <functional>
#include <iterator>
#include <vector>

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

// Memory as a display server's shared segment would give it, counting how
// often the canvas waits for the reader.
class FakeStore : public CPixelCanvas::ISharedStore {
public:
    uint32_t* Allocate(int width, int height) override
    {
        ++allocations;
        lastSize = wxSize(width, height);
        if (refuse || width <= 0 || height <= 0) {
            memory.clear();
            return nullptr;
        }
        memory.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xDEADBEEF);
        return memory.data();
    }
    void WaitForReader() override { ++waits; }

    std::vector<uint32_t> memory;
    wxSize lastSize;
    int allocations = 0;
    int waits = 0;
    bool refuse = false;
};

TEST(PixelCanvas, PixelsHandedToAReaderAreWaitedForOnceBeforeTheyChange)
{
    FakeStore store;
    CPixelCanvas c;
    c.SetSharedStore(&store);
    c.Resize(8, 4);
    ASSERT_TRUE(c.IsShared());
    EXPECT_EQ(c.Data(), store.memory.data());
    EXPECT_EQ(store.memory[0], 0xFFFFFFu) << "fresh shared pixels start white, as the canvas's own";
    c.Fill(wxRect(0, 0, 8, 4), 0x102030);
    EXPECT_EQ(store.waits, 0) << "nothing was handed over yet";

    c.MarkHandedOver();
    EXPECT_EQ(c.Pixel(0, 0), 0x102030u) << "reading needs no wait";
    c.Fill(wxRect(0, 0, 1, 1), 0x000000);
    c.Fill(wxRect(1, 0, 1, 1), 0x000000);
    EXPECT_EQ(store.waits, 1);

    // Every kind of change waits.
    CGlyphCache::Glyph glyph;
    glyph.width = 1;
    glyph.height = 1;
    glyph.mask = {255};
    const std::function<void()> changes[] = {
        [&] { c.VLine(2, 0, 4, 0x0000FF); },
        [&] { c.DottedVLine(3, 0, 4, 0x0000FF); },
        [&] { c.DrawGlyph(4, 0, glyph, 0x00FF00); },
        [&] { c.DrawImage(0, 0, wxImage(2, 2)); },
        [&] { c.Scroll(wxRect(0, 0, 8, 4), 0, 1); },
        [&] { c.Resize(6, 3); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        c.MarkHandedOver();
        const int before = store.waits;
        changes[i]();
        EXPECT_EQ(store.waits, before + 1) << "change " << i;
    }
    EXPECT_EQ(store.lastSize, wxSize(6, 3)) << "a new size asks the store again";
}

TEST(PixelCanvas, ARefusingStoreOrNoneLeavesTheCanvasItsOwnMemory)
{
    FakeStore store;
    store.refuse = true;
    CPixelCanvas c;
    c.SetSharedStore(&store);
    c.Resize(5, 5);
    EXPECT_FALSE(c.IsShared());
    c.MarkHandedOver(); // own memory is never read by anyone else
    c.Fill(wxRect(0, 0, 5, 5), 0x010203);
    EXPECT_EQ(store.waits, 0);
    EXPECT_EQ(c.Pixel(4, 4), 0x010203u);

    store.refuse = false;
    c.SetSharedStore(&store);
    EXPECT_TRUE(c.IsShared()) << "the store is asked again for the same size";
    c.MarkHandedOver();
    c.SetSharedStore(nullptr);
    EXPECT_EQ(store.waits, 1) << "the reader is done before the memory goes";
    EXPECT_EQ(store.lastSize, wxSize(0, 0)) << "and the memory is given back";
    EXPECT_FALSE(c.IsShared());
    c.Fill(wxRect(0, 0, 5, 5), 0x040506);
    EXPECT_EQ(c.Pixel(2, 2), 0x040506u);
}

TEST(PixelCanvas, ACanvasWaitsForTheReaderBeforeItGoes)
{
    FakeStore store;
    {
        CPixelCanvas c;
        c.SetSharedStore(&store);
        c.Resize(3, 3);
        c.MarkHandedOver();
    }
    EXPECT_EQ(store.waits, 1);
}

} // namespace
