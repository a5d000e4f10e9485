#include "update/VersionFile.h"
#include "update/WebUpdateChecker.h"

#include <gtest/gtest.h>

using namespace update;

TEST(VersionToNumber, WeightsPiecesAsDefined)
{
    EXPECT_EQ(VersionToNumber("2.3.25", '.'), 25500) << "pieces are not limited to one digit";
    EXPECT_EQ(VersionToNumber("2.3.26", '.') - VersionToNumber("2.3.25", '.'), 100);
    EXPECT_EQ(VersionToNumber("2.4", '.'), 24000);
    EXPECT_EQ(VersionToNumber("1.2.3.4.5", '.'), 12345);
    EXPECT_EQ(VersionToNumber("1.2.3.4.5.6.7", '.'), 12345) << "only five pieces count";
    EXPECT_EQ(VersionToNumber("2..3", '.'), 23000) << "empty pieces are skipped";
    EXPECT_EQ(VersionToNumber(".2.3.", '.'), 23000);
    EXPECT_EQ(VersionToNumber("2.x.5b", '.'), 20500) << "a piece is read by its leading digits";
    EXPECT_EQ(VersionToNumber("2,3,1", ','), 23100);
    EXPECT_EQ(VersionToNumber("2,3,1", '.'), 20000);
    EXPECT_EQ(VersionToNumber("", '.'), 0);
    EXPECT_EQ(VersionToNumber("v2.3", '.'), 3000);
    // Long digit runs saturate instead of overflowing.
    EXPECT_GT(VersionToNumber(std::string(400, '9'), '.'), 0);
    // Only the first 299 characters count.
    std::string longText = std::string(297, '.') + "1.5";
    EXPECT_EQ(VersionToNumber(longText, '.'), 10000);
}

TEST(VersionToNumber, NewerVersionIsDecidedByTheNumbers)
{
    EXPECT_TRUE(IsNewerVersion("2.3.25", "2.3.26"));
    EXPECT_FALSE(IsNewerVersion("2.3.25", "2.4")) << "25500 is not smaller than 24000";
    EXPECT_FALSE(IsNewerVersion("2.3.25", "2.3.25"));
    EXPECT_FALSE(IsNewerVersion("0.1.0", "")) << "no VERSION: no newer version";
    EXPECT_TRUE(IsNewerVersion("1.0.0.0.0", "1.0.0.0.1"));
    EXPECT_FALSE(IsNewerVersion("1.0.0.0.0", "1.0.0.0.0.9")) << "the sixth piece weighs nothing";
    EXPECT_EQ(CWebUpdateChecker::VersionToNumber("2.3.25", '.'), 25500);
}

TEST(VersionFile, ProfileRulesForSectionKeysAndValues)
{
    const char* text =
        "VERSION=9.9.9\r\n"          // before any section
        "[Other]\r\nVERSION=8.8\r\n"
        "[ versionInfo ]\r\n"
        "; VERSION=7.7 a comment\r\n"
        "size =  1,2 MB \r\n"
        "Version = 2.3.26\r\n"
        "\tDATE\t=\t\"2026-12-01\"\r\n"
        "INFO='https://example.org/kib?a=b'\r\n"
        "title=Kib = IDE\r\n"
        "VERSION=1.0\r\n"            // the first one counts
        "DETAILS=\"half\r\n"
        "[OTHER]\r\nDOWNLOAD=no\r\n";
    CVersionInfo v = ParseVersionFile(text);
    EXPECT_EQ(v.version, "2.3.26");
    EXPECT_EQ(v.size, "1,2 MB");
    EXPECT_EQ(v.date, "2026-12-01") << "matching quotes go";
    EXPECT_EQ(v.info, "https://example.org/kib?a=b");
    EXPECT_EQ(v.title, "Kib = IDE") << "the value starts after the first =";
    EXPECT_EQ(v.details, "\"half") << "a lone quote stays";
    EXPECT_EQ(v.download, "") << "a key of another section";
    EXPECT_EQ(ParseVersionFile("[VERSIONINFO]\nversion=3\nVERSION=4").version, "3") << "LF only, lower case";
    EXPECT_EQ(ParseVersionFile(""), CVersionInfo{});
    EXPECT_EQ(ParseVersionFile("[VERSIONINFO\nVERSION=5").version, "5") << "an unclosed section name";
}

TEST(VersionFile, ValuesAreCutToTheirRoom)
{
    std::string text = "[VERSIONINFO]\nDATE=" + std::string(30, 'd') + "\nSIZE=" + std::string(150, 's') +
                       "\nVERSION=" + std::string(400, '1') + "\nINFO=http://" + std::string(3000, 'i') +
                       "\nTITLE=" + std::string(250, 't') + "\nDETAILS=" + std::string(1200, 'x') +
                       "\nDOWNLOAD=" + std::string(2100, 'w') + "\n";
    CVersionInfo v = ParseVersionFile(text);
    EXPECT_EQ(v.date.size(), 19u);
    EXPECT_EQ(v.size.size(), 99u);
    EXPECT_EQ(v.version.size(), 299u);
    EXPECT_EQ(v.info.size(), 2083u);
    EXPECT_EQ(v.title.size(), 199u);
    EXPECT_EQ(v.details.size(), 999u);
    EXPECT_EQ(v.download.size(), 2083u);
}

TEST(WebPageAddress, OnlyHttpAndHttpsGoToTheBrowser)
{
    for (const char* ok : {"http://www.example.org/kib", "https://example.org", "HTTPS://Example.org/a?b=c#d"})
        EXPECT_TRUE(IsWebPageAddress(ok)) << ok;
    for (const char* bad : {"file:///etc/passwd", "javascript:alert(1)", "JavaScript://x%0aalert(1)", "http://",
                            "https:///etc/passwd", " http://x", "http://a b", "http://x\n", "ftp://x", "", "mailto:a@b",
                            "-http://x", "data:text/html,hi", "/etc/passwd"})
        EXPECT_FALSE(IsWebPageAddress(bad)) << bad;
}
