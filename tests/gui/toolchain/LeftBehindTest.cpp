// A program run through Kib that starts processes of its own in its process
// group and returns: what it left behind ends when the run ends, when the
// view closes or Kib ends while the run is still being finished, and when a
// new command stops a run that still goes on. Each process writes its pid.
#include "ToolchainTestSupport.h"

#include "support/ProcessCheck.h"

#include <sys/wait.h>

using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;

namespace {

class LeftBehindTest : public ToolchainTest {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        ASSERT_TRUE(StartWith(Script("javac", "exit 0\n"), "/bin/false"));
        src = Put(dir + "src", "Hello.java", "Hello.java");
        view = OpenView(src);
        ASSERT_NE(view, nullptr);
        pids = dir + "pids";
    }

    // The stand-in interpreter: two sleeps left behind, one on /dev/null,
    // one holding the program's output (with ticking, a loop that keeps
    // writing to it), then tail, then the end of the script.
    void Interpreter(bool ticking, const std::string& tail = "")
    {
        std::string holder = ticking ? "while :; do echo tick; sleep 0.1; done &\n" : "sleep 300 &\n";
        Frame()->Settings().m_interpreterPath =
            Script("java", "sleep 300 >/dev/null 2>&1 &\necho $! >> '" + pids + "'\n" + holder + "echo $! >> '" +
                               pids + "'\necho started\n" + tail);
    }

    std::vector<int> LeftBehind()
    {
        PumpUntil([&] { return kibtest::ReadPids(pids).size() >= 2; }, 20000);
        std::vector<int> left = kibtest::ReadPids(pids);
        EXPECT_EQ(left.size(), 2u);
        for (int pid : left)
            EXPECT_FALSE(kibtest::ProcessEnded(pid)) << pid << " runs while the program does";
        return left;
    }

    // The program itself has ended, but its run is not finished yet: what it
    // left behind still writes to the pane.
    bool ProgramReturnedRunGoesOn()
    {
        return PumpUntil([&] { return view->Runner().HoldsChild() && !view->Runner().IsChildRunning(); }, 20000) &&
               view->CommandMode() == 2;
    }

    static void ExpectNoChildOfKibLeft()
    {
        int status;
        EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1) << "no child of Kib left unreaped";
        EXPECT_EQ(errno, ECHILD);
    }

    std::string src;
    std::string pids;
    CKibView* view = nullptr;
};

} // namespace

TEST_F(LeftBehindTest, WhatAProgramLeftBehindEndsWithItsRun)
{
    // Ctrl+F5: compiled, run, returned; the run ends and takes the rest along.
    Interpreter(false);
    Command(kib::ID_JAVA_COMPILE_RUN);
    std::vector<int> left = LeftBehind();
    ASSERT_TRUE(WaitIdle(view, 20000));
    EXPECT_EQ(ProgramPane()->GetText(), "started\r\n");
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 5000)) << "left behind after the run ended";
    ExpectNoChildOfKibLeft();
}

TEST_F(LeftBehindTest, WhatAProgramLeftBehindEndsWhenItsViewClosesBeforeTheRunIsFinished)
{
    Interpreter(true);
    Command(kib::ID_JAVA_RUN);
    std::vector<int> left = LeftBehind();
    ASSERT_TRUE(ProgramReturnedRunGoesOn());
    view->GetDocument()->OnCloseDocument();
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 5000)) << "left behind after the view closed";
    ExpectNoChildOfKibLeft();
}

TEST_F(LeftBehindTest, WhatAProgramLeftBehindEndsWhenKibEndsBeforeTheRunIsFinished)
{
    Interpreter(true);
    Command(kib::ID_JAVA_RUN);
    std::vector<int> left = LeftBehind();
    ASSERT_TRUE(ProgramReturnedRunGoesOn());
    ASSERT_TRUE(CloseFrame()); // "Beenden"
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 5000)) << "left behind after Kib ended";
    ExpectNoChildOfKibLeft();
}

TEST_F(LeftBehindTest, WhatAStillRunningProgramStartedEndsWhenANewCommandStopsIt)
{
    Interpreter(false, "exec sleep 300\n");
    Command(kib::ID_JAVA_RUN);
    std::vector<int> left = LeftBehind();
    EXPECT_TRUE(view->Runner().IsChildRunning());
    int program = view->Runner().ChildPid();
    std::remove(pids.c_str());
    Command(kib::ID_JAVA_RUN); // stops the run still going on, starts again
    EXPECT_TRUE(kibtest::WaitProcessesEnded(left, 5000));
    EXPECT_TRUE(kibtest::ProcessEnded(program));
    std::vector<int> second = LeftBehind();
    view->GetDocument()->OnCloseDocument();
    EXPECT_TRUE(kibtest::WaitProcessesEnded(second, 5000));
    ExpectNoChildOfKibLeft();
}
