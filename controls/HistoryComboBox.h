// A combo box whose typed texts are remembered in the registry (see
// CHistoryList): the newest on top, the last text restored on opening, and
// typed text completed from the list.
#pragma once

#include "settings/HistoryList.h"

#include <wx/combobox.h>

#include <string>

class CHistoryComboBox : public wxComboBox {
public:
    CHistoryComboBox(wxWindow* parent, wxWindowID id = wxID_ANY,
                     const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                     long style = wxCB_DROPDOWN);

    // Fills the list from the registry section (call once the window exists)
    // and restores the last text. Returns the last text read.
    wxString LoadHistory(const std::string& section, const std::string& prefix, bool keepLast,
                         const std::string& lastEntryValue = {}, bool sorted = false);
    // Adds the edit text when asked and writes the history.
    bool SaveHistory(bool addCurrent = true);
    // Puts a text on top of the list.
    void AddText(const wxString& text);

    void SetLimit(int limit) { m_history.SetLimit(limit); }
    const CHistoryList& History() const { return m_history; }

    // The edit text as UTF-8, as the history stores it.
    std::string TextBytes() const;

private:
    void OnKeyDown(wxKeyEvent& event);
    void OnText(wxCommandEvent& event);
    void CompleteNow();
    void ShowList();

    CHistoryList m_history;
    bool m_updating = false;      // our own changes raise no completion
    bool m_completionQueued = false;
};
