// Caret motion inside one line: word steps, word bounds and smart home.
// Word characters are "_", digits and letters: those of Windows-1252 in a
// Windows-1252 line, the Unicode ones of charcase in a UTF-8 line, which is
// stepped over in whole characters. White space is ASCII (and the no-break
// spaces in UTF-8).
#pragma once

#include "text/TextEncoding.h"

namespace textmotion {

bool IsWordChar(unsigned char c);
// A decoded UTF-8 character (utf8::kInvalid for a byte of no sequence,
// which is no word character).
bool IsWordCodePoint(char32_t cp);

// Word left from x (0 < x <= len): skip white space backwards, then back
// over a run of word characters, or over a run of characters that are
// neither word characters nor white space.
int WordLeft(const char* chars, int len, int x, TextEncoding encoding = TextEncoding::Cp1252);

// Word right from x (0 <= x < len): over a run of word characters, or of
// other non-blank characters, then over the white space after it.
int WordRight(const char* chars, int len, int x, TextEncoding encoding = TextEncoding::Cp1252);

// Start of the run of word characters that ends at x, and end of the one
// that starts at x (x itself when there is none).
int WordStart(const char* chars, int len, int x, TextEncoding encoding = TextEncoding::Cp1252);
int WordEnd(const char* chars, int len, int x, TextEncoding encoding = TextEncoding::Cp1252);

// Index of the first character that is neither blank nor tab (len if none).
int FirstNonBlank(const char* chars, int len);

// Home: the first non-blank character, or column 0 when the caret is
// already there or the line holds only white space.
int SmartHome(const char* chars, int len, int x);

} // namespace textmotion
