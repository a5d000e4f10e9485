#include "workspace/FileTextSearch.h"

#include "workspace/SearchResultLine.h"

#include "text/Transcode.h"
#include "text/Utf8.h"

CFileTextSearch::CFileTextSearch()
{
    m_walk.SetNameFilter([this](std::string_view name) { return m_filter.Matches(name); });
    m_scanner.SetPoll([this] { return PollNow(m_currentPath, false); });
}

CFileTextSearch::~CFileTextSearch() = default;

bool CFileTextSearch::Setup(std::string_view searchText, const std::string& startFolder,
                            std::string_view filter, uint32_t flags)
{
    m_walk.Stop();
    m_scanner.Close();
    m_flags = flags;
    m_cancelled = false;
    m_hasPending = false;
    m_currentPath.clear();
    m_filesSearched = 0;
    m_polledOnce = false;
    m_filter.Set(filter);
    m_textUtf8.assign(searchText);
    transcode::Result in1252 = transcode::Convert(searchText, TextEncoding::Utf8, TextEncoding::Cp1252);
    m_fitsCp1252 = in1252.ok;
    m_text1252 = std::move(in1252.bytes);
    // The longer form first: a streamed file's window is sized for it.
    m_patternEncoding = TextEncoding::Utf8;
    m_scanner.SetPattern(m_textUtf8, (flags & FIND_MATCH_CASE) != 0, (flags & FIND_WHOLE_WORD) != 0);
    // An empty text would be found everywhere and nowhere: nothing is listed.
    m_active = !searchText.empty() && m_walk.Start(startFolder, (flags & FIND_RECURSIVE) != 0);
    if (!m_active)
        m_walk.Stop();
    return m_active;
}

void CFileTextSearch::SetPoll(Poll poll, std::chrono::milliseconds interval)
{
    m_poll = std::move(poll);
    m_interval = interval;
}

bool CFileTextSearch::PollNow(const std::string& path, bool force)
{
    if (m_cancelled)
        return false;
    if (!m_poll)
        return true;
    const auto now = std::chrono::steady_clock::now();
    if (!force && m_polledOnce && now - m_lastPoll < m_interval)
        return true;
    m_polledOnce = true;
    m_lastPoll = now;
    if (!m_poll(path))
        Cancel();
    return !m_cancelled;
}

void CFileTextSearch::Cancel()
{
    m_cancelled = true;
    m_active = false;
    m_hasPending = false;
    m_scanner.Close();
    m_walk.Stop();
}

bool CFileTextSearch::NextFile()
{
    m_hasPending = false;
    m_scanner.Close();
    WalkFile file;
    while (m_active && m_walk.Next(file)) {
        m_currentPath = file.path;
        if (!PollNow(m_currentPath, false))
            return false;
        ++m_filesSearched;
        // A file that cannot be read has no occurrences.
        if (!m_scanner.Open(file.fd) || !PrepareFile())
            continue;
        if (m_scanner.Next(m_pending)) {
            m_hasPending = true;
            return true;
        }
        if (m_scanner.Cancelled() || m_cancelled) {
            Cancel();
            return false;
        }
    }
    if (!m_cancelled) {
        // The walk is over: every folder handle is closed and the buffer goes.
        m_active = false;
        m_walk.Stop();
        m_scanner.ReleaseBuffer();
    }
    return false;
}

bool CFileTextSearch::PrepareFile()
{
    std::string_view head = m_scanner.FirstBytes();
    if (!m_scanner.ReadWhole())
        head = head.substr(0, transcode::CompleteUtf8Prefix(head));
    textencoding::Decision d = textencoding::Detect(head, textencoding::PlatformEncoding());
    m_encoding = d.encoding;
    m_bom = d.bom;
    if (m_encoding == TextEncoding::Cp1252 && !m_fitsCp1252)
        return false;
    if (m_encoding != m_patternEncoding) {
        m_patternEncoding = m_encoding;
        m_scanner.SetPattern(m_encoding == TextEncoding::Utf8 ? m_textUtf8 : m_text1252,
                             (m_flags & FIND_MATCH_CASE) != 0, (m_flags & FIND_WHOLE_WORD) != 0, m_encoding);
    }
    return true;
}

bool CFileTextSearch::NextOccurrence(FileOccurrence& occurrence)
{
    if (m_hasPending) {
        m_hasPending = false;
        occurrence = m_pending;
        return true;
    }
    if (m_cancelled)
        return false;
    if (m_scanner.Next(occurrence))
        return true;
    if (m_scanner.Cancelled())
        Cancel();
    return false;
}

std::string CFileTextSearch::ResultLine(const FileOccurrence& occurrence) const
{
    std::string_view text = occurrence.lineText;
    int64_t column = occurrence.column;
    if (m_encoding == TextEncoding::Cp1252)
        return FormatSearchResultLine(m_currentPath, occurrence.line, column, transcode::ToPaneText(text, m_encoding));
    size_t before = static_cast<size_t>(column - 1);
    if (m_bom && occurrence.line == 1 && text.substr(0, textencoding::kBom.size()) == textencoding::kBom) {
        text.remove_prefix(textencoding::kBom.size());
        before -= std::min(before, textencoding::kBom.size());
        column -= static_cast<int64_t>(textencoding::kBom.size());
    }
    // A long line is cut after a few bytes, maybe inside a character.
    text = text.substr(0, transcode::CompleteUtf8Prefix(text));
    if (before <= text.size()) {
        column = 1;
        for (size_t i = 0; i < before; i = static_cast<size_t>(utf8::Next(text.data(), static_cast<int>(text.size()),
                                                                           static_cast<int>(i))))
            ++column;
    }
    return FormatSearchResultLine(m_currentPath, occurrence.line, column, text);
}
