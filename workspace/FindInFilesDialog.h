// The dialog "Suchen in Dateien": search text, file filter and start folder
// with their histories, the folder browser, subfolders, whole words, match
// case and the results pane. Both buttons store the histories and switches.
#pragma once

#include "workspace/FindInFilesOptions.h"

#include <wx/dialog.h>

#include <functional>
#include <string>

class CHistoryComboBox;
class wxButton;
class wxCheckBox;
class wxChoice;

// What the search is asked for.
struct FindInFilesRequest {
    std::string searchText; // UTF-8; each file is searched in its own encoding
    std::string filter;     // file-name bytes
    std::string folder;     // file-name bytes
    FindInFilesOptions options;
};

class CFindInFilesDialog : public wxDialog {
public:
    enum {
        IDC_SEARCH_TEXT = 1012,
        IDC_FILTER = 1020,
        IDC_FOLDER = 1019,
        IDC_BROWSE = 1013,
        IDC_RECURSIVE = 1060,
        IDC_WHOLE_WORD = 1011,
        IDC_MATCH_CASE = 1023,
        IDC_PANE = 1078,
    };
    // The folder browser: path holds the preselection on entry; false on cancel.
    using BrowseFn = std::function<bool(wxWindow* parent, const wxString& title, wxString& path)>;

    CFindInFilesDialog(wxWindow* parent, BrowseFn browse);

    // The values taken when a button was last pressed.
    const FindInFilesRequest& Request() const { return m_request; }

    CHistoryComboBox* SearchBox() const { return m_search; }
    CHistoryComboBox* FilterBox() const { return m_filter; }
    CHistoryComboBox* FolderBox() const { return m_folder; }
    wxCheckBox* RecursiveBox() const { return m_recursive; }
    wxCheckBox* WholeWordBox() const { return m_wholeWord; }
    wxCheckBox* MatchCaseBox() const { return m_matchCase; }
    wxChoice* PaneChoice() const { return m_pane; }
    wxButton* SearchButton() const { return m_ok; }

    // The fixed items the filter list starts with.
    static const char* const kFixedFilters[3];

private:
    void TakeValues();
    void UpdateSearchButton();
    void OnBrowse(wxCommandEvent& event);
    void Finish(int code);

    BrowseFn m_browse;
    FindInFilesRequest m_request;
    CHistoryComboBox* m_search = nullptr;
    CHistoryComboBox* m_filter = nullptr;
    CHistoryComboBox* m_folder = nullptr;
    wxCheckBox* m_recursive = nullptr;
    wxCheckBox* m_wholeWord = nullptr;
    wxCheckBox* m_matchCase = nullptr;
    wxChoice* m_pane = nullptr;
    wxButton* m_ok = nullptr;
};
