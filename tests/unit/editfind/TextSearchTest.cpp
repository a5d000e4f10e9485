#include "editor/TextSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace {

void Load(CTextBuffer& b, std::string_view bytes)
{
    if (!b.LoadFromMemory(bytes))
        throw std::runtime_error("LoadFromMemory failed");
}

// Runs a search and gives the position found, or None.
TextPos Find(const CTextBuffer& b, std::string_view pattern, TextPos start, uint32_t flags,
             bool wrap = false)
{
    TextPos found = TextPos::None();
    if (!SearchText(b, pattern, start, flags, wrap, found))
        return TextPos::None();
    return found;
}

TextPos FindIn(const CTextBuffer& b, std::string_view pattern, TextPos start, TextPos bb,
               TextPos be, uint32_t flags, bool wrap = false)
{
    TextPos found = TextPos::None();
    if (!SearchInRange(b, pattern, start, bb, be, flags, wrap, found))
        return TextPos::None();
    return found;
}

constexpr uint32_t kCase = SEARCH_MATCH_CASE;
constexpr uint32_t kWord = SEARCH_WHOLE_WORD;
constexpr uint32_t kUp = SEARCH_UP;

} // namespace

TEST(SearchText, NeverAcrossALineBreak)
{
    CTextBuffer b;
    Load(b, "xa\r\nbx\r\n");
    EXPECT_EQ(Find(b, "ab", TextPos(0, 0), 0, true), TextPos::None());
    EXPECT_EQ(Find(b, "a", TextPos(0, 0), 0), TextPos(1, 0));
    EXPECT_EQ(Find(b, "b", TextPos(0, 0), 0), TextPos(0, 1));
}

TEST(SearchText, CaseFoldingUsesWindows1252)
{
    CTextBuffer b;
    Load(b, "JAVA java Java \xC4pfel \xE4PFEL \xFF");
    EXPECT_EQ(Find(b, "java", TextPos(0, 0), 0), TextPos(0, 0));
    EXPECT_EQ(Find(b, "java", TextPos(1, 0), 0), TextPos(5, 0));
    EXPECT_EQ(Find(b, "java", TextPos(6, 0), 0), TextPos(10, 0));
    EXPECT_EQ(Find(b, "java", TextPos(0, 0), kCase), TextPos(5, 0));
    EXPECT_EQ(Find(b, "java", TextPos(6, 0), kCase), TextPos::None());
    // a-umlaut matches A-umlaut; y-diaeresis matches its capital (0x9F).
    EXPECT_EQ(Find(b, "\xE4pfel", TextPos(0, 0), 0), TextPos(15, 0));
    EXPECT_EQ(Find(b, "\xE4pfel", TextPos(16, 0), 0), TextPos(21, 0));
    EXPECT_EQ(Find(b, "\xE4pfel", TextPos(0, 0), kCase), TextPos::None());
    EXPECT_EQ(Find(b, "\x9F", TextPos(0, 0), 0), TextPos(27, 0));
    EXPECT_EQ(Find(b, "\x9F", TextPos(0, 0), kCase), TextPos::None());
}

TEST(SearchText, WholeWords)
{
    CTextBuffer b;
    Load(b, "cat\r\natom\r\ncat at\r\n");
    EXPECT_EQ(Find(b, "at", TextPos(0, 0), kWord), TextPos(4, 2));
    EXPECT_EQ(Find(b, "at", TextPos(0, 0), 0), TextPos(1, 0));
    // Digits, "_" and the letters of the code page are word characters,
    // other bytes from 0x80 up are not.
    CTextBuffer c;
    Load(c, "x1 _x x\xE9 x\x80 x");
    EXPECT_EQ(Find(c, "x", TextPos(0, 0), kWord), TextPos(9, 0));
    EXPECT_EQ(Find(c, "x", TextPos(10, 0), kWord), TextPos(12, 0));
}

// The match found and its length in bytes.
std::pair<TextPos, int> Match(const CTextBuffer& b, std::string_view pattern, TextPos start, uint32_t flags)
{
    TextPos found = TextPos::None();
    int length = -1;
    if (!SearchText(b, pattern, start, flags, false, found, &length))
        return {TextPos::None(), -1};
    return {found, length};
}

TEST(SearchText, Utf8CaseFoldingTakesWholeCharacters)
{
    CTextBuffer b;
    // "Übergröße grüße GRÜSSE"
    Load(b, "\xC3\x9C" "bergr\xC3\xB6\xC3\x9F" "e gr\xC3\xBC\xC3\x9F" "e GR\xC3\x9C" "SSE");
    ASSERT_EQ(b.Encoding(), TextEncoding::Utf8);
    const auto grosse = "GR\xC3\x9C" "SSE";
    EXPECT_EQ(Match(b, grosse, TextPos(0, 0), 0), std::make_pair(TextPos(13, 0), 7));
    EXPECT_EQ(Match(b, grosse, TextPos(14, 0), 0), std::make_pair(TextPos(21, 0), 7));
    EXPECT_EQ(Match(b, grosse, TextPos(0, 0), kCase), std::make_pair(TextPos(21, 0), 7));
    EXPECT_EQ(Match(b, "gr\xC3\xBC\xC3\x9F" "e", TextPos(14, 0), 0), std::make_pair(TextPos(21, 0), 7));
    // "ss" finds ß, "s" never half of it.
    EXPECT_EQ(Match(b, "SS", TextPos(0, 0), 0), std::make_pair(TextPos(9, 0), 2));
    EXPECT_EQ(Match(b, "s", TextPos(0, 0), 0), std::make_pair(TextPos(25, 0), 1));
    EXPECT_EQ(Match(b, "\xC3\xBC" "BER", TextPos(0, 0), 0), std::make_pair(TextPos(0, 0), 5));
    // Whole words: the umlauts are letters, so "gr" is inside words.
    EXPECT_EQ(Match(b, "\xC3\xBC" "bergr\xC3\xB6sse", TextPos(0, 0), kWord), std::make_pair(TextPos(0, 0), 12));
    EXPECT_EQ(Match(b, "bergr", TextPos(0, 0), kWord).first, TextPos::None());
    EXPECT_EQ(Match(b, "gr\xC3\xB6", TextPos(0, 0), kWord).first, TextPos::None());
    EXPECT_EQ(Match(b, "gr\xC3\xBCsse", TextPos(0, 0), kWord), std::make_pair(TextPos(13, 0), 7));
}

TEST(SearchText, Utf8MatchesNeverSplitACharacter)
{
    CTextBuffer b;
    // "ä" and "€" around a lone continuation byte; the search texts are
    // bytes of them.
    Load(b, "x\xC3\xA4 \xE2\x82\xAC \xA4");
    ASSERT_EQ(b.Encoding(), TextEncoding::Cp1252); // the lone byte is no UTF-8
    CTextBuffer u;
    Load(u, "x\xC3\xA4 \xE2\x82\xAC y");
    ASSERT_EQ(u.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(Find(u, "\xA4", TextPos(0, 0), kCase), TextPos::None());
    EXPECT_EQ(Find(u, "\xA4", TextPos(0, 0), 0), TextPos::None());
    EXPECT_EQ(Find(u, "\x82\xAC", TextPos(0, 0), kCase), TextPos::None());
    EXPECT_EQ(Find(u, "\xE2\x82", TextPos(0, 0), 0), TextPos::None());
    EXPECT_EQ(Find(u, "\xE2\x82\xAC", TextPos(0, 0), 0), TextPos(4, 0));
    // In the Windows-1252 document the same bytes are characters of their own.
    EXPECT_EQ(Find(b, "\xA4", TextPos(0, 0), kCase), TextPos(2, 0));
}

TEST(SearchText, Cp1252SharpSFoldsToSs)
{
    CTextBuffer b;
    Load(b, "Gr\xFC\xDF" "e GR\xDCSSE");
    ASSERT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_EQ(Match(b, "GR\xDCSSE", TextPos(0, 0), 0), std::make_pair(TextPos(0, 0), 5));
    EXPECT_EQ(Match(b, "gr\xFC\xDF" "e", TextPos(1, 0), 0), std::make_pair(TextPos(6, 0), 6));
    EXPECT_EQ(Match(b, "GR\xDCSSE", TextPos(0, 0), kCase), std::make_pair(TextPos(6, 0), 6));
}

TEST(SearchText, ControlTextMeetsTheDocumentsEncoding)
{
    CTextBuffer u, w;
    Load(u, "gr\xC3\xBC\xC3\x9F" "e \xD0\x96");
    Load(w, "gr\xFC\xDF" "e");
    ASSERT_EQ(w.Encoding(), TextEncoding::Cp1252);
    EXPECT_EQ(DocumentSearchText(u, "\xC3\xBC\xE2\x82\xAC"), "\xC3\xBC\xE2\x82\xAC");
    EXPECT_EQ(DocumentSearchText(w, "\xC3\xBC\xE2\x82\xAC"), "\xFC\x80");
    EXPECT_EQ(DocumentSearchText(w, "gr\xD0\x96"), "") << "a character the code page lacks finds nothing";
    EXPECT_EQ(Match(u, "\xD0\xB6", TextPos(0, 0), 0), std::make_pair(TextPos(8, 0), 2))
        << "characters beyond the code page are searched for";

    // A proposal from the selection is UTF-8, whatever the document holds.
    std::string proposed;
    ASSERT_TRUE(ProposedSearchText(u, TextPos(2, 0), TextPos(6, 0), proposed));
    EXPECT_EQ(proposed, "\xC3\xBC\xC3\x9F");
    ASSERT_TRUE(ProposedSearchText(w, TextPos(2, 0), TextPos(4, 0), proposed));
    EXPECT_EQ(proposed, "\xC3\xBC\xC3\x9F");
    CTextBuffer cjk;
    Load(cjk, "\xE4\xB8\xAD!");
    ASSERT_TRUE(ProposedSearchText(cjk, TextPos(0, 0), TextPos(3, 0), proposed));
    EXPECT_EQ(proposed, "\xE4\xB8\xAD");
    CTextBuffer mixed;
    Load(mixed, "\xE4\xB8\xAD \xFF x");
    ASSERT_EQ(mixed.Encoding(), TextEncoding::Cp1252) << "invalid UTF-8 makes the file Windows-1252";
    ASSERT_TRUE(ProposedSearchText(mixed, TextPos(4, 0), TextPos(5, 0), proposed));
    EXPECT_EQ(proposed, "\xC3\xBF");

    // F3 carries the text into every document's own encoding.
    RememberedSearch r{true, "GR\xC3\x9CSSE", 0};
    TextPos found;
    int length = 0;
    ASSERT_TRUE(FindAgain(u, r, TextPos(0, 0), false, found, &length));
    EXPECT_EQ(found, TextPos(0, 0));
    EXPECT_EQ(length, 7);
    ASSERT_TRUE(FindAgain(w, r, TextPos(0, 0), false, found, &length));
    EXPECT_EQ(length, 5);
}

TEST(SearchText, WholeWordCandidatesResumeOneCharacterOn)
{
    CTextBuffer b;
    // "a.a" at 1 is rejected ("x" in front); resuming one character on finds
    // the overlapping candidate at 3, preceded by ".".
    Load(b, "xa.a.a");
    EXPECT_EQ(Find(b, "a.a", TextPos(0, 0), kWord), TextPos(3, 0));
    // The byte in front of a resumed candidate is the real one: "aa" is no
    // whole word in "aaa" or "baab", "a" none in either.
    CTextBuffer c;
    Load(c, "aaa\r\nbaab\r\n");
    EXPECT_EQ(Find(c, "aa", TextPos(0, 0), kWord), TextPos::None());
    EXPECT_EQ(Find(c, "a", TextPos(0, 0), kWord), TextPos::None());
}

TEST(SearchText, APartIsSearchedOnItsOwn)
{
    // A search that starts inside a word does not look at the text in front.
    CTextBuffer b;
    Load(b, "cat");
    EXPECT_EQ(Find(b, "at", TextPos(1, 0), kWord), TextPos(1, 0));
    EXPECT_EQ(Find(b, "at", TextPos(0, 0), kWord), TextPos::None());
}

TEST(SearchText, DownwardsWrapsOnce)
{
    CTextBuffer b;
    Load(b, "foo\r\nbar\r\nfoo bar");
    EXPECT_EQ(Find(b, "foo", TextPos(1, 0), 0), TextPos(0, 2));
    EXPECT_EQ(Find(b, "foo", TextPos(1, 2), 0, false), TextPos::None());
    EXPECT_EQ(Find(b, "foo", TextPos(1, 2), 0, true), TextPos(0, 0));
    EXPECT_EQ(Find(b, "baz", TextPos(1, 2), 0, true), TextPos::None());
}

TEST(SearchText, UpwardsSearchesTheRestOfTheStartLineFirst)
{
    CTextBuffer b;
    Load(b, "ab ab\r\nxx ab ab ab\r\nab");
    // From the middle of line 1: the match right of the caret on that line.
    EXPECT_EQ(Find(b, "ab", TextPos(5, 1), kUp), TextPos(6, 1));
    // Then earlier lines, each from its beginning (its first match).
    EXPECT_EQ(Find(b, "ab", TextPos(17, 1), kUp), TextPos(0, 0));
    EXPECT_EQ(Find(b, "ab", TextPos(1, 0), kUp), TextPos(3, 0));
    // After line 0, wrap goes on from the last line, whole lines.
    EXPECT_EQ(Find(b, "ab", TextPos(4, 0), kUp), TextPos::None());
    EXPECT_EQ(Find(b, "ab", TextPos(4, 0), kUp, true), TextPos(0, 2));
    EXPECT_EQ(Find(b, "xx", TextPos(4, 0), kUp, true), TextPos(0, 1));
}

TEST(SearchInRange, BlockEndRules)
{
    CTextBuffer b;
    Load(b, "abc abc\r\nabc abc");
    const TextPos bb(1, 0), be(5, 1);
    // A start in front of the block moves to the block begin.
    EXPECT_EQ(FindIn(b, "abc", TextPos(0, 0), bb, be, 0), TextPos(4, 0));
    // A match that begins before the block end and runs past it counts.
    EXPECT_EQ(FindIn(b, "abc", TextPos(1, 1), bb, be, 0), TextPos(4, 1));
    // One at the block end does not.
    EXPECT_EQ(FindIn(b, "abc", TextPos(1, 1), bb, TextPos(4, 1), 0), TextPos::None());
    // Wrap starts again at the block begin.
    EXPECT_EQ(FindIn(b, "abc", TextPos(1, 1), bb, TextPos(4, 1), 0, true), TextPos(4, 0));
    // An empty block finds nothing, even with wrap.
    EXPECT_EQ(FindIn(b, "abc", TextPos(0, 0), bb, bb, 0, true), TextPos::None());
    // Upwards the block end plays no part.
    EXPECT_EQ(FindIn(b, "abc", TextPos(7, 1), bb, TextPos(1, 1), kUp), TextPos(0, 0));
}

TEST(SearchInRange, EmptyPatternAndOutOfRangePositions)
{
    CTextBuffer b;
    Load(b, "abc\r\nabc");
    EXPECT_EQ(Find(b, "", TextPos(0, 0), 0, true), TextPos::None());
    EXPECT_EQ(Find(b, "", TextPos(0, 0), kUp, true), TextPos::None());
    // Starts past a line end or below the text are clamped to the text.
    EXPECT_EQ(Find(b, "abc", TextPos(99, 0), 0), TextPos(0, 1));
    EXPECT_EQ(Find(b, "abc", TextPos(0, 99), 0, true), TextPos(0, 0));
    EXPECT_EQ(Find(b, "abc", TextPos::None(), 0), TextPos(0, 0));
    CTextBuffer empty;
    empty.InitEmpty();
    EXPECT_EQ(Find(empty, "a", TextPos(0, 0), 0, true), TextPos::None());
}

// Every result of the line search equals what a direct scan over the lines
// gives, for random texts over a small alphabet.
TEST(SearchText, AgreesWithADirectScan)
{
    std::mt19937 rng(7);
    const std::string alphabet = "aAb_ \xE4\xC4";
    auto upper = [](unsigned char c) -> unsigned char {
        if (c >= 'a' && c <= 'z')
            return static_cast<unsigned char>(c - 32);
        return c == 0xE4 ? 0xC4 : c;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines(1 + rng() % 4);
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) {
            for (unsigned n = rng() % 9; n > 0; --n)
                lines[i] += alphabet[rng() % alphabet.size()];
            text += lines[i];
            if (i + 1 < lines.size())
                text += "\r\n";
        }
        std::string pattern;
        for (unsigned n = 1 + rng() % 2; n > 0; --n)
            pattern += alphabet[rng() % alphabet.size()];
        const uint32_t flags = rng() % 2 ? kCase : 0;
        const bool wholeWord = rng() % 2;
        CTextBuffer b;
        Load(b, text);
        const int sy = static_cast<int>(rng() % lines.size());
        const TextPos start(static_cast<int>(rng() % (lines[static_cast<size_t>(sy)].size() + 1)), sy);

        auto eq = [&](char a, char p) {
            unsigned char x = static_cast<unsigned char>(a), y = static_cast<unsigned char>(p);
            return flags ? x == y : upper(x) == upper(y);
        };
        auto matchAt = [&](const std::string& line, size_t from, size_t at) {
            if (at + pattern.size() > line.size())
                return false;
            for (size_t k = 0; k < pattern.size(); ++k)
                if (!eq(line[at + k], pattern[k]))
                    return false;
            if (!wholeWord)
                return true;
            bool before = at > from && IsSearchWordChar(static_cast<unsigned char>(line[at - 1]));
            bool after = at + pattern.size() < line.size() &&
                         IsSearchWordChar(static_cast<unsigned char>(line[at + pattern.size()]));
            return !before && !after;
        };
        TextPos expected = TextPos::None();
        for (size_t y = static_cast<size_t>(sy); y < lines.size() && !expected.IsValid(); ++y) {
            size_t from = y == static_cast<size_t>(sy) ? static_cast<size_t>(start.x) : 0;
            for (size_t at = from; at < lines[y].size(); ++at)
                if (matchAt(lines[y], from, at)) {
                    expected = TextPos(static_cast<int>(at), static_cast<int>(y));
                    break;
                }
        }
        EXPECT_EQ(Find(b, pattern, start, flags | (wholeWord ? kWord : 0)), expected)
            << "text '" << text << "' pattern '" << pattern << "' start " << start.x << "," << start.y;
    }
}

TEST(SelectFound, CaretAndAnchorBehindTheMatch)
{
    FoundSelection s = SelectFoundPositions(TextPos(4, 2), 3);
    EXPECT_EQ(s.caret, TextPos(7, 2));
    EXPECT_EQ(s.anchor, TextPos(7, 2));
    EXPECT_EQ(s.selStart, TextPos(4, 2));
    EXPECT_EQ(s.selEnd, TextPos(7, 2));
}

TEST(ReplaceRange, TwoUndoStepsPerReplacement)
{
    CTextBuffer b;
    Load(b, "one two three");
    TextPos s, e;
    ASSERT_TRUE(ReplaceRange(b, nullptr, TextPos(7, 0), TextPos(4, 0), "2\r\n2", s, e));
    EXPECT_EQ(s, TextPos(4, 0));
    EXPECT_EQ(e, TextPos(1, 1));
    EXPECT_EQ(b.LineText(0), "one 2");
    EXPECT_EQ(b.LineText(1), "2 three");
    TextPos cursor;
    ASSERT_TRUE(b.UndoStep(cursor));
    EXPECT_EQ(b.LineText(0), "one  three");
    ASSERT_TRUE(b.UndoStep(cursor));
    EXPECT_EQ(b.LineText(0), "one two three");
    EXPECT_FALSE(b.CanUndoStep());
    // Actions recorded: the deletion of the selection, then the replacement.
    ASSERT_EQ(b.UndoRecordCount(), 2);
    EXPECT_EQ(b.UndoRecordAt(0).action, ACT_DELSEL);
    EXPECT_EQ(b.UndoRecordAt(1).action, ACT_REPLACE);
}

TEST(ReplaceRange, EmptySelectionEmptyTextAndReadOnly)
{
    CTextBuffer b;
    Load(b, "abc");
    TextPos s, e;
    EXPECT_FALSE(ReplaceRange(b, nullptr, TextPos(1, 0), TextPos(1, 0), "x", s, e));
    EXPECT_EQ(b.UndoRecordCount(), 0);
    // An empty replacement is the deletion alone (one undo step).
    ASSERT_TRUE(ReplaceRange(b, nullptr, TextPos(0, 0), TextPos(1, 0), "", s, e));
    EXPECT_EQ(b.LineText(0), "bc");
    EXPECT_EQ(e, TextPos(0, 0));
    EXPECT_EQ(b.UndoRecordCount(), 1);
}

TEST(AdjustForReplacement, LimitsFollowTheText)
{
    TextPos found(4, 1);
    auto adj = [&](TextPos p, int len, std::string_view repl) {
        AdjustForReplacement(p, found, len, repl);
        return p;
    };
    EXPECT_EQ(adj(TextPos(9, 1), 1, "aa"), TextPos(10, 1));
    EXPECT_EQ(adj(TextPos(9, 1), 3, "a"), TextPos(7, 1));
    EXPECT_EQ(adj(TextPos(4, 1), 1, "aa"), TextPos(4, 1)); // at the match: unchanged
    EXPECT_EQ(adj(TextPos(9, 0), 1, "aa"), TextPos(9, 0));
    EXPECT_EQ(adj(TextPos(9, 2), 1, "aa"), TextPos(9, 2));
    // Inside a shrinking match it never moves in front of the match.
    EXPECT_EQ(adj(TextPos(6, 1), 5, ""), TextPos(4, 1));
    // Line breaks in the replacement move the limits down.
    EXPECT_EQ(adj(TextPos(9, 1), 1, "x\r\nyy"), TextPos(6, 2));
    EXPECT_EQ(adj(TextPos(3, 5), 1, "x\r\ny\r\n"), TextPos(3, 7));
    EXPECT_EQ(InsertedTextEnd(TextPos(2, 0), "a\nb"), TextPos(5, 0)); // lone LF is text
}

TEST(FindAgain, RepeatsAndReverses)
{
    CTextBuffer b;
    Load(b, "x foo y foo");
    RememberedSearch r;
    TextPos found;
    EXPECT_FALSE(FindAgain(b, r, TextPos(0, 0), false, found));
    r.present = true;
    r.text = "FOO";
    r.flags = 0;
    ASSERT_TRUE(FindAgain(b, r, TextPos(0, 0), false, found));
    EXPECT_EQ(found, TextPos(2, 0));
    ASSERT_TRUE(FindAgain(b, r, TextPos(5, 0), false, found));
    EXPECT_EQ(found, TextPos(8, 0));
    // Wrap is on: past the last match it starts again at the top.
    ASSERT_TRUE(FindAgain(b, r, TextPos(11, 0), false, found));
    EXPECT_EQ(found, TextPos(2, 0));
    // Shift+F3 inverts the direction for this search only.
    ASSERT_TRUE(FindAgain(b, r, TextPos(3, 0), true, found));
    EXPECT_EQ(found, TextPos(8, 0));
    EXPECT_EQ(r.flags, 0u);
    r.flags = SEARCH_MATCH_CASE;
    EXPECT_FALSE(FindAgain(b, r, TextPos(0, 0), false, found));
}

TEST(ProposedSearchText, OnlyWithinOneLine)
{
    CTextBuffer b;
    Load(b, "int foo;\r\nbar");
    std::string t;
    ASSERT_TRUE(ProposedSearchText(b, TextPos(7, 0), TextPos(4, 0), t));
    EXPECT_EQ(t, "foo");
    EXPECT_FALSE(ProposedSearchText(b, TextPos(4, 0), TextPos(1, 1), t));
    EXPECT_FALSE(ProposedSearchText(b, TextPos(4, 0), TextPos(4, 0), t));
}
