// Command lines as one string: splitting into argv with the quoting rules of
// Windows programs (so "a";"b" is the one word a;b), quoting a word so that it
// splits back unchanged, and quoting a value for /bin/sh.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Words are separated by blanks and tabs outside double quotes. A double
// quote opens or closes a quoted stretch and is dropped; inside a quoted
// stretch "" is one literal quote. 2n backslashes before a quote give n
// backslashes (the quote then counts as a quote), 2n+1 give n backslashes and
// a literal quote; backslashes elsewhere are literal. "" alone is an empty word.
std::vector<std::string> SplitCommandLine(std::string_view line);

// A command line made of typed text and inserted values. A verbatim piece
// joins the word it stands in as it is: its blanks, quotes and backslashes
// are never read as separators or quoting, and an empty one adds nothing.
struct CommandPiece {
    std::string_view text;
    bool verbatim = false;
};
std::vector<std::string> SplitCommandLine(const std::vector<CommandPiece>& pieces);

// The word in double quotes, with quotes and the backslashes in front of them
// escaped, so that SplitCommandLine gives it back as one word. A value without
// quotes and without a trailing backslash comes out as "value".
std::string QuoteArgument(std::string_view value);

// Quotes the words and joins them with blanks.
std::string JoinCommandLine(const std::vector<std::string>& words);

// The value in single quotes for /bin/sh ('it'\''s'), so that the shell takes
// it literally: no expansion, no word splitting, no command substitution.
std::string ShellQuote(std::string_view value);

} // namespace platform
