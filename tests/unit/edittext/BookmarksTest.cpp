#include "editor/Bookmarks.h"
#include "editor/TextBuffer.h"

#include <gtest/gtest.h>

TEST(Bookmarks, NumberedBookmarksAreOneLineEach)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromMemory("a\r\nb\r\nc\r\nd\r\n"));
    CBookmarks marks;
    EXPECT_EQ(CBookmarks::Find(buffer, 3), -1);
    marks.Toggle(buffer, 1, 3);
    EXPECT_EQ(CBookmarks::Find(buffer, 3), 1);
    marks.Toggle(buffer, 2, 3);
    EXPECT_EQ(CBookmarks::Find(buffer, 3), 2) << "setting it elsewhere moves it";
    EXPECT_FALSE(buffer.LineFlags(1) & LineBookmark(3));
    marks.Toggle(buffer, 2, 3);
    EXPECT_EQ(CBookmarks::Find(buffer, 3), -1) << "toggling it where it is removes it";
    marks.Toggle(buffer, 0, 0);
    marks.Toggle(buffer, 3, 9);
    marks.Toggle(buffer, 3, 10); // no such bookmark
    EXPECT_EQ(buffer.LineFlags(3), LineBookmark(9));
    EXPECT_EQ(CBookmarks::Find(buffer, -1), -1);
    marks.ClearNumbered(buffer);
    EXPECT_EQ(CBookmarks::Find(buffer, 0), -1);
    EXPECT_EQ(CBookmarks::Find(buffer, 9), -1);
    EXPECT_FALSE(marks.AnyMark()) << "numbered bookmarks are no marks";
}

TEST(Bookmarks, MarksWrapAroundAndAnyMarkFollowsThem)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromMemory("a\r\nb\r\nc\r\nd\r\n"));
    CBookmarks marks;
    EXPECT_EQ(marks.NextMark(buffer, 0), -1);
    marks.ToggleMark(buffer, 1);
    marks.ToggleMark(buffer, 3);
    EXPECT_TRUE(marks.AnyMark());
    EXPECT_EQ(marks.NextMark(buffer, 1), 3);
    EXPECT_EQ(marks.NextMark(buffer, 3), 1) << "wraps to the top";
    EXPECT_EQ(marks.PreviousMark(buffer, 1), 3) << "wraps to the bottom";
    marks.ToggleMark(buffer, 1);
    marks.ToggleMark(buffer, 3);
    EXPECT_FALSE(marks.AnyMark()) << "the last mark removed";

    marks.ToggleMark(buffer, 2);
    marks.ToggleMark(buffer, 0);
    marks.ClearMarks(buffer);
    EXPECT_FALSE(marks.AnyMark());
    EXPECT_EQ(buffer.FindFlaggedLine(LINE_MARK), -1);

    // A mark that comes back without the view (undo) is noticed.
    buffer.ChangeLineFlag(2, LINE_MARK, true, false);
    marks.FlagsChanged(buffer, 2);
    EXPECT_TRUE(marks.AnyMark());
    marks.Reset();
    EXPECT_FALSE(marks.AnyMark());
    marks.FlagsChanged(buffer, 99);
    EXPECT_FALSE(marks.AnyMark());
}
