#include "workspace/ShareEnumerator.h"

#include "platform/FileRead.h"
#include "workspace/MountTable.h"

#include <algorithm>
#include <dirent.h>

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

// Lines of a text, with Samba's backslash continuation joined.
std::vector<std::string> Lines(std::string_view text, bool continuation)
{
    std::vector<std::string> lines;
    std::string pending;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (continuation && !line.empty() && line.back() == '\\') {
            pending += line.substr(0, line.size() - 1);
            continue;
        }
        pending += line;
        lines.push_back(std::move(pending));
        pending.clear();
    }
    if (!pending.empty())
        lines.push_back(std::move(pending));
    return lines;
}

std::vector<std::string> FilesIn(const std::string& folder, std::string_view suffix)
{
    std::vector<std::string> out;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return out;
    while (const dirent* e = readdir(dir)) {
        std::string_view name = e->d_name;
        if (name.empty() || name.front() == '.')
            continue;
        if (!suffix.empty() && (name.size() <= suffix.size() || name.substr(name.size() - suffix.size()) != suffix))
            continue;
        out.push_back(folder + "/" + std::string(name));
    }
    closedir(dir);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

CShareEnumerator& CShareEnumerator::Instance()
{
    static CShareEnumerator instance;
    return instance;
}

std::string CShareEnumerator::Normal(std::string_view path)
{
    std::string p(path);
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

std::vector<std::string> CShareEnumerator::ParseUserShare(std::string_view text)
{
    // "key=value" lines; the share's folder is "path".
    std::vector<std::string> out;
    for (const std::string& line : Lines(text, false)) {
        std::string_view l = Trim(line);
        size_t eq = l.find('=');
        if (eq == std::string_view::npos || l.front() == '#')
            continue;
        if (Lower(Trim(l.substr(0, eq))) == "path") {
            std::string_view value = Trim(l.substr(eq + 1));
            if (!value.empty() && value.front() == '/')
                out.push_back(Normal(value));
        }
    }
    return out;
}

std::vector<std::string> CShareEnumerator::ParseSmbConf(std::string_view text, const std::string& home)
{
    std::vector<std::string> out;
    std::string section;
    bool homesAvailable = false;
    auto closeSection = [&] {
        // [homes] shares each user's home folder under the user's name.
        if (section == "homes" && homesAvailable && !home.empty())
            out.push_back(Normal(home));
    };
    for (const std::string& line : Lines(text, true)) {
        std::string_view l = Trim(line);
        if (l.empty() || l.front() == '#' || l.front() == ';')
            continue;
        if (l.front() == '[') {
            closeSection();
            size_t close = l.find(']');
            section = Lower(Trim(l.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            homesAvailable = section == "homes";
            continue;
        }
        size_t eq = l.find('=');
        if (eq == std::string_view::npos || section.empty() || section == "global")
            continue;
        const std::string key = Lower(Trim(l.substr(0, eq)));
        std::string_view value = Trim(l.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if ((key == "path" || key == "directory") && !value.empty() && value.front() == '/' && section != "homes") {
            // Substitutions such as %U name no one folder.
            if (value.find('%') == std::string_view::npos)
                out.push_back(Normal(value));
        } else if (key == "available") {
            const std::string v = Lower(value);
            if (section == "homes")
                homesAvailable = !(v == "no" || v == "false" || v == "0");
        }
    }
    closeSection();
    return out;
}

std::vector<std::string> CShareEnumerator::ParseExports(std::string_view text)
{
    // "path  host(options) ..."; a path with blanks is quoted or written
    // with \040.
    std::vector<std::string> out;
    for (const std::string& line : Lines(text, true)) {
        std::string_view l = Trim(line);
        if (l.empty() || l.front() == '#')
            continue;
        std::string path;
        if (l.front() == '"') {
            size_t close = l.find('"', 1);
            if (close == std::string_view::npos)
                continue;
            path = l.substr(1, close - 1);
        } else {
            size_t end = l.find_first_of(" \t");
            std::string_view raw = l.substr(0, end);
            // The same escapes as in the mount table.
            auto parsed = CMountTable::Parse("x " + std::string(raw) + " x");
            if (parsed.empty())
                continue;
            path = parsed.front().mountPoint;
        }
        if (!path.empty() && path.front() == '/')
            out.push_back(Normal(path));
    }
    return out;
}

void CShareEnumerator::RefreshShares()
{
    m_paths.clear();
    auto add = [&](const std::vector<std::string>& paths) { m_paths.insert(paths.begin(), paths.end()); };
    std::string text;
    for (const std::string& file : FilesIn(m_sources.userShareFolder, ""))
        if (platform::ReadWholeFile(file, text))
            add(ParseUserShare(text));
    if (platform::ReadWholeFile(m_sources.smbConf, text))
        add(ParseSmbConf(text, m_sources.home.empty() ? CMountTable::HomeFolder() : m_sources.home));
    if (platform::ReadWholeFile(m_sources.exports, text))
        add(ParseExports(text));
    for (const std::string& file : FilesIn(m_sources.exportsFolder, ".exports"))
        if (platform::ReadWholeFile(file, text))
            add(ParseExports(text));
}

bool CShareEnumerator::IsShared(std::string_view path) const
{
    return !path.empty() && m_paths.count(Normal(path)) != 0;
}
