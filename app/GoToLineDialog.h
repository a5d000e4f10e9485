// "Zu Zeile springen...": one field for a line number, OK and "Abbrechen".
#pragma once

#include <wx/dialog.h>

class wxTextCtrl;

class CGoToLineDialog : public wxDialog {
public:
    CGoToLineDialog(wxWindow* parent, int line, int maxLine);
    int Line() const { return m_line; }

    // The check OK runs: false (with the message to show) for an empty or
    // out-of-range field.
    static bool ParseLine(const wxString& text, int maxLine, int& line, wxString& message);

private:
    void OnOk(wxCommandEvent& event);

    wxTextCtrl* m_edit = nullptr;
    int m_line;
    int m_maxLine;
};
