#include "editor/TextView.h"

#include "editor/XShmPresenter.h"

#include "editor/TextTransform.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"
#include "resources/MenuTable.h"
#include "text/Cp1252.h"
#include "text/TextLayout.h"
#include "text/Transcode.h"
#include "text/Utf8.h"

#include <wx/clipbrd.h>

#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
#include <gtk/gtk.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

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


} // namespace

CTextView::CTextView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxWANTS_CHARS | wxVSCROLL | wxHSCROLL | wxALWAYS_SHOW_SB),
      m_dragTimer(this, kDragTimerId), m_caretTimer(this, kCaretTimerId)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
    // Scroll bars that stay beside the text: GTK's overlay indicators fade
    // in over the text after each scroll or edit and repaint all of it in
    // every step of the fade.
    if (GtkWidget* w = GetHandle(); w && GTK_IS_SCROLLED_WINDOW(w)) {
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(w), FALSE);
        // Nor the shades at an edge the text could scroll further: they are
        // drawn over the text, which the view draws onto its window itself.
        static GtkCssProvider* noShades = [] {
            GtkCssProvider* css = gtk_css_provider_new();
            gtk_css_provider_load_from_data(
                css, "undershoot, overshoot { background: none; border: none; box-shadow: none; }", -1, nullptr);
            return css;
        }();
        gtk_style_context_add_provider(gtk_widget_get_style_context(w), GTK_STYLE_PROVIDER(noShades),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
#endif
    m_states.SetClassifier([this](LineState state, const char* chars, int length) {
        int n = 0;
        return ClassifyLine(state, chars, length, nullptr, 0, n);
    });
    m_braces.SetOption(1);

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
    Bind(wxEVT_CLIPBOARD_CHANGED, &CTextView::OnClipboardChanged, this);

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
    CancelPresent();
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
    m_sel.Reset();
    m_states.Reset(m_buffer ? m_buffer->LineCount() : 0);
    m_lengths.Clear();
    m_renderer.Reset();
    if (m_dragging)
        EndMouseDrag();
    m_dragging = m_wordMode = m_lineMode = false;
    m_dragPending = false;
    m_textBeingDragged = false;
    m_inactiveSelectionShown = false;
    m_braces.Clear();
    m_bookmarks.Reset();
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

void CTextView::KnownLengths(int first, int count, int tabWidth, int32_t* out) const
{
    if (m_buffer)
        m_buffer->KnownLengths(first, count, tabWidth, out);
    else
        std::fill(out, out + std::max(0, count), -1);
}

int CTextView::LineLength(int line) const
{
    return m_buffer && line < m_buffer->LineCount() ? m_buffer->LineLength(line) : 0;
}

const char* CTextView::LineChars(int line) const
{
    return m_buffer && line < m_buffer->LineCount() ? m_buffer->LineChars(line) : nullptr;
}

TextEncoding CTextView::Encoding() const
{
    return m_buffer ? m_buffer->Encoding() : TextEncoding::Cp1252;
}

uint32_t CTextView::LineFlags(int line) const
{
    return m_buffer && line < m_buffer->LineCount() ? m_buffer->LineFlags(line) : 0;
}

int CTextView::DisplayLength(int line)
{
    return m_lengths.Get(line);
}

int CTextView::MaxDisplayLength()
{
    return m_lengths.Max();
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
    return lines * m_states.BytesPerLine() + m_lengths.Memory();
}

// ---------------------------------------------------------------- clipboard

// The paste command asks in every idle pass. A synchronous question waits
// in a nested event loop for the clipboard owner's answer, after every key;
// after the first answer, the question is put in the background at most
// every kClipboardAge and the last answer serves meanwhile.
bool CTextView::ClipboardHasText()
{
    constexpr auto kClipboardAge = std::chrono::milliseconds(500);
    const auto now = std::chrono::steady_clock::now();
    if (!m_clipKnown) {
        wxClipboardLocker lock;
        m_clipHasText = !!lock && (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) ||
                                   wxTheClipboard->IsSupported(wxDF_TEXT));
        m_clipKnown = true;
        m_clipCheckedAt = now;
    } else if (!m_clipQueryPending && now - m_clipCheckedAt > kClipboardAge) {
        m_clipQueryPending = wxTheClipboard->IsSupportedAsync(this);
        m_clipCheckedAt = now;
    }
    return m_clipHasText;
}

void CTextView::OnClipboardChanged(wxClipboardEvent& event)
{
    m_clipQueryPending = false;
    m_clipHasText = event.SupportsFormat(wxDF_UNICODETEXT) || event.SupportsFormat(wxDF_TEXT);
    m_clipCheckedAt = std::chrono::steady_clock::now();
}

void CTextView::PutTextOnClipboard(const std::string& text)
{
    if (text.empty())
        return;
    wxClipboardLocker lock;
    if (!lock)
        return;
    wxTheClipboard->SetData(new wxTextDataObject(OutsideText(text)));
    m_clipHasText = true;
    m_clipKnown = true;
    wxTheClipboard->Flush();
}

CTextView::EClipboardText CTextView::TakeTextFromClipboard(std::string& text)
{
    text.clear();
    wxTextDataObject data;
    {
        wxClipboardLocker lock;
        if (!lock)
            return EClipboardText::Missing;
        if (!wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && !wxTheClipboard->IsSupported(wxDF_TEXT))
            return EClipboardText::Missing;
        if (!wxTheClipboard->GetData(data))
            return EClipboardText::Missing;
    }
    // The clipboard is let go before a refusal's message shows.
    return DocumentText(data.GetText(), text) ? EClipboardText::Taken : EClipboardText::Refused;
}

wxString CTextView::OutsideText(const std::string& bytes) const
{
    const std::string text = texttransform::DocumentToClipboardBreaks(bytes);
    if (Encoding() == TextEncoding::Cp1252)
        return wxString(cp1252::DecodeWide(text));
    return wxString::FromUTF8(utf8::ToValid(text));
}

bool CTextView::DocumentText(const wxString& text, std::string& bytes)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    const std::string_view view(utf8.data(), utf8.length());
    bytes = DocumentBytesFromUtf8(view);
    if (bytes.empty() && !view.empty())
        return false;
    bytes = texttransform::ClipboardToDocumentBreaks(bytes);
    return true;
}

std::string CTextView::DocumentBytesFromUtf8(std::string_view utf8)
{
    transcode::Result r = transcode::Convert(utf8, TextEncoding::Utf8, Encoding());
    if (!r.ok) {
        RefuseCharacter(r.badChar);
        return {};
    }
    return std::move(r.bytes);
}

void CTextView::RefuseCharacter(char32_t)
{
    wxBell();
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

// ---------------------------------------------------------------- caret

void CTextView::MoveCaretTo(TextPos pos)
{
    m_sel.SetCaret(pos);
    m_sel.SetIdealColumn(DisplayColumn(pos));
    RefreshCaret();
}

void CTextView::PutCaret(TextPos pos)
{
    // The caret is in place before the selection is set, so that brace
    // matching looks at the new caret line.
    m_sel.SetAnchor(pos);
    m_sel.SetCaret(pos);
    SetSelectionRange(pos, pos);
    MoveCaretTo(pos);
    ScrollIntoView(pos);
}

void CTextView::MoveFinished(bool extend, bool keepIdeal)
{
    const TextPos caret = m_sel.Caret();
    if (!keepIdeal)
        m_sel.SetIdealColumn(DisplayColumn(caret));
    ScrollIntoView(caret);
    RefreshCaret();
    if (!extend)
        m_sel.SetAnchor(caret);
    SetSelectionRange(m_sel.Anchor(), caret);
}

// ---------------------------------------------------------------- selection

void CTextView::GetSelectionRange(TextPos& start, TextPos& end) const
{
    start = m_sel.SelectionStart();
    end = m_sel.SelectionEnd();
}

void CTextView::SetSelectionRange(TextPos start, TextPos end)
{
    const TextPos oldStart = m_sel.SelectionStart(), oldEnd = m_sel.SelectionEnd();
    if (start == oldStart) {
        if (!(end == oldEnd))
            InvalidateLines(std::min(end.y, oldEnd.y), std::max(end.y, oldEnd.y));
    } else {
        InvalidateLines(std::min(oldStart.y, oldEnd.y), std::max(oldStart.y, oldEnd.y));
        InvalidateLines(std::min(start.y, end.y), std::max(start.y, end.y));
    }
    m_sel.SetSelection(start, end);
    UpdateBraceMatch();
}

void CTextView::SelectAllText()
{
    int last = LineCount() - 1;
    m_sel.SetCaret(TextPos(LineLength(last), last));
    m_sel.SetIdealColumn(-1);
    m_sel.SetAnchor(TextPos(0, 0));
    SetSelectionRange(TextPos(0, 0), m_sel.Caret());
    RefreshCaret();
}

// ---------------------------------------------------------------- braces

void CTextView::UpdateBraceMatch()
{
    if (!m_buffer)
        return;
    CBraceMatcher::Repaint r =
        m_braces.Update(*m_buffer, m_sel.Caret().y, m_sel.SelectionStart(), m_sel.SelectionEnd());
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
    PresentScope present;
    if (!ProcessEditorKey(event))
        event.Skip();
}

void CTextView::OnChar(wxKeyEvent& event)
{
    PresentScope present;
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
    OnCharTyped(static_cast<char32_t>(uc));
}

void CTextView::MovePageUp(bool extend)
{
    int step = std::max(1, GetScreenLines() - 1);
    ScrollVert(std::max(0, m_topLine - step));
    m_sel.PageStep(*this, -step);
    MoveFinished(extend, false);
}

void CTextView::MovePageDown(bool extend)
{
    int step = std::max(1, GetScreenLines() - 1);
    int last = LineCount() - 1;
    ScrollVert(std::min(last, m_topLine + step));
    m_sel.PageStep(*this, step);
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

// ---------------------------------------------------------------- bookmarks

void CTextView::GoToLineStart(int line)
{
    PutCaret(TextPos(0, line));
}

void CTextView::ToggleBookmark(int n)
{
    if (m_buffer)
        m_bookmarks.Toggle(*m_buffer, GetCaretPos().y, n);
}

void CTextView::GoToBookmark(int n)
{
    int line = m_buffer ? CBookmarks::Find(*m_buffer, n) : -1;
    if (line >= 0)
        GoToLineStart(line);
}

void CTextView::ClearNumberedBookmarks()
{
    if (m_buffer)
        m_bookmarks.ClearNumbered(*m_buffer);
}

void CTextView::ToggleMark()
{
    if (m_buffer)
        m_bookmarks.ToggleMark(*m_buffer, GetCaretPos().y);
}

void CTextView::GoToNextMark()
{
    int line = m_buffer ? m_bookmarks.NextMark(*m_buffer, GetCaretPos().y) : -1;
    if (line >= 0)
        GoToLineStart(line);
}

void CTextView::GoToPreviousMark()
{
    int line = m_buffer ? m_bookmarks.PreviousMark(*m_buffer, GetCaretPos().y) : -1;
    if (line >= 0)
        GoToLineStart(line);
}

void CTextView::ClearMarks()
{
    if (m_buffer)
        m_bookmarks.ClearMarks(*m_buffer);
}

// ---------------------------------------------------------------- commands

const CTextView::Commands& CTextView::CommandTable()
{
    using namespace kib;
    using Row = Commands::Row;
    // Each caret motion is a pair: the command and its Ext twin (the next
    // number), which extends the selection.
    static const Commands table = {
        {ID_EDIT_CHARLEFT, ID_EDIT_EXT_CHARLEFT,
         [](CTextView& v, int c) { v.m_sel.CharLeft(v, c == ID_EDIT_EXT_CHARLEFT); v.MoveFinished(c == ID_EDIT_EXT_CHARLEFT, false); },
         Row::Always},
        {ID_EDIT_CHARRIGHT, ID_EDIT_EXT_CHARRIGHT,
         [](CTextView& v, int c) { v.m_sel.CharRight(v, c == ID_EDIT_EXT_CHARRIGHT); v.MoveFinished(c == ID_EDIT_EXT_CHARRIGHT, false); },
         Row::Always},
        {ID_EDIT_WORDLEFT, ID_EDIT_EXT_WORDLEFT,
         [](CTextView& v, int c) { v.m_sel.WordLeft(v, c == ID_EDIT_EXT_WORDLEFT); v.MoveFinished(c == ID_EDIT_EXT_WORDLEFT, false); },
         Row::Always},
        {ID_EDIT_WORDRIGHT, ID_EDIT_EXT_WORDRIGHT,
         [](CTextView& v, int c) { v.m_sel.WordRight(v, c == ID_EDIT_EXT_WORDRIGHT); v.MoveFinished(c == ID_EDIT_EXT_WORDRIGHT, false); },
         Row::Always},
        {ID_EDIT_LINEUP, ID_EDIT_EXT_LINEUP,
         [](CTextView& v, int c) { v.m_sel.LineUp(v, v.GetTabWidth(), c == ID_EDIT_EXT_LINEUP); v.MoveFinished(c == ID_EDIT_EXT_LINEUP, true); },
         Row::Always},
        {ID_EDIT_LINEDOWN, ID_EDIT_EXT_LINEDOWN,
         [](CTextView& v, int c) { v.m_sel.LineDown(v, v.GetTabWidth(), c == ID_EDIT_EXT_LINEDOWN); v.MoveFinished(c == ID_EDIT_EXT_LINEDOWN, true); },
         Row::Always},
        {ID_EDIT_SCROLLUP, [](CTextView& v, int) { v.ScrollLineUp(); }, Row::Always},
        {ID_EDIT_SCROLLDOWN, [](CTextView& v, int) { v.ScrollLineDown(); }, Row::Always},
        {ID_EDIT_PAGEUP, ID_EDIT_EXT_PAGEUP, [](CTextView& v, int c) { v.MovePageUp(c == ID_EDIT_EXT_PAGEUP); },
         Row::Always},
        {ID_EDIT_PAGEDOWN, ID_EDIT_EXT_PAGEDOWN, [](CTextView& v, int c) { v.MovePageDown(c == ID_EDIT_EXT_PAGEDOWN); },
         Row::Always},
        {ID_EDIT_LINEEND, ID_EDIT_EXT_LINEEND,
         [](CTextView& v, int c) { v.m_sel.LineEnd(v); v.MoveFinished(c == ID_EDIT_EXT_LINEEND, false); }, Row::Always},
        {ID_EDIT_HOME, ID_EDIT_EXT_HOME,
         [](CTextView& v, int c) { v.m_sel.SmartHome(v); v.MoveFinished(c == ID_EDIT_EXT_HOME, false); }, Row::Always},
        {ID_EDIT_TEXTBEGIN, ID_EDIT_EXT_TEXTBEGIN,
         [](CTextView& v, int c) { v.m_sel.TextBegin(); v.MoveFinished(c == ID_EDIT_EXT_TEXTBEGIN, false); },
         Row::Always},
        {ID_EDIT_TEXTEND, ID_EDIT_EXT_TEXTEND,
         [](CTextView& v, int c) { v.m_sel.TextEnd(v); v.MoveFinished(c == ID_EDIT_EXT_TEXTEND, false); }, Row::Always},

        {ID_BOOKMARK_SET0, ID_BOOKMARK_SET0 + 9, [](CTextView& v, int c) { v.ToggleBookmark(c - ID_BOOKMARK_SET0); },
         Row::Always},
        {ID_BOOKMARK_GOTO0, ID_BOOKMARK_GOTO0 + 9, [](CTextView& v, int c) { v.GoToBookmark(c - ID_BOOKMARK_GOTO0); },
         Row::Always},
        {ID_BOOKMARK_CLEAR_ALL, [](CTextView& v, int) { v.ClearNumberedBookmarks(); }, Row::Always},
        {ID_BOOKMARK_TOGGLE, [](CTextView& v, int) { v.ToggleMark(); }, Row::Always},
        {ID_BOOKMARK_NEXT, [](CTextView& v, int) { v.GoToNextMark(); }, [](CTextView& v, int) { return v.HasAnyMark(); }},
        {ID_BOOKMARK_PREV, [](CTextView& v, int) { v.GoToPreviousMark(); },
         [](CTextView& v, int) { return v.HasAnyMark(); }},
        {ID_BOOKMARK_CLEAR_UNNUMBERED, [](CTextView& v, int) { v.ClearMarks(); },
         [](CTextView& v, int) { return v.HasAnyMark(); }},

        {ID_EDIT_COPY, [](CTextView& v, int) { v.Copy(); }, [](CTextView& v, int) { return v.IsSelection(); }},
        {ID_EDIT_SELECT_ALL, [](CTextView& v, int) { v.SelectAllText(); }, Row::Always},
    };
    return table;
}

bool CTextView::HandleCommand(int command)
{
    return CommandTable().Handle(*this, command);
}

bool CTextView::QueryCommand(int command, CCommandState& state)
{
    // The last stop of the views' chain answers every command from a fresh
    // state.
    state = CCommandState();
    return CommandTable().Query(*this, command, state);
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
    m_clipCheckedAt = {}; // copied elsewhere meanwhile: ask again soon
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


// ---------------------------------------------------------------- buffer changes

void CTextView::AdjustPositions(const TextChange& change)
{
    m_sel.Adjust(change);
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

void CTextView::OnBufferChange(CTextBufferListener* source, const TextChange* change,
                               uint32_t flags, int line)
{
    m_renderer.ForgetLineWindow();
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
        if (m_buffer)
            m_bookmarks.FlagsChanged(*m_buffer, line);
        InvalidateLines(line, line);
        return;
    }
    if (flags & NOTIFY_ONELINE) {
        m_lengths.LineChanged(line);
        // The last line has no followers whose look could change.
        if ((stateKnown && line < count && GetLineState(line) == stateBefore) || line == count - 1)
            InvalidateLines(line, line);
        else
            InvalidateLines(line, -1);
    } else {
        m_lengths.LinesChanged(change, line);
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
    if (width == GetTabWidth())
        return;
    m_lengths.SetTabWidth(width);
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
    if (m_lineNumbers == on)
        return;
    m_lineNumbers = on;
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
