#include "toolchain/ProcessRunner.h"

#include "platform/CommandLine.h"
#include "platform/Process.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The runner whose worker thread this is, so that a callback cannot stop or
// restart its own runner (which would join the calling thread).
thread_local const CProcessRunner* t_runner = nullptr;

// After a stop, what a reader still takes from its pipe at most.
constexpr size_t kMaxDrainAfterStop = 4 << 20;
// After the child's end, how long a reader keeps up with a pipe that a
// process left behind by the child keeps writing to.
constexpr auto kMaxDrainAfterEnd = std::chrono::seconds(2);

void CloseFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

void Signal(int eventFd)
{
    uint64_t one = 1;
    while (write(eventFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

// Moves a descriptor above the standard handles, so that the child's
// dup2 onto 0, 1, 2 never meets itself.
bool KeepAboveStdHandles(int& fd)
{
    if (fd > 2)
        return true;
    int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    close(fd);
    fd = moved;
    return moved >= 0;
}

bool MakePipe(int ends[2])
{
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    if (!KeepAboveStdHandles(ends[0]) || !KeepAboveStdHandles(ends[1])) {
        CloseFd(ends[0]);
        CloseFd(ends[1]);
        return false;
    }
    return true;
}

} // namespace

struct CProcessRunner::Session {
    uint64_t id = 0;
    pid_t pid = -1;
    int pidfd = -1;
    int stdinWrite = -1; // kept open and never written: the child's input never ends
    int stdoutRead = -1;
    int stderrRead = -1;
    int stopFd = -1;  // readers: take what is left and finish
    int endFd = -1;   // readers: the child has ended, drain the pipe
    int abortFd = -1; // watcher: stop waiting for a child that does not die
    std::chrono::milliseconds quiet{250};

    std::mutex m;
    std::condition_variable cv;
    bool go = false;     // every thread exists: start working
    bool cancel = false; // the start failed after the spawn: leave at once
    // The child has ended. It is not reaped until the stop: while it stays
    // a zombie its pid, which is its group's id, cannot be given to another
    // process, so the group can still be signalled safely.
    bool ended = false;
    bool held = true; // false once reaped (or reaped by somebody else)
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
    int readersDone = 0;
    bool abandoned = false;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> readersStop{false};

    std::thread out, err, watcher;

    ~Session()
    {
        for (int* fd : {&pidfd, &stdinWrite, &stdoutRead, &stderrRead, &stopFd, &endFd, &abortFd})
            CloseFd(*fd);
    }

    // Waits for the start gate; false when the start was cancelled.
    bool WaitForGo()
    {
        std::unique_lock lock(m);
        cv.wait(lock, [this] { return go || cancel; });
        return !cancel;
    }

    void ReaderDone()
    {
        std::lock_guard lock(m);
        ++readersDone;
        cv.notify_all();
    }

    // Only while the child is not reaped, so that its group id cannot
    // belong to anybody else.
    void SignalGroup(int sig)
    {
        if (held && kill(-pid, sig) != 0)
            kill(pid, sig);
    }

    // The watcher saw the child end: its status, read without reaping it.
    void MarkEnded(bool known, const siginfo_t& info)
    {
        std::lock_guard lock(m);
        ended = true;
        held = known; // ECHILD: reaped elsewhere, the group id may be free again
        if (known && info.si_code == CLD_EXITED) {
            exited = true;
            exitCode = info.si_status;
        } else if (known && (info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED)) {
            signal = info.si_status;
        }
        cv.notify_all();
    }
};

CProcessRunner::CProcessRunner(IProcessEvents& events) : m_events(events) {}

CProcessRunner::~CProcessRunner()
{
    StopChild();
    ReapAbandoned();
}

bool CProcessRunner::OnOwnThread() const
{
    return t_runner == this;
}

void CProcessRunner::SetStopTimeouts(std::chrono::milliseconds term, std::chrono::milliseconds kill)
{
    m_termGrace = term;
    m_killWait = kill;
}

void CProcessRunner::SetDrainQuietTime(std::chrono::milliseconds quiet)
{
    m_quiet = quiet;
}

bool CProcessRunner::HoldsChild() const
{
    return m_session != nullptr;
}

bool CProcessRunner::IsChildRunning() const
{
    if (!m_session)
        return false;
    std::lock_guard lock(m_session->m);
    return !m_session->ended;
}

int CProcessRunner::ChildPid() const
{
    return m_session ? m_session->pid : -1;
}

void CProcessRunner::ReapAbandoned()
{
    std::erase_if(m_abandoned, [](int pid) {
        int status;
        pid_t r = waitpid(pid, &status, WNOHANG);
        return r == pid || (r < 0 && errno == ECHILD);
    });
}

bool CProcessRunner::StartChild(const std::string& commandLine, const std::string& workDir,
                                const std::vector<std::string>& environment)
{
    if (OnOwnThread())
        return false;
    StopChild();
    ReapAbandoned();

    auto fail = [&](int err) {
        m_lastError = err ? err : EINVAL;
        std::string text = "Unable to start " + commandLine + "\n";
        m_events.OnChildStdOut(text);
        return false;
    };

    std::vector<std::string> argv = platform::SplitCommandLine(commandLine);
    if (argv.empty())
        return fail(ENOENT);
    const char* path = platform::FindVariable(environment, "PATH");
    if (!path)
        path = std::getenv("PATH");
    argv[0] = platform::FindProgram(argv[0], path ? path : "");

    auto s = std::make_unique<Session>();
    s->quiet = m_quiet;
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    auto closeChildEnds = [&] {
        CloseFd(in[0]);
        CloseFd(out[1]);
        CloseFd(err[1]);
    };
    if (!MakePipe(in) || !MakePipe(out) || !MakePipe(err)) {
        int e = errno;
        for (int* fd : {&in[0], &in[1], &out[0], &out[1], &err[0], &err[1]})
            CloseFd(*fd);
        return fail(e);
    }
    s->stdinWrite = in[1];
    s->stdoutRead = out[0];
    s->stderrRead = err[0];
    fcntl(s->stdoutRead, F_SETFL, fcntl(s->stdoutRead, F_GETFL) | O_NONBLOCK);
    fcntl(s->stderrRead, F_SETFL, fcntl(s->stderrRead, F_GETFL) | O_NONBLOCK);
    s->stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    s->endFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    s->abortFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (s->stopFd < 0 || s->endFd < 0 || s->abortFd < 0) {
        int e = errno;
        closeChildEnds();
        return fail(e);
    }

    platform::SpawnRequest request;
    request.argv = std::move(argv);
    request.workDir = workDir;
    request.environment = &environment;
    request.stdinFd = in[0];
    request.stdoutFd = out[1];
    request.stderrFd = err[1];
    pid_t pid = -1;
    int rc = platform::Spawn(request, &pid);
    // The child has its copies; the IDE keeps none, so the readers see the
    // end of the pipes once the child and whatever it started have closed them.
    closeChildEnds();
    if (rc != 0)
        return fail(rc);
    s->pid = pid;
    // (glibc 2.36 declares pidfd_open without C linkage, hence the raw call.)
    s->pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0)); // -1: the watcher polls instead

    Session* raw = s.get();
    try {
        s->out = std::thread([this, raw] { ReaderLoop(*raw, false); });
        s->err = std::thread([this, raw] { ReaderLoop(*raw, true); });
        s->watcher = std::thread([this, raw] { WatcherLoop(*raw); });
    } catch (const std::system_error&) {
        {
            std::lock_guard lock(s->m);
            s->cancel = true;
            s->SignalGroup(SIGKILL);
        }
        s->cv.notify_all();
        for (std::thread* t : {&s->out, &s->err, &s->watcher})
            if (t->joinable())
                t->join();
        int status;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return fail(EAGAIN);
    }

    m_lastError = 0;
    s->id = ++m_startId;
    m_session = std::move(s);
    m_events.OnChildStarted(commandLine);
    {
        std::lock_guard lock(raw->m);
        raw->go = true;
    }
    raw->cv.notify_all();
    return true;
}

void CProcessRunner::StopChild()
{
    if (OnOwnThread())
        return;
    if (!m_session) {
        ReapAbandoned();
        return;
    }
    Session& s = *m_session;
    s.stopRequested = true;
    std::optional<Clock::time_point> termSent;
    {
        std::unique_lock lock(s.m);
        if (!s.ended) {
            s.SignalGroup(SIGTERM);
            s.SignalGroup(SIGCONT); // a stopped child could not act on TERM
            termSent = Clock::now();
            if (!s.cv.wait_for(lock, m_termGrace, [&] { return s.ended; })) {
                s.SignalGroup(SIGKILL);
                if (!s.cv.wait_for(lock, m_killWait, [&] { return s.ended; }))
                    s.abandoned = true;
            }
        }
    }
    if (s.abandoned)
        Signal(s.abortFd);
    else
        EndGroup(s, termSent);
    // The child is gone: what it wrote is in the pipes, and the readers take it.
    s.readersStop = true;
    Signal(s.stopFd);
    s.out.join();
    s.err.join();
    s.watcher.join();
    if (s.abandoned) {
        m_abandoned.push_back(s.pid);
    } else if (s.held) {
        // Only now may the group id go back to the system.
        int status;
        while (waitpid(s.pid, &status, 0) < 0 && errno == EINTR) {
        }
        s.held = false;
    }
    m_session.reset();
}

void CProcessRunner::EndGroup(Session& s, std::optional<Clock::time_point> termSent)
{
    // The child has ended but is not reaped. What it started and left in its
    // process group (a background job, a program that forked and returned)
    // ends with the run: TERM, and KILL for what is still there after the
    // grace. Processes that made a session of their own are out of reach.
    if (!s.held)
        return;
    auto state = [&] { return platform::ProcessGroupState(s.pid, s.pid); };
    platform::GroupState now = state();
    if (now == platform::GroupState::Empty)
        return;
    if (now == platform::GroupState::Unknown) {
        // Nothing tells when they are gone: no grace to wait out.
        s.SignalGroup(SIGTERM);
        s.SignalGroup(SIGCONT);
        s.SignalGroup(SIGKILL);
        return;
    }
    auto waitEmpty = [&](Clock::time_point until) {
        for (;;) {
            if (state() != platform::GroupState::Members)
                return true;
            if (Clock::now() >= until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    if (!termSent) {
        s.SignalGroup(SIGTERM);
        s.SignalGroup(SIGCONT);
        termSent = Clock::now();
    }
    if (waitEmpty(*termSent + m_termGrace))
        return;
    s.SignalGroup(SIGKILL);
    waitEmpty(Clock::now() + m_killWait);
}

void CProcessRunner::ReaderLoop(Session& s, bool stdErr)
{
    t_runner = this;
    if (!s.WaitForGo()) {
        s.ReaderDone();
        return;
    }
    const int fd = stdErr ? s.stderrRead : s.stdoutRead;
    // One read takes what the pipe holds, up to its usual size; the owner
    // still gets it in chunks of kChunkSize, each followed by a NUL for the
    // time of its call.
    std::vector<char> buf(kReadSize + 1);
    bool ended = false;
    std::chrono::steady_clock::time_point endedAt;
    size_t afterStop = 0;
    bool done = false;
    while (!done) {
        pollfd fds[3] = {{fd, POLLIN, 0}, {s.stopFd, POLLIN, 0}, {s.endFd, POLLIN, 0}};
        int timeout = -1;
        if (ended) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                endedAt + kMaxDrainAfterEnd - std::chrono::steady_clock::now());
            timeout = static_cast<int>(std::max<int64_t>(0, std::min(left, s.quiet).count()));
        }
        int r = poll(fds, ended ? 2 : 3, timeout);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (r == 0)
            break; // quiet since the child ended: a process it left behind holds the pipe
        const bool stop = fds[1].revents != 0;
        if (!ended && fds[2].revents) {
            ended = true;
            endedAt = std::chrono::steady_clock::now();
        }
        if (fds[0].revents || stop) {
            for (;;) {
                ssize_t n = read(fd, buf.data(), kReadSize);
                if (n > 0) {
                    for (size_t at = 0; at < static_cast<size_t>(n); at += kChunkSize) {
                        const size_t len = std::min(kChunkSize, static_cast<size_t>(n) - at);
                        char* chunk = buf.data() + at;
                        const char kept = chunk[len];
                        chunk[len] = '\0';
                        if (stdErr)
                            m_events.OnChildStdErr(std::string_view(chunk, len));
                        else
                            m_events.OnChildStdOut(std::string_view(chunk, len));
                        chunk[len] = kept;
                    }
                    if (s.readersStop.load() && (afterStop += static_cast<size_t>(n)) > kMaxDrainAfterStop) {
                        done = true;
                        break;
                    }
                    continue;
                }
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && errno == EAGAIN)
                    break;
                done = true; // end of the pipe, or a read error
                break;
            }
        }
        if (stop)
            done = true;
    }
    s.ReaderDone();
}

void CProcessRunner::WatcherLoop(Session& s)
{
    t_runner = this;
    if (!s.WaitForGo())
        return;

    // The child's end is read with WNOWAIT: it stays a zombie until the stop
    // has dealt with its process group.
    for (;;) {
        siginfo_t info{};
        if (s.pidfd >= 0) {
            pollfd fds[2] = {{s.pidfd, POLLIN, 0}, {s.abortFd, POLLIN, 0}};
            int r = poll(fds, 2, -1);
            if (r < 0 && errno == EINTR)
                continue;
            if (r > 0 && fds[1].revents)
                break;
            if (r > 0 && fds[0].revents == 0)
                continue;
            int rc;
            while ((rc = waitid(P_PID, static_cast<id_t>(s.pid), &info, WEXITED | WNOWAIT)) < 0 &&
                   errno == EINTR) {
            }
            s.MarkEnded(rc == 0 && info.si_pid == s.pid, info);
            break;
        }
        // Without process descriptors: look every few milliseconds.
        int rc = waitid(P_PID, static_cast<id_t>(s.pid), &info, WEXITED | WNOHANG | WNOWAIT);
        if ((rc == 0 && info.si_pid == s.pid) || (rc < 0 && errno == ECHILD)) {
            s.MarkEnded(rc == 0, info);
            break;
        }
        pollfd abortPoll{s.abortFd, POLLIN, 0};
        if (poll(&abortPoll, 1, 5) > 0)
            break;
    }
    Signal(s.endFd);

    ChildExit exit;
    {
        std::unique_lock lock(s.m);
        s.cv.wait(lock, [&] { return s.readersDone == 2; });
        exit.startId = s.id;
        exit.stopped = s.stopRequested.load();
        exit.abandoned = s.abandoned;
        exit.exited = s.exited;
        exit.exitCode = s.exitCode;
        exit.signal = s.signal;
    }
    m_events.OnChildTerminate(exit);
}
