#include "platform/Terminal.h"

#include "platform/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void MakeExecutable(const std::string& path, const std::string& text)
{
    kibtest::WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

// Runs a terminal script the way the terminal would, with sh itself.
std::string RunScript(const std::string& script, const std::string& cwd,
                      const std::vector<std::string>* env = nullptr)
{
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0)
        return "pipe failed";
    platform::SpawnRequest req;
    req.argv = {"/bin/sh", "-c", script};
    req.workDir = cwd;
    req.environment = env;
    req.stdoutFd = p[1];
    req.stderrFd = p[1];
    pid_t pid = -1;
    int rc = platform::Spawn(req, &pid);
    close(p[1]);
    std::string out;
    if (rc == 0) {
        char buf[4096];
        ssize_t n;
        while ((n = read(p[0], buf, sizeof buf)) > 0)
            out.append(buf, static_cast<size_t>(n));
        waitpid(pid, nullptr, 0);
    }
    close(p[0]);
    return out;
}

bool WaitForFile(const std::string& path)
{
    for (int i = 0; i < 500; ++i) {
        if (kibtest::Exists(path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Names that a shell would split, expand or execute if they were not quoted.
const std::vector<std::string> kNasty = {
    "a b", "it's", "\"dq\"", "$(touch pwned1)", "`touch pwned2`", "x; touch pwned3",
    "$HOME", "*", "back\\slash", "new\nline", "-n", ""};

} // namespace

TEST(TerminalFind, TakesTerminalVariableThenTheUsualNames)
{
    kibtest::CTempDir dir;
    std::string bin = dir.File("bin");
    mkdir(bin.c_str(), 0755);
    MakeExecutable(bin + "/myterm", "#!/bin/sh\n");
    MakeExecutable(bin + "/xterm", "#!/bin/sh\n");

    EXPECT_EQ(platform::FindTerminal("myterm", bin), (std::vector<std::string>{bin + "/myterm"}));
    EXPECT_EQ(platform::FindTerminal("myterm --hold -fa \"Mono 12\"", bin),
              (std::vector<std::string>{bin + "/myterm", "--hold", "-fa", "Mono 12"}));
    EXPECT_EQ(platform::FindTerminal((bin + "/myterm").c_str(), ""),
              (std::vector<std::string>{bin + "/myterm"}));
    EXPECT_EQ(platform::FindTerminal("nosuchterm", bin), (std::vector<std::string>{bin + "/xterm"}));
    EXPECT_EQ(platform::FindTerminal(nullptr, bin), (std::vector<std::string>{bin + "/xterm"}));
    MakeExecutable(bin + "/x-terminal-emulator", "#!/bin/sh\n");
    EXPECT_EQ(platform::FindTerminal("", bin),
              (std::vector<std::string>{bin + "/x-terminal-emulator"}));
    EXPECT_TRUE(platform::FindTerminal(nullptr, dir.File("empty")).empty());
}

TEST(TerminalFind, SkipsWhatCannotRunAndKeepsTheNameOrderOverThePathOrder)
{
    kibtest::CTempDir dir;
    std::string first = dir.File("first"), second = dir.File("second");
    mkdir(first.c_str(), 0755);
    mkdir(second.c_str(), 0755);
    std::string path = first + ":" + second;
    MakeExecutable(first + "/xterm", "#!/bin/sh\n");
    kibtest::WriteFile(first + "/myterm", "#!/bin/sh\n"); // not executable
    MakeExecutable(second + "/myterm", "#!/bin/sh\n");
    mkdir((first + "/dirterm").c_str(), 0755);

    // A later folder's executable wins over an earlier one that cannot run.
    EXPECT_EQ(platform::FindTerminal("myterm -e-is-not-ours", path),
              (std::vector<std::string>{second + "/myterm", "-e-is-not-ours"}));
    // Not executable, a folder, missing: the usual names follow.
    for (std::string term : {first + "/myterm", first + "/dirterm", std::string("dirterm"),
                             first + "/missing -hold", std::string("\"\"")})
        EXPECT_EQ(platform::FindTerminal(term.c_str(), path), (std::vector<std::string>{first + "/xterm"}))
            << term;
    // x-terminal-emulator comes before xterm wherever they are on PATH.
    MakeExecutable(second + "/x-terminal-emulator", "#!/bin/sh\n");
    EXPECT_EQ(platform::FindTerminal(nullptr, path),
              (std::vector<std::string>{second + "/x-terminal-emulator"}));
    EXPECT_EQ(platform::FindTerminal("myterm", path), (std::vector<std::string>{second + "/myterm"}));
    // Only executable regular files count, for the fallbacks too.
    chmod((second + "/x-terminal-emulator").c_str(), 0644);
    chmod((first + "/xterm").c_str(), 0644);
    EXPECT_TRUE(platform::FindTerminal(nullptr, path).empty());
}

TEST(TerminalFind, UserTerminalReadsTerminalAndPathOfThisProcess)
{
    kibtest::CTempDir dir;
    MakeExecutable(dir.File("term"), "#!/bin/sh\n");
    MakeExecutable(dir.File("xterm"), "#!/bin/sh\n");
    const char* oldTerm = std::getenv("TERMINAL");
    std::string savedTerm = oldTerm ? oldTerm : "", savedPath = std::getenv("PATH");
    setenv("PATH", dir.Path().c_str(), 1);
    setenv("TERMINAL", "term -title \"Kib Konsole\"", 1);
    EXPECT_EQ(platform::UserTerminal(), (std::vector<std::string>{dir.File("term"), "-title", "Kib Konsole"}));
    unsetenv("TERMINAL");
    EXPECT_EQ(platform::UserTerminal(), (std::vector<std::string>{dir.File("xterm")}));
    setenv("PATH", dir.File("nothing").c_str(), 1);
    EXPECT_TRUE(platform::UserTerminal().empty());
    setenv("PATH", savedPath.c_str(), 1);
    if (oldTerm)
        setenv("TERMINAL", savedTerm.c_str(), 1);
}

TEST(TerminalScript, EveryValueIsQuotedAndKeepOpenEndsInAShell)
{
    EXPECT_EQ(platform::BuildTerminalScript({"java", "-cp", "a b", "Hello"}, "/src dir", false),
              "cd -- '/src dir' && 'java' '-cp' 'a b' 'Hello'");
    EXPECT_EQ(platform::BuildTerminalScript({"av", "it's.html"}, "/x", true),
              "cd -- '/x' && 'av' 'it'\\''s.html'; exec \"${SHELL:-/bin/sh}\" -i");
    EXPECT_EQ(platform::BuildTerminalScript({}, "", true), "exec \"${SHELL:-/bin/sh}\" -i");
    EXPECT_EQ(platform::BuildTerminalScript({"ls"}, "", false), "'ls'");
    EXPECT_EQ(platform::TerminalArgv({"xterm", "-hold"}, "s"),
              (std::vector<std::string>{"xterm", "-hold", "-e", "/bin/sh", "-c", "s"}));
}

TEST(TerminalScript, ShellRunsTheCommandWithArgumentsVerbatimAndExecutesNothingInThem)
{
    kibtest::CTempDir dir;
    std::string work = dir.File("dir $(touch pwned0) `touch pwned4`; 'q' \"d\"");
    ASSERT_EQ(mkdir(work.c_str(), 0755), 0);
    std::vector<std::string> command = {"/usr/bin/printf", "[%s]\\n"};
    command.insert(command.end(), kNasty.begin(), kNasty.end());
    std::string out = RunScript(platform::BuildTerminalScript(command, work, false), dir.Path());
    std::string expected;
    for (const std::string& v : kNasty)
        expected += "[" + v + "]\n";
    EXPECT_EQ(out, expected);

    out = RunScript(platform::BuildTerminalScript({"/bin/pwd"}, work, false), dir.Path());
    EXPECT_EQ(out, work + "\n");
    for (const char* canary : {"pwned0", "pwned1", "pwned2", "pwned3", "pwned4"}) {
        EXPECT_FALSE(kibtest::Exists(dir.File(canary))) << canary;
        EXPECT_FALSE(kibtest::Exists(work + "/" + canary)) << canary;
    }
}

TEST(TerminalScript, KeepOpenStartsTheUsersShellAfterTheCommand)
{
    kibtest::CTempDir dir;
    std::string shell = dir.File("fake shell");
    MakeExecutable(shell, "#!/bin/sh\necho \"shell $*\"\n");
    auto env = platform::WithVariable(platform::CurrentEnvironment(), "SHELL", shell);
    std::string out = RunScript(platform::BuildTerminalScript({"/bin/echo", "first"}, dir.Path(), true),
                                dir.Path(), &env);
    EXPECT_EQ(out, "first\nshell -i\n");
    // A folder that cannot be entered still leaves the shell open.
    out = RunScript(platform::BuildTerminalScript({"/bin/echo", "no"}, dir.File("gone"), true),
                    dir.Path(), &env);
    EXPECT_EQ(out.find("no\n"), std::string::npos);
    EXPECT_NE(out.find("shell -i\n"), std::string::npos);
}

TEST(TerminalStart, TerminalGetsMinusEShellScriptAndRunsDetached)
{
    kibtest::CTempDir dir;
    std::string work = dir.File("w $(touch pwned) x");
    ASSERT_EQ(mkdir(work.c_str(), 0755), 0);
    // A stand-in terminal: records its argv and runs what follows -e.
    std::string term = dir.File("term");
    MakeExecutable(term, "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/argv\"\n"
                         "pwd > \"$(dirname \"$0\")/cwd\"\n"
                         "[ \"$1\" = -e ] && shift && exec \"$@\"\n");
    const char* old = std::getenv("TERMINAL");
    std::string saved = old ? old : "";
    setenv("TERMINAL", term.c_str(), 1);

    auto env = platform::WithVariable(platform::CurrentEnvironment(), "KIB_MARK", "m1");
    std::vector<std::string> command = {"/bin/sh", "-c", "echo \"$KIB_MARK $1\" > out.txt", "sh", "a'b"};
    EXPECT_EQ(platform::StartInTerminal(command, work, false, &env), 0);
    EXPECT_TRUE(WaitForFile(work + "/out.txt"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(kibtest::ReadFile(work + "/out.txt"), "m1 a'b\n");
    EXPECT_EQ(kibtest::ReadFile(dir.File("cwd")), work + "\n");
    std::string argv = kibtest::ReadFile(dir.File("argv"));
    EXPECT_EQ(argv.substr(0, argv.find("-c\n") + 3), "-e\n/bin/sh\n-c\n");
    EXPECT_FALSE(kibtest::Exists(work + "/pwned"));
    EXPECT_FALSE(kibtest::Exists(dir.File("pwned")));

    std::remove(dir.File("argv").c_str());
    EXPECT_EQ(platform::OpenTerminal(work, nullptr), 0);
    EXPECT_TRUE(WaitForFile(dir.File("argv")));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(kibtest::ReadFile(dir.File("argv")), "") << "a bare terminal gets no command";

    setenv("TERMINAL", dir.File("none").c_str(), 1);
    std::string path = std::getenv("PATH");
    setenv("PATH", dir.File("nobin").c_str(), 1);
    EXPECT_EQ(platform::StartInTerminal(command, work, false, &env), ENOENT);
    EXPECT_EQ(platform::OpenTerminal(work, nullptr), ENOENT);
    setenv("PATH", path.c_str(), 1);
    if (old)
        setenv("TERMINAL", saved.c_str(), 1);
    else
        unsetenv("TERMINAL");
}
