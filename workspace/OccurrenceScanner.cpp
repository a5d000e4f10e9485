#include "workspace/OccurrenceScanner.h"

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

constexpr bool IsWordByte(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

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

void COccurrenceScanner::SetPattern(std::string_view pattern, bool matchCase, bool wholeWord)
{
    m_pattern.assign(pattern);
    if (!matchCase)
        for (char& c : m_pattern)
            c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    m_matchCase = matchCase;
    m_wholeWord = wholeWord;
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
    return kLongLine + 2 * m_pattern.size() + 64;
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

// Drops the bytes the scan no longer needs and reads on. Kept are the byte
// in front of m_pos (for the whole-word test) and the current line's start
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
    int64_t keep = m_pos > 0 ? m_pos - 1 : 0;
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

bool COccurrenceScanner::FindCandidate(int64_t from, int64_t lastStart, int64_t& found) const
{
    if (from > lastStart)
        return false;
    const size_t starts = static_cast<size_t>(lastStart - from + 1);
    const size_t at = FindIn(At(from), starts, m_pattern, m_matchCase);
    if (at == std::string::npos)
        return false;
    found = from + static_cast<int64_t>(at);
    return true;
}

bool COccurrenceScanner::IsWordAt(int64_t offset) const
{
    const int64_t winEnd = m_winBase + static_cast<int64_t>(m_winLen);
    if (offset < 0 || offset >= winEnd)
        return false; // the start and the end of the file
    if (offset < m_winBase)
        return false; // never the case: the byte in front of m_pos is kept
    return IsWordByte(static_cast<unsigned char>(*At(offset)));
}

bool COccurrenceScanner::Next(FileOccurrence& occurrence)
{
    if (!m_open || m_pattern.empty() || m_cancelled)
        return false;
    const int64_t m = static_cast<int64_t>(m_pattern.size());
    for (;;) {
        const int64_t winEnd = m_winBase + static_cast<int64_t>(m_winLen);
        // Before the end of the file a candidate needs the byte behind it in
        // the window as well.
        const int64_t lastStart = winEnd - m - (m_eof ? 0 : 1);
        int64_t c = 0;
        bool accepted = false;
        while (FindCandidate(m_pos, lastStart, c)) {
            if (!m_wholeWord || (!IsWordAt(c - 1) && !IsWordAt(c + m))) {
                accepted = true;
                break;
            }
            m_pos = c + m; // a rejected candidate is skipped as a whole
        }
        if (accepted) {
            Account(c);
            occurrence.offset = c;
            occurrence.line = m_lineNo;
            occurrence.column = c - m_lineStart + 1;
            m_pos = c + m;
            MakeLineText(c);
            occurrence.lineText = m_lineText;
            return true;
        }
        if (m_eof)
            return false;
        m_pos = std::max(m_pos, lastStart + 1);
        const int64_t base = m_winBase;
        const size_t length = m_winLen;
        Slide();
        if (m_cancelled)
            return false;
        if (!m_eof && m_winBase == base && m_winLen == length)
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
