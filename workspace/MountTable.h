// The machine's "drives": the mount table read as the explorer shows it.
// Real local file systems are drives ("/" first, the home folder as an
// entry of its own), network file systems go below the network node, and
// pseudo file systems are neither.
#pragma once

#include "platform/MountTable.h"

#include <string>
#include <string_view>
#include <vector>

using platform::MountEntry;

struct DriveEntry {
    enum Kind { Root, Home, Mount };
    Kind kind = Mount;
    std::string path;   // the mount point (the home folder for Home)
    std::string device; // what is mounted there (empty for Home)
    std::string type;   // file system type
};

class CMountTable {
public:
    // The table's text as fields (see platform::ParseMountTable).
    static std::vector<MountEntry> Parse(std::string_view text);
    // /proc/self/mounts (empty when it cannot be read).
    static std::vector<MountEntry> ReadSystem();

    static bool IsPseudoType(std::string_view type);
    static bool IsNetworkType(std::string_view type);

    // "/" first, then the home folder (when given, existing and not "/"),
    // then every other real local mount point in path order. A mount point
    // mounted over several times counts once, with its last mount.
    static std::vector<DriveEntry> LocalDrives(const std::vector<MountEntry>& mounts, const std::string& home);
    // The mounted network file systems in path order.
    static std::vector<MountEntry> NetworkMounts(const std::vector<MountEntry>& mounts);
    // The mount that holds path (the longest mount point that is a prefix
    // of it by components); null when none does.
    static const MountEntry* MountOf(const std::vector<MountEntry>& mounts, std::string_view path);

    // The user's home folder ($HOME, else the password database).
    static std::string HomeFolder();
};
