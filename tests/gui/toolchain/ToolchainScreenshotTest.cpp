// Scenes of compiling and running in the real main window: a compile with
// errors, the highlighted message after a double-click, the compile progress
// window, the arguments dialog with its history and the start-file dialog.
// With KIB_SCREENSHOT_DIR set each scene is saved as a PNG of the screen
// (run gui_toolchain with --gtest_filter='ToolchainScreenshotTest.*' under
// an Xvfb of 1280x1024).
#include "ToolchainTestSupport.h"

#include "controls/HistoryComboBox.h"
#include "settings/RegistryKey.h"
#include "toolchain/RunArgumentsDialog.h"
#include "toolchain/StartFilesDialog.h"

#include <wx/listbox.h>


using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;

namespace {

class ToolchainScreenshotTest : public ToolchainTest {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        const std::string jdk = kJdks[0];
        if (!Exists(jdk + "/bin/javac"))
            GTEST_SKIP() << "no JDK at " << jdk;
        ASSERT_TRUE(StartWith(jdk + "/bin/javac", jdk + "/bin/java"));
        Frame()->Move(0, 0);
        Frame()->SetSize(wxSize(1200, 900));
        PumpEvents(100);
    }

    void Shot(const char* name)
    {
        Frame()->Refresh();
        Frame()->Update();
        PumpEvents(300);
        kibtest::SaveScreenIfAsked(name);
    }
};

} // namespace

TEST_F(ToolchainScreenshotTest, CompileWithErrorsThenTheMessageJumpedTo)
{
    std::string src = Put(dir + "src", "Broken.java", "Broken.java");
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    Command(kib::ID_JAVA_COMPILE);
    ASSERT_NE(view->CompileProgressWindow(), nullptr);
    Shot("toolchain-progress");
    ASSERT_TRUE(WaitIdle(view));
    Shot("toolchain-compile-errors");

    // The warning on the tab-indented line (JDK 17), else the second error.
    COutputPane* pane = CompilerPane();
    const int caretLine = CaretLine(pane, 2);
    ASSERT_GT(caretLine, 0);
    DoubleClick(pane, caretLine);
    EXPECT_TRUE(pane->HasSelection());
    EXPECT_EQ(ActiveView()->GetCaretPos().y, 5);
    pane->ScrollToLine(pane->GetAnchor().line - 1); // the whole message in sight
    Shot("toolchain-jump");
}

TEST_F(ToolchainScreenshotTest, ArgumentsAndStartFileDialogs)
{
    {
        CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\Arguments", true);
        key.WriteString("ArgKey0", "--verbose eingabe.txt");
        key.WriteString("ArgKey1", "\"Datei mit Leerzeichen.txt\" 42");
        key.WriteString("ArgKey2", "-n 10");
        key.WriteString("LastEntry", "--verbose eingabe.txt");
    }
    auto* args = new CRunArgumentsDialog(Frame());
    args->Show();
    PumpEvents(100);
    EXPECT_EQ(args->Combo()->GetCount(), 3u);
    Shot("toolchain-arguments");
    args->Destroy();

    auto* files = new CStartFilesDialog(
        Frame(), {"/home/anna/java/rechner/Rechner.java", "/home/anna/java/spiel/Spiel.java",
                  "/home/anna/java/Hallo.java"});
    files->Show();
    files->List()->SetSelection(1);
    wxCommandEvent sel(wxEVT_LISTBOX, CStartFilesDialog::kListId);
    sel.SetEventObject(files->List());
    sel.SetInt(1);
    files->List()->GetEventHandler()->ProcessEvent(sel);
    PumpEvents(100);
    Shot("toolchain-startfiles");
    files->Destroy();
    PumpEvents(50);
}

TEST_F(ToolchainScreenshotTest, Utf8SourceCompiledWithAnErrorAndRun)
{
    std::filesystem::create_directories(dir + "src");
    std::string src = dir + "src/Gruss.java";
    kibtest::WriteFile(src, "// Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln: \xE2\x82\xAC \xE4\xB8\xAD\xE6\x96\x87\n"
                            "public class Gruss {\n"
                            "    public static void main(String[] args) {\n"
                            "        String s = \"\xE4\xB8\xAD\xC3\x9F\"; int x = \"\xC3\xA4\";\n"
                            "        System.out.println(\"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD\");\n"
                            "    }\n"
                            "}\n");
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(CompileAndWait(view));
    COutputPane* pane = CompilerPane();
    const int caretLine = CaretLine(pane);
    ASSERT_GT(caretLine, 0);
    DoubleClick(pane, caretLine);
    Shot("toolchain-utf8-compile");
    // Fixed, compiled and run.
    kibtest::WriteFile(src, kibtest::ReadFile(src).replace(kibtest::ReadFile(src).find(" int x = \"\xC3\xA4\";"),
                                                           std::string(" int x = \"\xC3\xA4\";").size(), ""));
    ASSERT_TRUE(view->GetDocument()->OnOpenDocument(src));
    ASSERT_TRUE(CompileAndWait(view));
    Command(kib::ID_JAVA_RUN);
    ASSERT_TRUE(WaitIdle(view));
    EXPECT_EQ(ProgramPane()->GetLineText(0), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD");
    Shot("toolchain-utf8-run");
}
