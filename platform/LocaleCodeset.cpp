#include "platform/LocaleCodeset.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {

std::string LocaleCodeset()
{
    locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        return std::string();
    std::string codeset = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    return codeset;
}

} // namespace platform
