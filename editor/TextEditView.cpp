#include "editor/TextEditView.h"

#include "editor/DateTimeList.h"
#include "editor/TextBlockText.h"
#include "editor/TextMotion.h"
#include "editor/TextTransform.h"
#include "resources/CommandIds.h"
#include "settings/Settings.h"
#include "text/Transcode.h"
#include "text/Utf8.h"
#include "text/TextLayout.h"

#include <wx/dnd.h>
#include <wx/utils.h>

#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
#include <gtk/gtk.h>
#endif

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

const char* const kUndoLabel = "&Rückgängig: %s\tStrg+Z";
const char* const kUndoLabelNone = "&Rückgängig\tStrg+Z";
const char* const kRedoLabel = "&Wiederholen: %s\tStrg+Y";
const char* const kRedoLabelNone = "&Wiederholen\tStrg+Y";

std::string Format(const char* pattern, const std::string& arg)
{
    std::string out(pattern);
    size_t at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, arg);
    return out;
}

// The undo or redo item names the step it would take; enabled is set.
void HistoryItemText(CCommandState& s, const CTextBuffer* buffer, bool undo)
{
    s.setText = true;
    if (!s.enabled) {
        s.text = undo ? kUndoLabelNone : kRedoLabelNone;
        return;
    }
    std::string description;
    if (undo)
        buffer->UndoDescription(description);
    else
        buffer->RedoDescription(description);
    s.text = Format(undo ? kUndoLabel : kRedoLabel, description);
}

bool LineHasCR(const char* chars, int from, int to)
{
    return to > from && std::memchr(chars + from, '\r', static_cast<size_t>(to - from)) != nullptr;
}

} // namespace

// The system's drop target, registered on the view's window; it hands
// everything to the view.
class CTextEditView::CDropTarget : public wxDropTarget {
public:
    explicit CDropTarget(CTextEditView* view) : wxDropTarget(new wxTextDataObject), m_view(view) {}

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override
    {
        return m_view->DragEnter(wxPoint(x, y), OffersText(), IsCopy(def));
    }
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override
    {
        return m_view->DragOver(wxPoint(x, y), OffersText(), IsCopy(def));
    }
    void OnLeave() override { m_view->DragLeave(); }
    bool OnDrop(wxCoord, wxCoord) override
    {
        if (!m_view->IsEditable() || !OffersText()) {
            m_view->HideDropIndicator();
            return false;
        }
        return true;
    }
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override
    {
        if (!GetData()) {
            m_view->HideDropIndicator();
            return wxDragNone;
        }
        auto* data = static_cast<wxTextDataObject*>(GetDataObject());
        std::string text;
        if (!m_view->DocumentText(data->GetText(), text)) {
            m_view->HideDropIndicator();
            return wxDragNone;
        }
        if (!m_view->DropText(wxPoint(x, y), text))
            return wxDragNone;
        return IsCopy(def) ? wxDragCopy : wxDragMove;
    }

private:
    bool OffersText()
    {
#ifdef __WXGTK__
        return GetMatchingPair() != wxDF_INVALID;
#else
        return true;
#endif
    }
    static bool IsCopy(wxDragResult def)
    {
        return def == wxDragCopy || wxGetKeyState(WXK_CONTROL);
    }

    CTextEditView* m_view;
};

CTextEditView::CTextEditView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : CTextView(parent, id, pos, size), m_dragScrollTimer(this, kDragScrollTimerId)
{
    SetDropTarget(new CDropTarget(this));
    Bind(wxEVT_TIMER, &CTextEditView::OnDragScrollTimer, this, kDragScrollTimerId);
}

CTextEditView::~CTextEditView()
{
    m_dragScrollTimer.Stop();
    SetDropTarget(nullptr);
}

bool CTextEditView::IsEditable() const
{
    return GetBuffer() && !GetBuffer()->IsReadOnly();
}

void CTextEditView::ResetViewState()
{
    CTextView::ResetViewState();
    m_overwrite = false;
    m_dropIndicatorShown = false;
    m_selectionSaved = false;
    m_typedEnd = TextPos::None();
}

void CTextEditView::AdjustPositions(const TextChange& change)
{
    CTextView::AdjustPositions(change);
    if (m_selectionSaved) {
        change.AdjustPosition(m_savedSelStart);
        change.AdjustPosition(m_savedSelEnd);
    }
    if (m_dropIndicatorShown)
        change.AdjustPosition(m_savedCaret);
}

void CTextEditView::SaveSelection(TextPos start, TextPos end)
{
    m_selectionSaved = true;
    m_savedSelStart = start;
    m_savedSelEnd = end;
}

bool CTextEditView::GetSavedSelection(TextPos& start, TextPos& end) const
{
    start = m_savedSelStart;
    end = m_savedSelEnd;
    return m_selectionSaved;
}

// ---------------------------------------------------------------- settings

void CTextEditView::ApplySettings(const CSettings& s)
{
    m_autoIndent = s.m_autoIndent != 0;
    SetTabWidth(s.m_tabWidth);

    struct ClassSetting {
        int cls;
        COLORREF fg, bg;
        int style; // -1: the class has no style
    };
    auto hl = [&s](EHighlight h) { return s.m_highlight[static_cast<size_t>(h)]; };
    auto entry = [&](int cls, EHighlight h) {
        CHighlightStyle st = hl(h);
        return ClassSetting{cls, st.foreground, st.background, st.style};
    };
    const ClassSetting classes[] = {
        entry(CI_COMMENT, HL_COMMENT),
        entry(CI_COMMENTMULTI, HL_COMMENTMULTI),
        entry(CI_COMMENTJAVADOC, HL_COMMENTJAVADOC),
        entry(CI_NUMBER, HL_NUMBER),
        entry(CI_OPERATOR, HL_OPERATOR),
        entry(CI_KEYWORD, HL_KEYWORD),
        entry(CI_FUNCTION, HL_FUNCTION),
        entry(CI_BRACEMATCH, HL_BRACEMATCH),
        entry(CI_STRING, HL_STRING),
        {CI_WND, s.m_windowForeground, s.m_windowBackground, -1},
        {CI_SELECTION, s.m_selectionForeground, s.m_selectionBackground, -1},
        {CI_MARGIN, s.m_marginForeground, s.m_marginBackground, -1},
    };
    for (const ClassSetting& c : classes)
        SetClassTextColor(c.cls, c.fg);
    for (const ClassSetting& c : classes)
        SetClassBackColor(c.cls, c.bg);
    for (int cls : {CI_COMMENT, CI_COMMENTMULTI, CI_COMMENTJAVADOC, CI_NUMBER, CI_OPERATOR,
                    CI_KEYWORD, CI_STRING, CI_FUNCTION, CI_BRACEMATCH})
        for (const ClassSetting& c : classes)
            if (c.cls == cls)
                SetClassStyle(cls, c.style);

    SetTextFont(s.m_editorFont);
    SetShowWhitespace(s.m_showTabsAndSpaces != 0);
    SetInsertTabsAsSpaces(s.m_insertTabsAsSpaces != 0);
    SetLineNumbers(s.m_showLineNumbers != 0);
    m_indentAfterBracket = s.m_indentAfterBracket != 0;
    SetColumnGuide(s.m_columnGuidePos, s.m_drawColumnGuide != 0);
    SetMatchBraces(s.m_matchBrace);
}

// ---------------------------------------------------------------- typing

namespace {

// Whether the left or right mouse button is held while a key is typed. The
// key event being handled carries the buttons' state; wxGetMouseState asks
// the X server for it, twice, before every typed character is drawn.
bool TypedWithButtonDown()
{
#if defined(__WXGTK3__) && defined(KIB_HAVE_GTK3)
    GdkModifierType state;
    if (gtk_get_current_event_state(&state))
        return (state & (GDK_BUTTON1_MASK | GDK_BUTTON3_MASK)) != 0;
#endif
    wxMouseState mouse = wxGetMouseState();
    return mouse.LeftIsDown() || mouse.RightIsDown();
}

} // namespace

void CTextEditView::OnCharTyped(char32_t code)
{
    if (TypedWithButtonDown())
        return;
    TypeChar(code);
}

bool CTextEditView::CanMergeTyping() const
{
    return m_typedEnd.IsValid() && GetCaretPos() == m_typedEnd && !ChangedSince(m_typedMark);
}

void CTextEditView::TypeChar(char32_t code)
{
    CTextBuffer* buffer = GetBuffer();
    if (code == '\r') {
        TextPos caret = GetCaretPos();
        if (m_overwrite && caret.y < LineCount() - 1) {
            PutCaret(TextPos(0, caret.y + 1));
            return;
        }
        if (!IsEditable())
            return;
        m_typedEnd = TextPos::None();
        UndoMark group = OpenEditGroup(false);
        DeleteSelection();
        caret = GetCaretPos();
        int endLine = 0, endChar = 0;
        if (buffer->InsertTextAt(this, caret.y, caret.x, "\r\n", endLine, endChar, ACT_TYPING))
            PutCaret(TextPos(endChar, endLine));
        CloseEditGroup(group);
        return;
    }
    if (code < 32 || !IsEditable())
        return;
    std::string typed;
    utf8::Append(typed, code);
    if (typed.empty()) { // a lone surrogate: no character at all
        RefuseCharacter(code);
        return;
    }
    const std::string text = DocumentBytesFromUtf8(typed);
    if (text.empty())
        return;
    // A word typed character by character is one undo step; a blank starts
    // the next one.
    bool merge = code != ' ' && CanMergeTyping();
    UndoMark group = OpenEditGroup(merge);
    if (IsSelection()) {
        DeleteSelection();
    } else if (m_overwrite) {
        TextPos caret = GetCaretPos();
        if (caret.x < LineLength(caret.y))
            buffer->DeleteRange(this, caret.y, caret.x, caret.y, NextCharIndex(caret), ACT_TYPING);
    }
    TextPos caret = GetCaretPos();
    int endLine = 0, endChar = 0;
    bool inserted = buffer->InsertTextAt(this, caret.y, caret.x, text, endLine, endChar, ACT_TYPING);
    if (inserted)
        PutCaret(TextPos(endChar, endLine));
    m_typedMark = MarkUndo();
    CloseEditGroup(group);
    // Whatever the edit callback recorded (automatic indentation) ends the word.
    m_typedEnd = inserted && !ChangedSince(m_typedMark) ? GetCaretPos() : TextPos::None();
}

void CTextEditView::AfterEditGroup(int action, const std::string& text)
{
    CTextBuffer* buffer = GetBuffer();
    if (!m_autoIndent || action != ACT_TYPING || !buffer)
        return;
    const TextPos p = GetCaretPos();
    if (text == "\r\n" && !m_overwrite) {
        if (p.y <= 0)
            return;
        std::string indent = texttransform::AutoIndentText(buffer->LineText(p.y - 1), m_indentAfterBracket,
                                                           GetInsertTabsAsSpaces(), GetTabWidth());
        int endLine = 0, endChar = 0;
        if (buffer->InsertTextAt(nullptr, p.y, p.x, indent, endLine, endChar, ACT_AUTOINDENT))
            PutCaret(TextPos(endChar, endLine));
        return;
    }
    if (text.size() == 1 && texttransform::IsClosingBracket(static_cast<unsigned char>(text[0])) &&
        m_indentAfterBracket && p.y > 0) {
        std::string_view line = buffer->LineText(p.y);
        if (p.x < 1 || p.x > static_cast<int>(line.size()) || line[static_cast<size_t>(p.x - 1)] != text[0])
            return;
        int k = texttransform::ClosingBracketOutdent(line, p.x, GetTabWidth());
        if (k > 0 && buffer->DeleteRange(nullptr, p.y, p.x - 1 - k, p.y, p.x - 1, ACT_AUTOINDENT))
            PutCaret(TextPos(p.x - k, p.y));
    }
}

// ---------------------------------------------------------------- deleting

void CTextEditView::DeleteSelection()
{
    if (!IsSelection() || !IsEditable())
        return;
    TextPos s, e;
    GetOrderedSelection(s, e);
    PutCaret(s);
    GetBuffer()->DeleteRange(this, s.y, s.x, e.y, e.x, ACT_DELSEL);
}

void CTextEditView::DeleteForward()
{
    if (!IsEditable())
        return;
    TextPos s, e;
    if (IsSelection()) {
        GetOrderedSelection(s, e);
    } else {
        s = e = GetCaretPos();
        if (s.x < LineLength(s.y))
            e.x = NextCharIndex(s);
        else if (s.y < LineCount() - 1)
            e = TextPos(0, s.y + 1);
        else
            return;
    }
    DeleteAsOneStep(s, e, ACT_DELETE);
}

void CTextEditView::DeleteAsOneStep(TextPos s, TextPos e, int action)
{
    UndoMark group = OpenEditGroup(false);
    PutCaret(s);
    GetBuffer()->DeleteRange(this, s.y, s.x, e.y, e.x, action);
    CloseEditGroup(group);
}

void CTextEditView::Backspace()
{
    if (!IsEditable())
        return;
    if (IsSelection()) {
        DeleteForward();
        return;
    }
    TextPos e = GetCaretPos(), s = e;
    if (e.x > 0)
        s.x = PrevCharIndex(e);
    else if (e.y > 0)
        s = TextPos(LineLength(e.y - 1), e.y - 1);
    else
        return;
    DeleteAsOneStep(s, e, ACT_BACKSPACE);
}

void CTextEditView::DeleteWordBack()
{
    if (!IsEditable())
        return;
    if (IsSelection()) {
        DeleteForward();
        return;
    }
    TextPos e = GetCaretPos(), s = e;
    if (s.x == 0) {
        if (s.y == 0)
            return;
        --s.y;
        s.x = LineLength(s.y);
    }
    s.x = textmotion::WordLeft(LineChars(s.y), LineLength(s.y), s.x, Encoding());
    if (!(s < e))
        return;
    DeleteAsOneStep(s, e, ACT_BACKSPACE);
}

// ---------------------------------------------------------------- tabs

void CTextEditView::Tab()
{
    if (!IsEditable())
        return;
    CTextBuffer* buffer = GetBuffer();
    const TextPos caret = GetCaretPos();
    const std::string indent =
        texttransform::TabText(GetInsertTabsAsSpaces(), GetTabWidth(), DisplayColumn(caret));
    TextPos s, e;
    GetOrderedSelection(s, e);
    int first = 0, last = 0;
    if (IsSelection() && texttransform::BlockLines(s, e, first, last)) {
        TextPos ws(0, first);
        TextPos we = last + 1 < LineCount() ? TextPos(0, last + 1) : TextPos(LineLength(last), last);
        SetAnchorPos(ws);
        SetSelectionRange(ws, we);
        MoveCaretTo(we);
        UndoMark group = OpenEditGroup(false);
        m_suppressHorzScroll = true;
        for (int line = first; line <= last; ++line) {
            int endLine = 0, endChar = 0;
            buffer->InsertTextAt(this, line, 0, indent, endLine, endChar, ACT_INDENT);
        }
        m_suppressHorzScroll = false;
        RecalcHorzScrollBar();
        CloseEditGroup(group);
        ScrollIntoView(GetCaretPos());
        RefreshCaret();
        return;
    }
    if (m_overwrite && caret.x < LineLength(caret.y)) {
        int x = texttransform::OverwriteTabChar(buffer->LineText(caret.y), caret.x, GetTabWidth(), Encoding());
        PutCaret(TextPos(x, caret.y));
        return;
    }
    UndoMark group = OpenEditGroup(false);
    DeleteSelection();
    TextPos at = GetCaretPos();
    int endLine = 0, endChar = 0;
    if (buffer->InsertTextAt(this, at.y, at.x, indent, endLine, endChar, ACT_TYPING))
        PutCaret(TextPos(endChar, endLine));
    CloseEditGroup(group);
}

void CTextEditView::Untab()
{
    if (!IsEditable())
        return;
    CTextBuffer* buffer = GetBuffer();
    TextPos s, e;
    GetOrderedSelection(s, e);
    int first = 0, last = 0;
    if (IsSelection() && texttransform::BlockLines(s, e, first, last)) {
        TextPos ws(0, first);
        TextPos we = last + 1 < LineCount() ? TextPos(0, last + 1) : TextPos(LineLength(last), last);
        SetAnchorPos(ws);
        SetSelectionRange(ws, we);
        MoveCaretTo(we);
        UndoMark group = OpenEditGroup(false);
        m_suppressHorzScroll = true;
        for (int line = first; line <= last; ++line) {
            int k = texttransform::UnindentCount(buffer->LineText(line), GetTabWidth());
            if (k > 0)
                buffer->DeleteRange(this, line, 0, line, k, ACT_INDENT);
        }
        m_suppressHorzScroll = false;
        RecalcHorzScrollBar();
        CloseEditGroup(group);
        ScrollIntoView(GetCaretPos());
        RefreshCaret();
        return;
    }
    TextPos caret = GetCaretPos();
    if (caret.x > 0)
        PutCaret(TextPos(texttransform::PreviousTabStopChar(buffer->LineText(caret.y), caret.x,
                                                            GetTabWidth(), Encoding()),
                         caret.y));
}

// ---------------------------------------------------------------- clipboard

void CTextEditView::Paste()
{
    if (!IsEditable())
        return;
    std::string text;
    const EClipboardText taken = TakeTextFromClipboard(text);
    if (taken == EClipboardText::Refused)
        return;
    const bool have = taken == EClipboardText::Taken && !text.empty();
    UndoMark group = OpenEditGroup(false);
    DeleteSelection();
    if (have) {
        TextPos at = GetCaretPos();
        int endLine = 0, endChar = 0;
        if (GetBuffer()->InsertTextAt(this, at.y, at.x, text, endLine, endChar, ACT_PASTE))
            PutCaret(TextPos(endChar, endLine));
    }
    CloseEditGroup(group);
}

void CTextEditView::Cut()
{
    if (!IsEditable() || !IsSelection())
        return;
    TextPos s, e;
    GetOrderedSelection(s, e);
    Copy();
    PutCaret(s);
    GetBuffer()->DeleteRange(this, s.y, s.x, e.y, e.x, ACT_CUT);
}

// ---------------------------------------------------------------- conversions

bool CTextEditView::ReplaceSelectionText(const std::function<std::string(const std::string&)>& transform,
                                         int action, TextPos& start, TextPos& end)
{
    if (!IsEditable() || !IsSelection())
        return false;
    CTextBuffer* buffer = GetBuffer();
    TextPos s, e;
    GetOrderedSelection(s, e);
    bool cr = false;
    for (int y = s.y; y <= e.y && !cr; ++y)
        cr = LineHasCR(LineChars(y), y == s.y ? s.x : 0, y == e.y ? e.x : LineLength(y));
    UndoMark group = OpenEditGroup(false);
    if (!cr) {
        std::string text;
        CopyRange(s, e, text);
        std::string out = transform(text);
        buffer->DeleteRange(this, s.y, s.x, e.y, e.x, action);
        int endLine = 0, endChar = 0;
        buffer->InsertTextAt(this, s.y, s.x, out, endLine, endChar, action);
        e = TextPos(endChar, endLine);
    } else {
        // Replace each stretch between CR bytes on its own, so that the CRs
        // stay characters of their lines.
        for (int y = s.y; y <= e.y; ++y) {
            int i = y == s.y ? s.x : 0;
            int to = y == e.y ? e.x : LineLength(y);
            while (i < to) {
                const char* chars = LineChars(y);
                const void* hit = std::memchr(chars + i, '\r', static_cast<size_t>(to - i));
                int j = hit ? static_cast<int>(static_cast<const char*>(hit) - chars) : to;
                if (j > i) {
                    std::string orig(chars + i, static_cast<size_t>(j - i));
                    std::string out = transform(orig);
                    if (out != orig) {
                        buffer->DeleteRange(this, y, i, y, j, action);
                        int endLine = 0, endChar = 0;
                        buffer->InsertTextAt(this, y, i, out, endLine, endChar, action);
                        int delta = static_cast<int>(out.size()) - (j - i);
                        to += delta;
                        j += delta;
                        if (y == e.y)
                            e.x += delta;
                    }
                }
                i = j + 1;
            }
        }
    }
    CloseEditGroup(group);
    start = s;
    end = e;
    return true;
}

void CTextEditView::ConvertSelectionCase(int command)
{
    using texttransform::ECase;
    ECase kind;
    int action;
    switch (command) {
    case kib::ID_LOWERCASE: kind = ECase::Lower; action = ACT_LOWERCASE; break;
    case kib::ID_UPPERCASE: kind = ECase::Upper; action = ACT_UPPERCASE; break;
    case kib::ID_SWAPCASE: kind = ECase::Swap; action = ACT_SWAPCASE; break;
    case kib::ID_CAPITALIZE: kind = ECase::Capitalize; action = ACT_CAPITALIZE; break;
    case kib::ID_SENTENCE: kind = ECase::Sentence; action = ACT_SENTENCE; break;
    default: return;
    }
    TextPos s, e;
    auto transform = [kind, encoding = Encoding()](const std::string& text) {
        std::string out = text;
        texttransform::ConvertCase(out, kind, encoding);
        return out;
    };
    if (!ReplaceSelectionText(transform, action, s, e))
        return;
    // The same range selected again, anchor and caret at its start.
    SetAnchorPos(s);
    SetSelectionRange(s, e);
    MoveCaretTo(s);
    ScrollIntoView(s);
}

void CTextEditView::ConvertTabsSpaces(bool toSpaces)
{
    int width = GetTabWidth();
    TextPos s, e;
    if (toSpaces)
        ReplaceSelectionText([width](const std::string& t) { return texttransform::TabsToSpaces(t, width); },
                             ACT_TABS_TO_SPACES, s, e);
    else
        ReplaceSelectionText([width](const std::string& t) { return texttransform::SpacesToTabs(t, width); },
                             ACT_SPACES_TO_TABS, s, e);
    RefreshCaret();
}

// ---------------------------------------------------------------- comments

void CTextEditView::CommentSelection()
{
    if (!IsEditable() || !IsSelection())
        return;
    CTextBuffer* buffer = GetBuffer();
    const TextPos caretBefore = GetCaretPos();
    TextPos s, e;
    GetOrderedSelection(s, e);
    texttransform::TrimRange(*this, s, e);
    if (!(s < e))
        return; // only white space: nothing to comment out
    UndoMark group = OpenEditGroup(false);
    int endLine = 0, endChar = 0;
    buffer->InsertTextAt(this, e.y, e.x, "*/", endLine, endChar, ACT_COMMENT);
    int openLine = 0, openChar = 0;
    buffer->InsertTextAt(this, s.y, s.x, "/*", openLine, openChar, ACT_COMMENT);
    if (s.y == endLine)
        endChar += 2;
    CloseEditGroup(group);
    SetAnchorPos(caretBefore);
    SetSelectionRange(s, TextPos(endChar, endLine));
    MoveCaretTo(caretBefore);
}

bool CTextEditView::CanUncommentSelection() const
{
    if (!IsSelection())
        return false;
    TextPos s, e;
    GetOrderedSelection(s, e);
    texttransform::TrimRange(*this, s, e);
    if (s.y == e.y && e.x - s.x <= 3)
        return false;
    const char* first = LineChars(s.y);
    const char* last = LineChars(e.y);
    return s.x + 2 <= LineLength(s.y) && first[s.x] == '/' && first[s.x + 1] == '*' && e.x >= 2 &&
           last[e.x - 2] == '*' && last[e.x - 1] == '/';
}

void CTextEditView::UncommentSelection()
{
    if (!IsEditable() || !CanUncommentSelection())
        return;
    CTextBuffer* buffer = GetBuffer();
    const TextPos caretBefore = GetCaretPos();
    TextPos s, e;
    GetOrderedSelection(s, e);
    texttransform::TrimRange(*this, s, e);
    UndoMark group = OpenEditGroup(false);
    buffer->DeleteRange(this, e.y, e.x - 2, e.y, e.x, ACT_UNCOMMENT);
    e.x -= 2;
    // "/**" loses its third character too, when that is still inside.
    int opener = 2;
    if (TextPos(s.x + 2, s.y) < e && s.x + 2 < LineLength(s.y) && LineChars(s.y)[s.x + 2] == '*')
        opener = 3;
    buffer->DeleteRange(this, s.y, s.x, s.y, s.x + opener, ACT_UNCOMMENT);
    if (e.y == s.y)
        e.x -= opener;
    CloseEditGroup(group);
    TextPos c = caretBefore;
    c.y = std::min(c.y, LineCount() - 1);
    c.x = std::min(c.x, LineLength(c.y));
    SetAnchorPos(c);
    SetSelectionRange(s, e);
    MoveCaretTo(c);
}

// ---------------------------------------------------------------- misc

std::string CTextEditView::UserName()
{
    std::string name;
    std::vector<char> scratch(16384);
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, scratch.data(), scratch.size(), &found) == 0 && found && found->pw_name)
        name = found->pw_name;
    if (name.empty()) {
        for (const char* var : {"USER", "LOGNAME"})
            if (const char* v = std::getenv(var); v && *v) {
                name = v;
                break;
            }
    }
    // At most 256 bytes, cut at a character's start.
    if (name.size() > 256)
        name.resize(transcode::CompleteUtf8Prefix(std::string_view(name).substr(0, 256)));
    return name;
}

void CTextEditView::InsertAtCaret(const std::string& text, int action)
{
    if (!IsEditable())
        return;
    TextPos at = GetCaretPos();
    UndoMark group = OpenEditGroup(false);
    int endLine = 0, endChar = 0;
    GetBuffer()->InsertTextAt(this, at.y, at.x, text, endLine, endChar, action);
    CloseEditGroup(group);
    RefreshCaret();
}

void CTextEditView::InsertUserName()
{
    const std::string name = DocumentBytesFromUtf8(UserName());
    if (!name.empty())
        InsertAtCaret(name, ACT_TYPING);
}

std::string CTextEditView::DocumentBytesFrom1252(std::string_view bytes) const
{
    // Every Windows-1252 byte has its place in UTF-8.
    return transcode::Convert(bytes, TextEncoding::Cp1252, Encoding()).bytes;
}

void CTextEditView::InsertTextBlock(const std::string& content)
{
    if (!IsEditable())
        return;
    // The markers are found in the block's own bytes; the pieces between
    // them become document bytes one by one, so the caret's place survives
    // any change of encoding.
    constexpr char kCaretMarker = '\xA7';
    std::string text;
    size_t marker = CTextBlockText::kNoMarker;
    size_t from = 0;
    for (;;) {
        const size_t at = content.find(kCaretMarker, from);
        text += DocumentBytesFrom1252(std::string_view(content).substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos)
            break;
        if (marker == CTextBlockText::kNoMarker)
            marker = text.size();
        from = at + 1;
    }
    const TextPos p = GetCaretPos();
    std::string_view indentation;
    if (m_autoIndent)
        indentation = CTextBlockText::Indentation(std::string_view(LineChars(p.y), static_cast<size_t>(LineLength(p.y))));
    const CTextBlockText block = CTextBlockText::Build(text, marker, std::string(indentation));

    m_typedEnd = TextPos::None();
    UndoMark group = OpenEditGroup(false);
    int endLine = p.y, endChar = p.x;
    TextPos c = p;
    if (GetBuffer()->InsertTextAt(this, p.y, p.x, block.text, endLine, endChar, ACT_PASTE))
        c = block.marker == CTextBlockText::kNoMarker ? TextPos(endChar, endLine)
                                                       : CTextBlockText::PositionAfter(block.text, block.marker, p);
    SetAnchorPos(c);
    SetSelectionRange(c, c);
    MoveCaretTo(c);
    ScrollIntoView(c);
    CloseEditGroup(group);
}

void CTextEditView::InsertDateTime(int index)
{
    CDateTimeList& list = CDateTimeList::Program();
    // Before the submenu was ever opened the list is built as it would be.
    if (!list.IsBuilt())
        list.Rebuild(std::time(nullptr));
    if (index < 0 || static_cast<size_t>(index) >= list.Entries().size())
        return;
    const std::string entry = DocumentBytesFromUtf8(list.Entries()[static_cast<size_t>(index)]);
    if (!entry.empty())
        InsertAtCaret(entry, ACT_TYPING);
}

void CTextEditView::GoToLastChange()
{
    CTextBuffer* buffer = GetBuffer();
    if (!buffer)
        return;
    TextPos p = buffer->LastChangePos();
    if (p.IsValid() && p.y < buffer->LineCount() && p.x <= buffer->LineLength(p.y))
        PutCaret(p);
}

void CTextEditView::Undo()
{
    CTextBuffer* buffer = GetBuffer();
    if (!IsEditable() || !buffer->CanUndoStep())
        return;
    m_typedEnd = TextPos::None();
    TextPos cursor;
    if (buffer->UndoStep(cursor))
        PutCaret(cursor);
}

void CTextEditView::Redo()
{
    CTextBuffer* buffer = GetBuffer();
    if (!IsEditable() || !buffer->CanRedoStep())
        return;
    m_typedEnd = TextPos::None();
    TextPos cursor;
    if (buffer->RedoStep(cursor))
        PutCaret(cursor);
}

// ---------------------------------------------------------------- commands

const CTextEditView::Commands& CTextEditView::CommandTable()
{
    using namespace kib;
    using View = CTextEditView;
    auto editable = [](View& v, int) { return v.IsEditable(); };
    auto editableWithSelection = [](View& v, int) { return v.IsEditable() && v.IsSelection(); };
    static const Commands table = {
        {ID_EDIT_DELETE, [](View& v, int) { v.DeleteForward(); }, editable},
        {ID_EDIT_BACKSPACE, [](View& v, int) { v.Backspace(); }, editable},
        {ID_EDIT_DELETE_WORD_BACK, [](View& v, int) { v.DeleteWordBack(); }, editable},
        {ID_EDIT_TAB, [](View& v, int) { v.Tab(); }, editable},
        {ID_EDIT_UNTAB, [](View& v, int) { v.Untab(); }, editable},
        {ID_INSERT_USERNAME, [](View& v, int) { v.InsertUserName(); }, editable},
        {ID_TEXTBLOCK1, ID_TEXTBLOCK12,
         [](View& v, int c) {
             if (const std::string* content = v.TextBlockContent(c - ID_TEXTBLOCK1))
                 v.InsertTextBlock(*content);
         },
         editable},
        {ID_INSERT_DATETIME_FIRST, ID_INSERT_DATETIME_LAST,
         [](View& v, int c) { v.InsertDateTime(c - ID_INSERT_DATETIME_FIRST); }, editable},
        {ID_EDIT_SWITCH_OVRMODE, [](View& v, int) { v.m_overwrite = !v.m_overwrite; }, Commands::Row::Always,
         [](View& v, int, CCommandState& s) { s.checked = v.m_overwrite; }},
        {ID_EDIT_PASTE, [](View& v, int) { v.Paste(); },
         [](View& v, int) { return v.IsEditable() && v.ClipboardHasText(); }},
        {ID_EDIT_CUT, [](View& v, int) { v.Cut(); }, editableWithSelection},
        // Lower, upper, capitalised, sentence and swapped case.
        {ID_LOWERCASE, ID_SWAPCASE, [](View& v, int c) { v.ConvertSelectionCase(c); }, editableWithSelection},
        {ID_TABS_TO_SPACES, [](View& v, int) { v.ConvertTabsSpaces(true); }, editableWithSelection},
        {ID_SPACES_TO_TABS, [](View& v, int) { v.ConvertTabsSpaces(false); }, editableWithSelection},
        {ID_COMMENT_SELECTION, [](View& v, int) { v.CommentSelection(); }, editableWithSelection},
        {ID_UNCOMMENT_SELECTION, [](View& v, int) { v.UncommentSelection(); },
         [](View& v, int) { return v.IsEditable() && v.CanUncommentSelection(); }},
        {ID_GOTO_LAST_CHANGE, [](View& v, int) { v.GoToLastChange(); },
         [](View& v, int) { return v.GetBuffer() && v.GetBuffer()->LastChangePos().IsValid(); }},
        {ID_EDIT_UNDO, [](View& v, int) { v.Undo(); },
         [](View& v, int) { return v.IsEditable() && v.GetBuffer()->CanUndoStep(); },
         [](View& v, int, CCommandState& s) { HistoryItemText(s, v.GetBuffer(), true); }},
        {ID_EDIT_REDO, [](View& v, int) { v.Redo(); },
         [](View& v, int) { return v.IsEditable() && v.GetBuffer()->CanRedoStep(); },
         [](View& v, int, CCommandState& s) { HistoryItemText(s, v.GetBuffer(), false); }},
    };
    return table;
}

bool CTextEditView::HandleCommand(int command)
{
    return CommandTable().Handle(*this, command) || CTextView::HandleCommand(command);
}

bool CTextEditView::QueryCommand(int command, CCommandState& state)
{
    return CommandTable().Query(*this, command, state) || CTextView::QueryCommand(command, state);
}

// ---------------------------------------------------------------- drag and drop

void CTextEditView::AfterDragDone(wxDragResult effect)
{
    if (effect != wxDragMove || !IsTextBeingDragged() || !IsEditable())
        return;
    TextPos s, e;
    GetDraggedRange(s, e);
    if (s < e)
        GetBuffer()->DeleteRange(this, s.y, s.x, e.y, e.x, ACT_DRAGDROP);
}

void CTextEditView::ShowDropIndicator(const wxPoint& point)
{
    if (!m_dropIndicatorShown) {
        m_savedCaret = GetCaretPos();
        m_caretHidden = true;
        RefreshCaret();
        m_dropIndicatorShown = true;
    }
    SetIndicatorCaret(PointToText(wxPoint(point.x + GetCharWidth() / 2, point.y)), true);
}

void CTextEditView::HideDropIndicator()
{
    m_dragScrollTimer.Stop();
    if (!m_dropIndicatorShown)
        return;
    m_dropIndicatorShown = false;
    SetIndicatorCaret(TextPos::None(), true);
    m_caretHidden = false;
    MoveCaretTo(m_savedCaret);
}

wxDragResult CTextEditView::DragEnter(const wxPoint& point, bool offersText, bool copy)
{
    if (!offersText) {
        HideDropIndicator();
        return wxDragNone;
    }
    ShowDropIndicator(point);
    return copy ? wxDragCopy : wxDragMove;
}

bool CTextEditView::DragScroll(const wxPoint& point)
{
    const wxSize client = GetClientSize();
    const int margin = MarginWidth();
    int top = GetTopLine(), first = GetFirstColumn();
    if (point.y < kDragScrollMargin)
        --top;
    else if (point.y >= client.y - kDragScrollMargin)
        ++top;
    if (point.x >= margin && point.x < margin + kDragScrollMargin)
        --first;
    else if (point.x >= client.x - kDragScrollMargin)
        ++first;
    top = std::clamp(top, 0, LineCount() - 1);
    first = std::clamp(first, 0, std::max(0, MaxDisplayLength() - 1));
    if (top == GetTopLine() && first == GetFirstColumn())
        return false;
    SetIndicatorCaret(TextPos::None(), true);
    if (top != GetTopLine())
        ScrollToTopLine(top, true);
    if (first != GetFirstColumn())
        ScrollToColumn(first, true);
    ShowDropIndicator(point);
    return true;
}

wxDragResult CTextEditView::DragOver(const wxPoint& point, bool offersText, bool copy)
{
    if (!offersText || !IsEditable() || IsDragDropDisabled()) {
        HideDropIndicator();
        return wxDragNone;
    }
    m_dragPoint = point;
    if (DragScroll(point)) {
        // Hovering near an edge keeps scrolling while the pointer rests.
        if (!m_dragScrollTimer.IsRunning())
            m_dragScrollTimer.Start(100);
    } else {
        m_dragScrollTimer.Stop();
        ShowDropIndicator(point);
    }
    return copy ? wxDragCopy : wxDragMove;
}

void CTextEditView::OnDragScrollTimer(wxTimerEvent&)
{
    if (!m_dropIndicatorShown || !DragScroll(m_dragPoint))
        m_dragScrollTimer.Stop();
}

void CTextEditView::DragLeave()
{
    HideDropIndicator();
}

bool CTextEditView::DropText(const wxPoint& point, const std::string& text)
{
    HideDropIndicator();
    if (!IsEditable() || IsDragDropDisabled() || text.empty())
        return false;
    TextPos p = PointToText(wxPoint(point.x + GetCharWidth() / 2, point.y));
    if (IsTextBeingDragged() && IsInsideSelection(p)) {
        PutCaret(p);
        return false;
    }
    int endLine = 0, endChar = 0;
    if (!GetBuffer()->InsertTextAt(this, p.y, p.x, text, endLine, endChar, ACT_DRAGDROP))
        return false;
    TextPos end(endChar, endLine);
    SetAnchorPos(p);
    SetSelectionRange(p, end);
    MoveCaretTo(end);
    ScrollIntoView(end);
    return true;
}
