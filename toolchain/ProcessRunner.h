// Runs one console program with captured output: the command line is split
// into argv and started without a shell, its standard output and error are
// read on two threads in chunks of 256 bytes, a third thread notices its end.
// The owner gets everything through IProcessEvents.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How a child ended.
struct ChildExit {
    uint64_t startId = 0;  // the StartId() of the start this belongs to
    bool stopped = false;  // StopChild (or a new start) ended it, not the child itself
    bool exited = false;   // it called exit: exitCode is valid
    int exitCode = -1;
    int signal = 0;        // it was killed by this signal
    bool abandoned = false; // it survived SIGKILL within the bounded wait and was left behind
};

// The owner of a runner. Threads: OnChildStarted and the start-failure text
// come on the thread that called StartChild; the other text comes on the two
// reader threads (stdout and stderr chunks may interleave in any order);
// OnChildTerminate comes on the watcher thread, exactly once per successful
// start and after every text callback of that start has returned. Callbacks
// must not block on the thread that calls StopChild (a window hands the text
// on with CallAfter) and must not call StartChild or StopChild.
class IProcessEvents {
public:
    virtual void OnChildStarted(const std::string& commandLine) {}
    // A chunk of at most 256 bytes; text.data()[text.size()] is a NUL.
    virtual void OnChildStdOut(std::string_view text) = 0;
    virtual void OnChildStdErr(std::string_view text) = 0;
    virtual void OnChildTerminate(const ChildExit& exit) {}

protected:
    ~IProcessEvents() = default;
};

class CProcessRunner {
public:
    static constexpr size_t kChunkSize = 256;
    // Bytes one read of a pipe may take: a pipe's usual capacity, so that a
    // reader that fell behind catches up in one call.
    static constexpr size_t kReadSize = 64 * 1024;

    explicit CProcessRunner(IProcessEvents& events);
    // Stops a running child. An owner whose callbacks use its own members
    // calls StopChild before those members go away.
    ~CProcessRunner();
    CProcessRunner(const CProcessRunner&) = delete;
    CProcessRunner& operator=(const CProcessRunner&) = delete;

    // Starts the command line (split with platform::SplitCommandLine, argv[0]
    // looked up in PATH when it has no slash) in workDir with the environment
    // entries ("NAME=value"). The child's standard input is a pipe nobody
    // writes to. A runner that still holds an earlier child stops it first
    // (its OnChildTerminate comes with stopped set). On failure the text
    // "Unable to start <command line>\n" goes to OnChildStdOut, nothing stays
    // open, and false is returned.
    bool StartChild(const std::string& commandLine, const std::string& workDir,
                    const std::vector<std::string>& environment);

    // Ends the child if it still runs, and whatever it left in its process
    // group also after the child itself has ended (SIGTERM to the group, then
    // SIGKILL after the grace time; every wait is bounded), lets the readers
    // deliver what the child wrote before it ended, joins the threads,
    // reaps the child and closes every descriptor. Returns at once when
    // nothing was started.
    void StopChild();

    // True while the child of the last start has not ended.
    bool IsChildRunning() const;
    // True from a successful start until StopChild, also after the child ended.
    bool HoldsChild() const;

    // Serial number of the last successful start (0 before the first). An
    // exit handler on another thread compares it with ChildExit::startId, so a
    // late notice of an earlier child is not taken for the current one.
    uint64_t StartId() const { return m_startId; }
    // errno of the last failed start, 0 after a successful one.
    int LastStartError() const { return m_lastError; }
    // Process id of the child held, or -1.
    int ChildPid() const;

    // Grace after SIGTERM before SIGKILL, and the wait after SIGKILL.
    void SetStopTimeouts(std::chrono::milliseconds term, std::chrono::milliseconds kill);
    // How long the readers wait for more output after the child ended while a
    // process it left behind keeps the pipes open.
    void SetDrainQuietTime(std::chrono::milliseconds quiet);

private:
    struct Session;
    void ReaderLoop(Session& s, bool stdErr);
    void WatcherLoop(Session& s);
    bool OnOwnThread() const;
    void ReapAbandoned();
    using Clock = std::chrono::steady_clock;
    void EndGroup(Session& s, std::optional<Clock::time_point> termSent);

    IProcessEvents& m_events;
    std::unique_ptr<Session> m_session;
    uint64_t m_startId = 0;
    int m_lastError = 0;
    std::chrono::milliseconds m_termGrace{2000};
    std::chrono::milliseconds m_killWait{5000};
    std::chrono::milliseconds m_quiet{250};
    std::vector<int> m_abandoned; // pids that outlived SIGKILL, reaped when they finally end
};
