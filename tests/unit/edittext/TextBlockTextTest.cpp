// A text block made ready for the buffer: indentation after each line
// break, the marker's place, and where it lands once inserted.
#include "editor/TextBlockText.h"

#include <gtest/gtest.h>

TEST(TextBlockText, IndentationFollowsEveryLineBreak)
{
    const CTextBlockText t = CTextBlockText::Build("if ()\r\n{\r\n}", 4, "    ");
    EXPECT_EQ(t.text, "if ()\r\n    {\r\n    }");
    EXPECT_EQ(t.marker, 4u);
    EXPECT_EQ(CTextBlockText::PositionAfter(t.text, t.marker, TextPos(4, 7)), TextPos(8, 7));
    // Without indentation the braces start the line.
    const CTextBlockText plain = CTextBlockText::Build("if ()\r\n{\r\n}", 4, "");
    EXPECT_EQ(plain.text, "if ()\r\n{\r\n}");
}

TEST(TextBlockText, MarkerOnALaterLineGetsTheAddedIndentation)
{
    // "a\r\nb\r\nc§d": the marker on the third line, column 1.
    const CTextBlockText t = CTextBlockText::Build("a\r\nb\r\ncd", 7, "\t ");
    EXPECT_EQ(t.text, "a\r\n\t b\r\n\t cd");
    EXPECT_EQ(CTextBlockText::PositionAfter(t.text, t.marker, TextPos(3, 10)), TextPos(3, 12));
    // At the very end.
    const CTextBlockText end = CTextBlockText::Build("x\r\ny", 4, "  ");
    EXPECT_EQ(end.marker, end.text.size());
    EXPECT_EQ(CTextBlockText::PositionAfter(end.text, end.marker, TextPos(0, 0)), TextPos(3, 1));
    // None.
    EXPECT_EQ(CTextBlockText::Build("x", CTextBlockText::kNoMarker, "").marker, CTextBlockText::kNoMarker);
}

TEST(TextBlockText, LineBreaksAsTheBufferReadsThem)
{
    // A lone CR breaks the line and is indented; a lone LF is text.
    const CTextBlockText cr = CTextBlockText::Build("a\rb\nc", CTextBlockText::kNoMarker, "  ");
    EXPECT_EQ(cr.text, "a\r  b\nc");
    EXPECT_EQ(CTextBlockText::PositionAfter(cr.text, cr.text.size(), TextPos(5, 0)), TextPos(5, 1));
    // A marker between CR and LF lands at the start of the next line.
    const CTextBlockText split = CTextBlockText::Build("a\r\nb", 2, " ");
    EXPECT_EQ(split.text, "a\r\n b");
    EXPECT_EQ(CTextBlockText::PositionAfter(split.text, split.marker, TextPos(0, 0)), TextPos(0, 1));
    // NUL bytes are text.
    const std::string nul("a\0b", 3);
    EXPECT_EQ(CTextBlockText::Build(nul, 3, "").text, nul);
    EXPECT_EQ(CTextBlockText::PositionAfter(nul, 3, TextPos(0, 0)), TextPos(3, 0));
}

TEST(TextBlockText, IndentationIsTheLeadingWhiteSpace)
{
    EXPECT_EQ(CTextBlockText::Indentation("    "), "    ");
    EXPECT_EQ(CTextBlockText::Indentation("\t  x = 1;"), "\t  ");
    EXPECT_EQ(CTextBlockText::Indentation(std::string_view("\v\f x", 4)), "\v\f ");
    EXPECT_EQ(CTextBlockText::Indentation("x  "), "");
    EXPECT_EQ(CTextBlockText::Indentation(""), "");
}
