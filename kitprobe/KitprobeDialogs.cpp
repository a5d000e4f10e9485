#include "kitprobe/KitprobeDialogs.h"

#include "kitprobe/QuestionDlg.h"
#include "kitprobe/SearchResultDlg.h"

#include <wx/msgdlg.h>

bool CKitprobeDialogs::AskSearch()
{
    CQuestionDlg dlg(nullptr);
    return dlg.ShowModal() == wxID_OK;
}

bool CKitprobeDialogs::ChooseResults(wxWindow* owner, const CJdkFinds& finds,
                                     CJdkChoices& choices)
{
    CSearchResultDlg dlg(owner, finds);
    if (dlg.ShowModal() != wxID_OK)
        return false;
    choices = dlg.Choices();
    return true;
}

void CKitprobeDialogs::Tell(wxWindow* owner, const wxString& text, bool error)
{
    wxMessageBox(text, "Kitprobe", wxOK | (error ? wxICON_ERROR : wxICON_WARNING), owner);
}
