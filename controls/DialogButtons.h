// The standard buttons, German in every locale: the row at the foot of
// Kib's small dialogs (right-aligned "OK", the default, and "Abbrechen") and
// the buttons of message boxes ("Ja", "Nein", "Abbrechen", "OK").
#pragma once

class wxSizer;
class wxString;
class wxWindow;

// The row for dialog; add it to the dialog's sizer.
wxSizer* CreateOkCancelRow(wxWindow* dialog);

// A modal message box like wxMessageBox (style wxOK, wxOK | wxCANCEL, wxYES_NO
// or wxYES_NO | wxCANCEL, with an icon flag), whose buttons carry Kib's
// German labels instead of the toolkit's stock ones. Returns wxOK, wxYES,
// wxNO or wxCANCEL (also when the box is closed otherwise).
int ShowMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, long style);
