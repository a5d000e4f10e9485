// The result lines of find in files, "file(line,column):text", and the
// recognition of such a line in a search results pane for the jump to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "%s(%d,%d):%s" of path, line, column and text.
std::string FormatSearchResultLine(std::string_view path, int64_t line, int64_t column,
                                   std::string_view text);

struct SearchResultLocation {
    std::string file;
    int32_t line = 0;   // 1-based
    int32_t column = 0; // 1-based
};

// Recognises a pane line as a result: the file is the text in front of the
// first "(" that starts "(digits,digits):", so a path that itself holds a
// "(" is still recognised; line and column are those digits (values beyond
// the 32-bit range are clamped). False when the line holds no such part, its
// file part is empty, or its line number is 0. Line breaks end the line.
bool ParseSearchResultLine(std::string_view paneLine, SearchResultLocation& result);
