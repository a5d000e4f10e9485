// The edit view on UTF-8 text: the caret, deletion, words, vertical moves,
// mouse hits and the real clipboard step over whole characters, and a wide
// character takes two cells.
#include "EditorTestUtil.h"

#include <wx/clipbrd.h>

using namespace edtest;

namespace {

class Utf8EditTest : public EditorTest {
protected:
    void Load(const std::string& text)
    {
        ASSERT_TRUE(buffer->LoadFromMemory(text, -1, TextEncoding::Utf8));
        ASSERT_EQ(buffer->Encoding(), TextEncoding::Utf8);
        view->ResetViewState();
        Pump(10);
    }
    int Caret() const { return view->GetCaretPos().x; }
};

// "aä€語c": a (0), ä (1-2), € (3-5), 語 (6-8), c (9).
const std::string kMixed = "a\xC3\xA4\xE2\x82\xAC\xE8\xAA\x9E" "c";

} // namespace

TEST_F(Utf8EditTest, ArrowsStepOverWholeCharactersAndSelectThem)
{
    Load(kMixed);
    std::vector<int> stops;
    for (int i = 0; i < 5; ++i) {
        Key(WXK_RIGHT);
        stops.push_back(Caret());
    }
    EXPECT_EQ(stops, (std::vector<int>{1, 3, 6, 9, 10}));
    stops.clear();
    for (int i = 0; i < 5; ++i) {
        Key(WXK_LEFT);
        stops.push_back(Caret());
    }
    EXPECT_EQ(stops, (std::vector<int>{9, 6, 3, 1, 0}));
    // Shift+Right selects "aä", and copying takes those characters.
    Key(WXK_RIGHT, SHIFT);
    Key(WXK_RIGHT, SHIFT);
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(e, TextPos(3, 0));
    // A caret put inside a character by a stale position steps to a boundary.
    view->PutCaret(TextPos(4, 0));
    Key(WXK_RIGHT);
    EXPECT_EQ(Caret(), 6);
}

TEST_F(Utf8EditTest, DeleteAndBackspaceRemoveWholeCharactersAndUndoBringsThemBack)
{
    Load(kMixed);
    view->PutCaret(TextPos(3, 0));
    Key(WXK_DELETE); // €
    EXPECT_EQ(Text(), "aä語c");
    Key(WXK_BACK); // ä
    EXPECT_EQ(Text(), "a語c");
    EXPECT_EQ(Caret(), 1);
    Key(WXK_DELETE); // 語
    EXPECT_EQ(Text(), "ac");
    Key('Z', CTRL);
    Key('Z', CTRL);
    Key('Z', CTRL);
    EXPECT_EQ(Text(), kMixed);
    // Overwrite replaces one character, whatever its length.
    view->SetOverwrite(true);
    view->PutCaret(TextPos(3, 0));
    Type("x");
    EXPECT_EQ(Text(), "aäx語c");
    Type("ü");
    EXPECT_EQ(Text(), "aäxüc");
}

TEST_F(Utf8EditTest, WordMotionAndDoubleClickKeepUmlautWordsWhole)
{
    Load("int Übergröße = straße(語句);");
    Key(WXK_RIGHT, CTRL);
    EXPECT_EQ(Caret(), 4);
    Key(WXK_RIGHT, CTRL);
    const int afterWord = 4 + static_cast<int>(std::string("Übergröße ").size());
    EXPECT_EQ(Caret(), afterWord);
    Key(WXK_LEFT, CTRL);
    EXPECT_EQ(Caret(), 4);
    // Ctrl+Backspace from after "straße" removes the word, not a byte of ß.
    const int strasseEnd = static_cast<int>(std::string("int Übergröße = straße").size());
    view->PutCaret(TextPos(strasseEnd, 0));
    Key(WXK_BACK, CTRL);
    EXPECT_EQ(Text(), "int Übergröße = (語句);");
    // CJK ideographs form a word of their own between the brackets.
    Key('Z', CTRL);
    const int ideographs = static_cast<int>(std::string("int Übergröße = straße(").size());
    view->PutCaret(TextPos(ideographs, 0));
    Key(WXK_RIGHT, CTRL);
    EXPECT_EQ(Caret(), ideographs + 6);
    // A double click inside "Übergröße" selects all of it.
    Mouse(wxEVT_LEFT_DCLICK, Cell(8, 0) + wxPoint(1, 2));
    Mouse(wxEVT_LEFT_UP, Cell(8, 0) + wxPoint(1, 2));
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(4, 0));
    EXPECT_EQ(e, TextPos(afterWord - 1, 0));
}

TEST_F(Utf8EditTest, WideCharactersTakeTwoCellsForVerticalMovesAndTheMouse)
{
    Load("\xE8\xAA\x9E\xE8\xAA\x9Ex\r\nabcdefg");
    view->PutCaret(TextPos(6, 0)); // after two ideographs: column 4
    EXPECT_EQ(view->DisplayColumn(view->GetCaretPos()), 4);
    Key(WXK_DOWN);
    EXPECT_EQ(view->GetCaretPos(), TextPos(4, 1));
    Key(WXK_RIGHT);
    Key(WXK_UP); // column 5 lies inside nothing: after "x"
    EXPECT_EQ(view->GetCaretPos(), TextPos(7, 0));
    Key(WXK_DOWN);
    Key(WXK_LEFT);
    Key(WXK_LEFT);
    Key(WXK_UP); // column 3, the middle of the second ideograph: before it
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 0));
    // Clicks: the cells of each ideograph belong to it.
    Mouse(wxEVT_LEFT_DOWN, Cell(1, 0) + wxPoint(1, 2));
    Mouse(wxEVT_LEFT_UP, Cell(1, 0) + wxPoint(1, 2));
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    Mouse(wxEVT_LEFT_DOWN, Cell(2, 0) + wxPoint(1, 2));
    Mouse(wxEVT_LEFT_UP, Cell(2, 0) + wxPoint(1, 2));
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 0));
    EXPECT_EQ(view->DisplayLength(0), 5);
}

TEST_F(Utf8EditTest, SelectionGoesThroughTheRealClipboardAsCharacters)
{
    Load("// Grüße aus Köln: € 語\r\n");
    view->SetAnchorPos(TextPos(3, 0));
    const int end = static_cast<int>(std::string("// Grüße aus Köln: € 語").size());
    view->SetSelectionRange(TextPos(3, 0), TextPos(end, 0));
    view->MoveCaretTo(TextPos(end, 0));
    Key('C', CTRL);
    {
        wxClipboardLocker lock;
        ASSERT_TRUE(!!lock);
        wxTextDataObject data;
        ASSERT_TRUE(wxTheClipboard->GetData(data));
        EXPECT_EQ(data.GetText().utf8_string(), "Grüße aus Köln: € 語");
    }
    view->PutCaret(TextPos(0, 1));
    Key('V', CTRL);
    EXPECT_EQ(Line(1), "Grüße aus Köln: € 語");
    EXPECT_EQ(view->GetCaretPos(), TextPos(end - 3, 1));
    // Saved bytes are the file's: nothing converted on the way.
    std::string all;
    buffer->ExtractText(0, 0, 1, buffer->LineLength(1), all);
    EXPECT_EQ(all, "// Grüße aus Köln: € 語\r\nGrüße aus Köln: € 語");
}
