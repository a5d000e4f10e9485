// Coverage masks of the characters the text view draws, rendered once per
// font and character: a fixed-pitch font's glyphs fill exactly one cell, so
// that painting a line is copying cells and never shapes text.
#pragma once

#include <wx/font.h>

#include <array>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

class wxWindow;

class CGlyphCache {
public:
    // Font slots: the four styles of the text font, and the margin's font.
    enum { kNormal = 0, kBold = 1, kItalic = 2, kBoldItalic = 3, kMargin = 4, kSlots = 5 };

    struct Glyph {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> mask; // width x height coverage, row by row
    };

    // cellWidth > 0: every glyph is one cell of that width (a wide
    // character two), clipped to it; 0: glyphs are as wide as the font
    // advances them (the margin's numbers). The font's line starts top
    // pixels down the cell.
    void SetFont(int slot, const wxFont& font, int cellWidth, int height, int top = 0);
    // Pixel rows a font inks above and below its line (the height its text
    // extent gives): in some fonts the dots of Ä, Ö and Ü and other marks
    // on capitals reach above it, cedillas below.
    static void InkBeyondLine(const wxFont& font, int& above, int& below);
    void Clear();
    bool HasFont(int slot) const { return m_slots[static_cast<size_t>(slot)].font.IsOk(); }

    const Glyph& Get(int slot, char32_t c);
    // Width of a text in a slot (the sum of its glyphs' widths).
    int TextWidth(int slot, const std::u32string& text);

private:
    struct Slot {
        wxFont font;
        int cellWidth = 0;
        int height = 0;
        int top = 0;
        std::array<int, 256> latin{};
        std::unordered_map<char32_t, int> other;
        std::deque<Glyph> glyphs; // stable: callers keep references
    };
    Glyph Render(const Slot& slot, char32_t c) const;

    std::array<Slot, kSlots> m_slots;
};
