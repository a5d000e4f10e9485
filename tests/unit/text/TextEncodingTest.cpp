#include "text/TextEncoding.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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

namespace {

// One character at a time, the slow way the detector's blocks must agree with.
bool ValidOneByOne(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        const int n = utf8::SequenceLength(s.data(), static_cast<int>(s.size()), static_cast<int>(i));
        if (n == 0)
            return false;
        i += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

TEST(TextEncoding, BlocksOfGermanTextDecideLikeOneCharacterAtATime)
{
    // Pieces placed at every offset into ASCII, so that each lands at the
    // start, inside, across and at the end of a 16-byte block.
    const std::string pieces[] = {
        "\xC3\xA4",            // ä
        "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA4", // äöüßäöüßä
        "\xC3",                // lead without continuation
        "\xA4",                // continuation without lead
        "\xC3\xC3\xA4",        // lead, then a whole sequence
        "\xC3\xA4\xA4",        // one continuation too many
        "\xC0\xAF",            // overlong
        "\xC1\xBF",
        "\xDF\xBF",            // highest two-byte character
        "\xE2\x82\xAC",        // €, three bytes
        "\xE0\x80\xAF",        // overlong, three bytes
        "\xF0\x9F\x98\x80",    // four bytes
        "\xE4",                // Windows-1252 ä
        "\xFF",
    };
    for (const std::string& piece : pieces) {
        for (const std::string& second : {std::string(), std::string("\xC3\xBC"), std::string("\xE4")}) {
            for (size_t at = 0; at <= 34; ++at) {
                std::string s(48, 'x');
                s.insert(at, piece);
                if (!second.empty())
                    s.insert(std::min(s.size(), at + piece.size() + 15), second);
                EXPECT_EQ(IsValidUtf8(s), ValidOneByOne(s)) << "piece at " << at << " of " << s.size();
                // Cut off right after the piece: a lead may be the last byte.
                const std::string cut = s.substr(0, at + piece.size());
                EXPECT_EQ(IsValidUtf8(cut), ValidOneByOne(cut)) << "cut after the piece at " << at;
            }
        }
    }
    // Dense umlauts at every phase of the blocks, then one bad byte at every place.
    std::string dense;
    for (int k = 0; k < 40; ++k)
        dense += "\xC3\xA4";
    for (size_t lead = 0; lead < 16; ++lead) {
        const std::string s = std::string(lead, 'a') + dense;
        EXPECT_TRUE(IsValidUtf8(s)) << lead;
        for (size_t bad = 0; bad < s.size(); ++bad) {
            std::string broken = s;
            broken[bad] = '\xE4';
            EXPECT_EQ(IsValidUtf8(broken), ValidOneByOne(broken)) << lead << " " << bad;
        }
    }
}
