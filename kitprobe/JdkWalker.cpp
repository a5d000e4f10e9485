#include "kitprobe/JdkWalker.h"

#include "platform/AsciiCase.h"
#include "platform/Path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

struct Level {
    DIR* dir;
    size_t pathLength; // length of the folder path, separator included
};

// Opens a folder below parentFd for enumeration without following a link;
// nullptr when it cannot be read or lies on another device.
DIR* OpenFolder(int parentFd, const char* name, dev_t device)
{
    int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_dev != device) {
        close(fd);
        return nullptr;
    }
    DIR* dir = fdopendir(fd);
    if (!dir)
        close(fd);
    return dir;
}

} // namespace

void CJdkWalker::SetMountPoints(const std::vector<std::string>& mountPoints)
{
    m_mountPoints.clear();
    for (const std::string& m : mountPoints) {
        std::string p = m;
        while (p.size() > 1 && p.back() == '/')
            p.pop_back();
        m_mountPoints.insert(std::move(p));
    }
}

int CJdkWalker::ClassifyFileName(std::string_view name)
{
    for (int kind = FIND_COMPILER; kind < FIND_DOCUMENTATION; ++kind)
        if (platform::EqualsAsciiNoCase(name, CJdkFinds::ProgramName(static_cast<EJdkFind>(kind))))
            return kind;
    return -1;
}

bool CJdkWalker::IsStorablePath(std::string_view path)
{
    return path.find_first_of("<>") == std::string_view::npos;
}

void CJdkWalker::AddFile(EJdkFind kind, int dirFd, const char* name, const std::string& folder)
{
    // Only the program itself counts: an executable regular file. A link to
    // it would list the same JDK again under another name, and a plain file
    // of that name (a package manager's note, say) is no program.
    struct stat st {};
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (!S_ISREG(st.st_mode) || (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0)
        return;
    std::string path = folder + name;
    if (IsStorablePath(path))
        m_finds.Add(kind, std::move(path));
}

void CJdkWalker::SearchRoot(const std::string& root)
{
    std::string path = platform::WithTrailingSeparator(platform::AbsolutePath(root));
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    DIR* rootDir = fstat(fd, &st) == 0 ? fdopendir(fd) : nullptr;
    if (!rootDir) {
        close(fd);
        return;
    }
    const dev_t device = st.st_dev;
    if (m_progress)
        m_progress(path);
    ++m_folders;

    std::vector<Level> stack;
    stack.push_back(Level{rootDir, path.size()});
    while (!stack.empty()) {
        Level& top = stack.back();
        const dirent* entry = readdir(top.dir);
        if (!entry) {
            closedir(top.dir);
            stack.pop_back();
            continue;
        }
        const char* name = entry->d_name;
        const int dirFd = dirfd(top.dir);
        path.resize(top.pathLength);

        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat est {};
            if (fstatat(dirFd, name, &est, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(est.st_mode) ? DT_DIR : S_ISLNK(est.st_mode) ? DT_LNK : DT_REG;
        }

        if (type == DT_DIR && name[0] != '.') {
            // A plain folder. ("." and "..", and hidden folders, are not
            // entered, like folders carrying further attributes.)
            if (std::strcmp(name, "tooldocs") == 0) {
                std::string index = path + "index.html";
                if (IsStorablePath(index))
                    m_finds.Add(FIND_DOCUMENTATION, std::move(index));
                continue;
            }
            path += name;
            if (m_mountPoints.find(std::string_view(path)) != m_mountPoints.end())
                continue; // another file system, walked as a drive of its own if at all
            path += '/';
            if (m_progress)
                m_progress(path);
            DIR* child = OpenFolder(dirFd, name, device);
            if (!child)
                continue;
            ++m_folders;
            stack.push_back(Level{child, path.size()});
            continue;
        }

        int kind = ClassifyFileName(name);
        if (kind >= 0)
            AddFile(static_cast<EJdkFind>(kind), dirFd, name, path);
    }
}
