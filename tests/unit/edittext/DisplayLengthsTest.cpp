#include "editor/DisplayLengths.h"
#include "editor/TextBuffer.h"
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

namespace {

// A loaded buffer's lines, with what the load knows of plain lines.
class CBufferLines : public ITextLines {
public:
    explicit CBufferLines(const CTextBuffer& b) : m_b(b) {}
    int LineCount() const override { return m_b.LineCount(); }
    int LineLength(int line) const override { return m_b.LineLength(line); }
    const char* LineChars(int line) const override { return m_b.LineChars(line); }
    TextEncoding Encoding() const override { return m_b.Encoding(); }
    // Plain lines only, one at a time.
    void KnownLengths(int first, int count, int, int32_t* out) const override
    {
        for (int k = 0; k < count; ++k)
            out[k] = m_b.IsPlainLine(first + k) ? m_b.LineLength(first + k) : -1;
    }

protected:
    const CTextBuffer& m_b;
};

// The same, giving all the load knows (plain and tab-indented lines) a block
// at a time, as the view does.
class CBufferBlockLines : public CBufferLines {
public:
    using CBufferLines::CBufferLines;
    void KnownLengths(int first, int count, int tabWidth, int32_t* out) const override
    {
        m_b.KnownLengths(first, count, tabWidth, out);
    }
};

// The line's display length laid out from its bytes.
int LaidOut(const CTextBuffer& b, int line, int tab)
{
    return textlayout::DisplayLength(b.LineChars(line), b.LineLength(line), tab, b.Encoding());
}

} // namespace

TEST(DisplayLengths, PlainLinesOfALoadMeasureLikeTheirBytes)
{
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFromMemory("plain line\n\tx\n\xC3\xA4\xC3\xA4\xC3\xA4\nab\tc\nthe plain longest\n"));
    ASSERT_EQ(b.Encoding(), TextEncoding::Utf8);
    CBufferLines lines(b);
    CDisplayLengths d(lines);
    for (int tab : {4, 8, 20}) {
        d.SetTabWidth(tab);
        int longest = 0;
        for (int i = 0; i < b.LineCount(); ++i) {
            EXPECT_EQ(d.Get(i), LaidOut(b, i, tab)) << "line " << i << " tab " << tab;
            longest = std::max(longest, LaidOut(b, i, tab));
        }
        d.Clear();
        EXPECT_EQ(d.Max(), longest) << tab;
    }
    // A tab typed into the longest plain line makes it longer still.
    d.SetTabWidth(8);
    ASSERT_EQ(d.Max(), 17);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 4, 0, "\t", el, ec, ACT_TYPING));
    d.LineChanged(4);
    EXPECT_EQ(d.Get(4), 25);
    EXPECT_EQ(d.Max(), 25);
}

TEST(DisplayLengths, TabIndentedLinesOfALoadMeasureLikeTheirBytes)
{
    const std::string most(CLineTable::kMaxLeadTabs, '\t');
    const std::vector<std::string> rows = {"\tx", "\t\tint a;", "\t \tb", "\t\xC3\xA4", most + "y", most + "\tz",
                                           "\t", "", "\t\t", "x\ty"};
    std::string text;
    for (const std::string& r : rows)
        text += r + "\n";
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFromMemory(text));
    ASSERT_EQ(b.Encoding(), TextEncoding::Utf8);
    CBufferBlockLines lines(b);
    CDisplayLengths d(lines);
    for (int tab : {1, 4, 8}) {
        d.SetTabWidth(tab);
        EXPECT_EQ(d.Max(), LaidOut(b, 5, tab)) << tab;
        for (int i = 0; i < b.LineCount(); ++i)
            EXPECT_EQ(d.Get(i), LaidOut(b, i, tab)) << "line " << i << " tab " << tab;
    }
    // Known from the load: tabs before plain text only, and no more of them
    // than the table counts.
    std::vector<int32_t> known(rows.size());
    b.KnownLengths(0, static_cast<int>(rows.size()), 4, known.data());
    EXPECT_EQ(known, (std::vector<int32_t>{5, 14, -1, -1, 4 * CLineTable::kMaxLeadTabs + 1, -1, 4, 0, 8, -1}));
    // A tab typed after the indentation of the longest line: measured anew.
    d.SetTabWidth(4);
    ASSERT_EQ(d.Max(), 4 * CLineTable::kMaxLeadTabs + 5);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 4, CLineTable::kMaxLeadTabs + 1, "\t\t", el, ec, ACT_TYPING));
    d.LineChanged(4);
    EXPECT_EQ(d.Get(4), 4 * CLineTable::kMaxLeadTabs + 8);
    EXPECT_EQ(d.Max(), 4 * CLineTable::kMaxLeadTabs + 8);
}

TEST(DisplayLengths, LongestLineAmongManyThatNeedLayingOut)
{
    // More lines with tabs than one batch holds, plain ones between them,
    // and the longest at every place in turn.
    for (int longest : {0, 31, 32, 33, 70, 99}) {
        std::string text;
        for (int i = 0; i < 100; ++i)
            text += (i % 3 ? "\tab" : "plain") + std::string(i == longest ? 30 : i % 7, 'x') + "\n";
        CTextBuffer b;
        ASSERT_TRUE(b.LoadFromMemory(text));
        CBufferLines lines(b);
        CDisplayLengths d(lines);
        d.SetTabWidth(8);
        int expected = 0;
        for (int i = 0; i < b.LineCount(); ++i)
            expected = std::max(expected, textlayout::DisplayLength(b.LineChars(i), b.LineLength(i), 8, b.Encoding()));
        EXPECT_EQ(d.Max(), expected) << longest;
        for (int i = 0; i < b.LineCount(); ++i)
            ASSERT_EQ(d.Get(i), textlayout::DisplayLength(b.LineChars(i), b.LineLength(i), 8, b.Encoding())) << i;
    }
}

TEST(DisplayLengths, TheLongestOfATextScannedInTwoHalves)
{
    // Enough lines for the scan to split; the longest below the split, on
    // it, just above it, at the end and on a block's edge, with tabs in
    // every third line.
    const int count = CDisplayLengths::kParallelFrom + 5000;
    for (int longest : {7, count / 2 - 1, count / 2, count / 2 + 1, 4096, count - 1}) {
        std::string text;
        text.reserve(static_cast<size_t>(count) * 12);
        for (int i = 0; i < count; ++i) {
            text += i % 3 ? "ab" : "\tab";
            text.append(i == longest ? 40 : static_cast<size_t>(i % 5), 'x');
            text += '\n';
        }
        text.pop_back();
        CTextBuffer b;
        ASSERT_TRUE(b.LoadFromMemory(text));
        ASSERT_EQ(b.LineCount(), count);
        CBufferBlockLines lines(b);
        CDisplayLengths d(lines);
        d.SetTabWidth(8);
        const int want = (longest % 3 ? 2 : 10) + 40;
        EXPECT_EQ(d.Max(), want) << longest;
        int wrong = 0;
        for (int i = 0; i < count; ++i)
            wrong += d.Get(i) != textlayout::DisplayLength(b.LineChars(i), b.LineLength(i), 8, b.Encoding());
        EXPECT_EQ(wrong, 0) << longest;
    }
}
