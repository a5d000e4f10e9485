#include "support/JdkSources.h"

#include "platform/CommandLine.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace kibtest {

namespace {

bool IsReadableFile(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode) && access(path, R_OK) == 0;
}

} // namespace

std::string FindJdkSourceZip()
{
    const char* preferred = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";
    if (IsReadableFile(preferred))
        return preferred;
    std::string found;
    glob_t g;
    if (glob("/usr/lib/jvm/*/lib/src.zip", 0, nullptr, &g) == 0) {
        for (size_t i = 0; i < g.gl_pathc && found.empty(); ++i)
            if (IsReadableFile(g.gl_pathv[i]))
                found = g.gl_pathv[i];
        globfree(&g);
    }
    return found;
}

CJdkSources::~CJdkSources()
{
    std::error_code ec;
    if (!m_base.empty())
        fs::remove_all(m_base, ec);
}

bool CJdkSources::Unpack(bool javaOnly, bool inMemory)
{
    m_zip = FindJdkSourceZip();
    if (m_zip.empty())
        return false;
    std::string base = fs::temp_directory_path().string();
    struct stat st;
    if (inMemory && stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && access("/dev/shm", W_OK) == 0)
        base = "/dev/shm";
    std::string tmpl = base + "/kib-jdk-src-XXXXXX";
    if (!mkdtemp(tmpl.data()))
        return false;
    m_base = tmpl;
    const std::string dir = m_base + "/src";
    std::string cmd = "unzip -q -o " + platform::ShellQuote(m_zip);
    if (javaOnly)
        cmd += " '*.java'";
    cmd += " -d " + platform::ShellQuote(dir) + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0)
        return false;
    m_dir = dir;
    return true;
}

std::vector<std::string> CJdkSources::JavaFiles() const
{
    std::vector<std::string> files;
    if (m_dir.empty())
        return files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(m_dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file() && it->path().extension() == ".java")
            files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace kibtest
