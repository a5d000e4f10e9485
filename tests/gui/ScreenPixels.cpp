#include "gui/ScreenPixels.h"

#include <wx/window.h>

#include <cstring>

#include <gdk/gdk.h>

namespace kibtest {

wxImage ScreenPixels(wxWindow* window, const wxRect& area)
{
    if (!window || area.IsEmpty())
        return wxImage();
    GdkWindow* gdk = window->GTKGetDrawingWindow();
    if (!gdk)
        return wxImage();
    gdk_display_sync(gdk_window_get_display(gdk));
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk, area.x, area.y, area.width, area.height);
    if (!pixbuf)
        return wxImage();
    const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* src = gdk_pixbuf_get_pixels(pixbuf);
    wxImage image(w, h, false);
    unsigned char* dst = image.GetData();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            std::memcpy(dst + (static_cast<size_t>(y) * w + x) * 3, src + y * stride + x * channels, 3);
    g_object_unref(pixbuf);
    return image;
}

bool PixelsDiffer(const wxImage& a, const wxImage& b)
{
    if (!a.IsOk() || !b.IsOk())
        return false;
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return true;
    return std::memcmp(a.GetData(), b.GetData(), static_cast<size_t>(a.GetWidth()) * a.GetHeight() * 3) != 0;
}

} // namespace kibtest
