#include "workspace/FolderListing.h"

#include "workspace/BoundedCall.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

constexpr long kBtrfsMagic = 0x9123683E;
constexpr long kExt4Magic = 0xEF53;
constexpr long kF2fsMagic = 0xF2F52010;
constexpr unsigned kEncryptFlag = 0x00000800; // FS_ENCRYPT_FL

// How a file system keeps the two marks: per entry (btrfs, f2fs compress
// single files), per folder (ext4 encrypts folders; their files inherit),
// or not at all, where nothing is asked (an ioctl per entry would cost an
// open for each of them).
enum class FlagModel { None, PerEntry, PerFolder };

FlagModel ModelOf(int fd)
{
    struct statfs fs;
    if (fstatfs(fd, &fs) != 0)
        return FlagModel::None;
    switch (static_cast<long>(fs.f_type)) {
    case kBtrfsMagic:
    case kF2fsMagic: return FlagModel::PerEntry;
    case kExt4Magic: return FlagModel::PerFolder;
    default: return FlagModel::None;
    }
}

unsigned FlagsOfFd(int fd)
{
    unsigned flags = 0;
    int raw = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &raw) == 0) {
        if (raw & FS_COMPR_FL)
            flags |= FolderItem::Compressed;
        if (raw & kEncryptFlag)
            flags |= FolderItem::Encrypted;
    }
    return flags;
}

// Only regular files and folders are opened: opening a device or a pipe
// can have effects of its own.
unsigned FlagsAt(int dirFd, const char* name, bool folder)
{
    int fd = openat(dirFd, name,
                    O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return 0;
    struct stat st;
    unsigned flags = 0;
    if (fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
        flags = FlagsOfFd(fd);
    close(fd);
    return flags;
}

bool Dots(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// What an entry is: a folder (following a link), or anything else.
bool EntryIsFolder(int dirFd, const dirent* e, bool& link)
{
    link = e->d_type == DT_LNK;
    if (e->d_type == DT_DIR)
        return true;
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    if (e->d_type == DT_UNKNOWN && fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
        link = S_ISLNK(st.st_mode);
    // A loop or a dangling link fails here and is listed as a file.
    return fstatat(dirFd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

DIR* OpenFolder(const std::string& folder, int& error)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    DIR* dir = fdopendir(fd);
    if (!dir) {
        error = errno;
        close(fd);
    }
    return dir;
}

unsigned char Lower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

} // namespace

std::string CFolderListing::Join(const std::string& folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

bool CFolderListing::Less(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = Lower(static_cast<unsigned char>(a[i])), y = Lower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

void CFolderListing::Sort(std::vector<FolderItem>& items)
{
    // The items of one folder share everything of their paths but the name,
    // so comparing names gives the order of the full paths.
    std::sort(items.begin(), items.end(), [](const FolderItem& a, const FolderItem& b) { return Less(a.name, b.name); });
}

bool CFolderListing::HasChildren(const std::string& folder, const FileShown& shown)
{
    int error = 0;
    DIR* dir = OpenFolder(folder, error);
    if (!dir)
        return false;
    const int fd = dirfd(dir);
    bool found = false;
    while (!found) {
        errno = 0;
        const dirent* e = readdir(dir);
        if (!e)
            break;
        if (Dots(e->d_name))
            continue;
        bool link = false;
        if (EntryIsFolder(fd, e, link))
            found = true;
        else if (shown && shown(e->d_name))
            found = true;
    }
    closedir(dir);
    return found;
}

bool CFolderListing::List(const std::string& folder, const FileShown& shown, Result& out, bool withChildren,
                          const Untouchable& untouchable)
{
    out = Result();
    DIR* dir = OpenFolder(folder, out.error);
    if (!dir)
        return false;
    const int fd = dirfd(dir);
    const FlagModel model = ModelOf(fd);
    const unsigned inherited = model == FlagModel::PerFolder ? FlagsOfFd(fd) : 0;
    for (;;) {
        errno = 0;
        const dirent* e = readdir(dir);
        if (!e) {
            if (errno)
                out.error = errno;
            break;
        }
        if (Dots(e->d_name))
            continue;
        FolderItem item;
        if (untouchable && e->d_type != DT_REG && untouchable(Join(folder, e->d_name))) {
            item.name = e->d_name;
            item.path = Join(folder, item.name);
            item.folder = item.hasChildren = true;
            out.folders.push_back(std::move(item));
            continue;
        }
        item.folder = EntryIsFolder(fd, e, item.link);
        if (!item.folder && !(shown && shown(e->d_name)))
            continue;
        item.name = e->d_name;
        item.path = Join(folder, item.name);
        if (model == FlagModel::PerEntry || (model == FlagModel::PerFolder && item.folder && !item.link))
            item.attributes = FlagsAt(fd, e->d_name, item.folder);
        else
            item.attributes = inherited;
        (item.folder ? out.folders : out.files).push_back(std::move(item));
    }
    closedir(dir);
    Sort(out.folders);
    Sort(out.files);
    if (withChildren)
        for (FolderItem& f : out.folders)
            if (!(untouchable && untouchable(f.path)))
                f.hasChildren = HasChildren(f.path, shown);
    return true;
}

unsigned CFolderListing::Attributes(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    unsigned flags = 0;
    struct stat st;
    if (ModelOf(fd) != FlagModel::None && fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
        flags = FlagsOfFd(fd);
    close(fd);
    return flags;
}

bool CFolderListing::ListBounded(const std::string& folder, const FileShown& shown, Result& out, int timeoutMs)
{
    struct Listed {
        bool ok = false;
        Result result;
    };
    auto listed = CallBounded<Listed>(
        [folder, shown] {
            Listed l;
            l.ok = List(folder, shown, l.result);
            return l;
        },
        timeoutMs);
    if (!listed) {
        out = Result();
        out.error = ETIMEDOUT;
        return false;
    }
    out = std::move(listed->result);
    return listed->ok;
}
