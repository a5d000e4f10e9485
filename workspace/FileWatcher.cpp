#include "workspace/FileWatcher.h"

#include "platform/ContentHash.h"

#include <chrono>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

std::string FolderOfPath(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string NameOfPath(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool CFileWatcher::ReadState(const std::string& path, FileState& state)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    platform::CContentHash hash;
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            close(fd);
            return false;
        }
        if (got == 0)
            break;
        hash.Update(buffer, static_cast<size_t>(got));
    }
    close(fd);
    state.size = hash.Size();
    state.contentHash = hash.Value();
    return true;
}

CFileWatcher::CFileWatcher() = default;

CFileWatcher::~CFileWatcher()
{
    StopFileWatcher();
}

void CFileWatcher::SetReportHandler(ReportHandler handler)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_report = std::move(handler);
}

void CFileWatcher::SetFolderLimit(size_t folders)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_folderLimit = folders;
}

void CFileWatcher::SetCoalescing(int quietMs, int maxMs)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_quietMs = std::max(0, quietMs);
    m_maxMs = std::max(m_quietMs, maxMs);
}

unsigned CFileWatcher::AddFileWatch(const std::string& path, const KnownFile* known)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (path.empty())
        return 0;
    Record record;
    record.path = path;
    record.isFolder = path.back() == '/';
    record.folder = record.isFolder ? path : FolderOfPath(path);
    if (record.isFolder)
        known = nullptr;
    if (known) {
        struct stat st;
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || access(path.c_str(), R_OK) != 0)
            return 0;
        record.state = known->content;
    } else if (!record.isFolder && !ReadState(path, record.state)) {
        return 0;
    }

    if (!m_notify) {
        auto notify = std::make_unique<platform::CFolderNotify>();
        if (!notify->Ok()) {
            m_lastError = notify->Error();
            return 0;
        }
        m_notify = std::move(notify);
    }
    if (m_folders.find(record.folder) == m_folders.end()) {
        if (m_folderLimit && m_folders.size() >= m_folderLimit) {
            m_lastError = ENOSPC;
            return 0;
        }
        int watch = m_notify->AddFolder(record.folder);
        if (watch < 0) {
            m_lastError = m_notify->Error();
            if (m_records.empty() && !m_thread.joinable())
                m_notify.reset();
            return 0;
        }
        m_folders[record.folder].watch = watch;
    }
    unsigned number = m_nextRecord++;
    // A change between the caller's read and the watch sent no notice; the
    // file looked at now, with the watch set, shows it.
    bool changedSinceRead = false;
    if (known) {
        struct stat st;
        changedSinceRead = stat(path.c_str(), &st) != 0 || platform::FileStamp::Of(st) != known->stamp ||
                           known->content.size != known->stamp.size;
    }
    m_records.emplace(number, std::move(record));
    if (!m_thread.joinable()) {
        m_stop = false;
        m_thread = std::thread(&CFileWatcher::Run, this);
    }
    if (changedSinceRead) {
        m_checkSoon.insert(number);
        m_notify->Wake();
    }
    return number;
}

void CFileWatcher::SetWatchTypeFlag(unsigned record, bool* reloadAllOfType)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_records.find(record);
    if (it != m_records.end())
        it->second.reloadAllOfType = reloadAllOfType;
}

void CFileWatcher::SetReloadThisFile(unsigned record, bool on)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_records.find(record);
    if (it != m_records.end())
        it->second.reloadThisFile = on;
}

bool CFileWatcher::FindRecord(unsigned record, RecordInfo& info) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_records.find(record);
    if (it == m_records.end())
        return false;
    info.path = it->second.path;
    info.reloadThisFile = it->second.reloadThisFile;
    info.reloadAllOfType = it->second.reloadAllOfType;
    return true;
}

void CFileWatcher::RemoveFileWatch(unsigned record)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_checkSoon.erase(record);
    auto it = m_records.find(record);
    if (it != m_records.end()) {
        std::string folder = it->second.folder;
        m_records.erase(it);
        DropFolderIfUnused(folder);
    }
    if (m_records.empty())
        StopLocked(lock);
}

void CFileWatcher::DropFolderIfUnused(const std::string& folder)
{
    for (const auto& [number, record] : m_records)
        if (record.folder == folder)
            return;
    auto it = m_folders.find(folder);
    if (it == m_folders.end())
        return;
    int watch = it->second.watch;
    m_folders.erase(it);
    if (watch < 0)
        return;
    // The same folder under another name has the same watch.
    for (const auto& [name, other] : m_folders)
        if (other.watch == watch)
            return;
    if (m_notify)
        m_notify->RemoveFolder(watch);
}

bool CFileWatcher::LoseWatch(int watch)
{
    bool lost = false;
    for (auto& [name, folder] : m_folders)
        if (folder.watch == watch) {
            folder.watch = -1;
            lost = true;
        }
    // A folder moved away keeps its watch on the new place: not ours.
    if (lost && m_notify)
        m_notify->RemoveFolder(watch);
    return lost;
}

bool CFileWatcher::RetryLostFolders(std::map<int, std::set<std::string>>& pending)
{
    bool stillLost = false;
    for (auto& [name, folder] : m_folders) {
        if (folder.watch >= 0)
            continue;
        int watch = m_notify->AddFolder(name);
        if (watch < 0) {
            stillLost = true;
            continue;
        }
        folder.watch = watch;
        // Its files may have come back with other content meanwhile.
        pending[watch].insert(std::string());
    }
    return stillLost;
}

void CFileWatcher::StopFileWatcher()
{
    std::unique_lock<std::mutex> lock(m_lock);
    StopLocked(lock);
}

void CFileWatcher::StopLocked(std::unique_lock<std::mutex>& lock)
{
    if (m_thread.joinable()) {
        m_stop = true;
        m_notify->Wake();
        std::thread worker = std::move(m_thread);
        lock.unlock();
        worker.join();
        lock.lock();
        m_stop = false;
    }
    m_records.clear();
    m_folders.clear();
    m_checkSoon.clear();
    // Closing the descriptor drops every watch on it.
    m_notify.reset();
}

bool CFileWatcher::IsRunning() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_thread.joinable();
}

size_t CFileWatcher::RecordCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_records.size();
}

std::vector<std::string> CFileWatcher::WatchedFolders() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<std::string> folders;
    for (const auto& [name, folder] : m_folders)
        folders.push_back(name);
    return folders;
}

int CFileWatcher::LastError() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_lastError;
}

std::vector<unsigned> CFileWatcher::Check(const std::map<int, std::set<std::string>>& pending, bool all)
{
    std::vector<unsigned> reports;
    for (auto& [number, record] : m_records) {
        auto folder = m_folders.find(record.folder);
        if (folder == m_folders.end())
            continue;
        bool touched = all;
        if (!touched) {
            auto names = pending.find(folder->second.watch);
            touched = names != pending.end() &&
                      (record.isFolder || names->second.count(std::string()) ||
                       names->second.count(NameOfPath(record.path)));
        }
        if (!touched)
            continue;
        if (record.isFolder) {
            reports.push_back(number);
            continue;
        }
        // A file that is gone (or cannot be read now) is not reported; its
        // old state stays, so that it counts as changed should it come back
        // with other content.
        FileState now;
        if (!ReadState(record.path, now) || now == record.state)
            continue;
        record.state = now;
        reports.push_back(number);
    }
    return reports;
}

void CFileWatcher::Run()
{
    using Clock = std::chrono::steady_clock;
    std::map<int, std::set<std::string>> pending;
    bool all = false;
    Clock::time_point first, last;
    std::vector<platform::CFolderNotify::Event> events;
    bool anyLost = false;
    Clock::time_point retryAt;
    platform::CFolderNotify* notify;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        notify = m_notify.get();
    }
    for (;;) {
        int timeout = -1;
        int quietMs, maxMs;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            quietMs = m_quietMs;
            maxMs = m_maxMs;
        }
        auto deadline = std::min(last + std::chrono::milliseconds(quietMs), first + std::chrono::milliseconds(maxMs));
        if (!pending.empty() || all) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            timeout = static_cast<int>(std::max<long long>(0, left + 1));
        }
        if (anyLost) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(retryAt - Clock::now()).count();
            int retry = static_cast<int>(std::max<long long>(0, left + 1));
            timeout = timeout < 0 ? retry : std::min(timeout, retry);
        }
        events.clear();
        bool woken = false;
        // The notice outlives the thread: it goes only after the join.
        bool ok = notify->Wait(timeout, events, woken);

        std::vector<unsigned> reports;
        ReportHandler report;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_stop)
                return;
            auto now = Clock::now();
            if (!events.empty()) {
                if (pending.empty() && !all)
                    first = now;
                last = now;
            }
            if (!m_checkSoon.empty()) {
                if (pending.empty() && !all)
                    first = now;
                last = now;
                for (unsigned number : m_checkSoon) {
                    auto rec = m_records.find(number);
                    if (rec == m_records.end())
                        continue;
                    auto folder = m_folders.find(rec->second.folder);
                    if (folder != m_folders.end() && folder->second.watch >= 0)
                        pending[folder->second.watch].insert(NameOfPath(rec->second.path));
                }
                m_checkSoon.clear();
            }
            for (const auto& e : events) {
                if (e.watch < 0) {
                    all = true;
                } else if (e.mask & (IN_IGNORED | IN_MOVE_SELF)) {
                    pending.erase(e.watch);
                    if (LoseWatch(e.watch) && !anyLost) {
                        retryAt = now + std::chrono::milliseconds(kRetryLostMs);
                        anyLost = true;
                    }
                } else if (!(e.mask & IN_DELETE_SELF)) {
                    pending[e.watch].insert(e.name);
                }
            }
            if (anyLost && now >= retryAt) {
                bool before = pending.empty() && !all;
                anyLost = RetryLostFolders(pending);
                retryAt = now + std::chrono::milliseconds(kRetryLostMs);
                if (before && !pending.empty())
                    first = last = now;
            }
            deadline = std::min(last + std::chrono::milliseconds(m_quietMs), first + std::chrono::milliseconds(m_maxMs));
            if ((!pending.empty() || all) && now >= deadline) {
                reports = Check(pending, all);
                pending.clear();
                all = false;
            }
            report = m_report;
        }
        if (!ok)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (report)
            for (unsigned number : reports)
                report(number);
    }
}
