#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> Boundaries(const std::string& s)
{
    std::vector<int> out;
    const int len = static_cast<int>(s.size());
    for (int i = 0; i < len; i = utf8::Next(s.data(), len, i))
        out.push_back(i);
    out.push_back(len);
    return out;
}

TEST(Utf8, StepsOverWholeCharacters)
{
    const std::string s = "aß€漢\xF0\x9F\x98\x80z"; // 1, 2, 3, 3, 4, 1 bytes
    EXPECT_EQ(Boundaries(s), (std::vector<int>{0, 1, 3, 6, 9, 13, 14}));
    const int len = static_cast<int>(s.size());
    std::vector<int> back;
    for (int i = len; i > 0; i = utf8::Prev(s.data(), len, i))
        back.push_back(i);
    EXPECT_EQ(back, (std::vector<int>{14, 13, 9, 6, 3, 1}));
    // From inside a character to its ends.
    EXPECT_EQ(utf8::Next(s.data(), len, 4), 6);
    EXPECT_EQ(utf8::Prev(s.data(), len, 5), 3);
    EXPECT_FALSE(utf8::IsBoundary(s.data(), len, 2));
    EXPECT_TRUE(utf8::IsBoundary(s.data(), len, 3));
    EXPECT_EQ(utf8::Next(s.data(), len, len), len);
    EXPECT_EQ(utf8::Prev(s.data(), len, 0), 0);
}

TEST(Utf8, InvalidBytesAreCharactersOfTheirOwn)
{
    // A Windows-1252 ä, a cut sequence, a lone continuation, an overlong form.
    const std::string s = "\xE4x\xE2\x82y\x80\xC0\xAF";
    EXPECT_EQ(Boundaries(s), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    int n;
    EXPECT_EQ(utf8::Decode(s.data(), static_cast<int>(s.size()), 0, n), utf8::kInvalid);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(utf8::ToValid(s), "\uFFFDx\uFFFD\uFFFDy\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(utf8::ToValid("Grüße"), "Grüße");
}

TEST(Utf8, DecodeAndAppendAgree)
{
    for (char32_t cp : {U'A', U'ä', U'€', U'漢', U'\U0001F600', U'\U0010FFFF'}) {
        std::string s;
        utf8::Append(s, cp);
        int n;
        EXPECT_EQ(utf8::Decode(s.data(), static_cast<int>(s.size()), 0, n), cp);
        EXPECT_EQ(n, static_cast<int>(s.size()));
    }
    std::string none;
    utf8::Append(none, 0xD800);
    utf8::Append(none, 0x110000);
    EXPECT_TRUE(none.empty());
}

TEST(Utf8, WideCharactersTakeTwoCells)
{
    EXPECT_EQ(utf8::CellWidth(U'a'), 1);
    EXPECT_EQ(utf8::CellWidth(U'ß'), 1);
    EXPECT_EQ(utf8::CellWidth(U'€'), 1);
    EXPECT_EQ(utf8::CellWidth(U'漢'), 2);
    EXPECT_EQ(utf8::CellWidth(U'가'), 2);
    EXPECT_EQ(utf8::CellWidth(U'ア'), 2);
    EXPECT_EQ(utf8::CellWidth(U'Ａ'), 2);
    EXPECT_EQ(utf8::CellWidth(U'\U0001F600'), 2);
    EXPECT_EQ(utf8::CellWidth(utf8::kInvalid), 1);
}

} // namespace
