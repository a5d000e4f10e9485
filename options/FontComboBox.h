// The font-name box of the font pages: every installed fixed-pitch face
// once, sorted, each marked as a scalable font (this platform's fonts are
// outlines; the mark is the one raster fonts would lack).
#pragma once

#include "controls/SimpleComboBox.h"

class CFontComboBox : public CSimpleComboBox {
public:
    CFontComboBox(wxWindow* parent, wxWindowID id);

    // Fills the list from the font system.
    void FillFixedPitchFaces();
};
