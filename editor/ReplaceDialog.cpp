#include "editor/ReplaceDialog.h"

#include "controls/HistoryComboBox.h"
#include "editor/TextEditView.h"
#include "editor/ViewSearch.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace {

wxString U(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

} // namespace

CReplaceDialog::CReplaceDialog(wxWindow* parent, CTextEditView& view, const ReplaceDialogValues& defaults,
                               bool withSelection, TextPos selBegin, TextPos selEnd, TextPos caret,
                               MessageFn message)
    : wxDialog(parent, 8602, U("Ersetzen")),
      m_view(view),
      m_message(std::move(message)),
      m_values(defaults),
      m_session(*this)
{
    if (withSelection)
        m_session.OpenWithSelection(selBegin, selEnd);
    else
        m_session.OpenAtCaret(caret);

    auto* searchLabel = new wxStaticText(this, wxID_ANY, U("Suche &nach:"));
    m_search = new CHistoryComboBox(this, IDC_SEARCH_TEXT, wxDefaultPosition, wxSize(230, -1), wxCB_DROPDOWN);
    auto* replaceLabel = new wxStaticText(this, wxID_ANY, U("Ersetzen &durch:"));
    m_replace = new CHistoryComboBox(this, IDC_REPLACE_TEXT, wxDefaultPosition, wxSize(230, -1), wxCB_DROPDOWN);
    m_wholeWord = new wxCheckBox(this, IDC_WHOLE_WORD, U("&Nur ganze Wörter"));
    m_matchCase = new wxCheckBox(this, IDC_MATCH_CASE, U("&Groß-/Kleinschreibung beachten"));
    auto* scope = new wxStaticBoxSizer(wxVERTICAL, this, U("Ersetzen in"));
    m_scopeSelection = new wxRadioButton(scope->GetStaticBox(), IDC_SCOPE_SELECTION, U("&Selektion"),
                                         wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_scopeFile = new wxRadioButton(scope->GetStaticBox(), IDC_SCOPE_FILE, U("Gan&zer Datei"));
    m_findNext = new wxButton(this, IDC_FIND_NEXT, U("&Weitersuchen"));
    m_replaceOne = new wxButton(this, IDC_REPLACE, U("&Ersetzen"));
    m_replaceAll = new wxButton(this, IDC_REPLACE_ALL, U("&Alle ersetzen"));
    auto* cancel = new wxButton(this, wxID_CANCEL, U("Abbrechen"));
    m_findNext->SetDefault();

    auto* texts = new wxFlexGridSizer(2, 8, 8);
    texts->AddGrowableCol(1);
    texts->Add(searchLabel, 0, wxALIGN_CENTER_VERTICAL);
    texts->Add(m_search, 1, wxEXPAND);
    texts->Add(replaceLabel, 0, wxALIGN_CENTER_VERTICAL);
    texts->Add(m_replace, 1, wxEXPAND);
    auto* checks = new wxBoxSizer(wxVERTICAL);
    checks->Add(m_wholeWord, 0, wxBOTTOM, 6);
    checks->Add(m_matchCase);
    scope->Add(m_scopeSelection, 0, wxALL, 4);
    scope->Add(m_scopeFile, 0, wxALL, 4);
    auto* options = new wxBoxSizer(wxHORIZONTAL);
    options->Add(checks, 0, wxALIGN_BOTTOM | wxRIGHT, 12);
    options->Add(scope, 0, wxALIGN_BOTTOM);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(texts, 0, wxEXPAND | wxBOTTOM, 12);
    left->Add(options, 0, wxEXPAND);
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    for (wxButton* b : {m_findNext, m_replaceOne, m_replaceAll, cancel})
        buttons->Add(b, 0, wxEXPAND | wxBOTTOM, 6);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 1, wxALL, 10);
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    m_search->SetValue(BytesToControl(m_values.searchText));
    m_replace->SetValue(BytesToControl(m_values.replaceText));
    m_wholeWord->SetValue(m_values.wholeWords);
    m_matchCase->SetValue(m_values.matchCase);
    // Without a selection the scope is the whole file, also when a stored
    // scope names the selection: the radio buttons show what is searched.
    const bool selectionScope = m_values.scope == REPLACE_SCOPE_SELECTION && m_session.SelectionAllowed();
    m_scopeSelection->SetValue(selectionScope);
    m_scopeFile->SetValue(!selectionScope);
    m_scopeSelection->Enable(m_session.SelectionAllowed());
    m_search->LoadHistory(kEditReplaceSearchSection, kSearchKeyPrefix, true, kHistoryLastEntry, true);
    m_search->SetLimit(kFindHistoryLimit);
    m_replace->LoadHistory(kEditReplaceTextSection, kReplaceTextPrefix, true, kHistoryLastEntry, true);
    m_replace->SetLimit(kFindHistoryLimit);
    UpdateButtons();
    m_search->SetFocus();
    m_search->SelectAll();
    CentreOnParent();

    m_search->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
        UpdateButtons();
        e.Skip();
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        TakeValues();
        m_session.FindNext();
    }, IDC_FIND_NEXT);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        TakeValues();
        m_session.Replace();
    }, IDC_REPLACE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        TakeValues();
        m_session.ReplaceAll();
    }, IDC_REPLACE_ALL);
    Bind(wxEVT_BUTTON, &CReplaceDialog::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &CReplaceDialog::OnClose, this);
}

// An empty search text is not searched for by any of the three buttons.
void CReplaceDialog::UpdateButtons()
{
    const bool any = !m_search->GetValue().empty();
    m_findNext->Enable(any);
    m_replaceOne->Enable(any);
    m_replaceAll->Enable(any);
}

void CReplaceDialog::TakeValues()
{
    m_values.searchText = m_search->TextBytes();
    m_values.replaceText = m_replace->TextBytes();
    m_values.wholeWords = m_wholeWord->GetValue();
    m_values.matchCase = m_matchCase->GetValue();
    m_values.scope = m_scopeSelection->GetValue() ? REPLACE_SCOPE_SELECTION : REPLACE_SCOPE_FILE;
    m_session.SetOptions(m_values.searchText, m_values.replaceText, m_values.matchCase, m_values.wholeWords,
                         m_values.scope);
}

void CReplaceDialog::Finish()
{
    TakeValues();
    // The three values first (only into an existing key), then the
    // histories, whose saving creates the key.
    SaveEditReplaceKey(m_values);
    m_search->SaveHistory(true);
    m_replace->SaveHistory(true);
    EndFindDialog(*this, wxID_CANCEL);
}

void CReplaceDialog::OnCancel(wxCommandEvent&)
{
    Finish();
}

void CReplaceDialog::OnClose(wxCloseEvent&)
{
    Finish();
}

const CTextBuffer& CReplaceDialog::ReplaceBuffer() const
{
    const CTextBuffer* buffer = m_view.GetBuffer();
    return buffer ? *buffer : m_emptyBuffer;
}

void CReplaceDialog::SelectFound(TextPos pos, int length)
{
    SelectFoundInView(m_view, pos, length);
}

bool CReplaceDialog::ReplaceSelection(std::string_view text)
{
    return ReplaceSelectionInView(m_view, text);
}

void CReplaceDialog::RefuseCharacter(char32_t cp)
{
    m_view.RefuseCharacter(cp);
}

void CReplaceDialog::ShowMessage(int id, const std::string& searchText, int count)
{
    if (m_message)
        m_message(this, FindMessageText(id, searchText, count));
}
