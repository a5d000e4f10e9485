// The colouring of the Java sources below tests/data/java (a few JDK files in
// jdk/ and hand-written edge cases) against their .golden files beside them,
// byte for byte, so that any change in colouring shows as a diff. A golden
// file holds a header line, then one line per source line:
//   <line number> <state after it, 4 hex digits> <start>:<class> ...
// After a deliberate change, write them anew and review the diff:
//   KIB_REGENERATE_GOLDEN=1 build/default/tests/unit_editor --gtest_filter='JavaColoringGolden.*'
#include "editor/JavaColoring.h"
#include "editor/TextBuffer.h"
#include "unit/editor/JavaClassifyReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSources = fs::path(KIB_TEST_DATA) / "java";

std::vector<fs::path> Sources()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(kSources))
        if (entry.is_regular_file() && entry.path().extension() == ".java")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The golden text of a source: its lines as the editor's buffer holds them,
// classified in sequence from state 0.
std::string Describe(const CTextBuffer& buffer, const std::string& name)
{
    std::string out = "# " + name + ": line, state after it, runs (start:class)\n";
    std::vector<ColorBlock> runs;
    LineState state = 0;
    char buf[32];
    for (int line = 0; line < buffer.LineCount(); ++line) {
        state = CJavaColoring::ClassifyLine(state, buffer.LineChars(line), buffer.LineLength(line), runs);
        std::snprintf(buf, sizeof buf, "%d %04X", line + 1, static_cast<unsigned>(state));
        out += buf;
        for (const ColorBlock& run : runs) {
            std::snprintf(buf, sizeof buf, " %d:%d", run.start, run.colorClass);
            out += buf;
        }
        out += '\n';
    }
    return out;
}

bool Regenerating()
{
    const char* v = std::getenv("KIB_REGENERATE_GOLDEN");
    return v && *v && std::string(v) != "0";
}

} // namespace

TEST(JavaColoringGolden, EverySourceHasItsGoldenFile)
{
    const std::vector<fs::path> files = Sources();
    ASSERT_GE(files.size(), 7u) << "sources missing below " << kSources;
    int jdk = 0;
    for (const fs::path& source : files) {
        jdk += source.parent_path().filename() == "jdk";
        fs::path golden = source;
        golden.replace_extension(".golden");
        if (!Regenerating()) {
            EXPECT_TRUE(fs::exists(golden)) << golden;
        }
    }
    EXPECT_GE(jdk, 3);
}

TEST(JavaColoringGolden, ColouringMatchesByteForByte)
{
    for (const fs::path& source : Sources()) {
        CTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFile(source.string())) << source;
        const std::string name = fs::relative(source, kSources).generic_string();
        const std::string now = Describe(buffer, name);
        fs::path golden = source;
        golden.replace_extension(".golden");
        if (Regenerating()) {
            std::ofstream(golden, std::ios::binary) << now;
            std::printf("wrote %s\n", golden.string().c_str());
        }
        const std::string expected = ReadFile(golden);
        if (expected == now)
            continue;
        // The first line that differs, for the failure message.
        std::istringstream a(expected), b(now);
        std::string la, lb;
        while (std::getline(a, la) && std::getline(b, lb) && la == lb) {
        }
        ADD_FAILURE() << name << " colours differently from " << golden.filename().string() << ":\n  golden: " << la
                      << "\n  now:    " << lb;
    }
}

TEST(JavaColoringGolden, ThePlainRulesAgreeOnEveryLine)
{
    // The golden files come from the classifier; the rules written out
    // independently must give the same, or a golden file would pin a fault.
    for (const fs::path& source : Sources()) {
        CTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFile(source.string())) << source;
        LineState state = 0;
        for (int line = 0; line < buffer.LineCount(); ++line) {
            const char* chars = buffer.LineChars(line);
            const int n = buffer.LineLength(line);
            const int room = CJavaColoring::RunCapacityFor(n);
            std::vector<ColorBlock> a(static_cast<size_t>(room)), b(static_cast<size_t>(room));
            int ca = 0, cb = 0;
            const LineState sa = CJavaColoring::ClassifyLine(state, chars, n, a.data(), room, ca);
            const LineState sb = reference::ClassifyLine(state, chars, n, b.data(), room, cb);
            ASSERT_EQ(sa, sb) << source.filename() << ":" << line + 1;
            ASSERT_EQ(ca, cb) << source.filename() << ":" << line + 1;
            for (int r = 0; r < ca; ++r) {
                EXPECT_EQ(a[static_cast<size_t>(r)].start, b[static_cast<size_t>(r)].start)
                    << source.filename() << ":" << line + 1;
                EXPECT_EQ(a[static_cast<size_t>(r)].colorClass, b[static_cast<size_t>(r)].colorClass)
                    << source.filename() << ":" << line + 1;
            }
            state = sa;
        }
    }
}

TEST(JavaColoringGolden, KnownLinesInTheGoldenFiles)
{
    // A few lines checked by hand, so that the golden files themselves are
    // known to be right where the rules are plain.
    const std::string numbers = ReadFile(kSources / "Numbers.golden");
    EXPECT_NE(numbers.find("\n1 0000 0:1 0:4 3:0 5:0 8:9 10:10\n"), std::string::npos) << "int x = 10;";
    const std::string literals = ReadFile(kSources / "Literals.golden");
    EXPECT_NE(literals.find("\n5 0008 "), std::string::npos) << "an open string runs on";
    EXPECT_NE(literals.find("\n6 0000 0:11 "), std::string::npos) << "and starts the next line as a string";
    const std::string comments = ReadFile(kSources / "Comments.golden");
    EXPECT_NE(comments.find("\n9 0001 "), std::string::npos) << "a line comment continued by a backslash";
    // The pending run and the comment's own start at 0: the later one wins.
    EXPECT_NE(comments.find("\n10 0000 0:6 0:6\n"), std::string::npos) << "the continued line is a comment";
    EXPECT_NE(comments.find("\n12 0000\n"), std::string::npos) << "a one-character line ends the continuation";
}
