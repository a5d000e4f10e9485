// "Schriftart": the editor's font.
#pragma once

#include "options/DlgOptionsFont.h"

class CDlgOptionsEditorFont : public CDlgOptionsFont {
public:
    CDlgOptionsEditorFont(wxWindow* parent, const COptionsContext& context, CLogFont& font);
};
