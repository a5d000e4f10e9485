// The edit view in a real window: typing and its undo steps, automatic
// indentation, Tab and Shift+Tab, overwrite mode, clipboard, conversions,
// comments, drag and drop, and a read-only buffer.
#include "EditorTestUtil.h"

#include "resources/CommandIds.h"
#include "settings/Settings.h"

#include "support/TempDir.h"

#include <wx/clipbrd.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace edtest;

namespace {

class EditViewTest : public EditorTest {
protected:
    void Select(TextPos a, TextPos b)
    {
        view->SetAnchorPos(a);
        view->SetSelectionRange(a, b);
        view->MoveCaretTo(b);
    }
    void Run(int command) { view->HandleCommand(command); }
};

TEST_F(EditViewTest, TypingAWordIsOneUndoStepAndABlankStartsTheNext)
{
    Type("hello world");
    EXPECT_EQ(Text(), "hello world");
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Eingabe\tStrg+Z");
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "hello");
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(UndoLabel(), "&Rückgängig\tStrg+Z");
    CCommandState st;
    view->QueryCommand(kib::ID_EDIT_UNDO, st);
    EXPECT_FALSE(st.enabled);
    EXPECT_EQ(RedoLabel(), "&Wiederholen: Eingabe\tStrg+Y");
    Key('Y', CTRL);
    EXPECT_EQ(Text(), "hello");
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 0));
    Key(WXK_BACK, ALT); // Alt+Backspace is Undo too
    EXPECT_EQ(Text(), "");
}

TEST_F(EditViewTest, TypingAfterMovingTheCaretStartsANewUndoStep)
{
    Type("abc");
    Key(WXK_HOME);
    Type("x");
    EXPECT_EQ(Text(), "xabc");
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "abc");
}

TEST_F(EditViewTest, TypedCharactersAreEncodedInTheDocumentsEncoding)
{
    buffer->InitEmpty(EOL_CRLF, TextEncoding::Utf8);
    view->ResetViewState();
    Type("äß€\u0416語");
    EXPECT_EQ(Text(), "äß€\u0416語");
    EXPECT_EQ(view->GetCaretPos(), TextPos(static_cast<int>(Text().size()), 0));
    EXPECT_TRUE(view->refused.empty());

    // Windows-1252 takes its own letters; a character outside it is refused
    // and the user told, never typed as "?".
    buffer->InitEmpty(EOL_CRLF, TextEncoding::Cp1252);
    view->ResetViewState();
    Type("äß€\u0416x");
    EXPECT_EQ(Text(), "\xE4\xDF\x80x");
    EXPECT_EQ(view->refused, std::vector<char32_t>{U'\u0416'});
}

TEST_F(EditViewTest, TypingReplacesTheSelection)
{
    SetText("one two three");
    Select(TextPos(4, 0), TextPos(7, 0));
    Type("2");
    EXPECT_EQ(Text(), "one 2 three");
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 0));
}

TEST_F(EditViewTest, EnterIndentsAfterAnOpeningBracket)
{
    view->SetInsertTabsAsSpaces(true);
    view->SetTabWidth(4);
    SetText("    if (x) {");
    view->PutCaret(TextPos(12, 0));
    Key(WXK_RETURN);
    EXPECT_EQ(Line(1), "        ");
    EXPECT_EQ(view->GetCaretPos(), TextPos(8, 1));
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Automatischens Einrücken\tStrg+Z");
    Key('Z', CTRL); // the indentation is its own step
    EXPECT_EQ(Line(1), "");
    EXPECT_EQ(buffer->LineCount(), 2);
    Key('Z', CTRL);
    EXPECT_EQ(buffer->LineCount(), 1);

    view->SetInsertTabsAsSpaces(false);
    view->PutCaret(TextPos(12, 0));
    Key(WXK_RETURN);
    EXPECT_EQ(Line(1), "    \t");
}

TEST_F(EditViewTest, EnterAfterAnUnindentedLineLeavesAnEmptyIndentStep)
{
    SetText("x");
    view->PutCaret(TextPos(1, 0));
    Key(WXK_RETURN);
    EXPECT_EQ(Text(), "x\n");
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Automatischens Einrücken\tStrg+Z");
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "x\n");
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Eingabe\tStrg+Z");
}

TEST_F(EditViewTest, ClosingBracketDropsOneIndentationLevel)
{
    view->SetTabWidth(4);
    SetText("{\r\n        \r\n      \r\n\t\t");
    view->PutCaret(TextPos(8, 1));
    Type("}");
    EXPECT_EQ(Line(1), "    }");
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 1));
    view->PutCaret(TextPos(6, 2));
    Type("}");
    EXPECT_EQ(Line(2), "    }");
    view->PutCaret(TextPos(2, 3));
    Type("}");
    EXPECT_EQ(Line(3), "\t}");
    view->SetAutoIndent(false);
    view->PutCaret(TextPos(5, 1));
    Key(WXK_RETURN);
    Type("    }");
    EXPECT_EQ(Line(2), "    }");
}

TEST_F(EditViewTest, TabInsertsToTheNextStopOrATab)
{
    view->SetTabWidth(4);
    view->SetInsertTabsAsSpaces(true);
    SetText("abcdef");
    view->PutCaret(TextPos(6, 0));
    Key(WXK_TAB);
    EXPECT_EQ(Text(), "abcdef  ");
    view->SetInsertTabsAsSpaces(false);
    Key(WXK_TAB);
    EXPECT_EQ(Text(), "abcdef  \t");
}

TEST_F(EditViewTest, ShiftTabOnOneLineMovesTheCaretToThePreviousStop)
{
    view->SetTabWidth(4);
    SetText("        abc");
    view->PutCaret(TextPos(4, 0));
    Key(WXK_TAB, SHIFT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    view->PutCaret(TextPos(5, 0));
    Key(WXK_TAB, SHIFT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(4, 0));
    EXPECT_EQ(Text(), "        abc");
}

TEST_F(EditViewTest, BlockIndentAndUnindentCoverTheSelectedLines)
{
    view->SetTabWidth(4);
    view->SetInsertTabsAsSpaces(false);
    SetText("l0\r\nl1\r\nl2\r\nl3\r\nl4\r\nl5");
    Select(TextPos(1, 2), TextPos(0, 5));
    Key(WXK_TAB);
    EXPECT_EQ(Text(), "l0\nl1\n\tl2\n\tl3\n\tl4\nl5");
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 2));
    EXPECT_EQ(e, TextPos(0, 5));
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Einrücken\tStrg+Z");
    Key(WXK_TAB, SHIFT);
    EXPECT_EQ(Text(), "l0\nl1\nl2\nl3\nl4\nl5");
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "l0\nl1\n\tl2\n\tl3\n\tl4\nl5");
    Key('Z', CTRL); // the whole block indent is one step
    EXPECT_EQ(Text(), "l0\nl1\nl2\nl3\nl4\nl5");
}

TEST_F(EditViewTest, UnindentRemovesBlanksUpToAndIncludingATab)
{
    view->SetTabWidth(4);
    SetText("  \tx\r\n      y\r\n\r\nz");
    Select(TextPos(0, 0), TextPos(1, 3));
    Key(WXK_TAB, SHIFT);
    EXPECT_EQ(Text(), "x\n  y\n\nz");
}

TEST_F(EditViewTest, BackspaceAndDeleteJoinLines)
{
    SetText("ab\r\ncd");
    view->PutCaret(TextPos(0, 1));
    Key(WXK_BACK);
    EXPECT_EQ(Text(), "abcd");
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 0));
    view->PutCaret(TextPos(0, 0));
    Key(WXK_BACK); // nothing before (0, 0)
    EXPECT_EQ(Text(), "abcd");
    view->PutCaret(TextPos(4, 0));
    Key(WXK_DELETE); // nothing after the end
    EXPECT_EQ(Text(), "abcd");
    view->PutCaret(TextPos(1, 0));
    Key(WXK_DELETE);
    EXPECT_EQ(Text(), "acd");
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Löschen\tStrg+Z");
    SetText("foo bar");
    view->PutCaret(TextPos(7, 0));
    Key(WXK_BACK, CTRL);
    EXPECT_EQ(Text(), "foo ");
}

TEST_F(EditViewTest, OverwriteModeReplacesAndEnterOnlyMoves)
{
    SetText("abcd\r\nefgh");
    Key(WXK_INSERT);
    EXPECT_TRUE(view->IsOverwrite());
    CCommandState st;
    view->QueryCommand(kib::ID_EDIT_SWITCH_OVRMODE, st);
    EXPECT_TRUE(st.checked);
    view->PutCaret(TextPos(1, 0));
    Type("XY");
    EXPECT_EQ(Line(0), "aXYd");
    view->PutCaret(TextPos(4, 0));
    Type("!"); // at the end: appends
    EXPECT_EQ(Line(0), "aXYd!");
    view->PutCaret(TextPos(2, 0));
    Key(WXK_RETURN); // moves to the next line without splitting
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 1));
    EXPECT_EQ(buffer->LineCount(), 2);
    view->PutCaret(TextPos(2, 1));
    Key(WXK_RETURN); // the last line is split
    EXPECT_EQ(buffer->LineCount(), 3);
    EXPECT_EQ(Line(1), "ef");
    Key(WXK_INSERT);
    EXPECT_FALSE(view->IsOverwrite());
}

TEST_F(EditViewTest, CutAndPasteRoundTripGermanTextThroughTheClipboard)
{
    SetText("x \xE4\xF6\xFC\xDF\x80 y");
    Select(TextPos(2, 0), TextPos(7, 0));
    Key('X', CTRL);
    EXPECT_EQ(Text(), "x  y");
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Ausschneiden\tStrg+Z");
    {
        wxClipboardLocker lock;
        wxTextDataObject data;
        ASSERT_TRUE(wxTheClipboard->GetData(data));
        EXPECT_EQ(data.GetText().utf8_string(), "äöüß€");
    }
    view->PutCaret(TextPos(4, 0));
    Key('V', CTRL);
    EXPECT_EQ(Text(), "x  y\xE4\xF6\xFC\xDF\x80");
    EXPECT_EQ(view->GetCaretPos(), TextPos(9, 0));
    // Text from other programs: Unicode outside the code page and LF lines.
    {
        wxClipboardLocker lock;
        wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8("α\nβ")));
    }
    // A Windows-1252 document refuses it whole and keeps its selection.
    Select(TextPos(0, 0), TextPos(2, 0));
    Key(WXK_INSERT, SHIFT);
    EXPECT_EQ(Text(), "x  y\xE4\xF6\xFC\xDF\x80");
    EXPECT_TRUE(view->IsSelection());
    EXPECT_EQ(view->refused, std::vector<char32_t>{U'α'});
    // A UTF-8 document takes it as it is.
    buffer->InitEmpty(EOL_CRLF, TextEncoding::Utf8);
    view->ResetViewState();
    Key(WXK_INSERT, SHIFT);
    EXPECT_EQ(Text(), "α\nβ");
    EXPECT_EQ(buffer->LineCount(), 2);
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 1));
}

TEST_F(EditViewTest, CaseConversionsKeepTheSelection)
{
    SetText("hello. world. version 1.5 is out");
    Select(TextPos(0, 0), TextPos(32, 0));
    Run(kib::ID_SENTENCE);
    EXPECT_EQ(Text(), "Hello. World. Version 1.5 is out");
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_EQ(e, TextPos(32, 0));
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    EXPECT_EQ(UndoLabel(), "&Rückgängig: In Satzform wandeln\tStrg+Z");
    Run(kib::ID_UPPERCASE);
    EXPECT_EQ(Text(), "HELLO. WORLD. VERSION 1.5 IS OUT");
    Run(kib::ID_CAPITALIZE);
    EXPECT_EQ(Text(), "Hello. World. Version 1.5 Is Out");
    Run(kib::ID_SWAPCASE);
    EXPECT_EQ(Text(), "hELLO. wORLD. vERSION 1.5 iS oUT");
    Run(kib::ID_LOWERCASE);
    EXPECT_EQ(Text(), "hello. world. version 1.5 is out");
    SetText("stra\xDF" "e \xE4");
    Select(TextPos(0, 0), TextPos(8, 0));
    Run(kib::ID_UPPERCASE);
    // ß upper-cases to SS: the selection covers the longer text.
    EXPECT_EQ(Text(), "STRASSE \xC4");
    TextPos s2, e2;
    view->GetOrderedSelection(s2, e2);
    EXPECT_EQ(e2, TextPos(9, 0));
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "stra\xDF" "e \xE4");
}

TEST_F(EditViewTest, TabsAndSpacesConvertTheSelection)
{
    view->SetTabWidth(4);
    SetText("\ta\r\n        b");
    Select(TextPos(0, 0), TextPos(9, 1));
    Run(kib::ID_TABS_TO_SPACES);
    EXPECT_EQ(Text(), "    a\n        b");
    EXPECT_FALSE(view->IsSelection()); // moved to the start by the change notices
    Select(TextPos(0, 0), TextPos(9, 1));
    Run(kib::ID_SPACES_TO_TABS);
    EXPECT_EQ(Text(), "\ta\n\t\tb");
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Spaces in Tabs umwandeln\tStrg+Z");
}

TEST_F(EditViewTest, CommentAndUncommentRoundTrip)
{
    SetText("  foo();  ");
    Select(TextPos(0, 0), TextPos(10, 0));
    CCommandState st;
    view->QueryCommand(kib::ID_UNCOMMENT_SELECTION, st);
    EXPECT_FALSE(st.enabled);
    Run(kib::ID_COMMENT_SELECTION);
    EXPECT_EQ(Text(), "  /*foo();*/  ");
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(2, 0));
    EXPECT_EQ(e, TextPos(12, 0));
    EXPECT_EQ(view->GetCaretPos(), TextPos(10, 0)); // where the caret was
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Selektion auskommentieren\tStrg+Z");
    Select(TextPos(0, 0), TextPos(14, 0));
    view->QueryCommand(kib::ID_UNCOMMENT_SELECTION, st);
    EXPECT_TRUE(st.enabled);
    Run(kib::ID_UNCOMMENT_SELECTION);
    EXPECT_EQ(Text(), "  foo();  ");
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(2, 0));
    EXPECT_EQ(e, TextPos(8, 0));

    // Over lines, and a javadoc opener.
    SetText("/** doc\r\n x */");
    Select(TextPos(0, 0), TextPos(5, 1));
    Run(kib::ID_UNCOMMENT_SELECTION);
    EXPECT_EQ(Text(), " doc\n x ");
    SetText("a\r\n\r\n  b  \r\n");
    Select(TextPos(0, 0), TextPos(0, 3));
    Run(kib::ID_COMMENT_SELECTION);
    EXPECT_EQ(Text(), "/*a\n\n  b*/  \n");
}

TEST_F(EditViewTest, UserNameGoesInFrontOfTheCaret)
{
    std::string name = CTextEditView::UserName();
    ASSERT_FALSE(name.empty());
    EXPECT_LE(name.size(), 256u);
    SetText("ab");
    view->PutCaret(TextPos(1, 0));
    Key('U', CTRL | SHIFT);
    EXPECT_EQ(Text(), "a" + name + "b");
    EXPECT_EQ(view->GetCaretPos(), TextPos(1, 0));
}

TEST_F(EditViewTest, GoToLastChange)
{
    SetText("one\r\ntwo\r\nthree");
    CCommandState st;
    view->QueryCommand(kib::ID_GOTO_LAST_CHANGE, st);
    EXPECT_FALSE(st.enabled);
    view->PutCaret(TextPos(2, 1));
    Type("X");
    view->PutCaret(TextPos(0, 0));
    Run(kib::ID_GOTO_LAST_CHANGE);
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 1));
}

TEST_F(EditViewTest, DragMoveInsideOneViewIsOneUndoStep)
{
    SetText("alpha beta gamma");
    Select(TextPos(6, 0), TextPos(10, 0)); // "beta"
    // The drop lands at the end of the line, as the system loop would do it.
    view->dragLoop = [this](wxDataObject& data, int effects) {
        EXPECT_EQ(effects, wxDrag_AllowMove);
        auto& text = static_cast<wxTextDataObject&>(data);
        EXPECT_EQ(text.GetText(), "beta");
        EXPECT_TRUE(view->IsTextBeingDragged());
        view->DragEnter(Cell(16, 0), true, false);
        EXPECT_TRUE(view->IsDropIndicatorShown());
        EXPECT_EQ(view->DragOver(Cell(16, 0), true, false), wxDragMove);
        bool ok = view->DropText(Cell(16, 0), text.GetText().utf8_string());
        return ok ? wxDragMove : wxDragNone;
    };
    wxPoint inside = Cell(7, 0);
    Mouse(wxEVT_LEFT_DOWN, inside);
    Mouse(wxEVT_MOTION, wxPoint(inside.x + 5, inside.y));
    EXPECT_EQ(view->dragLoops, 1);
    EXPECT_EQ(Text(), "alpha  gammabeta");
    EXPECT_FALSE(view->IsDropIndicatorShown());
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(12, 0)); // the dropped text, moved with the deletion
    EXPECT_EQ(e, TextPos(16, 0));
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Drag & Drop\tStrg+Z");
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "alpha beta gamma");
    CCommandState st;
    view->QueryCommand(kib::ID_EDIT_UNDO, st);
    EXPECT_FALSE(st.enabled);
}

TEST_F(EditViewTest, DropOntoTheDraggedTextOnlyMovesTheCaret)
{
    SetText("alpha beta gamma");
    Select(TextPos(6, 0), TextPos(10, 0));
    view->dragLoop = [this](wxDataObject&, int) {
        return view->DropText(Cell(8, 0), "beta") ? wxDragMove : wxDragNone;
    };
    Mouse(wxEVT_LEFT_DOWN, Cell(7, 0));
    Mouse(wxEVT_MOTION, Cell(9, 0));
    EXPECT_EQ(Text(), "alpha beta gamma");
    EXPECT_EQ(view->GetCaretPos(), TextPos(8, 0));
    CCommandState st;
    view->QueryCommand(kib::ID_EDIT_UNDO, st);
    EXPECT_FALSE(st.enabled); // nothing was recorded
}

TEST_F(EditViewTest, CopyDropFromAnotherViewAndAClickInsideTheSelection)
{
    SetText("one two");
    Select(TextPos(0, 0), TextPos(3, 0));
    // A click inside the selection without moving places the caret there.
    Mouse(wxEVT_LEFT_DOWN, Cell(1, 0));
    Mouse(wxEVT_LEFT_UP, Cell(1, 0));
    EXPECT_FALSE(view->IsSelection());
    EXPECT_EQ(view->GetCaretPos(), TextPos(1, 0));
    // Dropped text from outside is inserted and selected.
    EXPECT_EQ(view->DragEnter(Cell(7, 0), true, true), wxDragCopy);
    EXPECT_TRUE(view->DropText(Cell(7, 0), " three"));
    EXPECT_EQ(Text(), "one two three");
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(7, 0));
    EXPECT_EQ(e, TextPos(13, 0));
    EXPECT_EQ(view->DragEnter(Cell(1, 0), false, false), wxDragNone);
    EXPECT_FALSE(view->IsDropIndicatorShown());
}

TEST_F(EditViewTest, ReadOnlyBufferRefusesEveryEdit)
{
    // A read-only file: the buffer takes the attribute at load. Root may
    // write any file, so the load runs with the real user id of nobody.
    kibtest::CTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    std::string path = dir.File("ReadOnly.java");
    kibtest::WriteFile(path, "class A {\r\n  int x;\r\n}");
    chmod(path.c_str(), 0444);
    if (kibtest::RunningAsRoot()) {
        ASSERT_EQ(setresuid(65534, 65534, 0), 0);
        bool loaded = buffer->LoadFile(path);
        ASSERT_EQ(setresuid(0, 0, 0), 0);
        ASSERT_TRUE(loaded);
    } else {
        ASSERT_TRUE(buffer->LoadFile(path));
    }
    ASSERT_TRUE(buffer->IsReadOnly());
    EXPECT_FALSE(view->IsEditable());
    const std::string before = Text();
    view->PutCaret(TextPos(2, 1));
    Type("abc");
    Key(WXK_RETURN);
    Key(WXK_DELETE);
    Key(WXK_BACK);
    Key(WXK_TAB);
    Key(WXK_TAB, SHIFT);
    Key('V', CTRL);
    Key('U', CTRL | SHIFT);
    Key('D', CTRL | SHIFT);
    view->InsertTextBlock("if (\xA7)\r\n{\r\n}");
    Select(TextPos(0, 0), TextPos(1, 2));
    for (int id : {kib::ID_EDIT_CUT, kib::ID_LOWERCASE, kib::ID_UPPERCASE, kib::ID_SWAPCASE,
                   kib::ID_CAPITALIZE, kib::ID_SENTENCE, kib::ID_TABS_TO_SPACES, kib::ID_SPACES_TO_TABS,
                   kib::ID_COMMENT_SELECTION, kib::ID_UNCOMMENT_SELECTION, kib::ID_EDIT_UNDO,
                   kib::ID_EDIT_REDO, kib::ID_EDIT_DELETE})
        Run(id);
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(buffer->UndoRecordCount(), 0);
    for (int id : {kib::ID_EDIT_CUT, kib::ID_EDIT_PASTE, kib::ID_EDIT_DELETE, kib::ID_EDIT_BACKSPACE,
                   kib::ID_EDIT_TAB, kib::ID_EDIT_UNTAB, kib::ID_LOWERCASE, kib::ID_TABS_TO_SPACES,
                   kib::ID_COMMENT_SELECTION, kib::ID_INSERT_USERNAME, kib::ID_EDIT_UNDO,
                   kib::ID_EDIT_REDO}) {
        CCommandState st;
        EXPECT_TRUE(view->QueryCommand(id, st));
        EXPECT_FALSE(st.enabled) << id;
    }
    // Viewing still works: copy is enabled with a selection.
    CCommandState copy;
    view->QueryCommand(kib::ID_EDIT_COPY, copy);
    EXPECT_TRUE(copy.enabled);
    chmod(path.c_str(), 0644);
}

TEST_F(EditViewTest, SettingsReachTheView)
{
    CSettings s;
    s.m_tabWidth = 8;
    s.m_showTabsAndSpaces = 1;
    s.m_showLineNumbers = 0;
    s.m_insertTabsAsSpaces = 1;
    s.m_autoIndent = 0;
    s.m_indentAfterBracket = 0;
    s.m_highlight[HL_KEYWORD].foreground = 0x123456;
    s.m_highlight[HL_KEYWORD].style = STYLE_BOLD | STYLE_ITALIC;
    s.m_windowBackground = 0xEEEEEE;
    view->ApplySettings(s);
    EXPECT_EQ(view->GetTabWidth(), 8);
    EXPECT_TRUE(view->GetShowWhitespace());
    EXPECT_FALSE(view->GetLineNumbers());
    EXPECT_TRUE(view->GetInsertTabsAsSpaces());
    EXPECT_FALSE(view->GetAutoIndent());
    EXPECT_FALSE(view->GetIndentAfterBracket());
    EXPECT_EQ(view->TextColor(CI_KEYWORD), 0x123456u);
    EXPECT_TRUE(view->IsClassBold(CI_KEYWORD));
    EXPECT_TRUE(view->IsClassItalic(CI_KEYWORD));
    EXPECT_EQ(view->BackColor(CI_WHITESPACE), 0xEEEEEEu); // shared with the window class
    EXPECT_EQ(view->TextColor(CI_DIRECTIVE), CTextView::kDirectiveColor);
    EXPECT_NE(view->BackColor(CI_DIRECTIVE), view->TextColor(CI_DIRECTIVE));
    EXPECT_EQ(view->TextColor(99), view->TextColor(CI_FUNCTION));
    // The font is fixed pitch whatever face the settings name.
    int wi = 0, ww = 0, h = 0;
    wxFont f = view->GetStyleFont(false, false);
    view->GetTextExtent("iiii", &wi, &h, nullptr, nullptr, &f);
    view->GetTextExtent("WWWW", &ww, &h, nullptr, nullptr, &f);
    EXPECT_EQ(wi, ww);
}

} // namespace

namespace {

TEST_F(EditViewTest, CtrlAndAltCombinationsDoNotType)
{
    SetText("");
    Key('O', CTRL | ALT); // a frame command, not a letter
    Key('Q', ALT);
    Key('K', CTRL);
    EXPECT_EQ(Text(), "");
    Key('Q', SHIFT);
    EXPECT_EQ(Text(), "Q");
}

} // namespace
