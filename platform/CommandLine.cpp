#include "platform/CommandLine.h"

namespace platform {

std::vector<std::string> SplitCommandLine(std::string_view line)
{
    return SplitCommandLine(std::vector<CommandPiece>{{line, false}});
}

std::vector<std::string> SplitCommandLine(const std::vector<CommandPiece>& pieces)
{
    // One run over all pieces; verbatim bytes are never special, so they
    // neither end a word nor count as quotes or escapes.
    std::string line;
    std::vector<bool> literal;
    for (const CommandPiece& p : pieces) {
        line.append(p.text);
        literal.insert(literal.end(), p.text.size(), !p.verbatim);
    }
    auto is = [&](size_t at, char c) { return at < line.size() && literal[at] && line[at] == c; };
    std::vector<std::string> words;
    std::string word;
    bool inWord = false; // something (a character or a quote) was seen
    bool quoted = false;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        char c = line[i];
        if (!literal[i]) {
            word.push_back(c);
            inWord = true;
            ++i;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            size_t run = 0;
            while (is(i, '\\')) {
                ++run;
                ++i;
            }
            if (is(i, '"')) {
                word.append(run / 2, '\\');
                if (run % 2 == 1) {
                    word.push_back('"');
                    ++i;
                }
                // With an even run the quote is handled as a quote below.
            } else {
                word.append(run, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && is(i + 1, '"')) {
                word.push_back('"');
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        word.push_back(c);
        ++i;
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::string QuoteArgument(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 2);
    out.push_back('"');
    size_t backslashes = 0;
    for (char c : value) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            // Every backslash in front of a quote is doubled, and the quote escaped.
            out.append(backslashes * 2 + 1, '\\');
            out.push_back('"');
        } else {
            out.append(backslashes, '\\');
            out.push_back(c);
        }
        backslashes = 0;
    }
    // Backslashes in front of the closing quote are doubled as well.
    out.append(backslashes * 2, '\\');
    out.push_back('"');
    return out;
}

std::string JoinCommandLine(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& w : words) {
        if (!out.empty())
            out.push_back(' ');
        out += QuoteArgument(w);
    }
    return out;
}

std::string ShellQuote(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 2);
    out.push_back('\'');
    for (char c : value) {
        if (c == '\'')
            out += "'\\''";
        else
            out.push_back(c);
    }
    out.push_back('\'');
    return out;
}

} // namespace platform
