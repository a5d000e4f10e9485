#include "kitprobe/DriveTable.h"

#include "platform/FileRead.h"
#include "platform/MountTable.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <set>

namespace {

// File systems that are not a fixed local disk: kernel interfaces and RAM
// (like a RAM disk), network and cluster shares (like a network drive),
// and optical media (like a CD drive).
constexpr std::string_view kSkippedTypes[] = {
    // kernel, RAM and desktop-helper file systems
    "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts",
    "devtmpfs", "efivarfs", "fusectl", "hugetlbfs", "mqueue", "nsfs", "proc", "pstore",
    "ramfs", "rootfs", "rpc_pipefs", "securityfs", "selinuxfs", "sysfs", "tmpfs", "tracefs",
    "usbfs", "devfs", "nfsd", "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs",
    "fuse.xdg-document-portal",
    // network
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "coda", "9p", "ceph", "glusterfs",
    "fuse.glusterfs", "fuse.sshfs", "fuse.s3fs", "fuse.rclone", "fuse.davfs2", "davfs",
    "fuse.gcsfuse", "lustre", "virtiofs", "fuse.ceph",
    // optical
    "iso9660", "udf"};

} // namespace

bool CDriveTable::LoadSystem()
{
    std::vector<platform::MountEntry> mounts;
    const bool ok = platform::ReadMountTable(mounts);
    Take(mounts);
    return ok;
}

std::string CDriveTable::Unescape(std::string_view field)
{
    return platform::UnescapeMountField(field);
}

void CDriveTable::Parse(std::string_view text)
{
    Take(platform::ParseMountTable(text));
}

void CDriveTable::Take(const std::vector<platform::MountEntry>& mounts)
{
    m_mounts.clear();
    for (const platform::MountEntry& m : mounts)
        m_mounts.push_back({m.device, m.mountPoint, m.type});
}

std::vector<std::string> CDriveTable::MountPoints() const
{
    std::set<std::string> seen;
    std::vector<std::string> out;
    for (const Mount& m : m_mounts)
        if (seen.insert(m.mountPoint).second)
            out.push_back(m.mountPoint);
    return out;
}

bool CDriveTable::IsSearchedType(std::string_view type)
{
    return std::find(std::begin(kSkippedTypes), std::end(kSkippedTypes), type) == std::end(kSkippedTypes);
}

bool CDriveTable::IsRemovableDevice(unsigned long long dev, const std::string& sysRoot)
{
    unsigned maj = major(static_cast<dev_t>(dev));
    unsigned min = minor(static_cast<dev_t>(dev));
    if (maj == 0) // anonymous devices: overlay, btrfs subvolumes, fuse …
        return false;
    std::string base = sysRoot + "/dev/block/" + std::to_string(maj) + ":" + std::to_string(min);
    std::string value;
    // A whole disk carries the flag itself; a partition's ".." is its disk.
    if (!platform::ReadWholeFile(base + "/removable", value) &&
        !platform::ReadWholeFile(base + "/../removable", value))
        return false;
    return !value.empty() && value[0] == '1';
}

std::vector<std::string> CDriveTable::Drives(const std::string& sysRoot) const
{
    std::vector<std::string> drives;
    std::set<unsigned long long> devices;
    for (size_t i = 0; i < m_mounts.size(); ++i) {
        const Mount& m = m_mounts[i];
        // A later mount at the same place hides this one.
        bool hidden = false;
        for (size_t k = i + 1; k < m_mounts.size() && !hidden; ++k)
            hidden = m_mounts[k].mountPoint == m.mountPoint;
        if (hidden || !IsSearchedType(m.type))
            continue;
        struct stat st {};
        if (stat(m.mountPoint.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        unsigned long long dev = static_cast<unsigned long long>(st.st_dev);
        if (IsRemovableDevice(dev, sysRoot))
            continue;
        if (!devices.insert(dev).second)
            continue; // the same file system, already taken at another place
        drives.push_back(m.mountPoint);
    }
    return drives;
}
