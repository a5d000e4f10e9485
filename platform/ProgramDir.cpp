#include "platform/ProgramDir.h"

#include "platform/Path.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {

static std::string HomeDirectory()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

static void MakeDirectories(const std::string& dir)
{
    std::string partial;
    for (size_t i = 0; i < dir.size(); ++i) {
        partial += dir[i];
        if ((dir[i] == '/' && i > 0) || i + 1 == dir.size())
            mkdir(partial.c_str(), 0700);
    }
}

std::string UserConfigDirectory()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        base = xdg;
    else
        base = JoinPath(HomeDirectory(), ".config");
    std::string dir = WithTrailingSeparator(JoinPath(base, "kib"));
    MakeDirectories(dir);
    return dir;
}

static std::string SelfExePath()
{
    std::vector<char> buf(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buf.size())
            return std::string(buf.data(), static_cast<size_t>(n));
        buf.resize(buf.size() * 2);
    }
}

std::string ExecutableDirectory(const char* argv0)
{
    std::string exe;
    if (argv0 && std::strchr(argv0, '/'))
        exe = AbsolutePath(argv0);
    else
        exe = SelfExePath();
    if (exe.empty())
        return WithTrailingSeparator(AbsolutePath("."));
    std::string dir = DirectoryOf(exe);
    return dir.empty() ? WithTrailingSeparator(AbsolutePath(".")) : dir;
}

std::string ProgramDirectory(const char* argv0)
{
    std::string dir = ExecutableDirectory(argv0);
    if (access(dir.c_str(), W_OK | X_OK) == 0)
        return dir;
    return UserConfigDirectory();
}

} // namespace platform
