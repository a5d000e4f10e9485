#include "app/KibApp.h"

#include "app/ChildFrame.h"
#include "app/FilePreload.h"
#include "app/FontWarmup.h"
#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/OpenFilesList.h"
#include "app/PrintJob.h"
#include "app/SplashScreen.h"
#include "app/UserDialogs.h"
#include "platform/MessageLanguage.h"
#include "platform/Path.h"
#include "platform/ProgramDir.h"
#include "platform/UserStore.h"
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "settings/Profile.h"

#include <wx/app.h>
#include <wx/event.h>
#include <wx/msgdlg.h>
#include <wx/translation.h>

#include <cstdio>

using namespace kib;

namespace {
CKibApp* g_app = nullptr;
constexpr char kWorkspaceSection[] = "Settings";

// The toolkit's own texts in German whatever the user's locale: GTK's through
// gettext, wxWidgets' from its own catalogue.
void UseGermanToolkitTexts()
{
    platform::UseGermanMessages();
    if (!wxTranslations::Get()) {
        auto* translations = new wxTranslations;
        translations->SetLanguage(wxLANGUAGE_GERMAN);
        translations->AddStdCatalog();
        wxTranslations::Set(translations);
    }
}
} // namespace

CKibApp::CKibApp()
{
    g_app = this;
}

CKibApp::~CKibApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CKibApp* CKibApp::Instance()
{
    return g_app;
}

bool CKibApp::InitInstance(const std::vector<std::string>& args)
{
    // What was read ahead for the command line's file is not kept past the
    // start, whether or not the file was opened.
    struct DropPreload {
        ~DropPreload() { CFilePreload::Instance().Drop(); }
    } dropPreload;
    const CFontWarmup fonts;
    UseGermanToolkitTexts();
    // 1. The program directory, from the program path.
    m_appDir = platform::ProgramDirectory(args.empty() ? nullptr : args[0].c_str());
    // 2./3. The three keys start-up needs before any window exists.
    m_startup = ReadStartupSettings(platform::JoinPath(m_appDir, "kibparam.xml"));
    // 4. The command line; the splash unless started embedded or automated.
    m_cmdInfo = CCommandLineInfo();
    m_cmdInfo.Parse(std::vector<std::string>(args.empty() ? args.begin() : args.begin() + 1, args.end()));
    CSplashScreen::EnableSplashScreen(m_startup.showSplash != 0 && m_cmdInfo.m_showSplash);
    // 7. The per-user store ("registry") and the recent-file list.
    platform::CUserStore::Instance().SetFile(platform::CUserStore::DefaultFile());
    m_docs.RecentFiles().ReadList();
    // 10. The main frame: settings, menus, bars, splash.
    auto* frame = new CMainFrame(this, m_appDir);
    m_mainFrame = frame;
    m_docs.SetMainFrame(frame);
    if (!frame->CreateFrame()) {
        frame->Destroy();
        return false;
    }
    // 11. The main window; dropped files are accepted by the frame itself.
    if (wxTheApp)
        wxTheApp->SetTopWindow(frame);
    // 12. A file named on the command line.
    if (!m_cmdInfo.m_fileName.empty() && m_cmdInfo.m_shellCommand != CCommandLineInfo::AppUnregister) {
        bool print = m_cmdInfo.m_shellCommand == CCommandLineInfo::FilePrint ||
                     m_cmdInfo.m_shellCommand == CCommandLineInfo::FilePrintTo;
        bool dde = m_cmdInfo.m_shellCommand == CCommandLineInfo::FileDDE;
        if (!dde) {
            CKibDoc* doc = m_docs.OpenDocumentFile(m_cmdInfo.m_fileName);
            if (!doc) {
                m_mainFrame->Destroy();
                return false;
            }
            if (print) {
                // Print and end, as the shell's print command expects. No
                // window is shown, so what happened goes to standard error.
                wxString message;
                CKibView* view = doc->GetFirstView();
                bool printed = view && printjob::PrintDirect(*view, wxString::FromUTF8(doc->GetTitle()),
                                                             doc->GetPathName(), m_cmdInfo.m_printerName, message);
                std::fprintf(stderr, "Kib: %s\n", message.utf8_string().c_str());
                m_printExitCode = printed ? 0 : 1;
                m_docs.CloseAllDocuments();
                frame->Destroy();
                return false;
            }
        }
    }
    // 13. The document-tab location.
    LoadCustomState();
    frame->EnableDocumentTabs(frame->Settings().m_editorTabs != 0, m_mdiTabLocation);
    // 14. Show the main window.
    frame->Show();
    frame->Update();
    // 15. The previous run's documents.
    if (m_startup.reopenFiles == 1)
        ReopenPreviousFiles();
    frame->UpdateMenuBar();
    return true;
}

void CKibApp::ReopenPreviousFiles()
{
    std::vector<std::string> stored = ReadOpenFilesList(platform::JoinPath(m_appDir, "kibfiles.xml"));
    size_t listed = stored.size();
    m_reopen.Start(std::move(stored), [listed](int failures, size_t heldBack) {
        if (failures > 0)
            UserDialogs().MessageBox(nullptr, KibText(IDS_MSG_REOPEN_FAILED), KibText(IDS_MSGBOX_CAPTION),
                                     wxOK | wxICON_EXCLAMATION);
        if (heldBack > 0)
            UserDialogs().MessageBox(nullptr,
                                     wxString::Format(KibText(IDS_MSG_REOPEN_BOUNDED), static_cast<int>(listed),
                                                      static_cast<int>(listed - heldBack),
                                                      static_cast<int>(heldBack)),
                                     KibText(IDS_MSGBOX_CAPTION), wxOK | wxICON_INFORMATION);
    });
}

int CKibApp::ExitInstance()
{
    m_docs.RecentFiles().WriteList();
    return 0;
}

bool CKibApp::PreTranslateMessage(wxEvent& event)
{
    return CSplashScreen::PreTranslateAppMessage(event);
}

void CKibApp::LoadCustomState()
{
    m_mdiTabLocation = profile::GetProfileInt(kWorkspaceSection, "MDITabLocation", 0);
}

void CKibApp::SaveCustomState() const
{
    profile::WriteProfileInt(kWorkspaceSection, "MDITabLocation", m_mdiTabLocation);
}

void CKibApp::OnFileOpen()
{
    wxArrayString paths;
    if (!UserDialogs().OpenFiles(m_mainFrame, KibText(IDS_OPEN_FILTER), paths))
        return;
    for (const wxString& p : paths)
        m_docs.OpenDocumentFile(p.utf8_string());
}

void CKibApp::OpenRecentFile(int command)
{
    size_t index = static_cast<size_t>(command - ID_FILE_MRU_FILE1);
    auto& recent = m_docs.RecentFiles();
    if (index < recent.Entries().size()) {
        std::string path = recent.Entries()[index];
        if (!m_docs.OpenDocumentFile(path))
            recent.Remove(index); // gone: the framework drops it from the list
    }
}

const CKibApp::Commands& CKibApp::CommandTable()
{
    using Row = Commands::Row;
    static const Commands table = {
        {ID_FILE_NEW, [](CKibApp& a, int) { a.m_docs.NewDocument(); }, Row::Always},
        {ID_FILE_OPEN, [](CKibApp& a, int) { a.OnFileOpen(); }, Row::Always},
        {ID_FILE_PRINT_SETUP,
         [](CKibApp& a, int) {
             printjob::PrintSetup setup = printjob::CurrentSetup();
             if (UserDialogs().PrinterSetup(a.m_mainFrame, setup))
                 printjob::CurrentSetup() = setup;
         },
         Row::Always},
        {ID_FILE_CLOSE_ALL, [](CKibApp& a, int) { a.m_docs.CloseAllDocuments(); }, Row::Always},
        {ID_APP_ABOUT, [](CKibApp& a, int) { UserDialogs().About(a.m_mainFrame); }, Row::Always},
        {ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, [](CKibApp& a, int c) { a.OpenRecentFile(c); },
         [](CKibApp& a, int c) {
             return static_cast<size_t>(c - ID_FILE_MRU_FILE1) < a.m_docs.RecentFiles().Entries().size();
         }},
    };
    return table;
}

bool CKibApp::HandleCommand(int command)
{
    return CommandTable().Handle(*this, command);
}

bool CKibApp::QueryCommand(int command, CCommandState& state)
{
    return CommandTable().Query(*this, command, state);
}
