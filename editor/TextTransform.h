// The text arithmetic behind the editing commands: case conversions, tab and
// space conversion, indentation texts, block line ranges, comment trimming,
// and the line-break convention at the clipboard boundary. Texts are
// document bytes with lines joined by CR LF.
#pragma once

#include "editor/TextPos.h"
#include "text/TextEncoding.h"

#include <string>
#include <string_view>

namespace texttransform {

enum class ECase { Lower, Upper, Swap, Capitalize, Sentence };

// Converts the letters of text, characters of the given encoding (see
// text/CharCase.h: ß upper-cases to "SS", so the text may change length).
// Digits and white space are ASCII; bytes that are no valid UTF-8 are kept.
void ConvertCase(std::string& text, ECase kind, TextEncoding encoding);

// Every tab becomes tabWidth blanks (a fixed count, not up to the next stop).
std::string TabsToSpaces(std::string_view text, int tabWidth);
// Every run of tabWidth blanks, left to right without overlap, becomes a tab.
std::string SpacesToTabs(std::string_view text, int tabWidth);

// The text Tab inserts at a caret in display column column: a tab, or with
// tabsAsSpaces the blanks up to the next tab stop.
std::string TabText(bool tabsAsSpaces, int tabWidth, int column);

// Indentation of a line opened below the line prev (automatic indentation):
// prev's leading blanks and tabs, plus one level when indentAfterBracket is
// on and prev ends in an opening bracket ({ ( [ <).
std::string AutoIndentText(std::string_view prev, bool indentAfterBracket, bool tabsAsSpaces,
                           int tabWidth);

bool IsOpeningBracket(unsigned char c);
bool IsClosingBracket(unsigned char c);

// After a closing bracket was typed at the end of line (x = caret): the
// number of characters to remove before the bracket so that it drops one
// indentation level, 0 when the line is not white space followed by only
// that bracket.
int ClosingBracketOutdent(std::string_view line, int caretX, int tabWidth);

// Leading indentation Shift+Tab removes from a line: up to tabWidth blanks,
// or blanks up to and including the first tab.
int UnindentCount(std::string_view line, int tabWidth);

// Where the caret lands when Shift+Tab moves it back to the previous tab
// stop from character x (no text change).
int PreviousTabStopChar(std::string_view line, int x, int tabWidth,
                        TextEncoding encoding = TextEncoding::Cp1252);

// How far Tab in overwrite mode moves the caret from x: to the next tab stop,
// stopping right after a tab character, never past the line end.
int OverwriteTabChar(std::string_view line, int x, int tabWidth, TextEncoding encoding = TextEncoding::Cp1252);

// Lines a block indent covers for the ordered selection [start, end):
// start.y .. end.y, without the last line when its selected part ends at
// column 0. Returns false when the selection lies within one line.
bool BlockLines(TextPos start, TextPos end, int& firstLine, int& lastLine);

// Uncommenting is possible when the trimmed selected text is longer than 3
// characters, starts with "/*" and ends with "*/".
bool CanUncomment(std::string_view trimmedText);
// Characters of the opener to remove once the closer is gone: 3 for "/**"
// when its third character is still inside the range, else 2.
int CommentOpenerLength(std::string_view textWithoutCloser);

// Trims the ordered range [start, end) of blanks at both ends; a line break
// counts as white space, so either end may move to another line. Lines
// provides LineLength(int) and LineChars(int).
template <class Lines>
void TrimRange(const Lines& lines, TextPos& start, TextPos& end)
{
    auto isSpace = [](char c) {
        unsigned char u = static_cast<unsigned char>(c);
        return u == ' ' || (u >= 0x09 && u <= 0x0D);
    };
    while (start < end) {
        int len = lines.LineLength(start.y);
        if (start.x >= len) {
            start = TextPos(0, start.y + 1);
            continue;
        }
        if (!isSpace(lines.LineChars(start.y)[start.x]))
            break;
        ++start.x;
    }
    while (start < end) {
        if (end.x == 0) {
            end = TextPos(lines.LineLength(end.y - 1), end.y - 1);
            continue;
        }
        if (!isSpace(lines.LineChars(end.y)[end.x - 1]))
            break;
        --end.x;
    }
    if (end < start)
        end = start;
}

// Clipboard text uses the platform's line break (LF); document text CR LF.
std::string DocumentToClipboardBreaks(std::string_view text);
// A LF that is not preceded by a CR becomes CR LF, so that text from other
// programs pastes as lines.
std::string ClipboardToDocumentBreaks(std::string_view text);

} // namespace texttransform
