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
    int OnExit() override;

private:
    std::unique_ptr<CKitprobeDialogs> m_dialogs;
    std::unique_ptr<CJdkSearchFlow> m_flow;
};
