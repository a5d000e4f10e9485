// The real dialogs of the run commands, shown modally through Kib's commands
// and answered by clicking their buttons; the start-file menu; the applet
// command and the console variants with a stand-in terminal and viewer.
#include "ToolchainTestSupport.h"

#include "controls/HistoryComboBox.h"
#include "settings/RegistryKey.h"
#include "toolchain/CompileProgressDialog.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/RunArgumentsDialog.h"
#include "toolchain/StartFileEntryDialog.h"
#include "toolchain/StartFilesDialog.h"
#include "toolchain/ToolchainTexts.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include <functional>

using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;

namespace {

class ToolDialogsTest : public ToolchainTest {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        log = dir + "terminal.log";
        // The terminal runs "-e /bin/sh -c script" with its output in a log.
        terminal = Script("term", "[ \"$1\" = -e ] && shift\nexec \"$@\" </dev/null >>'" + log + "' 2>&1\n");
        const char* old = std::getenv("TERMINAL");
        oldTerminal = old ? old : "";
        hadTerminal = old != nullptr;
        setenv("TERMINAL", terminal.c_str(), 1);
        java = Script("java", "for a in \"$@\"; do echo \"[$a]\"; done\necho \"cwd=$PWD\"\n");
        ASSERT_TRUE(StartWith("/bin/false", java));
        src = Put(dir + "src", "Hello.java", "Hello.java");
        view = OpenView(src);
        ASSERT_NE(view, nullptr);
    }

    void TearDown() override
    {
        if (hadTerminal)
            setenv("TERMINAL", oldTerminal.c_str(), 1);
        else
            unsetenv("TERMINAL");
        ToolchainTest::TearDown();
    }

    std::string Log() const { return kibtest::ReadFile(log); }

    std::string log, terminal, java, src, oldTerminal;
    bool hadTerminal = false;
    CKibView* view = nullptr;
};

} // namespace

TEST_F(ToolDialogsTest, ArgumentsDialogRunsWithTheTypedTextAndRemembersIt)
{
    dialogs.realToolDialogs = true; // the real dialogs
    WhenShown<CRunArgumentsDialog>([](CRunArgumentsDialog* dlg) {
        EXPECT_EQ(dlg->GetTitle(), wxString::FromUTF8("Argumente für Start"));
        EXPECT_EQ(dlg->Combo()->GetValue(), "");
        dlg->Combo()->SetValue("  one \"two three\"");
        Click(dlg, wxID_OK);
    });
    Command(kib::ID_JAVA_RUN_ARGS);
    ASSERT_TRUE(WaitIdle(view, 10000));
    EXPECT_EQ(ProgramPane()->GetText(), "[-classpath]\r\n[" + toolchain::IdeClassPath() + "::" + dir +
                                            "src]\r\n[Hello]\r\n[one]\r\n[two three]\r\ncwd=" + dir + "src\r\n");
    {
        CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\Arguments", false);
        ASSERT_TRUE(key.IsOpen());
        EXPECT_EQ(key.ReadString("ArgKey0"), "one \"two three\"") << "trimmed in the history";
        // Adding selects the new top item, whose text replaces the typed one.
        EXPECT_EQ(key.ReadString("LastEntry"), "one \"two three\"");
    }

    // Next time the text is offered again; "Abbrechen" runs nothing.
    ProgramPane()->Clear();
    WhenShown<CRunArgumentsDialog>([](CRunArgumentsDialog* dlg) {
        EXPECT_EQ(dlg->Combo()->GetCount(), 1u);
        EXPECT_EQ(dlg->Combo()->GetValue(), "one \"two three\"");
        Click(dlg, wxID_CANCEL);
    });
    Command(kib::ID_JAVA_RUN_ARGS);
    PumpEvents(100);
    EXPECT_EQ(view->CommandMode(), 0);
    EXPECT_EQ(ProgramPane()->GetText(), "");
}

TEST_F(ToolDialogsTest, StartFileDialogsEditTheSortedListAndOkReplacesTheFramesList)
{
    Frame()->Settings().m_startFiles = {"/src/b/Zwei.java", "/src/a/Eins.java"};
    dialogs.realToolDialogs = true;
    WhenShown<CStartFilesDialog>([](CStartFilesDialog* dlg) {
        wxListBox* list = dlg->List();
        EXPECT_EQ(dlg->GetTitle(), "Startdateien konfigurieren");
        ASSERT_EQ(list->GetCount(), 2u);
        EXPECT_EQ(list->GetString(0), "/src/a/Eins.java");
        EXPECT_FALSE(dlg->FindWindow(CStartFilesDialog::kChangeId)->IsEnabled());
        EXPECT_FALSE(dlg->FindWindow(CStartFilesDialog::kDeleteId)->IsEnabled());
        // "Neuer Eintrag..." opens "Datei auswählen".
        WhenShown<CStartFileEntryDialog>([](CStartFileEntryDialog* entry) {
            EXPECT_EQ(entry->GetTitle(), wxString::FromUTF8("Datei auswählen"));
            EXPECT_EQ(entry->Path(), "");
            entry->SetPath("/src/A/Drei.java");
            Click(entry, wxID_OK);
        });
        Click(dlg, CStartFilesDialog::kNewId);
        ASSERT_EQ(list->GetCount(), 3u);
        EXPECT_EQ(list->GetString(0), "/src/A/Drei.java") << "sorted, letter case ignored";
        EXPECT_EQ(list->GetString(1), "/src/a/Eins.java");
        // Selecting enables change and delete.
        list->SetSelection(2);
        wxCommandEvent sel(wxEVT_LISTBOX, CStartFilesDialog::kListId);
        sel.SetEventObject(list);
        sel.SetInt(2);
        list->GetEventHandler()->ProcessEvent(sel);
        EXPECT_TRUE(dlg->FindWindow(CStartFilesDialog::kChangeId)->IsEnabled());
        EXPECT_TRUE(dlg->FindWindow(CStartFilesDialog::kDeleteId)->IsEnabled());
        Click(dlg, wxID_OK);
    });
    Command(kib::ID_STARTFILE_CONFIGURE);
    EXPECT_EQ(Frame()->Settings().m_startFiles,
              (std::vector<std::string>{"/src/A/Drei.java", "/src/a/Eins.java", "/src/b/Zwei.java"}));

    // "Abbrechen" keeps the list.
    WhenShown<CStartFilesDialog>([](CStartFilesDialog* dlg) {
        dlg->List()->SetSelection(0);
        Click(dlg, wxID_CANCEL);
    });
    Command(kib::ID_STARTFILE_CONFIGURE);
    EXPECT_EQ(Frame()->Settings().m_startFiles.size(), 3u);
}

TEST_F(ToolDialogsTest, ChangeAndDeleteKeepTheirPlacesAndDeleteAsksFirst)
{
    std::vector<wxString> presets;
    std::vector<wxString> answers = {"/z/Z.java", "/c/C.java"};
    int asked = 0;
    bool yes = false;
    CStartFilesDialog dlg(
        Frame(), {"/b/B.java", "/a/A.java"},
        [&](wxWindow*, wxString& path) {
            presets.push_back(path);
            path = answers[presets.size() - 1];
            return true;
        },
        [&](wxWindow*) {
            ++asked;
            return yes;
        });
    dlg.Show();
    dlg.List()->SetSelection(0);
    Click(&dlg, CStartFilesDialog::kChangeId);
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0], "/a/A.java");
    EXPECT_EQ(dlg.Files(), (std::vector<std::string>{"/z/Z.java", "/b/B.java"})) << "replaced in place";
    EXPECT_EQ(dlg.List()->GetString(0), "/z/Z.java");
    dlg.List()->SetSelection(1);
    Click(&dlg, CStartFilesDialog::kDeleteId);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dlg.Files().size(), 2u) << "No keeps the entry";
    yes = true;
    Click(&dlg, CStartFilesDialog::kDeleteId);
    EXPECT_EQ(dlg.Files(), std::vector<std::string>{"/z/Z.java"});
    EXPECT_EQ(dlg.List()->GetCount(), 1u);
    Click(&dlg, CStartFilesDialog::kNewId);
    EXPECT_EQ(dlg.Files(), (std::vector<std::string>{"/c/C.java", "/z/Z.java"}));
    dlg.Hide();

    // "..." puts the chosen path into the field.
    CStartFileEntryDialog entry(Frame(), "old", [](wxWindow*, wxString& chosen) {
        chosen = "/picked/Pick.java";
        return true;
    });
    Click(&entry, CStartFileEntryDialog::kBrowseId);
    EXPECT_EQ(entry.Path(), "/picked/Pick.java");
}

TEST_F(ToolDialogsTest, StartFileMenuListsTheEntriesAndChoosesOne)
{
    Frame()->Settings().m_startFiles = {dir + "a/One.java", dir + "b/Two.java"};
    wxMenuBar* bar = Frame()->GetMenuBar();
    wxMenu* sub = nullptr;
    ASSERT_NE(bar->FindItem(kib::ToWxId(kib::ID_STARTFILE_CURRENT), &sub), nullptr);
    wxMenuEvent open(wxEVT_MENU_OPEN, 0, sub->GetParent());
    Frame()->ProcessWindowEvent(open);
    ASSERT_EQ(sub->GetMenuItemCount(), 6u);
    EXPECT_EQ(sub->FindItemByPosition(0)->GetItemLabel(), "&Aktuelle Datei");
    EXPECT_TRUE(sub->FindItemByPosition(1)->IsSeparator());
    EXPECT_EQ(sub->FindItemByPosition(2)->GetId(), kib::ToWxId(kib::ID_STARTFILE_FIRST));
    EXPECT_EQ(sub->FindItemByPosition(3)->GetItemLabel(), wxString::FromUTF8(dir + "b/Two.java"));
    EXPECT_TRUE(sub->FindItemByPosition(4)->IsSeparator());
    EXPECT_EQ(sub->FindItemByPosition(5)->GetItemLabel(), "&Einstellen...");
    EXPECT_TRUE(kibtest::Query(Frame(), kib::ID_STARTFILE_CONFIGURE).enabled);

    Command(kib::ID_STARTFILE_FIRST + 1);
    EXPECT_EQ(Frame()->Settings().m_curStartFile, 1);
    Command(kib::ID_STARTFILE_FIRST + 5); // no such entry
    EXPECT_EQ(Frame()->Settings().m_curStartFile, 1);
    // An index that names no entry (the list got shorter) runs the view's own file.
    Frame()->Settings().m_startFiles.resize(1);
    Command(kib::ID_JAVA_RUN);
    ASSERT_TRUE(WaitIdle(view, 10000));
    EXPECT_EQ(ProgramPane()->GetText(), "[-classpath]\r\n[" + toolchain::IdeClassPath() + "::" + dir +
                                            "src]\r\n[Hello]\r\ncwd=" + dir + "src\r\n");
}

TEST_F(ToolDialogsTest, ConsoleRunGoesThroughTheTerminalWithEveryWordQuoted)
{
    Frame()->Settings().m_captureOutput = 0;
    for (int stayOpen : {0, 1}) {
        std::remove(log.c_str());
        Frame()->Settings().m_stopAfterRun = stayOpen;
        dialogs.argumentsAnswer = "x \"y z\" $(touch pwned) ';touch pwned2'";
        Command(kib::ID_JAVA_RUN_ARGS);
        EXPECT_EQ(view->CommandMode(), 2) << "the console run is not waited for";
        EXPECT_FALSE(view->Runner().HoldsChild());
        ASSERT_TRUE(PumpUntil([&] { return Log().find("cwd=") != std::string::npos; }, 10000)) << Log();
        // (With the console kept open, an interactive shell follows.)
        const std::string expected = "[-classpath]\n[" + toolchain::IdeClassPath() + "::" + dir +
                                     "src]\n[Hello]\n[x]\n[y z]\n[$(touch]\n[pwned)]\n[';touch]\n[pwned2']\ncwd=" +
                                     dir + "src\n";
        EXPECT_EQ(Log().substr(0, expected.size()), expected);
        EXPECT_FALSE(Exists(dir + "src/pwned"));
        EXPECT_FALSE(Exists(dir + "src/pwned2"));
    }
    EXPECT_TRUE(dialogs.asked.empty());

    // No terminal at all: the run cannot start.
    setenv("TERMINAL", (dir + "no terminal").c_str(), 1);
    std::string path = std::getenv("PATH");
    setenv("PATH", "/nonexistent", 1);
    Command(kib::ID_JAVA_RUN);
    setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text,
              "<Hello> konnte nicht gestartet werden\n\nEs ist kein Terminal vorhanden, in dem das "
              "Programm laufen könnte (gesucht: $TERMINAL, x-terminal-emulator, xterm).");
    EXPECT_EQ(dialogs.asked[0].caption, "Fehler!");
    EXPECT_TRUE(dialogs.asked[0].style & wxICON_ERROR);

    // A terminal that exists but cannot start the program says only that.
    setenv("TERMINAL", terminal.c_str(), 1);
    Frame()->Settings().m_captureOutput = 1;
    Frame()->Settings().m_interpreterPath = dir + "no java";
    Command(kib::ID_JAVA_RUN);
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1].text, "<Hello> konnte nicht gestartet werden");
}

TEST_F(ToolDialogsTest, AppletPageIsGeneratedOnRequestAndTheViewerStartsOnIt)
{
    EXPECT_FALSE(kibtest::Query(Frame(), kib::ID_JAVA_APPLETVIEWER).enabled) << "no applet viewer path";
    Frame()->Settings().m_appletViewerPath =
        Script("viewer", "echo \"viewer $PWD\"\nfor a in \"$@\"; do echo \"[$a]\"; done\n");
    EXPECT_TRUE(kibtest::Query(Frame(), kib::ID_JAVA_APPLETVIEWER).enabled);
    const std::string page = dir + "src/Hello.html";

    dialogs.appletAnswer = wxID_CANCEL;
    Command(kib::ID_JAVA_APPLETVIEWER);
    EXPECT_EQ(dialogs.appletAsked, 1);
    EXPECT_FALSE(Exists(page));

    dialogs.appletAnswer = CAppletPageDialog::kCreateAndEdit;
    Command(kib::ID_JAVA_APPLETVIEWER);
    EXPECT_EQ(kibtest::ReadFile(page), toolchain::AppletPageText("Hello"));
    EXPECT_EQ(kibtest::ReadFile(page),
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n<html><head><title>KIB "
              "started applet</title></head><body>\n<applet code=\"Hello.class\" width=100 "
              "height=100></applet></body></html>");
    EXPECT_NE(app->Docs().FindDocument(page), nullptr) << "opened for editing";
    PumpEvents(300);
    EXPECT_FALSE(Exists(log)) << "and not started";

    // The page exists now: no question, the viewer starts on it from the source folder.
    Frame()->ActivateDocument(view->GetDocument());
    Command(kib::ID_JAVA_APPLETVIEWER);
    EXPECT_EQ(dialogs.appletAsked, 2);
    ASSERT_TRUE(PumpUntil([&] { return Log().find("[Hello.html]") != std::string::npos; }, 10000)) << Log();
    const std::string expected = "viewer " + dir + "src\n[Hello.html]\n";
    EXPECT_EQ(Log().substr(0, expected.size()), expected);

    std::remove(page.c_str());
    std::remove(log.c_str());
    dialogs.appletAnswer = CAppletPageDialog::kCreateAndStart;
    Command(kib::ID_JAVA_APPLETVIEWER);
    EXPECT_EQ(dialogs.appletAsked, 3);
    EXPECT_TRUE(Exists(page));
    ASSERT_TRUE(PumpUntil([&] { return Log().find("[Hello.html]") != std::string::npos; }, 10000)) << Log();
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ToolDialogsTest, ConsoleCommandOpensTheTerminal)
{
    EXPECT_TRUE(kibtest::Query(Frame(), kib::ID_JAVA_CONSOLE).enabled);
    Command(kib::ID_JAVA_CONSOLE);
    ASSERT_EQ(shellOpened.size(), 1u);
    EXPECT_EQ(shellOpened[0], "terminal:" + terminal);

    // The console finds and splits $TERMINAL as the console runs do.
    std::string bin = dir + "bin";
    mkdir(bin.c_str(), 0755);
    std::string xterm = bin + "/xterm";
    kibtest::WriteFile(xterm, "#!/bin/sh\n");
    chmod(xterm.c_str(), 0755);
    std::string path = std::getenv("PATH");
    setenv("PATH", bin.c_str(), 1);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {terminal + " -title \"Kib Konsole\"", terminal + " -title Kib Konsole"},
        {"xterm -hold", xterm + " -hold"},
        {dir, xterm},                    // a folder is no terminal
        {dir + "src/Hello.java", xterm}, // nor is a file that cannot run
    };
    for (const auto& [variable, opened] : cases) {
        setenv("TERMINAL", variable.c_str(), 1);
        shellOpened.clear();
        Command(kib::ID_JAVA_CONSOLE);
        EXPECT_EQ(shellOpened, std::vector<std::string>{"terminal:" + opened}) << variable;
    }
    setenv("PATH", path.c_str(), 1);
}

TEST_F(ToolDialogsTest, ProgressWindowShowsALongPathCompacted)
{
    std::string path = "/home/someone/projects/with/a/rather/deep/folder/structure/src/de/example/Main.java";
    CCompileProgressDialog dlg(Frame(), path);
    std::string text = dlg.FileText().utf8_string();
    EXPECT_EQ(text, "Die Datei " + toolchain::CompactPath(path, 55));
    EXPECT_LE(text.size(), std::string("Die Datei ").size() + 54);
    EXPECT_NE(text.find("Main.java"), std::string::npos);
    EXPECT_EQ(dlg.GetTitle(), "Compilieren");
    EXPECT_NE(dlg.FindWindow(CCompileProgressDialog::kFileTextId), nullptr);
}
