// Command-line splitting: any input splits without fault, the words joined
// again with quoting split back into the same words, and any value quoted as
// one argument comes back unchanged.
#include "platform/CommandLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view in(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words = platform::SplitCommandLine(in);
    if (platform::SplitCommandLine(platform::JoinCommandLine(words)) != words)
        std::abort();
    // One typed piece splits as the plain text does; a verbatim piece stays whole.
    if (platform::SplitCommandLine(std::vector<platform::CommandPiece>{{in, false}}) != words)
        std::abort();
    std::vector<std::string> whole =
        platform::SplitCommandLine(std::vector<platform::CommandPiece>{{"-x ", false}, {in, true}});
    if (whole.size() != (in.empty() ? 1u : 2u) || (!in.empty() && whole[1] != in))
        std::abort();
    std::vector<std::string> one = platform::SplitCommandLine(platform::QuoteArgument(in));
    if (one.size() != 1 || one[0] != in)
        std::abort();
    // Two quoted values joined by a list separator stay one word.
    std::string half(in.substr(0, size / 2));
    std::vector<std::string> joined = platform::SplitCommandLine(
        platform::QuoteArgument(half) + ":" + platform::QuoteArgument(in.substr(size / 2)));
    if (joined.size() != 1 || joined[0] != half + ":" + std::string(in.substr(size / 2)))
        std::abort();
    std::string quoted = platform::ShellQuote(in);
    if (quoted.size() < 2 || quoted.front() != '\'' || quoted.back() != '\'')
        std::abort();
    return 0;
}
