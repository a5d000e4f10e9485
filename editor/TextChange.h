// The notice a buffer sends with each insertion or deletion, so that a view
// can move the positions it remembers (caret, selection ends, anchors)
// across the change.
#pragma once

#include "editor/TextPos.h"

class TextChange {
public:
    enum Kind : uint8_t { Insertion, Deletion };

    constexpr TextChange(Kind kind, TextPos startPos, TextPos endPos)
        : kind(kind), start(startPos), end(endPos)
    {
    }

    // Moves p so that it names the same character after the change. For an
    // insertion, a position exactly at the insertion point stays before the
    // new text; for a deletion, a position inside the range goes to its start.
    void AdjustPosition(TextPos& p) const;

    Kind kind;
    TextPos start; // insertion point, or start of the deleted range
    TextPos end;   // end of the inserted text, or end of the deleted range
};

class InsertionChange : public TextChange {
public:
    constexpr InsertionChange(TextPos startPos, TextPos endPos)
        : TextChange(Insertion, startPos, endPos)
    {
    }
};

class DeletionChange : public TextChange {
public:
    constexpr DeletionChange(TextPos startPos, TextPos endPos)
        : TextChange(Deletion, startPos, endPos)
    {
    }
};
