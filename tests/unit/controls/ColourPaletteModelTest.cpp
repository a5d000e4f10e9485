// The colour palette without its window: the table of 40 named colours,
// which entry matches the opening colour, the layout, the entry under a
// point, the arrow keys and the colour reported for each entry.
#include "controls/ColourPaletteModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using colours::Rgb;
using M = CColourPaletteModel;

namespace {

const M::Rect kScreen{0, 0, 1280, 1024};

M Laid(colours::Colour initial, bool automatic = true, bool custom = true, int x = 100, int y = 100)
{
    M m(initial, automatic, custom);
    m.Layout(x, y, 2, 80, 15, kScreen, y - 24);
    return m;
}

} // namespace

TEST(ColourTable, FortyNamedColoursInTheirOrder)
{
    EXPECT_EQ(colours::kCount, 40);
    EXPECT_EQ(colours::TableName(0), "Black");
    EXPECT_EQ(colours::TableColour(1), Rgb(165, 42, 0));
    EXPECT_EQ(colours::TableName(5), "Dark blue");
    EXPECT_EQ(colours::TableColour(5), Rgb(0, 0, 139));
    EXPECT_EQ(colours::TableName(15), "Grey - 40");
    EXPECT_EQ(colours::TableColour(20), Rgb(127, 255, 212));
    EXPECT_EQ(colours::TableName(23), "Grey - 50");
    EXPECT_EQ(colours::TableName(29), "Skyblue");
    EXPECT_EQ(colours::TableColour(37), Rgb(104, 131, 139));
    EXPECT_EQ(colours::TableName(39), "White");
    EXPECT_EQ(colours::TableColour(39), 0xFFFFFFu);
    std::set<std::string> names;
    for (int i = 0; i < colours::kCount; ++i)
        names.insert(std::string(colours::TableName(i)));
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(colours::TableName(40), "");
    EXPECT_EQ(colours::TableName(-1), "");
    // 0x00BBGGRR: red in the low byte.
    EXPECT_EQ(colours::TableColour(16), 0x0000FFu);
    EXPECT_EQ(colours::FindTableColour(Rgb(255, 215, 0)), 25);
    EXPECT_EQ(colours::FindTableColour(Rgb(1, 2, 3)), -1);
}

TEST(ColourPaletteModel, ChosenEntryMatchesTheOpeningColour)
{
    EXPECT_EQ(M(colours::kAutomatic, true, true).Chosen(), M::kAutomatic);
    // Without an automatic caption the automatic value is just a colour
    // that is not in the table.
    EXPECT_EQ(M(colours::kAutomatic, false, true).Chosen(), M::kCustom);
    EXPECT_EQ(M(Rgb(0, 0, 255), true, true).Chosen(), 13);
    EXPECT_EQ(M(Rgb(1, 2, 3), true, true).Chosen(), M::kCustom);
    EXPECT_EQ(M(Rgb(1, 2, 3), true, false).Chosen(), M::kNone);
    const M m(Rgb(1, 2, 3), true, true);
    EXPECT_EQ(m.Hovered(), M::kNone);
    EXPECT_EQ(m.Current(), Rgb(1, 2, 3));
}

TEST(ColourPaletteModel, LayoutOfBoxesCaptionsAndWindow)
{
    const M m = Laid(0);
    EXPECT_EQ(m.BoxSize(), 18);
    EXPECT_EQ(m.Margin(), 2);
    const int h = 15 + 4 * 2 + 2; // text height + 4 margins + 2
    EXPECT_EQ(m.AutomaticRect(), (M::Rect{2, 2, m.Window().Width() - 2, h + 4}));
    // Window: 8 boxes wide, 5 rows high, then both captions.
    EXPECT_EQ(m.Window().left, 100);
    EXPECT_EQ(m.Window().top, 100);
    EXPECT_EQ(m.Window().Width(), 2 * 2 + 8 * 18);
    EXPECT_EQ(m.Window().Height(), 5 * 18 + 4 + 2 * (h + 6));
    const int t = 5 * 18 + 4 + h + 6;
    EXPECT_EQ(m.CustomRect(), (M::Rect{2, t, m.Window().Width() - 2, t + 2 + h}));
    // Box 9: column 1, row 1, below the automatic entry.
    EXPECT_EQ(m.BoxRect(9), (M::Rect{2 + 18, 2 + 18 + h + 4, 2 + 36, 2 + 36 + h + 4}));
    // A wide caption widens the window.
    M wide(0, true, true);
    wide.Layout(0, 0, 2, 300, 15, kScreen, 0);
    EXPECT_EQ(wide.Window().Width(), 304);
    // A large edge makes the boxes grow.
    M thick(0, false, false);
    thick.Layout(0, 0, 6, 0, 0, kScreen, 0);
    EXPECT_EQ(thick.BoxSize(), 19);
    EXPECT_EQ(thick.Window().Height(), 5 * 19 + 12);
}

TEST(ColourPaletteModel, KeptOnTheScreen)
{
    // Past the right edge: moved left; near the bottom: above the picker.
    const M right = Laid(0, true, true, 1250, 100);
    EXPECT_EQ(right.Window().right, 1280);
    const M left = Laid(0, true, true, -40, 100);
    EXPECT_EQ(left.Window().left, 0);
    M low(0, true, true);
    low.Layout(100, 1000, 2, 80, 15, kScreen, 976);
    EXPECT_EQ(low.Window().bottom, 976);
    EXPECT_EQ(low.Window().top, 976 - low.Window().Height());
}

TEST(ColourPaletteModel, EntryUnderAPoint)
{
    const M m = Laid(0);
    EXPECT_EQ(m.EntryAt(10, 10), M::kAutomatic);
    const M::Rect b = m.BoxRect(17);
    EXPECT_EQ(m.EntryAt(b.left, b.top), 17);
    EXPECT_EQ(m.EntryAt(b.right - 1, b.bottom - 1), 17);
    const M::Rect c = m.CustomRect();
    EXPECT_EQ(m.EntryAt(c.left + 5, c.top + 5), M::kCustom);
    EXPECT_EQ(m.EntryAt(0, 0), M::kNone); // the margin
    const M plain = Laid(0, false, false);
    EXPECT_EQ(plain.EntryAt(2, 2), 0);
}

TEST(ColourPaletteModel, HoverReportsAndMakesCurrent)
{
    M m = Laid(Rgb(1, 2, 3));
    EXPECT_EQ(m.Hover(16), Rgb(255, 0, 0));
    EXPECT_EQ(m.Current(), Rgb(255, 0, 0));
    EXPECT_EQ(m.Hover(M::kAutomatic), colours::kAutomatic);
    EXPECT_EQ(m.Current(), colours::kAutomatic);
    // The custom entry reports the opening colour and changes nothing.
    EXPECT_EQ(m.Hover(M::kCustom), Rgb(1, 2, 3));
    EXPECT_EQ(m.Current(), colours::kAutomatic);
    EXPECT_EQ(m.Hovered(), M::kCustom);
    // An index past the colours is the custom entry.
    m.Hover(40);
    EXPECT_EQ(m.Hovered(), M::kCustom);
    m.Cancel();
    EXPECT_EQ(m.Current(), Rgb(1, 2, 3));
}

TEST(ColourPaletteModel, ArrowKeysWithBothCaptions)
{
    M m = Laid(Rgb(0, 0, 255)); // Blue, entry 13
    // The first key lands on the chosen entry.
    EXPECT_EQ(m.Move(M::KEY_RIGHT), 13);
    m.Hover(13);
    EXPECT_EQ(m.Move(M::KEY_LEFT), 12);
    EXPECT_EQ(m.Move(M::KEY_RIGHT), 14);
    EXPECT_EQ(m.Move(M::KEY_UP), 5);
    EXPECT_EQ(m.Move(M::KEY_DOWN), 21);
    m.Hover(8); // first column, second row
    EXPECT_EQ(m.Move(M::KEY_LEFT), 7);
    m.Hover(7); // last column, first row
    EXPECT_EQ(m.Move(M::KEY_RIGHT), 8);
    m.Hover(0);
    EXPECT_EQ(m.Move(M::KEY_LEFT), M::kAutomatic);
    EXPECT_EQ(m.Move(M::KEY_UP), M::kAutomatic);
    m.Hover(3);
    EXPECT_EQ(m.Move(M::KEY_UP), M::kAutomatic);
    m.Hover(39);
    EXPECT_EQ(m.Move(M::KEY_RIGHT), M::kCustom);
    EXPECT_EQ(m.Move(M::KEY_DOWN), M::kCustom);
    m.Hover(35);
    EXPECT_EQ(m.Move(M::KEY_DOWN), M::kCustom);
    m.Hover(M::kCustom);
    EXPECT_EQ(m.Move(M::KEY_LEFT), 39);
    EXPECT_EQ(m.Move(M::KEY_UP), 39);
    EXPECT_EQ(m.Move(M::KEY_RIGHT), M::kAutomatic);
    EXPECT_EQ(m.Move(M::KEY_DOWN), M::kAutomatic);
    m.Hover(M::kAutomatic);
    EXPECT_EQ(m.Move(M::KEY_LEFT), M::kCustom);
    EXPECT_EQ(m.Move(M::KEY_UP), M::kCustom);
    EXPECT_EQ(m.Move(M::KEY_RIGHT), 0);
    EXPECT_EQ(m.Move(M::KEY_DOWN), 0);
}

TEST(ColourPaletteModel, ArrowKeysWithoutCaptions)
{
    M automaticOnly = Laid(0, true, false);
    automaticOnly.Hover(M::kAutomatic);
    EXPECT_EQ(automaticOnly.Move(M::KEY_LEFT), 39);
    automaticOnly.Hover(39);
    EXPECT_EQ(automaticOnly.Move(M::KEY_RIGHT), M::kAutomatic);

    M customOnly = Laid(0, false, true);
    customOnly.Hover(0);
    EXPECT_EQ(customOnly.Move(M::KEY_LEFT), M::kCustom);
    customOnly.Hover(M::kCustom);
    EXPECT_EQ(customOnly.Move(M::KEY_RIGHT), 0);

    M none = Laid(Rgb(1, 2, 3), false, false);
    EXPECT_EQ(none.Move(M::KEY_DOWN), 0); // nothing chosen: the first box
    none.Hover(0);
    EXPECT_EQ(none.Move(M::KEY_LEFT), 39);
    EXPECT_EQ(none.Move(M::KEY_UP), 39);
    none.Hover(39);
    EXPECT_EQ(none.Move(M::KEY_RIGHT), 0);
    none.Hover(33);
    EXPECT_EQ(none.Move(M::KEY_DOWN), 0);
}
