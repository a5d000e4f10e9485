#include "editor/DateTimeList.h"

#include "platform/LocaleTime.h"

CDateTimeList& CDateTimeList::Program()
{
    static CDateTimeList list;
    return list;
}

void CDateTimeList::Rebuild(std::time_t now, const std::string& locale)
{
    platform::CLocaleTime formats(locale);
    std::tm local{};
    localtime_r(&now, &local);
    m_entries.clear();
    for (const auto& group : {formats.ShortDateFormats(), formats.LongDateFormats(), formats.TimeFormats()})
        for (const std::string& format : group) {
            std::string text = formats.Format(format, local);
            if (!text.empty())
                m_entries.push_back(std::move(text));
        }
    m_time = now;
    m_locale = formats.Name();
    m_built = true;
}
