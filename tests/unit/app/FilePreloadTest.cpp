#include "app/FilePreload.h"
#include "editor/TextBuffer.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

using kibtest::CTempDir;
using kibtest::WriteFile;

namespace {

std::vector<std::string> Lines(const CTextBuffer& b)
{
    std::vector<std::string> out;
    for (int i = 0; i < b.LineCount(); ++i)
        out.emplace_back(b.LineChars(i), static_cast<size_t>(b.LineLength(i)));
    return out;
}

// Moves the file's modification time by seconds, as a later write would.
void Touch(const std::string& path, int seconds)
{
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    times[1].tv_sec += seconds;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// A buffer holding its one empty line, to see that nothing was handed to it.
struct CUnloaded : CTextBuffer {
    CUnloaded() { InitEmpty(EOL_LF); }
};

} // namespace

TEST(FilePreload, HandsOverWhatItReadOnceAndOnlyForThatFile)
{
    CTempDir dir;
    const std::string f = dir.File("Grüße.java"), other = dir.File("Other.java");
    WriteFile(f, "class Grüße {\n\t// schön\n}\n");
    WriteFile(other, "class Other {}\n");
    CTextBuffer direct;
    ASSERT_TRUE(direct.LoadFile(f));

    CFilePreload preload;
    preload.Start(f);
    CTextBuffer b;
    b.InitEmpty(EOL_CRLF);
    ASSERT_TRUE(preload.TakeInto(f, b));
    EXPECT_EQ(Lines(b), Lines(direct));
    EXPECT_EQ(b.Encoding(), direct.Encoding());
    EXPECT_EQ(b.LineEndStyle(), EOL_LF);
    EXPECT_EQ(b.LastLoad().contentHash, direct.LastLoad().contentHash);
    // Handed over once: a second open of the same file reads it itself.
    CTextBuffer again;
    again.InitEmpty(EOL_CRLF);
    EXPECT_FALSE(preload.TakeInto(f, again));
    EXPECT_EQ(again.LineCount(), 1);

    // Another file than the one read gets nothing, and the read is dropped.
    preload.Start(f);
    CTextBuffer wrong;
    wrong.InitEmpty(EOL_CRLF);
    EXPECT_FALSE(preload.TakeInto(other, wrong));
    EXPECT_EQ(Lines(wrong), std::vector<std::string>{""});
    EXPECT_FALSE(preload.TakeInto(f, wrong));
}

TEST(FilePreload, AFileChangedSinceTheReadIsNotHandedOver)
{
    CTempDir dir;
    const std::string f = dir.File("A.java");
    struct Case {
        const char* what;
        void (*change)(const std::string&);
    } cases[] = {
        {"same size, other bytes, later time",
         [](const std::string& p) {
             WriteFile(p, "class B {}\n");
             Touch(p, 5);
         }},
        {"same bytes written again, later time", [](const std::string& p) { Touch(p, 5); }},
        {"grown", [](const std::string& p) { WriteFile(p, "class A {}\nclass C {}\n"); }},
        {"replaced by another file",
         [](const std::string& p) {
             const std::string tmp = p + ".neu";
             WriteFile(tmp, "class A {}\n");
             struct stat st;
             ASSERT_EQ(stat(p.c_str(), &st), 0);
             struct timespec times[2] = {st.st_atim, st.st_mtim};
             ASSERT_EQ(utimensat(AT_FDCWD, tmp.c_str(), times, 0), 0);
             ASSERT_EQ(rename(tmp.c_str(), p.c_str()), 0);
         }},
        {"deleted", [](const std::string& p) { ASSERT_EQ(unlink(p.c_str()), 0); }},
    };
    for (const Case& c : cases) {
        WriteFile(f, "class A {}\n");
        CFilePreload preload;
        preload.Start(f);
        preload.Finish();
        c.change(f);
        CUnloaded b;
        EXPECT_FALSE(preload.TakeInto(f, b)) << c.what;
        EXPECT_EQ(Lines(b), std::vector<std::string>{""}) << c.what;
    }
}

TEST(FilePreload, ARelativeNameIsReadFromWhereTheProgramStarted)
{
    CTempDir dir;
    WriteFile(dir.File("R.java"), "class R {}\n");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    CFilePreload preload;
    preload.Start("R.java");
    ASSERT_EQ(chdir(cwd), 0);
    CUnloaded b;
    ASSERT_TRUE(preload.TakeInto(dir.File("R.java"), b));
    EXPECT_EQ(Lines(b), (std::vector<std::string>{"class R {}", ""}));
}

TEST(FilePreload, WhatTheOpeningRefusesIsNotRead)
{
    CTempDir dir;
    const std::string fifo = dir.File("pipe.java");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, dir.Path(), dir.File("fehlt.java"), std::string()}) {
        // A pipe opened for reading would block until a writer comes, and
        // the take would wait for ever.
        CFilePreload preload;
        preload.Start(path);
        CUnloaded b;
        EXPECT_FALSE(preload.TakeInto(path, b)) << path;
    }
}
