// Find in files from the menu command to the results: the dialog with its
// histories, switches and folder browser, the search into either results
// pane, the jumps from a result to its file and line, and a long search that
// keeps the program painting and stops on Escape or "Abbrechen".
#include "FindTestSupport.h"

#include "app/OutputBar.h"
#include "controls/HistoryComboBox.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "workspace/FindInFilesDialog.h"
#include "workspace/FindInFilesRun.h"
#include "workspace/FindProgressWindow.h"
#include "workspace/SearchResultEdit.h"

#include <wx/aui/auibook.h>
#include <wx/choice.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <thread>

using namespace findtest;
using namespace kib;

namespace {

CFindInFilesDialog& AsFiles(wxDialog& d)
{
    return dynamic_cast<CFindInFilesDialog&>(d);
}

class FindInFilesTest : public FindTest {
protected:
    void SetUp() override
    {
        FindTest::SetUp();
        src = dir + "src";
        std::filesystem::create_directories(src + "/sub");
        kibtest::WriteFile(src + "/A.java", "class A {\r\n  int x;\r\n  int y; int z;\r\n}\r\n");
        kibtest::WriteFile(src + "/B.jav", "// print int_x\r\n");
        kibtest::WriteFile(src + "/Makefile", "int\n");
        kibtest::WriteFile(src + "/sub/C.java", "int c;\n");
    }
    void TearDown() override
    {
        CFindInFilesRun::SetHitObserver({});
        CSearchResultEdit::SetPopupRunner({});
        FindTest::TearDown();
    }

    CSearchResultEdit* Pane(int index) const
    {
        return dynamic_cast<CSearchResultEdit*>(
            Frame()->OutputBar()->GetPane(index == 1 ? COutputBar::PANE_SEARCH2 : COutputBar::PANE_SEARCH1));
    }
    static std::vector<std::string> Lines(COutputPane* pane)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < pane->GetLineCount(); ++i)
            lines.push_back(pane->GetLineText(i));
        return lines;
    }
    static std::multiset<std::string> Results(COutputPane* pane)
    {
        std::vector<std::string> lines = Lines(pane);
        return std::multiset<std::string>(lines.begin() + (lines.empty() ? 0 : 1), lines.end());
    }

    // Runs the command with the dialog filled in this way and "&Suchen" pressed.
    void Search(const std::string& text, const std::string& filter, const std::string& folder,
                bool recursive, int pane, bool wholeWords = false, bool matchCase = false)
    {
        findDialogs.script = [=](wxDialog& d) {
            CFindInFilesDialog& f = AsFiles(d);
            f.SearchBox()->SetValue(wxString::FromUTF8(text));
            f.FilterBox()->SetValue(wxString::FromUTF8(filter));
            f.FolderBox()->SetValue(wxString::FromUTF8(folder));
            Check(f.RecursiveBox(), recursive);
            Check(f.WholeWordBox(), wholeWords);
            Check(f.MatchCaseBox(), matchCase);
            f.PaneChoice()->SetSelection(pane);
            Click(f.SearchButton());
        };
        Frame()->RouteCommand(ID_EDIT_FIND_IN_FILES);
    }

    // The client point of a pane line.
    static wxPoint PointOfLine(COutputPane* pane, int line)
    {
        for (int y = 0; y < pane->GetClientSize().y; ++y)
            if (pane->PositionFromPoint(wxPoint(4, y)).line == line)
                return wxPoint(4, y + 2);
        return wxPoint(-1, -1);
    }

    std::string src;
};

} // namespace

TEST_F(FindInFilesTest, DialogOpensWithTheStoredSwitchesHistoriesAndFixedFilters)
{
    ASSERT_TRUE(Start());
    {
        CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\FindInFiles", true);
        key.WriteDword("SearchPane", 1);
        key.WriteDword("Recursive", 1);
        key.WriteDword("MatchCase", 0);
        key.WriteString("WholeWordsOnly", "1"); // a string is no switch
        key.WriteString("SearchKey0", "older");
        key.WriteString("SearchKey", "typed");
        key.WriteString("Filter0", "*.txt");
        key.WriteString("Filter1", "*.JAVA,*.jav");
        key.WriteString("LastFilterEntry", "*.txt");
        key.WriteString("SearchDir0", "/tmp");
        key.WriteString("LastSearchEntry", "/tmp");
    }
    struct Seen {
        std::string caption, search, filter, folder, paneText;
        std::vector<std::string> filters, panes;
        int pane = -1;
        bool recursive = false, whole = true, matchCase = true;
    } seen;
    findDialogs.script = [&](wxDialog& d) {
        CFindInFilesDialog& f = AsFiles(d);
        seen.caption = Utf8(d.GetTitle());
        seen.search = Utf8(f.SearchBox()->GetValue());
        seen.filter = Utf8(f.FilterBox()->GetValue());
        seen.folder = Utf8(f.FolderBox()->GetValue());
        for (unsigned i = 0; i < f.FilterBox()->GetCount(); ++i)
            seen.filters.push_back(Utf8(f.FilterBox()->GetString(i)));
        for (unsigned i = 0; i < f.PaneChoice()->GetCount(); ++i)
            seen.panes.push_back(Utf8(f.PaneChoice()->GetString(i)));
        seen.pane = f.PaneChoice()->GetSelection();
        seen.recursive = f.RecursiveBox()->GetValue();
        seen.whole = f.WholeWordBox()->GetValue();
        seen.matchCase = f.MatchCaseBox()->GetValue();
        f.SearchBox()->SetValue("neu");
        Check(f.MatchCaseBox(), true);
        Click(d.FindWindow(wxID_CANCEL)); // "&Schließen"
    };
    ASSERT_TRUE(Frame()->RouteCommand(ID_EDIT_FIND_IN_FILES));
    EXPECT_EQ(seen.caption, "Suchen in Dateien");
    EXPECT_EQ(seen.search, "typed");
    EXPECT_EQ(seen.filter, "*.txt");
    EXPECT_EQ(seen.folder, "/tmp");
    // The remembered "*.JAVA,*.jav" is one of the fixed items and shown once.
    EXPECT_EQ(seen.filters, (std::vector<std::string>{"*.java,*.jav", "*.xml,*.dtd", "*.*", "*.txt"}));
    EXPECT_EQ(seen.panes, (std::vector<std::string>{"Suchergebniss 1", "Suchergebniss 2"}));
    EXPECT_EQ(seen.pane, 1);
    EXPECT_TRUE(seen.recursive);
    EXPECT_FALSE(seen.whole);
    EXPECT_FALSE(seen.matchCase);
    // "&Schließen" stores the histories and the switches, and searches nothing.
    EXPECT_EQ(Lines(Pane(1)), std::vector<std::string>{""});
    EXPECT_EQ(ReadString("FindInFiles", "SearchKey0"), "neu");
    EXPECT_EQ(ReadString("FindInFiles", "SearchKey1"), "older");
    EXPECT_EQ(ReadString("FindInFiles", "SearchKey"), "neu");
    EXPECT_EQ(ReadString("FindInFiles", "LastFilterEntry"), "*.txt");
    uint32_t v = 0;
    ASSERT_TRUE(ReadDword("FindInFiles", "MatchCase", v));
    EXPECT_EQ(v, 1u);
    ASSERT_TRUE(ReadDword("FindInFiles", "WholeWordsOnly", v));
    EXPECT_EQ(v, 0u);
    ASSERT_TRUE(ReadDword("FindInFiles", "SearchPane", v));
    EXPECT_EQ(v, 1u);
}

TEST_F(FindInFilesTest, TypedFilterCompletesFromTheFixedOnesAndTheyAreSavedFirst)
{
    ASSERT_TRUE(Start());
    {
        CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\FindInFiles", true);
        key.WriteString("Filter0", "*.txt");
    }
    std::vector<std::string> listed;
    std::string completed;
    long from = -1, to = -1;
    findDialogs.script = [&](wxDialog& d) {
        CHistoryComboBox* box = AsFiles(d).FilterBox();
        for (unsigned i = 0; i < box->GetCount(); ++i)
            listed.push_back(Utf8(box->GetString(i)));
        wxUIActionSimulator sim;
        sim.MouseMove(box->GetScreenRect().GetLeftTop() + wxPoint(20, box->GetSize().y / 2));
        sim.MouseClick();
        kibtest::PumpEvents(200);
        box->SetFocus();
        box->ChangeValue("");
        kibtest::PumpEvents(100);
        sim.Text("*.x");
        kibtest::PumpUntil([&] { return box->GetValue() == "*.xml,*.dtd"; }, 3000);
        kibtest::PumpEvents(100);
        completed = Utf8(box->GetValue());
        box->GetSelection(&from, &to);
        Click(d.FindWindow(wxID_CANCEL)); // "&Schließen" saves the histories
    };
    ASSERT_TRUE(Frame()->RouteCommand(ID_EDIT_FIND_IN_FILES));
    EXPECT_EQ(listed, (std::vector<std::string>{"*.java,*.jav", "*.xml,*.dtd", "*.*", "*.txt"}));
    EXPECT_EQ(completed, "*.xml,*.dtd");
    EXPECT_EQ(from, 3);
    EXPECT_EQ(to, 11);
    const std::vector<std::string> saved = {"*.xml,*.dtd", "*.java,*.jav", "*.*", "*.txt", ""};
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(ReadString("FindInFiles", "Filter" + std::to_string(i)), saved[i]) << "Filter" << i;
    EXPECT_EQ(ReadString("FindInFiles", "LastFilterEntry"), "*.xml,*.dtd");
}

TEST_F(FindInFilesTest, FolderBrowserPutsTheChosenFolderOnTopOfTheHistory)
{
    ASSERT_TRUE(Start());
    findDialogs.folderAnswer = src;
    std::string folder, first;
    findDialogs.script = [&](wxDialog& d) {
        CFindInFilesDialog& f = AsFiles(d);
        f.FolderBox()->SetValue("/usr");
        Click(d.FindWindow(CFindInFilesDialog::IDC_BROWSE));
        folder = Utf8(f.FolderBox()->GetValue());
        first = Utf8(f.FolderBox()->GetString(0));
    };
    Frame()->RouteCommand(ID_EDIT_FIND_IN_FILES);
    EXPECT_EQ(findDialogs.folderTitles, std::vector<std::string>{"Suchpfad bestimmen"});
    EXPECT_EQ(findDialogs.folderPreselected, "/usr");
    EXPECT_EQ(folder, src);
    EXPECT_EQ(first, src);
    EXPECT_EQ(ReadString("FindInFiles", "SearchDir0"), src);
}

TEST_F(FindInFilesTest, ResultsGoIntoTheChosenPane)
{
    ASSERT_TRUE(Start());
    Search("int", "*.java,*.jav", src, true, 0);
    wxAuiNotebook* tabs = Frame()->OutputBar()->GetTabWindow();
    EXPECT_EQ(tabs->GetSelection(), tabs->GetPageIndex(Pane(0)));
    std::vector<std::string> lines = Lines(Pane(0));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], ""); // each result starts on a new line
    EXPECT_EQ(Results(Pane(0)), (std::multiset<std::string>{
                                    src + "/A.java(2,3):  int x;",
                                    src + "/A.java(3,3):  int y; int z;",
                                    src + "/A.java(3,10):  int y; int z;",
                                    src + "/B.jav(1,6):// print int_x",
                                    src + "/B.jav(1,10):// print int_x",
                                    src + "/sub/C.java(1,1):int c;",
                                }));
    EXPECT_EQ(Lines(Pane(1)), std::vector<std::string>{""});

    // The other pane, whole words, no subfolders: the first pane keeps its list.
    Search("int", "*.java,*.jav", src, false, 1, true);
    EXPECT_EQ(tabs->GetSelection(), tabs->GetPageIndex(Pane(1)));
    EXPECT_EQ(Results(Pane(1)), (std::multiset<std::string>{
                                    src + "/A.java(2,3):  int x;",
                                    src + "/A.java(3,3):  int y; int z;",
                                    src + "/A.java(3,10):  int y; int z;",
                                }));
    EXPECT_EQ(Results(Pane(0)).size(), 6u);
    // A new search empties its pane first; "*" takes names without a dot.
    Search("INT", "*", src, false, 0, false, true);
    EXPECT_EQ(Lines(Pane(0)), std::vector<std::string>{""});
    Search("int", "*", src, false, 0);
    EXPECT_EQ(Results(Pane(0)), std::multiset<std::string>{src + "/Makefile(1,1):int"});
    // A start folder that does not exist lists nothing.
    Search("int", "*.*", src + "/none", true, 0);
    EXPECT_EQ(Lines(Pane(0)), std::vector<std::string>{""});
    EXPECT_TRUE(Messages().empty());
    // The switches of the last search are stored.
    uint32_t v = 9;
    ASSERT_TRUE(ReadDword("FindInFiles", "Recursive", v));
    EXPECT_EQ(v, 1u);
}

TEST_F(FindInFilesTest, DoubleClickOnAResultOpensTheFileAtItsLine)
{
    ASSERT_TRUE(Start());
    Search("int z", "*.java", src, false, 1);
    CSearchResultEdit* pane = Pane(1);
    ASSERT_EQ(pane->GetLineCount(), 2);
    const wxPoint pt = PointOfLine(pane, 1);
    ASSERT_GE(pt.y, 0);
    wxMouseEvent click(wxEVT_LEFT_DCLICK);
    click.SetPosition(pt);
    click.SetEventObject(pane);
    pane->GetEventHandler()->ProcessEvent(click);
    kibtest::PumpEvents(30);
    CKibView* view = Frame()->ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->GetPathName(), src + "/A.java");
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 2));
    EXPECT_TRUE(Frame()->DocumentOpenedEvent().IsSet());

    // The first line (empty) and an "Abbruch" line are no results.
    view->PutCaret(TextPos(0, 0));
    click.SetPosition(PointOfLine(pane, 0));
    pane->GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));

    // An open file in a background window comes to the front.
    CKibDoc* other = Open(File("Other.java", "x\r\n"));
    ASSERT_NE(other, nullptr);
    kibtest::PumpEvents(20);
    EXPECT_EQ(Frame()->ActiveView(), other->GetFirstView());
    click.SetPosition(PointOfLine(pane, 1));
    pane->GetEventHandler()->ProcessEvent(click);
    kibtest::PumpEvents(20);
    EXPECT_EQ(Frame()->ActiveView(), view);
    EXPECT_EQ(app->Docs().Documents().size(), 2u);
}

TEST_F(FindInFilesTest, ContextMenuJumpsCopiesAndEmptiesThePane)
{
    ASSERT_TRUE(Start());
    Search("int", "*.java", src + "/sub", false, 0);
    CSearchResultEdit* pane = Pane(0);
    ASSERT_EQ(pane->GetLineCount(), 2);
    std::map<int, bool> enabled;
    int answer = wxID_NONE;
    CSearchResultEdit::SetPopupRunner([&](CSearchResultEdit&, wxMenu& menu, const wxPoint&) {
        enabled.clear();
        for (wxMenuItem* item : menu.GetMenuItems())
            if (!item->IsSeparator())
                enabled[FromWxId(item->GetId())] = item->IsEnabled();
        return answer;
    });
    auto menuAt = [&](int line) {
        wxContextMenuEvent e(wxEVT_CONTEXT_MENU, pane->GetId(), pane->ClientToScreen(PointOfLine(pane, line)));
        e.SetEventObject(pane);
        pane->GetEventHandler()->ProcessEvent(e);
    };
    menuAt(0);
    EXPECT_EQ(enabled.size(), 3u);
    EXPECT_FALSE(enabled[ID_OUTPUT_GOTO_LINE]);
    EXPECT_TRUE(enabled[ID_EDIT_CLEAR]);
    EXPECT_EQ(pane->MenuLine(), 0);

    answer = ToWxId(ID_OUTPUT_GOTO_LINE);
    menuAt(1);
    EXPECT_TRUE(enabled[ID_OUTPUT_GOTO_LINE]);
    EXPECT_EQ(pane->MenuFile(), src + "/sub/C.java");
    EXPECT_EQ(pane->MenuLine(), 1);
    kibtest::PumpEvents(20);
    CKibView* view = Frame()->ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->GetPathName(), src + "/sub/C.java");
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));

    // A result whose file has gone: nothing opens, nothing is asked.
    std::filesystem::remove(src + "/sub/C.java");
    view->GetDocument()->OnCloseDocument();
    kibtest::PumpEvents(20);
    findDialogs.asked.clear();
    menuAt(1);
    EXPECT_EQ(Frame()->ActiveView(), nullptr);

    answer = ToWxId(ID_EDIT_CLEAR);
    menuAt(1);
    EXPECT_EQ(Lines(pane), std::vector<std::string>{""});
}

TEST_F(FindInFilesTest, CopyIsOfferedWhileTheSelectionEndsPastTheStartAndNothingSelectedKeepsTheClipboard)
{
    ASSERT_TRUE(Start());
    CSearchResultEdit* pane = Pane(0);
    std::optional<bool> copyOffered;
    int answer = wxID_NONE;
    CSearchResultEdit::SetPopupRunner([&](CSearchResultEdit& p, wxMenu& menu, const wxPoint&) {
        copyOffered = menu.IsEnabled(ToWxId(ID_EDIT_COPY));
        EXPECT_EQ(kibtest::EnabledForPopup(&p, ID_EDIT_COPY), *copyOffered) << "the popup's update agrees";
        return answer;
    });
    auto menuAt = [&](int line) {
        copyOffered.reset();
        wxContextMenuEvent e(wxEVT_CONTEXT_MENU, pane->GetId(), pane->ClientToScreen(PointOfLine(pane, line)));
        e.SetEventObject(pane);
        pane->GetEventHandler()->ProcessEvent(e);
        return copyOffered.value_or(false);
    };
    EXPECT_FALSE(menuAt(0)) << "an empty pane";

    Search("int", "*.java", src + "/sub", false, 0);
    ASSERT_EQ(pane->GetLineCount(), 2);
    EXPECT_FALSE(pane->HasSelection());
    kibtest::SetClipboardText("vorher");
    answer = ToWxId(ID_EDIT_COPY);
    EXPECT_TRUE(menuAt(1)) << "the results leave the caret at the end";
    EXPECT_EQ(kibtest::ClipboardText(), "vorher") << "an empty selection copies nothing";

    pane->SetSelection(COutputPane::Pos{0, 0}, COutputPane::Pos{0, 0});
    EXPECT_FALSE(menuAt(1)) << "the caret at the start";
    pane->SelectLine(1);
    EXPECT_TRUE(menuAt(1));
    EXPECT_EQ(kibtest::ClipboardText(), pane->GetLineText(1));

    answer = ToWxId(ID_EDIT_CLEAR);
    menuAt(1);
    answer = wxID_NONE;
    EXPECT_FALSE(menuAt(0)) << "an emptied pane";
}

TEST_F(FindInFilesTest, EscapeEndsTheListWithAbbruch)
{
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "int " + std::to_string(i) + "\r\n";
    kibtest::WriteFile(src + "/Many.java", many);
    ASSERT_TRUE(Start());
    CFindInFilesRun::SetHitObserver([](int results, CFindProgressWindow& progress) {
        if (results == 5) {
            wxKeyEvent key(wxEVT_KEY_DOWN);
            key.m_keyCode = WXK_ESCAPE;
            key.SetEventObject(&progress);
            progress.GetEventHandler()->ProcessEvent(key);
        }
    });
    Search("int", "Many.java", src, false, 0);
    std::vector<std::string> lines = Lines(Pane(0));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], src + "/Many.java(5,1):int 4");
    EXPECT_EQ(lines.back(), "Abbruch");
    EXPECT_FALSE(CFindInFilesRun::IsRunning());
    EXPECT_TRUE(Frame()->IsEnabled());

    // "Abbrechen" in the progress window stops it as well.
    CFindInFilesRun::SetHitObserver([](int results, CFindProgressWindow& progress) {
        if (results == 2)
            Click(progress.CancelButton());
    });
    Search("int", "Many.java", src, false, 1);
    lines = Lines(Pane(1));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.back(), "Abbruch");
}

// Escape held down on the real keyboard, as the X server reports it.
TEST_F(FindInFilesTest, EscapeKeyOfTheKeyboardEndsTheSearch)
{
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xdotool missing";
    std::string many;
    for (int i = 0; i < 300; ++i)
        many += "int\r\n";
    kibtest::WriteFile(src + "/Many.java", many);
    ASSERT_TRUE(Start());
    CFindInFilesRun::SetHitObserver([](int results, CFindProgressWindow&) {
        if (results == 3) {
            EXPECT_EQ(std::system("xdotool keydown Escape"), 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    Search("int", "Many.java", src, false, 0);
    std::system("xdotool keyup Escape");
    kibtest::PumpEvents(30);
    std::vector<std::string> lines = Lines(Pane(0));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_LT(lines.size(), 302u);
    EXPECT_EQ(lines.back(), "Abbruch");
}

TEST_F(FindInFilesTest, ProgramKeepsPaintingDuringALongSearch)
{
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "a line with int in it\r\n";
    kibtest::WriteFile(src + "/Long.java", many);
    ASSERT_TRUE(Start());
    CSearchResultEdit* pane = Pane(0);
    int panePaints = 0;
    pane->Bind(wxEVT_PAINT, [&](wxPaintEvent& e) {
        ++panePaints;
        e.Skip();
    });
    int ticks = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { ++ticks; });
    struct During {
        std::string fileShown;
        long frames = 0;
        bool frameEnabled = true, commandEnabled = true, progressShown = false;
        int panePaintsSeen = 0;
    } during;
    CFindInFilesRun::SetHitObserver([&](int results, CFindProgressWindow& progress) {
        // A slow disk: every hit takes its time.
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        if (results == 1)
            timer.Start(20);
        if (results == 350) {
            during.fileShown = progress.FileNameShown().utf8_string();
            during.frames = progress.Animation()->FramesShown();
            during.frameEnabled = Frame()->IsEnabled();
            during.commandEnabled = kibtest::Query(Frame(), ID_EDIT_FIND_IN_FILES).enabled;
            during.progressShown = progress.IsShown();
            during.panePaintsSeen = panePaints;
        }
    });
    const auto start = std::chrono::steady_clock::now();
    Search("int", "Long.java", src, false, 0);
    const auto took = std::chrono::steady_clock::now() - start;
    timer.Stop();
    EXPECT_GE(took, std::chrono::milliseconds(1000));
    EXPECT_EQ(pane->GetLineCount(), 401);
    EXPECT_EQ(during.fileShown, src + "/Long.java");
    EXPECT_TRUE(during.progressShown);
    // Timers, the animation and the pane's painting went on during the search.
    EXPECT_GE(ticks, 20);
    EXPECT_GE(during.frames, 5);
    EXPECT_GE(during.panePaintsSeen, 3);
    // Nothing else could be started or closed meanwhile.
    EXPECT_FALSE(during.frameEnabled);
    EXPECT_FALSE(during.commandEnabled);
    EXPECT_TRUE(Frame()->IsEnabled());
    EXPECT_TRUE(kibtest::Query(Frame(), ID_EDIT_FIND_IN_FILES).enabled);
}
