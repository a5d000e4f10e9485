#include "app/EditorPositions.h"

#include <algorithm>

int StatusColumn(std::string_view line, int caretIndex, int tabSize)
{
    int limit = std::clamp(caretIndex, 0, static_cast<int>(line.size()));
    int column = caretIndex + 1;
    for (int i = 0; i < limit; ++i)
        if (line[static_cast<size_t>(i)] == '\t')
            column += tabSize - 1;
    return column;
}

int JumpColumnIndex(std::string_view line, int column, int tabSize)
{
    int x = column > 0 ? column - 1 : 0;
    int length = static_cast<int>(line.size());
    for (int i = 0; i < length; ++i) {
        if (line[static_cast<size_t>(i)] == '\t')
            x -= tabSize;
        if (x <= i)
            break;
    }
    // The walk can push x below 0 (a column inside a leading tab) or leave it
    // beyond the line's end; a caret outside the line would be invalid.
    return std::clamp(x, 0, length);
}
