#include "editor/XShmPresenter.h"

#include <wx/region.h>
#include <wx/window.h>

#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3) && defined(KIB_HAVE_XSHM)
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <vector>
#define KIB_XSHM_PRESENT 1
#endif

namespace {
bool g_disabled = false;
// Segments attached to the server at once: views beyond (many documents
// shown once each) keep their pixels in their own memory, as before.
int g_segments = 0;
} // namespace

void CXShmPresenter::Disable(bool disabled)
{
    g_disabled = disabled;
}

#ifdef KIB_XSHM_PRESENT

struct CXShmPresenter::Impl {
    wxWindow* window = nullptr;
    GdkDisplay* gdk = nullptr;
    Display* d = nullptr;
    bool usable = false;
    Visual* visual = nullptr;

    XShmSegmentInfo info{};
    XImage* image = nullptr; // over the attached segment

    Window gcWindow = 0;
    GC gc = nullptr;
    // The last request that reads the segment, while the server may not
    // have carried it out yet.
    unsigned long lastRead = 0;
    bool reading = false;

    void Release()
    {
        if (!image)
            return;
        XShmDetach(d, &info);
        image->data = nullptr; // the segment is not the image's to free
        XDestroyImage(image);
        image = nullptr;
        shmdt(info.shmaddr);
        info = XShmSegmentInfo{};
        --g_segments;
    }
};

namespace {

// A 24-bit true-colour visual whose pixels are the canvas's words.
Visual* CanvasVisual(Display* d)
{
    XVisualInfo want{};
    want.screen = DefaultScreen(d);
    want.depth = 24;
    want.c_class = TrueColor;
    int n = 0;
    XVisualInfo* found = XGetVisualInfo(d, VisualScreenMask | VisualDepthMask | VisualClassMask, &want, &n);
    Visual* visual = nullptr;
    for (int i = 0; i < n && !visual; ++i)
        if (found[i].red_mask == 0xFF0000 && found[i].green_mask == 0xFF00 && found[i].blue_mask == 0xFF)
            visual = found[i].visual;
    if (found)
        XFree(found);
    return visual;
}

// Child windows of GTK 3 draw onto the nearest native window; (ox, oy) is
// where the child lies in it.
GdkWindow* NativeOf(GdkWindow* window, int& ox, int& oy)
{
    ox = oy = 0;
    GdkWindow* native = window;
    while (native && !gdk_window_has_native(native)) {
        int x = 0, y = 0;
        gdk_window_get_position(native, &x, &y);
        ox += x;
        oy += y;
        native = gdk_window_get_parent(native);
    }
    return native;
}

} // namespace

unsigned long NativeXWindowOf(wxWindow* window, wxPoint& origin)
{
    GdkWindow* gdk = window ? window->GTKGetDrawingWindow() : nullptr;
    if (!gdk || !GDK_IS_X11_DISPLAY(gdk_window_get_display(gdk)))
        return 0;
    GdkWindow* native = NativeOf(gdk, origin.x, origin.y);
    return native ? gdk_x11_window_get_xid(native) : 0;
}

CXShmPresenter::CXShmPresenter(wxWindow* window) : m(std::make_unique<Impl>())
{
    m->window = window;
    m->gdk = gdk_display_get_default();
    if (!m->gdk || !GDK_IS_X11_DISPLAY(m->gdk))
        return;
    m->d = gdk_x11_display_get_xdisplay(m->gdk);
    // Asked once: every view is made on the same display.
    static Visual* const visual = XShmQueryExtension(m->d) ? CanvasVisual(m->d) : nullptr;
    m->visual = visual;
    m->usable = visual != nullptr;
}

CXShmPresenter::~CXShmPresenter()
{
    WaitForReader();
    m->Release();
    if (m->gc)
        XFreeGC(m->d, m->gc);
}

bool CXShmPresenter::Usable() const
{
    return m->usable && !g_disabled;
}

uint32_t* CXShmPresenter::Allocate(int width, int height)
{
    WaitForReader();
    m->Release();
    if (!Usable() || width <= 0 || height <= 0 || g_segments >= kMaxSegments)
        return nullptr;
    XImage* image = XShmCreateImage(m->d, m->visual, 24, ZPixmap, nullptr, &m->info, static_cast<unsigned>(width),
                                    static_cast<unsigned>(height));
    if (!image)
        return nullptr;
    // The canvas's rows are packed words in the machine's byte order.
    const bool little = [] {
        const uint16_t one = 1;
        return *reinterpret_cast<const uint8_t*>(&one) == 1;
    }();
    if (image->bits_per_pixel != 32 || image->bytes_per_line != width * 4 ||
        image->byte_order != (little ? LSBFirst : MSBFirst)) {
        XDestroyImage(image);
        m->usable = false;
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height);
    m->info.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (m->info.shmid < 0) {
        XDestroyImage(image);
        return nullptr;
    }
    void* addr = shmat(m->info.shmid, nullptr, 0);
    if (addr == reinterpret_cast<void*>(-1)) {
        shmctl(m->info.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        return nullptr;
    }
    m->info.shmaddr = image->data = static_cast<char*>(addr);
    m->info.readOnly = True;
    // A server on another machine cannot attach: learn it here, once.
    gdk_x11_display_error_trap_push(m->gdk);
    XShmAttach(m->d, &m->info);
    XSync(m->d, False);
    const bool attached = gdk_x11_display_error_trap_pop(m->gdk) == 0;
    // Gone once both sides have detached, also should Kib end abruptly.
    shmctl(m->info.shmid, IPC_RMID, nullptr);
    if (!attached) {
        image->data = nullptr;
        XDestroyImage(image);
        shmdt(addr);
        m->info = XShmSegmentInfo{};
        m->usable = false;
        return nullptr;
    }
    m->image = image;
    ++g_segments;
    return static_cast<uint32_t*>(addr);
}

void CXShmPresenter::WaitForReader()
{
    if (!m->reading)
        return;
    m->reading = false;
    // Events and replies read since the put usually show it done already.
    if (static_cast<long>(LastKnownRequestProcessed(m->d) - m->lastRead) < 0)
        XSync(m->d, False);
}

bool CXShmPresenter::Put(const CPixelCanvas& canvas, const wxRegion& area, const wxRect& caret, COLORREF caretColor)
{
    if (!Usable() || !m->image || canvas.Data() != reinterpret_cast<const uint32_t*>(m->image->data) ||
        canvas.Width() != m->image->width ||
        canvas.Height() != m->image->height)
        return false;
    GdkWindow* window = m->window->GTKGetDrawingWindow();
    if (!window || gdk_window_get_scale_factor(window) != 1 || !gdk_window_is_viewable(window))
        return false;
    int ox = 0, oy = 0;
    GdkWindow* native = NativeOf(window, ox, oy);
    if (!native || gdk_visual_get_depth(gdk_window_get_visual(native)) != 24)
        return false;
    const Window xid = gdk_x11_window_get_xid(native);
    if (m->gcWindow != xid) {
        if (m->gc)
            XFreeGC(m->d, m->gc);
        XGCValues values{};
        values.graphics_exposures = False;
        m->gc = XCreateGC(m->d, xid, GCGraphicsExposures, &values);
        m->gcWindow = xid;
    }
    // Only the part of the view inside its parents (windows lying over it
    // leave the drawing to GTK).
    cairo_region_t* visible = gdk_window_get_visible_region(window);
    std::vector<XRectangle> clip;
    for (int i = 0, n = cairo_region_num_rectangles(visible); i < n; ++i) {
        cairo_rectangle_int_t r;
        cairo_region_get_rectangle(visible, i, &r);
        clip.push_back({static_cast<short>(r.x + ox), static_cast<short>(r.y + oy), static_cast<unsigned short>(r.width),
                        static_cast<unsigned short>(r.height)});
    }
    cairo_region_destroy(visible);
    if (clip.empty())
        return true;
    gdk_x11_display_error_trap_push(m->gdk);
    XSetClipRectangles(m->d, m->gc, 0, 0, clip.data(), static_cast<int>(clip.size()), Unsorted);
    const wxRect bounds(0, 0, canvas.Width(), canvas.Height());
    for (wxRegionIterator it(area); it; ++it) {
        const wxRect r = it.GetRect().Intersect(bounds);
        if (!r.IsEmpty())
            XShmPutImage(m->d, xid, m->gc, m->image, r.x, r.y, r.x + ox, r.y + oy, static_cast<unsigned>(r.width),
                         static_cast<unsigned>(r.height), False);
    }
    m->lastRead = NextRequest(m->d) - 1;
    m->reading = true;
    if (!caret.IsEmpty()) {
        XSetForeground(m->d, m->gc, CPixelCanvas::ToPixel(caretColor));
        XFillRectangle(m->d, xid, m->gc, caret.x + ox, caret.y + oy, static_cast<unsigned>(caret.width),
                       static_cast<unsigned>(caret.height));
    }
    gdk_x11_display_error_trap_pop_ignored(m->gdk);
    XFlush(m->d);
    return true;
}

#else // no X shared memory here: the view keeps drawing through its DC

struct CXShmPresenter::Impl {};

unsigned long NativeXWindowOf(wxWindow*, wxPoint&)
{
    return 0;
}

CXShmPresenter::CXShmPresenter(wxWindow*) : m(std::make_unique<Impl>()) {}
CXShmPresenter::~CXShmPresenter() = default;
bool CXShmPresenter::Usable() const
{
    return false;
}
uint32_t* CXShmPresenter::Allocate(int, int)
{
    return nullptr;
}
void CXShmPresenter::WaitForReader() {}
bool CXShmPresenter::Put(const CPixelCanvas&, const wxRegion&, const wxRect&, COLORREF)
{
    return false;
}

#endif
