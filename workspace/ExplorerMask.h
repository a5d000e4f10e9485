// Which files the explorer shows: a list of extensions with their leading
// dot, taken from the file-name mask ("*.java;*.jav" gives .java and .jav).
// A file is shown when its extension equals an entry without regard to case;
// "*" and ".*" (what "*.*" gives) show every file; an empty list shows none.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CExplorerMask {
public:
    CExplorerMask() = default;
    explicit CExplorerMask(std::vector<std::string> extensions) { SetExtensions(std::move(extensions)); }

    // The mask as typed: tokens separated by ";".
    void SetMask(const std::string& mask);
    // Every entry followed by ";".
    std::string GetMask() const;

    void SetExtensions(std::vector<std::string> extensions);
    const std::vector<std::string>& Extensions() const { return m_extensions; }

    bool Shows(std::string_view fileName) const;

    // The extension of a name: from its last "." on, dot included; empty
    // when it has none.
    static std::string_view ExtensionOf(std::string_view fileName);

private:
    std::vector<std::string> m_extensions;
    bool m_all = false;
};
