// The find commands of one edit view: the find dialog (Ctrl+F), find next
// and previous with the view's remembered search (F3, Shift+F3), the replace
// dialog (Ctrl+H), and a plain search from the caret for the tool bar's box.
#pragma once

#include "editor/TextSearch.h"
#include "editor/TextView.h"
#include "resources/CommandTable.h"

#include <wx/string.h>

#include <string>

class CTextEditView;
class wxDialog;
class wxWindow;

// What the commands need from the application: running a dialog modally
// and a message box with an OK button.
class IFindHost {
public:
    virtual ~IFindHost() = default;
    virtual int RunFindDialog(wxDialog& dialog) = 0;
    virtual void ShowFindMessage(wxWindow* parent, const wxString& text) = 0;
};

class CEditFindCommands {
public:
    CEditFindCommands(CTextEditView& view, IFindHost& host) : m_view(view), m_host(host) {}

    // Commands 57636, 57640, 37126 and 57641; false for any other.
    bool HandleCommand(int command);
    bool QueryCommand(int command, CCommandState& state);

    void FindDialog();
    // F3 (reverse false) and Shift+F3.
    void FindAgain(bool reverse);
    void ReplaceDialog();
    // Case-insensitive (text as the controls hold it, Windows-1252),
    // downwards from the caret with wrap; selects the
    // match or shows message 8606. The remembered search stays as it is.
    bool SearchFromCaret(const std::string& text);

    const RememberedSearch& Remembered() const { return m_remembered; }

private:
    using Commands = CCommandTable<CEditFindCommands>;
    static const Commands& CommandTable();

    wxWindow* DialogParent() const;
    void NotFound(const std::string& text);

    CTextEditView& m_view;
    IFindHost& m_host;
    RememberedSearch m_remembered;
};
