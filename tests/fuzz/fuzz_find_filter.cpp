// Find-in-files filter on arbitrary bytes: the first line is the filter, the
// other lines are file names. Matching must end, pieces must be trimmed and
// non-empty, and ASCII case must not matter on either side.
#include "workspace/FileFilter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string FlipAsciiCase(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t eol = input.find('\n');
    const std::string_view filterText = input.substr(0, eol);
    std::string_view names = eol == std::string_view::npos ? std::string_view() : input.substr(eol + 1);

    CFileFilter filter(filterText);
    CFileFilter flipped(FlipAsciiCase(filterText));
    for (const std::string& piece : filter.Pieces()) {
        if (piece.empty() || piece.front() == ' ' || piece.back() == ' ' || piece.find(',') != std::string::npos)
            __builtin_trap();
    }
    if (filter.Pieces().size() != flipped.Pieces().size())
        __builtin_trap();

    while (!names.empty()) {
        const size_t next = names.find('\n');
        const std::string_view name = names.substr(0, next);
        names = next == std::string_view::npos ? std::string_view() : names.substr(next + 1);
        const bool m = filter.Matches(name);
        if (m != filter.Matches(FlipAsciiCase(name)) || m != flipped.Matches(name))
            __builtin_trap();
    }
    return 0;
}
