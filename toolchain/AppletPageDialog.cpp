#include "toolchain/AppletPageDialog.h"

#include "toolchain/ToolchainTexts.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

using namespace toolchain;

CAppletPageDialog::CAppletPageDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kAppletCaption))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(this, wxID_ANY,
                                wxArtProvider::GetBitmap(wxART_QUESTION, wxART_MESSAGE_BOX)),
             0, wxRIGHT, 12);
    auto* text = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kAppletText));
    text->Wrap(FromDIP(360));
    row->Add(text, 1);
    top->Add(row, 0, wxALL | wxEXPAND, 12);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* start = new wxButton(this, kCreateAndStart, wxString::FromUTF8(kAppletCreateStart));
    start->SetDefault();
    buttons->Add(start, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, kCreateAndEdit, wxString::FromUTF8(kAppletCreateEdit)), 0,
                 wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8(kButtonCancel)));
    top->Add(buttons, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);
    SetSizerAndFit(top);
    CentreOnParent();
    for (int id : {kCreateAndStart, kCreateAndEdit})
        Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { EndModal(id); }, id);
}
