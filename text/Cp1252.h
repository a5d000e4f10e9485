// Windows-1252: the code page of document bytes. Conversion to and from
// Unicode for display and the clipboard, and the letter and case tables used
// by case conversion and case-insensitive search. Independent of the locale.
#pragma once

#include <string>
#include <string_view>

namespace cp1252 {

// The code point of a byte. The five bytes without a character (81, 8D, 8F,
// 90, 9D) map to the C1 controls of the same value, so every byte survives
// a round trip.
char32_t ToUnicode(unsigned char byte);

// The byte of a code point, or fallback when the code page has none.
char FromUnicode(char32_t cp, char fallback = '?');

// Whole strings. The wide forms use wchar_t, which is what wxString holds.
std::wstring DecodeWide(std::string_view bytes);
std::string EncodeWide(std::wstring_view text, char fallback = '?');
std::string DecodeUtf8(std::string_view bytes);
// Invalid UTF-8 sequences become fallback, one per offending byte.
std::string EncodeUtf8(std::string_view utf8, char fallback = '?');

// Letters of the code page: ASCII letters, Š Œ Ž š œ ž Ÿ ƒ ª µ º and
// À–Ö Ø–ö ø–ÿ.
bool IsLetter(unsigned char c);
bool IsUpper(unsigned char c);
bool IsLower(unsigned char c);
// Case partners; a letter without a partner (ß, ƒ, µ, ª, º) and every
// non-letter are returned unchanged.
unsigned char ToUpper(unsigned char c);
unsigned char ToLower(unsigned char c);

// ASCII white space (blank, tab, LF, VT, FF, CR) and digits.
inline bool IsSpace(unsigned char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}
inline bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

} // namespace cp1252
