// Expanding a folder of 100,000 files in the explorer tree, against `ls -f`
// on the same folder (both with a warm cache): the folder's listing alone,
// and the whole expansion with the 100,000 items in the tree and painted;
// the collapse that drops them again.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/default/bench/bench_ui_explorer [rounds] [files]
#include "BenchRow.h"
#include "WxStart.h"
#include "workspace/ExplorerTreeCtrl.h"
#include "workspace/FolderListing.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Pump()
{
    for (int i = 0; i < 10; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}

// `ls -f folder` with its output thrown away; the wall time of the child.
double TimeLs(const std::string& folder)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string ls = "ls", f = "-f";
    char* argv[] = {ls.data(), f.data(), const_cast<char*>(folder.c_str()), nullptr};
    pid_t pid;
    auto t0 = Clock::now();
    if (posix_spawnp(&pid, "ls", &actions, nullptr, argv, environ) != 0)
        return -1;
    int status;
    waitpid(pid, &status, 0);
    double ms = Ms(Clock::now() - t0);
    posix_spawn_file_actions_destroy(&actions);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 7;
    const int files = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100000;
    char tmpl[] = "/tmp/kibbenchexplXXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string folder = dir + "/many";
    std::filesystem::create_directory(folder);
    for (int i = 0; i < files; ++i) {
        const std::string path = folder + "/Datei" + std::to_string(i) + ".java";
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0)
            close(fd);
    }

    if (!kibbench::StartBenchWx(argc, argv))
        return 2;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Explorer", wxPoint(0, 0), wxSize(400, 900));
    auto* tree = new CExplorerTreeCtrl(frame, 100);
    tree->OnInitialise();
    tree->Options().watchDrives = false; // the figure is the expansion alone
    tree->SetMask("*.java");
    frame->Show();
    Pump();
    tree->SelectPath(folder, false);
    const wxTreeItemId item = tree->PathToItem(folder);
    if (!item.IsOk()) {
        std::fprintf(stderr, "the folder is not in the tree\n");
        return 1;
    }

    std::vector<double> ls, listing, expand, fill, all, turn, collapse;
    CExplorerMask mask;
    mask.SetMask("*.java");
    size_t shown = 0;
    TimeLs(folder); // the cache warmed by all
    for (int r = 0; r < rounds; ++r) {
        ls.push_back(TimeLs(folder));

        CFolderListing::Result result;
        auto t0 = Clock::now();
        CFolderListing::List(folder, [&](std::string_view n) { return mask.Shows(n); }, result);
        listing.push_back(Ms(Clock::now() - t0));

        t0 = Clock::now();
        tree->Collapse(item);
        tree->Update();
        if (r > 0)
            collapse.push_back(Ms(Clock::now() - t0));
        Pump();
        t0 = Clock::now();
        tree->Expand(item);
        tree->Update();
        expand.push_back(Ms(Clock::now() - t0));
        // The rest comes in idle time; the longest turn of the loop is what
        // the user feels meanwhile.
        double longest = 0;
        auto last = Clock::now();
        while (tree->IsFilling()) {
            wxTheApp->ProcessIdle();
            tree->Update();
            auto now = Clock::now();
            longest = std::max(longest, Ms(now - last));
            last = now;
        }
        all.push_back(Ms(Clock::now() - t0));
        turn.push_back(longest);
        shown = tree->GetChildrenCount(item, false);
        Pump();
        // The items made without painting them.
        t0 = Clock::now();
        tree->DisplayPath(item);
        tree->FinishFilling(item);
        fill.push_back(Ms(Clock::now() - t0));
        Pump();
    }
    const double lsMs = Median(ls), listMs = Median(listing), expandMs = Median(expand);
    std::printf("folder of %d files, %zu items in the tree, median of %d rounds\n", files, shown, rounds);
    std::printf("  ls -f (process included)     %8.1f ms\n", lsMs);
    std::printf("  listing (sorted, masked)     %8.1f ms   %.2f x ls -f\n", listMs, listMs / lsMs);
    std::printf("  items made, not painted      %8.1f ms   %.2f x ls -f\n", Median(fill), Median(fill) / lsMs);
    std::printf("  expand until painted         %8.1f ms   %.2f x ls -f   (target <= 3 x)\n", expandMs,
                expandMs / lsMs);
    std::printf("  until all items are painted  %8.1f ms   %.2f x ls -f, longest turn of the loop %.1f ms\n",
                Median(all), Median(all) / lsMs, Median(turn));
    std::printf("  collapse (all items dropped) %8.1f ms   %.2f x ls -f\n", Median(collapse), Median(collapse) / lsMs);
    char figure[96];
    std::snprintf(figure, sizeof figure, "explorer: expand %d files until painted (median)", files);
    benchrow::Row(figure, expandMs, "ms", "ls -f", lsMs, {3.0, 0, false, "<= 3x ls -f"});
    benchrow::Row("explorer: until all items are painted (median)", Median(all), "ms", "ls -f", lsMs,
                  {0, 0, false, "none, compared"});
    benchrow::Row("explorer: longest turn of the loop while filling", Median(turn), "ms", "", 0,
                  {0, 0, false, "none, shown"});

    frame->Destroy();
    Pump();
    wxEntryCleanup();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
