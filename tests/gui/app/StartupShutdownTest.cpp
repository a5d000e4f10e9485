// Start-up and shut-down of the whole shell: the reopened files, the
// open-files list written at close, the save question, close all, splash.
#include "ShellTestSupport.h"
#include "WindowManagerScope.h"

#include "app/OpenFilesTree.h"
#include "app/OutputBar.h"
#include "app/WorkspaceBar.h"
#include "app/SplashScreen.h"
#include "resources/CommandIds.h"
#include "settings/Profile.h"

using namespace kibtest;
using namespace kib;

namespace {

const char kReopenMessage[] =
    "Nicht alle Fenster, die bei der letzten Sitzung geöffnet waren, konnten geöffnet werden!\n"
    "Warscheinlich wurden sie gelöscht oder verschoben.";

std::string KibFiles(const std::vector<std::string>& lines)
{
    std::string s = "<KIBFILES>\r\n";
    for (const std::string& l : lines)
        s += l + "\r\n";
    return s + "</KIBFILES>\r\n";
}

} // namespace

TEST_F(ShellTest, ReopensOnlyWhenReopenFilesIsExactlyOne)
{
    std::string a = File("A.java", "class A {}\r\n");
    WriteFile(dir + "kibfiles.xml", KibFiles({"<COUNT>1</COUNT>", "<FILE1>" + a + "</FILE1>"}));
    params["KIBPARAMS:GUI:STARTUP:REOPENFILES"] = "2";
    ASSERT_TRUE(Start());
    EXPECT_TRUE(app->Docs().Documents().empty());
    EXPECT_FALSE(Frame()->UsingDocumentMenu()); // no document: menu 128
    Shutdown();

    params["KIBPARAMS:GUI:STARTUP:REOPENFILES"] = "1";
    WriteFile(dir + "kibfiles.xml", KibFiles({"<COUNT>1</COUNT>", "<FILE1>" + a + "</FILE1>"}));
    ASSERT_TRUE(Start());
    ASSERT_EQ(app->Docs().Documents().size(), 1u);
    EXPECT_EQ(app->Docs().Documents()[0]->GetPathName(), a);
    EXPECT_TRUE(Frame()->UsingDocumentMenu());
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ShellTest, ThreeStoredFilesTwoDeletedGiveOneMessage)
{
    std::string kept = File("Kept.java", "class Kept {}\r\n");
    params["KIBPARAMS:GUI:STARTUP:REOPENFILES"] = "1";
    WriteFile(dir + "kibfiles.xml",
              KibFiles({"<COUNT>5</COUNT>", "<FILE1>" + dir + "Gone1.java</FILE1>", "<FILE2>" + kept + "</FILE2>",
                        "<FILE3></FILE3>", "<FILE5>" + dir + "Gone2.java</FILE5>"}));
    ASSERT_TRUE(Start());
    ASSERT_EQ(app->Docs().Documents().size(), 1u);
    EXPECT_EQ(app->Docs().Documents()[0]->GetPathName(), kept);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, kReopenMessage);
    EXPECT_EQ(dialogs.asked[0].caption, "KIB");
    EXPECT_EQ(dialogs.asked[0].style & (wxYES_NO | wxCANCEL), 0);
}

TEST_F(ShellTest, MissingCountGapsAndCorruptListsOpenNothingSilently)
{
    params["KIBPARAMS:GUI:STARTUP:REOPENFILES"] = "1";
    std::string a = File("A.java", "class A {}\r\n");
    WriteFile(dir + "kibfiles.xml", KibFiles({"<FILE1>" + a + "</FILE1>"}));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(app->Docs().Documents().empty());
    EXPECT_TRUE(dialogs.asked.empty());
    Shutdown();

    std::string junk = "<KIBFILES><COUNT>7<FILE1>\x01\x02\xff</KIB";
    for (int i = 0; i < 2000; ++i)
        junk += static_cast<char>(i * 31);
    WriteFile(dir + "kibfiles.xml", junk);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(app->Docs().Documents().empty());
}

TEST_F(ShellTest, CommandLineFileIsOpenedOnceWhenAlsoStored)
{
    std::string a = File("A.java", "class A {}\r\n");
    std::string b = File("B.java", "class B {}\r\n");
    params["KIBPARAMS:GUI:STARTUP:REOPENFILES"] = "1";
    WriteFile(dir + "kibfiles.xml",
              KibFiles({"<COUNT>2</COUNT>", "<FILE1>" + a + "</FILE1>", "<FILE2>" + b + "</FILE2>"}));
    ASSERT_TRUE(Start({b}));
    EXPECT_EQ(app->Docs().Documents().size(), 2u);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ShellTest, BadCommandLineFilesEndStartUpWithAGermanMessage)
{
    ASSERT_FALSE(Start({dir + "Fehlt.java"}));
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].text.find("Die Datei wurde nicht gefunden."), std::string::npos);
    EXPECT_EQ(Frame(), nullptr);
    Shutdown();
    dialogs.asked.clear();
    ASSERT_FALSE(Start({dir}));
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].text.find("Verzeichnis"), std::string::npos);
}

TEST_F(ShellTest, OpenFilesListIsWrittenBeforeTheSaveQuestion)
{
    std::string saved = File("Saved.java", "class Saved {}\r\n");
    std::string hidden = File("Hidden.java", "class Hidden {}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* hiddenDoc = Open(hidden);
    ASSERT_NE(hiddenDoc, nullptr);
    CKibDoc* unsaved = app->Docs().NewDocument();
    ASSERT_NE(unsaved, nullptr);
    EXPECT_EQ(unsaved->GetTitle(), "Kib1");
    int el, ec;
    unsaved->Buffer().InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING);
    ASSERT_NE(Open(saved), nullptr); // topmost
    auto* hiddenChild = dynamic_cast<CChildFrame*>(hiddenDoc->GetFirstView()->GetParent());
    Frame()->ShowChild(hiddenChild, false);

    dialogs.answers = {wxCANCEL}; // "Änderungen in Kib1 speichern?" -> Abbrechen
    EXPECT_FALSE(CloseFrame());
    ASSERT_NE(Frame(), nullptr) << "cancel keeps the program running";
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "Änderungen in Kib1 speichern?");
    EXPECT_EQ(StoredKibFiles(), KibFiles({"<COUNT>3</COUNT>", "<FILE1>" + saved + "</FILE1>", "<FILE2></FILE2>"}));
}

TEST_F(ShellTest, CloseAllDiscardsChangesWithoutAsking)
{
    std::string a = File("A.java", "class A {}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(a);
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "// neu\r\n", el, ec, ACT_TYPING);
    ASSERT_TRUE(doc->IsModified());
    EXPECT_TRUE(Frame()->RouteCommand(ID_FILE_CLOSE_ALL));
    PumpEvents(20);
    EXPECT_TRUE(app->Docs().Documents().empty());
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(ReadFile(a), "class A {}\r\n");
    EXPECT_FALSE(Frame()->UsingDocumentMenu());
    EXPECT_EQ(Frame()->OpenFilesTree()->GetChildrenCount(Frame()->OpenFilesTree()->Root()), 0u);
}

TEST_F(ShellTest, SettingsAreSavedWhenTheFrameGoes)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame()->Settings().m_autoIndent, 1);
    Frame()->RouteCommand(ID_AUTOINDENT);
    EXPECT_FALSE(Query(Frame(), ID_AUTOINDENT).checked);
    ASSERT_TRUE(CloseFrame());
    CParamFile file;
    ASSERT_TRUE(file.Load(dir + "kibparam.xml"));
    int32_t v = -1;
    file.GetInt("KIBPARAMS:EDITOR:AUTOINDENT", v, -1);
    EXPECT_EQ(v, 0);
    file.GetInt("KIBPARAMS:GUI:STARTUP:SHOWSPLASH", v, -1);
    EXPECT_EQ(v, 0);
}

TEST_F(ShellTest, SplashFollowsTheSettingAndTheShellFlags)
{
    params["KIBPARAMS:GUI:STARTUP:SHOWSPLASH"] = "1";
    ASSERT_TRUE(Start());
    CSplashScreen* splash = CSplashScreen::Current();
    ASSERT_NE(splash, nullptr);
    PumpEvents(50);
    EXPECT_EQ(splash->GetSize(), wxSize(412, 272));
    // A click hides it and goes no further.
    wxMouseEvent click(wxEVT_LEFT_DOWN);
    EXPECT_TRUE(app->PreTranslateMessage(click));
    PumpEvents(20);
    EXPECT_EQ(CSplashScreen::Current(), nullptr);
    wxMouseEvent second(wxEVT_LEFT_DOWN);
    EXPECT_FALSE(app->PreTranslateMessage(second));
    Shutdown();

    ASSERT_TRUE(Start({"/Embedding"}));
    EXPECT_EQ(CSplashScreen::Current(), nullptr);
    Shutdown();
    ASSERT_TRUE(Start({"/dde"}));
    EXPECT_NE(CSplashScreen::Current(), nullptr);
    // It goes by itself after 2000 ms.
    EXPECT_TRUE(PumpUntil([] { return CSplashScreen::Current() == nullptr; }, 4000));
    Shutdown();

    params["KIBPARAMS:GUI:STARTUP:SHOWSPLASH"] = "0";
    ASSERT_TRUE(Start());
    EXPECT_EQ(CSplashScreen::Current(), nullptr);
}

TEST_F(ShellTest, LayoutAndTabLocationSurviveARestart)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->IsBarShown(Frame()->WorkspaceBar()));
    Frame()->RouteCommand(ID_VIEW_WORKSPACE);
    EXPECT_FALSE(Frame()->IsBarShown(Frame()->WorkspaceBar()));
    EXPECT_FALSE(Query(Frame(), ID_VIEW_WORKSPACE).checked);
    Frame()->RouteCommand(ID_MDITAB_TOP);
    EXPECT_EQ(app->MdiTabLocation(), 1);
    ASSERT_TRUE(CloseFrame());
    app.reset();
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Frame()->IsBarShown(Frame()->WorkspaceBar()));
    EXPECT_TRUE(Frame()->IsBarShown(Frame()->OutputBar()));
    EXPECT_EQ(Frame()->DocumentTabLocation(), 1);
    EXPECT_TRUE(Query(Frame(), ID_MDITAB_TOP).checked);
}

TEST_F(ShellTest, MaximisedWindowComesBackMaximisedAndRestoresToItsNormalPlace)
{
    WindowManagerScope wm;
    ASSERT_TRUE(wm.Ready()) << "no window manager maximises windows (scripts/setup.sh installs openbox)";
    ASSERT_TRUE(Start());
    const wxRect normal(120, 90, 700, 500);
    Frame()->SetSize(normal);
    ASSERT_TRUE(PumpUntil([&] { return Frame()->GetRect() == normal; }));
    Frame()->Maximize();
    ASSERT_TRUE(PumpUntil([&] { return Frame()->IsMaximized() && Frame()->GetSize() != normal.GetSize(); }));
    PumpEvents(100);
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(profile::GetProfileInt("Settings", "Maximized", 0), 1);
    EXPECT_EQ(wxRect(profile::GetProfileInt("Settings", "WindowX", 0), profile::GetProfileInt("Settings", "WindowY", 0),
                     profile::GetProfileInt("Settings", "WindowWidth", 0),
                     profile::GetProfileInt("Settings", "WindowHeight", 0)),
              normal)
        << "the place the window restores to, not the screen";

    app.reset();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(PumpUntil([&] { return Frame()->IsMaximized(); }));
    EXPECT_NE(Frame()->GetSize(), normal.GetSize());
    Frame()->Maximize(false);
    EXPECT_TRUE(PumpUntil([&] { return !Frame()->IsMaximized() && Frame()->GetRect() == normal; }));
    EXPECT_EQ(Frame()->GetRect(), normal);
}
