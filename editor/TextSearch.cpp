#include "editor/TextSearch.h"

#include "text/CharCase.h"
#include "text/Cp1252.h"
#include "text/Transcode.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>

namespace {

// The searcher of one call: the pattern in its compared form and the folded
// form of the line part being searched. Positions are bytes of the part; a
// match covers whole characters of the document's encoding.
class CPartSearcher {
public:
    CPartSearcher(std::string_view pattern, uint32_t flags, TextEncoding encoding)
        : m_matchCase(flags & SEARCH_MATCH_CASE), m_wholeWord(flags & SEARCH_WHOLE_WORD),
          m_encoding(encoding)
    {
        if (m_matchCase) {
            m_pattern.assign(pattern);
        } else {
            charcase::CFoldedText folded;
            folded.Assign(pattern, encoding);
            m_pattern = folded.Bytes();
        }
    }

    // Offset and length of the first acceptable match in line[from, end),
    // searched on its own: the text in front of the part is not looked at.
    bool Find(std::string_view line, int from, int32_t& offset, int32_t& length)
    {
        if (from < 0)
            from = 0;
        if (static_cast<size_t>(from) >= line.size())
            return false; // a part of length 0 is skipped
        const std::string_view part = line.substr(static_cast<size_t>(from));
        std::string_view searched = part;
        if (!m_matchCase) {
            m_folded.Assign(part, m_encoding);
            searched = m_folded.Bytes();
        }
        const bool utf8 = m_encoding == TextEncoding::Utf8;
        const int partLen = static_cast<int>(part.size());
        size_t resume = 0;
        for (;;) {
            const size_t c = searched.find(m_pattern, resume);
            if (c == std::string_view::npos)
                return false;
            // Overlapping candidates are still considered; their neighbours
            // are the real characters of the part.
            resume = c + 1;
            const size_t e = c + m_pattern.size();
            int start = static_cast<int>(c), end = static_cast<int>(e);
            if (!m_matchCase) {
                if (!m_folded.StartsChar(c) || !m_folded.StartsChar(e))
                    continue; // half of a character's fold
                start = m_folded.SourceOffset(c);
                end = m_folded.SourceOffset(e);
            } else if (utf8 && (!utf8::IsBoundary(part.data(), partLen, start) ||
                                !utf8::IsBoundary(part.data(), partLen, end))) {
                continue;
            }
            if (m_wholeWord && (charcase::IsWordCharBefore(part.data(), partLen, start, m_encoding) ||
                                charcase::IsWordCharAt(part.data(), partLen, end, m_encoding)))
                continue;
            offset = start;
            length = end - start;
            return true;
        }
    }

private:
    bool m_matchCase;
    bool m_wholeWord;
    TextEncoding m_encoding;
    std::string m_pattern;
    charcase::CFoldedText m_folded;
};

struct Match {
    TextPos pos;
    int length = 0;
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
              Match& found)
{
    int32_t offset = 0, length = 0;
    for (int y = start.y; y >= 0; --y) {
        const int from = y == start.y ? start.x : 0;
        if (searcher.Find(buffer.LineText(y), from, offset, length)) {
            found = Match{TextPos(from + offset, y), length};
            return true;
        }
    }
    if (!wrap)
        return false;
    for (int y = buffer.LineCount() - 1; y >= 0; --y) {
        if (searcher.Find(buffer.LineText(y), 0, offset, length)) {
            found = Match{TextPos(offset, y), length};
            return true;
        }
    }
    return false;
}

// One pass from start to blockEnd: the first match, unless it lies at or
// after blockEnd.
bool SearchDownPass(const CTextBuffer& buffer, CPartSearcher& searcher, TextPos start,
                    TextPos blockEnd, Match& found)
{
    int32_t offset = 0, length = 0;
    for (int y = start.y; y <= blockEnd.y; ++y) {
        const int from = y == start.y ? start.x : 0;
        if (searcher.Find(buffer.LineText(y), from, offset, length)) {
            const TextPos match(from + offset, y);
            if (y == blockEnd.y && match.x >= blockEnd.x)
                return false;
            found = Match{match, length};
            return true;
        }
    }
    return false;
}

} // namespace

bool IsSearchWordChar(unsigned char c)
{
    return charcase::IsWordCharAt(reinterpret_cast<const char*>(&c), 1, 0, TextEncoding::Cp1252);
}

std::string DocumentSearchText(const CTextBuffer& buffer, std::string_view controlText)
{
    transcode::Result r = transcode::Convert(controlText, TextEncoding::Utf8, buffer.Encoding());
    return r.ok ? std::move(r.bytes) : std::string();
}

bool SearchInRange(const CTextBuffer& buffer, std::string_view pattern, TextPos start,
                   TextPos blockBegin, TextPos blockEnd, uint32_t flags, bool wrap,
                   TextPos& found, int* matchLength)
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

    CPartSearcher searcher(pattern, flags, buffer.Encoding());
    Match match;
    bool ok;
    if (flags & SEARCH_UP)
        ok = SearchUp(buffer, searcher, start, wrap, match);
    else
        ok = SearchDownPass(buffer, searcher, start, blockEnd, match) ||
             (wrap && SearchDownPass(buffer, searcher, blockBegin, blockEnd, match));
    if (!ok)
        return false;
    found = match.pos;
    if (matchLength)
        *matchLength = match.length;
    return true;
}

bool SearchText(const CTextBuffer& buffer, std::string_view pattern, TextPos start,
                uint32_t flags, bool wrap, TextPos& found, int* matchLength)
{
    const int last = buffer.LineCount() - 1;
    if (last < 0)
        return false;
    return SearchInRange(buffer, pattern, start, TextPos(0, 0), TextPos(buffer.LineLength(last), last),
                         flags, wrap, found, matchLength);
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
               bool reverse, TextPos& found, int* matchLength)
{
    if (!search.present)
        return false;
    const uint32_t flags = reverse ? search.flags ^ SEARCH_UP : search.flags;
    return SearchText(buffer, DocumentSearchText(buffer, search.text), caret, flags, true, found,
                      matchLength);
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
    std::string proposed = transcode::ToPaneText(
        line.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)), buffer.Encoding());
    if (!textencoding::IsValidUtf8(proposed))
        return false;
    text = std::move(proposed);
    return true;
}
