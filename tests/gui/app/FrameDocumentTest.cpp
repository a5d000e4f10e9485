// The main frame's commands, documents and their windows, the bars.
#include "ShellTestSupport.h"

#include "app/EditorPositions.h"

#include "app/GoToLineDialog.h"
#include "app/OpenFilesTree.h"
#include "app/OutputBar.h"
#include "controls/OutputPane.h"
#include "app/WorkspaceBar.h"
#include "resources/Artwork.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"

#include <wx/aui/auibook.h>
#include <wx/dcclient.h>
#include <wx/dnd.h>
#include <wx/uiaction.h>

#include "resources/MenuBuilder.h"
#include "resources/MenuTable.h"

using namespace kibtest;
using namespace kib;

namespace {

CChildFrame* FrameOf(CKibDoc* doc)
{
    return doc && doc->GetFirstView() ? dynamic_cast<CChildFrame*>(doc->GetFirstView()->GetParent()) : nullptr;
}

std::vector<std::string> TreeTexts(COpenFilesTree* tree)
{
    std::vector<std::string> texts;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId it = tree->GetFirstChild(tree->Root(), cookie); it.IsOk();
         it = tree->GetNextChild(tree->Root(), cookie))
        texts.push_back(tree->GetItemText(it).utf8_string());
    return texts;
}

// What the toolkit shows of a menu item: its label and the key wx hands to
// GTK for it.
struct Shown {
    std::string label;
    bool enabled = false;
    int flags = -1, key = -1;
    bool operator==(const Shown&) const = default;

    static Shown Of(wxMenuItem* item)
    {
        Shown s;
        if (!item)
            return s;
        s.label = item->GetItemLabel().utf8_string();
        s.enabled = item->IsEnabled();
        if (std::unique_ptr<wxAcceleratorEntry> accel{item->GetAccel()}) {
            s.flags = accel->GetFlags();
            s.key = accel->GetKeyCode();
        }
        return s;
    }
    friend void PrintTo(const Shown& s, std::ostream* os)
    {
        *os << "\"" << s.label << "\" " << (s.enabled ? "enabled" : "disabled") << " key flags " << s.flags
            << " code " << s.key;
    }
};

} // namespace

TEST_F(ShellTest, JavaCommandsFollowTheToolPaths)
{
    params["KIBPARAMS:JDK:COMPILER:PATH"] = "/usr/bin/javac";
    params["KIBPARAMS:JDK:INTERPRETER:PATH"] = "/usr/bin/java";
    ASSERT_TRUE(Start());
    // Without a document the Java commands have no handler at all.
    EXPECT_FALSE(Query(Frame(), ID_JAVA_COMPILE).enabled);
    EXPECT_FALSE(Query(Frame(), ID_FILE_SAVE_ALL).enabled == false && Frame()->UsingDocumentMenu());
    ASSERT_NE(app->Docs().NewDocument(), nullptr);
    EXPECT_TRUE(Query(Frame(), ID_JAVA_COMPILE).enabled);
    EXPECT_TRUE(Query(Frame(), ID_JAVA_RUN).enabled);
    EXPECT_TRUE(Query(Frame(), ID_JAVA_RUN_ARGS).enabled);
    EXPECT_FALSE(Query(Frame(), ID_JAVA_APPLETVIEWER).enabled);
    Frame()->Settings().m_compilerPath.clear();
    EXPECT_FALSE(Query(Frame(), ID_JAVA_COMPILE).enabled);
    EXPECT_FALSE(Query(Frame(), ID_JAVA_RUN_ARGS).enabled);
    EXPECT_TRUE(Query(Frame(), ID_JAVA_COMPILE_RUN).enabled);
    EXPECT_TRUE(Query(Frame(), ID_JAVA_RUN).enabled);
    Frame()->Settings().m_compilerPath = "/usr/bin/javac";
    Frame()->Settings().m_interpreterPath.clear();
    EXPECT_FALSE(Query(Frame(), ID_JAVA_RUN).enabled);
    EXPECT_TRUE(Query(Frame(), ID_JAVA_COMPILE).enabled);
    // The JDK documentation needs its path; commands nobody handles are off.
    EXPECT_FALSE(Query(Frame(), ID_HELP_JDKDOCS).enabled);
    Frame()->Settings().m_docuPath = "/usr/share/doc/openjdk-17-jre-headless";
    EXPECT_TRUE(Query(Frame(), ID_HELP_JDKDOCS).enabled);
    EXPECT_FALSE(Query(Frame(), ID_VIEW_USER_TOOLBAR1).enabled);
    EXPECT_FALSE(Query(Frame(), 40000).enabled);
}

TEST_F(ShellTest, MenuBarFollowsTheDocuments)
{
    ASSERT_TRUE(Start());
    wxMenuBar* bar = Frame()->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetMenuCount(), 5u);
    EXPECT_EQ(bar->FindItem(ToWxId(ID_FILE_SAVE_ALL)), nullptr);
    EXPECT_EQ(bar->FindItem(ToWxId(ID_JAVA_COMPILE)), nullptr);
    EXPECT_EQ(bar->FindItem(ToWxId(ID_WINDOW_CASCADE)), nullptr);
    // The document menu bar, made when the first document opens, lists the
    // recent files as the other one does.
    app->Docs().RecentFiles().Add("/tmp/Zuletzt.java");
    CKibDoc* first = app->Docs().NewDocument();
    CKibDoc* second = app->Docs().NewDocument();
    EXPECT_EQ(first->GetTitle(), "Kib1");
    EXPECT_EQ(second->GetTitle(), "Kib2");
    bar = Frame()->GetMenuBar();
    EXPECT_NE(bar->FindItem(ToWxId(ID_FILE_SAVE_ALL)), nullptr);
    EXPECT_EQ(bar->FindItem(ToWxId(ID_JAVA_COMPILE_RUN))->GetItemLabel().utf8_string(),
              "Compilieren und anschließend Starten\tCtrl+F5");
    // The shown key of the comment command is the one the key table binds.
    EXPECT_EQ(bar->FindItem(ToWxId(ID_COMMENT_SELECTION))->GetItemLabel().utf8_string(),
              "Selektion auskommentieren\tCtrl+Alt+O");
    EXPECT_EQ(bar->GetMenuLabelText(2).utf8_string(), "Quellcode");
    ASSERT_NE(bar->FindItem(ToWxId(ID_FILE_MRU_FILE1)), nullptr);
    EXPECT_NE(bar->FindItem(ToWxId(ID_FILE_MRU_FILE1))->GetItemLabel().utf8_string().find("Zuletzt.java"),
              std::string::npos);
    app->Docs().CloseAllDocuments();
    PumpEvents(20);
    EXPECT_FALSE(Frame()->UsingDocumentMenu());
    EXPECT_EQ(app->Docs().NewDocument()->GetTitle(), "Kib3");
}

TEST_F(ShellTest, CaptionMarkerFollowsEditAndUndo)
{
    std::string path = File("Hallo.java", "class Hallo\r\n{\r\n}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CChildFrame* child = FrameOf(doc);
    PumpEvents(30);
    EXPECT_EQ(child->GetCaption(), "Hallo.java");
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 1, 1, " ", el, ec, ACT_TYPING);
    PumpUntil([&] { return child->GetCaption() == "Hallo.java*"; }, 2000);
    EXPECT_EQ(child->GetCaption(), "Hallo.java*");
    EXPECT_EQ(TreeTexts(Frame()->OpenFilesTree()), (std::vector<std::string>{"Hallo.java*"}));
    TextPos caret;
    ASSERT_TRUE(doc->Buffer().UndoStep(caret));
    PumpUntil([&] { return child->GetCaption() == "Hallo.java"; }, 2000);
    EXPECT_EQ(child->GetCaption(), "Hallo.java");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(TreeTexts(Frame()->OpenFilesTree()), (std::vector<std::string>{"Hallo.java"}));

    // A second window on the document: both captions numbered, both marked.
    Frame()->RouteCommand(ID_WINDOW_NEW);
    ASSERT_EQ(doc->Views().size(), 2u);
    auto* second = dynamic_cast<CChildFrame*>(doc->Views()[1]->GetParent());
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING);
    PumpUntil([&] { return second->GetCaption() == "Hallo.java:2*"; }, 2000);
    EXPECT_EQ(child->GetCaption(), "Hallo.java:1*");
    EXPECT_EQ(second->GetCaption(), "Hallo.java:2*");
    EXPECT_EQ(doc->Views()[1]->GetTabWidth(), Frame()->Settings().m_tabWidth);
}

TEST_F(ShellTest, UndoAndRedoItemsKeepTheirKeysInTheMenuBarAndTheContextMenu)
{
    std::string path = File("Hallo.java", "class Hallo\r\n{\r\n}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CKibView* view = doc->GetFirstView();
    PumpEvents(30);

    auto inMenuBar = [&](int command) {
        Frame()->UpdateWindowUI();
        return Shown::Of(Frame()->GetMenuBar()->FindItem(ToWxId(command)));
    };
    // The real context menu: read once it is open, then closed with Escape.
    std::map<int, Shown> popup;
    view->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
        e.Skip();
        wxMenu* menu = e.GetMenu();
        if (!menu || !menu->FindItem(ToWxId(ID_EDIT_UNDO)))
            return;
        view->CallAfter([&popup, menu] {
            for (int command : {ID_EDIT_UNDO, ID_EDIT_REDO})
                popup[command] = Shown::Of(menu->FindItem(ToWxId(command)));
            wxUIActionSimulator().Char(WXK_ESCAPE);
        });
    });
    auto inContextMenu = [&](int command) {
        popup.clear();
        wxContextMenuEvent e(wxEVT_CONTEXT_MENU, view->GetId(), view->ClientToScreen(wxPoint(60, 20)));
        e.SetEventObject(view);
        view->GetEventHandler()->ProcessEvent(e);
        PumpEvents(30);
        return popup[command];
    };

    const Shown undoNone{"&Rückgängig\tCtrl+Z", false, wxACCEL_CTRL, 'Z'};
    const Shown redoNone{"&Wiederholen\tCtrl+Y", false, wxACCEL_CTRL, 'Y'};
    EXPECT_EQ(inMenuBar(ID_EDIT_UNDO), undoNone);
    EXPECT_EQ(inMenuBar(ID_EDIT_REDO), redoNone);
    EXPECT_EQ(inContextMenu(ID_EDIT_UNDO), undoNone);
    EXPECT_EQ(popup[ID_EDIT_REDO], redoNone);

    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 1, 1, "x", el, ec, ACT_TYPING);
    const Shown undoTyping{"&Rückgängig: Eingabe\tCtrl+Z", true, wxACCEL_CTRL, 'Z'};
    EXPECT_EQ(inMenuBar(ID_EDIT_UNDO), undoTyping);
    EXPECT_EQ(inContextMenu(ID_EDIT_UNDO), undoTyping);

    ASSERT_TRUE(Frame()->RouteCommand(ID_EDIT_UNDO));
    const Shown redoTyping{"&Wiederholen: Eingabe\tCtrl+Y", true, wxACCEL_CTRL, 'Y'};
    EXPECT_EQ(inMenuBar(ID_EDIT_REDO), redoTyping);
    EXPECT_EQ(inMenuBar(ID_EDIT_UNDO), undoNone);
    EXPECT_EQ(inContextMenu(ID_EDIT_REDO), redoTyping);
}

TEST_F(ShellTest, StatusBarShowsLineAndColumnWithTabs)
{
    std::string path = File("Tabs.java", "class T\r\n\t\tint x;\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    CKibView* view = doc->GetFirstView();
    view->PutCaret(TextPos{2, 1});
    Frame()->UpdateStatusPanes();
    EXPECT_EQ(Frame()->StatusText(CMainFrame::PANE_LINE).utf8_string(), "Zeile: 2");
    EXPECT_EQ(Frame()->StatusText(CMainFrame::PANE_COLUMN).utf8_string(), "Spalte: 9");
    EXPECT_EQ(Frame()->StatusText(CMainFrame::PANE_MESSAGE).utf8_string(), "Bereit");
    // Go to line 2, column 0: the start of the tabbed line.
    view->GoToPosition(2, 0);
    EXPECT_EQ(view->GetCaretPos().x, 0);
    EXPECT_EQ(view->GetCaretPos().y, 1);
    dialogs.goToLine = 1;
    Frame()->RouteCommand(ID_GOTO_LINE);
    EXPECT_EQ(view->GetCaretPos().y, 0);
    app->Docs().CloseAllDocuments();
    Frame()->UpdateStatusPanes();
    EXPECT_EQ(Frame()->StatusText(CMainFrame::PANE_LINE).utf8_string(), "");
}

// A typed line's repaint lies under the editor: the frame's manager leaves
// its captions and sashes alone then, and draws them for a repaint of the
// whole frame.
TEST_F(ShellTest, FrameDrawsItsBarPartsOnlyWhereNoChildCoversThem)
{
    std::string path = File("Paint.java", "class P\r\n{\r\n}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    CKibView* view = doc->GetFirstView();
    PumpEvents(20);
    wxAuiManager* manager = wxAuiManager::GetManager(Frame());
    ASSERT_NE(manager, nullptr);
    std::vector<bool> hidden;
    auto record = [&](wxPaintEvent& e) {
        hidden.push_back(UpdateHiddenByChildren(*Frame()));
        e.Skip();
    };
    manager->Bind(wxEVT_PAINT, record);
    Frame()->Update();
    hidden.clear();
    view->RefreshRect(wxRect(0, 0, view->GetClientSize().x, view->GetLineHeight()), false);
    Frame()->Update();
    ASSERT_FALSE(hidden.empty());
    for (bool h : hidden)
        EXPECT_TRUE(h);
    hidden.clear();
    Frame()->Refresh();
    Frame()->Update();
    ASSERT_FALSE(hidden.empty());
    EXPECT_FALSE(hidden.front());
    manager->Unbind(wxEVT_PAINT, record);
}

TEST_F(ShellTest, Utf8ColumnsInTheStatusBarAndARefusedCharacterIsNamed)
{
    std::string utf8 = File("Gruss.java", "// Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n");
    std::string western = File("West.java", "// Gr\xFC\xDF" "e\r\n");
    ASSERT_TRUE(Start());
    CKibView* view = Open(utf8)->GetFirstView();
    view->PutCaret(TextPos{static_cast<int>(std::string("// Grüße ").size()), 0});
    Frame()->UpdateStatusPanes();
    EXPECT_EQ(Frame()->StatusText(CMainFrame::PANE_COLUMN).utf8_string(), "Spalte: 10");
    // Typing into the Windows-1252 file: the umlaut goes in as its byte, a
    // Cyrillic letter is refused with a message that names it.
    CKibView* west = Open(western)->GetFirstView();
    west->PutCaret(TextPos{0, 1});
    for (wxChar c : {wxChar(0xE4), wxChar(0x416)}) {
        wxKeyEvent ch(wxEVT_CHAR);
        ch.SetEventObject(west);
        ch.m_uniChar = c;
        ch.m_keyCode = WXK_NONE;
        west->GetEventHandler()->ProcessEvent(ch);
    }
    EXPECT_EQ(west->GetDocument()->Buffer().LineText(1), "\xE4");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "Das Zeichen „Ж“ (U+0416) gibt es in der Kodierung Windows-1252 dieser Datei "
                                     "nicht; es wurde nicht eingefügt.");
    EXPECT_EQ(dialogs.asked[0].caption, "KIB");
}

TEST_F(ShellTest, StatusPanesHoldASevenDigitLineNumberAndTheLargestThereCanBe)
{
    std::string path = File("Long.java", std::string(2692250, '\n') + "x");
    ASSERT_TRUE(Start());
    CKibView* view = Open(path)->GetFirstView();
    view->PutCaret(TextPos{1, 2692250});
    Frame()->UpdateStatusPanes();
    wxStatusBar* bar = Frame()->GetStatusBar();
    const wxString line = Frame()->StatusText(CMainFrame::PANE_LINE);
    EXPECT_EQ(line.utf8_string(), "Zeile: 2692251");
    wxClientDC dc(bar);
    dc.SetFont(bar->GetFont());
    wxRect lineRect, columnRect;
    ASSERT_TRUE(bar->GetFieldRect(CMainFrame::PANE_LINE, lineRect));
    ASSERT_TRUE(bar->GetFieldRect(CMainFrame::PANE_COLUMN, columnRect));
    EXPECT_GT(lineRect.width, dc.GetTextExtent(line).x);
    EXPECT_GT(lineRect.width, dc.GetTextExtent(wxString::Format("Zeile: %d", StatusLineMaximum())).x);
    EXPECT_GT(columnRect.width, dc.GetTextExtent(wxString::Format("Spalte: %d", StatusColumnMaximum())).x);
    // A column past what an int holds stops at the largest one.
    EXPECT_EQ(StatusColumn(std::string(8, '\t'), 8, 0x10000000), StatusColumnMaximum());
}

TEST_F(ShellTest, FullScreenKeepsBarsTheSettingsKeepAndRestoresTheRest)
{
    params["KIBPARAMS:GUI:FULLSCREEN:SHOWOUTPUT"] = "1";
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    f->RouteCommand(ID_VIEW_FULLSCREEN); // no document: nothing happens
    EXPECT_FALSE(f->IsFullScreenMode());
    app->Docs().NewDocument();
    f->ShowBar(f->OutputBar(), false);
    f->RouteCommand(ID_VIEW_FULLSCREEN);
    ASSERT_TRUE(f->IsFullScreenMode());
    EXPECT_FALSE(f->IsBarShown(f->StandardToolBar()));
    EXPECT_FALSE(f->IsBarShown(f->WorkspaceBar()));
    EXPECT_FALSE(f->IsBarShown(f->GetStatusBar()));
    EXPECT_FALSE(f->IsBarShown(f->OutputBar())); // SHOWOUTPUT leaves it as it was: hidden
    ASSERT_NE(f->FullScreenToolBar(), nullptr);
    // Escape leaves full screen (and goes on).
    wxKeyEvent esc(wxEVT_CHAR_HOOK);
    esc.m_keyCode = WXK_ESCAPE;
    f->PreTranslateMessage(esc);
    EXPECT_FALSE(f->IsFullScreenMode());
    EXPECT_TRUE(f->IsBarShown(f->StandardToolBar()));
    EXPECT_TRUE(f->IsBarShown(f->WorkspaceBar()));
    EXPECT_TRUE(f->IsBarShown(f->GetStatusBar()));
    EXPECT_FALSE(f->IsBarShown(f->OutputBar()));
    EXPECT_EQ(f->FullScreenToolBar(), nullptr);

    // Full screen, close the last document, Escape: bars come back.
    f->ShowBar(f->OutputBar(), true);
    f->RouteCommand(ID_VIEW_FULLSCREEN);
    ASSERT_TRUE(f->IsFullScreenMode());
    app->Docs().CloseAllDocuments();
    f->PreTranslateMessage(esc);
    EXPECT_FALSE(f->IsFullScreenMode());
    EXPECT_TRUE(f->IsBarShown(f->StandardToolBar()));
    EXPECT_TRUE(f->IsBarShown(f->OutputBar()));
}

TEST_F(ShellTest, OpenFileViewComparesPathsExactly)
{
    std::string path = File("Kunde.java", "class Kunde {}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    Frame()->DocumentOpenedEvent().Reset();
    EXPECT_EQ(Frame()->OpenFileView(path), doc->GetFirstView());
    EXPECT_TRUE(Frame()->DocumentOpenedEvent().IsSet());
    Frame()->DocumentOpenedEvent().Reset();
    EXPECT_EQ(Frame()->OpenFileView(dir + "KUNDE.java"), nullptr);
    EXPECT_FALSE(Frame()->DocumentOpenedEvent().Wait(10));
    EXPECT_EQ(app->Docs().Documents().size(), 1u);
    // A file not open yet is opened, and its opening signals the event.
    std::string other = File("Other.java", "class Other {}\r\n");
    CKibView* view = Frame()->OpenFileView(other);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->GetPathName(), other);
    EXPECT_TRUE(Frame()->DocumentOpenedEvent().IsSet());
}

TEST_F(ShellTest, TabMenuClosesTheTabsWindowAndMovesTheTabs)
{
    ASSERT_TRUE(Start());
    CKibDoc* a = app->Docs().NewDocument();
    CKibDoc* b = app->Docs().NewDocument(); // active
    Frame()->SetTabWindow(nullptr);
    EXPECT_FALSE(Query(Frame(), ID_MDITAB_CLOSE).enabled);
    Frame()->SetTabWindow(FrameOf(a));
    EXPECT_TRUE(Query(Frame(), ID_MDITAB_CLOSE).enabled);
    EXPECT_TRUE(Frame()->RouteCommand(ID_MDITAB_CLOSE));
    PumpUntil([&] { return app->Docs().Documents().size() == 1; }, 2000);
    ASSERT_EQ(app->Docs().Documents().size(), 1u);
    EXPECT_EQ(app->Docs().Documents()[0], b);

    EXPECT_TRUE(Query(Frame(), ID_MDITAB_BOTTOM).checked);
    Frame()->RouteCommand(ID_MDITAB_TOP);
    EXPECT_TRUE(Query(Frame(), ID_MDITAB_TOP).checked);
    EXPECT_TRUE(Frame()->Client()->HasFlag(wxAUI_NB_TOP));
    // Tabs switched off in the options: both entries are disabled.
    Frame()->EnableDocumentTabs(false, 1);
    EXPECT_FALSE(Query(Frame(), ID_MDITAB_TOP).enabled);
    EXPECT_FALSE(Query(Frame(), ID_MDITAB_BOTTOM).enabled);
}

TEST_F(ShellTest, OpenFilesTreeSortsMarksAndActivates)
{
    std::string b = File("b.java", "class b {}\r\n");
    std::string a = File("A.java", "class A {}\r\n");
    std::string c = File("c.txt", "text\r\n");
    ASSERT_TRUE(Start());
    dialogs.openPaths = {b, a, c};
    Frame()->RouteCommand(ID_FILE_OPEN); // one dialog, several files
    EXPECT_NE(dialogs.openFilter.find("*.java;*.jav"), std::string::npos);
    ASSERT_EQ(app->Docs().Documents().size(), 3u);
    COpenFilesTree* tree = Frame()->OpenFilesTree();
    EXPECT_EQ(TreeTexts(tree), (std::vector<std::string>{"A.java", "b.java", "c.txt"}));
    wxTreeItemIdValue cookie;
    wxTreeItemId first = tree->GetFirstChild(tree->Root(), cookie);
    EXPECT_EQ(tree->GetItemImage(first), kib::kImageJava);
    wxTreeItemId last = tree->GetLastChild(tree->Root());
    EXPECT_EQ(tree->GetItemImage(last), kib::kImageFile);
    EXPECT_TRUE(tree->IsBold(tree->Root()));
    EXPECT_EQ(tree->GetItemText(tree->Root()).utf8_string(), "Geöffnete Dateien");

    // A click on b.java brings its window to the front.
    CKibDoc* docB = app->Docs().FindDocument(b);
    tree->SelectItem(tree->FindDocumentItem(docB));
    PumpEvents(20);
    EXPECT_EQ(Frame()->ActiveChild(), FrameOf(docB));
    wxRect rect;
    ASSERT_TRUE(tree->GetBoundingRect(tree->FindDocumentItem(docB), rect, true));
    EXPECT_EQ(tree->TooltipAt(rect.GetTopLeft() + wxPoint(3, 3)).utf8_string(), b);
    EXPECT_EQ(tree->TooltipAt(wxPoint(1, 1)), wxString()); // the root has none

    // A new document is listed as "Kib1", and under its new name after a save.
    CKibDoc* fresh = app->Docs().NewDocument();
    EXPECT_EQ(TreeTexts(tree)[3], "Kib1");
    dialogs.saveAsPath = dir + "0First.java";
    Frame()->RouteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(fresh->GetPathName(), dir + "0First.java");
    EXPECT_EQ(TreeTexts(tree)[0], "0First.java");
}

TEST_F(ShellTest, FailedSaveKeepsTheMarkerAndTellsTheUser)
{
    ASSERT_TRUE(Start());
    CKibDoc* doc = app->Docs().NewDocument();
    int el, ec;
    doc->Buffer().InsertTextAt(nullptr, 0, 0, "class X {}", el, ec, ACT_TYPING);
    dialogs.saveAsPath = "/proc/kib-cannot-write/X.java"; // not writable, not even for root
    Frame()->RouteCommand(ID_FILE_SAVE);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].text.find("konnte nicht gespeichert werden"), std::string::npos);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), "");
    PumpUntil([&] { return FrameOf(doc)->GetCaption() == "Kib1*"; }, 2000);
    EXPECT_EQ(FrameOf(doc)->GetCaption(), "Kib1*");
    // Closing asks again; "Ja" and another failing save keep it open.
    dialogs.asked.clear();
    dialogs.answers = {wxYES, wxOK};
    Frame()->RouteCommand(ID_FILE_CLOSE);
    EXPECT_EQ(app->Docs().Documents().size(), 1u);
    ASSERT_GE(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].text, "Änderungen in Kib1 speichern?");
}

TEST_F(ShellTest, SaveAllRewritesSavedFilesAndAsksForNewOnes)
{
    std::string path = File("S.java", "class S {}\r\n");
    ASSERT_TRUE(Start());
    Open(path);
    CKibDoc* fresh = app->Docs().NewDocument();
    int el, ec;
    fresh->Buffer().InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING);
    WriteFile(path, "changed outside\r\n");
    dialogs.answers = {wxNO};
    Frame()->RouteCommand(ID_FILE_SAVE_ALL);
    EXPECT_EQ(ReadFile(path), "class S {}\r\n"); // written although unchanged
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "Änderungen in Kib1 speichern?");
}

TEST_F(ShellTest, BadFilesGetMessagesOrOpen)
{
    ASSERT_TRUE(Start());
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>((i * 131) & 0xff);
    std::string bin = File("data.bin", binary);
    CKibDoc* doc = Open(bin);
    ASSERT_NE(doc, nullptr) << "bytes are bytes: a binary file opens";
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(doc->Buffer().SaveToMemory(-1).size() > 0, true);

    EXPECT_EQ(Open(dir), nullptr);
    EXPECT_EQ(Open("/dev/null"), nullptr);
    EXPECT_EQ(Open(dir + "nope.java"), nullptr);
    ASSERT_EQ(dialogs.asked.size(), 3u);
    EXPECT_NE(dialogs.asked[0].text.find("Verzeichnis"), std::string::npos);
    EXPECT_NE(dialogs.asked[1].text.find("keine normale Datei"), std::string::npos);
    EXPECT_NE(dialogs.asked[2].text.find("nicht gefunden"), std::string::npos);
    EXPECT_EQ(app->Docs().Documents().size(), 1u);
    EXPECT_EQ(TreeTexts(Frame()->OpenFilesTree()).size(), 1u);
}

TEST_F(ShellTest, LargeFileOpens)
{
    // 200 MB of short lines.
    std::string path = dir + "big.java";
    {
        std::ofstream out(path, std::ios::binary);
        std::string line = "        int wert = 12345; // eine Zeile mit etwas Text darin\r\n";
        std::string block;
        while (block.size() < (1u << 20))
            block += line;
        for (int i = 0; i < 200; ++i)
            out << block;
    }
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_GT(doc->Buffer().LineCount(), 3000000);
    EXPECT_TRUE(dialogs.asked.empty());
    app->Docs().CloseAllDocuments();
    unlink(path.c_str());
}

TEST_F(ShellTest, OutputPanesAppendAtTheCaret)
{
    ASSERT_TRUE(Start());
    COutputBar* bar = Frame()->OutputBar();
    auto* tabs = bar->GetTabWindow();
    ASSERT_EQ(tabs->GetPageCount(), 4u);
    EXPECT_EQ(tabs->GetPageText(0).utf8_string(), "Compilerausgaben");
    EXPECT_EQ(tabs->GetPageText(1).utf8_string(), "Ausgaben");
    EXPECT_EQ(tabs->GetPageText(2).utf8_string(), "Suchergebnisse 1");
    EXPECT_EQ(tabs->GetPageText(3).utf8_string(), "Suchergebnisse 2");
    EXPECT_EQ(bar->GetPane(COutputBar::PANE_OUTPUT)->GetId(), COutputBar::kOutputPaneId);
    COutputPane* pane = bar->GetPane(COutputBar::PANE_COMPILER);
    pane->ReplaceSel("Compile Hallo.java....\r\n");
    pane->ReplaceSel("Hallo.java:3: error\r\n");
    pane->ReplaceSel("Compilierung beendet");
    EXPECT_EQ(pane->GetText(), "Compile Hallo.java....\r\nHallo.java:3: error\r\nCompilierung beendet");
    EXPECT_EQ(pane->GetLineCount(), 3);
    // A click into the middle moves where the next output goes.
    pane->SetSelection(COutputPane::Pos{1, 5}, COutputPane::Pos{1, 5});
    pane->ReplaceSel("XY");
    EXPECT_EQ(pane->GetLineText(1), "HalloXY.java:3: error");
    pane->SelectLine(0);
    pane->ReplaceSel("");
    EXPECT_EQ(pane->GetLineText(0), "");
    pane->Clear();
    EXPECT_EQ(pane->GetText(), "");
    EXPECT_EQ(pane->GetTextLength(), 0u);
    // A new output font reaches all four panes.
    CLogFont font = Frame()->Settings().m_outputFont;
    font.SetPointSize(14, 96);
    bar->SetOutputFont(font);
    for (int p = 0; p < COutputBar::PANE_COUNT; ++p)
        EXPECT_EQ(bar->GetPane(static_cast<COutputBar::Pane>(p))->GetOutputFont(), bar->GetOutputFont());
}

TEST_F(ShellTest, HelpAndConsoleGoThroughTheShell)
{
    ASSERT_TRUE(Start());
    Frame()->RouteCommand(ID_HELP_FINDER);
    Frame()->RouteCommand(ID_HELP_CONTRIBUTE);
    Frame()->RouteCommand(ID_HELP_JDKDOCS); // empty path: nothing
    ASSERT_EQ(shellOpened.size(), 2u);
    EXPECT_EQ(shellOpened[0], "open:" + dir + "dokumentation.pdf");
    EXPECT_EQ(shellOpened[1], "open:" + dir + "unterstuetzung.html");
    Frame()->RouteCommand(ID_APP_ABOUT);
    EXPECT_EQ(dialogs.aboutShown, 1);
    Frame()->RouteCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(dialogs.printerSetupShown, 1);
}

TEST_F(ShellTest, DroppedFilesOpenAsDocuments)
{
    std::string a = File("A.java", "class A {}\r\n");
    std::string b = File("B.java", "class B {}\r\n");
    ASSERT_TRUE(Start());
    auto* target = dynamic_cast<wxFileDropTarget*>(Frame()->GetDropTarget());
    ASSERT_NE(target, nullptr);
    wxArrayString files;
    files.Add(wxString::FromUTF8(a));
    files.Add(wxString::FromUTF8(b));
    EXPECT_TRUE(target->OnDropFiles(10, 10, files));
    EXPECT_EQ(app->Docs().Documents().size(), 2u);
    EXPECT_NE(dynamic_cast<wxFileDropTarget*>(Frame()->Client()->GetDropTarget()), nullptr);
}

TEST_F(ShellTest, ChangedSettingsReachTheVisibleViews)
{
    ASSERT_TRUE(Start());
    CKibDoc* a = app->Docs().NewDocument();
    CKibDoc* b = app->Docs().NewDocument();
    Frame()->Settings().m_tabWidth = 8;
    Frame()->Settings().m_showLineNumbers = 0;
    Frame()->ApplyOptionsToViews();
    for (CKibDoc* doc : {a, b}) {
        EXPECT_EQ(doc->GetFirstView()->GetTabWidth(), 8);
        EXPECT_FALSE(doc->GetFirstView()->GetLineNumbers());
    }
    CParamFile file;
    ASSERT_TRUE(file.Load(dir + "kibparam.xml")); // saved with the change
    int32_t tab = 0;
    file.GetInt("KIBPARAMS:EDITOR:TABWIDTH", tab, 0);
    EXPECT_EQ(tab, 8);
    // Automatic indentation reaches every visible window's view.
    Frame()->RouteCommand(ID_AUTOINDENT);
    EXPECT_FALSE(a->GetFirstView()->GetAutoIndentSetting());
    EXPECT_FALSE(b->GetFirstView()->GetAutoIndentSetting());
}

TEST_F(ShellTest, PopupsGetTheTextBlocksAndTheToolbarList)
{
    ASSERT_TRUE(Start());
    std::unique_ptr<wxMenu> editor(BuildMenu(MenuResource(IDR_EDITOR_POPUP)));
    Frame()->PreparePopupMenu(editor.get());
    wxMenuItem* block1 = editor->FindItem(ToWxId(ID_TEXTBLOCK1));
    ASSERT_NE(block1, nullptr);
    EXPECT_EQ(block1->GetItemLabel().utf8_string(), "if-Anweisung\tCtrl+Shift+F1");
    wxMenuItem* block12 = editor->FindItem(ToWxId(ID_TEXTBLOCK12));
    ASSERT_NE(block12, nullptr);
    EXPECT_EQ(block12->GetItemLabel().utf8_string(), "class ohne main\tCtrl+Shift+F12");
    // Preparing twice does not add the blocks twice.
    Frame()->PreparePopupMenu(editor.get());
    wxMenu* insert = nullptr;
    editor->FindItem(ToWxId(ID_INSERT_USERNAME), &insert);
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->GetMenuItemCount(), 3u + 12u);

    std::unique_ptr<wxMenu> toolbars(BuildMenu(MenuResource(IDR_TOOLBARS_POPUP)));
    EXPECT_NE(toolbars->FindItem(ToWxId(ID_VIEW_OUTPUT)), nullptr);
    EXPECT_TRUE(Query(Frame(), ID_VIEW_OUTPUT).checked);
    Frame()->RouteCommand(ID_VIEW_OUTPUT);
    EXPECT_FALSE(Query(Frame(), ID_VIEW_OUTPUT).checked);
}

TEST_F(ShellTest, RecentFilesReopenAndForgetMissingOnes)
{
    std::string a = File("A.java", "class A {}\r\n");
    std::string b = File("B.java", "class B {}\r\n");
    ASSERT_TRUE(Start());
    Open(a);
    Open(b);
    app->Docs().CloseAllDocuments();
    auto& recent = app->Docs().RecentFiles();
    ASSERT_EQ(recent.Entries(), (std::vector<std::string>{b, a}));
    EXPECT_TRUE(Frame()->RouteCommand(ID_FILE_MRU_FILE1 + 1));
    ASSERT_EQ(app->Docs().Documents().size(), 1u);
    EXPECT_EQ(app->Docs().Documents()[0]->GetPathName(), a);
    unlink(b.c_str());
    dialogs.asked.clear();
    Frame()->RouteCommand(ID_FILE_MRU_FILE1 + 1); // b, now second: gone
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(recent.Entries(), (std::vector<std::string>{a}));
}

TEST(GoToLineDialog, RefusesEmptyAndOutOfRangeNumbers)
{
    int line = 0;
    wxString message;
    EXPECT_FALSE(CGoToLineDialog::ParseLine("", 10, line, message));
    EXPECT_EQ(message.utf8_string(), "Geben Sie bitte eine ganze Zahl ein.");
    EXPECT_FALSE(CGoToLineDialog::ParseLine("0", 10, line, message));
    EXPECT_EQ(message.utf8_string(), "Geben Sie bitte eine Zeilennummer zwischen 1 und 10 ein.");
    EXPECT_FALSE(CGoToLineDialog::ParseLine("11", 10, line, message));
    EXPECT_FALSE(CGoToLineDialog::ParseLine("99999999999999999999", 10, line, message));
    ASSERT_TRUE(CGoToLineDialog::ParseLine(" 7 ", 10, line, message));
    EXPECT_EQ(line, 7);
}

TEST_F(ShellTest, CustomizeShowsAndHidesTheBars)
{
    ASSERT_TRUE(Start());
    dialogs.customizeAnswer = {true, false, true, false};
    Frame()->RouteCommand(ID_VIEW_CUSTOMIZE);
    ASSERT_EQ(dialogs.customizeAsked.size(), 4u);
    EXPECT_EQ(dialogs.customizeAsked[0].name.utf8_string(), "Standard");
    EXPECT_TRUE(dialogs.customizeAsked[1].shown);
    EXPECT_FALSE(Frame()->IsBarShown(Frame()->WorkspaceBar()));
    EXPECT_FALSE(Frame()->IsBarShown(Frame()->GetStatusBar()));
    EXPECT_TRUE(Frame()->IsBarShown(Frame()->OutputBar()));
}

TEST_F(ShellTest, PrintFlagOpensPrintsAndEnds)
{
    std::string a = File("A.java", "class A {}\r\n");
    EXPECT_FALSE(Start({"/p", a}));
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ShellTest, AClickInAPaneDecidesWhereOutputGoes)
{
    ASSERT_TRUE(Start());
    Frame()->SetSize(1000, 700);
    Frame()->Show();
    COutputPane* pane = Frame()->OutputBar()->GetPane(COutputBar::PANE_COMPILER);
    Frame()->OutputBar()->ShowPane(COutputBar::PANE_COMPILER);
    PumpEvents(50);
    pane->ReplaceSel("erste Zeile\r\nzweite Zeile\r\n");
    // A real click at the third character of the first line.
    wxClientDC dc(pane);
    dc.SetFont(pane->GetOutputFont());
    int cw = dc.GetTextExtent("X").x;
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetPosition(wxPoint(2 + 3 * cw, 2));
    down.SetEventObject(pane);
    pane->GetEventHandler()->ProcessEvent(down);
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition(down.GetPosition());
    pane->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(pane->GetCaret().line, 0);
    EXPECT_EQ(pane->GetCaret().index, 3);
    pane->ReplaceSel("[neu]");
    EXPECT_EQ(pane->GetLineText(0), "ers[neu]te Zeile");
    // Ctrl+C in the focused pane copies the pane's text, not an editor's.
    pane->SetSelection(COutputPane::Pos{1, 0}, COutputPane::Pos{1, 6});
    EXPECT_EQ(pane->GetSelectedText(), "zweite");
}
