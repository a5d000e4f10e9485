// Kib's one warm compile server, and when it may answer a compile instead of
// the javac process: the compiler must be a JDK's javac, the command line the
// shape the compile command builds, the server started for the same JDK (its
// files unchanged), working folder and environment. Anything else, and every
// fault, leaves the compile to the process. The server is prepared in the
// background; a compile never waits for it.
#pragma once

#include "toolchain/CompileServer.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace toolchain {

struct CCompileCommand;

// The JDK folder of a compiler program (after links): <home> for
// <home>/bin/javac when <home>/bin/java and a modular image are there; ""
// otherwise. pathVar finds a bare name.
std::string JdkHomeOfCompiler(const std::string& compilerPath, const std::string& pathVar);

// What identifies a JDK's files: java, javac and the module image, by inode,
// size and modification time. Changes when the JDK is updated in place.
std::string JdkSignature(const std::string& jdkHome);

// The per-user folder of cached server classes ($XDG_CACHE_HOME/kib/compile-server,
// default ~/.cache/kib/compile-server).
std::string ServerCacheRoot();

// The folder holding the server's classes for this JDK, compiled with its
// javac into the cache on first use; "" with *why set on failure.
std::string ServerClasses(const std::string& jdkHome, const std::vector<std::string>& environment,
                          std::string* why);

// The per-user switch: value "WarmServer" below the key "Compiler" of Kib's
// registry key; 0 turns the warm compiler off, anything else or nothing leaves it on.
inline constexpr char kWarmCompilerKey[] = "Compiler";
inline constexpr char kWarmCompilerValue[] = "WarmServer";
bool WarmCompilerSwitchedOn();

// The server's Java source (compiled into Kib).
const std::string& CompileServerSource();

class CWarmCompiler {
public:
    // JVM heap of the server: javac needs some 40-90 MB for Kib-sized programs.
    static constexpr int kHeapMb = 256;
    // Kib stops an unused server after this; the server ends itself a little later.
    static constexpr std::chrono::minutes kIdleLimit{10};

    CWarmCompiler() = default;
    ~CWarmCompiler();
    CWarmCompiler(const CWarmCompiler&) = delete;
    CWarmCompiler& operator=(const CWarmCompiler&) = delete;

    enum class EHow {
        Served,     // answer holds javac's result
        NotReady,   // no server for this compile (yet): the process compiles
        NotHandled, // not a compile for the server: the process compiles
        Fault,      // the server failed (answer.reason): the process compiles
    };
    struct CResult {
        EHow how = EHow::NotHandled;
        CServerAnswer answer;
    };

    // Blocking, on a worker thread. environment is the child environment the
    // process would get.
    CResult Compile(const CCompileCommand& command, const std::vector<std::string>& environment);

    // Whether a ready server would take the compile now (Compile may still
    // decline it). Cheap: the user-interface thread asks before each compile
    // and otherwise starts the process at once, as without a server.
    bool Serves(const CCompileCommand& command, const std::vector<std::string>& environment);

    // Starts a server for such a compile in the background, unless one is
    // ready or on its way for it; a server for something else is ended.
    void Prepare(const CCompileCommand& command, const std::vector<std::string>& environment);

    // Ends a compile in progress (its Compile returns a fault).
    void Cancel();
    // Ends everything: the server, a preparation. Bounded.
    void Shutdown();

    // Off: every compile goes to the process and a running server ends.
    void SetEnabled(bool on);
    bool Enabled() const;

    // Whether a server is ready; its process id (-1 when none).
    bool Ready() const;
    int ServerPid() const;
    // Compiles the server has answered so far.
    int ServedCount() const;

    // Tests: the server program instead of the JDK's java, given the JDK home,
    // class folder and Kib's pid; and the limits.
    using LaunchCommand = std::function<std::vector<std::string>(const std::string& jdkHome)>;
    void SetLaunchForTest(LaunchCommand launch) { m_launch = std::move(launch); }
    void SetLimits(const CServerLimits& limits) { m_limits = limits; }
    void SetWarmups(int rounds) { m_warmups = rounds; }
    // Waits until no preparation runs (tests, benchmarks).
    void WaitPrepared();
    // Faults after which this session stops preparing servers.
    static constexpr int kMaxFaults = 3;

private:
    struct CPlan {
        std::string jdkHome;
        std::string workDir;
        std::vector<std::string> arguments;
        std::vector<std::string> environment;
        std::string signature;
        bool operator==(const CPlan& o) const
        {
            return jdkHome == o.jdkHome && workDir == o.workDir && environment == o.environment &&
                   signature == o.signature;
        }
    };
    static bool MakePlan(const CCompileCommand& command, const std::vector<std::string>& environment, CPlan* plan);
    std::vector<std::string> ServerArgv(const CPlan& plan, std::string* why) const;
    void PrepareThread(CPlan plan);
    void DropServerLocked(std::unique_lock<std::mutex>& lock);
    void JoinPreparation(std::unique_lock<std::mutex>& lock);

    enum class EState { None, Preparing, Ready, Compiling };
    mutable std::mutex m_lock;
    EState m_state = EState::None;
    bool m_enabled = true;
    bool m_shutdown = false;
    bool m_cancelled = false;
    int m_faults = 0;
    int m_served = 0;
    CPlan m_plan;
    std::unique_ptr<CCompileServer> m_server;
    CCompileServer* m_starting = nullptr; // the server a preparation is starting
    std::thread m_prepare;
    std::chrono::steady_clock::time_point m_lastUse;
    CServerLimits m_limits;
    int m_warmups = 6;
    LaunchCommand m_launch;
};

} // namespace toolchain
