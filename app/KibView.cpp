#include "app/KibView.h"

#include "app/ChildFrame.h"
#include "app/EditorPositions.h"
#include "app/KibDoc.h"
#include "app/PrintJob.h"
#include "app/KibViewTools.h"
#include "app/MainFrame.h"
#include "app/MainFrameFind.h"
#include "app/UserDialogs.h"
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "text/Utf8.h"
#include "toolchain/CommandMode.h"

#include <wx/menu.h>

#include <algorithm>
#include <memory>

using namespace kib;

namespace {

// Colour classes (editor/JavaColoring.h).
enum {
    kWnd = CI_WND,
    kMargin = CI_MARGIN,
    kSelection = CI_SELECTION,
    kKeyword = CI_KEYWORD,
    kFunction = CI_FUNCTION,
    kComment = CI_COMMENT,
    kCommentMulti = CI_COMMENTMULTI,
    kCommentJavadoc = CI_COMMENTJAVADOC,
    kNumber = CI_NUMBER,
    kOperator = CI_OPERATOR,
    kString = CI_STRING,
    kBraceMatch = CI_BRACEMATCH,
};

struct ClassColours {
    int cls;
    COLORREF text;
    COLORREF back;
};

// The twelve classes in the order text and background colours are set.
std::vector<ClassColours> Colours(const CSettings& s)
{
    auto hl = [&](EHighlight h, int cls) {
        return ClassColours{cls, s.m_highlight[h].foreground, s.m_highlight[h].background};
    };
    return {hl(HL_COMMENT, kComment),
            hl(HL_COMMENTMULTI, kCommentMulti),
            hl(HL_COMMENTJAVADOC, kCommentJavadoc),
            hl(HL_NUMBER, kNumber),
            hl(HL_OPERATOR, kOperator),
            hl(HL_KEYWORD, kKeyword),
            hl(HL_FUNCTION, kFunction),
            hl(HL_BRACEMATCH, kBraceMatch),
            hl(HL_STRING, kString),
            ClassColours{kWnd, s.m_windowForeground, s.m_windowBackground},
            ClassColours{kSelection, s.m_selectionForeground, s.m_selectionBackground},
            ClassColours{kMargin, s.m_marginForeground, s.m_marginBackground}};
}

// The nine style words, in their own order.
const std::pair<EHighlight, int> kStyleOrder[] = {
    {HL_COMMENT, kComment}, {HL_COMMENTMULTI, kCommentMulti}, {HL_COMMENTJAVADOC, kCommentJavadoc},
    {HL_NUMBER, kNumber},   {HL_OPERATOR, kOperator},         {HL_KEYWORD, kKeyword},
    {HL_STRING, kString},   {HL_FUNCTION, kFunction},         {HL_BRACEMATCH, kBraceMatch},
};

void ApplyColours(CTextView& view, const CSettings& s)
{
    std::vector<ClassColours> colours = Colours(s);
    for (const ClassColours& c : colours)
        view.SetClassTextColor(c.cls, c.text);
    for (const ClassColours& c : colours)
        view.SetClassBackColor(c.cls, c.back);
    for (auto [h, cls] : kStyleOrder)
        view.SetClassStyle(cls, s.m_highlight[h].style);
}

} // namespace

std::string CKibView::DocumentTitle() const
{
    return m_doc ? m_doc->GetTitle() : std::string();
}

std::string CKibView::DocumentPath() const
{
    return m_doc ? m_doc->GetPathName() : std::string();
}

CKibView::CKibView(wxWindow* parent, CKibDoc* doc)
    : CKibViewBase(parent, wxID_ANY), m_doc(doc), m_find(*this, FindHost()),
      m_tools(std::make_unique<CKibViewTools>(*this))
{
    if (m_doc)
        m_doc->AddView(this);
    Bind(wxEVT_CONTEXT_MENU, &CKibView::OnContextMenu, this);
    Bind(wxEVT_SET_FOCUS, &CKibView::OnFocus, this);
}

CKibView::~CKibView()
{
    CloseTools(); // a child still running ends, and its threads with it
    DetachBuffer();
    if (m_doc)
        m_doc->RemoveView(this);
}

CTextBuffer* CKibView::FindBuffer()
{
    return m_doc ? &m_doc->Buffer() : nullptr;
}

LineState CKibView::ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs,
                                 int runCapacity, int& runCount)
{
    runCount = 0;
    return CJavaColoring::ClassifyLine(state, chars ? chars : "", length, runs, runCapacity, runCount);
}

CMainFrame* CKibView::Frame() const
{
    return CMainFrame::Instance();
}

void CKibView::OnInitialUpdate()
{
    AttachBuffer();
    if (CMainFrame* frame = Frame())
        ApplySettings(frame->Settings());
    else if (m_doc)
        SetTextFont(m_doc->FallbackFont());
}

void CKibView::ApplySettings(const CSettings& s)
{
    SetAutoIndentSetting(s.m_autoIndent != 0);
    SetTabWidth(s.m_tabWidth);
    ApplyColours(*this, s);
    SetTextFont(s.m_editorFont);
    SetShowWhitespace(s.m_showTabsAndSpaces != 0);
    SetInsertTabsAsSpaces(s.m_insertTabsAsSpaces != 0);
    if (GetLineNumbers() != (s.m_showLineNumbers != 0))
        SetLineNumbers(s.m_showLineNumbers != 0);
    SetIndentAfterBracket(s.m_indentAfterBracket != 0);
    SetColumnGuide(s.m_columnGuidePos, s.m_drawColumnGuide != 0);
    SetMatchBraces(s.m_matchBrace);
}

void CKibView::ApplyChangedSettings(const CSettings& s)
{
    SetTextFont(s.m_editorFont);
    ApplyColours(*this, s);
    if (GetLineNumbers() != (s.m_showLineNumbers != 0))
        SetLineNumbers(s.m_showLineNumbers != 0);
    SetTabWidth(s.m_tabWidth);
    SetColumnGuide(s.m_columnGuidePos, s.m_drawColumnGuide != 0);
    SetShowWhitespace(s.m_showTabsAndSpaces != 0);
    SetInsertTabsAsSpaces(s.m_insertTabsAsSpaces != 0);
    SetIndentAfterBracket(s.m_indentAfterBracket != 0);
    SetMatchBraces(s.m_matchBrace);
}

const std::string* CKibView::TextBlockContent(int index)
{
    CMainFrame* frame = Frame();
    if (!frame || index < 0 || index >= CSettings::kTextBlocks)
        return nullptr;
    return &frame->Settings().m_textBlocks[static_cast<size_t>(index)].content;
}

void CKibView::GoToPosition(int line, int column)
{
    int count = LineCount();
    int y = std::clamp(line - 1, 0, std::max(0, count - 1));
    ScrollToTopLine(y);
    const char* chars = LineChars(y);
    std::string_view text(chars ? chars : "", static_cast<size_t>(LineLength(y)));
    int x = JumpColumnIndex(text, column, GetTabWidth(), Encoding());
    PutCaret(TextPos{x, y});
}

void CKibView::RefuseCharacter(char32_t cp)
{
    std::string shown;
    utf8::Append(shown, cp);
    wxString text = wxString::Format(kib::KibText(kib::IDS_MSG_CHAR_NOT_IN_CP1252), wxString::FromUTF8(shown),
                                     static_cast<unsigned>(cp));
    UserDialogs().MessageBox(this, text, kib::KibText(kib::IDS_MSGBOX_CAPTION), wxOK | wxICON_WARNING);
}

std::string CKibView::LineStatusText() const
{
    char buf[64];
    snprintf(buf, sizeof buf, "Zeile: %d", GetCaretPos().y + 1);
    return buf;
}

std::string CKibView::ColumnStatusText() const
{
    TextPos caret = GetCaretPos();
    const char* chars = LineChars(caret.y);
    std::string_view text(chars ? chars : "", static_cast<size_t>(LineLength(caret.y)));
    char buf[64];
    snprintf(buf, sizeof buf, "Spalte: %d", StatusColumn(text, caret.x, GetTabWidth(), Encoding()));
    return buf;
}

void CKibView::ConvertDocumentEncoding(TextEncoding to)
{
    CTextBuffer* buffer = GetBuffer();
    if (!buffer || !IsEditable() || buffer->Encoding() == to)
        return;
    // The caret's place as a count of characters in its line, for the line's
    // other bytes afterwards.
    const TextPos caret = GetCaretPos();
    auto charsBefore = [](std::string_view line, int x, TextEncoding encoding) {
        int count = 0;
        for (int i = 0; i < x && i < static_cast<int>(line.size()); ++count)
            i = encoding == TextEncoding::Utf8 ? utf8::Next(line.data(), static_cast<int>(line.size()), i) : i + 1;
        return count;
    };
    const int column = charsBefore(buffer->LineText(caret.y), caret.x, buffer->Encoding());
    CTextBuffer::EncodingFailure failure;
    if (!buffer->ConvertEncoding(this, to, &failure)) {
        if (failure.line >= 0) {
            std::string shown;
            utf8::Append(shown, failure.character);
            const wxString text = wxString::Format(kib::KibText(kib::IDS_MSG_CONVERT_NOT_IN_CP1252),
                                                   wxString::FromUTF8(shown), static_cast<unsigned>(failure.character),
                                                   failure.line + 1);
            UserDialogs().MessageBox(this, text, kib::KibText(kib::IDS_MSGBOX_CAPTION), wxOK | wxICON_WARNING);
        }
        return;
    }
    const std::string_view line = buffer->LineText(caret.y);
    int x = 0;
    for (int n = 0; n < column && x < static_cast<int>(line.size()); ++n)
        x = to == TextEncoding::Utf8 ? utf8::Next(line.data(), static_cast<int>(line.size()), x) : x + 1;
    PutCaret(TextPos(x, caret.y));
}

const CKibView::Commands& CKibView::CommandTable()
{
    using Row = Commands::Row;
    static const Commands table = {
        {ID_GOTO_LINE,
         [](CKibView& v, int) {
             int line = 1;
             if (UserDialogs().GoToLine(&v, std::max(1, v.LineCount()), line))
                 v.GoToPosition(line, 0);
             v.SetFocus();
         },
         Row::Always},
        {ID_INDICATOR_LINE, nullptr, Row::Always,
         [](CKibView& v, int, CCommandState& s) {
             s.setText = true;
             s.text = v.LineStatusText();
         }},
        {ID_INDICATOR_COL, nullptr, Row::Always,
         [](CKibView& v, int, CCommandState& s) {
             s.setText = true;
             s.text = v.ColumnStatusText();
         }},
        {ID_CONVERT_TO_UTF8, ID_CONVERT_TO_CP1252,
         [](CKibView& v, int c) {
             v.ConvertDocumentEncoding(c == ID_CONVERT_TO_UTF8 ? TextEncoding::Utf8 : TextEncoding::Cp1252);
         },
         [](CKibView& v, int c) {
             const TextEncoding to = c == ID_CONVERT_TO_UTF8 ? TextEncoding::Utf8 : TextEncoding::Cp1252;
             return v.IsEditable() && v.GetBuffer() && v.GetBuffer()->Encoding() != to;
         }},
        // Printing: Kib's print dialog, the shell's print command without
        // one, and the preview window.
        {ID_FILE_PRINT,
         [](CKibView& v, int) {
             printjob::PrintWithDialog(v, wxString::FromUTF8(v.DocumentTitle()), v.DocumentPath());
         },
         Row::Always},
        {ID_FILE_PRINT_DIRECT,
         [](CKibView& v, int) {
             wxString message;
             printjob::PrintDirect(v, wxString::FromUTF8(v.DocumentTitle()), v.DocumentPath(), {}, message);
             UserDialogs().MessageBox(&v, message, KibText(IDS_MSGBOX_CAPTION), wxOK | wxICON_INFORMATION);
         },
         Row::Always},
        {ID_FILE_PRINT_PREVIEW,
         [](CKibView& v, int) {
             printjob::OpenPreview(v, wxString::FromUTF8(v.DocumentTitle()), v.DocumentPath());
         },
         Row::Always},
        // The tool bar's box, which sent the command, holds the text.
        {ID_EDIT_FIND_BOX, [](CKibView& v, int) { v.ToolbarSearch(CurrentCommandControl()); }, Row::Always},

        // The Java tools need their program's path in the settings.
        {ID_JAVA_COMPILE, [](CKibView& v, int) { v.Compile(false); },
         [](CKibView& v, int) { return v.Frame() && toolchain::CanCompile(v.Frame()->Settings()); }},
        {ID_JAVA_COMPILE_RUN, [](CKibView& v, int) { v.Compile(true); }, Row::Always},
        {ID_JAVA_RUN, [](CKibView& v, int) { v.Run({}); },
         [](CKibView& v, int) { return v.Frame() && toolchain::CanRun(v.Frame()->Settings()); }},
        {ID_JAVA_RUN_ARGS, [](CKibView& v, int) { v.RunWithArguments(); },
         [](CKibView& v, int) { return v.Frame() && toolchain::CanRunWithArguments(v.Frame()->Settings()); }},
        {ID_JAVA_APPLETVIEWER, [](CKibView& v, int) { v.RunApplet(); },
         [](CKibView& v, int) { return v.Frame() && toolchain::CanRunApplet(v.Frame()->Settings()); }},
    };
    return table;
}

bool CKibView::HandleCommand(int command)
{
    return CommandTable().Handle(*this, command) || m_find.HandleCommand(command) ||
           CKibViewBase::HandleCommand(command);
}

bool CKibView::QueryCommand(int command, CCommandState& state)
{
    return CommandTable().Query(*this, command, state) || m_find.QueryCommand(command, state) ||
           CKibViewBase::QueryCommand(command, state);
}

void CKibView::OnContextMenu(wxContextMenuEvent& event)
{
    std::unique_ptr<wxMenu> menu(BuildMenu(MenuResource(IDR_EDITOR_POPUP)));
    if (CMainFrame* frame = Frame())
        frame->PreparePopupMenu(menu.get());
    wxPoint pt = event.GetPosition();
    pt = pt == wxDefaultPosition ? wxDefaultPosition : ScreenToClient(pt);
    PopupMenu(menu.get(), pt);
}

void CKibView::OnFocus(wxFocusEvent& event)
{
    if (CMainFrame* frame = Frame())
        frame->OnViewFocused(this);
    event.Skip();
}
