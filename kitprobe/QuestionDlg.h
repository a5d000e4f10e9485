// The question before the search, "Nach JDK suchen": "&Ja" (OK) starts it,
// "&Nein" (Cancel) ends the program.
#pragma once

#include <wx/dialog.h>

class CQuestionDlg : public wxDialog {
public:
    explicit CQuestionDlg(wxWindow* parent);
};
