#include "kitprobe/JdkSearchApp.h"

#include "kitprobe/JdkSearchFlow.h"
#include "kitprobe/KitprobeDialogs.h"
#include "platform/MessageLanguage.h"

#include <wx/log.h>

#include <sys/resource.h>

#include <cstdio>

namespace {

// An assert must never open a dialog that nobody can answer.
void AssertToStderr(const wxString& file, int line, const wxString& func, const wxString& cond,
                    const wxString& msg)
{
    std::fprintf(stderr, "kitprobe: assert at %s:%d in %s: %s %s\n", file.utf8_str().data(), line,
                 func.utf8_str().data(), cond.utf8_str().data(), msg.utf8_str().data());
}

// The walk keeps one descriptor open per folder level; allow deep trees.
void RaiseOpenFileLimit()
{
    rlimit lim{};
    if (getrlimit(RLIMIT_NOFILE, &lim) == 0 && lim.rlim_cur < lim.rlim_max) {
        lim.rlim_cur = lim.rlim_max;
        setrlimit(RLIMIT_NOFILE, &lim);
    }
}

} // namespace

CJdkSearchApp::CJdkSearchApp() = default;
CJdkSearchApp::~CJdkSearchApp() = default;

bool CJdkSearchApp::OnInit()
{
    wxSetAssertHandler(AssertToStderr);
    delete wxLog::SetActiveTarget(new wxLogStderr);
    SetAppName("Kitprobe");
    // The windows come and go one after another; the flow says when to end.
    SetExitOnFrameDelete(false);
    RaiseOpenFileLimit();
    // GTK's own texts (the edit fields' menus) in German as well.
    platform::UseGermanMessages();

    m_dialogs = std::make_unique<CKitprobeDialogs>();
    // kibparam.xml in the current directory, which is Kib's program folder.
    m_flow = std::make_unique<CJdkSearchFlow>(*m_dialogs, "kibparam.xml");
    CallAfter([this] {
        m_flow->Start([this] {
            m_exitCode = m_flow->Failed() ? 1 : 0;
            ExitMainLoop();
        });
    });
    return true;
}

int CJdkSearchApp::OnRun()
{
    int code = wxApp::OnRun();
    return code != 0 ? code : m_exitCode;
}

int CJdkSearchApp::OnExit()
{
    m_flow.reset();
    return wxApp::OnExit();
}
