#include "workspace/FileFilter.h"
#include "workspace/SearchResultLine.h"

#include <gtest/gtest.h>

using Pieces = std::vector<std::string>;

TEST(FileFilter, ListsAndTheStarRules)
{
    CFileFilter java("*.java,*.jav");
    EXPECT_TRUE(java.Matches("A.java"));
    EXPECT_TRUE(java.Matches("B.jav"));
    EXPECT_FALSE(java.Matches("A.b.java")); // "*" stops at the first dot
    EXPECT_FALSE(java.Matches("A.javax"));
    EXPECT_FALSE(java.Matches("Makefile"));

    CFileFilter star("*");
    EXPECT_TRUE(star.Matches("Makefile"));
    EXPECT_FALSE(star.Matches("A.java"));

    CFileFilter all("*.*");
    EXPECT_TRUE(all.Matches("A.java"));
    EXPECT_TRUE(all.Matches("a.b.c"));
    EXPECT_TRUE(all.Matches(".profile"));
    EXPECT_FALSE(all.Matches("Makefile"));
}

TEST(FileFilter, PiecesAreTrimmedAndTriedFromTheLast)
{
    EXPECT_EQ(CFileFilter("  *.java , *.xml\t").Pieces(), (Pieces{"*.xml", "*.java"}));
    // A run of commas is one separator.
    EXPECT_EQ(CFileFilter("a,,,b").Pieces(), (Pieces{"b", "a"}));
    // Trying stops at the first empty piece.
    EXPECT_EQ(CFileFilter("a,b,").Pieces(), Pieces{});
    EXPECT_EQ(CFileFilter(",a").Pieces(), Pieces{"a"});
    EXPECT_EQ(CFileFilter("a, ,b").Pieces(), Pieces{"b"});
    EXPECT_EQ(CFileFilter("").Pieces(), Pieces{});
    EXPECT_EQ(CFileFilter(" \t ").Pieces(), Pieces{});
    EXPECT_FALSE(CFileFilter("*.java,").Matches("A.java"));
    EXPECT_FALSE(CFileFilter("").Matches("A.java"));
    EXPECT_TRUE(CFileFilter("*.java, ,*.xml").Matches("a.xml"));
    EXPECT_FALSE(CFileFilter("*.java, ,*.xml").Matches("a.java"));
}

TEST(FileFilter, PieceRules)
{
    auto m = CFileFilter::MatchPiece;
    // Letters without regard to case, "?" one character.
    EXPECT_TRUE(m("README.TXT", "readme.txt"));
    EXPECT_TRUE(m("a1.java", "a?.JAVA"));
    EXPECT_FALSE(m("a.java", "a?.java"));
    // Upper and lower case are folded for ASCII letters only.
    EXPECT_FALSE(m("\xC4.java", "\xE4.java"));
    // "*" without a dot left: up to the next piece character.
    EXPECT_TRUE(m("Makefile", "Make*"));
    EXPECT_TRUE(m("Makefile", "*file"));
    EXPECT_FALSE(m("Makefile", "*x"));
    // No backtracking: the first "a" is taken, and the rest must match.
    EXPECT_FALSE(m("banana", "*a"));
    EXPECT_TRUE(m("ba", "*a"));
    // "*" with a dot left: "*." jumps to the first dot ...
    EXPECT_TRUE(m("Test.java", "*.java"));
    EXPECT_TRUE(m("Test.java", "T*.java"));
    EXPECT_FALSE(m("x.Test.java", "*.java"));
    // ... any other character is searched for, up to the dot at most.
    EXPECT_TRUE(m("FooTest.java", "*Test.java"));
    EXPECT_FALSE(m("Foo.Test.java", "*Test.java"));
    EXPECT_FALSE(m("a.b", "*"));
    EXPECT_TRUE(m("a.b", "*.*"));
    // A final "*" behind a dot of the piece takes the rest, dots included.
    EXPECT_TRUE(m("jquery.min.js", "*.*"));
    EXPECT_TRUE(m("A.b.c", "a.*"));
    EXPECT_FALSE(m("A.b.c", "a*"));
    EXPECT_TRUE(m("a.java", "*.j*"));
    EXPECT_FALSE(m("a.", "*.*")); // the name is used up before the last "*"
    EXPECT_FALSE(m("", "*"));
    EXPECT_TRUE(m("abc", "abc"));
    EXPECT_FALSE(m("abc", "ab"));
    EXPECT_FALSE(m("ab", "abc"));
}

TEST(FileFilter, LongFilters)
{
    // 10 000 characters of pieces: split once, matched in linear time.
    std::string filter;
    while (filter.size() < 10000)
        filter += "*.x" + std::to_string(filter.size()) + ",";
    filter += "*.java";
    ASSERT_GE(filter.size(), 10000u);
    CFileFilter f(filter);
    EXPECT_GT(f.Pieces().size(), 1000u);
    EXPECT_TRUE(f.Matches("A.java"));
    EXPECT_TRUE(f.Matches("A.x0"));
    EXPECT_FALSE(f.Matches("A.y"));
    // One piece of 10 000 characters.
    std::string name(10000, 'a');
    EXPECT_TRUE(CFileFilter::MatchPiece(name, std::string(9999, '?') + "*"));
    // A "*" is settled by the next piece character: no name character
    // equals a second "*".
    EXPECT_FALSE(CFileFilter(std::string(10000, '*')).Matches("abc"));
    EXPECT_FALSE(CFileFilter(std::string(10000, ',')).Matches("abc"));
}

TEST(SearchResultLine, FormatAndRecognise)
{
    const std::string line = FormatSearchResultLine("/src/A.java", 12, 5, "\tint x(1,2):");
    EXPECT_EQ(line, "/src/A.java(12,5):\tint x(1,2):");
    SearchResultLocation r;
    ASSERT_TRUE(ParseSearchResultLine(line, r));
    EXPECT_EQ(r.file, "/src/A.java");
    EXPECT_EQ(r.line, 12);
    EXPECT_EQ(r.column, 5);
    // A path that holds "(" is still recognised.
    ASSERT_TRUE(ParseSearchResultLine("/home/u/Projekt (alt)/B(2).java(7,1):x", r));
    EXPECT_EQ(r.file, "/home/u/Projekt (alt)/B(2).java");
    EXPECT_EQ(r.line, 7);
    EXPECT_EQ(r.column, 1);
    // The pane line's end.
    ASSERT_TRUE(ParseSearchResultLine("a.java(3,4):x\r\n", r));
    EXPECT_EQ(r.line, 3);
}

TEST(SearchResultLine, LinesThatAreNoResults)
{
    SearchResultLocation r;
    EXPECT_FALSE(ParseSearchResultLine("", r));
    EXPECT_FALSE(ParseSearchResultLine("Abbruch", r));
    EXPECT_FALSE(ParseSearchResultLine("a.java(12):x", r));
    EXPECT_FALSE(ParseSearchResultLine("a.java(12,x):x", r));
    EXPECT_FALSE(ParseSearchResultLine("a.java(12,3)x", r));
    EXPECT_FALSE(ParseSearchResultLine("a.java(,3):x", r));
    EXPECT_FALSE(ParseSearchResultLine("(12,3):x", r));
    EXPECT_FALSE(ParseSearchResultLine("a.java(0,3):x", r));
    EXPECT_FALSE(ParseSearchResultLine("a.java\r\n(12,3):x", r));
    // Numbers beyond 32 bits are clamped.
    ASSERT_TRUE(ParseSearchResultLine("a(99999999999999999999,1):", r));
    EXPECT_EQ(r.line, 2147483647);
}
