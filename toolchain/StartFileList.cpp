#include "toolchain/StartFileList.h"

#include <algorithm>

namespace toolchain {

namespace {

unsigned char Fold(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

bool CStartFileList::Before(const std::string& a, const std::string& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = Fold(static_cast<unsigned char>(a[i]));
        unsigned char y = Fold(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

CStartFileList::CStartFileList(std::vector<std::string> files) : m_items(std::move(files))
{
    std::stable_sort(m_items.begin(), m_items.end(), Before);
}

int CStartFileList::Add(const std::string& path)
{
    auto at = std::upper_bound(m_items.begin(), m_items.end(), path, Before);
    at = m_items.insert(at, path);
    return static_cast<int>(at - m_items.begin());
}

bool CStartFileList::Replace(int index, const std::string& path)
{
    if (index < 0 || index >= Count())
        return false;
    m_items[static_cast<size_t>(index)] = path;
    return true;
}

bool CStartFileList::Remove(int index)
{
    if (index < 0 || index >= Count())
        return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

} // namespace toolchain
