// "Benutzeroberfläche": the visual style, document tabs, maximised windows
// and the explorer's file-name extensions.
#pragma once

#include "options/OptionsPage.h"

class CSettings;

class CDlgOptionsGUI : public COptionsPage {
public:
    static constexpr int kOfficeXpId = 1128, kBuntId = 1030, kMacId = 1046, kWindowsId = 1087;
    static constexpr int kTabsId = 1048, kMaximizedId = 1125, kMaskId = 1103;

    CDlgOptionsGUI(wxWindow* parent, const COptionsContext& context, CSettings& settings);

private:
    std::string m_mask; // the extensions joined, as the field edits them
};
