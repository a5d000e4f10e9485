#include "gui/ScreenPixels.h"

#include <wx/window.h>

#include <cstring>

#include <gdk/gdkx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace kibtest {

wxImage ScreenPixels(wxWindow* window, const wxRect& area)
{
    if (!window || area.IsEmpty())
        return wxImage();
    GdkWindow* gdk = window->GTKGetDrawingWindow();
    if (!gdk || !GDK_IS_X11_DISPLAY(gdk_window_get_display(gdk)))
        return wxImage();
    // Straight from the server's window: GDK's own readers may answer from
    // cairo's copy of what it drew.
    int ox = 0, oy = 0;
    GdkWindow* native = gdk;
    while (native && !gdk_window_has_native(native)) {
        int x = 0, y = 0;
        gdk_window_get_position(native, &x, &y);
        ox += x;
        oy += y;
        native = gdk_window_get_parent(native);
    }
    if (!native)
        return wxImage();
    Display* d = gdk_x11_display_get_xdisplay(gdk_window_get_display(gdk));
    gdk_x11_display_error_trap_push(gdk_window_get_display(gdk));
    XImage* got = XGetImage(d, gdk_x11_window_get_xid(native), area.x + ox, area.y + oy,
                            static_cast<unsigned>(area.width), static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (gdk_x11_display_error_trap_pop(gdk_window_get_display(gdk)) != 0 || !got) {
        if (got)
            XDestroyImage(got);
        return wxImage();
    }
    wxImage image(area.width, area.height, false);
    unsigned char* dst = image.GetData();
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x, dst += 3) {
            const unsigned long p = XGetPixel(got, x, y);
            dst[0] = static_cast<unsigned char>((p >> 16) & 0xFF);
            dst[1] = static_cast<unsigned char>((p >> 8) & 0xFF);
            dst[2] = static_cast<unsigned char>(p & 0xFF);
        }
    XDestroyImage(got);
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
