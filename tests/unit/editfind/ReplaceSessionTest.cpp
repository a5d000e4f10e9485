#include "editor/ReplaceSession.h"
#include "editor/TextSearch.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// An edit view reduced to what the replace dialog uses: a buffer, a
// selection and the messages it was asked to show.
class CFakeEditView : public CReplaceTarget {
public:
    explicit CFakeEditView(std::string_view text)
    {
        if (!buffer.LoadFromMemory(text))
            throw std::runtime_error("LoadFromMemory failed");
    }

    const CTextBuffer& ReplaceBuffer() const override { return buffer; }
    void SelectFound(TextPos pos, int length) override
    {
        FoundSelection s = SelectFoundPositions(pos, length);
        selStart = s.selStart;
        selEnd = s.selEnd;
        caret = s.caret;
    }
    bool ReplaceSelection(std::string_view text) override
    {
        TextPos s, e;
        if (!ReplaceRange(buffer, nullptr, selStart, selEnd, text, s, e))
            return false;
        selStart = s;
        selEnd = caret = e;
        ++replacements;
        return true;
    }
    void ShowMessage(int id, const std::string& text, int count) override
    {
        messages.push_back({id, text, count});
    }
    void RefuseCharacter(char32_t cp) override { refused.push_back(cp); }

    std::string Line(int y) const { return std::string(buffer.LineText(y)); }

    struct Message {
        int id;
        std::string text;
        int count;
        bool operator==(const Message&) const = default;
    };
    CTextBuffer buffer;
    TextPos selStart, selEnd, caret;
    int replacements = 0;
    std::vector<Message> messages;
    std::vector<char32_t> refused;
};

using Msg = CFakeEditView::Message;

} // namespace

TEST(ReplaceSession, ReplaceAllCountsAndSkipsTheInsertedText)
{
    CFakeEditView view("aaa");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("a", "aa", false, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(s.ReplaceAll(), 3);
    EXPECT_EQ(view.Line(0), "aaaaaa");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], (Msg{IDS_REPLACE_COUNT, "a", 3}));
    // Two undo steps per replacement.
    EXPECT_EQ(view.buffer.UndoRecordCount(), 6);
    // Replace-all ended at the end of the file: the next press starts at the
    // beginning again.
    EXPECT_TRUE(s.FindNext());
    EXPECT_EQ(s.FoundPosition(), TextPos(0, 0));
}

TEST(ReplaceSession, FindNextAfterReplaceAllReportsTheCountAgain)
{
    CFakeEditView view("a-a-a");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("a", "b", false, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(s.ReplaceAll(), 3);
    EXPECT_FALSE(s.FindNext());
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[1], (Msg{IDS_REPLACE_COUNT, "a", 3}));
    // A fresh dialog reports the plain "not found".
    CReplaceSession fresh(view);
    fresh.OpenAtCaret(TextPos(0, 0));
    fresh.SetOptions("a", "b", false, false, REPLACE_SCOPE_FILE);
    EXPECT_FALSE(fresh.FindNext());
    EXPECT_EQ(view.messages.back(), (Msg{IDS_FIND_NOT_FOUND, "a", 0}));
}

TEST(ReplaceSession, ReplaceAllInsideASelectionKeepsTheBlockEndInStep)
{
    CFakeEditView view("xa a a\r\na");
    CReplaceSession s(view);
    // The selection covers "a a" of "xa a a": two matches, the second one
    // right in front of the block end once the first has grown.
    s.OpenWithSelection(TextPos(4, 0), TextPos(1, 0));
    EXPECT_EQ(s.StartPosition(), TextPos(1, 0));
    EXPECT_TRUE(s.SelectionAllowed());
    s.SetOptions("a", "bbb", true, false, REPLACE_SCOPE_SELECTION);
    EXPECT_EQ(s.ReplaceAll(), 2);
    EXPECT_EQ(view.Line(0), "xbbb bbb a");
    EXPECT_EQ(view.Line(1), "a");
    EXPECT_EQ(s.BlockBegin(), TextPos(1, 0));
    EXPECT_EQ(s.BlockEnd(), TextPos(8, 0));
    EXPECT_EQ(view.messages.back(), (Msg{IDS_REPLACE_COUNT, "a", 2}));
    // After the end the search restarts at the block begin.
    EXPECT_EQ(s.StartPosition(), TextPos(1, 0));
}

TEST(ReplaceSession, ReplacementByShorterTextInsideASelection)
{
    CFakeEditView view("foo foo foo foo");
    CReplaceSession s(view);
    s.OpenWithSelection(TextPos(0, 0), TextPos(11, 0));
    s.SetOptions("foo", "f", false, true, REPLACE_SCOPE_SELECTION);
    EXPECT_EQ(s.ReplaceAll(), 3);
    EXPECT_EQ(view.Line(0), "f f f foo");
    EXPECT_EQ(s.BlockEnd(), TextPos(5, 0));
}

TEST(ReplaceSession, FindNextWithoutWrap)
{
    CFakeEditView view("ab\r\nab");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(1, 0));
    s.SetOptions("ab", "", false, false, REPLACE_SCOPE_FILE);
    EXPECT_TRUE(s.FindNext());
    EXPECT_EQ(s.FoundPosition(), TextPos(0, 1));
    EXPECT_EQ(view.selStart, TextPos(0, 1));
    EXPECT_EQ(view.selEnd, TextPos(2, 1));
    EXPECT_FALSE(s.FindNext());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], (Msg{IDS_FIND_NOT_FOUND, "ab", 0}));
    // The selection of the last match stays; the next press starts at (0, 0).
    EXPECT_EQ(view.selStart, TextPos(0, 1));
    EXPECT_TRUE(s.FindNext());
    EXPECT_EQ(s.FoundPosition(), TextPos(0, 0));
}

TEST(ReplaceSession, FindNextFindsAnOverlappingMatch)
{
    CFakeEditView view("aaa");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("aa", "", false, false, REPLACE_SCOPE_FILE);
    EXPECT_TRUE(s.FindNext());
    EXPECT_EQ(s.FoundPosition(), TextPos(0, 0));
    EXPECT_TRUE(s.FindNext());
    EXPECT_EQ(s.FoundPosition(), TextPos(1, 0));
}

TEST(ReplaceSession, ReplaceFirstFindsThenReplaces)
{
    CFakeEditView view("one two one");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("ONE", "1", false, false, REPLACE_SCOPE_FILE);
    // Nothing selected by the dialog yet: the first press only selects.
    EXPECT_TRUE(s.Replace());
    EXPECT_EQ(view.Line(0), "one two one");
    EXPECT_EQ(view.selStart, TextPos(0, 0));
    EXPECT_TRUE(s.Replace());
    EXPECT_EQ(view.Line(0), "1 two one");
    EXPECT_EQ(view.selStart, TextPos(6, 0));
    // The last replacement finds nothing more: count reset by the press, so
    // the message is the plain "not found".
    EXPECT_FALSE(s.Replace());
    EXPECT_EQ(view.Line(0), "1 two 1");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], (Msg{IDS_FIND_NOT_FOUND, "ONE", 0}));
    EXPECT_EQ(s.Count(), 0);
    // The next press starts at the beginning of the file again.
    EXPECT_FALSE(s.Replace());
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST(ReplaceSession, EmptySearchTextDoesNothing)
{
    CFakeEditView view("abc");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("", "x", false, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(s.ReplaceAll(), 0);
    EXPECT_FALSE(s.Replace());
    EXPECT_EQ(view.Line(0), "abc");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.buffer.UndoRecordCount(), 0);
}

TEST(ReplaceSession, StoredSelectionScopeWithoutASelectionSearchesTheFile)
{
    CFakeEditView view("abc abc");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(2, 0));
    s.SetOptions("abc", "x", false, false, REPLACE_SCOPE_SELECTION);
    EXPECT_FALSE(s.SelectionAllowed());
    EXPECT_EQ(s.ReplaceAll(), 1); // from the caret on, no wrap
    EXPECT_EQ(view.Line(0), "abc x");
}

TEST(ReplaceSession, ReplacementWithLineBreaksEnds)
{
    // Each replacement holds the search text behind a line break; searching
    // on behind the inserted text keeps replace-all from running for ever.
    CFakeEditView view("a b a");
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("a", "a\r\na", true, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(s.ReplaceAll(), 2);
    ASSERT_EQ(view.buffer.LineCount(), 3);
    EXPECT_EQ(view.Line(0), "a");
    EXPECT_EQ(view.Line(1), "a b a");
    EXPECT_EQ(view.Line(2), "a");
}

TEST(ReplaceSession, ReadOnlyTextStopsReplaceAll)
{
    struct CReadOnly : CFakeEditView {
        using CFakeEditView::CFakeEditView;
        bool ReplaceSelection(std::string_view) override { return false; }
    } ro("a a");
    CReplaceSession s(ro);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("a", "", false, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(s.ReplaceAll(), 0);
    EXPECT_FALSE(s.Found());
}

TEST(ReplaceSession, ReplaceAllAcrossUtf8TextOfOtherLengths)
{
    // "Grüße, GRÜSSE und grüsse"; the dialog's texts "grüße" and "Größe".
    CFakeEditView view("Gr\xC3\xBC\xC3\x9F" "e, GR\xC3\x9C" "SSE und gr\xC3\xBCsse!");
    ASSERT_EQ(view.buffer.Encoding(), TextEncoding::Utf8);
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("gr\xC3\xBC\xC3\x9F" "e", "Gr\xC3\xB6\xC3\x9F" "e", false, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(s.ReplaceAll(), 3);
    EXPECT_EQ(view.Line(0), "Gr\xC3\xB6\xC3\x9F" "e, Gr\xC3\xB6\xC3\x9F" "e und Gr\xC3\xB6\xC3\x9F" "e!");
    EXPECT_EQ(view.messages.back(), (Msg{IDS_REPLACE_COUNT, "gr\xC3\xBC\xC3\x9F" "e", 3}));
}

TEST(ReplaceSession, Cp1252DocumentsTakeTheDialogsTextInTheirEncodingAndRefuseTheRest)
{
    CFakeEditView view("Gr\xFC\xDF" "e aus K\xF6ln");
    ASSERT_EQ(view.buffer.Encoding(), TextEncoding::Cp1252);
    CReplaceSession s(view);
    s.OpenAtCaret(TextPos(0, 0));
    s.SetOptions("K\xC3\xB6ln", "\xE2\x82\xAC", false, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(s.ReplaceAll(), 1);
    EXPECT_EQ(view.Line(0), "Gr\xFC\xDF" "e aus \x80");

    // "Ж" has no byte in the code page: the user is told, nothing changes
    // and no count is reported.
    view.messages.clear();
    CReplaceSession refusing(view);
    refusing.OpenAtCaret(TextPos(0, 0));
    refusing.SetOptions("aus", "\xD0\x96", false, false, REPLACE_SCOPE_FILE);
    EXPECT_EQ(refusing.ReplaceAll(), 0);
    EXPECT_EQ(view.Line(0), "Gr\xFC\xDF" "e aus \x80");
    EXPECT_EQ(view.refused, (std::vector<char32_t>{0x416}));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(refusing.Found());
    EXPECT_EQ(view.replacements, 1) << "only the first session replaced";

    // A search text beyond the code page is simply not found.
    CReplaceSession missing(view);
    missing.OpenAtCaret(TextPos(0, 0));
    missing.SetOptions("\xD0\x96", "x", false, false, REPLACE_SCOPE_FILE);
    EXPECT_FALSE(missing.FindNext());
    EXPECT_EQ(view.messages.back(), (Msg{IDS_FIND_NOT_FOUND, "\xD0\x96", 0}));
}

TEST(ReplaceSession, ReplaceAllInASelectionFollowsMatchesLongerThanTheSearchText)
{
    // Windows-1252: "ss" matches "ß" (one byte); the block end must move by
    // the match's length, not the search text's.
    CFakeEditView view("\xDF \xDF \xDF x\xDF");
    ASSERT_EQ(view.buffer.Encoding(), TextEncoding::Cp1252);
    CReplaceSession s(view);
    s.OpenWithSelection(TextPos(0, 0), TextPos(5, 0)); // the first three
    s.SetOptions("SS", "sz", false, true, REPLACE_SCOPE_SELECTION);
    EXPECT_EQ(s.ReplaceAll(), 3);
    EXPECT_EQ(view.Line(0), "sz sz sz x\xDF");
    EXPECT_EQ(s.BlockEnd(), TextPos(8, 0));
}
