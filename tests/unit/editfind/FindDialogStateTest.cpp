#include "editor/FindDialogState.h"
#include "editor/ReplaceSession.h"

#include "platform/UserStore.h"
#include "settings/Profile.h"
#include "settings/RegistryKey.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class FindDialogState : public ::testing::Test {
protected:
    void SetUp() override { platform::CUserStore::Instance().SetFile(m_dir.File("registry")); }
    void TearDown() override { platform::CUserStore::Instance().SetFile(m_dir.File("unused")); }

    static void WriteKey(const char* sub, const char* name, uint32_t value)
    {
        CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + sub, true);
        ASSERT_TRUE(key.WriteDword(name, value));
    }
    static bool HasValue(const char* sub, const char* name)
    {
        CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + sub, false);
        uint32_t v = 0;
        return key.IsOpen() && key.ReadDword(name, v);
    }

    kibtest::CTempDir m_dir;
};

} // namespace

TEST_F(FindDialogState, FindDefaultsFromProfileRememberedSearchAndSelection)
{
    RememberedSearch none;
    FindDialogValues v = FindCommandDefaults(none, nullptr);
    EXPECT_EQ(v.text, "");
    EXPECT_FALSE(v.matchCase || v.wholeWords || v.upwards);

    profile::WriteProfileInt("Find", "MatchCase", 1);
    profile::WriteProfileString("Find", "FindWhat", "profile");
    v = FindCommandDefaults(none, nullptr);
    EXPECT_EQ(v.text, "profile");
    EXPECT_TRUE(v.matchCase);

    RememberedSearch r{true, "remembered", SEARCH_WHOLE_WORD | SEARCH_UP};
    v = FindCommandDefaults(r, nullptr);
    EXPECT_EQ(v.text, "remembered");
    EXPECT_FALSE(v.matchCase);
    EXPECT_TRUE(v.wholeWords);
    EXPECT_TRUE(v.upwards);

    const std::string selected = "foo";
    EXPECT_EQ(FindCommandDefaults(r, &selected).text, "foo");
}

// Earlier versions stored the texts as Windows-1252; they come back as the
// characters they were, and UTF-8 values as themselves.
TEST_F(FindDialogState, StoredTextsOfEarlierVersionsComeBackAsTheirCharacters)
{
    RememberedSearch none;
    profile::WriteProfileString("Find", "FindWhat", "Gr\xFC\xDF" "e");
    EXPECT_EQ(FindCommandDefaults(none, nullptr).text, "Gr\xC3\xBC\xC3\x9F" "e");
    profile::WriteProfileString("Find", "FindWhat", "\xD0\x96");
    EXPECT_EQ(FindCommandDefaults(none, nullptr).text, "\xD0\x96");
    profile::WriteProfileString("Replace", "FindWhat", "\x80");
    profile::WriteProfileString("Replace", "ReplaceWith", "\xA7 1");
    const ReplaceDialogValues v = ReplaceCommandDefaults(false);
    EXPECT_EQ(v.searchText, "\xE2\x82\xAC");
    EXPECT_EQ(v.replaceText, "\xC2\xA7 1");
}

TEST_F(FindDialogState, EditFindOverridesOnlyWhatExists)
{
    FindDialogValues v;
    v.matchCase = true;
    ApplyEditFindKey(v); // no key: nothing changes
    EXPECT_TRUE(v.matchCase);
    EXPECT_FALSE(v.upwards);
    WriteKey("EditFind", "Directon", 0);
    ApplyEditFindKey(v);
    EXPECT_TRUE(v.upwards);
    EXPECT_TRUE(v.matchCase);
    WriteKey("EditFind", "MatchCase", 0);
    WriteKey("EditFind", "Directon", 1);
    ApplyEditFindKey(v);
    EXPECT_FALSE(v.matchCase);
    EXPECT_FALSE(v.upwards);
    // A string value is no flag.
    {
        CRegistryKey key(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\EditFind", true);
        ASSERT_TRUE(key.WriteString("WholeWordsOnly", "1"));
    }
    ApplyEditFindKey(v);
    EXPECT_FALSE(v.wholeWords);
}

TEST_F(FindDialogState, ClosingTheFindDialogRemembersAndWritesTheProfile)
{
    RememberedSearch r;
    FindDialogValues v{"needle", true, false, true};
    StoreFindDialogResult(v, r);
    EXPECT_TRUE(r.present);
    EXPECT_EQ(r.text, "needle");
    EXPECT_EQ(r.flags, SEARCH_MATCH_CASE | SEARCH_UP);
    EXPECT_EQ(profile::GetProfileString("Find", "FindWhat"), "needle");
    EXPECT_EQ(profile::GetProfileInt("Find", "MatchCase", 0), 1);
    EXPECT_EQ(profile::GetProfileInt("Find", "WholeWord", 7), 0);
    EXPECT_FALSE(HasValue("EditFind", "Directon")); // the find dialog writes no registry value
}

TEST_F(FindDialogState, ReplaceValuesAppearOnlyOnceTheKeyExists)
{
    ReplaceDialogValues v = ReplaceCommandDefaults(true);
    EXPECT_EQ(v.scope, REPLACE_SCOPE_SELECTION);
    EXPECT_EQ(ReplaceCommandDefaults(false).scope, REPLACE_SCOPE_FILE);
    v.matchCase = true;
    v.searchText = "a";
    v.replaceText = "b";
    // First closing: no key yet, nothing written (the history save creates it).
    EXPECT_FALSE(SaveEditReplaceKey(v));
    EXPECT_FALSE(HasValue("EditReplace", "Scope"));
    StoreReplaceProfile(v);
    EXPECT_EQ(profile::GetProfileString("Replace", "ReplaceWith"), "b");
    { CRegistryKey history(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\EditReplace\\SearchKeys", true); }
    // Second closing: the values are stored, and a stored scope wins over the
    // one the selection gave.
    EXPECT_TRUE(SaveEditReplaceKey(v));
    ReplaceDialogValues again = ReplaceCommandDefaults(false);
    EXPECT_EQ(again.scope, REPLACE_SCOPE_SELECTION);
    EXPECT_TRUE(again.matchCase);
    EXPECT_EQ(again.searchText, "a");
    EXPECT_EQ(again.replaceText, "b");
}
