#include "editor/PrintLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using printing::CPrintLayout;
using printing::Margins;
using printing::Rect;

namespace {

// Lines of a fake document: the height of line i is given, 0 = empty.
struct FakeText {
    std::vector<int> heights;
    CPrintLayout::IsEmptyLine Empty() const
    {
        return [this](int i) { return heights[i] == 0; };
    }
    CPrintLayout::MeasureLine Measure(std::vector<int>* widths = nullptr) const
    {
        return [this, widths](int i, int w) {
            if (widths)
                widths->push_back(w);
            return heights[i];
        };
    }
};

constexpr Margins kNoMargins{0, 0, 0, 0};

// A page whose text area holds exactly 60 lines of height 10 below a footer band of 15.
const Rect kPage60{0, 0, 500, 615};

} // namespace

TEST(PrintLayout, TwoHundredShortLinesOnSixtyLinePagesGiveFourPages)
{
    FakeText text{std::vector<int>(200, 10)};
    CPrintLayout layout;
    layout.Layout(kPage60, kNoMargins, 600, 10, 200, text.Empty(), text.Measure());
    ASSERT_EQ(layout.PageCount(), 4);
    EXPECT_EQ(layout.PageStarts(), (std::vector<int32_t>{0, 60, 120, 180}));
    EXPECT_EQ(layout.FooterText("Page %d/%d", 3), "Page 3/4");
    int first = -1, end = -1;
    ASSERT_TRUE(layout.PageLines(4, 200, first, end));
    EXPECT_EQ(first, 180);
    EXPECT_EQ(end, 200);
    // Pages beyond the last have no lines.
    EXPECT_FALSE(layout.PageLines(5, 200, first, end));
    EXPECT_FALSE(layout.PageLines(0, 200, first, end));
}

TEST(PrintLayout, ExactlyFullPageAndOneLineOver)
{
    FakeText full{std::vector<int>(60, 10)};
    CPrintLayout layout;
    layout.Layout(kPage60, kNoMargins, 600, 10, 60, full.Empty(), full.Measure());
    EXPECT_EQ(layout.PageCount(), 1);
    FakeText over{std::vector<int>(61, 10)};
    layout.Layout(kPage60, kNoMargins, 600, 10, 61, over.Empty(), over.Measure());
    EXPECT_EQ(layout.PageCount(), 2);
    EXPECT_EQ(layout.PageStarts()[1], 60);
}

TEST(PrintLayout, WrappedLineCountsItsFullHeightAndIsMeasuredAtTextAreaWidth)
{
    // Line 50 wraps onto 5 rows: 50 + 5 rows = 55, so line 55 still fits but
    // the rest of the first page is 4 rows shorter.
    std::vector<int> h(100, 10);
    h[50] = 50;
    FakeText text{h};
    std::vector<int> widths;
    CPrintLayout layout;
    Margins m{1000, 2000, 0, 0}; // 10 mm and 20 mm at 254 dpi: 100 and 200 device units
    layout.Layout({0, 0, 1000, 615}, m, 254, 10, 100, text.Empty(), text.Measure(&widths));
    EXPECT_EQ(layout.PageStarts()[1], 56);
    ASSERT_FALSE(widths.empty());
    for (int w : widths)
        EXPECT_EQ(w, 700);
}

TEST(PrintLayout, LineTallerThanTheAreaTakesAPageOfItsOwn)
{
    FakeText text{{10, 2000, 10}};
    CPrintLayout layout;
    layout.Layout(kPage60, kNoMargins, 600, 10, 3, text.Empty(), text.Measure());
    EXPECT_EQ(layout.PageStarts(), (std::vector<int32_t>{0, 1, 2}));
    // As the first line of a text too.
    FakeText first{{2000, 10}};
    layout.Layout(kPage60, kNoMargins, 600, 10, 2, first.Empty(), first.Measure());
    EXPECT_EQ(layout.PageStarts(), (std::vector<int32_t>{0, 1}));
}

TEST(PrintLayout, EmptyLinesTakeOneLineHeightAndAreNotMeasured)
{
    std::vector<int> h(120, 0);
    FakeText text{h};
    int measured = 0;
    CPrintLayout layout;
    layout.Layout(kPage60, kNoMargins, 600, 10, 120, text.Empty(), [&](int, int) {
        ++measured;
        return 999;
    });
    EXPECT_EQ(measured, 0);
    EXPECT_EQ(layout.PageCount(), 2);
}

TEST(PrintLayout, OneLineAndNoLinesAreOnePage)
{
    FakeText text{{0}};
    CPrintLayout layout;
    layout.Layout(kPage60, kNoMargins, 600, 10, 1, text.Empty(), text.Measure());
    EXPECT_EQ(layout.PageCount(), 1);
    int first, end;
    ASSERT_TRUE(layout.PageLines(1, 1, first, end));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 1);
}

TEST(PrintLayout, MarginsAndBandsShapeTheTextArea)
{
    FakeText text{{10}};
    CPrintLayout layout;
    // 600 dpi: 10 mm = 236 device units (236.22 rounded).
    layout.Layout({0, 0, 4960, 7016}, Margins{}, 600, 41, 1, text.Empty(), text.Measure());
    const Rect& a = layout.TextArea();
    EXPECT_EQ(a.left, 236);
    EXPECT_EQ(a.top, 236);
    EXPECT_EQ(a.right, 4960 - 236);
    // Footer band: h + h/2 with h/2 rounded down = 41 + 20.
    EXPECT_EQ(a.bottom, 7016 - 236 - 61);
    EXPECT_EQ(layout.FooterBand().top, a.bottom);
    EXPECT_EQ(layout.FooterBand().bottom, 7016 - 236);
    EXPECT_EQ(layout.HeaderBand().Height(), 0);

    layout.header = true;
    layout.footer = false;
    layout.Layout({0, 0, 4960, 7016}, Margins{}, 600, 41, 1, text.Empty(), text.Measure());
    EXPECT_EQ(layout.TextArea().top, 236 + 61);
    EXPECT_EQ(layout.TextArea().bottom, 7016 - 236);
    EXPECT_EQ(layout.HeaderBand().top, 236);

    // Zero and 100 mm margins.
    layout.Layout({0, 0, 4960, 7016}, Margins{0, 0, 0, 0}, 600, 41, 1, text.Empty(), text.Measure());
    EXPECT_EQ(layout.TextArea().left, 0);
    EXPECT_EQ(layout.TextArea().top, 61);
    layout.Layout({0, 0, 4960, 7016}, Margins{10000, 10000, 10000, 10000}, 600, 41, 1, text.Empty(),
                  text.Measure());
    EXPECT_EQ(layout.TextArea().left, 2362);
    EXPECT_EQ(layout.TextArea().right, 4960 - 2362);
}

TEST(PrintLayout, UnnormalisedPageRectangleIsNormalised)
{
    FakeText text{{10}};
    CPrintLayout layout;
    layout.Layout({500, 615, 0, 0}, kNoMargins, 600, 10, 1, text.Empty(), text.Measure());
    EXPECT_EQ(layout.PageRect().left, 0);
    EXPECT_EQ(layout.PageRect().bottom, 615);
}

TEST(PrintLayout, PageStartsGrowInStepsOf32AndDiscardForgetsThem)
{
    FakeText text{std::vector<int>(40, 1000)}; // one page per line
    CPrintLayout layout;
    layout.Layout(kPage60, kNoMargins, 600, 10, 40, text.Empty(), text.Measure());
    EXPECT_EQ(layout.PageCount(), 40);
    EXPECT_EQ(layout.PageStarts().capacity(), 64u);
    layout.Discard();
    EXPECT_FALSE(layout.HasLayout());
    EXPECT_EQ(layout.PageCount(), 0);
    int first, end;
    EXPECT_FALSE(layout.PageLines(1, 40, first, end));
    // A new layout from a shorter text.
    text.heights.resize(20);
    layout.Layout(kPage60, kNoMargins, 600, 10, 20, text.Empty(), text.Measure());
    EXPECT_EQ(layout.PageCount(), 20);
}

TEST(PrintLayout, HundredthsOfMillimetresInDeviceUnits)
{
    EXPECT_EQ(printing::HundredthsMmToDevice(2540, 600), 600);
    EXPECT_EQ(printing::HundredthsMmToDevice(1000, 72), 28);
    EXPECT_EQ(printing::HundredthsMmToDevice(0, 600), 0);
    EXPECT_EQ(printing::HundredthsMmToDevice(10000, 96), 378);
}

TEST(PrintLayout, LineNumberPrefix)
{
    auto prefix = [](std::u32string cells, int line) {
        const size_t before = cells.size();
        const int n = printing::AppendLineNumberPrefix(cells, line);
        EXPECT_EQ(static_cast<size_t>(n), cells.size() - before);
        EXPECT_EQ(printing::LineNumberPrefixLength(line), n);
        return cells;
    };
    EXPECT_EQ(prefix(U"", 7), U"   7: ");
    EXPECT_EQ(prefix(U"", 1234), U"1234: ");
    EXPECT_EQ(prefix(U"", 100000), U"100000: ");
    EXPECT_EQ(prefix(U"ab", 12), U"ab  12: ");
}

TEST(PrintWrap, BreaksAfterBlanksAndInsideLongWords)
{
    std::u32string s = U"aaaa bbbb cccc";
    auto rows = printing::WrapCells(s, 10);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(s.substr(rows[0].begin, rows[0].end - rows[0].begin), U"aaaa bbbb ");
    EXPECT_EQ(s.substr(rows[1].begin), U"cccc");

    std::u32string word(25, U'x');
    rows = printing::WrapCells(word, 10);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].begin, 20);
    EXPECT_EQ(rows[2].end, 25);

    EXPECT_EQ(printing::WrapCells(U"", 10).size(), 1u);
    EXPECT_EQ(printing::WrapCells(U"abc", 0).size(), 3u);

    // Rows made into a vector that held another line's rows replace them.
    printing::WrapCellsInto(rows, U"ab", 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].begin, 0);
    EXPECT_EQ(rows[0].end, 2);
}

TEST(PrintWrap, NeverSplitsAWideCharacterFromItsTail)
{
    const char32_t tail = 0xFFFFFFFE;
    std::u32string s = U"abc";
    s += U'\u4e2d';
    s += tail;
    auto rows = printing::WrapCells(s, 4);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].end, 3);
    EXPECT_EQ(rows[1].begin, 3);
    EXPECT_EQ(rows[1].end, 5);
}
