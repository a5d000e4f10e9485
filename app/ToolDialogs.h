// The modal dialogs of the compile and run commands go through this
// interface, so that tests answer them by script (message boxes go through
// IUserDialogs).
#pragma once

#include <string>
#include <vector>

class wxWindow;

class IToolDialogs {
public:
    virtual ~IToolDialogs() = default;

    // "Argumente für Start": false for "Abbrechen". On OK the history is
    // saved and arguments holds the text as typed.
    virtual bool RunArguments(wxWindow* parent, std::string& arguments) = 0;
    // "Startdateien konfigurieren" on a copy of the list: false for
    // "Abbrechen", otherwise files holds the entries in the dialog's order.
    virtual bool ConfigureStartFiles(wxWindow* parent, std::vector<std::string>& files) = 0;
    // "Applet starten": CAppletPageDialog::kCreateAndStart, kCreateAndEdit or
    // anything else for "Abbrechen".
    virtual int AppletPage(wxWindow* parent) = 0;
};

// The dialogs in force (the real ones unless a test installed its own).
IToolDialogs& ToolDialogs();
// Installs dialogs (not owned); null restores the real ones.
void SetToolDialogs(IToolDialogs* dialogs);
