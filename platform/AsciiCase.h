// Letter case of the ASCII letters alone, independent of the locale: for
// names that compare without regard to case (store keys, profile sections
// and keys, JDK folder names, URL schemes).
#pragma once

#include <string>
#include <string_view>

namespace platform {

inline char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowerCopy(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

inline bool EqualsAsciiNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

} // namespace platform
