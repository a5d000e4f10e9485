// The tool bar's find box: it stands where the find button was, Enter
// searches the active editor from the caret (ignoring case, with wrap) and
// keeps the text in the list once, Escape leaves the box, and only a box of
// the tool bar counts as the sender.
#include "FindTestSupport.h"

#include "app/FindComboBox.h"
#include "app/MainFrameFind.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"

#include <wx/aui/auibar.h>

#include <cstdlib>

using namespace findtest;
using namespace kib;

namespace {

wxAuiToolBar* Bar(CMainFrame* frame)
{
    return wxDynamicCast(frame->StandardToolBar(), wxAuiToolBar);
}

wxComboBox* Box(CMainFrame* frame)
{
    wxAuiToolBar* bar = Bar(frame);
    wxAuiToolBarItem* item = bar ? bar->FindTool(ToWxId(ID_EDIT_FIND_BOX)) : nullptr;
    return item ? wxDynamicCast(item->GetWindow(), wxComboBox) : nullptr;
}

void PressKey(wxWindow* w, int key)
{
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = key;
    down.SetEventObject(w);
    w->GetEventHandler()->ProcessEvent(down);
}

} // namespace

TEST_F(FindTest, FindBoxTakesThePlaceOfTheFindButton)
{
    ASSERT_TRUE(Start());
    wxAuiToolBar* bar = Bar(Frame());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->FindTool(ToWxId(ID_EDIT_FIND)), nullptr);
    wxComboBox* box = Box(Frame());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(dynamic_cast<CFindComboBox*>(box), nullptr);
    // Between paste and undo, as the find button was.
    int boxIndex = bar->GetToolPos(ToWxId(ID_EDIT_FIND_BOX));
    EXPECT_GT(boxIndex, bar->GetToolPos(ToWxId(ID_EDIT_PASTE)));
    EXPECT_LT(boxIndex, bar->GetToolPos(ToWxId(ID_EDIT_UNDO)));
    EXPECT_EQ(Utf8(box->GetToolTipText()), "Suchen nach Text");
    // Like every command, the box is offered while an editor handles it.
    kibtest::PumpEvents(100);
    EXPECT_FALSE(box->IsEnabled());
    ASSERT_NE(Open(File("A.java", "x\r\n")), nullptr);
    EXPECT_TRUE(kibtest::PumpUntil([box] { return box->IsEnabled(); }, 3000));
}

TEST_F(FindTest, EnterInTheFindBoxSearchesTheActiveEditor)
{
    CKibView* view = StartWith("Alpha beta\r\nALPHA\r\n");
    ASSERT_NE(view, nullptr);
    wxComboBox* box = Box(Frame());
    ASSERT_NE(box, nullptr);
    box->SetValue("alpha");
    view->PutCaret(TextPos(1, 0));
    PressKey(box, WXK_RETURN);
    kibtest::PumpEvents(30); // the command is posted to the frame
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 1));
    EXPECT_EQ(Selected(view), "ALPHA");
    EXPECT_EQ(box->GetCount(), 1u);
    EXPECT_EQ(Utf8(box->GetString(0)), "alpha");
    // Again: wraps to the first line, the list keeps one entry.
    PressKey(box, WXK_RETURN);
    kibtest::PumpEvents(30);
    EXPECT_EQ(view->GetCaretPos(), TextPos(5, 0));
    EXPECT_EQ(box->GetCount(), 1u);
    long from = 0, to = 0;
    box->GetSelection(&from, &to);
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, 5);
    EXPECT_TRUE(Messages().empty());
    // The box leaves the remembered search alone: F3 stays off.
    EXPECT_FALSE(view->FindCommands().Remembered().present);
    EXPECT_FALSE(kibtest::Query(Frame(), ID_EDIT_REPEAT).enabled);

    box->SetValue("gamma");
    PressKey(box, WXK_RETURN);
    kibtest::PumpEvents(30);
    EXPECT_EQ(Messages(), std::vector<std::string>{"String \"gamma\" kann nicht gefunden werden!"});
    EXPECT_EQ(box->GetCount(), 2u);
    // An empty box searches nothing.
    box->SetValue("");
    PressKey(box, WXK_RETURN);
    kibtest::PumpEvents(30);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(box->GetCount(), 2u);
}

TEST_F(FindTest, OnlyTheToolBarsFindBoxCountsAsTheSender)
{
    CKibView* view = StartWith("needle\r\n");
    ASSERT_NE(view, nullptr);
    // A box of the same kind outside the tool bar sends the same command.
    auto* stray = new CFindComboBox(Frame(), wxID_ANY);
    stray->SetValue("needle");
    PressKey(stray, WXK_RETURN);
    kibtest::PumpEvents(30);
    EXPECT_FALSE(view->IsSelection());
    EXPECT_EQ(view->GetCaretPos(), TextPos(0, 0));
    EXPECT_EQ(stray->GetCount(), 0u);
    // And the command from a menu names no box at all.
    Box(Frame())->SetValue("needle");
    Frame()->RouteCommand(ID_EDIT_FIND_BOX);
    EXPECT_FALSE(view->IsSelection());
    stray->Destroy();
    EXPECT_EQ(FindBoxOf(Bar(Frame()), Box(Frame())), Box(Frame()));
    EXPECT_EQ(FindBoxOf(Bar(Frame()), nullptr), nullptr);
}

TEST_F(FindTest, EscapeInTheFindBoxHandsTheKeyboardBack)
{
    CKibView* view = StartWith("x\r\n");
    ASSERT_NE(view, nullptr);
    wxComboBox* box = Box(Frame());
    auto inBox = [box] {
        for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
            if (w == box)
                return true;
        return false;
    };
    box->SetFocus();
    ASSERT_TRUE(kibtest::PumpUntil(inBox, 2000));
    PressKey(box, WXK_ESCAPE);
    kibtest::PumpEvents(30);
    EXPECT_FALSE(inBox()) << "focus stayed in the find box";
    // Other keys take the ordinary path.
    box->SetFocus();
    ASSERT_TRUE(kibtest::PumpUntil(inBox, 2000));
    PressKey(box, 'A');
    kibtest::PumpEvents(30);
    EXPECT_TRUE(inBox());
}

// The box with real key presses from the X server: typed text and Enter.
TEST_F(FindTest, TypedTextAndEnterInTheFindBoxFindIt)
{
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xdotool missing";
    CKibView* view = StartWith("one two\r\nthree two\r\n");
    ASSERT_NE(view, nullptr);
    Frame()->SetSize(0, 0, 1000, 700);
    Frame()->Raise();
    kibtest::PumpEvents(100);
    wxComboBox* box = Box(Frame());
    ASSERT_NE(box, nullptr);
    view->PutCaret(TextPos(4, 0));
    const wxPoint p = box->ClientToScreen(wxPoint(20, box->GetSize().y / 2));
    const std::string move = "xdotool mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 1";
    ASSERT_EQ(std::system(move.c_str()), 0);
    kibtest::PumpUntil([&] { return wxWindow::FindFocus() && wxGetTopLevelParent(wxWindow::FindFocus()) == Frame(); }, 2000);
    box->SetFocus();
    kibtest::PumpEvents(100);
    ASSERT_EQ(std::system("xdotool type --delay 20 two"), 0);
    kibtest::PumpUntil([&] { return box->GetValue() == "two"; }, 3000);
    ASSERT_EQ(Utf8(box->GetValue()), "two");
    ASSERT_EQ(std::system("xdotool key Return"), 0);
    ASSERT_TRUE(kibtest::PumpUntil([&] { return view->IsSelection(); }, 3000));
    EXPECT_EQ(view->GetCaretPos(), TextPos(7, 0));
    EXPECT_EQ(Selected(view), "two");
}
