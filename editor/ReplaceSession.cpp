#include "editor/ReplaceSession.h"

#include "editor/TextSearch.h"
#include "text/Transcode.h"

void CReplaceSession::OpenWithSelection(TextPos begin, TextPos end)
{
    if (end < begin)
        std::swap(begin, end);
    m_scope = REPLACE_SCOPE_SELECTION;
    m_selectionAllowed = true;
    m_startPos = m_blockBegin = begin;
    m_blockEnd = end;
    m_foundPos = begin;
    m_found = false;
    m_count = 0;
}

void CReplaceSession::OpenAtCaret(TextPos caret)
{
    m_scope = REPLACE_SCOPE_FILE;
    m_selectionAllowed = false;
    m_startPos = caret;
    m_blockBegin = m_blockEnd = TextPos(0, 0);
    m_foundPos = caret;
    m_found = false;
    m_count = 0;
}

void CReplaceSession::SetOptions(std::string_view searchText, std::string_view replaceText,
                                 bool matchCase, bool wholeWords, int scope)
{
    m_searchText.assign(searchText);
    m_replaceText.assign(replaceText);
    m_matchCase = matchCase;
    m_wholeWords = wholeWords;
    m_scope = scope;
}

// A stored scope "&Selektion" without a selection to confine it to searches
// the whole file, which is what the enabled controls offer.
bool CReplaceSession::InSelectionScope() const
{
    return m_scope == REPLACE_SCOPE_SELECTION && m_selectionAllowed;
}

bool CReplaceSession::Highlight()
{
    const uint32_t flags = (m_matchCase ? SEARCH_MATCH_CASE : 0) | (m_wholeWords ? SEARCH_WHOLE_WORD : 0);
    const CTextBuffer& buffer = m_target.ReplaceBuffer();
    TextPos match;
    int length = 0;
    const std::string pattern = DocumentSearchText(buffer, m_searchText);
    const bool found = InSelectionScope()
                           ? SearchInRange(buffer, pattern, m_foundPos, m_blockBegin, m_blockEnd, flags, false,
                                           match, &length)
                           : SearchText(buffer, pattern, m_foundPos, flags, false, match, &length);
    if (found) {
        m_foundPos = match;
        m_foundLength = length;
        m_target.SelectFound(match, length);
        return true;
    }
    if (m_count > 0)
        m_target.ShowMessage(IDS_REPLACE_COUNT, m_searchText, m_count);
    else
        m_target.ShowMessage(IDS_FIND_NOT_FOUND, m_searchText, 0);
    m_startPos = InSelectionScope() ? m_blockBegin : TextPos(0, 0);
    return false;
}

bool CReplaceSession::DocumentReplaceText(std::string& bytes) const
{
    transcode::Result r = transcode::Convert(m_replaceText, TextEncoding::Utf8, m_target.ReplaceBuffer().Encoding());
    if (!r.ok) {
        m_target.RefuseCharacter(r.badChar);
        return false;
    }
    bytes = std::move(r.bytes);
    return true;
}

bool CReplaceSession::ReplaceFound()
{
    std::string replacement;
    if (!DocumentReplaceText(replacement) || !m_target.ReplaceSelection(replacement))
        return false;
    // The match's own length: a case-insensitive match may differ in length
    // from the search text ("ß" for "ss").
    if (m_selectionAllowed) {
        AdjustForReplacement(m_blockBegin, m_foundPos, m_foundLength, replacement);
        AdjustForReplacement(m_blockEnd, m_foundPos, m_foundLength, replacement);
    }
    // Searching resumes right behind the inserted text, so a replacement that
    // contains the search text is not matched again.
    m_foundPos = InsertedTextEnd(m_foundPos, replacement);
    return true;
}

bool CReplaceSession::FindNext()
{
    if (!m_found)
        m_foundPos = m_startPos;
    else
        m_foundPos.x += 1; // a match overlapping the current one can be found
    m_found = Highlight();
    return m_found;
}

bool CReplaceSession::Replace()
{
    m_count = 0;
    if (m_searchText.empty())
        return m_found;
    if (!m_found) {
        m_foundPos = m_startPos;
        m_found = Highlight();
        return m_found;
    }
    if (!ReplaceFound()) {
        m_found = false;
        return false;
    }
    m_found = Highlight();
    return m_found;
}

int CReplaceSession::ReplaceAll()
{
    m_count = 0;
    if (m_searchText.empty())
        return 0;
    if (!m_found) {
        m_foundPos = m_startPos;
        m_found = Highlight();
        if (!m_found)
            return 0;
    }
    while (m_found) {
        // A replacement that does not take place would find the same match
        // for ever.
        if (!ReplaceFound()) {
            m_found = false;
            break;
        }
        ++m_count;
        m_found = Highlight();
    }
    return m_count;
}
