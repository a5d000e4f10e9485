#include "platform/LocaleTime.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <sstream>

namespace platform {

namespace {

locale_t Loc(void* p)
{
    return static_cast<locale_t>(p);
}

// Conversions that name a part of the time of day.
bool NamesTime(const std::string& word)
{
    for (size_t i = 0; i + 1 < word.size(); ++i) {
        if (word[i] != '%')
            continue;
        size_t j = i + 1;
        // Flags, width and the E and O modifiers.
        while (j < word.size() && std::strchr("_-0^#", word[j]))
            ++j;
        while (j < word.size() && word[j] >= '0' && word[j] <= '9')
            ++j;
        if (j < word.size() && (word[j] == 'E' || word[j] == 'O'))
            ++j;
        if (j >= word.size())
            break;
        if (std::strchr("HIklMSpPTRrXZzsN", word[j]))
            return true;
        i = j;
    }
    return false;
}

std::string ToUtf8(const std::string& bytes, const std::string& codeset)
{
    if (codeset.empty() || codeset == "UTF-8" || codeset == "utf8")
        return bytes;
    iconv_t cd = iconv_open("UTF-8", codeset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return bytes;
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* o = out.data();
    size_t outLeft = out.size();
    const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1))
        return bytes;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

CLocaleTime::CLocaleTime(const std::string& name)
{
    locale_t l = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
    m_installed = l != static_cast<locale_t>(0);
    if (!m_installed)
        l = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    m_locale = l;
    if (l) {
#ifdef NL_LOCALE_NAME
        m_name = nl_langinfo_l(NL_LOCALE_NAME(LC_TIME), l);
#else
        m_name = m_installed ? name : "C";
#endif
        m_codeset = nl_langinfo_l(CODESET, l);
    }
}

CLocaleTime::~CLocaleTime()
{
    if (m_locale)
        freelocale(Loc(m_locale));
}

std::vector<std::string> CLocaleTime::ShortDateFormats() const
{
    if (!m_locale)
        return {"%m/%d/%y"};
    return {nl_langinfo_l(D_FMT, Loc(m_locale))};
}

std::vector<std::string> CLocaleTime::LongDateFormats() const
{
    if (!m_locale)
        return {};
    std::string date = DatePart(nl_langinfo_l(D_T_FMT, Loc(m_locale)));
    if (date.empty())
        return {};
    return {date};
}

std::vector<std::string> CLocaleTime::TimeFormats() const
{
    if (!m_locale)
        return {"%H:%M:%S"};
    std::vector<std::string> formats{nl_langinfo_l(T_FMT, Loc(m_locale))};
    std::string ampm = nl_langinfo_l(T_FMT_AMPM, Loc(m_locale));
    if (!ampm.empty() && ampm != formats.front())
        formats.push_back(ampm);
    return formats;
}

std::string CLocaleTime::Format(const std::string& format, const std::tm& t) const
{
    if (format.empty() || !m_locale)
        return {};
    char buf[256];
    const size_t n = strftime_l(buf, sizeof buf, format.c_str(), &t, Loc(m_locale));
    return ToUtf8(std::string(buf, n), m_codeset);
}

std::string CLocaleTime::DatePart(const std::string& dateTimeFormat)
{
    std::istringstream words(dateTimeFormat);
    std::string word, out;
    while (words >> word) {
        if (NamesTime(word))
            continue;
        if (!out.empty())
            out += ' ';
        out += word;
    }
    return out;
}

} // namespace platform
