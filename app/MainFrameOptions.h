// The main frame's part of the options dialog: the command
// "&Einstellungen..." (32822), which runs the dialog on the frame's
// settings and, after OK, applies and saves them.
#pragma once

class CCommandState;
class CMainFrame;
class CSettings;

// Command 32822 and its menu state; false for any other command.
bool HandleOptionsCommand(CMainFrame& frame, int command);
bool QueryOptionsCommand(CMainFrame& frame, int command, CCommandState& state);

// Runs the dialog; true when it was confirmed (and applied).
bool RunOptionsDialog(CMainFrame& frame);
// A confirmed dialog's settings into the frame, in this order: document
// tabs, visual style and the explorer's extensions (the user interface);
// everything else; the open editor views and the output bar; then the save
// of kibparam.xml.
void ApplyOptions(CMainFrame& frame, const CSettings& edited);
