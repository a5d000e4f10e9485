// A window manager (openbox) on the test's display while the object lives.
// Without one, X leaves a window as it is when the program asks to maximise
// it, so maximising can only be tested with one running.
#pragma once

#include "gui/GuiTestMain.h"

#include <wx/frame.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace kibtest {

class WindowManagerScope {
public:
    WindowManagerScope()
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>("openbox"), const_cast<char*>("--sm-disable"), nullptr};
        if (posix_spawnp(&m_pid, "openbox", &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        m_ready = m_pid > 0 && Probe();
    }
    ~WindowManagerScope()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        PumpEvents(50);
    }
    WindowManagerScope(const WindowManagerScope&) = delete;
    WindowManagerScope& operator=(const WindowManagerScope&) = delete;

    // True once the manager maximises windows (a probe window was).
    bool Ready() const { return m_ready; }

private:
    static bool Probe()
    {
        auto* probe = new wxFrame(nullptr, wxID_ANY, "probe", wxPoint(10, 10), wxSize(300, 200));
        probe->Show();
        bool maximised = false;
        for (int attempt = 0; attempt < 20 && !maximised; ++attempt) {
            probe->Maximize();
            maximised = PumpUntil([probe] { return probe->IsMaximized(); }, 500);
        }
        probe->Destroy();
        PumpEvents(50);
        return maximised;
    }

    pid_t m_pid = -1;
    bool m_ready = false;
};

} // namespace kibtest
