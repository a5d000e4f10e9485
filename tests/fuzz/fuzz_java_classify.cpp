// Classifies arbitrary bytes as Java lines in every incoming state and
// compares the optimised classifier with the plain rules: the same runs, the
// same states with and without runs, runs in order and inside the line.
#include "editor/JavaColoring.h"

#include "tests/unit/editor/JavaClassifyReference.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

LineState ClassifyBoth(LineState in, const char* c, int n)
{
    const int room = CJavaColoring::RunCapacityFor(n);
    std::vector<ColorBlock> a(static_cast<size_t>(room)), b(static_cast<size_t>(room));
    int ca = 0, cb = 0;
    const LineState sa = CJavaColoring::ClassifyLine(in, c, n, a.data(), room, ca);
    const LineState sb = reference::ClassifyLine(in, c, n, b.data(), room, cb);
    Check(sa == sb, "state as the plain rules");
    Check(CJavaColoring::ClassifyLine(in, c, n) == sa, "state without runs");
    int none = 0;
    Check(reference::ClassifyLine(in, c, n, nullptr, 0, none) == sa, "plain state without runs");
    Check(ca == cb, "run count as the plain rules");
    Check(ca < room, "room for every run");
    for (int r = 0; r < ca; ++r) {
        Check(a[static_cast<size_t>(r)].start == b[static_cast<size_t>(r)].start, "run start");
        Check(a[static_cast<size_t>(r)].colorClass == b[static_cast<size_t>(r)].colorClass, "run class");
        Check(a[static_cast<size_t>(r)].start >= 0 && a[static_cast<size_t>(r)].start <= n, "run inside the line");
        Check(r == 0 || a[static_cast<size_t>(r - 1)].start <= a[static_cast<size_t>(r)].start, "runs in order");
    }
    // With too little room nothing is written past it.
    if (room > 2) {
        std::vector<ColorBlock> small(3);
        int cs = 0;
        Check(CJavaColoring::ClassifyLine(in, c, n, small.data(), 2, cs) == sa, "state with little room");
        Check(cs <= 2, "runs bounded by the room");
    }
    return sa;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    // The first byte picks the incoming state: any combination of the state
    // bits, sometimes with bits no classifier sets.
    static const LineState kBits[] = {ST_LINECOMMENT, ST_DIRECTIVE, ST_BLOCKCOMMENT, ST_STRING,
                                      ST_CHAR, ST_JAVADOC, 0x200, 0x80000000u};
    LineState in = 0;
    for (int k = 0; k < 8; ++k)
        if (data[0] & (1u << k))
            in |= kBits[k];
    const char* text = reinterpret_cast<const char*>(data + 1);
    const int n = static_cast<int>(size - 1);
    // The whole input as one line, in the chosen state.
    ClassifyBoth(in, text, n);
    // And as a file: lines split at LF, the state carried from line to line.
    LineState s = in;
    int start = 0;
    for (int i = 0; i <= n; ++i) {
        if (i == n || text[i] == '\n') {
            s = ClassifyBoth(s, text + start, i - start);
            start = i + 1;
        }
    }
    return 0;
}
