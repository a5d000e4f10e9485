#include "app/UserDialogs.h"

#include "app/AboutDialog.h"
#include "app/GoToLineDialog.h"

#include <wx/filedlg.h>
#include <wx/generic/prntdlgg.h>
#include <wx/msgdlg.h>
#include <wx/cmndata.h>

namespace {

class CRealDialogs : public IUserDialogs {
public:
    int MessageBox(wxWindow* parent, const wxString& text, const wxString& caption,
                   long style) override
    {
        return wxMessageBox(text, caption, style, parent);
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

    void PrinterSetup(wxWindow* parent) override
    {
        // The generic dialog: GTK's native one blocks when no printer exists.
        static wxPrintData data;
        wxGenericPrintSetupDialog dlg(parent, &data);
        if (dlg.ShowModal() == wxID_OK)
            data = dlg.GetPrintData();
    }
};

CRealDialogs g_real;
IUserDialogs* g_current = &g_real;

} // namespace

IUserDialogs& UserDialogs()
{
    return *g_current;
}

void SetUserDialogs(IUserDialogs* dialogs)
{
    g_current = dialogs ? dialogs : &g_real;
}
