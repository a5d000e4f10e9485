// A line with its tabs spelled out as blanks to the next stop: the tests' and
// benchmarks' own count of tab columns, kept apart from textlayout:: so that
// it can tell when that goes wrong.
#pragma once

#include <string>

namespace kibtest {

inline std::string SpelledTabs(const std::string& line, int tabWidth = 8)
{
    std::string out;
    for (char c : line) {
        if (c == '\t')
            out.append(static_cast<size_t>(tabWidth) - out.size() % static_cast<size_t>(tabWidth), ' ');
        else
            out += c;
    }
    return out;
}

} // namespace kibtest
