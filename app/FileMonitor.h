// Connects the program-wide file watcher to the documents: a change report
// is posted to the UI thread, where the watched document's first view asks
// whether to reload (AskReload) and the document reloads on "&Ja". The
// monitor knows documents only through IWatchedDocument.
#pragma once

#include "workspace/FileWatcher.h"

#include <functional>
#include <map>
#include <set>
#include <string>

class CSettings;
class wxString;
class wxWindow;

// What the monitor asks of a watched document.
class IWatchedDocument {
public:
    // The window the reload question is shown over (null: no view, no question).
    virtual wxWindow* ReloadQuestionParent() = 0;
    virtual bool IsModified() const = 0;
    // Reads the file again and repaints the views; false when it cannot be read.
    virtual bool ReloadAndRepaint() = 0;

protected:
    ~IWatchedDocument() = default;
};

class CFileMonitor {
public:
    static CFileMonitor& Instance();

    CFileWatcher& Watcher() { return m_watcher; }

    // Watches path for doc (UI thread); 0 when nothing is watched. A file
    // left unwatched because the system's limit of watches is reached is
    // told to the status sink. known: what the document's load read of it.
    unsigned AddFileWatch(const std::string& path, IWatchedDocument* doc,
                          const CFileWatcher::KnownFile* known = nullptr);
    void SetWatchTypeFlag(unsigned record, bool* reloadAllOfType);
    void RemoveFileWatch(unsigned record);
    // Ends the worker thread at once; every record goes.
    void StopFileWatcher();

    // Whether to reload the record's file: without a question when the
    // user chose so before, unless the document has unsaved changes, which
    // the question then names. False for a record that is gone.
    bool AskReload(unsigned record, wxWindow* parent, bool documentModified);
    // The question's text.
    static wxString QuestionText(const std::string& path, bool documentModified);

    // Where a line for the status bar goes (null: nowhere).
    using StatusSink = std::function<void(const wxString&)>;
    void SetStatusSink(StatusSink sink) { m_status = std::move(sink); }

    // The settings in force (the main frame's; null when there is none).
    void SetSettings(const CSettings* settings) { m_settings = settings; }
    // Whether a save lets go of the watch while it writes (the user wants
    // outside changes reloaded, so Kib's own write must not look like one).
    bool DropWatchWhileSaving() const;

    // A report on the UI thread: the question, then the reload. A report for
    // a record that was removed meanwhile is ignored; one that comes while
    // its question is open asks again afterwards unless the file was
    // reloaded (the reload read the newer content).
    void OnReport(unsigned record);
    // Reports handled so far (for tests).
    int ReportsHandled() const { return m_reportsHandled; }

private:
    CFileMonitor();

    CFileWatcher m_watcher;
    std::map<unsigned, IWatchedDocument*> m_documents;
    std::set<unsigned> m_asking;
    std::set<unsigned> m_changedWhileAsking;
    StatusSink m_status;
    int m_reportsHandled = 0;
    const CSettings* m_settings = nullptr;
};
