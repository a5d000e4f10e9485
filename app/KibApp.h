// The application object: program directory, the start-up and shut-down
// order, the command line, the splash screen, and the commands it handles
// itself (New, Open, printer set-up, Close all, About, recent files).
#pragma once

#include "app/CommandLineInfo.h"
#include "app/CommandTarget.h"
#include "app/DocManager.h"
#include "app/ReopenQueue.h"
#include "settings/Settings.h"

#include <string>
#include <vector>

class CMainFrame;
class wxEvent;

class CKibApp : public CCommandTarget {
public:
    CKibApp();
    ~CKibApp() override;

    // The one application object of the run (null before construction).
    static CKibApp* Instance();

    // Start-up; false ends the program at once. args[0] is the program path.
    bool InitInstance(const std::vector<std::string>& args);
    // After the message loop: saves the recent-file list.
    int ExitInstance();

    // Offered every event before it is dispatched: the splash screen takes
    // clicks and keys while it is shown. True when consumed.
    bool PreTranslateMessage(wxEvent& event);

    const std::string& AppDirectory() const { return m_appDir; }
    CDocManager& Docs() { return m_docs; }
    CMainFrame* MainFrame() const { return m_mainFrame; }
    const CCommandLineInfo& CommandLine() const { return m_cmdInfo; }
    // After a print run from the command line (/p, /pt): 0 when the text was
    // printed, 1 when not; -1 for every other start.
    int PrintExitCode() const { return m_printExitCode; }
    const CStartupSettings& StartupSettings() const { return m_startup; }

    // 0 = document tabs at the bottom, 1 = at the top ("MDITabLocation").
    int MdiTabLocation() const { return m_mdiTabLocation; }
    void SetMdiTabLocation(int location) { m_mdiTabLocation = location; }
    void LoadCustomState();
    void SaveCustomState() const;

    // Reopens the documents listed in kibfiles.xml: the first at once, the
    // rest in idle time; one message after the whole list names failures.
    void ReopenPreviousFiles();
    // True while stored documents are still waiting to be reopened.
    bool IsReopening() const { return m_reopen.Running(); }
    // The stored paths not reopened yet, in their order.
    std::vector<std::string> PendingReopenFiles() const { return m_reopen.Pending(); }
    // The stored paths beyond the number reopened at all; written out again.
    const std::vector<std::string>& HeldBackReopenFiles() const { return m_reopen.HeldBack(); }
    // The main frame closes: nothing more is reopened.
    void StopReopening() { m_reopen.Stop(); }
    // Called when the main frame goes away.
    void OnMainFrameDestroyed()
    {
        m_reopen.Stop();
        m_mainFrame = nullptr;
        m_docs.SetMainFrame(nullptr);
    }

    // The open dialog (Open command).
    void OnFileOpen();

    // Id, action and enabling rule of each command, row by row.
    using Commands = CCommandTable<CKibApp>;
    static const Commands& CommandTable();
    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;

private:
    // The recent-file entry of command; one that cannot be opened leaves the list.
    void OpenRecentFile(int command);

    std::string m_appDir;
    CStartupSettings m_startup;
    CCommandLineInfo m_cmdInfo;
    int m_printExitCode = -1;
    CDocManager m_docs;
    CMainFrame* m_mainFrame = nullptr;
    int m_mdiTabLocation = 0;
    CReopenQueue m_reopen{*this};
};
