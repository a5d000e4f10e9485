#include "workspace/FileWatcher.h"

#include "platform/ContentHash.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <utime.h>
#include <vector>

using kibtest::CTempDir;
using kibtest::WriteFile;

namespace {

// Collects reports from the worker thread.
class ReportLog {
public:
    void Attach(CFileWatcher& watcher)
    {
        watcher.SetReportHandler([this](unsigned record) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_reports.push_back(record);
            m_cv.notify_all();
        });
    }
    // Waits until count reports came, or the time is up.
    std::vector<unsigned> WaitFor(size_t count, int ms = 3000)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_reports.size() >= count; });
        return m_reports;
    }
    // Reports after a quiet time long enough for the worker to have looked.
    std::vector<unsigned> Settled() { return WaitFor(~size_t(0), 400); }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_reports.clear();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_cv;
    std::vector<unsigned> m_reports;
};

int CountInotifyDescriptors()
{
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    while (dirent* e = readdir(dir)) {
        char target[256];
        std::string link = std::string("/proc/self/fd/") + e->d_name;
        ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0) {
            target[n] = 0;
            if (std::string(target).find("inotify") != std::string::npos)
                ++count;
        }
    }
    closedir(dir);
    return count;
}

int CountThreads()
{
    int count = 0;
    DIR* dir = opendir("/proc/self/task");
    if (!dir)
        return -1;
    while (dirent* e = readdir(dir))
        if (e->d_name[0] != '.')
            ++count;
    closedir(dir);
    return count;
}

class FileWatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_log.Attach(m_watcher);
        m_watcher.SetCoalescing(20, 100);
    }
    CTempDir m_dir;
    CFileWatcher m_watcher;
    ReportLog m_log;
};

TEST_F(FileWatcherTest, WritesAppendsAndRenamesOverAreEachReportedOnce)
{
    std::string path = m_dir.File("A.java");
    WriteFile(path, "class A {}\n");
    unsigned record = m_watcher.AddFileWatch(path);
    ASSERT_NE(record, 0u);
    EXPECT_TRUE(m_watcher.IsRunning());

    WriteFile(path, "class A { int x; }\n");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{record});
    EXPECT_EQ(m_log.Settled().size(), 1u) << "one write, one report";
    m_log.Clear();

    FILE* f = fopen(path.c_str(), "a");
    ASSERT_TRUE(f);
    fputs("// more\n", f);
    fclose(f);
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{record});
    EXPECT_EQ(m_log.Settled().size(), 1u);
    m_log.Clear();

    // The way editors and atomic writers save: a new file renamed over.
    std::string temp = m_dir.File(".A.java.swp");
    WriteFile(temp, "class A { /* replaced */ }\n");
    ASSERT_EQ(rename(temp.c_str(), path.c_str()), 0);
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{record});
    EXPECT_EQ(m_log.Settled().size(), 1u);
    m_log.Clear();

    // An editor keeping a backup: the original renamed away, a new file
    // written under its name.
    ASSERT_EQ(rename(path.c_str(), (path + "~").c_str()), 0);
    WriteFile(path, "class A { /* vim */ }\n");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{record});
    EXPECT_EQ(m_log.Settled().size(), 1u);
}

TEST_F(FileWatcherTest, FolderDeletedAndMadeAgainIsWatchedAgain)
{
    for (bool moved : {false, true}) {
        SCOPED_TRACE(moved ? "moved away" : "deleted");
        std::string sub = m_dir.File(moved ? "moved" : "deleted");
        ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
        std::string path = sub + "/E.java";
        WriteFile(path, "e");
        unsigned record = m_watcher.AddFileWatch(path);
        ASSERT_NE(record, 0u);
        if (moved) {
            ASSERT_EQ(rename(sub.c_str(), (sub + ".old").c_str()), 0);
        } else {
            ASSERT_EQ(unlink(path.c_str()), 0);
            ASSERT_EQ(rmdir(sub.c_str()), 0);
        }
        m_log.Settled();
        EXPECT_TRUE(m_log.Settled().empty()) << "a file that is gone is not reported";
        ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
        WriteFile(path, "e, made again");
        EXPECT_EQ(m_log.WaitFor(1, 5000), std::vector<unsigned>{record});
        m_log.Clear();
        // Watched as before from now on.
        WriteFile(path, "e, changed");
        EXPECT_EQ(m_log.WaitFor(1, 5000), std::vector<unsigned>{record});
        EXPECT_EQ(m_log.Settled().size(), 1u);
        m_log.Clear();
        if (moved) {
            // The folder under its new name is no longer this record's.
            WriteFile(sub + ".old/E.java", "elsewhere");
            EXPECT_TRUE(m_log.Settled().empty());
        }
        m_watcher.RemoveFileWatch(record);
    }
}

TEST_F(FileWatcherTest, TenThousandFilesInFiveHundredFoldersAndTheLimit)
{
    std::vector<std::vector<unsigned>> records(500);
    for (int f = 0; f < 500; ++f) {
        std::string folder = m_dir.File("f" + std::to_string(f));
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        for (int i = 0; i < 20; ++i) {
            std::string path = folder + "/C" + std::to_string(i) + ".java";
            WriteFile(path, "c");
            records[f].push_back(m_watcher.AddFileWatch(path));
            ASSERT_NE(records[f].back(), 0u) << path;
        }
    }
    EXPECT_EQ(m_watcher.RecordCount(), 10000u);
    EXPECT_EQ(m_watcher.WatchedFolders().size(), 500u) << "one watch per folder";
    WriteFile(m_dir.File("f250/C7.java"), "changed");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{records[250][7]});
    EXPECT_EQ(m_log.Settled().size(), 1u);
    m_log.Clear();

    // At the limit a new folder is refused with ENOSPC, a known one is not,
    // and what is watched goes on being watched.
    m_watcher.SetFolderLimit(500);
    std::string beyond = m_dir.File("beyond");
    ASSERT_EQ(mkdir(beyond.c_str(), 0700), 0);
    WriteFile(beyond + "/X.java", "x");
    EXPECT_EQ(m_watcher.AddFileWatch(beyond + "/X.java"), 0u);
    EXPECT_EQ(m_watcher.LastError(), ENOSPC);
    EXPECT_NE(m_watcher.AddFileWatch(m_dir.File("f3/C1.java")), 0u);
    WriteFile(m_dir.File("f499/C19.java"), "changed");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{records[499][19]});
    // Closing every file of one folder makes room.
    for (unsigned r : records[0])
        m_watcher.RemoveFileWatch(r);
    EXPECT_NE(m_watcher.AddFileWatch(beyond + "/X.java"), 0u);
}

TEST_F(FileWatcherTest, SameContentTouchOtherFilesAndDeletionAreNotReported)
{
    std::string path = m_dir.File("B.java");
    WriteFile(path, "class B {}\n");
    unsigned record = m_watcher.AddFileWatch(path);
    ASSERT_NE(record, 0u);

    ASSERT_EQ(utime(path.c_str(), nullptr), 0);  // touch
    WriteFile(path, "class B {}\n");             // the same bytes again
    WriteFile(m_dir.File("Other.java"), "class Other {}\n");
    EXPECT_TRUE(m_log.Settled().empty());

    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_TRUE(m_log.Settled().empty());
    // Made again with other content it is a change again.
    WriteFile(path, "class B { new }\n");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{record});
}

TEST_F(FileWatcherTest, TwoFilesShareTheirFolderAndRemovingOneKeepsIt)
{
    std::string a = m_dir.File("A.java"), b = m_dir.File("B.java");
    WriteFile(a, "a");
    WriteFile(b, "b");
    unsigned ra = m_watcher.AddFileWatch(a);
    unsigned rb = m_watcher.AddFileWatch(b);
    ASSERT_NE(ra, 0u);
    ASSERT_NE(rb, 0u);
    EXPECT_NE(ra, rb);
    EXPECT_EQ(m_watcher.WatchedFolders().size(), 1u);

    WriteFile(b, "b2");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{rb}) << "only the changed file";
    m_log.Clear();

    m_watcher.RemoveFileWatch(ra);
    EXPECT_EQ(m_watcher.WatchedFolders().size(), 1u);
    EXPECT_TRUE(m_watcher.IsRunning());
    WriteFile(a, "a2");
    WriteFile(b, "b3");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{rb});
    EXPECT_EQ(m_log.Settled(), std::vector<unsigned>{rb}) << "the removed record is not reported";
    m_log.Clear();

    m_watcher.RemoveFileWatch(rb);
    EXPECT_TRUE(m_watcher.WatchedFolders().empty());
    EXPECT_FALSE(m_watcher.IsRunning()) << "the last watch ends the thread";
    WriteFile(b, "b4");
    EXPECT_TRUE(m_log.Settled().empty());
}

TEST_F(FileWatcherTest, OneFolderUnderTwoNamesKeepsItsWatchUntilBothGo)
{
    // The kernel gives both names one watch: dropping it for one name must
    // not blind the other.
    std::string real = m_dir.File("real"), alias = m_dir.File("alias");
    ASSERT_EQ(mkdir(real.c_str(), 0755), 0);
    ASSERT_EQ(symlink(real.c_str(), alias.c_str()), 0);
    WriteFile(real + "/A.java", "a");
    unsigned viaReal = m_watcher.AddFileWatch(real + "/A.java");
    unsigned viaAlias = m_watcher.AddFileWatch(alias + "/A.java");
    ASSERT_NE(viaReal, 0u);
    ASSERT_NE(viaAlias, 0u);
    EXPECT_EQ(m_watcher.WatchedFolders().size(), 2u);
    m_watcher.RemoveFileWatch(viaReal);
    WriteFile(real + "/A.java", "a2");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{viaAlias});
}

TEST_F(FileWatcherTest, BurstOfWritesIsCoalesced)
{
    std::string path = m_dir.File("C.java");
    WriteFile(path, "0");
    unsigned record = m_watcher.AddFileWatch(path);
    ASSERT_NE(record, 0u);
    int fd = open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(write(fd, "x", 1), 1);
    close(fd);
    auto reports = m_log.Settled();
    EXPECT_GE(reports.size(), 1u);
    EXPECT_LE(reports.size(), 3u) << "2000 writes in a burst";
}

TEST_F(FileWatcherTest, RecordsAndRefusals)
{
    EXPECT_EQ(m_watcher.AddFileWatch(m_dir.File("missing.java")), 0u);
    EXPECT_EQ(m_watcher.AddFileWatch(""), 0u);
    EXPECT_FALSE(m_watcher.IsRunning()) << "nothing watched, no thread";

    std::string path = m_dir.File("D.java");
    WriteFile(path, "d");
    unsigned first = m_watcher.AddFileWatch(path);
    unsigned second = m_watcher.AddFileWatch(path);
    EXPECT_GT(second, first) << "numbers count up";
    bool typeFlag = true;
    m_watcher.SetWatchTypeFlag(second, &typeFlag);
    m_watcher.SetReloadThisFile(first, true);
    CFileWatcher::RecordInfo info;
    ASSERT_TRUE(m_watcher.FindRecord(first, info));
    EXPECT_EQ(info.path, path);
    EXPECT_TRUE(info.reloadThisFile);
    EXPECT_EQ(info.reloadAllOfType, nullptr);
    ASSERT_TRUE(m_watcher.FindRecord(second, info));
    EXPECT_FALSE(info.reloadThisFile);
    EXPECT_EQ(info.reloadAllOfType, &typeFlag);
    m_watcher.RemoveFileWatch(first);
    EXPECT_FALSE(m_watcher.FindRecord(first, info));
    m_watcher.RemoveFileWatch(first);  // twice is harmless
    m_watcher.RemoveFileWatch(0);
    EXPECT_TRUE(m_watcher.FindRecord(second, info));

    // A stop forgets everything; numbers are never given again.
    m_watcher.StopFileWatcher();
    EXPECT_FALSE(m_watcher.IsRunning());
    EXPECT_EQ(m_watcher.RecordCount(), 0u);
    EXPECT_GT(m_watcher.AddFileWatch(path), second);
}

TEST_F(FileWatcherTest, FolderRecordReportsAnyEntry)
{
    unsigned record = m_watcher.AddFileWatch(m_dir.Path() + "/");
    ASSERT_NE(record, 0u);
    WriteFile(m_dir.File("new.txt"), "x");
    EXPECT_EQ(m_log.WaitFor(1).front(), record);
}

TEST(FileWatcherCycles, ManyAddRemoveCyclesLeakNoDescriptorOrThread)
{
    CTempDir dir;
    std::string a = dir.File("a.java"), b = dir.File("sub.java");
    WriteFile(a, "a");
    WriteFile(b, "b");
    int fdsBefore = CountInotifyDescriptors();
    int threadsBefore = CountThreads();
    {
        CFileWatcher watcher;
        for (int i = 0; i < 300; ++i) {
            unsigned ra = watcher.AddFileWatch(a);
            unsigned rb = watcher.AddFileWatch(b);
            ASSERT_NE(ra, 0u);
            ASSERT_NE(rb, 0u);
            watcher.RemoveFileWatch(ra);
            watcher.RemoveFileWatch(rb);
            ASSERT_FALSE(watcher.IsRunning());
        }
        watcher.AddFileWatch(a);
        EXPECT_EQ(CountInotifyDescriptors(), fdsBefore + 1) << "one descriptor while watching";
        EXPECT_EQ(CountThreads(), threadsBefore + 1) << "one worker thread";
    }
    EXPECT_EQ(CountInotifyDescriptors(), fdsBefore);
    EXPECT_EQ(CountThreads(), threadsBefore);
}

TEST(FileWatcherCycles, StopReturnsAtOnceWithWatchesActive)
{
    CTempDir dir;
    std::string a = dir.File("a.java");
    WriteFile(a, "a");
    CFileWatcher watcher;
    ASSERT_NE(watcher.AddFileWatch(a), 0u);
    auto start = std::chrono::steady_clock::now();
    watcher.StopFileWatcher();
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(watcher.IsRunning());
    // Not a speed target: a worker that missed the wake-up would hang here.
    EXPECT_LT(took, std::chrono::seconds(5));
}

} // namespace

namespace {

// What a loader knows after reading path: its bytes' state and its fstat.
CFileWatcher::KnownFile KnownNow(const std::string& path)
{
    CFileWatcher::KnownFile known;
    struct stat st;
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(CFileWatcher::ReadState(path, known.content));
    known.stamp = platform::FileStamp::Of(st);
    return known;
}

} // namespace

TEST_F(FileWatcherTest, KnownStateFromTheLoadStillReportsLaterChangesOnly)
{
    std::string path = m_dir.File("K.java");
    WriteFile(path, "class K {}\n");
    CFileWatcher::KnownFile known = KnownNow(path);
    unsigned record = m_watcher.AddFileWatch(path, &known);
    ASSERT_NE(record, 0u);
    EXPECT_TRUE(m_log.Settled().empty()) << "the file is what was read";

    ASSERT_EQ(utime(path.c_str(), nullptr), 0);
    WriteFile(path, "class K {}\n");
    EXPECT_TRUE(m_log.Settled().empty()) << "same bytes, new time stamp";

    WriteFile(path, "class K { changed }\n");
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{record});
    EXPECT_EQ(m_log.Settled().size(), 1u);
}

TEST_F(FileWatcherTest, ChangeBetweenTheLoadAndTheWatchIsReported)
{
    // Same size, other bytes, other time stamp: only the content tells.
    std::string path = m_dir.File("L.java");
    WriteFile(path, "class L { int a; }\n");
    CFileWatcher::KnownFile known = KnownNow(path);
    struct timespec later[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(known.stamp.mtimeNs / 1000000000) + 5, 0}};
    WriteFile(path, "class L { int b; }\n");
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    unsigned record = m_watcher.AddFileWatch(path, &known);
    ASSERT_NE(record, 0u);
    EXPECT_EQ(m_log.WaitFor(1), std::vector<unsigned>{record}) << "no notice came after the watch was set";
    EXPECT_EQ(m_log.Settled().size(), 1u);

    // Replaced by another file with the same bytes as were read, and
    // touched back: the content is what was read, so nothing to report.
    m_log.Clear();
    std::string other = m_dir.File("M.java");
    WriteFile(other, "class M {}\n");
    CFileWatcher::KnownFile same = KnownNow(other);
    std::string temp = m_dir.File("M.tmp");
    WriteFile(temp, "class M {}\n");
    ASSERT_EQ(rename(temp.c_str(), other.c_str()), 0);
    unsigned second = m_watcher.AddFileWatch(other, &same);
    ASSERT_NE(second, 0u);
    EXPECT_TRUE(m_log.Settled().empty()) << "a new inode with the same bytes is no change";

    // A file that is gone by the time of the watch is not watched.
    std::string gone = m_dir.File("Gone.java");
    WriteFile(gone, "x");
    CFileWatcher::KnownFile goneState = KnownNow(gone);
    ASSERT_EQ(unlink(gone.c_str()), 0);
    EXPECT_EQ(m_watcher.AddFileWatch(gone, &goneState), 0u);
}

TEST_F(FileWatcherTest, ReadStateIsTheContentHashOfTheFile)
{
    std::string path = m_dir.File("H.java");
    std::string bytes(200017, 'h');
    bytes[65535] = 'x';
    WriteFile(path, bytes);
    CFileWatcher::FileState state;
    ASSERT_TRUE(CFileWatcher::ReadState(path, state));
    platform::CContentHash hash;
    hash.Update(bytes.data(), bytes.size());
    EXPECT_EQ(state.size, bytes.size());
    EXPECT_EQ(state.contentHash, hash.Value());
}
