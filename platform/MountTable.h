// The kernel's table of mounted file systems (/proc/self/mounts) as fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MountEntry {
    std::string device;
    std::string mountPoint; // absolute, without a trailing separator ("/" for the root)
    std::string type;
};

// Lines of the form "device mountpoint type options ..."; the kernel writes
// blank, tab, newline and backslash in names as \ooo. Lines with fewer
// fields or a mount point that is not absolute are left out.
std::vector<MountEntry> ParseMountTable(std::string_view text);
// The table of this process; false (and nothing) when it cannot be read.
bool ReadMountTable(std::vector<MountEntry>& mounts);
// One field with its octal escapes undone.
std::string UnescapeMountField(std::string_view field);

} // namespace platform
