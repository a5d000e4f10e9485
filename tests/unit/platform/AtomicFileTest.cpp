#include "platform/AtomicFile.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

using namespace platform;
using kibtest::CTempDir;
using kibtest::ReadFile;
using kibtest::WriteFile;

namespace {

int CountEntries(const std::string& dir)
{
    int n = 0;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
            ++n;
    closedir(d);
    return n;
}

mode_t ModeOf(const std::string& p)
{
    struct stat st;
    stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST(AtomicFile, CreatesAndReplaces)
{
    CTempDir dir;
    std::string f = dir.File("a.txt");
    ASSERT_TRUE(AtomicWriteFile(f, "first"));
    EXPECT_EQ(ReadFile(f), "first");
    ASSERT_TRUE(AtomicWriteFile(f, std::string(1 << 20, 'x') + "end"));
    EXPECT_EQ(ReadFile(f).size(), (1u << 20) + 3);
    ASSERT_TRUE(AtomicWriteFile(f, ""));
    EXPECT_EQ(ReadFile(f), "");
    EXPECT_EQ(CountEntries(dir.Path()), 1) << "no temporary file may stay behind";
}

TEST(AtomicFile, StreamedWritesOfMixedSizesArriveInOrder)
{
    CTempDir dir;
    std::string f = dir.File("s.txt");
    CAtomicFileWriter w("CRE");
    ASSERT_TRUE(w.Open(f));
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        std::string chunk(static_cast<size_t>((i * 7919) % 5000), static_cast<char>('a' + i % 26));
        if (i % 97 == 0)
            chunk.assign(300000, 'Z');
        expected += chunk;
        ASSERT_TRUE(w.Write(chunk));
    }
    ASSERT_TRUE(w.Commit());
    EXPECT_EQ(ReadFile(f), expected);
}

TEST(AtomicFile, KeepsPermissionBits)
{
    CTempDir dir;
    std::string f = dir.File("script.sh");
    WriteFile(f, "old");
    chmod(f.c_str(), 0751);
    ASSERT_TRUE(AtomicWriteFile(f, "new"));
    EXPECT_EQ(ModeOf(f), 0751u);
}

TEST(AtomicFile, NewFileFollowsTheUmask)
{
    CTempDir dir;
    mode_t old = umask(027);
    bool ok = AtomicWriteFile(dir.File("n.txt"), "x");
    umask(old);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ModeOf(dir.File("n.txt")), 0640u);
}

TEST(AtomicFile, SymlinkStaysALink)
{
    CTempDir dir;
    mkdir(dir.File("real").c_str(), 0755);
    std::string real = dir.File("real/target.txt");
    WriteFile(real, "old");
    ASSERT_EQ(symlink("real/target.txt", dir.File("link.txt").c_str()), 0);
    // A chain of two links.
    ASSERT_EQ(symlink(dir.File("link.txt").c_str(), dir.File("link2.txt").c_str()), 0);
    ASSERT_TRUE(AtomicWriteFile(dir.File("link2.txt"), "new"));
    struct stat st;
    ASSERT_EQ(lstat(dir.File("link.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat(dir.File("link2.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_EQ(CountEntries(dir.File("real")), 1);
}

TEST(AtomicFile, DanglingLinkCreatesItsTarget)
{
    CTempDir dir;
    ASSERT_EQ(symlink("missing.txt", dir.File("link").c_str()), 0);
    ASSERT_TRUE(AtomicWriteFile(dir.File("link"), "made"));
    EXPECT_EQ(ReadFile(dir.File("missing.txt")), "made");
}

TEST(AtomicFile, LinkLoopFails)
{
    CTempDir dir;
    ASSERT_EQ(symlink("b", dir.File("a").c_str()), 0);
    ASSERT_EQ(symlink("a", dir.File("b").c_str()), 0);
    int err = 0;
    EXPECT_FALSE(AtomicWriteFile(dir.File("a"), "x", &err));
    EXPECT_EQ(err, ELOOP);
}

TEST(AtomicFile, FullDiskLeavesTheTargetUntouched)
{
    CTempDir dir;
    std::string f = dir.File("data.bin");
    WriteFile(f, "precious");
    int err = 0;
    {
        kibtest::CFileSizeLimit limit(4096);
        EXPECT_FALSE(AtomicWriteFile(f, std::string(100000, 'y'), &err));
    }
    EXPECT_EQ(err, EFBIG);
    EXPECT_EQ(ReadFile(f), "precious");
    EXPECT_EQ(CountEntries(dir.Path()), 1) << "the temporary file is removed";
}

TEST(AtomicFile, AbortAndDestructionLeaveTheTarget)
{
    CTempDir dir;
    std::string f = dir.File("t.txt");
    WriteFile(f, "keep");
    {
        CAtomicFileWriter w;
        ASSERT_TRUE(w.Open(f));
        ASSERT_TRUE(w.Write("overwritten"));
        // No Commit: the destructor aborts.
    }
    EXPECT_EQ(ReadFile(f), "keep");
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

TEST(AtomicFile, RefusesDirectoriesAndMissingFolders)
{
    CTempDir dir;
    int err = 0;
    EXPECT_FALSE(AtomicWriteFile(dir.Path(), "x", &err));
    EXPECT_EQ(err, EISDIR);
    EXPECT_FALSE(AtomicWriteFile(dir.File("no/such/dir/f.txt"), "x", &err));
    EXPECT_EQ(err, ENOENT);
}

TEST(AtomicFile, ReadOnlyTargetOrFolderIsNotReplaced)
{
    CTempDir dir;
    chmod(dir.Path().c_str(), 0777); // the unprivileged child must reach it
    std::string f = dir.File("ro.txt");
    WriteFile(f, "ro");
    chmod(f.c_str(), 0444);
    mkdir(dir.File("locked").c_str(), 0755);
    std::string g = dir.File("locked/g.txt");
    WriteFile(g, "g");
    chmod(g.c_str(), 0666);
    chmod(dir.File("locked").c_str(), 0555);
    EXPECT_UNPRIVILEGED_OK([&] {
        int err = 0;
        if (AtomicWriteFile(f, "changed", &err) || err != EACCES)
            return 1;
        if (AtomicWriteFile(g, "changed", &err))
            return 2;
        return 0;
    });
    EXPECT_EQ(ReadFile(f), "ro");
    EXPECT_EQ(ReadFile(g), "g");
}

// Whether the folder's file system has unnamed temporary files.
bool HasUnnamedFiles(const std::string& dir)
{
    int fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

TEST(AtomicFile, TheTemporaryFileHasNoNameUntilItIsComplete)
{
    CTempDir dir;
    if (!HasUnnamedFiles(dir.Path()))
        GTEST_SKIP() << "this file system has no unnamed temporary files";
    std::string f = dir.File("x.java");
    WriteFile(f, "old");
    CAtomicFileWriter w("CRE");
    ASSERT_TRUE(w.Open(f));
    ASSERT_TRUE(w.Write(std::string(3 << 20, 'n')));
    EXPECT_EQ(CountEntries(dir.Path()), 1) << "only the target: the new bytes have no name";
    ASSERT_TRUE(w.Commit());
    EXPECT_EQ(ReadFile(f).size(), 3u << 20);
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

TEST(AtomicFile, WithoutUnnamedFilesTheTemporaryNameUsesThePrefix)
{
    SetUnnamedTempFilesForTesting(false);
    CTempDir dir;
    CAtomicFileWriter w("CRE");
    ASSERT_TRUE(w.Open(dir.File("x.java")));
    bool seen = false;
    DIR* d = opendir(dir.Path().c_str());
    while (dirent* e = readdir(d))
        if (std::string(e->d_name).rfind("CRE", 0) == 0)
            seen = true;
    closedir(d);
    EXPECT_TRUE(seen);
    w.Abort();
    EXPECT_EQ(CountEntries(dir.Path()), 0);
    ASSERT_TRUE(AtomicWriteFile(dir.File("y.java"), "named"));
    EXPECT_EQ(ReadFile(dir.File("y.java")), "named");
    EXPECT_EQ(CountEntries(dir.Path()), 1);
    SetUnnamedTempFilesForTesting(true);
}

TEST(AtomicFile, WhereUnnamedFilesCannotBeNamedTheBytesAreCopiedToANamedOne)
{
    CTempDir dir;
    if (!HasUnnamedFiles(dir.Path()))
        GTEST_SKIP() << "this file system has no unnamed temporary files";
    std::string f = dir.File("t.java");
    WriteFile(f, "old");
    const std::string bytes = std::string(700000, 'k') + "end";
    // As without /proc, or where linking is not permitted.
    SetSaveFaultHookForTesting([](ESaveStep s) { return s == ESaveStep::Link ? EPERM : 0; });
    bool ok = AtomicWriteFile(f, bytes);
    SetSaveFaultHookForTesting({});
    ASSERT_TRUE(ok);
    EXPECT_EQ(ReadFile(f), bytes);
    EXPECT_EQ(CountEntries(dir.Path()), 1);
    // From then on the writer goes the named way at once.
    CAtomicFileWriter w("CRE");
    ASSERT_TRUE(w.Open(f));
    EXPECT_EQ(CountEntries(dir.Path()), 2);
    w.Abort();
    SetUnnamedTempFilesForTesting(true);
    ASSERT_TRUE(w.Open(f));
    EXPECT_EQ(CountEntries(dir.Path()), 1);
    w.Abort();
}
