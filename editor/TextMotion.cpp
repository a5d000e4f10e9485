#include "editor/TextMotion.h"

#include "text/CharCase.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <algorithm>

namespace textmotion {

namespace {

enum class Kind { Space, Word, Other };

Kind KindOfByte(unsigned char c)
{
    if (cp1252::IsSpace(c))
        return Kind::Space;
    return IsWordChar(c) ? Kind::Word : Kind::Other;
}

Kind KindOfCodePoint(char32_t cp)
{
    if (cp < 0x80)
        return KindOfByte(static_cast<unsigned char>(cp));
    if (cp == 0xA0 || cp == 0x202F || cp == 0x3000)
        return Kind::Space;
    return IsWordCodePoint(cp) ? Kind::Word : Kind::Other;
}

// The characters of one line, stepped over whole in a UTF-8 line.
struct Line {
    const char* chars;
    int len;
    bool utf8;

    int Next(int i) const { return utf8 ? utf8::Next(chars, len, i) : i + 1; }
    int Prev(int i) const { return utf8 ? utf8::Prev(chars, len, i) : i - 1; }
    // The kind of the character that starts at i.
    Kind At(int i) const
    {
        const unsigned char c = static_cast<unsigned char>(chars[i]);
        if (!utf8 || c < 0x80)
            return KindOfByte(c);
        int n = 1;
        return KindOfCodePoint(utf8::Decode(chars, len, i, n));
    }
    Kind Before(int i) const { return At(Prev(i)); }
    // x clamped to the line and moved onto a character boundary.
    int Clamp(int x) const
    {
        x = std::clamp(x, 0, len);
        return utf8 && !utf8::IsBoundary(chars, len, x) ? utf8::Prev(chars, len, x) : x;
    }
};

Line LineOf(const char* chars, int len, TextEncoding encoding)
{
    return Line{chars, len, encoding == TextEncoding::Utf8};
}

} // namespace

bool IsWordChar(unsigned char c)
{
    return c == '_' || cp1252::IsDigit(c) || cp1252::IsLetter(c);
}

bool IsWordCodePoint(char32_t cp)
{
    // The letters, digits and marks the whole-word rule of the search knows.
    return cp != utf8::kInvalid && charcase::IsWordChar(cp);
}

int WordLeft(const char* chars, int len, int x, TextEncoding encoding)
{
    const Line line = LineOf(chars, len, encoding);
    x = line.Clamp(x);
    while (x > 0 && line.Before(x) == Kind::Space)
        x = line.Prev(x);
    if (x == 0)
        return 0;
    const Kind run = line.Before(x);
    while (x > 0 && line.Before(x) == run)
        x = line.Prev(x);
    return x;
}

int WordRight(const char* chars, int len, int x, TextEncoding encoding)
{
    const Line line = LineOf(chars, len, encoding);
    x = line.Clamp(x);
    if (x < len) {
        const Kind run = line.At(x) == Kind::Word ? Kind::Word : Kind::Other;
        while (x < len && line.At(x) == run)
            x = line.Next(x);
    }
    while (x < len && line.At(x) == Kind::Space)
        x = line.Next(x);
    return x;
}

int WordStart(const char* chars, int len, int x, TextEncoding encoding)
{
    const Line line = LineOf(chars, len, encoding);
    x = line.Clamp(x);
    while (x > 0 && line.Before(x) == Kind::Word)
        x = line.Prev(x);
    return x;
}

int WordEnd(const char* chars, int len, int x, TextEncoding encoding)
{
    const Line line = LineOf(chars, len, encoding);
    x = line.Clamp(x);
    while (x < len && line.At(x) == Kind::Word)
        x = line.Next(x);
    return x;
}

int FirstNonBlank(const char* chars, int len)
{
    int i = 0;
    while (i < len && (chars[i] == ' ' || chars[i] == '\t'))
        ++i;
    return i;
}

int SmartHome(const char* chars, int len, int x)
{
    int first = FirstNonBlank(chars, len);
    if (first == len || first == x)
        return 0;
    return first;
}

} // namespace textmotion
