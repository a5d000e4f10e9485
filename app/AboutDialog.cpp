#include "app/AboutDialog.h"

#include "resources/Artwork.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/hyperlink.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

using namespace kib;

CAboutDialog::CAboutDialog(wxWindow* parent) : wxDialog(parent, 103, KibText(IDS_ABOUT_CAPTION))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, SplashBitmap()), 0, wxALL, 0);
    top->Add(new wxStaticText(this, wxID_ANY, KibText(IDS_ABOUT_LINE1)), 0, wxLEFT | wxRIGHT | wxTOP, 12);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::Format(KibText(IDS_ABOUT_LINE2), KIB_VERSION)),
             0, wxLEFT | wxRIGHT | wxTOP, 12);
    wxString url = KibText(IDS_ABOUT_URL);
    // The link button opens the address in the browser when clicked.
    top->Add(new wxHyperlinkCtrl(this, 1042, url, url), 0, wxLEFT | wxRIGHT | wxTOP, 12);
    auto* ok = new wxButton(this, wxID_OK, KibText(IDS_BUTTON_OK));
    ok->SetDefault();
    top->Add(ok, 0, wxALL | wxALIGN_RIGHT, 12);
    SetSizerAndFit(top);
    CentreOnParent();
}
