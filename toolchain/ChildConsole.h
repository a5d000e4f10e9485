// The character set compiler and program write their console output in, and
// the source encoding javac is told: what a child's locale makes of its
// output, a UTF-8 console for a child whose locale would give it ASCII only,
// and the "-encoding" a document needs.
#pragma once

#include "text/TextEncoding.h"

#include <functional>
#include <string>
#include <vector>

namespace toolchain {

// The codeset of a locale name (see platform::CodesetOfLocale).
using CodesetLookup = std::function<std::string(const std::string& localeName)>;

// The locale that decides a child's LC_CTYPE: LC_ALL, else LC_CTYPE, else
// LANG (empty values count as unset), else "C".
std::string CharacterLocale(const std::vector<std::string>& environment);

// Whether a codeset name means UTF-8 ("UTF-8", "utf8", any case).
bool IsUtf8Codeset(const std::string& codeset);

struct CChildConsole {
    std::vector<std::string> environment;
    // What the child writes (and JDK 17 reads sources in when not told).
    TextEncoding output = TextEncoding::Utf8;
    bool utf8 = true; // the child's codeset is UTF-8 itself
};

// environment unchanged when its character locale is UTF-8 or of the
// Windows-1252 family; otherwise (ASCII under C or POSIX, a missing locale,
// another single-byte set) only the character type becomes C.UTF-8: through
// LC_CTYPE, or, when LC_ALL overrides it, by spelling LC_ALL out into every
// category so that all but LC_CTYPE stay what they were.
CChildConsole Utf8Console(std::vector<std::string> environment, const CodesetLookup& codesetOf);

// The "-encoding" value javac needs for a document, "" when its default is
// right already: JDK 18 and later read UTF-8, JDK 17 reads the child's
// codeset, so only a UTF-8 document under a UTF-8 console goes without.
std::string SourceEncodingOption(TextEncoding document, const CChildConsole& console);

} // namespace toolchain
