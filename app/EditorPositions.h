// The column arithmetic of the status bar and of jumps to a line and column.
#pragma once

#include "text/TextEncoding.h"

#include <string_view>

// The largest numbers the status panes can show: the last line of the
// longest text a buffer holds, and the largest column (StatusColumn stops
// there rather than overflow).
int StatusLineMaximum();
int StatusColumnMaximum();

// The "Spalte" number: the characters before the caret + 1, plus tab size -
// 1 for every tab among them (a UTF-8 character counts once, however many
// bytes or cells it takes).
int StatusColumn(std::string_view line, int caretIndex, int tabSize,
                 TextEncoding encoding = TextEncoding::Cp1252);

// The character index a jump to a 1-based column lands on: the column
// (minus one) is reduced by the tab size for every tab met while walking the
// line, and the walk stops once the index reaches it. The result is kept
// within the line, so a column left of a leading tab gives its start. In a
// UTF-8 line columns count characters and the index is a byte offset.
int JumpColumnIndex(std::string_view line, int column, int tabSize,
                    TextEncoding encoding = TextEncoding::Cp1252);
