// Test helpers for the warm compiler: one compile by the javac process and
// one by the server, each with its exit status, both streams, the compiler
// pane text they make, and the class files they wrote (read and removed).
#pragma once

#include "RunnerSink.h"
#include "platform/Process.h"
#include "support/TempDir.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/ProcessRunner.h"
#include "toolchain/RunnerPaneQueue.h"
#include "toolchain/WarmCompiler.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kibtest {

struct CCompileOutcome {
    int exitCode = -1;
    std::string out, err;
    std::string pane;
    std::map<std::string, std::string> classes; // path -> bytes
};

// Reads and deletes every .class file below the folders.
inline void TakeClassFiles(const std::string& dir, std::map<std::string, std::string>& into)
{
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = dir + "/" + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            TakeClassFiles(path, into);
        } else if (name.size() > 6 && name.compare(name.size() - 6, 6, ".class") == 0) {
            into[path] = ReadFile(path);
            unlink(path.c_str());
        }
    }
    closedir(d);
}

inline std::map<std::string, std::string> TakeClassFiles(const std::vector<std::string>& roots)
{
    std::map<std::string, std::string> all;
    for (const std::string& r : roots)
        TakeClassFiles(r, all);
    return all;
}

// The pane text the two streams make, pieces in the order given.
inline std::string PaneOf(const std::vector<toolchain::CServerAnswer::Piece>& pieces, TextEncoding encoding)
{
    toolchain::CRunnerPaneQueue queue([] {});
    queue.NewStart(encoding);
    for (const auto& p : pieces)
        queue.Push(toolchain::EOutputPane::Compiler,
                   p.stdErr ? toolchain::CRunnerPaneQueue::kStdErr : toolchain::CRunnerPaneQueue::kStdOut, p.bytes,
                   false);
    return queue.Take(true).compiler;
}

inline CCompileOutcome CompileWithProcess(const toolchain::CCompileCommand& c, const toolchain::CChildConsole& console,
                                          const std::vector<std::string>& classRoots)
{
    CRunnerSink sink;
    CProcessRunner runner(sink);
    CCompileOutcome o;
    EXPECT_TRUE(runner.StartChild(c.commandLine, c.workDir, console.environment)) << c.commandLine;
    EXPECT_TRUE(sink.WaitForExit(1, 120000)) << c.commandLine;
    runner.StopChild();
    auto exits = sink.Exits();
    if (!exits.empty() && exits[0].exited)
        o.exitCode = exits[0].exitCode;
    o.out = sink.Out();
    o.err = sink.Err();
    o.pane = PaneOf({{false, o.out}, {true, o.err}}, console.output);
    o.classes = TakeClassFiles(classRoots);
    return o;
}

inline CCompileOutcome OutcomeOf(const toolchain::CServerAnswer& a, const toolchain::CChildConsole& console,
                                 const std::vector<std::string>& classRoots)
{
    CCompileOutcome o;
    o.exitCode = a.exitCode;
    for (const auto& p : a.output)
        (p.stdErr ? o.err : o.out) += p.bytes;
    o.pane = PaneOf(a.output, console.output);
    o.classes = TakeClassFiles(classRoots);
    return o;
}

inline void ExpectSame(const CCompileOutcome& process, const CCompileOutcome& server, const std::string& what)
{
    EXPECT_EQ(process.exitCode, server.exitCode) << what;
    EXPECT_EQ(process.out, server.out) << what;
    EXPECT_EQ(process.err, server.err) << what;
    EXPECT_EQ(process.pane, server.pane) << what;
    EXPECT_EQ(process.classes.size(), server.classes.size()) << what;
    for (const auto& [path, bytes] : process.classes) {
        auto it = server.classes.find(path);
        ASSERT_NE(it, server.classes.end()) << what << ": " << path << " not written by the server";
        EXPECT_TRUE(it->second == bytes) << what << ": " << path << " differs";
    }
}

// Runs a program to its end without output; its exit status or -1.
inline int RunQuietlyForTest(const std::vector<std::string>& argv)
{
    platform::SpawnRequest request;
    request.argv = argv;
    request.stdoutFd = platform::kStdNull;
    request.stderrFd = platform::kStdNull;
    pid_t pid = -1;
    if (platform::Spawn(request, &pid) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits until a server is ready for the command (started by Prepare).
inline bool PrepareAndWait(toolchain::CWarmCompiler& warm, const toolchain::CCompileCommand& c,
                           const toolchain::CChildConsole& console)
{
    warm.Prepare(c, console.environment);
    warm.WaitPrepared();
    return warm.Ready();
}

} // namespace kibtest
