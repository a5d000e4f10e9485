// "Syntax Highlighting": colours and styles of the Java colour classes.
#pragma once

#include "options/DlgOptionsColorList.h"

class CDlgOptionsEditorSyntax : public CDlgOptionsColorList {
public:
    static constexpr int kForegroundId = 1056;

    CDlgOptionsEditorSyntax(wxWindow* parent, const COptionsContext& context, CSettings& settings);
};
