#include "settings/SettingsFileCheck.h"

#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "platform/Path.h"
#include "settings/ParamFile.h"

#include <sys/stat.h>

#include <cerrno>

CSettingsFileCheck CSettingsFileCheck::Inspect(const std::string& path, std::string_view root)
{
    using F = ESettingsFileFound;
    CSettingsFileCheck c;
    c.target = platform::AbsolutePath(path);
    struct stat st;
    if (lstat(c.target.c_str(), &st) != 0) {
        c.error = errno;
        c.found = errno == ENOENT ? F::Missing : F::Unreadable;
        return c;
    }
    const bool link = S_ISLNK(st.st_mode);
    c.isLink = link;
    if (link) {
        c.target = platform::ResolveSymlinks(path);
        if (c.target.empty()) {
            c.error = ELOOP;
            c.found = F::LinkLoop;
            return c;
        }
        if (stat(c.target.c_str(), &st) != 0) {
            c.error = errno;
            c.found = errno == ENOENT ? F::DanglingLink : F::LinkToOther;
            return c;
        }
    }
    if (!S_ISREG(st.st_mode)) {
        c.error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        c.found = link ? F::LinkToOther : F::NotAFile;
        return c;
    }
    if (!platform::ReadWholeFile(c.target, c.bytes, &c.error)) {
        c.found = link ? F::LinkToOther : F::Unreadable;
        return c;
    }
    const bool blank = c.bytes.find_first_not_of(" \t\r\n") == std::string::npos;
    CParamFile file;
    file.LoadFromText(CParamFile::FromTextMode(c.bytes));
    const bool settings = file.IsSettingsFileOf(root);
    if (link)
        c.found = settings && !blank ? F::LinkToSettings : F::LinkToOther;
    else
        c.found = settings ? F::Settings : F::Damaged;
    return c;
}

bool CSettingsFileCheck::MayReplace() const
{
    return found == ESettingsFileFound::Missing || found == ESettingsFileFound::Settings ||
           found == ESettingsFileFound::LinkToSettings;
}

CParamSaveReport CSettingsFileCheck::Refusal() const
{
    CParamSaveReport r;
    r.outcome = CParamSaveReport::REFUSED;
    r.found = found;
    r.error = error;
    if (isLink)
        r.linkTarget = target;
    return r;
}
