// Find in files over the unpacked JDK sources: for several search texts the
// (file, line, column, line text) hits of the engine equal those of GNU grep
// (byte offsets of non-overlapping matches, ASCII-only case folding in the C
// locale) or of a plain scan written here, with columns and the line cut
// computed from the file bytes.
#include "workspace/FileTextSearch.h"

#include "support/JdkSources.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <tuple>
#include <unistd.h>

namespace {

using Hit = std::tuple<std::string, int64_t, int64_t, std::string>; // file, line, column, text

class FindInFilesCorpus : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_tmp = new kibtest::CJdkSources();
        // Everything, not only .java: the engine reads whatever is there.
        if (s_tmp->Unpack(false)) {
            s_zip = s_tmp->Zip();
            s_dir = s_tmp->Dir();
            std::cout << "[ corpus   ] " << s_zip << " unpacked to " << s_dir << "\n";
        }
    }
    static void TearDownTestSuite()
    {
        delete s_tmp;
        s_tmp = nullptr;
    }
    void SetUp() override
    {
        if (s_dir.empty())
            GTEST_SKIP() << "no JDK src.zip could be unpacked";
    }

    struct FileData {
        std::string bytes;
        std::vector<int64_t> lineFeeds;
    };
    static const FileData& Data(const std::string& path)
    {
        auto it = s_files.find(path);
        if (it == s_files.end()) {
            std::ifstream in(path, std::ios::binary);
            FileData d;
            d.bytes.assign(std::istreambuf_iterator<char>(in), {});
            for (size_t k = 0; k < d.bytes.size(); ++k)
                if (d.bytes[k] == '\n')
                    d.lineFeeds.push_back(static_cast<int64_t>(k));
            it = s_files.emplace(path, std::move(d)).first;
        }
        return it->second;
    }
    static const std::string& Content(const std::string& path) { return Data(path).bytes; }

    // Line, column and line text of the byte at offset, from the file bytes.
    static Hit Locate(const std::string& path, int64_t offset)
    {
        const std::string& f = Content(path);
        auto isBreak = [](char c) { return c == '\n' || c == '\r' || c == '\0'; };
        int64_t start = offset;
        while (start > 0 && !isBreak(f[static_cast<size_t>(start - 1)]))
            --start;
        int64_t end = offset;
        while (end < static_cast<int64_t>(f.size()) && !isBreak(f[static_cast<size_t>(end)]))
            ++end;
        const auto& lfs = Data(path).lineFeeds;
        const int64_t line = 1 + (std::lower_bound(lfs.begin(), lfs.end(), offset) - lfs.begin());
        const int64_t len = end - start;
        return {path, line, offset - start + 1, f.substr(static_cast<size_t>(start), len >= 1000 ? 40 : len)};
    }

    static std::set<Hit> Engine(const std::string& text, uint32_t flags)
    {
        std::set<Hit> hits;
        CFileTextSearch s;
        EXPECT_TRUE(s.Setup(text, s_dir, "*.*,*", flags | FIND_RECURSIVE));
        while (s.NextFile()) {
            FileOccurrence o;
            while (s.NextOccurrence(o))
                hits.emplace(s.CurrentPath(), o.line, o.column, std::string(o.lineText));
        }
        return hits;
    }

    // GNU grep: -o prints each non-overlapping match with -b its offset.
    static std::set<Hit> Grep(const std::string& text, const std::string& options)
    {
        std::set<Hit> hits;
        const std::string cmd = "LC_ALL=C grep -rnoba " + options + " -F -e '" + text + "' '" + s_dir + "'";
        FILE* p = popen(cmd.c_str(), "r");
        EXPECT_NE(p, nullptr);
        if (!p)
            return hits;
        std::string out;
        char buf[65536];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
        std::istringstream lines(out);
        std::string row;
        while (std::getline(lines, row)) {
            // path:line:offset:match, the path being the first part that is
            // followed by two numbers.
            size_t c1 = row.find(':', s_dir.size());
            while (c1 != std::string::npos) {
                size_t c2 = row.find(':', c1 + 1);
                size_t c3 = c2 == std::string::npos ? c2 : row.find(':', c2 + 1);
                auto digits = [&](size_t a, size_t b) {
                    return b > a && row.find_first_not_of("0123456789", a) >= b;
                };
                if (c3 != std::string::npos && digits(c1 + 1, c2) && digits(c2 + 1, c3)) {
                    const std::string path = row.substr(0, c1);
                    hits.insert(Locate(path, std::stoll(row.substr(c2 + 1, c3 - c2 - 1))));
                    break;
                }
                c1 = row.find(':', c1 + 1);
            }
        }
        return hits;
    }

    // A plain scan by the rules: whole words by the bytes around a match, a
    // rejected candidate skipped as a whole.
    static std::set<Hit> Scan(const std::string& text, bool matchCase, bool wholeWord,
                              const std::set<std::string>& paths)
    {
        std::set<Hit> hits;
        auto fold = [&](char c) { return !matchCase && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        auto word = [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        };
        for (const std::string& path : paths) {
            const std::string& f = Content(path);
            size_t i = 0;
            while (i + text.size() <= f.size()) {
                size_t k = 0;
                while (k < text.size() && fold(f[i + k]) == fold(text[k]))
                    ++k;
                if (k < text.size()) {
                    ++i;
                    continue;
                }
                const bool ok = !wholeWord || ((i == 0 || !word(f[i - 1])) &&
                                               (i + text.size() == f.size() || !word(f[i + text.size()])));
                if (ok)
                    hits.insert(Locate(path, static_cast<int64_t>(i)));
                i += text.size();
            }
        }
        return hits;
    }

    static void ExpectSame(const std::set<Hit>& engine, const std::set<Hit>& reference, const std::string& what)
    {
        EXPECT_GT(reference.size(), 0u) << what;
        EXPECT_EQ(engine.size(), reference.size()) << what;
        int shown = 0;
        for (const Hit& h : reference)
            if (!engine.count(h) && shown++ < 5)
                ADD_FAILURE() << what << ": engine misses " << std::get<0>(h) << "(" << std::get<1>(h) << ","
                              << std::get<2>(h) << ")";
        for (const Hit& h : engine)
            if (!reference.count(h) && shown++ < 10)
                ADD_FAILURE() << what << ": engine has extra " << std::get<0>(h) << "(" << std::get<1>(h) << ","
                              << std::get<2>(h) << ")";
        std::cout << "[ corpus   ] " << what << ": " << engine.size() << " hits\n";
    }
    void TearDown() override { s_files.clear(); }

    static std::set<std::string> Files(const std::set<Hit>& hits)
    {
        std::set<std::string> files;
        for (const Hit& h : hits)
            files.insert(std::get<0>(h));
        return files;
    }

    static inline std::string s_zip;
    static inline std::string s_dir;
    static inline kibtest::CJdkSources* s_tmp = nullptr;
    static inline std::map<std::string, FileData> s_files;
};

TEST_F(FindInFilesCorpus, MatchCaseEqualsGrep)
{
    ExpectSame(Engine("synchronized", FIND_MATCH_CASE), Grep("synchronized", ""), "synchronized");
    // Self-overlapping text: non-overlapping matches from the left.
    ExpectSame(Engine("**", FIND_MATCH_CASE), Grep("**", ""), "**");
}

TEST_F(FindInFilesCorpus, IgnoreCaseFoldsTheLettersOfTheFilesEncoding)
{
    ExpectSame(Engine("volatile", 0), Grep("volatile", "-i"), "volatile -i");
    // A letter beyond ASCII in either case: e-acute finds its capital too,
    // what grep (C locale) finds of each spelled out.
    std::set<Hit> both = Grep("\xC3\xA9", "");
    for (const Hit& h : Grep("\xC3\x89", ""))
        both.insert(h);
    ExpectSame(Engine("\xC3\x89", 0), both, "e-acute -i");
    // A byte that starts a UTF-8 character is no character of its own: it is
    // never found inside one.
    EXPECT_TRUE(Engine("\xC3", 0).empty());
}

TEST_F(FindInFilesCorpus, WholeWordsEqualGrepAndAPlainScan)
{
    // Texts that cannot overlap themselves, where grep -w means the same.
    const auto engine = Engine("String", FIND_MATCH_CASE | FIND_WHOLE_WORD);
    ExpectSame(engine, Grep("String", "-w"), "String -w");
    ExpectSame(Engine("NULL", FIND_WHOLE_WORD), Grep("NULL", "-w -i"), "NULL -w -i");
    // Overlapping candidates, where the rule (skip a rejected candidate as
    // a whole) is checked by a plain scan of every file grep finds the text in.
    const auto candidates = Grep("==", "");
    ExpectSame(Engine("==", FIND_MATCH_CASE | FIND_WHOLE_WORD), Scan("==", true, true, Files(candidates)),
               "== whole words");
    ExpectSame(Engine("int", FIND_WHOLE_WORD), Grep("int", "-w -i"), "int -w -i");
    ExpectSame(Engine("--", FIND_WHOLE_WORD), Scan("--", false, true, Files(Grep("--", ""))), "-- whole words");
}

} // namespace
