#include "workspace/FileTextSearch.h"
#include "text/Cp1252.h"
#include "workspace/SearchResultLine.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

using kibtest::CTempDir;
using kibtest::WriteFile;
namespace fs = std::filesystem;

namespace {

// Every result line of a search, in the order found.
std::vector<std::string> RunAll(CFileTextSearch& s)
{
    std::vector<std::string> lines;
    while (s.NextFile()) {
        FileOccurrence o;
        while (s.NextOccurrence(o))
            lines.push_back(s.ResultLine(o));
    }
    return lines;
}

std::vector<std::string> Search(const std::string& folder, std::string_view text,
                                 std::string_view filter, uint32_t flags)
{
    CFileTextSearch s;
    s.Setup(text, folder, filter, flags);
    return RunAll(s);
}

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

int OpenDescriptors()
{
    int n = 0;
    for (auto& e : fs::directory_iterator("/proc/self/fd")) {
        (void)e;
        ++n;
    }
    return n;
}

constexpr uint32_t kRec = FIND_RECURSIVE;

} // namespace

TEST(FileTextSearch, ResultLinesInWalkOrder)
{
    CTempDir dir;
    fs::create_directories(dir.File("sub/deeper"));
    WriteFile(dir.File("A.java"), "class A {\n  int x;\n  print(x); int_x = 1; int y;\n}\n");
    WriteFile(dir.File("sub/B.jav"), "int\n");
    WriteFile(dir.File("sub/deeper/C.java"), "// no match here\n");
    WriteFile(dir.File("sub/deeper/D.txt"), "int\n");
    WriteFile(dir.File("Makefile"), "int\n");

    auto lines = Search(dir.Path(), "int", "*.java,*.jav", kRec | FIND_WHOLE_WORD);
    EXPECT_EQ(Sorted(lines), Sorted({
                                 dir.File("A.java") + "(2,3):  int x;",
                                 dir.File("A.java") + "(3,24):  print(x); int_x = 1; int y;",
                                 dir.File("sub/B.jav") + "(1,1):int",
                             }));
    // The occurrences of one file come together and in file order.
    auto a = std::find(lines.begin(), lines.end(), dir.File("A.java") + "(2,3):  int x;");
    ASSERT_NE(a, lines.end());
    ASSERT_NE(a + 1, lines.end());
    EXPECT_EQ(*(a + 1), dir.File("A.java") + "(3,24):  print(x); int_x = 1; int y;");

    // Without the recursive flag only the start folder; without whole words
    // print and int_x count too.
    EXPECT_EQ(Search(dir.Path(), "int", "*.java", 0).size(), 4u);
    EXPECT_EQ(Search(dir.Path(), "INT", "*.java", 0).size(), 4u);
    EXPECT_EQ(Search(dir.Path(), "INT", "*.java", FIND_MATCH_CASE).size(), 0u);
    // "*" takes names without a dot.
    EXPECT_EQ(Search(dir.Path(), "int", "*", kRec), (std::vector<std::string>{dir.File("Makefile") + "(1,1):int"}));
}

TEST(FileTextSearch, SubfoldersComeWhereTheyAreListed)
{
    CTempDir dir;
    fs::create_directories(dir.File("s"));
    WriteFile(dir.File("a"), "x");
    WriteFile(dir.File("s/b"), "x");
    WriteFile(dir.File("c"), "x");
    // The order the file system lists the start folder in.
    std::vector<std::string> listed;
    for (auto& e : fs::directory_iterator(dir.Path()))
        listed.push_back(e.path().filename().string());
    std::vector<std::string> expected;
    for (const std::string& n : listed)
        expected.push_back(n == "s" ? dir.File("s/b") + "(1,1):x" : dir.File(n) + "(1,1):x");
    EXPECT_EQ(Search(dir.Path(), "x", "*", kRec), expected);
}

TEST(FileTextSearch, EmptyTextMissingFolderAndEmptyFolder)
{
    CTempDir dir;
    WriteFile(dir.File("a.java"), "abc");
    CFileTextSearch s;
    EXPECT_FALSE(s.Setup("", dir.Path(), "*.*", kRec));
    EXPECT_FALSE(s.NextFile());
    EXPECT_FALSE(s.Setup("abc", dir.File("missing"), "*.*", kRec));
    EXPECT_FALSE(s.NextFile());
    EXPECT_FALSE(s.Setup("abc", "", "*.*", kRec));
    EXPECT_FALSE(s.Setup("abc", dir.File("a.java"), "*.*", kRec)); // a file is no folder
    EXPECT_TRUE(s.Setup("abc", dir.Path(), "*.*", kRec));
    EXPECT_TRUE(s.NextFile());
    EXPECT_EQ(s.CurrentPath(), dir.File("a.java"));
    // A trailing separator and a relative start give the same full paths.
    EXPECT_EQ(Search(dir.Path() + "/", "abc", "*.*", 0), (std::vector<std::string>{dir.File("a.java") + "(1,1):abc"}));
}

TEST(FileTextSearch, SymbolicLinksToFoldersAreNotFollowed)
{
    CTempDir dir;
    fs::create_directories(dir.File("real/inner"));
    WriteFile(dir.File("real/inner/x.java"), "needle");
    fs::create_directory_symlink(dir.Path(), dir.File("real/inner/loop"));   // a loop
    fs::create_directory_symlink(dir.File("real"), dir.File("alias"));        // a second way in
    fs::create_symlink(dir.File("real/inner/x.java"), dir.File("link.java")); // a file: followed
    fs::create_symlink(dir.File("gone"), dir.File("dangling.java"));
    fs::create_directory_symlink(dir.File("real"), dir.File("folder.java"));
    const int before = OpenDescriptors();
    auto lines = Search(dir.Path(), "needle", "*.java", kRec);
    EXPECT_EQ(Sorted(lines), Sorted({dir.File("real/inner/x.java") + "(1,1):needle",
                                     dir.File("link.java") + "(1,1):needle"}));
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(FileTextSearch, ALoopThroughABindMountIsNotEntered)
{
    // A bind mount of a folder inside itself, in a mount namespace of a child
    // of its own, so that nothing outside sees it.
    CTempDir dir;
    fs::create_directories(dir.File("top/sub/mnt"));
    WriteFile(dir.File("top/sub/a.java"), "needle");
    const std::string top = dir.File("top");
    const std::string mnt = dir.File("top/sub/mnt");
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount(top.c_str(), mnt.c_str(), nullptr, MS_BIND, nullptr) != 0)
            _exit(77);
        CFileTextSearch s;
        s.Setup("needle", top, "*.java", kRec);
        auto lines = RunAll(s);
        // a.java directly, and once more through the mount (whose root is
        // the walked folder "top" itself, which is not entered again).
        const bool ok = lines.size() == 1 && lines[0] == top + "/sub/a.java(1,1):needle" &&
                        s.Walk().FoldersNotEntered() == 1;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace here (needs CAP_SYS_ADMIN)";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FileTextSearch, UnreadableFoldersAndFilesAreSkipped)
{
    CTempDir dir;
    fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::create_directories(dir.File("closed"));
    fs::create_directories(dir.File("open"));
    WriteFile(dir.File("closed/a.java"), "needle");
    WriteFile(dir.File("open/b.java"), "needle");
    WriteFile(dir.File("open/c.java"), "needle");
    fs::permissions(dir.File("open"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir.File("open/b.java"), fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(dir.File("open/c.java"), fs::perms::owner_read); // not for others
    fs::permissions(dir.File("closed/a.java"), fs::perms::all);
    fs::permissions(dir.File("closed"), fs::perms::none);

    // Permission bits bind the user "nobody" whoever runs the tests.
    const std::string path = dir.Path();
    EXPECT_UNPRIVILEGED_OK([&] {
        CFileTextSearch s;
        s.Setup("needle", path, "*.java", kRec);
        auto lines = RunAll(s);
        if (lines != std::vector<std::string>{path + "/open/b.java(1,1):needle"})
            return 1;
        return s.Walk().UnreadableFolders() == 1 && s.Walk().UnreadableFiles() == 1 ? 0 : 2;
    });

    // As root the bits do not bind: everything is searched, as the system
    // lets this user read it.
    if (geteuid() == 0)
        EXPECT_EQ(Search(dir.Path(), "needle", "*.java", kRec).size(), 3u);
    else
        EXPECT_EQ(Search(dir.Path(), "needle", "*.java", kRec).size(), 2u);
}

TEST(FileTextSearch, SpecialFilesAreNotOpened)
{
    CTempDir dir;
    ASSERT_EQ(mkfifo(dir.File("pipe.java").c_str(), 0644), 0);
    fs::create_symlink(dir.File("pipe.java"), dir.File("pipelink.java"));
    fs::create_symlink("/dev/zero", dir.File("zero.java"));
    WriteFile(dir.File("real.java"), "needle");
    // Would block for ever (the FIFO) or never end (/dev/zero) if opened as
    // files.
    EXPECT_EQ(Search(dir.Path(), "needle", "*.java", kRec).size(), 1u);
}

TEST(FileTextSearch, BinaryFilesAreSearchedAsBytes)
{
    CTempDir dir;
    std::string bin;
    for (int i = 0; i < 256; ++i)
        bin += static_cast<char>(i);
    bin += "needle";
    bin += std::string("\0\xff\0", 3);
    bin += "NEEDLE\x80";
    WriteFile(dir.File("data.bin"), bin);
    auto lines = Search(dir.Path(), "needle", "*.*", 0);
    ASSERT_EQ(lines.size(), 2u);
    // Line 2 (one LF at byte 10); the column restarts behind the last of CR,
    // LF or NUL in front, and the line text ends at the next one. No valid
    // UTF-8: the line is shown decoded from Windows-1252.
    EXPECT_EQ(lines[0], dir.File("data.bin") + "(2," + std::to_string(256 - 14 + 1) + "):" +
                            cp1252::DecodeUtf8(bin.substr(14, 256 - 14 + 6)));
    EXPECT_EQ(lines[1], dir.File("data.bin") + "(2,1):NEEDLE\xE2\x82\xAC");
    SearchResultLocation r;
    ASSERT_TRUE(ParseSearchResultLine(lines[0], r));
    EXPECT_EQ(r.file, dir.File("data.bin"));
    EXPECT_EQ(r.line, 2);
    EXPECT_EQ(r.column, 243);
}

TEST(FileTextSearch, AHugeSparseFileStreamsInBoundedMemory)
{
    CTempDir dir;
    const std::string path = dir.File("huge.dat");
    {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, off_t(1) << 30), 0); // 1 GiB of holes
        const char head[] = "needle at the start\n";
        ASSERT_EQ(pwrite(fd, head, sizeof head - 1, 0), static_cast<ssize_t>(sizeof head - 1));
        const char tail[] = "\nlast needle";
        ASSERT_EQ(pwrite(fd, tail, sizeof tail - 1, (off_t(1) << 30) - (sizeof tail - 1)),
                  static_cast<ssize_t>(sizeof tail - 1));
        ::close(fd);
    }
    CFileTextSearch s;
    ASSERT_TRUE(s.Setup("needle", dir.Path(), "*.dat", 0));
    int polls = 0;
    s.SetPoll([&](const std::string&) { return ++polls > 0; }, std::chrono::milliseconds(0));
    ASSERT_TRUE(s.NextFile());
    std::vector<FileOccurrence> hits;
    std::vector<std::string> texts;
    FileOccurrence o;
    while (s.NextOccurrence(o)) {
        hits.push_back(o);
        texts.emplace_back(o.lineText);
        EXPECT_LE(s.BufferCapacity(), COccurrenceScanner::kDefaultMaxWholeFile);
    }
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].line, 1);
    EXPECT_EQ(texts[0], "needle at the start");
    EXPECT_EQ(hits[1].line, 3);
    EXPECT_EQ(hits[1].column, 6);
    EXPECT_EQ(hits[1].offset, (int64_t(1) << 30) - 6);
    EXPECT_EQ(texts[1], "last needle");
    EXPECT_GT(polls, 100); // the caller could paint and cancel inside the file
    EXPECT_FALSE(s.NextFile());
}

TEST(FileTextSearch, PollSeesEveryFileAndCancels)
{
    CTempDir dir;
    for (int i = 0; i < 20; ++i)
        WriteFile(dir.File("f" + std::to_string(i) + ".txt"), i == 15 ? "hit" : "miss");
    CFileTextSearch s;
    ASSERT_TRUE(s.Setup("hit", dir.Path(), "*.txt", 0));
    std::set<std::string> seen;
    s.SetPoll([&](const std::string& p) { seen.insert(p); return true; }, std::chrono::milliseconds(0));
    EXPECT_EQ(RunAll(s).size(), 1u);
    EXPECT_EQ(seen.size(), 20u); // files without hits too
    EXPECT_EQ(s.FilesSearched(), 20);

    // Cancelling from the poll ends the walk at the third file and closes
    // every folder.
    const int before = OpenDescriptors();
    ASSERT_TRUE(s.Setup("hit", dir.Path(), "*.txt", 0));
    int calls = 0;
    s.SetPoll([&](const std::string&) { return ++calls < 3; }, std::chrono::milliseconds(0));
    EXPECT_LE(RunAll(s).size(), 1u);
    EXPECT_TRUE(s.Cancelled());
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(s.NextFile());
    EXPECT_EQ(OpenDescriptors(), before);

    // Cancel() between hits, as Escape does.
    ASSERT_TRUE(s.Setup("i", dir.Path(), "*.txt", 0));
    s.SetPoll(nullptr);
    ASSERT_TRUE(s.NextFile());
    s.Cancel();
    FileOccurrence o;
    EXPECT_FALSE(s.NextOccurrence(o));
    EXPECT_FALSE(s.NextFile());
}

TEST(FileTextSearch, BufferGrowsAcrossFiles)
{
    CTempDir dir;
    WriteFile(dir.File("a.txt"), std::string(70000, 'x') + "hit");
    CFileTextSearch s;
    ASSERT_TRUE(s.Setup("hit", dir.Path(), "*.txt", 0));
    ASSERT_TRUE(s.NextFile());
    EXPECT_EQ(s.BufferCapacity(), 70003u + 1000u);
    // Once the walk is over the buffer goes.
    EXPECT_FALSE(s.NextFile());
    EXPECT_EQ(s.BufferCapacity(), COccurrenceScanner::kInitialCapacity);
}

TEST(FileTextSearch, TenThousandCharacterFilter)
{
    CTempDir dir;
    WriteFile(dir.File("A.java"), "needle");
    WriteFile(dir.File("B.txt"), "needle");
    std::string filter(10000, ' ');
    filter += "*.java";
    filter += std::string(10000, ',');
    filter += "*.nothing";
    EXPECT_EQ(Search(dir.Path(), "needle", filter, 0).size(), 1u);
    std::string garbage;
    for (int i = 0; garbage.size() < 10000; ++i)
        garbage += "*?*.?" + std::to_string(i);
    EXPECT_EQ(Search(dir.Path(), "needle", garbage, 0).size(), 0u);
}

TEST(FileTextSearch, EachFileIsSearchedAndShownInItsOwnEncoding)
{
    CTempDir dir;
    // UTF-8 with a BOM, Windows-1252, and a name that is no valid UTF-8.
    WriteFile(dir.File("Utf.java"), "\xEF\xBB\xBF// Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD\nx Gr\xC3\xBC\xC3\x9F" "e\n");
    WriteFile(dir.File("Win.java"), "// Gr\xFC\xDF" "e aus K\xF6ln\n");
    WriteFile(dir.File("K\xF6ln.java"), "Gr\xC3\xBC\xC3\x9F" "e\n");
    auto lines = Search(dir.Path(), "Gr\xC3\xBC\xC3\x9F" "e", "*.java", 0);
    std::sort(lines.begin(), lines.end());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], dir.File("K\xF6ln.java") + "(1,1):Gr\xC3\xBC\xC3\x9F" "e");
    // Columns in characters; the BOM neither counted nor shown.
    EXPECT_EQ(lines[1], dir.File("Utf.java") + "(1,4):// Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD");
    EXPECT_EQ(lines[2], dir.File("Utf.java") + "(2,3):x Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(lines[3], dir.File("Win.java") + "(1,4):// Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln");
    // A text Windows-1252 cannot hold is found in UTF-8 files only.
    auto cjk = Search(dir.Path(), "\xE4\xB8\xAD", "*.java", 0);
    ASSERT_EQ(cjk.size(), 1u);
    EXPECT_EQ(cjk[0].substr(0, dir.File("Utf.java").size()), dir.File("Utf.java"));
}

TEST(FileTextSearch, CaseInsensitiveUmlautsInEachEncoding)
{
    CTempDir dir;
    WriteFile(dir.File("Utf.java"), "// gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\nint \xC3\xBC" "ber;\n");
    WriteFile(dir.File("Win.java"), "// GR\xDC\xDF" "E aus K\xF6ln\nint \xDC" "ber;\n");
    auto lines = Sorted(Search(dir.Path(), "GR\xC3\x9C" "SSE", "*.java", 0));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], dir.File("Utf.java") + "(1,4):// gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
    EXPECT_EQ(lines[1], dir.File("Win.java") + "(1,4):// GR\xC3\x9C\xC3\x9F" "E aus K\xC3\xB6ln");
    // Whole words by the encoding's letters; matching case finds only the
    // same letters.
    auto words = Sorted(Search(dir.Path(), "\xC3\x9C" "BER", "*.java", FIND_WHOLE_WORD));
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0], dir.File("Utf.java") + "(2,5):int \xC3\xBC" "ber;");
    EXPECT_EQ(words[1], dir.File("Win.java") + "(2,5):int \xC3\x9C" "ber;");
    EXPECT_TRUE(Search(dir.Path(), "ber", "*.java", FIND_WHOLE_WORD).empty());
    EXPECT_EQ(Search(dir.Path(), "\xC3\x9C" "ber", "*.java", FIND_MATCH_CASE).size(), 1u);
}
