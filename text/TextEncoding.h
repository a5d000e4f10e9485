// The encoding of a document's bytes, decided when the file is read and kept
// with the document: UTF-8 (with or without a byte order mark) or
// Windows-1252. The bytes themselves are never converted on load or save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TextEncoding : uint8_t { Utf8, Cp1252 };

namespace textencoding {

inline constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
bool IsAscii(std::string_view bytes);

struct Decision {
    TextEncoding encoding = TextEncoding::Utf8;
    bool bom = false; // the bytes start with a UTF-8 byte order mark
};

// Valid UTF-8 with a byte above 7F (or a BOM) is UTF-8; pure ASCII takes
// plainEncoding; everything else is Windows-1252, which can hold any byte. A
// BOM in front of bytes that are no valid UTF-8 stays a part of the text.
Decision Detect(std::string_view bytes, TextEncoding plainEncoding);

// The same decision over bytes that arrive in pieces (a file while it is
// read): every call sees all bytes so far, which may have moved since the
// last call; each byte is looked at once.
class CDetector {
public:
    void Feed(std::string_view bytes) { Scan(bytes, false); }
    Decision Finish(std::string_view bytes, TextEncoding plainEncoding);

private:
    void Scan(std::string_view bytes, bool final);
    size_t m_done = 0;
    bool m_nonAscii = false;
    bool m_invalid = false;
};

// The encoding of a locale character set: Windows-1252 for the single-byte
// Western sets (CP1252, ISO-8859-1, ISO-8859-15), UTF-8 for everything else,
// including ASCII (under C), of which UTF-8 is the superset the JDK and the
// other tools on this platform assume.
TextEncoding EncodingForCodeset(std::string_view codeset);

// The encoding of new documents and of pure ASCII files: that of the user's
// locale, read once.
TextEncoding PlatformEncoding();

// "UTF-8" or "Windows-1252"; javac's -encoding takes either (charset
// names are case-blind).
const char* Name(TextEncoding encoding);

} // namespace textencoding
