#include "workspace/DriveWatcher.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sys/stat.h>
#include <thread>

using kibtest::CTempDir;
using kibtest::WriteFile;
using namespace std::chrono_literals;

namespace {

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit = 3000ms)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

} // namespace

TEST(DriveWatcher, ReportsNamesInWatchedFoldersOnly)
{
    CTempDir dir;
    ASSERT_EQ(mkdir(dir.File("shown").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(dir.File("hidden").c_str(), 0755), 0);
    WriteFile(dir.File("shown/existing.java"), "a");
    std::atomic<int> reports{0};
    CDriveWatcher watcher(dir.Path(), [&] { ++reports; });
    watcher.SetCoalescing(20, 100);
    ASSERT_TRUE(watcher.Start());
    watcher.SetFolders({dir.Path(), dir.File("shown")});
    ASSERT_TRUE(WaitUntil([&] { return watcher.WatchedCount() == 2; }));

    // Writing a file in place changes no name.
    WriteFile(dir.File("shown/existing.java"), "changed");
    WriteFile(dir.File("hidden/new.java"), "x");
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(reports, 0);

    WriteFile(dir.File("shown/new.java"), "x");
    ASSERT_TRUE(WaitUntil([&] { return reports == 1; }));
    // Unacknowledged, a second change waits; acknowledged, it goes out.
    ASSERT_EQ(unlink(dir.File("shown/new.java").c_str()), 0);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(reports, 1);
    watcher.Acknowledge();
    ASSERT_TRUE(WaitUntil([&] { return reports == 2; }));
    watcher.Acknowledge();

    // A folder no longer shown is no longer watched.
    watcher.SetFolders({dir.Path()});
    ASSERT_TRUE(WaitUntil([&] { return watcher.WatchedCount() == 1; }));
    WriteFile(dir.File("shown/later.java"), "x");
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(reports, 2);
    ASSERT_EQ(rename(dir.File("shown").c_str(), dir.File("moved").c_str()), 0);
    ASSERT_TRUE(WaitUntil([&] { return reports == 3; }));

    auto start = std::chrono::steady_clock::now();
    watcher.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_FALSE(watcher.IsRunning());
}

TEST(DriveWatcher, ABurstOfTenThousandNamesGivesAFewReports)
{
    CTempDir dir;
    std::atomic<int> reports{0};
    CDriveWatcher watcher(dir.Path(), [&] { ++reports; });
    watcher.SetCoalescing(50, 300);
    ASSERT_TRUE(watcher.Start());
    watcher.SetFolders({dir.Path()});
    ASSERT_TRUE(WaitUntil([&] { return watcher.WatchedCount() == 1; }));
    // The consumer acknowledges whatever arrives, as the tree does.
    std::atomic<bool> done{false};
    std::thread consumer([&] {
        int seen = 0;
        while (!done) {
            if (reports > seen) {
                seen = reports;
                std::this_thread::sleep_for(20ms); // the refresh itself
                watcher.Acknowledge();
            }
            std::this_thread::sleep_for(2ms);
        }
    });
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10000; ++i)
        WriteFile(dir.File("f" + std::to_string(i) + ".java"), "");
    auto burst = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(WaitUntil([&] { return reports >= 1; }));
    std::this_thread::sleep_for(400ms);
    done = true;
    consumer.join();
    // At most one report per 300 ms of burst, and one after it ends.
    EXPECT_LE(reports, static_cast<int>(burst.count() / 300) + 2) << "burst took " << burst.count() << " ms";
    EXPECT_GE(reports, 1);
}

TEST(DriveWatcher, MissingFoldersAreSkippedAndStopIsImmediate)
{
    CTempDir dir;
    std::atomic<int> reports{0};
    CDriveWatcher watcher(dir.Path(), [&] { ++reports; });
    ASSERT_TRUE(watcher.Start());
    watcher.SetFolders({dir.File("gone"), dir.Path()});
    ASSERT_TRUE(WaitUntil([&] { return watcher.WatchedCount() == 1; }));
    EXPECT_EQ(watcher.LastError(), ENOENT);
    watcher.Stop();
    watcher.Stop(); // twice is harmless
    EXPECT_EQ(reports, 0);
}
