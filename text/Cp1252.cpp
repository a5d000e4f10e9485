#include "text/Cp1252.h"

#include <array>

namespace cp1252 {

namespace {

// 0x80..0x9F; zero marks a byte without a character.
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

enum : unsigned char { kLetter = 1, kUpper = 2, kLower = 4 };

struct Tables {
    std::array<unsigned char, 256> kind{};
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};

    constexpr Tables()
    {
        for (int i = 0; i < 256; ++i) {
            upper[i] = static_cast<unsigned char>(i);
            lower[i] = static_cast<unsigned char>(i);
        }
        auto pair = [this](int up, int low) {
            kind[up] = kLetter | kUpper;
            kind[low] = kLetter | kLower;
            lower[up] = static_cast<unsigned char>(low);
            upper[low] = static_cast<unsigned char>(up);
        };
        for (int c = 'A'; c <= 'Z'; ++c)
            pair(c, c + 32);
        pair(0x8A, 0x9A); // Š š
        pair(0x8C, 0x9C); // Œ œ
        pair(0x8E, 0x9E); // Ž ž
        pair(0x9F, 0xFF); // Ÿ ÿ
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7) // ×
                pair(c, c + 32);
        // Lower-case letters without an upper-case partner in the code page.
        for (int c : {0x83, 0xB5, 0xDF}) // ƒ µ ß
            kind[c] = kLetter | kLower;
        for (int c : {0xAA, 0xBA}) // ª º
            kind[c] = kLetter;
    }
};

constexpr Tables kTables;

} // namespace

char32_t ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) {
        char32_t cp = kHigh[byte - 0x80];
        return cp ? cp : byte;
    }
    return byte;
}

char FromUnicode(char32_t cp, char fallback)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i) {
        char32_t mapped = kHigh[i] ? kHigh[i] : static_cast<char32_t>(0x80 + i);
        if (mapped == cp)
            return static_cast<char>(0x80 + i);
    }
    return fallback;
}

std::wstring DecodeWide(std::string_view bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.push_back(static_cast<wchar_t>(ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

std::string EncodeWide(std::wstring_view text, char fallback)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        // A 16-bit wchar_t carries characters outside the BMP as pairs.
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
                char32_t lo = static_cast<char32_t>(text[i + 1]);
                if (lo >= 0xDC00 && lo < 0xE000) {
                    ++i;
                    out.push_back(fallback);
                    continue;
                }
            }
        }
        out.push_back(FromUnicode(cp, fallback));
    }
    return out;
}

std::string DecodeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        char32_t cp = ToUnicode(static_cast<unsigned char>(c));
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::string EncodeUtf8(std::string_view s, char fallback)
{
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        int extra;
        char32_t cp;
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out.push_back(fallback);
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= s.size()) {
                ok = false;
                break;
            }
            unsigned char t = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((t & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are invalid.
        if (ok && ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                   (cp >= 0xD800 && cp < 0xE000)))
            ok = false;
        if (!ok) {
            out.push_back(fallback);
            ++i;
            continue;
        }
        out.push_back(FromUnicode(cp, fallback));
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

bool IsLetter(unsigned char c)
{
    return kTables.kind[c] & kLetter;
}

bool IsUpper(unsigned char c)
{
    return kTables.kind[c] & kUpper;
}

bool IsLower(unsigned char c)
{
    return kTables.kind[c] & kLower;
}

unsigned char ToUpper(unsigned char c)
{
    return kTables.upper[c];
}

unsigned char ToLower(unsigned char c)
{
    return kTables.lower[c];
}

} // namespace cp1252
