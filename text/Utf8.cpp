#include "text/Utf8.h"

namespace utf8 {

namespace {

inline unsigned char At(const char* s, int i)
{
    return static_cast<unsigned char>(s[i]);
}

inline bool IsCont(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

int SequenceLength(const char* s, int len, int i)
{
    const unsigned char c = At(s, i);
    if (c < 0x80)
        return 1;
    const int left = len - i;
    if (c >= 0xC2 && c <= 0xDF)
        return left >= 2 && IsCont(At(s, i + 1)) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3)
            return 0;
        const unsigned char c1 = At(s, i + 1);
        // E0 needs A0..BF (no overlong form), ED 80..9F (no surrogate).
        const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
        return c1 >= lo && c1 <= hi && IsCont(At(s, i + 2)) ? 3 : 0;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4)
            return 0;
        const unsigned char c1 = At(s, i + 1);
        const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
        return c1 >= lo && c1 <= hi && IsCont(At(s, i + 2)) && IsCont(At(s, i + 3)) ? 4 : 0;
    }
    return 0;
}

char32_t Decode(const char* s, int len, int i, int& n)
{
    n = SequenceLength(s, len, i);
    const unsigned char c = At(s, i);
    switch (n) {
    case 1:
        return c;
    case 2:
        return (char32_t(c & 0x1F) << 6) | (At(s, i + 1) & 0x3F);
    case 3:
        return (char32_t(c & 0x0F) << 12) | (char32_t(At(s, i + 1) & 0x3F) << 6) | (At(s, i + 2) & 0x3F);
    case 4:
        return (char32_t(c & 0x07) << 18) | (char32_t(At(s, i + 1) & 0x3F) << 12) |
               (char32_t(At(s, i + 2) & 0x3F) << 6) | (At(s, i + 3) & 0x3F);
    default:
        n = 1;
        return kInvalid;
    }
}

bool IsBoundary(const char* s, int len, int i)
{
    if (i <= 0 || i >= len)
        return true;
    if (!IsCont(At(s, i)))
        return true;
    // A continuation byte is a boundary unless a valid sequence that starts
    // up to three bytes before it covers it.
    for (int k = 1; k <= 3 && i - k >= 0; ++k) {
        if (IsCont(At(s, i - k)))
            continue;
        const int n = SequenceLength(s, len, i - k);
        return n <= k;
    }
    return true;
}

int Next(const char* s, int len, int i)
{
    if (i < 0)
        return 0;
    if (i >= len)
        return len;
    if (!IsBoundary(s, len, i)) {
        while (i < len && !IsBoundary(s, len, i))
            ++i;
        return i;
    }
    const int n = SequenceLength(s, len, i);
    return i + (n > 0 ? n : 1);
}

int Prev(const char* s, int len, int i)
{
    if (i > len)
        return len;
    if (i <= 0)
        return 0;
    --i;
    while (i > 0 && !IsBoundary(s, len, i))
        --i;
    return i;
}

int CellWidth(char32_t cp)
{
    if (cp < 0x1100 || cp == kInvalid)
        return 1;
    struct Range {
        char32_t from, to;
    };
    static constexpr Range kWide[] = {
        {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
        {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
        {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
        {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
        {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
        {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
        {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
        {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
        {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
        {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
        {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
        {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
        {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
        {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F},
        {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F900, 0x1F9FF}, {0x1FA70, 0x1FAFF},
        {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
    };
    size_t lo = 0, hi = sizeof kWide / sizeof kWide[0];
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (cp > kWide[mid].to)
            lo = mid + 1;
        else if (cp < kWide[mid].from)
            hi = mid;
        else
            return 2;
    }
    return 1;
}

void Append(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            return;
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp <= 0x10FFFF) {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string ToValid(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    const int len = static_cast<int>(bytes.size());
    for (int i = 0; i < len;) {
        int n;
        const char32_t cp = Decode(bytes.data(), len, i, n);
        if (cp == kInvalid)
            Append(out, 0xFFFD);
        else
            out.append(bytes.data() + i, static_cast<size_t>(n));
        i += n;
    }
    return out;
}

} // namespace utf8
