// The date and time formats a locale defines (short date, long date, time;
// strftime patterns from the C library's locale data) and dates formatted
// with them, as UTF-8.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace platform {

class CLocaleTime {
public:
    // name "" is the user's default (LC_ALL, LC_TIME, LANG); a locale that
    // is not installed gives the C locale's formats.
    explicit CLocaleTime(const std::string& name = std::string());
    ~CLocaleTime();
    CLocaleTime(const CLocaleTime&) = delete;
    CLocaleTime& operator=(const CLocaleTime&) = delete;

    // The name the C library resolved the locale to ("de_DE.UTF-8", "C").
    const std::string& Name() const { return m_name; }
    bool IsInstalled() const { return m_installed; }

    std::vector<std::string> ShortDateFormats() const;
    // The date part of the locale's date-and-time format (there is no long
    // date of its own in the C library's data).
    std::vector<std::string> LongDateFormats() const;
    // The time format, and the 12-hour one when the locale has another.
    std::vector<std::string> TimeFormats() const;

    // t formatted with format in the locale's language, as UTF-8; empty when
    // the result does not fit 255 bytes.
    std::string Format(const std::string& format, const std::tm& t) const;

    // Drops the words of a date-and-time format that name a time part.
    static std::string DatePart(const std::string& dateTimeFormat);

private:
    void* m_locale = nullptr; // locale_t
    bool m_installed = false;
    std::string m_name;
    std::string m_codeset;
};

} // namespace platform
