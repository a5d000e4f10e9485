// Test helpers: a temporary folder removed at the end of the test, file
// reading and writing, and a scoped file-size limit that makes writes fail
// the way a full disk does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kibtest {

class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a name inside the folder.
    std::string File(std::string_view name) const;

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);
bool Exists(const std::string& path);
// The names in a folder ("." and ".." left out), sorted.
std::vector<std::string> Entries(const std::string& dir);

// True when the process can ignore permission bits (root), where tests of
// unwritable files need another way to fail.
bool RunningAsRoot();

// While alive, writes that would make a regular file larger than `bytes`
// fail with EFBIG (SIGXFSZ ignored), as on a full disk.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(long bytes);
    ~CFileSizeLimit();

private:
    long m_oldCur, m_oldMax;
    void (*m_oldHandler)(int);
};

} // namespace kibtest
