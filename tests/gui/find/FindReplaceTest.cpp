// The find and replace dialogs on a real document window: defaults from the
// profile, the registry and the view, proposals from the selection, F3 and
// Shift+F3, replacing inside a selection, the counts and the undo steps.
#include "FindTestSupport.h"

#include "controls/HistoryComboBox.h"
#include "editor/FindDialog.h"
#include "editor/ReplaceDialog.h"
#include "resources/CommandIds.h"
#include "settings/Profile.h"

using namespace findtest;
using namespace kib;

namespace {

CFindDialog& AsFind(wxDialog& d)
{
    return dynamic_cast<CFindDialog&>(d);
}
CReplaceDialog& AsReplace(wxDialog& d)
{
    return dynamic_cast<CReplaceDialog&>(d);
}

const char kNotFoundFoo[] = "String \"foo\" kann nicht gefunden werden!";

} // namespace

TEST_F(FindTest, FindDialogOpensWithProfileDefaultsThenTheEditFindKeyAndItsTexts)
{
    CKibView* view = StartWith("alpha\r\n");
    ASSERT_NE(view, nullptr);
    profile::WriteProfileInt("Find", "MatchCase", 1);
    profile::WriteProfileInt("Find", "WholeWord", 0);
    profile::WriteProfileString("Find", "FindWhat", "beta");

    struct Seen {
        std::string caption, text, label;
        bool matchCase = false, wholeWord = false, up = false, down = false, findEnabled = false;
    } seen;
    findDialogs.script = [&](wxDialog& d) {
        CFindDialog& f = AsFind(d);
        seen.caption = Utf8(d.GetTitle());
        seen.text = Utf8(f.SearchBox()->GetValue());
        seen.label = Utf8(f.FindNextButton()->GetLabel());
        seen.matchCase = f.MatchCaseBox()->GetValue();
        seen.wholeWord = f.WholeWordBox()->GetValue();
        seen.up = f.UpwardsButton()->GetValue();
        seen.down = f.DownwardsButton()->GetValue();
        seen.findEnabled = f.FindNextButton()->IsEnabled();
    };
    ASSERT_TRUE(Frame()->RouteCommand(ID_EDIT_FIND));
    EXPECT_EQ(seen.caption, "Suchen");
    EXPECT_EQ(seen.text, "beta");
    EXPECT_EQ(seen.label, "&Weitersuchen");
    EXPECT_TRUE(seen.matchCase);
    EXPECT_FALSE(seen.wholeWord);
    EXPECT_TRUE(seen.down);
    EXPECT_FALSE(seen.up);
    EXPECT_TRUE(seen.findEnabled);
    EXPECT_EQ(findDialogs.dialogsRun, std::vector<std::string>{"Suchen"});

    // The key "EditFind" (with its spelling "Directon") wins where it has a
    // value; nothing of the dialog is ever written there.
    uint32_t unused = 0;
    EXPECT_FALSE(KeyExists("EditFind"));
    EXPECT_FALSE(ReadDword("EditFind", "MatchCase", unused));
    // A second view has no remembered search: the profile applies again.
    ASSERT_TRUE(Frame()->RouteCommand(ID_WINDOW_NEW));
    kibtest::PumpEvents(20);
    WriteDword("EditFind", "Directon", 0);
    WriteDword("EditFind", "WholeWordsOnly", 1);
    ASSERT_TRUE(Frame()->RouteCommand(ID_EDIT_FIND));
    EXPECT_TRUE(seen.up);
    EXPECT_FALSE(seen.down);
    EXPECT_TRUE(seen.wholeWord);
    EXPECT_TRUE(seen.matchCase);
}

TEST_F(FindTest, FindDialogProposesASelectionWithinOneLineOnly)
{
    CKibView* view = StartWith("one foo two\r\nthree\r\n");
    ASSERT_NE(view, nullptr);
    profile::WriteProfileString("Find", "FindWhat", "stored");
    std::string proposed;
    findDialogs.script = [&](wxDialog& d) { proposed = Utf8(AsFind(d).SearchBox()->GetValue()); };

    Select(view, TextPos(4, 0), TextPos(7, 0));
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(proposed, "foo");
    // Backwards selections count as well.
    Select(view, TextPos(11, 0), TextPos(8, 0));
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(proposed, "two");
    // Over two lines: the remembered text of the last dialog.
    Select(view, TextPos(4, 0), TextPos(2, 1));
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(proposed, "two");
}

TEST_F(FindTest, FindNextSelectsEachMatchWrapsAndReportsAMissingText)
{
    CKibView* view = StartWith("foo x\r\ny foo\r\nFOO\r\n");
    ASSERT_NE(view, nullptr);
    std::vector<TextPos> found;
    std::vector<std::string> selected;
    findDialogs.script = [&](wxDialog& d) {
        CFindDialog& f = AsFind(d);
        f.SearchBox()->SetValue("foo");
        Check(f.MatchCaseBox(), true);
        for (int i = 0; i < 3; ++i) {
            Click(f.FindNextButton());
            found.push_back(view->GetCaretPos());
            selected.push_back(Selected(view));
        }
        EXPECT_TRUE(d.IsShown()); // the dialog stays open
        f.SearchBox()->SetValue("bar");
        Click(f.FindNextButton());
    };
    view->PutCaret(TextPos(1, 0));
    Frame()->RouteCommand(ID_EDIT_FIND);
    // From the caret: line 1, then wrapped to line 0 without a message, then line 1.
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], TextPos(5, 1));
    EXPECT_EQ(found[1], TextPos(3, 0));
    EXPECT_EQ(found[2], TextPos(5, 1));
    EXPECT_EQ(selected[0], "foo");
    EXPECT_EQ(Messages(), std::vector<std::string>{"String \"bar\" kann nicht gefunden werden!"});
    // Nothing found: the selection stays where the last search left it.
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 1));
    EXPECT_EQ(Selected(view), "foo");
}

TEST_F(FindTest, EmptySearchTextDisablesWeitersuchen)
{
    CKibView* view = StartWith("abc\r\n");
    ASSERT_NE(view, nullptr);
    std::vector<bool> enabled;
    findDialogs.script = [&](wxDialog& d) {
        CFindDialog& f = AsFind(d);
        enabled.push_back(f.FindNextButton()->IsEnabled());
        f.SearchBox()->SetValue("b");
        enabled.push_back(f.FindNextButton()->IsEnabled());
        f.SearchBox()->SetValue("");
        enabled.push_back(f.FindNextButton()->IsEnabled());
    };
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false}));
}

TEST_F(FindTest, F3AfterAbbrechenRepeatsTheDialogsSearchAndShiftF3GoesBack)
{
    CKibView* view = StartWith("ab ab\r\nab\r\n");
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(kibtest::Query(Frame(), ID_EDIT_REPEAT).enabled);
    EXPECT_FALSE(kibtest::Query(Frame(), ID_EDIT_FIND_PREVIOUS).enabled);
    // F3 without a remembered search does nothing.
    Frame()->RouteCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    EXPECT_TRUE(Messages().empty());

    findDialogs.script = [&](wxDialog& d) {
        CFindDialog& f = AsFind(d);
        f.SearchBox()->SetValue("AB");
        Check(f.WholeWordBox(), true);
        Click(d.FindWindow(wxID_CANCEL)); // "Abbrechen" without a search
    };
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(findDialogs.endCodes, std::vector<int>{wxID_CANCEL});
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    EXPECT_TRUE(kibtest::Query(Frame(), ID_EDIT_REPEAT).enabled);
    EXPECT_TRUE(kibtest::Query(Frame(), ID_EDIT_FIND_PREVIOUS).enabled);
    // The profile keeps the last values, not the direction.
    EXPECT_EQ(profile::GetProfileString("Find", "FindWhat", "-"), "AB");
    EXPECT_EQ(profile::GetProfileInt("Find", "WholeWord", -1), 1);
    EXPECT_EQ(profile::GetProfileInt("Find", "MatchCase", -1), 0);
    // The find dialog stores no history.
    EXPECT_FALSE(KeyExists("EditFind\\SearchKeys"));

    Frame()->RouteCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 0));
    Frame()->RouteCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 0));
    Frame()->RouteCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 1));
    // Shift+F3: upwards for this search only; an earlier line gives its
    // first match. F3 then goes downwards again.
    view->PutCaret(TextPos(1, 1));
    Frame()->RouteCommand(ID_EDIT_FIND_PREVIOUS);
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 0));
    EXPECT_EQ(Selected(view), "ab");
    Frame()->RouteCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 0));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(view->FindCommands().Remembered().present);
    EXPECT_EQ(view->FindCommands().Remembered().flags, SEARCH_WHOLE_WORD);

    // The next dialog opens with the remembered search.
    std::string text;
    bool wholeWord = false;
    findDialogs.script = [&](wxDialog& d) {
        text = Utf8(AsFind(d).SearchBox()->GetValue());
        wholeWord = AsFind(d).WholeWordBox()->GetValue();
    };
    view->PutCaret(TextPos(0, 0));
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(text, "AB");
    EXPECT_TRUE(wholeWord);
}

TEST_F(FindTest, F3ReportsAMissingText)
{
    CKibView* view = StartWith("xyz\r\n");
    ASSERT_NE(view, nullptr);
    findDialogs.script = [&](wxDialog& d) { AsFind(d).SearchBox()->SetValue("foo"); };
    Frame()->RouteCommand(ID_EDIT_FIND);
    Frame()->RouteCommand(ID_EDIT_REPEAT);
    Frame()->RouteCommand(ID_EDIT_FIND_PREVIOUS);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kNotFoundFoo, kNotFoundFoo}));
}

TEST_F(FindTest, ReplaceAllInsideASelectionKeepsTheBlockEndInStep)
{
    CKibView* view = StartWith("x foo foo foo foo\r\nfoo\r\n");
    ASSERT_NE(view, nullptr);
    // The selection ends right behind the third match.
    Select(view, TextPos(0, 0), TextPos(13, 0));
    struct Seen {
        std::string caption;
        bool selectionChosen = false, selectionEnabled = false;
        int count = -1;
    } seen;
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        seen.caption = Utf8(d.GetTitle());
        seen.selectionChosen = r.SelectionButton()->GetValue();
        seen.selectionEnabled = r.SelectionButton()->IsEnabled();
        r.SearchBox()->SetValue("foo");
        r.ReplaceBox()->SetValue("barbaz");
        Click(r.ReplaceAllButton());
        seen.count = r.Session().Count();
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(seen.caption, "Ersetzen");
    EXPECT_TRUE(seen.selectionChosen);
    EXPECT_TRUE(seen.selectionEnabled);
    EXPECT_EQ(seen.count, 3);
    EXPECT_EQ(LineOf(view, 0), "x barbaz barbaz barbaz foo");
    EXPECT_EQ(LineOf(view, 1), "foo");
    EXPECT_EQ(Messages(), std::vector<std::string>{"String foo wurde 3 mal ersetzt!"});
    // The selection the dialog was opened with comes back, moved with the text.
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_GT(e.x, 13);
    // The profile section keeps the dialog's values.
    EXPECT_EQ(profile::GetProfileString("Replace", "FindWhat", ""), "foo");
    EXPECT_EQ(profile::GetProfileString("Replace", "ReplaceWith", ""), "barbaz");
}

TEST_F(FindTest, ReplaceAllOfAByAAGivesSixAndCountsThree)
{
    CKibView* view = StartWith("aaa\r\n");
    ASSERT_NE(view, nullptr);
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        EXPECT_TRUE(r.FileButton()->GetValue());
        EXPECT_FALSE(r.SelectionButton()->IsEnabled());
        r.SearchBox()->SetValue("a");
        r.ReplaceBox()->SetValue("aa");
        Click(r.ReplaceAllButton());
        EXPECT_EQ(r.Session().Count(), 3);
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(LineOf(view, 0), "aaaaaa");
    EXPECT_EQ(Messages(), std::vector<std::string>{"String a wurde 3 mal ersetzt!"});

    // Weitersuchen that finds nothing after a replace-all names the count again.
    findDialogs.asked.clear();
    view->PutCaret(TextPos(0, 0)); // the whole-file scope starts at the caret
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue("a");
        r.ReplaceBox()->SetValue("b");
        Click(r.ReplaceAllButton());
        Click(r.FindNextButton());
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(LineOf(view, 0), "bbbbbb");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"String a wurde 6 mal ersetzt!", "String a wurde 6 mal ersetzt!"}));
    // A fresh dialog has counted nothing.
    findDialogs.asked.clear();
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue("c");
        Click(r.FindNextButton());
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(Messages(), std::vector<std::string>{"String \"c\" kann nicht gefunden werden!"});
}

TEST_F(FindTest, EachReplacementIsTwoUndoSteps)
{
    CKibView* view = StartWith("one two one\r\n");
    ASSERT_NE(view, nullptr);
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue("one");
        r.ReplaceBox()->SetValue("1");
        Click(r.ReplaceButton()); // finds and selects the first match
        EXPECT_EQ(Selected(view), "one");
        EXPECT_EQ(LineOf(view, 0), "one two one");
        Click(r.ReplaceButton()); // replaces it and selects the next
        EXPECT_EQ(LineOf(view, 0), "1 two one");
        EXPECT_EQ(view->GetCaretPos(), TextPos(11 - 2, 0));
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    CTextBuffer& buffer = view->GetDocument()->Buffer();
    std::string label;
    buffer.UndoDescription(label);
    EXPECT_EQ(label, "Ersetzen");
    Frame()->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(LineOf(view, 0), " two one");
    buffer.UndoDescription(label);
    EXPECT_EQ(label, "Selektion löschen");
    Frame()->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(LineOf(view, 0), "one two one");
    EXPECT_FALSE(buffer.CanUndoStep());
}

TEST_F(FindTest, WeitersuchenAfterTheLastMatchReportsAndStartsAgainAtTheBeginning)
{
    CKibView* view = StartWith("x\r\nab ab\r\n");
    ASSERT_NE(view, nullptr);
    view->PutCaret(TextPos(0, 1));
    std::vector<TextPos> found;
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue("ab");
        for (int i = 0; i < 4; ++i) {
            Click(r.FindNextButton());
            found.push_back(r.Session().Found() ? r.Session().FoundPosition() : TextPos::None());
        }
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0], TextPos(0, 1));
    EXPECT_EQ(found[1], TextPos(3, 1));
    EXPECT_EQ(found[2], TextPos::None()); // no wrap in the replace dialog
    EXPECT_EQ(found[3], TextPos(0, 1));   // the next press starts at the beginning
    EXPECT_EQ(Messages(), std::vector<std::string>{"String \"ab\" kann nicht gefunden werden!"});
}

TEST_F(FindTest, ReplaceDialogStoresItsValuesOnlyIntoAnExistingKeyAndItsHistories)
{
    CKibView* view = StartWith("foo\r\n");
    ASSERT_NE(view, nullptr);
    auto script = [&](const char* search, const char* replace, bool matchCase) {
        return [=](wxDialog& d) {
            CReplaceDialog& r = AsReplace(d);
            r.SearchBox()->SetValue(search);
            r.ReplaceBox()->SetValue(replace);
            Check(r.MatchCaseBox(), matchCase);
        };
    };
    findDialogs.script = script("foo", "bar", true);
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    // First closing: the histories create the key, the three values wait.
    uint32_t v = 0;
    EXPECT_TRUE(KeyExists("EditReplace"));
    EXPECT_FALSE(ReadDword("EditReplace", "MatchCase", v));
    EXPECT_EQ(ReadString("EditReplace\\SearchKeys", "SearchKey0"), "foo");
    EXPECT_EQ(ReadString("EditReplace\\SearchKeys", "LastEntry"), "foo");
    EXPECT_EQ(ReadString("EditReplace\\ReplaceText", "ReplaceText0"), "bar");
    EXPECT_EQ(ReadString("EditReplace\\ReplaceText", "LastEntry"), "bar");

    findDialogs.script = script("zed", "ypsilon", true);
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    ASSERT_TRUE(ReadDword("EditReplace", "MatchCase", v));
    EXPECT_EQ(v, 1u);
    ASSERT_TRUE(ReadDword("EditReplace", "WholeWordsOnly", v));
    EXPECT_EQ(v, 0u);
    ASSERT_TRUE(ReadDword("EditReplace", "Scope", v));
    EXPECT_EQ(v, 1u);
    EXPECT_EQ(ReadString("EditReplace\\SearchKeys", "SearchKey0"), "zed");
    EXPECT_EQ(ReadString("EditReplace\\SearchKeys", "SearchKey1"), "foo");

    // Opening again: the restored last entries, a sorted list, the stored
    // match case; a stored scope beats the selection's.
    Select(view, TextPos(0, 0), TextPos(2, 0));
    std::string searchText, replaceText, first;
    bool matchCase = false, selection = true;
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        searchText = Utf8(r.SearchBox()->GetValue());
        replaceText = Utf8(r.ReplaceBox()->GetValue());
        first = Utf8(r.SearchBox()->GetString(0));
        matchCase = r.MatchCaseBox()->GetValue();
        selection = r.SelectionButton()->GetValue();
        EXPECT_TRUE(r.SelectionButton()->IsEnabled());
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(searchText, "zed");
    EXPECT_EQ(replaceText, "ypsilon");
    EXPECT_EQ(first, "foo");
    EXPECT_TRUE(matchCase);
    EXPECT_FALSE(selection);
}

TEST_F(FindTest, EmptySearchTextLeavesTheReplaceButtonsOff)
{
    CKibView* view = StartWith("abc\r\n");
    ASSERT_NE(view, nullptr);
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue("");
        EXPECT_FALSE(r.FindNextButton()->IsEnabled());
        EXPECT_FALSE(r.ReplaceButton()->IsEnabled());
        EXPECT_FALSE(r.ReplaceAllButton()->IsEnabled());
        r.SearchBox()->SetValue("b");
        EXPECT_TRUE(r.ReplaceAllButton()->IsEnabled());
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(LineOf(view, 0), "abc");
}

TEST_F(FindTest, KeysReachTheFindCommandsAndTheDialog)
{
    CKibView* view = StartWith("foo bar foo\r\n");
    ASSERT_NE(view, nullptr);
    Frame()->SetSize(0, 0, 1000, 700);
    kibtest::PumpEvents(100);
    auto key = [](wxWindow* w, int code, bool shift = false, bool ctrl = false) {
        wxKeyEvent down(wxEVT_KEY_DOWN);
        down.m_keyCode = code;
        down.SetShiftDown(shift);
        down.SetControlDown(ctrl);
        down.SetEventObject(w);
        w->GetEventHandler()->ProcessEvent(down);
    };
    // Ctrl+F opens the dialog; typed text and Enter search, Escape closes it.
    const bool haveXdotool = std::system("command -v xdotool >/dev/null 2>&1") == 0;
    bool closedByEscape = false;
    TextPos foundByEnter = TextPos::None();
    findDialogs.script = [&](wxDialog& d) {
        CFindDialog& f = AsFind(d);
        f.SearchBox()->SetValue("");
        if (!haveXdotool) { // the keyboard of the X server is not at hand
            f.SearchBox()->SetValue("foo");
            return;
        }
        const wxPoint p = f.SearchBox()->ClientToScreen(wxPoint(20, f.SearchBox()->GetSize().y / 2));
        std::string move = "xdotool mousemove " + std::to_string(p.x) + " " + std::to_string(p.y);
        EXPECT_EQ(std::system(move.c_str()), 0);
        f.SearchBox()->SetFocus();
        kibtest::PumpEvents(100);
        EXPECT_EQ(std::system("xdotool type --delay 20 foo"), 0);
        kibtest::PumpUntil([&] { return f.SearchBox()->GetValue() == "foo"; }, 3000);
        EXPECT_EQ(std::system("xdotool key Return"), 0);
        kibtest::PumpUntil([&] { return view->IsSelection(); }, 3000);
        foundByEnter = view->GetCaretPos();
        EXPECT_EQ(std::system("xdotool key Escape"), 0);
        closedByEscape = kibtest::PumpUntil([&] { return !d.IsModal(); }, 3000);
    };
    key(view, 'F', false, true);
    EXPECT_EQ(findDialogs.dialogsRun, std::vector<std::string>{"Suchen"});
    if (haveXdotool) {
        EXPECT_EQ(foundByEnter, TextPos(3, 0));
        EXPECT_TRUE(closedByEscape);
    }
    EXPECT_EQ(view->FindCommands().Remembered().text, "foo");
    // F3 and Shift+F3 on the view's keys.
    view->PutCaret(TextPos(0, 0));
    key(view, WXK_F3);
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 0));
    key(view, WXK_F3);
    EXPECT_EQ(view->GetCaretPos(), TextPos(11, 0));
    view->PutCaret(TextPos(7, 0));
    key(view, WXK_F3, true);
    EXPECT_EQ(view->GetCaretPos(), TextPos(11, 0)); // the rest of the line first
    // Ctrl+H opens the replace dialog.
    findDialogs.script = nullptr;
    key(view, 'H', false, true);
    EXPECT_EQ(findDialogs.dialogsRun.back(), "Ersetzen");
}

// The dialogs hold characters, not code page bytes: a UTF-8 document is
// searched and changed with characters no single-byte code page has, the
// histories keep them, and a Windows-1252 document refuses what it cannot
// hold with a message instead of a "?".
TEST_F(FindTest, DialogTextsBeyondTheCodePageFindReplaceAndAreRemembered)
{
    // "// Привет Жук" / "int x; // 中文 Grüße"
    CKibView* view = StartWith("// \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD0\x96\xD1\x83\xD0\xBA\r\n"
                               "int x; // \xE4\xB8\xAD\xE6\x96\x87 Gr\xC3\xBC\xC3\x9F" "e\r\n");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Encoding(), TextEncoding::Utf8);
    findDialogs.script = [&](wxDialog& d) {
        CFindDialog& f = AsFind(d);
        f.SearchBox()->SetValue(wxString::FromUTF8("\xD0\xB6\xD1\x83\xD0\xBA")); // "жук"
        Click(f.FindNextButton());
    };
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(Selected(view), "\xD0\x96\xD1\x83\xD0\xBA") << "found ignoring case";
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(profile::GetProfileString("Find", "FindWhat"), "\xD0\xB6\xD1\x83\xD0\xBA");

    // F3 repeats the dialog's text; the tool bar box searches the same way.
    view->PutCaret(TextPos(0, 0));
    Frame()->RouteCommand(ID_EDIT_REPEAT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(22, 0));

    view->PutCaret(TextPos(0, 0)); // no selection: the whole file
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue(wxString::FromUTF8("\xE4\xB8\xAD\xE6\x96\x87"));  // "中文"
        r.ReplaceBox()->SetValue(wxString::FromUTF8("\xE6\xB1\x89\xE5\xAD\x97")); // "汉字"
        Click(r.ReplaceAllButton());
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(LineOf(view, 1), "int x; // \xE6\xB1\x89\xE5\xAD\x97 Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(ReadString("EditReplace\\ReplaceText", "ReplaceText0"), "\xE6\xB1\x89\xE5\xAD\x97");
    EXPECT_EQ(Messages(), std::vector<std::string>{"String \xE4\xB8\xAD\xE6\x96\x87 wurde 1 mal ersetzt!"});

    // Opening again: the remembered texts come back as characters.
    std::string restored;
    findDialogs.script = [&](wxDialog& d) { restored = Utf8(AsReplace(d).ReplaceBox()->GetValue()); };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(restored, "\xE6\xB1\x89\xE5\xAD\x97");
}

TEST_F(FindTest, ACp1252DocumentRefusesAReplacementItCannotHold)
{
    CKibView* view = StartWith("Gr\xFC\xDF" "e aus K\xF6ln\r\n");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Encoding(), TextEncoding::Cp1252);
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue(wxString::FromUTF8("k\xC3\xB6ln"));
        r.ReplaceBox()->SetValue(wxString::FromUTF8("\xD0\x96"));
        Click(r.ReplaceAllButton());
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(LineOf(view, 0), "Gr\xFC\xDF" "e aus K\xF6ln") << "nothing replaced";
    EXPECT_EQ(Messages(), std::vector<std::string>{"Das Zeichen \xE2\x80\x9E\xD0\x96\xE2\x80\x9C (U+0416) gibt es in der "
                                                   "Kodierung Windows-1252 dieser Datei nicht; es wurde nicht eingef\xC3\xBCgt."});
    EXPECT_FALSE(view->GetDocument()->IsModified());

    // What the code page has is replaced in its bytes.
    findDialogs.script = [&](wxDialog& d) {
        CReplaceDialog& r = AsReplace(d);
        r.SearchBox()->SetValue(wxString::FromUTF8("K\xC3\xB6ln"));
        r.ReplaceBox()->SetValue(wxString::FromUTF8("M\xC3\xBCnchen \xE2\x82\xAC"));
        Click(r.ReplaceAllButton());
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(LineOf(view, 0), "Gr\xFC\xDF" "e aus M\xFCnchen \x80");
}
