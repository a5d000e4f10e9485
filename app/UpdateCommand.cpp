#include "app/UpdateCommand.h"

#include "app/ShellOpen.h"
#include "app/UserDialogs.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "update/UpdateProgressDialog.h"
#include "update/WebUpdateChecker.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string ProgramPath()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// What the worker hands the user-interface thread: the steps reached and
// the end of the check.
struct CCheckState {
    std::mutex lock;
    std::vector<int> steps;
    std::atomic<bool> done{false};
    bool ok = false;
};

} // namespace

void CheckForNewVersion(wxWindow* owner, bool noDial, bool interactive)
{
    update::CWebUpdateChecker checker(update::UpdateUrl(), ProgramPath());
    CCheckState state;
    checker.SetProgressCallback([&state](int step) {
        std::lock_guard<std::mutex> hold(state.lock);
        state.steps.push_back(step);
    });
    bool ok = false;
    {
        wxBusyCursor wait;
        CUpdateProgressDialog progress(owner, checker.GetStepCount(), [&checker] { checker.Cancel(); });
        progress.Show();
        progress.Update();
        // Nothing but the progress window takes input while the check runs.
        wxWindowDisabler others(&progress);
        std::thread worker([&] {
            state.ok = checker.Check(noDial);
            state.done = true;
            wxWakeUpIdle();
        });
        wxGUIEventLoop loop;
        wxTimer poll;
        poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            std::vector<int> steps;
            {
                std::lock_guard<std::mutex> hold(state.lock);
                steps.swap(state.steps);
            }
            for (int step : steps)
                progress.OnStep(step);
            if (state.done)
                loop.Exit();
        });
        poll.Start(30);
        loop.Run();
        poll.Stop();
        worker.join();
        ok = state.ok;
        progress.Hide();
    }

    const wxString caption = kib::KibText(kib::IDS_UPDATE_CAPTION);
    if (!ok) {
        if (interactive)
            UserDialogs().MessageBox(owner, kib::KibText(kib::IDS_UPDATE_FAILED), caption, wxOK | wxICON_ERROR);
        return;
    }
    update::CVersionInfo info = checker.GetVersionInfo();
    if (checker.IsNewerVersion()) {
        wxString text = wxString::Format(kib::KibText(kib::IDS_UPDATE_NEWER), kib::DisplayPath(info.version),
                                         kib::DisplayPath(info.date), kib::DisplayPath(info.size));
        if (UserDialogs().MessageBox(owner, text, caption, wxYES_NO | wxICON_QUESTION) == wxYES &&
            update::IsWebPageAddress(info.info))
            ShellOpen(info.info);
    } else if (interactive) {
        UserDialogs().MessageBox(owner, kib::KibText(kib::IDS_UPDATE_NONE), caption, wxOK | wxICON_INFORMATION);
    }
}
