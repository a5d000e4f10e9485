// CTextView: colours, fonts and metrics, painting through CTextRenderer
// into the view's pixels, and the caret the view draws itself.
#include "editor/TextView.h"

#include "editor/XShmPresenter.h"

#include "text/TextLayout.h"
#include "text/Utf8.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/evtloop.h>

#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kCaretBlinkMs = 500;

wxColour ToWx(COLORREF c)
{
    return wxColour(static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>((c >> 8) & 0xFF),
                    static_cast<unsigned char>((c >> 16) & 0xFF));
}

void FillRect(wxDC& dc, const wxRect& r, COLORREF c)
{
    if (r.width <= 0 || r.height <= 0)
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToWx(c)));
    dc.DrawRectangle(r);
}

} // namespace

// ---------------------------------------------------------------- colours

COLORREF CTextView::TextColor(int colorClass) const
{
    return m_colors.TextColor(colorClass);
}

COLORREF CTextView::BackColor(int colorClass) const
{
    return m_colors.BackColor(colorClass);
}

bool CTextView::IsClassItalic(int colorClass) const
{
    return m_colors.IsItalic(colorClass);
}

bool CTextView::IsClassBold(int colorClass) const
{
    return m_colors.IsBold(colorClass);
}

void CTextView::SetClassTextColor(int colorClass, COLORREF color)
{
    if (m_colors.SetTextColor(colorClass, color))
        Refresh();
}

void CTextView::SetClassBackColor(int colorClass, COLORREF color)
{
    if (m_colors.SetBackColor(colorClass, color))
        Refresh();
}

void CTextView::SetClassStyle(int colorClass, int styleBits)
{
    if (m_colors.SetStyle(colorClass, styleBits))
        Refresh();
}

int CTextView::ClassStyle(int colorClass) const
{
    return m_colors.Style(colorClass);
}

void CTextView::SetClassBold(int colorClass, bool on)
{
    SetClassStyleBit(colorClass, STYLE_BOLD, on);
}

void CTextView::SetClassItalic(int colorClass, bool on)
{
    SetClassStyleBit(colorClass, STYLE_ITALIC, on);
}

void CTextView::SetClassUnderline(int colorClass, bool on)
{
    SetClassStyleBit(colorClass, 4, on);
}

void CTextView::SetClassStyleBit(int colorClass, int bit, bool on)
{
    const int s = ClassStyle(colorClass);
    SetClassStyle(colorClass, on ? (s | bit) : (s & ~bit));
}

// ---------------------------------------------------------------- metrics

void CTextView::InvalidateMetrics()
{
    m_lineHeight = -1;
    m_charWidth = -1;
    m_screenLines = -1;
    m_screenColumns = -1;
    for (wxFont& f : m_fonts)
        f = wxNullFont;
    m_renderer.Glyphs().Clear();
}
wxFont& CTextView::GetStyleFont(bool bold, bool italic)
{
    wxFont& font = m_fonts[static_cast<size_t>((bold ? 1 : 0) + (italic ? 2 : 0))];
    if (font.IsOk())
        return font;
    static const int ppi = [] {
        int y = wxScreenDC().GetPPI().y;
        return y > 0 ? y : 96;
    }();
    int points = m_logFont.lfHeight == 0 ? 0 : std::abs(m_logFont.PointSize(ppi));
    if (points <= 0)
        points = wxNORMAL_FONT->GetPointSize() > 0 ? wxNORMAL_FONT->GetPointSize() : 10;
    auto make = [&](const wxString& face) {
        wxFontInfo info(points);
        info.Family(wxFONTFAMILY_TELETYPE).Bold(bold).Italic(italic);
        if (!face.empty())
            info.FaceName(face);
        return wxFont(info);
    };
    // The layout needs one cell width: a face that the font system renders
    // with a proportional substitute is replaced by the monospace family.
    auto fixedPitch = [this](const wxFont& f) {
        int wi = 0, ww = 0, h = 0;
        GetTextExtent("iiiiiiii", &wi, &h, nullptr, nullptr, &f);
        GetTextExtent("WWWWWWWW", &ww, &h, nullptr, nullptr, &f);
        return wi == ww && wi > 0;
    };
    font = make(wxString::FromUTF8(m_logFont.FaceName()));
    if (!font.IsOk() || !fixedPitch(font))
        font = make("Monospace");
    if (!font.IsOk())
        font = GetFont();
    return font;
}

void CTextView::EnsureMetrics()
{
    if (m_lineHeight < 0 || m_charWidth < 0) {
        int w = 0, h = 0;
        wxFont& normal = GetStyleFont(false, false);
        GetTextExtent("X", &w, &h, nullptr, nullptr, &normal);
        // The line is made taller where the font inks beyond it, so that
        // the dots of Ä, Ö and Ü are not cut off; its text moves down by
        // what reaches above.
        int above = 0, below = 0;
        for (int style = 0; style < 4; ++style) {
            int a = 0, b = 0;
            CGlyphCache::InkBeyondLine(GetStyleFont(style & 1, style & 2), a, b);
            above = std::max(above, a);
            below = std::max(below, b);
        }
        m_glyphTop = above;
        m_fontHeight = std::max(1, h);
        m_lineHeight = std::max(1, h + above + below);
        m_charWidth = std::max(1, w);
    }
    if (m_digitWidth < 0) {
        int w = 0, h = 0;
        GetTextExtent("X", &w, &h);
        m_digitWidth = std::max(1, w);
    }
}

int CTextView::GetLineHeight()
{
    EnsureMetrics();
    return m_lineHeight;
}

int CTextView::GetFontHeight()
{
    EnsureMetrics();
    return m_fontHeight;
}

int CTextView::GetCharWidth()
{
    EnsureMetrics();
    return m_charWidth;
}

int CTextView::GetScreenLines()
{
    if (m_screenLines < 0) {
        EnsureMetrics();
        m_screenLines = std::max(0, GetClientSize().y / m_lineHeight);
    }
    return m_screenLines;
}

int CTextView::GetScreenColumns()
{
    if (m_screenColumns < 0) {
        EnsureMetrics();
        m_screenColumns = std::max(0, (GetClientSize().x - MarginWidth()) / m_charWidth);
    }
    return m_screenColumns;
}

int CTextView::MarginWidth()
{
    EnsureMetrics();
    int width = m_selectionMargin ? kSelectionMarginWidth : 0;
    if (m_lineNumbers) {
        char text[16];
        int n = std::snprintf(text, sizeof text, "%d:", LineCount());
        width += m_digitWidth * n + 5;
    }
    if (width != m_lastMarginWidth) {
        if (m_lastMarginWidth >= 0) {
            m_screenColumns = -1;
            Refresh();
        }
        m_lastMarginWidth = width;
    }
    return width;
}

int CTextView::DisplayColumn(TextPos pos) const
{
    if (pos.y < 0 || pos.y >= LineCount())
        return 0;
    const char* chars = LineChars(pos.y);
    const int len = LineLength(pos.y);
    // Far into a very long line painted there (the caret at its end), from
    // the places painting keeps instead of the line's start.
    const textlayout::ColumnMark from = m_renderer.MarkBefore(pos.y, chars, len, pos.x, GetTabWidth(), Encoding());
    return textlayout::DisplayColumn(chars, len, pos.x, GetTabWidth(), Encoding(), from);
}

int CTextView::NextCharIndex(TextPos pos) const
{
    const int len = LineLength(pos.y);
    if (Encoding() == TextEncoding::Utf8 && pos.x >= 0 && pos.x < len)
        return utf8::Next(LineChars(pos.y), len, pos.x);
    return std::min(pos.x + 1, len);
}

int CTextView::PrevCharIndex(TextPos pos) const
{
    const int len = LineLength(pos.y);
    if (Encoding() == TextEncoding::Utf8 && pos.x > 0 && pos.x <= len)
        return utf8::Prev(LineChars(pos.y), len, pos.x);
    return std::max(pos.x - 1, 0);
}

int CTextView::ColumnToChar(int line, int column) const
{
    if (line < 0 || line >= LineCount())
        return 0;
    return textlayout::ColumnToChar(LineChars(line), LineLength(line), column, GetTabWidth(), Encoding());
}

TextPos CTextView::PointToText(const wxPoint& point)
{
    EnsureMetrics();
    int slot = point.y >= 0 ? point.y / m_lineHeight : -((-point.y + m_lineHeight - 1) / m_lineHeight);
    int line = std::clamp(slot + m_topLine, 0, LineCount() - 1);
    int dx = point.x - MarginWidth();
    int cell = dx >= 0 ? dx / m_charWidth : -((-dx + m_charWidth - 1) / m_charWidth);
    int column = std::max(0, cell + m_firstColumn);
    int x = textlayout::HitColumnToChar(LineChars(line), LineLength(line), column, GetTabWidth(), Encoding());
    return TextPos(x, line);
}

wxPoint CTextView::TextToPoint(TextPos pos)
{
    EnsureMetrics();
    return wxPoint(m_charWidth * (DisplayColumn(pos) - m_firstColumn) + MarginWidth(),
                   m_lineHeight * (pos.y - m_topLine));
}

// ---------------------------------------------------------------- line states

LineState CTextView::ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs,
                                  int runCapacity, int& runCount)
{
    runCount = 0;
    return state;
}

LineState CTextView::GetLineState(int line)
{
    if (line < 0 || !m_buffer)
        return 0;
    return m_states.StateAfter(*m_buffer, std::min(line, m_buffer->LineCount() - 1));
}

void CTextView::StoreLineState(int line, LineState state)
{
    if (m_buffer)
        m_states.Store(line, state);
}

bool CTextView::BraceMatchOnLine(int line, int& column, char& partner) const
{
    return m_buffer && m_braces.MatchOnLine(*m_buffer, line, column, partner);
}

// ---------------------------------------------------------------- painting

void CTextView::Refresh(bool eraseBackground, const wxRect* rect)
{
    const wxRect client(GetClientSize());
    if (rect) {
        wxRect r = rect->Intersect(client);
        if (r.IsEmpty())
            return;
        m_dirty.Union(r);
    } else if (!client.IsEmpty()) {
        m_dirty.Union(client);
    }
    if (!DeferScreen(rect))
        wxWindow::Refresh(false, rect);
}

void CTextView::RefreshScreen(const wxRect& rect)
{
    if (!DeferScreen(&rect))
        wxWindow::Refresh(false, &rect);
}

// ---------------------------------------------------------------- presenting at once

namespace {

int g_presentDepth = 0;
wxEventLoopBase* g_presentLoop = nullptr;
std::vector<CTextView*> g_presentPending;
bool g_presentCatchUpQueued = false;

} // namespace

CTextView::PresentScope::PresentScope()
{
    if (g_presentDepth++ == 0)
        g_presentLoop = wxEventLoopBase::GetActive();
}

CTextView::PresentScope::~PresentScope()
{
    if (--g_presentDepth == 0) {
        PresentPending();
        g_presentLoop = nullptr;
    }
}

void CTextView::PresentPending()
{
    std::vector<CTextView*> views;
    views.swap(g_presentPending);
    for (CTextView* view : views)
        view->Present();
}

#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
namespace {

// Whether another window of the program lies over part of this one: what is
// drawn onto the native window at once would cover it there. GDK keeps a
// parent's children topmost first.
bool HasWindowAbove(GdkWindow* window)
{
    if (!window)
        return false;
    GdkRectangle area{0, 0, gdk_window_get_width(window), gdk_window_get_height(window)};
    for (GdkWindow* w = window; !gdk_window_has_native(w);) {
        GdkWindow* parent = gdk_window_get_parent(w);
        if (!parent)
            break;
        int x = 0, y = 0;
        gdk_window_get_position(w, &x, &y);
        area.x += x;
        area.y += y;
        for (GList* it = gdk_window_peek_children(parent); it && it->data != w; it = it->next) {
            GdkWindow* sibling = GDK_WINDOW(it->data);
            if (!gdk_window_is_visible(sibling) || gdk_window_is_input_only(sibling))
                continue;
            GdkRectangle r{0, 0, gdk_window_get_width(sibling), gdk_window_get_height(sibling)};
            gdk_window_get_position(sibling, &r.x, &r.y);
            if (gdk_rectangle_intersect(&area, &r, nullptr))
                return true;
        }
        w = parent;
    }
    return false;
}

} // namespace
#endif

bool CTextView::CanPresentAtOnce() const
{
#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
    // Only X lets a program draw onto its window outside the toolkit's frame.
    static const bool x11 = GDK_IS_X11_DISPLAY(gdk_display_get_default());
    const wxSize client = GetClientSize();
    return x11 && GetHandle() && client.x > 0 && client.y > 0 && m_canvas.Width() == client.x &&
           m_canvas.Height() == client.y && IsShownOnScreen() && !IsFrozen() &&
           !HasWindowAbove(GTKGetDrawingWindow());
#else
    return false;
#endif
}

bool CTextView::DeferScreen(const wxRect* rect)
{
    // A dialog's loop, run from inside a key's handler, paints as usual.
    if (g_presentDepth == 0 || wxEventLoopBase::GetActive() != g_presentLoop || !CanPresentAtOnce())
        return false;
    const wxRect client(GetClientSize());
    const wxRect area = rect ? rect->Intersect(client) : client;
    if (area.IsEmpty())
        return true;
    m_screen.Union(area);
    if (!m_presentQueued) {
        m_presentQueued = true;
        g_presentPending.push_back(this);
        if (!g_presentCatchUpQueued && wxTheApp) {
            // Should the handler open a dialog, its loop shows what was kept
            // back so far.
            g_presentCatchUpQueued = true;
            wxTheApp->CallAfter([] {
                g_presentCatchUpQueued = false;
                PresentPending();
            });
        }
    }
    return true;
}

void CTextView::CancelPresent()
{
    if (m_presentQueued)
        g_presentPending.erase(std::remove(g_presentPending.begin(), g_presentPending.end(), this),
                               g_presentPending.end());
    m_presentQueued = false;
}

void CTextView::Present()
{
    m_presentQueued = false;
    if (m_screen.IsEmpty())
        return;
    const wxRegion screen(m_screen);
    m_screen.Clear();
    if (!CanPresentAtOnce()) {
        for (wxRegionIterator it(screen); it; ++it) {
            const wxRect r = it.GetRect();
            wxWindow::Refresh(false, &r);
        }
        return;
    }
    RenderDirty();
    ++m_paintCount;
    wxRect caret; // stays empty when no caret shows
    COLORREF caretColor = 0;
    CaretToDraw(caret, caretColor);
    if (m_canvas.IsShared() && m_presenter->Put(m_canvas, screen, caret, caretColor)) {
        m_canvas.MarkHandedOver();
        return;
    }
    {
        wxClientDC dc(this);
        for (wxRegionIterator it(screen); it; ++it) {
            const wxRect r = it.GetRect();
            m_canvas.CopyTo(dc, r, r.GetPosition());
        }
        FillRect(dc, caret, caretColor);
    }
#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
    gdk_display_flush(gdk_display_get_default());
#endif
}

void CTextView::EnsureGlyphFonts()
{
    EnsureMetrics();
    CGlyphCache& glyphs = m_renderer.Glyphs();
    for (int slot = CGlyphCache::kNormal; slot <= CGlyphCache::kBoldItalic; ++slot)
        if (!glyphs.HasFont(slot))
            glyphs.SetFont(slot, GetStyleFont(slot & 1, slot & 2), m_charWidth, m_lineHeight, m_glyphTop);
    if (!glyphs.HasFont(CGlyphCache::kMargin)) {
        int w = 0, h = 0;
        GetTextExtent("0", &w, &h);
        glyphs.SetFont(CGlyphCache::kMargin, GetFont(), 0, std::max(1, h));
    }
}

// Everything but the margin's width, which may change as it is asked.
TextPaintFrame CTextView::PaintFrame()
{
    EnsureMetrics();
    TextPaintFrame frame;
    frame.topLine = m_topLine;
    frame.firstColumn = m_firstColumn;
    frame.lineHeight = m_lineHeight;
    frame.charWidth = m_charWidth;
    frame.tabWidth = GetTabWidth();
    frame.clientWidth = GetClientSize().x;
    frame.showWhitespace = m_showWhitespace;
    frame.selectionMargin = m_selectionMargin;
    frame.lineNumbers = m_lineNumbers;
    frame.drawGuide = m_drawGuide;
    frame.guidePosition = m_guidePosition;
    frame.showSelection = (m_focused || m_inactiveSelectionShown) && IsSelection();
    GetOrderedSelection(frame.selStart, frame.selEnd);
    return frame;
}

void CTextView::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize client = GetClientSize();
    if (client.x <= 0 || client.y <= 0)
        return;
    EnsureMetrics();
    EnsureGlyphFonts();
    ++m_paintCount;
    if (m_canvas.Width() != client.x || m_canvas.Height() != client.y) {
        if (!m_presenter) {
            m_presenter = std::make_unique<CXShmPresenter>(this);
            if (m_presenter->Usable())
                m_canvas.SetSharedStore(m_presenter.get());
        }
        m_canvas.Resize(client.x, client.y);
        m_dirty = wxRegion(wxRect(client));
    }
    RenderDirty();
    for (wxRegionIterator it(GetUpdateRegion()); it; ++it) {
        wxRect r = it.GetRect();
        m_canvas.CopyTo(dc, r, r.GetPosition());
    }
    PaintCaret(dc);
}

void CTextView::RenderDirty()
{
    if (m_dirty.IsEmpty())
        return;
    EnsureGlyphFonts();
    // The margin's width may change while drawing (more digits), which
    // marks everything dirty again: draw until nothing is left.
    wxRect painted;
    for (int pass = 0; pass < 3 && !m_dirty.IsEmpty(); ++pass) {
        wxRegion todo(m_dirty);
        m_dirty.Clear();
        painted.Union(todo.GetBox());
        for (wxRegionIterator it(todo); it; ++it) {
            TextPaintFrame frame = PaintFrame();
            frame.marginWidth = MarginWidth();
            m_renderer.RenderArea(m_canvas, it.GetRect(), frame, *this);
        }
    }
    m_lastPaintBox = painted;
    m_paintedArea.Union(painted);
}

void CTextView::PaintMargin(wxDC& dc, const wxRect& rect, int line)
{
    PaintAlone(dc, rect, line, true);
}

void CTextView::PaintLine(wxDC& dc, const wxRect& rect, int line)
{
    PaintAlone(dc, rect, line, false);
}

void CTextView::PaintAlone(wxDC& dc, const wxRect& rect, int line, bool margin)
{
    EnsureGlyphFonts();
    CPixelCanvas scratch;
    scratch.Resize(rect.width, rect.height);
    const wxRect box(0, 0, rect.width, rect.height);
    if (margin)
        m_renderer.RenderMargin(scratch, box, wxRect(), line, PaintFrame(), *this);
    else
        m_renderer.RenderLine(scratch, box, wxRect(), line, PaintFrame(), *this);
    scratch.CopyTo(dc, box, rect.GetPosition());
}

wxRect CTextView::CaretRect() const
{
    return wxRect(m_caretPixel.x, m_caretPixel.y, 2, std::max(1, m_lineHeight));
}

bool CTextView::CaretToDraw(wxRect& rect, COLORREF& color)
{
    if (m_indicatorPos.IsValid()) {
        if (DisplayColumn(m_indicatorPos) < m_firstColumn)
            return false;
        const wxPoint p = TextToPoint(m_indicatorPos);
        rect = wxRect(p.x, p.y, 2, m_lineHeight);
        color = m_indicatorGrey ? 0x808080 : TextColor(CI_WND);
        return true;
    }
    if (!m_caretShown || !m_caretBlinkOn)
        return false;
    const wxPoint p = TextToPoint(GetCaretPos());
    rect = wxRect(p.x, p.y, 2, m_lineHeight);
    color = TextColor(CI_WND);
    return true;
}

void CTextView::PaintCaret(wxDC& dc)
{
    wxRect rect;
    COLORREF color = 0;
    if (CaretToDraw(rect, color))
        FillRect(dc, rect, color);
}

void CTextView::InvalidateLines(int first, int last)
{
    if (!GetHandle())
        return;
    EnsureMetrics();
    wxSize client = GetClientSize();
    if (first < 0)
        first = 0;
    int top = (first - m_topLine) * m_lineHeight;
    int bottom = last < 0 ? client.y : (last - m_topLine + 1) * m_lineHeight;
    top = std::max(top, 0);
    bottom = std::min(bottom, client.y);
    if (bottom > top)
        RefreshRect(wxRect(0, top, client.x, bottom - top), false);
}

void CTextView::InvalidateSelectionLines()
{
    if (!IsSelection())
        return;
    TextPos s, e;
    GetOrderedSelection(s, e);
    InvalidateLines(s.y, e.y);
}

// ---------------------------------------------------------------- caret

void CTextView::RefreshCaret()
{
    if (!GetHandle())
        return;
    EnsureMetrics();
    const TextPos caret = GetCaretPos();
    bool show = m_focused && !m_caretHidden && DisplayColumn(caret) >= m_firstColumn;
    wxPoint p = show ? TextToPoint(caret) : wxPoint();
    if (show != m_caretShown || p != m_caretPixel || !m_caretBlinkOn) {
        if (m_caretShown)
            RefreshScreen(CaretRect());
        m_caretShown = show;
        m_caretPixel = p;
        m_caretBlinkOn = true;
        if (show)
            RefreshScreen(CaretRect());
    }
    if (show)
        m_caretTimer.Start(kCaretBlinkMs);
    else
        m_caretTimer.Stop();
}

void CTextView::OnCaretTimer(wxTimerEvent&)
{
    if (!m_caretShown) {
        m_caretTimer.Stop();
        return;
    }
    m_caretBlinkOn = !m_caretBlinkOn;
    RefreshScreen(CaretRect());
}

wxRect CTextView::IndicatorRect()
{
    wxPoint p = TextToPoint(m_indicatorPos);
    return wxRect(p.x, p.y, 2, std::max(1, m_lineHeight));
}

void CTextView::SetIndicatorCaret(TextPos pos, bool grey)
{
    if (m_indicatorPos.IsValid() && GetHandle())
        RefreshScreen(IndicatorRect());
    m_indicatorPos = pos;
    m_indicatorGrey = grey;
    if (pos.IsValid() && GetHandle())
        RefreshScreen(IndicatorRect());
}
