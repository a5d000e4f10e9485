#include "text/Transcode.h"

#include "text/Cp1252.h"
#include "text/Utf8.h"

namespace transcode {

Result Convert(std::string_view text, TextEncoding from, TextEncoding to)
{
    Result r;
    if (from == to) {
        r.bytes.assign(text);
        return r;
    }
    if (from == TextEncoding::Cp1252) {
        r.bytes = cp1252::DecodeUtf8(text);
        return r;
    }
    r.bytes.reserve(text.size());
    const char* s = text.data();
    const int len = static_cast<int>(text.size());
    for (int i = 0; i < len;) {
        int n = 1;
        char32_t cp = utf8::Decode(s, len, i, n);
        if (cp == utf8::kInvalid) {
            r.bytes.push_back(s[i]);
        } else {
            char b = cp1252::FromUnicode(cp, '\0');
            if (b == '\0' && cp != 0) {
                r.ok = false;
                r.badOffset = static_cast<size_t>(i);
                r.badChar = cp;
                r.bytes.clear();
                return r;
            }
            r.bytes.push_back(b);
        }
        i += n;
    }
    return r;
}

std::string ToPaneText(std::string_view text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Cp1252)
        return cp1252::DecodeUtf8(text);
    return std::string(text);
}

std::string StoredTextToUtf8(std::string_view text)
{
    if (textencoding::IsValidUtf8(text))
        return std::string(text);
    return cp1252::DecodeUtf8(text);
}

size_t CompleteUtf8Prefix(std::string_view bytes)
{
    const size_t n = bytes.size();
    // A lead byte among the last three whose sequence runs past the end.
    for (size_t back = 1; back <= 3 && back <= n; ++back) {
        unsigned char b = static_cast<unsigned char>(bytes[n - back]);
        if ((b & 0xC0) == 0x80)
            continue; // a continuation byte: look further back
        size_t want = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return want > back ? n - back : n;
    }
    return n;
}

} // namespace transcode
