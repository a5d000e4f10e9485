// The watcher of one expanded drive of the explorer: its own worker thread
// and inotify descriptor, watching the folders the tree shows of that drive
// (a whole subtree of "/" would need a watch for every folder on the disk).
// Names created, deleted or moved in them are gathered until the burst is
// quiet, then reported once; no second report goes out before the first
// has been acknowledged, so a storm of changes costs a bounded number of
// refreshes.
#pragma once

#include "platform/FolderNotify.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CDriveWatcher {
public:
    // Called on the worker thread; a window posts it on to its own thread.
    using ReportHandler = std::function<void()>;

    CDriveWatcher(std::string drive, ReportHandler report);
    ~CDriveWatcher();
    CDriveWatcher(const CDriveWatcher&) = delete;
    CDriveWatcher& operator=(const CDriveWatcher&) = delete;

    const std::string& Drive() const { return m_drive; }

    // Starts the worker; false when no notice can be had (the drive is
    // then not watched).
    bool Start();
    // Ends the worker; returns when it has ended.
    void Stop();
    bool IsRunning() const;

    // The folders to watch from now on (the drive and its expanded folders).
    void SetFolders(const std::vector<std::string>& folders);
    // The last report was handled; the next may go out.
    void Acknowledge();

    // Quiet for quietMs, or at most maxMs after the first notice of a burst.
    void SetCoalescing(int quietMs, int maxMs);

    size_t WatchedCount() const;
    unsigned Reports() const;
    // errno of the last folder that could not be watched (0: none).
    int LastError() const;

private:
    void Run();
    void ApplyFolders();

    std::string m_drive;
    ReportHandler m_report;
    std::unique_ptr<platform::CFolderNotify> m_notify;
    std::thread m_thread;

    mutable std::mutex m_lock;
    std::set<std::string> m_wanted;
    bool m_foldersChanged = false;
    bool m_stop = false;
    bool m_pending = false;
    unsigned m_reports = 0;
    int m_lastError = 0;
    int m_quietMs = 100;
    int m_maxMs = 500;
    // Worker only: folder → watch.
    std::map<std::string, int> m_watches;
    size_t m_watchedCount = 0;
};
