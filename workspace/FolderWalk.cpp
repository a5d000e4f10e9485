#include "workspace/FolderWalk.h"

#include "platform/Path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace {

// File systems that hold no user files, or that mount on access.
bool IsPseudoFileSystem(int fd)
{
    struct statfs fs;
    if (fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x9fa0:     // proc
    case 0x62656572: // sysfs
    case 0x1cd1:     // devpts
    case 0x27e0eb:   // cgroup
    case 0x63677270: // cgroup2
    case 0x64626720: // debugfs
    case 0x74726163: // tracefs
    case 0x73636673: // securityfs
    case 0x6165676c: // pstore
    case 0xcafe4a11: // bpf
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
    case 0x19800202: // mqueue
    case 0x42494e4d: // binfmt_misc
    case 0x0187:     // autofs
        return true;
    default:
        return false;
    }
}

unsigned char TypeOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return DT_DIR;
    if (S_ISREG(mode))
        return DT_REG;
    if (S_ISLNK(mode))
        return DT_LNK;
    return DT_UNKNOWN;
}

} // namespace

CFolderWalk::~CFolderWalk()
{
    Stop();
}

void CFolderWalk::Stop()
{
    CloseCurrentFile();
    for (Level& level : m_levels)
        if (level.fd >= 0)
            ::close(level.fd);
    m_levels.clear();
}

void CFolderWalk::CloseCurrentFile()
{
    if (m_currentFd >= 0)
        ::close(m_currentFd);
    m_currentFd = -1;
}

bool CFolderWalk::Start(const std::string& folder, bool recursive)
{
    Stop();
    m_recursive = recursive;
    m_unreadableFolders = m_unreadableFiles = m_foldersNotEntered = 0;
    if (folder.empty()) {
        m_start.clear();
        return false; // not the process's current folder, which the user never chose
    }
    m_start = platform::AbsolutePath(folder);
    // The start folder is the user's choice: a link to it is followed.
    const int fd = ::open(m_start.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        ++m_unreadableFolders;
        return false;
    }
    return Push(fd, m_start);
}

// Lists the folder behind fd completely, so that its order is fixed before
// anything inside changes, and puts it on the stack. Takes fd.
bool CFolderWalk::Push(int fd, std::string path)
{
    Level level;
    level.fd = fd;
    level.path = std::move(path);
    struct stat st;
    if (fstat(fd, &st) != 0) {
        ::close(fd);
        ++m_unreadableFolders;
        return false;
    }
    level.dev = st.st_dev;
    level.ino = st.st_ino;
    const int listFd = ::dup(fd);
    DIR* dir = listFd >= 0 ? fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        ::close(fd);
        ++m_unreadableFolders;
        return false;
    }
    errno = 0;
    while (struct dirent* d = readdir(dir)) {
        const char* n = d->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        level.entries.push_back({n, d->d_type});
    }
    closedir(dir);
    m_levels.push_back(std::move(level));
    return true;
}

void CFolderWalk::EnterFolder(const std::string& name)
{
    const Level& parent = m_levels.back();
    const int fd = ::openat(parent.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        // A link to a folder (ELOOP, ENOTDIR) is simply not followed.
        if (errno != ELOOP && errno != ENOTDIR)
            ++m_unreadableFolders;
        return;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        ::close(fd);
        ++m_unreadableFolders;
        return;
    }
    for (const Level& level : m_levels) {
        if (level.dev == st.st_dev && level.ino == st.st_ino) {
            ::close(fd);
            ++m_foldersNotEntered;
            return;
        }
    }
    if (st.st_dev != parent.dev && IsPseudoFileSystem(fd)) {
        ::close(fd);
        ++m_foldersNotEntered;
        return;
    }
    Push(fd, platform::JoinPath(parent.path, name));
}

bool CFolderWalk::OpenFile(const Level& level, const Entry& entry, unsigned char type, WalkFile& file)
{
    if (m_accept && !m_accept(entry.name))
        return false;
    // A link to a file is followed; O_NONBLOCK keeps a link to a FIFO from
    // blocking, and the file's own type is checked once it is open.
    int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (type != DT_LNK)
        flags |= O_NOFOLLOW;
    const int fd = ::openat(level.fd, entry.name.c_str(), flags);
    if (fd < 0) {
        if (type != DT_LNK || errno != ENOENT) // a dangling link is no unreadable file
            ++m_unreadableFiles;
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_currentFd = fd;
    file.fd = fd;
    file.name = entry.name;
    file.path = platform::JoinPath(level.path, entry.name);
    return true;
}

bool CFolderWalk::Next(WalkFile& file)
{
    CloseCurrentFile();
    file.fd = -1;
    while (!m_levels.empty()) {
        Level& top = m_levels.back();
        if (top.next >= top.entries.size()) {
            ::close(top.fd);
            m_levels.pop_back();
            continue;
        }
        const Entry& entry = top.entries[top.next++];
        unsigned char type = entry.type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (fstatat(top.fd, entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = TypeOf(st.st_mode);
        }
        if (type == DT_DIR) {
            if (m_recursive)
                EnterFolder(entry.name); // its files come before the entries behind it
            continue;
        }
        if (type != DT_REG && type != DT_LNK)
            continue; // devices, FIFOs and sockets are no files to search
        if (OpenFile(top, entry, type, file))
            return true;
    }
    return false;
}
