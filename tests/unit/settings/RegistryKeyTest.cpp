#include "settings/Profile.h"
#include "settings/RegistryKey.h"

#include "platform/UserStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// Points the process's store at a fresh file for each test.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { platform::CUserStore::Instance().SetFile(m_dir.File("registry")); }
    void TearDown() override { platform::CUserStore::Instance().SetFile(m_dir.File("unused")); }
    kibtest::CTempDir m_dir;
};

const std::string kKey = std::string(kKibRegistryKey);

} // namespace

TEST_F(RegistryTest, ReadersWithoutCreateSeeAMissingKeyAsEmpty)
{
    CRegistryKey key(HKEY_CURRENT_USER, kKey + "\\EditFind", false, KEY_ALL_ACCESS);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_NE(key.LastStatus(), 0);
    uint32_t v = 77;
    EXPECT_FALSE(key.ReadDword("MatchCase", v));
    EXPECT_EQ(v, 77u);
    EXPECT_EQ(key.ReadString("SearchKey0"), "");
    EXPECT_FALSE(key.WriteDword("MatchCase", 1));
    EXPECT_FALSE(kibtest::Exists(m_dir.File("registry"))) << "reading creates nothing";
}

TEST_F(RegistryTest, PathsAreNormalisedAndCaseInsensitive)
{
    CRegistryKey writer(HKEY_CURRENT_USER, "\\\\" + kKey + "\\FindInFiles\\", true);
    ASSERT_TRUE(writer.IsOpen());
    EXPECT_EQ(writer.KeyPath(), kKey + "\\FindInFiles");
    ASSERT_TRUE(writer.WriteDword("Recursive", 1));
    CRegistryKey reader(HKEY_CURRENT_USER, "Software\\Orvane\\Kib\\findinfiles", false);
    ASSERT_TRUE(reader.IsOpen());
    uint32_t v = 0;
    EXPECT_TRUE(reader.ReadDword("RECURSIVE", v));
    EXPECT_EQ(v, 1u);
    EXPECT_EQ(CRegistryKey::NormalisePath("\\\\\\A\\B\\\\"), "A\\B\\");
    EXPECT_EQ(CRegistryKey::NormalisePath("\\"), "");
}

TEST_F(RegistryTest, StringIsNotAFlagAndDwordIsNotAString)
{
    CRegistryKey key(HKEY_CURRENT_USER, kKey + "\\EditFind", true);
    ASSERT_TRUE(key.WriteString("MatchCase", "1"));
    ASSERT_TRUE(key.WriteDword("Directon", 1));
    uint32_t v = 5;
    EXPECT_FALSE(key.ReadDword("MatchCase", v));
    EXPECT_EQ(v, 5u);
    EXPECT_EQ(key.ReadString("Directon"), "");
    EXPECT_FALSE(key.WriteString("Null", nullptr));
}

TEST_F(RegistryTest, LongAndEmptyStringsAreReadInFull)
{
    CRegistryKey key(HKEY_CURRENT_USER, kKey + "\\Arguments", true);
    std::string longText;
    for (int i = 0; i < 70000; ++i)
        longText += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(key.WriteString("ArgKey0", longText));
    ASSERT_TRUE(key.WriteString("ArgKey1", ""));
    EXPECT_EQ(key.ReadString("ArgKey0"), longText);
    EXPECT_EQ(key.ReadString("ArgKey1"), "");
    EXPECT_EQ(key.LastStatus(), 0);
}

TEST_F(RegistryTest, OpenKeyClosesThePreviousKey)
{
    CRegistryKey key(HKEY_CURRENT_USER, kKey + "\\A", true);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_FALSE(key.OpenKey(HKEY_CURRENT_USER, kKey + "\\Missing", false));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.CloseKey());
    ASSERT_TRUE(key.OpenKey(HKEY_CURRENT_USER, kKey + "\\A", false));
    EXPECT_TRUE(key.CloseKey());
    EXPECT_FALSE(key.IsOpen());
}

TEST_F(RegistryTest, ProfileSharesTheKeyOfTheDialogs)
{
    EXPECT_EQ(profile::GetProfileInt("Find", "MatchCase", 0), 0);
    EXPECT_EQ(profile::GetProfileString("Find", "FindWhat", "dflt"), "dflt");
    EXPECT_EQ(profile::GetProfileInt("PageSetup", "LeftMargin", 1000), 1000);
    ASSERT_TRUE(profile::WriteProfileInt("Find", "MatchCase", 1));
    ASSERT_TRUE(profile::WriteProfileString("Find", "FindWhat", "println"));
    EXPECT_EQ(profile::GetProfileInt("find", "matchcase", 0), 1);
    EXPECT_EQ(profile::GetProfileString("FIND", "findwhat"), "println");
    // The same values through the dialogs' spelling of the key.
    CRegistryKey key(HKEY_CURRENT_USER, kKey + "\\Find", false);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(key.ReadString("FindWhat"), "println");
    // A string where an integer is expected reads as the default.
    ASSERT_TRUE(profile::WriteProfileString("Settings", "MDITabLocation", "1"));
    EXPECT_EQ(profile::GetProfileInt("Settings", "MDITabLocation", 0), 0);
    ASSERT_TRUE(profile::WriteProfileString("Find", "Empty", ""));
    EXPECT_EQ(profile::GetProfileString("Find", "Empty", "dflt"), "");
}

TEST_F(RegistryTest, ValuesSurviveANewProcessStore)
{
    {
        CRegistryKey key(HKEY_CURRENT_USER, kKey + "\\EditReplace\\SearchKeys", true);
        ASSERT_TRUE(key.WriteString("SearchKey0", "foo"));
        ASSERT_TRUE(key.WriteString("LastEntry", "foo"));
    }
    platform::CUserStore fresh(m_dir.File("registry"));
    EXPECT_EQ(fresh.OpenKey("software\\orvane\\kib\\editreplace"), platform::kStoreSuccess);
}
