#include "text/CharCase.h"

#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace charcase;

constexpr TextEncoding kUtf8 = TextEncoding::Utf8;
constexpr TextEncoding kCp1252 = TextEncoding::Cp1252;

TEST(CharCase, LettersAndPartnersAcrossTheScripts)
{
    // Latin-1, Latin Extended-A and -B, Greek, Cyrillic, Armenian.
    const std::pair<char32_t, char32_t> pairs[] = {
        {U'Ä', U'ä'}, {U'Ö', U'ö'}, {U'Ü', U'ü'}, {U'Ÿ', U'ÿ'}, {U'Ł', U'ł'}, {U'Ő', U'ő'},
        {U'Ž', U'ž'}, {U'Ǎ', U'ǎ'}, {U'Ə', U'ə'}, {U'Ȳ', U'ȳ'}, {U'Ω', U'ω'}, {U'Ά', U'ά'},
        {U'Ж', U'ж'}, {U'Ё', U'ё'}, {U'Ґ', U'ґ'}, {U'Ա', U'ա'}, {U'Ạ', U'ạ'}, {U'Ａ', U'ａ'},
    };
    for (auto [up, low] : pairs) {
        EXPECT_TRUE(IsUpper(up) && IsLetter(up)) << static_cast<unsigned>(up);
        EXPECT_TRUE(IsLower(low) && IsLetter(low)) << static_cast<unsigned>(low);
        EXPECT_EQ(ToLower(up), low) << static_cast<unsigned>(up);
        EXPECT_EQ(ToUpper(low), up) << static_cast<unsigned>(low);
        EXPECT_EQ(ToTitle(low), up);
    }
    // Letters without case, and signs that are no letters.
    for (char32_t c : {U'ß', U'ª', U'µ', U'中', U'あ', U'한', U'א'}) {
        EXPECT_TRUE(IsLetter(c)) << static_cast<unsigned>(c);
        EXPECT_EQ(ToUpper(c), c);
        EXPECT_FALSE(IsUpper(c));
    }
    for (char32_t c : {U'×', U'÷', U'€', U'§', U'«', U'→', U'0', U' '})
        EXPECT_FALSE(IsLetter(c)) << static_cast<unsigned>(c);
    // The title-case digraphs.
    EXPECT_EQ(ToUpper(U'ǆ'), U'Ǆ');
    EXPECT_EQ(ToTitle(U'ǆ'), U'ǅ');
    EXPECT_EQ(ToLower(U'ǅ'), U'ǆ');
    // One-way mappings: the signs come down to their letters, not back.
    EXPECT_EQ(ToLower(U'K'), U'k');
    EXPECT_EQ(ToUpper(U'k'), U'K');
    EXPECT_EQ(ToUpper(U'ς'), U'Σ');
    EXPECT_EQ(ToLower(U'Σ'), U'σ');
}

TEST(CharCase, WordCharacters)
{
    for (char32_t c : {U'a', U'Z', U'5', U'_', U'ä', U'ß', U'Ж', U'中', U'\u0308', U'٣'})
        EXPECT_TRUE(IsWordChar(c)) << static_cast<unsigned>(c);
    for (char32_t c : {U' ', U'-', U'.', U'€', U'«', U'\u00A0', U'→', utf8::kInvalid})
        EXPECT_FALSE(IsWordChar(c)) << static_cast<unsigned>(c);

    const std::string u = "a\xC3\xA4-\xE2\x82\xAC\xFF";
    const int n = static_cast<int>(u.size());
    EXPECT_TRUE(IsWordCharAt(u.data(), n, 1, kUtf8));       // ä
    EXPECT_FALSE(IsWordCharAt(u.data(), n, 4, kUtf8));      // €
    EXPECT_FALSE(IsWordCharAt(u.data(), n, 7, kUtf8));      // an invalid byte
    EXPECT_TRUE(IsWordCharBefore(u.data(), n, 3, kUtf8));   // ä ends at 3
    EXPECT_FALSE(IsWordCharBefore(u.data(), n, 7, kUtf8));  // € ends at 7
    EXPECT_FALSE(IsWordCharBefore(u.data(), n, 0, kUtf8));
    // The same bytes read as Windows-1252: Ã and ¤ separately.
    EXPECT_TRUE(IsWordCharAt(u.data(), n, 1, kCp1252));
    EXPECT_FALSE(IsWordCharAt(u.data(), n, 2, kCp1252));
    EXPECT_TRUE(IsWordCharAt(u.data(), n, 7, kCp1252)); // ÿ
}

TEST(CharCase, SharpSGrowsInBothEncodings)
{
    EXPECT_EQ(Mapped("stra\xC3\x9F" "e", EMapping::Upper, kUtf8), "STRASSE");
    EXPECT_EQ(Mapped("stra\xDF" "e", EMapping::Upper, kCp1252), "STRASSE");
    EXPECT_EQ(Mapped("\xC3\x9F", EMapping::Title, kUtf8), "Ss");
    EXPECT_EQ(Mapped("\xC3\x9F", EMapping::Lower, kUtf8), "\xC3\x9F");
    // Capital sharp s lower-cases to ß and folds to ss.
    EXPECT_EQ(Mapped("\xE1\xBA\x9E", EMapping::Lower, kUtf8), "\xC3\x9F");
    EXPECT_EQ(Mapped("\xE1\xBA\x9E", EMapping::Fold, kUtf8), "ss");
    EXPECT_EQ(Mapped("\xEF\xAC\x81", EMapping::Upper, kUtf8), "FI"); // ﬁ
}

TEST(CharCase, UmlautsMapInTheDocumentsEncoding)
{
    EXPECT_EQ(Mapped("\xC3\x84\xC3\x96\xC3\x9C", EMapping::Lower, kUtf8), "\xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_EQ(Mapped("\xC4\xD6\xDC", EMapping::Lower, kCp1252), "\xE4\xF6\xFC");
    EXPECT_EQ(Mapped("\xCF\x89 \xD0\xB6", EMapping::Upper, kUtf8), "\xCE\xA9 \xD0\x96"); // ω ж
    // A mapping that grows in bytes (ⱥ is three bytes, Ⱥ two).
    EXPECT_EQ(Mapped("\xC8\xBA", EMapping::Lower, kUtf8), "\xE2\xB1\xA5");
    // Windows-1252 keeps a letter whose partner it cannot hold: µ, ƒ.
    EXPECT_EQ(Mapped("\xB5\x83\xFF\x9A", EMapping::Upper, kCp1252), "\xB5\x83\x9F\x8A");
}

TEST(CharCase, InvalidBytesAreKept)
{
    // A lone lead byte, a lone continuation byte, a cut sequence at the end.
    const std::string bytes = "a\xC3" "b\xA4" "c\xE2\x82";
    EXPECT_EQ(Mapped(bytes, EMapping::Upper, kUtf8), "A\xC3" "B\xA4" "C\xE2\x82");
    EXPECT_EQ(Mapped(bytes, EMapping::Fold, kUtf8), "a\xC3" "b\xA4" "c\xE2\x82");
}

TEST(CharCase, Cp1252TablesAgreeWithTheUnicodeRules)
{
    for (int b = 0; b < 256; ++b) {
        const unsigned char c = static_cast<unsigned char>(b);
        const char32_t cp = cp1252::ToUnicode(c);
        if (cp1252::IsLetter(c)) {
            EXPECT_TRUE(IsLetter(cp)) << b;
        }
        const char up = cp1252::FromUnicode(ToUpper(cp), static_cast<char>(c));
        const char low = cp1252::FromUnicode(ToLower(cp), static_cast<char>(c));
        EXPECT_EQ(static_cast<unsigned char>(up), cp1252::ToUpper(c)) << b;
        EXPECT_EQ(static_cast<unsigned char>(low), cp1252::ToLower(c)) << b;
    }
}

TEST(CharCase, FoldedComparison)
{
    EXPECT_TRUE(EqualFolded("GR\xC3\x9C" "SSE", "gr\xC3\xBC\xC3\x9F" "e", kUtf8));
    EXPECT_TRUE(EqualFolded("GR\xDCSSE", "gr\xFC\xDF" "e", kCp1252));
    EXPECT_TRUE(EqualFolded("\xCE\xA3", "\xCF\x82", kUtf8)); // Σ and final ς
    EXPECT_FALSE(EqualFolded("gr\xC3\xBC\xC3\x9F" "e", "grusse", kUtf8));
    EXPECT_FALSE(EqualFolded("\xC4\xB1", "i", kUtf8)); // dotless ı stays apart
}

TEST(CharCase, FoldedTextMapsBackToWholeCharacters)
{
    CFoldedText f;
    // "Übergröße": Ü(2) b e r g r ö(2) ß(2) e; ß becomes "ss".
    f.Assign("\xC3\x9C" "bergr\xC3\xB6\xC3\x9F" "e", kUtf8);
    EXPECT_EQ(f.Bytes(), "\xC3\xBC" "bergr\xC3\xB6ss" "e");
    EXPECT_EQ(f.SourceOffset(0), 0);
    EXPECT_FALSE(f.StartsChar(1)); // inside ü
    EXPECT_EQ(f.SourceOffset(2), 2);
    EXPECT_EQ(f.SourceOffset(9), 9);  // the first s
    EXPECT_EQ(f.SourceOffset(10), 9); // the second s: still ß
    EXPECT_TRUE(f.StartsChar(9));
    EXPECT_FALSE(f.StartsChar(10));
    EXPECT_EQ(f.SourceOffset(11), 11);
    EXPECT_EQ(f.SourceOffset(12), 12); // the end
    EXPECT_TRUE(f.StartsChar(12));

    // Windows-1252: one byte per character until ß.
    f.Assign("a\xDF" "B", kCp1252);
    EXPECT_EQ(f.Bytes(), "assb");
    EXPECT_EQ(f.SourceOffset(3), 2);
    EXPECT_FALSE(f.StartsChar(2));
    EXPECT_EQ(f.SourceOffset(4), 3);

    // Without a change of length the offsets are the bytes' own.
    f.Assign("\xC3\x84x", kUtf8);
    EXPECT_EQ(f.Bytes(), "\xC3\xA4x");
    EXPECT_EQ(f.SourceOffset(2), 2);
    EXPECT_FALSE(f.StartsChar(1));
}

} // namespace
