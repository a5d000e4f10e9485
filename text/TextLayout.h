// Fixed-pitch layout of one line: tab expansion, display columns and the
// mapping between columns and character indices. Lines are bytes; a tab
// moves to the next multiple of the tab width. In a Windows-1252 line every
// other byte is one cell; in a UTF-8 line a character (utf8::Next) takes the
// cells utf8::CellWidth gives it, and indices stay byte offsets.
#pragma once

#include "text/TextEncoding.h"

#include <string>
#include <vector>

namespace textlayout {

// Width of the cell run a character occupies when it starts at column.
inline int CellsAt(unsigned char c, int column, int tabWidth)
{
    return c == '\t' ? tabWidth - column % tabWidth : 1;
}

// The cells of the character at chars[i] when it starts at column, and in
// next the index after it.
int CharCells(const char* chars, int len, int i, int column, int tabWidth, TextEncoding encoding,
              int& next);

// The column after the whole line.
int DisplayLength(const char* chars, int len, int tabWidth, TextEncoding encoding = TextEncoding::Cp1252);

// The column reached after len characters that start at startColumn (the
// width of a piece appended to a line already startColumn wide).
int ColumnAfter(const char* chars, int len, int startColumn, int tabWidth,
                TextEncoding encoding = TextEncoding::Cp1252);

// The character index a vertical caret move lands on for the wanted column:
// a character spanning the column (a tab) is passed when the column lies
// nearer to its right edge. The line length when the line is shorter.
int ColumnToChar(const char* chars, int len, int column, int tabWidth,
                 TextEncoding encoding = TextEncoding::Cp1252);

// The index of the first character whose right edge lies right of column,
// or the line length (the hit test of a mouse position).
int HitColumnToChar(const char* chars, int len, int column, int tabWidth,
                    TextEncoding encoding = TextEncoding::Cp1252);

// The character boundary nearest to column (a click): in the left half of a
// character's cells before it, from the middle on after it. The line length
// when the line ends before column.
int NearestCharToColumn(const char* chars, int len, int column, int tabWidth,
                        TextEncoding encoding = TextEncoding::Cp1252);

// A place inside a line: a character boundary and the column it starts at.
struct ColumnMark {
    int index = 0;
    int column = 0;
};

// The places the walk over a line passes first at or after every multiple
// of spacing bytes: a walk to a column far into a long line may start at the
// last of them before it.
std::vector<ColumnMark> ColumnMarks(const char* chars, int len, int tabWidth, int spacing,
                                    TextEncoding encoding = TextEncoding::Cp1252);

// The column reached after the first x bytes (x is clamped to 0..len; in a
// UTF-8 line, a character that starts before x counts whole), counted from
// from on (the line's start, or one of its ColumnMarks at or before x).
int DisplayColumn(const char* chars, int len, int x, int tabWidth,
                  TextEncoding encoding = TextEncoding::Cp1252, ColumnMark from = {});

// The first character whose cells reach column wanted or beyond, and the
// column at which it starts: where painting of a line scrolled to the right
// begins (startColumn may lie left of wanted for a tab or a wide character).
// Returns len (with startColumn = the line's display length) when the line
// ends before wanted. The walk starts at from (the line's start, or one of
// its ColumnMarks at or before wanted).
int FirstCharAtColumn(const char* chars, int len, int wanted, int tabWidth, int& startColumn,
                      TextEncoding encoding = TextEncoding::Cp1252, ColumnMark from = {});

// The second cell of a wide character in ExpandForDisplay's result.
inline constexpr char32_t kWideTail = 0xFFFFFFFE;

// Characters [first, first+count) expanded for display, starting at display
// column startColumn, cut after maxCells cells (maxCells < 0: no cut): the
// glyph of every cell, a wide character as its glyph and kWideTail. Tabs
// become blanks to the next stop; with showWhitespace a tab becomes "»"
// followed by blanks and a blank becomes "•".
std::u32string ExpandForDisplay(const char* chars, int first, int count, int startColumn, int tabWidth,
                                bool showWhitespace, TextEncoding encoding = TextEncoding::Cp1252,
                                int maxCells = -1);
// The same cells appended to out, whose capacity a caller that expands
// line after line keeps (maxCells counts the appended cells only).
void AppendForDisplay(std::u32string& out, const char* chars, int first, int count, int startColumn,
                      int tabWidth, bool showWhitespace, TextEncoding encoding = TextEncoding::Cp1252,
                      int maxCells = -1);

// The glyph a Windows-1252 byte is drawn with: its character, with control
// characters and the bytes without a character shown as "¿" so that every
// byte keeps one visible cell.
char32_t DisplayGlyph(unsigned char byte);

// The glyph of a decoded UTF-8 character (utf8::kInvalid for a byte that
// starts no sequence, shown as U+FFFD); control characters show as "¿".
char32_t DisplayGlyphOf(char32_t cp);

} // namespace textlayout
