// Starts wxWidgets for a benchmark that pumps its own events instead of
// running the main loop.
#pragma once

#include <wx/app.h>
#include <wx/log.h>

#include <cstdio>

namespace kibbench {

class CBenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// False, after saying so, when there is no display.
inline bool StartBenchWx(int& argc, char** argv)
{
    wxApp::SetInstance(new CBenchApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "cannot start wxWidgets (no display? run under xvfb-run -a)\n");
        return false;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxTheApp->CallOnInit();
    return true;
}

} // namespace kibbench
