#include "editor/TextBuffer.h"

#include "unit/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

using edtest::CRecordingView;
using edtest::Lines;
using edtest::Load;
using edtest::Notice;
using Strings = std::vector<std::string>;

TEST(TextChange, AdjustPositionAcrossInsertion)
{
    InsertionChange ins(TextPos(2, 0), TextPos(1, 2));
    auto adj = [&](TextPos p) {
        ins.AdjustPosition(p);
        return p;
    };
    EXPECT_EQ(adj(TextPos(3, 0)), TextPos(2, 2));
    EXPECT_EQ(adj(TextPos(2, 0)), TextPos(2, 0)); // at the insertion point: stays before
    EXPECT_EQ(adj(TextPos(1, 0)), TextPos(1, 0));
    EXPECT_EQ(adj(TextPos(5, 4)), TextPos(5, 6));
    InsertionChange sameLine(TextPos(1, 3), TextPos(4, 3));
    TextPos p(2, 3);
    sameLine.AdjustPosition(p);
    EXPECT_EQ(p, TextPos(5, 3));
}

TEST(TextChange, AdjustPositionAcrossDeletion)
{
    DeletionChange del(TextPos(2, 0), TextPos(2, 1));
    auto adj = [&](TextPos p) {
        del.AdjustPosition(p);
        return p;
    };
    EXPECT_EQ(adj(TextPos(3, 2)), TextPos(3, 1));
    EXPECT_EQ(adj(TextPos(0, 1)), TextPos(2, 0)); // inside: to the start
    EXPECT_EQ(adj(TextPos(3, 1)), TextPos(3, 0)); // after the end on the end line
    EXPECT_EQ(adj(TextPos(2, 1)), TextPos(2, 0));
    EXPECT_EQ(adj(TextPos(1, 0)), TextPos(1, 0)); // before
    EXPECT_EQ(adj(TextPos(4, 0)), TextPos(2, 0)); // inside on the start line
    DeletionChange same(TextPos(1, 5), TextPos(4, 5));
    TextPos p(6, 5);
    same.AdjustPosition(p);
    EXPECT_EQ(p, TextPos(3, 5));
}

TEST(TextBufferEdit, InsertSplitsAtCrAndCrLfOnly)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    Load(b, "abcd");
    b.RegisterView(&v);
    v.caret = TextPos(3, 0);
    int el = -9, ec = -9;
    ASSERT_TRUE(b.RawInsert(&v, 0, 2, "p\r\nq\rr", el, ec));
    EXPECT_EQ(Lines(b), (Strings{"abp", "q", "rcd"}));
    EXPECT_EQ(el, 2);
    EXPECT_EQ(ec, 1);
    EXPECT_EQ(v.caret, TextPos(2, 2));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].flags, NOTIFY_LINECOUNT | NOTIFY_WIDTH);
    EXPECT_EQ(log[0].line, 0);
    EXPECT_EQ(log[0].source, &v);
    EXPECT_EQ(log[0].start, TextPos(2, 0));
    EXPECT_EQ(log[0].end, TextPos(1, 2));
    EXPECT_EQ(b.LastChangePos(), TextPos(1, 2));
    EXPECT_TRUE(b.IsModified());

    log.clear();
    ASSERT_TRUE(b.RawInsert(nullptr, 1, 1, std::string("x\ny\0z", 5), el, ec));
    EXPECT_EQ(b.LineText(1), std::string("qx\ny\0z", 6));
    EXPECT_EQ(log[0].flags, NOTIFY_ONELINE | NOTIFY_WIDTH);

    // Past the end of the line means at its end; a trailing CR gives an empty line.
    ASSERT_TRUE(b.RawInsert(nullptr, 2, 99, "!\r", el, ec));
    EXPECT_EQ(b.LineText(2), "rcd!");
    EXPECT_EQ(b.LineText(3), "");
    EXPECT_EQ(el, 3);
    EXPECT_EQ(ec, 0);
    // CR CR LF: two breaks.
    Load(b, "ab");
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 1, "\r\r\n", el, ec));
    EXPECT_EQ(Lines(b), (Strings{"a", "", "b"}));
}

TEST(TextBufferEdit, InsertionOfTextTakenFromTheSameLine)
{
    CTextBuffer b;
    Load(b, "0123456789abcdef");
    int el, ec;
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 0, "x", el, ec)); // now an owned line at its capacity
    std::string_view self = b.LineText(0);
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 3, self, el, ec));
    EXPECT_EQ(b.LineText(0), "x01x0123456789abcdef23456789abcdef");
    // Split into lines while the source is the line being split.
    Load(b, "ab\rcd\n", EOL_LF);
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 1, b.LineText(0), el, ec));
    EXPECT_EQ(Lines(b), (Strings{"aab", "cdb\rcd", ""}));
}

TEST(TextBufferEdit, DeleteJoinsLinesAndKeepsFirstLineFlags)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    Load(b, "abcd\nefgh\nijkl");
    b.ChangeLineFlag(0, LINE_BOOKMARK_1, true);
    b.ChangeLineFlag(1, LINE_MARK, true, false);
    b.RegisterView(&v);
    TextPos p1(3, 2), p2(0, 1);
    ASSERT_TRUE(b.RawDelete(&v, 0, 2, 1, 2));
    EXPECT_EQ(Lines(b), (Strings{"abgh", "ijkl"}));
    ASSERT_EQ(log.size(), 1u);
    DeletionChange(log[0].start, log[0].end).AdjustPosition(p1);
    DeletionChange(log[0].start, log[0].end).AdjustPosition(p2);
    EXPECT_EQ(p1, TextPos(3, 1));
    EXPECT_EQ(p2, TextPos(2, 0));
    EXPECT_EQ(log[0].flags, NOTIFY_LINECOUNT | NOTIFY_WIDTH);
    EXPECT_EQ(log[0].line, 0);
    EXPECT_EQ(b.LineFlags(0), LINE_BOOKMARK_1);
    EXPECT_EQ(b.FindFlaggedLine(LINE_MARK), -1);
    EXPECT_EQ(b.LastChangePos(), TextPos(2, 0));

    log.clear();
    ASSERT_TRUE(b.RawDelete(nullptr, 1, 1, 1, 3));
    EXPECT_EQ(b.LineText(1), "il");
    EXPECT_EQ(log[0].flags, NOTIFY_ONELINE | NOTIFY_WIDTH);
    EXPECT_EQ(log[0].line, 1);
}

TEST(TextBufferEdit, InvalidRangesAreRefusedWithoutNotice)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    Load(b, "ab\ncd");
    b.RegisterView(&v);
    int el, ec;
    EXPECT_FALSE(b.RawInsert(nullptr, 2, 0, "x", el, ec));
    EXPECT_FALSE(b.RawInsert(nullptr, -1, 0, "x", el, ec));
    EXPECT_FALSE(b.RawDelete(nullptr, 1, 0, 0, 0)); // end before start
    EXPECT_FALSE(b.RawDelete(nullptr, 0, 1, 0, 0));
    EXPECT_FALSE(b.RawDelete(nullptr, 0, 0, 1, 3)); // past the line end
    EXPECT_FALSE(b.DeleteRange(nullptr, 0, 0, 5, 0, ACT_DELETE));
    EXPECT_FALSE(b.InsertTextAt(nullptr, 9, 0, "x", el, ec, ACT_TYPING));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(b.UndoRecordCount(), 0);
    EXPECT_FALSE(b.IsModified());
    EXPECT_EQ(b.LineLength(-1), 0);
    EXPECT_EQ(b.LineChars(-1), nullptr);
    EXPECT_EQ(b.LineFlags(-1), 0u);
    EXPECT_EQ(b.LineLength(2), 0);
    EXPECT_EQ(b.LineChars(2), nullptr);
    EXPECT_EQ(b.LineCapacity(7), 0);
}

TEST(TextBufferEdit, NoticesGoToEveryViewInRegistrationOrder)
{
    std::vector<Notice> log;
    CRecordingView a("a", &log), c("c", &log), d("d", &log);
    CTextBuffer b;
    b.InitEmpty();
    b.RegisterView(&c);
    b.RegisterView(&a);
    b.RegisterView(&d);
    int el, ec;
    ASSERT_TRUE(b.InsertTextAt(&a, 0, 0, "x", el, ec, ACT_TYPING));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].view, "c");
    EXPECT_EQ(log[1].view, "a");
    EXPECT_EQ(log[2].view, "d");
    for (const Notice& n : log)
        EXPECT_EQ(n.source, &a);
    b.UnregisterView(&a);
    log.clear();
    b.NotifyViews(nullptr, nullptr, NOTIFY_RESET, -1);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].view, "c");
    EXPECT_EQ(log[1].view, "d");
}

namespace {

// Unregisters another view while being notified.
class CLeavingView : public CTextBufferListener {
public:
    CTextBuffer* buffer = nullptr;
    CTextBufferListener* other = nullptr;
    int calls = 0;
    void OnBufferChange(CTextBufferListener*, const TextChange*, uint32_t, int) override
    {
        ++calls;
        if (other) {
            buffer->UnregisterView(other);
            buffer->UnregisterView(this);
        }
    }
};

} // namespace

TEST(TextBufferEdit, ViewsMayLeaveDuringANotice)
{
    std::vector<Notice> log;
    CTextBuffer b;
    b.InitEmpty();
    CLeavingView first;
    CRecordingView second("second", &log);
    first.buffer = &b;
    first.other = &second;
    b.RegisterView(&first);
    b.RegisterView(&second);
    int el, ec;
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 0, "x", el, ec));
    EXPECT_EQ(first.calls, 1);
    EXPECT_TRUE(log.empty());
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 0, "y", el, ec));
    EXPECT_EQ(first.calls, 1);
}

TEST(TextBufferEdit, ExtractTextJoinsWithSeparator)
{
    CTextBuffer b;
    Load(b, "abcd\nefgh\nijkl");
    std::string t;
    b.ExtractText(0, 1, 2, 2, t);
    EXPECT_EQ(t, "bcd\r\nefgh\r\nij");
    b.ExtractText(0, 1, 2, 2, t, "|");
    EXPECT_EQ(t, "bcd|efgh|ij");
    b.ExtractText(1, 1, 1, 3, t);
    EXPECT_EQ(t, "fg");
    b.ExtractText(0, 4, 1, 0, t);
    EXPECT_EQ(t, "\r\n");
    b.ExtractText(2, 0, 1, 0, t);
    EXPECT_EQ(t, "");
}

TEST(TextBufferFlags, NumberedBookmarksAreUnique)
{
    std::vector<Notice> log;
    CRecordingView v("v", &log);
    CTextBuffer b;
    Load(b, std::string(20, '\n'));
    b.RegisterView(&v);
    b.ChangeLineFlag(4, LINE_BOOKMARK_3, true);
    log.clear();
    b.ChangeLineFlag(10, LINE_BOOKMARK_3, true);
    EXPECT_EQ(b.LineFlags(4), 0u);
    EXPECT_EQ(b.LineFlags(10), LINE_BOOKMARK_3);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].line, 4);
    EXPECT_EQ(log[1].line, 10);
    EXPECT_EQ(log[0].flags, NOTIFY_ONELINE | NOTIFY_FLAGS);
    EXPECT_EQ(log[1].flags, NOTIFY_ONELINE | NOTIFY_FLAGS);
    EXPECT_FALSE(log[0].hasChange);

    // Setting a flag that is already there notifies nothing; flags are not
    // part of the history or the modified state.
    log.clear();
    b.ChangeLineFlag(10, LINE_BOOKMARK_3, true);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(b.IsModified());
    EXPECT_EQ(b.UndoRecordCount(), 0);

    // Not unique: both lines keep it. Line -1: the first line with it.
    b.ChangeLineFlag(2, LINE_BOOKMARK_3, true, false);
    EXPECT_EQ(b.FindFlaggedLine(LINE_BOOKMARK_3), 2);
    b.ChangeLineFlag(-1, LINE_BOOKMARK_3, false);
    EXPECT_EQ(b.FindFlaggedLine(LINE_BOOKMARK_3), 10);

    // Anything but exactly one known bit does nothing.
    log.clear();
    b.ChangeLineFlag(1, LINE_BOOKMARK_1 | LINE_BOOKMARK_2, true);
    b.ChangeLineFlag(1, 0x400, true);
    b.ChangeLineFlag(1, 0, true);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(b.FindFlaggedLine(LINE_BOOKMARK_3 | LINE_BOOKMARK_1), -1);
    EXPECT_EQ(b.FindFlaggedLine(0x80000000u), -1);
}

TEST(TextBufferFlags, MarkedLinesWrapAround)
{
    CTextBuffer b;
    Load(b, std::string(9, '\n'));
    EXPECT_EQ(b.NextMarkedLine(0), -1);
    EXPECT_EQ(b.PreviousMarkedLine(0), -1);
    b.ChangeLineFlag(5, LINE_MARK, true, false);
    EXPECT_EQ(b.NextMarkedLine(5), 5); // a single mark finds itself
    EXPECT_EQ(b.PreviousMarkedLine(5), 5);
    b.ChangeLineFlag(2, LINE_MARK, true, false);
    b.ChangeLineFlag(8, LINE_MARK, true, false);
    EXPECT_EQ(b.NextMarkedLine(0), 2);
    EXPECT_EQ(b.NextMarkedLine(2), 5);
    EXPECT_EQ(b.NextMarkedLine(3), 5);
    EXPECT_EQ(b.NextMarkedLine(8), 2); // from the last mark to the first
    EXPECT_EQ(b.NextMarkedLine(9), 2);
    EXPECT_EQ(b.PreviousMarkedLine(2), 8);
    EXPECT_EQ(b.PreviousMarkedLine(7), 5);
    EXPECT_EQ(b.PreviousMarkedLine(0), 8);
    EXPECT_EQ(b.PreviousMarkedLine(5), 2);
}

TEST(TextBufferFlags, SplitKeepsFlagsOnTheFirstPart)
{
    CTextBuffer b;
    Load(b, "abcd");
    b.ChangeLineFlag(0, LINE_MARK, true, false);
    int el, ec;
    ASSERT_TRUE(b.RawInsert(nullptr, 0, 0, "\r\n", el, ec));
    EXPECT_EQ(b.LineFlags(0), LINE_MARK);
    EXPECT_EQ(b.LineFlags(1), 0u);
}
