// "Interpreter": the interpreter's path, capturing the program's output
// and stopping after the run.
#pragma once

#include "options/OptionsPage.h"

class CSettings;
class wxCheckBox;

class CDlgOptionsJavaInterpreter : public COptionsPage {
public:
    static constexpr int kPathId = 1049, kPathBrowseId = 1050, kCaptureId = 1126, kStopId = 1028;

    CDlgOptionsJavaInterpreter(wxWindow* parent, const COptionsContext& context, CSettings& settings);

    // "Nach Ausführen anhalten" only while the output is not captured.
    void UpdateControls();

private:
    wxCheckBox* m_capture = nullptr;
    wxCheckBox* m_stop = nullptr;
};
