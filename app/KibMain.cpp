// main() of Kib: the wx application hands start-up, the event filter and
// exit to CKibApp.
#include "app/KibApp.h"

#include <wx/app.h>
#include <wx/log.h>

#include <memory>

namespace {

class CKibWxApp : public wxApp {
public:
    bool OnInit() override
    {
        // No wx command-line parsing: Kib's own flags start with "/".
        m_kib = std::make_unique<CKibApp>();
        std::vector<std::string> args;
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i].utf8_string());
        return m_kib->InitInstance(args);
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
};

} // namespace

wxIMPLEMENT_APP(CKibWxApp);
