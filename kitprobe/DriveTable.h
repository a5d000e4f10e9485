// The "drives" of this machine for the JDK search: the mount points of local,
// real file systems taken from the mount table. Pseudo, RAM, network and
// optical file systems and removable devices are left out, as non-fixed
// drives are; a file system mounted at several places counts once.
#pragma once

#include "platform/MountTable.h"

#include <string>
#include <string_view>
#include <vector>

class CDriveTable {
public:
    struct Mount {
        std::string device;
        std::string mountPoint; // without a trailing separator, "/" for the root
        std::string type;
    };

    // Reads the table of this process (/proc/self/mounts); false when it
    // cannot be read.
    bool LoadSystem();
    // Parses mount-table text (one "device mountpoint type options …" line
    // per mount, octal escapes such as \040 for a blank).
    void Parse(std::string_view text);

    const std::vector<Mount>& Mounts() const { return m_mounts; }

    // Every mount point in the table, whatever its type: the walk of one
    // drive does not descend into any of them.
    std::vector<std::string> MountPoints() const;

    // The drives to search, in table order: a mount qualifies when it is the
    // visible one at its mount point, its type is searched, its device is not
    // removable and its file system has not been taken at another place.
    // sysRoot is where the kernel's device attributes are found ("/sys").
    std::vector<std::string> Drives(const std::string& sysRoot = "/sys") const;

    // Whether a file system type stands for a fixed (or undeterminable)
    // drive. Unknown types are searched, as a drive of unknown type is.
    static bool IsSearchedType(std::string_view type);

    // Whether the block device is marked removable in sysRoot (the device
    // itself or, for a partition, its disk). Non-block devices are not.
    static bool IsRemovableDevice(unsigned long long dev, const std::string& sysRoot);

    // Decodes the octal escapes of a mount-table field.
    static std::string Unescape(std::string_view field);

private:
    void Take(const std::vector<platform::MountEntry>& mounts);

    std::vector<Mount> m_mounts;
};
