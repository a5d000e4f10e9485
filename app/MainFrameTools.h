// The main frame's part of compiling and running: "&Einstellen..." of the
// start files (32850), the compiler output pane, whose jumps open the file
// through the main frame, and the user tools of the Tools menu (32823 and
// 7000-7020).
#pragma once

#include <string>

class CCommandState;
class CMainFrame;
class COutputPane;
class wxWindow;

// Command 32850 and its menu state; false for any other command.
bool HandleStartFileCommand(CMainFrame& frame, int command);
bool QueryStartFileCommand(CMainFrame& frame, int command, CCommandState& state);

// "&Toolmenüeinträge konfigurieren..." and the tools 7000 + i; false for
// any other command.
bool HandleToolCommand(CMainFrame& frame, int command);
bool QueryToolCommand(CMainFrame& frame, int command, CCommandState& state);
// Runs tool index of the frame's list for the active document.
void RunTool(CMainFrame& frame, int index);

// The compiler output pane of the output bar (window id 2).
COutputPane* CreateCompilerOutputPane(wxWindow* parent, int id);

// A compiler message's jump: the file's view (opened when needed), the caret
// on the 1-based line at the 1-based byte column, the focus to the view.
void JumpToCompilerMessage(const std::string& file, int line, int column);
