// The most-recently-used file list (4 entries) kept in the profile section
// "Recent File List" as "File1" ... "File4".
#pragma once

#include <string>
#include <vector>

class CRecentFileList {
public:
    explicit CRecentFileList(int size = 4) : m_size(size) {}

    // Puts path first; an entry equal to it moves rather than repeats.
    void Add(const std::string& path);
    void Remove(size_t index);
    const std::vector<std::string>& Entries() const { return m_entries; }
    int Size() const { return m_size; }
    // Changes with every change of the entries (menus compare it).
    unsigned Generation() const { return m_generation; }

    void ReadList();        // from the profile
    void WriteList() const; // to the profile

private:
    int m_size;
    std::vector<std::string> m_entries;
    unsigned m_generation = 0;
};
