#include "app/CommandLineInfo.h"
#include "app/EditorPositions.h"
#include "app/FileCheck.h"
#include "app/OpenFilesList.h"
#include "app/RecentFileList.h"
#include "platform/UserStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string TempDir()
{
    char tmpl[] = "/tmp/kibapptestXXXXXX";
    const char* d = mkdtemp(tmpl);
    return d ? std::string(d) + "/" : std::string("/tmp/");
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

CCommandLineInfo Parse(std::vector<std::string> args)
{
    CCommandLineInfo info;
    info.Parse(args);
    return info;
}

} // namespace

TEST(CommandLine, FileNameFlagsAndSplash)
{
    EXPECT_EQ(Parse({}).m_shellCommand, CCommandLineInfo::FileNew);
    auto open = Parse({"/home/u/A.java", "/home/u/B.java"});
    EXPECT_EQ(open.m_shellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_fileName, "/home/u/A.java"); // further names are ignored
    EXPECT_TRUE(open.m_showSplash);

    EXPECT_FALSE(Parse({"/Embedding"}).m_showSplash);
    EXPECT_FALSE(Parse({"-automation"}).m_showSplash); // any letter case
    EXPECT_TRUE(Parse({"/dde"}).m_showSplash);
    EXPECT_EQ(Parse({"/dde"}).m_shellCommand, CCommandLineInfo::FileDDE);
    EXPECT_TRUE(Parse({"/p", "x.java"}).m_showSplash);
    EXPECT_EQ(Parse({"/p", "x.java"}).m_shellCommand, CCommandLineInfo::FilePrint);
    // "p", "pt" and "dde" only in that letter case: "/P" is a path here.
    auto upper = Parse({"/P"});
    EXPECT_EQ(upper.m_shellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(upper.m_fileName, "/P");
    EXPECT_EQ(Parse({"-P"}).m_shellCommand, CCommandLineInfo::FileNew); // unknown flag
    EXPECT_EQ(Parse({"/UNREGSERVER"}).m_shellCommand, CCommandLineInfo::AppUnregister);

    auto pt = Parse({"/pt", "a.java", "printer", "driver", "port", "extra"});
    EXPECT_EQ(pt.m_shellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(pt.m_fileName, "a.java");
    EXPECT_EQ(pt.m_printerName, "printer");
    EXPECT_EQ(pt.m_driverName, "driver");
    EXPECT_EQ(pt.m_portName, "port");
}

TEST(OpenFilesList, SavedUnsavedAndHiddenWindows)
{
    // Saved document topmost, then an unsaved one, then a hidden window.
    std::string text = OpenFilesListText({std::string("/src/A.java"), std::string(), std::nullopt});
    EXPECT_EQ(text,
              "<KIBFILES>\r\n<COUNT>3</COUNT>\r\n<FILE1>/src/A.java</FILE1>\r\n<FILE2></FILE2>\r\n"
              "</KIBFILES>\r\n");
    std::string dir = TempDir();
    ASSERT_TRUE(WriteOpenFilesList(dir + "kibfiles.xml", {std::string("/a"), std::nullopt,
                                                          std::string(), std::string("/b")}));
    EXPECT_EQ(ReadOpenFilesList(dir + "kibfiles.xml"), (std::vector<std::string>{"/a", "/b"}));
}

TEST(OpenFilesList, ReadingIsForgiving)
{
    std::string dir = TempDir();
    EXPECT_TRUE(ReadOpenFilesList(dir + "missing.xml").empty());
    WriteFile(dir + "nocount.xml", "<KIBFILES>\r\n<FILE1>/a</FILE1>\r\n</KIBFILES>\r\n");
    EXPECT_TRUE(ReadOpenFilesList(dir + "nocount.xml").empty());
    WriteFile(dir + "gap.xml", "<KIBFILES>\r\n<COUNT>4</COUNT>\r\n<FILE1>/a</FILE1>\r\n<FILE3></FILE3>"
                               "\r\n<FILE4>/d</FILE4>\r\n<FILE5>/e</FILE5>\r\n</KIBFILES>\r\n");
    EXPECT_EQ(ReadOpenFilesList(dir + "gap.xml"), (std::vector<std::string>{"/a", "/d"}));
    WriteFile(dir + "huge.xml", "<KIBFILES><COUNT>2147483647</COUNT><FILE2>/x</FILE2></KIBFILES>");
    EXPECT_EQ(ReadOpenFilesList(dir + "huge.xml"), (std::vector<std::string>{"/x"}));
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) & 0xff);
    WriteFile(dir + "junk.xml", junk);
    EXPECT_TRUE(ReadOpenFilesList(dir + "junk.xml").empty());
}

TEST(OpenFilesList, PathsStillWaitingToBeReopenedComeFirstAsIfOpenedInTurn)
{
    using Slots = std::vector<OpenFileSlot>;
    // Reopening /a, /b, /c, /d in turn leaves /d on top; stopped after /b, the
    // list to store is the same.
    Slots opened = {std::string("/b"), std::string("/a")};
    EXPECT_EQ(WithPendingReopen(opened, {"/c", "/d"}),
              (Slots{std::string("/d"), std::string("/c"), std::string("/b"), std::string("/a")}));
    // Nothing waiting: the windows as they are, hidden and unsaved ones kept.
    Slots windows = {std::string("/x"), std::nullopt, std::string()};
    EXPECT_EQ(WithPendingReopen(windows, {}), windows);
    // A waiting path that is already open (the command line's file, one the
    // user opened meanwhile) only brings its window forward; one listed twice
    // is one window, at the place of its last mention.
    Slots withOpen = {std::string("/u"), std::string("/c"), std::nullopt, std::string()};
    EXPECT_EQ(WithPendingReopen(withOpen, {"/c", "/e", "/c"}),
              (Slots{std::string("/c"), std::string("/e"), std::string("/u"), std::nullopt, std::string()}));
    // A stored path written another way names the same file as the window's.
    std::string cwd = TempDir();
    EXPECT_EQ(WithPendingReopen({cwd + "R.java"}, {cwd + ".//R.java"}), (Slots{cwd + ".//R.java"}));
    // Written out, nothing of a long list is lost.
    std::vector<std::string> pending;
    for (int i = 0; i < 10000; ++i)
        pending.push_back("/f" + std::to_string(i));
    Slots all = WithPendingReopen({std::string("/first")}, pending);
    ASSERT_EQ(all.size(), 10001u);
    EXPECT_EQ(*all.front(), "/f9999");
    EXPECT_EQ(*all.back(), "/first");
    ASSERT_TRUE(WriteOpenFilesList(cwd + "kibfiles.xml", all));
    EXPECT_EQ(ReadOpenFilesList(cwd + "kibfiles.xml").size(), 10001u);
}

TEST(OpenFilesList, PathsHeldBackFromReopeningGoBelowTheWindowsOnceEach)
{
    using Slots = std::vector<OpenFileSlot>;
    Slots windows = {std::string("/b"), std::nullopt, std::string(), std::string("/a")};
    EXPECT_EQ(WithHeldBack(windows, {}), windows);
    // In their order below every window, hidden and unsaved ones kept; one
    // that a window has opened since, or listed twice, only once.
    EXPECT_EQ(WithHeldBack(windows, {"/x", "/a", "/y", "/x"}),
              (Slots{std::string("/b"), std::nullopt, std::string(), std::string("/a"), std::string("/x"),
                     std::string("/y")}));
    std::string cwd = TempDir();
    EXPECT_EQ(WithHeldBack({cwd + "R.java"}, {cwd + ".//R.java", cwd + "S.java"}),
              (Slots{cwd + "R.java", cwd + "S.java"}));
}

TEST(OpenFilesList, StoredPathWithOtherSeparators)
{
    std::string dir = TempDir();
    WriteFile(dir + "A.java", "class A {}");
    EXPECT_EQ(ExistingStoredPath(dir + "A.java"), dir + "A.java");
    std::string windowsStyle = dir + "A.java";
    for (char& c : windowsStyle)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(ExistingStoredPath(windowsStyle), dir + "A.java");
    EXPECT_EQ(ExistingStoredPath(dir + "B.java"), "");
    EXPECT_EQ(ExistingStoredPath(""), "");
}

TEST(RecentFiles, FourEntriesNewestFirstKeptInTheProfile)
{
    std::string dir = TempDir();
    platform::CUserStore::Instance().SetFile(dir + "registry");
    CRecentFileList list;
    for (const char* p : {"/1", "/2", "/3", "/4", "/5", "/3"})
        list.Add(p);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/3", "/5", "/4", "/2"}));
    list.WriteList();
    CRecentFileList again;
    again.ReadList();
    EXPECT_EQ(again.Entries(), list.Entries());
    again.Remove(0);
    again.WriteList();
    CRecentFileList third;
    third.ReadList();
    EXPECT_EQ(third.Entries(), (std::vector<std::string>{"/5", "/4", "/2"}));
}

TEST(EditorPositions, StatusColumnCountsTabs)
{
    EXPECT_EQ(StatusColumn("\t\tx", 2, 4), 9); // after two tabs
    EXPECT_EQ(StatusColumn("abc", 0, 4), 1);
    EXPECT_EQ(StatusColumn("a\tb", 3, 8), 11);
    EXPECT_EQ(StatusColumn("\t", 1, 1), 2);
}

TEST(EditorPositions, JumpColumnStaysInsideTheLine)
{
    EXPECT_EQ(JumpColumnIndex("\tint x;", 0, 4), 0);  // column 0 on a tab line: its start
    EXPECT_EQ(JumpColumnIndex("\tint x;", 1, 4), 0);  // would be -4 unclamped
    EXPECT_EQ(JumpColumnIndex("abcdef", 4, 4), 3);
    EXPECT_EQ(JumpColumnIndex("abc", 50, 4), 3);      // beyond the end: the end
    EXPECT_EQ(JumpColumnIndex("", 7, 4), 0);
    EXPECT_EQ(JumpColumnIndex("\t\tabc", 9, 4), 0);   // the walk subtracts a whole tab each time
}

TEST(EditorPositions, Utf8ColumnsCountCharacters)
{
    constexpr TextEncoding kUtf8 = TextEncoding::Utf8;
    const std::string line = "\tGrüße €x";
    const int euro = static_cast<int>(std::string("\tGrüße ").size());
    EXPECT_EQ(StatusColumn(line, euro, 4, kUtf8), 11); // tab 4 + "Grüße " 6 + 1
    EXPECT_EQ(StatusColumn(line, euro + 3, 4, kUtf8), 12);
    EXPECT_EQ(StatusColumn(line, euro, 4), 13) << "Windows-1252 counts bytes";
    // A jump to column 8 lands on the start of a character, never inside.
    EXPECT_EQ(JumpColumnIndex("Grüße €x", 5, 4, kUtf8), 6);
    EXPECT_EQ(JumpColumnIndex("Grüße €x", 8, 4, kUtf8), static_cast<int>(std::string("Grüße €").size()));
    EXPECT_EQ(JumpColumnIndex("Grüße €x", 50, 4, kUtf8), static_cast<int>(std::string("Grüße €x").size()));
    EXPECT_EQ(JumpColumnIndex("\tü", 1, 4, kUtf8), 0);
}

TEST(FileCheck, ProblemsBeforeOpening)
{
    std::string dir = TempDir();
    WriteFile(dir + "ok.java", "x");
    EXPECT_EQ(CheckFileForOpening(dir + "ok.java"), FileProblem::None);
    EXPECT_EQ(CheckFileForOpening(dir + "none.java"), FileProblem::NotFound);
    EXPECT_EQ(CheckFileForOpening(dir), FileProblem::IsDirectory);
    EXPECT_EQ(CheckFileForOpening("/dev/null"), FileProblem::NotRegular);
    EXPECT_EQ(CheckFileForOpening(dir + "ok.java", 0), FileProblem::TooLarge);
    if (geteuid() != 0) { // root reads everything
        WriteFile(dir + "secret.java", "x");
        chmod((dir + "secret.java").c_str(), 0);
        EXPECT_EQ(CheckFileForOpening(dir + "secret.java"), FileProblem::NoPermission);
    }
    EXPECT_EQ(GermanErrorText(EACCES), "Zugriff verweigert.");
    EXPECT_EQ(GermanErrorText(ENOSPC), "Auf dem Datenträger ist kein Platz mehr frei.");
    EXPECT_EQ(GermanErrorText(12345), "Systemfehler 12345.");
}
