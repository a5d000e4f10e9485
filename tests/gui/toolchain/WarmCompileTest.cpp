// F9 and Ctrl+F5 through Kib's own commands with the warm compile server:
// the compiler pane reads byte for byte as with the javac process, the run
// follows as before, a failing server leaves one line and the process's
// output, and the switch in the user's store turns the server off.
#include "ToolchainTestSupport.h"

#include "platform/Process.h"
#include "platform/UserStore.h"
#include "support/TempDir.h"
#include "toolchain/ToolchainTexts.h"
#include "toolchain/WarmCompiler.h"

#include <csignal>
#include <filesystem>

using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;

namespace {

class WarmCompileTest : public ToolchainTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        jdk = GetParam();
        if (!Exists(jdk + "/bin/javac"))
            GTEST_SKIP() << "no JDK at " << jdk;
        warmCompiler = true;
        ASSERT_TRUE(StartWith(jdk + "/bin/javac", jdk + "/bin/java"));
        ASSERT_NE(Warm(), nullptr);
        Warm()->SetWarmups(2);
    }

    toolchain::CWarmCompiler* Warm() { return Frame()->WarmCompiler(); }

    bool WaitReady() { return PumpUntil([&] { return Warm()->Ready(); }, 120000); }

    // Compiles twice: by the process (no server yet), then by the server
    // once it is ready; the class files are removed in between. Returns both panes.
    std::pair<std::string, std::string> ProcessThenServer(CKibView* view, int command = kib::ID_JAVA_COMPILE)
    {
        int served = Warm()->ServedCount();
        EXPECT_TRUE(CompileAndWait(view, command));
        std::string first = CompilerPane()->GetText();
        EXPECT_EQ(Warm()->ServedCount(), served) << "the first compile is the process's";
        EXPECT_TRUE(WaitReady());
        RemoveClasses();
        EXPECT_TRUE(CompileAndWait(view, command));
        EXPECT_EQ(Warm()->ServedCount(), served + 1) << "the second compile is the server's";
        return {first, CompilerPane()->GetText()};
    }

    void RemoveClasses()
    {
        for (const auto& e : std::filesystem::directory_iterator(dir + "src"))
            if (e.path().extension() == ".class")
                std::filesystem::remove(e.path());
    }

    std::string jdk;
};

INSTANTIATE_TEST_SUITE_P(Jdks, WarmCompileTest, ::testing::ValuesIn(kJdks),
                         [](const auto& info) { return JdkName(info.param); });

TEST_P(WarmCompileTest, ThePaneReadsTheSameWhetherProcessOrServerCompiled)
{
    std::string broken = Put(dir + "src", "Broken.java", "Broken.java");
    CKibView* view = OpenView(broken);
    ASSERT_NE(view, nullptr);
    auto [process, server] = ProcessThenServer(view);
    EXPECT_NE(process.find("error"), std::string::npos) << process;
    EXPECT_EQ(server, process);
    EXPECT_TRUE(view->ErrorOutputSeen());

    // The file changes: the server sees the new text.
    kibtest::WriteFile(broken, std::string_view("public class Broken {}\n"));
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + broken + "....\r\n\r\nCompilierung beendet");
    EXPECT_TRUE(Exists(dir + "src/Broken.class"));
}

TEST_P(WarmCompileTest, CompileThenRunWithTheServerRunsTheProgram)
{
    std::string hello = Put(dir + "src", "Hello.java", "Hello.java");
    CKibView* view = OpenView(hello);
    ASSERT_NE(view, nullptr);
    auto [process, server] = ProcessThenServer(view, kib::ID_JAVA_COMPILE_RUN);
    EXPECT_EQ(server, process);
    EXPECT_EQ(server, "Compile " + hello + "....\r\n\r\nCompilierung beendet");
    ASSERT_TRUE(PumpUntil([&] { return ProgramPane()->GetText() == "Hello from Kib\r\n"; }, 60000))
        << ProgramPane()->GetText();
    WaitIdle(view);
    EXPECT_TRUE(Exists(dir + "src/Hello.class"));
}

// A server that stops answering mid-compile: one line, then the process
// compiles as ever; Kib leaves no server behind.
TEST_P(WarmCompileTest, AHangingServerLeavesOneLineAndTheProcessCompiles)
{
    std::string script = Script("hang.py", "");
    kibtest::WriteFile(script, std::string_view("import struct, sys, time\n"
                               "o = sys.stdout.buffer\n"
                               "p = b'protocol=1\\n'\n"
                               "o.write(b'R' + struct.pack('>I', len(p)) + p); o.flush()\n"
                               "time.sleep(120)\n"));
    Warm()->SetLaunchForTest([script](const std::string&) { return std::vector<std::string>{platform::FindProgram("python3", std::getenv("PATH")), script}; });
    toolchain::CServerLimits limits;
    limits.silence = std::chrono::milliseconds(300);
    Warm()->SetLimits(limits);

    std::string broken = Put(dir + "src", "Broken.java", "Broken.java");
    CKibView* view = OpenView(broken);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(CompileAndWait(view));
    std::string process = CompilerPane()->GetText();
    ASSERT_TRUE(WaitReady());
    int pid = Warm()->ServerPid();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(CompileAndWait(view));
    std::string heading = "Compile " + broken + "....\r\n";
    std::string expected = process;
    expected.insert(heading.size(), toolchain::kPaneWarmCompilerFailed);
    EXPECT_EQ(CompilerPane()->GetText(), expected);
    EXPECT_FALSE(Warm()->Ready());
    EXPECT_TRUE(PumpUntil([&] { return kill(pid, 0) != 0; }, 5000)) << "the hanging server was not ended";
}

} // namespace

// The switch in the user's store.
TEST_F(ToolchainTest, WarmCompilerOffInTheUserStoreMeansNoServer)
{
    warmCompiler = false;
    ASSERT_TRUE(StartWith("/usr/lib/jvm/java-17-openjdk-amd64/bin/javac", "/usr/lib/jvm/java-17-openjdk-amd64/bin/java"));
    EXPECT_EQ(Frame()->WarmCompiler(), nullptr);
    EXPECT_FALSE(toolchain::WarmCompilerSwitchedOn());
    CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + toolchain::kWarmCompilerKey, true);
    ASSERT_TRUE(key.WriteDword(toolchain::kWarmCompilerValue, 2));
    EXPECT_TRUE(toolchain::WarmCompilerSwitchedOn());
    // A fresh user has no value at all: on.
    setenv("XDG_CONFIG_HOME", (dir + "cfg-fresh").c_str(), 1);
    platform::CUserStore::Instance().SetFile(platform::CUserStore::DefaultFile());
    EXPECT_TRUE(toolchain::WarmCompilerSwitchedOn());
}
