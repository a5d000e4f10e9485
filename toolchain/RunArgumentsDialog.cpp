#include "toolchain/RunArgumentsDialog.h"

#include "controls/DialogButtons.h"

#include "controls/HistoryComboBox.h"
#include "toolchain/ToolchainTexts.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

using namespace toolchain;

CRunArgumentsDialog::CRunArgumentsDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kArgsCaption))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kArgsPrompt)), 0,
             wxLEFT | wxRIGHT | wxTOP, 12);
    m_combo = new CHistoryComboBox(this, kComboId, wxDefaultPosition, wxSize(FromDIP(420), -1));
    top->Add(m_combo, 0, wxALL | wxEXPAND, 12);
    top->Add(CreateOkCancelRow(this), 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);
    SetSizerAndFit(top);
    CentreOnParent();

    m_combo->SetLimit(10);
    m_combo->LoadHistory(kArgsSection, kArgsPrefix, true, kArgsLastEntry);
    m_combo->SetFocus();
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Confirm(); }, wxID_OK);
}

void CRunArgumentsDialog::Confirm()
{
    m_arguments = m_combo->GetValue().utf8_string();
    m_combo->SaveHistory(true);
    if (IsModal())
        EndModal(wxID_OK);
    else
        SetReturnCode(wxID_OK);
}
