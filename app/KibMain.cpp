// main() of Kib: the wx application hands start-up, the event filter and
// exit to CKibApp.
#include "app/CommandLineInfo.h"
#include "app/FilePreload.h"
#include "app/KibApp.h"

#include <wx/app.h>
#include <wx/log.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class CKibWxApp : public wxApp {
public:
    bool Initialize(int& argc, wxChar** argv) override
    {
        // The file to open is read while the toolkit starts, on another core.
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i)
            args.push_back(wxString(argv[i]).utf8_string());
        CCommandLineInfo info;
        info.Parse(args);
        if (info.m_shellCommand != CCommandLineInfo::FileDDE && info.m_shellCommand != CCommandLineInfo::AppUnregister)
            CFilePreload::Instance().Start(info.m_fileName);
        return wxApp::Initialize(argc, argv);
    }

    bool OnInit() override
    {
        // No wx command-line parsing: Kib's own flags start with "/".
        m_kib = std::make_unique<CKibApp>();
        std::vector<std::string> args;
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i].utf8_string());
        const bool ok = m_kib->InitInstance(args);
        // A print run ends here with its own exit code, not as a failed start.
        if (!ok && m_kib->PrintExitCode() >= 0) {
            m_exitCode = m_kib->PrintExitCode();
            return true;
        }
        return ok;
    }

    int OnRun() override
    {
        if (m_exitCode >= 0) {
            // The main frame, destroyed by the print run, goes while the
            // application object it reaches into still exists.
            DeletePendingObjects();
            return m_exitCode;
        }
        return wxApp::OnRun();
    }

    int FilterEvent(wxEvent& event) override
    {
        if (m_kib && m_kib->PreTranslateMessage(event))
            return Event_Processed;
        return Event_Skip;
    }

    int OnExit() override
    {
        if (m_kib)
            m_kib->ExitInstance();
        m_kib.reset();
        return wxApp::OnExit();
    }

private:
    std::unique_ptr<CKibApp> m_kib;
    int m_exitCode = -1;
};

} // namespace

wxIMPLEMENT_APP(CKibWxApp);
