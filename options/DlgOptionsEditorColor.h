// "Farben": the colours of the editor window, the selection and the
// selection margin.
#pragma once

#include "options/DlgOptionsColorList.h"

class CDlgOptionsEditorColor : public CDlgOptionsColorList {
public:
    static constexpr int kForegroundId = 1052;

    CDlgOptionsEditorColor(wxWindow* parent, const COptionsContext& context, CSettings& settings);
};
