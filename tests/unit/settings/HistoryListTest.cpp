#include "settings/HistoryList.h"

#include "platform/UserStore.h"
#include "settings/RegistryKey.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class HistoryListTest : public ::testing::Test {
protected:
    void SetUp() override { platform::CUserStore::Instance().SetFile(m_dir.File("registry")); }
    void TearDown() override { platform::CUserStore::Instance().SetFile(m_dir.File("unused")); }

    static std::string Key(const std::string& section)
    {
        return std::string(kKibRegistryKey) + "\\" + section;
    }
    static void Write(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values)
    {
        CRegistryKey key(HKEY_CURRENT_USER, Key(section), true);
        for (auto& [name, value] : values)
            key.WriteString(name, value);
    }
    static std::string Read(const std::string& section, const std::string& name)
    {
        CRegistryKey key(HKEY_CURRENT_USER, Key(section), false);
        return key.ReadString(name);
    }
    kibtest::CTempDir m_dir;
};

} // namespace

TEST_F(HistoryListTest, LoadReadsNewestFirstUntilTheFirstGapAndRestoresTheLastText)
{
    Write("Arguments", {{"ArgKey0", "-v"}, {"ArgKey1", "in.txt out.txt"}, {"ArgKey3", "unreached"},
                        {"LastEntry", "IN.TXT OUT.TXT"}});
    CHistoryList h;
    EXPECT_EQ(h.Load("\\Arguments", "ArgKey", true, "LastEntry"), "IN.TXT OUT.TXT");
    EXPECT_EQ(h.Items(), (std::vector<std::string>{"-v", "in.txt out.txt"}));
    EXPECT_EQ(h.Selection(), 1) << "matched without regard to case";
    EXPECT_EQ(h.EditText(), "in.txt out.txt");

    Write("Arguments", {{"LastEntry", "typed but never added"}});
    CHistoryList h2;
    h2.Load("\\Arguments", "ArgKey", true, "LastEntry");
    EXPECT_EQ(h2.Selection(), -1);
    EXPECT_EQ(h2.EditText(), "typed but never added");

    CHistoryList h3;
    EXPECT_EQ(h3.Load("\\Arguments", "ArgKey", false, "LastEntry"), "");
    EXPECT_EQ(h3.EditText(), "") << "the last text is not kept";
    EXPECT_EQ(h3.Items().size(), 2u);
}

TEST_F(HistoryListTest, MissingKeyOrEmptyNamesLeaveAnEmptyList)
{
    CHistoryList h;
    EXPECT_EQ(h.Load("\\Nothing", "X", true), "");
    EXPECT_TRUE(h.Items().empty());
    CHistoryList none;
    none.Load("", "ArgKey", true);
    EXPECT_EQ(none.Section(), "");
    EXPECT_FALSE(none.Save(true)) << "no section: nothing written";
    none.Add("appended");
    none.Add("appended");
    EXPECT_EQ(none.Items(), (std::vector<std::string>{"appended", "appended"}));
}

TEST_F(HistoryListTest, AddPutsTheTrimmedTextOnTopAndDropsItsOlderDuplicate)
{
    CHistoryList h;
    h.Load("\\EditReplace\\ReplaceText", "ReplaceText", true, "LastEntry");
    h.Add("alpha");
    h.Add("Beta");
    h.Add("  gamma  ");
    EXPECT_EQ(h.Items(), (std::vector<std::string>{"gamma", "Beta", "alpha"}));
    h.Add("ALPHA");
    EXPECT_EQ(h.Items(), (std::vector<std::string>{"ALPHA", "gamma", "Beta"}))
        << "case-insensitive duplicate removed, the new spelling kept";
    EXPECT_EQ(h.Selection(), 0);
    EXPECT_EQ(h.EditText(), "ALPHA");
    h.Add("   ");
    EXPECT_EQ(h.Items().size(), 3u) << "an empty value would cut the list short when read back";
    h.Add("\xC3\x84rger"); // Ärger
    h.Add("\xC3\xA4RGER"); // äRGER
    EXPECT_EQ(h.Items()[0], "\xC3\xA4RGER");
    EXPECT_EQ(h.Items()[1], "ALPHA") << "umlauts fold as well";
}

// Texts are UTF-8: each character lower-cased on its own, beyond the code
// page too; lengths in characters never change, so "ß" is not "SS", and a
// byte that is no UTF-8 matches only itself.
TEST(HistoryListCase, CharactersFoldOneByOne)
{
    EXPECT_TRUE(CHistoryList::EqualNoCase("\xC3\x9C" "bergr\xC3\xB6\xC3\x9F" "e", "\xC3\xBC" "BERGR\xC3\x96\xC3\x9F" "E"));
    EXPECT_TRUE(CHistoryList::EqualNoCase("\xD0\x96\xD0\xB0\xD1\x80", "\xD0\xB6\xD0\x90\xD0\xA0")); // Жар / жАР
    EXPECT_TRUE(CHistoryList::EqualNoCase("\xC5\xB8", "\xC3\xBF"));                     // Ÿ / ÿ
    EXPECT_FALSE(CHistoryList::EqualNoCase("\xC3\x9F", "SS"));
    EXPECT_FALSE(CHistoryList::EqualNoCase("\xC3\xA4", "a"));
    EXPECT_FALSE(CHistoryList::EqualNoCase("ab", "abc"));
    EXPECT_FALSE(CHistoryList::EqualNoCase("\xE4", "\xC4")) << "stray bytes do not fold";
    EXPECT_TRUE(CHistoryList::EqualNoCase("x\xE4", "X\xE4"));
    EXPECT_TRUE(CHistoryList::StartsWithNoCase("\xC3\x84RGER mit \xC5\xA0", "\xC3\xA4rger"));
    EXPECT_FALSE(CHistoryList::StartsWithNoCase("\xC3\x9F", "SS"));
    EXPECT_FALSE(CHistoryList::StartsWithNoCase("\xC3\xA4", "\xC3")) << "half a character is no prefix";
}

// What earlier versions stored as Windows-1252 comes back as UTF-8; UTF-8
// values are kept, and what is saved is UTF-8.
TEST_F(HistoryListTest, Cp1252ValuesOfEarlierVersionsAreReadAsTheirCharacters)
{
    Write("EditFind\\SearchText", {{"SearchText0", "Gr\xFC\xDF" "e"},
                                    {"SearchText1", "\xD0\x96" "ar"},
                                    {"LastEntry", "\x80 100"}});
    CHistoryList h;
    EXPECT_EQ(h.Load("\\EditFind\\SearchText", "SearchText", true, "LastEntry"), "\xE2\x82\xAC 100");
    EXPECT_EQ(h.Items(), (std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F" "e", "\xD0\x96" "ar"}));
    h.Add("\xE4\xB8\xAD\xE6\x96\x87");
    ASSERT_TRUE(h.Save(false));
    EXPECT_EQ(Read("EditFind\\SearchText", "SearchText0"), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(Read("EditFind\\SearchText", "SearchText1"), "Gr\xC3\xBC\xC3\x9F" "e");
}

TEST_F(HistoryListTest, CompletionSelectsWhatFollowsInCharacters)
{
    CHistoryList h;
    h.Load("\\EditFind\\SearchText", "SearchText", true, "LastEntry");
    h.Add("Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln");
    h.KeyPressed(false);
    // "grü" typed: three characters, four bytes.
    CHistoryList::Completion c = h.Complete("gr\xC3\xBC", 3, 3);
    EXPECT_EQ(c.item, 0);
    EXPECT_EQ(c.text, "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln");
    EXPECT_EQ(c.selFrom, 3);
    EXPECT_EQ(c.selTo, 14);
}

TEST_F(HistoryListTest, FifteenTextsSaveElevenValuesAndTheLastEntry)
{
    CHistoryList h;
    h.Load("\\Arguments", "ArgKey", true, "LastEntry");
    for (int i = 0; i < 15; ++i)
        h.Add("arg " + std::to_string(i));
    h.SetEditText("  arg 3 ");
    ASSERT_TRUE(h.Save(true));
    EXPECT_EQ(h.Items()[0], "arg 3");
    for (int i = 0; i <= 10; ++i)
        EXPECT_NE(Read("Arguments", "ArgKey" + std::to_string(i)), "") << i;
    EXPECT_EQ(Read("Arguments", "ArgKey11"), "") << "limit + 1 values";
    EXPECT_EQ(Read("Arguments", "ArgKey0"), "arg 3");
    EXPECT_EQ(Read("Arguments", "ArgKey1"), "arg 14");
    EXPECT_EQ(Read("Arguments", "LastEntry"), "arg 3");

    CHistoryList back;
    back.Load("Arguments", "ArgKey", true, "LastEntry");
    EXPECT_EQ(back.Items().size(), 11u);
    EXPECT_EQ(back.Selection(), 0);
}

TEST_F(HistoryListTest, SaveWithoutAddingKeepsTheUntrimmedEditTextAsLastEntry)
{
    CHistoryList h;
    h.Load("\\EditReplace\\SearchKeys", "SearchKey", true, "LastEntry");
    h.Add("one");
    h.SetEditText("  spaced  ");
    ASSERT_TRUE(h.Save(false));
    EXPECT_EQ(Read("EditReplace\\SearchKeys", "SearchKey0"), "one");
    EXPECT_EQ(Read("EditReplace\\SearchKeys", "SearchKey1"), "");
    EXPECT_EQ(Read("EditReplace\\SearchKeys", "LastEntry"), "  spaced  ");
    // White space only is not added, but is what the edit field held.
    h.SetEditText(" \t ");
    ASSERT_TRUE(h.Save(true));
    EXPECT_EQ(h.Items().size(), 1u);
    EXPECT_EQ(Read("EditReplace\\SearchKeys", "LastEntry"), " \t ");
}

TEST_F(HistoryListTest, LastEntryNameFallsBackToThePrefixThenLast)
{
    CHistoryList h;
    h.Load("\\FindInFiles\\", "SearchKey", true);
    EXPECT_EQ(h.LastEntryName(), "SearchKey");
    EXPECT_EQ(h.KeyPath(), std::string(kKibRegistryKey) + "\\FindInFiles");
    h.Add("needle");
    ASSERT_TRUE(h.Save(true));
    EXPECT_EQ(Read("FindInFiles", "SearchKey0"), "needle");
    EXPECT_EQ(Read("FindInFiles", "SearchKey"), "needle");

    CHistoryList f;
    f.Load("\\FindInFiles", "Filter", true, "LastFilterEntry");
    EXPECT_EQ(f.LastEntryName(), "LastFilterEntry");
    CHistoryList fresh;
    EXPECT_EQ(fresh.LastEntryName(), "Last");
}

TEST_F(HistoryListTest, SortedListLoadsInOrderButNewTextStillGoesOnTop)
{
    Write("EditFind\\SearchKeys", {{"SearchKey0", "zeta"}, {"SearchKey1", "Alpha"}, {"SearchKey2", "beta"}});
    CHistoryList h;
    h.Load("\\EditFind\\SearchKeys", "SearchKey", true, "LastEntry", true);
    EXPECT_EQ(h.Items(), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    h.Add("omega");
    EXPECT_EQ(h.Items().front(), "omega");
}

TEST_F(HistoryListTest, CompletionFromTheFirstItemThatBeginsWithTheTypedText)
{
    CHistoryList h;
    h.Load("\\Arguments", "ArgKey", true, "LastEntry");
    h.Add("hello world");
    h.Add("Help me");
    // Items: "Help me", "hello world".
    h.KeyPressed(false);
    CHistoryList::Completion c = h.Complete("hel", 3, 3);
    EXPECT_EQ(c.item, 0);
    EXPECT_EQ(c.text, "Help me");
    EXPECT_EQ(c.selFrom, 3);
    EXPECT_EQ(c.selTo, 7) << "the completed rest is selected";
    EXPECT_EQ(h.EditText(), "Help me");

    c = h.Complete("hello", 5, 5);
    EXPECT_EQ(c.text, "hello world");
    EXPECT_EQ(c.item, 1);

    // Typing in the middle: the caret stays where it was.
    c = h.Complete("he", 1, 1);
    EXPECT_EQ(c.text, "Help me");
    EXPECT_EQ(c.selFrom, 1);
    EXPECT_EQ(c.selTo, 1);

    c = h.Complete("xyz", 3, 3);
    EXPECT_EQ(c.item, -1);
    EXPECT_EQ(c.text, "xyz");
    EXPECT_EQ(h.Selection(), -1);

    c = h.Complete("", 0, 0);
    EXPECT_EQ(c.item, -1) << "an emptied field is not filled again";

    h.KeyPressed(true); // Backspace or Delete
    EXPECT_FALSE(h.CompletesTyping());
    c = h.Complete("hel", 3, 3);
    EXPECT_EQ(c.item, -1);
    EXPECT_EQ(c.text, "hel");
    h.KeyPressed(false);
    EXPECT_EQ(h.Complete("hel", 3, 3).item, 0);
}

TEST_F(HistoryListTest, FindExactSearchesBehindTheStartAndWraps)
{
    CHistoryList h;
    h.Load("\\Arguments", "ArgKey", false);
    h.Add("c");
    h.Add("b");
    h.Add("a"); // a b c
    EXPECT_EQ(h.FindExact("B"), 1);
    EXPECT_EQ(h.FindExact("a", 0), 0) << "wrapped around to the start";
    EXPECT_EQ(h.FindExact("c", 2), 2);
    EXPECT_EQ(h.FindExact("d"), -1);
    EXPECT_EQ(h.FindPrefix(""), 0);
}

TEST_F(HistoryListTest, FixedItemsLeadTheListAndAreCompletedMovedAndSavedLikeTypedOnes)
{
    const std::vector<std::string> fixed = {"*.java,*.jav", "*.xml,*.dtd", "*.*"};
    Write("FindInFiles", {{"Filter0", "*.txt"}, {"Filter1", "*.XML,*.dtd"}, {"Filter2", "*.cpp"},
                          {"LastFilterEntry", "*.*"}});
    CHistoryList h;
    for (const std::string& f : fixed)
        h.Add(f); // before loading: only appended
    h.Load("\\FindInFiles", "Filter", true, "LastFilterEntry");
    // The stored duplicate of a fixed item is not listed again.
    EXPECT_EQ(h.Items(), (std::vector<std::string>{"*.java,*.jav", "*.xml,*.dtd", "*.*", "*.txt", "*.cpp"}));
    EXPECT_EQ(h.Selection(), 2) << "the last entry found among the fixed items";

    h.KeyPressed(false);
    CHistoryList::Completion c = h.Complete("*.x", 3, 3);
    EXPECT_EQ(c.text, "*.xml,*.dtd");
    EXPECT_EQ(c.item, 1);
    EXPECT_EQ(c.selFrom, 3);
    EXPECT_EQ(c.selTo, 11);

    // The used fixed item goes on top; everything is written in list order.
    ASSERT_TRUE(h.Save(true));
    EXPECT_EQ(h.Items(), (std::vector<std::string>{"*.xml,*.dtd", "*.java,*.jav", "*.*", "*.txt", "*.cpp"}));
    for (size_t i = 0; i < h.Items().size(); ++i)
        EXPECT_EQ(Read("FindInFiles", "Filter" + std::to_string(i)), h.Items()[i]) << i;
    EXPECT_EQ(Read("FindInFiles", "LastFilterEntry"), "*.xml,*.dtd");

    // Next time the fixed items lead again, and nothing shows twice.
    CHistoryList again;
    for (const std::string& f : fixed)
        again.Add(f);
    again.Load("\\FindInFiles", "Filter", true, "LastFilterEntry");
    EXPECT_EQ(again.Items(), (std::vector<std::string>{"*.java,*.jav", "*.xml,*.dtd", "*.*", "*.txt", "*.cpp"}));
    EXPECT_EQ(again.Selection(), 1);
}
