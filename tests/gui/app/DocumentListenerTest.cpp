// The document manager's notices: their order on opening, saving under a new
// name, modified toggles and closing, and listeners that leave mid-notice.
#include "ShellTestSupport.h"

#include "app/DocumentListener.h"
#include "app/OpenFilesTree.h"
#include "resources/CommandIds.h"

#include <filesystem>
#include <unistd.h>

using namespace kibtest;
using namespace kib;

namespace {

// Writes one line per notice: what, the title, and how many views the
// document had when this listener heard of it.
class CRecorder : public CDocumentListener {
public:
    std::vector<std::string> log;

    void OnDocumentOpened(CKibDoc& doc) override { Note("opened", doc); }
    void OnDocumentRenamed(CKibDoc& doc) override { Note("renamed", doc); }
    void OnDocumentModifiedChanged(CKibDoc& doc) override
    {
        Note(doc.IsModified() ? "modified" : "unmodified", doc);
    }
    void OnDocumentSaved(CKibDoc& doc) override { Note("saved", doc); }
    void OnDocumentActivated(CKibDoc& doc) override { Note("activated", doc); }
    void OnDocumentClosing(CKibDoc& doc) override { Note("closing", doc); }

    std::vector<std::string> Take() { return std::exchange(log, {}); }

private:
    void Note(const char* what, CKibDoc& doc)
    {
        log.push_back(std::string(what) + " " + doc.GetTitle() + " " + std::to_string(doc.Views().size()));
    }
};

using Log = std::vector<std::string>;

class DocumentListenerTest : public ShellTest {
protected:
    void TearDown() override
    {
        if (app)
            app->Docs().RemoveListener(&recorder);
        ShellTest::TearDown();
    }
    void Listen() { app->Docs().AddListener(&recorder); }

    CRecorder recorder;
};

} // namespace

TEST_F(DocumentListenerTest, OpeningTellsOpenedThenActivatedAndAgainOnlyActivated)
{
    std::string path = File("Kunde.java", "class Kunde {}\r\n");
    ASSERT_TRUE(Start());
    Listen();
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    // The main frame, listening before this recorder, has given it its window.
    EXPECT_EQ(recorder.Take(), (Log{"opened Kunde.java 1", "activated Kunde.java 1"}));
    EXPECT_EQ(Open(path), doc);
    EXPECT_EQ(recorder.Take(), (Log{"activated Kunde.java 1"}));

    CKibDoc* fresh = app->Docs().NewDocument();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(recorder.Take(), (Log{"opened Kib1 1", "activated Kib1 1"}));

    // A file that cannot be opened is not announced.
    dialogs.answers.clear();
    EXPECT_EQ(Open(dir + "Fehlt.java"), nullptr);
    EXPECT_TRUE(recorder.Take().empty());
}

TEST_F(DocumentListenerTest, SaveAsTellsUnmodifiedRenamedSavedAndTheTreeFollows)
{
    ASSERT_TRUE(Start());
    CKibDoc* doc = app->Docs().NewDocument();
    ASSERT_NE(doc, nullptr);
    Listen();
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "class A {}", el, ec, ACT_TYPING);
    EXPECT_EQ(recorder.Take(), (Log{"modified Kib1 1"}));

    std::string path = dir + "A.java";
    dialogs.saveAsPath = path;
    Frame()->RouteCommand(ID_FILE_SAVE_AS);
    Log log = recorder.Take();
    auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
    ASSERT_EQ(log.size(), 3u) << ::testing::PrintToString(log);
    EXPECT_LT(at("unmodified Kib1 1"), at("renamed A.java 1"));
    EXPECT_EQ(log.back(), "saved A.java 1");
    EXPECT_EQ(doc->GetPathName(), path);

    COpenFilesTree* tree = Frame()->OpenFilesTree();
    wxTreeItemId item = tree->FindDocumentItem(doc);
    ASSERT_TRUE(item.IsOk());
    EXPECT_EQ(tree->GetItemText(item).utf8_string(), "A.java");
    EXPECT_EQ(Frame()->ActiveChild()->GetCaption(), "A.java");
}

TEST_F(DocumentListenerTest, ASavedNameIsMadeAbsoluteOnce)
{
    ASSERT_TRUE(Start());
    CKibDoc* doc = app->Docs().NewDocument();
    ASSERT_NE(doc, nullptr);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    bool saved = doc->OnSaveDocument("Relativ.java");
    ASSERT_EQ(chdir(cwd), 0);
    ASSERT_TRUE(saved);
    EXPECT_EQ(doc->GetPathName(), dir + "Relativ.java");
    EXPECT_TRUE(std::filesystem::exists(dir + "Relativ.java"));
    // The open door finds it under the same full name.
    EXPECT_EQ(Open(dir + "./Relativ.java"), doc);
}

TEST_F(DocumentListenerTest, ModifiedIsToldOnlyWhenTheFlagChanges)
{
    std::string path = File("Hallo.java", "class Hallo\r\n{\r\n}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    Listen();
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 1, 1, " ", el, ec, ACT_TYPING);
    doc->Buffer().InsertTextAt(nullptr, 1, 2, " ", el, ec, ACT_TYPING);
    EXPECT_EQ(recorder.Take(), (Log{"modified Hallo.java 1"}));
    // The tree carries the marker without waiting for idle time.
    COpenFilesTree* tree = Frame()->OpenFilesTree();
    EXPECT_EQ(tree->GetItemText(tree->FindDocumentItem(doc)).utf8_string(), "Hallo.java*");
    TextPos caret;
    while (doc->Buffer().UndoStep(caret)) {
    }
    EXPECT_EQ(recorder.Take(), (Log{"unmodified Hallo.java 1"}));
    EXPECT_EQ(tree->GetItemText(tree->FindDocumentItem(doc)).utf8_string(), "Hallo.java");
}

TEST_F(DocumentListenerTest, ClosingIsTheLastNoticeAndComesOnce)
{
    std::string path = File("Ende.java", "class Ende {}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    Frame()->RouteCommand(ID_WINDOW_NEW);
    ASSERT_EQ(doc->Views().size(), 2u);
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING);
    Listen();
    // The main frame, told first, has closed both windows; the document
    // itself is still in the list while the notice goes round.
    struct CCheck : CDocumentListener {
        CDocManager* docs;
        size_t countAtClosing = 0;
        void OnDocumentClosing(CKibDoc&) override { countAtClosing = docs->Documents().size(); }
    } check;
    check.docs = &app->Docs();
    app->Docs().AddListener(&check);
    doc->OnCloseDocument();
    app->Docs().RemoveListener(&check);
    // Views leaving a closing document renumber nothing; its text going
    // says nothing more.
    EXPECT_EQ(recorder.Take(), (Log{"closing Ende.java 0"}));
    EXPECT_EQ(check.countAtClosing, 1u);
    EXPECT_TRUE(app->Docs().Documents().empty());
    EXPECT_EQ(Frame()->Client()->GetPageCount(), 0u);
    EXPECT_FALSE(Frame()->OpenFilesTree()->FindDocumentItem(doc).IsOk());
}

TEST_F(DocumentListenerTest, AListenerMayLeaveOrGoDuringANotice)
{
    ASSERT_TRUE(Start());
    // One removes itself and the recorder behind it, one deletes itself,
    // one adds a new listener: nobody removed is called again, the one
    // added hears from the next notice on.
    struct CLeaver : CDocumentListener {
        CDocManager* docs;
        CDocumentListener* alsoRemove = nullptr;
        int heard = 0;
        void OnDocumentOpened(CKibDoc&) override
        {
            ++heard;
            docs->RemoveListener(this);
            docs->RemoveListener(alsoRemove);
        }
    };
    struct CSuicide : CDocumentListener {
        CDocManager* docs;
        int* heard;
        void OnDocumentOpened(CKibDoc&) override
        {
            ++*heard;
            docs->RemoveListener(this);
            delete this;
        }
    };
    struct CAdder : CDocumentListener {
        CDocManager* docs;
        CDocumentListener* add;
        void OnDocumentOpened(CKibDoc&) override { docs->AddListener(add); }
    };
    CDocManager& docs = app->Docs();
    int suicideHeard = 0;
    CRecorder late;
    CLeaver leaver;
    leaver.docs = &docs;
    leaver.alsoRemove = &recorder;
    auto* suicide = new CSuicide;
    suicide->docs = &docs;
    suicide->heard = &suicideHeard;
    CAdder adder;
    adder.docs = &docs;
    adder.add = &late;
    docs.AddListener(&leaver);
    docs.AddListener(suicide);
    docs.AddListener(&recorder);
    docs.AddListener(&adder);

    CKibDoc* first = docs.NewDocument();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(leaver.heard, 1);
    EXPECT_EQ(suicideHeard, 1);
    EXPECT_TRUE(recorder.Take().empty());
    EXPECT_EQ(late.Take(), (Log{"activated Kib1 1"}));

    CKibDoc* second = docs.NewDocument();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(leaver.heard, 1);
    EXPECT_EQ(suicideHeard, 1);
    EXPECT_TRUE(recorder.Take().empty());
    EXPECT_EQ(late.Take(), (Log{"opened Kib2 1", "activated Kib2 1"}));
    EXPECT_EQ(Frame()->Client()->GetPageCount(), 2u);
    docs.RemoveListener(&adder);
    docs.RemoveListener(&late);
}
