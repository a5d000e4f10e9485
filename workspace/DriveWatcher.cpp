#include "workspace/DriveWatcher.h"

#include <sys/inotify.h>

namespace {

// Only names matter to the tree: a file written in place changes nothing
// it shows.
constexpr uint32_t kNameMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

} // namespace

CDriveWatcher::CDriveWatcher(std::string drive, ReportHandler report)
    : m_drive(std::move(drive)), m_report(std::move(report))
{
}

CDriveWatcher::~CDriveWatcher()
{
    Stop();
}

bool CDriveWatcher::Start()
{
    if (m_thread.joinable())
        return true;
    m_notify = std::make_unique<platform::CFolderNotify>();
    if (!m_notify->Ok()) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_lastError = m_notify->Error();
        m_notify.reset();
        return false;
    }
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CDriveWatcher::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    if (m_notify)
        m_notify->Wake();
    if (m_thread.joinable())
        m_thread.join();
    m_notify.reset();
    m_watches.clear();
}

bool CDriveWatcher::IsRunning() const
{
    return m_thread.joinable();
}

void CDriveWatcher::SetFolders(const std::vector<std::string>& folders)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        std::set<std::string> wanted(folders.begin(), folders.end());
        if (wanted == m_wanted)
            return;
        m_wanted = std::move(wanted);
        m_foldersChanged = true;
    }
    if (m_notify)
        m_notify->Wake();
}

void CDriveWatcher::Acknowledge()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pending = false;
    }
    if (m_notify)
        m_notify->Wake();
}

void CDriveWatcher::SetCoalescing(int quietMs, int maxMs)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_quietMs = quietMs;
    m_maxMs = maxMs;
}

size_t CDriveWatcher::WatchedCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_watchedCount;
}

unsigned CDriveWatcher::Reports() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_reports;
}

int CDriveWatcher::LastError() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_lastError;
}

void CDriveWatcher::ApplyFolders()
{
    std::set<std::string> wanted;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_foldersChanged)
            return;
        m_foldersChanged = false;
        wanted = m_wanted;
    }
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        if (!wanted.count(it->first)) {
            m_notify->RemoveFolder(it->second);
            it = m_watches.erase(it);
        } else {
            ++it;
        }
    }
    int error = 0;
    for (const std::string& folder : wanted) {
        if (m_watches.count(folder))
            continue;
        int watch = m_notify->AddFolder(folder, kNameMask);
        if (watch >= 0)
            m_watches[folder] = watch;
        else
            error = m_notify->Error();
    }
    std::lock_guard<std::mutex> lock(m_lock);
    m_watchedCount = m_watches.size();
    if (error)
        m_lastError = error;
}

void CDriveWatcher::Run()
{
    using Clock = std::chrono::steady_clock;
    bool dirty = false;
    Clock::time_point first, last;
    std::vector<platform::CFolderNotify::Event> events;
    for (;;) {
        ApplyFolders();
        int quietMs, maxMs;
        bool pending;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_stop)
                return;
            quietMs = m_quietMs;
            maxMs = m_maxMs;
            pending = m_pending;
        }
        int timeout = -1;
        if (dirty && !pending) {
            const auto now = Clock::now();
            auto due = std::min(last + std::chrono::milliseconds(quietMs), first + std::chrono::milliseconds(maxMs));
            timeout = due <= now ? 0 : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(due - now).count());
        }
        events.clear();
        bool woken = false;
        if (!m_notify->Wait(timeout, events, woken))
            return;
        bool changed = false;
        for (const auto& e : events)
            if (e.mask != IN_IGNORED)
                changed = true;
        const auto now = Clock::now();
        if (changed) {
            if (!dirty)
                first = now;
            last = now;
            dirty = true;
        }
        if (!dirty)
            continue;
        bool report = false;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_stop)
                return;
            if (!m_pending && (now - last >= std::chrono::milliseconds(m_quietMs) ||
                               now - first >= std::chrono::milliseconds(m_maxMs))) {
                m_pending = true;
                ++m_reports;
                report = true;
            }
        }
        if (report) {
            dirty = false;
            if (m_report)
                m_report();
        }
    }
}
