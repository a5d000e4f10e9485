// Compile and run through Kib's commands with stand-in tools that misbehave:
// a compiler printing 50 MB, a program closing its output but running on, a
// program ignoring SIGTERM, starts that replace running children 200 times.
#include "ToolchainTestSupport.h"

#include "toolchain/ToolchainTexts.h"

#include <chrono>
#include <csignal>
#include <sys/wait.h>

using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;

namespace {

class BadInputTest : public ToolchainTest {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        ASSERT_TRUE(StartWith("/bin/false", "/bin/false"));
        src = Put(dir + "src", "Hello.java", "Hello.java");
        view = OpenView(src);
        ASSERT_NE(view, nullptr);
    }

    std::string src;
    CKibView* view = nullptr;
};

} // namespace

TEST_F(BadInputTest, CompilerPrintingFiftyMegabytesFillsThePaneCompletely)
{
    const std::string line = "Stand-in compiler output, one line of text, number ";
    const std::string summary = "Stand-in summary: 1 error";
    // 50 MB of numbered lines, then one line on standard error.
    const int lines = 900000;
    Frame()->Settings().m_compilerPath = Script(
        "bigjavac", "awk -v L='" + line + "' -v N=" + std::to_string(lines) +
                        " 'BEGIN { for (i = 0; i < N; i++) print L i }'\necho '" + summary + "' >&2\n");
    auto started = std::chrono::steady_clock::now();
    Command(kib::ID_JAVA_COMPILE_RUN);
    // The interface keeps running meanwhile: timers still fire.
    int ticks = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { ++ticks; });
    timer.Start(20);
    ASSERT_TRUE(WaitIdle(view, 300000));
    timer.Stop();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_GT(ticks, 0);
    COutputPane* pane = CompilerPane();
    EXPECT_GT(pane->GetTextLength(), 50u << 20);
    // The two pipes' chunks come in no fixed order: take the error line out
    // wherever it went in, and the output lines must be complete and in order.
    std::string text = pane->GetText();
    size_t at = text.find(summary + "\r\n");
    ASSERT_NE(at, std::string::npos);
    text.erase(at, summary.size() + 2);
    const std::string heading = "Compile " + src + "....\r\n";
    ASSERT_EQ(text.compare(0, heading.size(), heading), 0);
    size_t pos = heading.size();
    for (int i = 0; i < lines; ++i) {
        std::string expected = line + std::to_string(i) + "\r\n";
        ASSERT_EQ(text.compare(pos, expected.size(), expected), 0) << "line " << i;
        pos += expected.size();
    }
    EXPECT_EQ(text.substr(pos), "\r\nCompilierung beendet");
    EXPECT_TRUE(view->ErrorOutputSeen());
    EXPECT_EQ(ProgramPane()->GetText(), "") << "error output: no run";
    std::printf("[ info ] 50 MB compiler output through the pane in %.1f s, %d timer ticks\n", seconds, ticks);
}

TEST_F(BadInputTest, ProgramClosingItsOutputStillRunsUntilItEnds)
{
    std::string marker = dir + "ended";
    Frame()->Settings().m_interpreterPath =
        Script("closer", "echo before\nexec 1>&-\nsleep 1\necho after >&2\ntouch '" + marker + "'\n");
    Command(kib::ID_JAVA_RUN);
    ASSERT_TRUE(PumpUntil([&] { return ProgramPane()->GetText() == "before\r\n"; }, 10000));
    PumpEvents(300);
    EXPECT_EQ(view->CommandMode(), 2) << "a closed output is not the end";
    EXPECT_TRUE(view->Runner().IsChildRunning());
    ASSERT_TRUE(WaitIdle(view, 20000));
    EXPECT_TRUE(Exists(marker));
    EXPECT_EQ(ProgramPane()->GetText(), "before\r\nafter\r\n");
}

TEST_F(BadInputTest, ProgramIgnoringTermIsKilledWhenItsViewCloses)
{
    Frame()->Settings().m_interpreterPath =
        Script("stubborn", "trap '' TERM\necho ready\nwhile :; do sleep 1; done\n");
    Command(kib::ID_JAVA_RUN);
    ASSERT_TRUE(PumpUntil([&] { return ProgramPane()->GetText() == "ready\r\n"; }, 10000));
    int pid = view->Runner().ChildPid();
    ASSERT_GT(pid, 0);
    auto started = std::chrono::steady_clock::now();
    view->GetDocument()->OnCloseDocument();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_NE(kill(pid, 0), 0);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_LT(seconds, 15.0) << "every wait of the stop is bounded";
    EXPECT_TRUE(app->Docs().Documents().empty());
}

TEST_F(BadInputTest, NewCommandEndsTheRunningOneTwoHundredTimesLeavingNoDescriptorOrThread)
{
    Frame()->Settings().m_interpreterPath = Script("runner", "echo run $$\nexec sleep 60\n");
    Frame()->Settings().m_compilerPath = Script("compiler", "echo compile $$ >&2\nexec sleep 60\n");
    auto cycle = [&](int i) {
        Command(i % 2 ? kib::ID_JAVA_COMPILE : kib::ID_JAVA_RUN);
        ASSERT_TRUE(view->Runner().HoldsChild()) << i;
        ASSERT_EQ(view->CommandMode(), i % 2 ? 1 : 2) << i;
    };
    cycle(0);
    cycle(1);
    PumpEvents(100);
    const int fds = CountEntries("/proc/self/fd");
    const int threads = CountEntries("/proc/self/task");
    for (int i = 0; i < 200; ++i)
        cycle(i);
    // The last one (a compile) still runs: its progress window is the only one.
    EXPECT_NE(view->CompileProgressWindow(), nullptr);
    EXPECT_EQ(CompilerPane()->GetLineText(0), "Compile " + src + "....");
    Command(kib::ID_JAVA_RUN);
    EXPECT_EQ(view->CompileProgressWindow(), nullptr);
    EXPECT_NE(CompilerPane()->GetText().find("Compilierung beendet"), std::string::npos)
        << "an ended compile is finished as such";
    ASSERT_TRUE(PumpUntil([&] { return ProgramPane()->GetText().rfind("run ", 0) == 0; }, 10000));
    int pid = view->Runner().ChildPid();
    view->GetDocument()->OnCloseDocument();
    PumpEvents(200);
    EXPECT_NE(kill(pid, 0), 0);
    EXPECT_LE(CountEntries("/proc/self/fd"), fds);
    EXPECT_LE(CountEntries("/proc/self/task"), threads);
    // No child of Kib is left over either.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(BadInputTest, OnlyAnEmptyErrorOutputLetsTheRunFollow)
{
    std::string ran = dir + "ran";
    Frame()->Settings().m_interpreterPath = Script("java", "echo ran\ntouch '" + ran + "'\n");
    Frame()->Settings().m_compilerPath = Script("quiet", "echo on stdout only\n");
    ASSERT_TRUE(CompileAndWait(view, kib::ID_JAVA_COMPILE_RUN));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + src + "....\r\non stdout only\r\n\r\nCompilierung beendet");
    EXPECT_TRUE(Exists(ran));
    EXPECT_EQ(ProgramPane()->GetText(), "ran\r\n");

    std::remove(ran.c_str());
    Frame()->Settings().m_compilerPath = Script("noisy", "printf 'a note\\r\\n' >&2\n");
    ASSERT_TRUE(CompileAndWait(view, kib::ID_JAVA_COMPILE_RUN));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + src + "....\r\na note\r\n\r\nCompilierung beendet")
        << "a CR LF of the child stays one line break";
    PumpEvents(100);
    EXPECT_FALSE(Exists(ran));

    // A plain compile never runs, even without error text.
    Frame()->Settings().m_compilerPath = Script("quiet2", "exit 0\n");
    ASSERT_TRUE(CompileAndWait(view, kib::ID_JAVA_COMPILE));
    PumpEvents(100);
    EXPECT_FALSE(Exists(ran));
}

TEST_F(BadInputTest, OutputGoesInWhereTheUserClickedInThePane)
{
    Frame()->Settings().m_interpreterPath = Script("slow", "echo one\nsleep 0.5\necho two\n");
    Command(kib::ID_JAVA_RUN);
    ASSERT_TRUE(PumpUntil([&] { return ProgramPane()->GetText() == "one\r\n"; }, 10000));
    ProgramPane()->SetSelection({0, 1}, {0, 1});
    ASSERT_TRUE(WaitIdle(view, 10000));
    EXPECT_EQ(ProgramPane()->GetText(), "otwo\r\nne\r\n");
}
