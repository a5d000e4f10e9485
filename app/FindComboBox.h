// The tool bar's find box (command 61478): Enter asks the frame to search
// the typed text in the active editor, Escape hands the keyboard back to the
// frame.
#pragma once

#include <wx/combobox.h>

class CFindComboBox : public wxComboBox {
public:
    CFindComboBox(wxWindow* parent, wxWindowID id, const wxSize& size = wxDefaultSize);

private:
    void OnKeyDown(wxKeyEvent& event);
};
