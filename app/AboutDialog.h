// "Info über Kib": the splash picture, two lines of text, a link to the
// maker's web page and OK.
#pragma once

#include <wx/dialog.h>

class CAboutDialog : public wxDialog {
public:
    explicit CAboutDialog(wxWindow* parent);
};
