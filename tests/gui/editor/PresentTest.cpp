// A key's result is drawn onto the window when the key's handler returns,
// not in the toolkit's next frame; read back from the X server.
#include "EditorTestUtil.h"

#include "editor/XShmPresenter.h"
#include "gui/ScreenPixels.h"

#include <wx/evtloop.h>
#include <wx/timer.h>

using namespace edtest;

namespace {

class PresentTest : public EditorTest {
protected:
    wxRect LineArea(int line) { return wxRect(0, Cell(0, line).y, view->GetClientSize().x, Cell(0, line + 1).y - Cell(0, line).y); }

    // Sends the event as the toolkit does, without running the loop after it.
    void Send(wxEventType type, int keyCode, wxChar uni = 0)
    {
        wxKeyEvent ev(type);
        ev.SetEventObject(view);
        ev.m_keyCode = keyCode;
        ev.m_uniChar = uni;
        view->GetEventHandler()->ProcessEvent(ev);
    }
};

TEST_F(PresentTest, ATypedCharacterIsOnTheScreenWhenItsHandlerReturns)
{
    SetText("class Grüße {\r\n}");
    view->PutCaret(TextPos(0, 1));
    Pump(100);
    const wxImage before = kibtest::ScreenPixels(view, LineArea(1));
    ASSERT_TRUE(before.IsOk());
    Send(wxEVT_CHAR, 'W', 'W');
    EXPECT_EQ(Line(1), "W}");
    const wxImage at = kibtest::ScreenPixels(view, LineArea(1));
    EXPECT_TRUE(kibtest::PixelsDiffer(before, at)) << "nothing reached the screen before the loop ran";
    // The toolkit's own paint afterwards shows the same pixels.
    view->Refresh();
    Pump(100);
    EXPECT_FALSE(kibtest::PixelsDiffer(at, kibtest::ScreenPixels(view, LineArea(1))));
}

TEST_F(PresentTest, PageDownShowsTheScrolledTextAtOnce)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "int zeile" + std::to_string(i) + " = " + std::to_string(i * 7) + ";\r\n";
    SetText(text);
    Pump(100);
    const wxRect all(view->GetClientSize());
    const wxImage before = kibtest::ScreenPixels(view, all);
    Send(wxEVT_KEY_DOWN, WXK_PAGEDOWN);
    ASSERT_GT(view->GetTopLine(), 0);
    const wxImage at = kibtest::ScreenPixels(view, all);
    EXPECT_TRUE(kibtest::PixelsDiffer(before, at));
    view->Refresh();
    Pump(100);
    EXPECT_FALSE(kibtest::PixelsDiffer(at, kibtest::ScreenPixels(view, all)));
}

TEST_F(PresentTest, AFrozenViewLeavesTheDrawingToTheToolkit)
{
    SetText("abc");
    view->PutCaret(TextPos(3, 0));
    Pump(100);
    const wxImage before = kibtest::ScreenPixels(view, LineArea(0));
    view->Freeze();
    Send(wxEVT_CHAR, 'x', 'x');
    EXPECT_FALSE(kibtest::PixelsDiffer(before, kibtest::ScreenPixels(view, LineArea(0))));
    view->Thaw();
    Pump(100);
    EXPECT_TRUE(kibtest::PixelsDiffer(before, kibtest::ScreenPixels(view, LineArea(0))));
}

// A handler may open a dialog before it returns; the dialog's loop shows
// what the key had changed so far instead of leaving it for later.
TEST_F(PresentTest, ALoopRunFromInsideAKeysHandlerShowsWhatTheKeyChanged)
{
    SetText("abc");
    view->PutCaret(TextPos(3, 0));
    Pump(100);
    const wxImage before = kibtest::ScreenPixels(view, LineArea(0));
    wxImage during;
    {
        CTextView::PresentScope key;
        Send(wxEVT_CHAR, 'x', 'x');
        EXPECT_FALSE(kibtest::PixelsDiffer(before, kibtest::ScreenPixels(view, LineArea(0))));
        wxEventLoop dialog;
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            during = kibtest::ScreenPixels(view, LineArea(0));
            dialog.Exit();
        });
        timer.StartOnce(150);
        dialog.Run();
    }
    EXPECT_EQ(Line(0), "abcx");
    EXPECT_TRUE(kibtest::PixelsDiffer(before, during));
}

TEST_F(PresentTest, AViewDestroyedWithAKeptBackAreaIsForgotten)
{
    SetText("abc");
    Pump(100);
    auto* second = new CJavaEditView(frame, wxID_ANY, wxPoint(0, 200), wxSize(300, 100));
    second->AttachBuffer(buffer.get());
    Pump(100);
    {
        CTextView::PresentScope key;
        Send(wxEVT_CHAR, 'x', 'x'); // both views show the change
        second->DetachBuffer();
        delete second;
    } // the scope's end must not reach the deleted view
    EXPECT_EQ(Line(0), "xabc");
    Pump(50);
}

// The pixels go to the server from memory it shares with Kib; what the
// server shows must still be what the view drew, and only where the view
// shows.
class SharedPresentTest : public PresentTest {
protected:
    void TearDown() override
    {
        CXShmPresenter::Disable(false);
        PresentTest::TearDown();
    }

    std::string ManyLines()
    {
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "String größe" + std::to_string(i) + " = \"äöü\";\r\n";
        return text;
    }
};

TEST_F(SharedPresentTest, TheViewSharesItsPixelsWithALocalServer)
{
    SetText("abc");
    Pump(100);
    EXPECT_TRUE(view->SharesPixelsWithServer());
}

TEST_F(SharedPresentTest, AWindowAboveTheViewKeepsItsPixels)
{
    SetText("abc");
    view->PutCaret(TextPos(3, 0));
    Pump(100);
    const wxRect line = LineArea(0);
    auto* cover = new wxWindow(frame, wxID_ANY, view->GetPosition() + wxPoint(0, line.y),
                               wxSize(line.width / 2, line.height * 3));
    cover->SetBackgroundColour(wxColour(200, 0, 0));
    cover->Raise();
    Pump(150);
    const wxImage covered = kibtest::ScreenPixels(cover, wxRect(cover->GetClientSize()));
    const wxRect free(line.width / 2, line.y, line.width - line.width / 2, line.height);
    const wxImage before = kibtest::ScreenPixels(view, free);
    // A long line reaches under the cover and beyond it.
    Send(wxEVT_CHAR, 'x', 'x');
    for (int i = 0; i < 60; ++i)
        Send(wxEVT_CHAR, 'W', 'W');
    EXPECT_FALSE(kibtest::PixelsDiffer(covered, kibtest::ScreenPixels(cover, wxRect(cover->GetClientSize()))))
        << "the view drew over the window above it";
    EXPECT_FALSE(kibtest::PixelsDiffer(before, kibtest::ScreenPixels(view, free)));
    // The toolkit draws it instead, beneath the window above.
    Pump(100);
    EXPECT_TRUE(kibtest::PixelsDiffer(before, kibtest::ScreenPixels(view, free)));
    EXPECT_FALSE(kibtest::PixelsDiffer(covered, kibtest::ScreenPixels(cover, wxRect(cover->GetClientSize()))));
    // Without it, keys show at once again.
    cover->Destroy();
    Pump(100);
    const wxImage uncovered = kibtest::ScreenPixels(view, line);
    Send(wxEVT_CHAR, 'y', 'y');
    EXPECT_TRUE(kibtest::PixelsDiffer(uncovered, kibtest::ScreenPixels(view, line)));
    Pump(50);
}

TEST_F(SharedPresentTest, KeysInARowWithoutTheLoopEndOnTheLastState)
{
    SetText(ManyLines());
    Pump(100);
    const wxRect all(view->GetClientSize());
    // Each key draws into memory the server may still read from.
    for (int i = 0; i < 20; ++i) {
        Send(wxEVT_KEY_DOWN, WXK_PAGEDOWN);
        Send(wxEVT_CHAR, 'q', 'q');
    }
    const wxImage at = kibtest::ScreenPixels(view, all);
    view->Refresh();
    Pump(100);
    EXPECT_FALSE(kibtest::PixelsDiffer(at, kibtest::ScreenPixels(view, all)));
}

// Views shown once each (many documents) do not pile up segments in the
// server: past the limit they keep their own memory, and a segment given
// back serves the next view.
TEST_F(SharedPresentTest, OnlyALimitedNumberOfViewsShareTheirPixels)
{
    SetText("abc");
    Pump(50);
    std::vector<CJavaEditView*> views;
    for (int i = 0; i < CXShmPresenter::kMaxSegments + 2; ++i) {
        auto* v = new CJavaEditView(frame, wxID_ANY, wxPoint(0, 0), wxSize(120, 60));
        v->AttachBuffer(buffer.get());
        views.push_back(v);
        Pump(20);
    }
    Pump(100);
    int shared = view->SharesPixelsWithServer() ? 1 : 0;
    for (CJavaEditView* v : views)
        shared += v->SharesPixelsWithServer() ? 1 : 0;
    EXPECT_EQ(shared, CXShmPresenter::kMaxSegments);
    EXPECT_FALSE(views.back()->SharesPixelsWithServer());
    for (size_t i = 0; i < 3; ++i) {
        views[i]->DetachBuffer();
        views[i]->Destroy();
    }
    Pump(50);
    auto* later = new CJavaEditView(frame, wxID_ANY, wxPoint(0, 0), wxSize(120, 60));
    later->AttachBuffer(buffer.get());
    Pump(100);
    EXPECT_TRUE(later->SharesPixelsWithServer());
    views.push_back(later);
    for (size_t i = 3; i < views.size(); ++i) {
        views[i]->DetachBuffer();
        views[i]->Destroy();
    }
    Pump(50);
}

TEST_F(SharedPresentTest, WithoutSharedMemoryAKeyStillShowsAtOnce)
{
    CXShmPresenter::Disable(true);
    auto* other = new CJavaEditView(frame, wxID_ANY, wxPoint(0, 0), view->GetSize());
    other->AttachBuffer(buffer.get());
    view->Hide();
    SetText("abc");
    Focus(other);
    other->PutCaret(TextPos(3, 0));
    Pump(150);
    EXPECT_FALSE(other->SharesPixelsWithServer());
    const wxRect area(0, 0, other->GetClientSize().x, Cell(0, 1, other).y);
    const wxImage before = kibtest::ScreenPixels(other, area);
    wxKeyEvent ev(wxEVT_CHAR);
    ev.SetEventObject(other);
    ev.m_keyCode = 'x';
    ev.m_uniChar = 'x';
    other->GetEventHandler()->ProcessEvent(ev);
    EXPECT_EQ(Line(0), "abcx");
    const wxImage at = kibtest::ScreenPixels(other, area);
    EXPECT_TRUE(kibtest::PixelsDiffer(before, at));
    other->Refresh();
    Pump(100);
    EXPECT_FALSE(kibtest::PixelsDiffer(at, kibtest::ScreenPixels(other, area)));
    other->DetachBuffer();
    other->Destroy();
    view->Show();
    Pump(50);
}

} // namespace
