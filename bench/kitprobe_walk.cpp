// The JDK walk over "/" side by side with a `find` that prunes what the walk
// prunes (other file systems, hidden folders, "tooldocs" folders) on the same
// machine, warm cache: median wall time of each and their ratio. The plain
// `find / -xdev -name javac`, which enters hidden folders too, is printed
// beside it.
//   bench_kitprobe_walk [rounds] [root]
#include "BenchRow.h"
#include "kitprobe/DriveTable.h"
#include "kitprobe/JdkSearch.h"
#include "kitprobe/JdkWalker.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs a command with its output thrown away; returns the wall time.
double TimeCommand(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    auto end = Clock::now();
    posix_spawn_file_actions_destroy(&fa);
    return Seconds(end - start);
}

struct WalkResult {
    double seconds;
    uint64_t folders;
    size_t compilers;
};

WalkResult TimeWalk(const std::string& root, const std::vector<std::string>& mountPoints)
{
    auto start = Clock::now();
    CJdkWalker walker;
    walker.SetMountPoints(mountPoints);
    walker.SearchRoot(root);
    auto end = Clock::now();
    return {Seconds(end - start), walker.FoldersSearched(),
            walker.Finds().List(FIND_COMPILER).size()};
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string root = argc > 2 ? argv[2] : "/";

    CDriveTable table;
    table.LoadSystem();
    const std::vector<std::string> mountPoints = table.MountPoints();
    const std::vector<std::string> find = {"find", root, "-xdev", "-name", "javac"};
    const std::vector<std::string> findPruned = {"find", root, "-xdev", "-type", "d", "(", "-name", ".*",
                                                 "-o", "-name", "tooldocs", ")", "-prune", "-o",
                                                 "-name", "javac", "-print"};

    // Warm the cache with one of each.
    WalkResult first = TimeWalk(root, mountPoints);
    TimeCommand(find);

    std::vector<double> walk, plain, pruned;
    for (int i = 0; i < rounds; ++i) {
        walk.push_back(TimeWalk(root, mountPoints).seconds);
        plain.push_back(TimeCommand(find));
        pruned.push_back(TimeCommand(findPruned));
    }
    double w = Median(walk), f = Median(plain), p = Median(pruned);
    std::printf("root %s, %d rounds, warm cache, median wall time\n", root.c_str(), rounds);
    std::printf("  kitprobe walk                                %8.3f s  (%llu folders, %zu javac)\n",
                w, static_cast<unsigned long long>(first.folders), first.compilers);
    std::printf("  find -xdev -name javac (enters hidden folders) %8.3f s\n", f);
    std::printf("  find -xdev, pruning hidden and tooldocs folders %8.3f s\n", p);
    std::printf("  ratio walk / pruned find                     %8.3f  (target <= 1.2)%s\n", w / p,
                w / p > 1.2 ? "  over target" : "");
    std::printf("  ratio walk / plain find                      %8.3f\n", w / f);
    benchrow::Row("Kitprobe walk of / (median)", w * 1e3, "ms", "find pruning the same", p * 1e3,
                  {1.2, 0, false, "<= 1.2x"});
    benchrow::Row("Kitprobe walk of / beside plain find -xdev", w * 1e3, "ms", "find -xdev", f * 1e3,
                  {0, 0, false, "none, compared"});

    // The whole search as Kitprobe runs it: every drive of this machine.
    auto start = Clock::now();
    uint64_t folders = 0;
    CJdkFinds all = CJdkSearch::Run(CJdkSearch::SearchRoots(), {}, &folders);
    std::printf("  all drives (");
    for (const std::string& d : table.Drives())
        std::printf(" %s", d.c_str());
    std::printf(" )  %8.3f s  (%llu folders, %zu javac)\n", Seconds(Clock::now() - start),
                static_cast<unsigned long long>(folders), all.List(FIND_COMPILER).size());
    return 0;
}
