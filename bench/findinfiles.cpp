// Find in files over the unpacked JDK sources beside GNU grep (-rnF and
// -rniF, C locale) and, when installed, ripgrep with one thread, warm cache,
// each the median of a few runs. Every program's output is consumed (grep
// writing to /dev/null would stop at the first match of each file).
//
//   bench_findinfiles [folder]   (default: unpacks the JDK's src.zip)
#include "workspace/FileTextSearch.h"

#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The JDK 17 sources first, else those of any installed JDK.
std::string FindSourceZip()
{
    if (access("/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip", R_OK) == 0)
        return "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";
    glob_t g;
    std::string found;
    if (glob("/usr/lib/jvm/*/lib/src.zip", 0, nullptr, &g) == 0) {
        for (size_t i = 0; i < g.gl_pathc && found.empty(); ++i)
            if (access(g.gl_pathv[i], R_OK) == 0)
                found = g.gl_pathv[i];
        globfree(&g);
    }
    return found;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct EngineRun {
    double seconds;
    size_t hits;
    size_t bytes;
};

EngineRun RunEngine(const std::string& dir, const std::string& text, uint32_t flags)
{
    const auto t0 = Clock::now();
    CFileTextSearch s;
    s.Setup(text, dir, "*.*,*", flags | FIND_RECURSIVE);
    // The result lines as the pane would receive them.
    std::string pane;
    size_t hits = 0;
    while (s.NextFile()) {
        FileOccurrence o;
        while (s.NextOccurrence(o)) {
            pane += "\r\n";
            pane += s.ResultLine(o);
            ++hits;
        }
    }
    const double secs = std::chrono::duration<double>(Clock::now() - t0).count();
    return {secs, hits, pane.size()};
}

double RunCommand(const std::string& cmd)
{
    const auto t0 = Clock::now();
    if (std::system(cmd.c_str()) < 0)
        return -1;
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

bool HaveRipgrep()
{
    return std::system("command -v rg >/dev/null 2>&1") == 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dir;
    std::string unpacked;
    if (argc > 1) {
        dir = argv[1];
    } else {
        const std::string zip = FindSourceZip();
        if (zip.empty()) {
            std::fprintf(stderr, "no JDK src.zip found; give a folder\n");
            return 1;
        }
        char tmpl[] = "/tmp/kibbench-XXXXXX";
        if (!mkdtemp(tmpl))
            return 1;
        unpacked = tmpl;
        dir = unpacked + "/src";
        const std::string cmd = "unzip -q -o '" + zip + "' -d '" + dir + "' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "unzip failed\n");
            return 1;
        }
        std::printf("unpacked %s\n", zip.c_str());
    }
    const bool rg = HaveRipgrep();
    const int runs = 5;

    struct Case {
        const char* text;
        bool ignoreCase;
    };
    const Case cases[] = {
        {"synchronized", false}, {"synchronized", true}, {"String", false},
        {"String", true},        {"ZqxNotThere", false}, {"ZqxNotThere", true},
    };

    // Warm the cache and the allocator.
    RunEngine(dir, "String", 0);
    RunCommand("LC_ALL=C grep -rnF -e String '" + dir + "' | wc -c >/dev/null");

    std::printf("folder %s, median of %d runs, seconds (ratio = engine / other)\n", dir.c_str(), runs);
    std::printf("%-14s %-3s %9s %9s %9s %7s", "text", "-i", "hits", "engine", "grep", "ratio");
    if (rg)
        std::printf(" %9s %7s", "rg -j1", "ratio");
    std::printf("\n");
    for (const Case& c : cases) {
        const uint32_t flags = c.ignoreCase ? 0 : FIND_MATCH_CASE;
        const std::string opt = c.ignoreCase ? "i" : "";
        std::vector<double> e, g, r;
        size_t hits = 0;
        for (int i = 0; i < runs; ++i) {
            EngineRun er = RunEngine(dir, c.text, flags);
            e.push_back(er.seconds);
            hits = er.hits;
            g.push_back(RunCommand("LC_ALL=C grep -rn" + opt + "F -e '" + c.text + "' '" + dir +
                                   "' | wc -c >/dev/null"));
            if (rg)
                r.push_back(RunCommand("rg -j1 -uuu -n" + opt + "F -e '" + c.text + "' '" + dir +
                                       "' | wc -c >/dev/null"));
        }
        const double em = Median(e), gm = Median(g);
        std::printf("%-14s %-3s %9zu %9.3f %9.3f %7.2f", c.text, c.ignoreCase ? "-i" : "", hits, em, gm, em / gm);
        if (rg) {
            const double rm = Median(r);
            std::printf(" %9.3f %7.2f", rm, em / rm);
        }
        std::printf("\n");
    }
    if (!unpacked.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(unpacked, ec);
    }
    return 0;
}
