#include "support/TempDir.h"

#include "platform/FileRead.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace kibtest {

CTempDir::CTempDir()
{
    std::string base = std::filesystem::temp_directory_path().string() + "/kibtest-XXXXXX";
    std::vector<char> buf(base.begin(), base.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = buf.data();
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    // Make everything removable again, whatever a test did to the modes.
    for (auto it = std::filesystem::recursive_directory_iterator(
             m_path, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink())
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string CTempDir::File(std::string_view name) const
{
    return m_path + "/" + std::string(name);
}

std::string ReadFile(const std::string& path)
{
    std::string out;
    platform::ReadWholeFile(path, out);
    return out;
}

void WriteFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

std::vector<std::string> Entries(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..")
                names.push_back(std::move(n));
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool RunningAsRoot()
{
    return geteuid() == 0;
}

CFileSizeLimit::CFileSizeLimit(long bytes)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    m_oldCur = static_cast<long>(old.rlim_cur);
    m_oldMax = static_cast<long>(old.rlim_max);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = old;
    lim.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &lim);
}

CFileSizeLimit::~CFileSizeLimit()
{
    rlimit lim{};
    lim.rlim_cur = static_cast<rlim_t>(m_oldCur);
    lim.rlim_max = static_cast<rlim_t>(m_oldMax);
    setrlimit(RLIMIT_FSIZE, &lim);
    std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace kibtest
