#include "workspace/SearchResultLine.h"

#include <limits>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits at s[i...]: their value (clamped) and the index behind them; false
// when there is no digit.
bool ReadNumber(std::string_view s, size_t& i, int32_t& value)
{
    const size_t start = i;
    int64_t v = 0;
    while (i < s.size() && IsDigit(s[i])) {
        if (v <= std::numeric_limits<int32_t>::max())
            v = v * 10 + (s[i] - '0');
        ++i;
    }
    if (i == start)
        return false;
    value = v > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(v);
    return true;
}

} // namespace

std::string FormatSearchResultLine(std::string_view path, int64_t line, int64_t column,
                                   std::string_view text)
{
    std::string out;
    out.reserve(path.size() + text.size() + 24);
    out.append(path);
    out += '(';
    out += std::to_string(line);
    out += ',';
    out += std::to_string(column);
    out += "):";
    out.append(text);
    return out;
}

bool ParseSearchResultLine(std::string_view paneLine, SearchResultLocation& result)
{
    const size_t eol = paneLine.find_first_of("\r\n");
    if (eol != std::string_view::npos)
        paneLine = paneLine.substr(0, eol);
    for (size_t open = paneLine.find('('); open != std::string_view::npos;
         open = paneLine.find('(', open + 1)) {
        size_t i = open + 1;
        int32_t line = 0, column = 0;
        if (!ReadNumber(paneLine, i, line) || i >= paneLine.size() || paneLine[i] != ',')
            continue;
        ++i;
        if (!ReadNumber(paneLine, i, column) || paneLine.substr(i, 2) != "):")
            continue;
        if (open == 0 || line < 1)
            return false;
        result.file.assign(paneLine.substr(0, open));
        result.line = line;
        result.column = column;
        return true;
    }
    return false;
}
