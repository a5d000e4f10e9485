// The renderer alone, fed by a scripted source instead of a view: colour
// runs, selection, the brace partner, the column guide, white space and the
// classifier windows far into a long line.
#include "editor/TextRenderer.h"

#include <gtest/gtest.h>
#include <wx/font.h>

#include <string>
#include <vector>

namespace {

constexpr int kCell = 8;
constexpr int kHeight = 16;
constexpr COLORREF kWindow = 0xFFFFFF;
constexpr COLORREF kSelection = 0x800000;
constexpr COLORREF kBrace = 0x00FFFF;
constexpr COLORREF kOperatorBack = 0x00FF00;
constexpr COLORREF kGuide = 0x9C9C9C;

// Lines with scripted runs: every "+" is an operator run on a background of
// its own; a brace partner can be placed.
class CScriptedSource : public ITextPaintSource {
public:
    std::vector<std::string> lines;
    int braceLine = -1;
    int braceColumn = 0;
    std::vector<int> classifiedLengths; // each ClassifyLine call's length
    std::vector<std::pair<int, LineState>> stored;
    TextEncoding encoding = TextEncoding::Cp1252;

    int LineCount() const override { return static_cast<int>(lines.size()); }
    int LineLength(int line) const override { return static_cast<int>(lines[static_cast<size_t>(line)].size()); }
    const char* LineChars(int line) const override { return lines[static_cast<size_t>(line)].data(); }
    TextEncoding Encoding() const override { return encoding; }
    uint32_t LineFlags(int) const override { return 0; }
    int DisplayLength(int line) override { return LineLength(line); }
    LineState GetLineState(int) override { return 0; }
    LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs, int runCapacity,
                           int& runCount) override
    {
        classifiedLengths.push_back(length);
        runCount = 0;
        for (int i = 0; runs && i < length && runCount + 1 < runCapacity; ++i)
            if (chars[i] == '+') {
                runs[runCount++] = {i, CI_OPERATOR};
                runs[runCount++] = {i + 1, CI_WND};
            }
        return state + 1;
    }
    void StoreLineState(int line, LineState state) override { stored.emplace_back(line, state); }
    bool LineColorOverride(int, COLORREF&, COLORREF&, bool&) override { return false; }
    COLORREF TextColor(int cls) const override { return cls == CI_COLUMNGUIDE ? kGuide : 0x000000; }
    COLORREF BackColor(int cls) const override
    {
        switch (cls) {
        case CI_SELECTION: return kSelection;
        case CI_BRACEMATCH: return kBrace;
        case CI_OPERATOR: return kOperatorBack;
        default: return kWindow;
        }
    }
    bool IsClassItalic(int) const override { return false; }
    bool IsClassBold(int) const override { return false; }
    bool BraceMatchOnLine(int line, int& column, char& partner) const override
    {
        if (line != braceLine)
            return false;
        column = braceColumn;
        partner = '}';
        return true;
    }
};

class TextRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const wxFont font(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
        for (int slot = CGlyphCache::kNormal; slot <= CGlyphCache::kBoldItalic; ++slot)
            renderer.Glyphs().SetFont(slot, font, kCell, kHeight);
        renderer.Glyphs().SetFont(CGlyphCache::kMargin, font, 0, kHeight);
        canvas.Resize(40 * kCell, 2 * kHeight);
        frame.lineHeight = kHeight;
        frame.charWidth = kCell;
        frame.clientWidth = 40 * kCell;
    }

    // The background of a cell: its bottom-left pixel, below any glyph.
    COLORREF Cell(int column, int slot = 0) const { return canvas.Pixel(column * kCell, slot * kHeight + kHeight - 1); }

    void Render(int line, int slot = 0)
    {
        renderer.RenderLine(canvas, wxRect(0, slot * kHeight, 40 * kCell, kHeight), wxRect(), line, frame, source);
    }

    CTextRenderer renderer;
    CPixelCanvas canvas;
    TextPaintFrame frame;
    CScriptedSource source;
};

} // namespace

TEST_F(TextRendererTest, RunsSelectionAndBracePartnerTakeTheirColours)
{
    source.lines = {"a+b  {x}"};
    source.braceLine = 0;
    source.braceColumn = 7;
    frame.showSelection = true;
    frame.selStart = TextPos(3, 0);
    frame.selEnd = TextPos(5, 0);
    Render(0);
    EXPECT_EQ(Cell(0), kWindow);
    EXPECT_EQ(Cell(1), kOperatorBack);
    EXPECT_EQ(Cell(2), kWindow);
    EXPECT_EQ(Cell(3), kSelection);
    EXPECT_EQ(Cell(4), kSelection);
    EXPECT_EQ(Cell(5), kWindow);
    EXPECT_EQ(Cell(7), kBrace);
    EXPECT_EQ(Cell(8), kWindow) << "past the line end";
    // The whole line was classified from its start, so its end state is
    // handed back to the source.
    ASSERT_EQ(source.stored.size(), 1u);
    EXPECT_EQ(source.stored[0], std::make_pair(0, LineState(1)));
}

TEST_F(TextRendererTest, SelectionIsDrawnOnlyWhenShownAndCoversTheLineBreak)
{
    source.lines = {"abc", "def"};
    frame.selStart = TextPos(1, 0);
    frame.selEnd = TextPos(1, 1);
    Render(0);
    EXPECT_EQ(Cell(1), kWindow) << "not shown";
    frame.showSelection = true;
    Render(0);
    Render(1, 1);
    EXPECT_EQ(Cell(0), kWindow);
    EXPECT_EQ(Cell(2), kSelection);
    EXPECT_EQ(Cell(3), kSelection) << "the selected line break";
    EXPECT_EQ(Cell(4), kWindow);
    EXPECT_EQ(Cell(0, 1), kSelection);
    EXPECT_EQ(Cell(1, 1), kWindow);
}

TEST_F(TextRendererTest, ScrolledColumnsAndTheGuide)
{
    source.lines = {"0123456789+12345"};
    frame.firstColumn = 8;
    frame.drawGuide = true;
    frame.guidePosition = 20;
    Render(0);
    EXPECT_EQ(Cell(2), kOperatorBack) << "column 10 drawn at cell 2";
    EXPECT_EQ(canvas.Pixel((20 - 8 - 1) * kCell, 0), kGuide);
    // Past the line's end: the background alone.
    Render(-1, 1);
    EXPECT_EQ(Cell(0, 1), kWindow);
}

TEST_F(TextRendererTest, FarIntoALongLineOnlyAWindowIsClassified)
{
    CTextRenderer::SetLongLineWindow(64);
    std::string line;
    while (line.size() < 4000)
        line += "abc; ";
    line[3000] = '+';
    source.lines = {line};
    frame.firstColumn = 2998;
    Render(0);
    CTextRenderer::SetLongLineWindow(8192);
    EXPECT_EQ(Cell(2), kOperatorBack) << "the run found inside the window";
    ASSERT_GE(source.classifiedLengths.size(), 2u);
    // The state before the window, then the window itself (up to a cut
    // past the visible end): neither reaches the line's end.
    for (int length : source.classifiedLengths)
        EXPECT_LT(length, 4000);
    EXPECT_TRUE(source.stored.empty()) << "a part of the line tells nothing of its end state";
}

// Far into a very long line painting starts its walk to the first column
// at a place it keeps; a change of the text (here in place: same memory,
// same length) must be forgotten with them.
TEST_F(TextRendererTest, FarIntoAVeryLongLineAChangeMovesWhatIsPainted)
{
    std::string line;
    while (line.size() < 1200000)
        line += "abc; ";
    const int plus = 1100001;
    line[static_cast<size_t>(plus)] = '+';
    source.lines = {line};
    frame.tabWidth = 4;
    frame.firstColumn = plus - 2;
    Render(0);
    EXPECT_EQ(Cell(2), kOperatorBack);
    frame.firstColumn = plus - 7; // again, from the places kept
    Render(0);
    EXPECT_EQ(Cell(7), kOperatorBack);

    source.lines[0][0] = '\t'; // one tab of four cells for the "a"
    renderer.ForgetLineWindow();
    frame.firstColumn = plus - 2;
    Render(0);
    EXPECT_EQ(Cell(5), kOperatorBack) << "the tab moved everything after it three cells on";
    EXPECT_NE(Cell(2), kOperatorBack);
}

TEST_F(TextRendererTest, Utf8CharactersAreDrawnWholeInTheirCells)
{
    // 語 (bytes 0-2, cells 0-1), "+" (3), ä (4-5), "{x}" (6-8).
    source.encoding = TextEncoding::Utf8;
    source.lines = {"\xE8\xAA\x9E+\xC3\xA4{x}"};
    source.braceLine = 0;
    source.braceColumn = 8;
    frame.showSelection = true;
    // A selection starting inside 語 does not colour half of it.
    frame.selStart = TextPos(1, 0);
    frame.selEnd = TextPos(6, 0);
    Render(0);
    EXPECT_EQ(Cell(0), kWindow);
    EXPECT_EQ(Cell(1), kWindow);
    EXPECT_EQ(Cell(2), kSelection);
    EXPECT_EQ(Cell(3), kSelection);
    EXPECT_EQ(Cell(4), kWindow);
    EXPECT_EQ(Cell(6), kBrace) << "the partner's byte index is shown at its column";
    EXPECT_EQ(Cell(7), kWindow);
    EXPECT_EQ(renderer.Glyphs().Get(CGlyphCache::kNormal, U'\u8A9E').width, 2 * kCell);
    EXPECT_EQ(renderer.Glyphs().Get(CGlyphCache::kNormal, U'\u00E4').width, kCell);
    // Scrolled so that the view starts in the ideograph's second cell: the
    // operator run still lands on its own column.
    frame.firstColumn = 1;
    frame.showSelection = false;
    Render(0);
    EXPECT_EQ(Cell(0), kWindow);
    EXPECT_EQ(Cell(1), kOperatorBack);
}
