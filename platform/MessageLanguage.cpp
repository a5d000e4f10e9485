#include "platform/MessageLanguage.h"

#include "platform/Process.h"

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

bool IsGerman(const char* language)
{
    return language && std::strncmp(language, "de", 2) == 0 &&
           std::strchr("_.@:", language[2]) != nullptr; // also matches the terminating NUL
}

bool IsPlainC(const char* locale)
{
    return std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0;
}

} // namespace

const std::vector<std::string>& GermanLocaleNames()
{
    static const std::vector<std::string> names = {
        "de_DE.UTF-8", "de_DE.utf8", "de_AT.UTF-8", "de_CH.UTF-8", "de_LU.UTF-8", "de_BE.UTF-8",
        "de_LI.UTF-8", "de_IT.UTF-8", "de_DE@euro", "de_DE.ISO-8859-1", "de_DE", "de"};
    return names;
}

std::string UseGermanMessages(const std::vector<std::string>& germanLocales)
{
    const char* before = std::setlocale(LC_MESSAGES, nullptr);
    const std::string previous = before ? before : "C";
    for (const std::string& name : germanLocales) {
        if (const char* set = std::setlocale(LC_MESSAGES, name.c_str())) {
            // LANGUAGE goes before the locale in gettext's choice.
            const char* language = std::getenv("LANGUAGE");
            if (language && *language && !IsGerman(language))
                SetOwnVariable("LANGUAGE", "de");
            return set;
        }
    }
    for (const char* name : {"", "C.UTF-8", "C.utf8"}) {
        const char* set = std::setlocale(LC_MESSAGES, name);
        if (set && !IsPlainC(set)) {
            std::string chosen = set;
            SetOwnVariable("LANGUAGE", "de");
            return chosen;
        }
    }
    std::setlocale(LC_MESSAGES, previous.c_str());
    return {};
}

} // namespace platform
