#include "editor/SelectionModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Lines given as strings; none means one empty line, as a view without text.
class CLines : public ITextLines {
public:
    explicit CLines(std::vector<std::string> lines, TextEncoding encoding = TextEncoding::Cp1252)
        : m_lines(std::move(lines)), m_encoding(encoding)
    {
    }
    int LineCount() const override { return m_lines.empty() ? 1 : static_cast<int>(m_lines.size()); }
    int LineLength(int line) const override
    {
        return line < static_cast<int>(m_lines.size()) ? static_cast<int>(m_lines[line].size()) : 0;
    }
    const char* LineChars(int line) const override
    {
        return line < static_cast<int>(m_lines.size()) ? m_lines[line].data() : nullptr;
    }
    TextEncoding Encoding() const override { return m_encoding; }

private:
    std::vector<std::string> m_lines;
    TextEncoding m_encoding;
};

CSelectionModel At(TextPos caret)
{
    CSelectionModel m;
    m.SetCaret(caret);
    m.SetAnchor(caret);
    m.SetSelection(caret, caret);
    return m;
}

} // namespace

TEST(SelectionModel, ResetPutsEverythingAtTheStart)
{
    CSelectionModel m;
    m.SetCaret(TextPos(3, 4));
    m.SetAnchor(TextPos(1, 1));
    m.SetSelection(TextPos(1, 1), TextPos(3, 4));
    m.SetIdealColumn(7);
    m.Reset();
    EXPECT_EQ(m.Caret(), TextPos(0, 0));
    EXPECT_EQ(m.Anchor(), TextPos(0, 0));
    EXPECT_FALSE(m.IsSelection());
    EXPECT_EQ(m.IdealColumn(), -1);
}

TEST(SelectionModel, OrderedSelectionAndInsideTest)
{
    CSelectionModel m;
    m.SetSelection(TextPos(2, 3), TextPos(5, 1)); // set backwards
    EXPECT_TRUE(m.IsSelection());
    TextPos s, e;
    m.GetOrdered(s, e);
    EXPECT_EQ(s, TextPos(5, 1));
    EXPECT_EQ(e, TextPos(2, 3));
    EXPECT_EQ(m.SelectionStart(), TextPos(2, 3)) << "the selection as set keeps its direction";
    EXPECT_TRUE(m.IsInside(TextPos(5, 1)));
    EXPECT_TRUE(m.IsInside(TextPos(0, 2)));
    EXPECT_FALSE(m.IsInside(TextPos(2, 3))) << "the end is outside";
    EXPECT_FALSE(m.IsInside(TextPos(4, 1)));
}

TEST(SelectionModel, AdjustMovesCaretAnchorAndBothEnds)
{
    CSelectionModel m;
    m.SetCaret(TextPos(4, 2));
    m.SetAnchor(TextPos(1, 0));
    m.SetSelection(TextPos(1, 0), TextPos(4, 2));
    // Two lines inserted on line 1: everything after moves down.
    m.Adjust(InsertionChange(TextPos(0, 1), TextPos(0, 3)));
    EXPECT_EQ(m.Caret(), TextPos(4, 4));
    EXPECT_EQ(m.SelectionEnd(), TextPos(4, 4));
    EXPECT_EQ(m.Anchor(), TextPos(1, 0));
    // Inserted at the anchor itself: the anchor stays before the new text.
    m.Adjust(InsertionChange(TextPos(1, 0), TextPos(3, 0)));
    EXPECT_EQ(m.Anchor(), TextPos(1, 0));
    EXPECT_EQ(m.SelectionStart(), TextPos(1, 0));
    // A deletion around the caret takes it to the deletion's start.
    m.Adjust(DeletionChange(TextPos(2, 3), TextPos(6, 4)));
    EXPECT_EQ(m.Caret(), TextPos(2, 3));
    EXPECT_EQ(m.SelectionEnd(), TextPos(2, 3));
}

TEST(SelectionModel, CharMovesCrossLineBreaksAndCollapseASelection)
{
    CLines text({"ab", "cd"});
    CSelectionModel m = At(TextPos(0, 1));
    m.CharLeft(text, false);
    EXPECT_EQ(m.Caret(), TextPos(2, 0));
    m.CharRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(0, 1));
    m = At(TextPos(0, 0));
    m.CharLeft(text, false);
    EXPECT_EQ(m.Caret(), TextPos(0, 0)) << "nothing before the text";
    m = At(TextPos(2, 1));
    m.CharRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(2, 1)) << "nothing after the text";

    // With a selection and no extend, the caret goes to the selection's end
    // in the direction of the move.
    m.SetSelection(TextPos(1, 1), TextPos(1, 0));
    m.SetCaret(TextPos(1, 0));
    m.CharRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(1, 1));
    m.SetCaret(TextPos(1, 1));
    m.CharLeft(text, false);
    EXPECT_EQ(m.Caret(), TextPos(1, 0));
    // Extending moves one character from the caret.
    m.SetCaret(TextPos(1, 1));
    m.CharLeft(text, true);
    EXPECT_EQ(m.Caret(), TextPos(0, 1));
}

TEST(SelectionModel, WordMoves)
{
    CLines text({"int value = 42;", "  next"});
    CSelectionModel m = At(TextPos(0, 0));
    m.WordRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(4, 0));
    m.WordRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(10, 0));
    m = At(TextPos(15, 0));
    m.WordRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(0, 1)) << "at the line end, over the line break";
    m.WordLeft(text, false);
    EXPECT_EQ(m.Caret(), TextPos(14, 0)) << "from a line start, into the line before";
    m = At(TextPos(0, 0));
    m.WordLeft(text, false);
    EXPECT_EQ(m.Caret(), TextPos(0, 0));
}

TEST(SelectionModel, VerticalMovesKeepTheIdealColumnAcrossShortLinesAndTabs)
{
    CLines text({"abcdefgh", "ab", "\tx", "abcdefgh"});
    CSelectionModel m = At(TextPos(6, 0));
    m.LineDown(text, 4, false);
    EXPECT_EQ(m.Caret(), TextPos(2, 1)) << "short line: its end";
    EXPECT_EQ(m.IdealColumn(), 6);
    m.LineDown(text, 4, false);
    EXPECT_EQ(m.Caret(), TextPos(2, 2)) << "column 6 is past \"\\tx\" (5 columns)";
    m.LineDown(text, 4, false);
    EXPECT_EQ(m.Caret(), TextPos(6, 3)) << "back at the wanted column";
    m.LineDown(text, 4, false);
    EXPECT_EQ(m.Caret(), TextPos(6, 3)) << "the last line stays";
    m.LineUp(text, 4, false);
    m.LineUp(text, 4, false);
    m.LineUp(text, 4, false);
    EXPECT_EQ(m.Caret(), TextPos(6, 0));
    // The column comes from the caret when none is set, tabs expanded.
    m = At(TextPos(1, 2));
    m.LineUp(text, 4, false);
    EXPECT_EQ(m.IdealColumn(), 4);
    EXPECT_EQ(m.Caret(), TextPos(2, 1));
}

TEST(SelectionModel, PageStepsStopAtTheEndsAndKeepTheIndex)
{
    CLines text({"long line", "x", "long line", "long line"});
    CSelectionModel m = At(TextPos(5, 0));
    m.PageStep(text, 2);
    EXPECT_EQ(m.Caret(), TextPos(5, 2));
    m.PageStep(text, 10);
    EXPECT_EQ(m.Caret(), TextPos(5, 3));
    m.PageStep(text, -2);
    EXPECT_EQ(m.Caret(), TextPos(1, 1)) << "shortened to the line";
    m.PageStep(text, -10);
    EXPECT_EQ(m.Caret(), TextPos(1, 0));
}

TEST(SelectionModel, HomeEndAndTextEnds)
{
    CLines text({"    code", "last"});
    CSelectionModel m = At(TextPos(6, 0));
    m.SmartHome(text);
    EXPECT_EQ(m.Caret(), TextPos(4, 0));
    m.SmartHome(text);
    EXPECT_EQ(m.Caret(), TextPos(0, 0));
    m.LineEnd(text);
    EXPECT_EQ(m.Caret(), TextPos(8, 0));
    m.TextEnd(text);
    EXPECT_EQ(m.Caret(), TextPos(4, 1));
    m.TextBegin();
    EXPECT_EQ(m.Caret(), TextPos(0, 0));
    CLines empty({});
    m.TextEnd(empty);
    EXPECT_EQ(m.Caret(), TextPos(0, 0));
}

TEST(SelectionModel, LineAndWordSelections)
{
    CLines text({"alpha beta", "gamma", "delta"});
    TextPos s, e;
    CSelectionModel::LineSelection(text, 1, 0, s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_EQ(e, TextPos(0, 2));
    CSelectionModel::LineSelection(text, 2, 2, s, e);
    EXPECT_EQ(e, TextPos(5, 2)) << "the last line ends at its end";
    CSelectionModel::WordSelection(text, TextPos(8, 0), TextPos(2, 0), s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_EQ(e, TextPos(10, 0));

    CSelectionModel m = At(TextPos(7, 0));
    m.ExtendWordSelection(text, TextPos(2, 1), s, e);
    EXPECT_EQ(s, TextPos(6, 0));
    EXPECT_EQ(e, TextPos(5, 1));
    EXPECT_EQ(m.Caret(), TextPos(5, 1));
    m.ExtendWordSelection(text, TextPos(2, 0), s, e);
    EXPECT_EQ(s, TextPos(10, 0)) << "backwards: from the anchor's word end";
    EXPECT_EQ(e, TextPos(0, 0));
    EXPECT_EQ(m.Caret(), TextPos(0, 0));
}

TEST(SelectionModel, Utf8MovesStepOverWholeCharacters)
{
    // "ä€語" then "abcdef": ä 0-1, € 2-4, 語 5-7 (columns 0, 1, 2-3).
    CLines text({"\xC3\xA4\xE2\x82\xAC\xE8\xAA\x9E", "abcdef"}, TextEncoding::Utf8);
    CSelectionModel m = At(TextPos(0, 0));
    m.CharRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(2, 0));
    m.CharRight(text, false);
    m.CharRight(text, false);
    EXPECT_EQ(m.Caret(), TextPos(8, 0));
    m.CharLeft(text, false);
    EXPECT_EQ(m.Caret(), TextPos(5, 0));
    m.LineDown(text, 4, false);
    EXPECT_EQ(m.Caret(), TextPos(2, 1)) << "column 2 below the ideograph";
    m.SetIdealColumn(-1);
    m.SetCaret(TextPos(4, 1));
    m.LineUp(text, 4, false);
    EXPECT_EQ(m.Caret(), TextPos(8, 0)) << "column 4: after the ideograph";
    // A page step keeping an index that falls inside a character moves to its start.
    m.SetCaret(TextPos(3, 1));
    m.PageStep(text, -1);
    EXPECT_EQ(m.Caret(), TextPos(2, 0));
}
