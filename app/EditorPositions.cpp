#include "app/EditorPositions.h"

#include "editor/LineTable.h"
#include "text/Utf8.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

// The byte offset of each character start of a UTF-8 line, and its end.
std::vector<int> CharStarts(std::string_view line)
{
    std::vector<int> starts;
    const int len = static_cast<int>(line.size());
    for (int i = 0; i < len; i = utf8::Next(line.data(), len, i))
        starts.push_back(i);
    starts.push_back(len);
    return starts;
}

} // namespace

int StatusLineMaximum()
{
    return CLineTable::kMaxLines;
}

int StatusColumnMaximum()
{
    return INT_MAX;
}

int StatusColumn(std::string_view line, int caretIndex, int tabSize, TextEncoding encoding)
{
    int limit = std::clamp(caretIndex, 0, static_cast<int>(line.size()));
    int64_t column = 1;
    for (int i = 0; i < limit;) {
        if (line[static_cast<size_t>(i)] == '\t')
            column += tabSize - 1;
        ++column;
        i = encoding == TextEncoding::Utf8 ? utf8::Next(line.data(), limit, i) : i + 1;
    }
    // Past the line's end the caret index counts on (a stored caret).
    column += std::max(0, caretIndex - limit);
    return static_cast<int>(std::min<int64_t>(column, StatusColumnMaximum()));
}

int JumpColumnIndex(std::string_view line, int column, int tabSize, TextEncoding encoding)
{
    // The walk goes over characters; in a UTF-8 line their byte offsets are
    // looked up at the end.
    const bool utf8 = encoding == TextEncoding::Utf8;
    const std::vector<int> starts = utf8 ? CharStarts(line) : std::vector<int>();
    const int count = utf8 ? static_cast<int>(starts.size()) - 1 : static_cast<int>(line.size());
    auto startOf = [&](int i) { return utf8 ? starts[static_cast<size_t>(i)] : i; };
    int x = column > 0 ? column - 1 : 0;
    for (int i = 0; i < count; ++i) {
        if (line[static_cast<size_t>(startOf(i))] == '\t')
            x -= tabSize;
        if (x <= i)
            break;
    }
    // The walk can push x below 0 (a column inside a leading tab) or leave it
    // beyond the line's end; a caret outside the line would be invalid.
    return startOf(std::clamp(x, 0, count));
}
