#include "platform/LocaleCodeset.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {

std::string LocaleCodeset()
{
    return CodesetOfLocale(std::string());
}

std::string CodesetOfLocale(const std::string& name)
{
    locale_t loc = newlocale(LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        return std::string();
    std::string codeset = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    return codeset;
}

} // namespace platform
