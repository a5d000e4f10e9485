// What the X server shows of a window: its pixels read back from the
// screen, not from the program's own buffers.
#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>

class wxWindow;

namespace kibtest {

// The area (in the window's client coordinates) as the server holds it now,
// without running the event loop; an invalid image when it cannot be read.
wxImage ScreenPixels(wxWindow* window, const wxRect& area);

// Whether the two images differ in any pixel (false when either is invalid).
bool PixelsDiffer(const wxImage& a, const wxImage& b);

} // namespace kibtest
