// Kitprobe's own artwork, drawn in code: the program icon (a folder under a
// magnifying glass) and the frames of the search animation (the glass
// circling over the folder).
#pragma once

#include <wx/iconbndl.h>

class wxGraphicsContext;

namespace kitprobe {

wxIconBundle ProgramIcons();

// Draws frame (0 … frames-1) of the animation into a w × h area.
void DrawSearchFrame(wxGraphicsContext& gc, double w, double h, int frame, int frames);

} // namespace kitprobe
