#include "controls/ColourTable.h"

namespace colours {

namespace {

struct Named {
    const char* name;
    Colour colour;
};

constexpr Named kTable[kCount] = {
    {"Black", Rgb(0, 0, 0)},
    {"Brown", Rgb(165, 42, 0)},
    {"Dark Olive Green", Rgb(0, 64, 64)},
    {"Dark Green", Rgb(0, 85, 0)},
    {"Dark Teal", Rgb(0, 0, 94)},
    {"Dark blue", Rgb(0, 0, 139)},
    {"Indigo", Rgb(75, 0, 130)},
    {"Dark grey", Rgb(40, 40, 40)},
    {"Dark red", Rgb(139, 0, 0)},
    {"Orange", Rgb(255, 104, 32)},
    {"Dark yellow", Rgb(139, 139, 0)},
    {"Green", Rgb(0, 147, 0)},
    {"Teal", Rgb(56, 142, 142)},
    {"Blue", Rgb(0, 0, 255)},
    {"Blue-grey", Rgb(123, 123, 192)},
    {"Grey - 40", Rgb(102, 102, 102)},
    {"Red", Rgb(255, 0, 0)},
    {"Light orange", Rgb(255, 173, 91)},
    {"Lime", Rgb(50, 205, 50)},
    {"Sea green", Rgb(60, 179, 113)},
    {"Aqua", Rgb(127, 255, 212)},
    {"Light blue", Rgb(125, 158, 192)},
    {"Violet", Rgb(128, 0, 128)},
    {"Grey - 50", Rgb(127, 127, 127)},
    {"Pink", Rgb(255, 192, 203)},
    {"Gold", Rgb(255, 215, 0)},
    {"Yellow", Rgb(255, 255, 0)},
    {"Bright green", Rgb(0, 255, 0)},
    {"Turquoise", Rgb(64, 224, 208)},
    {"Skyblue", Rgb(192, 255, 255)},
    {"Plum", Rgb(72, 0, 72)},
    {"Light grey", Rgb(192, 192, 192)},
    {"Rose", Rgb(255, 228, 225)},
    {"Tan", Rgb(210, 180, 140)},
    {"Light yellow", Rgb(255, 255, 224)},
    {"Pale green", Rgb(152, 251, 152)},
    {"Pale turquoise", Rgb(175, 238, 238)},
    {"Pale blue", Rgb(104, 131, 139)},
    {"Lavender", Rgb(230, 230, 250)},
    {"White", Rgb(255, 255, 255)},
};

} // namespace

Colour TableColour(int index)
{
    return index >= 0 && index < kCount ? kTable[index].colour : 0;
}

std::string_view TableName(int index)
{
    return index >= 0 && index < kCount ? std::string_view(kTable[index].name) : std::string_view();
}

int FindTableColour(Colour c)
{
    for (int i = 0; i < kCount; ++i)
        if (kTable[i].colour == c)
            return i;
    return -1;
}

} // namespace colours
