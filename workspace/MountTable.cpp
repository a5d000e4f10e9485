#include "workspace/MountTable.h"

#include "platform/MountTable.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::vector<MountEntry> CMountTable::Parse(std::string_view text)
{
    return platform::ParseMountTable(text);
}

std::vector<MountEntry> CMountTable::ReadSystem()
{
    std::vector<MountEntry> mounts;
    platform::ReadMountTable(mounts);
    return mounts;
}

bool CMountTable::IsPseudoType(std::string_view type)
{
    static const char* const kPseudo[] = {
        "proc", "sysfs", "tmpfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "securityfs", "pstore", "bpf",
        "debugfs", "tracefs", "mqueue", "hugetlbfs", "configfs", "fusectl", "autofs", "binfmt_misc",
        "efivarfs", "rpc_pipefs", "nsfs", "ramfs", "selinuxfs", "nfsd", "sockfs", "pipefs",
        "fuse.gvfsd-fuse", "fuse.portal", "fuse.xdg-document-portal", "fuse.lxcfs", "squashfs"};
    for (const char* p : kPseudo)
        if (type == p)
            return true;
    return false;
}

bool CMountTable::IsNetworkType(std::string_view type)
{
    static const char* const kNetwork[] = {"nfs",      "nfs4",       "cifs",      "smb3",       "smbfs",
                                           "ncpfs",    "afs",        "9p",        "ceph",       "glusterfs",
                                           "lustre",   "davfs",      "fuse.sshfs", "fuse.davfs2", "fuse.rclone",
                                           "fuse.s3fs", "fuse.glusterfs", "fuse.curlftpfs"};
    for (const char* n : kNetwork)
        if (type == n)
            return true;
    return false;
}

std::vector<DriveEntry> CMountTable::LocalDrives(const std::vector<MountEntry>& mounts, const std::string& home)
{
    // The last mount on a point is the one that is seen there.
    std::map<std::string, const MountEntry*> byPoint;
    for (const MountEntry& m : mounts)
        byPoint[m.mountPoint] = &m;
    std::vector<DriveEntry> drives;
    DriveEntry root{DriveEntry::Root, "/", "", ""};
    if (auto it = byPoint.find("/"); it != byPoint.end()) {
        root.device = it->second->device;
        root.type = it->second->type;
    }
    drives.push_back(root);
    std::string homePath = home;
    while (homePath.size() > 1 && homePath.back() == '/')
        homePath.pop_back();
    if (!homePath.empty() && homePath != "/" && homePath.front() == '/' && IsFolder(homePath))
        drives.push_back({DriveEntry::Home, homePath, "", ""});
    for (const auto& [point, m] : byPoint) {
        if (point == "/" || IsPseudoType(m->type) || IsNetworkType(m->type))
            continue;
        drives.push_back({DriveEntry::Mount, point, m->device, m->type});
    }
    return drives;
}

std::vector<MountEntry> CMountTable::NetworkMounts(const std::vector<MountEntry>& mounts)
{
    std::map<std::string, const MountEntry*> byPoint;
    for (const MountEntry& m : mounts)
        byPoint[m.mountPoint] = &m;
    std::vector<MountEntry> out;
    for (const auto& [point, m] : byPoint)
        if (IsNetworkType(m->type))
            out.push_back(*m);
    return out;
}

const MountEntry* CMountTable::MountOf(const std::vector<MountEntry>& mounts, std::string_view path)
{
    const MountEntry* best = nullptr;
    for (const MountEntry& m : mounts) {
        std::string_view point = m.mountPoint;
        bool holds = point == "/" ||
                     (path.size() >= point.size() && path.substr(0, point.size()) == point &&
                      (path.size() == point.size() || path[point.size()] == '/'));
        // Equal lengths: the later mount covers the earlier one.
        if (holds && (!best || point.size() >= best->mountPoint.size()))
            best = &m;
    }
    return best;
}

std::string CMountTable::HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}
