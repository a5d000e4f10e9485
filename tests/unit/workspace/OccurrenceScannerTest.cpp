#include "workspace/OccurrenceScanner.h"

#include "support/TempDir.h"
#include "text/CharCase.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

namespace {

struct Hit {
    int64_t offset, line, column;
    std::string text;
    bool operator==(const Hit&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Hit& h)
{
    return os << "{@" << h.offset << " " << h.line << "," << h.column << " '" << h.text << "'}";
}

std::vector<Hit> Drain(COccurrenceScanner& s)
{
    std::vector<Hit> hits;
    FileOccurrence o;
    while (s.Next(o))
        hits.push_back({o.offset, o.line, o.column, std::string(o.lineText)});
    return hits;
}

std::vector<Hit> Scan(std::string_view bytes, std::string_view pattern, bool matchCase = true,
                      bool wholeWord = false)
{
    COccurrenceScanner s;
    s.SetPattern(pattern, matchCase, wholeWord);
    EXPECT_TRUE(s.OpenMemory(bytes));
    return Drain(s);
}

std::vector<Hit> ScanIn(TextEncoding encoding, std::string_view bytes, std::string_view pattern, bool matchCase,
                        bool wholeWord = false)
{
    COccurrenceScanner s;
    s.SetPattern(pattern, matchCase, wholeWord, encoding);
    EXPECT_TRUE(s.OpenMemory(bytes));
    return Drain(s);
}

std::vector<std::pair<int64_t, int64_t>> Positions(const std::vector<Hit>& hits)
{
    std::vector<std::pair<int64_t, int64_t>> v;
    for (const Hit& h : hits)
        v.emplace_back(h.line, h.column);
    return v;
}

using LC = std::vector<std::pair<int64_t, int64_t>>;

// The occurrences by the rules, byte by byte, without windows or vector code.
std::vector<Hit> Reference(std::string_view f, std::string_view p, bool matchCase, bool wholeWord)
{
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    auto word = [](unsigned char c) { return isalnum(c) || c == '_'; };
    auto isBreak = [](char c) { return c == '\n' || c == '\r' || c == '\0'; };
    std::vector<Hit> hits;
    if (p.empty())
        return hits;
    size_t i = 0;
    while (i + p.size() <= f.size()) {
        bool eq = true;
        for (size_t k = 0; k < p.size() && eq; ++k)
            eq = matchCase ? f[i + k] == p[k]
                           : fold(static_cast<unsigned char>(f[i + k])) == fold(static_cast<unsigned char>(p[k]));
        if (!eq) {
            ++i;
            continue;
        }
        if (wholeWord && ((i > 0 && word(static_cast<unsigned char>(f[i - 1]))) ||
                          (i + p.size() < f.size() && word(static_cast<unsigned char>(f[i + p.size()]))))) {
            i += p.size();
            continue;
        }
        Hit h{static_cast<int64_t>(i), 1, 0, ""};
        size_t ls = i;
        while (ls > 0 && !isBreak(f[ls - 1]))
            --ls;
        for (size_t k = 0; k < i; ++k)
            h.line += f[k] == '\n';
        h.column = static_cast<int64_t>(i - ls) + 1;
        size_t le = ls;
        while (le < f.size() && !isBreak(f[le]))
            ++le;
        h.text = std::string(f.substr(ls, le - ls < 1000 ? le - ls : 40));
        hits.push_back(h);
        i += p.size();
    }
    return hits;
}

} // namespace

TEST(OccurrenceScanner, NeverOverlapping)
{
    EXPECT_EQ(Positions(Scan("abab", "ab")), (LC{{1, 1}, {1, 3}}));
    EXPECT_EQ(Positions(Scan("aaa", "aa")), (LC{{1, 1}}));
    EXPECT_EQ(Positions(Scan("aaaa", "aa")), (LC{{1, 1}, {1, 3}}));
    // Two on one line: same line, different columns, the same text.
    auto two = Scan("x\nfoo foo\n", "foo");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], (Hit{2, 2, 1, "foo foo"}));
    EXPECT_EQ(two[1], (Hit{6, 2, 5, "foo foo"}));
}

TEST(OccurrenceScanner, WholeWords)
{
    EXPECT_EQ(Positions(Scan("int x\nprint\nint_x\n(int)\nint", "int", true, true)),
              (LC{{1, 1}, {4, 2}, {5, 1}}));
    // A rejected candidate is skipped as a whole: "a.a" at 1 is preceded by
    // "x"; the overlapping candidate at 3 is not tried.
    EXPECT_EQ(Positions(Scan("xa.a.a", "a.a", true, true)), LC{});
    EXPECT_EQ(Positions(Scan("a.a.a", "a.a", true, true)), (LC{{1, 1}}));
    // Bytes that are no valid UTF-8 are no word characters ...
    EXPECT_EQ(Positions(Scan("\xE4int\xE9", "int", true, true)), (LC{{1, 2}}));
    // ... the letters of the file's encoding are.
    EXPECT_EQ(Positions(Scan("M\xC3\xBCller ller \xE2\x82\xAC" "ller", "ller", true, true)), (LC{{1, 9}, {1, 17}}));
    EXPECT_EQ(Positions(ScanIn(TextEncoding::Cp1252, "M\xFCller ller \x80ller", "ller", true, true)),
              (LC{{1, 8}, {1, 14}}));
    EXPECT_EQ(Positions(ScanIn(TextEncoding::Cp1252, "\xE4int\xE9 int", "int", true, true)), (LC{{1, 7}}));
}

TEST(OccurrenceScanner, CaseFoldingByTheFilesEncoding)
{
    EXPECT_EQ(Positions(Scan("Java JAVA java", "jAvA", false)), (LC{{1, 1}, {1, 6}, {1, 11}}));
    EXPECT_EQ(Positions(Scan("Java JAVA java", "java", true)), (LC{{1, 11}}));
    // "[" is not a case form of "{".
    EXPECT_EQ(Positions(Scan("{ [ @ `", "[", false)), (LC{{1, 3}}));
    EXPECT_EQ(Positions(Scan("@`", "`", false)), (LC{{1, 2}}));
    // UTF-8: umlauts in either case, ß as ss; columns are bytes here.
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F" "e GR\xC3\x9C" "SSE gr\xC3\xBCsse \xC3\x9C" "bergr\xC3\xB6\xC3\x9F" "e";
    EXPECT_EQ(Positions(Scan(utf8, "GR\xC3\x9C" "SSE", false)), (LC{{1, 1}, {1, 9}, {1, 17}}));
    EXPECT_EQ(Positions(Scan(utf8, "gr\xC3\xBC\xC3\x9F" "e", false)), (LC{{1, 1}, {1, 9}, {1, 17}}));
    EXPECT_EQ(Positions(Scan(utf8, "\xC3\xBC" "BER", false)), (LC{{1, 25}}));
    EXPECT_EQ(Positions(Scan(utf8, "gr\xC3\xB6sse", false, true)), LC{}); // inside "Übergröße"
    EXPECT_EQ(Positions(Scan(utf8, "S", false)), (LC{{1, 13}, {1, 14}, {1, 21}, {1, 22}}));
    EXPECT_EQ(Positions(Scan(utf8, "GR\xC3\x9C" "SSE", true)), (LC{{1, 9}}));
    // Windows-1252: the code page's letters.
    const std::string cp = "Gr\xFC\xDF" "e GR\xDCSSE \xC4pfel \xE4PFEL";
    EXPECT_EQ(Positions(ScanIn(TextEncoding::Cp1252, cp, "gr\xFC\xDF" "e", false)), (LC{{1, 1}, {1, 7}}));
    EXPECT_EQ(Positions(ScanIn(TextEncoding::Cp1252, cp, "\xE4pfel", false)), (LC{{1, 14}, {1, 20}}));
    EXPECT_EQ(Positions(ScanIn(TextEncoding::Cp1252, cp, "\xE4pfel", true)), LC{});
}

// The folded occurrences of a UTF-8 pattern found whole and streamed
// through small buffers are the same as a plain scan of the folded text.
TEST(OccurrenceScanner, FoldedOccurrencesStreamWithTheSameResults)
{
    std::mt19937 rng(5);
    const std::vector<std::string> pieces = {"\xC3\xA4", "\xC3\x84", "\xC3\x9F", "s", "S", "a", "\n", " ", "\xE2\x82\xAC"};
    for (int round = 0; round < 60; ++round) {
        std::string text;
        const size_t size = 100 + rng() % 8000;
        while (text.size() < size)
            text += pieces[rng() % pieces.size()];
        std::string pattern;
        for (unsigned n = 1 + rng() % 3; n > 0; --n)
            pattern += pieces[rng() % 6];
        if (pattern.find_first_of("\x80\xC3") == std::string::npos)
            pattern += "\xC3\xA4"; // keep to the character-wise path
        // The reference: non-overlapping matches in the folded text that
        // start and end on whole characters.
        charcase::CFoldedText folded, foldedPattern;
        folded.Assign(text, TextEncoding::Utf8);
        foldedPattern.Assign(pattern, TextEncoding::Utf8);
        const std::string& f = folded.Bytes();
        const std::string& p = foldedPattern.Bytes();
        std::vector<int64_t> expected;
        for (size_t at = f.find(p); at != std::string::npos;) {
            if (folded.StartsChar(at) && folded.StartsChar(at + p.size())) {
                expected.push_back(folded.SourceOffset(at));
                at = f.find(p, at + p.size());
            } else {
                at = f.find(p, at + 1);
            }
        }
        for (bool stream : {false, true}) {
            COccurrenceScanner s(stream ? 64 + rng() % 2000 : COccurrenceScanner::kInitialCapacity);
            if (stream)
                s.SetMaxWholeFile(0);
            s.SetPattern(pattern, false, false, TextEncoding::Utf8);
            ASSERT_TRUE(s.OpenMemory(text));
            std::vector<int64_t> offsets;
            for (const Hit& h : Drain(s))
                offsets.push_back(h.offset);
            EXPECT_EQ(offsets, expected) << "round " << round << (stream ? " streamed" : "");
        }
    }
}

TEST(OccurrenceScanner, LinesAndColumns)
{
    // Lines count line feeds; columns restart behind CR, LF and NUL; a tab is
    // one column.
    std::string bytes("a\r\n\tb x\rb", 9);
    bytes += '\0';
    bytes += "b\n\nb";
    auto hits = Scan(bytes, "b");
    ASSERT_EQ(hits.size(), 4u);
    EXPECT_EQ(hits[0], (Hit{4, 2, 2, "\tb x"}));
    EXPECT_EQ(hits[1], (Hit{8, 2, 1, "b"}));
    EXPECT_EQ(hits[2], (Hit{10, 2, 1, "b"}));
    EXPECT_EQ(hits[3], (Hit{13, 4, 1, "b"}));
}

TEST(OccurrenceScanner, LongLinesAreCut)
{
    std::string line999 = "x" + std::string(998, '.');
    std::string line1000 = "y" + std::string(999, '.');
    auto hits = Scan(line999 + "\n" + line1000 + "\nz", "x");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].text, line999);
    hits = Scan(line999 + "\n" + line1000 + "\nz", "y");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].text, line1000.substr(0, 40));
    // The line's start, not the occurrence, is shown.
    hits = Scan(std::string(5000, '-') + "needle", "needle");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].column, 5001);
    EXPECT_EQ(hits[0].text, std::string(40, '-'));
}

TEST(OccurrenceScanner, EmptyPatternFindsNothing)
{
    EXPECT_TRUE(Scan("abc", "").empty());
    EXPECT_TRUE(Scan("", "a").empty());
    EXPECT_EQ(Positions(Scan("a", "a", true, true)), (LC{{1, 1}}));
    EXPECT_TRUE(Scan("ab", "abc").empty());
}

TEST(OccurrenceScanner, BufferGrowsToTheLargestFileAndServesTheNext)
{
    COccurrenceScanner s;
    s.SetPattern("needle", true, false);
    EXPECT_EQ(s.Capacity(), 65535u);
    // A file of 65534 bytes fits with its NUL: no growth.
    std::string fits(65534, 'a');
    fits.replace(65528, 6, "needle");
    ASSERT_TRUE(s.OpenMemory(fits));
    EXPECT_EQ(Drain(s).size(), 1u);
    EXPECT_EQ(s.Capacity(), 65535u);
    // 65535 bytes do not: the buffer becomes the length plus 1000.
    std::string big(65535, 'a');
    big.replace(65529, 6, "needle");
    ASSERT_TRUE(s.OpenMemory(big));
    EXPECT_EQ(Drain(s).size(), 1u);
    EXPECT_EQ(s.Capacity(), 66535u);
    // A smaller file keeps the larger buffer, a larger one replaces it.
    ASSERT_TRUE(s.OpenMemory("needle"));
    EXPECT_EQ(Drain(s).size(), 1u);
    EXPECT_EQ(s.Capacity(), 66535u);
    std::string bigger(100000, 'b');
    ASSERT_TRUE(s.OpenMemory(bigger));
    EXPECT_TRUE(Drain(s).empty());
    EXPECT_EQ(s.Capacity(), 101000u);
    s.ReleaseBuffer();
    EXPECT_EQ(s.Capacity(), 65535u);
}

TEST(OccurrenceScanner, AFileThatFillsTheBufferExactly)
{
    // The bytes and the NUL take the whole buffer: the file is complete, and
    // a match at its very end is found.
    for (size_t capacity : {64u, 65535u}) {
        COccurrenceScanner s(capacity);
        s.SetMaxWholeFile(0);
        s.SetPattern("end", true, true);
        std::string text(capacity - 1 - 4, 'x');
        text += " end";
        ASSERT_TRUE(s.OpenMemory(text));
        auto hits = Drain(s);
        ASSERT_EQ(hits.size(), 1u) << capacity;
        EXPECT_EQ(hits[0].offset, static_cast<int64_t>(capacity - 4));
        EXPECT_EQ(s.Capacity(), capacity);
    }
}

TEST(OccurrenceScanner, FilesOverTheLimitStreamWithTheSameResults)
{
    // Random texts over a small alphabet with many breaks and long lines,
    // read whole and streamed through small buffers: identical occurrences.
    std::mt19937 rng(11);
    const std::string alphabet = "aAb_\n\r\0-x";
    for (int round = 0; round < 60; ++round) {
        std::string text;
        const size_t size = 200 + rng() % 20000;
        while (text.size() < size) {
            if (rng() % 50 == 0)
                text += std::string(900 + rng() % 300, 'a'); // lines around the cut
            else
                text += alphabet[rng() % alphabet.size()];
        }
        std::string pattern;
        for (unsigned n = 1 + rng() % 3; n > 0; --n)
            pattern += "aAb_x"[rng() % 5];
        const bool matchCase = rng() % 2;
        const bool wholeWord = rng() % 2;
        const auto expected = Reference(text, pattern, matchCase, wholeWord);

        COccurrenceScanner whole;
        whole.SetPattern(pattern, matchCase, wholeWord);
        ASSERT_TRUE(whole.OpenMemory(text));
        EXPECT_EQ(Drain(whole), expected) << "round " << round;

        COccurrenceScanner streamed(64 + rng() % 3000);
        streamed.SetMaxWholeFile(0);
        streamed.SetPattern(pattern, matchCase, wholeWord);
        ASSERT_TRUE(streamed.OpenMemory(text));
        EXPECT_EQ(Drain(streamed), expected) << "round " << round << " streamed";
        EXPECT_LT(streamed.Capacity(), 3000 + 1000 + 2 * pattern.size() + 64 + 1);
    }
}

TEST(OccurrenceScanner, ReadsFilesAndRefusesOtherThings)
{
    kibtest::CTempDir dir;
    kibtest::WriteFile(dir.File("a.txt"), "one\ntwo needle\n");
    int fd = ::open(dir.File("a.txt").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    COccurrenceScanner s;
    s.SetPattern("needle", true, false);
    ASSERT_TRUE(s.Open(fd));
    EXPECT_EQ(Drain(s), (std::vector<Hit>{{8, 2, 5, "two needle"}}));
    ::close(fd);
    int dirFd = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
    EXPECT_FALSE(s.Open(dirFd));
    EXPECT_TRUE(Drain(s).empty());
    ::close(dirFd);
    EXPECT_FALSE(s.Open(-1));
}

TEST(OccurrenceScanner, PollCancelsAStreamedFile)
{
    std::string text(1 << 20, 'a');
    text += "needle";
    COccurrenceScanner s;
    s.SetMaxWholeFile(0);
    s.SetPattern("needle", true, false);
    int polls = 0;
    s.SetPoll([&] { return ++polls < 3; });
    ASSERT_TRUE(s.OpenMemory(text));
    EXPECT_TRUE(Drain(s).empty());
    EXPECT_TRUE(s.Cancelled());
    EXPECT_EQ(polls, 3);
}
