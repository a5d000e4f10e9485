#include "options/DlgOptionsFullscreen.h"

#include "options/OptionsTexts.h"
#include "settings/Settings.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

using namespace optiontexts;

CDlgOptionsFullscreen::CDlgOptionsFullscreen(wxWindow* parent, const COptionsContext& context,
                                             CSettings& settings)
    : COptionsPage(parent, wxString::FromUTF8(kTitleFullscreen), context)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kFullIntro)), 0, wxALL, 8);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kFullGroup));
    wxWindow* box = group->GetStaticBox();
    // The menu bar always stays; the box only says so.
    auto* menu = new wxCheckBox(box, kMenuId, wxString::FromUTF8(kFullMenu));
    menu->SetValue(true);
    menu->Disable();
    group->Add(menu, 0, wxALL, 3);
    group->Add(AddCheck(box, kToolbarId, wxString::FromUTF8(kFullToolbar), settings.m_fullScreenShowToolbar), 0,
               wxALL, 3);
    group->Add(AddCheck(box, kOutputId, wxString::FromUTF8(kFullOutput), settings.m_fullScreenShowOutput), 0,
               wxALL, 3);
    group->Add(AddCheck(box, kStatusId, wxString::FromUTF8(kFullStatus), settings.m_fullScreenShowStatus), 0,
               wxALL, 3);
    group->Add(AddCheck(box, kWorkspaceId, wxString::FromUTF8(kFullWorkspace),
                        settings.m_fullScreenShowWorkspace),
               0, wxALL, 3);
    top->Add(group, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(top);
    TransferDataToWindow();
}
