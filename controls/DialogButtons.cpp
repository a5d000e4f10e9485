#include "controls/DialogButtons.h"

#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/sizer.h>

wxSizer* CreateOkCancelRow(wxWindow* dialog)
{
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(dialog, wxID_OK, kib::KibText(kib::IDS_BUTTON_OK));
    ok->SetDefault();
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(dialog, wxID_CANCEL, kib::KibText(kib::IDS_BUTTON_CANCEL)));
    return buttons;
}
