// The output pane's tab columns as a real window: a line with tabs paints
// exactly as the same line with the tabs spelled out as blanks (selected,
// scrolled, and scrolled into the middle of a tab), and a click lands on the
// character boundary nearest to it.
#include "controls/OutputPane.h"

#include "gui/GuiTestMain.h"
#include "support/SpelledTabs.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Pos = COutputPane::Pos;

// The column a character index starts at (the test's own count).
int ColumnOf(const std::string& line, int index)
{
    return static_cast<int>(kibtest::SpelledTabs(line.substr(0, static_cast<size_t>(index))).size());
}

class OutputPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "Ausgaben", wxPoint(20, 20), wxSize(700, 260));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        m_tabs = new COutputPane(m_frame, wxID_ANY);
        m_blanks = new COutputPane(m_frame, wxID_ANY);
        sizer->Add(m_tabs, 1, wxEXPAND);
        sizer->Add(m_blanks, 1, wxEXPAND);
        // The focus stays off both panes: only the focused one draws a caret
        // and the bright selection.
        auto* elsewhere = new wxButton(m_frame, wxID_ANY, "OK");
        sizer->Add(elsewhere);
        m_frame->SetSizer(sizer);
        m_frame->Show();
        elsewhere->SetFocus();
        kibtest::PumpEvents(100);
        wxClientDC dc(m_tabs);
        dc.SetFont(m_tabs->GetOutputFont());
        m_charWidth = dc.GetTextExtent("X").x;
    }
    void TearDown() override
    {
        m_frame->Destroy();
        kibtest::PumpEvents(30);
    }

    void Fill(const std::vector<std::string>& lines)
    {
        m_lines = lines;
        std::string tabs, blanks;
        for (size_t i = 0; i < lines.size(); ++i) {
            tabs += (i ? "\r\n" : "") + lines[i];
            blanks += (i ? "\r\n" : "") + kibtest::SpelledTabs(lines[i]);
        }
        m_tabs->AppendText(tabs);
        m_blanks->AppendText(blanks);
        kibtest::PumpEvents(20);
    }

    // The same selection in both panes: character indices in the pane with
    // tabs, the columns they start at in the other.
    void Select(Pos from, Pos to, bool scroll)
    {
        m_tabs->SetSelection(from, to, scroll);
        m_blanks->SetSelection(Pos{from.line, ColumnOf(m_lines[from.line], from.index)},
                               Pos{to.line, ColumnOf(m_lines[to.line], to.index)}, scroll);
    }

    static void ScrollTo(COutputPane* pane, int column)
    {
        wxScrollWinEvent event(wxEVT_SCROLLWIN_THUMBTRACK, column, wxHORIZONTAL);
        event.SetEventObject(pane);
        pane->GetEventHandler()->ProcessEvent(event);
    }

    static wxImage Image(COutputPane* pane)
    {
        wxSize size = pane->GetClientSize();
        wxBitmap bmp(size.x, size.y);
        {
            wxMemoryDC dc(bmp);
            pane->Paint(dc);
        }
        return bmp.ConvertToImage();
    }

    // Pixel columns where the two panes' pictures differ (empty: the same).
    ::testing::AssertionResult PaintAlike()
    {
        if (m_tabs->HasFocus() || m_blanks->HasFocus())
            return ::testing::AssertionFailure() << "a pane has the focus";
        wxImage a = Image(m_tabs), b = Image(m_blanks);
        if (a.GetSize() != b.GetSize())
            return ::testing::AssertionFailure() << "the panes differ in size";
        int inked = 0;
        for (int y = 0; y < a.GetHeight(); ++y)
            for (int x = 0; x < a.GetWidth(); ++x) {
                if (a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
                    a.GetBlue(x, y) != b.GetBlue(x, y))
                    return ::testing::AssertionFailure() << "first difference at (" << x << ", " << y << ")";
                if (a.GetRed(x, y) != a.GetRed(0, a.GetHeight() - 1))
                    ++inked;
            }
        if (inked == 0)
            return ::testing::AssertionFailure() << "nothing was painted";
        return ::testing::AssertionSuccess();
    }

    wxFrame* m_frame = nullptr;
    COutputPane* m_tabs = nullptr;
    COutputPane* m_blanks = nullptr;
    std::vector<std::string> m_lines;
    int m_charWidth = 8;
};

const std::vector<std::string> kLines = {
    "A.java:3: error: ';' expected",
    "\t\tcall(a,\tb)",
    "\t\t       ^",
    "abc\tdefghij\tk\t\tl",
    "1234567\t8\t12345678\tx",
};

TEST_F(OutputPaneTest, TabsPaintAsTheBlanksToTheNextStop)
{
    Fill(kLines);
    EXPECT_TRUE(PaintAlike()) << "caret at the end, nothing selected";

    // From inside the first line through the line break cells to the middle
    // of a line, starting and ending next to tabs.
    Select(Pos{1, 1}, Pos{3, 4}, false);
    EXPECT_TRUE(PaintAlike()) << "selection over tabs and line ends";
    Select(Pos{4, 7}, Pos{4, 10}, false);
    EXPECT_TRUE(PaintAlike()) << "selection of a tab after seven cells, a digit and a tab of one cell";
}

TEST_F(OutputPaneTest, ScrolledSidewaysTabsStillPaintAsBlanks)
{
    std::vector<std::string> lines = kLines;
    // A line wider than the pane, with tabs all along it.
    std::string wide;
    for (int i = 0; i < 40; ++i)
        wide += "x" + std::to_string(i) + "\t";
    lines.push_back(wide);
    Fill(lines);
    // The caret far right: both panes scroll to the same column.
    Select(Pos{5, 2}, Pos{5, static_cast<int>(wide.size()) - 3}, true);
    EXPECT_TRUE(PaintAlike()) << "scrolled to show the caret";
    // The left edge in the middle of a tab of the wide line (it starts at
    // column 40 and ends at 48).
    for (int column : {43, 41, 47}) {
        ScrollTo(m_tabs, column);
        ScrollTo(m_blanks, column);
        EXPECT_TRUE(PaintAlike()) << "left edge at column " << column;
    }
}

// A click lands on the character boundary nearest to its column; inside a
// tab the left half stays before it and the right half (and the middle)
// goes after it.
TEST_F(OutputPaneTest, AClickLandsOnTheNearestCharacterBoundary)
{
    const std::string line = "ab\tc\t\td\tefghijkl\tm";
    Fill({line});
    std::vector<int> starts; // column of every boundary, index by index
    for (int i = 0; i <= static_cast<int>(line.size()); ++i)
        starts.push_back(ColumnOf(line, i));
    for (int x = 0; x < (starts.back() + 4) * m_charWidth; ++x) {
        int column = (std::max(0, x - 2) + m_charWidth / 2) / m_charWidth;
        int expected = static_cast<int>(line.size());
        for (int i = 0; i + 1 < static_cast<int>(starts.size()); ++i) {
            if (column < starts[i + 1]) {
                expected = 2 * column < starts[i] + starts[i + 1] ? i : i + 1;
                break;
            }
        }
        Pos p = m_tabs->PositionFromPoint(wxPoint(x, 3));
        ASSERT_EQ(p.line, 0);
        ASSERT_EQ(p.index, expected) << "x " << x << ", column " << column;
    }
}

} // namespace

// The sideways scroll range counts display columns: scrolled to the end of
// a line of tabs, the pane shows the same end as its blanks do, whether the
// line came in one piece or a byte at a time; a line joined from two counts
// its moved tab stops.
TEST_F(OutputPaneTest, ScrolledFullyRightATabbedLineShowsItsEnd)
{
    const std::string wide = std::string(30, '\t') + "Ende";
    const int endColumn = static_cast<int>(kibtest::SpelledTabs(wide).size()) - 4;
    Fill({"kurz", wide});
    ScrollTo(m_tabs, endColumn);
    ScrollTo(m_blanks, endColumn);
    EXPECT_TRUE(PaintAlike()) << "one piece";

    m_tabs->Clear();
    m_blanks->Clear();
    for (char c : wide) {
        m_tabs->AppendText(std::string(1, c));
        m_blanks->AppendText(kibtest::SpelledTabs(std::string(1, c)));
    }
    kibtest::PumpEvents(20);
    ScrollTo(m_tabs, endColumn);
    ScrollTo(m_blanks, endColumn);
    EXPECT_TRUE(PaintAlike()) << "a byte at a time";

    // Joining a short line with a tabbed one moves the tabs' stops.
    m_tabs->Clear();
    m_tabs->AppendText("x\r\n" + std::string(20, '\t'));
    m_tabs->SetSelection(Pos{0, 1}, Pos{1, 0}, false);
    m_tabs->ReplaceSel(std::string(15, 'y'));
    kibtest::PumpEvents(20);
    const std::string joined = "x" + std::string(15, 'y') + std::string(20, '\t');
    ASSERT_EQ(m_tabs->GetLineText(0), joined);
    EXPECT_GE(m_tabs->GetScrollRange(wxHORIZONTAL), static_cast<int>(kibtest::SpelledTabs(joined).size()) + 1);
}

TEST_F(OutputPaneTest, EveryKindOfLineBreakEndsALineAlsoWhenAWriteEndsInsideALine)
{
    m_tabs->AppendText("eins\r\nzwei\ndrei\rvier");
    m_tabs->AppendText("te");
    m_tabs->AppendText("s\r\nfünf\r\n");
    const std::vector<std::string> expected = {"eins", "zwei", "drei", "viertes", "fünf", ""};
    ASSERT_EQ(m_tabs->GetLineCount(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(m_tabs->GetLineText(static_cast<int>(i)), expected[i]) << "line " << i;
    EXPECT_EQ(m_tabs->GetTextLength(), std::string("eins\r\nzwei\ndrei\rviertes\r\nfünf\r\n").size());
}

TEST_F(OutputPaneTest, TextIsPaintedInTheOutputFont)
{
    // The pane keeps the font for its painting only; a larger one must show
    // as wider text.
    wxFont big(wxFontInfo(24).Family(wxFONTFAMILY_TELETYPE));
    m_tabs->SetOutputFont(big);
    m_tabs->AppendText("XXXXXXXXXX");
    kibtest::PumpEvents(20);
    wxClientDC dc(m_tabs);
    dc.SetFont(big);
    const int bigWidth = dc.GetTextExtent("X").x;
    ASSERT_GT(bigWidth, m_charWidth * 3 / 2);
    wxImage image = Image(m_tabs);
    const int lineHeight = dc.GetCharHeight();
    int right = -1;
    for (int y = 0; y < std::min(lineHeight, image.GetHeight()); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) != image.GetRed(image.GetWidth() - 1, image.GetHeight() - 1))
                right = std::max(right, x);
    EXPECT_GT(right, 2 + 9 * bigWidth) << "the ten X reach into the tenth cell of the big font";
    EXPECT_LE(right, 2 + 10 * bigWidth);
}
