#include "platform/Process.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using platform::SpawnRequest;

namespace {

struct Result {
    int rc = -1;
    std::string out;
    int status = 0;
};

// Runs the request with its stdout captured and waits for it.
Result RunCaptured(SpawnRequest request)
{
    Result r;
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0)
        return r;
    request.stdoutFd = p[1];
    pid_t pid = -1;
    r.rc = platform::Spawn(request, &pid);
    close(p[1]);
    if (r.rc == 0) {
        char buf[4096];
        ssize_t n;
        while ((n = read(p[0], buf, sizeof buf)) > 0)
            r.out.append(buf, static_cast<size_t>(n));
        waitpid(pid, &r.status, 0);
    }
    close(p[0]);
    return r;
}

void MakeExecutable(const std::string& path, const std::string& text)
{
    kibtest::WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

int ParentOf(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    char state;
    int ppid = -1;
    sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid);
    return ppid;
}

} // namespace

TEST(ProcessFindProgram, LooksUpBareNamesInThePathOnly)
{
    kibtest::CTempDir dir;
    std::string a = dir.File("a"), b = dir.File("b");
    mkdir(a.c_str(), 0755);
    mkdir(b.c_str(), 0755);
    mkdir((a + "/tool").c_str(), 0755);             // a folder of that name is no program
    kibtest::WriteFile(b + "/other", "#!/bin/sh\n"); // not executable
    chmod((b + "/other").c_str(), 0644);
    MakeExecutable(b + "/tool", "#!/bin/sh\n");

    EXPECT_EQ(platform::FindProgram("tool", a + ":" + b), b + "/tool");
    EXPECT_EQ(platform::FindProgram("other", a + ":" + b), "other") << "not found stays bare";
    EXPECT_EQ(platform::FindProgram("missing", a), "missing");
    EXPECT_EQ(platform::FindProgram("/bin/../bin/sh", ""), "/bin/sh");
    EXPECT_EQ(platform::FindProgram("", a), "");
}

TEST(ProcessSpawn, RunsWithGivenArgvEnvironmentAndFolderWithoutShell)
{
    kibtest::CTempDir dir;
    std::string work = dir.File("we ird $(x) `y`;\"q\"");
    ASSERT_EQ(mkdir(work.c_str(), 0755), 0);
    std::vector<std::string> env = {"FOO=bar baz", "PATH=/usr/bin:/bin"};
    SpawnRequest req;
    req.argv = {"/bin/sh", "-c", "printf '%s|' \"$FOO\" \"$HOME\" \"$1\"; pwd", "zero", "$(echo no)"};
    req.workDir = work;
    req.environment = &env;
    Result r = RunCaptured(req);
    ASSERT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, "bar baz||$(echo no)|" + work + "\n");
    EXPECT_TRUE(WIFEXITED(r.status) && WEXITSTATUS(r.status) == 0);
}

TEST(ProcessSpawn, ReportsWhyAProgramCannotStart)
{
    kibtest::CTempDir dir;
    pid_t pid = -1;
    SpawnRequest req;
    req.argv = {dir.File("missing")};
    EXPECT_EQ(platform::Spawn(req, &pid), ENOENT);
    req.argv = {dir.Path()};
    EXPECT_EQ(platform::Spawn(req, &pid), EACCES) << "a folder is not a program";
    kibtest::WriteFile(dir.File("plain"), "data");
    req.argv = {dir.File("plain")};
    EXPECT_EQ(platform::Spawn(req, &pid), EACCES);
    req.argv = {"/bin/true"};
    req.workDir = dir.File("no such folder");
    EXPECT_EQ(platform::Spawn(req, &pid), ENOENT);
    req.argv = {};
    EXPECT_EQ(platform::Spawn(req, &pid), ENOENT);
    req.argv = {std::string("/bin/tr\0ue", 10)};
    req.workDir.clear();
    EXPECT_EQ(platform::Spawn(req, &pid), EINVAL);
}

TEST(ProcessSpawn, ChildGetsOnlyTheStandardHandlesAndCleanSignals)
{
    int leaked = open("/dev/null", O_RDONLY); // not close-on-exec
    ASSERT_GE(leaked, 3);
    sigset_t block, old;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &block, &old);
    auto oldTerm = signal(SIGTERM, SIG_IGN);

    SpawnRequest req;
    req.argv = {"/bin/sh", "-c", "ls /proc/self/fd; grep SigBlk /proc/self/status; grep SigIgn /proc/self/status"};
    Result r = RunCaptured(req);

    signal(SIGTERM, oldTerm);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    close(leaked);

    ASSERT_EQ(r.rc, 0);
    // ls itself holds one descriptor for the folder it lists (3).
    EXPECT_EQ(r.out.substr(0, r.out.find("Sig")), "0\n1\n2\n3\n");
    EXPECT_NE(r.out.find("SigBlk:\t0000000000000000"), std::string::npos) << r.out;
    // SIGTERM (bit 14) is back to its default; glibc's own real-time signals do not count.
    size_t ign = r.out.find("SigIgn:\t");
    ASSERT_NE(ign, std::string::npos);
    unsigned long long ignored = std::stoull(r.out.substr(ign + 8, 16), nullptr, 16);
    EXPECT_EQ(ignored & (1ull << (SIGTERM - 1)), 0u) << r.out;
}

TEST(ProcessSpawn, ChildLeadsItsOwnProcessGroup)
{
    SpawnRequest req;
    req.argv = {"/bin/sleep", "5"};
    pid_t pid = -1;
    ASSERT_EQ(platform::Spawn(req, &pid), 0);
    EXPECT_EQ(getpgid(pid), pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    req.newProcessGroup = false;
    ASSERT_EQ(platform::Spawn(req, &pid), 0);
    EXPECT_EQ(getpgid(pid), getpgrp());
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

TEST(ProcessSpawnDetached, ProgramRunsOutsideTheCallersChildren)
{
    kibtest::CTempDir dir;
    std::string marker = dir.File("pid");
    SpawnRequest req;
    req.argv = {"/bin/sh", "-c", "echo $$ > \"$1\"; sleep 0.3", "sh", marker};
    req.workDir = dir.Path();
    ASSERT_EQ(platform::SpawnDetached(req), 0);
    for (int i = 0; i < 200 && kibtest::ReadFile(marker).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int pid = std::atoi(kibtest::ReadFile(marker).c_str());
    ASSERT_GT(pid, 0);
    EXPECT_NE(ParentOf(pid), getpid());
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1) << "not a child of ours";
    EXPECT_EQ(errno, ECHILD);
    EXPECT_NE(getsid(pid), getsid(0)) << "a session of its own";
}

TEST(ProcessSpawnDetached, ExecFailuresAreReported)
{
    kibtest::CTempDir dir;
    SpawnRequest req;
    req.argv = {dir.File("missing")};
    EXPECT_EQ(platform::SpawnDetached(req), ENOENT);
    req.argv = {dir.Path()};
    EXPECT_EQ(platform::SpawnDetached(req), EACCES);
    req.argv = {"/bin/true"};
    req.workDir = dir.File("gone");
    EXPECT_EQ(platform::SpawnDetached(req), ENOENT);
}

TEST(ProcessEnvironment, VariableIsReplacedOnceOrAppended)
{
    std::vector<std::string> env = {"A=1", "CLASSPATH=old", "B=2", "CLASSPATH=older", "CLASSPATHX=k"};
    auto out = platform::WithVariable(env, "CLASSPATH", "new");
    EXPECT_EQ(out, (std::vector<std::string>{"A=1", "CLASSPATH=new", "B=2", "CLASSPATHX=k"}));
    out = platform::WithVariable({"A=1"}, "CLASSPATH", "");
    EXPECT_EQ(out, (std::vector<std::string>{"A=1", "CLASSPATH="}));
    EXPECT_STREQ(platform::FindVariable(out, "CLASSPATH"), "");
    EXPECT_EQ(platform::FindVariable(out, "CLASS"), nullptr);
    EXPECT_STREQ(platform::FindVariable(env, "B"), "2");

    setenv("KIB_PROCESS_TEST", "v=w", 1);
    auto current = platform::CurrentEnvironment();
    EXPECT_STREQ(platform::FindVariable(current, "KIB_PROCESS_TEST"), "v=w");
    unsetenv("KIB_PROCESS_TEST");
}
