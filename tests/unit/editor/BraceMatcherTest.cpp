#include "editor/BraceMatcher.h"

#include "editor/TextBuffer.h"
#include "unit/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

namespace {

CBraceMatcher::Repaint Caret(CBraceMatcher& m, const CTextBuffer& b, int x, int y)
{
    return m.Update(b, y, TextPos(x, y), TextPos(x, y));
}

} // namespace

TEST(BraceMatcher, PartnerThreeLinesBelowAndLeavingIt)
{
    CTextBuffer b;
    edtest::Load(b, "void f() {\n  a();\n  b();\n}\nint x;");
    CBraceMatcher m;
    m.SetOption(1);
    CBraceMatcher::Repaint r = Caret(m, b, 10, 0); // right after "{"
    EXPECT_TRUE(r.all);
    EXPECT_EQ(m.MatchPos(), TextPos(0, 3));
    EXPECT_EQ(m.Partner(), '}');
    int col;
    char ch;
    EXPECT_TRUE(m.MatchOnLine(b, 3, col, ch));
    EXPECT_EQ(col, 0);
    EXPECT_FALSE(m.MatchOnLine(b, 2, col, ch));
    // Away from any round or curly brace: the highlight goes, its line is repainted.
    r = Caret(m, b, 2, 4);
    EXPECT_FALSE(r.all);
    EXPECT_EQ(r.line, 3);
    EXPECT_EQ(m.MatchPos(), TextPos::None());
    // An empty line also removes it.
    r = Caret(m, b, 0, 4);
    EXPECT_EQ(r.line, -1);
}

TEST(BraceMatcher, CharacterAtTheCaretComesFirst)
{
    CTextBuffer b;
    edtest::Load(b, "(a)(b)");
    CBraceMatcher m;
    m.SetOption(1);
    Caret(m, b, 3, 0); // between ")" and "(": the "(" at the caret searches forward
    EXPECT_EQ(m.MatchPos(), TextPos(5, 0));
    // Just matched: the next selection change keeps the highlight.
    CBraceMatcher::Repaint r = Caret(m, b, 1, 0);
    EXPECT_FALSE(r.all);
    EXPECT_EQ(m.MatchPos(), TextPos(5, 0));
    EXPECT_FALSE(m.JustMatched());
    Caret(m, b, 1, 0); // now it searches: "(" before the caret
    EXPECT_EQ(m.MatchPos(), TextPos(2, 0));
    m.Clear();
    Caret(m, b, 0, 0); // column 0: the first character is "before" the caret
    EXPECT_EQ(m.MatchPos(), TextPos(2, 0));
}

TEST(BraceMatcher, UnbalancedKeepsThePreviousHighlight)
{
    CTextBuffer b;
    edtest::Load(b, "{ x }\n( y");
    CBraceMatcher m;
    m.SetOption(1);
    Caret(m, b, 1, 0);
    EXPECT_EQ(m.MatchPos(), TextPos(4, 0));
    Caret(m, b, 1, 0); // clears just-matched
    CBraceMatcher::Repaint r = Caret(m, b, 1, 1);
    EXPECT_FALSE(r.all);
    EXPECT_EQ(r.line, -1);
    EXPECT_EQ(m.MatchPos(), TextPos(4, 0));
}

TEST(BraceMatcher, OptionAndSelectionGateIt)
{
    CTextBuffer b;
    edtest::Load(b, "()");
    CBraceMatcher m;
    Caret(m, b, 1, 0);
    EXPECT_EQ(m.MatchPos(), TextPos::None());
    m.SetOption(2);
    Caret(m, b, 1, 0);
    EXPECT_EQ(m.MatchPos(), TextPos::None());
    m.SetOption(1);
    m.Update(b, 0, TextPos(0, 0), TextPos(1, 0));
    EXPECT_EQ(m.MatchPos(), TextPos::None());
    Caret(m, b, 1, 0); // ")" at the caret searches backwards
    EXPECT_EQ(m.MatchPos(), TextPos(0, 0));
}

TEST(BraceMatcher, SearchRules)
{
    CTextBuffer b;
    edtest::Load(b, "[a(b]c)\n{\n}\n<x>");
    TextPos found;
    // Square brackets match once a search starts from them; nothing is skipped.
    EXPECT_TRUE(CBraceMatcher::FindPartner(b, '[', 1, TextPos(0, 0), found));
    EXPECT_EQ(found, TextPos(4, 0));
    EXPECT_TRUE(CBraceMatcher::FindPartner(b, ')', -1, TextPos(6, 0), found));
    EXPECT_EQ(found, TextPos(2, 0));
    EXPECT_TRUE(CBraceMatcher::FindPartner(b, '}', -1, TextPos(0, 2), found));
    EXPECT_EQ(found, TextPos(0, 1));
    EXPECT_FALSE(CBraceMatcher::FindPartner(b, '<', 1, TextPos(0, 3), found));
    EXPECT_EQ(CBraceMatcher::Direction(b, TextPos(0, 3)), 0); // angle brackets are no braces
    EXPECT_EQ(CBraceMatcher::Direction(b, TextPos(0, 0)), 1);
    EXPECT_EQ(CBraceMatcher::Direction(b, TextPos(6, 0)), -1);
    // No search from the last character of the text or backwards from (0, 0).
    CTextBuffer c;
    edtest::Load(c, ")x\n(");
    EXPECT_EQ(CBraceMatcher::Direction(c, TextPos(0, 0)), 0);
    EXPECT_EQ(CBraceMatcher::Direction(c, TextPos(0, 1)), 0);
    // Brackets in strings and comments count too.
    CTextBuffer d;
    edtest::Load(d, "f(\")\") // )");
    EXPECT_TRUE(CBraceMatcher::FindPartner(d, '(', 1, TextPos(1, 0), found));
    EXPECT_EQ(found, TextPos(3, 0));
}
