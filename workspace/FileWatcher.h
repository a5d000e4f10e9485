// The program-wide watch on open files: one folder notice shared by the
// files of a folder, one worker thread, and a report for every watched file
// whose content changed on disk since it was added or last reported.
#pragma once

#include "platform/FileStamp.h"
#include "platform/FolderNotify.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CFileWatcher {
public:
    // Called on the worker thread, outside the lock, with the record's
    // number; a window posts it on to its own thread.
    using ReportHandler = std::function<void(unsigned record)>;

    // What AskReload needs of a record, copied under the lock.
    struct RecordInfo {
        std::string path;
        bool reloadThisFile = false;
        bool* reloadAllOfType = nullptr;
    };

    CFileWatcher();
    ~CFileWatcher();
    CFileWatcher(const CFileWatcher&) = delete;
    CFileWatcher& operator=(const CFileWatcher&) = delete;

    void SetReportHandler(ReportHandler handler);

    // A file's content as far as a change goes: a new time stamp on the same
    // bytes (touch) is no change.
    struct FileState {
        uint64_t size = 0;
        uint64_t contentHash = 0;
        bool operator==(const FileState&) const = default;
    };
    // What a caller that has just read a file knows of it: the state of the
    // bytes it read, and what the file was (fstat) before the read began.
    struct KnownFile {
        FileState content;
        platform::FileStamp stamp;
    };

    // Watches a file, or a folder when path ends with '/'. Returns the
    // record's number (counting up from 1, never reused), or 0 when nothing
    // is watched: no readable file, or no notice for its folder (the
    // system's limit of watches). With known, the file is not read again;
    // should it no longer be what it was before that read once the watch is
    // set, it is looked at at once like after a notice.
    unsigned AddFileWatch(const std::string& path, const KnownFile* known = nullptr);
    // The flag shared by all files of one type (or none); read only on the
    // thread that asks.
    void SetWatchTypeFlag(unsigned record, bool* reloadAllOfType);
    void RemoveFileWatch(unsigned record);
    // Ends the worker thread and forgets every record; returns when the
    // thread has ended.
    void StopFileWatcher();

    bool FindRecord(unsigned record, RecordInfo& info) const;
    void SetReloadThisFile(unsigned record, bool on);

    // State for tests and status lines.
    bool IsRunning() const;
    size_t RecordCount() const;
    std::vector<std::string> WatchedFolders() const;
    // errno of the last folder that could not be watched (0: none).
    int LastError() const;

    // At most this many folders watched: a cap below the system's own limit
    // of watches, which tests use to reach it (0: only the system's).
    void SetFolderLimit(size_t folders);

    // How long a burst of notices may go on before the files are looked at:
    // quiet for quietMs, or at most maxMs after the first notice.
    void SetCoalescing(int quietMs, int maxMs);

    // False when path is no regular file that can be read.
    static bool ReadState(const std::string& path, FileState& state);

private:
    struct Record {
        std::string path;
        std::string folder;
        bool isFolder = false;
        FileState state;
        bool reloadThisFile = false;
        bool* reloadAllOfType = nullptr;
    };
    // A folder deleted or moved away has lost its watch (-1); the worker
    // watches its name again once a folder is back there.
    struct Folder {
        int watch = -1;
    };
    static constexpr int kRetryLostMs = 500;

    void Run();
    void StopLocked(std::unique_lock<std::mutex>& lock);
    void DropFolderIfUnused(const std::string& folder);
    bool LoseWatch(int watch);
    // Watches lost folders again; pending gets the folders found back.
    bool RetryLostFolders(std::map<int, std::set<std::string>>& pending);
    // The records to report for the notices gathered (watch → names; an
    // empty set means every record of the folder).
    std::vector<unsigned> Check(const std::map<int, std::set<std::string>>& pending, bool all);

    mutable std::mutex m_lock;
    ReportHandler m_report;
    std::map<unsigned, Record> m_records;
    std::map<std::string, Folder> m_folders;
    std::unique_ptr<platform::CFolderNotify> m_notify;
    std::thread m_thread;
    bool m_stop = false;
    // Records to look at without waiting for a notice.
    std::set<unsigned> m_checkSoon;
    unsigned m_nextRecord = 1;
    int m_lastError = 0;
    size_t m_folderLimit = 0;
    int m_quietMs = 30;
    int m_maxMs = 150;
};
