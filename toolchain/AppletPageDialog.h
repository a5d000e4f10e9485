// "Applet starten": the page an applet needs does not exist yet. Ends with
// kCreateAndStart, kCreateAndEdit or wxID_CANCEL.
#pragma once

#include <wx/dialog.h>

class CAppletPageDialog : public wxDialog {
public:
    static constexpr int kCreateAndStart = 1039;
    static constexpr int kCreateAndEdit = 1040;

    explicit CAppletPageDialog(wxWindow* parent);
};
