// The JDK walk over "/" side by side with `find / -xdev -name javac` on the
// same machine, warm cache: median wall time of each and their ratio.
//   bench_kitprobe_walk [rounds] [root]
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
    const std::vector<std::string> findNoHidden = {"find", root, "-xdev", "-name", ".*",
                                                   "-prune", "-o", "-name", "javac", "-print"};

    // Warm the cache with one of each.
    WalkResult first = TimeWalk(root, mountPoints);
    TimeCommand(find);

    std::vector<double> walk, plain, pruned;
    for (int i = 0; i < rounds; ++i) {
        walk.push_back(TimeWalk(root, mountPoints).seconds);
        plain.push_back(TimeCommand(find));
        pruned.push_back(TimeCommand(findNoHidden));
    }
    double w = Median(walk), f = Median(plain), p = Median(pruned);
    std::printf("root %s, %d rounds, warm cache, median wall time\n", root.c_str(), rounds);
    std::printf("  kitprobe walk                                %8.3f s  (%llu folders, %zu javac)\n",
                w, static_cast<unsigned long long>(first.folders), first.compilers);
    std::printf("  find -xdev -name javac                       %8.3f s\n", f);
    std::printf("  find -xdev -name '.*' -prune -o -name javac  %8.3f s\n", p);
    std::printf("  ratio walk / find                            %8.3f  (target <= 1.2)\n", w / f);
    std::printf("  ratio walk / find without hidden folders     %8.3f\n", w / p);

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
