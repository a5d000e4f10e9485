#include "editor/BraceMatcher.h"

#include "editor/TextBuffer.h"

#include <algorithm>

namespace {

bool IsRoundOrCurly(char c)
{
    return c == '(' || c == ')' || c == '{' || c == '}';
}

char PartnerOf(char c)
{
    switch (c) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    case '{': return '}';
    case '}': return '{';
    default: return 0;
    }
}

} // namespace

int CBraceMatcher::Direction(const CTextBuffer& buffer, TextPos q)
{
    if (q.y < 0 || q.y >= buffer.LineCount() || q.x < 0 || q.x >= buffer.LineLength(q.y))
        return 0;
    const char c = buffer.LineChars(q.y)[q.x];
    if (c == '(' || c == '[' || c == '{') {
        const int last = buffer.LineCount() - 1;
        return (q.y == last && q.x == buffer.LineLength(last) - 1) ? 0 : 1;
    }
    if (c == ')' || c == ']' || c == '}')
        return (q.x == 0 && q.y == 0) ? 0 : -1;
    return 0;
}

bool CBraceMatcher::FindPartner(const CTextBuffer& buffer, char brace, int direction, TextPos q,
                                TextPos& found)
{
    const char partner = PartnerOf(brace);
    const int count = buffer.LineCount();
    if (!partner || direction == 0 || q.y < 0 || q.y >= count)
        return false;
    int depth = 0;
    if (direction > 0) {
        int x = std::max(q.x, 0);
        for (int y = q.y; y < count; ++y, x = 0) {
            const char* c = buffer.LineChars(y);
            const int n = buffer.LineLength(y);
            for (; x < n; ++x) {
                if (c[x] == brace) {
                    ++depth;
                } else if (c[x] == partner) {
                    if (depth == 1) {
                        found = TextPos(x, y);
                        return true;
                    }
                    --depth;
                }
            }
        }
    } else {
        int x = std::min(q.x, buffer.LineLength(q.y) - 1);
        for (int y = q.y; y >= 0;) {
            const char* c = buffer.LineChars(y);
            for (; x >= 0; --x) {
                if (c[x] == brace) {
                    ++depth;
                } else if (c[x] == partner) {
                    if (depth == 1) {
                        found = TextPos(x, y);
                        return true;
                    }
                    --depth;
                }
            }
            if (--y >= 0)
                x = buffer.LineLength(y) - 1;
        }
    }
    return false;
}

bool CBraceMatcher::FindMatchingBrace(const CTextBuffer& buffer, char brace, int direction, TextPos q)
{
    TextPos found;
    if (!FindPartner(buffer, brace, direction, q, found))
        return false;
    m_match = found;
    m_partner = PartnerOf(brace);
    m_justMatched = true;
    return true;
}

int CBraceMatcher::Clear()
{
    int line = m_match.y;
    m_match = TextPos::None();
    m_justMatched = false;
    return line;
}

CBraceMatcher::Repaint CBraceMatcher::Update(const CTextBuffer& buffer, int caretLine, TextPos selStart,
                                             TextPos selEnd)
{
    Repaint r;
    if (m_option != 1 || !(selStart == selEnd))
        return r;
    const int n = (caretLine >= 0 && caretLine < buffer.LineCount()) ? buffer.LineLength(caretLine) : 0;
    const char* c = n > 0 ? buffer.LineChars(caretLine) : nullptr;
    const int x = std::clamp(selStart.x, 0, n);
    const bool before = n > 0 && IsRoundOrCurly(x > 0 ? c[x - 1] : c[0]);
    const bool at = x < n && IsRoundOrCurly(c[x]);
    if (n == 0 || (!before && !at)) {
        // The caret left the neighbourhood of a brace.
        r.line = m_match.y;
        m_match = TextPos::None();
        m_justMatched = false;
        return r;
    }
    if (m_justMatched) {
        m_justMatched = false;
        return r;
    }
    if (x < n) {
        TextPos q(x, caretLine);
        if (int dir = Direction(buffer, q); dir != 0 && FindMatchingBrace(buffer, c[x], dir, q)) {
            r.all = true;
            return r;
        }
    }
    if (x > 0) {
        TextPos q(x - 1, caretLine);
        if (int dir = Direction(buffer, q); dir != 0 && FindMatchingBrace(buffer, c[x - 1], dir, q))
            r.all = true;
    }
    return r;
}

bool CBraceMatcher::MatchOnLine(const CTextBuffer& buffer, int line, int& column, char& partner) const
{
    if (m_match.y != line || line < 0 || line >= buffer.LineCount() || m_match.x < 0 ||
        m_match.x >= buffer.LineLength(line))
        return false;
    column = m_match.x;
    partner = m_partner;
    return true;
}
