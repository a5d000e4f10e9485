// "Outputfenster": the output bar's font.
#pragma once

#include "options/DlgOptionsFont.h"

class CDlgOptionsOutputFont : public CDlgOptionsFont {
public:
    CDlgOptionsOutputFont(wxWindow* parent, const COptionsContext& context, CLogFont& font);
};
