// What the colour palette knows apart from its window: the layout of its
// entries, which entry is hovered and which one matches the opening colour,
// the keyboard moves between entries and the colour it reports.
#pragma once

#include "controls/ColourTable.h"

class CColourPaletteModel {
public:
    // Entries: a colour index 0..39, or one of these.
    static constexpr int kAutomatic = -3;
    static constexpr int kCustom = -2;
    static constexpr int kNone = -1;
    static constexpr int kColumns = 8;
    static constexpr int kRows = (colours::kCount + kColumns - 1) / kColumns;

    enum Key { KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN };

    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
        bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
        bool operator==(const Rect&) const = default;
    };

    // hasAutomatic / hasCustom: whether the two captions are not empty.
    CColourPaletteModel(colours::Colour initial, bool hasAutomatic, bool hasCustom);

    // Lays the palette out at screen position (x, y), the picker's lower
    // left corner. edge: the system's horizontal edge width; textWidth and
    // textHeight: the larger extent of the two captions in the menu font;
    // screen: the screen's rectangle; pickerTop: the picker's top edge, where
    // a palette that does not fit below ends instead.
    void Layout(int x, int y, int edge, int textWidth, int textHeight, const Rect& screen, int pickerTop);

    int BoxSize() const { return m_box; }
    int Margin() const { return m_margin; }
    // In screen coordinates.
    const Rect& Window() const { return m_window; }
    // In client coordinates (empty when the entry is absent).
    const Rect& AutomaticRect() const { return m_automaticRect; }
    const Rect& CustomRect() const { return m_customRect; }
    Rect BoxRect(int index) const;
    // The entry under a client point, or kNone.
    int EntryAt(int x, int y) const;

    bool HasAutomatic() const { return m_hasAutomatic; }
    bool HasCustom() const { return m_hasCustom; }
    int Chosen() const { return m_chosen; }
    int Hovered() const { return m_hovered; }
    colours::Colour Initial() const { return m_initial; }
    colours::Colour Current() const { return m_current; }

    // Makes e hovered (an index above the colours becomes kCustom) and
    // returns the colour to report for it: the initial colour for the custom
    // entry, the automatic value for the automatic one (which becomes
    // current), else the box's colour (which becomes current).
    colours::Colour Hover(int e);
    // The entry a key moves to from the hovered one; with nothing hovered
    // the move starts at the chosen entry (the first box when none is).
    int Move(Key key) const;
    // Escape and every other cancel.
    void Cancel() { m_current = m_initial; }
    void SetCurrent(colours::Colour c) { m_current = c; }

private:
    int Fallback(bool automaticFirst) const;

    colours::Colour m_initial;
    colours::Colour m_current;
    bool m_hasAutomatic;
    bool m_hasCustom;
    int m_chosen = kNone;
    int m_hovered = kNone;
    int m_box = 18;
    int m_margin = 2;
    int m_textHeight = 0; // the text area's height h
    Rect m_window;
    Rect m_automaticRect;
    Rect m_customRect;
};
