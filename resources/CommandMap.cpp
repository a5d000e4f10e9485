#include "resources/CommandMap.h"

namespace kib {

namespace {

// [first, last] in Kib numbers, moved down by offset. The blocks do not
// overlap after moving, and none lands in 4999-5999.
struct Block {
    int first;
    int last;
    int offset;
};

constexpr Block kBlocks[] = {
    {1, 4998, 0},          // small control and window ids
    {7000, 8030, 0},       // tools, date/time entries, start files
    {10090, 10099, 0},     // the tools dialog's macro menu
    {32768, 37999, 20000}, // Kib's own commands -> 12768..17999
    {57344, 61487, 30000}, // framework commands and indicators -> 27344..31487
};

} // namespace

int ToWxId(int command)
{
    for (const Block& b : kBlocks)
        if (command >= b.first && command <= b.last)
            return command - b.offset;
    return kNoWxId;
}

int FromWxId(int wxId)
{
    for (const Block& b : kBlocks)
        if (wxId >= b.first - b.offset && wxId <= b.last - b.offset)
            return wxId + b.offset;
    return -1;
}

} // namespace kib
