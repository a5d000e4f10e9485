// Kib started in-process for the compile and run benchmarks: a program
// folder of its own with the settings given, the real main loop run until a
// condition holds, and the longest time that loop was kept from turning.
#pragma once

#include "WxStart.h"
#include "app/KibApp.h"
#include "app/MainFrame.h"
#include "settings/ParamFile.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/timer.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kibbench {

inline bool StartWx(int argc, char** argv)
{
    if (!StartBenchWx(argc, argv))
        return false;
    wxTheApp->SetExitOnFrameDelete(false);
    return true;
}

struct LoopResult {
    double seconds = 0;
    double worstGapMs = 0; // longest time between two 5 ms ticks
    bool done = false;
};

// Runs the real event loop until done() holds. With tickMs a timer ticks at
// that period and the longest gap between ticks is the stall; without, done()
// is checked whenever the loop goes idle, so that the measurement adds no
// work of its own (a fast ticker costs the user-interface thread CPU time
// that the child would otherwise have).
inline LoopResult RunLoopUntil(const std::function<bool()>& done, double timeoutSeconds, int tickMs = 5)
{
    using clock = std::chrono::steady_clock;
    LoopResult r;
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    auto start = clock::now();
    auto last = start;
    auto check = [&] {
        auto now = clock::now();
        r.done = done();
        if (r.done || std::chrono::duration<double>(now - start).count() > timeoutSeconds) {
            r.seconds = std::chrono::duration<double>(now - start).count();
            loop.Exit();
        }
    };
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        auto now = clock::now();
        if (tickMs > 0)
            r.worstGapMs = std::max(r.worstGapMs, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
        check();
    });
    auto onIdle = [&](wxIdleEvent& e) {
        e.Skip();
        if (loop.IsRunning() && !r.done)
            check();
    };
    if (tickMs <= 0)
        wxTheApp->Bind(wxEVT_IDLE, onIdle);
    timer.Start(tickMs > 0 ? tickMs : 250);
    loop.Run();
    timer.Stop();
    if (tickMs <= 0)
        wxTheApp->Unbind(wxEVT_IDLE, onIdle);
    return r;
}

inline void Pump(double seconds)
{
    RunLoopUntil([] { return false; }, seconds, 20);
}

// Kib on a program folder of its own.
class CKib {
public:
    explicit CKib(const std::map<std::string, std::string>& params)
    {
        char tmpl[] = "/tmp/kibbenchXXXXXX";
        dir = std::string(mkdtemp(tmpl)) + "/";
        setenv("XDG_CONFIG_HOME", (dir + "cfg").c_str(), 1);
        CParamFile file;
        file.SetString("KIBPARAMS:GUI:STARTUP:SHOWSPLASH", "0");
        file.SetString("KIBPARAMS:GUI:STARTUP:REOPENFILES", "0");
        for (const auto& [key, value] : params)
            file.SetString(key, value);
        file.Save(dir + "kibparam.xml");
        app = std::make_unique<CKibApp>();
        ok = app->InitInstance({dir + "kib"});
        if (ok)
            app->MainFrame()->SetSize(wxSize(1100, 800));
        Pump(0.3);
    }

    ~CKib()
    {
        if (app && app->MainFrame()) {
            app->Docs().CloseAllDocuments();
            app->MainFrame()->Destroy();
            RunLoopUntil([] { return CMainFrame::Instance() == nullptr; }, 5);
        }
        if (app)
            app->ExitInstance();
        app.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    CMainFrame* Frame() const { return CMainFrame::Instance(); }

    std::string dir;
    std::unique_ptr<CKibApp> app;
    bool ok = false;
};

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace kibbench
