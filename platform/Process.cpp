#include "platform/Process.h"

#include "platform/Path.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <optional>
#include <utility>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

// NUL-terminated pointer arrays over strings that outlive them.
std::vector<char*> PointerArray(const std::vector<std::string>& strings)
{
    std::vector<char*> out;
    out.reserve(strings.size() + 1);
    for (const std::string& s : strings)
        out.push_back(const_cast<char*>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Words containing NUL cannot pass through exec unchanged.
bool HasNul(const std::vector<std::string>& words)
{
    for (const std::string& w : words)
        if (w.find('\0') != std::string::npos)
            return true;
    return false;
}

// The variables this process set for itself, with the user's values.
std::vector<std::pair<std::string, std::optional<std::string>>>& OwnVariables()
{
    static std::vector<std::pair<std::string, std::optional<std::string>>> vars;
    return vars;
}

// The environment block for a request: its own, or the user's one when this
// process changed variables of its own (filled into storage), or environ.
char** EnvironmentFor(const SpawnRequest& request, std::vector<std::string>& storage,
                      std::vector<char*>& pointers)
{
    if (!request.environment && OwnVariables().empty())
        return environ;
    if (!request.environment)
        storage = CurrentEnvironment();
    pointers = PointerArray(request.environment ? *request.environment : storage);
    return pointers.data();
}

} // namespace

std::string FindProgram(const std::string& name, const std::string& pathVar)
{
    if (name.empty())
        return name;
    if (name.find('/') != std::string::npos)
        return AbsolutePath(name);
    size_t start = 0;
    while (start <= pathVar.size()) {
        size_t end = pathVar.find(':', start);
        if (end == std::string::npos)
            end = pathVar.size();
        std::string dir = pathVar.substr(start, end - start);
        // An empty element is the current folder.
        std::string candidate = dir.empty() ? AbsolutePath(name) : JoinPath(dir, name);
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return name;
}

int Spawn(const SpawnRequest& request, pid_t* pid)
{
    if (request.argv.empty() || request.argv[0].empty())
        return ENOENT;
    if (HasNul(request.argv) || HasNul({request.workDir}) ||
        (request.environment && HasNul(*request.environment)))
        return EINVAL;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    if (int rc = posix_spawn_file_actions_init(&actions))
        return rc;
    if (int rc = posix_spawnattr_init(&attr)) {
        posix_spawn_file_actions_destroy(&actions);
        return rc;
    }

    int rc = 0;
    const int fds[3] = {request.stdinFd, request.stdoutFd, request.stderrFd};
    for (int target = 0; target < 3 && rc == 0; ++target) {
        int fd = fds[target];
        if (fd == kStdInherit)
            continue;
        if (fd == kStdNull)
            rc = posix_spawn_file_actions_addopen(&actions, target, "/dev/null",
                                                  target == 0 ? O_RDONLY : O_WRONLY, 0);
        else if (fd != target)
            rc = posix_spawn_file_actions_adddup2(&actions, fd, target);
        // A descriptor already in its place is simply inherited.
    }
    if (rc == 0)
        rc = posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (rc == 0 && !request.workDir.empty())
        rc = posix_spawn_file_actions_addchdir_np(&actions, request.workDir.c_str());

    sigset_t mask;
    sigemptyset(&mask);
    sigset_t defaults;
    sigfillset(&defaults);
    sigdelset(&defaults, SIGKILL);
    sigdelset(&defaults, SIGSTOP);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (request.newProcessGroup)
        flags |= POSIX_SPAWN_SETPGROUP;
    if (rc == 0)
        rc = posix_spawnattr_setflags(&attr, flags);
    if (rc == 0)
        rc = posix_spawnattr_setsigmask(&attr, &mask);
    if (rc == 0)
        rc = posix_spawnattr_setsigdefault(&attr, &defaults);
    if (rc == 0 && request.newProcessGroup)
        rc = posix_spawnattr_setpgroup(&attr, 0);

    if (rc == 0) {
        std::vector<char*> argv = PointerArray(request.argv);
        std::vector<std::string> userEnv;
        std::vector<char*> envp;
        char** env = EnvironmentFor(request, userEnv, envp);
        pid_t child = -1;
        rc = posix_spawn(&child, request.argv[0].c_str(), &actions, &attr, argv.data(), env);
        if (rc == 0)
            *pid = child;
    }
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return rc;
}

int SpawnDetached(const SpawnRequest& request)
{
    if (request.argv.empty() || request.argv[0].empty())
        return ENOENT;
    if (HasNul(request.argv) || HasNul({request.workDir}) ||
        (request.environment && HasNul(*request.environment)))
        return EINVAL;

    // Everything the children need is prepared here: after fork only
    // async-signal-safe calls are allowed.
    std::vector<char*> argv = PointerArray(request.argv);
    std::vector<std::string> userEnv;
    std::vector<char*> envp;
    char** env = EnvironmentFor(request, userEnv, envp);
    const char* program = request.argv[0].c_str();
    const char* workDir = request.workDir.empty() ? nullptr : request.workDir.c_str();
    const int fds[3] = {request.stdinFd, request.stdoutFd, request.stderrFd};

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return errno;

    pid_t middle = fork();
    if (middle < 0) {
        int err = errno;
        close(report[0]);
        close(report[1]);
        return err;
    }
    if (middle == 0) {
        // Intermediate child: a session of its own, then the real program as
        // its child, then gone, so the program is reparented and reaped by init.
        setsid();
        pid_t grand = fork();
        if (grand < 0) {
            int err = errno;
            (void)!write(report[1], &err, sizeof err);
            _exit(127);
        }
        if (grand > 0)
            _exit(0);
        int err = 0;
        for (int target = 0; target < 3 && err == 0; ++target) {
            int fd = fds[target];
            if (fd == kStdInherit)
                continue;
            if (fd == kStdNull) {
                int nul = open("/dev/null", target == 0 ? O_RDONLY : O_WRONLY);
                if (nul < 0)
                    err = errno;
                else if (nul != target) {
                    if (dup2(nul, target) < 0)
                        err = errno;
                    close(nul);
                }
            } else if (dup2(fd, target) < 0) {
                err = errno;
            }
        }
        if (err == 0 && workDir && chdir(workDir) != 0)
            err = errno;
        if (err == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            struct sigaction dfl {};
            dfl.sa_handler = SIG_DFL;
            for (int sig = 1; sig < NSIG; ++sig)
                if (sig != SIGKILL && sig != SIGSTOP)
                    sigaction(sig, &dfl, nullptr);
            // Every other descriptor of the IDE is closed, except the report pipe,
            // which closes itself on a successful exec.
            for (int fd = 3; fd < report[1]; ++fd)
                close(fd);
            syscall(SYS_close_range, report[1] + 1, ~0U, 0);
            execve(program, argv.data(), env);
            err = errno;
        }
        (void)!write(report[1], &err, sizeof err);
        _exit(127);
    }

    close(report[1]);
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // EOF without data: the exec succeeded (the pipe closed on exec).
    int err = 0;
    ssize_t got;
    while ((got = read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof err))
        return err ? err : EIO;
    return 0;
}

GroupState ProcessGroupState(pid_t pgid, pid_t except)
{
    DIR* proc = opendir("/proc");
    if (!proc)
        return GroupState::Unknown;
    GroupState state = GroupState::Empty;
    char path[64];
    char stat[512];
    while (dirent* e = readdir(proc)) {
        char* end = nullptr;
        long pid = strtol(e->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == except)
            continue;
        snprintf(path, sizeof path, "/proc/%ld/stat", pid);
        int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue; // gone meanwhile
        ssize_t n = read(fd, stat, sizeof stat - 1);
        close(fd);
        if (n <= 0)
            continue;
        stat[n] = '\0';
        // "pid (name) state ppid pgrp ...": the name may hold anything, so
        // the fields start after its last parenthesis.
        const char* close = strrchr(stat, ')');
        char st = 0;
        long ppid = 0, pgrp = 0;
        if (!close || sscanf(close + 1, " %c %ld %ld", &st, &ppid, &pgrp) != 3)
            continue;
        if (pgrp == pgid && st != 'Z' && st != 'X' && st != 'x') {
            state = GroupState::Members;
            break;
        }
    }
    closedir(proc);
    return state;
}

std::vector<std::string> CurrentEnvironment()
{
    std::vector<std::string> out;
    for (char** e = environ; e && *e; ++e)
        out.emplace_back(*e);
    for (const auto& own : OwnVariables()) {
        const std::string& name = own.first;
        if (own.second)
            out = WithVariable(std::move(out), name, *own.second);
        else
            std::erase_if(out, [&name](const std::string& entry) {
                return entry.size() > name.size() && entry[name.size()] == '=' &&
                       entry.compare(0, name.size(), name) == 0;
            });
    }
    return out;
}

void SetOwnVariable(const std::string& name, const char* value)
{
    auto& vars = OwnVariables();
    bool known = std::any_of(vars.begin(), vars.end(), [&](const auto& v) { return v.first == name; });
    if (!known) {
        const char* user = std::getenv(name.c_str());
        vars.emplace_back(name, user ? std::optional<std::string>(user) : std::nullopt);
    }
    if (value)
        setenv(name.c_str(), value, 1);
    else
        unsetenv(name.c_str());
}

std::vector<std::string> WithVariable(std::vector<std::string> environment,
                                      const std::string& name, const std::string& value)
{
    std::string prefix = name + "=";
    std::vector<std::string> out;
    out.reserve(environment.size() + 1);
    bool placed = false;
    for (std::string& entry : environment) {
        if (entry.compare(0, prefix.size(), prefix) == 0) {
            if (!placed)
                out.push_back(prefix + value);
            placed = true;
        } else {
            out.push_back(std::move(entry));
        }
    }
    if (!placed)
        out.push_back(prefix + value);
    return out;
}

const char* FindVariable(const std::vector<std::string>& environment, const std::string& name)
{
    for (const std::string& entry : environment)
        if (entry.size() > name.size() && entry[name.size()] == '=' &&
            entry.compare(0, name.size(), name) == 0)
            return entry.c_str() + name.size() + 1;
    return nullptr;
}

} // namespace platform
