// The warm compiler against the javac process with the real JDKs: the same
// exit status, streams, pane text and class files for a corpus of
// compilations; and what happens when the server fails in every way it can.
#include "WarmCompare.h"
#include "platform/Process.h"
#include "settings/Settings.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "toolchain/CompileServer.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/WarmCompiler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace toolchain;
using namespace kibtest;

namespace {

const char* const kJdks[] = {"/usr/lib/jvm/java-17-openjdk-amd64", "/usr/lib/jvm/temurin-25-jdk-amd64"};

// One cache of server classes for the whole run.
CTempDir& CacheDir()
{
    static CTempDir dir;
    return dir;
}

bool Ended(pid_t pid)
{
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    if (stat.empty())
        return true;
    size_t paren = stat.rfind(')');
    char state = paren + 2 < stat.size() ? stat[paren + 2] : 'X';
    return state == 'Z' || state == 'X';
}

bool EndsWithin(pid_t pid, std::chrono::milliseconds limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (Ended(pid))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Ended(pid);
}

class WarmCompilerTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        jdk = GetParam();
        if (!Exists(jdk + "/bin/javac"))
            GTEST_SKIP() << "no JDK at " << jdk;
        settings.m_compilerPath = jdk + "/bin/javac";
        settings.m_interpreterPath = jdk + "/bin/java";
        folder = tmp.File("src");
        mkdir(folder.c_str(), 0755);
        console = ChildConsoleFor(IdeClassPath());
        warm.SetWarmups(2);
    }

    std::string Put(const std::string& name, const std::string& text)
    {
        std::string path = folder + "/" + name;
        WriteFile(path, text);
        return path;
    }

    CCompileCommand Command(const std::string& source, const std::string& encoding = {})
    {
        return BuildCompileCommand(settings, source, IdeClassPath(), encoding);
    }

    std::vector<std::string> Roots() const
    {
        std::vector<std::string> roots{folder};
        if (settings.m_setDestinationPath)
            roots.push_back(settings.m_destinationPath);
        return roots;
    }

    // Both compiles of one source, compared; the server must be the one answering.
    void Compare(const std::string& source, const std::string& what, const std::string& encoding = {})
    {
        CCompileCommand c = Command(source, encoding);
        ASSERT_TRUE(PrepareAndWait(warm, c, console)) << what;
        TakeClassFiles(Roots());
        CCompileOutcome process = CompileWithProcess(c, console, Roots());
        CWarmCompiler::CResult r = warm.Compile(c, console.environment);
        ASSERT_EQ(r.how, CWarmCompiler::EHow::Served) << what << ": " << r.answer.reason;
        ExpectSame(process, OutcomeOf(r.answer, console, Roots()), what);
        lastProcess = process;
    }

    std::string jdk;
    CScopedEnv cache{"XDG_CACHE_HOME", CacheDir().Path()};
    CTempDir tmp;
    std::string folder;
    CSettings settings;
    CChildConsole console;
    CWarmCompiler warm;
    CCompileOutcome lastProcess;
};

const char kHello[] = "public class Hello {\n    public static void main(String[] a) {\n"
                      "        System.out.println(\"Hallo Welt\");\n    }\n}\n";

TEST_P(WarmCompilerTest, CorpusAnswersLikeTheJavacProcess)
{
    Compare(Put("Hello.java", kHello), "hello");
    EXPECT_EQ(lastProcess.exitCode, 0);
    EXPECT_EQ(lastProcess.classes.size(), 1u);

    Compare(Put("Broken.java", "public class Broken {\n  void f() { int x = \"s\" }\n  void g() { undefined(); }\n}\n"),
            "errors");
    EXPECT_EQ(lastProcess.exitCode, 1);
    EXPECT_NE(lastProcess.err.find("error"), std::string::npos);

    // Ten lines of many errors: javac's cut-off at 100.
    std::string many = "public class Many {\n";
    for (int i = 0; i < 130; ++i)
        many += "  int f" + std::to_string(i) + "() { return nope" + std::to_string(i) + "; }\n";
    Compare(Put("Many.java", many + "}\n"), "many errors");

    std::string deprecated = "public class Old {\n  @Deprecated static void old() {}\n}\n";
    Put("Old.java", deprecated);
    std::string user = Put("UsesOld.java", "public class UsesOld {\n  void f() { Old.old(); new java.util.Date(99, 1, 1); }\n}\n");
    Compare(user, "deprecation note");
    EXPECT_NE(lastProcess.err.find("deprecat"), std::string::npos);
    settings.m_deprecated = 1;
    Compare(user, "-deprecation");
    EXPECT_NE(lastProcess.err.find("warning"), std::string::npos);
    settings.m_deprecated = 0;

    std::string raw = Put("Raw.java", "import java.util.*;\npublic class Raw {\n"
                                      "  List<String> f() { List l = new ArrayList(); l.add(1); return l; }\n}\n");
    Compare(raw, "unchecked note");
    EXPECT_NE(lastProcess.err.find("unchecked"), std::string::npos);
    settings.m_noWarnings = 1;
    Compare(raw, "-nowarn");
    settings.m_noWarnings = 0;

    settings.m_debugInfo = 1;
    settings.m_optimize = 1;
    Compare(Put("Hello.java", kHello), "-g -O");
    settings.m_debugInfo = 0;
    settings.m_optimize = 0;

    // A class of the same folder found through -sourcepath.
    Put("Helper.java", "class Helper { static String name() { return \"h\"; } }\n");
    Compare(Put("Main.java", "public class Main {\n  public static void main(String[] a) {\n"
                             "    System.out.println(Helper.name());\n  }\n}\n"),
            "class of the folder");
    EXPECT_EQ(lastProcess.classes.size(), 2u);

    // Non-ASCII text in source and message, told and not told the encoding.
    std::string umlaut = Put("Umlaut.java", "public class Umlaut {\n  String s = \"Grüße\" + ; // äöü\n}\n");
    Compare(umlaut, "umlauts");
    Compare(umlaut, "umlauts -encoding", "UTF-8");

    // A public class in a file of another name; a package not matching the folder.
    Compare(Put("Wrong.java", "public class Right {}\n"), "file name");
    Compare(Put("Pkg.java", "package some.where;\npublic class Pkg { public static void main(String[] a) {} }\n"),
            "package");
}

TEST_P(WarmCompilerTest, DestinationsAndClassPathsAnswerLikeTheProcess)
{
    settings.m_setDestinationPath = 1;
    settings.m_destinationPath = tmp.File("classes");
    mkdir(settings.m_destinationPath.c_str(), 0755);
    Compare(Put("Hello.java", kHello), "-d");
    ASSERT_EQ(lastProcess.classes.size(), 1u);
    EXPECT_EQ(lastProcess.classes.begin()->first, settings.m_destinationPath + "/Hello.class");
    Compare(Put("Pkg.java", "package a.b;\npublic class Pkg {}\n"), "-d with a package");

    settings.m_destinationPath = tmp.File("missing");
    Compare(Put("Hello.java", kHello), "-d missing folder");
    settings.m_setDestinationPath = 0;

    // A library in a class folder of its own, then in a jar, then gone.
    std::string lib = tmp.File("lib");
    mkdir(lib.c_str(), 0755);
    WriteFile(lib + "/Lib.java", "public class Lib { public static int v() { return 1; } }\n");
    CSettings plain;
    plain.m_compilerPath = settings.m_compilerPath;
    CCompileOutcome libBuilt = CompileWithProcess(BuildCompileCommand(plain, lib + "/Lib.java", IdeClassPath()),
                                                  console, {});
    ASSERT_EQ(libBuilt.exitCode, 0) << libBuilt.err;
    std::string user = Put("UsesLib.java", "public class UsesLib { int x = Lib.v(); }\n");
    settings.m_classPath = lib;
    Compare(user, "class folder on the class path");
    EXPECT_EQ(lastProcess.exitCode, 0);
    ASSERT_EQ(RunQuietlyForTest({jdk + "/bin/jar", "cf", tmp.File("lib.jar"), "-C", lib, "Lib.class"}), 0);
    settings.m_classPath = tmp.File("lib.jar");
    Compare(user, "jar on the class path");
    EXPECT_EQ(lastProcess.exitCode, 0);
    settings.m_classPath = tmp.File("nothing.jar");
    Compare(user, "class path changed to a missing jar");
    EXPECT_EQ(lastProcess.exitCode, 1);
}

// The same jar replaced between two compiles, and the source changed: each
// compile sees the files as they are now.
TEST_P(WarmCompilerTest, ChangedFilesAreSeenByTheNextCompile)
{
    std::string lib = tmp.File("lib");
    mkdir(lib.c_str(), 0755);
    CSettings plain;
    plain.m_compilerPath = settings.m_compilerPath;
    auto makeJar = [&](const std::string& method) {
        WriteFile(lib + "/Lib.java", "public class Lib { public static int " + method + "() { return 1; } }\n");
        ASSERT_EQ(CompileWithProcess(BuildCompileCommand(plain, lib + "/Lib.java", IdeClassPath()), console, {})
                      .exitCode,
                  0);
        ASSERT_EQ(RunQuietlyForTest({jdk + "/bin/jar", "cf", tmp.File("lib.jar"), "-C", lib, "Lib.class"}), 0);
    };
    makeJar("v");
    settings.m_classPath = tmp.File("lib.jar");
    std::string user = Put("UsesLib.java", "public class UsesLib { int x = Lib.v(); }\n");
    Compare(user, "jar with v()");
    EXPECT_EQ(lastProcess.exitCode, 0);
    makeJar("w");
    Compare(user, "same jar now without v()");
    EXPECT_EQ(lastProcess.exitCode, 1);

    std::string hello = Put("Hello.java", kHello);
    Compare(hello, "before the change");
    EXPECT_EQ(lastProcess.exitCode, 0);
    Put("Hello.java", "public class Hello { void f() { return 1; } }\n");
    Compare(hello, "after the change");
    EXPECT_EQ(lastProcess.exitCode, 1);
}

TEST_P(WarmCompilerTest, AnotherJdkOrFolderIsNeverAnsweredByTheOldServer)
{
    std::string hello = Put("Hello.java", kHello);
    CCompileCommand c = Command(hello);
    ASSERT_TRUE(PrepareAndWait(warm, c, console));
    pid_t first = warm.ServerPid();
    EXPECT_TRUE(warm.Serves(c, console.environment));
    ASSERT_EQ(warm.Compile(c, console.environment).how, CWarmCompiler::EHow::Served);

    // The compiler path now names the other JDK: the old server goes, the
    // process compiles, the next preparation starts one for the new JDK.
    std::string other = jdk == kJdks[0] ? kJdks[1] : kJdks[0];
    if (Exists(other + "/bin/javac")) {
        settings.m_compilerPath = other + "/bin/javac";
        CCompileCommand c2 = Command(hello);
        EXPECT_EQ(warm.Compile(c2, console.environment).how, CWarmCompiler::EHow::NotReady);
        EXPECT_TRUE(EndsWithin(first, std::chrono::seconds(5)));
        ASSERT_TRUE(PrepareAndWait(warm, c2, console));
        CWarmCompiler::CResult r = warm.Compile(c2, console.environment);
        ASSERT_EQ(r.how, CWarmCompiler::EHow::Served);
        settings.m_compilerPath = jdk + "/bin/javac";
    }

    // Another folder: not this server's working folder.
    std::string elsewhere = tmp.File("elsewhere");
    mkdir(elsewhere.c_str(), 0755);
    WriteFile(elsewhere + "/Hello.java", kHello);
    EXPECT_FALSE(warm.Serves(Command(elsewhere + "/Hello.java"), console.environment));
    EXPECT_EQ(warm.Compile(Command(elsewhere + "/Hello.java"), console.environment).how,
              CWarmCompiler::EHow::NotReady);

    // A server asked about a JDK other than its own says so: a fault.
    CCompileServer server;
    std::string why;
    ASSERT_TRUE(PrepareAndWait(warm, c, console));
    pid_t pid = warm.ServerPid();
    EXPECT_GT(pid, 0);
    CServerLimits limits;
    std::vector<std::string> argv = {jdk + "/bin/java", "-cp", ServerClasses(jdk, console.environment, &why),
                                     "KibCompileServer", std::to_string(getpid()), "60", "0"};
    ASSERT_TRUE(server.Start(argv, folder, console.environment, limits, &why)) << why;
    CServerAnswer a = server.Compile("/usr/lib/jvm/some-other-jdk", folder, {"-classpath", "", hello});
    EXPECT_EQ(a.kind, CServerAnswer::EKind::Fault);
    EXPECT_NE(a.reason.find("some-other-jdk"), std::string::npos) << a.reason;
}

TEST_P(WarmCompilerTest, AnnotationProcessorsAndForeignCompilersGoToTheProcess)
{
    std::string hello = Put("Hello.java", kHello);
    // A class folder that offers an annotation processor.
    std::string lib = tmp.File("proc");
    mkdir(lib.c_str(), 0755);
    mkdir((lib + "/META-INF").c_str(), 0755);
    mkdir((lib + "/META-INF/services").c_str(), 0755);
    WriteFile(lib + "/META-INF/services/javax.annotation.processing.Processor", "some.Processor\n");
    settings.m_classPath = lib;
    CCompileCommand c = Command(hello);
    ASSERT_TRUE(PrepareAndWait(warm, c, console));
    EXPECT_EQ(warm.Compile(c, console.environment).how, CWarmCompiler::EHow::NotHandled);
    settings.m_classPath = tmp.File("lib/*");
    EXPECT_EQ(warm.Compile(Command(hello), console.environment).how, CWarmCompiler::EHow::NotHandled);
    settings.m_classPath.clear();
    EXPECT_EQ(warm.Compile(Command(hello), console.environment).how, CWarmCompiler::EHow::Served);

    // Not a JDK's javac; an environment the launcher would read.
    settings.m_compilerPath = "/bin/echo";
    EXPECT_EQ(warm.Compile(Command(hello), console.environment).how, CWarmCompiler::EHow::NotHandled);
    settings.m_compilerPath = jdk + "/bin/javac";
    std::vector<std::string> env = platform::WithVariable(console.environment, "JAVA_TOOL_OPTIONS", "-Xint");
    EXPECT_EQ(warm.Compile(Command(hello), env).how, CWarmCompiler::EHow::NotHandled);
    warm.SetEnabled(false);
    EXPECT_EQ(warm.Compile(Command(hello), console.environment).how, CWarmCompiler::EHow::NotHandled);
}

TEST_P(WarmCompilerTest, ServerKilledDuringACompileIsAFaultAndLeavesNothing)
{
    // A source big enough to keep javac busy for a while.
    std::string big = "public class Big {\n";
    for (int i = 0; i < 6000; ++i)
        big += "  static int m" + std::to_string(i) + "(int x) { return x * " + std::to_string(i) + " + m" +
               std::to_string(i ? i - 1 : 0) + "(x - 1); }\n";
    std::string source = Put("Big.java", big + "}\n");
    CCompileCommand c = Command(source);
    ASSERT_TRUE(PrepareAndWait(warm, c, console));
    pid_t pid = warm.ServerPid();
    std::thread killer([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        kill(pid, SIGKILL);
    });
    CWarmCompiler::CResult r = warm.Compile(c, console.environment);
    killer.join();
    EXPECT_EQ(r.how, CWarmCompiler::EHow::Fault);
    EXPECT_TRUE(EndsWithin(pid, std::chrono::seconds(2)));
    EXPECT_FALSE(warm.Ready());
    EXPECT_EQ(warm.Compile(c, console.environment).how, CWarmCompiler::EHow::NotReady);
}

TEST_P(WarmCompilerTest, ServerEndsWhenIdleOrWhenItsInputCloses)
{
    std::string why;
    std::string classes = ServerClasses(jdk, console.environment, &why);
    ASSERT_FALSE(classes.empty()) << why;
    CServerLimits limits;
    {
        CCompileServer server;
        ASSERT_TRUE(server.Start({jdk + "/bin/java", "-cp", classes, "KibCompileServer", std::to_string(getpid()),
                                  "1", "0"},
                                 folder, console.environment, limits, &why))
            << why;
        pid_t pid = server.Pid();
        EXPECT_EQ(server.ReadyInfo().at("java.home"), jdk);
        // Idle for a second: it ends itself.
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(6);
        while (server.Running() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(server.Running()) << pid;
    }
    CCompileServer server;
    ASSERT_TRUE(server.Start({jdk + "/bin/java", "-cp", classes, "KibCompileServer", std::to_string(getpid()),
                              "600", "0"},
                             folder, console.environment, limits, &why))
        << why;
    pid_t pid = server.Pid();
    auto start = std::chrono::steady_clock::now();
    server.Stop();
    EXPECT_TRUE(Ended(pid));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

INSTANTIATE_TEST_SUITE_P(Jdks, WarmCompilerTest, ::testing::ValuesIn(kJdks),
                         [](const auto& info) { return std::string(info.param).find("17") != std::string::npos
                                                           ? std::string("Jdk17")
                                                           : std::string("Temurin25"); });

// --- Servers that misbehave --------------------------------------------------

// A stand-in server in Python: it sends a proper ready frame and then does
// what the mode says when the first request comes.
const char kFakeServer[] = R"PY(
import os, struct, sys, time
mode = sys.argv[1]
out = sys.stdout.buffer
def frame(t, p=b''):
    out.write(t + struct.pack('>I', len(p)) + p); out.flush()
if mode == 'noready':
    time.sleep(60)
if mode == 'badready':
    out.write(b'garbage that is not a frame'); out.flush(); time.sleep(60)
frame(b'R', b'protocol=1\njava.home=x\n')
head = sys.stdin.buffer.read(5)
n = struct.unpack('>I', head[1:5])[0]
sys.stdin.buffer.read(n)
if mode == 'hang':
    time.sleep(60)
elif mode == 'die':
    os._exit(3)
elif mode == 'garbage':
    out.write(os.urandom(64)); out.flush(); time.sleep(60)
elif mode == 'huge':
    out.write(b'E' + struct.pack('>I', 0xfffffff0)); out.flush(); time.sleep(60)
elif mode == 'short':
    frame(b'X', b'\0\0'); time.sleep(60)
elif mode == 'heartbeat':
    for i in range(10):
        frame(b'H'); time.sleep(0.1)
    frame(b'E', b'late but fine\n'); frame(b'X', b'\0\0\0\1')
    time.sleep(60)
)PY";

class FakeServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = tmp.File("fake.py");
        WriteFile(script, kFakeServer);
        // Python may take a while to start on a busy machine.
        limits.ready = std::chrono::milliseconds(30000);
        limits.silence = std::chrono::milliseconds(500);
        limits.quit = std::chrono::milliseconds(200);
    }

    std::vector<std::string> Argv(const std::string& mode)
    {
        return {platform::FindProgram("python3", std::getenv("PATH") ? std::getenv("PATH") : ""), script, mode};
    }

    CTempDir tmp;
    std::string script;
    CServerLimits limits;
    std::vector<std::string> env = platform::CurrentEnvironment();
};

TEST_F(FakeServerTest, EveryMisbehaviourIsAFaultWithinTheLimitAndTheServerIsGone)
{
    for (const char* mode : {"hang", "die", "garbage", "huge", "short"}) {
        CCompileServer server;
        std::string why;
        ASSERT_TRUE(server.Start(Argv(mode), tmp.Path(), env, limits, &why)) << mode << why;
        pid_t pid = server.Pid();
        auto start = std::chrono::steady_clock::now();
        CServerAnswer a = server.Compile("x", tmp.Path(), {"A.java"});
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(a.kind, CServerAnswer::EKind::Fault) << mode;
        EXPECT_LT(took, std::chrono::seconds(5)) << mode;
        EXPECT_TRUE(Ended(pid)) << mode;
        EXPECT_FALSE(server.Running()) << mode;
    }
}

TEST_F(FakeServerTest, NoReadyFrameMeansNoServer)
{
    limits.ready = std::chrono::milliseconds(3000);
    for (const char* mode : {"noready", "badready"}) {
        CCompileServer server;
        std::string why;
        EXPECT_FALSE(server.Start(Argv(mode), tmp.Path(), env, limits, &why)) << mode;
        EXPECT_FALSE(why.empty());
        EXPECT_FALSE(server.Running());
    }
    CCompileServer server;
    std::string why;
    EXPECT_FALSE(server.Start({tmp.File("no-such-program")}, tmp.Path(), env, limits, &why));
}

TEST_F(FakeServerTest, HeartbeatsKeepALongCompileAlive)
{
    CCompileServer server;
    std::string why;
    limits.silence = std::chrono::milliseconds(400);
    ASSERT_TRUE(server.Start(Argv("heartbeat"), tmp.Path(), env, limits, &why)) << why;
    CServerAnswer a = server.Compile("x", tmp.Path(), {"A.java"});
    ASSERT_EQ(a.kind, CServerAnswer::EKind::Done) << a.reason;
    EXPECT_EQ(a.exitCode, 1);
    ASSERT_EQ(a.output.size(), 1u);
    EXPECT_EQ(a.output[0].bytes, "late but fine\n");
}

// The warm compiler with a fake that fails: the fault is reported once, the
// server is gone, and after kMaxFaults failures no new server is started.
TEST_F(FakeServerTest, RepeatedFaultsStopThePreparation)
{
    const std::string jdk = kJdks[0];
    if (!Exists(jdk + "/bin/javac"))
        GTEST_SKIP();
    CWarmCompiler warm;
    warm.SetLimits(limits);
    warm.SetLaunchForTest([this](const std::string&) { return Argv("garbage"); });
    CSettings s;
    s.m_compilerPath = jdk + "/bin/javac";
    WriteFile(tmp.File("A.java"), "class A {}\n");
    CCompileCommand c = BuildCompileCommand(s, tmp.File("A.java"), "");
    CChildConsole console = ChildConsoleFor("");
    env = console.environment;
    for (int i = 0; i < CWarmCompiler::kMaxFaults; ++i) {
        ASSERT_TRUE(PrepareAndWait(warm, c, console)) << i;
        EXPECT_EQ(warm.Compile(c, env).how, CWarmCompiler::EHow::Fault);
    }
    warm.Prepare(c, env);
    warm.WaitPrepared();
    EXPECT_FALSE(warm.Ready());
}

} // namespace
