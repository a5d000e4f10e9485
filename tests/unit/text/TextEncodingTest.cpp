#include "text/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

using textencoding::Detect;
using textencoding::IsValidUtf8;

TEST(TextEncoding, StrictUtf8Validation)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ASCII, long enough for the word-wise path"));
    EXPECT_TRUE(IsValidUtf8("// Grüße aus Köln: € 漢 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE4"));             // Windows-1252 ä
    EXPECT_FALSE(IsValidUtf8("abcdefgh\xC3"));      // cut after the lead byte
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong, three bytes
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\x80"));              // lone continuation
    EXPECT_FALSE(IsValidUtf8("\xFF\xFE"));
}

TEST(TextEncoding, DetectionFollowsTheBytes)
{
    auto d = Detect("class A {} // Grüße", TextEncoding::Cp1252);
    EXPECT_EQ(d.encoding, TextEncoding::Utf8);
    EXPECT_FALSE(d.bom);
    d = Detect("// Gr\xFC\xDF" "e", TextEncoding::Utf8);
    EXPECT_EQ(d.encoding, TextEncoding::Cp1252);
    // One stray byte in an otherwise UTF-8 file: the whole file is read as
    // Windows-1252, which holds every byte.
    d = Detect("ä ö \xE4", TextEncoding::Utf8);
    EXPECT_EQ(d.encoding, TextEncoding::Cp1252);
    // Pure ASCII and empty text take the given encoding.
    EXPECT_EQ(Detect("class A {}", TextEncoding::Cp1252).encoding, TextEncoding::Cp1252);
    EXPECT_EQ(Detect("class A {}", TextEncoding::Utf8).encoding, TextEncoding::Utf8);
    EXPECT_EQ(Detect("", TextEncoding::Cp1252).encoding, TextEncoding::Cp1252);
}

TEST(TextEncoding, ByteOrderMarkOnlyInFrontOfValidUtf8)
{
    auto d = Detect("\xEF\xBB\xBF" "class A {}", TextEncoding::Cp1252);
    EXPECT_EQ(d.encoding, TextEncoding::Utf8);
    EXPECT_TRUE(d.bom);
    d = Detect("\xEF\xBB\xBF", TextEncoding::Cp1252);
    EXPECT_EQ(d.encoding, TextEncoding::Utf8);
    EXPECT_TRUE(d.bom);
    // Followed by invalid bytes the mark is three Windows-1252 characters.
    d = Detect("\xEF\xBB\xBF" "\xE4", TextEncoding::Utf8);
    EXPECT_EQ(d.encoding, TextEncoding::Cp1252);
    EXPECT_FALSE(d.bom);
}

TEST(TextEncoding, LocaleCharacterSets)
{
    EXPECT_EQ(textencoding::EncodingForCodeset("UTF-8"), TextEncoding::Utf8);
    EXPECT_EQ(textencoding::EncodingForCodeset("utf8"), TextEncoding::Utf8);
    EXPECT_EQ(textencoding::EncodingForCodeset("ANSI_X3.4-1968"), TextEncoding::Utf8);
    EXPECT_EQ(textencoding::EncodingForCodeset(""), TextEncoding::Utf8);
    EXPECT_EQ(textencoding::EncodingForCodeset("ISO-8859-1"), TextEncoding::Cp1252);
    EXPECT_EQ(textencoding::EncodingForCodeset("ISO-8859-15"), TextEncoding::Cp1252);
    EXPECT_EQ(textencoding::EncodingForCodeset("CP1252"), TextEncoding::Cp1252);
    EXPECT_EQ(textencoding::EncodingForCodeset("ISO-8859-2"), TextEncoding::Utf8);
}

} // namespace

TEST(TextEncoding, DetectorFedInPiecesDecidesLikeDetect)
{
    const std::string samples[] = {
        "plain ascii text, longer than eight bytes",
        "abc\xC3\xA4" "def\xE2\x82\xAC" "ghi\xF0\x9F\x98\x80",
        "abc\xC3",                         // cut by the end
        "abcdefgh\xE4" "ijklmnop",         // Windows-1252
        "\xEF\xBB\xBF" "mark and \xC3\xA4", // mark, valid
        "\xEF\xBB\xBF" "mark then \xFF",    // mark, invalid
        "\xED\xA0\x80 surrogate",
        "",
    };
    for (const std::string& s : samples) {
        for (TextEncoding plain : {TextEncoding::Utf8, TextEncoding::Cp1252}) {
            const textencoding::Decision whole = Detect(s, plain);
            // Every cut into two pieces, and a byte at a time.
            for (size_t cut = 0; cut <= s.size(); ++cut) {
                textencoding::CDetector d;
                d.Feed(std::string_view(s).substr(0, cut));
                const textencoding::Decision pieced = d.Finish(s, plain);
                EXPECT_EQ(pieced.encoding, whole.encoding) << s << " cut " << cut;
                EXPECT_EQ(pieced.bom, whole.bom) << s << " cut " << cut;
            }
            textencoding::CDetector bytewise;
            for (size_t n = 0; n <= s.size(); ++n)
                bytewise.Feed(std::string_view(s).substr(0, n));
            EXPECT_EQ(bytewise.Finish(s, plain).encoding, whole.encoding) << s;
        }
    }
    EXPECT_EQ(Detect("ab\xC3\xA4", TextEncoding::Cp1252).encoding, TextEncoding::Utf8);
    EXPECT_EQ(Detect("ab\xC3", TextEncoding::Utf8).encoding, TextEncoding::Cp1252);
    EXPECT_EQ(Detect("ascii", TextEncoding::Cp1252).encoding, TextEncoding::Cp1252);
}
