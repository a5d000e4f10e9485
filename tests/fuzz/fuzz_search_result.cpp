// Search results on arbitrary bytes. As a pane line: recognition must not
// fail badly, and what it recognises must survive formatting and recognition
// again. As a file (behind a pattern of 1 to 8 bytes named by the first
// byte): the occurrences read whole and streamed through a small buffer must
// be the same, and each result line must be recognised as its own file, line
// and column.
#include "workspace/OccurrenceScanner.h"
#include "workspace/SearchResultLine.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Hit {
    int64_t offset, line, column;
    std::string text;
    bool operator==(const Hit&) const = default;
};

std::vector<Hit> Drain(COccurrenceScanner& s, std::string_view bytes)
{
    std::vector<Hit> hits;
    if (!s.OpenMemory(bytes))
        __builtin_trap();
    FileOccurrence o;
    while (s.Next(o))
        hits.push_back({o.offset, o.line, o.column, std::string(o.lineText)});
    return hits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    SearchResultLocation r;
    if (ParseSearchResultLine(input, r)) {
        const size_t close = input.find("):", r.file.size());
        const std::string again =
            FormatSearchResultLine(r.file, r.line, r.column, input.substr(close == std::string_view::npos ? 0 : close + 2));
        SearchResultLocation r2;
        if (!ParseSearchResultLine(again, r2) || r2.file != r.file || r2.line != r.line || r2.column != r.column)
            __builtin_trap();
    }

    if (size < 2)
        return 0;
    const size_t k = 1 + data[0] % 8;
    if (size < 1 + k)
        return 0;
    const std::string_view pattern = input.substr(1, k);
    const std::string_view file = input.substr(1 + k);
    const bool matchCase = data[0] & 0x10;
    const bool wholeWord = data[0] & 0x20;

    COccurrenceScanner whole;
    whole.SetPattern(pattern, matchCase, wholeWord);
    COccurrenceScanner streamed(64 + (data[0] >> 6) * 200);
    streamed.SetMaxWholeFile(0);
    streamed.SetPattern(pattern, matchCase, wholeWord);
    const std::vector<Hit> a = Drain(whole, file);
    if (a != Drain(streamed, file))
        __builtin_trap();

    int64_t previousEnd = 0;
    for (const Hit& h : a) {
        if (h.offset < previousEnd || h.line < 1 || h.column < 1 || h.text.size() >= 1000)
            __builtin_trap();
        previousEnd = h.offset + static_cast<int64_t>(k);
        SearchResultLocation loc;
        const std::string line = FormatSearchResultLine("/src/A.java", h.line, h.column, h.text);
        if (!ParseSearchResultLine(line, loc) || loc.file != "/src/A.java" || loc.line != h.line ||
            loc.column != h.column)
            __builtin_trap();
    }
    return 0;
}
