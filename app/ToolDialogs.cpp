#include "app/ToolDialogs.h"

#include "app/UserDialogs.h"
#include "toolchain/AppletPageDialog.h"
#include "toolchain/RunArgumentsDialog.h"
#include "toolchain/StartFilesDialog.h"
#include "toolchain/ToolchainTexts.h"

#include <wx/msgdlg.h>

namespace {

class CRealToolDialogs : public IToolDialogs {
public:
    bool RunArguments(wxWindow* parent, std::string& arguments) override
    {
        CRunArgumentsDialog dlg(parent);
        if (dlg.ShowModal() != wxID_OK)
            return false;
        arguments = dlg.Arguments();
        return true;
    }

    bool ConfigureStartFiles(wxWindow* parent, std::vector<std::string>& files) override
    {
        CStartFilesDialog dlg(parent, files, {}, [](wxWindow* owner) {
            return UserDialogs().MessageBox(owner, wxString::FromUTF8(toolchain::kStartFilesDeleteAsk),
                                            wxString::FromUTF8(toolchain::kStartFilesDeleteCaption),
                                            wxYES_NO | wxICON_QUESTION) == wxYES;
        });
        if (dlg.ShowModal() != wxID_OK)
            return false;
        files = dlg.Files();
        return true;
    }

    int AppletPage(wxWindow* parent) override
    {
        CAppletPageDialog dlg(parent);
        return dlg.ShowModal();
    }
};

CRealToolDialogs g_real;
IToolDialogs* g_current = &g_real;

} // namespace

IToolDialogs& ToolDialogs()
{
    return *g_current;
}

void SetToolDialogs(IToolDialogs* dialogs)
{
    g_current = dialogs ? dialogs : &g_real;
}
