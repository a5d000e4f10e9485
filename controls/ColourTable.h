// The colour picker's palette: 40 named colours in their fixed order (the
// names are the palette's tool tips) and the automatic colour value.
#pragma once

#include <cstdint>
#include <string_view>

namespace colours {

using Colour = uint32_t; // 0x00BBGGRR; kAutomatic stands for "the system's colour"

inline constexpr Colour kAutomatic = 0xFF000000u;
inline constexpr int kCount = 40;

constexpr Colour Rgb(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xffu) | ((g & 0xffu) << 8) | ((b & 0xffu) << 16);
}
constexpr unsigned Red(Colour c) { return c & 0xffu; }
constexpr unsigned Green(Colour c) { return (c >> 8) & 0xffu; }
constexpr unsigned Blue(Colour c) { return (c >> 16) & 0xffu; }

// Entry 0..39; index out of range gives black and an empty name.
Colour TableColour(int index);
std::string_view TableName(int index);
// The first index whose colour is c, or -1.
int FindTableColour(Colour c);

} // namespace colours
