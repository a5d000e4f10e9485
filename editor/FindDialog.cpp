#include "editor/FindDialog.h"

#include "controls/HistoryComboBox.h"
#include "editor/ReplaceSession.h"
#include "editor/TextSearch.h"
#include "editor/TextView.h"
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

CFindDialog::CFindDialog(wxWindow* parent, CTextView& view, const FindDialogValues& defaults,
                         MessageFn message)
    : wxDialog(parent, 8601, U("Suchen")), m_view(view), m_message(std::move(message)), m_values(defaults)
{
    ApplyEditFindKey(m_values);

    auto* label = new wxStaticText(this, wxID_ANY, U("Suche&n nach:"));
    m_search = new CHistoryComboBox(this, IDC_SEARCH_TEXT, wxDefaultPosition, wxSize(230, -1), wxCB_DROPDOWN);
    m_wholeWord = new wxCheckBox(this, IDC_WHOLE_WORD, U("&Nur ganze Wörter"));
    m_matchCase = new wxCheckBox(this, IDC_MATCH_CASE, U("&Groß-/Kleinschreibung beachten"));
    auto* direction = new wxStaticBoxSizer(wxHORIZONTAL, this, U("Suchrichtung"));
    m_up = new wxRadioButton(direction->GetStaticBox(), IDC_UPWARDS, U("&Rückwärts"), wxDefaultPosition,
                             wxDefaultSize, wxRB_GROUP);
    m_down = new wxRadioButton(direction->GetStaticBox(), IDC_DOWNWARDS, U("&Vorwärts"));
    m_findNext = new wxButton(this, wxID_OK, U("&Weitersuchen"));
    auto* cancel = new wxButton(this, wxID_CANCEL, U("Abbrechen"));
    m_findNext->SetDefault();

    auto* searchRow = new wxBoxSizer(wxHORIZONTAL);
    searchRow->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    searchRow->Add(m_search, 1, wxALIGN_CENTER_VERTICAL);
    auto* checks = new wxBoxSizer(wxVERTICAL);
    checks->Add(m_wholeWord, 0, wxBOTTOM, 6);
    checks->Add(m_matchCase);
    direction->Add(m_up, 0, wxALL, 4);
    direction->Add(m_down, 0, wxALL, 4);
    auto* options = new wxBoxSizer(wxHORIZONTAL);
    options->Add(checks, 0, wxALIGN_BOTTOM | wxRIGHT, 12);
    options->Add(direction, 0, wxALIGN_BOTTOM);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(searchRow, 0, wxEXPAND | wxBOTTOM, 12);
    left->Add(options, 0, wxEXPAND);
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(m_findNext, 0, wxEXPAND | wxBOTTOM, 6);
    buttons->Add(cancel, 0, wxEXPAND);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 1, wxALL, 10);
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    m_search->SetValue(BytesToControl(m_values.text));
    m_wholeWord->SetValue(m_values.wholeWords);
    m_matchCase->SetValue(m_values.matchCase);
    m_up->SetValue(m_values.upwards);
    m_down->SetValue(!m_values.upwards);
    UpdateFindNext();
    m_search->LoadHistory(kEditFindHistorySection, kSearchKeyPrefix, true, kHistoryLastEntry, true);
    m_search->SetLimit(kFindHistoryLimit);
    UpdateFindNext(); // a restored last entry may have filled the box
    m_search->SetFocus();
    m_search->SelectAll();
    CentreOnParent();

    m_search->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
        UpdateFindNext();
        e.Skip();
    });
    Bind(wxEVT_BUTTON, &CFindDialog::OnFindNext, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CFindDialog::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &CFindDialog::OnClose, this);
}

void CFindDialog::UpdateFindNext()
{
    m_findNext->Enable(!m_search->GetValue().empty());
}

void CFindDialog::TakeValues()
{
    m_values.text = m_search->TextBytes();
    m_values.wholeWords = m_wholeWord->GetValue();
    m_values.matchCase = m_matchCase->GetValue();
    m_values.upwards = m_up->GetValue();
}

void CFindDialog::OnFindNext(wxCommandEvent&)
{
    TakeValues();
    const CTextBuffer* buffer = m_view.GetBuffer();
    if (m_values.text.empty() || !buffer)
        return;
    TextPos match;
    int length = 0;
    if (SearchText(*buffer, DocumentSearchText(*buffer, m_values.text), m_view.GetCaretPos(), m_values.Flags(),
                   true, match, &length))
        SelectFoundInView(m_view, match, length);
    else if (m_message)
        m_message(this, FindMessageText(IDS_FIND_NOT_FOUND, m_values.text));
}

void CFindDialog::OnCancel(wxCommandEvent&)
{
    TakeValues();
    EndFindDialog(*this, wxID_CANCEL);
}

void CFindDialog::OnClose(wxCloseEvent&)
{
    TakeValues();
    EndFindDialog(*this, wxID_CANCEL);
}
