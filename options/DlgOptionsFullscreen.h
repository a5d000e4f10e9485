// "Fullscreen": which bars stay visible in full-screen mode.
#pragma once

#include "options/OptionsPage.h"

class CSettings;

class CDlgOptionsFullscreen : public COptionsPage {
public:
    static constexpr int kMenuId = 1128, kToolbarId = 1129, kOutputId = 1130, kStatusId = 1131,
                         kWorkspaceId = 1132;

    CDlgOptionsFullscreen(wxWindow* parent, const COptionsContext& context, CSettings& settings);
};
