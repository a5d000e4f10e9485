// Files changed by another program while they are open: the question comes
// once per change, "&Ja" reloads, "&Nein" keeps the text, Kib's own saves
// never ask, and closing Kib ends the watcher's thread.
#include "ShellTestSupport.h"

#include "app/FileMonitor.h"
#include "resources/CommandIds.h"
#include "workspace/ReloadQuestionDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace kibtest;
using namespace kib;

namespace {

const char kQuestion[] = "Diese Datei wurde ausserhalb des Editors verändert. Wollen Sie sie neu laden?";
const char kModifiedNote[] =
    "Achtung: Das Dokument enthält ungespeicherte Änderungen. Beim Neuladen gehen sie verloren.";

class FileReloadTest : public ShellTest {
protected:
    // Waits for the next question (or a quiet while when none comes).
    bool AskedWithin(size_t count, int ms = 3000)
    {
        return PumpUntil([&] { return dialogs.reloadAsked.size() >= count; }, ms);
    }
    // Long enough for the watcher to have looked and the report to be posted.
    void Settle() { PumpEvents(400); }

    std::string Text(CKibDoc* doc) { return doc->Buffer().SaveToMemory(-1); }

    // Another program's atomic save: a new file renamed over the old one.
    void RenameOver(const std::string& path, const std::string& bytes)
    {
        std::string temp = path + ".tmp~";
        WriteFile(temp, bytes);
        ASSERT_EQ(rename(temp.c_str(), path.c_str()), 0);
    }
};

TEST_F(FileReloadTest, OutsideWriteAsksAndYesReloadsNoKeeps)
{
    std::string path = File("A.java", "class A {}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->WatchRecord(), 0u);

    // A plain write, answered "&Ja": the text comes from the file, and its
    // line ends (LF now) are detected as when opening.
    dialogs.reloadAnswers.push_back({true});
    WriteFile(path, "class A { int x; }\n");
    ASSERT_TRUE(AskedWithin(1));
    EXPECT_EQ(dialogs.reloadAsked[0], path + "\n\n" + kQuestion);
    EXPECT_FALSE(dialogs.reloadTypeBoxOffered[0]) << "documents have no type flag";
    PumpEvents(20);
    EXPECT_EQ(Text(doc), "class A { int x; }\n");
    EXPECT_EQ(doc->Buffer().LineEndStyle(), EOL_LF);
    EXPECT_FALSE(doc->IsModified());
    Settle();
    EXPECT_EQ(dialogs.reloadAsked.size(), 1u) << "one change, one question";

    // An atomic rename-over, answered "&Nein": the text stays.
    RenameOver(path, "class A { replaced }\n");
    ASSERT_TRUE(AskedWithin(2));
    PumpEvents(20);
    EXPECT_EQ(Text(doc), "class A { int x; }\n");
    Settle();
    EXPECT_EQ(dialogs.reloadAsked.size(), 2u);
}

TEST_F(FileReloadTest, OwnSavesNeverAsk)
{
    for (const char* reopen : {"1", "0"}) {
        SCOPED_TRACE(std::string("REOPENAFTERCHANGE ") + reopen);
        params["KIBPARAMS:EDITOR:REOPENAFTERCHANGE"] = reopen;
        std::string path = File(std::string("S") + reopen + ".java", "class S {}\r\n");
        ASSERT_TRUE(Start());
        CKibDoc* doc = Open(path);
        ASSERT_NE(doc, nullptr);
        for (int i = 0; i < 3; ++i) {
            int el, ec;
            doc->Buffer().InsertTextAt(nullptr, 0, 0, "// x\r\n", el, ec, ACT_TYPING);
            Frame()->RouteCommand(ID_FILE_SAVE);
            ASSERT_FALSE(doc->IsModified());
        }
        Settle();
        EXPECT_TRUE(dialogs.reloadAsked.empty());
        // Still watched after the saves.
        WriteFile(path, "changed\n");
        EXPECT_TRUE(AskedWithin(1));
        Shutdown();
        dialogs.reloadAsked.clear();
    }
}

TEST_F(FileReloadTest, ModifiedDocumentIsNeverReloadedSilently)
{
    std::string path = File("M.java", "one\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);

    // "&Ja" with the first box: later changes reload without a question...
    dialogs.reloadAnswers.push_back({true, true});
    WriteFile(path, "two\r\n");
    ASSERT_TRUE(AskedWithin(1));
    PumpEvents(20);
    EXPECT_EQ(Text(doc), "two\r\n");
    WriteFile(path, "three\r\n");
    ASSERT_TRUE(PumpUntil([&] { return Text(doc) == "three\r\n"; }, 3000));
    EXPECT_EQ(dialogs.reloadAsked.size(), 1u);

    // ...but not over unsaved changes: then the question comes and says so.
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "mine ", el, ec, ACT_TYPING);
    ASSERT_TRUE(doc->IsModified());
    WriteFile(path, "four\r\n");
    ASSERT_TRUE(AskedWithin(2));
    EXPECT_EQ(dialogs.reloadAsked[1], path + "\n\n" + kQuestion + "\n\n" + kModifiedNote);
    PumpEvents(20);
    EXPECT_EQ(Text(doc), "mine three\r\n") << "answered \"Nein\": the edit stays";
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FileReloadTest, DeletionOtherFilesAndSameBytesDoNotAsk)
{
    std::string path = File("D.java", "class D {}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    WriteFile(path, "class D {}\r\n");
    File("Other.java", "class Other {}\r\n");
    Settle();
    ASSERT_EQ(unlink(path.c_str()), 0);
    Settle();
    EXPECT_TRUE(dialogs.reloadAsked.empty());
    EXPECT_EQ(Text(doc), "class D {}\r\n");
}

TEST_F(FileReloadTest, TwoDocumentsInOneFolderShareItsWatch)
{
    std::string a = File("A.java", "a\r\n"), b = File("B.java", "b\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* docA = Open(a);
    CKibDoc* docB = Open(b);
    ASSERT_TRUE(docA && docB);
    CFileWatcher& watcher = CFileMonitor::Instance().Watcher();
    EXPECT_EQ(watcher.WatchedFolders(), std::vector<std::string>{dir});
    docA->OnCloseDocument();
    PumpEvents(20);
    EXPECT_EQ(watcher.WatchedFolders(), std::vector<std::string>{dir});
    dialogs.reloadAnswers.push_back({true});
    WriteFile(b, "b2\r\n");
    ASSERT_TRUE(AskedWithin(1));
    EXPECT_EQ(dialogs.reloadAsked[0], b + "\n\n" + kQuestion);
}

TEST_F(FileReloadTest, ClosingKibEndsTheWorkerAndCancellingKeepsWatching)
{
    std::string path = File("C.java", "c\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CFileWatcher& watcher = CFileMonitor::Instance().Watcher();
    EXPECT_TRUE(watcher.IsRunning());

    // A close cancelled at "Änderungen speichern?" leaves the file watched.
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING);
    dialogs.answers.push_back(wxCANCEL);
    EXPECT_FALSE(CloseFrame());
    EXPECT_TRUE(watcher.IsRunning());
    WriteFile(path, "outside\r\n");
    EXPECT_TRUE(AskedWithin(1));

    dialogs.answers.push_back(wxNO);
    EXPECT_TRUE(CloseFrame());
    EXPECT_FALSE(watcher.IsRunning());
    EXPECT_EQ(watcher.RecordCount(), 0u);
}

TEST_F(FileReloadTest, ChangeWhileTheQuestionIsOpenAsksAgainUnlessReloaded)
{
    std::string path = File("Q.java", "q\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);

    // "&Nein" to the first change: the second, made while the question was
    // open, still has to be asked about.
    dialogs.whileReloadAsked = [&] {
        WriteFile(path, "q2\r\n");
        PumpEvents(400);
    };
    WriteFile(path, "q1\r\n");
    ASSERT_TRUE(AskedWithin(2));
    Settle();
    EXPECT_EQ(dialogs.reloadAsked.size(), 2u);
    EXPECT_EQ(Text(doc), "q\r\n");

    // "&Ja": the reload read the newer bytes, nothing more to ask.
    dialogs.reloadAsked.clear();
    dialogs.reloadAnswers.push_back({true});
    dialogs.whileReloadAsked = [&] {
        WriteFile(path, "q4\r\n");
        PumpEvents(400);
    };
    WriteFile(path, "q3\r\n");
    ASSERT_TRUE(AskedWithin(1));
    Settle();
    EXPECT_EQ(dialogs.reloadAsked.size(), 1u);
    EXPECT_EQ(Text(doc), "q4\r\n");
}

TEST_F(FileReloadTest, FileLeftUnwatchedAtTheSystemLimitIsToldInTheStatusBar)
{
    std::string a = File("A.java", "a\r\n");
    std::string otherDir = dir + "sub/";
    ASSERT_EQ(mkdir(otherDir.c_str(), 0700), 0);
    std::string b = otherDir + "B.java";
    WriteFile(b, "b\r\n");
    ASSERT_TRUE(Start());
    CFileWatcher& watcher = CFileMonitor::Instance().Watcher();
    watcher.SetFolderLimit(1);
    CKibDoc* docA = Open(a);
    CKibDoc* docB = Open(b);
    watcher.SetFolderLimit(0);
    ASSERT_TRUE(docA && docB);
    EXPECT_NE(docA->WatchRecord(), 0u);
    EXPECT_EQ(docB->WatchRecord(), 0u);
    EXPECT_EQ(Frame()->StatusText(CMainFrame::PANE_MESSAGE).utf8_string(),
              b + " wird nicht auf Änderungen durch andere Programme überwacht: die Systemgrenze für "
                  "überwachte Ordner ist erreicht.");
    // The file that is watched still asks.
    WriteFile(a, "a2\r\n");
    EXPECT_TRUE(AskedWithin(1));
}

TEST(ReloadQuestionDialog, TextAndBoxesAndSize)
{
    wxString longPath = "/home/someone/projects/" + wxString('x', 60) + "/Main.java";
    wxString text = longPath + "\n\n" + wxString::FromUTF8(kQuestion);
    {
        CReloadQuestionDlg dialog(nullptr, "Kib", text, false);
        EXPECT_EQ(dialog.GetTitle(), "Kib");
        EXPECT_EQ(dialog.TextControl()->GetId(), CReloadQuestionDlg::kTextId);
        EXPECT_EQ(dialog.TextControl()->GetLabel(), text);
        EXPECT_EQ(dialog.ThisFileBox()->GetLabel().utf8_string(), "&Automatisches Neuladen bei Änderung dieser Datei");
        EXPECT_EQ(dialog.AllOfTypeBox()->GetLabel().utf8_string(), "Automatisches Neuladen aller Dateien diesen &Typs");
        EXPECT_FALSE(dialog.AllOfTypeBox()->IsShown());
        EXPECT_TRUE(dialog.ThisFileBox()->IsShown());
        wxSize extent = CReloadQuestionDlg::TextExtent(*dialog.TextControl(), text);
        int pathWidth = dialog.TextControl()->GetTextExtent(longPath).x;
        EXPECT_GE(extent.x, pathWidth);
        EXPECT_GE(dialog.TextControl()->GetSize().x, extent.x);
        EXPECT_GE(dialog.TextControl()->GetSize().y, 3 * dialog.TextControl()->GetCharHeight());
        EXPECT_GE(dialog.GetClientSize().x, extent.x + 20) << "the long text widens the dialog";
        auto* yes = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
        auto* no = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_CANCEL));
        ASSERT_TRUE(yes && no);
        EXPECT_EQ(yes->GetLabel(), "&Ja");
        EXPECT_EQ(no->GetLabel(), "&Nein");
        // The pair is centred: as much room left of "Ja" as right of "Nein".
        int left = yes->GetPosition().x;
        int right = dialog.GetClientSize().x - (no->GetPosition().x + no->GetSize().x);
        EXPECT_NEAR(left, right, 2);
    }
    {
        CReloadQuestionDlg dialog(nullptr, "Kib", "/a/B.java\n\n" + wxString::FromUTF8(kQuestion), true);
        EXPECT_TRUE(dialog.AllOfTypeBox()->IsShown());
        dialog.SetReloadThisFile(true);
        EXPECT_TRUE(dialog.ReloadThisFile());
        EXPECT_FALSE(dialog.ReloadAllOfType());
    }
}

} // namespace
