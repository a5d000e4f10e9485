#include "platform/CommandLine.h"

#include <gtest/gtest.h>

using platform::JoinCommandLine;
using platform::QuoteArgument;
using platform::ShellQuote;
using platform::SplitCommandLine;
using Words = std::vector<std::string>;

TEST(CommandLineSplit, BlanksAndTabsSeparateWordsOutsideQuotes)
{
    EXPECT_EQ(SplitCommandLine(""), Words{});
    EXPECT_EQ(SplitCommandLine("   \t "), Words{});
    EXPECT_EQ(SplitCommandLine("a  b\tc "), (Words{"a", "b", "c"}));
    EXPECT_EQ(SplitCommandLine("\"a b\"\t\"c\td\""), (Words{"a b", "c\td"}));
    EXPECT_EQ(SplitCommandLine("x\"y z\"w"), (Words{"xy zw"})) << "quotes inside a word group";
}

TEST(CommandLineSplit, QuotedPiecesJoinIntoOneWord)
{
    EXPECT_EQ(SplitCommandLine("\"a\";\"b\""), (Words{"a;b"}));
    EXPECT_EQ(SplitCommandLine("-classpath \"\":\"/src\":\"\" -g"),
              (Words{"-classpath", ":/src:", "-g"}));
    EXPECT_EQ(SplitCommandLine("\"\""), (Words{""})) << "an empty pair is an empty word";
    EXPECT_EQ(SplitCommandLine("a \"\" b"), (Words{"a", "", "b"}));
    EXPECT_EQ(SplitCommandLine("\""), (Words{""})) << "an open quote alone";
    EXPECT_EQ(SplitCommandLine("\"open to the end"), (Words{"open to the end"}));
}

TEST(CommandLineSplit, BackslashesCountOnlyInFrontOfQuotes)
{
    EXPECT_EQ(SplitCommandLine(R"(C:\dir\file a\\b)"), (Words{R"(C:\dir\file)", R"(a\\b)"}));
    EXPECT_EQ(SplitCommandLine(R"(\"a)"), (Words{"\"a"}));
    EXPECT_EQ(SplitCommandLine(R"(\\"a b")"), (Words{R"(\a b)"}));
    EXPECT_EQ(SplitCommandLine(R"(\\\"a)"), (Words{R"(\"a)"}));
    EXPECT_EQ(SplitCommandLine(R"("a\\" b)"), (Words{R"(a\)", "b"}));
    EXPECT_EQ(SplitCommandLine(R"("say ""hi""")"), (Words{R"(say "hi")"})) << "\"\" inside quotes";
}

TEST(CommandLineQuote, EveryValueSplitsBackUnchanged)
{
    const Words values = {"",
                          "plain",
                          "with blank",
                          "tab\there",
                          "quote\"inside",
                          "\"",
                          "\"\"",
                          "trailing\\",
                          "trailing\\\\",
                          "back\\\"quote",
                          "\\\\\"",
                          "$(touch pwned) `id` ; rm -rf x & | > <",
                          "it's",
                          "/home/u/My \"Java\" Files;x/Hello.java",
                          "\xE4\xF6\xFC\xDF"};
    for (const std::string& v : values) {
        EXPECT_EQ(SplitCommandLine(QuoteArgument(v)), Words{v}) << QuoteArgument(v);
        EXPECT_EQ(SplitCommandLine("x " + QuoteArgument(v) + " y"), (Words{"x", v, "y"}));
    }
    EXPECT_EQ(SplitCommandLine(JoinCommandLine(values)), values);
    EXPECT_EQ(SplitCommandLine(QuoteArgument("a b") + ":" + QuoteArgument("c\"d")), Words{"a b:c\"d"});
}

TEST(CommandLineQuote, OrdinaryValuesAreOnlyEnclosed)
{
    EXPECT_EQ(QuoteArgument("/usr/bin/javac"), "\"/usr/bin/javac\"");
    EXPECT_EQ(QuoteArgument("/my dir/a\\b"), "\"/my dir/a\\b\"");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
    EXPECT_EQ(QuoteArgument("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(QuoteArgument("a\\"), "\"a\\\\\"");
}

TEST(ShellQuoteTest, SingleQuotesWithEmbeddedQuotesClosedAndEscaped)
{
    EXPECT_EQ(ShellQuote(""), "''");
    EXPECT_EQ(ShellQuote("a b"), "'a b'");
    EXPECT_EQ(ShellQuote("it's"), "'it'\\''s'");
    EXPECT_EQ(ShellQuote("$(x) `y` \"z\" \\"), "'$(x) `y` \"z\" \\'");
}

TEST(CommandLineSplit, VerbatimPiecesAreNeverReadAsQuotingOrSeparators)
{
    using platform::CommandPiece;
    using W = std::vector<std::string>;
    EXPECT_EQ(platform::SplitCommandLine({{"-o ", false}, {"a \"b\" \\", true}, {"x y", false}}),
              (W{"-o", "a \"b\" \\x", "y"}));
    // A quote opened in typed text closes in typed text after the value.
    EXPECT_EQ(platform::SplitCommandLine({{"\"", false}, {"\" \"", true}, {" z\"", false}}), (W{"\" \" z"}));
    // Backslashes before a verbatim quote are literal; "" across a value is no escape.
    EXPECT_EQ(platform::SplitCommandLine({{"a\\\\", false}, {"\"", true}}), (W{"a\\\\\""}));
    EXPECT_EQ(platform::SplitCommandLine({{"\"x\"", false}, {"\"", true}, {"\"", false}}), (W{"x\""}));
    EXPECT_EQ(platform::SplitCommandLine({{"", true}, {" a ", false}, {"", true}}), (W{"a"}));
    // One literal piece splits as the plain overload does.
    for (const char* line : {"a \"b c\" d\\\"e", "\"\"", "  x\t\"y\"\"z\" "})
        EXPECT_EQ(platform::SplitCommandLine({{line, false}}), platform::SplitCommandLine(line)) << line;
}
