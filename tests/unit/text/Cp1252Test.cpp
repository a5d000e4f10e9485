#include "text/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUnicodeAndUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(cp1252::EncodeWide(cp1252::DecodeWide(all)), all);
    EXPECT_EQ(cp1252::EncodeUtf8(cp1252::DecodeUtf8(all)), all);
}

TEST(Cp1252, GermanTextAndEuroMapToTheirCharacters)
{
    const std::string bytes = "\xE4\xF6\xFC\xDF\x80"; // äöüß€
    EXPECT_EQ(cp1252::DecodeUtf8(bytes), "äöüß€");
    EXPECT_EQ(cp1252::DecodeWide(bytes), L"äöüß€");
    EXPECT_EQ(cp1252::EncodeUtf8("äöüß€"), bytes);
    EXPECT_EQ(cp1252::ToUnicode(0x93), U'\u201C');
    EXPECT_EQ(cp1252::ToUnicode(0x81), U'\u0081'); // no character: passed through
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(cp1252::EncodeUtf8("a\xE2\x82\xAC b \xCE\xA9 \xF0\x9F\x98\x80"), "a\x80 b ? ?");
    EXPECT_EQ(cp1252::EncodeWide(L"\u0416x"), "?x");
    // Broken UTF-8: a lone continuation byte, a truncated sequence, an
    // overlong form and an encoded surrogate each give one "?" per byte
    // that cannot start a character.
    EXPECT_EQ(cp1252::EncodeUtf8("\x80z"), "?z");
    EXPECT_EQ(cp1252::EncodeUtf8("\xC3"), "?");
    EXPECT_EQ(cp1252::EncodeUtf8("\xE0\x80\x80"), "???");
    EXPECT_EQ(cp1252::EncodeUtf8("\xED\xA0\x80"), "???");
    EXPECT_EQ(cp1252::EncodeUtf8("x", '#'), "x");
    EXPECT_EQ(cp1252::EncodeUtf8("\xCE\xA9", '#'), "#");
}

TEST(Cp1252, LettersAndCasePartners)
{
    using namespace cp1252;
    EXPECT_EQ(ToUpper(0xE4), 0xC4); // ä -> Ä
    EXPECT_EQ(ToLower(0xC4), 0xE4);
    EXPECT_EQ(ToUpper(0xFF), 0x9F); // ÿ -> Ÿ
    EXPECT_EQ(ToUpper(0x9A), 0x8A); // š -> Š
    EXPECT_EQ(ToUpper(0xDF), 0xDF); // ß has no upper-case partner
    EXPECT_TRUE(IsLower(0xDF));
    EXPECT_EQ(ToUpper(0xF7), 0xF7); // ÷ is not a letter
    EXPECT_EQ(ToLower(0xD7), 0xD7); // × neither
    EXPECT_FALSE(IsLetter(0xD7));
    EXPECT_FALSE(IsLetter(0xF7));
    EXPECT_TRUE(IsLetter(0xAA));
    EXPECT_FALSE(IsUpper(0xAA));
    EXPECT_FALSE(IsLower(0xAA));
    EXPECT_FALSE(IsLetter('1'));
    EXPECT_FALSE(IsLetter(0x80));
    // Every partner pair maps back.
    for (int c = 0; c < 256; ++c) {
        unsigned char u = static_cast<unsigned char>(c);
        if (IsUpper(u)) {
            EXPECT_EQ(ToUpper(ToLower(u)), u) << c;
        }
        if (IsLower(u) && ToUpper(u) != u) {
            EXPECT_EQ(ToLower(ToUpper(u)), u) << c;
        }
    }
}

} // namespace
