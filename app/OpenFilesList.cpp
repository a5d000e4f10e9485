#include "app/OpenFilesList.h"

#include "platform/Path.h"
#include "settings/ParamFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <unordered_set>

namespace {

constexpr char kCountKey[] = "KIBFILES:COUNT";

std::string FileKey(int n)
{
    return "KIBFILES:FILE" + std::to_string(n);
}

void Fill(CParamFile& file, const std::vector<OpenFileSlot>& windows)
{
    int n = 0;
    for (const OpenFileSlot& w : windows) {
        ++n;
        if (w)
            file.SetString(FileKey(n), *w);
    }
    file.SetInt(kCountKey, n);
}

} // namespace

std::string OpenFilesListText(const std::vector<OpenFileSlot>& windows)
{
    CParamFile file;
    Fill(file, windows);
    return file.SaveToText();
}

bool WriteOpenFilesList(const std::string& fileName, const std::vector<OpenFileSlot>& windows,
                        CParamSaveReport* report)
{
    CParamFile file;
    Fill(file, windows);
    return file.Save(fileName, report);
}

std::vector<std::string> ReadOpenFilesList(const std::string& fileName)
{
    std::vector<std::string> paths;
    CParamFile file;
    if (!file.Load(fileName))
        return paths;
    int32_t count = 0;
    file.GetInt(kCountKey, count, 0);
    // COUNT comes from outside: a huge value must not make start-up spin.
    // Keys exist only for numbers that were written, so stop looking once
    // far more numbers than the file can hold have been tried.
    for (int32_t n = 1; n <= count; ++n) {
        std::string value;
        file.GetString(FileKey(n), value, "");
        if (!value.empty())
            paths.push_back(value);
        if (n >= 100000)
            break;
    }
    return paths;
}

std::vector<OpenFileSlot> WithPendingReopen(const std::vector<OpenFileSlot>& windows,
                                            const std::vector<std::string>& pending)
{
    // The last one reopened is on top; a path met again only comes forward.
    std::vector<OpenFileSlot> out;
    std::unordered_set<std::string> reopened;
    for (auto it = pending.rbegin(); it != pending.rend(); ++it)
        if (reopened.insert(platform::AbsolutePath(*it)).second)
            out.emplace_back(*it);
    // Below them the windows there are, less the one that each of those
    // paths brings to the front.
    std::unordered_set<std::string> moved;
    for (const OpenFileSlot& w : windows) {
        if (w && !w->empty() && reopened.count(*w) && moved.insert(*w).second)
            continue;
        out.push_back(w);
    }
    return out;
}

std::vector<OpenFileSlot> WithHeldBack(const std::vector<OpenFileSlot>& windows,
                                       const std::vector<std::string>& heldBack)
{
    std::vector<OpenFileSlot> out = windows;
    std::unordered_set<std::string> listed;
    for (const OpenFileSlot& w : windows)
        if (w && !w->empty())
            listed.insert(platform::AbsolutePath(*w));
    for (const std::string& path : heldBack)
        if (listed.insert(platform::AbsolutePath(path)).second)
            out.emplace_back(path);
    return out;
}

std::string ExistingStoredPath(const std::string& stored)
{
    struct stat st {};
    if (stored.empty())
        return {};
    if (stat(stored.c_str(), &st) == 0)
        return stored;
    std::string other = stored;
    std::replace(other.begin(), other.end(), '\\', '/');
    if (other != stored && stat(other.c_str(), &st) == 0)
        return other;
    return {};
}
