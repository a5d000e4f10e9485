// Kitprobe from start to end, on the UI thread: the question, the progress
// window while a worker thread walks the drives, the result dialog and the
// update of the settings file. The worker never touches a window: it leaves
// the folder it is in for a UI timer to show and reports its end with
// CallAfter.
#pragma once

#include "kitprobe/JdkFinds.h"
#include "kitprobe/JdkParamWriter.h"
#include "kitprobe/JdkWalker.h"

#include <wx/timer.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class CSearchProgressDlg;
class IKitprobeDialogs;

class CJdkSearchFlow {
public:
    using Search = std::function<CJdkFinds(const CJdkWalker::Progress& progress)>;

    enum EOutcome {
        RUNNING,
        DECLINED,     // "&Nein": nothing searched, nothing written
        CANCELLED,    // "Abbrechen" in the result dialog: nothing written
        WRITTEN,
        WRITE_FAILED, // the file could not be written
        UNREADABLE,   // the file exists but could not be read: left alone
        REFUSED,      // it is no settings file to replace: left alone
    };

    static constexpr int kRefreshMs = 50;

    // search runs on the worker thread; by default the drives of this machine.
    CJdkSearchFlow(IKitprobeDialogs& dialogs, std::string paramFile, Search search = {});
    ~CJdkSearchFlow();
    CJdkSearchFlow(const CJdkSearchFlow&) = delete;
    CJdkSearchFlow& operator=(const CJdkSearchFlow&) = delete;

    // Asks and, on "&Ja", starts the search; onDone runs when all is over.
    void Start(std::function<void()> onDone);

    EOutcome Outcome() const { return m_outcome; }
    // Whether the program ends in failure: the settings file was to be
    // written and was not.
    bool Failed() const { return m_outcome == WRITE_FAILED || m_outcome == UNREADABLE || m_outcome == REFUSED; }
    bool Searching() const { return m_worker.joinable(); }
    CSearchProgressDlg* ProgressWindow() const { return m_progress; }
    const CJdkFinds& Finds() const { return m_finds; }

private:
    void OnTick(wxTimerEvent& event);
    void OnSearchDone();
    void Finish(EOutcome outcome);

    IKitprobeDialogs& m_dialogs;
    std::string m_paramFile;
    Search m_search;
    std::function<void()> m_onDone;
    EOutcome m_outcome = RUNNING;

    CSearchProgressDlg* m_progress = nullptr;
    wxTimer m_timer;
    std::thread m_worker;
    CJdkFinds m_finds;          // the worker's, read once it has been joined
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);

    std::mutex m_folderMutex;   // guards the two below
    std::string m_folder;
    bool m_folderChanged = false;
};
