// "Editor": tabs, reopening and reloading files, indentation, brace
// highlighting, line numbers, the splash screen and the column guide.
#pragma once

#include "options/OptionsPage.h"

class CSettings;
class wxCheckBox;
class wxSpinButton;
class wxStaticText;
class wxTextCtrl;

class CDlgOptionsEditor : public COptionsPage {
public:
    static constexpr int kTabsAsSpacesId = 1057, kShowTabsId = 1058, kTabWidthId = 1059, kTabWidthSpinId = 1061;
    static constexpr int kReopenId = 1063, kReloadId = 1064, kIndentId = 1077, kMatchBraceId = 1107;
    static constexpr int kLineNumbersId = 1062, kSplashId = 1065;
    static constexpr int kGuideId = 1097, kGuideAtId = 1098, kGuideColumnId = 1099, kGuideSpinId = 1100,
                         kGuideCharsId = 1101;

    CDlgOptionsEditor(wxWindow* parent, const COptionsContext& context, CSettings& settings);

    // The guide's column controls follow their check box.
    void UpdateControls();

private:
    wxCheckBox* m_guide = nullptr;
    wxStaticText* m_guideAt = nullptr;
    wxTextCtrl* m_guideColumn = nullptr;
    wxSpinButton* m_guideSpin = nullptr;
    wxStaticText* m_guideChars = nullptr;
};
