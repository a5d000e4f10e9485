// wx fonts from the stored font descriptions, and the screen's pixels per
// inch that the stored heights are measured in.
#pragma once

#include "settings/LogFont.h"

#include <wx/font.h>

// The screen's vertical logical pixels per inch.
int ScreenPixelsPerInch();

// A font for the description; a fixed-pitch family when the face is not
// installed (the font system substitutes names such as "Courier New").
wxFont FontFromLogFont(const CLogFont& lf, int ppi = ScreenPixelsPerInch());
