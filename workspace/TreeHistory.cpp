#include "workspace/TreeHistory.h"

#include <algorithm>

void CTreeHistory::SetMax(size_t max)
{
    m_max = max;
    while (m_back.size() > m_max)
        m_back.pop_front();
    while (m_forward.size() > m_max)
        m_forward.pop_front();
}

void CTreeHistory::Add(std::deque<Key>& list, Key key)
{
    if (m_max == 0)
        return;
    list.push_back(key);
    while (list.size() > m_max)
        list.pop_front();
}

void CTreeHistory::Push(Key previous)
{
    Add(m_back, previous);
    m_forward.clear();
}

void CTreeHistory::Prune(std::deque<Key>& list, const IsLive& live)
{
    list.erase(std::remove_if(list.begin(), list.end(), [&](Key k) { return !live(k); }), list.end());
}

bool CTreeHistory::CanGoBack(const IsLive& live)
{
    Prune(m_back, live);
    return !m_back.empty();
}

bool CTreeHistory::CanGoForward(const IsLive& live)
{
    Prune(m_forward, live);
    return !m_forward.empty();
}

std::optional<CTreeHistory::Key> CTreeHistory::Take(std::deque<Key>& from, std::deque<Key>& to, Key current,
                                                    const IsLive& live)
{
    Prune(from, live);
    // The current item itself is no step.
    while (!from.empty() && from.back() == current)
        from.pop_back();
    if (from.empty())
        return std::nullopt;
    Key key = from.back();
    from.pop_back();
    if (live(current))
        Add(to, current);
    return key;
}

std::optional<CTreeHistory::Key> CTreeHistory::Back(Key current, const IsLive& live)
{
    return Take(m_back, m_forward, current, live);
}

std::optional<CTreeHistory::Key> CTreeHistory::Forward(Key current, const IsLive& live)
{
    return Take(m_forward, m_back, current, live);
}

void CTreeHistory::Clear()
{
    m_back.clear();
    m_forward.clear();
}
