#include "editor/TextMotion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int Left(const std::string& s, int x)
{
    return textmotion::WordLeft(s.data(), static_cast<int>(s.size()), x);
}
int Right(const std::string& s, int x)
{
    return textmotion::WordRight(s.data(), static_cast<int>(s.size()), x);
}

TEST(TextMotion, WordStepsSkipRunsOfOneKind)
{
    const std::string s = "foo bar";
    EXPECT_EQ(Left(s, 7), 4); // from the end to the b of bar
    EXPECT_EQ(Left(s, 4), 0);
    EXPECT_EQ(Right(s, 0), 4);
    EXPECT_EQ(Right(s, 4), 7);
    const std::string ops = "a = b->c;  ";
    EXPECT_EQ(Right(ops, 0), 2);
    EXPECT_EQ(Right(ops, 2), 4);
    EXPECT_EQ(Right(ops, 5), 7);  // "->" is one step
    EXPECT_EQ(Right(ops, 8), 11); // ";" and the blanks after it
    EXPECT_EQ(Left(ops, 11), 8);
    EXPECT_EQ(Left(ops, 7), 5);
    // Umlauts are letters; the underscore belongs to words.
    const std::string de = "gr\xF6\xDF" "e_x+1";
    EXPECT_EQ(Right(de, 0), 7);
    EXPECT_EQ(Left(de, 7), 0);
    EXPECT_EQ(Left("   ", 3), 0);
}

TEST(TextMotion, SmartHomeAlternatesBetweenIndentAndColumnZero)
{
    const std::string s = "    x = 1;";
    int n = static_cast<int>(s.size());
    EXPECT_EQ(textmotion::SmartHome(s.data(), n, 8), 4);
    EXPECT_EQ(textmotion::SmartHome(s.data(), n, 4), 0);
    EXPECT_EQ(textmotion::SmartHome(s.data(), n, 0), 4);
    EXPECT_EQ(textmotion::SmartHome("  \t ", 4, 3), 0); // white space only
    EXPECT_EQ(textmotion::SmartHome("", 0, 0), 0);
}

TEST(TextMotion, WordBoundsAroundAPosition)
{
    const std::string s = "int count_1 = 5;";
    int n = static_cast<int>(s.size());
    EXPECT_EQ(textmotion::WordStart(s.data(), n, 7), 4);
    EXPECT_EQ(textmotion::WordEnd(s.data(), n, 7), 11);
    EXPECT_EQ(textmotion::WordStart(s.data(), n, 12), 12); // at a blank: nothing to grow
    EXPECT_EQ(textmotion::WordEnd(s.data(), n, 12), 12);
}

TEST(TextMotionUtf8, WordsAreWholeCharactersOfAnyLetter)
{
    constexpr TextEncoding kUtf8 = TextEncoding::Utf8;
    auto left = [&](const std::string& t, int x) {
        return textmotion::WordLeft(t.data(), static_cast<int>(t.size()), x, kUtf8);
    };
    auto right = [&](const std::string& t, int x) {
        return textmotion::WordRight(t.data(), static_cast<int>(t.size()), x, kUtf8);
    };
    const std::string de = "Übergröße = Привет·x";
    const int ende = static_cast<int>(std::string("Übergröße").size());
    EXPECT_EQ(right(de, 0), ende + 1);
    EXPECT_EQ(left(de, ende), 0);
    EXPECT_EQ(textmotion::WordStart(de.data(), static_cast<int>(de.size()), 5, kUtf8), 0);
    EXPECT_EQ(textmotion::WordEnd(de.data(), static_cast<int>(de.size()), 5, kUtf8), ende);
    // Cyrillic is a word; the middle dot and the no-break space are not.
    const int cyr = static_cast<int>(std::string("Übergröße = ").size());
    EXPECT_EQ(right(de, cyr), cyr + static_cast<int>(std::string("Привет").size()));
    const std::string nbsp = "a\u00A0\u00A0b";
    EXPECT_EQ(right(nbsp, 0), 5);
    // Read as Windows-1252, the same bytes make other words: Ü's bytes are
    // "Ã" (a letter) and "œ" (a letter), "ö"'s second byte "¶" is a sign.
    EXPECT_EQ(textmotion::WordRight(de.data(), static_cast<int>(de.size()), 0), 8);
    // A position inside a character is taken back to its start; an invalid
    // byte is a character of its own that is no letter.
    EXPECT_EQ(right("\xC3\xBC" "ab", 1), 4);
    EXPECT_EQ(right("ab\xFF" "cd", 0), 2);
    EXPECT_EQ(left("ab\xFF" "cd", 3), 2);
    EXPECT_TRUE(textmotion::IsWordCodePoint(U'\u8A9E'));
    EXPECT_FALSE(textmotion::IsWordCodePoint(U'\u20AC'));
    EXPECT_FALSE(textmotion::IsWordCodePoint(U'\u3002'));
}

} // namespace
