// The column arithmetic of the status bar and of jumps to a line and column.
#pragma once

#include <string_view>

// The "Spalte" number: caret index + 1, plus tab size - 1 for every tab
// before the caret in its line.
int StatusColumn(std::string_view line, int caretIndex, int tabSize);

// The character index a jump to a 1-based column lands on: the column
// (minus one) is reduced by the tab size for every tab met while walking the
// line, and the walk stops once the index reaches it. The result is kept
// within the line, so a column left of a leading tab gives its start.
int JumpColumnIndex(std::string_view line, int column, int tabSize);
