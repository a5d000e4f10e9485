#include "platform/UserStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

using namespace platform;
using kibtest::CTempDir;

namespace {

std::string QueryString(CUserStore& s, const std::string& key, const std::string& name)
{
    StoreType t = StoreType::None;
    uint32_t size = 0;
    if (s.QueryValue(key, name, &t, nullptr, &size) != kStoreSuccess || t != StoreType::String)
        return "<none>";
    std::string buf(size, '\0');
    if (s.QueryValue(key, name, &t, buf.data(), &size) != kStoreSuccess)
        return "<fail>";
    buf.resize(size - 1);
    return buf;
}

} // namespace

TEST(UserStore, KeysCompareWithoutCaseAndCreateTheirAncestors)
{
    CTempDir dir;
    CUserStore s(dir.File("registry"));
    EXPECT_EQ(s.OpenKey("SOFTWARE\\Orvane\\KIB"), kStoreNotFound);
    ASSERT_EQ(s.CreateKey("Software\\Orvane\\Kib\\EditFind"), kStoreSuccess);
    EXPECT_EQ(s.OpenKey("SOFTWARE\\ORVANE\\KIB\\editfind"), kStoreSuccess);
    EXPECT_EQ(s.OpenKey("software\\orvane"), kStoreSuccess);
    EXPECT_EQ(s.OpenKey("software\\orvane\\kib\\EditReplace"), kStoreNotFound);
}

TEST(UserStore, ValuesRoundTripThroughTheFile)
{
    CTempDir dir;
    std::string file = dir.File("registry");
    std::string weird = "a \"quoted\" \\ back\nslash\r\t\x01\xe4\xf6\xfc end";
    {
        CUserStore s(file);
        ASSERT_EQ(s.CreateKey("Software\\Orvane\\Kib\\Find"), kStoreSuccess);
        ASSERT_EQ(s.SetValue("Software\\Orvane\\Kib\\Find", "MatchCase", StoreType::Dword,
                             std::string("\x01\x00\x00\x00", 4)),
                  kStoreSuccess);
        ASSERT_EQ(s.SetValue("Software\\Orvane\\Kib\\Find", "FindWhat", StoreType::String, weird),
                  kStoreSuccess);
        // Value names compare without case too; the first spelling is kept.
        ASSERT_EQ(s.SetValue("software\\orvane\\kib\\find", "FINDWHAT", StoreType::String, "x"),
                  kStoreSuccess);
        ASSERT_EQ(s.SetValue("software\\orvane\\kib\\find", "findwhat", StoreType::String, weird),
                  kStoreSuccess);
    }
    CUserStore again(file);
    EXPECT_EQ(QueryString(again, "SOFTWARE\\ORVANE\\KIB\\FIND", "findWhat"), weird);
    StoreType t;
    char data[4];
    uint32_t size = 4;
    ASSERT_EQ(again.QueryValue("Software\\Orvane\\Kib\\Find", "matchcase", &t, data, &size),
              kStoreSuccess);
    EXPECT_EQ(t, StoreType::Dword);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data[0], 1);
    EXPECT_NE(kibtest::ReadFile(file).find("\"FindWhat\""), std::string::npos);
}

TEST(UserStore, QueryReportsTheRoomAStringNeeds)
{
    CTempDir dir;
    CUserStore s(dir.File("registry"));
    s.CreateKey("K");
    std::string longText(100000, 'q');
    ASSERT_EQ(s.SetValue("K", "v", StoreType::String, longText), kStoreSuccess);
    char one[1];
    uint32_t size = 1;
    StoreType t;
    EXPECT_EQ(s.QueryValue("K", "v", &t, one, &size), kStoreMoreData);
    EXPECT_EQ(size, 100001u);
    EXPECT_EQ(QueryString(s, "K", "v"), longText);
    EXPECT_EQ(s.QueryValue("K", "missing", &t, one, &size), kStoreNotFound);
}

TEST(UserStore, SeesWhatAnotherInstanceWrote)
{
    CTempDir dir;
    std::string file = dir.File("registry");
    CUserStore a(file), b(file);
    a.CreateKey("Shared");
    a.SetValue("Shared", "x", StoreType::String, "from a");
    EXPECT_EQ(QueryString(b, "shared", "x"), "from a");
    b.SetValue("Shared", "x", StoreType::String, "from b");
    EXPECT_EQ(QueryString(a, "shared", "x"), "from b") << "last writer wins";
}

TEST(UserStore, ConcurrentProcessesNeitherTearTheFileNorLoseValues)
{
    CTempDir dir;
    std::string file = dir.File("registry");
    {
        CUserStore s(file);
        s.CreateKey("Race");
    }
    const int kWriters = 4, kWrites = 60;
    for (int w = 0; w < kWriters; ++w) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            CUserStore s(file);
            for (int i = 0; i < kWrites; ++i)
                s.SetValue("Race", "w" + std::to_string(w) + "_" + std::to_string(i),
                           StoreType::String, std::string(200, static_cast<char>('a' + w)));
            _exit(0);
        }
    }
    for (int w = 0; w < kWriters; ++w) {
        int status = 0;
        wait(&status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    CUserStore check(file);
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kWrites; ++i)
            EXPECT_EQ(QueryString(check, "Race", "w" + std::to_string(w) + "_" + std::to_string(i)),
                      std::string(200, static_cast<char>('a' + w)));
}

TEST(UserStore, AFailedWriteLeavesThePreviousFile)
{
    CTempDir dir;
    std::string file = dir.File("registry");
    CUserStore s(file);
    s.CreateKey("Keep");
    s.SetValue("Keep", "v", StoreType::String, "old");
    std::string before = kibtest::ReadFile(file);
    long rc;
    {
        kibtest::CFileSizeLimit limit(static_cast<long>(before.size()) + 10);
        rc = s.SetValue("Keep", "v", StoreType::String, std::string(5000, 'n'));
    }
    EXPECT_NE(rc, kStoreSuccess);
    EXPECT_EQ(kibtest::ReadFile(file), before);
    // Memory follows the file again, not the failed write.
    EXPECT_EQ(QueryString(s, "Keep", "v"), "old");
}

TEST(UserStore, GarbageFileReadsAsEmptyAndIsRepairedByTheNextWrite)
{
    CTempDir dir;
    std::string file = dir.File("registry");
    std::string junk;
    for (int i = 0; i < 5000; ++i)
        junk += static_cast<char>((i * 131) & 0xff);
    junk += "\n[\"unterminated\n\"x\"=dword:zz\n\"y\"=sz:\"no end\n[\"Good\"]\n\"ok\"=dword:0000002a\n";
    kibtest::WriteFile(file, junk);
    CUserStore s(file);
    StoreType t;
    char data[4];
    uint32_t size = 4;
    ASSERT_EQ(s.QueryValue("good", "OK", &t, data, &size), kStoreSuccess);
    EXPECT_EQ(data[0], 42);
    EXPECT_EQ(s.CreateKey("New"), kStoreSuccess);
    CUserStore again(file);
    EXPECT_EQ(again.OpenKey("good"), kStoreSuccess);
    EXPECT_EQ(again.OpenKey("new"), kStoreSuccess);
}

TEST(UserStore, DeleteKeyRemovesItsSubtree)
{
    CTempDir dir;
    CUserStore s(dir.File("registry"));
    s.CreateKey("A\\B\\C");
    s.CreateKey("A\\BB");
    EXPECT_EQ(s.DeleteKey("a\\b"), kStoreSuccess);
    EXPECT_EQ(s.OpenKey("A\\B\\C"), kStoreNotFound);
    EXPECT_EQ(s.OpenKey("A\\B"), kStoreNotFound);
    EXPECT_EQ(s.OpenKey("A\\BB"), kStoreSuccess);
    EXPECT_EQ(s.OpenKey("A"), kStoreSuccess);
}
