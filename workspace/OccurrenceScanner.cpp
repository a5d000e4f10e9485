#include "workspace/OccurrenceScanner.h"

#include "text/CharCase.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr bool IsBreak(char c)
{
    return c == '\n' || c == '\r' || c == '\0';
}

// Bytes kept in front of a candidate and read behind one: the character
// beside a match, for the whole-word rule, is at most four bytes long.
constexpr int64_t kLookAround = 4;

constexpr bool IsAsciiLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr unsigned char FoldAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

bool EqualsFolded(const char* text, const char* lowerPattern, size_t n)
{
    for (size_t k = 0; k < n; ++k)
        if (FoldAscii(static_cast<unsigned char>(text[k])) != static_cast<unsigned char>(lowerPattern[k]))
            return false;
    return true;
}

bool EqualsAt(const char* text, const char* pattern, size_t n, bool matchCase)
{
    return matchCase ? std::memcmp(text, pattern, n) == 0 : EqualsFolded(text, pattern, n);
}

// The first start in text[0, starts) where pattern matches; text holds at
// least starts + pattern.size() - 1 bytes. The scan looks for the first and
// the last byte of the pattern at 16 starts at a time and compares the rest
// at each start where both are in place.
size_t FindIn(const char* text, size_t starts, const std::string& pattern, bool matchCase)
{
    const size_t m = pattern.size();
    size_t i = 0;
#if defined(__SSE2__)
    const unsigned char first = static_cast<unsigned char>(pattern[0]);
    const unsigned char last = static_cast<unsigned char>(pattern[m - 1]);
    // A letter anchor is compared with the case bit set on both sides, which
    // matches exactly its two case forms.
    const bool foldFirst = !matchCase && IsAsciiLetter(first);
    const bool foldLast = !matchCase && IsAsciiLetter(last);
    const __m128i vFirst = _mm_set1_epi8(static_cast<char>(first));
    const __m128i vLast = _mm_set1_epi8(static_cast<char>(last));
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i zero = _mm_setzero_si128();
    const __m128i orFirst = foldFirst ? caseBit : zero;
    const __m128i orLast = foldLast ? caseBit : zero;
    for (; i + 16 <= starts; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + m - 1));
        __m128i eq = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, orFirst), vFirst),
                                   _mm_cmpeq_epi8(_mm_or_si128(b, orLast), vLast));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(eq));
        while (mask) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (m <= 2 || EqualsAt(text + i + bit + 1, pattern.data() + 1, m - 2, matchCase))
                return i + bit;
            mask &= mask - 1;
        }
    }
#endif
    if (matchCase) {
        const char first0 = pattern[0];
        while (i < starts) {
            const void* hit = std::memchr(text + i, first0, starts - i);
            if (!hit)
                return std::string::npos;
            i = static_cast<size_t>(static_cast<const char*>(hit) - text);
            if (std::memcmp(text + i, pattern.data(), m) == 0)
                return i;
            ++i;
        }
        return std::string::npos;
    }
    for (; i < starts; ++i)
        if (EqualsFolded(text + i, pattern.data(), m))
            return i;
    return std::string::npos;
}

// Line feeds in [p, p + n).
int64_t CountLineFeeds(const char* p, size_t n)
{
    int64_t count = 0;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
        // Up to 255 blocks add into byte counters before they are summed.
        __m128i acc = zero;
        size_t blocks = std::min<size_t>((n - i) / 16, 255);
        for (size_t b = 0; b < blocks; ++b, i += 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            acc = _mm_sub_epi8(acc, _mm_cmpeq_epi8(v, lf));
        }
        __m128i sums = _mm_sad_epu8(acc, zero);
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
#endif
    for (; i < n; ++i)
        count += p[i] == '\n';
    return count;
}

} // namespace

COccurrenceScanner::COccurrenceScanner(size_t initialCapacity)
    : m_initialCapacity(std::max<size_t>(initialCapacity, 64)), m_capacity(m_initialCapacity)
{
}

COccurrenceScanner::~COccurrenceScanner() = default;

void COccurrenceScanner::SetPattern(std::string_view pattern, bool matchCase, bool wholeWord,
                                    TextEncoding encoding)
{
    m_pattern.assign(pattern);
    m_matchCase = matchCase;
    m_wholeWord = wholeWord;
    m_encoding = encoding;
    m_folding = false;
    m_reach = static_cast<int64_t>(m_pattern.size());
    if (matchCase || m_pattern.empty())
        return;
    charcase::CFoldedText folded;
    folded.Assign(pattern, encoding);
    m_pattern = folded.Bytes();
    // Case folding beyond ASCII letters (umlauts, ß as ss) compares
    // character by character; an ASCII text keeps the fast byte scan.
    m_folding = m_pattern.find("ss") != std::string::npos ||
                std::any_of(m_pattern.begin(), m_pattern.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!m_folding)
        return;
    // A character of up to three bytes may fold to one ("K", the Kelvin sign).
    m_reach = static_cast<int64_t>(m_pattern.size()) * (encoding == TextEncoding::Utf8 ? 3 : 1);
    // The bytes a match can start with: those that start a character whose
    // fold begins with the pattern's first character.
    m_firstBytes.fill(false);
    const int plen = static_cast<int>(m_pattern.size());
    int n = 1;
    const char32_t first = charcase::CharAt(m_pattern.data(), plen, 0, encoding, n);
    const std::string firstFold = m_pattern.substr(0, static_cast<size_t>(n));
    std::string fold;
    auto consider = [&](const std::string& bytes, char32_t cp) {
        fold.clear();
        charcase::AppendMapped(fold, bytes.data(), static_cast<int>(bytes.size()), cp, charcase::EMapping::Fold,
                               encoding);
        if (fold.compare(0, firstFold.size(), firstFold) == 0)
            m_firstBytes[static_cast<unsigned char>(bytes[0])] = true;
    };
    m_firstBytes[static_cast<unsigned char>(m_pattern[0])] = true;
    if (encoding == TextEncoding::Cp1252) {
        for (int b = 0; b < 256; ++b)
            consider(std::string(1, static_cast<char>(b)), cp1252::ToUnicode(static_cast<unsigned char>(b)));
    } else if (first != utf8::kInvalid) {
        // Beyond these blocks no character folds to another one.
        std::string bytes;
        auto range = [&](char32_t from, char32_t to) {
            for (char32_t cp = from; cp <= to; ++cp) {
                bytes.clear();
                utf8::Append(bytes, cp);
                if (!bytes.empty())
                    consider(bytes, cp);
            }
        };
        range(0x41, 0x5A);
        range(0xC0, 0x24F);
        range(0x370, 0x58F);
        range(0x1E00, 0x1EFF);
        range(0x2100, 0x214F);
        range(0x2C60, 0x2C7F);
        range(0xFB00, 0xFB06);
        range(0xFF21, 0xFF3A);
    }
}

// The source length of a folded match of the pattern at text[0, avail), or
// 0: character by character, each fold compared whole, so that a match ends
// behind a whole character.
size_t COccurrenceScanner::MatchFolded(const char* text, size_t avail) const
{
    const size_t m = m_pattern.size();
    const int len = static_cast<int>(std::min<size_t>(avail, static_cast<size_t>(m_reach) + kLookAround));
    size_t k = 0;
    int i = 0;
    std::string fold;
    while (k < m) {
        if (i >= len)
            return 0;
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (static_cast<unsigned char>(m_pattern[k]) != FoldAscii(c))
                return 0;
            ++k;
            ++i;
            continue;
        }
        int n = 1;
        const char32_t cp = charcase::CharAt(text, len, i, m_encoding, n);
        fold.clear();
        charcase::AppendMapped(fold, text + i, n, cp, charcase::EMapping::Fold, m_encoding);
        if (fold.size() > m - k || m_pattern.compare(k, fold.size(), fold) != 0)
            return 0;
        k += fold.size();
        i += n;
    }
    return static_cast<size_t>(i);
}

void COccurrenceScanner::ReleaseBuffer()
{
    Close();
    m_buffer.reset();
    m_data = nullptr;
    m_capacity = m_initialCapacity;
}

// A streamed file needs room for the kept start of a short line, the
// pattern and a useful read behind them.
size_t COccurrenceScanner::MinWindow() const
{
    return kLongLine + 2 * static_cast<size_t>(m_reach) + 64;
}

bool COccurrenceScanner::Open(int fd)
{
    Close();
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_readFailed = true;
        return false;
    }
    m_fd = fd;
    return Start(static_cast<int64_t>(st.st_size));
}

bool COccurrenceScanner::OpenMemory(std::string_view bytes)
{
    Close();
    m_memory = bytes;
    m_memoryPos = 0;
    return Start(static_cast<int64_t>(bytes.size()));
}

void COccurrenceScanner::Close()
{
    m_fd = -1;
    m_memory = {};
    m_memoryPos = 0;
    m_open = false;
    m_readFailed = false;
    m_cancelled = false;
    m_winBase = 0;
    m_winLen = 0;
    m_eof = false;
    m_pos = 0;
    m_counted = 0;
    m_lineNo = 1;
    m_lineStart = 0;
    m_lineLong = false;
    m_lineHead.clear();
    m_textLineStart = -1;
}

bool COccurrenceScanner::Start(int64_t size)
{
    m_remaining = size;
    const size_t need = static_cast<size_t>(size) + 1; // the bytes and a NUL
    size_t wanted = m_capacity;
    if (need > m_capacity) {
        if (static_cast<uint64_t>(size) + kGrowthSlack <= m_maxWholeFile)
            wanted = static_cast<size_t>(size) + kGrowthSlack;
        else
            wanted = std::max(m_capacity, MinWindow());
    }
    if (!m_buffer || wanted != m_capacity) {
        m_buffer.reset(); // the old buffer goes before the new one comes
        m_buffer.reset(new (std::nothrow) char[wanted]);
        m_capacity = wanted;
        if (!m_buffer) {
            m_capacity = m_initialCapacity;
            m_data = nullptr;
            m_readFailed = true;
            return false;
        }
    }
    m_data = m_buffer.get();
    m_open = true;
    if (!Fill() && m_readFailed) {
        m_open = false;
        return false;
    }
    if (m_eof)
        m_data[m_winLen] = '\0';
    return true;
}

// Reads behind the window until the buffer is full or the file ends. False
// when nothing could be added.
bool COccurrenceScanner::Fill()
{
    const size_t before = m_winLen;
    // One byte stays free for the NUL behind a file read whole.
    while (!m_eof) {
        if (m_remaining <= 0) {
            m_eof = true;
            break;
        }
        if (m_winLen + 1 >= m_capacity)
            break;
        size_t room = m_capacity - 1 - m_winLen;
        if (static_cast<uint64_t>(m_remaining) < room)
            room = static_cast<size_t>(m_remaining);
        ssize_t got;
        if (m_fd >= 0) {
            got = ::read(m_fd, m_data + m_winLen, room);
            if (got < 0 && errno == EINTR)
                continue;
        } else {
            got = static_cast<ssize_t>(std::min(room, m_memory.size() - m_memoryPos));
            std::memcpy(m_data + m_winLen, m_memory.data() + m_memoryPos, static_cast<size_t>(got));
            m_memoryPos += static_cast<size_t>(got);
        }
        if (got < 0) {
            m_readFailed = true;
            m_eof = true;
            break;
        }
        if (got == 0) { // shorter than it was: what was read is the file
            m_eof = true;
            break;
        }
        m_winLen += static_cast<size_t>(got);
        m_remaining -= got;
    }
    return m_winLen > before;
}

// Counts the line feeds in [m_counted, to) and moves the line start behind
// the last break there.
void COccurrenceScanner::Account(int64_t to)
{
    if (to <= m_counted)
        return;
    const char* p = At(m_counted);
    const size_t n = static_cast<size_t>(to - m_counted);
    m_lineNo += CountLineFeeds(p, n);
    for (size_t k = n; k > 0; --k) {
        if (IsBreak(p[k - 1])) {
            m_lineStart = m_counted + static_cast<int64_t>(k);
            m_lineLong = false;
            break;
        }
    }
    m_counted = to;
}

// Drops the bytes the scan no longer needs and reads on. Kept are the bytes
// of the character in front of m_pos (for the whole-word test) and the current line's start
// while that line is shorter than kLongLine; of a longer line only its first
// kLongLineCut bytes are kept aside.
void COccurrenceScanner::Slide()
{
    const int64_t winEnd = m_winBase + static_cast<int64_t>(m_winLen);
    Account(std::min(m_pos, winEnd));
    if (!m_lineLong && m_counted - m_lineStart >= static_cast<int64_t>(kLongLine)) {
        m_lineHead.assign(At(m_lineStart), kLongLineCut);
        m_lineLong = true;
    }
    int64_t keep = std::max<int64_t>(m_pos - kLookAround, 0);
    if (!m_lineLong)
        keep = std::min(keep, m_lineStart);
    keep = std::clamp(keep, m_winBase, winEnd);
    const size_t drop = static_cast<size_t>(keep - m_winBase);
    std::memmove(m_data, m_data + drop, m_winLen - drop);
    m_winLen -= drop;
    m_winBase = keep;
    if (m_poll && !m_poll()) {
        m_cancelled = true;
        m_eof = true;
        return;
    }
    Fill();
}

bool COccurrenceScanner::FindCandidate(int64_t from, int64_t lastStart, int64_t& found, int64_t& length) const
{
    if (from > lastStart)
        return false;
    const int64_t winEnd = m_winBase + static_cast<int64_t>(m_winLen);
    if (m_folding) {
        auto tryAt = [&](int64_t c) {
            if (!m_firstBytes[static_cast<unsigned char>(*At(c))])
                return false;
            const size_t n = MatchFolded(At(c), static_cast<size_t>(winEnd - c));
            if (n == 0)
                return false;
            found = c;
            length = static_cast<int64_t>(n);
            return true;
        };
        int64_t c = from;
#if defined(__SSE2__)
        // An ASCII first character: 16 starts at a time are its byte (in
        // either case for a letter) or any byte from 0x80 up, which may
        // start a character that folds to it.
        const unsigned char first = static_cast<unsigned char>(m_pattern[0]);
        if (first < 0x80) {
            const __m128i vFirst = _mm_set1_epi8(static_cast<char>(first));
            const __m128i orFirst = IsAsciiLetter(first) ? _mm_set1_epi8(0x20) : _mm_setzero_si128();
            for (; c + 16 <= lastStart + 1; c += 16) {
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(At(c)));
                unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(a, orFirst), vFirst))) |
                                static_cast<unsigned>(_mm_movemask_epi8(a));
                while (mask) {
                    if (tryAt(c + __builtin_ctz(mask)))
                        return true;
                    mask &= mask - 1;
                }
            }
        }
#endif
        for (; c <= lastStart; ++c)
            if (tryAt(c))
                return true;
        return false;
    }
    const size_t starts = static_cast<size_t>(lastStart - from + 1);
    const size_t at = FindIn(At(from), starts, m_pattern, m_matchCase);
    if (at == std::string::npos)
        return false;
    found = from + static_cast<int64_t>(at);
    length = static_cast<int64_t>(m_pattern.size());
    return true;
}

// Whether a word character of the file's encoding ends right before offset
// (never at the file's start) or starts at it (never at the file's end).
bool COccurrenceScanner::IsWordBefore(int64_t offset) const
{
    if (offset <= m_winBase)
        return false; // the file's start: the bytes in front of m_pos are kept
    const int64_t from = std::max(m_winBase, offset - kLookAround);
    const int n = static_cast<int>(offset - from);
    return charcase::IsWordCharBefore(At(from), n, n, m_encoding);
}

bool COccurrenceScanner::IsWordAt(int64_t offset) const
{
    const int64_t winEnd = m_winBase + static_cast<int64_t>(m_winLen);
    if (offset >= winEnd)
        return false;
    const int n = static_cast<int>(std::min(winEnd - offset, kLookAround));
    return charcase::IsWordCharAt(At(offset), n, 0, m_encoding);
}

bool COccurrenceScanner::Next(FileOccurrence& occurrence)
{
    if (!m_open || m_pattern.empty() || m_cancelled)
        return false;
    for (;;) {
        const int64_t winEnd = m_winBase + static_cast<int64_t>(m_winLen);
        // Before the end of the file a candidate needs the bytes it may cover
        // and the character behind it in the window as well.
        const int64_t lastStart =
            m_eof ? winEnd - (m_folding ? 1 : static_cast<int64_t>(m_pattern.size())) : winEnd - m_reach - kLookAround;
        int64_t c = 0, length = 0;
        bool accepted = false;
        while (FindCandidate(m_pos, lastStart, c, length)) {
            if (!m_wholeWord || (!IsWordBefore(c) && !IsWordAt(c + length))) {
                accepted = true;
                break;
            }
            m_pos = c + length; // a rejected candidate is skipped as a whole
        }
        if (accepted) {
            Account(c);
            occurrence.offset = c;
            occurrence.line = m_lineNo;
            occurrence.column = c - m_lineStart + 1;
            m_pos = c + length;
            MakeLineText(c);
            occurrence.lineText = m_lineText;
            return true;
        }
        if (m_eof)
            return false;
        m_pos = std::max(m_pos, lastStart + 1);
        const int64_t base = m_winBase;
        const size_t windowLength = m_winLen;
        Slide();
        if (m_cancelled)
            return false;
        if (!m_eof && m_winBase == base && m_winLen == windowLength)
            m_eof = true; // no progress is possible: never loop on the same window

    }
}

// The text of the line that holds the occurrence at `at`, reading on when
// the line's end is not in the window yet.
void COccurrenceScanner::MakeLineText(int64_t at)
{
    if (m_textLineStart == m_lineStart)
        return;
    if (m_lineLong) {
        m_lineText = m_lineHead;
        m_textLineStart = m_lineStart;
        return;
    }
    for (;;) {
        const int64_t winEnd = m_winBase + static_cast<int64_t>(m_winLen);
        const int64_t limit = std::min(m_lineStart + static_cast<int64_t>(kLongLine), winEnd);
        int64_t end = -1;
        for (int64_t k = at; k < limit; ++k) {
            if (IsBreak(*At(k))) {
                end = k;
                break;
            }
        }
        if (end < 0 && limit == winEnd && limit < m_lineStart + static_cast<int64_t>(kLongLine) && !m_eof) {
            // Keep the line's start and read on.
            const int64_t keep = m_lineStart;
            const size_t drop = static_cast<size_t>(keep - m_winBase);
            std::memmove(m_data, m_data + drop, m_winLen - drop);
            m_winLen -= drop;
            m_winBase = keep;
            if (!Fill() && !m_eof)
                m_eof = true;
            continue;
        }
        if (end < 0)
            end = limit;
        const int64_t length = end - m_lineStart;
        if (length >= static_cast<int64_t>(kLongLine))
            m_lineText.assign(At(m_lineStart), kLongLineCut);
        else
            m_lineText.assign(At(m_lineStart), static_cast<size_t>(length));
        m_textLineStart = m_lineStart;
        return;
    }
}
