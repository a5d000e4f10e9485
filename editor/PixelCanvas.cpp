#include "editor/PixelCanvas.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/image.h>

#ifdef __WXGTK3__
#include <cairo.h>
#endif

#include <algorithm>
#include <cstring>

CPixelCanvas::~CPixelCanvas()
{
    Touch();
}

void CPixelCanvas::SetSharedStore(ISharedStore* store)
{
    Touch();
    if (m_shared && m_store)
        m_store->Allocate(0, 0); // gives the old memory back
    m_store = store;
    Allocate();
}

void CPixelCanvas::Resize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == m_width && height == m_height)
        return;
    Touch();
    m_width = width;
    m_height = height;
    Allocate();
    ResetClip();
}

void CPixelCanvas::Allocate()
{
    const size_t n = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    m_data = m_store && n ? m_store->Allocate(m_width, m_height) : nullptr;
    m_shared = m_data != nullptr;
    if (m_shared) {
        m_own.clear();
        m_own.shrink_to_fit();
        std::fill_n(m_data, n, 0xFFFFFFu);
    } else {
        m_own.assign(n, 0xFFFFFF);
        m_data = m_own.data();
    }
}

void CPixelCanvas::SetClip(const wxRect& clip)
{
    m_clip = clip.Intersect(wxRect(0, 0, m_width, m_height));
}

void CPixelCanvas::ResetClip()
{
    m_clip = wxRect(0, 0, m_width, m_height);
}

void CPixelCanvas::Fill(const wxRect& rect, COLORREF color)
{
    wxRect r = rect.Intersect(m_clip);
    if (r.IsEmpty())
        return;
    Touch();
    const uint32_t px = ToPixel(color);
    // Stored a pixel at a time, a screenful of backgrounds takes a large part
    // of a repaint; copies go at the memory's width. The first row doubles
    // itself, the others are copies of it.
    uint32_t* first = Row(r.y) + r.x;
    const int seed = std::min(r.width, 16);
    std::fill_n(first, seed, px);
    for (int done = seed; done < r.width;) {
        const int n = std::min(done, r.width - done);
        std::memcpy(first + done, first, static_cast<size_t>(n) * sizeof(uint32_t));
        done += n;
    }
    for (int y = r.y + 1; y < r.y + r.height; ++y)
        std::memcpy(Row(y) + r.x, first, static_cast<size_t>(r.width) * sizeof(uint32_t));
}

void CPixelCanvas::VLine(int x, int y0, int y1, COLORREF color)
{
    Fill(wxRect(x, y0, 1, y1 - y0), color);
}

void CPixelCanvas::DottedVLine(int x, int y0, int y1, COLORREF color)
{
    if (x < m_clip.x || x >= m_clip.x + m_clip.width)
        return;
    Touch();
    const uint32_t px = ToPixel(color);
    int from = std::max(y0, m_clip.y);
    int to = std::min(y1, m_clip.y + m_clip.height);
    for (int y = from + (from & 1); y < to; y += 2)
        Row(y)[x] = px;
}

void CPixelCanvas::DrawGlyph(int x, int y, const CGlyphCache::Glyph& glyph, COLORREF color)
{
    wxRect r = wxRect(x, y, glyph.width, glyph.height).Intersect(m_clip);
    if (r.IsEmpty())
        return;
    Touch();
    const int fr = color & 0xFF, fg = (color >> 8) & 0xFF, fb = (color >> 16) & 0xFF;
    for (int yy = r.y; yy < r.y + r.height; ++yy) {
        const uint8_t* m = glyph.mask.data() + static_cast<size_t>(yy - y) * static_cast<size_t>(glyph.width) + (r.x - x);
        uint32_t* p = Row(yy) + r.x;
        for (int i = 0; i < r.width; ++i) {
            const unsigned a = m[i];
            if (a == 0)
                continue;
            uint32_t old = p[i];
            if (a == 255) {
                p[i] = static_cast<uint32_t>((fr << 16) | (fg << 8) | fb);
                continue;
            }
            const int br = (old >> 16) & 0xFF, bg = (old >> 8) & 0xFF, bb = old & 0xFF;
            const int nr = br + ((fr - br) * static_cast<int>(a) + 127) / 255;
            const int ng = bg + ((fg - bg) * static_cast<int>(a) + 127) / 255;
            const int nb = bb + ((fb - bb) * static_cast<int>(a) + 127) / 255;
            p[i] = static_cast<uint32_t>((nr << 16) | (ng << 8) | nb);
        }
    }
}

void CPixelCanvas::DrawImage(int x, int y, const wxImage& image)
{
    if (!image.IsOk())
        return;
    wxRect r = wxRect(x, y, image.GetWidth(), image.GetHeight()).Intersect(m_clip);
    const bool masked = image.HasMask();
    const unsigned char mr = image.GetMaskRed(), mg = image.GetMaskGreen(), mb = image.GetMaskBlue();
    const unsigned char* data = image.GetData();
    Touch();
    for (int yy = r.y; yy < r.y + r.height; ++yy) {
        uint32_t* p = Row(yy);
        for (int xx = r.x; xx < r.x + r.width; ++xx) {
            const unsigned char* s = data + (static_cast<size_t>(yy - y) * image.GetWidth() + (xx - x)) * 3;
            if (masked && s[0] == mr && s[1] == mg && s[2] == mb)
                continue;
            p[xx] = static_cast<uint32_t>((s[0] << 16) | (s[1] << 8) | s[2]);
        }
    }
}

void CPixelCanvas::Scroll(const wxRect& area, int dx, int dy)
{
    wxRect a = area.Intersect(wxRect(0, 0, m_width, m_height));
    if (a.IsEmpty() || (dx == 0 && dy == 0))
        return;
    wxRect dst = wxRect(a.x + dx, a.y + dy, a.width, a.height).Intersect(a);
    if (dst.IsEmpty())
        return;
    Touch();
    const size_t bytes = static_cast<size_t>(dst.width) * sizeof(uint32_t);
    auto copyRow = [&](int y) { std::memmove(Row(y) + dst.x, Row(y - dy) + dst.x - dx, bytes); };
    if (dy > 0) {
        for (int y = dst.y + dst.height - 1; y >= dst.y; --y)
            copyRow(y);
    } else {
        for (int y = dst.y; y < dst.y + dst.height; ++y)
            copyRow(y);
    }
}

void CPixelCanvas::CopyTo(wxDC& dc, const wxRect& srcRect, const wxPoint& dst) const
{
    wxRect src = srcRect.Intersect(wxRect(0, 0, m_width, m_height));
    if (src.IsEmpty())
        return;
#ifdef __WXGTK3__
    if (wxGraphicsContext* gc = dc.GetGraphicsContext()) {
        if (auto* cr = static_cast<cairo_t*>(gc->GetNativeContext())) {
            cairo_surface_t* surface = cairo_image_surface_create_for_data(
                reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(m_data)), CAIRO_FORMAT_RGB24,
                m_width, m_height, m_width * static_cast<int>(sizeof(uint32_t)));
            if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
                cairo_save(cr);
                cairo_rectangle(cr, dst.x, dst.y, src.width, src.height);
                cairo_clip(cr);
                cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
                cairo_set_source_surface(cr, surface, dst.x - src.x, dst.y - src.y);
                cairo_paint(cr);
                cairo_restore(cr);
                cairo_surface_destroy(surface);
                return;
            }
            cairo_surface_destroy(surface);
        }
    }
#endif
    wxImage image(src.width, src.height, false);
    unsigned char* out = image.GetData();
    for (int y = 0; y < src.height; ++y) {
        const uint32_t* p = m_data + static_cast<size_t>(src.y + y) * m_width + src.x;
        for (int x = 0; x < src.width; ++x, out += 3) {
            out[0] = static_cast<unsigned char>((p[x] >> 16) & 0xFF);
            out[1] = static_cast<unsigned char>((p[x] >> 8) & 0xFF);
            out[2] = static_cast<unsigned char>(p[x] & 0xFF);
        }
    }
    dc.DrawBitmap(wxBitmap(image), dst.x, dst.y, false);
}

COLORREF CPixelCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    uint32_t p = m_data[static_cast<size_t>(y) * m_width + x];
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}
