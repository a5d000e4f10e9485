#include "text/TextEncoding.h"

#include "platform/LocaleCodeset.h"
#include "text/Utf8.h"

#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    // Only bytes that are no valid UTF-8 make Windows-1252.
    return CDetector().Finish(bytes, TextEncoding::Utf8).encoding == TextEncoding::Utf8;
}

void CDetector::Scan(std::string_view bytes, bool final)
{
    const char* p = bytes.data();
    const size_t size = bytes.size();
    // Once a byte is no valid UTF-8 the decision is Windows-1252 whatever
    // follows.
    if (m_invalid) {
        m_done = size;
        return;
    }
    size_t i = m_done;
    while (i < size) {
#if defined(__SSE2__)
        if (size - i >= 16) {
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const int high = _mm_movemask_epi8(b);
            if (!high) {
                i += 16;
                continue;
            }
            // Sixteen bytes of ASCII and two-byte sequences (German text)
            // pass whole: every lead C2..DF is followed by a continuation
            // 80..BF inside the block, and every continuation follows a lead.
            // i is always at the start of a character.
            const int lead = _mm_movemask_epi8(
                _mm_and_si128(_mm_cmpgt_epi8(b, _mm_set1_epi8(static_cast<char>(0xC1))),
                              _mm_cmplt_epi8(b, _mm_set1_epi8(static_cast<char>(0xE0)))));
            const int cont = _mm_movemask_epi8(_mm_cmplt_epi8(b, _mm_set1_epi8(static_cast<char>(0xC0))));
            if ((lead | cont) == high && (lead << 1) == cont) {
                m_nonAscii = true;
                i += 16;
                continue;
            }
            i += static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(high)));
        }
#endif
        if (size - i >= 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            if (!(w & 0x8080808080808080ull)) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (!(c & 0x80)) {
            ++i;
            continue;
        }
        m_nonAscii = true;
        // Two bytes, the Latin letters (umlauts, ß): decided here.
        if (c >= 0xC2 && c <= 0xDF && size - i >= 2 && (static_cast<unsigned char>(p[i + 1]) & 0xC0) == 0x80) {
            i += 2;
            continue;
        }
        // A sequence may go on in bytes not read yet.
        const size_t avail = size - i < 4 ? size - i : 4;
        if (avail < 4 && !final)
            break;
        int n = utf8::SequenceLength(p + i, static_cast<int>(avail), 0);
        if (n == 0) {
            m_invalid = true;
            i = size;
            break;
        }
        i += static_cast<size_t>(n);
    }
    m_done = i;
}

Decision CDetector::Finish(std::string_view bytes, TextEncoding plainEncoding)
{
    Scan(bytes, true);
    Decision d;
    if (bytes.substr(0, kBom.size()) == kBom && !m_invalid) {
        d.encoding = TextEncoding::Utf8;
        d.bom = true;
    } else if (!m_nonAscii) {
        d.encoding = plainEncoding;
    } else {
        d.encoding = m_invalid ? TextEncoding::Cp1252 : TextEncoding::Utf8;
    }
    return d;
}

Decision Detect(std::string_view bytes, TextEncoding plainEncoding)
{
    return CDetector().Finish(bytes, plainEncoding);
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
