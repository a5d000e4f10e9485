// The locale's date and time formats through the C library's locale data,
// under a German and the C locale.
#include "platform/LocaleTime.h"

#include <gtest/gtest.h>

using platform::CLocaleTime;

namespace {

std::tm Day()
{
    // Tuesday, 3 March 2026, 14:05:09.
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 2;
    t.tm_mday = 3;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    t.tm_wday = 2;
    t.tm_yday = 61;
    return t;
}

} // namespace

TEST(LocaleTime, CLocale)
{
    CLocaleTime c("C");
    ASSERT_TRUE(c.IsInstalled());
    EXPECT_EQ(c.Name(), "C");
    ASSERT_EQ(c.ShortDateFormats().size(), 1u);
    EXPECT_EQ(c.Format(c.ShortDateFormats()[0], Day()), "03/03/26");
    ASSERT_EQ(c.LongDateFormats().size(), 1u);
    EXPECT_EQ(c.Format(c.LongDateFormats()[0], Day()), "Tue Mar  3 2026");
    ASSERT_EQ(c.TimeFormats().size(), 2u);
    EXPECT_EQ(c.Format(c.TimeFormats()[0], Day()), "14:05:09");
    EXPECT_EQ(c.Format(c.TimeFormats()[1], Day()), "02:05:09 PM");
}

TEST(LocaleTime, GermanLocaleInUtf8)
{
    CLocaleTime de("de_DE.UTF-8");
    if (!de.IsInstalled())
        GTEST_SKIP() << "de_DE.UTF-8 is not generated (scripts/setup.sh does it)";
    EXPECT_EQ(de.Name(), "de_DE.UTF-8");
    EXPECT_EQ(de.Format(de.ShortDateFormats().at(0), Day()), "03.03.2026");
    EXPECT_EQ(de.Format(de.LongDateFormats().at(0), Day()), "Di 03 Mär 2026");
    ASSERT_EQ(de.TimeFormats().size(), 1u); // no 12-hour clock
    EXPECT_EQ(de.Format(de.TimeFormats()[0], Day()), "14:05:09");
}

TEST(LocaleTime, UnknownLocaleGivesTheCFormats)
{
    CLocaleTime none("xx_NOWHERE.UTF-8");
    EXPECT_FALSE(none.IsInstalled());
    EXPECT_EQ(none.Format(none.ShortDateFormats().at(0), Day()), "03/03/26");
}

TEST(LocaleTime, DatePartDropsTheTimeWords)
{
    EXPECT_EQ(CLocaleTime::DatePart("%a %d %b %Y %T %Z"), "%a %d %b %Y");
    EXPECT_EQ(CLocaleTime::DatePart("%a %b %e %H:%M:%S %Y"), "%a %b %e %Y");
    EXPECT_EQ(CLocaleTime::DatePart("%A, %-d. %B %Y %-H.%M Uhr"), "%A, %-d. %B %Y Uhr");
    EXPECT_EQ(CLocaleTime::DatePart("%Y年%m月%d日 %H時%M分%S秒"), "%Y年%m月%d日");
    EXPECT_EQ(CLocaleTime::DatePart("%r"), "");
    EXPECT_EQ(CLocaleTime::DatePart("%EY %OH"), "%EY");
}

TEST(LocaleTime, ResultsBeyond255BytesAreEmpty)
{
    CLocaleTime c("C");
    EXPECT_EQ(c.Format(std::string(300, 'x'), Day()), "");
    EXPECT_EQ(c.Format(std::string(255, 'x'), Day()).size(), 255u);
    EXPECT_EQ(c.Format("", Day()), "");
}
