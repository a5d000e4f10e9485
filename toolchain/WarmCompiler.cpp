#include "toolchain/WarmCompiler.h"

#include "platform/AtomicFile.h"
#include "platform/CommandLine.h"
#include "platform/Process.h"
#include "settings/RegistryKey.h"
#include "toolchain/JavaCommands.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace toolchain {

namespace {

using Clock = std::chrono::steady_clock;

std::string RealPath(const std::string& path)
{
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool IsRegular(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

uint64_t Fnv1a(const std::string& data, uint64_t h = 1469598103934665603ull)
{
    for (unsigned char c : data) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

void RemoveTree(const std::string& dir)
{
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "/" + name;
            struct stat st {};
            if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                RemoveTree(path);
            else
                ::unlink(path.c_str());
        }
        ::closedir(d);
    }
    ::rmdir(dir.c_str());
}

bool MakeDirs(const std::string& path)
{
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            std::string part = path.substr(0, at);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

// Runs a program with no input or output and waits for it, at most wait.
int RunQuietly(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               std::chrono::milliseconds wait)
{
    platform::SpawnRequest request;
    request.argv = argv;
    request.environment = &environment;
    request.stdoutFd = platform::kStdNull;
    request.stderrFd = platform::kStdNull;
    pid_t pid = -1;
    if (platform::Spawn(request, &pid) != 0)
        return -1;
    Clock::time_point end = Clock::now() + wait;
    int status = 0;
    for (;;) {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0)
            return -1;
        if (Clock::now() >= end) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        ::usleep(10000);
    }
}

// The javac process reads these; the server's JVM would read them differently
// (or print that it picked them up), so such an environment stays with the process.
bool HasLauncherOptions(const std::vector<std::string>& environment)
{
    for (const char* name : {"JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS", "JDK_JAVA_OPTIONS"})
        if (platform::FindVariable(environment, name))
            return true;
    return false;
}

} // namespace

std::string JdkHomeOfCompiler(const std::string& compilerPath, const std::string& pathVar)
{
    if (compilerPath.empty())
        return {};
    std::string program = RealPath(platform::FindProgram(compilerPath, pathVar));
    const std::string tail = "/bin/javac";
    if (program.size() <= tail.size() || program.compare(program.size() - tail.size(), tail.size(), tail) != 0)
        return {};
    std::string home = program.substr(0, program.size() - tail.size());
    if (!IsExecutableFile(home + "/bin/java") || !IsRegular(home + "/lib/modules"))
        return {};
    return home;
}

std::string JdkSignature(const std::string& home)
{
    std::string sig;
    for (const char* file : {"/bin/java", "/bin/javac", "/lib/modules"}) {
        struct stat st {};
        if (::stat((home + file).c_str(), &st) != 0)
            return {};
        sig += std::to_string(st.st_ino) + ':' + std::to_string(st.st_size) + ':' +
               std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec) + ';';
    }
    return sig;
}

std::string ServerCacheRoot()
{
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    std::string base;
    if (xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.cache";
    else
        return {};
    return base + "/kib/compile-server";
}

std::string ServerClasses(const std::string& jdkHome, const std::vector<std::string>& environment, std::string* why)
{
    std::string root = ServerCacheRoot();
    if (root.empty() || !MakeDirs(root)) {
        *why = "no cache folder";
        return {};
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(jdkHome + '\n' + JdkSignature(jdkHome),
                                                        Fnv1a(CompileServerSource()))));
    std::string dir = root + "/" + name;
    if (IsRegular(dir + "/KibCompileServer.class"))
        return dir;

    std::string pattern = root + "/build-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) {
        *why = "no build folder";
        return {};
    }
    std::string tmp = buf.data();
    std::string source = tmp + "/KibCompileServer.java";
    int err = 0;
    if (!platform::AtomicWriteFile(source, CompileServerSource(), &err)) {
        RemoveTree(tmp);
        *why = "source not written";
        return {};
    }
    int rc = RunQuietly({jdkHome + "/bin/javac", "-nowarn", "-encoding", "UTF-8", "-classpath", tmp, "-d", tmp, source},
                        environment, std::chrono::seconds(120));
    ::unlink(source.c_str());
    if (rc != 0 || !IsRegular(tmp + "/KibCompileServer.class")) {
        RemoveTree(tmp);
        *why = "server classes not compiled";
        return {};
    }
    // Another Kib may have finished the same folder first: either is good.
    if (::rename(tmp.c_str(), dir.c_str()) != 0)
        RemoveTree(tmp);
    if (!IsRegular(dir + "/KibCompileServer.class")) {
        *why = "server classes not stored";
        return {};
    }
    return dir;
}

bool WarmCompilerSwitchedOn()
{
    CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + kWarmCompilerKey, false);
    uint32_t value = 1;
    if (key.IsOpen())
        key.ReadDword(kWarmCompilerValue, value);
    return value != 0;
}

// --- CWarmCompiler -------------------------------------------------------------

CWarmCompiler::~CWarmCompiler()
{
    Shutdown();
}

bool CWarmCompiler::MakePlan(const CCompileCommand& command, const std::vector<std::string>& environment,
                             CPlan* plan)
{
    std::vector<std::string> argv = platform::SplitCommandLine(command.commandLine);
    if (argv.size() < 2 || HasLauncherOptions(environment))
        return false;
    const char* path = platform::FindVariable(environment, "PATH");
    plan->jdkHome = JdkHomeOfCompiler(argv[0], path ? path : "");
    if (plan->jdkHome.empty())
        return false;
    plan->signature = JdkSignature(plan->jdkHome);
    plan->workDir = RealPath(command.workDir);
    if (plan->workDir.empty() || plan->signature.empty())
        return false;
    plan->arguments.assign(argv.begin() + 1, argv.end());
    plan->environment = environment;
    return true;
}

std::vector<std::string> CWarmCompiler::ServerArgv(const CPlan& plan, std::string* why) const
{
    if (m_launch)
        return m_launch(plan.jdkHome);
    std::string classes = ServerClasses(plan.jdkHome, plan.environment, why);
    if (classes.empty())
        return {};
    auto idle = std::chrono::duration_cast<std::chrono::seconds>(kIdleLimit).count() + 120;
    return {plan.jdkHome + "/bin/java",
            "-Xmx" + std::to_string(kHeapMb) + "m",
            "-XX:+UseSerialGC",
            "-XX:-UsePerfData",
            "-Xshare:auto",
            "-cp",
            classes,
            "KibCompileServer",
            std::to_string(::getpid()),
            std::to_string(idle),
            std::to_string(m_warmups)};
}

CWarmCompiler::CResult CWarmCompiler::Compile(const CCompileCommand& command,
                                              const std::vector<std::string>& environment)
{
    CResult result;
    CPlan plan;
    if (!MakePlan(command, environment, &plan))
        return result;
    std::unique_lock<std::mutex> lock(m_lock);
    if (!m_enabled || m_shutdown)
        return result;
    result.how = EHow::NotReady;
    if (m_state != EState::Ready)
        return result;
    bool same = m_plan == plan;
    bool fresh = Clock::now() - m_lastUse < kIdleLimit;
    if (!same || !fresh || !m_server->Running()) {
        // Another JDK (or the same one changed), folder or environment, or
        // an idle or ended server: no stale state may answer.
        DropServerLocked(lock);
        return result;
    }
    m_state = EState::Compiling;
    m_cancelled = false;
    CCompileServer* server = m_server.get();
    lock.unlock();
    CServerAnswer answer = server->Compile(plan.jdkHome, plan.workDir, plan.arguments);
    lock.lock();
    m_lastUse = Clock::now();
    m_state = EState::Ready;
    if (m_shutdown || !m_enabled)
        DropServerLocked(lock);
    if (answer.kind == CServerAnswer::EKind::Fault) {
        // A compile Kib itself ended is not the server's fault.
        if (!m_cancelled)
            ++m_faults;
        if (m_server)
            DropServerLocked(lock);
        result.how = EHow::Fault;
    } else if (answer.kind == CServerAnswer::EKind::NotHandled) {
        result.how = EHow::NotHandled;
    } else if (answer.exitCode != 0 && answer.exitCode != 1) {
        // Command-line errors and javac's own troubles (out of memory, a
        // crash inside the compiler) are the process's to report.
        result.how = EHow::NotHandled;
    } else {
        result.how = EHow::Served;
        ++m_served;
    }
    result.answer = std::move(answer);
    return result;
}

bool CWarmCompiler::Serves(const CCompileCommand& command, const std::vector<std::string>& environment)
{
    CPlan plan;
    if (!MakePlan(command, environment, &plan))
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    return m_enabled && !m_shutdown && m_state == EState::Ready && m_plan == plan &&
           Clock::now() - m_lastUse < kIdleLimit && m_server->Running();
}

void CWarmCompiler::Prepare(const CCompileCommand& command, const std::vector<std::string>& environment)
{
    CPlan plan;
    if (!MakePlan(command, environment, &plan))
        return;
    std::unique_lock<std::mutex> lock(m_lock);
    if (!m_enabled || m_shutdown || m_faults >= kMaxFaults)
        return;
    if (m_state == EState::Preparing || m_state == EState::Compiling)
        return;
    if (m_state == EState::Ready) {
        if (m_plan == plan && m_server->Running() && Clock::now() - m_lastUse < kIdleLimit)
            return;
        DropServerLocked(lock);
    }
    JoinPreparation(lock);
    m_state = EState::Preparing;
    m_plan = plan;
    m_prepare = std::thread([this, plan] { PrepareThread(plan); });
}

void CWarmCompiler::PrepareThread(CPlan plan)
{
    std::string why;
    std::vector<std::string> argv = ServerArgv(plan, &why);
    auto server = std::make_unique<CCompileServer>();
    bool ok = false;
    if (!argv.empty()) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_shutdown || !m_enabled) {
                m_state = EState::None;
                return;
            }
            m_starting = server.get();
        }
        ok = server->Start(argv, plan.workDir, plan.environment, m_limits, &why);
        // A server of another JDK or folder than asked for is not used.
        if (ok && !m_launch) {
            const auto& info = server->ReadyInfo();
            auto home = info.find("java.home"), dir = info.find("user.dir");
            ok = home != info.end() && home->second == plan.jdkHome && dir != info.end() &&
                 dir->second == plan.workDir;
        }
    }
    std::unique_lock<std::mutex> lock(m_lock);
    m_starting = nullptr;
    if (ok && !m_shutdown && m_enabled && m_plan == plan) {
        m_server = std::move(server);
        m_lastUse = Clock::now();
        m_state = EState::Ready;
        return;
    }
    if (!ok && !argv.empty() && !m_shutdown)
        ++m_faults;
    m_state = EState::None;
    lock.unlock();
    server.reset(); // stops it, outside the lock
}

// Under the lock; the stop itself (bounded) runs without it.
void CWarmCompiler::DropServerLocked(std::unique_lock<std::mutex>& lock)
{
    std::unique_ptr<CCompileServer> old = std::move(m_server);
    m_state = EState::None;
    lock.unlock();
    old.reset();
    lock.lock();
}

void CWarmCompiler::JoinPreparation(std::unique_lock<std::mutex>& lock)
{
    if (!m_prepare.joinable())
        return;
    std::thread t = std::move(m_prepare);
    lock.unlock();
    t.join();
    lock.lock();
}

void CWarmCompiler::Cancel()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_state == EState::Compiling && m_server) {
        m_cancelled = true;
        m_server->Kill();
    }
}

void CWarmCompiler::Shutdown()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_shutdown = true;
    if (m_starting)
        m_starting->Kill();
    if (m_state == EState::Compiling && m_server)
        m_server->Kill();
    JoinPreparation(lock);
    if (m_state != EState::Compiling)
        DropServerLocked(lock);
}

void CWarmCompiler::SetEnabled(bool on)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_enabled = on;
    if (!on) {
        if (m_starting)
            m_starting->Kill();
        if (m_state == EState::Ready)
            DropServerLocked(lock);
    }
}

bool CWarmCompiler::Enabled() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_enabled;
}

bool CWarmCompiler::Ready() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state == EState::Ready;
}

int CWarmCompiler::ServerPid() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_server ? m_server->Pid() : -1;
}

int CWarmCompiler::ServedCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_served;
}

void CWarmCompiler::WaitPrepared()
{
    std::unique_lock<std::mutex> lock(m_lock);
    JoinPreparation(lock);
}

} // namespace toolchain
