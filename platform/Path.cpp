#include "platform/Path.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

bool IsPathSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

SplitPathResult SplitPath(std::string_view path)
{
    SplitPathResult r;
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':') {
        r.drive = std::string(path.substr(0, 2));
        path.remove_prefix(2);
    }
#endif
    size_t lastSep = std::string_view::npos;
    for (size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) {
            lastSep = i - 1;
            break;
        }
    }
    std::string_view name = path;
    if (lastSep != std::string_view::npos) {
        r.dir = std::string(path.substr(0, lastSep + 1));
        name = path.substr(lastSep + 1);
    }
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        r.fname = std::string(name);
    } else {
        r.fname = std::string(name.substr(0, dot));
        r.ext = std::string(name.substr(dot));
    }
    return r;
}

std::string MakePath(std::string_view drive, std::string_view dir, std::string_view fname,
                     std::string_view ext)
{
    std::string out(drive);
    out += WithTrailingSeparator(dir);
    out += fname;
    if (!ext.empty()) {
        if (ext.front() != '.')
            out += '.';
        out += ext;
    }
    return out;
}

std::string WithTrailingSeparator(std::string_view dir)
{
    std::string out(dir);
    if (!out.empty() && !IsPathSeparator(out.back()))
        out += kPathSeparator;
    return out;
}

std::string JoinPath(std::string_view dir, std::string_view name)
{
    return WithTrailingSeparator(dir) + std::string(name);
}

std::string DirectoryOf(std::string_view path)
{
    SplitPathResult r = SplitPath(path);
    return r.drive + r.dir;
}

std::string FileNameOf(std::string_view path)
{
    SplitPathResult r = SplitPath(path);
    return r.fname + r.ext;
}

static std::string CurrentDirectory()
{
    std::vector<char> buf(4096);
    while (getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE)
            return "/";
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

std::string AbsolutePath(std::string_view path)
{
    std::string full;
    if (!path.empty() && IsPathSeparator(path.front()))
        full = std::string(path);
    else
        full = JoinPath(CurrentDirectory(), path);

    std::vector<std::string_view> parts;
    std::string_view rest(full);
    while (!rest.empty()) {
        size_t sep = 0;
        while (sep < rest.size() && !IsPathSeparator(rest[sep]))
            ++sep;
        std::string_view part = rest.substr(0, sep);
        rest.remove_prefix(sep < rest.size() ? sep + 1 : sep);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (auto p : parts) {
        out += kPathSeparator;
        out += p;
    }
    return out.empty() ? std::string(1, kPathSeparator) : out;
}

} // namespace platform
