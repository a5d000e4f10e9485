// "Compiler": the compiler's path, its switches, the destination folder and
// saving before a compile.
#pragma once

#include "options/OptionsPage.h"

class CSettings;
class wxButton;
class wxCheckBox;
class wxRadioButton;
class wxTextCtrl;

class CDlgOptionsJavaCompiler : public COptionsPage {
public:
    static constexpr int kPathId = 1066, kPathBrowseId = 1067;
    static constexpr int kDebugId = 1069, kOptimizeId = 1070, kNoWarningsId = 1071, kStatusId = 1072,
                         kDeprecatedId = 1073;
    static constexpr int kDestinationCheckId = 1075, kDestinationId = 1076, kDestinationBrowseId = 1074;
    static constexpr int kAutoSaveId = 1096, kAllFilesId = 1094, kThisFileId = 1095;

    CDlgOptionsJavaCompiler(wxWindow* parent, const COptionsContext& context, CSettings& settings);

    // The destination controls follow their check box, the save choice
    // its check box.
    void UpdateControls();

private:
    wxCheckBox* m_destinationCheck = nullptr;
    wxTextCtrl* m_destination = nullptr;
    wxButton* m_destinationBrowse = nullptr;
    wxCheckBox* m_autoSave = nullptr;
    std::vector<wxRadioButton*> m_saveType;
};
