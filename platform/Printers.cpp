#include "platform/Printers.h"

#include "platform/Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr int kQueryTimeoutMs = 5000;
constexpr int kSubmitTimeoutMs = 60000;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty())
            out.push_back(line);
    return out;
}
} // namespace

int RunAndCapture(const std::vector<std::string>& argv, int timeoutMs, std::string& output)
{
    output.clear();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    const char* path = std::getenv("PATH");
    std::vector<std::string> env = WithVariable(CurrentEnvironment(), "LANG", "C");
    env = WithVariable(env, "LC_ALL", "C");
    SpawnRequest req;
    req.argv = argv;
    req.argv[0] = FindProgram(argv[0], path ? path : "/usr/bin:/bin");
    req.environment = &env;
    req.stdoutFd = fds[1];
    req.stderrFd = fds[1];
    pid_t pid = -1;
    const int err = Spawn(req, &pid);
    close(fds[1]);
    if (err != 0) {
        close(fds[0]);
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool timedOut = false;
    char buf[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int r = poll(&p, 1, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            timedOut = r == 0;
            break;
        }
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        output.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (timedOut)
        kill(-pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::vector<std::string> ListPrinters()
{
    std::string out;
    if (RunAndCapture({"lpstat", "-e"}, kQueryTimeoutMs, out) != 0)
        return {};
    return Lines(out);
}

std::string DefaultPrinter()
{
    std::string out;
    if (RunAndCapture({"lpstat", "-d"}, kQueryTimeoutMs, out) != 0)
        return {};
    // "system default destination: NAME" (LANG=C); anything else means none.
    const std::string key = "system default destination: ";
    const size_t at = out.find(key);
    if (at == std::string::npos)
        return {};
    std::string name = out.substr(at + key.size());
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' '))
        name.pop_back();
    return name;
}

bool SubmitPrintFile(const std::string& printer, const std::string& file, int copies, const std::string& title,
                     std::string& error)
{
    std::string out;
    const int status = RunAndCapture({"lp", "-d", printer, "-n", std::to_string(copies < 1 ? 1 : copies), "-t",
                                      title, "--", file},
                                     kSubmitTimeoutMs, out);
    if (status == 0)
        return true;
    error = out.empty() ? std::string("lp") : out;
    while (!error.empty() && error.back() == '\n')
        error.pop_back();
    return false;
}

} // namespace platform
