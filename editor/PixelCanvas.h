// The text view's own pixels: rectangles, lines and glyph cells drawn into
// a plain buffer, moved in place for scrolling, and copied onto a window or
// memory DC (with cairo where wx draws with it, else through an image).
#pragma once

#include "editor/GlyphCache.h"
#include "settings/Settings.h"

#include <wx/gdicmn.h>

#include <cstdint>
#include <vector>

class wxDC;
class wxImage;

class CPixelCanvas {
public:
    // Memory another process reads the pixels from (the display server,
    // through shared memory): the canvas asks it for memory, and waits for
    // the reader to finish before it changes a pixel that was handed over.
    class ISharedStore {
    public:
        virtual ~ISharedStore() = default;
        // Memory for width x height pixels, nullptr to use the canvas's own;
        // what an earlier call gave may be released.
        virtual uint32_t* Allocate(int width, int height) = 0;
        virtual void WaitForReader() = 0;
    };

    CPixelCanvas() = default;
    ~CPixelCanvas();
    CPixelCanvas(const CPixelCanvas&) = delete;
    CPixelCanvas& operator=(const CPixelCanvas&) = delete;

    // The store outlives the canvas or is unset first; setting it drops the
    // contents (the size stays).
    void SetSharedStore(ISharedStore* store);
    bool IsShared() const { return m_shared; }
    // The pixels were handed to the store's reader.
    void MarkHandedOver() { m_handedOver = m_shared; }

    // The contents are undefined after a change of size.
    void Resize(int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width <= 0 || m_height <= 0; }

    // Every drawing operation stays inside the clip (and the canvas).
    void SetClip(const wxRect& clip);
    void ResetClip();

    void Fill(const wxRect& rect, COLORREF color);
    void VLine(int x, int y0, int y1, COLORREF color);
    // Every other pixel, starting on an even y, as a dotted 1-pixel pen.
    void DottedVLine(int x, int y0, int y1, COLORREF color);
    // The glyph's coverage blended over what is there, in color.
    void DrawGlyph(int x, int y, const CGlyphCache::Glyph& glyph, COLORREF color);
    // Pixels of an image, except those of its mask colour.
    void DrawImage(int x, int y, const wxImage& image);

    // Moves the pixels inside area by (dx, dy); the uncovered part keeps
    // stale pixels for the caller to draw.
    void Scroll(const wxRect& area, int dx, int dy);

    // Copies src of the canvas to dst of a DC.
    void CopyTo(wxDC& dc, const wxRect& src, const wxPoint& dst) const;

    COLORREF Pixel(int x, int y) const;
    // Rows of Width() words, 0x00RRGGBB.
    const uint32_t* Data() const { return m_data; }
    static uint32_t ToPixel(COLORREF c)
    {
        // cairo's RGB24 word: 0x00RRGGBB
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }

private:
    void Allocate();
    // Every change of a pixel starts here.
    void Touch()
    {
        if (m_handedOver) {
            m_handedOver = false;
            m_store->WaitForReader();
        }
    }
    uint32_t* Row(int y) { return m_data + static_cast<size_t>(y) * static_cast<size_t>(m_width); }

    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_own;
    uint32_t* m_data = nullptr;
    ISharedStore* m_store = nullptr;
    bool m_shared = false;
    bool m_handedOver = false;
    wxRect m_clip;
};
