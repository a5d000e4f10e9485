// The bookmarks of one view over its buffer's line flags: the numbered ones
// (0-9, one line each) and the unnumbered marks, with the view's knowledge
// whether any mark is set (the enabling of next, previous and clear).
#pragma once

#include <cstdint>

class CTextBuffer;

class CBookmarks {
public:
    void Reset() { m_anyMark = false; }
    bool AnyMark() const { return m_anyMark; }
    // A line's flags changed (undo and redo bring marks back).
    void FlagsChanged(const CTextBuffer& buffer, int line);

    // Numbered bookmark n (0-9) on or off at line; it leaves any other line.
    void Toggle(CTextBuffer& buffer, int line, int n);
    // The line of bookmark n, or -1.
    static int Find(const CTextBuffer& buffer, int n);
    void ClearNumbered(CTextBuffer& buffer);

    void ToggleMark(CTextBuffer& buffer, int line);
    // The next (previous) marked line from line on, wrapping; -1 when none.
    int NextMark(const CTextBuffer& buffer, int line) const;
    int PreviousMark(const CTextBuffer& buffer, int line) const;
    void ClearMarks(CTextBuffer& buffer);

private:
    bool m_anyMark = false;
};
