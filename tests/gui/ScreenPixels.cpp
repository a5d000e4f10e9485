#include "gui/ScreenPixels.h"

#include "editor/XShmPresenter.h"

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
    // Straight from the server's window: GDK's own readers may answer from
    // cairo's copy of what it drew.
    wxPoint origin;
    const unsigned long xid = NativeXWindowOf(window, origin);
    if (!xid)
        return wxImage();
    GdkDisplay* display = gdk_display_get_default();
    gdk_x11_display_error_trap_push(display);
    XImage* got = XGetImage(gdk_x11_display_get_xdisplay(display), xid, area.x + origin.x, area.y + origin.y,
                            static_cast<unsigned>(area.width), static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (gdk_x11_display_error_trap_pop(display) != 0 || !got) {
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
