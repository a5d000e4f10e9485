#include "editor/LineTable.h"

#include "platform/BigBlock.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

// An owned line is an allocation of 4 + capacity bytes: the capacity, then
// the characters.
char* CLineTable::Allocate(int32_t capacity)
{
    void* p = std::malloc(sizeof(int32_t) + static_cast<size_t>(capacity));
    if (!p)
        throw std::bad_alloc();
    std::memcpy(p, &capacity, sizeof capacity);
    return static_cast<char*>(p) + sizeof(int32_t);
}

void CLineTable::Release(char* data)
{
    std::free(data - sizeof(int32_t));
}

int32_t CLineTable::OwnedCapacity(const char* data)
{
    int32_t c;
    std::memcpy(&c, data - sizeof(int32_t), sizeof c);
    return c;
}

CLineTable::~CLineTable()
{
    Clear();
}

void CLineTable::Swap(CLineTable& other) noexcept
{
    m_lines.swap(other.m_lines);
    std::swap(m_block, other.m_block);
}

void CLineTable::Clear()
{
    for (Entry& e : m_lines)
        if (e.bits & kOwned)
            Release(e.data);
    std::vector<Entry>().swap(m_lines);
    std::free(m_block);
    m_block = nullptr;
}

int CLineTable::Capacity(int i) const
{
    const Entry& e = m_lines[static_cast<size_t>(i)];
    return (e.bits & kOwned) ? OwnedCapacity(e.data) : CapacityFor(e.length);
}

void CLineTable::Reserve(size_t lines)
{
    m_lines.reserve(lines);
    // Filled as the file is read; the estimate's spare room stays untouched.
    platform::AskHugePages(m_lines.data(), m_lines.capacity() * sizeof(Entry));
}

void CLineTable::AdoptBlock(char* block)
{
    std::free(m_block);
    m_block = block;
}

char* CLineTable::MakeWritable(int i, int32_t newCapacity)
{
    Entry& e = m_lines[static_cast<size_t>(i)];
    if ((e.bits & kOwned) && OwnedCapacity(e.data) == newCapacity)
        return e.data;
    char* d = Allocate(newCapacity);
    if (e.length > 0)
        std::memcpy(d, e.data, static_cast<size_t>(e.length));
    if (e.bits & kOwned)
        Release(e.data);
    e.data = d;
    e.bits = (e.bits | kOwned) & ~(kPlain | kLeadTabs);
    return d;
}

void CLineTable::InsertAfter(int i, const NewLine* lines, size_t count)
{
    std::vector<Entry> fresh;
    fresh.reserve(count);
    try {
        for (size_t k = 0; k < count; ++k) {
            const NewLine& n = lines[k];
            char* d = Allocate(n.capacity);
            if (n.na > 0)
                std::memcpy(d, n.a, static_cast<size_t>(n.na));
            if (n.nb > 0)
                std::memcpy(d + n.na, n.b, static_cast<size_t>(n.nb));
            fresh.push_back({d, n.na + n.nb, kOwned});
        }
        m_lines.insert(m_lines.begin() + i + 1, fresh.begin(), fresh.end());
    } catch (...) {
        for (Entry& e : fresh)
            Release(e.data);
        throw;
    }
}

void CLineTable::Erase(int first, int count)
{
    if (count <= 0)
        return;
    auto b = m_lines.begin() + first;
    for (auto it = b; it != b + count; ++it)
        if (it->bits & kOwned)
            Release(it->data);
    m_lines.erase(b, b + count);
}

