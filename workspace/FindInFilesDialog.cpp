#include "workspace/FindInFilesDialog.h"

#include "controls/HistoryComboBox.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

wxString U(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

// File and folder names are UTF-8 bytes here; the histories keep the text.
std::string FileNameBytes(const wxString& text)
{
    return text.utf8_string();
}

} // namespace

const char* const CFindInFilesDialog::kFixedFilters[3] = {"*.java,*.jav", "*.xml,*.dtd", "*.*"};

CFindInFilesDialog::CFindInFilesDialog(wxWindow* parent, BrowseFn browse)
    : wxDialog(parent, 138, U("Suchen in Dateien")), m_browse(std::move(browse))
{
    auto* searchLabel = new wxStaticText(this, wxID_ANY, U("Suche nach:"));
    m_search = new CHistoryComboBox(this, IDC_SEARCH_TEXT, wxDefaultPosition, wxSize(300, -1), wxCB_DROPDOWN);
    auto* filterLabel = new wxStaticText(this, wxID_ANY, U("Dateifilter:"));
    m_filter = new CHistoryComboBox(this, IDC_FILTER, wxDefaultPosition, wxSize(300, -1), wxCB_DROPDOWN);
    auto* folderLabel = new wxStaticText(this, wxID_ANY, U("Startverzeichnis:"));
    m_folder = new CHistoryComboBox(this, IDC_FOLDER, wxDefaultPosition, wxSize(300, -1), wxCB_DROPDOWN);
    auto* browseButton = new wxButton(this, IDC_BROWSE, U("...."), wxDefaultPosition, wxDefaultSize,
                                      wxBU_EXACTFIT);
    m_recursive = new wxCheckBox(this, IDC_RECURSIVE, U("in Unterverzeichnissen suchen"));
    m_wholeWord = new wxCheckBox(this, IDC_WHOLE_WORD, U("&Nur ganze Wörter"));
    m_matchCase = new wxCheckBox(this, IDC_MATCH_CASE, U("&Groß-/Kleinschreibung beachten"));
    auto* paneLabel = new wxStaticText(this, wxID_ANY, U("Ausgabe in:"));
    wxArrayString panes;
    panes.Add(U("Suchergebniss 1"));
    panes.Add(U("Suchergebniss 2"));
    m_pane = new wxChoice(this, IDC_PANE, wxDefaultPosition, wxDefaultSize, panes);
    m_ok = new wxButton(this, wxID_OK, U("&Suchen"));
    auto* close = new wxButton(this, wxID_CANCEL, U("&Schließen"));
    m_ok->SetDefault();

    auto* grid = new wxFlexGridSizer(3, 8, 8);
    grid->AddGrowableCol(1);
    grid->Add(searchLabel, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_search, 1, wxEXPAND);
    grid->AddSpacer(0);
    grid->Add(filterLabel, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_filter, 1, wxEXPAND);
    grid->AddSpacer(0);
    grid->Add(folderLabel, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_folder, 1, wxEXPAND);
    grid->Add(browseButton, 0, wxALIGN_CENTER_VERTICAL);
    auto* checks = new wxBoxSizer(wxVERTICAL);
    checks->Add(m_recursive, 0, wxBOTTOM, 6);
    checks->Add(m_wholeWord, 0, wxBOTTOM, 6);
    checks->Add(m_matchCase);
    auto* paneRow = new wxBoxSizer(wxHORIZONTAL);
    paneRow->Add(paneLabel, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    paneRow->Add(m_pane, 0, wxALIGN_CENTER_VERTICAL);
    auto* lower = new wxBoxSizer(wxHORIZONTAL);
    lower->Add(checks, 1, wxEXPAND);
    lower->Add(paneRow, 0, wxALIGN_BOTTOM);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(grid, 0, wxEXPAND | wxBOTTOM, 12);
    left->Add(lower, 0, wxEXPAND);
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(m_ok, 0, wxEXPAND | wxBOTTOM, 6);
    buttons->Add(close, 0, wxEXPAND);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 1, wxALL, 10);
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    m_request.options = LoadFindInFilesOptions();
    m_pane->SetSelection(m_request.options.searchPane == 1 ? 1 : 0);
    m_recursive->SetValue(m_request.options.recursive);
    m_wholeWord->SetValue(m_request.options.wholeWords);
    m_matchCase->SetValue(m_request.options.matchCase);

    // The fixed filters are the filter history's first items: completed,
    // moved to the top when used and saved like the typed ones.
    for (const char* fixed : kFixedFilters)
        m_filter->AddText(U(fixed));
    m_search->LoadHistory(kFindInFilesSearchSection, kFindInFilesSearchPrefix, true);
    m_filter->LoadHistory(kFindInFilesFilterSection, kFindInFilesFilterPrefix, true, kFindInFilesFilterLast);
    m_folder->LoadHistory(kFindInFilesFolderSection, kFindInFilesFolderPrefix, true, kFindInFilesFolderLast);
    for (CHistoryComboBox* box : {m_search, m_filter, m_folder})
        box->SetLimit(kFindInFilesHistoryLimit);
    UpdateSearchButton();
    m_search->SetFocus();
    CentreOnParent();

    m_search->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
        UpdateSearchButton();
        e.Skip();
    });
    Bind(wxEVT_BUTTON, &CFindInFilesDialog::OnBrowse, this, IDC_BROWSE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); }, wxID_OK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Finish(wxID_CANCEL); });
}

// Nothing is searched for an empty text.
void CFindInFilesDialog::UpdateSearchButton()
{
    m_ok->Enable(!m_search->GetValue().empty());
}

void CFindInFilesDialog::TakeValues()
{
    m_request.searchText = m_search->GetValue().utf8_string();
    m_request.filter = FileNameBytes(m_filter->GetValue());
    m_request.folder = FileNameBytes(m_folder->GetValue());
    m_request.options.recursive = m_recursive->GetValue();
    m_request.options.wholeWords = m_wholeWord->GetValue();
    m_request.options.matchCase = m_matchCase->GetValue();
    m_request.options.searchPane = m_pane->GetSelection() == 1 ? 1 : 0;
}

void CFindInFilesDialog::OnBrowse(wxCommandEvent&)
{
    TakeValues();
    wxString path = m_folder->GetValue();
    if (m_browse && m_browse(this, U("Suchpfad bestimmen"), path) && !path.empty()) {
        m_folder->AddText(path);
        m_folder->ChangeValue(path);
        TakeValues();
    }
}

void CFindInFilesDialog::Finish(int code)
{
    if (code == wxID_OK && m_search->GetValue().empty())
        return;
    TakeValues();
    // The histories first: saving them creates the key the switches go into.
    m_search->SaveHistory(true);
    m_filter->SaveHistory(true);
    m_folder->SaveHistory(true);
    SaveFindInFilesOptions(m_request.options);
    SetReturnCode(code);
    if (IsModal())
        EndModal(code);
    else
        Hide();
}
