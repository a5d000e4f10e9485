// The entries of "Datum / Uhrzeit": the current date and time in every
// format the user's locale defines (short dates, long dates, times), built
// when the submenu opens. One list for the whole program; entry i is
// command 7060 + i.
#pragma once

#include <ctime>
#include <string>
#include <vector>

class CDateTimeList {
public:
    static CDateTimeList& Program();

    // Formats time now in the locale ("" the user's default). Equal texts
    // stay, each as its own entry.
    void Rebuild(std::time_t now, const std::string& locale = std::string());
    bool IsBuilt() const { return m_built; }
    // UTF-8.
    const std::vector<std::string>& Entries() const { return m_entries; }
    std::time_t BuiltAt() const { return m_time; }
    const std::string& LocaleName() const { return m_locale; }

private:
    std::vector<std::string> m_entries;
    std::time_t m_time = 0;
    std::string m_locale;
    bool m_built = false;
};
