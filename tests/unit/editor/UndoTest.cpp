#include "editor/TextBuffer.h"

#include "support/TempDir.h"
#include "unit/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using edtest::CRecordingView;
using edtest::Lines;
using edtest::Load;
using edtest::Notice;
using Strings = std::vector<std::string>;

namespace {

// Types like the edit view: a word merges into one group, a space starts one.
void Type(CTextBuffer& b, CRecordingView& v, const std::string& text)
{
    for (char c : text) {
        b.OpenUndoGroup(c != ' ');
        int el, ec;
        ASSERT_TRUE(b.InsertTextAt(&v, v.caret.y, v.caret.x, std::string(1, c), el, ec, ACT_TYPING));
        v.caret = TextPos(ec, el);
        b.CloseUndoGroup(&v);
    }
}

std::string Undo(CTextBuffer& b)
{
    std::string d;
    b.UndoDescription(d);
    TextPos cur;
    EXPECT_TRUE(b.UndoStep(cur));
    return d;
}

// Records on the history: each group as the number of its records.
std::vector<int> Groups(const CTextBuffer& b)
{
    std::vector<int> g;
    for (int i = 0; i < b.UndoRecordCount(); ++i) {
        if (b.UndoRecordAt(i).flags & UNDO_BEGINGROUP)
            g.push_back(0);
        EXPECT_FALSE(g.empty()) << "the history must start at a group start";
        if (!g.empty())
            ++g.back();
    }
    return g;
}

} // namespace

TEST(Undo, WordsAreOneStepEachAndSpacesStartAStep)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    b.InitEmpty();
    b.RegisterView(&v);
    Type(b, v, "hello world");
    EXPECT_EQ(b.LineText(0), "hello world");
    EXPECT_EQ(Groups(b), (std::vector<int>{5, 6}));
    EXPECT_EQ(Undo(b), "Eingabe");
    EXPECT_EQ(b.LineText(0), "hello");
    std::string redo;
    b.RedoDescription(redo);
    EXPECT_EQ(redo, "Eingabe");
    EXPECT_EQ(Undo(b), "Eingabe");
    EXPECT_EQ(b.LineText(0), "");
    EXPECT_FALSE(b.CanUndoStep());
    std::string none = "x";
    b.UndoDescription(none);
    EXPECT_EQ(none, "");

    TextPos cur;
    ASSERT_TRUE(b.RedoStep(cur));
    EXPECT_EQ(b.LineText(0), "hello");
    EXPECT_EQ(cur, TextPos(5, 0));
    ASSERT_TRUE(b.RedoStep(cur));
    EXPECT_EQ(b.LineText(0), "hello world");
    EXPECT_FALSE(b.CanRedoStep());
    EXPECT_FALSE(b.RedoStep(cur));
}

TEST(Undo, UndoAndRedoNotifyWithoutSourceAndReportTheCaret)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    Load(b, "abcd\nefgh");
    b.RegisterView(&v);
    ASSERT_TRUE(b.DeleteRange(&v, 0, 2, 1, 1, ACT_DELSEL));
    EXPECT_EQ(b.LineText(0), "abfgh");
    log.clear();
    TextPos cur;
    ASSERT_TRUE(b.UndoStep(cur));
    EXPECT_EQ(Lines(b), (Strings{"abcd", "efgh"}));
    EXPECT_EQ(cur, TextPos(1, 1)); // the end of the restored text
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].source, nullptr);
    ASSERT_TRUE(b.RedoStep(cur));
    EXPECT_EQ(cur, TextPos(2, 0));
    EXPECT_EQ(b.LineText(0), "abfgh");
}

TEST(Undo, TypingAfterUndoDiscardsRedo)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    b.InitEmpty();
    Type(b, v, "ab cd");
    Undo(b);
    EXPECT_TRUE(b.CanRedoStep());
    v.caret = TextPos(2, 0);
    Type(b, v, "X");
    EXPECT_FALSE(b.CanRedoStep());
    EXPECT_EQ(b.LineText(0), "abX");
    // X merged into the group of "ab", the last one applied.
    EXPECT_EQ(Undo(b), "Eingabe");
    EXPECT_EQ(b.LineText(0), "");
}

TEST(Undo, ModifiedFollowsTheSavedPosition)
{
    kibtest::CTempDir dir;
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    b.InitEmpty();
    EXPECT_FALSE(b.IsModified());
    Type(b, v, "one two");
    EXPECT_TRUE(b.IsModified());
    ASSERT_TRUE(b.SaveFile(dir.File("M.java")));
    EXPECT_FALSE(b.IsModified());
    EXPECT_EQ(b.SavedPosition(), b.UndoPosition());
    Type(b, v, " three");
    EXPECT_TRUE(b.IsModified());
    Undo(b); // back to the saved text
    EXPECT_FALSE(b.IsModified());
    Undo(b); // before it
    EXPECT_TRUE(b.IsModified());
    TextPos cur;
    b.RedoStep(cur);
    EXPECT_FALSE(b.IsModified());
    b.RedoStep(cur);
    EXPECT_TRUE(b.IsModified());
}

TEST(Undo, SavedStateAmongDiscardedRedoCanNeverReturn)
{
    kibtest::CTempDir dir;
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    b.InitEmpty();
    Type(b, v, "a b c");
    ASSERT_TRUE(b.SaveFile(dir.File("S.java"))); // saved at 5 records
    Undo(b);
    Undo(b); // "a " left, 3 records
    v.caret = TextPos(2, 0);
    Type(b, v, " x y"); // 3 + 4 records: position 7 again, but other text
    for (int i = 0; i < 4 && b.CanUndoStep(); ++i) {
        Undo(b);
        EXPECT_TRUE(b.IsModified()) << "text " << b.LineText(0) << " differs from the saved one";
    }
    EXPECT_EQ(b.SavedPosition(), -1);
}

TEST(Undo, CapDropsTheWholeOldestGroup)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    b.InitEmpty();
    // One group of 5 records, then single-record groups up to the cap.
    b.OpenUndoGroup(false);
    for (int i = 0; i < 5; ++i) {
        int el, ec;
        ASSERT_TRUE(b.InsertTextAt(&v, 0, 0, "g", el, ec, ACT_INDENT));
    }
    b.CloseUndoGroup(&v);
    for (int i = 0; i < 1019; ++i) {
        int el, ec;
        ASSERT_TRUE(b.InsertTextAt(&v, 0, 0, "s", el, ec, ACT_TYPING));
    }
    ASSERT_EQ(b.UndoRecordCount(), 1024);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(&v, 0, 0, "t", el, ec, ACT_TYPING));
    EXPECT_EQ(b.UndoRecordCount(), 1020);
    EXPECT_EQ(b.UndoPosition(), 1020);
    EXPECT_TRUE(b.UndoRecordAt(0).flags & UNDO_BEGINGROUP);
    EXPECT_EQ(b.UndoRecordAt(0).action, ACT_TYPING);
    // The saved state (the empty text) is gone for good.
    EXPECT_EQ(b.SavedPosition(), -1);
    TextPos cur;
    while (b.CanUndoStep())
        b.UndoStep(cur);
    EXPECT_EQ(b.LineText(0), "ggggg");
    EXPECT_TRUE(b.IsModified());
}

TEST(Undo, ASingleGroupLargerThanTheCapStaysWhole)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    Load(b, "before");
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(&v, 0, 0, ">", el, ec, ACT_TYPING));
    // A block indent of 1500 lines: one group of 1500 records.
    b.OpenUndoGroup(false);
    for (int i = 0; i < 1500; ++i)
        ASSERT_TRUE(b.InsertTextAt(&v, 0, 0, "\t", el, ec, ACT_INDENT));
    b.CloseUndoGroup(&v);
    // The older group made room; the big one grew past the cap.
    EXPECT_EQ(Groups(b), std::vector<int>{1500});
    EXPECT_EQ(Undo(b), "Einrücken");
    EXPECT_EQ(b.LineText(0), ">before");
    TextPos cur;
    ASSERT_TRUE(b.RedoStep(cur));
    EXPECT_EQ(b.LineLength(0), 1507);
    // The next group replaces it as a whole.
    ASSERT_TRUE(b.InsertTextAt(&v, 0, 0, "x", el, ec, ACT_TYPING));
    EXPECT_EQ(Groups(b), std::vector<int>{1});
}

TEST(Undo, AfterEditGroupRunsOnceAndItsRecordsAreAStepOfTheirOwn)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    Load(b, "    if (x) {");
    v.onAfterEdit = [&](int action, const std::string& text) {
        if (action == ACT_TYPING && text == "\r\n") {
            int el, ec;
            ASSERT_TRUE(b.InsertTextAt(nullptr, 1, 0, "        ", el, ec, ACT_AUTOINDENT));
        }
    };
    b.OpenUndoGroup(false);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(&v, 0, 12, "\r\n", el, ec, ACT_TYPING));
    b.CloseUndoGroup(&v);
    ASSERT_EQ(v.afterEdit.size(), 1u);
    EXPECT_EQ(v.afterEdit[0].first, ACT_TYPING);
    EXPECT_EQ(v.afterEdit[0].second, "\r\n");
    EXPECT_EQ(Lines(b), (Strings{"    if (x) {", "        "}));
    EXPECT_EQ(Groups(b), (std::vector<int>{1, 1}));
    EXPECT_EQ(Undo(b), "Automatischens Einrücken");
    EXPECT_EQ(b.LineText(1), "");
    EXPECT_EQ(Undo(b), "Eingabe");
    EXPECT_EQ(Lines(b), Strings{"    if (x) {"});
    // Without a source view no callback runs.
    v.afterEdit.clear();
    b.OpenUndoGroup(false);
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "\r\n", el, ec, ACT_TYPING));
    b.CloseUndoGroup(nullptr);
    EXPECT_TRUE(v.afterEdit.empty());
    EXPECT_FALSE(b.IsUndoGroupOpen());
}

TEST(Undo, AGroupThatChangedNothingIsNotFollowedUp)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    b.InitEmpty();
    b.OpenUndoGroup(false);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(&v, 0, 0, "\r\n", el, ec, ACT_TYPING));
    b.CloseUndoGroup(&v);
    ASSERT_EQ(v.afterEdit.size(), 1u);
    // Delete at the end of the text: the command's group records nothing, so
    // the line break's follow-up (its indentation) must not run again.
    b.OpenUndoGroup(false);
    EXPECT_FALSE(b.DeleteRange(&v, 1, 0, 1, 1, ACT_DELETE));
    b.CloseUndoGroup(&v);
    EXPECT_EQ(v.afterEdit.size(), 1u);
}

TEST(Undo, DescriptionIsTheActionOfTheGroupsFirstRecord)
{
    CTextBuffer b;
    Load(b, "abc");
    int el, ec;
    b.OpenUndoGroup(false);
    ASSERT_TRUE(b.DeleteRange(nullptr, 0, 0, 0, 1, ACT_DELSEL));
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "zz", el, ec, ACT_PASTE));
    b.CloseUndoGroup();
    std::string d;
    b.UndoDescription(d);
    EXPECT_EQ(d, "Selektion löschen");
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 0, "q", el, ec, 77));
    b.UndoDescription(d);
    EXPECT_EQ(d, ""); // unknown code
    std::string name = "keep";
    EXPECT_FALSE(b.ActionName(77, name));
    EXPECT_EQ(name, "keep");
    const std::pair<int, const char*> table[] = {
        {0, "Unbekannt"}, {1, "Einfügen"}, {2, "Selektion löschen"}, {3, "Ausschneiden"},
        {4, "Eingabe"}, {5, "Backspace"}, {6, "Einrücken"}, {7, "Drag & Drop"}, {8, "Ersetzen"},
        {9, "Löschen"}, {10, "Automatischens Einrücken"}, {11, "Automatisches Vervollständigen"},
        {12, "Automatisches Expandieren"}, {13, "In Kleinbuchstaben umwandeln"},
        {14, "In Großbuchstaben umwandeln"}, {15, "Zeichen umkehren"}, {16, "Erster Buchstabe gross"},
        {17, "In Satzform wandeln"}, {18, "Selektion einkommentieren"}, {19, "Selektion auskommentieren"},
        {201, "Tabs in Spaces umwandeln"}, {202, "Spaces in Tabs umwandeln"}, {203, "Kodierung umwandeln"}};
    for (auto [code, text] : table) {
        ASSERT_TRUE(b.ActionName(code, name)) << code;
        EXPECT_EQ(name, text);
    }
    EXPECT_FALSE(b.ActionName(20, name));
    EXPECT_FALSE(b.ActionName(200, name));
}

TEST(Undo, InsertionPastTheLineEndIsRecordedWhereItWent)
{
    CTextBuffer b;
    Load(b, "ab\ncd");
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(nullptr, 0, 7, "xyz", el, ec, ACT_PASTE));
    EXPECT_EQ(b.UndoRecordAt(0).start, TextPos(2, 0));
    TextPos cur;
    ASSERT_TRUE(b.UndoStep(cur));
    EXPECT_EQ(Lines(b), (Strings{"ab", "cd"}));
    EXPECT_EQ(cur, TextPos(2, 0));
}

TEST(Undo, DeletedLinesWithCrAndNulBytesComeBackExactly)
{
    CTextBuffer b;
    // CR LF file whose lines hold lone CRs, CR CR LF and NUL bytes.
    const std::string file = std::string("a\rb\r\n") + "x\r\r\ny\r\n" + std::string("\0z\r\r\r\n", 6) + "end";
    Load(b, file);
    ASSERT_EQ(b.LineCount(), 4);
    ASSERT_TRUE(b.DeleteRange(nullptr, 0, 1, 3, 1, ACT_DELETE));
    EXPECT_EQ(b.LineCount(), 1);
    TextPos cur;
    ASSERT_TRUE(b.UndoStep(cur));
    EXPECT_EQ(b.SaveToMemory(), file);
    EXPECT_EQ(cur, TextPos(1, 3));
    ASSERT_TRUE(b.RedoStep(cur));
    ASSERT_TRUE(b.UndoStep(cur));
    EXPECT_EQ(b.SaveToMemory(), file);
    // Within one line.
    ASSERT_TRUE(b.DeleteRange(nullptr, 0, 0, 0, 3, ACT_DELETE));
    ASSERT_TRUE(b.UndoStep(cur));
    EXPECT_EQ(b.SaveToMemory(), file);
}

TEST(Undo, RandomEditsUndoToTheOriginalAndRedoToTheEnd)
{
    std::mt19937 rng(1234);
    CTextBuffer b;
    const std::string original = "class A {\r\n\tint x;\r\n}\r\n";
    Load(b, original);
    const std::string snippets[] = {"a", "\r\n", "x\ry", "", "{\r\n}", "\n", std::string("\0", 1), "long text here"};
    for (int step = 0; step < 600; ++step) {
        const int line = static_cast<int>(rng() % static_cast<unsigned>(b.LineCount()));
        const int pos = static_cast<int>(rng() % static_cast<unsigned>(b.LineLength(line) + 1));
        if (rng() % 3) {
            int el, ec;
            ASSERT_TRUE(b.InsertTextAt(nullptr, line, pos, snippets[rng() % 8], el, ec, ACT_TYPING));
        } else {
            const int l2 = std::min(b.LineCount() - 1, line + static_cast<int>(rng() % 3));
            const int p2 = l2 == line ? pos + static_cast<int>(rng() % static_cast<unsigned>(b.LineLength(line) - pos + 1))
                                      : static_cast<int>(rng() % static_cast<unsigned>(b.LineLength(l2) + 1));
            ASSERT_TRUE(b.DeleteRange(nullptr, line, pos, l2, p2, ACT_DELETE));
        }
    }
    const std::string edited = b.SaveToMemory();
    TextPos cur;
    while (b.CanUndoStep())
        ASSERT_TRUE(b.UndoStep(cur));
    EXPECT_EQ(b.SaveToMemory(), original);
    EXPECT_FALSE(b.IsModified());
    while (b.CanRedoStep())
        ASSERT_TRUE(b.RedoStep(cur));
    EXPECT_EQ(b.SaveToMemory(), edited);
    EXPECT_TRUE(b.IsModified());
}

TEST(Undo, EncodingConversionIsOneStepWithItsBytes)
{
    CTextBuffer b;
    // A CR byte inside a line, ASCII-only lines, a UTF-8 BOM.
    ASSERT_TRUE(b.LoadFromMemory("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\nx = 1;\r\n\xC3\xA4\rb\xC3\xB6"));
    ASSERT_EQ(b.Encoding(), TextEncoding::Utf8);
    ASSERT_TRUE(b.HasBom());
    const Strings utf8 = Lines(b);
    ASSERT_TRUE(b.ConvertEncoding(nullptr, TextEncoding::Cp1252));
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_FALSE(b.HasBom());
    EXPECT_TRUE(b.IsModified());
    EXPECT_EQ(Lines(b), (Strings{"Gr\xFC\xDF" "e \x80", "x = 1;", "\xE4\rb\xF6"}));
    std::string d;
    b.UndoDescription(d);
    EXPECT_EQ(d, "Kodierung umwandeln");
    TextPos cursor;
    ASSERT_TRUE(b.UndoStep(cursor));
    EXPECT_EQ(Lines(b), utf8);
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_TRUE(b.HasBom());
    EXPECT_FALSE(b.IsModified());
    EXPECT_FALSE(b.CanUndoStep());
    ASSERT_TRUE(b.RedoStep(cursor));
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_EQ(Lines(b), (Strings{"Gr\xFC\xDF" "e \x80", "x = 1;", "\xE4\rb\xF6"}));
    // And back: the same characters in UTF-8, now without a BOM.
    ASSERT_TRUE(b.ConvertEncoding(nullptr, TextEncoding::Utf8));
    EXPECT_EQ(Lines(b), utf8);
    EXPECT_FALSE(b.HasBom());
    EXPECT_FALSE(b.ConvertEncoding(nullptr, TextEncoding::Utf8)); // already
}

TEST(Undo, EncodingConversionRefusesACharacterTheCodePageLacks)
{
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFromMemory("\xC3\xA4\r\nab \xE4\xB8\xAD \xE2\x86\x92\r\n"));
    CTextBuffer::EncodingFailure failure;
    EXPECT_FALSE(b.ConvertEncoding(nullptr, TextEncoding::Cp1252, &failure));
    EXPECT_EQ(failure.line, 1);
    EXPECT_EQ(failure.offset, 3);
    EXPECT_EQ(failure.character, U'中');
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(Lines(b), (Strings{"\xC3\xA4", "ab \xE4\xB8\xAD \xE2\x86\x92", ""}));
    EXPECT_FALSE(b.CanUndoStep());
    EXPECT_FALSE(b.IsModified());
}

TEST(Undo, AsciiTextChangesOnlyItsEncoding)
{
    CTextBuffer b;
    ASSERT_TRUE(b.LoadFromMemory("int x;\r\n", -1, TextEncoding::Utf8));
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    b.RegisterView(&v);
    ASSERT_TRUE(b.ConvertEncoding(&v, TextEncoding::Cp1252));
    EXPECT_EQ(b.Encoding(), TextEncoding::Cp1252);
    EXPECT_TRUE(b.IsModified());
    ASSERT_EQ(log.size(), 1u); // the views hear of it, every line
    EXPECT_EQ(log[0].line, -1);
    TextPos cursor(5, 0);
    ASSERT_TRUE(b.UndoStep(cursor));
    EXPECT_EQ(b.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(cursor, TextPos(0, 0));
    EXPECT_FALSE(b.IsModified());
    b.UnregisterView(&v);
}
