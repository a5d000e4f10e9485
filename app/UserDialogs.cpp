#include "app/UserDialogs.h"

#include "controls/ColourPicker.h"
#include "controls/DialogButtons.h"

#include "app/AboutDialog.h"
#include "app/GoToLineDialog.h"
#include "app/PrintDialog.h"
#include "platform/Printers.h"
#include "toolchain/AppletPageDialog.h"
#include "toolchain/RunArgumentsDialog.h"
#include "toolchain/StartFilesDialog.h"
#include "toolchain/ToolchainTexts.h"
#include "toolchain/ToolsDialog.h"
#include "workspace/ReloadQuestionDialog.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/dirdlg.h>
#include <wx/filename.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/button.h>
#include <wx/checklst.h>
#include <wx/cmndata.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

class CRealDialogs : public IUserDialogs {
public:
    int MessageBox(wxWindow* parent, const wxString& text, const wxString& caption,
                   long style) override
    {
        return ShowMessageBox(parent, text, caption, style);
    }

    bool OpenFiles(wxWindow* parent, const wxString& filter, wxArrayString& paths) override
    {
        wxFileDialog dlg(parent, wxString::FromUTF8("Öffnen"), wxEmptyString, wxEmptyString,
                         filter, wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
        if (dlg.ShowModal() != wxID_OK)
            return false;
        dlg.GetPaths(paths);
        return true;
    }

    bool SaveAs(wxWindow* parent, const wxString& filter, wxString& path) override
    {
        wxFileDialog dlg(parent, wxString::FromUTF8("Speichern unter"), wxEmptyString, path,
                         filter, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dlg.ShowModal() != wxID_OK)
            return false;
        path = dlg.GetPath();
        return true;
    }

    bool GoToLine(wxWindow* parent, int maxLine, int& line) override
    {
        CGoToLineDialog dlg(parent, line, maxLine);
        if (dlg.ShowModal() != wxID_OK)
            return false;
        line = dlg.Line();
        return true;
    }

    void About(wxWindow* parent) override
    {
        CAboutDialog dlg(parent);
        dlg.ShowModal();
    }

    bool Customize(wxWindow* parent, std::vector<BarChoice>& bars) override
    {
        wxDialog dlg(parent, wxID_ANY, wxString::FromUTF8("Anpassen"));
        auto* top = new wxBoxSizer(wxVERTICAL);
        top->Add(new wxStaticText(&dlg, wxID_ANY, wxString::FromUTF8("Angezeigte Leisten:")), 0, wxALL, 10);
        wxArrayString names;
        for (const BarChoice& b : bars)
            names.Add(b.name);
        auto* list = new wxCheckListBox(&dlg, wxID_ANY, wxDefaultPosition, wxSize(260, -1), names);
        for (size_t i = 0; i < bars.size(); ++i)
            list->Check(static_cast<unsigned>(i), bars[i].shown);
        top->Add(list, 1, wxLEFT | wxRIGHT | wxEXPAND, 10);
        top->Add(CreateOkCancelRow(&dlg), 0, wxALL | wxEXPAND, 10);
        dlg.SetSizerAndFit(top);
        dlg.CentreOnParent();
        if (dlg.ShowModal() != wxID_OK)
            return false;
        for (size_t i = 0; i < bars.size(); ++i)
            bars[i].shown = list->IsChecked(static_cast<unsigned>(i));
        return true;
    }
};

CRealDialogs g_real;
IUserDialogs* g_current = &g_real;

} // namespace

// Kib's own dialogs: the toolkit's generic set-up dialog takes the print
// data for PostScript data and crashes on GTK's, and GTK's native dialogs
// block when the system has no printer.
bool IUserDialogs::PrinterSetup(wxWindow* parent, printjob::PrintSetup& setup)
{
    CPrintDialog dlg(parent, platform::ListPrinters(), setup);
    if (RunModal(dlg) != wxID_OK)
        return false;
    setup = dlg.Setup();
    return true;
}

bool IUserDialogs::Print(wxWindow* parent, printjob::PrintRequest& request)
{
    CPrintDialog dlg(parent, platform::ListPrinters(), request);
    if (RunModal(dlg) != wxID_OK)
        return false;
    request = dlg.Request();
    return true;
}

int IUserDialogs::RunModal(wxDialog& dialog)
{
    return dialog.ShowModal();
}

bool IUserDialogs::ChooseFolder(wxWindow* parent, const wxString& title, wxString& path)
{
    wxDirDialog dlg(parent, title, path, wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK)
        return false;
    path = dlg.GetPath();
    return true;
}

bool IUserDialogs::ChooseFile(wxWindow* parent, const wxString& presetName, wxString& path)
{
    wxString folder, name = presetName, wildcard = wxString::FromUTF8("Alle Dateien (*)|*");
    if (!path.empty())
        wxFileName::SplitPath(path, &folder, nullptr, nullptr);
    if (presetName.Contains("*")) {
        wildcard = presetName + "|" + presetName + "|" + wildcard;
        name.clear();
    }
    wxFileDialog dlg(parent, wxString::FromUTF8("Öffnen"), folder, name, wildcard, wxFD_OPEN);
    if (dlg.ShowModal() != wxID_OK)
        return false;
    path = dlg.GetPath();
    return true;
}

bool IUserDialogs::ChooseColour(wxWindow* parent, colours::Colour& colour)
{
    return RunSystemColourDialog(parent, colour);
}

bool IUserDialogs::RunArguments(wxWindow* parent, std::string& arguments)
{
    CRunArgumentsDialog dlg(parent);
    if (dlg.ShowModal() != wxID_OK)
        return false;
    arguments = dlg.Arguments();
    return true;
}

bool IUserDialogs::ConfigureStartFiles(wxWindow* parent, std::vector<std::string>& files)
{
    CStartFilesDialog dlg(parent, files, {}, [this](wxWindow* owner) {
        return MessageBox(owner, wxString::FromUTF8(toolchain::kStartFilesDeleteAsk),
                          wxString::FromUTF8(toolchain::kStartFilesDeleteCaption),
                          wxYES_NO | wxICON_QUESTION) == wxYES;
    });
    if (dlg.ShowModal() != wxID_OK)
        return false;
    files = dlg.Files();
    return true;
}

bool IUserDialogs::ConfigureTools(wxWindow* parent, std::vector<CToolEntry>& tools)
{
    CToolsDialog dlg(
        parent, tools,
        [this](wxWindow* owner) {
            return MessageBox(owner, kib::KibText(kib::IDS_TOOLS_DELETE_ASK), kib::KibText(kib::IDS_TOOLS_CAPTION),
                              wxYES_NO | wxICON_QUESTION) == wxYES;
        },
        // Programs have no extension here: every file is offered.
        [this](wxWindow* owner, wxString& path) { return ChooseFile(owner, wxEmptyString, path); });
    if (RunModal(dlg) != wxID_OK)
        return false;
    tools = dlg.Tools();
    return true;
}

int IUserDialogs::AppletPage(wxWindow* parent)
{
    CAppletPageDialog dlg(parent);
    return dlg.ShowModal();
}

IUserDialogs& UserDialogs()
{
    return *g_current;
}

void SetUserDialogs(IUserDialogs* dialogs)
{
    g_current = dialogs ? dialogs : &g_real;
}

bool IUserDialogs::ReloadQuestion(wxWindow* parent, const wxString& text, bool& reloadThisFile,
                                  bool* reloadAllOfType)
{
    CReloadQuestionDlg dialog(parent, kib::KibText(kib::IDS_APP_TITLE), text, reloadAllOfType != nullptr);
    dialog.SetReloadThisFile(reloadThisFile);
    dialog.SetReloadAllOfType(reloadAllOfType && *reloadAllOfType);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    reloadThisFile = dialog.ReloadThisFile();
    if (reloadAllOfType)
        *reloadAllOfType = dialog.ReloadAllOfType();
    return true;
}
