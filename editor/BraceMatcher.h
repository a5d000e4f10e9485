// Brace matching for one view: decides, after every selection change, which
// brace partner to highlight, so that the view only paints what it is told.
#pragma once

#include "editor/TextPos.h"

class CTextBuffer;

class CBraceMatcher {
public:
    // What the view must repaint after a call.
    struct Repaint {
        int line = -1;      // this line (the one that lost the highlight), -1 for none
        bool all = false;   // the whole view (a new partner was found)
    };

    // The option "KIBPARAMS:EDITOR:MATCHBRACE"; the matching runs only at 1.
    void SetOption(int option) { m_option = option; }

    // Run at the end of every selection change, with the caret line and the
    // selection; does nothing unless the option is 1 and the selection empty.
    Repaint Update(const CTextBuffer& buffer, int caretLine, TextPos selStart, TextPos selEnd);

    // Searches the partner of brace from q (inclusive) in direction (+1
    // forward, -1 backward). On a match, stores it as the highlight and sets
    // the just-matched flag; otherwise changes nothing.
    bool FindMatchingBrace(const CTextBuffer& buffer, char brace, int direction, TextPos q);

    // +1 for "(", "[", "{" (not at the last character of the last line), -1
    // for ")", "]", "}" (not at (0, 0)), 0 otherwise.
    static int Direction(const CTextBuffer& buffer, TextPos q);
    // The search alone: where the partner is, without touching any state.
    static bool FindPartner(const CTextBuffer& buffer, char brace, int direction, TextPos q,
                            TextPos& found);

    // The highlight: (-1, -1) when none.
    TextPos MatchPos() const { return m_match; }
    char Partner() const { return m_partner; }
    bool JustMatched() const { return m_justMatched; }
    // The column of the highlight on line, when line holds it and the
    // position still exists in the text.
    bool MatchOnLine(const CTextBuffer& buffer, int line, int& column, char& partner) const;
    // Forgets the highlight (a new text, a view reset); returns its old line.
    int Clear();

private:
    TextPos m_match = TextPos::None();
    char m_partner = 0;
    bool m_justMatched = false;
    int m_option = 0;
};
