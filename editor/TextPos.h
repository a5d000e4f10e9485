// A position in a text: x is the byte index within the line (0 before the
// first character, the line length at its end), y the zero-based line index.
// (-1, -1) stands for no position at all.
#pragma once

#include <cstdint>

struct TextPos {
    int32_t x = 0;
    int32_t y = 0;

    constexpr TextPos() = default;
    constexpr TextPos(int32_t px, int32_t py) : x(px), y(py) {}

    static constexpr TextPos None() { return TextPos(-1, -1); }
    constexpr bool IsValid() const { return x >= 0 && y >= 0; }

    friend constexpr bool operator==(const TextPos& a, const TextPos& b)
    {
        return a.x == b.x && a.y == b.y;
    }
    // Text order: by line, then by column.
    friend constexpr bool operator<(const TextPos& a, const TextPos& b)
    {
        return a.y < b.y || (a.y == b.y && a.x < b.x);
    }
    friend constexpr bool operator<=(const TextPos& a, const TextPos& b) { return !(b < a); }
    friend constexpr bool operator>(const TextPos& a, const TextPos& b) { return b < a; }
    friend constexpr bool operator>=(const TextPos& a, const TextPos& b) { return !(a < b); }
};
