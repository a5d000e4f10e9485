#include "editor/TextBuffer.h"

#include "platform/ContentHash.h"
#include "text/TextLayout.h"

#include "support/TempDir.h"
#include "unit/editor/EditorTestUtil.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <thread>

using edtest::CRecordingView;
using edtest::Lines;
using edtest::Load;
using edtest::Notice;
using kibtest::CTempDir;
using kibtest::Entries;
using kibtest::ReadFile;
using kibtest::WriteFile;
using Strings = std::vector<std::string>;

namespace {

// Where two long texts part (-1 when equal), so that a failure does not
// print megabytes.
long FirstDifference(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

} // namespace

TEST(TextBufferLoad, EmptyFileIsOneEmptyLineAndSavesAsNothing)
{
    CTempDir dir;
    WriteFile(dir.File("e.java"), "");
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(dir.File("e.java")));
    EXPECT_EQ(Lines(b), Strings{""});
    EXPECT_EQ(b.LineEndStyle(), EOL_CRLF);
    EXPECT_FALSE(b.IsModified());
    EXPECT_EQ(b.LastChangePos(), TextPos::None());
    ASSERT_TRUE(b.SaveFile(dir.File("e.java")));
    EXPECT_EQ(ReadFile(dir.File("e.java")), "");
}

TEST(TextBufferLoad, StyleDetectionAndSplitting)
{
    CTextBuffer b;
    Load(b, "a\r\nb\r\n");
    EXPECT_EQ(Lines(b), (Strings{"a", "b", ""}));
    EXPECT_EQ(b.LineEndStyle(), EOL_CRLF);
    EXPECT_EQ(b.SaveToMemory(), "a\r\nb\r\n");

    Load(b, "a\nb");
    EXPECT_EQ(b.LineEndStyle(), EOL_LF);
    EXPECT_EQ(Lines(b), (Strings{"a", "b"}));

    Load(b, "a\n\rb");
    EXPECT_EQ(b.LineEndStyle(), EOL_LFCR);
    EXPECT_EQ(Lines(b), (Strings{"a", "b"}));

    // No LF at all: CR-only files are one line.
    Load(b, "a\rb\rc");
    EXPECT_EQ(b.LineEndStyle(), EOL_CRLF);
    EXPECT_EQ(Lines(b), Strings{"a\rb\rc"});

    // An LF at the very start has no CR before it.
    Load(b, "\nx\r\ny");
    EXPECT_EQ(b.LineEndStyle(), EOL_LF);
    EXPECT_EQ(Lines(b), (Strings{"", "x\r", "y"}));
}

TEST(TextBufferLoad, MatcherDoesNotRetestTheResettingByte)
{
    CTextBuffer b;
    // The second CR resets the match, and the LF is not the first byte.
    Load(b, "x\r\r\ny", EOL_CRLF);
    EXPECT_EQ(Lines(b), Strings{"x\r\r\ny"});
    // Three CRs: the third starts a new match, which the LF completes.
    Load(b, "x\r\r\r\ny", EOL_CRLF);
    EXPECT_EQ(Lines(b), (Strings{"x\r\r", "y"}));
    // LF CR: an LF after an LF resets the match.
    Load(b, "a\n\rb\n\n\rc\n\n\n\rd", EOL_LFCR);
    EXPECT_EQ(Lines(b), (Strings{"a", "b\n\n\rc\n\n", "d"}));
    // Whatever the matcher did, saving gives the bytes back.
    EXPECT_EQ(b.SaveToMemory(), "a\n\rb\n\n\rc\n\n\n\rd");
    // A style forced on a file with other terminators.
    Load(b, "a\r\nb", EOL_LF);
    EXPECT_EQ(Lines(b), (Strings{"a\r", "b"}));
}

TEST(TextBufferLoad, OnlyTheFirstLfOfTheFirstBlockDecides)
{
    CTextBuffer b;
    // LF as byte 32767, CR right after it but outside the first block.
    std::string s(32767, 'a');
    s += "\n\rrest";
    Load(b, s);
    EXPECT_EQ(b.LineEndStyle(), EOL_LF);
    EXPECT_EQ(Lines(b), (Strings{std::string(32767, 'a'), "\rrest"}));

    // The first LF lies beyond the first block: CR LF.
    std::string t(40000, 'b');
    t += "\nc";
    Load(b, t);
    EXPECT_EQ(b.LineEndStyle(), EOL_CRLF);
    EXPECT_EQ(b.LineCount(), 1);

    // Later LFs with other neighbours do not matter.
    Load(b, "a\r\nb\nc\n\rd");
    EXPECT_EQ(b.LineEndStyle(), EOL_CRLF);
    EXPECT_EQ(Lines(b), (Strings{"a", "b\nc\n\rd"}));
}

TEST(TextBufferLoad, LongLinesAndTerminatorsAcrossBlocksFromDisk)
{
    CTempDir dir;
    std::string content = std::string(70000, 'x') + "\r\n";
    // A CR LF split exactly at a 32768-byte block boundary.
    const size_t crIndex = 32768 * 3 - 1;
    std::string second(crIndex - content.size(), 'y');
    content += second + "\r\n" + "tail";
    ASSERT_EQ(content[32768 * 3 - 1], '\r');
    WriteFile(dir.File("long.java"), content);
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(dir.File("long.java")));
    EXPECT_EQ(b.LineCount(), 3);
    EXPECT_EQ(b.LineLength(0), 70000);
    EXPECT_EQ(b.LineText(1), second);
    EXPECT_EQ(b.LineText(2), "tail");
    ASSERT_TRUE(b.SaveFile(dir.File("copy.java")));
    EXPECT_EQ(FirstDifference(ReadFile(dir.File("copy.java")), content), -1);
}

TEST(TextBufferLoad, CapacityOfLoadedAndEditedLines)
{
    CTextBuffer b;
    Load(b, std::string("\n") + std::string(15, 'a') + "\n" + std::string(16, 'b') + "\n" + std::string(33, 'c'));
    EXPECT_EQ(b.LineCapacity(0), 16);
    EXPECT_EQ(b.LineCapacity(1), 16);
    EXPECT_EQ(b.LineCapacity(2), 32);
    EXPECT_EQ(b.LineCapacity(3), 48);
    int el, ec;
    // 15 + 1 = 16 does not exceed 16: no reallocation.
    ASSERT_TRUE(b.RawInsert(nullptr, 1, 15, "a", el, ec));
    EXPECT_EQ(b.LineCapacity(1), 16);
    ASSERT_TRUE(b.RawInsert(nullptr, 1, 16, "a", el, ec));
    EXPECT_EQ(b.LineCapacity(1), 32);
    // Deleting never shrinks.
    ASSERT_TRUE(b.RawDelete(nullptr, 1, 0, 1, 17));
    EXPECT_EQ(b.LineCapacity(1), 32);
    // New lines get the capacity for their own length.
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 0, std::string(20, 'n') + "\r\n", el, ec));
    EXPECT_EQ(b.LineCapacity(0), 32);
    EXPECT_EQ(b.LineCapacity(1), 16);
}

TEST(TextBufferLoad, ResetNoticeReachesEveryViewAndHistoryIsGone)
{
    std::vector<Notice> log;
    CRecordingView v1("v1", &log), v2("v2", &log);
    CTextBuffer b;
    b.InitEmpty(EOL_CRLF);
    b.RegisterView(&v1);
    b.RegisterView(&v2);
    b.RegisterView(&v1); // twice is once
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING));
    log.clear();
    Load(b, "new\ntext");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].view, "v1");
    EXPECT_EQ(log[1].view, "v2");
    EXPECT_EQ(log[0].flags, NOTIFY_RESET);
    EXPECT_EQ(log[0].line, -1);
    EXPECT_FALSE(log[0].hasChange);
    EXPECT_EQ(log[0].source, nullptr);
    EXPECT_FALSE(b.CanUndoStep());
    EXPECT_FALSE(b.IsModified());
    EXPECT_EQ(b.LastChangePos(), TextPos::None());
}

TEST(TextBufferLoad, FailuresLeaveThePreviousContentAlone)
{
    CTempDir dir;
    CTextBuffer b;
    Load(b, "keep\nme");
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "!", el, ec, ACT_TYPING));
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    b.RegisterView(&v);

    EXPECT_FALSE(b.LoadFile(dir.File("missing.java")));
    EXPECT_EQ(b.LastErrorCode(), ENOENT);
    EXPECT_FALSE(b.LoadFile(dir.Path())); // a folder
    EXPECT_EQ(b.LastErrorCode(), EISDIR);
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(b.LoadFile(dir.File("pipe"))); // must not block
    EXPECT_EQ(Lines(b), (Strings{"!keep", "me"}));
    EXPECT_TRUE(b.IsModified());
    EXPECT_TRUE(b.CanUndoStep());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(b.LastChangePos(), TextPos::None());
}

TEST(TextBufferLoad, FileThatVanishesBetweenCalls)
{
    CTempDir dir;
    std::string f = dir.File("Gone.java");
    WriteFile(f, "class Gone {}\n");
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(f));
    ASSERT_EQ(unlink(f.c_str()), 0);
    EXPECT_FALSE(b.LoadFile(f));
    EXPECT_EQ(Lines(b), (Strings{"class Gone {}", ""}));
    // Saving brings it back.
    ASSERT_TRUE(b.SaveFile(f));
    EXPECT_EQ(ReadFile(f), "class Gone {}\n");
}

TEST(TextBufferLoad, BadBytes)
{
    CTempDir dir;
    CTextBuffer b;
    std::string nul("a\0b\r\n\0\0\r\nc\0", 12);
    WriteFile(dir.File("nul.java"), nul);
    ASSERT_TRUE(b.LoadFile(dir.File("nul.java")));
    EXPECT_EQ(b.LineCount(), 3);
    EXPECT_EQ(b.LineText(0), std::string("a\0b", 3));
    EXPECT_EQ(b.LineText(1), std::string("\0\0", 2));
    ASSERT_TRUE(b.SaveFile(dir.File("nul2.java")));
    EXPECT_EQ(ReadFile(dir.File("nul2.java")), nul);

    std::string crOnly;
    for (int i = 0; i < 5000; ++i)
        crOnly += "line\r";
    WriteFile(dir.File("cr.java"), crOnly);
    ASSERT_TRUE(b.LoadFile(dir.File("cr.java")));
    EXPECT_EQ(b.LineCount(), 1);
    ASSERT_TRUE(b.SaveFile(dir.File("cr.java")));
    EXPECT_EQ(ReadFile(dir.File("cr.java")), crOnly);
}

TEST(TextBufferLoad, TwentyMegabyteSingleLine)
{
    CTempDir dir;
    std::string big(20 << 20, 'q');
    big[12345] = '\r';
    WriteFile(dir.File("big.java"), big);
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(dir.File("big.java")));
    ASSERT_EQ(b.LineCount(), 1);
    EXPECT_EQ(b.LineLength(0), 20 << 20);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 10, "\r\n", el, ec, ACT_TYPING));
    EXPECT_EQ(b.LineCount(), 2);
    TextPos cur;
    ASSERT_TRUE(b.UndoStep(cur));
    ASSERT_TRUE(b.SaveFile(dir.File("big.java")));
    EXPECT_EQ(FirstDifference(ReadFile(dir.File("big.java")), big), -1);
}

TEST(TextBufferLoad, ReadOnlyMeansNotWritableForThisUser)
{
    CTempDir dir;
    chmod(dir.Path().c_str(), 0777);
    std::string f = dir.File("Ro.java");
    WriteFile(f, "int a;\n");
    chmod(f.c_str(), 0444);
    EXPECT_UNPRIVILEGED_OK([&] {
        CTextBuffer b;
        if (!b.LoadFile(f))
            return 1;
        if (!b.IsReadOnly())
            return 2;
        int el, ec;
        if (b.InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING) || b.RawInsert(nullptr, 0, 0, "x", el, ec))
            return 3;
        if (b.DeleteRange(nullptr, 0, 0, 0, 3, ACT_DELETE) || b.RawDelete(nullptr, 0, 0, 1, 0))
            return 4;
        if (b.CanUndoStep() || b.UndoRecordCount() != 0 || b.IsModified() || b.LineText(0) != "int a;")
            return 5;
        // Bookmarks still work on a file one may only read.
        b.ChangeLineFlag(0, LINE_MARK, true, false);
        if (b.NextMarkedLine(0) != 0)
            return 6;
        // Saving over it is refused and leaves it as it was.
        if (b.SaveFile(f))
            return 7;
        return 0;
    });
    EXPECT_EQ(ReadFile(f), "int a;\n");
    // The owner (or root) may write it: then it is not read-only.
    chmod(f.c_str(), 0644);
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(f));
    EXPECT_FALSE(b.IsReadOnly());
}

TEST(TextBufferLoad, UnreadableFileFails)
{
    CTempDir dir;
    chmod(dir.Path().c_str(), 0777);
    std::string f = dir.File("Secret.java");
    WriteFile(f, "secret");
    chmod(f.c_str(), 0200);
    EXPECT_UNPRIVILEGED_OK([&] {
        CTextBuffer b;
        b.InitEmpty();
        if (b.LoadFile(f))
            return 1;
        if (b.LastErrorCode() != EACCES)
            return 2;
        return b.LineCount() == 1 && b.LineLength(0) == 0 ? 0 : 3;
    });
}

TEST(TextBufferSave, WritesEachStyleAndTheBufferKeepsItsOwn)
{
    CTempDir dir;
    CTextBuffer b;
    Load(b, "a\nb\n\nc");
    EXPECT_EQ(b.LineEndStyle(), EOL_LF);
    ASSERT_TRUE(b.SaveFile(dir.File("crlf"), EOL_CRLF));
    ASSERT_TRUE(b.SaveFile(dir.File("lfcr"), EOL_LFCR));
    ASSERT_TRUE(b.SaveFile(dir.File("own")));
    EXPECT_EQ(ReadFile(dir.File("crlf")), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(ReadFile(dir.File("lfcr")), "a\n\rb\n\r\n\rc");
    EXPECT_EQ(ReadFile(dir.File("own")), "a\nb\n\nc");
    EXPECT_EQ(b.LineEndStyle(), EOL_LF);
    for (const std::string& name : Entries(dir.Path()))
        EXPECT_NE(name.rfind("CRE", 0), 0u) << "temporary file left: " << name;
}

TEST(TextBufferSave, EditedAndUntouchedLinesComeOutInOrder)
{
    CTempDir dir;
    std::string content, expected;
    for (int i = 0; i < 60000; ++i)
        content += "line " + std::to_string(i) + "\r\n";
    WriteFile(dir.File("In.java"), content);
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(dir.File("In.java")));
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, ">", el, ec, ACT_TYPING));
    ASSERT_TRUE(b.InsertTextAt(nullptr, 30000, 4, "\r\nsplit", el, ec, ACT_TYPING));
    ASSERT_TRUE(b.DeleteRange(nullptr, 40000, 2, 40002, 1, ACT_DELETE));
    ASSERT_TRUE(b.InsertTextAt(nullptr, b.LineCount() - 1, 0, "end", el, ec, ACT_TYPING));
    for (int i = 0; i < b.LineCount(); ++i) {
        expected += b.LineText(i);
        if (i + 1 < b.LineCount())
            expected += "\r\n";
    }
    ASSERT_TRUE(b.SaveFile(dir.File("Out.java")));
    EXPECT_EQ(FirstDifference(ReadFile(dir.File("Out.java")), expected), -1);
    ASSERT_TRUE(b.SaveFile(dir.File("Lf.java"), EOL_LF));
    EXPECT_EQ(FirstDifference(ReadFile(dir.File("Lf.java")), b.SaveToMemory(EOL_LF)), -1);
    TextPos cur;
    while (b.CanUndoStep())
        b.UndoStep(cur);
    ASSERT_TRUE(b.SaveFile(dir.File("Back.java")));
    EXPECT_EQ(FirstDifference(ReadFile(dir.File("Back.java")), content), -1);
}

TEST(TextBufferSave, LinkStaysALinkAndModeIsKept)
{
    CTempDir dir;
    std::string real = dir.File("Real.java"), link = dir.File("Link.java");
    WriteFile(real, "old\n");
    chmod(real.c_str(), 0640);
    ASSERT_EQ(symlink("Real.java", link.c_str()), 0);
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(link));
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 3, "er", el, ec, ACT_TYPING));
    ASSERT_TRUE(b.SaveFile(link));
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(real), "older\n");
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(TextBufferSave, AFileDeletedWhileOpenGetsBackTheModeItHad)
{
    CTempDir dir;
    const mode_t oldMask = umask(022);
    for (mode_t mode : {mode_t(0600), mode_t(0755), mode_t(0640)}) {
        std::string f = dir.File("Geheim.java");
        WriteFile(f, "class Geheim {}\n");
        chmod(f.c_str(), mode);
        CTextBuffer b;
        ASSERT_TRUE(b.LoadFile(f));
        ASSERT_EQ(unlink(f.c_str()), 0);
        ASSERT_TRUE(b.SaveFile(f));
        struct stat st;
        ASSERT_EQ(stat(f.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, mode);
        // Gone again after that save: the mode it was saved with.
        ASSERT_EQ(unlink(f.c_str()), 0);
        ASSERT_TRUE(b.SaveFile(f));
        ASSERT_EQ(stat(f.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, mode);
        // Another name is a new file: the usual mode.
        std::string other = dir.File("Kopie.java");
        ASSERT_TRUE(b.SaveFile(other));
        ASSERT_EQ(stat(other.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0644u);
        unlink(other.c_str());
        unlink(f.c_str());
    }
    umask(oldMask);
}

TEST(TextBufferSave, AHardLinkedFileIsReplacedAtomicallyAndTheSplitIsReported)
{
    CTempDir dir;
    std::string a = dir.File("A.java"), b = dir.File("B.java");
    WriteFile(a, "old\n");
    ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
    CTextBuffer buf;
    ASSERT_TRUE(buf.LoadFile(a));
    int el, ec;
    ASSERT_TRUE(buf.InsertTextAt(nullptr, 0, 0, "new ", el, ec, ACT_TYPING));
    ASSERT_TRUE(buf.SaveFile(a));
    EXPECT_TRUE(buf.LastSaveSplitHardLink());
    EXPECT_EQ(ReadFile(a), "new old\n");
    EXPECT_EQ(ReadFile(b), "old\n") << "the other name keeps its text";
    ASSERT_TRUE(buf.SaveFile(a));
    EXPECT_FALSE(buf.LastSaveSplitHardLink()) << "the file has one name now";
}

TEST(TextBufferSave, FullDiskLeavesTargetAndModifiedState)
{
    CTempDir dir;
    std::string f = dir.File("Full.java");
    std::string original = "class Full {}\r\n";
    WriteFile(f, original);
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(f));
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, std::string(3 << 20, 'z'), el, ec, ACT_PASTE));
    ASSERT_TRUE(b.IsModified());
    const int savedBefore = b.SavedPosition();
    {
        kibtest::CFileSizeLimit limit(1 << 20);
        EXPECT_FALSE(b.SaveFile(f));
        EXPECT_EQ(b.LastErrorCode(), EFBIG);
    }
    EXPECT_EQ(ReadFile(f), original);
    EXPECT_TRUE(b.IsModified());
    EXPECT_EQ(b.SavedPosition(), savedBefore);
    EXPECT_EQ(Entries(dir.Path()), Strings{"Full.java"});
    // Once there is room again the same buffer saves.
    ASSERT_TRUE(b.SaveFile(f));
    EXPECT_FALSE(b.IsModified());
    EXPECT_EQ(ReadFile(f).size(), (3u << 20) + original.size());
}

TEST(TextBufferSave, ReadOnlyFolderFailsWithoutTouchingTheTarget)
{
    CTempDir dir;
    chmod(dir.Path().c_str(), 0777);
    std::string sub = dir.File("ro");
    ASSERT_EQ(mkdir(sub.c_str(), 0777), 0);
    std::string f = sub + "/A.java";
    WriteFile(f, "original");
    chmod(f.c_str(), 0666);
    chmod(sub.c_str(), 0555);
    EXPECT_UNPRIVILEGED_OK([&] {
        CTextBuffer b;
        if (!b.LoadFile(f) || b.IsReadOnly())
            return 1; // the file itself is writable
        int el, ec;
        if (!b.InsertTextAt(nullptr, 0, 0, "changed ", el, ec, ACT_TYPING))
            return 2;
        if (b.SaveFile(f))
            return 3; // no temporary file can be made in the folder
        if (!b.IsModified())
            return 4;
        if (b.SaveFile(sub + "/New.java"))
            return 5;
        return 0;
    });
    EXPECT_EQ(ReadFile(f), "original");
    EXPECT_EQ(Entries(sub), Strings{"A.java"});
}

TEST(TextBufferSave, DiscardedBufferRefusesToSave)
{
    CTempDir dir;
    std::string f = dir.File("D.java");
    WriteFile(f, "data");
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFile(f));
    b.DiscardAll();
    EXPECT_EQ(b.LineCount(), 0);
    EXPECT_FALSE(b.SaveFile(f));
    EXPECT_EQ(ReadFile(f), "data");
    int el, ec;
    EXPECT_FALSE(b.RawInsert(nullptr, 0, 0, "x", el, ec));
    b.InitEmpty(EOL_LF);
    EXPECT_EQ(Lines(b), Strings{""});
    EXPECT_EQ(b.LineEndStyle(), EOL_LF);
}

TEST(TextBufferEncoding, DecidedAtLoadAndBytesKeptExactly)
{
    CTempDir dir;
    CTextBuffer b;
    // UTF-8 with a byte order mark: the mark is no part of the first line
    // and is written back in front of it.
    const std::string bom = "\xEF\xBB\xBF// Grüße €\r\nclass A {}\r\n";
    WriteFile(dir.File("bom.java"), bom);
    ASSERT_TRUE(b.LoadFile(dir.File("bom.java"), -1, TextEncoding::Cp1252));
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_TRUE(b.HasBom());
    EXPECT_EQ(b.LineText(0), "// Grüße €");
    ASSERT_TRUE(b.SaveFile(dir.File("bom2.java")));
    EXPECT_EQ(ReadFile(dir.File("bom2.java")), bom);
    EXPECT_EQ(b.SaveToMemory(), bom);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "x", el, ec));
    EXPECT_EQ(b.SaveToMemory(), "\xEF\xBB\xBFx// Grüße €\r\nclass A {}\r\n");

    // A mixed file: Windows-1252, every byte kept.
    const std::string mixed = "// \xE4 und \xC3\xA4\n\x81\x8D\xFF\n";
    WriteFile(dir.File("mixed.java"), mixed);
    ASSERT_TRUE(b.LoadFile(dir.File("mixed.java"), -1, TextEncoding::Utf8));
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_FALSE(b.HasBom());
    ASSERT_TRUE(b.SaveFile(dir.File("mixed2.java")));
    EXPECT_EQ(ReadFile(dir.File("mixed2.java")), mixed);

    // Pure ASCII takes the encoding it is given; so does a new document.
    b.LoadFromMemory("class A {}\n", -1, TextEncoding::Cp1252);
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    b.LoadFromMemory("class A {}\n", -1, TextEncoding::Utf8);
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    b.InitEmpty(EOL_LF, TextEncoding::Cp1252);
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_FALSE(b.HasBom());
    b.LoadFromMemory("// Köln\n", -1, TextEncoding::Cp1252);
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(b.SaveToMemory(), "// Köln\n");
}

TEST(TextBufferEncoding, AFailedLoadKeepsTheEncoding)
{
    CTempDir dir;
    CTextBuffer b;
    b.LoadFromMemory("\xEF\xBB\xBFx", -1, TextEncoding::Cp1252);
    ASSERT_TRUE(b.HasBom());
    EXPECT_FALSE(b.LoadFile(dir.File("missing.java")));
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_TRUE(b.HasBom());
    EXPECT_EQ(b.SaveToMemory(), "\xEF\xBB\xBFx");
}

namespace {

// The lines of bytes by the terminator rule, byte by byte: after the first
// terminator byte a byte that does not continue it resets the match and is
// not tested against the first byte again.
Strings ReferenceLines(const std::string& bytes, int style)
{
    Strings lines;
    std::string line;
    if (style == EOL_LF) {
        for (char c : bytes) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
    } else {
        const char first = style == EOL_CRLF ? '\r' : '\n';
        const char second = style == EOL_CRLF ? '\n' : '\r';
        bool matched = false;
        for (char c : bytes) {
            if (matched && c == second) {
                line.pop_back();
                lines.push_back(line);
                line.clear();
                matched = false;
                continue;
            }
            matched = !matched && c == first;
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

// Random text with runs of CR and LF, tabs and UTF-8, and terminator runs
// put on both sides of every read piece's edge.
std::string MixedText(size_t size, unsigned seed)
{
    std::string s;
    unsigned x = seed;
    auto next = [&] {
        x = x * 1103515245u + 12345u;
        return (x >> 16) & 0x7fff;
    };
    while (s.size() < size) {
        unsigned r = next() % 20;
        if (r < 3)
            s += std::string(1 + next() % 3, '\r');
        else if (r < 6)
            s += std::string(1 + next() % 3, '\n');
        else if (r == 6)
            s += "\t";
        else if (r == 7)
            s += "\xC3\xA4";
        else
            s += std::string(1 + next() % 40, static_cast<char>('a' + next() % 26));
    }
    s.resize(size);
    for (size_t edge = 256 << 10; edge + 4 < size; edge += 256 << 10) {
        s.replace(edge - 3, 6, "\r\r\n\n\r\r");
        s[edge + 40] = '\n';
    }
    return s;
}

} // namespace

TEST(TextBufferLoad, LargeFilesSplitLikeTheRuleAcrossReadPieces)
{
    CTempDir dir;
    const std::string path = dir.File("mixed.java");
    // Seed 4 is big enough to be split on a second thread while it is read.
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        // Keep the UTF-8 valid: a cut may not split the two bytes.
        std::string text = MixedText((256 << 10) * (seed == 4 ? 20 : 3) + 777 * seed, seed);
        for (size_t i = 0; i < text.size(); ++i)
            if (static_cast<unsigned char>(text[i]) == 0xC3 && (i + 1 == text.size() || text[i + 1] != '\xA4'))
                text[i] = 'z';
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\xA4' && (i == 0 || static_cast<unsigned char>(text[i - 1]) != 0xC3))
                text[i] = 'z';
        WriteFile(path, text);
        for (int style : {EOL_CRLF, EOL_LFCR, EOL_LF}) {
            CTextBuffer file, memory;
            ASSERT_TRUE(file.LoadFile(path, style));
            ASSERT_TRUE(memory.LoadFromMemory(text, style));
            const Strings expected = ReferenceLines(text, style);
            ASSERT_EQ(file.LineCount(), static_cast<int>(expected.size())) << "seed " << seed << " style " << style;
            EXPECT_EQ(Lines(file), expected) << "seed " << seed << " style " << style;
            EXPECT_EQ(Lines(memory), expected);
            EXPECT_EQ(file.Encoding(), TextEncoding::Utf8);
            EXPECT_EQ(FirstDifference(file.SaveToMemory(style), memory.SaveToMemory(style)), -1);
        }
        CTextBuffer detected;
        ASSERT_TRUE(detected.LoadFile(path));
        const size_t lf = text.find('\n');
        const int style = lf > 0 && text[lf - 1] == '\r' ? EOL_CRLF : lf + 1 < text.size() && text[lf + 1] == '\r' ? EOL_LFCR : EOL_LF;
        EXPECT_EQ(detected.LineEndStyle(), style);
    }
}

TEST(TextBufferLoad, AFileThatGrowsWhileReadLoadsAsTheBytesRead)
{
    // Another program appends while a big file loads: the block may have to
    // move in the middle of the load. Whatever was read must come out whole.
    CTempDir dir;
    const std::string path = dir.File("grows.java");
    std::string start;
    while (start.size() < (size_t(6) << 20))
        start += "    int line" + std::to_string(start.size()) + " = 1; // \xC3\xA4\n";
    for (int round = 0; round < 4; ++round) {
        WriteFile(path, start);
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            std::FILE* f = std::fopen(path.c_str(), "ab");
            if (!f)
                return;
            const std::string more(64 << 10, 'g');
            for (int i = 0; i < 400 && !stop; ++i) {
                std::fwrite(more.data(), 1, more.size(), f);
                std::fputc('\n', f);
                std::fflush(f);
            }
            std::fclose(f);
        });
        CTextBuffer b;
        const bool ok = b.LoadFile(path);
        stop = true;
        writer.join();
        ASSERT_TRUE(ok) << "round " << round;
        const std::string now = ReadFile(path);
        ASSERT_GE(now.size(), b.LastLoad().size);
        const std::string read = now.substr(0, b.LastLoad().size);
        EXPECT_EQ(Lines(b), ReferenceLines(read, EOL_LF)) << "round " << round;
        EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
        platform::CContentHash hash;
        hash.Update(read.data(), read.size());
        EXPECT_EQ(b.LastLoad().contentHash, hash.Value()) << "round " << round;
    }
}

TEST(TextBufferLoad, EncodingOfALargeFileIsDecidedByAllItsBytes)
{
    CTempDir dir;
    const std::string path = dir.File("enc.java");
    const size_t piece = 256 << 10;
    // Three pieces, and twenty, which a big file's load hashes and checks
    // on a second thread while it reads.
    for (const size_t pieces : {size_t(3), size_t(20)}) {
        std::string ascii;
        while (ascii.size() < piece * pieces)
            ascii += "int a = 1;\n";
        struct Case {
            const char* what;
            std::string bytes;
            TextEncoding encoding;
            bool bom;
        };
        std::string split = ascii;
        split.replace(piece - 1, 2, "\xC3\xA4"); // a sequence across a piece's edge
        std::string lone = ascii;
        lone[piece - 1] = '\xE4'; // Windows-1252 "ä" at a piece's edge
        std::string cut = ascii + "\xC3";
        std::string bomLate = std::string(textencoding::kBom) + ascii;
        bomLate[piece * 2 + 5] = '\xFF';
        std::string bomGood = std::string(textencoding::kBom) + ascii + "\xE2\x82\xAC";
        std::string loneLast = ascii;
        loneLast[ascii.size() - 3] = '\xE4'; // in the last piece read
        const Case cases[] = {
            {"sequence across an edge", split, TextEncoding::Utf8, false},
            {"lone high byte", lone, TextEncoding::Cp1252, false},
            {"sequence cut by the end", cut, TextEncoding::Cp1252, false},
            {"mark, then a bad byte late", bomLate, TextEncoding::Cp1252, false},
            {"mark and valid UTF-8", bomGood, TextEncoding::Utf8, true},
            {"lone high byte in the last piece", loneLast, TextEncoding::Cp1252, false},
        };
        for (const Case& c : cases) {
            WriteFile(path, c.bytes);
            CTextBuffer b;
            ASSERT_TRUE(b.LoadFile(path, -1, TextEncoding::Cp1252)) << c.what;
            EXPECT_EQ(b.Encoding(), c.encoding) << c.what;
            EXPECT_EQ(b.HasBom(), c.bom) << c.what;
            const std::string body = c.bom ? c.bytes.substr(textencoding::kBom.size()) : c.bytes;
            EXPECT_EQ(Lines(b), ReferenceLines(body, EOL_LF)) << c.what << ": a mark that stays is text";
            EXPECT_EQ(FirstDifference(b.SaveToMemory(), c.bytes), -1) << c.what;
            // The watch gets the state of exactly these bytes.
            platform::CContentHash hash;
            hash.Update(c.bytes.data(), c.bytes.size());
            EXPECT_TRUE(b.LastLoad().valid);
            EXPECT_EQ(b.LastLoad().size, c.bytes.size());
            EXPECT_EQ(b.LastLoad().stamp.size, c.bytes.size());
            EXPECT_EQ(b.LastLoad().contentHash, hash.Value()) << c.what;
        }
    }
    CTextBuffer memory;
    ASSERT_TRUE(memory.LoadFromMemory("x"));
    EXPECT_FALSE(memory.LastLoad().valid) << "no file behind it";
}

TEST(TextBufferLoad, PlainAndTabIndentedLinesAreKnownUntilChanged)
{
    // Lines of every length up to 40 after none, one or three tabs, each
    // with a tab, a high byte or nothing at every place: the marks must not
    // leak to the next line, and a tab is indentation only before all else.
    std::string text;
    std::vector<bool> plain;
    std::vector<int> plainAfter; // the tabs a line starts with when only they are special; -1 otherwise
    std::vector<int> sizes;
    for (int tabs : {0, 1, 3})
        for (int len = 0; len <= 40; ++len)
            for (int at = -1; at < len; ++at)
                for (char special : {'\t', '\xE4'}) {
                    if (at < 0 && special == '\xE4')
                        continue;
                    std::string line(static_cast<size_t>(len), 'p');
                    if (at >= 0)
                        line[static_cast<size_t>(at)] = special;
                    line.insert(0, static_cast<size_t>(tabs), '\t');
                    text += line + "\r\n";
                    const int lead = at < 0 ? tabs : (at == 0 && special == '\t' ? tabs + 1 : -1);
                    plain.push_back(lead == 0);
                    plainAfter.push_back(lead);
                    sizes.push_back(static_cast<int>(line.size()));
                }
    text += "last";
    plain.push_back(true);
    plainAfter.push_back(0);
    sizes.push_back(4);
    for (bool fromFile : {true, false}) {
        CTempDir dir;
        CTextBuffer b;
        if (fromFile) {
            WriteFile(dir.File("p.java"), text);
            ASSERT_TRUE(b.LoadFile(dir.File("p.java")));
        } else {
            ASSERT_TRUE(b.LoadFromMemory(text));
        }
        ASSERT_EQ(b.LineCount(), static_cast<int>(plain.size()));
        int wrong = 0;
        for (int i = 0; i < b.LineCount(); ++i)
            wrong += b.IsPlainLine(i) != plain[static_cast<size_t>(i)];
        EXPECT_EQ(wrong, 0) << (fromFile ? "file" : "memory");
        // A changed line may have got a tab: it is no longer known plain.
        int el, ec;
        ASSERT_TRUE(b.IsPlainLine(0));
        ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "x", el, ec, ACT_TYPING));
        EXPECT_FALSE(b.IsPlainLine(0));
        b.ChangeLineFlag(1, LINE_MARK, true);
        EXPECT_EQ(b.LineFlags(1), LINE_MARK) << "the mark is no line flag";
        EXPECT_TRUE(b.IsPlainLine(1)) << "a bookmark changes no text";
        EXPECT_FALSE(b.IsPlainLine(-1));
        EXPECT_FALSE(b.IsPlainLine(b.LineCount()));
        // The display lengths known from the load, at several tab widths: -1
        // on both sides of the text and for the changed line.
        const int n = b.LineCount();
        for (int tab : {1, 4, 8}) {
            std::vector<int32_t> lengths(static_cast<size_t>(n) + 4, 77);
            b.KnownLengths(-2, n + 4, tab, lengths.data());
            int disagree = 0;
            for (int i = 1; i < n; ++i) {
                const int lead = plainAfter[static_cast<size_t>(i)];
                const int32_t want = lead < 0 ? -1 : sizes[static_cast<size_t>(i)] + lead * (tab - 1);
                disagree += lengths[static_cast<size_t>(i + 2)] != want;
                if (want >= 0)
                    disagree += want != textlayout::DisplayLength(b.LineChars(i), b.LineLength(i), tab, b.Encoding());
            }
            EXPECT_EQ(disagree, 0) << (fromFile ? "file" : "memory") << " tab " << tab;
            EXPECT_EQ(lengths[2], -1) << "line 0 was changed";
            EXPECT_EQ(lengths[0], -1);
            EXPECT_EQ(lengths[1], -1);
            EXPECT_EQ(lengths[static_cast<size_t>(n) + 2], -1);
            EXPECT_EQ(lengths.back(), -1);
        }
        // A character typed into an indented line ends what the load knew.
        const int indented = static_cast<int>(std::find(plainAfter.begin(), plainAfter.end(), 3) - plainAfter.begin());
        ASSERT_LT(indented, n);
        int32_t known = 0;
        b.KnownLengths(indented, 1, 4, &known);
        ASSERT_EQ(known, sizes[static_cast<size_t>(indented)] + 9);
        ASSERT_TRUE(b.InsertTextAt(nullptr, indented, 3, "q", el, ec, ACT_TYPING));
        b.KnownLengths(indented, 1, 4, &known);
        EXPECT_EQ(known, -1);
    }
}

TEST(TextBufferLoad, TakingAnotherBuffersLoadIsLikeLoadingHere)
{
    CTempDir dir;
    const std::string f = dir.File("Grüße.java");
    // A BOM, LF ends, a tab and UTF-8: every decision of the load is carried.
    WriteFile(f, "\xEF\xBB\xBF" "class Grüße {\n\tint größe;\n}\n");
    chmod(f.c_str(), 0640);
    CTextBuffer direct;
    ASSERT_TRUE(direct.LoadFile(f));

    CTextBuffer loaded;
    ASSERT_TRUE(loaded.LoadFile(f));
    std::vector<Notice> log;
    CRecordingView view("v", &log);
    CTextBuffer b;
    b.InitEmpty(EOL_CRLF);
    b.RegisterView(&view);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "alt", el, ec, ACT_TYPING));
    log.clear();
    b.TakeLoadedFrom(loaded);

    EXPECT_EQ(Lines(b), Lines(direct));
    EXPECT_EQ(b.Encoding(), direct.Encoding());
    EXPECT_TRUE(b.HasBom());
    EXPECT_EQ(b.LineEndStyle(), direct.LineEndStyle());
    EXPECT_EQ(b.IsReadOnly(), direct.IsReadOnly());
    EXPECT_FALSE(b.IsModified());
    EXPECT_FALSE(b.CanUndoStep());
    for (int i = 0; i < direct.LineCount(); ++i)
        EXPECT_EQ(b.IsPlainLine(i), direct.IsPlainLine(i)) << i;
    EXPECT_TRUE(b.IsPlainLine(2)); // "}"
    ASSERT_TRUE(b.LastLoad().valid);
    EXPECT_EQ(b.LastLoad().size, direct.LastLoad().size);
    EXPECT_EQ(b.LastLoad().contentHash, direct.LastLoad().contentHash);
    EXPECT_TRUE(b.LastLoad().stamp == direct.LastLoad().stamp);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].flags, NOTIFY_RESET);
    EXPECT_EQ(loaded.LineCount(), 0);
    EXPECT_FALSE(loaded.LastLoad().valid);

    // The file's own mode comes along: deleted and saved again, it gets it back.
    ASSERT_EQ(unlink(f.c_str()), 0);
    ASSERT_TRUE(b.SaveFile(f));
    struct stat st;
    ASSERT_EQ(stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadFile(f), "\xEF\xBB\xBF" "class Grüße {\n\tint größe;\n}\n");
}
