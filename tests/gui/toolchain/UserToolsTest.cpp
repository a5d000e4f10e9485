// The user tools in the real main window: the Tools menu as it is filled,
// the commands 7000-7020 and their keys, the save modes, a tool in a
// stand-in terminal, a document through a stand-in opener, hostile file
// names, a program that cannot start, and "Toolmenü konfigurieren" driven
// through its real controls.
#include "ToolchainTestSupport.h"

#include "resources/MenuTable.h"
#include "resources/StringTable.h"
#include "settings/ParamFile.h"
#include "support/ScopedEnv.h"
#include "toolchain/ToolsDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <cstdlib>

using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;

namespace {

class UserToolsTest : public ToolchainTest {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        log = dir + "terminal.log";
        seen = dir + "seen";
        // The terminal runs "-e /bin/sh -c script"; the shell it keeps open
        // ends at once on an empty input.
        std::string terminal = Script("term", "echo terminal >>'" + log + "'\n[ \"$1\" = -e ] && shift\n"
                                              "exec \"$@\" </dev/null >>'" + log + "' 2>&1\n");
        Remember("TERMINAL", terminal);
        Remember("SHELL", "/bin/sh");
        // The desktop's opener, found through PATH.
        Script("xdg-open", "{ echo opener; pwd; printf '[%s]\\n' \"$@\"; } >'" + seen + ".part'\n" + Publish());
        const char* path = std::getenv("PATH");
        Remember("PATH", dir.substr(0, dir.size() - 1) + ":" + (path ? path : "/usr/bin:/bin"));
        show = Script("show tool", "{ pwd; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } >'" + seen + ".part'\n" +
                                   Publish());
        ASSERT_TRUE(StartWith("/bin/false", "/bin/false"));
        src = Put(dir + "src", "Hello.java", "Hello.java");
    }

    void TearDown() override
    {
        ToolchainTest::TearDown();
        while (!saved.empty()) // the last change first
            saved.pop_back();
    }

    void Remember(const char* name, const std::string& value)
    {
        saved.push_back(std::make_unique<kibtest::CScopedEnv>(name, value));
    }

    void SetTools(std::vector<CToolEntry> tools)
    {
        Frame()->Settings().m_tools = std::move(tools);
        Frame()->ToolsChanged();
    }

    // The stand-ins write beside "seen" and rename it into place, so a reader
    // never sees half of what a detached process is still writing.
    std::string Publish() const { return "mv -f '" + seen + ".part' '" + seen + "'\n"; }

    // What the stand-in tool or opener wrote (waits for it).
    std::string Seen(int ms = 5000)
    {
        std::string text;
        PumpUntil([&] { return !(text = kibtest::ReadFile(seen)).empty(); }, ms);
        return text;
    }

    wxMenu* ToolsMenu() const
    {
        wxMenuBar* bar = Frame()->GetMenuBar();
        int at = bar->FindMenu("Tools");
        return at == wxNOT_FOUND ? nullptr : bar->GetMenu(static_cast<size_t>(at));
    }

    std::vector<std::string> MenuTexts() const
    {
        std::vector<std::string> texts;
        for (wxMenuItem* item : ToolsMenu()->GetMenuItems())
            texts.push_back(item->IsSeparator() ? "-" : item->GetItemLabelText().utf8_string());
        return texts;
    }

    std::string log, seen, show, src;
    std::vector<std::unique_ptr<kibtest::CScopedEnv>> saved;
};

// Edits a document without saving it.
void Touch(CKibDoc* doc, const std::string& text)
{
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, text, el, ec, ACT_TYPING);
    ASSERT_TRUE(doc->IsModified());
}

} // namespace

TEST_F(UserToolsTest, MenuListsEveryToolAndTheTwentySecondIsDisabled)
{
    EXPECT_EQ(MenuTexts(), (std::vector<std::string>{"Toolmenüeinträge konfigurieren...", "-"}));
    std::vector<CToolEntry> tools;
    for (int i = 0; i < 23; ++i)
        tools.push_back({"Tool & " + std::to_string(i), "", show, 0, 0});
    SetTools(tools);
    ASSERT_NE(OpenView(src), nullptr);
    std::vector<std::string> texts = MenuTexts();
    ASSERT_EQ(texts.size(), 2u + 23u + 1u);
    EXPECT_EQ(texts[0], "Toolmenüeinträge konfigurieren...");
    EXPECT_EQ(texts[1], "-");
    EXPECT_EQ(texts[2], "Tool & 0") << "an & of the name is shown, not a mnemonic";
    EXPECT_EQ(texts[24], "Tool & 22");
    EXPECT_EQ(texts.back(), "-") << "the menu's own separator ends it";
    wxMenu* menu = ToolsMenu();
    menu->UpdateUI(Frame());
    wxMenuItem* twentyFirst = menu->FindItemByPosition(2 + 20);
    wxMenuItem* twentySecond = menu->FindItemByPosition(2 + 21);
    EXPECT_EQ(kib::FromWxId(twentyFirst->GetId()), kib::ID_TOOL_LAST);
    EXPECT_TRUE(twentyFirst->IsEnabled());
    EXPECT_FALSE(twentySecond->IsEnabled()) << "no command runs the 22nd tool";
    EXPECT_FALSE(menu->FindItemByPosition(2 + 22)->IsEnabled());
    EXPECT_EQ(kib::FromWxId(twentySecond->GetId()), -1) << "no design number of another command";

    // Fewer tools again: the menu shrinks.
    SetTools({tools[0]});
    EXPECT_EQ(MenuTexts(), (std::vector<std::string>{"Toolmenüeinträge konfigurieren...", "-", "Tool & 0", "-"}));
}

TEST_F(UserToolsTest, ToolsNeedADocumentAndAnExistingIndex)
{
    SetTools({{"A", "$file", show, 0, 0}, {"B", "$source", show, 0, 0}});
    Command(kib::ID_TOOL_FIRST);
    PumpEvents(50);
    EXPECT_FALSE(Exists(seen)) << "no document open: nothing runs";
    EXPECT_TRUE(dialogs.asked.empty());

    ASSERT_NE(OpenView(src), nullptr);
    // Ctrl+Shift+1 ... 9 are the first nine tools.
    int found = 0;
    for (const kib::KeyDef& k : kib::KeyTable(kib::IDR_MAINFRAME))
        if (k.modifiers == (kib::KMOD_CTRL | kib::KMOD_SHIFT) && k.key >= '1' && k.key <= '9') {
            EXPECT_EQ(k.command, kib::ID_TOOL_FIRST + (k.key - '1'));
            ++found;
        }
    EXPECT_EQ(found, 9);
    Command(kib::ID_TOOL_FIRST + 4); // Ctrl+Shift+5 with two tools
    PumpEvents(50);
    EXPECT_FALSE(Exists(seen));
    EXPECT_TRUE(dialogs.asked.empty());

    Command(kib::ID_TOOL_FIRST + 1);
    EXPECT_EQ(Seen(), dir + "src\n[Hello.java]\n") << "started directly in the document's folder";
}

TEST_F(UserToolsTest, SaveModesSaveTheActiveDocumentOrAll)
{
    std::string other = Put(dir + "src", "Other.java", "Hello.java");
    CKibView* first = OpenView(other);
    CKibView* view = OpenView(src);
    ASSERT_TRUE(first && view);
    const std::string original = kibtest::ReadFile(src);
    SetTools({{"Nichts", "", show, 0, 0}, {"Aktuelle", "", show, 0, 1}, {"Alle", "", show, 0, 2}});

    Touch(view->GetDocument(), "// a\r\n");
    Touch(first->GetDocument(), "// b\r\n");
    Frame()->ActivateDocument(view->GetDocument());
    Command(kib::ID_TOOL_FIRST);
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(kibtest::ReadFile(src), original) << "mode 0 saves nothing";

    unlink(seen.c_str());
    Command(kib::ID_TOOL_FIRST + 1);
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(kibtest::ReadFile(src), "// a\n" + original);
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_TRUE(first->GetDocument()->IsModified()) << "mode 1 saves the active document only";

    // Saved even without changes: the file comes back after removal.
    unlink(src.c_str());
    unlink(seen.c_str());
    Command(kib::ID_TOOL_FIRST + 1);
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(kibtest::ReadFile(src), "// a\n" + original);

    unlink(seen.c_str());
    Command(kib::ID_TOOL_FIRST + 2);
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(kibtest::ReadFile(other), "// b\n" + original) << "mode 2 saves all";
    EXPECT_FALSE(first->GetDocument()->IsModified());
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(UserToolsTest, StopAfterRunRunsInTheTerminalWithHostileNamesAsSingleArguments)
{
    // The folder and the file would run commands if any shell parsed them.
    const std::string folder = dir + "a b \"q\" $(touch canary) `touch canary`; touch canary";
    std::string path = Put(folder, "It's $(touch canary);x.java", "Hello.java");
    ASSERT_NE(OpenView(path), nullptr);
    Frame()->Settings().m_destinationPath = dir + "out dir";
    SetTools({{"Zeigen", "-d $destpath \"$path$class\" $FILE", show, 1, 0}});
    Command(kib::ID_TOOL_FIRST);
    EXPECT_EQ(Seen(), folder + "\n[-d]\n[" + dir + "out dir]\n[" + folder + "/It's $(touch canary);x.class]\n[$FILE]\n");
    EXPECT_TRUE(PumpUntil([&] { return kibtest::ReadFile(log).find("terminal") != std::string::npos; }, 2000))
        << "the tool ran in the terminal";
    PumpEvents(50);
    for (const std::string& where : {dir, folder + "/", dir + "src/", std::string("./")})
        EXPECT_FALSE(Exists(where + "canary")) << where;
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(UserToolsTest, ADocumentGoesToTheOpenerInTheDocumentsFolder)
{
    std::string pdf = File("Hand buch.pdf", "%PDF-1.4\n");
    ASSERT_NE(OpenView(src), nullptr);
    SetTools({{"Handbuch", "$file", pdf, 0, 0}});
    Command(kib::ID_TOOL_FIRST);
    EXPECT_EQ(Seen(), "opener\n" + dir + "src\n[" + pdf + "]\n");
    EXPECT_TRUE(kibtest::ReadFile(log).empty()) << "no terminal for stop after run 0";
}

TEST_F(UserToolsTest, AProgramThatCannotStartIsReported)
{
    ASSERT_NE(OpenView(src), nullptr);
    SetTools({{"Fehlt", "", dir + "kein Programm", 0, 0}, {"Leer", "", "", 0, 0}});
    Command(kib::ID_TOOL_FIRST);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "<" + dir + "kein Programm> konnte nicht gestartet werden");
    EXPECT_EQ(dialogs.asked[0].caption, "Fehler!");
    Command(kib::ID_TOOL_FIRST + 1);
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1].text, "<Leer> konnte nicht gestartet werden");

    // A terminal that is missing.
    Remember("TERMINAL", dir + "no terminal");
    Remember("PATH", "/nonexistent");
    SetTools({{"Konsole", "", show, 1, 0}});
    Command(kib::ID_TOOL_FIRST);
    ASSERT_EQ(dialogs.asked.size(), 3u);
    EXPECT_NE(dialogs.asked[2].text.find("Es ist kein Terminal vorhanden"), std::string::npos);
}

// --- The dialog -----------------------------------------------------------------

TEST_F(UserToolsTest, DialogShowsTheToolsEditsACopyAndOkSavesAtOnce)
{
    dialogs.realToolDialogs = true;
    SetTools({{"Format", "-i $source", "/usr/bin/fmt", 1, 2}, {"Liste", "-l", "/bin/ls", 0, 1}});
    WhenShown<CToolsDialog>([this](CToolsDialog* dlg) {
        EXPECT_EQ(dlg->GetTitle(), wxString::FromUTF8("Toolmenü konfigurieren"));
        ASSERT_EQ(dlg->List()->GetCount(), 2u);
        EXPECT_EQ(dlg->List()->GetSelection(), 0) << "the first entry is selected";
        EXPECT_EQ(dlg->NameField()->GetValue(), "Format");
        EXPECT_EQ(dlg->ProgramField()->GetValue(), "/usr/bin/fmt");
        EXPECT_EQ(dlg->ArgumentsField()->GetValue(), "-i $source");
        EXPECT_TRUE(dlg->StopBox()->GetValue());
        EXPECT_TRUE(dlg->SaveButton(2)->GetValue());
        EXPECT_TRUE(dlg->NameField()->IsEnabled());
        // Every text of the dialog.
        for (const char* text : {"&Toolmenüeinträge:", "&Neu", "&Löschen...", "Menü&eintrag:",
                                 "Auszuführendes &Programm:", "...", "&Argumente:", ">",
                                 "Nach dem Ausführen an&halten", "&Nein", "A&ktuelle Datei", "Alle &Dateien",
                                 "OK", "Abbrechen"}) {
            bool found = false;
            std::function<void(wxWindow*)> walk = [&](wxWindow* w) {
                if (w->GetLabel() == wxString::FromUTF8(text))
                    found = true;
                for (wxWindow* c : w->GetChildren())
                    walk(c);
            };
            walk(dlg);
            EXPECT_TRUE(found) << text;
        }

        // Typing a name shows in the list at once.
        dlg->NameField()->SetValue("Formatieren");
        EXPECT_EQ(dlg->List()->GetString(0), "Formatieren");
        // Switching stores the fields into the tool it leaves.
        dlg->ArgumentsField()->SetValue("-w $file");
        dlg->SaveButton(0)->SetValue(true);
        dlg->List()->SetSelection(1);
        wxCommandEvent sel(wxEVT_LISTBOX, CToolsDialog::kListId);
        sel.SetInt(1);
        dlg->List()->GetEventHandler()->ProcessEvent(sel);
        EXPECT_EQ(dlg->NameField()->GetValue(), "Liste");
        EXPECT_FALSE(dlg->StopBox()->GetValue());
        EXPECT_TRUE(dlg->SaveButton(1)->GetValue());
        EXPECT_EQ(dlg->Tools()[0].args, "-w $file");
        EXPECT_EQ(dlg->Tools()[0].save, 0);

        // "&Neu", then "..." for its program; the arguments field gets macros at its end.
        Click(dlg, CToolsDialog::kNewId);
        EXPECT_EQ(dlg->List()->GetCount(), 3u);
        EXPECT_EQ(dlg->List()->GetSelection(), 2);
        EXPECT_EQ(dlg->NameField()->GetValue(), "Neuer Eintrag");
        EXPECT_FALSE(dlg->StopBox()->GetValue());
        EXPECT_TRUE(dlg->SaveButton(0)->GetValue());
        dialogs.chooseFileAnswer = "/usr/bin/javadoc";
        Click(dlg, CToolsDialog::kBrowseId);
        EXPECT_EQ(dlg->ProgramField()->GetValue(), "/usr/bin/javadoc");
        ASSERT_EQ(dialogs.chooseFileAsked.size(), 1u);
        EXPECT_EQ(dialogs.chooseFileAsked[0].first, "") << "no filter, no .exe default";
        dlg->ArgumentsField()->SetValue("-d ");
        dlg->ArgumentsField()->SetInsertionPoint(0);
        dlg->AppendMacro(kib::ID_MACRO_DESTPATH);
        dlg->AppendMacro(kib::ID_MACRO_SOURCE);
        EXPECT_EQ(dlg->ArgumentsField()->GetValue(), "-d $destpath$source") << "at the end, not at the caret";
        Click(dlg, wxID_OK);
    });
    Command(kib::ID_TOOLS_CONFIGURE);
    PumpEvents(20);
    const auto& tools = Frame()->Settings().m_tools;
    ASSERT_EQ(tools.size(), 3u);
    EXPECT_EQ(tools[0], (CToolEntry{"Formatieren", "-w $file", "/usr/bin/fmt", 1, 0}));
    EXPECT_EQ(tools[1], (CToolEntry{"Liste", "-l", "/bin/ls", 0, 1}));
    EXPECT_EQ(tools[2], (CToolEntry{"Neuer Eintrag", "-d $destpath$source", "/usr/bin/javadoc", 0, 0}))
        << "OK stores the selected tool's fields";
    EXPECT_EQ(MenuTexts(), (std::vector<std::string>{"Toolmenüeinträge konfigurieren...", "-", "Formatieren", "Liste",
                                                     "Neuer Eintrag", "-"}));
    // Saved at once.
    CParamFile file;
    ASSERT_TRUE(file.Load(Frame()->ParamFileName()));
    std::string value;
    int32_t count = 0;
    ASSERT_TRUE(file.GetInt("KIBPARAMS:TOOLS:COUNT", count, 0));
    EXPECT_EQ(count, 3);
    ASSERT_TRUE(file.GetString("KIBPARAMS:TOOLS:TOOL2:ARGS", value, ""));
    EXPECT_EQ(value, "-d $destpath$source");
}

TEST_F(UserToolsTest, RenameThenCancelLeavesTheMenuAndTheList)
{
    dialogs.realToolDialogs = true;
    SetTools({{"Format", "", "/usr/bin/fmt", 1, 1}});
    const std::vector<std::string> before = MenuTexts();
    const std::string storedBefore = kibtest::ReadFile(Frame()->ParamFileName());
    WhenShown<CToolsDialog>([](CToolsDialog* dlg) {
        dlg->NameField()->SetValue("Umbenannt");
        EXPECT_EQ(dlg->List()->GetString(0), "Umbenannt");
        Click(dlg, CToolsDialog::kNewId);
        Click(dlg, wxID_CANCEL);
    });
    Command(kib::ID_TOOLS_CONFIGURE);
    PumpEvents(20);
    EXPECT_EQ(MenuTexts(), before);
    ASSERT_EQ(Frame()->Settings().m_tools.size(), 1u);
    EXPECT_EQ(Frame()->Settings().m_tools[0].name, "Format");
    EXPECT_EQ(kibtest::ReadFile(Frame()->ParamFileName()), storedBefore) << "nothing saved";
}

TEST_F(UserToolsTest, DeleteAsksAndThenSelectsTheFirstEntry)
{
    dialogs.realToolDialogs = true;
    SetTools({{"Eins", "", "/bin/true", 0, 0}, {"Zwei", "", "/bin/true", 0, 0}, {"Drei", "", "/bin/true", 0, 0}});
    WhenShown<CToolsDialog>([this](CToolsDialog* dlg) {
        dlg->List()->SetSelection(1);
        wxCommandEvent sel(wxEVT_LISTBOX, CToolsDialog::kListId);
        dlg->List()->GetEventHandler()->ProcessEvent(sel);
        dialogs.answers = {wxNO};
        Click(dlg, CToolsDialog::kDeleteId);
        ASSERT_EQ(dialogs.asked.size(), 1u);
        EXPECT_EQ(dialogs.asked[0].text, "Wollen Sie den Eintrag wirklich löschen");
        EXPECT_EQ(dialogs.asked[0].caption, "Tools");
        EXPECT_EQ(dialogs.asked[0].style & (wxYES_NO | wxOK), wxYES_NO);
        EXPECT_EQ(dlg->List()->GetCount(), 3u) << "No keeps it";
        dialogs.answers = {wxYES};
        Click(dlg, CToolsDialog::kDeleteId);
        ASSERT_EQ(dlg->List()->GetCount(), 2u);
        EXPECT_EQ(dlg->List()->GetString(1), "Drei");
        EXPECT_EQ(dlg->List()->GetSelection(), 0);
        EXPECT_EQ(dlg->NameField()->GetValue(), "Eins");
        // The last one gone: the details are disabled and empty.
        dialogs.answers = {wxYES, wxYES};
        Click(dlg, CToolsDialog::kDeleteId);
        Click(dlg, CToolsDialog::kDeleteId);
        EXPECT_EQ(dlg->List()->GetCount(), 0u);
        EXPECT_FALSE(dlg->NameField()->IsEnabled());
        EXPECT_FALSE(dlg->FindWindow(CToolsDialog::kDeleteId)->IsEnabled());
        EXPECT_EQ(dlg->NameField()->GetValue(), "");
        EXPECT_TRUE(dlg->FindWindow(CToolsDialog::kNewId)->IsEnabled());
        Click(dlg, wxID_OK);
    });
    Command(kib::ID_TOOLS_CONFIGURE);
    PumpEvents(20);
    EXPECT_TRUE(Frame()->Settings().m_tools.empty());
    EXPECT_EQ(MenuTexts(), (std::vector<std::string>{"Toolmenüeinträge konfigurieren...", "-"}));
}

TEST_F(UserToolsTest, MacroMenuOpensBesideTheButtonOnScreen)
{
    dialogs.realToolDialogs = true;
    SetTools({{"Javadoc", "-d $destpath ", "/usr/bin/javadoc", 0, 1}});
    std::string chosen;
    WhenShown<CToolsDialog>([&](CToolsDialog* dlg) {
        dlg->Raise();
        PumpEvents(30);
        // While the real popup is open: a picture, then the first entry chosen by key.
        auto* timer = new wxTimer();
        timer->Bind(wxEVT_TIMER, [](wxTimerEvent&) {
            if (const char* out = std::getenv("KIB_SCREENSHOT_DIR"); out && *out)
                std::system((std::string("import -window root '") + out + "/tools-macro-menu.png'").c_str());
            std::system("xdotool key Down Return");
        });
        timer->StartOnce(600);
        dlg->ShowMacroMenu();
        delete timer;
        chosen = dlg->ArgumentsField()->GetValue().utf8_string();
        Click(dlg, wxID_CANCEL);
    });
    Command(kib::ID_TOOLS_CONFIGURE);
    PumpEvents(20);
    EXPECT_EQ(chosen, "-d $destpath $source") << "the first entry of menu 145 went to the end";
}
