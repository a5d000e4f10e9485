// The modal find dialog "Suchen": a search text with its history, whole
// words, match case and the direction. "&Weitersuchen" selects the next
// match in the view and leaves the dialog open.
#pragma once

#include "editor/FindDialogState.h"

#include <wx/dialog.h>

#include <functional>

class CHistoryComboBox;
class CTextView;
class wxButton;
class wxCheckBox;
class wxRadioButton;

class CFindDialog : public wxDialog {
public:
    // Control ids.
    enum {
        IDC_SEARCH_TEXT = 8605,
        IDC_WHOLE_WORD = 8603,
        IDC_MATCH_CASE = 8604,
        IDC_UPWARDS = 7028,
        IDC_DOWNWARDS = 8612,
    };
    // Shows a message box with an OK button over parent.
    using MessageFn = std::function<void(wxWindow* parent, const wxString& text)>;

    // Opens with the command's defaults; the key "EditFind" and the search
    // history are read here.
    CFindDialog(wxWindow* parent, CTextView& view, const FindDialogValues& defaults, MessageFn message);

    // The controls' values as the last button took them (the opening values
    // before any button was pressed).
    const FindDialogValues& Values() const { return m_values; }

    CHistoryComboBox* SearchBox() const { return m_search; }
    wxButton* FindNextButton() const { return m_findNext; }
    wxCheckBox* WholeWordBox() const { return m_wholeWord; }
    wxCheckBox* MatchCaseBox() const { return m_matchCase; }
    wxRadioButton* UpwardsButton() const { return m_up; }
    wxRadioButton* DownwardsButton() const { return m_down; }

private:
    void TakeValues();
    void UpdateFindNext();
    void OnFindNext(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);

    CTextView& m_view;
    MessageFn m_message;
    FindDialogValues m_values;
    CHistoryComboBox* m_search = nullptr;
    wxCheckBox* m_wholeWord = nullptr;
    wxCheckBox* m_matchCase = nullptr;
    wxRadioButton* m_up = nullptr;
    wxRadioButton* m_down = nullptr;
    wxButton* m_findNext = nullptr;
};
