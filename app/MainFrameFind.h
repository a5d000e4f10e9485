// The main frame's part of finding: the tool bar's find box, the command
// "S&uchen in Dateien..." (32816) with its dialog and search, and the jumps
// of the search results panes to a file's line.
#pragma once

#include <string>

class CCommandState;
class CMainFrame;
class COutputPane;
class wxAuiToolBar;
class wxComboBox;
class wxObject;
class wxWindow;

// Puts the find box into the standard tool bar in place of the find button.
void AddFindBox(CMainFrame& frame, wxAuiToolBar* bar);
// The first find box (command 61478) of the tool bar whose window is control.
wxComboBox* FindBoxOf(wxAuiToolBar* bar, wxWindow* control);

// Command 32816 and its menu state; false for any other command.
bool HandleFindInFilesCommand(CMainFrame& frame, int command);
bool QueryFindInFilesCommand(CMainFrame& frame, int command, CCommandState& state);

// A search results pane of the output bar (window id 3 or 4) whose jumps
// open the file through the main frame.
COutputPane* CreateSearchResultPane(wxWindow* parent, int id);

// The control whose command is being routed (the find box where Enter was
// pressed), or null.
wxWindow* CurrentCommandControl();
class CCommandControlScope {
public:
    explicit CCommandControlScope(wxObject* sender);
    ~CCommandControlScope();
    CCommandControlScope(const CCommandControlScope&) = delete;
    CCommandControlScope& operator=(const CCommandControlScope&) = delete;

private:
    wxWindow* m_previous;
};
