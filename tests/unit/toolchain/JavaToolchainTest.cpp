// The compile and run commands with the real JDKs of this machine, through
// the process runner, and the compiler-message recognition on their output.
#include "RunnerSink.h"
#include "platform/CommandLine.h"
#include "platform/Process.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "toolchain/CommandMode.h"
#include "toolchain/CompilerMessage.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/PaneText.h"
#include "toolchain/ProcessRunner.h"
#include "toolchain/ToolchainTexts.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

using namespace toolchain;
using kibtest::CRunnerSink;

namespace {

const char* const kJdks[] = {"/usr/lib/jvm/java-17-openjdk-amd64", "/usr/lib/jvm/temurin-25-jdk-amd64"};

std::string Data(const std::string& name)
{
    return std::string(KIB_TEST_DATA) + "/toolchain/" + name;
}

struct Outcome {
    bool started = false;
    std::string out, err;
    ChildExit exit;
};

class JavaToolchainTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        std::string jdk = GetParam();
        if (!kibtest::Exists(jdk + "/bin/javac"))
            GTEST_SKIP() << "no JDK at " << jdk;
        settings.m_compilerPath = jdk + "/bin/javac";
        settings.m_interpreterPath = jdk + "/bin/java";
        settings.m_captureOutput = 1;
    }

    // Copies a data file into folder (created when missing) under a name.
    std::string Put(const std::string& folder, const std::string& name, const std::string& from)
    {
        mkdir(folder.c_str(), 0755);
        std::string path = folder + "/" + name;
        kibtest::WriteFile(path, kibtest::ReadFile(Data(from)));
        return path;
    }

    Outcome Start(const std::string& line, const std::string& workDir)
    {
        sink.Clear();
        Outcome o;
        o.started = runner.StartChild(line, workDir, ChildEnvironment(IdeClassPath()));
        if (o.started) {
            EXPECT_TRUE(sink.WaitForExit(1, 60000)) << line;
            auto exits = sink.Exits();
            if (!exits.empty())
                o.exit = exits[0];
        }
        runner.StopChild();
        o.out = sink.Out();
        o.err = sink.Err();
        return o;
    }

    Outcome Compile(const std::string& source)
    {
        CCompileCommand c = BuildCompileCommand(settings, source, IdeClassPath());
        return Start(c.commandLine, c.workDir);
    }

    Outcome RunClass(const std::string& source, const std::string& args)
    {
        CRunCommand r = BuildRunCommand(settings, source, args, IdeClassPath());
        return Start(r.commandLine, r.workDir);
    }

    CSettings settings;
    CRunnerSink sink;
    CProcessRunner runner{sink};
    kibtest::CTempDir dir;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Jdks, JavaToolchainTest, ::testing::ValuesIn(kJdks),
                         [](const auto& info) {
                             return std::string(info.param).find("temurin") != std::string::npos
                                        ? std::string("Temurin25")
                                        : std::string("OpenJdk17");
                         });

TEST_P(JavaToolchainTest, CorrectFileCompilesIntoAClassAndThePaneReadsAsExpected)
{
    std::string src = Put(dir.File("src"), "Hello.java", "Hello.java");
    Outcome o = Compile(src);
    ASSERT_TRUE(o.started);
    EXPECT_TRUE(o.exit.exited && o.exit.exitCode == 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(kibtest::Exists(dir.File("src/Hello.class")));
    // What the compiler output pane holds afterwards.
    CPaneTextConverter conv;
    std::string pane = CompileHeadingText(src) + conv.Convert(o.out) + CompileFinishedText();
    EXPECT_EQ(pane, "Compile " + src + "....\r\n\r\nCompilierung beendet");

    Outcome run = RunClass(src, "");
    EXPECT_EQ(run.out, "Hello from Kib\n");
    EXPECT_TRUE(run.exit.exited && run.exit.exitCode == 0);
}

TEST_P(JavaToolchainTest, EveryCompilerMessageIsFoundAtItsFileLineAndColumn)
{
    settings.m_deprecated = 1; // the deprecation warning on both JDKs
    std::string src = Put(dir.File("src dir"), "Broken.java", "Broken.java");
    Outcome o = Compile(src);
    ASSERT_TRUE(o.started);
    EXPECT_FALSE(kibtest::Exists(dir.File("src dir/Broken.class")));
    EXPECT_NE(o.err, "");

    std::vector<std::string> source = SplitPaneLines(kibtest::ReadFile(src));
    CPaneTextConverter conv;
    std::vector<std::string> pane =
        SplitPaneLines(CompileHeadingText(src) + conv.Convert(o.out + o.err) + CompileFinishedText());
    // Line named by each message, and the token javac points at.
    const std::vector<std::pair<int, std::string>> expected = {
        {3, "y;"}, {6, "new Integer"}, {9, "^ 1"}, {1234, "\"text\""}};
    size_t seen = 0;
    for (int i = 1; i < static_cast<int>(pane.size()); ++i) {
        if (pane[static_cast<size_t>(i)].find(".java:") == std::string::npos)
            continue;
        ASSERT_LT(seen, expected.size()) << pane[static_cast<size_t>(i)];
        auto [line, token] = expected[seen++];
        const std::string& text = source[static_cast<size_t>(line - 1)];
        // The message line, the source excerpt under it and its caret line.
        for (int clicked = i; clicked <= i + 2; ++clicked) {
            CCompilerMessage m = RecognizeCompilerMessage(pane, clicked, dir.Path());
            ASSERT_TRUE(m.Complete()) << pane[static_cast<size_t>(clicked)];
            EXPECT_EQ(m.file, src);
            EXPECT_EQ(m.line, line);
            EXPECT_EQ(m.column - 1, static_cast<int>(text.find(token))) << "line " << line;
            EXPECT_EQ(m.messageLine, i);
            EXPECT_EQ(m.caretLine, i + 2);
        }
    }
    EXPECT_EQ(seen, expected.size()) << o.err;
}

TEST_P(JavaToolchainTest, RunWithArgumentsFromTheClassFolder)
{
    std::string src = Put(dir.File("prog"), "Args.java", "Args.java");
    ASSERT_TRUE(Compile(src).exit.exitCode == 0);
    settings.m_classPath = "/extra/lib";
    Outcome o = RunClass(src, "one \"two three\"  'four'");
    EXPECT_EQ(o.out, "[one]\n[two three]\n['four']\ncwd=" + dir.File("prog") +
                         "\nclasspath=" + IdeClassPath() + ":/extra/lib:" + dir.File("prog") + "\n");
}

TEST_P(JavaToolchainTest, LongOutputArrivesCompleteInOrder)
{
    std::string src = Put(dir.File("src"), "Lines.java", "Lines.java");
    ASSERT_EQ(Compile(src).exit.exitCode, 0);
    Outcome o = RunClass(src, "");
    std::string expected;
    for (int i = 0; i < 2000; ++i)
        expected += "output line " + std::to_string(i) + "\n";
    EXPECT_EQ(o.out, expected);
    EXPECT_EQ(o.err, "done on stderr\n");
}

TEST_P(JavaToolchainTest, ProgramWaitingOnInputEndsByStop)
{
    std::string src = Put(dir.File("src"), "WaitInput.java", "WaitInput.java");
    ASSERT_EQ(Compile(src).exit.exitCode, 0);
    CRunCommand r = BuildRunCommand(settings, src, "", IdeClassPath());
    sink.Clear();
    ASSERT_TRUE(runner.StartChild(r.commandLine, r.workDir, ChildEnvironment(IdeClassPath())));
    ASSERT_TRUE(sink.WaitForOut("ready\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(runner.IsChildRunning());
    int pid = runner.ChildPid();
    runner.StopChild();
    EXPECT_NE(kill(pid, 0), 0);
    auto exits = sink.Exits();
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_TRUE(exits[0].stopped);
    // The JVM answers SIGTERM by running its shutdown and exiting with 143.
    EXPECT_TRUE((exits[0].exited && exits[0].exitCode == 143) || exits[0].signal == SIGTERM);
    EXPECT_EQ(sink.Out(), "ready\n");
}

TEST_P(JavaToolchainTest, NamesWithBlanksQuotesAndShellSyntaxCompileAndRunUnexecuted)
{
    std::string folder = dir.File("we ird \"q\" $(touch pwned1) `touch pwned2` ;touch pwned3; it's");
    std::string src = Put(folder, "Args.java", "Args.java");
    Outcome c = Compile(src);
    ASSERT_TRUE(c.exit.exited) << c.err;
    EXPECT_EQ(c.exit.exitCode, 0) << c.err;
    EXPECT_TRUE(kibtest::Exists(folder + "/Args.class"));
    Outcome o = RunClass(src, "\"$(touch pwned4)\" `touch pwned5`");
    EXPECT_EQ(o.out, "[$(touch pwned4)]\n[`touch]\n[pwned5`]\ncwd=" + folder + "\nclasspath=" +
                         IdeClassPath() + "::" + folder + "\n");

    // A file name of that kind (a class that is not public may live in any file).
    std::string odd = folder + "/odd $(touch pwned6) `x`;name.java";
    kibtest::WriteFile(odd, "class Other { }\n");
    Outcome c2 = Compile(odd);
    EXPECT_EQ(c2.exit.exitCode, 0) << c2.err;
    EXPECT_TRUE(kibtest::Exists(folder + "/Other.class"));

    for (int i = 1; i <= 6; ++i) {
        std::string canary = "pwned" + std::to_string(i);
        EXPECT_FALSE(kibtest::Exists(folder + "/" + canary)) << canary;
        EXPECT_FALSE(kibtest::Exists(dir.File(canary))) << canary;
        EXPECT_FALSE(kibtest::Exists(canary)) << canary;
    }
}

TEST_P(JavaToolchainTest, ConsoleScriptRunsTheSameProgramUnderShWithNothingExecuted)
{
    std::string folder = dir.File("con $(touch pwned1) `touch pwned2`; 'x' \"y\"");
    std::string src = Put(folder, "Args.java", "Args.java");
    ASSERT_EQ(Compile(src).exit.exitCode, 0);
    settings.m_captureOutput = 0;
    settings.m_stopAfterRun = 0;
    CRunCommand r = BuildRunCommand(settings, src, "a \"b c\" $(touch pwned3) ';touch pwned4'", IdeClassPath());
    ASSERT_FALSE(r.captured);
    // What the terminal would run, run by sh directly (from another folder).
    Outcome o = Start(platform::JoinCommandLine({"/bin/sh", "-c", r.ConsoleScript()}), dir.Path());
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, "[a]\n[b c]\n[$(touch]\n[pwned3)]\n[';touch]\n[pwned4']\ncwd=" + folder +
                         "\nclasspath=" + IdeClassPath() + "::" + folder + "\n");
    for (int i = 1; i <= 4; ++i) {
        std::string canary = "pwned" + std::to_string(i);
        EXPECT_FALSE(kibtest::Exists(folder + "/" + canary)) << canary;
        EXPECT_FALSE(kibtest::Exists(dir.File(canary))) << canary;
    }
}

TEST_P(JavaToolchainTest, CompileThenRunFollowsOnlyACompileWithoutErrorText)
{
    // The view's sequence: mode 4, compile, build exit, maybe run.
    CCommandMode state;
    std::string src = Put(dir.File("src"), "Hello.java", "Hello.java");
    state.BeginCompile(true);
    Outcome c = Compile(src);
    if (!c.out.empty())
        state.RouteText(false);
    if (!c.err.empty())
        state.RouteText(true);
    EXPECT_TRUE(state.FinishBuild());

    settings.m_deprecated = 1;
    std::string warn = dir.File("warn");
    mkdir(warn.c_str(), 0755);
    kibtest::WriteFile(warn + "/W.java", "public class W { Integer i = new Integer(5); }\n");
    state.BeginCompile(true);
    c = Compile(warn + "/W.java");
    EXPECT_EQ(c.exit.exitCode, 0) << "warnings only";
    ASSERT_NE(c.err, "");
    state.RouteText(true);
    EXPECT_FALSE(state.FinishBuild()) << "a warning on stderr stops the run";
}

TEST_P(JavaToolchainTest, MissingOrFolderCompilerFailsToStartAndReturnsToIdle)
{
    std::string src = Put(dir.File("src"), "Hello.java", "Hello.java");
    for (std::string compiler : {dir.File("no such javac"), std::string(GetParam()) + "/bin"}) {
        settings.m_compilerPath = compiler;
        CCommandMode state;
        state.BeginCompile(false);
        CCompileCommand c = BuildCompileCommand(settings, src, IdeClassPath());
        sink.Clear();
        bool ok = runner.StartChild(c.commandLine, c.workDir, ChildEnvironment(IdeClassPath()));
        EXPECT_FALSE(ok);
        if (!ok)
            state.StartFailed();
        EXPECT_EQ(sink.Out(), "Unable to start " + c.commandLine + "\n");
        EXPECT_FALSE(runner.HoldsChild());
        EXPECT_EQ(state.Mode(), CMD_IDLE);
        EXPECT_TRUE(sink.Exits().empty());
    }
}
