// The line table of a text buffer, stored compactly: lines read from a file
// stay inside the one block the file was read into, and a line gets an
// allocation of its own only when it is first changed. Capacities follow the
// rounding rule of the buffer whichever way a line is stored.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class CLineTable {
public:
    // Longest line and most lines a table holds; keeps capacity arithmetic
    // inside 32 bits.
    static constexpr int32_t kMaxLineLength = 0x7FFFFF00;
    static constexpr int32_t kMaxLines = 0x7FFFFFF0;

    // The bits of an entry the table keeps for itself; line flags stay out of them.
    static constexpr uint32_t kOwnBits = 0xFFF00000u;

    static constexpr int32_t CapacityFor(int32_t length) { return (length / 16 + 1) * 16; }
    // The capacity after text was appended up to length m.
    static constexpr int32_t Grow(int32_t capacity, int32_t m) { return m > capacity ? CapacityFor(m) : capacity; }

    CLineTable() = default;
    ~CLineTable();
    CLineTable(const CLineTable&) = delete;
    CLineTable& operator=(const CLineTable&) = delete;

    void Swap(CLineTable& other) noexcept;
    void Clear();

    int Count() const { return static_cast<int>(m_lines.size()); }
    const char* Chars(int i) const
    {
        const char* d = m_lines[static_cast<size_t>(i)].data;
        return d ? d : "";
    }
    int Length(int i) const { return m_lines[static_cast<size_t>(i)].length; }
    int Capacity(int i) const;
    uint32_t Flags(int i) const { return m_lines[static_cast<size_t>(i)].bits & ~kInternal; }
    // True for a line as it was read that holds no tab and no byte above 7F:
    // its display length is its length.
    bool IsPlain(int i) const { return (m_lines[static_cast<size_t>(i)].bits & (kOwned | kPlain)) == kPlain; }
    // Most tabs a line as read may start with and still have its display
    // length known from its entry.
    static constexpr int kMaxLeadTabs = 255;
    // out[k]: the display length of line first + k at tabWidth when it is
    // known without a look at the bytes, else -1: a line as read that is
    // plain, or plain after the tabs it starts with (indentation).
    void KnownLengths(int first, int count, int tabWidth, int32_t* out) const
    {
        const Entry* e = m_lines.data() + first;
        const int64_t extra = tabWidth > 1 ? tabWidth - 1 : 0;
        for (int k = 0; k < count; ++k) {
            const uint32_t bits = e[k].bits;
            const int64_t tabs = (bits & kLeadTabs) >> kLeadTabsShift;
            if (bits & kOwned)
                out[k] = -1;
            else if (bits & kPlain)
                out[k] = e[k].length;
            else if (tabs)
                out[k] = static_cast<int32_t>(std::min<int64_t>(e[k].length + tabs * extra, INT32_MAX));
            else
                out[k] = -1;
        }
    }
    // True for a line still inside the block it was read into (unchanged since).
    bool IsInBlock(int i) const
    {
        const Entry& e = m_lines[static_cast<size_t>(i)];
        return !(e.bits & kOwned) && e.data && m_block;
    }
    void SetFlags(int i, uint32_t flags)
    {
        Entry& e = m_lines[static_cast<size_t>(i)];
        e.bits = (e.bits & kInternal) | (flags & ~kInternal);
    }

    // Loading: the block the lines live in (freed with free()), then the lines.
    void AdoptBlock(char* block);
    void Reserve(size_t lines);
    // plainAfter: the tabs the line starts with, after which it holds no
    // tab and no byte above 7F (0: a plain line); -1 when not so.
    void PushBorrowed(const char* data, int32_t length, int plainAfter = -1)
    {
        uint32_t bits = 0;
        if (plainAfter == 0)
            bits = kPlain;
        else if (plainAfter > 0 && plainAfter <= kMaxLeadTabs)
            bits = static_cast<uint32_t>(plainAfter) << kLeadTabsShift;
        m_lines.push_back({const_cast<char*>(data), length, bits});
    }

    // Editing primitives. Capacities only grow; newCapacity must be at least
    // the line's capacity. Returns the line's writable bytes.
    char* MakeWritable(int i, int32_t newCapacity);
    void SetLength(int i, int32_t length) { m_lines[static_cast<size_t>(i)].length = length; }
    // Inserts count new lines after line i, each holding a + b (b may be
    // empty) with the given capacity; the texts come from the callback.
    struct NewLine {
        const char* a;
        int32_t na;
        const char* b;
        int32_t nb;
        int32_t capacity;
    };
    void InsertAfter(int i, const NewLine* lines, size_t count);
    // Removes count lines starting at first.
    void Erase(int first, int count);

private:
    static constexpr uint32_t kOwned = 0x80000000u;
    // Set at load only; a line that is changed gets owned, which ends them.
    static constexpr uint32_t kPlain = 0x40000000u;
    static constexpr int kLeadTabsShift = 20;
    static constexpr uint32_t kLeadTabs = 0xFFu << kLeadTabsShift;
    static constexpr uint32_t kInternal = kOwned | kPlain | kLeadTabs;
    static_assert((kInternal & ~kOwnBits) == 0);
    struct Entry {
        char* data;
        int32_t length;
        uint32_t bits; // line flags, plus kOwned when data is an allocation of its own, kPlain and kLeadTabs
    };
    static char* Allocate(int32_t capacity);
    static void Release(char* data);
    static int32_t OwnedCapacity(const char* data);

    std::vector<Entry> m_lines;
    char* m_block = nullptr;
};
