// The entries of "Startdateien konfigurieren" while the dialog is open, in
// the order of its sorted list box: a new entry goes in at its sorted place
// (letter case ignored, then byte order), a changed one keeps its place.
#pragma once

#include <string>
#include <vector>

namespace toolchain {

class CStartFileList {
public:
    // The entries sorted, as the list box shows them on opening.
    explicit CStartFileList(std::vector<std::string> files = {});

    // Inserts at the sorted place; returns the index.
    int Add(const std::string& path);
    // Replaces the entry at index (no new sorting); false when there is none.
    bool Replace(int index, const std::string& path);
    bool Remove(int index);

    const std::vector<std::string>& Items() const { return m_items; }
    int Count() const { return static_cast<int>(m_items.size()); }

    // The list box's order.
    static bool Before(const std::string& a, const std::string& b);

private:
    std::vector<std::string> m_items;
};

} // namespace toolchain
