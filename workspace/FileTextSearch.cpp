#include "workspace/FileTextSearch.h"

#include "workspace/SearchResultLine.h"

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
    m_scanner.SetPattern(searchText, (flags & FIND_MATCH_CASE) != 0, (flags & FIND_WHOLE_WORD) != 0);
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
        if (!m_scanner.Open(file.fd))
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
    return FormatSearchResultLine(m_currentPath, occurrence.line, occurrence.column, occurrence.lineText);
}
