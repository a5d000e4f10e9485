#include "editor/JavaColoring.h"
#include "unit/editor/JavaClassifyReference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Runs = std::vector<std::pair<int, int>>;

struct Result {
    Runs runs;
    LineState state;
};

Result Classify(const std::string& line, LineState in = 0)
{
    std::vector<ColorBlock> blocks;
    Result r;
    r.state = CJavaColoring::ClassifyLine(in, line.data(), static_cast<int>(line.size()), blocks);
    for (const ColorBlock& b : blocks)
        r.runs.emplace_back(b.start, b.colorClass);
    // Without runs the state must be the same.
    EXPECT_EQ(CJavaColoring::ClassifyLine(in, line.data(), static_cast<int>(line.size())), r.state)
        << "state-only classification differs for: " << line;
    return r;
}

// The class painted at column x: the last run starting at or before x wins.
int ClassAt(const Runs& runs, int x)
{
    int cls = CI_WND;
    for (auto [start, c] : runs)
        if (start <= x)
            cls = c;
    return cls;
}

bool HasRun(const Runs& runs, int start, int cls)
{
    for (auto r : runs)
        if (r == std::make_pair(start, cls))
            return true;
    return false;
}

} // namespace

TEST(JavaColoring, DeclarationExample)
{
    Result r = Classify("int x = 10;");
    EXPECT_EQ(r.runs, (Runs{{0, CI_WND}, {0, CI_KEYWORD}, {3, CI_WHITESPACE}, {5, CI_WHITESPACE},
                            {8, CI_NUMBER}, {10, CI_OPERATOR}}));
    EXPECT_EQ(r.state, 0u);
}

TEST(JavaColoring, FunctionNamesNeedAParenthesisOnTheLine)
{
    Result r = Classify("foo (a);");
    EXPECT_TRUE(HasRun(r.runs, 0, CI_FUNCTION));
    EXPECT_FALSE(HasRun(r.runs, 5, CI_FUNCTION)); // a is followed by ")"
    EXPECT_FALSE(HasRun(Classify("x = foo").runs, 4, CI_FUNCTION));
    EXPECT_TRUE(HasRun(Classify("if(x)").runs, 0, CI_KEYWORD)); // keyword wins over function
    EXPECT_EQ(ClassAt(Classify("  bar\t(").runs, 2), CI_FUNCTION);
}

TEST(JavaColoring, OperatorsAndDots)
{
    EXPECT_EQ(Classify("a.b").runs, (Runs{{0, CI_WND}, {1, CI_OPERATOR}, {2, CI_WND}}));
    EXPECT_EQ(Classify("3.14").runs, (Runs{{0, CI_WND}, {0, CI_NUMBER}}));
    // An operator after an identifier starts an operator run; after white
    // space it stays in the white-space run.
    Result r = Classify("a+b - c");
    EXPECT_EQ(ClassAt(r.runs, 1), CI_OPERATOR);
    EXPECT_EQ(ClassAt(r.runs, 4), CI_WHITESPACE);
    // A run of operators after an identifier stays one operator run.
    r = Classify("x+=-y");
    EXPECT_EQ(ClassAt(r.runs, 1), CI_OPERATOR);
    EXPECT_EQ(ClassAt(r.runs, 3), CI_OPERATOR);
    EXPECT_EQ(ClassAt(r.runs, 4), CI_WND);
    // Runs never go backwards.
    for (size_t i = 1; i < r.runs.size(); ++i)
        EXPECT_LE(r.runs[i - 1].first, r.runs[i].first);
    // An empty line in code: one operator run at 0 (nothing to paint).
    EXPECT_EQ(Classify("").runs, (Runs{{0, CI_OPERATOR}}));
}

TEST(JavaColoring, StringsAndEscapes)
{
    Result r = Classify("s = \"a\\\"b\";");
    EXPECT_TRUE(HasRun(r.runs, 4, CI_STRING));
    EXPECT_EQ(ClassAt(r.runs, 7), CI_STRING); // the escaped quote
    EXPECT_EQ(ClassAt(r.runs, 9), CI_STRING); // the closing quote stays in the string
    EXPECT_EQ(ClassAt(r.runs, 10), CI_OPERATOR);
    EXPECT_EQ(r.state, 0u);
    // Two backslashes before the quote: the string ends there.
    r = Classify("\"a\\\\\" + x");
    EXPECT_EQ(r.state, 0u);
    EXPECT_EQ(ClassAt(r.runs, 4), CI_STRING);
    EXPECT_EQ(ClassAt(r.runs, 8), CI_WHITESPACE);
    // An open string carries over.
    r = Classify("s = \"abc");
    EXPECT_EQ(r.state, ST_STRING);
    Result next = Classify("def\"; int y;", r.state);
    EXPECT_EQ(next.runs.front(), std::make_pair(0, static_cast<int>(CI_STRING)));
    EXPECT_EQ(ClassAt(next.runs, 3), CI_STRING);
    EXPECT_EQ(ClassAt(next.runs, 6), CI_KEYWORD);
    EXPECT_EQ(next.state, 0u);
    // A quote at column 0 of a continued string closes it; one at column 1
    // after a backslash does not.
    EXPECT_EQ(Classify("\"", ST_STRING).state, 0u);
    EXPECT_EQ(Classify("\\\"", ST_STRING).state, ST_STRING);
}

TEST(JavaColoring, CharacterLiterals)
{
    Result r = Classify("c = 'x';");
    EXPECT_TRUE(HasRun(r.runs, 4, CI_STRING));
    EXPECT_EQ(r.state, 0u);
    // A quote right after an identifier character is no literal.
    r = Classify("it's");
    EXPECT_EQ(r.state, 0u);
    EXPECT_EQ(ClassAt(r.runs, 2), CI_OPERATOR);
    EXPECT_EQ(Classify("c = '\\'';").state, 0u);
    EXPECT_EQ(Classify("c = 'x").state, ST_CHAR);
}

TEST(JavaColoring, CommentsAndLiteralsAtColumnZero)
{
    // Operators at the start of a line give way to what they begin.
    EXPECT_EQ(ClassAt(Classify("// note").runs, 0), CI_COMMENT);
    EXPECT_EQ(ClassAt(Classify("// note").runs, 5), CI_COMMENT);
    EXPECT_EQ(ClassAt(Classify("/* c */").runs, 0), CI_COMMENTMULTI);
    EXPECT_EQ(ClassAt(Classify("\"s\"").runs, 0), CI_STRING);
    EXPECT_EQ(ClassAt(Classify("+-a").runs, 1), CI_OPERATOR);
    EXPECT_EQ(ClassAt(Classify("+-a").runs, 2), CI_WND);
}

TEST(JavaColoring, LineCommentsAndContinuation)
{
    Result r = Classify("x = 1; // note");
    EXPECT_TRUE(HasRun(r.runs, 7, CI_COMMENT));
    EXPECT_EQ(r.state, 0u);
    r = Classify("// note \\");
    EXPECT_EQ(r.state, ST_LINECOMMENT);
    Result next = Classify("int x;", r.state);
    EXPECT_EQ(ClassAt(next.runs, 0), CI_COMMENT);
    EXPECT_EQ(ClassAt(next.runs, 5), CI_COMMENT);
    EXPECT_EQ(next.state, 0u);
    EXPECT_EQ(Classify("more \\", ST_LINECOMMENT).state, ST_LINECOMMENT);
    // A line of at most one character ends the continuation.
    Result shortLine = Classify("\\", ST_LINECOMMENT);
    EXPECT_EQ(shortLine.state, 0u);
    EXPECT_TRUE(shortLine.runs.empty());
    EXPECT_EQ(Classify("", ST_LINECOMMENT).state, 0u);
}

TEST(JavaColoring, BlockAndJavadocComments)
{
    Result r = Classify("/** doc");
    EXPECT_EQ(ClassAt(r.runs, 0), CI_COMMENTJAVADOC);
    EXPECT_EQ(ClassAt(r.runs, 6), CI_COMMENTJAVADOC);
    EXPECT_EQ(r.state, ST_JAVADOC);
    Result mid = Classify(" * more", r.state);
    EXPECT_EQ(mid.runs, (Runs{{0, CI_COMMENTJAVADOC}}));
    Result end = Classify(" */ int y;", mid.state);
    EXPECT_EQ(end.state, 0u);
    EXPECT_EQ(ClassAt(end.runs, 2), CI_COMMENTJAVADOC); // the "/" of "*/" stays in the comment
    EXPECT_TRUE(HasRun(end.runs, 4, CI_KEYWORD));

    r = Classify("a /* b */ c");
    EXPECT_TRUE(HasRun(r.runs, 2, CI_COMMENTMULTI));
    EXPECT_EQ(ClassAt(r.runs, 8), CI_COMMENTMULTI);
    EXPECT_EQ(ClassAt(r.runs, 10), CI_WHITESPACE); // after white space, in its run
    EXPECT_EQ(r.state, 0u);
    // Slash, star, slash does not close the comment it opens.
    EXPECT_EQ(Classify("/*/").state, ST_BLOCKCOMMENT);
    EXPECT_EQ(Classify("/*/ x */").state, 0u);
    EXPECT_EQ(Classify("/**/").state, 0u);
    // Continued comment closed at column 1.
    EXPECT_EQ(Classify("*/", ST_BLOCKCOMMENT).state, 0u);
    EXPECT_EQ(Classify("*/", ST_JAVADOC).state, 0u);
    EXPECT_EQ(Classify("x", ST_BLOCKCOMMENT).runs, (Runs{{0, CI_COMMENTMULTI}}));
    // Comment markers inside a string are text.
    EXPECT_EQ(Classify("s = \"/* not */ // no\";").state, 0u);
    EXPECT_EQ(Classify("s = \"/*\"; /*").state, ST_BLOCKCOMMENT);
}

TEST(JavaColoring, Directives)
{
    Result r = Classify("#x");
    EXPECT_EQ(r.state, ST_DIRECTIVE);
    EXPECT_TRUE(HasRun(r.runs, 0, CI_DIRECTIVE));
    Result next = Classify("int a;", r.state);
    EXPECT_EQ(next.state, ST_DIRECTIVE);
    EXPECT_EQ(ClassAt(next.runs, 0), CI_DIRECTIVE);
    EXPECT_EQ(ClassAt(next.runs, 4), CI_DIRECTIVE);
    // "/*" inside a directive line opens a block comment; the directive
    // class resumes after it.
    Result c = Classify("a /* b */ c", ST_DIRECTIVE);
    EXPECT_EQ(ClassAt(c.runs, 3), CI_COMMENTMULTI);
    EXPECT_EQ(ClassAt(c.runs, 10), CI_DIRECTIVE);
    EXPECT_EQ(c.state, ST_DIRECTIVE);
    // Only the first non-blank character counts, also after a block comment
    // continued from the line before.
    EXPECT_EQ(Classify("  #if").state, ST_DIRECTIVE);
    EXPECT_EQ(Classify("x #if").state, 0u);
    EXPECT_EQ(Classify("*/ #if", ST_BLOCKCOMMENT).state, ST_DIRECTIVE);
    EXPECT_EQ(Classify("#if", ST_STRING).state, ST_STRING);
    // A line comment in a directive line ends the whole state at its end.
    EXPECT_EQ(Classify("#define X // c").state, 0u);
}

TEST(JavaColoring, NumberTest)
{
    auto num = [](const char* s) { return CJavaColoring::IsNumberToken(s, static_cast<int>(std::strlen(s))); };
    EXPECT_TRUE(num("0x1F"));
    EXPECT_TRUE(num("0xff"));
    EXPECT_TRUE(num("3.14"));
    EXPECT_TRUE(num("1e5"));
    EXPECT_TRUE(num("1e+5"));
    EXPECT_TRUE(num("7"));
    EXPECT_FALSE(num("0x")); // too short for hex, and x is no decimal digit
    EXPECT_FALSE(num("0x1G"));
    EXPECT_FALSE(num("0X1F"));
    EXPECT_FALSE(num("10L"));
    EXPECT_FALSE(num("1.5f"));
    EXPECT_FALSE(num("x1"));
    EXPECT_FALSE(CJavaColoring::IsNumberToken("", 0));
    // In a line: 10L is not painted as a number, 0x1F is.
    EXPECT_FALSE(HasRun(Classify("n = 10L;").runs, 4, CI_NUMBER));
    EXPECT_TRUE(HasRun(Classify("n = 0x1F;").runs, 4, CI_NUMBER));
}

TEST(JavaColoring, KeywordTable)
{
    const char* keywords[] = {
        "abstract", "default", "goto", "null", "synchronized", "boolean", "do", "if", "package",
        "this", "break", "double", "implements", "private", "threadsafe", "byte", "else", "import",
        "protected", "throw", "byvalue", "extends", "instanceof", "public", "transient", "case",
        "false", "int", "return", "true", "catch", "final", "interface", "short", "try", "char",
        "finally", "long", "static", "void", "class", "float", "native", "super", "while", "const",
        "for", "new", "switch", "continue", "throws"};
    EXPECT_EQ(std::size(keywords), 51u);
    for (const char* k : keywords)
        EXPECT_TRUE(CJavaColoring::IsKeyword(k, static_cast<int>(std::strlen(k)))) << k;
    for (const char* k : {"volatile", "strictfp", "assert", "enum", "Int", "in", "integer", "var", ""})
        EXPECT_FALSE(CJavaColoring::IsKeyword(k, static_cast<int>(std::strlen(k)))) << k;
    // Whole tokens only.
    EXPECT_FALSE(HasRun(Classify("interval = 1;").runs, 0, CI_KEYWORD));
    EXPECT_TRUE(HasRun(Classify("enum E { }").runs, 0, CI_WND));
    EXPECT_FALSE(HasRun(Classify("enum E { }").runs, 0, CI_KEYWORD));
}

TEST(JavaColoring, HighBytesAreIdentifierCharacters)
{
    // "größe" in code page 1252, followed by "(".
    Result r = Classify("gr\xF6\xDF" "e(1);");
    EXPECT_TRUE(HasRun(r.runs, 0, CI_FUNCTION));
    EXPECT_EQ(ClassAt(r.runs, 3), CI_FUNCTION);
}

TEST(JavaColoring, RunsFitTheRoomCallersGive)
{
    // Pathological lines: every character an operator, quote or comment start.
    const std::string lines[] = {"+-*/%&|^!~<>=?:;,.", "'\"'\"'\"", "/*/*/*/", ")(", ".", "\"",
                                 "a.b.c.d", "#", "''''"};
    for (const std::string& line : lines) {
        for (LineState in : {0u, ST_STRING, ST_BLOCKCOMMENT, ST_DIRECTIVE, ST_LINECOMMENT}) {
            std::vector<ColorBlock> runs(static_cast<size_t>(3 * line.size()));
            int count = 0;
            CJavaColoring::ClassifyLine(in, line.data(), static_cast<int>(line.size()), runs.data(),
                                        static_cast<int>(runs.size()), count);
            std::vector<ColorBlock> all;
            CJavaColoring::ClassifyLine(in, line.data(), static_cast<int>(line.size()), all);
            EXPECT_EQ(count, static_cast<int>(all.size())) << line << " in state " << in;
        }
    }
}

TEST(JavaColoring, AgreesWithThePlainRulesOnRandomLines)
{
    // Java-ish pieces, so that comments, literals, escapes and tokens meet
    // in every order.
    const char* pieces[] = {"/", "*", "//", "/*", "*/", "/**", "\"", "'", "\\", "#", " ", "\t", "x",
                            "int", "if", "0x1F", "3.14", ".", "(", ")", "{", "a.b", "=", "+", "\xE4", "_"};
    const LineState states[] = {0, ST_LINECOMMENT, ST_DIRECTIVE, ST_BLOCKCOMMENT, ST_STRING, ST_CHAR,
                                ST_JAVADOC, ST_DIRECTIVE | ST_BLOCKCOMMENT, 0x200};
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    std::vector<ColorBlock> a(200), b(200);
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        const unsigned parts = next() % 12;
        for (unsigned k = 0; k < parts; ++k)
            line += pieces[next() % std::size(pieces)];
        const LineState in = states[next() % std::size(states)];
        const int n = static_cast<int>(line.size());
        for (bool withRuns : {true, false}) {
            int ca = 0, cb = 0;
            LineState sa = CJavaColoring::ClassifyLine(in, line.data(), n, withRuns ? a.data() : nullptr, 200, ca);
            LineState sb = reference::ClassifyLine(in, line.data(), n, withRuns ? b.data() : nullptr, 200, cb);
            ASSERT_EQ(sa, sb) << "line [" << line << "] state " << in;
            ASSERT_EQ(ca, cb) << "line [" << line << "] state " << in;
            for (int r = 0; r < ca; ++r) {
                ASSERT_EQ(a[static_cast<size_t>(r)].start, b[static_cast<size_t>(r)].start) << line;
                ASSERT_EQ(a[static_cast<size_t>(r)].colorClass, b[static_cast<size_t>(r)].colorClass) << line;
            }
        }
    }
}
