#include "editor/TextMotion.h"

#include "text/Cp1252.h"

#include <algorithm>

namespace textmotion {

namespace {

bool At(const char* chars, int i, bool (*pred)(unsigned char))
{
    return pred(static_cast<unsigned char>(chars[i]));
}

bool IsSpaceChar(unsigned char c)
{
    return cp1252::IsSpace(c);
}

bool IsOther(unsigned char c)
{
    return !IsWordChar(c) && !cp1252::IsSpace(c);
}

} // namespace

bool IsWordChar(unsigned char c)
{
    return c == '_' || cp1252::IsDigit(c) || cp1252::IsLetter(c);
}

int WordLeft(const char* chars, int len, int x)
{
    x = std::clamp(x, 0, len);
    while (x > 0 && At(chars, x - 1, IsSpaceChar))
        --x;
    if (x == 0)
        return 0;
    bool (*pred)(unsigned char) = At(chars, x - 1, IsWordChar) ? IsWordChar : IsOther;
    while (x > 0 && At(chars, x - 1, pred))
        --x;
    return x;
}

int WordRight(const char* chars, int len, int x)
{
    x = std::clamp(x, 0, len);
    if (x < len) {
        bool (*pred)(unsigned char) = At(chars, x, IsWordChar) ? IsWordChar : IsOther;
        while (x < len && At(chars, x, pred))
            ++x;
    }
    while (x < len && At(chars, x, IsSpaceChar))
        ++x;
    return x;
}

int WordStart(const char* chars, int len, int x)
{
    x = std::clamp(x, 0, len);
    while (x > 0 && At(chars, x - 1, IsWordChar))
        --x;
    return x;
}

int WordEnd(const char* chars, int len, int x)
{
    x = std::clamp(x, 0, len);
    while (x < len && At(chars, x, IsWordChar))
        ++x;
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
