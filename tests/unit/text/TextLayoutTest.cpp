#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace textlayout;

int Col(const std::string& s, int x, int tab = 4)
{
    return DisplayColumn(s.data(), static_cast<int>(s.size()), x, tab);
}

// A line of parts pieces, each chosen from the eight by the running seed.
std::string MixedLine(const std::string (&pieces)[8], unsigned& seed, int parts)
{
    std::string line;
    for (int k = 0; k < parts; ++k) {
        seed = seed * 1103515245u + 12345u;
        line += pieces[(seed >> 16) % 8];
    }
    return line;
}

TEST(TextLayout, TabsMoveToTheNextStop)
{
    const std::string line = "a\tb";
    EXPECT_EQ(DisplayLength(line.data(), 3, 4), 5);
    EXPECT_EQ(Col(line, 2), 4); // b starts at column 4
    EXPECT_EQ(Col("\t\t", 2), 8);
    EXPECT_EQ(Col("abcd\t", 5), 8); // a tab right on a stop takes a full width
    EXPECT_EQ(Col("abc", 99), 3);   // clamped to the line
    EXPECT_EQ(Col("a\tb", 2, 8), 8);
    EXPECT_EQ(Col("a\tb", 2, 0), 2); // a zero tab width counts as 1
}

// A line measured piece by piece ends where the whole line does, however it
// is cut (a tab's width depends on the column it starts at).
TEST(TextLayout, ColumnAfterContinuesFromWhereTheLineStands)
{
    const std::string line = "ab\tc\t\tdefghij\tk\t";
    const int whole = DisplayLength(line.data(), static_cast<int>(line.size()), 4);
    for (size_t cut = 0; cut <= line.size(); ++cut) {
        int head = ColumnAfter(line.data(), static_cast<int>(cut), 0, 4);
        EXPECT_EQ(head, Col(line, static_cast<int>(cut))) << cut;
        EXPECT_EQ(ColumnAfter(line.data() + cut, static_cast<int>(line.size() - cut), head, 4), whole) << cut;
    }
    EXPECT_EQ(ColumnAfter("\t", 1, 3, 4), 4);
    EXPECT_EQ(ColumnAfter("\t", 1, 4, 4), 8);
    EXPECT_EQ(ColumnAfter("", 0, 7, 4), 7);
}

// The word-at-a-time count gives what one character after another gives,
// wherever tabs, wide characters and bad bytes fall in a word and the tail.
TEST(TextLayout, ColumnAfterCountsLikeCharacterByCharacter)
{
    const std::string pieces[] = {"a", "bc", "\t", "\xC3\xA4", "\xE4\xB8\xAD", "\xFF", "\xE2\x82", "        "};
    unsigned x = 7;
    for (int n = 0; n < 3000; ++n) {
        // Short lines and lines past the long-line search alike.
        const std::string line = MixedLine(pieces, x, n % 10 == 9 ? 200 + n % 300 : n % 23);
        const int len = static_cast<int>(line.size());
        for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp1252})
            for (int tab : {1, 3, 4, 8})
                for (int start : {0, 1, 5}) {
                    int expected = start;
                    for (int i = 0, next; i < len; i = next)
                        expected += CharCells(line.data(), len, i, expected, tab, encoding, next);
                    ASSERT_EQ(ColumnAfter(line.data(), len, start, tab, encoding), expected)
                        << "line " << n << " tab " << tab << " start " << start;
                }
    }
}

TEST(TextLayout, ColumnToCharRoundsInsideTabs)
{
    const std::string line = "\tx"; // tab covers columns 0..3
    int n = static_cast<int>(line.size());
    EXPECT_EQ(ColumnToChar(line.data(), n, 0, 4), 0);
    EXPECT_EQ(ColumnToChar(line.data(), n, 1, 4), 0);
    EXPECT_EQ(ColumnToChar(line.data(), n, 2, 4), 0);
    EXPECT_EQ(ColumnToChar(line.data(), n, 3, 4), 1);
    EXPECT_EQ(ColumnToChar(line.data(), n, 4, 4), 1);
    EXPECT_EQ(ColumnToChar(line.data(), n, 5, 4), 2);
    EXPECT_EQ(ColumnToChar(line.data(), n, 40, 4), 2);
    // Plain characters land exactly, also with tab width 1.
    const std::string plain = "abcdefghijkl";
    EXPECT_EQ(ColumnToChar(plain.data(), 12, 9, 4), 9);
    EXPECT_EQ(ColumnToChar(plain.data(), 12, 9, 1), 9);
    EXPECT_EQ(ColumnToChar(plain.data(), 12, 0, 4), 0);
}

TEST(TextLayout, HitTestPicksTheCharacterUnderTheColumn)
{
    const std::string line = "a\tb";
    EXPECT_EQ(HitColumnToChar(line.data(), 3, 0, 4), 0);
    EXPECT_EQ(HitColumnToChar(line.data(), 3, 1, 4), 1);
    EXPECT_EQ(HitColumnToChar(line.data(), 3, 3, 4), 1);
    EXPECT_EQ(HitColumnToChar(line.data(), 3, 4, 4), 2);
    EXPECT_EQ(HitColumnToChar(line.data(), 3, 5, 4), 3);
    EXPECT_EQ(HitColumnToChar(line.data(), 3, 500, 4), 3);
}

// The three column-to-index rules side by side on one tab of three cells
// (columns 1..3): the vertical move, the text view's hit test and the
// nearest boundary of the output pane.
TEST(TextLayout, NearestCharToColumnSplitsEachCharacterAtItsMiddle)
{
    const std::string line = "a\tb"; // a: 0, tab: 1..3, b: 4
    const int n = 3;
    const int nearest[] = {0, 1, 1, 2, 2, 3, 3, 3};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(NearestCharToColumn(line.data(), n, column, 4), nearest[column]) << column;
    EXPECT_EQ(ColumnToChar(line.data(), n, 2, 4), 1);
    EXPECT_EQ(HitColumnToChar(line.data(), n, 2, 4), 1);
    EXPECT_EQ(NearestCharToColumn(line.data(), n, 2, 4), 1) << "1 + 4 > 2 * 2: still before the tab";
    // A full tab: its middle goes after it.
    EXPECT_EQ(NearestCharToColumn("\tx", 2, 3, 8), 0);
    EXPECT_EQ(NearestCharToColumn("\tx", 2, 4, 8), 1);
    EXPECT_EQ(NearestCharToColumn("\tx", 2, 8, 8), 1);
    EXPECT_EQ(NearestCharToColumn("\tx", 2, 9, 8), 2);
    EXPECT_EQ(NearestCharToColumn("", 0, 5, 8), 0);
    EXPECT_EQ(NearestCharToColumn("a\tb", 3, 2, 0), 2) << "a zero tab width counts as 1";
}

TEST(TextLayout, FirstCharAtColumnFindsWherePaintingStarts)
{
    const std::string line = "ab\tcd";
    int start = -1;
    EXPECT_EQ(FirstCharAtColumn(line.data(), 5, 0, 4, start), 0);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(FirstCharAtColumn(line.data(), 5, 3, 4, start), 2); // inside the tab
    EXPECT_EQ(start, 2);
    EXPECT_EQ(FirstCharAtColumn(line.data(), 5, 4, 4, start), 3);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(FirstCharAtColumn(line.data(), 5, 9, 4, start), 5);
    EXPECT_EQ(start, 6);
}

TEST(TextLayout, FirstCharAtColumnAgreesWithACharacterByCharacterWalk)
{
    const std::string pieces[] = {"a", "bcdefghijklmnopqrstuvwxyz", "\t", "\xC3\xA4", "\xE4\xB8\xAD", "\xFF", "\xE2\x82",
                                  "        "};
    unsigned x = 11;
    for (int n = 0; n < 600; ++n) {
        const std::string line = MixedLine(pieces, x, n % 10 == 9 ? 100 + n % 200 : n % 23);
        const int len = static_cast<int>(line.size());
        for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp1252})
            for (int tab : {1, 4, 8}) {
                const int length = ColumnAfter(line.data(), len, 0, tab, encoding);
                for (int wanted = -2; wanted <= length + 3; wanted += len > 200 ? 7 : 1) {
                    int wantStart = 0, wantChar = len;
                    for (int i = 0, col = 0, next; i < len; i = next) {
                        const int cells = CharCells(line.data(), len, i, col, tab, encoding, next);
                        if (col + cells > wanted) {
                            wantChar = i;
                            break;
                        }
                        col += cells;
                        wantStart = col;
                    }
                    if (wantChar < len)
                        wantStart = DisplayColumn(line.data(), len, wantChar, tab, encoding);
                    int start = -1;
                    ASSERT_EQ(FirstCharAtColumn(line.data(), len, wanted, tab, start, encoding), wantChar)
                        << "line " << n << " tab " << tab << " wanted " << wanted;
                    ASSERT_EQ(start, wantStart) << "line " << n << " tab " << tab << " wanted " << wanted;
                }
            }
    }
}

// A walk started at any mark of a line ends where the walk from the line's
// start does, to a column or to a character; the marks are the first places
// at or after each multiple of the spacing, with the columns they start at.
TEST(TextLayout, AWalkFromAColumnMarkEndsWhereTheWholeWalkDoes)
{
    const std::string pieces[] = {"a", "bcdefghijklmnopqrstuvwxyz", "\t", "\xC3\xA4", "\xE4\xB8\xAD", "\xFF", "\xE2\x82",
                                  "        "};
    unsigned x = 29;
    for (int n = 0; n < 60; ++n) {
        const std::string line = MixedLine(pieces, x, 20 + n * 3);
        const int len = static_cast<int>(line.size());
        for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp1252})
            for (int tab : {1, 4, 8})
                for (int spacing : {1, 7, 64}) {
                    const std::vector<ColumnMark> marks = ColumnMarks(line.data(), len, tab, spacing, encoding);
                    ASSERT_EQ(marks.empty(), len <= spacing) << "line " << n;
                    int due = spacing;
                    for (size_t k = 0; k < marks.size(); ++k) {
                        ASSERT_GE(marks[k].index, due) << "line " << n << " mark " << k;
                        ASSERT_EQ(marks[k].column, DisplayColumn(line.data(), len, marks[k].index, tab, encoding))
                            << "line " << n << " mark " << k;
                        if (k > 0) {
                            ASSERT_GT(marks[k].index, marks[k - 1].index);
                        }
                        due = (marks[k].index / spacing + 1) * spacing;
                    }
                    const int length = ColumnAfter(line.data(), len, 0, tab, encoding);
                    for (const ColumnMark& mark : marks)
                        for (int wanted : {mark.column, mark.column + 1, mark.column + 5, mark.column + 37, length,
                                           length + 2}) {
                            int wholeStart = -1, fromStart = -1;
                            const int whole = FirstCharAtColumn(line.data(), len, wanted, tab, wholeStart, encoding);
                            ASSERT_EQ(FirstCharAtColumn(line.data(), len, wanted, tab, fromStart, encoding, mark), whole)
                                << "line " << n << " tab " << tab << " mark " << mark.index << " wanted " << wanted;
                            ASSERT_EQ(fromStart, wholeStart);
                        }
                    for (const ColumnMark& mark : marks)
                        for (int at : {mark.index, mark.index + 1, mark.index + 3, mark.index + 40, len, len + 5})
                            ASSERT_EQ(DisplayColumn(line.data(), len, at, tab, encoding, mark),
                                      DisplayColumn(line.data(), len, at, tab, encoding))
                                << "line " << n << " tab " << tab << " mark " << mark.index << " at " << at;
                    if (!marks.empty()) {
                        ASSERT_EQ(DisplayColumn(line.data(), len, 0, tab, encoding, marks.back()), 0)
                            << "a mark past the character is not used";
                    }
                    // A mark past the wanted column is not used.
                    if (!marks.empty()) {
                        int a = -1, b = -1;
                        ASSERT_EQ(FirstCharAtColumn(line.data(), len, 0, tab, a, encoding, marks.back()),
                                  FirstCharAtColumn(line.data(), len, 0, tab, b, encoding));
                        ASSERT_EQ(a, b);
                    }
                }
    }
}

TEST(TextLayout, ExpandShowsTabsAndBlanksWhenAsked)
{
    const std::string line = "a\tb c";
    EXPECT_EQ(ExpandForDisplay(line.data(), 0, 5, 0, 4, false), U"a   b c");
    EXPECT_EQ(ExpandForDisplay(line.data(), 0, 5, 0, 4, true), U"a\u00BB  b\u2022c");
    // A piece that starts mid-line expands its tab from its own column.
    EXPECT_EQ(ExpandForDisplay(line.data(), 1, 1, 1, 4, true), U"\u00BB  ");
    EXPECT_EQ(ExpandForDisplay(line.data(), 0, 5, 0, 4, false, TextEncoding::Cp1252, 3), U"a  ");
    EXPECT_EQ(ExpandForDisplay(line.data(), 0, 5, 0, 4, false, TextEncoding::Cp1252, 0), U"");
    // Windows-1252 bytes are their characters, one cell each.
    const std::string western = "\xC4\x80\x81";
    EXPECT_EQ(ExpandForDisplay(western.data(), 0, 3, 0, 4, false), U"\u00C4\u20AC\u00BF");
}

TEST(TextLayout, AppendAddsTheSameCellsAfterWhatTheBufferHolds)
{
    const std::string line = "a\tb c";
    std::u32string out = U"12: ";
    AppendForDisplay(out, line.data(), 0, 5, 0, 4, true);
    EXPECT_EQ(out, U"12: a\u00BB  b\u2022c");
    // The cut counts the appended cells only; the tab still starts at
    // column 0 of the text, not at the buffer's end.
    out = U"12: ";
    AppendForDisplay(out, line.data(), 0, 5, 0, 4, false, TextEncoding::Cp1252, 3);
    EXPECT_EQ(out, U"12: a  ");
    out = U"x";
    AppendForDisplay(out, line.data(), 0, 5, 0, 4, false, TextEncoding::Cp1252, 0);
    EXPECT_EQ(out, U"x");
    // Every byte of the code page, looked up or not, is its display glyph.
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        if (b != '\t')
            bytes.push_back(static_cast<char>(b));
    out.clear();
    AppendForDisplay(out, bytes.data(), 0, static_cast<int>(bytes.size()), 0, 4, false);
    ASSERT_EQ(out.size(), bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        EXPECT_EQ(out[i], bytes[i] == ' ' ? U' ' : DisplayGlyph(static_cast<unsigned char>(bytes[i]))) << i;
}

TEST(TextLayoutUtf8, ExpandGivesEachCharacterItsCells)
{
    constexpr TextEncoding kUtf8 = TextEncoding::Utf8;
    // ü (2 bytes), € (3 bytes), 語 (3 bytes, two cells), an invalid byte, a tab.
    const std::string line = "\xC3\xBC\xE2\x82\xAC\xE8\xAA\x9E\xFF\tx";
    const int len = static_cast<int>(line.size());
    EXPECT_EQ(ExpandForDisplay(line.data(), 0, len, 0, 8, false, kUtf8),
              std::u32string(U"\u00FC\u20AC\u8A9E") + kWideTail + U"\uFFFD   x");
    EXPECT_EQ(DisplayLength(line.data(), len, 8, kUtf8), 9);
    // A piece after the wide character starts at its column.
    EXPECT_EQ(ExpandForDisplay(line.data(), 8, 2, 5, 4, true, kUtf8), U"\uFFFD\u00BB ");
    // A cut keeps the first cells, even half of a wide character.
    EXPECT_EQ(ExpandForDisplay(line.data(), 0, len, 0, 8, false, kUtf8, 3),
              std::u32string(U"\u00FC\u20AC\u8A9E"));
    // Controls are visible; the same bytes read as Windows-1252 are six cells.
    EXPECT_EQ(DisplayGlyphOf(0x01), U'\u00BF');
    EXPECT_EQ(DisplayGlyphOf(0x85), U'\u00BF');
    EXPECT_EQ(ExpandForDisplay(line.data(), 0, 5, 0, 8, false).size(), 5u);
}

TEST(TextLayout, ControlBytesGetAVisibleGlyph)
{
    EXPECT_EQ(DisplayGlyph(0), U'\u00BF');
    EXPECT_EQ(DisplayGlyph(0x7F), U'\u00BF');
    EXPECT_EQ(DisplayGlyph(0x81), U'\u00BF');
    EXPECT_EQ(DisplayGlyph(0x80), U'\u20AC');
    EXPECT_EQ(DisplayGlyph(0xBB), U'\u00BB');
    EXPECT_EQ(DisplayGlyph(0x95), U'\u2022');
    EXPECT_EQ(DisplayGlyph('x'), U'x');
}

} // namespace

namespace {

constexpr TextEncoding kUtf8 = TextEncoding::Utf8;

TEST(TextLayoutUtf8, ColumnsCountCharactersAndWideCells)
{
    const std::string s = "ä\t漢x"; // ä 0-1, tab 1-4, 漢 4-6 (two cells), x 6-7
    const int len = static_cast<int>(s.size());
    EXPECT_EQ(textlayout::DisplayColumn(s.data(), len, 2, 4, kUtf8), 1);
    EXPECT_EQ(textlayout::DisplayColumn(s.data(), len, 3, 4, kUtf8), 4);
    EXPECT_EQ(textlayout::DisplayColumn(s.data(), len, 6, 4, kUtf8), 6);
    EXPECT_EQ(textlayout::DisplayLength(s.data(), len, 4, kUtf8), 7);
    // The same bytes as Windows-1252: one cell each.
    EXPECT_EQ(textlayout::DisplayLength(s.data(), len, 4), 8);

    // Columns back to byte offsets, always on a character boundary.
    EXPECT_EQ(textlayout::ColumnToChar(s.data(), len, 1, 4, kUtf8), 2);
    EXPECT_EQ(textlayout::ColumnToChar(s.data(), len, 4, 4, kUtf8), 3);
    EXPECT_EQ(textlayout::ColumnToChar(s.data(), len, 5, 4, kUtf8), 3); // middle of 漢: before it
    EXPECT_EQ(textlayout::ColumnToChar(s.data(), len, 6, 4, kUtf8), 6);
    EXPECT_EQ(textlayout::ColumnToChar(s.data(), len, 99, 4, kUtf8), len);
    EXPECT_EQ(textlayout::HitColumnToChar(s.data(), len, 0, 4, kUtf8), 0);
    EXPECT_EQ(textlayout::HitColumnToChar(s.data(), len, 5, 4, kUtf8), 3);
    EXPECT_EQ(textlayout::HitColumnToChar(s.data(), len, 6, 4, kUtf8), 6);

    int start = -1;
    EXPECT_EQ(textlayout::FirstCharAtColumn(s.data(), len, 5, 4, start, kUtf8), 3);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(textlayout::FirstCharAtColumn(s.data(), len, 1, 4, start, kUtf8), 2);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(textlayout::FirstCharAtColumn(s.data(), len, 50, 4, start, kUtf8), len);
    EXPECT_EQ(start, 7);
}

TEST(TextLayoutUtf8, InvalidBytesAndAsciiLines)
{
    const std::string bad = "\xE4\xE2\x82z"; // three invalid bytes, one cell each
    const int len = static_cast<int>(bad.size());
    EXPECT_EQ(textlayout::DisplayLength(bad.data(), len, 4, kUtf8), 4);
    EXPECT_EQ(textlayout::ColumnToChar(bad.data(), len, 2, 4, kUtf8), 2);
    const std::string ascii = "\tint x;";
    EXPECT_EQ(textlayout::DisplayLength(ascii.data(), 7, 4, kUtf8), textlayout::DisplayLength(ascii.data(), 7, 4));
    int a = 0, b = 0;
    EXPECT_EQ(textlayout::FirstCharAtColumn(ascii.data(), 7, 5, 4, a, kUtf8),
              textlayout::FirstCharAtColumn(ascii.data(), 7, 5, 4, b));
    EXPECT_EQ(a, b);
}

} // namespace
