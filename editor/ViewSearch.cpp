#include "editor/ViewSearch.h"

#include "editor/ReplaceSession.h"
#include "editor/TextSearch.h"
#include "resources/StringTable.h"
#include "text/Utf8.h"

#include <wx/dialog.h>

void SelectFoundInView(CTextView& view, TextPos pos, int length)
{
    const FoundSelection s = SelectFoundPositions(pos, length);
    // The caret first, so that brace matching looks at the match's line.
    view.MoveCaretTo(s.caret);
    view.SetAnchorPos(s.anchor);
    view.SetSelectionRange(s.selStart, s.selEnd);
    view.RefreshCaret();
    view.ScrollIntoView(s.caret);
}

bool ReplaceSelectionInView(CTextEditView& view, std::string_view text)
{
    if (!view.IsSelection() || !view.IsEditable() || !view.GetBuffer())
        return false;
    TextPos start, end;
    view.GetOrderedSelection(start, end);
    TextPos p, e;
    if (!ReplaceRange(*view.GetBuffer(), &view, start, end, text, p, e))
        return false;
    view.SetAnchorPos(e);
    view.SetSelectionRange(p, e);
    view.MoveCaretTo(e);
    view.ScrollIntoView(e);
    return true;
}

std::string ControlBytes(const wxString& text)
{
    return text.utf8_string();
}

wxString BytesToControl(const std::string& bytes)
{
    return wxString::FromUTF8(utf8::ToValid(bytes));
}

wxString FindMessageText(int id, const std::string& searchText, int count)
{
    const wxString format = wxString::FromUTF8(std::string(kib::LoadKibString(id)));
    const wxString text = BytesToControl(searchText);
    if (id == IDS_REPLACE_COUNT)
        return wxString::Format(format, text, count);
    return wxString::Format(format, text);
}

void EndFindDialog(wxDialog& dialog, int code)
{
    dialog.SetReturnCode(code);
    if (dialog.IsModal())
        dialog.EndModal(code);
    else
        dialog.Hide();
}
