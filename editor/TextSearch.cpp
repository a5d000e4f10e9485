#include "editor/TextSearch.h"

#include "text/Cp1252.h"

#include <algorithm>
#include <array>

namespace {

// The Windows-1252 upper-case mapping as a flat table for the inner loops.
const std::array<unsigned char, 256>& UpperTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<size_t>(i)] = cp1252::ToUpper(static_cast<unsigned char>(i));
        return t;
    }();
    return table;
}

void ToUpperInto(std::string_view from, std::string& to)
{
    const auto& up = UpperTable();
    to.resize(from.size());
    for (size_t i = 0; i < from.size(); ++i)
        to[i] = static_cast<char>(up[static_cast<unsigned char>(from[i])]);
}

// The searcher of one call: the pattern in its compared form and a scratch
// string for the upper-cased line parts.
class CPartSearcher {
public:
    CPartSearcher(std::string_view pattern, uint32_t flags)
        : m_matchCase(flags & SEARCH_MATCH_CASE), m_wholeWord(flags & SEARCH_WHOLE_WORD)
    {
        if (m_matchCase)
            m_pattern.assign(pattern);
        else
            ToUpperInto(pattern, m_pattern);
    }

    // Offset of the first acceptable match in line[from, end), searched on its
    // own: the text in front of the part is not looked at.
    bool Find(std::string_view line, int from, int32_t& offset)
    {
        if (from < 0)
            from = 0;
        if (static_cast<size_t>(from) >= line.size())
            return false; // a part of length 0 is skipped
        std::string_view part = line.substr(static_cast<size_t>(from));
        if (!m_matchCase) {
            ToUpperInto(part, m_scratch);
            part = m_scratch;
        }
        size_t resume = 0;
        for (;;) {
            const size_t c = part.find(m_pattern, resume);
            if (c == std::string_view::npos)
                return false;
            if (!m_wholeWord || IsWholeWord(part, c)) {
                offset = static_cast<int32_t>(c);
                return true;
            }
            // Overlapping candidates are still considered; their neighbours
            // are the real bytes of the part.
            resume = c + 1;
        }
    }

private:
    bool IsWholeWord(std::string_view part, size_t c) const
    {
        const size_t end = c + m_pattern.size();
        if (c > 0 && IsSearchWordChar(static_cast<unsigned char>(part[c - 1])))
            return false;
        return end >= part.size() || !IsSearchWordChar(static_cast<unsigned char>(part[end]));
    }

    bool m_matchCase;
    bool m_wholeWord;
    std::string m_pattern;
    std::string m_scratch;
};

TextPos Clamp(const CTextBuffer& buffer, TextPos p)
{
    const int last = std::max(buffer.LineCount() - 1, 0);
    if (p.y < 0)
        return TextPos(0, 0);
    if (p.y > last)
        return TextPos(buffer.LineLength(last), last);
    return TextPos(std::clamp(p.x, 0, buffer.LineLength(p.y)), p.y);
}

bool SearchUp(const CTextBuffer& buffer, CPartSearcher& searcher, TextPos start, bool wrap,
              TextPos& found)
{
    int32_t offset = 0;
    for (int y = start.y; y >= 0; --y) {
        const int from = y == start.y ? start.x : 0;
        if (searcher.Find(buffer.LineText(y), from, offset)) {
            found = TextPos(from + offset, y);
            return true;
        }
    }
    if (!wrap)
        return false;
    for (int y = buffer.LineCount() - 1; y >= 0; --y) {
        if (searcher.Find(buffer.LineText(y), 0, offset)) {
            found = TextPos(offset, y);
            return true;
        }
    }
    return false;
}

// One pass from start to blockEnd: the first match, unless it lies at or
// after blockEnd.
bool SearchDownPass(const CTextBuffer& buffer, CPartSearcher& searcher, TextPos start,
                    TextPos blockEnd, TextPos& found)
{
    int32_t offset = 0;
    for (int y = start.y; y <= blockEnd.y; ++y) {
        const int from = y == start.y ? start.x : 0;
        if (searcher.Find(buffer.LineText(y), from, offset)) {
            const TextPos match(from + offset, y);
            if (y == blockEnd.y && match.x >= blockEnd.x)
                return false;
            found = match;
            return true;
        }
    }
    return false;
}

} // namespace

bool IsSearchWordChar(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool SearchInRange(const CTextBuffer& buffer, std::string_view pattern, TextPos start,
                   TextPos blockBegin, TextPos blockEnd, uint32_t flags, bool wrap,
                   TextPos& found)
{
    if (buffer.LineCount() <= 0 || pattern.empty())
        return false;
    blockBegin = Clamp(buffer, blockBegin);
    blockEnd = Clamp(buffer, blockEnd);
    if (blockBegin == blockEnd)
        return false;
    start = Clamp(buffer, start);
    if (start < blockBegin)
        start = blockBegin;

    CPartSearcher searcher(pattern, flags);
    if (flags & SEARCH_UP)
        return SearchUp(buffer, searcher, start, wrap, found);
    if (SearchDownPass(buffer, searcher, start, blockEnd, found))
        return true;
    return wrap && SearchDownPass(buffer, searcher, blockBegin, blockEnd, found);
}

bool SearchText(const CTextBuffer& buffer, std::string_view pattern, TextPos start,
                uint32_t flags, bool wrap, TextPos& found)
{
    const int last = buffer.LineCount() - 1;
    if (last < 0)
        return false;
    return SearchInRange(buffer, pattern, start, TextPos(0, 0), TextPos(buffer.LineLength(last), last),
                         flags, wrap, found);
}

FoundSelection SelectFoundPositions(TextPos pos, int length)
{
    FoundSelection s;
    s.caret = TextPos(pos.x + length, pos.y);
    s.anchor = s.caret;
    s.selStart = pos;
    s.selEnd = s.caret;
    return s;
}

bool ReplaceRange(CTextBuffer& buffer, CTextBufferListener* source, TextPos selStart,
                  TextPos selEnd, std::string_view text, TextPos& insertStart, TextPos& insertEnd)
{
    if (selEnd < selStart)
        std::swap(selStart, selEnd);
    if (selStart == selEnd)
        return false;
    if (!buffer.DeleteRange(source, selStart.y, selStart.x, selEnd.y, selEnd.x, ACT_DELSEL))
        return false;
    insertStart = selStart;
    insertEnd = selStart;
    // An empty replacement is the deletion alone: an insertion of nothing
    // would only leave an undo step that changes nothing.
    if (text.empty())
        return true;
    int endLine = selStart.y, endChar = selStart.x;
    if (buffer.InsertTextAt(source, selStart.y, selStart.x, text, endLine, endChar, ACT_REPLACE))
        insertEnd = TextPos(endChar, endLine);
    return true;
}

TextPos InsertedTextEnd(TextPos start, std::string_view text)
{
    TextPos end = start;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++end.y;
            end.x = 0;
        } else {
            ++end.x;
        }
    }
    return end;
}

void AdjustForReplacement(TextPos& limit, TextPos foundPos, int searchLength,
                          std::string_view replaceText)
{
    const TextPos end = InsertedTextEnd(foundPos, replaceText);
    if (limit.y > foundPos.y) {
        limit.y += end.y - foundPos.y; // lines below move down with any break
        return;
    }
    if (limit.y != foundPos.y || limit.x <= foundPos.x)
        return;
    if (end.y == foundPos.y) {
        const int replaceLength = end.x - foundPos.x;
        limit.x = std::max(foundPos.x, limit.x + (replaceLength - searchLength));
        return;
    }
    // A replacement with line breaks: bytes behind the match keep their
    // distance to its end; a limit inside the match goes to the end.
    const int behind = std::max(0, limit.x - (foundPos.x + searchLength));
    limit = TextPos(end.x + behind, end.y);
}

bool FindAgain(const CTextBuffer& buffer, const RememberedSearch& search, TextPos caret,
               bool reverse, TextPos& found)
{
    if (!search.present)
        return false;
    const uint32_t flags = reverse ? search.flags ^ SEARCH_UP : search.flags;
    return SearchText(buffer, search.text, caret, flags, true, found);
}

bool ProposedSearchText(const CTextBuffer& buffer, TextPos selStart, TextPos selEnd,
                        std::string& text)
{
    if (selEnd < selStart)
        std::swap(selStart, selEnd);
    if (selStart == selEnd || selStart.y != selEnd.y || selStart.y < 0 ||
        selStart.y >= buffer.LineCount())
        return false;
    const std::string_view line = buffer.LineText(selStart.y);
    const int from = std::clamp(selStart.x, 0, static_cast<int>(line.size()));
    const int to = std::clamp(selEnd.x, from, static_cast<int>(line.size()));
    if (from == to)
        return false;
    text.assign(line.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
    return true;
}
