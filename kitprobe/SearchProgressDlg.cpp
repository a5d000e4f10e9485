#include "kitprobe/SearchProgressDlg.h"

#include "kitprobe/KitprobeArt.h"
#include "kitprobe/KitprobeText.h"
#include "kitprobe/SearchAnimation.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

using kitprobe::Ui;

CSearchProgressDlg::CSearchProgressDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Ui("Kitprobe"), wxDefaultPosition, wxDefaultSize, wxCAPTION)
{
    SetIcons(kitprobe::ProgramIcons());
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_animation = new CSearchAnimation(this, IDC_ANIMATE);
    top->Add(m_animation, 0, wxALIGN_CENTER_HORIZONTAL | wxTOP | wxLEFT | wxRIGHT, 12);
    top->Add(new wxStaticText(this, wxID_ANY, Ui("Durchsuche:")), 0, wxLEFT | wxRIGHT | wxTOP, 12);
    top->AddSpacer(4);
    // Long paths lose their middle, not their ends.
    m_folderText = new wxStaticText(this, IDC_FOLDER, wxString(), wxDefaultPosition,
                                    wxSize(440, -1), wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE);
    top->Add(m_folderText, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    CentreOnScreen();
    Bind(wxEVT_CLOSE_WINDOW, &CSearchProgressDlg::OnClose, this);
}

void CSearchProgressDlg::SetFolder(const wxString& folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_folderText->SetLabel(folder);
}

void CSearchProgressDlg::OnClose(wxCloseEvent& event)
{
    if (!m_mayClose && event.CanVeto()) {
        event.Veto();
        return;
    }
    Destroy();
}
