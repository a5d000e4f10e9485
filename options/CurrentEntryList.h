// The lists of the options pages whose entries share one set of controls
// (colours, syntax styles, text blocks): the controls always show the
// values of the current entry; a change of selection first stores what the
// controls show into the entry being left.
#pragma once

#include <cstddef>
#include <vector>

template <class T>
class CCurrentEntryList {
public:
    explicit CCurrentEntryList(std::vector<T> values) : m_values(std::move(values)) {}

    int Current() const { return m_current; }
    int Count() const { return static_cast<int>(m_values.size()); }
    const T& Value(int index) const { return m_values.at(static_cast<size_t>(index)); }
    const std::vector<T>& Values() const { return m_values; }

    // The selection moves to index: shown goes into the current entry, and
    // the values to show now are returned.
    const T& Select(int index, const T& shown)
    {
        Commit(shown);
        if (index >= 0 && index < Count())
            m_current = index;
        return Value(m_current);
    }
    // OK: what the controls show goes into the current entry.
    void Commit(const T& shown)
    {
        if (m_current >= 0 && m_current < Count())
            m_values[static_cast<size_t>(m_current)] = shown;
    }
    // Every stored entry to its default; the controls keep what they show,
    // so the current entry takes that at the next Select or Commit.
    void Restore(const std::vector<T>& defaults)
    {
        for (size_t i = 0; i < m_values.size() && i < defaults.size(); ++i)
            m_values[i] = defaults[i];
    }

private:
    std::vector<T> m_values;
    int m_current = 0;
};
