#include "text/TextEncoding.h"

#include "platform/LocaleCodeset.h"
#include "text/Utf8.h"

#include <cstring>
#include <string>

namespace textencoding {

bool IsAscii(std::string_view bytes)
{
    const char* p = bytes.data();
    size_t n = bytes.size();
    // Eight bytes at a time: a file is mostly ASCII.
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        if (w & 0x8080808080808080ull)
            return false;
    }
    for (; n > 0; ++p, --n)
        if (static_cast<unsigned char>(*p) & 0x80)
            return false;
    return true;
}

bool IsValidUtf8(std::string_view bytes)
{
    const char* p = bytes.data();
    const int64_t size = static_cast<int64_t>(bytes.size());
    int64_t i = 0;
    while (i < size) {
        if (size - i >= 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            if (!(w & 0x8080808080808080ull)) {
                i += 8;
                continue;
            }
        }
        if (!(static_cast<unsigned char>(p[i]) & 0x80)) {
            ++i;
            continue;
        }
        // A sequence never reaches past the line's end: SequenceLength takes
        // an int length, so look at no more than four bytes.
        const int avail = static_cast<int>(size - i < 4 ? size - i : 4);
        int n = utf8::SequenceLength(p + i, avail, 0);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

Decision Detect(std::string_view bytes, TextEncoding plainEncoding)
{
    Decision d;
    const bool bom = bytes.substr(0, kBom.size()) == kBom;
    if (bom && IsValidUtf8(bytes)) {
        d.encoding = TextEncoding::Utf8;
        d.bom = true;
    } else if (IsAscii(bytes)) {
        d.encoding = plainEncoding;
    } else {
        d.encoding = IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp1252;
    }
    return d;
}

TextEncoding EncodingForCodeset(std::string_view codeset)
{
    std::string c;
    for (char ch : codeset)
        if (ch != '-' && ch != '_')
            c.push_back(static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch));
    if (c == "CP1252" || c == "WINDOWS1252" || c == "ISO88591" || c == "ISO885915" || c == "LATIN1")
        return TextEncoding::Cp1252;
    return TextEncoding::Utf8;
}

TextEncoding PlatformEncoding()
{
    static const TextEncoding encoding = EncodingForCodeset(platform::LocaleCodeset());
    return encoding;
}

const char* Name(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

} // namespace textencoding
