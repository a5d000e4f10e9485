// Find in files over the unpacked JDK sources beside GNU grep (-rnF and
// -rniF, C locale) and, when installed, ripgrep with one thread, warm cache,
// each the median of a few runs. Every program's output is consumed (grep
// writing to /dev/null would stop at the first match of each file).
//
//   bench_findinfiles [folder]   (default: unpacks the JDK's src.zip)
#include "BenchRow.h"
#include "workspace/FileTextSearch.h"

#include "support/JdkSources.h"

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
    kibtest::CJdkSources sources;
    if (argc > 1) {
        dir = argv[1];
    } else {
        if (!sources.Unpack(false)) {
            std::fprintf(stderr, "no JDK src.zip could be unpacked; give a folder\n");
            return 1;
        }
        dir = sources.Dir();
        std::printf("unpacked %s\n", sources.Zip().c_str());
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
        // Compared character by character: "ss" may be "ß", and a letter
        // beyond ASCII.
        {"class", true},         {"Gr\xC3\xB6\xC3\x9F" "e", true},
    };

    // Warm the cache and the allocator.
    RunEngine(dir, "String", 0);
    RunCommand("LC_ALL=C grep -rnF -e String '" + dir + "' | wc -c >/dev/null");

    std::printf("folder %s, median of %d runs, seconds (ratio = engine / other)\n", dir.c_str(), runs);
    std::printf("%-14s %-3s %9s %9s %9s %7s", "text", "-i", "hits", "engine", "grep", "ratio");
    if (rg)
        std::printf(" %9s %7s", "rg -j1", "ratio");
    else
        std::printf("  (rg missing: install ripgrep)");
    std::printf("\n");
    double engineSum = 0, grepSum = 0, rgSum = 0;
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
        engineSum += em;
        grepSum += gm;
        std::printf("%-14s %-3s %9zu %9.3f %9.3f %7.2f", c.text, c.ignoreCase ? "-i" : "", hits, em, gm, em / gm);
        if (rg) {
            const double rm = Median(r);
            rgSum += rm;
            std::printf(" %9.3f %7.2f", rm, em / rm);
        }
        std::printf("\n");
    }
    benchrow::Row("find in files, 8 searches of the JDK sources (sum of medians)", engineSum * 1e3, "ms",
                  "grep -rnF", grepSum * 1e3, {1.0, 0, false, "<= 1.0x grep"});
    benchrow::Row("find in files beside ripgrep (one thread)", engineSum * 1e3, "ms", "rg -j1",
                  rg ? rgSum * 1e3 : -1, {1.2, 0, false, "<= 1.2x rg"});
    return 0;
}
