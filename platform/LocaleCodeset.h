// The character set of the user's LC_CTYPE locale, read from the environment
// without touching this process's own locale.
#pragma once

#include <string>

namespace platform {

// nl_langinfo(CODESET) of the locale the environment names (LC_ALL, LC_CTYPE,
// LANG), e.g. "UTF-8", "ISO-8859-1" or "ANSI_X3.4-1968" under C; "" when the
// named locale does not exist.
std::string LocaleCodeset();

// nl_langinfo(CODESET) of a named locale ("" for the user's); "" when no
// such locale exists.
std::string CodesetOfLocale(const std::string& name);

} // namespace platform
