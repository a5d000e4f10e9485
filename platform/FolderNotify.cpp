#include "platform/FolderNotify.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace platform {

namespace {

// Closing a file after writing, growing or changing it, and names created or
// moved in: the last is how editors and Kib itself replace a file. The
// folder itself going or moving away ends its watch.
constexpr uint32_t kFolderMask = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF |
                                 IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

CFolderNotify::CFolderNotify()
{
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0)
        m_error = errno;
    m_wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wake < 0 && !m_error)
        m_error = errno;
}

CFolderNotify::~CFolderNotify()
{
    if (m_inotify >= 0)
        close(m_inotify);
    if (m_wake >= 0)
        close(m_wake);
}

int CFolderNotify::AddFolder(const std::string& folder)
{
    return AddFolder(folder, kFolderMask);
}

int CFolderNotify::AddFolder(const std::string& folder, uint32_t mask)
{
    if (!Ok())
        return -1;
    int watch = inotify_add_watch(m_inotify, folder.c_str(), mask | IN_ONLYDIR);
    if (watch < 0)
        m_error = errno;
    return watch;
}

void CFolderNotify::RemoveFolder(int watch)
{
    if (Ok() && watch >= 0)
        inotify_rm_watch(m_inotify, watch);
}

void CFolderNotify::Wake()
{
    if (m_wake < 0)
        return;
    uint64_t one = 1;
    while (write(m_wake, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

bool CFolderNotify::Wait(int timeoutMs, std::vector<Event>& events, bool& woken)
{
    woken = false;
    if (!Ok())
        return false;
    pollfd fds[2] = {{m_wake, POLLIN, 0}, {m_inotify, POLLIN, 0}};
    int n;
    do {
        n = poll(fds, 2, timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        m_error = errno;
        return false;
    }
    if (fds[0].revents & POLLIN) {
        uint64_t count;
        if (read(m_wake, &count, sizeof count) == sizeof count)
            woken = true;
    }
    if (fds[1].revents & POLLIN) {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            ssize_t got = read(m_inotify, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                Event event;
                event.watch = (e->mask & IN_Q_OVERFLOW) ? -1 : e->wd;
                event.mask = e->mask;
                if (e->len)
                    event.name.assign(e->name, strnlen(e->name, e->len));
                events.push_back(std::move(event));
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
    }
    return true;
}

} // namespace platform
