#include "toolchain/ChildConsole.h"
#include "toolchain/CompilerMessage.h"
#include "toolchain/PaneText.h"

#include "platform/LocaleCodeset.h"
#include "platform/Process.h"

#include <gtest/gtest.h>

using namespace toolchain;

namespace {

std::string Fake(const std::string& name)
{
    if (name == "de_DE.UTF-8" || name == "C.UTF-8")
        return "UTF-8";
    if (name == "de_DE" || name == "de_DE@euro")
        return "ISO-8859-1";
    if (name == "C" || name == "POSIX")
        return "ANSI_X3.4-1968";
    if (name == "ru_RU.KOI8-R")
        return "KOI8-R";
    return "";
}

std::string Var(const CChildConsole& c, const char* name)
{
    const char* v = platform::FindVariable(c.environment, name);
    return v ? v : "<unset>";
}

} // namespace

TEST(ChildConsole, UtfEightAndWesternLocalesStayAsTheyAre)
{
    std::vector<std::string> env = {"LANG=de_DE.UTF-8", "HOME=/h"};
    CChildConsole c = Utf8Console(env, Fake);
    EXPECT_EQ(c.environment, env);
    EXPECT_EQ(c.output, TextEncoding::Utf8);
    EXPECT_EQ(SourceEncodingOption(TextEncoding::Utf8, c), "");
    EXPECT_EQ(SourceEncodingOption(TextEncoding::Cp1252, c), "windows-1252");

    env = {"LANG=de_DE@euro"};
    c = Utf8Console(env, Fake);
    EXPECT_EQ(c.environment, env);
    EXPECT_EQ(c.output, TextEncoding::Cp1252);
    // JDK 17 would read a UTF-8 file in the locale's set.
    EXPECT_EQ(SourceEncodingOption(TextEncoding::Utf8, c), "UTF-8");
}

TEST(ChildConsole, AnAsciiLocaleGetsAUtf8CharacterTypeAndNothingElse)
{
    CChildConsole c = Utf8Console({"LANG=C", "LC_MESSAGES=de_DE.UTF-8"}, Fake);
    EXPECT_EQ(Var(c, "LC_CTYPE"), "C.UTF-8");
    EXPECT_EQ(Var(c, "LANG"), "C");
    EXPECT_EQ(Var(c, "LC_MESSAGES"), "de_DE.UTF-8");
    EXPECT_EQ(c.output, TextEncoding::Utf8);
    EXPECT_EQ(SourceEncodingOption(TextEncoding::Utf8, c), "");

    // Nothing set at all, a missing locale, a foreign single-byte set.
    for (auto env : std::vector<std::vector<std::string>>{{}, {"LANG=xx_YY"}, {"LC_CTYPE=ru_RU.KOI8-R"}}) {
        c = Utf8Console(env, Fake);
        EXPECT_EQ(Var(c, "LC_CTYPE"), "C.UTF-8");
        EXPECT_EQ(c.output, TextEncoding::Utf8);
    }

    // LC_ALL overrides LC_CTYPE: it is spelled out so the others stay C.
    c = Utf8Console({"LC_ALL=C", "LC_TIME=de_DE.UTF-8", "LANG=de_DE.UTF-8"}, Fake);
    EXPECT_EQ(Var(c, "LC_ALL"), "<unset>");
    EXPECT_EQ(Var(c, "LC_CTYPE"), "C.UTF-8");
    EXPECT_EQ(Var(c, "LC_TIME"), "C");
    EXPECT_EQ(Var(c, "LC_MESSAGES"), "C");
    EXPECT_EQ(Var(c, "LC_NUMERIC"), "C");
    EXPECT_EQ(Fake(CharacterLocale(c.environment)), "UTF-8");
}

TEST(ChildConsole, TheRealCUtf8LocaleExists)
{
    EXPECT_TRUE(IsUtf8Codeset(platform::CodesetOfLocale("C.UTF-8")));
    CChildConsole c = Utf8Console({"LC_ALL=C"}, &platform::CodesetOfLocale);
    EXPECT_TRUE(IsUtf8Codeset(platform::CodesetOfLocale(CharacterLocale(c.environment))));
}

TEST(CompilerCaret, JavacCountsUtf16UnitsBeforeTheCaret)
{
    // javac's caret index for "x" in each line (measured with JDK 17 and 25).
    std::string line = "String s = \"\xE4\xB8\xAD\xC3\x9F\"; int x";
    EXPECT_EQ(SourceIndexOfCaret(line, 21, TextEncoding::Utf8, false), static_cast<int>(line.find('x')));
    std::string emoji = "\"\xF0\x9F\x98\x80\" x"; // a character above U+FFFF counts twice
    EXPECT_EQ(SourceIndexOfCaret(emoji, 5, TextEncoding::Utf8, false), static_cast<int>(emoji.find('x')));
    // The BOM, kept out of line 1's bytes, is one unit for javac.
    EXPECT_EQ(SourceIndexOfCaret("public x", 8, TextEncoding::Utf8, true), 7);
    EXPECT_EQ(SourceIndexOfCaret("public x", 0, TextEncoding::Utf8, true), 0);
    std::string w = "\tGr\xFC\xDF" "e x";
    EXPECT_EQ(SourceIndexOfCaret(w, 7, TextEncoding::Cp1252, false), 7);
    EXPECT_EQ(SourceIndexOfCaret(w, 99, TextEncoding::Cp1252, false), static_cast<int>(w.size()));
}

TEST(PaneText, WindowsOutputBecomesUtf8AndUtf8PassesByteForByte)
{
    CPaneTextConverter c;
    c.Reset(TextEncoding::Cp1252);
    EXPECT_EQ(c.Convert("Gr\xFC\xDF" "e \x80\n"), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n");
    c.Reset(TextEncoding::Utf8);
    // A character split between two reads stays whole in the pane.
    EXPECT_EQ(c.Convert("\xE2\x82") + c.Convert("\xAC\n"), "\xE2\x82\xAC\r\n");
}
