#include "workspace/SearchResultEdit.h"

#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"

#include <wx/menu.h>

#include <memory>

using namespace kib;

namespace {

// The most a line is read for recognition.
constexpr size_t kMaxLineRead = 1024;

CSearchResultEdit::PopupRunner& Runner()
{
    static CSearchResultEdit::PopupRunner runner;
    return runner;
}

} // namespace

CSearchResultEdit::CSearchResultEdit(wxWindow* parent, wxWindowID id) : COutputPane(parent, id) {}

void CSearchResultEdit::SetPopupRunner(PopupRunner runner)
{
    Runner() = std::move(runner);
}

bool CSearchResultEdit::RecognizeLine(int line, SearchResultLocation& result) const
{
    if (line < 0 || line >= GetLineCount())
        return false;
    const std::string& text = GetLineText(line);
    return ParseSearchResultLine(std::string_view(text).substr(0, kMaxLineRead), result);
}

void CSearchResultEdit::OnLineDoubleClicked(int line)
{
    SearchResultLocation result;
    if (RecognizeLine(line, result) && m_jump)
        m_jump(result.file, result.line, JUMP_DOUBLE_CLICK);
}

void CSearchResultEdit::ShowContextMenu(const wxPoint& pt)
{
    SetFocus();
    m_file.clear();
    m_line = 0;
    SearchResultLocation result;
    if (RecognizeLine(PositionFromPoint(pt).line, result)) {
        m_file = result.file;
        m_line = result.line;
    }
    std::unique_ptr<wxMenu> menu(BuildMenu(MenuResource(IDR_SEARCH_POPUP)));
    for (int command : {ID_EDIT_COPY, ID_EDIT_CLEAR, ID_OUTPUT_GOTO_LINE})
        menu->Enable(ToWxId(command), IsMenuCommandEnabled(command));
    const int choice = Runner() ? Runner()(*this, *menu, pt) : GetPopupMenuSelectionFromUser(*menu, pt);
    if (choice != wxID_NONE)
        HandleMenuCommand(FromWxId(choice));
}

bool CSearchResultEdit::IsMenuCommandEnabled(int command) const
{
    switch (command) {
    case ID_EDIT_COPY: return CanCopy();
    case ID_EDIT_CLEAR: return true;
    case ID_OUTPUT_GOTO_LINE: return m_line > 0;
    default: return false;
    }
}

bool CSearchResultEdit::HandleMenuCommand(int command)
{
    switch (command) {
    case ID_EDIT_COPY:
        Copy();
        return true;
    case ID_EDIT_CLEAR:
        SelectAll();
        EnsureVisible(GetCaret());
        ReplaceSel({});
        return true;
    case ID_OUTPUT_GOTO_LINE:
        if (m_line >= 1 && m_jump)
            m_jump(m_file, m_line, JUMP_MENU);
        return true;
    default:
        return false;
    }
}
