#include "app/RecentFileList.h"

#include "settings/Profile.h"

#include <algorithm>

namespace {
constexpr char kSection[] = "Recent File List";
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    auto it = std::find(m_entries.begin(), m_entries.end(), path);
    if (it != m_entries.end())
        m_entries.erase(it);
    m_entries.insert(m_entries.begin(), path);
    if (static_cast<int>(m_entries.size()) > m_size)
        m_entries.resize(static_cast<size_t>(m_size));
    ++m_generation;
}

void CRecentFileList::Remove(size_t index)
{
    if (index < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<long>(index));
    ++m_generation;
}

void CRecentFileList::ReadList()
{
    m_entries.clear();
    for (int n = 1; n <= m_size; ++n) {
        std::string path = profile::GetProfileString(kSection, "File" + std::to_string(n));
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(path);
    }
    ++m_generation;
}

void CRecentFileList::WriteList() const
{
    for (int n = 1; n <= m_size; ++n) {
        size_t i = static_cast<size_t>(n - 1);
        profile::WriteProfileString(kSection, "File" + std::to_string(n),
                                    i < m_entries.size() ? m_entries[i] : std::string());
    }
}
