// Loads arbitrary bytes, checks the encoding decided for them, edits whole
// characters of some lines in the document's encoding and saves: the edited
// lines stay valid in it, every other line comes back byte for byte, and the
// saved text is read in the same encoding again.
#include "editor/TextBuffer.h"
#include "text/TextEncoding.h"
#include "text/Utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

struct Rng {
    uint64_t s;
    uint32_t Next(uint32_t n)
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return n ? static_cast<uint32_t>((s >> 33) % n) : 0;
    }
};

// A character boundary of the line, chosen by rng.
int BoundaryIn(const CTextBuffer& b, int line, Rng& rng)
{
    const int len = b.LineLength(line);
    int pos = static_cast<int>(rng.Next(static_cast<uint32_t>(len + 1)));
    if (b.Encoding() == TextEncoding::Utf8)
        pos = utf8::Prev(b.LineChars(line), len, utf8::Next(b.LineChars(line), len, pos));
    return pos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 16))
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    Rng rng{hash};
    const TextEncoding plain = (hash & 1) ? TextEncoding::Utf8 : TextEncoding::Cp1252;

    const bool valid = textencoding::IsValidUtf8(bytes);
    const textencoding::Decision d = textencoding::Detect(bytes, plain);
    if (textencoding::IsAscii(bytes))
        Check(d.encoding == plain && !d.bom, "ASCII takes the given encoding");
    else
        Check(d.encoding == (valid ? TextEncoding::Utf8 : TextEncoding::Cp1252), "decision follows validity");
    Check(d.bom == (valid && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0), "byte order mark");

    CTextBuffer b;
    Check(b.LoadFromMemory(bytes, -1, plain), "load");
    Check(b.Encoding() == d.encoding && b.HasBom() == d.bom, "buffer keeps the decision");
    Check(b.SaveToMemory() == bytes, "untouched text saves byte for byte");
    const int style = b.LineEndStyle();
    std::vector<std::string> before;
    for (int i = 0; i < b.LineCount(); ++i)
        before.emplace_back(b.LineText(i));

    // Edits inside single lines, so that line numbers stay put. A line that
    // holds a CR or LF byte is left alone: removing a character beside it
    // could make a line break of it, which is no matter of the encoding.
    const bool isUtf8 = b.Encoding() == TextEncoding::Utf8;
    static const char* const kUtf8[] = {"ä", "ß", "€", "漢", "\xF0\x9F\x98\x80", "x"};
    static const char* const kCp1252[] = {"\xE4", "\xDF", "\x80", "x"};
    std::set<int> touched;
    const int steps = static_cast<int>(rng.Next(12));
    for (int k = 0; k < steps; ++k) {
        const int line = static_cast<int>(rng.Next(static_cast<uint32_t>(b.LineCount())));
        if (b.LineText(line).find_first_of("\r\n") != std::string_view::npos)
            continue;
        const int pos = BoundaryIn(b, line, rng);
        int el, ec;
        if (rng.Next(2)) {
            const char* text = isUtf8 ? kUtf8[rng.Next(6)] : kCp1252[rng.Next(4)];
            Check(b.InsertTextAt(nullptr, line, pos, text, el, ec, ACT_TYPING), "insert");
        } else {
            const int len = b.LineLength(line);
            const int end = isUtf8 ? utf8::Next(b.LineChars(line), len, pos) : std::min(len, pos + 1);
            Check(b.DeleteRange(nullptr, line, pos, line, end, ACT_DELETE), "delete");
        }
        touched.insert(line);
    }

    const std::string saved = b.SaveToMemory();
    CTextBuffer again;
    Check(again.LoadFromMemory(saved, style, plain), "reload");
    Check(again.LineCount() == static_cast<int>(before.size()), "line count kept");
    for (int i = 0; i < again.LineCount(); ++i) {
        std::string text(again.LineText(i));
        // Edits may have made a Windows-1252 text valid UTF-8: a leading
        // mark is then read as one.
        if (i == 0 && again.HasBom() && !b.HasBom())
            text.insert(0, textencoding::kBom);
        if (!touched.count(i)) {
            Check(text == before[static_cast<size_t>(i)], "untouched line byte-identical");
        } else if (isUtf8 && textencoding::IsValidUtf8(before[static_cast<size_t>(i)])) {
            Check(textencoding::IsValidUtf8(b.LineText(i)), "edited line stays valid UTF-8");
        }
    }
    // Stepping over whole characters keeps a UTF-8 document UTF-8.
    if (isUtf8 && !textencoding::IsAscii(saved))
        Check(again.Encoding() == TextEncoding::Utf8 &&
                  (again.HasBom() == b.HasBom() || saved.compare(0, 3, textencoding::kBom) == 0),
              "still UTF-8");
    return 0;
}
