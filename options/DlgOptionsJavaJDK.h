// "Java JDK": the applet viewer, the JDK documentation and the additional
// class path.
#pragma once

#include "options/OptionsPage.h"

class CSettings;

class CDlgOptionsJavaJDK : public COptionsPage {
public:
    static constexpr int kAppletViewerId = 1041, kAppletViewerBrowseId = 1044;
    static constexpr int kDocsId = 1045, kDocsBrowseId = 1029, kClassPathId = 1031;

    CDlgOptionsJavaJDK(wxWindow* parent, const COptionsContext& context, CSettings& settings);
};
