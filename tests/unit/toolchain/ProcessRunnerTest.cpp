#include "toolchain/ProcessRunner.h"

#include "RunnerSink.h"
#include "platform/CommandLine.h"
#include "platform/Process.h"
#include "support/ProcessCheck.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>

using kibtest::CRunnerSink;
using Clock = std::chrono::steady_clock;

namespace kibtest {

int CountEntries(const char* dir)
{
    int n = 0;
    if (DIR* d = opendir(dir)) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                ++n;
        closedir(d);
    }
    return n;
}

int CountOpenFds()
{
    return CountEntries("/proc/self/fd") - 1; // the listing's own descriptor
}

int CountThreads()
{
    return CountEntries("/proc/self/task");
}

} // namespace kibtest

namespace {

std::vector<std::string> Env()
{
    return platform::WithVariable(platform::CurrentEnvironment(), "CLASSPATH", "");
}

// A command line running a shell script (quoted as one word).
std::string Sh(const std::string& script)
{
    return "/bin/sh -c " + platform::QuoteArgument(script);
}

long long Ms(Clock::duration d)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

bool Alive(int pid)
{
    return kill(pid, 0) == 0;
}

class ProcessRunnerTest : public ::testing::Test {
protected:
    CRunnerSink sink;
    CProcessRunner runner{sink};
    kibtest::CTempDir dir;
};

} // namespace

TEST_F(ProcessRunnerTest, RunsChildInFolderWithEnvironmentAndReportsItsEnd)
{
    auto env = platform::WithVariable(Env(), "KIB_X", "x y");
    ASSERT_TRUE(runner.StartChild(Sh("pwd; echo \"$KIB_X|$CLASSPATH|\"; echo oops >&2; exit 3"),
                                  dir.Path(), env));
    EXPECT_TRUE(runner.HoldsChild());
    ASSERT_TRUE(sink.WaitForExit());
    EXPECT_EQ(sink.Out(), dir.Path() + "\nx y||\n");
    EXPECT_EQ(sink.Err(), "oops\n");
    auto exits = sink.Exits();
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_TRUE(exits[0].exited);
    EXPECT_EQ(exits[0].exitCode, 3);
    EXPECT_FALSE(exits[0].stopped);
    EXPECT_EQ(exits[0].startId, runner.StartId());
    EXPECT_FALSE(runner.IsChildRunning());
    EXPECT_TRUE(runner.HoldsChild()) << "held until the owner stops it";
    ASSERT_EQ(sink.Started().size(), 1u);
    EXPECT_EQ(sink.Started()[0], Sh("pwd; echo \"$KIB_X|$CLASSPATH|\"; echo oops >&2; exit 3"));
    runner.StopChild();
    EXPECT_FALSE(runner.HoldsChild());
    EXPECT_EQ(sink.Exits().size(), 1u) << "one notice per start";
}

TEST_F(ProcessRunnerTest, SilentChildGivesNoTextAndOneNotice)
{
    ASSERT_TRUE(runner.StartChild("/bin/true", dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForExit());
    runner.StopChild();
    EXPECT_EQ(sink.Out(), "");
    EXPECT_EQ(sink.Err(), "");
    EXPECT_EQ(sink.Exits().size(), 1u);
}

TEST_F(ProcessRunnerTest, LongOutputArrivesCompleteInOrderIn256ByteChunksBeforeTheNotice)
{
    // 3000 numbered lines, some of them with CR LF, in many small writes.
    std::string expected;
    for (int i = 0; i < 3000; ++i)
        expected += "line " + std::to_string(i) + (i % 7 ? "\n" : "\r\n");
    ASSERT_TRUE(runner.StartChild(
        Sh("i=0; while [ $i -lt 3000 ]; do if [ $((i % 7)) -eq 0 ]; then printf 'line %d\\r\\n' $i; "
           "else echo \"line $i\"; fi; i=$((i+1)); done"),
        dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForExit());
    EXPECT_EQ(sink.Out(), expected);
    EXPECT_GT(sink.OutChunks(), expected.size() / CProcessRunner::kChunkSize);
    EXPECT_LE(sink.MaxChunk(), CProcessRunner::kChunkSize);
    EXPECT_TRUE(sink.NulTerminated());
    EXPECT_EQ(sink.TextAfterTerminate(), 0);
    runner.StopChild();
}

TEST_F(ProcessRunnerTest, ABlockWrittenAtOnceStillArrivesWholeIn256ByteChunks)
{
    // The child fills the pipe in large writes before the reader gets to it
    // (the reader then takes much more than a chunk per read): every byte
    // at a chunk's border must survive its NUL.
    std::string expected;
    for (int i = 1; i <= 40000; ++i) {
        std::string n = std::to_string(i);
        expected += std::string(5 - n.size(), '0') + n + "\n";
    }
    ASSERT_TRUE(runner.StartChild(Sh("sleep 0.3; seq -w 1 40000 >" + dir.File("block") + "; cat " + dir.File("block")),
                                  dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForExit());
    runner.StopChild();
    EXPECT_EQ(sink.Out().size(), expected.size());
    EXPECT_TRUE(sink.Out() == expected) << "text lost or changed at a chunk border";
    EXPECT_GE(sink.OutChunks(), expected.size() / CProcessRunner::kChunkSize);
    EXPECT_LE(sink.MaxChunk(), CProcessRunner::kChunkSize);
    EXPECT_TRUE(sink.NulTerminated());
}

TEST_F(ProcessRunnerTest, FailedStartWritesUnableToStartAndStaysIdle)
{
    int fds = kibtest::CountOpenFds();
    for (const std::string& line :
         {"\"" + dir.File("no javac") + "\" -version", "\"" + dir.Path() + "\"  -classpath x", std::string("   ")}) {
        sink.Clear();
        EXPECT_FALSE(runner.StartChild(line, dir.Path(), Env()));
        EXPECT_EQ(sink.Out(), "Unable to start " + line + "\n");
        EXPECT_FALSE(runner.HoldsChild());
        EXPECT_FALSE(runner.IsChildRunning());
        EXPECT_NE(runner.LastStartError(), 0);
        EXPECT_TRUE(sink.Started().empty());
        EXPECT_TRUE(sink.Exits().empty());
    }
    sink.Clear();
    EXPECT_FALSE(runner.StartChild("/bin/true", dir.File("missing folder"), Env()));
    EXPECT_EQ(sink.Out(), "Unable to start /bin/true\n");
    EXPECT_EQ(kibtest::CountOpenFds(), fds);
    runner.StopChild(); // harmless when idle
    EXPECT_EQ(sink.Exits().size(), 0u);
}

TEST_F(ProcessRunnerTest, ChildWaitingOnInputIsTerminatedByStop)
{
    ASSERT_TRUE(runner.StartChild(Sh("echo ready; read line; echo got \"$line\""), dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForOut("ready\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(runner.IsChildRunning()) << "its input never ends";
    int pid = runner.ChildPid();
    auto t0 = Clock::now();
    runner.StopChild();
    EXPECT_LT(Ms(Clock::now() - t0), 1500) << "TERM suffices, no fixed pauses";
    EXPECT_FALSE(Alive(pid));
    auto exits = sink.Exits();
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_TRUE(exits[0].stopped);
    EXPECT_EQ(exits[0].signal, SIGTERM);
    EXPECT_EQ(sink.Out(), "ready\n");
}

TEST_F(ProcessRunnerTest, ChildIgnoringTermIsKilledAfterTheGrace)
{
    runner.SetStopTimeouts(std::chrono::milliseconds(300), std::chrono::milliseconds(5000));
    ASSERT_TRUE(runner.StartChild(Sh("trap '' TERM; echo armed; while :; do sleep 1; done"),
                                  dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForOut("armed\n"));
    int pid = runner.ChildPid();
    auto t0 = Clock::now();
    runner.StopChild();
    auto took = Ms(Clock::now() - t0);
    EXPECT_GE(took, 290);
    EXPECT_LT(took, 3000);
    EXPECT_FALSE(Alive(pid));
    auto exits = sink.Exits();
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_EQ(exits[0].signal, SIGKILL);
    EXPECT_FALSE(exits[0].abandoned);
    // The sleep it started was in its process group and went with it (its
    // reaping by init takes a moment).
    bool groupGone = false;
    for (int i = 0; i < 200 && !groupGone; ++i) {
        groupGone = kill(-pid, 0) != 0;
        if (!groupGone)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(groupGone);
}

namespace {

// A script that leaves two sleeps behind in its process group, one with the
// pipes inherited, one on /dev/null, writing their pids to the file.
std::string LeaveTwoBehind(const std::string& pids, const std::string& prefix = "")
{
    return prefix + "sleep 300 >/dev/null 2>&1 & echo $! >> '" + pids + "'; sleep 300 & echo $! >> '" + pids +
           "'; echo returned";
}

} // namespace

TEST_F(ProcessRunnerTest, WhatAChildLeftInItsGroupEndsWhenTheRunIsStoppedAfterItReturned)
{
    std::string pids = dir.File("pids");
    runner.SetDrainQuietTime(std::chrono::milliseconds(100));
    ASSERT_TRUE(runner.StartChild(Sh(LeaveTwoBehind(pids)), dir.Path(), Env()));
    int leader = runner.ChildPid();
    ASSERT_TRUE(sink.WaitForExit());
    EXPECT_TRUE(sink.Exits()[0].exited);
    EXPECT_EQ(sink.Exits()[0].exitCode, 0);
    EXPECT_FALSE(runner.IsChildRunning());
    std::vector<int> left = kibtest::ReadPids(pids);
    ASSERT_EQ(left.size(), 2u);
    for (int pid : left)
        EXPECT_FALSE(kibtest::ProcessEnded(pid)) << "still there before the stop";
    // The child is held as a zombie until then, so its group id stays its own.
    EXPECT_TRUE(Alive(leader));
    auto t0 = Clock::now();
    runner.StopChild();
    EXPECT_LT(Ms(Clock::now() - t0), 1500) << "TERM suffices";
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 3000));
    int status;
    EXPECT_EQ(waitpid(leader, &status, WNOHANG), -1) << "the child is reaped by the stop";
}

TEST_F(ProcessRunnerTest, LeftoverIgnoringTermIsKilledAfterTheGraceAndTheDestructorEndsLeftoversToo)
{
    std::string pids = dir.File("pids");
    runner.SetStopTimeouts(std::chrono::milliseconds(300), std::chrono::milliseconds(5000));
    runner.SetDrainQuietTime(std::chrono::milliseconds(100));
    ASSERT_TRUE(runner.StartChild(Sh(LeaveTwoBehind(pids, "trap '' TERM; ")), dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForExit());
    std::vector<int> left = kibtest::ReadPids(pids);
    ASSERT_EQ(left.size(), 2u);
    auto t0 = Clock::now();
    runner.StopChild();
    auto took = Ms(Clock::now() - t0);
    EXPECT_GE(took, 290);
    EXPECT_LT(took, 3000);
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 3000));

    // A runner that goes away (its view closes) takes them along as well.
    std::string more = dir.File("more");
    {
        CRunnerSink local;
        CProcessRunner temp(local);
        temp.SetDrainQuietTime(std::chrono::milliseconds(100));
        ASSERT_TRUE(temp.StartChild(Sh(LeaveTwoBehind(more)), dir.Path(), Env()));
        ASSERT_TRUE(local.WaitForExit());
    }
    left = kibtest::ReadPids(more);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 3000));
}

TEST_F(ProcessRunnerTest, StopWhileTheChildRunsEndsWhatItStartedInItsGroup)
{
    std::string pids = dir.File("pids");
    ASSERT_TRUE(runner.StartChild(Sh(LeaveTwoBehind(pids) + "; read x"), dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForOut("returned\n"));
    std::vector<int> left = kibtest::ReadPids(pids);
    ASSERT_EQ(left.size(), 2u);
    runner.StopChild();
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 3000));
}

TEST_F(ProcessRunnerTest, ChildClosingItsOutputStillRunsUntilItEnds)
{
    ASSERT_TRUE(runner.StartChild(Sh("echo before; exec 1>&-; sleep 0.4; echo after >&2"),
                                  dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForOut("before\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(runner.IsChildRunning());
    EXPECT_TRUE(sink.Exits().empty()) << "the end of stdout is not the end of the child";
    ASSERT_TRUE(sink.WaitForExit());
    EXPECT_EQ(sink.Err(), "after\n");
    EXPECT_TRUE(sink.Exits()[0].exited);
    runner.StopChild();

    // The same child stopped while it still runs.
    sink.Clear();
    ASSERT_TRUE(runner.StartChild(Sh("echo x; exec 1>&- 2>&-; sleep 30"), dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForOut("x\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(runner.IsChildRunning());
    auto t0 = Clock::now();
    runner.StopChild();
    EXPECT_LT(Ms(Clock::now() - t0), 1500);
    EXPECT_EQ(sink.Exits().size(), 1u);
}

TEST_F(ProcessRunnerTest, ProcessLeftBehindHoldingThePipeDoesNotDelayTheNoticeForLong)
{
    runner.SetDrainQuietTime(std::chrono::milliseconds(100));
    ASSERT_TRUE(runner.StartChild(Sh("sleep 3 & echo parent done"), dir.Path(), Env()));
    auto t0 = Clock::now();
    ASSERT_TRUE(sink.WaitForExit(1, 2500));
    EXPECT_LT(Ms(Clock::now() - t0), 1500);
    EXPECT_EQ(sink.Out(), "parent done\n");
    runner.StopChild();
}

TEST_F(ProcessRunnerTest, FiftyMegabytesArriveCompleteWithoutPilingUp)
{
    const size_t total = 50u << 20;
    ASSERT_TRUE(runner.StartChild(Sh("yes 0123456789abcdef | head -c " + std::to_string(total)),
                                  dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForExit(1, 60000));
    std::string out = sink.Out();
    ASSERT_EQ(out.size(), total);
    const std::string unit = "0123456789abcdef\n";
    bool intact = true;
    for (size_t i = 0; i < total && intact; i += unit.size())
        intact = out.compare(i, std::min(unit.size(), total - i), unit, 0,
                             std::min(unit.size(), total - i)) == 0;
    EXPECT_TRUE(intact) << "bytes lost or reordered";
    runner.StopChild();
}

TEST_F(ProcessRunnerTest, TwoRunnersRunAtOnceAndStoppingOneLeavesTheOther)
{
    CRunnerSink sink2;
    CProcessRunner runner2(sink2);
    ASSERT_TRUE(runner.StartChild(Sh("echo one; read x"), dir.Path(), Env()));
    ASSERT_TRUE(runner2.StartChild(Sh("echo two; sleep 0.5; echo two again"), dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForOut("one\n"));
    ASSERT_TRUE(sink2.WaitForOut("two\n"));
    runner.StopChild();
    EXPECT_TRUE(runner2.IsChildRunning());
    ASSERT_TRUE(sink2.WaitForExit());
    EXPECT_EQ(sink2.Out(), "two\ntwo again\n");
    EXPECT_FALSE(sink2.Exits()[0].stopped);
    runner2.StopChild();
}

TEST_F(ProcessRunnerTest, StartWhileAChildRunsStopsTheEarlierOneFirst)
{
    ASSERT_TRUE(runner.StartChild(Sh("echo first; read x"), dir.Path(), Env()));
    ASSERT_TRUE(sink.WaitForOut("first\n"));
    int first = runner.ChildPid();
    uint64_t firstId = runner.StartId();
    ASSERT_TRUE(runner.StartChild(Sh("echo second"), dir.Path(), Env()));
    EXPECT_FALSE(Alive(first));
    ASSERT_TRUE(sink.WaitForExit(2));
    auto exits = sink.Exits();
    EXPECT_EQ(exits[0].startId, firstId);
    EXPECT_TRUE(exits[0].stopped);
    EXPECT_EQ(exits[1].startId, runner.StartId());
    EXPECT_NE(exits[1].startId, firstId);
    EXPECT_FALSE(exits[1].stopped);
    EXPECT_EQ(sink.Out(), "first\nsecond\n");
    runner.StopChild();
}

TEST_F(ProcessRunnerTest, CallbacksCannotStopOrRestartTheirOwnRunner)
{
    struct Reentrant : IProcessEvents {
        CProcessRunner* runner = nullptr;
        std::atomic<int> refused{0};
        std::mutex m;
        std::condition_variable cv;
        bool ended = false;
        void OnChildStdOut(std::string_view) override
        {
            if (runner && runner->HoldsChild()) {
                if (!runner->StartChild("/bin/true", "/", {}))
                    ++refused;
                runner->StopChild(); // ignored on the runner's own thread
            }
        }
        void OnChildStdErr(std::string_view) override {}
        void OnChildTerminate(const ChildExit&) override
        {
            std::lock_guard lock(m);
            ended = true;
            cv.notify_all();
        }
    } events;
    CProcessRunner own(events);
    events.runner = &own;
    ASSERT_TRUE(own.StartChild(Sh("echo hi"), dir.Path(), Env()));
    {
        std::unique_lock lock(events.m);
        ASSERT_TRUE(events.cv.wait_for(lock, std::chrono::seconds(10), [&] { return events.ended; }));
    }
    EXPECT_EQ(events.refused.load(), 1);
    own.StopChild();
}

TEST_F(ProcessRunnerTest, DestructorStopsARunningChild)
{
    int pid = -1;
    {
        CRunnerSink local;
        CProcessRunner temp(local);
        ASSERT_TRUE(temp.StartChild(Sh("echo up; read x"), dir.Path(), Env()));
        ASSERT_TRUE(local.WaitForOut("up\n"));
        pid = temp.ChildPid();
        EXPECT_TRUE(Alive(pid));
    }
    EXPECT_FALSE(Alive(pid));
}

TEST_F(ProcessRunnerTest, TwoHundredStartStopCyclesLeaveNoDescriptorOrThread)
{
    // Warm up whatever the library allocates once.
    ASSERT_TRUE(runner.StartChild("/bin/true", dir.Path(), Env()));
    runner.StopChild();
    int fds = kibtest::CountOpenFds();
    int threads = kibtest::CountThreads();
    for (int i = 0; i < 200; ++i) {
        // Alternately a child still running at the stop and one that has ended.
        std::string line = i % 2 ? Sh("read x") : std::string("/bin/true");
        ASSERT_TRUE(runner.StartChild(line, dir.Path(), Env())) << i;
        if (i % 2 == 0) {
            ASSERT_TRUE(sink.WaitForExit(static_cast<size_t>(i + 2))) << i;
        }
        runner.StopChild();
    }
    EXPECT_EQ(sink.Exits().size(), 201u);
    EXPECT_EQ(kibtest::CountOpenFds(), fds);
    EXPECT_EQ(kibtest::CountThreads(), threads);
    int status;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1) << "no unreaped child";
}
