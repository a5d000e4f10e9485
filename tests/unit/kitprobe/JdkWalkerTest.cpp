// The folder walk over temporary trees: what is found, what is not entered.
#include "kitprobe/DriveTable.h"
#include "kitprobe/JdkSearch.h"
#include "kitprobe/JdkWalker.h"
#include "support/TempDir.h"
#include "unit/kitprobe/KitprobeTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>

using kptest::MakeDirs;
using kptest::MakeFile;
using kptest::MakeLink;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

class JdkWalkerTest : public ::testing::Test {
protected:
    // The tree lies in a hidden folder, so that a walk of the whole machine
    // running at the same time never takes these fake JDKs for real ones.
    void SetUp() override
    {
        m_root = m_tmp.Path() + "/.walk";
        MakeDirs(m_root);
    }

    std::string P(const std::string& rel) const { return m_root + "/" + rel; }

    CJdkFinds Walk(const std::vector<std::string>& mountPoints = {})
    {
        CJdkWalker walker;
        walker.SetMountPoints(mountPoints);
        walker.SearchRoot(m_root);
        return walker.TakeFinds();
    }

    void MakeJdk(const std::string& home, bool appletViewer = true)
    {
        MakeFile(P(home + "/bin/javac"));
        MakeFile(P(home + "/bin/java"));
        MakeFile(P(home + "/bin/javadoc"));
        if (appletViewer)
            MakeFile(P(home + "/bin/appletviewer"));
    }

    kibtest::CTempDir m_tmp;
    std::string m_root;
};

TEST_F(JdkWalkerTest, TwoJdksAreBothFoundAndSortTheAlphabeticallyFirstFirst)
{
    MakeJdk("opt/zulu-8");
    MakeJdk("opt/Adopt-11");
    MakeDirs(P("opt/Adopt-11/docs/tooldocs"));
    CJdkFinds f = Walk();

    EXPECT_THAT(f.List(FIND_COMPILER),
                UnorderedElementsAre(P("opt/zulu-8/bin/javac"), P("opt/Adopt-11/bin/javac")));
    EXPECT_THAT(f.Sorted(FIND_COMPILER),
                ElementsAre(P("opt/Adopt-11/bin/javac"), P("opt/zulu-8/bin/javac")));
    EXPECT_THAT(f.Sorted(FIND_INTERPRETER),
                ElementsAre(P("opt/Adopt-11/bin/java"), P("opt/zulu-8/bin/java")));
    EXPECT_THAT(f.Sorted(FIND_APPLETVIEWER),
                ElementsAre(P("opt/Adopt-11/bin/appletviewer"), P("opt/zulu-8/bin/appletviewer")));
    EXPECT_THAT(f.Sorted(FIND_DOCGENERATOR),
                ElementsAre(P("opt/Adopt-11/bin/javadoc"), P("opt/zulu-8/bin/javadoc")));
    EXPECT_THAT(f.List(FIND_DOCUMENTATION), ElementsAre(P("opt/Adopt-11/docs/index.html")));
}

TEST_F(JdkWalkerTest, ProgramNamesCompareWithoutCaseAndKeepTheirSpelling)
{
    MakeFile(P("JDK/BIN/JAVAC"));
    MakeFile(P("JDK/BIN/Java"));
    MakeFile(P("JDK/BIN/AppletViewer"));
    MakeFile(P("JDK/BIN/javaDoc"));
    MakeFile(P("JDK/BIN/javac2"));
    MakeFile(P("JDK/BIN/javac.sh"));
    CJdkFinds f = Walk();
    EXPECT_THAT(f.List(FIND_COMPILER), ElementsAre(P("JDK/BIN/JAVAC")));
    EXPECT_THAT(f.List(FIND_INTERPRETER), ElementsAre(P("JDK/BIN/Java")));
    EXPECT_THAT(f.List(FIND_APPLETVIEWER), ElementsAre(P("JDK/BIN/AppletViewer")));
    EXPECT_THAT(f.List(FIND_DOCGENERATOR), ElementsAre(P("JDK/BIN/javaDoc")));
}

TEST_F(JdkWalkerTest, TooldocsMustBeSpelledExactlyAndIsNotSearched)
{
    MakeDirs(P("a/docs/tooldocs"));            // no index.html: it plays no part
    MakeFile(P("a/docs/tooldocs/bin/javac"));  // inside tooldocs: not searched
    MakeFile(P("b/docs/ToolDocs/bin/javac"));  // another spelling: a plain folder
    MakeDirs(P("c/docs/TOOLDOCS"));
    MakeFile(P("d/tooldocs"));                  // a file, not a folder
    CJdkFinds f = Walk();
    EXPECT_THAT(f.List(FIND_DOCUMENTATION), ElementsAre(P("a/docs/index.html")));
    EXPECT_THAT(f.List(FIND_COMPILER), ElementsAre(P("b/docs/ToolDocs/bin/javac")));
}

TEST_F(JdkWalkerTest, SymlinkLoopsAndLinkedFoldersAreNotEntered)
{
    MakeJdk("jdk");
    MakeLink("..", P("jdk/bin/up"));      // loop to the parent
    MakeLink(m_root, P("jdk/root"));      // loop to the root
    MakeLink(".", P("self"));
    kibtest::CTempDir outside;
    MakeFile(outside.Path() + "/.x/bin/javac");
    MakeLink(outside.Path() + "/.x", P("linked-jdk"));   // a folder elsewhere
    MakeLink(P("jdk/bin/javac"), P("usr/bin/javac"));    // a link to a program
    MakeLink(P("nowhere/javac"), P("usr/bin/java"));     // a dangling link

    CJdkWalker walker;
    std::vector<std::string> folders;
    walker.SetProgress([&](const std::string& folder) { folders.push_back(folder); });
    walker.SearchRoot(m_root);
    const CJdkFinds& f = walker.Finds();
    EXPECT_THAT(f.List(FIND_COMPILER), ElementsAre(P("jdk/bin/javac")));
    EXPECT_THAT(f.List(FIND_INTERPRETER), ElementsAre(P("jdk/bin/java")));
    EXPECT_THAT(folders, UnorderedElementsAre(m_root + "/", P("jdk/"), P("jdk/bin/"), P("usr/"),
                                              P("usr/bin/")));
}

TEST_F(JdkWalkerTest, HiddenFoldersAreNotEntered)
{
    MakeJdk(".sdkman/candidates/java/17");
    MakeJdk("opt/.cache/jdk");
    MakeJdk("opt/jdk");
    CJdkFinds f = Walk();
    EXPECT_THAT(f.List(FIND_COMPILER), ElementsAre(P("opt/jdk/bin/javac")));
}

TEST_F(JdkWalkerTest, OnlyExecutableRegularFilesCount)
{
    MakeFile(P("var/lib/alternatives/javac"), 0644); // a note, not a program
    MakeDirs(P("share/java/javac"));                  // a folder of that name
    MakeFile(P("share/java/javac/bin/java"));         // … which is searched
    MakeFile(P("owner-only/javac"), 0700);
    CJdkFinds f = Walk();
    EXPECT_THAT(f.List(FIND_COMPILER), ElementsAre(P("owner-only/javac")));
    EXPECT_THAT(f.List(FIND_INTERPRETER), ElementsAre(P("share/java/javac/bin/java")));
}

TEST_F(JdkWalkerTest, ReadOnlyFoldersAreSearched)
{
    // Permission bits are no read-only attribute: /usr is such a folder.
    MakeJdk("usr/lib/jvm/jdk");
    chmod(P("usr/lib/jvm/jdk/bin").c_str(), 0555);
    chmod(P("usr/lib/jvm").c_str(), 0555);
    CJdkFinds f = Walk();
    EXPECT_THAT(f.List(FIND_COMPILER), ElementsAre(P("usr/lib/jvm/jdk/bin/javac")));
}

TEST_F(JdkWalkerTest, UnreadableFolderIsSkippedAndTheWalkGoesOn)
{
    MakeJdk("a-locked/jdk");
    MakeJdk("b-open/jdk");
    MakeFile(P("c-noexec/jdk/bin/javac"));
    chmod(P("a-locked").c_str(), 0);
    chmod(P("c-noexec").c_str(), 0644); // listable, but cannot be entered
    // Root ignores permission bits; the walk then runs as "nobody", for which
    // the whole temporary tree must be reachable.
    chmod(m_tmp.Path().c_str(), 0755);
    kptest::ChildResult r = kptest::RunInChild([&] {
        if (!kptest::BecomeNobody())
            kptest::Skip("cannot drop root rights");
        CJdkFinds f = Walk();
        std::string out;
        for (const std::string& p : f.List(FIND_COMPILER))
            out += p + "\n";
        return out;
    });
    if (r.status == kptest::EChild::Skipped)
        GTEST_SKIP() << r.text;
    ASSERT_EQ(r.status, kptest::EChild::Ok) << r.text;
    EXPECT_EQ(r.text, P("b-open/jdk/bin/javac") + "\n");
}

TEST_F(JdkWalkerTest, MountPointsAreNotEntered)
{
    MakeJdk("jdk");
    MakeJdk("mnt/usb/jdk");
    MakeJdk("mnt/usbstick/jdk");
    CJdkFinds f = Walk({P("mnt/usb") + "/", m_root});
    EXPECT_THAT(f.List(FIND_COMPILER),
                UnorderedElementsAre(P("jdk/bin/javac"), P("mnt/usbstick/jdk/bin/javac")));
}

TEST_F(JdkWalkerTest, RealMountsBoundTheWalkAndAreWalkedOnce)
{
    // In a mount namespace of the child's own: a tmpfs below the tree (another
    // file system), and a bind mount of part of the tree onto another place.
    MakeJdk("jdk");
    MakeDirs(P("ram"));
    MakeDirs(P("bound"));
    kptest::ChildResult r = kptest::RunInChild([&] {
        if (!kptest::EnterPrivateMountNamespace())
            kptest::Skip("no private mount namespace (needs root)");
        if (mount("kptest", P("ram").c_str(), "tmpfs", 0, nullptr) != 0)
            kptest::Skip("cannot mount tmpfs");
        MakeJdk("ram/jdk");
        if (mount(P("jdk").c_str(), P("bound").c_str(), nullptr, MS_BIND, nullptr) != 0)
            kptest::Skip("cannot bind-mount");

        std::string out;
        // Without the table: the device check alone stops at the tmpfs, but
        // a bind mount of the same file system would be walked twice.
        {
            CJdkWalker walker;
            walker.SearchRoot(m_root);
            out += "device check only:" + std::to_string(walker.Finds().List(FIND_COMPILER).size()) + "\n";
        }
        // The whole search with this process's mount table.
        CJdkFinds finds = CJdkSearch::Run({m_root});
        for (const std::string& p : finds.List(FIND_COMPILER))
            out += p + "\n";
        // As drives: the bind mount shows a file system already taken at
        // "/", and the tmpfs is no disk.
        CDriveTable table;
        table.LoadSystem();
        std::vector<std::string> drives = table.Drives();
        for (const char* d : {"ram", "bound"})
            if (std::find(drives.begin(), drives.end(), P(d)) != drives.end())
                out += std::string("drive:") + d + "\n";
        return out;
    });
    if (r.status == kptest::EChild::Skipped)
        GTEST_SKIP() << r.text;
    ASSERT_EQ(r.status, kptest::EChild::Ok) << r.text;
    EXPECT_EQ(r.text, "device check only:2\n" + P("jdk/bin/javac") + "\n");
}

TEST_F(JdkWalkerTest, ProgressNamesEachFolderBeforeItIsSearchedDepthFirst)
{
    MakeDirs(P("a/b/c"));
    MakeDirs(P("d"));
    CJdkWalker walker;
    std::vector<std::string> folders;
    walker.SetProgress([&](const std::string& folder) { folders.push_back(folder); });
    walker.SearchRoot(m_root);
    ASSERT_EQ(folders.size(), 5u);
    EXPECT_EQ(folders[0], m_root + "/");
    auto a = std::find(folders.begin(), folders.end(), P("a/"));
    ASSERT_NE(a, folders.end());
    EXPECT_EQ(*(a + 1), P("a/b/"));
    EXPECT_EQ(*(a + 2), P("a/b/c/"));
    EXPECT_EQ(walker.FoldersSearched(), 5u);
}

TEST_F(JdkWalkerTest, PathsTheSettingsFileCannotHoldAreLeftOut)
{
    MakeFile(P("odd<name>/bin/javac"));
    MakeDirs(P("odd>docs/tooldocs"));
    MakeFile(P("ok dir/bin/javac"));
    CJdkFinds f = Walk();
    EXPECT_THAT(f.List(FIND_COMPILER), ElementsAre(P("ok dir/bin/javac")));
    EXPECT_THAT(f.List(FIND_DOCUMENTATION), IsEmpty());
}

TEST_F(JdkWalkerTest, MissingRootAndRootFileYieldNothing)
{
    MakeFile(P("javac"));
    CJdkWalker walker;
    walker.SearchRoot(P("missing"));
    walker.SearchRoot(P("javac"));
    EXPECT_TRUE(walker.Finds().Empty());
    EXPECT_EQ(walker.FoldersSearched(), 0u);
}

TEST(JdkFindsTest, DisplayOrderIgnoresCaseThenBytes)
{
    CJdkFinds f;
    for (const char* p : {"/opt/b", "/opt/A", "/opt/a", "/opt/ab", "/Opt/c", "/opt/B"})
        f.Add(FIND_COMPILER, p);
    EXPECT_THAT(f.Sorted(FIND_COMPILER),
                ElementsAre("/opt/A", "/opt/a", "/opt/ab", "/opt/B", "/opt/b", "/Opt/c"));
    EXPECT_THAT(f.List(FIND_COMPILER).front(), "/opt/b"); // finding order kept
}

} // namespace
