// The window side of finding and replacing in an edit view: selecting a
// match, replacing the selection in two undo steps, and the texts of the
// "not found" and "replaced" messages.
#pragma once

#include "editor/TextEditView.h"
#include "editor/TextPos.h"

#include <wx/string.h>

#include <string>
#include <string_view>

class wxDialog;

// Caret and anchor behind the length bytes at pos, the selection over them,
// scrolled into view.
void SelectFoundInView(CTextView& view, TextPos pos, int length);

// Deletes the selection ("Selektion löschen") and inserts text in its place
// ("Ersetzen"), each its own undo step; the inserted text ends up selected
// with the caret behind it. False, with nothing changed, when there is no
// selection or the view cannot be edited.
bool ReplaceSelectionInView(CTextEditView& view, std::string_view text);

// Message 8606 (text not found) or 7024 (replaced count times) for a UTF-8
// search text.
wxString FindMessageText(int id, const std::string& searchText, int count = 0);

// A control's text as UTF-8, and back (invalid bytes shown as U+FFFD).
std::string ControlBytes(const wxString& text);
wxString BytesToControl(const std::string& bytes);

// Ends a dialog with code whether it runs modally or was shown by a script.
void EndFindDialog(wxDialog& dialog, int code);
