#include "editor/TextTransform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace texttransform;

std::string Case(std::string s, ECase kind, TextEncoding encoding = TextEncoding::Cp1252)
{
    ConvertCase(s, kind, encoding);
    return s;
}

std::string Utf8Case(std::string s, ECase kind)
{
    return Case(std::move(s), kind, TextEncoding::Utf8);
}

TEST(TextTransform, CaseConversionsFollowTheCodePage)
{
    EXPECT_EQ(Case("Stra\xDF" "e \xC4rger 42", ECase::Upper), "STRASSE \xC4RGER 42");
    EXPECT_EQ(Case("\xC4RGER \x8A", ECase::Lower), "\xE4rger \x9A");
    EXPECT_EQ(Case("aB\xE4\xC4\xDF-1", ECase::Swap), "Ab\xC4\xE4SS-1");
    EXPECT_EQ(Case("hELLO wORLD (x)y\t\xE4pfel", ECase::Capitalize), "Hello World (X)y\t\xC4pfel");
    // Only white space starts a word; "(x" continues a word begun before.
    EXPECT_EQ(Case("a(bc d", ECase::Capitalize), "A(bc D");
}

TEST(TextTransform, CaseConversionsOnUtf8Characters)
{
    EXPECT_EQ(Utf8Case("stra\xC3\x9F" "e", ECase::Upper), "STRASSE");
    EXPECT_EQ(Utf8Case("\xC3\x84\xC3\x96\xC3\x9C", ECase::Lower), "\xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_EQ(Utf8Case("\xC3\xA4" "B \xD0\x96", ECase::Swap), "\xC3\x84" "b \xD0\xB6");
    // A word may start with an umlaut; the letters behind one are inside
    // the word.
    EXPECT_EQ(Utf8Case("\xC3\xBC" "BER gr\xC3\xB6\xC3\x9F" "E \xC3\x9F", ECase::Capitalize),
              "\xC3\x9C" "ber Gr\xC3\xB6\xC3\x9F" "e Ss");
    EXPECT_EQ(Utf8Case("\xC3\xA4RGER. \xC3\xB6L", ECase::Sentence), "\xC3\x84rger. \xC3\x96l");
    // Bytes that are no valid UTF-8 stay, and do not join the letters
    // around them into one character.
    EXPECT_EQ(Utf8Case("a\xC3" "b\xA4\xFF", ECase::Upper), "A\xC3" "B\xA4\xFF");
    // The same bytes in a Windows-1252 document are its letters.
    EXPECT_EQ(Case("\xE3\xA4", ECase::Upper), "\xC3\xA4");
}

TEST(TextTransform, SentenceCaseStartsAfterAFullStopNotBeforeADigit)
{
    EXPECT_EQ(Case("hello. world. version 1.5 is out", ECase::Sentence),
              "Hello. World. Version 1.5 is out");
    EXPECT_EQ(Case("  ONE TWO.three", ECase::Sentence), "  One two.Three");
    EXPECT_EQ(Case("end.", ECase::Sentence), "End.");
    EXPECT_EQ(Case("1. \xE4hm", ECase::Sentence), "1. \xC4hm");
}

TEST(TextTransform, TabsAndSpacesConvertByFixedCounts)
{
    EXPECT_EQ(TabsToSpaces("a\tb\t\t", 4), "a    b        ");
    EXPECT_EQ(SpacesToTabs("      x  y    ", 4), "\t  x  y\t");
    EXPECT_EQ(SpacesToTabs("a        b", 4), "a\t\tb");
    EXPECT_EQ(SpacesToTabs(TabsToSpaces("\tx\t\ty", 3), 3), "\tx\t\ty");
}

TEST(TextTransform, TabTextFillsToTheNextStop)
{
    EXPECT_EQ(TabText(false, 4, 6), "\t");
    EXPECT_EQ(TabText(true, 4, 6), "  ");
    EXPECT_EQ(TabText(true, 4, 8), "    ");
}

TEST(TextTransform, AutoIndentCopiesAndExtendsTheIndentation)
{
    EXPECT_EQ(AutoIndentText("    if (x) {", true, true, 4), "        ");
    EXPECT_EQ(AutoIndentText("    if (x) {", true, false, 4), "    \t");
    EXPECT_EQ(AutoIndentText("    if (x) {", false, true, 4), "    ");
    EXPECT_EQ(AutoIndentText("\t  x", true, true, 4), "\t  ");
    EXPECT_EQ(AutoIndentText("  f(", true, true, 4), "    "); // 2 + (4 - 2 % 4)
    EXPECT_EQ(AutoIndentText("x", true, true, 4), "");
    EXPECT_EQ(AutoIndentText("", true, true, 4), "");
    EXPECT_EQ(AutoIndentText("[", true, false, 4), "\t");
}

TEST(TextTransform, ClosingBracketDropsOneLevel)
{
    EXPECT_EQ(ClosingBracketOutdent("        }", 9, 4), 4);
    EXPECT_EQ(ClosingBracketOutdent("      }", 7, 4), 2);
    EXPECT_EQ(ClosingBracketOutdent("\t\t}", 3, 4), 1);
    EXPECT_EQ(ClosingBracketOutdent("  )", 3, 4), 2); // at most the blanks there are
    EXPECT_EQ(ClosingBracketOutdent(" x }", 4, 4), 0);
    EXPECT_EQ(ClosingBracketOutdent("}", 1, 4), 0);
    EXPECT_EQ(ClosingBracketOutdent("    }", 4, 4), 0); // caret not after it
}

TEST(TextTransform, UnindentRemovesBlanksUpToATab)
{
    EXPECT_EQ(UnindentCount("  \tx", 4), 3);
    EXPECT_EQ(UnindentCount("\t\tx", 4), 1);
    EXPECT_EQ(UnindentCount("        x", 4), 4);
    EXPECT_EQ(UnindentCount("  x", 4), 2);
    EXPECT_EQ(UnindentCount("    \tx", 4), 4);
    EXPECT_EQ(UnindentCount("x", 4), 0);
    EXPECT_EQ(UnindentCount("", 4), 0);
}

TEST(TextTransform, CaretStepsToTabStops)
{
    EXPECT_EQ(PreviousTabStopChar("    abc", 4, 4), 0);
    EXPECT_EQ(PreviousTabStopChar("    abc", 5, 4), 4);
    EXPECT_EQ(PreviousTabStopChar("a\tb", 2, 4), 0);
    EXPECT_EQ(PreviousTabStopChar("a\tbcde", 4, 4), 2); // column 6 -> column 4
    EXPECT_EQ(PreviousTabStopChar("abc", 0, 4), 0);
    EXPECT_EQ(OverwriteTabChar("abcdefgh", 1, 4), 4);
    EXPECT_EQ(OverwriteTabChar("ab\tcdefg", 0, 4), 3); // stops right after the tab
    EXPECT_EQ(OverwriteTabChar("abcdef", 4, 4), 6);     // not past the end
}

TEST(TextTransform, BlockLinesLeaveOutALastLineSelectedAtColumnZero)
{
    int first = -1, last = -1;
    EXPECT_TRUE(BlockLines(TextPos(3, 2), TextPos(0, 5), first, last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 4);
    EXPECT_TRUE(BlockLines(TextPos(0, 2), TextPos(1, 5), first, last));
    EXPECT_EQ(last, 5);
    EXPECT_FALSE(BlockLines(TextPos(0, 2), TextPos(7, 2), first, last));
}

struct Lines {
    std::vector<std::string> v;
    int LineLength(int i) const { return static_cast<int>(v[static_cast<size_t>(i)].size()); }
    const char* LineChars(int i) const { return v[static_cast<size_t>(i)].data(); }
};

TEST(TextTransform, TrimRangeCrossesLineBreaks)
{
    Lines l{{"  foo();  ", "", "  x  ", "   "}};
    TextPos s(0, 0), e(10, 0);
    TrimRange(l, s, e);
    EXPECT_EQ(s, TextPos(2, 0));
    EXPECT_EQ(e, TextPos(8, 0));

    s = TextPos(8, 0);
    e = TextPos(3, 3);
    TrimRange(l, s, e);
    EXPECT_EQ(s, TextPos(2, 2));
    EXPECT_EQ(e, TextPos(3, 2));

    s = TextPos(0, 3);
    e = TextPos(3, 3); // white space only: collapses
    TrimRange(l, s, e);
    EXPECT_EQ(s, e);
}

TEST(TextTransform, CommentMarkers)
{
    EXPECT_TRUE(CanUncomment("/* x */"));
    EXPECT_TRUE(CanUncomment("/**/"));
    EXPECT_FALSE(CanUncomment("/*/"));
    EXPECT_FALSE(CanUncomment("/* x"));
    EXPECT_FALSE(CanUncomment("x */"));
    EXPECT_EQ(CommentOpenerLength("/** doc "), 3);
    EXPECT_EQ(CommentOpenerLength("/* c "), 2);
    EXPECT_EQ(CommentOpenerLength("/*"), 2);
}

TEST(TextTransform, ClipboardLineBreaks)
{
    EXPECT_EQ(DocumentToClipboardBreaks("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(DocumentToClipboardBreaks("a\rb"), "a\rb");
    EXPECT_EQ(ClipboardToDocumentBreaks("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(ClipboardToDocumentBreaks(DocumentToClipboardBreaks("x\r\ny")), "x\r\ny");
}

} // namespace
