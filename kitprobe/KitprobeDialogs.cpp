#include "kitprobe/KitprobeDialogs.h"

#include "kitprobe/QuestionDlg.h"
#include "kitprobe/SearchResultDlg.h"

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
