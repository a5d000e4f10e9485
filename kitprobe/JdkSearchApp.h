// The Kitprobe application object: runs the search flow once and ends.
#pragma once

#include <wx/app.h>

#include <memory>

class CJdkSearchFlow;
class CKitprobeDialogs;

class CJdkSearchApp : public wxApp {
public:
    CJdkSearchApp();
    ~CJdkSearchApp() override;

    bool OnInit() override;
    // The main loop's end, and 1 when the settings file was to be written
    // and was not.
    int OnRun() override;
    int OnExit() override;

private:
    int m_exitCode = 0;
    std::unique_ptr<CKitprobeDialogs> m_dialogs;
    std::unique_ptr<CJdkSearchFlow> m_flow;
};
