// What an editor view needs to compile and run: its process runner, the
// command mode with the error-output flag, the compile progress window, and
// the timer and posts that move the child's text from the queue into the
// output panes.
#pragma once

#include "toolchain/ChildConsole.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/WarmCompiler.h"
#include "toolchain/CommandMode.h"
#include "toolchain/ProcessRunner.h"
#include "toolchain/RunnerPaneQueue.h"

#include <wx/timer.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>
#include <string>
#include <string_view>
#include <vector>

class CKibView;
class CCompileProgressDialog;
class COutputPane;

class CKibViewTools {
public:
    // While text keeps coming it goes into the panes in batches this far
    // apart, so that input and painting get their turn in between; when a
    // reader waits for room, the next batch comes as soon as the events and
    // paints already waiting are served.
    static constexpr int kBatchIntervalMs = 10;

    explicit CKibViewTools(CKibView& view);
    ~CKibViewTools();
    CKibViewTools(const CKibViewTools&) = delete;
    CKibViewTools& operator=(const CKibViewTools&) = delete;

    void Compile(bool thenRun);
    void Run(const std::string& arguments);
    void RunWithArguments();
    void RunApplet();
    // The view closes: a child still running is ended; its text up to then
    // still reaches the pane, nothing comes afterwards.
    void Close();

    toolchain::CCommandMode& Mode() { return m_mode; }
    CProcessRunner& Runner() { return m_runner; }
    CCompileProgressDialog* Progress() const { return m_progress; }

    // Reader threads (and the start-failure text on this thread).
    void Deliver(std::string_view text, bool stdErr);
    // Watcher thread: posts the exit notice of the present mode.
    void ChildEnded(const ChildExit& exit);
    // Moves waiting text into its panes; all: everything, at once.
    void Flush(bool all);

private:
    class CBatchTimer : public wxTimer {
    public:
        explicit CBatchTimer(CKibViewTools& tools) : m_tools(tools) {}
        void Notify() override { m_tools.Flush(false); }

    private:
        CKibViewTools& m_tools;
    };

    void EndEarlierCommand();
    void StopRunner();
    // The warm compiler's attempt on a worker thread; the javac process when
    // it declines or fails.
    void StartWarmCompile(toolchain::CWarmCompiler& warm, const toolchain::CCompileCommand& command,
                          const toolchain::CChildConsole& console);
    void WarmCompileDeclined(uint64_t id, bool fault);
    void JoinWarmCompile();
    bool StartCaptured(const std::string& commandLine, const std::string& workDir,
                       const toolchain::CChildConsole& console);
    void ExitBuild(uint64_t startId);
    void ExitStart(uint64_t startId);
    void OpenProgress(const std::string& sourcePath);
    void CloseProgress();
    COutputPane* Pane(int which) const; // 0 compiler, 1 program

    CKibView& m_view;
    toolchain::CCommandMode m_mode;
    CProcessRunner m_runner;
    toolchain::CRunnerPaneQueue m_queue;
    CCompileProgressDialog* m_progress = nullptr;
    CBatchTimer m_timer{*this};

    // Exit ids of warm compiles, apart from the runner's start ids.
    static constexpr uint64_t kWarmIdBit = uint64_t(1) << 63;
    uint64_t m_warmSerial = 0;
    std::thread m_warmWorker;
    std::atomic<bool> m_warmDone{true};
    // The last compile, for the process when the warm compiler declines, and
    // for preparing the server afterwards.
    std::optional<toolchain::CCompileCommand> m_compileCommand;
    toolchain::CChildConsole m_compileConsole;
};
