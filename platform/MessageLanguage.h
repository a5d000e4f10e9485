// Kib's texts are German in every locale, and so are the toolkit's own ones
// (stock buttons, file chooser, colour, font and print dialogs): this process
// looks its gettext catalogues up in German, while LC_CTYPE, LC_NUMERIC,
// LC_TIME and the rest stay as they are and children get the user's
// environment unchanged.
#pragma once

#include <string>
#include <vector>

namespace platform {

// German locale names, best first.
const std::vector<std::string>& GermanLocaleNames();

// Sets LC_MESSAGES to the first of germanLocales that exists. When none does,
// it takes the user's own message locale or C.UTF-8, under which gettext
// follows LANGUAGE (it ignores LANGUAGE only under plain C), and sets
// LANGUAGE=de. A LANGUAGE of the user's that does not start with German is
// replaced by "de" too. Both changes are this process's own (SetOwnVariable).
// Returns the message locale set, or empty when none could be set (the
// toolkit's texts then stay untranslated).
std::string UseGermanMessages(const std::vector<std::string>& germanLocales = GermanLocaleNames());

} // namespace platform
