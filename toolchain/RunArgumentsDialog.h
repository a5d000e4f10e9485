// "Argumente für Start": asks for the arguments of a run, offering the ones
// typed before (history "\Arguments", ten entries, the last one restored).
#pragma once

#include <wx/dialog.h>

#include <string>

class CHistoryComboBox;

class CRunArgumentsDialog : public wxDialog {
public:
    static constexpr int kComboId = 1102;

    explicit CRunArgumentsDialog(wxWindow* parent);

    CHistoryComboBox* Combo() const { return m_combo; }
    // The typed text as the command line takes it (UTF-8, as typed).
    std::string Arguments() const { return m_arguments; }

    // OK: the text goes on top of the history, the history is saved, the
    // dialog ends with wxID_OK.
    void Confirm();

private:
    CHistoryComboBox* m_combo = nullptr;
    std::string m_arguments;
};
