#include "text/TextLayout.h"

#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace textlayout {

namespace {

int SafeTab(int tabWidth)
{
    return tabWidth < 1 ? 1 : tabWidth;
}

// The bytes at the start of p[0, n) that take one cell each without a look
// at them: no tab, and in UTF-8 no byte of a sequence. A single pass, so
// that a long line is walked only as far as a caller needs.
int PlainRun(const char* p, int n, bool utf8)
{
    if (n <= 0)
        return 0;
    if (!utf8) {
        const void* tab = std::memchr(p, '\t', static_cast<size_t>(n));
        return tab ? static_cast<int>(static_cast<const char*>(tab) - p) : n;
    }
    int i = 0;
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    auto marks = [&](int at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        return _mm_or_si128(v, _mm_cmpeq_epi8(v, tab));
    };
    // Sixty-four bytes a step while nothing is found, then the sixteen that
    // hold the first find.
    for (; i + 64 <= n; i += 64) {
        const __m128i any =
            _mm_or_si128(_mm_or_si128(marks(i), marks(i + 16)), _mm_or_si128(marks(i + 32), marks(i + 48)));
        if (_mm_movemask_epi8(any))
            break;
    }
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const unsigned special = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, tab))));
        if (special)
            return i + __builtin_ctz(special);
    }
#endif
    for (; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c == '\t' || c >= 0x80)
            return i;
    }
    return n;
}

// Long lines go a plain run at a time, at memory speed, with only the
// tabs and sequences between the runs looked at one by one.
int ColumnAfterLong(const char* chars, int len, int startColumn, int tabWidth, TextEncoding encoding)
{
    const bool utf8 = encoding == TextEncoding::Utf8;
    int col = startColumn;
    for (int i = 0; i < len;) {
        const int run = PlainRun(chars + i, len - i, utf8);
        col += run;
        i += run;
        if (i < len) {
            int next;
            col += CharCells(chars, len, i, col, tabWidth, encoding, next);
            i = next;
        }
    }
    return col;
}

// Below this the word-at-a-time count is quicker than starting the searches.
constexpr int kLongLine = 512;

} // namespace

int CharCells(const char* chars, int len, int i, int column, int tabWidth, TextEncoding encoding,
              int& next)
{
    const unsigned char c = static_cast<unsigned char>(chars[i]);
    if (encoding == TextEncoding::Cp1252 || c < 0x80) {
        next = i + 1;
        return CellsAt(c, column, SafeTab(tabWidth));
    }
    int n;
    const char32_t cp = utf8::Decode(chars, len, i, n);
    next = i + n;
    return utf8::CellWidth(cp);
}

int DisplayColumn(const char* chars, int len, int x, int tabWidth, TextEncoding encoding, ColumnMark from)
{
    x = std::clamp(x, 0, len);
    if (from.index < 0 || from.index > x)
        from = ColumnMark();
    return ColumnAfter(chars + from.index, x - from.index, from.column, tabWidth, encoding);
}

int ColumnAfter(const char* chars, int len, int startColumn, int tabWidth, TextEncoding encoding)
{
    tabWidth = SafeTab(tabWidth);
    if (len >= kLongLine)
        return ColumnAfterLong(chars, len, startColumn, tabWidth, encoding);
    int col = startColumn;
    int i = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Up to eight bytes in one step while they hold no tab and nothing to
    // decode: the longest-line scan of a large file goes through every line.
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    const uint64_t highMask = encoding == TextEncoding::Utf8 ? kHigh : 0;
    while (i < len) {
        const int left = len - i;
        int span = 8;
        uint64_t w = 0;
        if (left >= 8) {
            std::memcpy(&w, chars + i, 8);
        } else if (len >= 8) {
            // The line's last eight bytes, those already counted shifted out
            // (zero bytes are neither tab nor lead byte).
            std::memcpy(&w, chars + len - 8, 8);
            w >>= 8 * (8 - left);
            span = left;
        } else {
            std::memcpy(&w, chars + i, static_cast<size_t>(left));
            span = left;
        }
        const uint64_t t = w ^ (kOnes * '\t');
        // The lowest marked byte is the first tab or lead byte; the bytes
        // before it are plain.
        const uint64_t special = (((t - kOnes) & ~t) & kHigh) | (w & highMask);
        if (!special) {
            col += span;
            i += span;
            continue;
        }
        const int plain = __builtin_ctzll(special) >> 3;
        col += plain;
        i += plain;
        int next;
        col += CharCells(chars, len, i, col, tabWidth, encoding, next);
        i = next;
    }
#else
    for (int next; i < len; i = next)
        col += CharCells(chars, len, i, col, tabWidth, encoding, next);
#endif
    return col;
}

int DisplayLength(const char* chars, int len, int tabWidth, TextEncoding encoding)
{
    return DisplayColumn(chars, len, len, tabWidth, encoding);
}

int ColumnToChar(const char* chars, int len, int column, int tabWidth, TextEncoding encoding)
{
    tabWidth = SafeTab(tabWidth);
    // Column 0 is the start of every line (the rounding rule below would
    // otherwise step over the first character).
    if (column <= 0)
        return 0;
    int col = 0;
    for (int i = 0, next; i < len; i = next) {
        const int cells = CharCells(chars, len, i, col, tabWidth, encoding, next);
        col += cells;
        if (col >= column) {
            if (col == column)
                return next;
            // A tab is passed from the middle of its width on; a wide
            // character only when the column lies at its right edge.
            const int half = chars[i] == '\t' ? tabWidth / 2 : cells / 2;
            return (col - half) < column ? next : i;
        }
    }
    return len;
}

int HitColumnToChar(const char* chars, int len, int column, int tabWidth, TextEncoding encoding)
{
    tabWidth = SafeTab(tabWidth);
    int col = 0;
    for (int i = 0, next; i < len; i = next) {
        col += CharCells(chars, len, i, col, tabWidth, encoding, next);
        if (col > column)
            return i;
    }
    return len;
}

int NearestCharToColumn(const char* chars, int len, int column, int tabWidth,
                        TextEncoding encoding)
{
    tabWidth = SafeTab(tabWidth);
    int col = 0;
    for (int i = 0, next; i < len; i = next) {
        const int after = col + CharCells(chars, len, i, col, tabWidth, encoding, next);
        if (2 * column < col + after)
            return i;
        col = after;
    }
    return len;
}

std::vector<ColumnMark> ColumnMarks(const char* chars, int len, int tabWidth, int spacing, TextEncoding encoding)
{
    tabWidth = SafeTab(tabWidth);
    spacing = std::max(1, spacing);
    const bool utf8 = encoding == TextEncoding::Utf8;
    std::vector<ColumnMark> marks;
    int col = 0;
    long long due = spacing;
    for (int i = 0; i < len;) {
        if (i >= due) {
            marks.push_back({i, col});
            due = (static_cast<long long>(i) / spacing + 1) * spacing;
        }
        // The same steps as FirstCharAtColumn's walk, a plain run cut where
        // the next mark is due.
        const int run = PlainRun(chars + i, static_cast<int>(std::min<long long>(len - i, due - i)), utf8);
        col += run;
        i += run;
        if (i >= len || i >= due)
            continue;
        int next;
        col += CharCells(chars, len, i, col, tabWidth, encoding, next);
        i = next;
    }
    return marks;
}

int FirstCharAtColumn(const char* chars, int len, int wanted, int tabWidth, int& startColumn,
                      TextEncoding encoding, ColumnMark from)
{
    tabWidth = SafeTab(tabWidth);
    const bool utf8 = encoding == TextEncoding::Utf8;
    if (from.index < 0 || from.index > len || from.column > wanted)
        from = ColumnMark();
    int col = from.column;
    for (int i = from.index; i < len;) {
        // A plain byte is one column: nothing past the wanted column needs
        // a look, however long the line.
        const int reach = std::min(len - i, std::max(0, wanted - col + 1));
        const int run = PlainRun(chars + i, reach, utf8);
        if (run > 0 && col + run > wanted) {
            startColumn = wanted;
            return i + (wanted - col);
        }
        col += run;
        i += run;
        if (i >= len)
            break;
        int next;
        const int cells = CharCells(chars, len, i, col, tabWidth, encoding, next);
        if (col + cells > wanted) {
            startColumn = col;
            return i;
        }
        col += cells;
        i = next;
    }
    startColumn = col;
    return len;
}

std::u32string ExpandForDisplay(const char* chars, int first, int count, int startColumn, int tabWidth,
                                bool showWhitespace, TextEncoding encoding, int maxCells)
{
    std::u32string out;
    out.reserve(static_cast<size_t>(std::max(0, maxCells >= 0 ? std::min(count, maxCells) : count)) + 8);
    AppendForDisplay(out, chars, first, count, startColumn, tabWidth, showWhitespace, encoding, maxCells);
    return out;
}

void AppendForDisplay(std::u32string& out, const char* chars, int first, int count, int startColumn, int tabWidth,
                      bool showWhitespace, TextEncoding encoding, int maxCells)
{
    tabWidth = SafeTab(tabWidth);
    const int end = first + count;
    const bool utf8 = encoding == TextEncoding::Utf8;
    const size_t base = out.size();
    const size_t limit = maxCells >= 0 ? base + static_cast<size_t>(maxCells) : std::u32string::npos;
    // Glyphs of the single-byte characters, looked up instead of converted
    // per byte (printing expands every line of a file).
    static const auto glyphs = [] {
        std::array<char32_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<size_t>(b)] = DisplayGlyph(static_cast<unsigned char>(b));
        return t;
    }();
    int col = startColumn;
    for (int i = first; i < end && out.size() < limit;) {
        unsigned char c = static_cast<unsigned char>(chars[i]);
        if (c == '\t') {
            int cells = tabWidth - col % tabWidth;
            col += cells;
            if (showWhitespace) {
                out.push_back(U'\u00BB');
                --cells;
            }
            out.append(static_cast<size_t>(cells), U' ');
            ++i;
        } else if (c == ' ') {
            ++col;
            out.push_back(showWhitespace ? U'\u2022' : U' ');
            ++i;
        } else if (!utf8 || c < 0x80) {
            ++col;
            out.push_back(glyphs[c]);
            ++i;
        } else {
            int n = 1;
            const char32_t cp = utf8::Decode(chars, end, i, n);
            const int cells = utf8::CellWidth(cp);
            col += cells;
            out.push_back(DisplayGlyphOf(cp));
            if (cells > 1)
                out.push_back(kWideTail);
            i += n;
        }
    }
    if (out.size() > limit)
        out.resize(limit);
}

char32_t DisplayGlyph(unsigned char byte)
{
    if (byte < 0x20 || byte == 0x7F)
        return 0x00BF;
    char32_t cp = cp1252::ToUnicode(byte);
    if (cp >= 0x80 && cp < 0xA0)
        return 0x00BF;
    return cp;
}

char32_t DisplayGlyphOf(char32_t cp)
{
    if (cp == utf8::kInvalid)
        return 0xFFFD;
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0))
        return 0x00BF;
    return cp;
}

} // namespace textlayout
