#include "editor/TextChange.h"

void TextChange::AdjustPosition(TextPos& p) const
{
    if (kind == Insertion) {
        if (p.y > start.y) {
            p.y += end.y - start.y;
        } else if (p.y == start.y && p.x > start.x) {
            p.y += end.y - start.y;
            p.x = end.x + (p.x - start.x);
        }
        return;
    }
    if (p.y < start.y)
        return;
    if (p.y > end.y) {
        p.y -= end.y - start.y;
    } else if (p.y == end.y && p.x >= end.x) {
        p = TextPos(start.x + p.x - end.x, start.y);
    } else if (p.y == start.y) {
        if (p.x > start.x)
            p.x = start.x;
    } else {
        p = start;
    }
}
