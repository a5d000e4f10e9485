#include "toolchain/CompileServer.h"

#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace toolchain {

namespace {

using Clock = std::chrono::steady_clock;

// Answers larger than this are not javac's.
constexpr uint32_t kMaxFrame = 256u << 20;

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void PutU32(std::string& out, uint32_t v)
{
    out.push_back(static_cast<char>(v >> 24));
    out.push_back(static_cast<char>(v >> 16));
    out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v));
}

uint32_t GetU32(const char* p)
{
    auto b = [p](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(p[i])); };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

// write() that turns a closed pipe into EPIPE for this thread alone instead
// of a SIGPIPE that would end Kib.
bool WriteAll(int fd, const std::string& data)
{
    sigset_t pipeOnly, old;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
    bool ok = true;
    size_t at = 0;
    while (at < data.size()) {
        ssize_t n = ::write(fd, data.data() + at, data.size() - at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        at += static_cast<size_t>(n);
    }
    if (!ok && errno == EPIPE) {
        struct timespec zero {};
        while (sigtimedwait(&pipeOnly, nullptr, &zero) == SIGPIPE) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return ok;
}

std::map<std::string, std::string> ParseLines(const std::string& text)
{
    std::map<std::string, std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            out[line.substr(0, eq)] = line.substr(eq + 1);
        at = end + 1;
    }
    return out;
}

} // namespace

std::string EncodeStrings(const std::vector<std::string>& strings)
{
    std::string out;
    for (const std::string& s : strings) {
        PutU32(out, static_cast<uint32_t>(s.size()));
        out += s;
    }
    return out;
}

CCompileServer::~CCompileServer()
{
    Stop();
}

bool CCompileServer::Start(const std::vector<std::string>& argv, const std::string& workDir,
                           const std::vector<std::string>& environment, const CServerLimits& limits,
                           std::string* why)
{
    Stop();
    m_limits = limits;
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) {
        *why = "pipe";
        return false;
    }
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        *why = "pipe";
        return false;
    }
    platform::SpawnRequest request;
    request.argv = argv;
    request.workDir = workDir;
    request.environment = &environment;
    request.stdinFd = in[0];
    request.stdoutFd = out[1];
    request.stderrFd = platform::kStdNull;
    request.newProcessGroup = true;
    pid_t pid = -1;
    int rc = platform::Spawn(request, &pid);
    ::close(in[0]);
    ::close(out[1]);
    if (rc != 0) {
        ::close(in[1]);
        ::close(out[0]);
        *why = "start failed (" + std::to_string(rc) + ")";
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_pidLock);
        m_pid = pid;
    }
    m_toServer = in[1];
    m_fromServer = out[0];

    char type = 0;
    std::string payload;
    Clock::time_point end = Clock::now() + m_limits.ready;
    ERead r = ReadFrame(type, payload, end, end);
    if (r != ERead::Ok || type != 'R') {
        *why = r == ERead::Timeout ? "not ready in time" : r == ERead::Eof ? "ended before ready" : "no ready frame";
        Kill();
        Stop();
        return false;
    }
    m_ready = ParseLines(payload);
    if (m_ready["protocol"] != "1") {
        *why = "protocol " + m_ready["protocol"];
        Kill();
        Stop();
        return false;
    }
    return true;
}

CServerAnswer CCompileServer::Fault(const std::string& reason)
{
    Kill();
    Stop();
    CServerAnswer a;
    a.kind = CServerAnswer::EKind::Fault;
    a.reason = reason;
    return a;
}

CServerAnswer CCompileServer::Compile(const std::string& javaHome, const std::string& workDir,
                                      const std::vector<std::string>& arguments)
{
    if (m_toServer < 0)
        return Fault("not running");
    std::vector<std::string> fields{javaHome, workDir};
    fields.insert(fields.end(), arguments.begin(), arguments.end());
    if (!WriteFrame('C', EncodeStrings(fields)))
        return Fault("request not delivered");

    CServerAnswer answer;
    Clock::time_point totalEnd = Clock::now() + m_limits.total;
    for (;;) {
        char type = 0;
        std::string payload;
        ERead r = ReadFrame(type, payload, Clock::now() + m_limits.silence, totalEnd);
        if (r == ERead::Timeout)
            return Fault("no answer in time");
        if (r == ERead::Eof)
            return Fault("ended during the compile");
        if (r == ERead::Bad)
            return Fault("malformed answer");
        switch (type) {
        case 'H':
            if (!payload.empty())
                return Fault("malformed answer");
            break;
        case 'O':
        case 'E': {
            bool err = type == 'E';
            if (!answer.output.empty() && answer.output.back().stdErr == err)
                answer.output.back().bytes += payload;
            else
                answer.output.push_back({err, std::move(payload)});
            break;
        }
        case 'X':
            if (payload.size() != 4)
                return Fault("malformed answer");
            answer.kind = CServerAnswer::EKind::Done;
            answer.exitCode = static_cast<int>(GetU32(payload.data()));
            return answer;
        case 'N':
            if (!answer.output.empty())
                return Fault("malformed answer");
            answer.kind = CServerAnswer::EKind::NotHandled;
            answer.reason = payload;
            return answer;
        case 'F':
            return Fault("server: " + payload);
        default:
            return Fault("malformed answer");
        }
    }
}

CCompileServer::ERead CCompileServer::ReadBytes(char* out, size_t n, Clock::time_point end)
{
    size_t got = 0;
    while (got < n) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            return ERead::Timeout;
        struct pollfd p {m_fromServer, POLLIN, 0};
        int pr = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
        if (pr < 0 && errno == EINTR)
            continue;
        if (pr < 0)
            return ERead::Eof;
        if (pr == 0)
            continue;
        ssize_t r = ::read(m_fromServer, out + got, n - got);
        if (r < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (r <= 0)
            return ERead::Eof;
        got += static_cast<size_t>(r);
    }
    return ERead::Ok;
}

CCompileServer::ERead CCompileServer::ReadFrame(char& type, std::string& payload, Clock::time_point silenceEnd,
                                                Clock::time_point totalEnd)
{
    if (m_fromServer < 0)
        return ERead::Eof;
    Clock::time_point end = std::min(silenceEnd, totalEnd);
    char head[5];
    ERead r = ReadBytes(head, 5, end);
    if (r != ERead::Ok)
        return r;
    type = head[0];
    uint32_t n = GetU32(head + 1);
    if (n > kMaxFrame)
        return ERead::Bad;
    payload.assign(n, '\0');
    // A long frame is still one answer arriving: its bytes get the silence
    // time afresh, the total limit stays.
    return n ? ReadBytes(payload.data(), n, std::min(Clock::now() + m_limits.silence, totalEnd)) : ERead::Ok;
}

bool CCompileServer::WriteFrame(char type, const std::string& payload)
{
    std::string frame(1, type);
    PutU32(frame, static_cast<uint32_t>(payload.size()));
    frame += payload;
    return m_toServer >= 0 && WriteAll(m_toServer, frame);
}

void CCompileServer::Reap(std::chrono::milliseconds wait)
{
    pid_t pid;
    {
        std::lock_guard<std::mutex> lock(m_pidLock);
        pid = m_pid;
    }
    if (pid <= 0)
        return;
    Clock::time_point end = Clock::now() + wait;
    for (;;) {
        int status = 0;
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD))
            break;
        if (Clock::now() >= end) {
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::lock_guard<std::mutex> lock(m_pidLock);
    m_pid = -1;
}

void CCompileServer::Stop()
{
    if (m_toServer >= 0)
        WriteFrame('Q', {});
    CloseFd(m_toServer);
    Reap(m_limits.quit);
    CloseFd(m_fromServer);
    m_ready.clear();
}

void CCompileServer::Kill()
{
    std::lock_guard<std::mutex> lock(m_pidLock);
    if (m_pid > 0) {
        ::kill(-m_pid, SIGKILL);
        ::kill(m_pid, SIGKILL);
    }
}

bool CCompileServer::Running()
{
    std::lock_guard<std::mutex> lock(m_pidLock);
    if (m_pid <= 0)
        return false;
    int status = 0;
    pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == 0)
        return true;
    // Reaped here (or gone): its number must never be signalled again.
    m_pid = -1;
    return false;
}

pid_t CCompileServer::Pid() const
{
    std::lock_guard<std::mutex> lock(m_pidLock);
    return m_pid;
}

} // namespace toolchain
