// The caret and selection of one view: caret, anchor, the selection as set
// (its start may lie after its end), the column that vertical moves aim for,
// the caret motions over the view's lines and the moving of every position
// across a buffer change. The view decides what to repaint and scroll.
#pragma once

#include "editor/TextChange.h"
#include "editor/TextLines.h"
#include "editor/TextPos.h"

class CSelectionModel {
public:
    // Everything at (0, 0), no ideal column.
    void Reset();

    TextPos Caret() const { return m_caret; }
    TextPos Anchor() const { return m_anchor; }
    TextPos SelectionStart() const { return m_selStart; }
    TextPos SelectionEnd() const { return m_selEnd; }
    // The selection in text order.
    void GetOrdered(TextPos& start, TextPos& end) const;
    bool IsSelection() const { return !(m_selStart == m_selEnd); }
    bool IsInside(TextPos pos) const;
    // -1: none, the next vertical move starts from the caret's column.
    int IdealColumn() const { return m_idealColumn; }

    void SetCaret(TextPos pos) { m_caret = pos; }
    void SetAnchor(TextPos pos) { m_anchor = pos; }
    void SetSelection(TextPos start, TextPos end)
    {
        m_selStart = start;
        m_selEnd = end;
    }
    void SetIdealColumn(int column) { m_idealColumn = column; }

    // Moves caret, anchor and both selection ends across the change.
    void Adjust(const TextChange& change);

    // --- Caret motions: each moves the caret only (the view then finishes
    // the move: ideal column, anchor, selection). Without extend, a move
    // with a selection starts from the selection's near end.
    void CharLeft(const ITextLines& text, bool extend);
    void CharRight(const ITextLines& text, bool extend);
    void WordLeft(const ITextLines& text, bool extend);
    void WordRight(const ITextLines& text, bool extend);
    // Vertical moves aim for the ideal column, which they set when there is
    // none.
    void LineUp(const ITextLines& text, int tabWidth, bool extend);
    void LineDown(const ITextLines& text, int tabWidth, bool extend);
    // step lines up (negative) or down, keeping the character index where
    // the line is long enough.
    void PageStep(const ITextLines& text, int step);
    void LineEnd(const ITextLines& text);
    void SmartHome(const ITextLines& text);
    void TextBegin();
    void TextEnd(const ITextLines& text);

    // --- Mouse selections.
    // Whole lines from anchorLine to line; the end is the start of the line
    // after them, or the end of the last line.
    static void LineSelection(const ITextLines& text, int anchorLine, int line, TextPos& start, TextPos& end);
    // From the start of the word at the earlier of a and b to the end of the
    // word at the later one.
    static void WordSelection(const ITextLines& text, TextPos a, TextPos b, TextPos& start, TextPos& end);
    // Extending a word selection from the anchor to hit: the selection runs
    // from the anchor's side to the caret, which lands on the far word bound.
    void ExtendWordSelection(const ITextLines& text, TextPos hit, TextPos& start, TextPos& end);

private:
    bool MovesWithSelection(bool extend) const { return IsSelection() && !extend; }
    void VerticalStep(const ITextLines& text, int tabWidth, bool extend, int direction);

    TextPos m_caret;
    TextPos m_anchor;
    TextPos m_selStart;
    TextPos m_selEnd;
    int m_idealColumn = -1;
};
