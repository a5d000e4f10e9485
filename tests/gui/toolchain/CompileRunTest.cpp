// Compile and run through Kib's own commands with the real JDKs of this
// machine: the panes, the progress window, the jumps to compiler messages,
// compile-then-run, arguments and start files, failed starts, odd names.
#include "ToolchainTestSupport.h"

#include "toolchain/CompileProgressDialog.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/ToolchainTexts.h"

#include <algorithm>
#include <csignal>

using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;

namespace {

class CompileRunTest : public ToolchainTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        jdk = GetParam();
        if (!Exists(jdk + "/bin/javac"))
            GTEST_SKIP() << "no JDK at " << jdk;
        ASSERT_TRUE(StartWith(jdk + "/bin/javac", jdk + "/bin/java"));
    }

    std::vector<std::pair<int, char>> JumpToEveryMessage(const std::string& name);

    std::string jdk;
};

std::string Crlf(const std::string& lf)
{
    std::string out;
    for (char c : lf) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Jdks, CompileRunTest, ::testing::ValuesIn(kJdks),
                         [](const auto& info) { return JdkName(info.param); });

TEST_P(CompileRunTest, CorrectFileCompilesIntoItsClassAndThePaneReadsHeadingAndClosingLine)
{
    std::string src = Put(dir + "src", "Hello.java", "Hello.java");
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    CompilerPane()->AppendText("left from before");
    Command(kib::ID_JAVA_COMPILE);
    EXPECT_EQ(view->CommandMode(), 1);
    // The progress window names the file while the compiler runs.
    auto* progress = dynamic_cast<CCompileProgressDialog*>(view->CompileProgressWindow());
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->IsShown());
    EXPECT_EQ(progress->GetTitle(), "Compilieren");
    EXPECT_EQ(progress->FileText().utf8_string(), toolchain::CompileProgressText(src));
    EXPECT_EQ(Frame()->OutputBar()->GetTabWindow()->GetSelection(), COutputBar::PANE_COMPILER);

    ASSERT_TRUE(WaitIdle(view));
    EXPECT_EQ(view->CompileProgressWindow(), nullptr);
    EXPECT_TRUE(Exists(dir + "src/Hello.class"));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + src + "....\r\n\r\nCompilierung beendet");
    EXPECT_FALSE(view->ErrorOutputSeen());
    EXPECT_TRUE(dialogs.asked.empty());
}

// Compiles a file with errors and double-clicks every message's caret line,
// message line and source excerpt; each must land on the byte the caret
// stands under. Returns, in pane order, each message's line and the source
// character found there.
std::vector<std::pair<int, char>> CompileRunTest::JumpToEveryMessage(const std::string& name)
{
    std::vector<std::pair<int, char>> seen;
    std::string src = Put(dir + "src", name, name);
    CKibView* view = OpenView(src);
    EXPECT_TRUE(CompileAndWait(view));
    EXPECT_TRUE(view->ErrorOutputSeen());
    COutputPane* pane = CompilerPane();
    for (int m = 1; m < pane->GetLineCount(); ++m) {
        const std::string msgLine = pane->GetLineText(m);
        if (msgLine.find(".java:") == std::string::npos)
            continue;
        int line = std::atoi(msgLine.c_str() + msgLine.find(".java:") + 6);
        int caretLine = CaretLine(pane, 1, m + 1);
        if (caretLine < 0) {
            ADD_FAILURE() << "no caret line for " << msgLine;
            continue;
        }
        int caret = static_cast<int>(pane->GetLineText(caretLine).find('^'));
        // The message line, the source excerpt and the caret line all lead there.
        for (int clicked : {caretLine, m, m + 1}) {
            Frame()->ActivateDocument(view->GetDocument());
            view->GoToPosition(1, 0); // start somewhere else each time
            DoubleClick(pane, clicked);
            CKibView* at = ActiveView();
            EXPECT_EQ(at, view) << "the open window of the same path is used";
            EXPECT_EQ(view->GetCaretPos().y, line - 1) << msgLine << " clicked " << clicked;
            EXPECT_EQ(view->GetCaretPos().x, caret) << msgLine << " clicked " << clicked;
            EXPECT_EQ(wxWindow::FindFocus(), view);
            // The message with its excerpt is highlighted, up to two bytes past the caret.
            EXPECT_EQ(pane->GetAnchor(), (COutputPane::Pos{m, 0}));
            int end = std::min<int>(caret + 2, static_cast<int>(pane->GetLineText(caretLine).size()));
            EXPECT_EQ(pane->GetCaret(), (COutputPane::Pos{caretLine, end}));
        }
        const char* chars = view->LineChars(line - 1);
        seen.emplace_back(line, chars && caret < view->LineLength(line - 1) ? chars[caret] : '\0');
    }
    EXPECT_EQ(app->Docs().Documents().size(), 1u) << "no second window on the same file";
    return seen;
}

TEST_P(CompileRunTest, EveryMessageOfAFileWithErrorsAndWarningsJumpsToItsLineAndColumn)
{
    // What each message points at in the source (javac copies the tabs into
    // its caret line, so the caret's index is a byte index).
    auto seen = JumpToEveryMessage("Broken.java");
    // JDK 17 also warns about the removal of Integer(int) on the tab-indented line 6.
    std::vector<std::pair<int, char>> expected = {{3, 'y'}, {6, 'n'}, {9, '^'}, {1234, '"'}};
    if (seen.size() == 3)
        expected.erase(expected.begin() + 1);
    EXPECT_EQ(seen, expected) << CompilerPane()->GetText();
}

TEST_P(CompileRunTest, MessagesOnTabIndentedLinesLandOnTheRightByte)
{
    auto seen = JumpToEveryMessage("TabErrors.java");
    EXPECT_EQ(seen, (std::vector<std::pair<int, char>>{{3, '"'}, {6, '5'}, {6, '"'}})) << CompilerPane()->GetText();
}

TEST_P(CompileRunTest, CompileThenRunRunsOnlyWhenTheCompilerWroteNothingToItsErrorOutput)
{
    std::string hello = Put(dir + "src", "Hello.java", "Hello.java");
    CKibView* view = OpenView(hello);
    ASSERT_TRUE(CompileAndWait(view, kib::ID_JAVA_COMPILE_RUN));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + hello + "....\r\n\r\nCompilierung beendet");
    EXPECT_EQ(ProgramPane()->GetText(), "Hello from Kib\r\n");
    EXPECT_EQ(Frame()->OutputBar()->GetTabWindow()->GetSelection(), COutputBar::PANE_OUTPUT);

    // Warnings alone (on stderr) compile, but the run does not follow.
    kibtest::WriteFile(dir + "src/W.java",
                       "public class W { Integer i = new Integer(5);\n"
                       "  public static void main(String[] a) { System.out.println(\"ran\"); } }\n");
    CKibView* warn = OpenView(dir + "src/W.java");
    ProgramPane()->AppendText("marker");
    ASSERT_TRUE(CompileAndWait(warn, kib::ID_JAVA_COMPILE_RUN));
    EXPECT_TRUE(Exists(dir + "src/W.class"));
    EXPECT_TRUE(warn->ErrorOutputSeen());
    const std::string heading = "Compile " + dir + "src/W.java....\r\n";
    EXPECT_GT(CompilerPane()->GetText().size(), heading.size() + 22) << "the warning is in the pane";
    PumpEvents(200);
    EXPECT_EQ(ProgramPane()->GetText(), "Hello from Kib\r\nmarker");
    EXPECT_EQ(warn->CommandMode(), 0);
}

TEST_P(CompileRunTest, RunCapturedWithArgumentsRunsTheChosenStartFileFromItsOwnFolder)
{
    std::string args = Put(dir + "other place", "Args.java", "Args.java");
    CKibView* argsView = OpenView(args);
    ASSERT_TRUE(CompileAndWait(argsView));
    ASSERT_TRUE(Exists(dir + "other place/Args.class"));
    CKibView* hello = OpenView(Put(dir + "src", "Hello.java", "Hello.java"));

    // The start-file list, chosen through its menu command.
    dialogs.startFilesAnswer = std::vector<std::string>{args};
    Command(kib::ID_STARTFILE_CONFIGURE);
    ASSERT_EQ(Frame()->Settings().m_startFiles, std::vector<std::string>{args});
    Command(kib::ID_STARTFILE_FIRST);
    EXPECT_EQ(Frame()->Settings().m_curStartFile, 0);
    EXPECT_TRUE(kibtest::Query(Frame(), kib::ID_STARTFILE_FIRST).checked);
    EXPECT_FALSE(kibtest::Query(Frame(), kib::ID_STARTFILE_CURRENT).checked);

    Frame()->ActivateDocument(hello->GetDocument());
    dialogs.argumentsAnswer = "two \"words here\"";
    Command(kib::ID_JAVA_RUN_ARGS);
    EXPECT_EQ(dialogs.argumentsAsked, 1);
    EXPECT_EQ(hello->CommandMode(), 2);
    ASSERT_TRUE(WaitIdle(hello));
    std::string classPath = toolchain::IdeClassPath() + ":" + ":" + dir + "other place";
    EXPECT_EQ(ProgramPane()->GetText(), "[two]\r\n[words here]\r\ncwd=" + dir + "other place\r\nclasspath=" +
                                            classPath + "\r\n");

    // "Abbrechen" runs nothing; the current file again runs the view's own class.
    dialogs.argumentsAnswer.reset();
    Command(kib::ID_JAVA_RUN_ARGS);
    EXPECT_EQ(hello->CommandMode(), 0);
    Command(kib::ID_STARTFILE_CURRENT);
    ASSERT_TRUE(CompileAndWait(hello, kib::ID_JAVA_COMPILE_RUN));
    EXPECT_EQ(ProgramPane()->GetText(), "Hello from Kib\r\n");
}

TEST_P(CompileRunTest, ProgramWaitingOnItsInputIsEndedWhenItsViewCloses)
{
    std::string src = Put(dir + "src", "WaitInput.java", "WaitInput.java");
    CKibView* view = OpenView(src);
    Command(kib::ID_JAVA_COMPILE_RUN);
    ASSERT_TRUE(PumpUntil([&] { return ProgramPane()->GetText() == "ready\r\n"; }, 60000))
        << ProgramPane()->GetText();
    EXPECT_EQ(view->CommandMode(), 2);
    ASSERT_TRUE(view->Runner().IsChildRunning()) << "it waits for input that never comes";
    int pid = view->Runner().ChildPid();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(kill(pid, 0), 0);
    view->GetDocument()->OnCloseDocument();
    PumpEvents(20);
    EXPECT_NE(kill(pid, 0), 0) << "the program is gone with its view";
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(ProgramPane()->GetText(), "ready\r\n");
}

TEST_P(CompileRunTest, LongOutputArrivesCompleteAndInOrder)
{
    std::string src = Put(dir + "src", "Lines.java", "Lines.java");
    CKibView* view = OpenView(src);
    ASSERT_TRUE(CompileAndWait(view, kib::ID_JAVA_COMPILE_RUN));
    ASSERT_TRUE(PumpUntil([&] { return view->CommandMode() == 0 && ProgramPane()->GetLineCount() > 2000; }, 60000));
    ASSERT_TRUE(WaitIdle(view));
    COutputPane* pane = ProgramPane();
    ASSERT_EQ(pane->GetLineCount(), 2002) << "2000 lines, the stderr line and the empty last line";
    // The two pipes are shown chunk by chunk as they are read, so the stderr
    // text may land inside a stdout line that arrived in two chunks; each
    // stream's own text stays complete and in order.
    std::string all = pane->GetText();
    all.erase(std::remove(all.begin(), all.end(), '\r'), all.end());
    const std::string errLine = "done on stderr\n";
    const size_t err = all.find(errLine);
    ASSERT_NE(err, std::string::npos) << all;
    all.erase(err, errLine.size());
    std::string expected;
    for (int l = 0; l < 2000; ++l)
        expected += "output line " + std::to_string(l) + "\n";
    EXPECT_EQ(all, expected);
    EXPECT_GT(pane->GetTextLength(), 256u * 100);
}

TEST_P(CompileRunTest, FailedStartsWriteUnableToStartAndReturnToIdle)
{
    std::string src = Put(dir + "src", "Hello.java", "Hello.java");
    CKibView* view = OpenView(src);
    for (std::string compiler : {dir + "no such javac", jdk + "/bin"}) {
        Frame()->Settings().m_compilerPath = compiler;
        Command(kib::ID_JAVA_COMPILE);
        EXPECT_EQ(view->CommandMode(), 0) << compiler;
        EXPECT_EQ(view->CompileProgressWindow(), nullptr);
        EXPECT_FALSE(view->Runner().HoldsChild());
        toolchain::CCompileCommand c =
            toolchain::BuildCompileCommand(Frame()->Settings(), src, toolchain::IdeClassPath());
        EXPECT_EQ(CompilerPane()->GetText(), "Compile " + src + "....\r\nUnable to start " + c.commandLine + "\r\n");
        PumpEvents(50);
        EXPECT_EQ(CompilerPane()->GetText().find("Compilierung beendet"), std::string::npos)
            << "no exit notice follows a failed start";
    }
    EXPECT_TRUE(dialogs.asked.empty()) << "a failed compile asks nothing";

    Frame()->Settings().m_interpreterPath = dir + "no java";
    Command(kib::ID_JAVA_RUN);
    EXPECT_EQ(view->CommandMode(), 0);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "<Hello> konnte nicht gestartet werden");
    EXPECT_EQ(dialogs.asked[0].caption, "Fehler!");
    EXPECT_TRUE(dialogs.asked[0].style & wxICON_ERROR);
    EXPECT_EQ(ProgramPane()->GetText().rfind("Unable to start \"" + dir + "no java\" -classpath", 0), 0u)
        << ProgramPane()->GetText();
}

TEST_P(CompileRunTest, NamesWithBlanksQuotesAndShellSyntaxCompileAndRunWithNothingExecuted)
{
    std::string folder = dir + "we ird \"q\" $(touch pwned1) `touch pwned2` ;touch pwned3; it's";
    std::string src = Put(folder, "Args.java", "Args.java");
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + src + "....\r\n\r\nCompilierung beendet");
    EXPECT_TRUE(Exists(folder + "/Args.class"));
    dialogs.argumentsAnswer = "\"$(touch pwned4)\" `touch pwned5` ;touch pwned6";
    Command(kib::ID_JAVA_RUN_ARGS);
    ASSERT_TRUE(WaitIdle(view));
    EXPECT_EQ(ProgramPane()->GetText(), Crlf("[$(touch pwned4)]\n[`touch]\n[pwned5`]\n[;touch]\n[pwned6]\ncwd=" +
                                             folder + "\nclasspath=" + toolchain::IdeClassPath() + "::" +
                                             folder + "\n"));

    // A class that is not public may live in a file of any name.
    std::string odd = folder + "/odd $(touch pwned7) `x`;name.java";
    kibtest::WriteFile(odd, "class Other { }\n");
    CKibView* oddView = OpenView(odd);
    ASSERT_NE(oddView, nullptr);
    ASSERT_TRUE(CompileAndWait(oddView));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + odd + "....\r\n\r\nCompilierung beendet");
    EXPECT_TRUE(Exists(folder + "/Other.class"));

    for (int i = 1; i <= 7; ++i) {
        std::string canary = "pwned" + std::to_string(i);
        for (const std::string& where : {folder + "/", dir, std::string("./")})
            EXPECT_FALSE(Exists(where + canary)) << where << canary;
    }
}

TEST_P(CompileRunTest, SaveRulesBeforeCompilingAndTheUntitledDocument)
{
    std::string src = Put(dir + "src", "Hello.java", "Hello.java");
    std::string other = Put(dir + "src", "Args.java", "Args.java");
    CKibView* otherView = OpenView(other);
    CKibView* view = OpenView(src);
    auto edit = [](CKibView* v) {
        int el, ec;
        v->GetDocument()->Buffer().InsertTextAt(nullptr, 0, 0, "// edited\r\n", el, ec);
    };
    const std::string original = kibtest::ReadFile(src);

    // Off: the file on disk is compiled as it is.
    edit(view);
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(kibtest::ReadFile(src), original);
    EXPECT_TRUE(view->GetDocument()->IsModified());

    // Exactly 1 with type 1: only this file.
    Frame()->Settings().m_autoSaveBeforeCompile = 1;
    Frame()->Settings().m_autoSaveBeforeCompileType = 1;
    edit(otherView);
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(kibtest::ReadFile(src).rfind("// edited", 0), 0u);
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_EQ(kibtest::ReadFile(other), kibtest::ReadFile(Data("Args.java")));

    // Type 0: every document is saved.
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(kibtest::ReadFile(other), kibtest::ReadFile(Data("Args.java")));
    Frame()->Settings().m_autoSaveBeforeCompileType = 0;
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(kibtest::ReadFile(other).rfind("// edited", 0), 0u);

    // A value other than 1 saves nothing.
    Frame()->Settings().m_autoSaveBeforeCompile = 2;
    edit(view);
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_TRUE(view->GetDocument()->IsModified());

    // An untitled document: the message, no child, back to idle.
    Frame()->Settings().m_autoSaveBeforeCompile = 0;
    CKibDoc* doc = app->Docs().NewDocument();
    ASSERT_NE(doc, nullptr);
    PumpEvents(20);
    CKibView* untitled = doc->GetFirstView();
    Frame()->ActivateDocument(doc);
    std::string before = CompilerPane()->GetText();
    Command(kib::ID_JAVA_COMPILE_RUN);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "Sie müssen die Datei vor dem Compilieren speichern");
    EXPECT_EQ(dialogs.asked[0].caption, "Kib");
    EXPECT_EQ(untitled->CommandMode(), 0);
    EXPECT_FALSE(untitled->Runner().HoldsChild());
    EXPECT_EQ(CompilerPane()->GetText(), before);
}
