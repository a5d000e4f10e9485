#include "editor/DisplayLengths.h"
#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CEditableLines : public ITextLines {
public:
    std::vector<std::string> lines;
    int LineCount() const override { return lines.empty() ? 1 : static_cast<int>(lines.size()); }
    int LineLength(int line) const override
    {
        return line < static_cast<int>(lines.size()) ? static_cast<int>(lines[line].size()) : 0;
    }
    const char* LineChars(int line) const override
    {
        return line < static_cast<int>(lines.size()) ? lines[line].data() : nullptr;
    }
    TextEncoding Encoding() const override { return TextEncoding::Cp1252; }
};

int Walk(const CEditableLines& t, int tab)
{
    int m = 0;
    for (const std::string& l : t.lines)
        m = std::max(m, textlayout::DisplayLength(l.data(), static_cast<int>(l.size()), tab));
    return m;
}

} // namespace

TEST(DisplayLengths, LengthsFollowTheTabWidth)
{
    CEditableLines t;
    t.lines = {"a\tb", "abcdef"};
    CDisplayLengths d(t);
    EXPECT_EQ(d.Get(0), 5);
    EXPECT_EQ(d.Max(), 6);
    d.SetTabWidth(8);
    EXPECT_EQ(d.Get(0), 9);
    EXPECT_EQ(d.Max(), 9);
    EXPECT_EQ(d.Get(-1), 0);
    EXPECT_EQ(d.Get(5), 0);
}

TEST(DisplayLengths, TheLongestLineFollowsEveryKindOfEdit)
{
    CEditableLines t;
    t.lines = {"short", "the longest line", "mid line"};
    CDisplayLengths d(t);
    ASSERT_EQ(d.Max(), 16);

    // One line grows past the longest.
    t.lines[0] = "short, and now much longer";
    d.LineChanged(0);
    EXPECT_EQ(d.Max(), Walk(t, 4));
    // The longest one shrinks: the next longest takes over.
    t.lines[0] = "s";
    d.LineChanged(0);
    EXPECT_EQ(d.Max(), Walk(t, 4));

    // Lines inserted after line 1 (a line break typed into it plus one line).
    t.lines = {"s", "the longest", " line", "a line longer than all the others", "mid line"};
    const InsertionChange inserted(TextPos(11, 1), TextPos(0, 3));
    d.LinesChanged(&inserted, 1);
    EXPECT_EQ(d.Max(), Walk(t, 4));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(d.Get(i), textlayout::DisplayLength(t.lines[i].data(), static_cast<int>(t.lines[i].size()), 4))
            << i;

    // The longest line deleted with the ones around it.
    t.lines = {"s", "the longestmid line"};
    const DeletionChange deleted(TextPos(11, 1), TextPos(0, 4));
    d.LinesChanged(&deleted, 1);
    EXPECT_EQ(d.Max(), Walk(t, 4));
    EXPECT_EQ(d.Get(1), 19);

    // Without a change notice everything from the line on is measured anew.
    t.lines = {"s", "x", "\t\t\tthree tabs"};
    d.LinesChanged(nullptr, 1);
    EXPECT_EQ(d.Max(), Walk(t, 4));
    EXPECT_EQ(d.Get(2), 22);
}

TEST(DisplayLengths, MemoryIsFourBytesALineAndClearFreesIt)
{
    CEditableLines t;
    t.lines.assign(1000, "line");
    CDisplayLengths d(t);
    d.Get(999);
    EXPECT_EQ(d.Memory(), 4000u);
    d.Clear();
    EXPECT_EQ(d.Memory(), 0u);
}
