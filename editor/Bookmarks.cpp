#include "editor/Bookmarks.h"

#include "editor/TextBuffer.h"

namespace {

uint32_t FlagsOf(const CTextBuffer& buffer, int line)
{
    return line >= 0 && line < buffer.LineCount() ? buffer.LineFlags(line) : 0;
}

} // namespace

void CBookmarks::FlagsChanged(const CTextBuffer& buffer, int line)
{
    if (FlagsOf(buffer, line) & LINE_MARK)
        m_anyMark = true;
}

void CBookmarks::Toggle(CTextBuffer& buffer, int line, int n)
{
    if (n < 0 || n > 9)
        return;
    uint32_t flag = LineBookmark(n);
    buffer.ChangeLineFlag(line, flag, (FlagsOf(buffer, line) & flag) == 0, true);
}

int CBookmarks::Find(const CTextBuffer& buffer, int n)
{
    if (n < 0 || n > 9)
        return -1;
    return buffer.FindFlaggedLine(LineBookmark(n));
}

void CBookmarks::ClearNumbered(CTextBuffer& buffer)
{
    for (int n = 0; n <= 9; ++n)
        buffer.ChangeLineFlag(-1, LineBookmark(n), false);
}

void CBookmarks::ToggleMark(CTextBuffer& buffer, int line)
{
    buffer.ChangeLineFlag(line, LINE_MARK, (FlagsOf(buffer, line) & LINE_MARK) == 0, false);
    m_anyMark = buffer.FindFlaggedLine(LINE_MARK) >= 0;
}

int CBookmarks::NextMark(const CTextBuffer& buffer, int line) const
{
    return m_anyMark ? buffer.NextMarkedLine(line) : -1;
}

int CBookmarks::PreviousMark(const CTextBuffer& buffer, int line) const
{
    return m_anyMark ? buffer.PreviousMarkedLine(line) : -1;
}

void CBookmarks::ClearMarks(CTextBuffer& buffer)
{
    if (!m_anyMark)
        return;
    int count = buffer.LineCount();
    for (int i = 0; i < count; ++i)
        if (buffer.LineFlags(i) & LINE_MARK)
            buffer.ChangeLineFlag(i, LINE_MARK, false, false);
    m_anyMark = false;
}
