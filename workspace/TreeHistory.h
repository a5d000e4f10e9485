// The back and forward histories of a tree: items by key, at most a number
// of entries each (the oldest goes first). Items can vanish from the tree
// (a collapse, a refresh, a drive change); their entries are dropped when
// the history is next looked at, so a vanished item is never selected.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

class CTreeHistory {
public:
    using Key = uint64_t;
    // Whether an item is still in the tree.
    using IsLive = std::function<bool(Key)>;

    size_t GetMax() const { return m_max; }
    void SetMax(size_t max);

    // The selection moved on from previous (not through the history): it
    // goes onto the back list, and the forward list is emptied.
    void Push(Key previous);

    bool CanGoBack(const IsLive& live);
    bool CanGoForward(const IsLive& live);
    // The item to select, with current moved onto the other list; none
    // when no live entry is left.
    std::optional<Key> Back(Key current, const IsLive& live);
    std::optional<Key> Forward(Key current, const IsLive& live);

    void Clear();
    size_t BackSize() const { return m_back.size(); }
    size_t ForwardSize() const { return m_forward.size(); }

private:
    void Add(std::deque<Key>& list, Key key);
    static void Prune(std::deque<Key>& list, const IsLive& live);
    std::optional<Key> Take(std::deque<Key>& from, std::deque<Key>& to, Key current, const IsLive& live);

    std::deque<Key> m_back, m_forward;
    size_t m_max = 20;
};
