// The text engine against thousands of real Java files (the JDK sources):
// every file loads and saves back byte for byte, and every line classifies
// with the same states with and without colour runs, the same as the plain
// rules, and the same through the line-state cache.
#include "editor/JavaColoring.h"
#include "editor/LineStateCache.h"
#include "editor/TextBuffer.h"

#include "support/JdkSources.h"
#include "support/TempDir.h"
#include "unit/editor/JavaClassifyReference.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class JdkCorpus : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_sources = new kibtest::CJdkSources();
        // In memory when possible: 15000 synced saves on a disk take long.
        if (!s_sources->Unpack(true, true))
            return;
        s_zip = s_sources->Zip();
        s_files = s_sources->JavaFiles();
        std::printf("corpus: %zu .java files from %s in %s\n", s_files.size(), s_zip.c_str(),
                    s_sources->Dir().c_str());
    }
    static void TearDownTestSuite()
    {
        delete s_sources;
        s_sources = nullptr;
        s_files.clear();
    }
    void SetUp() override
    {
        if (s_zip.empty())
            GTEST_SKIP() << "no JDK src.zip could be unpacked";
        ASSERT_GT(s_files.size(), 1000u);
    }

    static inline kibtest::CJdkSources* s_sources = nullptr;
    static inline std::string s_zip;
    static inline std::vector<std::string> s_files;
};

} // namespace

TEST_F(JdkCorpus, EveryFileSavesBackByteForByte)
{
    size_t bytes = 0, lines = 0, failures = 0;
    int styles[3] = {};
    for (const std::string& f : s_files) {
        const std::string original = kibtest::ReadFile(f);
        CTextBuffer b;
        if (!b.LoadFile(f)) {
            ADD_FAILURE() << "cannot load " << f;
            continue;
        }
        size_t text = 0;
        for (int i = 0; i < b.LineCount(); ++i)
            text += static_cast<size_t>(b.LineLength(i));
        const size_t term = b.LineEndStyle() == EOL_LF ? 1 : 2;
        EXPECT_EQ(text + term * static_cast<size_t>(b.LineCount() - 1), original.size()) << f;
        ++styles[b.LineEndStyle()];
        // Saved under a new name, so that a save that wrote nothing cannot pass.
        const std::string copy = f + ".saved";
        if (!b.SaveFile(copy)) {
            ADD_FAILURE() << "cannot save " << copy << ": errno " << b.LastErrorCode();
            continue;
        }
        if (kibtest::ReadFile(copy) != original && ++failures <= 10)
            ADD_FAILURE() << "saved file differs: " << f;
        unlink(copy.c_str());
        // The same lines with the other terminators load back as the same lines
        // (unless a line holds a CR, which the CR LF matcher would join).
        if (original.find('\r') == std::string::npos) {
            for (int style : {EOL_CRLF, EOL_LFCR}) {
                CTextBuffer other;
                ASSERT_TRUE(other.LoadFromMemory(b.SaveToMemory(style)));
                EXPECT_EQ(other.LineEndStyle(), b.LineCount() > 1 ? style : EOL_CRLF) << f;
                EXPECT_EQ(other.LineCount(), b.LineCount()) << f;
                EXPECT_EQ(other.SaveToMemory(EOL_LF), original) << f;
            }
        }
        bytes += original.size();
        lines += static_cast<size_t>(b.LineCount());
    }
    EXPECT_EQ(failures, 0u);
    std::printf("loaded and saved %zu files, %zu lines, %.1f MB (CR LF %d, LF CR %d, LF %d)\n",
                s_files.size(), lines, bytes / 1e6, styles[0], styles[1], styles[2]);
}

TEST_F(JdkCorpus, EveryLineClassifiesConsistently)
{
    std::vector<ColorBlock> fast, plain;
    size_t lines = 0, mismatches = 0;
    double maxRunsPerChar = 0;
    for (const std::string& f : s_files) {
        CTextBuffer b;
        ASSERT_TRUE(b.LoadFile(f)) << f;
        LineState withRuns = 0, stateOnly = 0, ref = 0;
        for (int i = 0; i < b.LineCount(); ++i) {
            const char* c = b.LineChars(i);
            const int n = b.LineLength(i);
            const int room = CJavaColoring::RunCapacityFor(n);
            fast.resize(static_cast<size_t>(room));
            plain.resize(static_cast<size_t>(room));
            int cf = 0, cp = 0;
            const LineState in = withRuns;
            withRuns = CJavaColoring::ClassifyLine(in, c, n, fast.data(), room, cf);
            stateOnly = CJavaColoring::ClassifyLine(stateOnly, c, n);
            ref = reference::ClassifyLine(in, c, n, plain.data(), room, cp);
            bool same = withRuns == stateOnly && withRuns == ref && cf == cp && cf < room;
            for (int r = 0; same && r < cf; ++r) {
                const ColorBlock& x = fast[static_cast<size_t>(r)];
                same = x.start == plain[static_cast<size_t>(r)].start &&
                       x.colorClass == plain[static_cast<size_t>(r)].colorClass && x.start >= 0 &&
                       x.start <= n && (r == 0 || fast[static_cast<size_t>(r - 1)].start <= x.start);
            }
            if (!same && ++mismatches <= 10)
                ADD_FAILURE() << f << ":" << i + 1 << ": [" << std::string(c, static_cast<size_t>(n))
                              << "] in state " << in;
            if (n > 0)
                maxRunsPerChar = std::max(maxRunsPerChar, static_cast<double>(cf) / n);
            ++lines;
        }
        // The cache a view keeps reaches the same final state.
        CLineStateCache cache;
        cache.Reset(b.LineCount());
        EXPECT_EQ(cache.StateAfter(b, b.LineCount() - 1), stateOnly) << f;
    }
    EXPECT_EQ(mismatches, 0u);
    std::printf("classified %zu lines; at most %.2f runs per character\n", lines, maxRunsPerChar);
}
