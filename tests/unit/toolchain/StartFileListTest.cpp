#include "toolchain/StartFileList.h"

#include <gtest/gtest.h>

using toolchain::CStartFileList;

TEST(StartFileListTest, OpensSortedWithoutRegardToCaseAndInsertsAtTheSortedPlace)
{
    CStartFileList list({"/src/b/Zeta.java", "/src/B/alpha.java", "/src/a/Main.java", "/src/b/zeta.java"});
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"/src/a/Main.java", "/src/B/alpha.java",
                                                      "/src/b/Zeta.java", "/src/b/zeta.java"}));
    EXPECT_EQ(list.Add("/src/AA/X.java"), 1);
    EXPECT_EQ(list.Add("/zzz/Last.java"), 5);
    EXPECT_EQ(list.Add("/"), 0);
    EXPECT_EQ(list.Count(), 7);
}

TEST(StartFileListTest, ChangedEntryKeepsItsPlaceAndBadIndexesChangeNothing)
{
    CStartFileList list({"/a/A.java", "/b/B.java", "/c/C.java"});
    EXPECT_TRUE(list.Replace(0, "/z/Z.java"));
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"/z/Z.java", "/b/B.java", "/c/C.java"}));
    EXPECT_FALSE(list.Replace(3, "/x"));
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"/z/Z.java", "/c/C.java"}));
    // Reopening sorts again.
    EXPECT_EQ(CStartFileList(list.Items()).Items(), (std::vector<std::string>{"/c/C.java", "/z/Z.java"}));
}
