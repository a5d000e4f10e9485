// Text blocks and the date-and-time entries going into a real edit view:
// the caret marker, automatic indentation, the selection, one undo step,
// big blocks, and Ctrl+Shift+D inserting what the submenu showed.
#include "EditorTestUtil.h"

#include "editor/DateTimeList.h"
#include "resources/CommandIds.h"

#include <cstdlib>

using namespace edtest;

namespace {

std::time_t LocalTime(int year, int month, int day, int hour, int minute)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// Block 1 as it ships.
const std::string kIfBlock = "if (\xA7)\r\n{\r\n}";

class TextBlockInsertTest : public EditorTest {
protected:
    void Select(TextPos a, TextPos b)
    {
        view->SetAnchorPos(a);
        view->SetSelectionRange(a, b);
        view->MoveCaretTo(b);
    }
};

TEST_F(TextBlockInsertTest, BlockOneOnALineOfFourBlanksWithAndWithoutAutoIndent)
{
    view->SetAutoIndent(true);
    SetText("    ");
    view->PutCaret(TextPos(4, 0));
    view->InsertTextBlock(kIfBlock);
    EXPECT_EQ(Text(), "    if ()\n    {\n    }");
    EXPECT_EQ(view->GetCaretPos(), TextPos(8, 0));
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Einfügen\tStrg+Z");

    view->SetAutoIndent(false);
    SetText("    ");
    view->PutCaret(TextPos(4, 0));
    view->InsertTextBlock(kIfBlock);
    EXPECT_EQ(Text(), "    if ()\n{\n}");
    EXPECT_EQ(view->GetCaretPos(), TextPos(8, 0));
}

TEST_F(TextBlockInsertTest, MarkersPlaceTheCaretAndAreAllRemoved)
{
    view->SetAutoIndent(true);
    // No marker: the caret ends behind the block.
    SetText("  x");
    view->PutCaret(TextPos(3, 0));
    view->InsertTextBlock("ab\r\ncd");
    EXPECT_EQ(Text(), "  xab\n  cd");
    EXPECT_EQ(view->GetCaretPos(), TextPos(4, 1));

    // Two markers: both go, the caret takes the first.
    SetText("");
    view->InsertTextBlock("a\xA7" "b\xA7" "c");
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(view->GetCaretPos(), TextPos(1, 0));

    // A marker on the third line: its column plus the added indentation.
    SetText("\t\tq");
    view->PutCaret(TextPos(3, 0));
    view->InsertTextBlock("1\r\n2\r\n34\xA7" "5");
    EXPECT_EQ(Text(), "\t\tq1\n\t\t2\n\t\t345");
    EXPECT_EQ(view->GetCaretPos(), TextPos(4, 2));
}

TEST_F(TextBlockInsertTest, TheSelectionStaysAndOneUndoRemovesTheBlock)
{
    view->SetAutoIndent(true);
    SetText("one two");
    Select(TextPos(0, 0), TextPos(3, 0));
    view->InsertTextBlock(kIfBlock);
    // The selected word is still there; the block went in at the caret.
    EXPECT_EQ(Text(), "oneif ()\n{\n} two");
    EXPECT_EQ(view->GetCaretPos(), TextPos(7, 0));
    TextPos a, b;
    view->GetSelectionRange(a, b);
    EXPECT_EQ(a, b);
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "one two");
    // An empty block still forms a step and modifies the document.
    buffer->MarkModified(false);
    view->InsertTextBlock("");
    EXPECT_TRUE(buffer->IsModified());
    EXPECT_EQ(UndoLabel(), "&Rückgängig: Einfügen\tStrg+Z");
}

TEST_F(TextBlockInsertTest, BigBlocksAndOddLineBreaks)
{
    view->SetAutoIndent(true);
    SetText("  ");
    view->PutCaret(TextPos(2, 0));
    // A lone CR breaks a line as the buffer reads it; a NUL is a character.
    view->InsertTextBlock(std::string("a\rb\0c", 5));
    EXPECT_EQ(buffer->LineCount(), 2);
    EXPECT_EQ(Line(0), "  a");
    EXPECT_EQ(Line(1), std::string("  b\0c", 5));

    // One megabyte in one line, and a thousand lines.
    SetText("");
    view->InsertTextBlock(std::string(1 << 20, 'x') + "\xA7");
    EXPECT_EQ(view->GetCaretPos(), TextPos(1 << 20, 0));
    std::string lines;
    for (int i = 0; i < 1000; ++i)
        lines += "line\r\n";
    SetText("\t");
    view->PutCaret(TextPos(1, 0));
    view->InsertTextBlock(lines);
    EXPECT_EQ(buffer->LineCount(), 1001);
    EXPECT_EQ(Line(999), "\tline");
    EXPECT_EQ(view->GetCaretPos(), TextPos(1, 1000));
    Key('Z', CTRL);
    EXPECT_EQ(Text(), "\t");
}

// Ctrl+Shift+D inserts entry 0 as it was formatted when the list was last
// built, not a fresh one; before any build the key builds the list itself.
TEST_F(TextBlockInsertTest, CtrlShiftDInsertsTheFirstEntryOfTheLastBuild)
{
    CDateTimeList& list = CDateTimeList::Program();
    list.Rebuild(LocalTime(2001, 1, 2, 3, 4), "C");
    ASSERT_FALSE(list.Entries().empty());
    SetText("ab");
    view->PutCaret(TextPos(1, 0));
    Key('D', CTRL | SHIFT);
    EXPECT_EQ(Text(), "a01/02/01b");
    EXPECT_EQ(view->GetCaretPos(), TextPos(1, 0));
    // The other entries by their commands; one past the list does nothing.
    SetText("");
    view->HandleCommand(kib::ID_INSERT_DATETIME_FIRST + 2);
    EXPECT_EQ(Text(), "03:04:00");
    SetText("");
    view->HandleCommand(kib::ID_INSERT_DATETIME_FIRST + static_cast<int>(list.Entries().size()));
    view->HandleCommand(kib::ID_INSERT_DATETIME_LAST);
    EXPECT_EQ(Text(), "");
}

TEST_F(TextBlockInsertTest, GermanDatesAndBlocksGoInInTheDocumentsEncoding)
{
    CDateTimeList& list = CDateTimeList::Program();
    list.Rebuild(LocalTime(2026, 3, 3, 9, 30), "de_DE.UTF-8");
    ASSERT_EQ(list.LocaleName(), "de_DE.UTF-8") << "the German locale is part of the set-up";
    ASSERT_GE(list.Entries().size(), 2u);
    ASSERT_TRUE(buffer->LoadFromMemory("", -1, TextEncoding::Cp1252));
    view->HandleCommand(kib::ID_INSERT_DATETIME_FIRST + 1);
    EXPECT_EQ(Text(), "Di 03 M\xE4r 2026");
    ASSERT_TRUE(buffer->LoadFromMemory("", -1, TextEncoding::Utf8));
    view->HandleCommand(kib::ID_INSERT_DATETIME_FIRST + 1);
    EXPECT_EQ(Text(), "Di 03 Mär 2026");
    // A block's settings bytes are Windows-1252; in a UTF-8 document its
    // umlauts become UTF-8 and its caret marker still places the caret.
    ASSERT_TRUE(buffer->LoadFromMemory("", -1, TextEncoding::Utf8));
    view->ResetViewState();
    view->InsertTextBlock("// Gr\xFC\xDF" "e \xA7\x80");
    EXPECT_EQ(Text(), "// Grüße €");
    EXPECT_EQ(view->GetCaretPos(), TextPos(static_cast<int>(std::string("// Grüße ").size()), 0));
}

} // namespace
