// Which file, and which version of it by size and modification time: what a
// reader of the file saw in its fstat, to be compared with a later stat.
#pragma once

#include <cstdint>
#include <sys/stat.h>

namespace platform {

struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t mtimeNs = 0;

    static FileStamp Of(const struct stat& st)
    {
        return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_size),
                static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    }
    bool operator==(const FileStamp&) const = default;
};

} // namespace platform
