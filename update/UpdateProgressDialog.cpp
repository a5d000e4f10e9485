#include "update/UpdateProgressDialog.h"

#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

CUpdateProgressDialog::CUpdateProgressDialog(wxWindow* owner, int stepCount, std::function<void()> onCancel)
    : wxDialog(owner, wxID_ANY, "Checking WWW for new version", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX),
      m_onCancel(std::move(onCancel))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_bar = new wxGauge(this, kBarId, stepCount, wxDefaultPosition, wxSize(FromDIP(300), -1));
    top->Add(m_bar, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 14);
    m_text = new wxStaticText(this, kTextId, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE);
    top->Add(m_text, 0, wxEXPAND | wxALL, 14);
    auto* cancel = new wxButton(this, wxID_CANCEL, wxString::FromUTF8("Abbrechen"));
    top->Add(cancel, 0, wxALIGN_RIGHT | wxRIGHT | wxBOTTOM, 14);
    SetSizerAndFit(top);
    CentreOnParent();
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RequestCancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { RequestCancel(); });
}

void CUpdateProgressDialog::OnStep(int step)
{
    static constexpr int kTexts[] = {kib::IDS_UPDATE_STEP_CONNECT, kib::IDS_UPDATE_STEP_INIT,
                                     kib::IDS_UPDATE_STEP_FETCH, kib::IDS_UPDATE_STEP_EVALUATE};
    if (step < 0 || step > 3)
        return;
    m_bar->SetValue(std::min(m_bar->GetRange(), m_bar->GetValue() + 1));
    m_text->SetLabel(kib::KibText(kTexts[step]));
    m_text->Update();
    m_bar->Update();
}

wxString CUpdateProgressDialog::StepText() const
{
    return m_text->GetLabel();
}

void CUpdateProgressDialog::RequestCancel()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    if (m_onCancel)
        m_onCancel();
}
