// The text view in a real window: keyboard navigation through the key table,
// the mouse, scrolling, bookmarks, focus and what it paints.
#include "EditorTestUtil.h"

#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "settings/Settings.h"

#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <cstring>

using namespace edtest;

namespace {

std::string Lines(int n, const std::string& prefix = "line ")
{
    std::string s;
    for (int i = 0; i < n; ++i) {
        if (i)
            s += "\r\n";
        s += prefix + std::to_string(i);
    }
    return s;
}

class TextViewTest : public EditorTest {};

TEST_F(TextViewTest, ShiftDownKeepsTheIdealColumnThroughAShortLine)
{
    SetText("0123456789abc\r\nabc\r\n0123456789xyz");
    view->PutCaret(TextPos(9, 0));
    Key(WXK_DOWN, SHIFT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 1));
    Key(WXK_DOWN, SHIFT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(9, 2));
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(9, 0));
    EXPECT_EQ(e, TextPos(9, 2));
    // Up without Shift from a selection starts at its start.
    Key(WXK_UP);
    EXPECT_EQ(view->GetCaretPos(), TextPos(9, 0));
    EXPECT_FALSE(view->IsSelection());
}

TEST_F(TextViewTest, CharacterMovesCrossLinesAndCollapseSelections)
{
    SetText("ab\r\ncd");
    view->PutCaret(TextPos(0, 1));
    Key(WXK_LEFT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 0));
    Key(WXK_RIGHT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 1));
    Key(WXK_LEFT, SHIFT);
    Key(WXK_LEFT, SHIFT);
    EXPECT_TRUE(view->IsSelection());
    Key(WXK_RIGHT); // only collapses, to the selection's end
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 1));
    EXPECT_FALSE(view->IsSelection());
    view->PutCaret(TextPos(0, 0));
    Key(WXK_LEFT); // nothing before (0, 0)
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    view->PutCaret(TextPos(2, 1));
    Key(WXK_RIGHT); // nothing after the end of the text
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 1));
}

TEST_F(TextViewTest, SmartHomeAlternates)
{
    SetText("    x = 1;");
    view->PutCaret(TextPos(10, 0));
    Key(WXK_HOME);
    EXPECT_EQ(view->GetCaretPos().x, 4);
    Key(WXK_HOME);
    EXPECT_EQ(view->GetCaretPos().x, 0);
    Key(WXK_HOME);
    EXPECT_EQ(view->GetCaretPos().x, 4);
    Key(WXK_END, SHIFT);
    EXPECT_EQ(view->GetCaretPos().x, 10);
    EXPECT_TRUE(view->IsSelection());
}

TEST_F(TextViewTest, WordMovesCrossLineStarts)
{
    SetText("x = foo bar\r\nbaz");
    view->PutCaret(TextPos(0, 1));
    Key(WXK_LEFT, CTRL);
    EXPECT_EQ(view->GetCaretPos(), TextPos(8, 0)); // the b of bar
    Key(WXK_LEFT, CTRL);
    EXPECT_EQ(view->GetCaretPos(), TextPos(4, 0));
    Key(WXK_RIGHT, CTRL | SHIFT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(8, 0));
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(4, 0));
    view->PutCaret(TextPos(11, 0));
    Key(WXK_RIGHT, CTRL); // at the line end: to the next line's start
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 1));
}

TEST_F(TextViewTest, PagingScrollsAndCutsTheColumn)
{
    SetText(Lines(200) + "\r\nend");
    int page = view->GetScreenLines();
    ASSERT_GT(page, 3);
    view->PutCaret(TextPos(6, 0));
    Key(WXK_PAGEDOWN);
    EXPECT_EQ(view->GetTopLine(), page - 1);
    EXPECT_EQ(view->GetCaretPos(), TextPos(6, page - 1));
    Key(WXK_END, CTRL);
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 200));
    view->PutCaret(TextPos(8, 195));
    Key(WXK_PAGEDOWN); // the last page: the last line, column cut to its length
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 200));
    Key(WXK_HOME, CTRL);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    EXPECT_EQ(view->GetTopLine(), 0);
    // Ctrl+Down scrolls without moving the caret.
    Key(WXK_DOWN, CTRL);
    EXPECT_EQ(view->GetTopLine(), 1);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    Key(WXK_UP, CTRL);
    Key(WXK_UP, CTRL);
    EXPECT_EQ(view->GetTopLine(), 0);
}

TEST_F(TextViewTest, ScrollingRepaintsOnlyTheUncoveredLine)
{
    SetText(Lines(300));
    Pump(50);
    view->Update();
    int lh = view->GetLineHeight();
    view->ScrollToTopLine(1);
    wxRect box = view->LastPaintBox();
    EXPECT_LE(box.height, 2 * lh) << "scrolling one line repainted " << box.height << " pixels";
    EXPECT_GE(box.y, view->GetClientSize().y - 2 * lh);
}

TEST_F(TextViewTest, ClicksRoundToTheNearestCharacterBoundary)
{
    SetText("abcdef\r\nxyz");
    int cw = view->GetCharWidth();
    wxPoint c = Cell(2, 0);
    Mouse(wxEVT_LEFT_DOWN, wxPoint(c.x + cw - 2, c.y)); // right half of c
    Mouse(wxEVT_LEFT_UP, wxPoint(c.x + cw - 2, c.y));
    EXPECT_EQ(view->GetCaretPos(), TextPos(3, 0));
    Mouse(wxEVT_LEFT_DOWN, wxPoint(c.x + 1, c.y)); // left half
    Mouse(wxEVT_LEFT_UP, wxPoint(c.x + 1, c.y));
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 0));
    wxPoint z = Cell(3, 1);
    Mouse(wxEVT_LEFT_DOWN, z, SHIFT);
    Mouse(wxEVT_LEFT_UP, z, SHIFT);
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(2, 0));
    EXPECT_EQ(e, TextPos(3, 1));
}

TEST_F(TextViewTest, CtrlClickAndDoubleClickSelectWords)
{
    SetText("int count_1 = 5;");
    wxPoint p = Cell(6, 0);
    Mouse(wxEVT_LEFT_DOWN, p, CTRL);
    Mouse(wxEVT_LEFT_UP, p, CTRL);
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(4, 0));
    EXPECT_EQ(e, TextPos(11, 0));
    view->PutCaret(TextPos(0, 0));
    Mouse(wxEVT_LEFT_DOWN, Cell(1, 0));
    Mouse(wxEVT_LEFT_UP, Cell(1, 0));
    Mouse(wxEVT_LEFT_DCLICK, Cell(1, 0));
    Mouse(wxEVT_LEFT_UP, Cell(1, 0));
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_EQ(e, TextPos(3, 0));
}

TEST_F(TextViewTest, MarginSelectsWholeLinesUpToTheEndOfTheText)
{
    SetText("one\r\ntwo\r\nthree");
    wxPoint m(3, Cell(0, 1).y);
    Mouse(wxEVT_LEFT_DOWN, m);
    Mouse(wxEVT_LEFT_UP, m);
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 1));
    EXPECT_EQ(e, TextPos(0, 2));
    wxPoint last(3, Cell(0, 2).y);
    Mouse(wxEVT_LEFT_DOWN, last);
    Mouse(wxEVT_LEFT_UP, last);
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 2));
    EXPECT_EQ(e, TextPos(5, 2)); // the last line: to the end of the text
    // Dragging in the margin extends by whole lines.
    Mouse(wxEVT_LEFT_DOWN, m);
    Mouse(wxEVT_MOTION, wxPoint(3, Cell(0, 0).y));
    Mouse(wxEVT_LEFT_UP, wxPoint(3, Cell(0, 0).y));
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_EQ(e, TextPos(0, 2));
    // Ctrl in the margin selects everything.
    Mouse(wxEVT_LEFT_DOWN, m, CTRL);
    Mouse(wxEVT_LEFT_UP, m, CTRL);
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_EQ(e, TextPos(5, 2));
}

TEST_F(TextViewTest, DragBelowTheWindowScrollsOnTheTimer)
{
    SetText(Lines(300));
    Mouse(wxEVT_LEFT_DOWN, Cell(2, 1));
    // The pointer leaves the window at the bottom; timer 1001 scrolls.
    wxSize client = view->GetClientSize();
    view->WarpPointer(client.x / 2, client.y - 1);
    view->WarpPointer(client.x / 2, client.y + 3 * view->GetLineHeight());
    kibtest::PumpUntil([&] { return view->GetTopLine() >= 3; }, 3000);
    EXPECT_GE(view->GetTopLine(), 3);
    Mouse(wxEVT_LEFT_UP, wxPoint(client.x / 2, client.y + 3 * view->GetLineHeight()));
    int top = view->GetTopLine();
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(2, 1));
    EXPECT_GT(e.y, top);
    Pump(300);
    EXPECT_EQ(view->GetTopLine(), top); // the timer ended with the release
}

TEST_F(TextViewTest, NumberedAndUnnumberedBookmarks)
{
    SetText(Lines(50));
    view->PutCaret(TextPos(0, 4));
    Key('3', CTRL);
    EXPECT_TRUE(buffer->LineFlags(4) & LINE_BOOKMARK_3);
    view->PutCaret(TextPos(2, 10));
    Key('3', CTRL); // the number moves
    EXPECT_FALSE(buffer->LineFlags(4) & LINE_BOOKMARK_3);
    EXPECT_TRUE(buffer->LineFlags(10) & LINE_BOOKMARK_3);
    view->PutCaret(TextPos(0, 0));
    Key('3', ALT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 10));

    CCommandState st;
    view->QueryCommand(kib::ID_BOOKMARK_NEXT, st);
    EXPECT_FALSE(st.enabled);
    view->PutCaret(TextPos(0, 20));
    Key(WXK_F2, CTRL);
    view->PutCaret(TextPos(0, 30));
    Key(WXK_F2, CTRL);
    view->QueryCommand(kib::ID_BOOKMARK_NEXT, st);
    EXPECT_TRUE(st.enabled);
    Key(WXK_F2);
    EXPECT_EQ(view->GetCaretPos().y, 20); // wraps around
    Key(WXK_F2);
    EXPECT_EQ(view->GetCaretPos().y, 30);
    Key(WXK_F2, SHIFT);
    EXPECT_EQ(view->GetCaretPos().y, 20);
    Key(WXK_F2, CTRL | ALT);
    EXPECT_EQ(buffer->FindFlaggedLine(LINE_MARK), -1);
    view->QueryCommand(kib::ID_BOOKMARK_PREV, st);
    EXPECT_FALSE(st.enabled);
    view->HandleCommand(kib::ID_BOOKMARK_CLEAR_ALL);
    EXPECT_EQ(buffer->FindFlaggedLine(LINE_BOOKMARK_3), -1);
}

TEST_F(TextViewTest, MarginWidensWithTheLineCount)
{
    SetText(Lines(1000));
    view->SetSelectionMargin(true);
    view->SetLineNumbers(true);
    int digit = 0, h = 0;
    view->GetTextExtent("X", &digit, &h);
    EXPECT_EQ(view->MarginWidth(), 20 + 5 + 5 * digit); // "1000:"
    SetText(Lines(10000));
    EXPECT_EQ(view->MarginWidth(), 20 + 5 + 6 * digit);
    view->SetLineNumbers(false);
    EXPECT_EQ(view->MarginWidth(), 20);
}

TEST_F(TextViewTest, ReloadResetsCaretScrollAndBookmarks)
{
    SetText(Lines(300));
    view->PutCaret(TextPos(3, 250));
    Key('1', CTRL);
    ASSERT_GT(view->GetTopLine(), 0);
    SetText(Lines(300));
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    EXPECT_EQ(view->GetTopLine(), 0);
    EXPECT_EQ(buffer->FindFlaggedLine(LINE_BOOKMARK_1), -1);
}

TEST_F(TextViewTest, CopyAndSelectAllUseTheClipboardInWindows1252)
{
    SetText("gr\xFC\xDF" "e \x80 1\r\nzwei");
    Key('A', CTRL);
    TextPos s, e;
    view->GetOrderedSelection(s, e);
    EXPECT_EQ(s, TextPos(0, 0));
    EXPECT_EQ(e, TextPos(4, 1));
    Key('C', CTRL);
    {
        wxClipboardLocker lock;
        ASSERT_TRUE(!!lock);
        wxTextDataObject data;
        ASSERT_TRUE(wxTheClipboard->GetData(data));
        EXPECT_EQ(data.GetText().utf8_string(), "grüße € 1\nzwei");
    }
    std::string back;
    ASSERT_EQ(view->TakeTextFromClipboard(back), CTextView::EClipboardText::Taken);
    EXPECT_EQ(back, "gr\xFC\xDF" "e \x80 1\r\nzwei");
}

TEST_F(TextViewTest, TwoViewsOnOneBufferMoveEachOthersCarets)
{
    auto* second = new CJavaEditView(frame, wxID_ANY, wxPoint(0, 240), wxSize(600, 200));
    second->AttachBuffer(buffer.get());
    SetText("alpha\r\nbeta\r\ngamma");
    second->PutCaret(TextPos(2, 2));
    second->SetAnchorPos(TextPos(0, 1));
    second->SetSelectionRange(TextPos(0, 1), TextPos(2, 2));
    view->PutCaret(TextPos(0, 0));
    Type("xx");
    Key(WXK_RETURN);
    EXPECT_EQ(second->GetCaretPos(), TextPos(2, 3));
    TextPos s, e;
    second->GetSelectionRange(s, e);
    EXPECT_EQ(s, TextPos(0, 2));
    EXPECT_EQ(e, TextPos(2, 3));
    // And back: deleting in the second view moves the first one's caret.
    view->PutCaret(TextPos(1, 0));
    second->PutCaret(TextPos(0, 0));
    second->HandleCommand(kib::ID_EDIT_DELETE);
    EXPECT_EQ(Line(0), "x");
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    second->DetachBuffer();
    second->Destroy();
}

TEST_F(TextViewTest, BraceMatchHighlightsThePartnerAndFollowsTheCaret)
{
    SetText("class A {\r\n  int x;\r\n  void f() {}\r\n}");
    view->SetMatchBraces(1);
    view->PutCaret(TextPos(9, 0)); // right after "{"
    EXPECT_EQ(view->GetBraceMatchPos(), TextPos(0, 3));
    view->PutCaret(TextPos(3, 1));
    EXPECT_FALSE(view->GetBraceMatchPos().IsValid());
    view->SetMatchBraces(0);
    view->PutCaret(TextPos(9, 0));
    EXPECT_FALSE(view->GetBraceMatchPos().IsValid());
}

// --- painting, checked on the pixels of a line painted into a bitmap

class PaintTest : public EditorTest {
protected:
    wxImage PaintLineImage(int line, int width = 400)
    {
        int lh = view->GetLineHeight();
        wxBitmap bmp(width, lh);
        {
            wxMemoryDC dc(bmp);
            dc.SetBackground(*wxBLACK_BRUSH);
            dc.Clear();
            view->PaintLine(dc, wxRect(0, 0, width, lh), line);
        }
        wxImage img = bmp.ConvertToImage();
        return img;
    }
    wxImage PaintMarginImage(int line)
    {
        int lh = view->GetLineHeight(), w = view->MarginWidth();
        wxBitmap bmp(w, lh);
        {
            wxMemoryDC dc(bmp);
            view->PaintMargin(dc, wxRect(0, 0, w, lh), line);
        }
        return bmp.ConvertToImage();
    }
    static wxColour At(const wxImage& img, int x, int y)
    {
        return wxColour(img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y));
    }
    static wxColour Rgb(COLORREF c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
    // Counts pixels near a colour (anti-aliased glyphs and dotted lines only
    // come close to their colour) in the pixel columns [x0, x1).
    static int Count(const wxImage& img, int x0, int x1, const wxColour& c, int tolerance = 0)
    {
        int n = 0;
        for (int x = std::max(0, x0); x < std::min(img.GetWidth(), x1); ++x)
            for (int y = 0; y < img.GetHeight(); ++y) {
                wxColour p = At(img, x, y);
                if (std::abs(p.Red() - c.Red()) <= tolerance && std::abs(p.Green() - c.Green()) <= tolerance &&
                    std::abs(p.Blue() - c.Blue()) <= tolerance)
                    ++n;
            }
        return n;
    }
};

TEST_F(PaintTest, SelectionBackgroundCoversTheSelectedCellsAndTheLineBreak)
{
    SetText("abcdef\r\nxyz");
    int cw = view->GetCharWidth();
    view->SetAnchorPos(TextPos(2, 0));
    view->SetSelectionRange(TextPos(2, 0), TextPos(1, 1));
    wxImage img = PaintLineImage(0);
    wxColour sel = Rgb(view->BackColor(CI_SELECTION));
    wxColour back = Rgb(view->BackColor(CI_WND));
    EXPECT_EQ(At(img, cw * 1 + 1, 1), back);          // "b": not selected
    EXPECT_EQ(At(img, cw * 3 + 1, 1), sel);           // "d": selected
    EXPECT_EQ(At(img, cw * 6 + cw / 2, 1), sel);      // the selected line break
    EXPECT_EQ(At(img, cw * 8 + 1, 1), back);          // past it
    wxImage second = PaintLineImage(1);
    EXPECT_EQ(At(second, 1, 1), sel);
    EXPECT_EQ(At(second, cw * 2 + 1, 1), back);
}

TEST_F(PaintTest, InactiveSelectionStaysPaintedAfterTheFocusLeaves)
{
    SetText("abcdef");
    int cw = view->GetCharWidth();
    view->SetAnchorPos(TextPos(0, 0));
    view->SetSelectionRange(TextPos(0, 0), TextPos(3, 0));
    wxFocusEvent kill(wxEVT_KILL_FOCUS, view->GetId());
    view->GetEventHandler()->ProcessEvent(kill);
    EXPECT_FALSE(view->IsFocused());
    EXPECT_FALSE(view->IsCaretShown());
    wxImage img = PaintLineImage(0);
    EXPECT_EQ(At(img, cw + 1, 1), Rgb(view->BackColor(CI_SELECTION)));
}

TEST_F(PaintTest, WhiteSpaceMarksAndTabExpansion)
{
    SetText("a\tb c");
    view->SetTabWidth(4);
    EXPECT_EQ(view->DisplayLength(0), 7);
    EXPECT_EQ(view->DisplayColumn(TextPos(2, 0)), 4);
    int cw = view->GetCharWidth();
    wxColour ink = Rgb(view->TextColor(CI_WND));
    view->SetShowWhitespace(false);
    wxImage plain = PaintLineImage(0);
    const int tol = 110;
    EXPECT_EQ(Count(plain, cw * 1, cw * 4, ink, tol), 0); // the tab's cells are blank
    EXPECT_EQ(Count(plain, cw * 5, cw * 6, ink, tol), 0); // the blank too
    EXPECT_GT(Count(plain, cw * 4, cw * 5, ink, tol), 0); // "b" at column 4
    view->SetShowWhitespace(true);
    wxImage marked = PaintLineImage(0);
    EXPECT_GT(Count(marked, cw * 1, cw * 2, ink, tol), 0); // "»"
    EXPECT_EQ(Count(marked, cw * 2, cw * 4, ink, tol), 0); // then blanks
    EXPECT_GT(Count(marked, cw * 5, cw * 6, ink, tol), 0); // "•"
}

TEST_F(PaintTest, ColumnGuideAndBraceMatchAreDrawn)
{
    SetText("if (a) { b(); }");
    int cw = view->GetCharWidth();
    view->SetColumnGuide(9, true); // at the left edge of column 8, a blank
    wxImage img = PaintLineImage(0);
    int guideX = cw * (9 - 0 - 1);
    const wxColour guide = Rgb(CTextView::kColumnGuideColor);
    EXPECT_GT(Count(img, guideX, guideX + 2, guide, 40), 2);
    view->SetColumnGuide(9, false);
    img = PaintLineImage(0);
    EXPECT_EQ(Count(img, guideX, guideX + 2, guide, 40), 0);

    view->SetMatchBraces(1);
    view->PutCaret(TextPos(8, 0)); // after "{"
    ASSERT_EQ(view->GetBraceMatchPos(), TextPos(14, 0));
    img = PaintLineImage(0);
    wxColour matchBack = Rgb(view->BackColor(CI_BRACEMATCH));
    EXPECT_GT(Count(img, cw * 14, cw * 15, matchBack), cw * 2);
    EXPECT_EQ(Count(img, cw * 7, cw * 8, matchBack), 0);
}

TEST_F(PaintTest, ColourRunsGiveKeywordsAndCommentsTheirColours)
{
    SetText("int x; // note");
    int cw = view->GetCharWidth();
    wxImage img = PaintLineImage(0);
    EXPECT_GT(Count(img, 0, cw * 3, Rgb(view->TextColor(CI_KEYWORD))), 0);
    EXPECT_GT(Count(img, cw * 7, cw * 14, Rgb(view->TextColor(CI_COMMENT))), 0);
    EXPECT_EQ(Count(img, 0, cw * 3, Rgb(view->TextColor(CI_COMMENT))), 0);
}

TEST_F(PaintTest, LigaturesDoNotShiftTheCellGrid)
{
    // Courier (the default editor font) joins "fi" and "ffl" into one glyph.
    view->ApplySettings(CSettings());
    SetText("final  affluent");
    int cw = view->GetCharWidth();
    wxImage img = PaintLineImage(0);
    wxColour keyword = Rgb(view->TextColor(CI_KEYWORD));
    wxColour ink = Rgb(view->TextColor(CI_WND));
    EXPECT_GT(Count(img, cw * 4, cw * 5, keyword, 110), 0); // the "l" of final
    EXPECT_GT(Count(img, cw * 11, cw * 12, ink, 110), 0);   // the "l" of affluent
    EXPECT_GT(Count(img, cw * 14, cw * 15, ink, 110), 0);   // its "t"
}

TEST_F(PaintTest, MarginShowsBookmarkIcons)
{
    SetText("a\r\nb\r\nc");
    view->SetSelectionMargin(true);
    buffer->ChangeLineFlag(1, LINE_BOOKMARK_5, true);
    buffer->ChangeLineFlag(2, LINE_MARK, true, false);
    auto green = [](const wxImage& img) {
        int n = 0;
        for (int x = 2; x < 14; ++x)
            for (int y = 0; y < img.GetHeight(); ++y)
                if (img.GetGreen(x, y) > 120 && img.GetRed(x, y) < 60 && img.GetBlue(x, y) < 60)
                    ++n;
        return n;
    };
    EXPECT_EQ(green(PaintMarginImage(0)), 0);
    EXPECT_GT(green(PaintMarginImage(1)), 40);
    EXPECT_GT(green(PaintMarginImage(2)), 60); // the plain disc has no digit in it
}

} // namespace

namespace {

TEST_F(TextViewTest, AnEditRepaintsItsLineAndTheRestOnlyWhenTheColouringBelowChanges)
{
    SetText(Lines(100));
    view->PutCaret(TextPos(4, 5));
    view->Update();
    Pump(20);
    int lh = view->GetLineHeight();
    Type("x");
    view->Update();
    EXPECT_EQ(view->LastPaintBox().height, lh); // the line alone
    EXPECT_EQ(view->LastPaintBox().y, 5 * lh);
    Type("/*"); // opens a comment: every line below changes colour
    view->Update();
    EXPECT_EQ(view->LastPaintBox().y, 5 * lh);
    EXPECT_GE(view->LastPaintBox().GetBottom(), view->GetClientSize().y - lh);
    EXPECT_EQ(view->GetLineState(50), ST_BLOCKCOMMENT);
    Key(WXK_BACK);
    view->Update();
    EXPECT_EQ(view->GetLineState(50), 0u);
}

} // namespace

namespace {

// Far into a long line only a window of it is classified for painting; the
// colours must be those of the whole line.
TEST_F(PaintTest, AWindowOfAVeryLongLineColoursLikeTheWholeLine)
{
    std::string line;
    const char* pieces[] = {"int a = 1; ", "x = \"str ; \\\" q\" + 'c'; ", "/* block ; x */ ", "f(g, 0x1F); ",
                            "y = 3.14; ", "s = \"a\\\\\"; ", "return; "};
    for (int i = 0; line.size() < 60000; ++i)
        line += pieces[i % 7];
    std::string lineComment = line.substr(0, 30000) + "// comment ; to the end " + line.substr(0, 30000);
    std::string openString = line.substr(0, 30000) + "\" an open string ; " + line.substr(0, 30000);
    SetText(line + "\r\n" + lineComment + "\r\n" + openString);
    for (int l = 0; l < 3; ++l) {
        for (int column : {20000, 45000, 52345}) {
            view->PutCaret(TextPos(0, 0));
            view->ScrollToColumn(column);
            CTextView::SetLongLineWindow(8192);
            wxImage window = PaintLineImage(l, 600);
            CTextView::SetLongLineWindow(1 << 30);
            wxImage whole = PaintLineImage(l, 600);
            CTextView::SetLongLineWindow(8192);
            ASSERT_EQ(window.GetWidth(), whole.GetWidth());
            EXPECT_EQ(0, std::memcmp(window.GetData(), whole.GetData(),
                                     static_cast<size_t>(window.GetWidth()) * window.GetHeight() * 3))
                << "line " << l << " at column " << column;
        }
    }
}

// A very long line keeps places to start the walk to a painted column from;
// an edit that moves the columns without changing the line's length must
// not paint from the old places.
TEST_F(PaintTest, FarIntoAVeryLongLineAnEditThatMovesTheColumnsRepaintsRight)
{
    std::string line = "\t";
    const char* pieces[] = {"int a = 1;\t", "s = \"\xE4\xF6\xFC\"; ", "f(g, 0x1F); ", "\tx = y; "};
    for (int i = 0; line.size() < (3u << 20) / 2; ++i)
        line += pieces[i % 4];
    SetText(line);
    const int column = 1200000;
    view->ScrollToColumn(column);
    const wxImage before = PaintLineImage(0, 600);
    // The tab at the line's start becomes one letter: same length, every
    // later character three columns further left.
    ASSERT_TRUE(buffer->DeleteRange(nullptr, 0, 0, 0, 1));
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(buffer->InsertTextAt(nullptr, 0, 0, "x", endLine, endChar));
    ASSERT_EQ(Line(0).size(), line.size());
    view->ScrollToColumn(column);
    const wxImage after = PaintLineImage(0, 600);

    auto* fresh = new CJavaEditView(frame, wxID_ANY, wxPoint(0, 0), view->GetSize());
    fresh->AttachBuffer(buffer.get());
    Pump(50);
    fresh->ScrollToColumn(column);
    const int lh = fresh->GetLineHeight();
    wxBitmap bmp(600, lh);
    {
        wxMemoryDC dc(bmp);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        fresh->PaintLine(dc, wxRect(0, 0, 600, lh), 0);
    }
    const wxImage expected = bmp.ConvertToImage();
    fresh->DetachBuffer();
    fresh->Destroy();

    ASSERT_EQ(after.GetWidth(), expected.GetWidth());
    EXPECT_NE(0, std::memcmp(before.GetData(), after.GetData(), static_cast<size_t>(after.GetWidth()) * after.GetHeight() * 3))
        << "the edit moved the columns: the painted cells must differ";
    EXPECT_EQ(0, std::memcmp(after.GetData(), expected.GetData(),
                             static_cast<size_t>(after.GetWidth()) * after.GetHeight() * 3))
        << "painted from places kept before the edit";
}

} // namespace

#include <wx/splitter.h>

namespace {

TEST_F(TextViewTest, WheelScrollsThreeLinesPerNotchUnlessCtrlOrShiftIsHeld)
{
    SetText(Lines(300));
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = -120;
    wheel.m_wheelDelta = 120;
    wheel.m_linesPerAction = 3;
    view->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(view->GetTopLine(), 3);
    wheel.m_controlDown = true;
    view->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(view->GetTopLine(), 3);
    wheel.m_controlDown = false;
    wheel.m_wheelRotation = 240;
    view->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(view->GetTopLine(), 0);
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0)); // the caret stays
}

TEST_F(TextViewTest, ScrollBarActions)
{
    SetText(Lines(300));
    int page = view->GetScreenLines();
    auto scroll = [&](wxEventType type, int pos = 0) {
        wxScrollWinEvent ev(type, pos, wxVERTICAL);
        ev.SetEventObject(view);
        view->GetEventHandler()->ProcessEvent(ev);
    };
    scroll(wxEVT_SCROLLWIN_LINEDOWN);
    EXPECT_EQ(view->GetTopLine(), 1);
    scroll(wxEVT_SCROLLWIN_PAGEDOWN);
    EXPECT_EQ(view->GetTopLine(), 1 + page - 1);
    scroll(wxEVT_SCROLLWIN_THUMBTRACK, 120);
    EXPECT_EQ(view->GetTopLine(), 120);
    EXPECT_EQ(view->GetScrollPos(wxVERTICAL), 120);
    scroll(wxEVT_SCROLLWIN_BOTTOM);
    EXPECT_EQ(view->GetTopLine(), 300 - page + 1);
    scroll(wxEVT_SCROLLWIN_LINEUP);
    EXPECT_EQ(view->GetTopLine(), 300 - page);
    scroll(wxEVT_SCROLLWIN_TOP);
    EXPECT_EQ(view->GetTopLine(), 0);
    scroll(wxEVT_SCROLLWIN_LINEUP); // clamped at the first line
    EXPECT_EQ(view->GetTopLine(), 0);
}

TEST_F(TextViewTest, SplitterPanesSideBySideShareTheTopLine)
{
    SetText(Lines(300));
    auto* split = new wxSplitterWindow(frame, wxID_ANY, wxPoint(0, 0), wxSize(600, 300));
    auto* left = new CJavaEditView(split);
    auto* right = new CJavaEditView(split);
    split->SplitVertically(left, right);
    left->AttachBuffer(buffer.get());
    left->ScrollToTopLine(7);
    right->AttachBuffer(buffer.get()); // a new pane starts at its neighbour's line
    EXPECT_EQ(right->GetTopLine(), 7);
    left->ScrollToTopLine(0);
    right->ScrollToTopLine(0);
    Pump(30);
    left->HandleCommand(kib::ID_EDIT_SCROLLDOWN);
    left->HandleCommand(kib::ID_EDIT_SCROLLDOWN);
    EXPECT_EQ(left->GetTopLine(), 2);
    EXPECT_EQ(right->GetTopLine(), 2);
    // One above the other the panes share the column instead.
    split->Unsplit();
    split->SplitHorizontally(left, right);
    Pump(30);
    left->HandleCommand(kib::ID_EDIT_SCROLLDOWN);
    EXPECT_EQ(left->GetTopLine(), 3);
    EXPECT_EQ(right->GetTopLine(), 2);
    left->DetachBuffer();
    right->DetachBuffer();
    split->Destroy();
}

TEST_F(TextViewTest, RightClickMovesTheCaretOnlyOutsideTheSelection)
{
    SetText("alpha beta gamma");
    view->SetAnchorPos(TextPos(6, 0));
    view->SetSelectionRange(TextPos(6, 0), TextPos(10, 0));
    view->MoveCaretTo(TextPos(10, 0));
    Mouse(wxEVT_RIGHT_DOWN, Cell(7, 0));
    EXPECT_TRUE(view->IsSelection()); // inside: the context menu works on it
    Mouse(wxEVT_RIGHT_DOWN, Cell(13, 0));
    EXPECT_FALSE(view->IsSelection());
    EXPECT_EQ(view->GetCaretPos(), TextPos(13, 0));
}

TEST_F(TextViewTest, KeysOfOtherCommandsTravelUpAsMenuCommands)
{
    int seen = 0;
    frame->Bind(wxEVT_MENU, [&](wxCommandEvent& e) {
        if (kib::FromWxId(e.GetId()) == kib::ID_EDIT_FIND)
            ++seen;
    });
    Key('F', CTRL);
    EXPECT_EQ(seen, 1);
    Key('A'); // a plain letter is typed, not a command
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(Text(), "A");
}

TEST_F(TextViewTest, CaretIsShownOnlyWithTheFocusAndInsideTheVisibleColumns)
{
    SetText(std::string(300, 'x'));
    view->PutCaret(TextPos(5, 0));
    EXPECT_TRUE(view->IsCaretShown());
    EXPECT_EQ(view->GetCaretPixel(), view->TextToPoint(TextPos(5, 0)));
    view->ScrollToColumn(50);
    view->RefreshCaret();
    EXPECT_FALSE(view->IsCaretShown()); // left of the first visible column
    view->PutCaret(TextPos(280, 0)); // scrolls there
    EXPECT_TRUE(view->IsCaretShown());
    EXPECT_GT(view->GetFirstColumn(), 50);
    wxFocusEvent kill(wxEVT_KILL_FOCUS, view->GetId());
    view->GetEventHandler()->ProcessEvent(kill);
    EXPECT_FALSE(view->IsCaretShown());
}

} // namespace

namespace {

TEST_F(TextViewTest, TheTenThousandthLineWidensTheMarginAndRepaintsEverything)
{
    SetText(Lines(9999));
    view->PutCaret(TextPos(9, 9998));
    view->Update();
    int before = view->MarginWidth();
    Pump(30);
    view->ResetPaintedArea();
    Key(WXK_RETURN);
    view->Update();
    EXPECT_GT(view->MarginWidth(), before);
    wxRect box = view->PaintedArea();
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.width, view->GetClientSize().x);
    EXPECT_EQ(box.height, view->GetClientSize().y);
    // A keystroke that does not widen anything draws its line only.
    Pump(30);
    view->ResetPaintedArea();
    Type("z");
    view->Update();
    EXPECT_GT(view->PaintedArea().height, 0);
    EXPECT_LE(view->PaintedArea().height, view->GetLineHeight()); // the last, partly visible slot
}

} // namespace
