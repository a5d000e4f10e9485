#include "toolchain/CompilerMessage.h"

#include <gtest/gtest.h>

using namespace toolchain;

namespace {

// A pane as the compile command leaves it: heading, javac's output, closing line.
std::vector<std::string> Pane()
{
    return {
        "Compile /src/Hello.java....",                                  // 0
        "/src/Hello.java:3: error: cannot find symbol",                 // 1
        "        int x = y;",                                           // 2
        "                ^",                                            // 3
        "  symbol:   variable y",                                       // 4
        "  location: class Hello",                                      // 5
        "/src/Hello.java:1234: warning: [removal] Integer(int) in Integer has been deprecated", // 6
        "\tInteger i = new Integer(5);",                                // 7
        "\t            ^",                                              // 8
        "/src/Hello.java:9: error: bad operand types for binary operator '^'", // 9
        "        boolean b = c ^ 1;",                                   // 10
        "                      ^",                                      // 11
        "2 errors",                                                     // 12
        "",                                                             // 13
        "Compilierung beendet",                                         // 14
    };
}

} // namespace

TEST(CompilerMessageTest, CaretLineGivesColumnAndHighlightFromMessageLineOn)
{
    auto lines = Pane();
    for (int clicked : {1, 2, 3, 4, 5}) {
        CCompilerMessage m = RecognizeCompilerMessage(lines, clicked);
        ASSERT_TRUE(m.Complete()) << clicked;
        EXPECT_EQ(m.file, "/src/Hello.java");
        EXPECT_EQ(m.line, 3);
        EXPECT_EQ(m.caretIndex, 16);
        EXPECT_EQ(m.column, 17) << "1-based column of the character under the caret (y)";
        EXPECT_EQ(lines[2][static_cast<size_t>(m.column - 1)], 'y');
        EXPECT_EQ(m.messageLine, 1);
        EXPECT_EQ(m.caretLine, 3);
        EXPECT_EQ(m.selStartLine, 1);
        EXPECT_EQ(m.selStartColumn, 0);
        EXPECT_EQ(m.selEndLine, 3);
        EXPECT_EQ(m.selEndColumn, 17) << "two past the caret, at most the line's end";
    }
}

TEST(CompilerMessageTest, FourDigitLineNumbersAndTabsInTheCaretLine)
{
    CCompilerMessage m = RecognizeCompilerMessage(Pane(), 8);
    ASSERT_TRUE(m.Complete());
    EXPECT_EQ(m.line, 1234);
    EXPECT_EQ(m.caretIndex, 13) << "javac copies the tab, so the index is a byte offset";
    EXPECT_EQ(Pane()[7][static_cast<size_t>(m.column - 1)], 'n');
}

TEST(CompilerMessageTest, CaretInTheMessageOrInTheSourceLineIsNotTheCaretLine)
{
    auto lines = Pane();
    for (int clicked : {9, 10, 11}) {
        CCompilerMessage m = RecognizeCompilerMessage(lines, clicked);
        ASSERT_TRUE(m.Complete());
        EXPECT_EQ(m.messageLine, 9);
        EXPECT_EQ(m.caretLine, 11) << "neither line 9 nor the source line 10, which hold ^ as text";
        EXPECT_EQ(lines[10][static_cast<size_t>(m.column - 1)], '^');
    }
}

TEST(CompilerMessageTest, FirstLineIsNeverExaminedAndLinesWithoutMessageFail)
{
    std::vector<std::string> lines = {"Compile /src/A.java:1: looks like a message", "nothing here", "   ^"};
    EXPECT_FALSE(RecognizeCompilerMessage(lines, 0).messageFound);
    EXPECT_FALSE(RecognizeCompilerMessage(lines, 2).messageFound);
    EXPECT_FALSE(RecognizeCompilerMessage({}, 0).messageFound);
    EXPECT_FALSE(RecognizeCompilerMessage(lines, -5).messageFound);
    // A click below the last line counts as the last line.
    lines = {"Compile", "/a/B.java:7: error: x", "  y", "  ^"};
    EXPECT_TRUE(RecognizeCompilerMessage(lines, 99).Complete());
}

TEST(CompilerMessageTest, MessageWithoutCaretLineDeliversFileAndLineButFails)
{
    std::vector<std::string> lines = {"Compile /s/C.java....", "/s/C.java:42: error: something",
                                      "no caret anywhere", "Compilierung beendet"};
    CCompilerMessage m = RecognizeCompilerMessage(lines, 1);
    EXPECT_TRUE(m.messageFound);
    EXPECT_FALSE(m.caretFound);
    EXPECT_FALSE(m.Complete()) << "the double-click does nothing";
    EXPECT_EQ(m.file, "/s/C.java");
    EXPECT_EQ(m.line, 42);
    EXPECT_EQ(m.column, 0) << "the context menu jumps to column 0";
    EXPECT_EQ(m.selEndLine, -1);
}

TEST(CompilerMessageTest, LineNumberIsTheLeadingDigitsAndFileIsMadeFull)
{
    auto one = [](const std::string& text, const std::string& base = {}) {
        return RecognizeCompilerMessage({"Compile", text, "^"}, 1, base);
    };
    EXPECT_EQ(one("/a b/X.java:12x: e").line, 12);
    EXPECT_EQ(one("/a/X.java:: e").line, 0);
    EXPECT_EQ(one("/a/X.java:-3: e").line, 0);
    EXPECT_EQ(one("/a/X.java:99999999999999: e").line, 2147483647);
    EXPECT_EQ(one("/a/./b/../X.java:1: e").file, "/a/X.java");
    EXPECT_EQ(one("Rel.java:1: e", "/work/src").file, "/work/src/Rel.java");
    EXPECT_EQ(one("/x.java:y/Z.java:5: e").file, "/x.java") << "the first .java: counts";
    EXPECT_EQ(one("/x.java:y/Z.java:5: e").line, 0);
    CCompilerMessage m = one("/p/Q.java:2: e");
    EXPECT_EQ(m.caretIndex, 0);
    EXPECT_EQ(m.column, 1);
    EXPECT_EQ(m.selEndColumn, 1);
}

TEST(CompilerMessageTest, PaneTextSplitsOnEveryLineBreakKind)
{
    EXPECT_EQ(SplitPaneLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitPaneLines("x\r\n"), (std::vector<std::string>{"x", ""}));
    EXPECT_EQ(SplitPaneLines(""), (std::vector<std::string>{""}));
}
