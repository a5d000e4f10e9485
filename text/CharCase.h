// Letters, case and words of document characters, the same on every machine
// (no locale is asked). A UTF-8 document has the Unicode letters of the
// Latin, Greek, Cyrillic and Armenian scripts with their case partners, and
// the letters without case of the other common scripts (CJK, kana, Hangul,
// Hebrew, Arabic, ...); a Windows-1252 document has the code page's letters.
//
// The rules for "ß" follow Unicode's full mappings: its upper case is "SS",
// its title case "Ss", and case-insensitive comparison folds it (and "ẞ") to
// "ss", so "GRÜSSE" and "grüße" compare equal. Mappings may change a text's
// length. A mapping the document's encoding cannot hold leaves the character
// as it is (µ, ƒ in Windows-1252), and so does every byte that is no valid
// UTF-8.
#pragma once

#include "text/TextEncoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace charcase {

// --- Code points.
bool IsLetter(char32_t cp);
bool IsUpper(char32_t cp);
bool IsLower(char32_t cp);
// Decimal digits (ASCII, Arabic-Indic, Devanagari, full-width).
bool IsDigit(char32_t cp);
// The whole-word rule: letters, digits, "_" and combining marks.
bool IsWordChar(char32_t cp);
// One-to-one mappings; characters without a partner come back unchanged.
char32_t ToUpper(char32_t cp);
char32_t ToLower(char32_t cp);
char32_t ToTitle(char32_t cp);

enum class EMapping { Upper, Lower, Title, Fold };

// --- Document bytes.
// The character at s[i] (i < len) and in n its length in bytes: a byte of a
// Windows-1252 document, a UTF-8 sequence, or one byte that is no valid UTF-8
// (which gives utf8::kInvalid).
char32_t CharAt(const char* s, int len, int i, TextEncoding encoding, int& n);
// Whether the character at s[i] is a word character.
bool IsWordCharAt(const char* s, int len, int i, TextEncoding encoding);
// Whether the character that ends right before s[i] is one (false at 0).
bool IsWordCharBefore(const char* s, int len, int i, TextEncoding encoding);

// Appends the mapping of the character cp whose bytes are bytes[0, n).
void AppendMapped(std::string& out, const char* bytes, int n, char32_t cp, EMapping mapping,
                  TextEncoding encoding);
// The mapping of a whole text.
std::string Mapped(std::string_view text, EMapping mapping, TextEncoding encoding);

// Whether a and b are equal after case folding.
bool EqualFolded(std::string_view a, std::string_view b, TextEncoding encoding);

// A text in its case-folded form, in the same encoding, with the source
// offset of each folded byte, so that a match found in the folded form maps
// back to whole characters of the source.
class CFoldedText {
public:
    void Assign(std::string_view text, TextEncoding encoding);
    const std::string& Bytes() const { return m_bytes; }
    // The source offset where the character that folded byte k belongs to
    // starts; k == Bytes().size() gives the source length.
    int SourceOffset(size_t k) const;
    // Whether folded byte k begins the fold of a source character (true at
    // the end): a match must start and end on such bytes.
    bool StartsChar(size_t k) const;

private:
    bool Diverged() const { return m_diverged; }
    void Diverge();

    std::string m_bytes;
    std::string m_scratch;
    int m_sourceLength = 0;
    bool m_utf8 = true;
    bool m_diverged = false;
    // Empty while every folded byte stands for the source byte at the same
    // offset (the usual case), else one entry per folded byte.
    std::vector<int> m_source;
    std::vector<bool> m_starts;
};

} // namespace charcase
