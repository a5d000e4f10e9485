#include "workspace/FileTextSearch.h"
#include "workspace/FindInFilesOptions.h"

#include "platform/UserStore.h"
#include "settings/RegistryKey.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class FindInFilesOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { platform::CUserStore::Instance().SetFile(m_dir.File("registry")); }
    void TearDown() override { platform::CUserStore::Instance().SetFile(m_dir.File("unused")); }
    kibtest::CTempDir m_dir;
};

const std::string kKey = std::string(kKibRegistryKey) + "\\FindInFiles";

} // namespace

TEST_F(FindInFilesOptionsTest, DefaultsWithoutTheKeyAndNoWriteIntoAMissingKey)
{
    FindInFilesOptions o = LoadFindInFilesOptions();
    EXPECT_EQ(o.searchPane, 0);
    EXPECT_FALSE(o.matchCase || o.wholeWords || o.recursive);
    EXPECT_EQ(o.EngineFlags(), 0u);
    EXPECT_FALSE(SaveFindInFilesOptions(o));
    EXPECT_FALSE(CRegistryKey(HKEY_CURRENT_USER, kKey, false).IsOpen());
}

TEST_F(FindInFilesOptionsTest, RoundTripAndIgnoredValues)
{
    { CRegistryKey create(HKEY_CURRENT_USER, "\\" + kKey + "\\", true); } // as the history save does
    FindInFilesOptions o;
    o.searchPane = 1;
    o.matchCase = true;
    o.recursive = true;
    ASSERT_TRUE(SaveFindInFilesOptions(o));
    FindInFilesOptions back = LoadFindInFilesOptions();
    EXPECT_EQ(back.searchPane, 1);
    EXPECT_TRUE(back.matchCase);
    EXPECT_FALSE(back.wholeWords);
    EXPECT_TRUE(back.recursive);
    EXPECT_EQ(back.EngineFlags(), FIND_MATCH_CASE | FIND_RECURSIVE);
    // A pane index out of range gives the first pane; a string value is no
    // flag, so the default stays.
    CRegistryKey key(HKEY_CURRENT_USER, kKey, false);
    ASSERT_TRUE(key.WriteDword("SearchPane", 7));
    ASSERT_TRUE(key.WriteString("Recursive", "1"));
    back = LoadFindInFilesOptions();
    EXPECT_EQ(back.searchPane, 0);
    EXPECT_TRUE(back.matchCase);
    EXPECT_FALSE(back.recursive);
}
