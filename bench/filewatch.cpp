// Time from another program's write of a watched file to the watcher's
// report, beside the time for inotify alone to tell of the same write.
// Prints medians and the 90th percentile over many writes.
#include "BenchRow.h"
#include "platform/FolderNotify.h"
#include "support/TempDir.h"
#include "workspace/FileWatcher.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

// Prints the median and the 90th percentile; returns the median.
double Print(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.2f ms   p90 %7.2f ms   (%zu writes)\n", what, ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.size());
    return ms[ms.size() / 2];
}

} // namespace

int main()
{
    const int kRuns = 60;
    kibtest::CTempDir dir;
    std::string path = dir.File("Bench.java");
    kibtest::WriteFile(path, "start");

    std::vector<double> inotifyOnly;
    {
        platform::CFolderNotify notify;
        notify.AddFolder(dir.Path());
        std::vector<platform::CFolderNotify::Event> events;
        bool woken;
        for (int i = 0; i < kRuns; ++i) {
            auto t0 = Clock::now();
            kibtest::WriteFile(path, "inotify " + std::to_string(i));
            events.clear();
            while (events.empty())
                notify.Wait(1000, events, woken);
            inotifyOnly.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            // Let the rest of this write's notices go by.
            notify.Wait(20, events, woken);
        }
    }

    std::vector<double> toReport;
    {
        CFileWatcher watcher;
        std::mutex lock;
        std::condition_variable cv;
        int reports = 0;
        watcher.SetReportHandler([&](unsigned) {
            std::lock_guard<std::mutex> g(lock);
            ++reports;
            cv.notify_all();
        });
        watcher.AddFileWatch(path);
        for (int i = 0; i < kRuns; ++i) {
            int before;
            {
                std::lock_guard<std::mutex> g(lock);
                before = reports;
            }
            auto t0 = Clock::now();
            kibtest::WriteFile(path, "watcher " + std::to_string(i));
            std::unique_lock<std::mutex> g(lock);
            cv.wait_for(g, std::chrono::seconds(2), [&] { return reports > before; });
            toReport.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
    }
    const double alone = Print("write -> inotify notice", inotifyOnly);
    const double report = Print("write -> watcher report", toReport);
    benchrow::Row("file watch: another program's write to the report (median)", report, "ms", "inotify alone", alone,
                  {0, 200.0, false, "<= 200 ms"});
    return 0;
}
