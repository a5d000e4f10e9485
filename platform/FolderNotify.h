// Change notices for folders (inotify): one watch per folder on one shared
// descriptor, and a wake-up that another thread can send to the waiter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class CFolderNotify {
public:
    struct Event {
        int watch = -1;     // the folder's watch; -1 for an overflow of the queue
        uint32_t mask = 0;  // inotify's IN_* bits
        std::string name;   // the entry inside the folder, empty for the folder
    };

    CFolderNotify();
    ~CFolderNotify();
    CFolderNotify(const CFolderNotify&) = delete;
    CFolderNotify& operator=(const CFolderNotify&) = delete;

    // False when the descriptors could not be made (see Error).
    bool Ok() const { return m_inotify >= 0 && m_wake >= 0; }
    int Error() const { return m_error; }

    // Watches a folder for entries written, created or moved into it, and
    // for the folder itself being deleted or moved (IN_IGNORED follows). The
    // kernel hands out one watch per inode: the same folder under two names
    // gives the same number. -1 on failure (errno in Error: ENOSPC when the
    // per-user limit of watches is reached).
    int AddFolder(const std::string& folder);
    // The same with other IN_* bits (IN_ONLYDIR is always added).
    int AddFolder(const std::string& folder, uint32_t mask);
    void RemoveFolder(int watch);

    // Thread-safe: makes a running or the next Wait return with woken set.
    void Wake();
    // Waits up to timeoutMs (-1 without limit) for notices or a wake-up and
    // appends what was queued to events. False on a failed wait.
    bool Wait(int timeoutMs, std::vector<Event>& events, bool& woken);

private:
    int m_inotify = -1;
    int m_wake = -1;
    int m_error = 0;
};

} // namespace platform
