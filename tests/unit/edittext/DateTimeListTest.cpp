// "Datum / Uhrzeit": short dates, long dates and times, formatted at the
// moment the list is built.
#include "editor/DateTimeList.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::time_t At(int hour, int minute)
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 2;
    t.tm_mday = 3;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

} // namespace

TEST(DateTimeList, GermanEntriesInTheirOrder)
{
    CDateTimeList list;
    EXPECT_FALSE(list.IsBuilt());
    list.Rebuild(At(9, 30), "de_DE.UTF-8");
    if (list.LocaleName() != "de_DE.UTF-8")
        GTEST_SKIP() << "de_DE.UTF-8 is not generated";
    EXPECT_TRUE(list.IsBuilt());
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"03.03.2026", "Di 03 Mär 2026", "09:30:00"}));
}

TEST(DateTimeList, CEntriesAndARebuildLater)
{
    CDateTimeList list;
    list.Rebuild(At(9, 30), "C");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"03/03/26", "Tue Mar  3 2026", "09:30:00", "09:30:00 AM"}));
    EXPECT_EQ(list.BuiltAt(), At(9, 30));
    // A minute later the time entries differ.
    list.Rebuild(At(9, 31), "C");
    EXPECT_EQ(list.Entries()[2], "09:31:00");
    EXPECT_EQ(list.LocaleName(), "C");
}

TEST(DateTimeList, TheUsersDefaultLocale)
{
    const char* old = std::getenv("LC_ALL");
    std::string saved = old ? old : "";
    setenv("LC_ALL", "C", 1);
    CDateTimeList list;
    list.Rebuild(At(9, 30));
    EXPECT_EQ(list.LocaleName(), "C");
    EXPECT_EQ(list.Entries().front(), "03/03/26");
    if (old)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}
