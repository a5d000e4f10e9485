// The frame's status bar: the message pane is drawn at once, the other
// panes a moment later all together, and drawing one pane leaves the
// others' pixels as they were.
#include "app/IndicatorStatusBar.h"

#include "gui/GuiTestMain.h"
#include "gui/ScreenPixels.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

namespace {

class IndicatorStatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "status test", wxPoint(0, 0), wxSize(700, 200));
        bar = new CIndicatorStatusBar(frame, wxID_ANY, wxSTB_DEFAULT_STYLE, "status", 0);
        bar->SetFieldsCount(3);
        const int widths[3] = {-1, 150, 150};
        bar->SetStatusWidths(3, widths);
        frame->SetStatusBar(bar);
        frame->Show();
        bar->SetStatusText("Bereit", 0);
        bar->SetStatusText("Zeile: 1", 1);
        bar->SetStatusText("Spalte: 1", 2);
        ASSERT_TRUE(kibtest::PumpUntil([&] { return !bar->HasWaitingPanes(); }));
        kibtest::PumpEvents(100);
    }
    void TearDown() override
    {
        frame->Destroy();
        kibtest::PumpEvents(20);
    }
    wxImage Pane(int i)
    {
        wxRect r;
        EXPECT_TRUE(bar->GetFieldRect(i, r));
        return kibtest::ScreenPixels(bar, r);
    }

    wxFrame* frame = nullptr;
    CIndicatorStatusBar* bar = nullptr;
};

TEST_F(IndicatorStatusBarTest, AChangedPaneWaitsThenIsDrawnAloneLeavingTheOthersAsTheyWere)
{
    const wxImage line = Pane(1), column = Pane(2);
    bar->SetStatusText("Spalte: 2692251", 2);
    EXPECT_EQ(bar->GetStatusText(2), "Spalte: 2692251");
    EXPECT_TRUE(bar->HasWaitingPanes());
    ASSERT_TRUE(kibtest::PumpUntil([&] { return !bar->HasWaitingPanes(); }));
    kibtest::PumpEvents(100);
    EXPECT_TRUE(kibtest::PixelsDiffer(column, Pane(2)));
    EXPECT_FALSE(kibtest::PixelsDiffer(line, Pane(1))) << "the unchanged pane lost its text";
    // The whole bar drawn again shows the same: nothing was skipped that shows.
    const wxImage lineNow = Pane(1), columnNow = Pane(2);
    bar->Refresh();
    kibtest::PumpEvents(100);
    EXPECT_FALSE(kibtest::PixelsDiffer(lineNow, Pane(1)));
    EXPECT_FALSE(kibtest::PixelsDiffer(columnNow, Pane(2)));
}

TEST_F(IndicatorStatusBarTest, TheMessagePaneIsDrawnAtOnceAndTakesTheWaitingPanesAlong)
{
    const wxImage message = Pane(0), line = Pane(1);
    bar->SetStatusText("Zeile: 42", 1);
    ASSERT_TRUE(bar->HasWaitingPanes());
    bar->SetStatusText("Kompiliere...", 0);
    EXPECT_FALSE(bar->HasWaitingPanes());
    // Drawn before the call returned, without the loop running.
    EXPECT_TRUE(kibtest::PixelsDiffer(message, Pane(0)));
    EXPECT_TRUE(kibtest::PixelsDiffer(line, Pane(1)));
}

} // namespace
