// The settings the options dialog edits, and how a confirmed dialog's copy
// goes into the frame's settings: automatic indentation, the user tools and
// the start files are edited elsewhere and stay as they are.
#pragma once

class CSettings;

void CopyEditedSettings(const CSettings& edited, CSettings& target);
