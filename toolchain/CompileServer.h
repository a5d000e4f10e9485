// One warm compile server: a JVM running Kib's compile server class, spoken
// to over its standard input and output with length-prefixed frames. Starting
// waits for its ready frame; a compile sends the request and collects the
// whole answer, or reports why there is none (the caller then runs the javac
// process). Every wait is bounded.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace toolchain {

struct CServerAnswer {
    enum class EKind {
        Done,       // exitCode and output hold javac's result
        NotHandled, // the server declined (reason): the process compiles
        Fault,      // crashed, hung, garbage, wrong JDK (reason)
    };
    EKind kind = EKind::Fault;
    int exitCode = -1;
    struct Piece {
        bool stdErr = false;
        std::string bytes;
    };
    std::vector<Piece> output; // in the order the compiler wrote it
    std::string reason;
};

struct CServerLimits {
    std::chrono::milliseconds ready{60000};   // start and warm-up
    std::chrono::milliseconds silence{5000};  // no frame at all while compiling: hung
    std::chrono::milliseconds total{600000};  // one compile at most
    std::chrono::milliseconds quit{1000};     // after end of input, before SIGKILL
};

class CCompileServer {
public:
    CCompileServer() = default;
    ~CCompileServer();
    CCompileServer(const CCompileServer&) = delete;
    CCompileServer& operator=(const CCompileServer&) = delete;

    // Starts argv in workDir with environment, and waits for the ready frame.
    // False with *why set when it does not come; nothing is left running then.
    bool Start(const std::vector<std::string>& argv, const std::string& workDir,
               const std::vector<std::string>& environment, const CServerLimits& limits, std::string* why);

    // Blocking; one compile at a time. A fault ends the server.
    CServerAnswer Compile(const std::string& javaHome, const std::string& workDir,
                          const std::vector<std::string>& arguments);

    // Closes its input, waits the quit time, then kills it; reaps it.
    void Stop();
    // From any thread: kills the server, so that a running Compile returns a fault soon.
    void Kill();

    // Started, not stopped, and not known to have ended.
    bool Running();
    pid_t Pid() const;
    // The ready frame's "key=value" lines.
    const std::map<std::string, std::string>& ReadyInfo() const { return m_ready; }

private:
    enum class ERead { Ok, Eof, Timeout, Bad };
    ERead ReadFrame(char& type, std::string& payload, std::chrono::steady_clock::time_point silenceEnd,
                    std::chrono::steady_clock::time_point totalEnd);
    ERead ReadBytes(char* out, size_t n, std::chrono::steady_clock::time_point end);
    bool WriteFrame(char type, const std::string& payload);
    void Reap(std::chrono::milliseconds wait);
    CServerAnswer Fault(const std::string& reason);

    CServerLimits m_limits;
    mutable std::mutex m_pidLock; // m_pid for Kill from other threads
    pid_t m_pid = -1;
    int m_toServer = -1;
    int m_fromServer = -1;
    std::map<std::string, std::string> m_ready;
};

// A request's strings: each a big-endian 32-bit length and its bytes.
std::string EncodeStrings(const std::vector<std::string>& strings);

} // namespace toolchain
