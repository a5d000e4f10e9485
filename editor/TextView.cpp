#include "editor/TextView.h"

#include "editor/Cp1252.h"
#include "editor/TextLayout.h"
#include "editor/TextMotion.h"
#include "editor/TextTransform.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"
#include "resources/MenuTable.h"

#include <wx/clipbrd.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/splitter.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Runs gathered for one painted line at most; only a line of millions of
// characters, scrolled far to the right, can reach it.
constexpr int kMaxPaintRuns = 3 << 20;
// How far past the visible end the classifier looks for a place where a
// prefix of the line colours exactly like the whole line.
constexpr int kSafeCutSearch = 4096;
constexpr int kCaretBlinkMs = 500;
// Beyond this many characters into a line, painting classifies only a
// window before the visible part.
int g_longLineWindow = 8192;

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

bool IsIdentChar(unsigned char c)
{
    return c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c >= 0x80;
}

// A prefix [0, cut) of a line colours its first want characters exactly as
// the whole line does when the character before cut ends every token (it is
// neither blank, identifier character nor ".") and two characters of
// look-ahead lie inside it.
int SafeCut(const char* chars, int len, int want)
{
    if (want + 2 >= len)
        return len;
    int limit = std::min(len, want + 2 + kSafeCutSearch);
    for (int cut = want + 2; cut <= limit; ++cut) {
        unsigned char c = static_cast<unsigned char>(chars[cut - 1]);
        if (!IsIdentChar(c) && !cp1252::IsSpace(c) && c != '.')
            return cut;
    }
    return limit;
}

int KeyModifiers(const wxKeyEvent& e)
{
    int m = kib::KMOD_NONE;
    if (e.ControlDown())
        m |= kib::KMOD_CTRL;
    if (e.ShiftDown())
        m |= kib::KMOD_SHIFT;
    if (e.AltDown())
        m |= kib::KMOD_ALT;
    return m;
}

int VirtualKeyOf(int code)
{
    switch (code) {
    case WXK_BACK: return kib::VK_BACK;
    case WXK_TAB:
    case WXK_NUMPAD_TAB: return kib::VK_TAB;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: return kib::VK_RETURN;
    case WXK_ESCAPE: return kib::VK_ESCAPE;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP: return kib::VK_PRIOR;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN: return kib::VK_NEXT;
    case WXK_END:
    case WXK_NUMPAD_END: return kib::VK_END;
    case WXK_HOME:
    case WXK_NUMPAD_HOME: return kib::VK_HOME;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT: return kib::VK_LEFT;
    case WXK_UP:
    case WXK_NUMPAD_UP: return kib::VK_UP;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT: return kib::VK_RIGHT;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN: return kib::VK_DOWN;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT: return kib::VK_INSERT;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE: return kib::VK_DELETE;
    default: break;
    }
    if (code >= WXK_F1 && code <= WXK_F12)
        return kib::VK_F1 + (code - WXK_F1);
    if (code >= 'a' && code <= 'z')
        return code - 'a' + 'A';
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return code;
    return 0;
}

template <class V, class T>
void ResizeCache(V& v, size_t n, T fill)
{
    // Exact size the first time; a little room when the text grows later,
    // so that typing line breaks does not double the cache.
    if (n > v.capacity())
        v.reserve(v.empty() ? n : n + n / 32 + 64);
    v.resize(n, fill);
}

int ClassIndex(int colorClass)
{
    if (colorClass == CI_WHITESPACE)
        return CI_WND;
    if (colorClass >= CI_WND && colorClass <= CI_BRACEMATCH && colorClass != CI_DIRECTIVE)
        return colorClass;
    return -1;
}

bool HasStyle(int colorClass)
{
    return (colorClass >= CI_KEYWORD && colorClass <= CI_STRING) || colorClass == CI_BRACEMATCH;
}

} // namespace

CTextView::CTextView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxWANTS_CHARS | wxVSCROLL | wxHSCROLL | wxALWAYS_SHOW_SB),
      m_dragTimer(this, kDragTimerId), m_caretTimer(this, kCaretTimerId)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_states.SetClassifier([this](LineState state, const char* chars, int length) {
        int n = 0;
        return ClassifyLine(state, chars, length, nullptr, 0, n);
    });
    m_braces.SetOption(1);

    // Colours until the settings are applied: the defaults of the settings.
    const CSettings defaults;
    m_textColors[CI_WND] = defaults.m_windowForeground;
    m_backColors[CI_WND] = defaults.m_windowBackground;
    m_textColors[CI_MARGIN] = defaults.m_marginForeground;
    m_backColors[CI_MARGIN] = defaults.m_marginBackground;
    m_textColors[CI_SELECTION] = defaults.m_selectionForeground;
    m_backColors[CI_SELECTION] = defaults.m_selectionBackground;
    const std::pair<int, EHighlight> classes[] = {
        {CI_KEYWORD, HL_KEYWORD},         {CI_FUNCTION, HL_FUNCTION}, {CI_COMMENT, HL_COMMENT},
        {CI_COMMENTMULTI, HL_COMMENTMULTI}, {CI_COMMENTJAVADOC, HL_COMMENTJAVADOC},
        {CI_NUMBER, HL_NUMBER},           {CI_OPERATOR, HL_OPERATOR}, {CI_STRING, HL_STRING},
        {CI_BRACEMATCH, HL_BRACEMATCH},
    };
    for (auto [cls, hl] : classes) {
        const CHighlightStyle& h = defaults.m_highlight[static_cast<size_t>(hl)];
        m_textColors[static_cast<size_t>(cls)] = h.foreground;
        m_backColors[static_cast<size_t>(cls)] = h.background;
        m_styles[static_cast<size_t>(cls)] = h.style;
    }

    CLogFont font;
    font.SetFaceName("FixedSys");
    font.lfWeight = 400;
    SetTextFont(font);

    Bind(wxEVT_PAINT, &CTextView::OnPaint, this);
    Bind(wxEVT_SIZE, &CTextView::OnSize, this);
    Bind(wxEVT_KEY_DOWN, &CTextView::OnKeyDown, this);
    Bind(wxEVT_CHAR, &CTextView::OnChar, this);
    Bind(wxEVT_SET_FOCUS, &CTextView::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CTextView::OnKillFocus, this);
    for (auto type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                      wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                      wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &CTextView::OnScrollWin, this);
    Bind(wxEVT_MOUSEWHEEL, &CTextView::OnMouseWheel, this);
    Bind(wxEVT_LEFT_DOWN, &CTextView::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CTextView::OnLeftUp, this);
    Bind(wxEVT_LEFT_DCLICK, &CTextView::OnLeftDClick, this);
    Bind(wxEVT_RIGHT_DOWN, &CTextView::OnRightDown, this);
    Bind(wxEVT_MOTION, &CTextView::OnMotion, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CTextView::OnCaptureLost, this);
    Bind(wxEVT_TIMER, &CTextView::OnDragTimer, this, kDragTimerId);
    Bind(wxEVT_TIMER, &CTextView::OnCaretTimer, this, kCaretTimerId);
    Bind(wxEVT_MENU, &CTextView::OnMenuCommand, this);
    Bind(wxEVT_UPDATE_UI, &CTextView::OnUpdateCommandUI, this);

    CTextView::ResetViewState();
}

CTextView::~CTextView()
{
    // The window's own destruction, after these members are gone, may still
    // send focus, size and paint events.
    Unbind(wxEVT_PAINT, &CTextView::OnPaint, this);
    Unbind(wxEVT_SIZE, &CTextView::OnSize, this);
    Unbind(wxEVT_SET_FOCUS, &CTextView::OnSetFocus, this);
    Unbind(wxEVT_KILL_FOCUS, &CTextView::OnKillFocus, this);
    Unbind(wxEVT_MOUSE_CAPTURE_LOST, &CTextView::OnCaptureLost, this);
    m_dragTimer.Stop();
    m_caretTimer.Stop();
    if (HasCapture())
        ReleaseMouse();
    if (m_buffer)
        m_buffer->UnregisterView(this);
    m_buffer = nullptr;
}

// ---------------------------------------------------------------- buffer

void CTextView::AttachBuffer(CTextBuffer* buffer)
{
    if (m_buffer)
        m_buffer->UnregisterView(this);
    m_buffer = buffer ? buffer : FindBuffer();
    if (m_buffer)
        m_buffer->RegisterView(this);
    ResetViewState();
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
    TakeScrollFromSiblings();
}

void CTextView::TakeScrollFromSiblings()
{
    // A new pane starts where its neighbour is: the top line of the pane in
    // its row, the first column of the pane in its column.
    auto* splitter = dynamic_cast<wxSplitterWindow*>(GetParent());
    if (!splitter || !splitter->IsSplit())
        return;
    wxWindow* other = splitter->GetWindow1() == this ? splitter->GetWindow2() : splitter->GetWindow1();
    auto* pane = dynamic_cast<CTextView*>(other);
    if (!pane || pane->GetBuffer() != m_buffer)
        return;
    if (splitter->GetSplitMode() == wxSPLIT_VERTICAL)
        ScrollToTopLine(std::clamp(pane->GetTopLine(), 0, LineCount() - 1), true);
    else
        ScrollToColumn(std::clamp(pane->GetFirstColumn(), 0, std::max(0, MaxDisplayLength() - 1)), true);
    RefreshCaret();
}

void CTextView::DetachBuffer()
{
    if (m_buffer)
        m_buffer->UnregisterView(this);
    m_buffer = nullptr;
    ResetViewState();
}

void CTextView::ResetViewState()
{
    m_topLine = 0;
    m_firstColumn = 0;
    InvalidateMetrics();
    m_maxDisplayLength = -1;
    m_idealColumn = -1;
    m_caret = m_anchor = m_selStart = m_selEnd = TextPos(0, 0);
    m_icons.clear();
    m_states.Reset(m_buffer ? m_buffer->LineCount() : 0);
    std::vector<int32_t>().swap(m_displayLengths);
    std::vector<ColorBlock>().swap(m_runs);
    if (m_dragging)
        EndMouseDrag();
    m_dragging = m_wordMode = m_lineMode = false;
    m_dragPending = false;
    m_textBeingDragged = false;
    m_inactiveSelectionShown = false;
    m_braces.Clear();
    m_lineWindow = LineWindow();
    m_anyMark = false;
    m_indicatorPos = TextPos::None();
    if (GetHandle()) {
        RefreshCaret();
        Refresh();
    }
}

int CTextView::LineCount() const
{
    return m_buffer ? std::max(1, m_buffer->LineCount()) : 1;
}

int CTextView::LineLength(int line) const
{
    return m_buffer && line < m_buffer->LineCount() ? m_buffer->LineLength(line) : 0;
}

const char* CTextView::LineChars(int line) const
{
    return m_buffer && line < m_buffer->LineCount() ? m_buffer->LineChars(line) : nullptr;
}

uint32_t CTextView::LineFlags(int line) const
{
    return m_buffer && line < m_buffer->LineCount() ? m_buffer->LineFlags(line) : 0;
}

void CTextView::ResizeCaches()
{
    size_t n = static_cast<size_t>(LineCount());
    if (m_displayLengths.size() != n)
        ResizeCache(m_displayLengths, n, -1);
}

int CTextView::DisplayLength(int line)
{
    if (line < 0 || line >= LineCount())
        return 0;
    if (m_displayLengths.size() != static_cast<size_t>(LineCount()))
        ResizeCaches();
    int32_t& cached = m_displayLengths[static_cast<size_t>(line)];
    if (cached < 0)
        cached = textlayout::DisplayLength(LineChars(line), LineLength(line), m_tabWidth);
    return cached;
}

int CTextView::MaxDisplayLength()
{
    if (m_maxDisplayLength < 0) {
        int count = LineCount();
        int maxLen = 0;
        for (int i = 0; i < count; ++i)
            maxLen = std::max(maxLen, DisplayLength(i));
        m_maxDisplayLength = maxLen;
    }
    return m_maxDisplayLength;
}

void CTextView::CopyRange(TextPos start, TextPos end, std::string& text) const
{
    text.clear();
    if (!m_buffer || !(start < end))
        return;
    m_buffer->ExtractText(start.y, start.x, end.y, end.x, text);
}

size_t CTextView::CacheMemory() const
{
    size_t lines = m_buffer ? static_cast<size_t>(m_buffer->LineCount()) : 0;
    return lines * m_states.BytesPerLine() + m_displayLengths.capacity() * sizeof(int32_t);
}

// ---------------------------------------------------------------- clipboard

bool CTextView::ClipboardHasText()
{
    wxClipboardLocker lock;
    if (!lock)
        return false;
    return wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
}

void CTextView::PutTextOnClipboard(const std::string& text)
{
    if (text.empty())
        return;
    wxClipboardLocker lock;
    if (!lock)
        return;
    wxString s(cp1252::DecodeWide(texttransform::DocumentToClipboardBreaks(text)));
    wxTheClipboard->SetData(new wxTextDataObject(s));
    wxTheClipboard->Flush();
}

bool CTextView::TakeTextFromClipboard(std::string& text)
{
    text.clear();
    wxClipboardLocker lock;
    if (!lock)
        return false;
    if (!wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && !wxTheClipboard->IsSupported(wxDF_TEXT))
        return false;
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data))
        return false;
    text = texttransform::ClipboardToDocumentBreaks(cp1252::EncodeWide(data.GetText().ToStdWstring()));
    return true;
}

wxDataObject* CTextView::MakeDragData()
{
    TextPos s, e;
    GetOrderedSelection(s, e);
    std::string text;
    CopyRange(s, e, text);
    return new wxTextDataObject(
        wxString(cp1252::DecodeWide(texttransform::DocumentToClipboardBreaks(text))));
}

wxDragResult CTextView::RunDragLoop(wxDataObject& data, int effects)
{
    wxDropSource source(data, this);
    return source.DoDragDrop(effects);
}

// ---------------------------------------------------------------- colours

COLORREF CTextView::TextColor(int colorClass) const
{
    if (colorClass == CI_DIRECTIVE)
        return kDirectiveColor;
    if (colorClass == CI_COLUMNGUIDE)
        return kColumnGuideColor;
    int i = ClassIndex(colorClass);
    return m_textColors[static_cast<size_t>(i < 0 ? CI_FUNCTION : i)];
}

COLORREF CTextView::BackColor(int colorClass) const
{
    // A directive line keeps the window background: its fixed text colour
    // on a background of the same colour would be unreadable.
    if (colorClass == CI_DIRECTIVE)
        return BackColor(CI_WND);
    if (colorClass == CI_COLUMNGUIDE)
        return kColumnGuideColor;
    int i = ClassIndex(colorClass);
    return m_backColors[static_cast<size_t>(i < 0 ? CI_FUNCTION : i)];
}

bool CTextView::IsClassItalic(int colorClass) const
{
    return HasStyle(colorClass) && (m_styles[static_cast<size_t>(colorClass)] & STYLE_ITALIC);
}

bool CTextView::IsClassBold(int colorClass) const
{
    return HasStyle(colorClass) && (m_styles[static_cast<size_t>(colorClass)] & STYLE_BOLD);
}

void CTextView::SetClassTextColor(int colorClass, COLORREF color)
{
    int i = ClassIndex(colorClass);
    if (i >= 0 && m_textColors[static_cast<size_t>(i)] != color) {
        m_textColors[static_cast<size_t>(i)] = color;
        Refresh();
    }
}

void CTextView::SetClassBackColor(int colorClass, COLORREF color)
{
    int i = ClassIndex(colorClass);
    if (i >= 0 && m_backColors[static_cast<size_t>(i)] != color) {
        m_backColors[static_cast<size_t>(i)] = color;
        Refresh();
    }
}

void CTextView::SetClassStyle(int colorClass, int styleBits)
{
    if (!HasStyle(colorClass))
        return;
    int& s = m_styles[static_cast<size_t>(colorClass)];
    if (s != (styleBits & 7)) {
        s = styleBits & 7;
        Refresh();
    }
}

int CTextView::ClassStyle(int colorClass) const
{
    return HasStyle(colorClass) ? m_styles[static_cast<size_t>(colorClass)] : 0;
}

void CTextView::SetClassBold(int colorClass, bool on)
{
    int s = ClassStyle(colorClass);
    SetClassStyle(colorClass, on ? (s | STYLE_BOLD) : (s & ~STYLE_BOLD));
}

void CTextView::SetClassItalic(int colorClass, bool on)
{
    int s = ClassStyle(colorClass);
    SetClassStyle(colorClass, on ? (s | STYLE_ITALIC) : (s & ~STYLE_ITALIC));
}

void CTextView::SetClassUnderline(int colorClass, bool on)
{
    int s = ClassStyle(colorClass);
    SetClassStyle(colorClass, on ? (s | 4) : (s & ~4));
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
    m_glyphs.Clear();
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
        m_lineHeight = std::max(1, h);
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
    return textlayout::DisplayColumn(LineChars(pos.y), LineLength(pos.y), pos.x, m_tabWidth);
}

int CTextView::ColumnToChar(int line, int column) const
{
    if (line < 0 || line >= LineCount())
        return 0;
    return textlayout::ColumnToChar(LineChars(line), LineLength(line), column, m_tabWidth);
}

TextPos CTextView::PointToText(const wxPoint& point)
{
    EnsureMetrics();
    int slot = point.y >= 0 ? point.y / m_lineHeight : -((-point.y + m_lineHeight - 1) / m_lineHeight);
    int line = std::clamp(slot + m_topLine, 0, LineCount() - 1);
    int dx = point.x - MarginWidth();
    int cell = dx >= 0 ? dx / m_charWidth : -((-dx + m_charWidth - 1) / m_charWidth);
    int column = std::max(0, cell + m_firstColumn);
    int x = textlayout::HitColumnToChar(LineChars(line), LineLength(line), column, m_tabWidth);
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
    wxWindow::Refresh(false, rect);
}

void CTextView::RefreshScreen(const wxRect& rect)
{
    wxWindow::Refresh(false, &rect);
}

void CTextView::ScrollPixels(int dx, int dy, const wxRect& area)
{
    const wxSize client = GetClientSize();
    if (m_canvas.Width() != client.x || m_canvas.Height() != client.y) {
        Refresh(false);
        return;
    }
    // Where the area's pixels land, inside the area.
    wxRect dst = wxRect(area.x + dx, area.y + dy, area.width, area.height).Intersect(area);
    // Parts still waiting to be drawn move with the pixels.
    if (!m_dirty.IsEmpty()) {
        wxRegion moved(m_dirty);
        moved.Intersect(area);
        if (!moved.IsEmpty()) {
            moved.Offset(dx, dy);
            moved.Intersect(dst);
        }
        wxRegion rest(m_dirty);
        rest.Subtract(area);
        m_dirty = rest;
        if (!moved.IsEmpty())
            m_dirty.Union(moved);
    }
    m_canvas.Scroll(area, dx, dy);
    wxRegion uncovered(area);
    if (!dst.IsEmpty())
        uncovered.Subtract(dst);
    if (!uncovered.IsEmpty())
        m_dirty.Union(uncovered);
    wxWindow::Refresh(false);
}

void CTextView::EnsureGlyphFonts()
{
    EnsureMetrics();
    for (int slot = CGlyphCache::kNormal; slot <= CGlyphCache::kBoldItalic; ++slot)
        if (!m_glyphs.HasFont(slot))
            m_glyphs.SetFont(slot, GetStyleFont(slot & 1, slot & 2), m_charWidth, m_lineHeight);
    if (!m_glyphs.HasFont(CGlyphCache::kMargin)) {
        int w = 0, h = 0;
        GetTextExtent("0", &w, &h);
        m_glyphs.SetFont(CGlyphCache::kMargin, GetFont(), 0, std::max(1, h));
    }
}

void CTextView::RenderArea(CPixelCanvas& canvas, const wxRect& box)
{
    wxSize client = GetClientSize();
    m_paintClip = box;
    int margin = MarginWidth();
    int count = LineCount();
    int firstSlot = std::max(0, box.y / m_lineHeight);
    int lastSlot = std::max(firstSlot, (box.y + box.height - 1) / m_lineHeight);
    for (int slot = firstSlot; slot <= lastSlot; ++slot) {
        int y = slot * m_lineHeight;
        int line = m_topLine + slot;
        if (line >= count)
            line = -1;
        if (margin > 0 && box.x < margin)
            RenderMargin(canvas, wxRect(0, y, margin, m_lineHeight), line);
        if (box.x + box.width > margin)
            RenderLine(canvas, wxRect(margin, y, std::max(0, client.x - margin), m_lineHeight), line);
    }
    m_paintClip = wxRect();
    canvas.ResetClip();
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
        m_canvas.Resize(client.x, client.y);
        m_dirty = wxRegion(wxRect(client));
    }
    if (!m_dirty.IsEmpty()) {
        // The margin's width may change while drawing (more digits), which
        // marks everything dirty again: draw until nothing is left.
        wxRect painted;
        for (int pass = 0; pass < 3 && !m_dirty.IsEmpty(); ++pass) {
            wxRegion todo(m_dirty);
            m_dirty.Clear();
            painted.Union(todo.GetBox());
            for (wxRegionIterator it(todo); it; ++it)
                RenderArea(m_canvas, it.GetRect());
        }
        m_lastPaintBox = painted;
        m_paintedArea.Union(painted);
    }
    for (wxRegionIterator it(GetUpdateRegion()); it; ++it) {
        wxRect r = it.GetRect();
        m_canvas.CopyTo(dc, r, r.GetPosition());
    }
    PaintCaret(dc);
}

const std::vector<wxImage>& CTextView::MarginIcons()
{
    if (m_icons.empty()) {
        // Eleven 12 x 12 icons: green discs with the digits 0-9, and a plain
        // one for the unnumbered mark; white is transparent.
        for (int i = 0; i < 11; ++i) {
            wxBitmap bmp(kIconSize, kIconSize, 24);
            {
                wxMemoryDC mdc(bmp);
                mdc.SetBackground(*wxWHITE_BRUSH);
                mdc.Clear();
                mdc.SetPen(wxPen(wxColour(0, 100, 0)));
                mdc.SetBrush(wxBrush(wxColour(0, 160, 0)));
                mdc.DrawEllipse(0, 0, kIconSize, kIconSize);
                if (i < 10) {
                    mdc.SetFont(wxFont(wxFontInfo(7).Family(wxFONTFAMILY_SWISS).Bold()));
                    wxString digit = wxString::Format("%d", i);
                    int tw = 0, th = 0;
                    mdc.GetTextExtent(digit, &tw, &th);
                    mdc.SetTextForeground(*wxWHITE);
                    mdc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
                    mdc.DrawText(digit, (kIconSize - tw) / 2, (kIconSize - th) / 2);
                }
            }
            wxImage image = bmp.ConvertToImage();
            image.SetMaskColour(255, 255, 255);
            m_icons.push_back(image);
        }
    }
    return m_icons;
}

void CTextView::PaintMargin(wxDC& dc, const wxRect& rect, int line)
{
    EnsureGlyphFonts();
    CPixelCanvas scratch;
    scratch.Resize(rect.width, rect.height);
    RenderMargin(scratch, wxRect(0, 0, rect.width, rect.height), line);
    scratch.CopyTo(dc, wxRect(0, 0, rect.width, rect.height), rect.GetPosition());
}

void CTextView::PaintLine(wxDC& dc, const wxRect& rect, int line)
{
    EnsureGlyphFonts();
    CPixelCanvas scratch;
    scratch.Resize(rect.width, rect.height);
    const wxRect clip = m_paintClip;
    m_paintClip = wxRect();
    RenderLine(scratch, wxRect(0, 0, rect.width, rect.height), line);
    m_paintClip = clip;
    scratch.CopyTo(dc, wxRect(0, 0, rect.width, rect.height), rect.GetPosition());
}

void CTextView::RenderMargin(CPixelCanvas& canvas, const wxRect& rect, int line)
{
    canvas.SetClip(m_paintClip.IsEmpty() ? rect : rect.Intersect(m_paintClip));
    if (!m_selectionMargin) {
        canvas.Fill(rect, BackColor(CI_WND));
        return;
    }
    canvas.Fill(rect, BackColor(CI_MARGIN));
    canvas.VLine(rect.GetRight(), rect.y, rect.y + rect.height, kMarginEdgeColor);
    if (line < 0)
        return;
    if (m_lineNumbers) {
        char buf[16];
        int n = std::snprintf(buf, sizeof buf, "%d:", line + 1);
        std::u32string text(buf, buf + n);
        int width = m_glyphs.TextWidth(CGlyphCache::kMargin, text);
        const int right = rect.x + rect.width - 4;
        int x = right - width;
        const COLORREF ink = TextColor(CI_MARGIN);
        for (char32_t c : text) {
            const CGlyphCache::Glyph& g = m_glyphs.Get(CGlyphCache::kMargin, c);
            canvas.DrawGlyph(x, rect.y + (rect.height - g.height) / 2, g, ink);
            x += g.width;
        }
    }
    uint32_t flags = LineFlags(line);
    int icon = -1;
    for (int n = 1; n <= 9 && icon < 0; ++n)
        if (flags & LineBookmark(n))
            icon = n;
    if (icon < 0 && (flags & LINE_BOOKMARK_0))
        icon = 0;
    if (icon < 0 && (flags & LINE_MARK))
        icon = 10;
    if (icon >= 0)
        canvas.DrawImage(rect.x + 2, rect.y + (rect.height - kIconSize) / 2,
                         MarginIcons()[static_cast<size_t>(icon)]);
}

void CTextView::SetLongLineWindow(int chars)
{
    g_longLineWindow = std::max(16, chars);
}

int CTextView::WindowStart(int line, const char* chars, int startChar) const
{
    // A place well before the visible part where a fresh start colours like
    // the whole line: after a blank or ";" and on a character that neither
    // continues a token nor is "#" (a directive's mark at a line start).
    int p = std::max(1, startChar - g_longLineWindow / 2);
    for (int tries = 0; p > 1 && tries < g_longLineWindow; ++tries, --p) {
        unsigned char before = static_cast<unsigned char>(chars[p - 1]);
        unsigned char at = static_cast<unsigned char>(chars[p]);
        if ((before == ' ' || before == ';') && at != '#' && !cp1252::IsSpace(at) && at != '/' && at != '*' &&
            at != '\\')
            return p;
    }
    return 0;
}

LineState CTextView::StateInLine(int line, LineState in, const char* chars, int from)
{
    if (m_lineWindow.line == line && m_lineWindow.from == from && m_lineWindow.in == in)
        return m_lineWindow.state;
    // The state after chars[0, from): the prefix is classified with a
    // backslash appended, so that a line comment running on at "from" keeps
    // its state instead of ending with the (shortened) line.
    std::string prefix(chars, static_cast<size_t>(from));
    prefix.push_back('\\');
    int n = 0;
    LineState state = ClassifyLine(in, prefix.data(), static_cast<int>(prefix.size()), nullptr, 0, n);
    m_lineWindow = {line, from, in, state};
    return state;
}

void CTextView::RenderLine(CPixelCanvas& canvas, const wxRect& rect, int line)
{
    wxRect clip = m_paintClip.IsEmpty() ? rect : rect.Intersect(m_paintClip);
    canvas.SetClip(clip);
    if (line < 0 || line >= LineCount()) {
        canvas.Fill(clip, BackColor(CI_WHITESPACE));
        return;
    }
    EnsureMetrics();
    if (clip.IsEmpty())
        return;
    const int cw = m_charWidth;
    const int len = LineLength(line);
    const char* chars = LineChars(line);
    COLORREF overrideBack = 0, overrideText = 0;
    bool overrideWhitespace = m_showWhitespace;
    const bool overridden = LineColorOverride(line, overrideBack, overrideText, overrideWhitespace);
    const bool showWhitespace = overridden ? overrideWhitespace : m_showWhitespace;
    const COLORREF lineBack = overridden ? overrideBack : BackColor(CI_WND);
    canvas.Fill(clip, lineBack);

    // Only the columns inside the repainted area are laid out and drawn.
    const int colFrom = m_firstColumn + std::max(0, (clip.x - rect.x) / cw);
    const int colTo = m_firstColumn + (clip.x + clip.width - rect.x + cw - 1) / cw + 1;
    int startCol = 0;
    const int startChar = textlayout::FirstCharAtColumn(chars, len, colFrom, m_tabWidth, startCol);
    int endChar = startChar;
    for (int col = startCol; endChar < len && col < colTo; ++endChar)
        col += textlayout::CellsAt(static_cast<unsigned char>(chars[endChar]), col, m_tabWidth);

    int runCount = 0;
    if (len > 0) {
        LineState in = GetLineState(line - 1);
        int cut = SafeCut(chars, len, endChar);
        // Far into a very long line only a window before the visible part is
        // classified, starting in the state the line has there.
        int from = startChar > g_longLineWindow ? WindowStart(line, chars, startChar) : 0;
        LineState windowState = from > 0 ? StateInLine(line, in, chars, from) : in;
        int capacity = std::min(CJavaColoring::RunCapacityFor(cut - from), kMaxPaintRuns);
        if (m_runs.size() < static_cast<size_t>(capacity))
            m_runs.resize(static_cast<size_t>(capacity));
        LineState out = ClassifyLine(windowState, chars + from, cut - from, m_runs.data(), capacity, runCount);
        if (from == 0 && cut == len && m_buffer)
            m_states.Store(line, out);
        runCount = std::clamp(runCount, 0, capacity);
        for (int r = 0; r < runCount && from > 0; ++r)
            m_runs[static_cast<size_t>(r)].start += from;
    }

    const bool showSelection = m_focused || m_inactiveSelectionShown;
    TextPos selStart, selEnd;
    GetOrderedSelection(selStart, selEnd);
    int selFrom = -1, selTo = -1;
    if (showSelection && IsSelection() && selStart.y <= line && line <= selEnd.y) {
        selFrom = selStart.y == line ? selStart.x : 0;
        selTo = selEnd.y == line ? selEnd.x : len;
    }

    int col = startCol;
    // Lays out characters [from, to) at the running column and draws their
    // visible cells.
    auto drawCells = [&](int from, int to, int font, COLORREF fg, COLORREF bg) {
        std::string cells =
            textlayout::ExpandForDisplay(chars, from, to - from, col, m_tabWidth, showWhitespace);
        const int first = col;
        col += static_cast<int>(cells.size());
        int drop = std::max(0, colFrom - first);
        if (drop >= static_cast<int>(cells.size()))
            return;
        int x = rect.x + (first + drop - m_firstColumn) * cw;
        int n = static_cast<int>(cells.size()) - drop;
        if (bg != lineBack)
            canvas.Fill(wxRect(x, rect.y, n * cw, rect.height), bg);
        for (int k = 0; k < n; ++k, x += cw) {
            unsigned char b = static_cast<unsigned char>(cells[static_cast<size_t>(drop + k)]);
            if (b != ' ')
                canvas.DrawGlyph(x, rect.y, m_glyphs.Get(font, textlayout::DisplayGlyph(b)), fg);
        }
    };
    auto paintPiece = [&](int from, int to, int cls) {
        if (to <= from)
            return;
        int font = (IsClassBold(cls) ? CGlyphCache::kBold : 0) + (IsClassItalic(cls) ? CGlyphCache::kItalic : 0);
        COLORREF fg = overridden ? overrideText : TextColor(cls);
        COLORREF bg = overridden ? overrideBack : BackColor(cls);
        // Characters inside the selection take the selection's colours.
        int a = selFrom >= 0 ? std::clamp(selFrom, from, to) : to;
        int b = selFrom >= 0 ? std::clamp(selTo, from, to) : to;
        if (a >= b) {
            drawCells(from, to, font, fg, bg);
            return;
        }
        if (a > from)
            drawCells(from, a, font, fg, bg);
        drawCells(a, b, font, TextColor(CI_SELECTION), BackColor(CI_SELECTION));
        if (b < to)
            drawCells(b, to, font, fg, bg);
    };

    if (startChar < endChar) {
        const ColorBlock* runs = m_runs.data();
        // The run that covers startChar: the last one starting at or before it.
        int r = static_cast<int>(std::upper_bound(runs, runs + runCount, startChar,
                                                  [](int v, const ColorBlock& b) { return v < b.start; }) -
                                 runs) - 1;
        int pos = startChar;
        while (pos < endChar) {
            int cls = r >= 0 ? runs[r].colorClass : CI_WND;
            int next = r + 1 < runCount ? std::max(runs[r + 1].start, pos) : len;
            int to = std::min(next, endChar);
            paintPiece(pos, to, cls);
            pos = to;
            ++r;
        }
    }

    // The selected line break.
    if (selFrom >= 0 && TextPos(len, line) >= selStart && TextPos(len, line) < selEnd) {
        int endCol = DisplayLength(line);
        if (endCol >= colFrom - 1 && endCol < colTo)
            canvas.Fill(wxRect(rect.x + (endCol - m_firstColumn) * cw, rect.y, cw, rect.height),
                        BackColor(CI_SELECTION));
    }

    // The partner of the brace at the caret.
    int matchX = 0;
    char matchChar = 0;
    if (m_buffer && m_braces.MatchOnLine(*m_buffer, line, matchX, matchChar)) {
        int mc = DisplayColumn(TextPos(matchX, line));
        if (mc >= colFrom - 1 && mc < colTo) {
            int x = rect.x + (mc - m_firstColumn) * cw;
            canvas.Fill(wxRect(x, rect.y, cw, rect.height), BackColor(CI_BRACEMATCH));
            canvas.DrawGlyph(x, rect.y,
                             m_glyphs.Get(CGlyphCache::kBold,
                                          textlayout::DisplayGlyph(static_cast<unsigned char>(matchChar))),
                             TextColor(CI_BRACEMATCH));
        }
    }

    if (m_drawGuide && m_guidePosition > 0) {
        int x = rect.x + cw * (m_guidePosition - m_firstColumn - 1);
        if (x >= rect.x)
            canvas.DottedVLine(x, rect.y, rect.y + rect.height, TextColor(CI_COLUMNGUIDE));
    }

    if (m_runs.size() > 65536)
        std::vector<ColorBlock>().swap(m_runs);
}

wxRect CTextView::CaretRect() const
{
    return wxRect(m_caretPixel.x, m_caretPixel.y, 2, std::max(1, m_lineHeight));
}

void CTextView::PaintCaret(wxDC& dc)
{
    if (m_indicatorPos.IsValid()) {
        if (DisplayColumn(m_indicatorPos) < m_firstColumn)
            return;
        wxPoint p = TextToPoint(m_indicatorPos);
        FillRect(dc, wxRect(p.x, p.y, 2, m_lineHeight), m_indicatorGrey ? 0x808080 : TextColor(CI_WND));
        return;
    }
    if (!m_caretShown || !m_caretBlinkOn)
        return;
    wxPoint p = TextToPoint(m_caret);
    FillRect(dc, wxRect(p.x, p.y, 2, m_lineHeight), TextColor(CI_WND));
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
    bool show = m_focused && !m_caretHidden && DisplayColumn(m_caret) >= m_firstColumn;
    wxPoint p = show ? TextToPoint(m_caret) : wxPoint();
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

void CTextView::MoveCaretTo(TextPos pos)
{
    m_caret = pos;
    m_idealColumn = DisplayColumn(pos);
    RefreshCaret();
}

void CTextView::PutCaret(TextPos pos)
{
    // The caret is in place before the selection is set, so that brace
    // matching looks at the new caret line.
    m_anchor = pos;
    m_caret = pos;
    SetSelectionRange(pos, pos);
    MoveCaretTo(pos);
    ScrollIntoView(pos);
}

// ---------------------------------------------------------------- selection

void CTextView::GetSelectionRange(TextPos& start, TextPos& end) const
{
    start = m_selStart;
    end = m_selEnd;
}

void CTextView::GetOrderedSelection(TextPos& start, TextPos& end) const
{
    if (m_selEnd < m_selStart) {
        start = m_selEnd;
        end = m_selStart;
    } else {
        start = m_selStart;
        end = m_selEnd;
    }
}

bool CTextView::IsInsideSelection(TextPos pos) const
{
    TextPos s, e;
    GetOrderedSelection(s, e);
    return s <= pos && pos < e;
}

void CTextView::SetSelectionRange(TextPos start, TextPos end)
{
    if (start == m_selStart) {
        if (!(end == m_selEnd))
            InvalidateLines(std::min(end.y, m_selEnd.y), std::max(end.y, m_selEnd.y));
    } else {
        InvalidateLines(std::min(m_selStart.y, m_selEnd.y), std::max(m_selStart.y, m_selEnd.y));
        InvalidateLines(std::min(start.y, end.y), std::max(start.y, end.y));
    }
    m_selStart = start;
    m_selEnd = end;
    UpdateBraceMatch();
}

void CTextView::SelectAllText()
{
    int last = LineCount() - 1;
    m_caret = TextPos(LineLength(last), last);
    m_idealColumn = -1;
    m_anchor = TextPos(0, 0);
    SetSelectionRange(TextPos(0, 0), m_caret);
    RefreshCaret();
}

// ---------------------------------------------------------------- braces

void CTextView::UpdateBraceMatch()
{
    if (!m_buffer)
        return;
    CBraceMatcher::Repaint r = m_braces.Update(*m_buffer, m_caret.y, m_selStart, m_selEnd);
    if (r.all)
        Refresh();
    else if (r.line >= 0)
        InvalidateLines(r.line, r.line);
}

bool CTextView::FindMatchingBrace(char brace, int direction, TextPos from)
{
    if (!m_buffer || !m_braces.FindMatchingBrace(*m_buffer, brace, direction, from))
        return false;
    Refresh();
    return true;
}

// ---------------------------------------------------------------- scrolling

void CTextView::ScrollToTopLine(int line, bool track)
{
    if (line == m_topLine)
        return;
    EnsureMetrics();
    int dy = (m_topLine - line) * m_lineHeight;
    m_topLine = line;
    if (GetHandle()) {
        const wxSize client = GetClientSize();
        if (std::abs(dy) < client.y)
            ScrollPixels(0, dy, wxRect(client));
        else
            Refresh(false);
        Update();
    }
    if (track)
        SetScrollPos(wxVERTICAL, m_topLine);
}

void CTextView::ScrollToColumn(int column, bool track)
{
    if (column == m_firstColumn)
        return;
    EnsureMetrics();
    int dx = (m_firstColumn - column) * m_charWidth;
    m_firstColumn = column;
    if (GetHandle()) {
        wxSize client = GetClientSize();
        int margin = MarginWidth();
        if (std::abs(dx) < client.x - margin)
            ScrollPixels(dx, 0, wxRect(margin, 0, client.x - margin, client.y));
        else
            Refresh(false);
        Update();
    }
    if (track)
        SetScrollPos(wxHORIZONTAL, m_firstColumn);
}

void CTextView::ScrollVert(int newTop)
{
    newTop = std::clamp(newTop, 0, LineCount() - 1);
    if (newTop == m_topLine)
        return;
    ScrollToTopLine(newTop, true);
    SyncSiblings(false);
    RefreshCaret();
}

void CTextView::ScrollHorz(int newColumn)
{
    newColumn = std::clamp(newColumn, 0, std::max(0, MaxDisplayLength() - 1));
    if (newColumn == m_firstColumn)
        return;
    ScrollToColumn(newColumn, true);
    SyncSiblings(true);
    RefreshCaret();
}

void CTextView::RecalcVertScrollBar()
{
    if (!GetHandle())
        return;
    int lines = GetScreenLines();
    int count = LineCount();
    if (lines >= count && m_topLine > 0) {
        m_topLine = 0;
        Refresh();
        RefreshCaret();
    }
    SetScrollbar(wxVERTICAL, m_topLine, lines, count);
}

void CTextView::RecalcHorzScrollBar()
{
    if (!GetHandle() || m_suppressHorzScroll)
        return;
    int cols = GetScreenColumns();
    int maxLen = MaxDisplayLength();
    if (cols >= maxLen && m_firstColumn > 0) {
        m_firstColumn = 0;
        Refresh();
        RefreshCaret();
    }
    SetScrollbar(wxHORIZONTAL, m_firstColumn, cols, maxLen);
}

void CTextView::ScrollIntoView(TextPos pos)
{
    int lines = std::max(1, GetScreenLines());
    int top = m_topLine;
    if (pos.y >= top + lines)
        top = pos.y - lines + 1;
    if (pos.y < top)
        top = pos.y;
    top = std::clamp(top, 0, LineCount() - 1);
    if (top != m_topLine) {
        ScrollToTopLine(top, true);
        SyncSiblings(false);
    }
    int c = DisplayColumn(pos);
    int cols = GetScreenColumns();
    int first = m_firstColumn;
    if (c > first + cols)
        first = c - cols;
    if (c < first)
        first = c;
    first = std::clamp(first, 0, std::max(0, MaxDisplayLength() - 1));
    if (first != m_firstColumn) {
        ScrollToColumn(first, true);
        SyncSiblings(true);
        RefreshCaret();
    }
}

void CTextView::OnScrollWin(wxScrollWinEvent& event)
{
    const bool vertical = event.GetOrientation() == wxVERTICAL;
    const wxEventType type = event.GetEventType();
    const int pos = vertical ? m_topLine : m_firstColumn;
    const int page = vertical ? GetScreenLines() : GetScreenColumns();
    const int total = vertical ? LineCount() : MaxDisplayLength();
    int target = pos;
    if (type == wxEVT_SCROLLWIN_LINEUP)
        target = pos - 1;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        target = pos + 1;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        target = pos - std::max(1, page - 1);
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        target = pos + std::max(1, page - 1);
    else if (type == wxEVT_SCROLLWIN_TOP)
        target = 0;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        target = total - page + 1;
    else if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE)
        target = event.GetPosition();
    if (vertical)
        ScrollVert(target);
    else
        ScrollHorz(target);
}

void CTextView::OnMouseWheel(wxMouseEvent& event)
{
    if (event.ControlDown() || event.ShiftDown())
        return;
    const int linesPerNotch = 3;
    const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
    int steps = linesPerNotch * event.GetWheelRotation() / delta;
    if (steps == 0)
        return;
    if (event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL)
        ScrollHorz(m_firstColumn + steps);
    else
        ScrollVert(m_topLine - steps);
}

void CTextView::SyncSiblings(bool horizontal)
{
    auto* splitter = dynamic_cast<wxSplitterWindow*>(GetParent());
    if (!splitter || !splitter->IsSplit())
        return;
    // Side by side the panes share a row (vertical scrolling); one above the
    // other they share a column (horizontal scrolling).
    bool sameRow = splitter->GetSplitMode() == wxSPLIT_VERTICAL;
    if (horizontal == sameRow)
        return;
    wxWindow* other = splitter->GetWindow1() == this ? splitter->GetWindow2() : splitter->GetWindow1();
    if (auto* pane = dynamic_cast<CTextView*>(other))
        pane->SiblingScrolled(this, horizontal);
}

void CTextView::SiblingScrolled(CTextView* pane, bool horizontal)
{
    if (horizontal)
        ScrollToColumn(std::clamp(pane->GetFirstColumn(), 0, std::max(0, MaxDisplayLength() - 1)), true);
    else
        ScrollToTopLine(std::clamp(pane->GetTopLine(), 0, LineCount() - 1), true);
    RefreshCaret();
}

void CTextView::OnSize(wxSizeEvent& event)
{
    m_screenLines = -1;
    m_screenColumns = -1;
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
    RefreshCaret();
    event.Skip();
}

// ---------------------------------------------------------------- keyboard

int CTextView::KeyCommand(const wxKeyEvent& event)
{
    int vk = VirtualKeyOf(event.GetKeyCode());
    if (vk == 0)
        return 0;
    return kib::LookupKey(kib::KeyTable(kib::IDR_EDITOR_KEYS), KeyModifiers(event), vk);
}

bool CTextView::ProcessEditorKey(const wxKeyEvent& event)
{
    int command = KeyCommand(event);
    if (command == 0)
        return false;
    if (HandleCommand(command))
        return true;
    // Commands of other owners (find, replace, dates) travel up like menu
    // commands.
    if (wxWindow* parent = GetParent()) {
        int wxId = kib::ToWxId(command);
        if (wxId != kib::kNoWxId) {
            wxCommandEvent ev(wxEVT_MENU, wxId);
            ev.SetEventObject(this);
            parent->GetEventHandler()->ProcessEvent(ev);
        }
    }
    return true;
}

void CTextView::OnKeyDown(wxKeyEvent& event)
{
    if (!ProcessEditorKey(event))
        event.Skip();
}

void CTextView::OnChar(wxKeyEvent& event)
{
    // Ctrl and Alt make commands, not characters; on Windows Ctrl+Alt
    // together is AltGr, which types (GTK reports AltGr as neither).
#ifdef __WXMSW__
    const bool command = event.ControlDown() != event.AltDown();
#else
    const bool command = event.ControlDown() || event.AltDown();
#endif
    if (command) {
        event.Skip();
        return;
    }
    wxChar uc = event.GetUnicodeKey();
    if (uc == WXK_NONE) {
        event.Skip();
        return;
    }
    unsigned char code = static_cast<unsigned char>(cp1252::FromUnicode(static_cast<char32_t>(uc), '?'));
    OnCharTyped(code);
}

void CTextView::MoveFinished(bool extend, bool keepIdeal)
{
    if (!keepIdeal)
        m_idealColumn = DisplayColumn(m_caret);
    ScrollIntoView(m_caret);
    RefreshCaret();
    if (!extend)
        m_anchor = m_caret;
    SetSelectionRange(m_anchor, m_caret);
}

void CTextView::MoveCharLeft(bool extend)
{
    TextPos s, e;
    GetOrderedSelection(s, e);
    if (CanMoveWithSelection(extend)) {
        m_caret = s;
    } else if (m_caret.x == 0) {
        if (m_caret.y > 0) {
            --m_caret.y;
            m_caret.x = LineLength(m_caret.y);
        }
    } else {
        --m_caret.x;
    }
    MoveFinished(extend, false);
}

void CTextView::MoveCharRight(bool extend)
{
    TextPos s, e;
    GetOrderedSelection(s, e);
    if (CanMoveWithSelection(extend)) {
        m_caret = e;
    } else if (m_caret.x >= LineLength(m_caret.y)) {
        if (m_caret.y < LineCount() - 1)
            m_caret = TextPos(0, m_caret.y + 1);
    } else {
        ++m_caret.x;
    }
    MoveFinished(extend, false);
}

void CTextView::MoveWordLeft(bool extend)
{
    if (CanMoveWithSelection(extend)) {
        MoveCharLeft(extend);
        return;
    }
    if (m_caret.x == 0) {
        if (m_caret.y == 0) {
            MoveFinished(extend, false);
            return;
        }
        --m_caret.y;
        m_caret.x = LineLength(m_caret.y);
    }
    m_caret.x = textmotion::WordLeft(LineChars(m_caret.y), LineLength(m_caret.y), m_caret.x);
    MoveFinished(extend, false);
}

void CTextView::MoveWordRight(bool extend)
{
    if (CanMoveWithSelection(extend)) {
        MoveCharRight(extend);
        return;
    }
    int len = LineLength(m_caret.y);
    if (m_caret.x >= len) {
        MoveCharRight(extend);
        return;
    }
    m_caret.x = textmotion::WordRight(LineChars(m_caret.y), len, m_caret.x);
    MoveFinished(extend, false);
}

void CTextView::MoveLineUp(bool extend)
{
    TextPos s, e;
    GetOrderedSelection(s, e);
    if (CanMoveWithSelection(extend))
        m_caret = s;
    if (m_idealColumn == -1)
        m_idealColumn = DisplayColumn(m_caret);
    if (m_caret.y > 0) {
        --m_caret.y;
        m_caret.x = std::min(ColumnToChar(m_caret.y, m_idealColumn), LineLength(m_caret.y));
    }
    MoveFinished(extend, true);
}

void CTextView::MoveLineDown(bool extend)
{
    TextPos s, e;
    GetOrderedSelection(s, e);
    if (CanMoveWithSelection(extend))
        m_caret = e;
    if (m_idealColumn == -1)
        m_idealColumn = DisplayColumn(m_caret);
    if (m_caret.y < LineCount() - 1) {
        ++m_caret.y;
        m_caret.x = std::min(ColumnToChar(m_caret.y, m_idealColumn), LineLength(m_caret.y));
    }
    MoveFinished(extend, true);
}

void CTextView::MovePageUp(bool extend)
{
    int step = std::max(1, GetScreenLines() - 1);
    ScrollVert(std::max(0, m_topLine - step));
    m_caret.y = std::max(0, m_caret.y - step);
    m_caret.x = std::min(m_caret.x, LineLength(m_caret.y));
    MoveFinished(extend, false);
}

void CTextView::MovePageDown(bool extend)
{
    int step = std::max(1, GetScreenLines() - 1);
    int last = LineCount() - 1;
    ScrollVert(std::min(last, m_topLine + step));
    m_caret.y = std::min(last, m_caret.y + step);
    m_caret.x = std::min(m_caret.x, LineLength(m_caret.y));
    MoveFinished(extend, false);
}

void CTextView::MoveLineEnd(bool extend)
{
    m_caret.x = LineLength(m_caret.y);
    MoveFinished(extend, false);
}

void CTextView::MoveHome(bool extend)
{
    m_caret.x = textmotion::SmartHome(LineChars(m_caret.y), LineLength(m_caret.y), m_caret.x);
    MoveFinished(extend, false);
}

void CTextView::MoveTextBegin(bool extend)
{
    m_caret = TextPos(0, 0);
    MoveFinished(extend, false);
}

void CTextView::MoveTextEnd(bool extend)
{
    int last = LineCount() - 1;
    m_caret = TextPos(LineLength(last), last);
    MoveFinished(extend, false);
}

void CTextView::ScrollLineUp()
{
    if (m_topLine > 0)
        ScrollVert(m_topLine - 1);
}

void CTextView::ScrollLineDown()
{
    if (m_topLine < LineCount() - 1)
        ScrollVert(m_topLine + 1);
}

void CTextView::Copy()
{
    if (!IsSelection())
        return;
    TextPos s, e;
    GetOrderedSelection(s, e);
    std::string text;
    CopyRange(s, e, text);
    PutTextOnClipboard(text);
}

// ---------------------------------------------------------------- bookmarks

void CTextView::GoToLineStart(int line)
{
    PutCaret(TextPos(0, line));
}

void CTextView::ToggleBookmark(int n)
{
    if (!m_buffer || n < 0 || n > 9)
        return;
    uint32_t flag = LineBookmark(n);
    bool set = (LineFlags(m_caret.y) & flag) == 0;
    m_buffer->ChangeLineFlag(m_caret.y, flag, set, true);
}

void CTextView::GoToBookmark(int n)
{
    if (!m_buffer || n < 0 || n > 9)
        return;
    int line = m_buffer->FindFlaggedLine(LineBookmark(n));
    if (line >= 0)
        GoToLineStart(line);
}

void CTextView::ClearNumberedBookmarks()
{
    if (!m_buffer)
        return;
    for (int n = 0; n <= 9; ++n)
        m_buffer->ChangeLineFlag(-1, LineBookmark(n), false);
}

void CTextView::ToggleMark()
{
    if (!m_buffer)
        return;
    bool set = (LineFlags(m_caret.y) & LINE_MARK) == 0;
    m_buffer->ChangeLineFlag(m_caret.y, LINE_MARK, set, false);
    m_anyMark = m_buffer->FindFlaggedLine(LINE_MARK) >= 0;
}

void CTextView::GoToNextMark()
{
    if (!m_buffer || !m_anyMark)
        return;
    int line = m_buffer->NextMarkedLine(m_caret.y);
    if (line >= 0)
        GoToLineStart(line);
}

void CTextView::GoToPreviousMark()
{
    if (!m_buffer || !m_anyMark)
        return;
    int line = m_buffer->PreviousMarkedLine(m_caret.y);
    if (line >= 0)
        GoToLineStart(line);
}

void CTextView::ClearMarks()
{
    if (!m_buffer || !m_anyMark)
        return;
    int count = m_buffer->LineCount();
    for (int i = 0; i < count; ++i)
        if (m_buffer->LineFlags(i) & LINE_MARK)
            m_buffer->ChangeLineFlag(i, LINE_MARK, false, false);
    m_anyMark = false;
}

// ---------------------------------------------------------------- commands

bool CTextView::HandleCommand(int command)
{
    using namespace kib;
    switch (command) {
    case ID_EDIT_CHARLEFT: MoveCharLeft(false); return true;
    case ID_EDIT_EXT_CHARLEFT: MoveCharLeft(true); return true;
    case ID_EDIT_CHARRIGHT: MoveCharRight(false); return true;
    case ID_EDIT_EXT_CHARRIGHT: MoveCharRight(true); return true;
    case ID_EDIT_WORDLEFT: MoveWordLeft(false); return true;
    case ID_EDIT_EXT_WORDLEFT: MoveWordLeft(true); return true;
    case ID_EDIT_WORDRIGHT: MoveWordRight(false); return true;
    case ID_EDIT_EXT_WORDRIGHT: MoveWordRight(true); return true;
    case ID_EDIT_LINEUP: MoveLineUp(false); return true;
    case ID_EDIT_EXT_LINEUP: MoveLineUp(true); return true;
    case ID_EDIT_LINEDOWN: MoveLineDown(false); return true;
    case ID_EDIT_EXT_LINEDOWN: MoveLineDown(true); return true;
    case ID_EDIT_SCROLLUP: ScrollLineUp(); return true;
    case ID_EDIT_SCROLLDOWN: ScrollLineDown(); return true;
    case ID_EDIT_PAGEUP: MovePageUp(false); return true;
    case ID_EDIT_EXT_PAGEUP: MovePageUp(true); return true;
    case ID_EDIT_PAGEDOWN: MovePageDown(false); return true;
    case ID_EDIT_EXT_PAGEDOWN: MovePageDown(true); return true;
    case ID_EDIT_LINEEND: MoveLineEnd(false); return true;
    case ID_EDIT_EXT_LINEEND: MoveLineEnd(true); return true;
    case ID_EDIT_HOME: MoveHome(false); return true;
    case ID_EDIT_EXT_HOME: MoveHome(true); return true;
    case ID_EDIT_TEXTBEGIN: MoveTextBegin(false); return true;
    case ID_EDIT_EXT_TEXTBEGIN: MoveTextBegin(true); return true;
    case ID_EDIT_TEXTEND: MoveTextEnd(false); return true;
    case ID_EDIT_EXT_TEXTEND: MoveTextEnd(true); return true;
    case ID_BOOKMARK_TOGGLE: ToggleMark(); return true;
    case ID_BOOKMARK_NEXT: GoToNextMark(); return true;
    case ID_BOOKMARK_PREV: GoToPreviousMark(); return true;
    case ID_BOOKMARK_CLEAR_UNNUMBERED: ClearMarks(); return true;
    case ID_BOOKMARK_CLEAR_ALL: ClearNumberedBookmarks(); return true;
    case ID_EDIT_COPY: Copy(); return true;
    case ID_EDIT_SELECT_ALL: SelectAllText(); return true;
    default: break;
    }
    if (command >= ID_BOOKMARK_SET0 && command <= ID_BOOKMARK_SET0 + 9) {
        ToggleBookmark(command - ID_BOOKMARK_SET0);
        return true;
    }
    if (command >= ID_BOOKMARK_GOTO0 && command <= ID_BOOKMARK_GOTO0 + 9) {
        GoToBookmark(command - ID_BOOKMARK_GOTO0);
        return true;
    }
    return false;
}

bool CTextView::QueryCommand(int command, CCommandState& state)
{
    using namespace kib;
    state = CCommandState();
    if ((command >= ID_EDIT_CHARLEFT && command <= ID_EDIT_EXT_TEXTEND) ||
        (command >= ID_BOOKMARK_SET0 && command <= ID_BOOKMARK_GOTO0 + 9) ||
        command == ID_BOOKMARK_TOGGLE || command == ID_BOOKMARK_CLEAR_ALL ||
        command == ID_EDIT_SELECT_ALL) {
        state.enabled = true;
        return true;
    }
    switch (command) {
    case ID_BOOKMARK_NEXT:
    case ID_BOOKMARK_PREV:
    case ID_BOOKMARK_CLEAR_UNNUMBERED: state.enabled = m_anyMark; return true;
    case ID_EDIT_COPY: state.enabled = IsSelection(); return true;
    default: return false;
    }
}

void CTextView::OnMenuCommand(wxCommandEvent& event)
{
    int command = kib::FromWxId(event.GetId());
    if (command > 0 && event.GetEventObject() != this && HandleCommand(command))
        return;
    event.Skip();
}

void CTextView::OnUpdateCommandUI(wxUpdateUIEvent& event)
{
    int command = kib::FromWxId(event.GetId());
    CCommandState state;
    if (command > 0 && QueryCommand(command, state)) {
        event.Enable(state.enabled);
        if (event.IsCheckable())
            event.Check(state.checked);
        if (state.setText)
            event.SetText(kib::MenuLabel(command, wxString::FromUTF8(state.text)));
        return;
    }
    event.Skip();
}

// ---------------------------------------------------------------- focus

void CTextView::OnSetFocus(wxFocusEvent& event)
{
    m_focused = true;
    InvalidateSelectionLines();
    RefreshCaret();
    event.Skip();
}

void CTextView::OnKillFocus(wxFocusEvent& event)
{
    m_focused = false;
    m_inactiveSelectionShown = true;
    RefreshCaret();
    InvalidateSelectionLines();
    if (m_dragging)
        EndMouseDrag();
    event.Skip();
}

// ---------------------------------------------------------------- mouse

void CTextView::LineSelection(int anchorLine, int line, TextPos& start, TextPos& end) const
{
    int lo = std::min(anchorLine, line);
    int hi = std::max(anchorLine, line);
    start = TextPos(0, lo);
    end = hi + 1 < LineCount() ? TextPos(0, hi + 1) : TextPos(LineLength(hi), hi);
}

void CTextView::StartMouseDrag()
{
    if (!HasCapture())
        CaptureMouse();
    m_dragTimer.Start(kDragTimerPeriodMs);
    m_dragging = true;
}

void CTextView::EndMouseDrag()
{
    m_dragTimer.Stop();
    m_dragging = false;
    if (HasCapture())
        ReleaseMouse();
}

void CTextView::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    EnsureMetrics();
    const wxPoint point = event.GetPosition();
    const bool shift = event.ShiftDown();
    const bool ctrl = event.ControlDown();
    TextPos start, end;
    if (point.x < MarginWidth()) {
        if (ctrl) {
            SelectAllText();
            return;
        }
        TextPos hit = PointToText(point);
        m_caret = TextPos(0, hit.y);
        if (!shift)
            m_anchor = m_caret;
        LineSelection(m_anchor.y, hit.y, start, end);
        m_lineMode = true;
        m_wordMode = false;
    } else {
        TextPos hit = PointToText(wxPoint(point.x + m_charWidth / 2, point.y));
        if (IsInsideSelection(hit) && !m_dragDropDisabled) {
            m_dragPending = true;
            return;
        }
        m_caret = hit;
        if (!shift)
            m_anchor = m_caret;
        m_lineMode = false;
        m_wordMode = ctrl;
        if (ctrl) {
            TextPos lo = std::min(m_anchor, m_caret), hi = std::max(m_anchor, m_caret);
            start = TextPos(textmotion::WordStart(LineChars(lo.y), LineLength(lo.y), lo.x), lo.y);
            end = TextPos(textmotion::WordEnd(LineChars(hi.y), LineLength(hi.y), hi.x), hi.y);
        } else {
            start = m_anchor;
            end = m_caret;
        }
    }
    m_idealColumn = DisplayColumn(m_caret);
    RefreshCaret();
    ScrollIntoView(m_caret);
    SetSelectionRange(start, end);
    StartMouseDrag();
}

void CTextView::ExtendMouseSelection(const wxPoint& point)
{
    EnsureMetrics();
    const bool onMargin = point.x < MarginWidth();
    TextPos hit = PointToText(wxPoint(point.x + m_charWidth / 2, point.y));
    TextPos start, end;
    if (m_lineMode) {
        if (onMargin) {
            LineSelection(m_anchor.y, hit.y, start, end);
            m_caret = TextPos(0, hit.y);
            m_idealColumn = 0;
            RefreshCaret();
            SetSelectionRange(start, end);
            return;
        }
        m_lineMode = m_wordMode = false;
        SetCursor(wxCursor(wxCURSOR_IBEAM));
    }
    if (m_wordMode) {
        if (hit < m_anchor) {
            start = TextPos(textmotion::WordStart(LineChars(hit.y), LineLength(hit.y), hit.x), hit.y);
            end = TextPos(textmotion::WordEnd(LineChars(m_anchor.y), LineLength(m_anchor.y), m_anchor.x),
                          m_anchor.y);
            m_caret = start;
            std::swap(start, end); // the selection runs from the anchor side to the caret
        } else {
            start = TextPos(textmotion::WordStart(LineChars(m_anchor.y), LineLength(m_anchor.y), m_anchor.x),
                            m_anchor.y);
            end = TextPos(textmotion::WordEnd(LineChars(hit.y), LineLength(hit.y), hit.x), hit.y);
            m_caret = end;
        }
    } else {
        m_caret = hit;
        start = m_anchor;
        end = m_caret;
    }
    m_idealColumn = DisplayColumn(m_caret);
    RefreshCaret();
    SetSelectionRange(start, end);
}

void CTextView::OnMotion(wxMouseEvent& event)
{
    const wxPoint point = event.GetPosition();
    if (m_dragPending && event.LeftIsDown()) {
        BeginDragAndDrop();
        return;
    }
    if (m_dragging)
        ExtendMouseSelection(point);
    else
        SetCursorFor(point);
}

void CTextView::SetCursorFor(const wxPoint& point)
{
    if (point.x < MarginWidth()) {
        SetCursor(wxCursor(wxCURSOR_RIGHT_ARROW));
        return;
    }
    EnsureMetrics();
    TextPos hit = PointToText(point);
    if (IsInsideSelection(hit)) {
        if (!m_dragDropDisabled)
            SetCursor(wxCursor(wxCURSOR_ARROW));
        return;
    }
    SetCursor(wxCursor(wxCURSOR_IBEAM));
}

void CTextView::OnLeftUp(wxMouseEvent& event)
{
    const wxPoint point = event.GetPosition();
    if (m_dragging) {
        ExtendMouseSelection(point);
        EndMouseDrag();
    } else if (m_dragPending) {
        m_dragPending = false;
        EnsureMetrics();
        TextPos hit = PointToText(wxPoint(point.x + m_charWidth / 2, point.y));
        m_anchor = hit;
        m_caret = hit;
        SetSelectionRange(hit, hit);
        MoveCaretTo(hit);
    }
}

void CTextView::OnLeftDClick(wxMouseEvent& event)
{
    if (m_dragging)
        return;
    EnsureMetrics();
    const wxPoint point = event.GetPosition();
    if (point.x < MarginWidth())
        return;
    TextPos hit = PointToText(wxPoint(point.x + m_charWidth / 2, point.y));
    const char* chars = LineChars(hit.y);
    int len = LineLength(hit.y);
    TextPos start(textmotion::WordStart(chars, len, hit.x), hit.y);
    TextPos end(textmotion::WordEnd(chars, len, hit.x), hit.y);
    m_dragPending = false;
    m_anchor = start;
    m_caret = end;
    m_idealColumn = DisplayColumn(m_caret);
    m_wordMode = true;
    m_lineMode = false;
    RefreshCaret();
    ScrollIntoView(m_caret);
    SetSelectionRange(start, end);
    StartMouseDrag();
}

void CTextView::OnRightDown(wxMouseEvent& event)
{
    EnsureMetrics();
    const wxPoint point = event.GetPosition();
    TextPos hit = PointToText(wxPoint(point.x + m_charWidth / 2, point.y));
    if (!IsInsideSelection(hit)) {
        m_anchor = hit;
        m_caret = hit;
        SetSelectionRange(hit, hit);
        MoveCaretTo(hit);
    }
    event.Skip(); // the context menu follows
}

void CTextView::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_dragTimer.Stop();
    m_dragging = false;
}

void CTextView::OnDragTimer(wxTimerEvent&)
{
    if (!m_dragging) {
        m_dragTimer.Stop();
        return;
    }
    EnsureMetrics();
    const wxPoint point = ScreenToClient(wxGetMousePosition());
    const wxSize client = GetClientSize();
    int top = m_topLine;
    int first = m_firstColumn;
    if (point.y < 0)
        top -= -point.y < m_lineHeight ? 1 : 3;
    else if (point.y >= client.y)
        top += point.y - client.y < m_lineHeight ? 1 : 3;
    if (point.x < 0)
        first -= 1;
    else if (point.x >= client.x)
        first += 1;
    top = std::clamp(top, 0, LineCount() - 1);
    first = std::clamp(first, 0, std::max(0, MaxDisplayLength() - 1));
    bool scrolled = false;
    if (top != m_topLine) {
        ScrollToTopLine(top, true);
        SyncSiblings(false);
        scrolled = true;
    }
    if (first != m_firstColumn) {
        ScrollToColumn(first, true);
        SyncSiblings(true);
        scrolled = true;
    }
    if (scrolled)
        ExtendMouseSelection(point);
}

CTextView::UndoMark CTextView::MarkUndo() const
{
    UndoMark mark;
    if (m_buffer) {
        mark.position = m_buffer->UndoPosition();
        mark.count = m_buffer->UndoRecordCount();
        mark.last = mark.position > 0 ? &m_buffer->UndoRecordAt(mark.position - 1) : nullptr;
    }
    return mark;
}

bool CTextView::ChangedSince(const UndoMark& mark) const
{
    if (!m_buffer)
        return false;
    int pos = m_buffer->UndoPosition();
    return pos != mark.position || m_buffer->UndoRecordCount() != mark.count ||
           (pos > 0 ? &m_buffer->UndoRecordAt(pos - 1) : nullptr) != mark.last;
}

CTextView::UndoMark CTextView::OpenEditGroup(bool mergeWithPrevious)
{
    UndoMark mark = MarkUndo();
    if (m_buffer)
        m_buffer->OpenUndoGroup(mergeWithPrevious);
    return mark;
}

void CTextView::CloseEditGroup(const UndoMark& mark)
{
    // A group that recorded nothing must not run the edit callback, which
    // would otherwise see the last record of an older group.
    if (m_buffer)
        m_buffer->CloseUndoGroup(ChangedSince(mark) ? this : nullptr);
}

void CTextView::BeginDragAndDrop()
{
    m_dragPending = false;
    if (HasCapture())
        ReleaseMouse();
    CTextBuffer* buffer = m_buffer;
    UndoMark mark = OpenEditGroup(false);
    std::unique_ptr<wxDataObject> data(MakeDragData());
    GetOrderedSelection(m_draggedStart, m_draggedEnd);
    m_textBeingDragged = true;
    wxDragResult result = RunDragLoop(*data, DragEffects());
    if (result == wxDragCopy || result == wxDragMove)
        AfterDragDone(result);
    m_textBeingDragged = false;
    if (buffer && buffer == m_buffer)
        CloseEditGroup(mark);
}

// ---------------------------------------------------------------- buffer changes

void CTextView::AdjustPositions(const TextChange& change)
{
    change.AdjustPosition(m_caret);
    change.AdjustPosition(m_selStart);
    change.AdjustPosition(m_selEnd);
    change.AdjustPosition(m_anchor);
    if (m_textBeingDragged) {
        change.AdjustPosition(m_draggedStart);
        change.AdjustPosition(m_draggedEnd);
    }
    TextPos top(0, m_topLine);
    change.AdjustPosition(top);
    m_topLine = top.y;
    // A highlight whose character is no longer there is dropped rather than
    // drawn over whatever took its place.
    TextPos match = m_braces.MatchPos();
    if (match.IsValid() && !(change.start.y > match.y)) {
        int x = 0;
        char partner = 0;
        if (!m_buffer || !m_braces.MatchOnLine(*m_buffer, match.y, x, partner) ||
            LineChars(match.y)[x] != partner)
            m_braces.Clear();
    }
    if (m_indicatorPos.IsValid())
        change.AdjustPosition(m_indicatorPos);
}

void CTextView::NoteDisplayLengthChange(int line)
{
    // Keeps the longest-line width without a walk over every line: it only
    // has to be recomputed when the longest line itself got shorter.
    int32_t& cached = m_displayLengths[static_cast<size_t>(line)];
    int32_t old = cached;
    cached = -1;
    if (m_maxDisplayLength < 0)
        return;
    int now = DisplayLength(line);
    if (now >= m_maxDisplayLength)
        m_maxDisplayLength = now;
    else if (old < 0 || old == m_maxDisplayLength)
        m_maxDisplayLength = -1;
}

void CTextView::OnBufferChange(CTextBufferListener* source, const TextChange* change,
                               uint32_t flags, int line)
{
    m_lineWindow = LineWindow();
    // A one-line edit that leaves the line's end state as it was cannot
    // change how the following lines look: only the line is drawn again.
    const bool oneLine = (flags & NOTIFY_ONELINE) && !(flags & (NOTIFY_FLAGS | NOTIFY_RESET));
    bool stateKnown = false;
    LineState stateBefore = 0;
    if (oneLine && m_buffer && line >= 0 && m_states.IsKnown(line)) {
        stateKnown = true;
        stateBefore = m_states.StateAfter(*m_buffer, line);
    }
    if (m_buffer)
        m_states.OnBufferChange(flags, line, change, m_buffer->LineCount());
    if (flags & NOTIFY_RESET) {
        ResetViewState();
        RecalcVertScrollBar();
        RecalcHorzScrollBar();
        return;
    }
    const int count = LineCount();
    if (flags & NOTIFY_FLAGS) {
        // Only a bookmark changed: the text, its colours and widths did not.
        if (line >= 0 && line < count && (LineFlags(line) & LINE_MARK))
            m_anyMark = true;
        InvalidateLines(line, line);
        return;
    }
    if (flags & NOTIFY_ONELINE) {
        if (m_displayLengths.size() == static_cast<size_t>(count) && line >= 0 && line < count)
            NoteDisplayLengthChange(line);
        if (stateKnown && line < count && GetLineState(line) == stateBefore)
            InvalidateLines(line, line);
        else
            InvalidateLines(line, -1);
    } else {
        bool shifted = false;
        if (change && !m_displayLengths.empty() && line >= 0) {
            const int sy = change->start.y, ey = change->end.y;
            const size_t oldCount = m_displayLengths.size();
            if (change->kind == TextChange::Insertion && oldCount + static_cast<size_t>(ey - sy) == static_cast<size_t>(count) &&
                sy >= 0 && static_cast<size_t>(sy) < oldCount) {
                if (m_displayLengths.capacity() < static_cast<size_t>(count))
                    m_displayLengths.reserve(static_cast<size_t>(count) + static_cast<size_t>(count) / 32 + 64);
                m_displayLengths.insert(m_displayLengths.begin() + sy + 1, static_cast<size_t>(ey - sy), -1);
                NoteDisplayLengthChange(sy);
                for (int i = sy + 1; i <= ey && m_maxDisplayLength >= 0; ++i)
                    m_maxDisplayLength = std::max(m_maxDisplayLength, DisplayLength(i));
                shifted = true;
            } else if (change->kind == TextChange::Deletion &&
                       oldCount == static_cast<size_t>(count) + static_cast<size_t>(ey - sy) && sy >= 0 &&
                       static_cast<size_t>(ey) < oldCount) {
                for (int i = sy + 1; i <= ey; ++i) {
                    int32_t old = m_displayLengths[static_cast<size_t>(i)];
                    if (old < 0 || old == m_maxDisplayLength)
                        m_maxDisplayLength = -1;
                }
                m_displayLengths.erase(m_displayLengths.begin() + sy + 1, m_displayLengths.begin() + ey + 1);
                NoteDisplayLengthChange(sy);
                shifted = true;
            }
        }
        if (!shifted) {
            size_t keep = line < 0 ? 0 : std::min(m_displayLengths.size(), static_cast<size_t>(line));
            ResizeCache(m_displayLengths, static_cast<size_t>(count), -1);
            std::fill(m_displayLengths.begin() + static_cast<std::ptrdiff_t>(keep), m_displayLengths.end(), -1);
            m_maxDisplayLength = -1;
        }
        InvalidateLines(line, -1);
    }
    if (change) {
        AdjustPositions(*change);
        RefreshCaret();
    }
    if (flags & NOTIFY_LINECOUNT)
        RecalcVertScrollBar();
    if (flags & NOTIFY_WIDTH)
        RecalcHorzScrollBar();
}

// ---------------------------------------------------------------- settings

void CTextView::SetTabWidth(int width)
{
    width = std::max(1, width);
    if (width == m_tabWidth)
        return;
    m_tabWidth = width;
    std::vector<int32_t>().swap(m_displayLengths);
    m_maxDisplayLength = -1;
    RecalcHorzScrollBar();
    Refresh();
    RefreshCaret();
}

void CTextView::SetTextFont(const CLogFont& font)
{
    m_logFont = font;
    InvalidateMetrics();
    int w = 0, h = 0;
    GetTextExtent("X", &w, &h);
    m_digitWidth = std::max(1, w);
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
    RefreshCaret();
    Refresh();
}

void CTextView::SetShowWhitespace(bool on)
{
    if (on != m_showWhitespace) {
        m_showWhitespace = on;
        Refresh();
    }
}

void CTextView::SetLineNumbers(bool on)
{
    if ((m_lineNumbers != 0) == on)
        return;
    m_lineNumbers = on ? 1 : 0;
    m_screenColumns = -1;
    Refresh();
    RecalcHorzScrollBar();
}

void CTextView::SetSelectionMargin(bool on)
{
    if (on == m_selectionMargin)
        return;
    m_selectionMargin = on;
    m_screenColumns = -1;
    Refresh();
    RecalcHorzScrollBar();
}

void CTextView::SetColumnGuide(int position, bool draw)
{
    if (position != m_guidePosition || draw != m_drawGuide) {
        m_guidePosition = position;
        m_drawGuide = draw;
        Refresh();
    }
}

void CTextView::SetMatchBraces(int option)
{
    m_braces.SetOption(option);
    if (option != 1 && m_braces.MatchPos().IsValid()) {
        m_braces.Clear();
        Refresh();
    }
}
