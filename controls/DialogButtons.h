// The row of buttons at the foot of Kib's small dialogs: right-aligned "OK"
// (the default button) and "Abbrechen".
#pragma once

class wxSizer;
class wxWindow;

// The row for dialog; add it to the dialog's sizer.
wxSizer* CreateOkCancelRow(wxWindow* dialog);
