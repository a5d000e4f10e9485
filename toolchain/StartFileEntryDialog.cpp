#include "toolchain/StartFileEntryDialog.h"

#include "controls/DialogButtons.h"

#include "toolchain/ToolchainTexts.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace toolchain;

CStartFileEntryDialog::CStartFileEntryDialog(wxWindow* parent, const wxString& path, Browser browse)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kStartFileCaption)), m_browse(std::move(browse))
{
    if (!m_browse)
        m_browse = [](wxWindow* parent, wxString& chosen) {
            wxFileDialog dlg(parent, wxString::FromUTF8(kStartFileCaption), wxEmptyString,
                             wxString::FromUTF8(kStartFilePattern), "*.java", wxFD_OPEN);
            if (dlg.ShowModal() != wxID_OK)
                return false;
            chosen = dlg.GetPath();
            return true;
        };
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kStartFileLabel)), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_path = new wxTextCtrl(this, kPathId, path, wxDefaultPosition, wxSize(FromDIP(380), -1));
    row->Add(m_path, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    auto* browseButton = new wxButton(this, kBrowseId, wxString::FromUTF8(kStartFileBrowse),
                                      wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    row->Add(browseButton, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(row, 0, wxALL | wxEXPAND, 12);
    top->Add(CreateOkCancelRow(this), 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);
    SetSizerAndFit(top);
    CentreOnParent();
    m_path->SetFocus();
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(); }, kBrowseId);
}

wxString CStartFileEntryDialog::Path() const
{
    return m_path->GetValue();
}

void CStartFileEntryDialog::SetPath(const wxString& path)
{
    m_path->SetValue(path);
}

void CStartFileEntryDialog::Browse()
{
    wxString chosen;
    if (m_browse(this, chosen))
        m_path->SetValue(chosen);
}
