#include "toolchain/JavaCommands.h"

#include "platform/CommandLine.h"
#include "platform/Process.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "toolchain/ToolchainTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace toolchain;
using Words = std::vector<std::string>;

namespace {

CSettings Jdk()
{
    CSettings s;
    s.m_compilerPath = "/usr/lib/jvm/jdk/bin/javac";
    s.m_interpreterPath = "/usr/lib/jvm/jdk/bin/java";
    s.m_appletViewerPath = "/opt/viewer/appletviewer";
    return s;
}

} // namespace

TEST(SourceLocation, FolderNameAndClassOfAPath)
{
    CSourceLocation loc = LocateSource("/home/u/src/Hello.java");
    EXPECT_EQ(loc.folder, "/home/u/src");
    EXPECT_EQ(loc.name, "Hello");
    EXPECT_EQ(loc.fileName, "Hello.java");
    loc = LocateSource("/Root.java");
    EXPECT_EQ(loc.folder, "/") << "the root stays a folder";
    EXPECT_EQ(loc.name, "Root");
    loc = LocateSource("/a b/x.y/Some.Name.java");
    EXPECT_EQ(loc.folder, "/a b/x.y");
    EXPECT_EQ(loc.name, "Some.Name");
}

TEST(CompileCommand, DefaultLineHasTwoBlanksClassPathPiecesAndQuotedSource)
{
    CSettings s = Jdk();
    CCompileCommand c = BuildCompileCommand(s, "/home/u/src/Hello.java", "/lib/a.jar");
    EXPECT_EQ(c.commandLine,
              "\"/usr/lib/jvm/jdk/bin/javac\"  -classpath \"/lib/a.jar\":\"/home/u/src\":\"\" "
              "-sourcepath \"/home/u/src\" \"/home/u/src/Hello.java\"");
    EXPECT_EQ(c.workDir, "/home/u/src");

    // Without CLASSPATH the first piece is an empty pair of quotes.
    s.m_classPath = "/extra/lib";
    c = BuildCompileCommand(s, "/Root.java", "");
    EXPECT_EQ(c.commandLine, "\"/usr/lib/jvm/jdk/bin/javac\"  -classpath \"\":\"/\":\"/extra/lib\" "
                             "-sourcepath \"/\" \"/Root.java\"");
    EXPECT_EQ(c.workDir, "/");
    EXPECT_EQ(platform::SplitCommandLine(c.commandLine),
              (Words{"/usr/lib/jvm/jdk/bin/javac", "-classpath", ":/:/extra/lib", "-sourcepath", "/",
                     "/Root.java"}));
}

TEST(CompileCommand, SwitchesComeInTheirFixedOrderThenDestinationThenSource)
{
    CSettings s = Jdk();
    s.m_debugInfo = s.m_optimize = s.m_noWarnings = s.m_status = s.m_deprecated = 1;
    s.m_setDestinationPath = 1;
    s.m_destinationPath = "/out dir";
    std::string line = BuildCompileCommand(s, "/s/A.java", "cp").commandLine;
    EXPECT_EQ(line.substr(line.find(" -sourcepath")),
              " -sourcepath \"/s\" -g -O -nowarn -verbose -deprecation -d \"/out dir\" \"/s/A.java\"");

    // Each switch alone.
    const std::pair<int CSettings::*, const char*> switches[] = {
        {&CSettings::m_debugInfo, " -g"},   {&CSettings::m_optimize, " -O"},
        {&CSettings::m_noWarnings, " -nowarn"}, {&CSettings::m_status, " -verbose"},
        {&CSettings::m_deprecated, " -deprecation"}};
    for (auto [member, text] : switches) {
        CSettings one = Jdk();
        one.*member = 7; // any non-zero value
        EXPECT_EQ(BuildCompileCommand(one, "/s/A.java", "").commandLine,
                  "\"/usr/lib/jvm/jdk/bin/javac\"  -classpath \"\":\"/s\":\"\" -sourcepath \"/s\"" +
                      std::string(text) + " \"/s/A.java\"");
    }
    // A destination folder that is not switched on is left out.
    CSettings off = Jdk();
    off.m_destinationPath = "/ignored";
    EXPECT_EQ(BuildCompileCommand(off, "/s/A.java", "").commandLine.find("-d"), std::string::npos);
}

TEST(CompileCommand, AwkwardNamesSplitBackIntoTheSameWords)
{
    CSettings s = Jdk();
    s.m_compilerPath = "/opt/my jdk/bin/javac";
    s.m_setDestinationPath = 1;
    s.m_destinationPath = "/out \"q\" $(x)\\";
    s.m_classPath = "/lib/it's;`id`.jar";
    std::string src = "/h/we ird \"q\" $(touch p) `id` ;x/Hello.java";
    Words argv = platform::SplitCommandLine(BuildCompileCommand(s, src, "/cp a").commandLine);
    EXPECT_EQ(argv, (Words{"/opt/my jdk/bin/javac", "-classpath",
                           "/cp a:/h/we ird \"q\" $(touch p) `id` ;x:/lib/it's;`id`.jar",
                           "-sourcepath", "/h/we ird \"q\" $(touch p) `id` ;x", "-d",
                           "/out \"q\" $(x)\\", src}));
}

TEST(RunCommand, CapturedLineWithClassPathOrderAndArgumentsAsTyped)
{
    CSettings s = Jdk();
    s.m_captureOutput = 1;
    s.m_classPath = "/extra";
    CRunCommand r = BuildRunCommand(s, "/home/u/src/Hello.java", "one \"two three\"", "/cp");
    EXPECT_TRUE(r.captured);
    EXPECT_EQ(r.commandLine, "\"/usr/lib/jvm/jdk/bin/java\" -classpath \"/cp\":\"/extra\":\"/home/u/src\" "
                             "\"Hello\" one \"two three\"");
    EXPECT_EQ(r.className, "Hello");
    EXPECT_EQ(r.workDir, "/home/u/src");
    EXPECT_EQ(platform::SplitCommandLine(r.commandLine),
              (Words{"/usr/lib/jvm/jdk/bin/java", "-classpath", "/cp:/extra:/home/u/src", "Hello", "one",
                     "two three"}));
    // Empty arguments leave a blank behind the class name.
    r = BuildRunCommand(s, "/Root.java", "", "");
    EXPECT_EQ(r.commandLine, "\"/usr/lib/jvm/jdk/bin/java\" -classpath \"\":\"/extra\":\"/\" \"Root\" ");
    EXPECT_EQ(r.workDir, "/");
}

TEST(RunCommand, OnlyCaptureOneCapturesOtherwiseATerminalWithQuotedWords)
{
    CSettings s = Jdk();
    for (int capture : {0, 2, -1}) {
        s.m_captureOutput = capture;
        EXPECT_FALSE(BuildRunCommand(s, "/s/A.java", "", "").captured) << capture;
    }
    s.m_captureOutput = 0;
    s.m_stopAfterRun = 1;
    s.m_classPath = "/x";
    CRunCommand r = BuildRunCommand(s, "/my src/Hello.java", "a 'b c' \"d e\"", "/cp");
    EXPECT_EQ(r.consoleCommand, (Words{"/usr/lib/jvm/jdk/bin/java", "-classpath", "/cp:/x:/my src",
                                       "Hello", "a", "'b", "c'", "d e"}));
    EXPECT_TRUE(r.keepOpen) << "stop after run keeps the console open (/K)";
    EXPECT_EQ(r.ConsoleScript(), "cd -- '/my src' && '/usr/lib/jvm/jdk/bin/java' '-classpath' "
                                 "'/cp:/x:/my src' 'Hello' 'a' ''\\''b' 'c'\\''' 'd e'; "
                                 "exec \"${SHELL:-/bin/sh}\" -i");
    s.m_stopAfterRun = 0;
    r = BuildRunCommand(s, "/my src/Hello.java", "", "");
    EXPECT_FALSE(r.keepOpen) << "/C: the console closes with the program";
    EXPECT_EQ(r.ConsoleScript(), "cd -- '/my src' && '/usr/lib/jvm/jdk/bin/java' '-classpath' "
                                 "':/x:/my src' 'Hello'");
}

TEST(AppletCommand, PageNextToTheSourceAndViewerInATerminalThatStaysOpen)
{
    CSettings s = Jdk();
    CAppletCommand a = BuildAppletCommand(s, "/home/u/ap plet/Clock.java");
    EXPECT_EQ(a.pagePath, "/home/u/ap plet/Clock.html");
    EXPECT_EQ(a.pageName, "Clock.html");
    EXPECT_EQ(a.name, "Clock");
    EXPECT_EQ(a.workDir, "/home/u/ap plet");
    EXPECT_EQ(a.consoleCommand, (Words{"/opt/viewer/appletviewer", "Clock.html"}));
    EXPECT_TRUE(a.keepOpen);
    EXPECT_EQ(a.ConsoleScript(), "cd -- '/home/u/ap plet' && '/opt/viewer/appletviewer' 'Clock.html'; "
                                 "exec \"${SHELL:-/bin/sh}\" -i");
}

TEST(AppletPage, GeneratedByteForByteWithoutFinalLineBreak)
{
    const std::string expected =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n"
        "<html><head><title>KIB started applet</title></head><body>\n"
        "<applet code=\"Clock.class\" width=100 height=100></applet></body></html>";
    EXPECT_EQ(AppletPageText("Clock"), expected);

    kibtest::CTempDir dir;
    CAppletCommand a = BuildAppletCommand(Jdk(), dir.File("Clock.java"));
    kibtest::WriteFile(a.pagePath, "old and much longer content that must go entirely");
    int err = 0;
    ASSERT_TRUE(WriteAppletPage(a, &err));
    EXPECT_EQ(kibtest::ReadFile(dir.File("Clock.html")), expected);

    CAppletCommand bad = BuildAppletCommand(Jdk(), dir.File("missing/Clock.java"));
    EXPECT_FALSE(WriteAppletPage(bad, &err));
    EXPECT_NE(err, 0);
}

TEST(AppletCommand, ViewerStartsInATerminalOnThePageInTheSourceFolder)
{
    kibtest::CTempDir dir;
    std::string folder = dir.File("app $(touch pwned) `x`");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    // Stand-ins: a terminal that runs what follows -e, and a viewer that
    // records its arguments and folder.
    std::string term = dir.File("term");
    kibtest::WriteFile(term, "#!/bin/sh\n[ \"$1\" = -e ] && shift && exec \"$@\"\n");
    std::string viewer = dir.File("applet viewer");
    kibtest::WriteFile(viewer, "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > \"$(dirname \"$0\")/seen\"\n");
    chmod(term.c_str(), 0755);
    chmod(viewer.c_str(), 0755);
    const char* old = std::getenv("TERMINAL");
    std::string saved = old ? old : "";
    setenv("TERMINAL", term.c_str(), 1);

    CSettings s = Jdk();
    s.m_appletViewerPath = viewer;
    CAppletCommand a = BuildAppletCommand(s, folder + "/Clock.java");
    ASSERT_TRUE(WriteAppletPage(a));
    auto env = platform::WithVariable(ChildEnvironment(""), "SHELL", "/bin/sh");
    EXPECT_EQ(StartConsoleCommand(a.consoleCommand, a.workDir, a.keepOpen, env), 0);
    bool seen = false;
    for (int i = 0; i < 500 && !seen; ++i) {
        seen = !kibtest::ReadFile(dir.File("seen")).empty();
        if (!seen)
            usleep(10000);
    }
    ASSERT_TRUE(seen);
    usleep(50000);
    EXPECT_EQ(kibtest::ReadFile(dir.File("seen")), folder + "\nClock.html\n");
    EXPECT_FALSE(kibtest::Exists(folder + "/pwned"));
    EXPECT_FALSE(kibtest::Exists(dir.File("pwned")));
    if (old)
        setenv("TERMINAL", saved.c_str(), 1);
    else
        unsetenv("TERMINAL");
}

TEST(ChildEnvironmentTest, IdeEnvironmentWithClassPathSet)
{
    const char* old = std::getenv("CLASSPATH");
    std::string saved = old ? old : "";
    unsetenv("CLASSPATH");
    EXPECT_EQ(IdeClassPath(), "");
    auto env = ChildEnvironment(IdeClassPath());
    ASSERT_NE(platform::FindVariable(env, "CLASSPATH"), nullptr);
    EXPECT_STREQ(platform::FindVariable(env, "CLASSPATH"), "");
    EXPECT_NE(platform::FindVariable(env, "PATH"), nullptr) << "the rest of the environment stays";
    setenv("CLASSPATH", "/a:/b", 1);
    EXPECT_EQ(IdeClassPath(), "/a:/b");
    EXPECT_STREQ(platform::FindVariable(ChildEnvironment(IdeClassPath()), "CLASSPATH"), "/a:/b");
    if (old)
        setenv("CLASSPATH", saved.c_str(), 1);
    else
        unsetenv("CLASSPATH");
}

TEST(ToolchainTextsTest, PaneAndMessageTexts)
{
    EXPECT_EQ(CompileHeadingText("/s/A.java"), "Compile /s/A.java....\r\n");
    EXPECT_EQ(CompileHeadingText("/s/A.java", "UTF-8", true),
              "Compile /s/A.java -encoding UTF-8....\r\n" + std::string(kPaneBomHint) + "\r\n");
    EXPECT_EQ(CompileFinishedText(), "\r\nCompilierung beendet");
    EXPECT_EQ(CouldNotStartMessage("Hello"), "<Hello> konnte nicht gestartet werden");
    EXPECT_STREQ(kMsgMustSaveBeforeCompile, "Sie m\xC3\xBCssen die Datei vor dem Compilieren speichern");
    EXPECT_EQ(CompileProgressText("/s/A.java"), "Die Datei /s/A.java");
}

TEST(CompactPathTest, LongPathsKeepTheirStartAndFileNameWithinTheRoom)
{
    EXPECT_EQ(CompactPath("/short/A.java", 55), "/short/A.java");
    std::string exact(54, 'x');
    EXPECT_EQ(CompactPath(exact, 55), exact);
    std::string longPath = "/home/someone/projects/very/deeply/nested/folders/of/java/src/Hello.java";
    std::string c = CompactPath(longPath, 55);
    EXPECT_LE(c.size(), 54u);
    EXPECT_EQ(c, "/home/someone/projects/very/deeply/.../Hello.java");
    std::string hugeName = "/x/" + std::string(80, 'N') + ".java";
    c = CompactPath(hugeName, 55);
    EXPECT_EQ(c.size(), 54u);
    EXPECT_EQ(c.substr(c.size() - 3), "...");
    EXPECT_EQ(CompactPath("/abc", 1), "");
}
