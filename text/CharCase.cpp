#include "text/CharCase.h"

#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>

namespace charcase {

namespace {

enum : uint8_t { kLetter = 1, kUpper = 2, kLower = 4, kTitle = 8 };

struct Entry {
    char32_t cp;
    char32_t upper;
    char32_t lower;
    char32_t title;
    uint8_t kind;
};

// The cased letters beyond ASCII, built once from the rules of each block
// and kept sorted for a binary search.
class CCaseTable {
public:
    CCaseTable()
    {
        // Latin-1 Supplement. The micro sign stays a letter without case:
        // its Unicode upper case is Greek Mu, which no reader expects.
        Shift(0xC0, 0xD6, 0x20);
        Shift(0xD8, 0xDE, 0x20);
        Pair(0x178, 0xFF);
        // Latin Extended-A.
        Alternate(0x100, 0x12F);
        Pair(0x130, 'i', false); // İ lower-cases to i; i upper-cases to I
        UpperOnly(0x131, 'I');    // ı
        Alternate(0x132, 0x137);
        Alternate(0x139, 0x148);
        Alternate(0x14A, 0x177);
        Alternate(0x179, 0x17E);
        UpperOnly(0x17F, 'S'); // ſ
        // Latin Extended-B.
        UpperOnly(0x180, 0x243);
        Pair(0x181, 0x253);
        Alternate(0x182, 0x185);
        Pair(0x186, 0x254);
        Alternate(0x187, 0x188);
        Pair(0x189, 0x256);
        Pair(0x18A, 0x257);
        Alternate(0x18B, 0x18C);
        Pair(0x18E, 0x1DD);
        Pair(0x18F, 0x259);
        Pair(0x190, 0x25B);
        Alternate(0x191, 0x192);
        Pair(0x193, 0x260);
        Pair(0x194, 0x263);
        Pair(0x1F6, 0x195);
        Pair(0x196, 0x269);
        Pair(0x197, 0x268);
        Alternate(0x198, 0x199);
        Pair(0x23D, 0x19A);
        Pair(0x19C, 0x26F);
        Pair(0x19D, 0x272);
        Pair(0x220, 0x19E);
        Pair(0x19F, 0x275);
        Alternate(0x1A0, 0x1A5);
        Pair(0x1A6, 0x280);
        Alternate(0x1A7, 0x1A8);
        Pair(0x1A9, 0x283);
        Alternate(0x1AC, 0x1AD);
        Pair(0x1AE, 0x288);
        Alternate(0x1AF, 0x1B0);
        Pair(0x1B1, 0x28A);
        Pair(0x1B2, 0x28B);
        Alternate(0x1B3, 0x1B6);
        Pair(0x1B7, 0x292);
        Alternate(0x1B8, 0x1B9);
        Alternate(0x1BC, 0x1BD);
        Pair(0x1F7, 0x1BF);
        Triple(0x1C4, 0x1C5, 0x1C6);
        Triple(0x1C7, 0x1C8, 0x1C9);
        Triple(0x1CA, 0x1CB, 0x1CC);
        Alternate(0x1CD, 0x1DC);
        Alternate(0x1DE, 0x1EF);
        Triple(0x1F1, 0x1F2, 0x1F3);
        Alternate(0x1F4, 0x1F5);
        Alternate(0x1F8, 0x21F);
        Alternate(0x222, 0x233);
        Pair(0x23A, 0x2C65);
        Alternate(0x23B, 0x23C);
        Pair(0x23E, 0x2C66);
        Alternate(0x241, 0x242);
        Pair(0x244, 0x289);
        Pair(0x245, 0x28C);
        Alternate(0x246, 0x24F);
        // Greek and Coptic.
        Alternate(0x370, 0x373);
        Alternate(0x376, 0x377);
        Shift(0x3FD, 0x3FF, -0x82); // Ͻ Ͼ Ͽ and ͻ ͼ ͽ
        Pair(0x37F, 0x3F3);
        Pair(0x386, 0x3AC);
        Shift(0x388, 0x38A, 0x25);
        Pair(0x38C, 0x3CC);
        Pair(0x38E, 0x3CD);
        Pair(0x38F, 0x3CE);
        Shift(0x391, 0x3A1, 0x20);
        Shift(0x3A3, 0x3AB, 0x20);
        UpperOnly(0x3C2, 0x3A3); // final sigma
        Pair(0x3CF, 0x3D7);
        UpperOnly(0x3D0, 0x392);
        UpperOnly(0x3D1, 0x398);
        UpperOnly(0x3D5, 0x3A6);
        UpperOnly(0x3D6, 0x3A0);
        Alternate(0x3D8, 0x3EF);
        UpperOnly(0x3F0, 0x39A);
        UpperOnly(0x3F1, 0x3A1);
        Pair(0x3F9, 0x3F2);
        LowerOnly(0x3F4, 0x3B8);
        UpperOnly(0x3F5, 0x395);
        Alternate(0x3F7, 0x3F8);
        Alternate(0x3FA, 0x3FB);
        // Cyrillic and its supplement.
        Shift(0x400, 0x40F, 0x50);
        Shift(0x410, 0x42F, 0x20);
        Alternate(0x460, 0x481);
        Alternate(0x48A, 0x4BF);
        Pair(0x4C0, 0x4CF);
        Alternate(0x4C1, 0x4CE);
        Alternate(0x4D0, 0x52F);
        // Armenian.
        Shift(0x531, 0x556, 0x30);
        // Latin Extended Additional.
        Alternate(0x1E00, 0x1E95);
        UpperOnly(0x1E9B, 0x1E60);
        LowerOnly(0x1E9E, 0xDF); // capital sharp s
        Alternate(0x1EA0, 0x1EFF);
        // Letterlike symbols that are letters of another block.
        LowerOnly(0x2126, 0x3C9); // ohm sign
        LowerOnly(0x212A, 'k');   // kelvin sign
        LowerOnly(0x212B, 0xE5);  // angstrom sign
        // Full-width Latin.
        Shift(0xFF21, 0xFF3A, 0x20);

        std::sort(m_entries.begin(), m_entries.end(),
                  [](const Entry& a, const Entry& b) { return a.cp < b.cp; });
    }

    const Entry* Find(char32_t cp) const
    {
        auto it = std::lower_bound(m_entries.begin(), m_entries.end(), cp,
                                   [](const Entry& e, char32_t c) { return e.cp < c; });
        return it != m_entries.end() && it->cp == cp ? &*it : nullptr;
    }

private:
    Entry& At(char32_t cp)
    {
        for (Entry& e : m_entries)
            if (e.cp == cp)
                return e;
        m_entries.push_back(Entry{cp, cp, cp, cp, kLetter});
        return m_entries.back();
    }
    // An upper-case letter and its lower-case partner, both ways unless
    // back is false (then only up's lower case is low).
    void Pair(char32_t up, char32_t low, bool back = true)
    {
        Entry& u = At(up);
        u.lower = low;
        u.kind |= kUpper;
        if (!back)
            return;
        Entry& l = At(low);
        l.upper = up;
        l.title = up;
        l.kind |= kLower;
    }
    void Shift(char32_t firstUp, char32_t lastUp, int delta)
    {
        for (char32_t c = firstUp; c <= lastUp; ++c)
            Pair(c, static_cast<char32_t>(static_cast<int>(c) + delta));
    }
    // Upper case at even offsets from first, its partner right behind.
    void Alternate(char32_t first, char32_t last)
    {
        for (char32_t c = first; c + 1 <= last; c += 2)
            Pair(c, c + 1);
    }
    void UpperOnly(char32_t low, char32_t up)
    {
        Entry& l = At(low);
        l.upper = up;
        l.title = up;
        l.kind |= kLower;
    }
    void LowerOnly(char32_t up, char32_t low) { Pair(up, low, false); }
    void Triple(char32_t up, char32_t title, char32_t low)
    {
        for (char32_t c : {up, title, low}) {
            Entry& e = At(c);
            e.upper = up;
            e.lower = low;
            e.title = title;
        }
        At(up).kind |= kUpper;
        At(title).kind |= kTitle;
        At(low).kind |= kLower;
    }

    std::vector<Entry> m_entries;
};

const CCaseTable& Table()
{
    static const CCaseTable table;
    return table;
}

struct Range {
    char32_t from, to;
};

bool InRanges(char32_t cp, const Range* ranges, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (cp >= ranges[i].from && cp <= ranges[i].to)
            return true;
    return false;
}

// Letters without case: of the Latin blocks those the table does not hold,
// IPA and modifier letters, and the letters of the scripts without case.
constexpr Range kUncased[] = {
    {0xAA, 0xAA},     {0xB5, 0xB5},     {0xBA, 0xBA},     {0xDF, 0xDF},     {0x138, 0x138},
    {0x149, 0x149},   {0x18D, 0x18D},   {0x19B, 0x19B},   {0x1AA, 0x1AB},   {0x1BA, 0x1BB},
    {0x1BE, 0x1BE},   {0x1C0, 0x1C3},   {0x1F0, 0x1F0},   {0x221, 0x221},   {0x234, 0x239},
    {0x23F, 0x240},   {0x250, 0x2C1},   {0x2C6, 0x2D1},   {0x2E0, 0x2E4},   {0x2EC, 0x2EC},
    {0x2EE, 0x2EE},   {0x37A, 0x37D},   {0x390, 0x390},   {0x3B0, 0x3B0},   {0x3D2, 0x3D4},
    {0x3FC, 0x3FC},   {0x559, 0x559},   {0x560, 0x588},   {0x5D0, 0x5EA},   {0x5EF, 0x5F2},
    {0x620, 0x64A},   {0x66E, 0x66F},   {0x671, 0x6D3},   {0x6D5, 0x6D5},   {0x6FA, 0x6FC},
    {0x904, 0x939},   {0x93D, 0x93D},   {0x950, 0x950},   {0x958, 0x961},   {0xE01, 0xE30},
    {0xE32, 0xE33},   {0xE40, 0xE46},   {0x10D0, 0x10FA}, {0x10FC, 0x10FF}, {0x1100, 0x11FF},
    {0x1D00, 0x1DBF}, {0x1E96, 0x1E9D}, {0x1E9F, 0x1E9F}, {0x1F00, 0x1FFC}, {0x2C60, 0x2C7F},
    {0x3041, 0x3096}, {0x309D, 0x309F}, {0x30A1, 0x30FA}, {0x30FC, 0x30FF}, {0x3105, 0x312F},
    {0x3131, 0x318E}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xA000, 0xA48C}, {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF}, {0xFB00, 0xFB06}, {0xFF66, 0xFFDC}, {0x20000, 0x2FA1F},
};

constexpr Range kDigits[] = {
    {'0', '9'}, {0x660, 0x669}, {0x6F0, 0x6F9}, {0x966, 0x96F}, {0xE50, 0xE59}, {0xFF10, 0xFF19},
};

// Combining marks belong to the letter in front of them.
constexpr Range kMarks[] = {
    {0x300, 0x36F},   {0x483, 0x489},   {0x591, 0x5BD},   {0x64B, 0x65F},   {0x900, 0x903},
    {0x93A, 0x94F},   {0xE31, 0xE31},   {0xE34, 0xE3A},   {0xE47, 0xE4E},   {0x1AB0, 0x1AFF},
    {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF}, {0x3099, 0x309A}, {0xFE20, 0xFE2F},
};

template <size_t N>
bool In(char32_t cp, const Range (&ranges)[N])
{
    return InRanges(cp, ranges, N);
}

// The full mappings that are longer than one character; an empty one is
// the one-to-one mapping.
struct Expansion {
    char32_t cp;
    std::u32string_view upper, title, fold;
};

constexpr Expansion kExpansions[] = {
    {0xDF, U"SS", U"Ss", U"ss"},  {0x1E9E, U"", U"", U"ss"},  {0xFB00, U"FF", U"Ff", U"ff"},
    {0xFB01, U"FI", U"Fi", U"fi"}, {0xFB02, U"FL", U"Fl", U"fl"}, {0xFB03, U"FFI", U"Ffi", U"ffi"},
    {0xFB04, U"FFL", U"Ffl", U"ffl"}, {0xFB05, U"ST", U"St", U"st"}, {0xFB06, U"ST", U"St", U"st"},
};

std::u32string_view Special(char32_t cp, EMapping mapping)
{
    for (const Expansion& e : kExpansions) {
        if (e.cp != cp)
            continue;
        switch (mapping) {
        case EMapping::Upper:
            return e.upper;
        case EMapping::Title:
            return e.title;
        case EMapping::Fold:
            return e.fold;
        case EMapping::Lower:
            return U"";
        }
    }
    return U"";
}

char32_t MapOne(char32_t cp, EMapping mapping)
{
    switch (mapping) {
    case EMapping::Upper:
        return ToUpper(cp);
    case EMapping::Lower:
        return ToLower(cp);
    case EMapping::Title:
        return ToTitle(cp);
    case EMapping::Fold:
        // Through the upper case, so that ſ, ς and the Greek symbol forms
        // meet their ordinary letters; dotless ı stays apart from i.
        if (cp == 0x131)
            return cp;
        return ToLower(ToUpper(cp));
    }
    return cp;
}

// Windows-1252 bytes in folded form; ß is the one byte that grows.
struct FoldTable {
    std::array<unsigned char, 256> byte{};
    constexpr FoldTable()
    {
        for (int i = 0; i < 256; ++i)
            byte[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
    }
};

const FoldTable& Cp1252Folds()
{
    static const FoldTable table = [] {
        FoldTable t;
        for (int i = 0; i < 256; ++i)
            t.byte[static_cast<size_t>(i)] = cp1252::ToLower(static_cast<unsigned char>(i));
        return t;
    }();
    return table;
}

// Appends code points in the encoding; false (and nothing appended) when
// one of them has no byte there.
bool AppendEncoded(std::string& out, std::u32string_view cps, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8) {
        for (char32_t c : cps)
            utf8::Append(out, c);
        return true;
    }
    const size_t mark = out.size();
    for (char32_t c : cps) {
        const char b = cp1252::FromUnicode(c, '\0');
        if (b == '\0' && c != 0) {
            out.resize(mark);
            return false;
        }
        out.push_back(b);
    }
    return true;
}

} // namespace

bool IsLetter(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z');
    return Table().Find(cp) != nullptr || In(cp, kUncased);
}

bool IsUpper(char32_t cp)
{
    if (cp < 0x80)
        return cp >= 'A' && cp <= 'Z';
    const Entry* e = Table().Find(cp);
    return e && (e->kind & kUpper);
}

bool IsLower(char32_t cp)
{
    if (cp < 0x80)
        return cp >= 'a' && cp <= 'z';
    const Entry* e = Table().Find(cp);
    if (e)
        return e->kind & kLower;
    // The Latin letters without an upper case are lower-case ones.
    return cp == 0xDF || cp == 0x138 || cp == 0x149 || cp == 0x1F0 || (cp >= 0xFB00 && cp <= 0xFB06);
}

bool IsDigit(char32_t cp)
{
    return In(cp, kDigits);
}

bool IsWordChar(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z') || (cp >= '0' && cp <= '9') || cp == '_';
    if (cp == utf8::kInvalid)
        return false;
    return IsLetter(cp) || IsDigit(cp) || In(cp, kMarks);
}

char32_t ToUpper(char32_t cp)
{
    if (cp < 0x80)
        return cp >= 'a' && cp <= 'z' ? cp - 32 : cp;
    const Entry* e = Table().Find(cp);
    return e ? e->upper : cp;
}

char32_t ToLower(char32_t cp)
{
    if (cp < 0x80)
        return cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
    const Entry* e = Table().Find(cp);
    return e ? e->lower : cp;
}

char32_t ToTitle(char32_t cp)
{
    if (cp < 0x80)
        return ToUpper(cp);
    const Entry* e = Table().Find(cp);
    return e ? e->title : cp;
}

char32_t CharAt(const char* s, int len, int i, TextEncoding encoding, int& n)
{
    if (encoding == TextEncoding::Cp1252) {
        n = 1;
        return cp1252::ToUnicode(static_cast<unsigned char>(s[i]));
    }
    return utf8::Decode(s, len, i, n);
}

bool IsWordCharAt(const char* s, int len, int i, TextEncoding encoding)
{
    if (i < 0 || i >= len)
        return false;
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (encoding == TextEncoding::Cp1252)
        return c == '_' || cp1252::IsDigit(c) || cp1252::IsLetter(c);
    if (c < 0x80)
        return IsWordChar(c);
    int n = 1;
    return IsWordChar(CharAt(s, len, i, encoding, n));
}

bool IsWordCharBefore(const char* s, int len, int i, TextEncoding encoding)
{
    if (i <= 0 || i > len)
        return false;
    const int start = encoding == TextEncoding::Utf8 ? utf8::Prev(s, len, i) : i - 1;
    return IsWordCharAt(s, len, start, encoding);
}

void AppendMapped(std::string& out, const char* bytes, int n, char32_t cp, EMapping mapping,
                  TextEncoding encoding)
{
    if (cp == utf8::kInvalid) {
        out.append(bytes, static_cast<size_t>(n));
        return;
    }
    if (cp < 0x80) {
        const char32_t r = MapOne(cp, mapping);
        out.push_back(static_cast<char>(r));
        return;
    }
    const std::u32string_view special = Special(cp, mapping);
    if (!special.empty() && AppendEncoded(out, special, encoding))
        return;
    const char32_t r = MapOne(cp, mapping);
    if (r == cp || !AppendEncoded(out, std::u32string_view(&r, 1), encoding))
        out.append(bytes, static_cast<size_t>(n));
}

std::string Mapped(std::string_view text, EMapping mapping, TextEncoding encoding)
{
    std::string out;
    out.reserve(text.size());
    const char* s = text.data();
    const int len = static_cast<int>(text.size());
    for (int i = 0; i < len;) {
        int n = 1;
        const char32_t cp = CharAt(s, len, i, encoding, n);
        AppendMapped(out, s + i, n, cp, mapping, encoding);
        i += n;
    }
    return out;
}

bool EqualFolded(std::string_view a, std::string_view b, TextEncoding encoding)
{
    return Mapped(a, EMapping::Fold, encoding) == Mapped(b, EMapping::Fold, encoding);
}

void CFoldedText::Assign(std::string_view text, TextEncoding encoding)
{
    m_bytes.clear();
    m_source.clear();
    m_starts.clear();
    m_diverged = false;
    m_utf8 = encoding == TextEncoding::Utf8;
    m_sourceLength = static_cast<int>(text.size());
    m_bytes.reserve(text.size());
    const char* s = text.data();
    const int len = m_sourceLength;
    auto record = [this](int source, size_t count) {
        for (size_t k = 0; k < count; ++k) {
            m_source.push_back(source);
            m_starts.push_back(k == 0);
        }
    };
    if (!m_utf8) {
        const FoldTable& folds = Cp1252Folds();
        for (int i = 0; i < len; ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == 0xDF) { // ß, the one byte whose fold grows
                Diverge();
                m_bytes.append("ss");
                record(i, 2);
                continue;
            }
            m_bytes.push_back(static_cast<char>(folds.byte[c]));
            if (m_diverged)
                record(i, 1);
        }
        return;
    }
    for (int i = 0; i < len;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            m_bytes.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
            if (m_diverged)
                record(i, 1);
            ++i;
            continue;
        }
        int n = 1;
        const char32_t cp = utf8::Decode(s, len, i, n);
        m_scratch.clear();
        AppendMapped(m_scratch, s + i, n, cp, EMapping::Fold, TextEncoding::Utf8);
        // A fold of another length, or of more than one character (ß as
        // "ss" takes ß's two bytes), no longer lines up with the source.
        if (cp != utf8::kInvalid &&
            (m_scratch.size() != static_cast<size_t>(n) ||
             utf8::SequenceLength(m_scratch.data(), static_cast<int>(m_scratch.size()), 0) != n))
            Diverge();
        m_bytes += m_scratch;
        if (m_diverged)
            record(i, m_scratch.size());
        i += n;
    }
}

// Switches to recording sources: the bytes folded so far stood for the
// source bytes at their own offsets.
void CFoldedText::Diverge()
{
    if (m_diverged)
        return;
    m_diverged = true;
    const size_t n = m_bytes.size();
    m_source.resize(n);
    m_starts.resize(n);
    for (size_t k = 0; k < n; ++k) {
        m_source[k] = static_cast<int>(k);
        m_starts[k] = !m_utf8 || utf8::IsBoundary(m_bytes.data(), static_cast<int>(n), static_cast<int>(k));
    }
}

int CFoldedText::SourceOffset(size_t k) const
{
    if (k >= m_bytes.size())
        return m_sourceLength;
    return m_diverged ? m_source[k] : static_cast<int>(k);
}

bool CFoldedText::StartsChar(size_t k) const
{
    if (k >= m_bytes.size())
        return true;
    if (m_diverged)
        return m_starts[k];
    return !m_utf8 || utf8::IsBoundary(m_bytes.data(), static_cast<int>(m_bytes.size()), static_cast<int>(k));
}

} // namespace charcase
