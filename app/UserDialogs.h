// Every message box and modal dialog of the shell goes through this one
// interface, so that tests can answer them by script and see what was asked.
#pragma once

#include "app/PrintJob.h"
#include "controls/ColourTable.h"
#include "settings/Settings.h"

#include <wx/arrstr.h>
#include <wx/string.h>

#include <string>
#include <vector>

class wxDialog;
class wxWindow;

class IUserDialogs {
public:
    virtual ~IUserDialogs() = default;

    // style: wxOK, wxYES_NO or wxYES_NO | wxCANCEL, with an icon flag.
    // Returns wxOK, wxYES, wxNO or wxCANCEL.
    virtual int MessageBox(wxWindow* parent, const wxString& text, const wxString& caption,
                           long style) = 0;
    // The open dialog (multiple selection); false on cancel.
    virtual bool OpenFiles(wxWindow* parent, const wxString& filter, wxArrayString& paths) = 0;
    // The save-as dialog; path holds the proposed name on entry.
    virtual bool SaveAs(wxWindow* parent, const wxString& filter, wxString& path) = 0;
    // The go-to-line dialog; line holds the preset on entry. maxLine bounds it.
    virtual bool GoToLine(wxWindow* parent, int maxLine, int& line) = 0;
    virtual void About(wxWindow* parent) = 0;
    // "Anpassen": which bars are shown; false on cancel.
    struct BarChoice {
        wxString name;
        bool shown;
    };
    virtual bool Customize(wxWindow* parent, std::vector<BarChoice>& bars) = 0;
    // "Druckereinrichtung" on the session's setup; false on cancel.
    virtual bool PrinterSetup(wxWindow* parent, printjob::PrintSetup& setup);
    // The print dialog on request (printer, PDF file, pages, copies); false
    // on cancel.
    virtual bool Print(wxWindow* parent, printjob::PrintRequest& request);
    // One of Kib's own interactive dialogs (find, replace, find in files),
    // run modally; returns its end code. Scripts drive the real window.
    virtual int RunModal(wxDialog& dialog);
    // The folder browser; path holds the folder to preselect on entry.
    virtual bool ChooseFolder(wxWindow* parent, const wxString& title, wxString& path);
    // A file to open: path holds the field's text on entry (its folder is
    // shown) and the choice on OK; presetName is the name offered, or a
    // pattern such as "*.html" that filters the list.
    virtual bool ChooseFile(wxWindow* parent, const wxString& presetName, wxString& path);
    // The system colour dialog, full, starting at colour.
    virtual bool ChooseColour(wxWindow* parent, colours::Colour& colour);
    // "Argumente für Start": false for "Abbrechen". On OK the history is
    // saved and arguments holds the text as typed.
    virtual bool RunArguments(wxWindow* parent, std::string& arguments);
    // "Startdateien konfigurieren" on a copy of the list: false for
    // "Abbrechen", otherwise files holds the entries in the dialog's order.
    virtual bool ConfigureStartFiles(wxWindow* parent, std::vector<std::string>& files);
    // "Toolmenü konfigurieren" on a copy of the list: false for "Abbrechen",
    // otherwise tools holds the dialog's entries in its order.
    virtual bool ConfigureTools(wxWindow* parent, std::vector<CToolEntry>& tools);
    // "Applet starten": CAppletPageDialog::kCreateAndStart, kCreateAndEdit or
    // anything else for "Abbrechen".
    virtual int AppletPage(wxWindow* parent);
    // The question whether to reload a file changed outside: text is the
    // whole question; reloadThisFile and *reloadAllOfType (null: that box is
    // not offered) preset the check boxes and take their state on "&Ja".
    // True for "&Ja".
    virtual bool ReloadQuestion(wxWindow* parent, const wxString& text, bool& reloadThisFile,
                                bool* reloadAllOfType);
};

// The dialogs in force (the real ones unless a test installed its own).
IUserDialogs& UserDialogs();
// Installs dialogs (not owned); null restores the real ones.
void SetUserDialogs(IUserDialogs* dialogs);
