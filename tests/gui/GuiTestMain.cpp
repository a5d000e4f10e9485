// main() of every GUI test executable. Answers --gtest_list_tests without a
// display; otherwise starts wx, turns asserts into test failures and sends
// log output to stderr so that no modal dialog can block a headless run.
#include "gui/GuiTestMain.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

class CTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

void AssertHandler(const wxString& file, int line, const wxString& func, const wxString& cond,
                   const wxString& msg)
{
    ADD_FAILURE() << "wx assert at " << file.utf8_string() << ":" << line << " in "
                  << func.utf8_string() << ": " << cond.utf8_string() << " " << msg.utf8_string();
}

} // namespace

namespace kibtest {

void PumpEvents(int ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        if (loop) {
            while (loop->Pending())
                loop->Dispatch();
            loop->ProcessIdle();
        } else if (wxTheApp) {
            wxTheApp->ProcessPendingEvents();
        }
        wxYield();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < end);
}

bool PumpUntil(const std::function<bool()>& pred, int timeoutMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= end)
            return pred();
        PumpEvents(10);
    }
    return true;
}

void SaveScreenIfAsked(const std::string& name)
{
    const char* out = std::getenv("KIB_SCREENSHOT_DIR");
    if (!out || !*out)
        return;
    const std::string cmd = std::string("import -window root '") + out + "/" + name + ".png'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

} // namespace kibtest

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return RUN_ALL_TESTS();

    wxApp::SetInstance(new CTestApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot initialise wxWidgets (no display?)\n");
        return 2;
    }
    wxSetAssertHandler(AssertHandler);
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxTheApp->CallOnInit();
    // A running event loop makes Pending()/Dispatch() and CallAfter work.
    wxEventLoop loop;
    wxEventLoopBase::SetActive(&loop);
    int rc = RUN_ALL_TESTS();
    wxEventLoopBase::SetActive(nullptr);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
