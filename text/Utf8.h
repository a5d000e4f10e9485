// Characters of a UTF-8 line: sequence lengths, boundaries, decoding and the
// cells a character takes in the fixed-pitch grid. A byte that starts no
// valid sequence is a character of its own, one byte long, so that any bytes
// can be stepped over, shown and kept.
#pragma once

#include <string>
#include <string_view>

namespace utf8 {

// Marks a byte that starts no valid sequence in Decode's result.
inline constexpr char32_t kInvalid = 0xFFFFFFFF;

// Length (1-4) of the valid sequence that starts at s[i], or 0 when none
// does; i must lie in [0, len).
int SequenceLength(const char* s, int len, int i);

// The code point at s[i] and in n the bytes it takes (1 for an invalid byte,
// which gives kInvalid).
char32_t Decode(const char* s, int len, int i, int& n);

// The next (previous) character boundary after (before) i, clamped to the
// line. A position inside a sequence is moved to the boundary on the side
// asked for.
int Next(const char* s, int len, int i);
int Prev(const char* s, int len, int i);
// Whether i (0..len) lies on a character boundary.
bool IsBoundary(const char* s, int len, int i);

// Cells a code point takes: 2 for the wide East Asian characters (CJK,
// Hangul, kana, full-width forms, most emoji), 1 for everything else. An
// invalid byte takes one cell, shown as a placeholder.
int CellWidth(char32_t cp);

// UTF-8 of one code point (none for a surrogate or above U+10FFFF).
void Append(std::string& out, char32_t cp);

// Bytes as UTF-8 for display, each invalid byte replaced by U+FFFD.
std::string ToValid(std::string_view bytes);

} // namespace utf8
