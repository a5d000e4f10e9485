#include "controls/DialogButtons.h"

#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
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

int ShowMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, long style)
{
    using kib::KibText;
    wxMessageDialog dlg(parent, text, caption, style);
    if (style & wxYES_NO) {
        if (style & wxCANCEL)
            dlg.SetYesNoCancelLabels(KibText(kib::IDS_BUTTON_YES), KibText(kib::IDS_BUTTON_NO),
                                     KibText(kib::IDS_BUTTON_CANCEL));
        else
            dlg.SetYesNoLabels(KibText(kib::IDS_BUTTON_YES), KibText(kib::IDS_BUTTON_NO));
    } else if (style & wxCANCEL) {
        dlg.SetOKCancelLabels(KibText(kib::IDS_BUTTON_OK), KibText(kib::IDS_BUTTON_CANCEL));
    } else {
        dlg.SetOKLabel(KibText(kib::IDS_BUTTON_OK));
    }
    switch (dlg.ShowModal()) {
    case wxID_OK:
        return wxOK;
    case wxID_YES:
        return wxYES;
    case wxID_NO:
        return wxNO;
    default:
        return wxCANCEL;
    }
}
