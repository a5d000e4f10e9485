#include "app/FileMonitor.h"

#include "app/UserDialogs.h"
#include "settings/Settings.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/app.h>

#include <cerrno>

using namespace kib;

CFileMonitor& CFileMonitor::Instance()
{
    static CFileMonitor monitor;
    return monitor;
}

CFileMonitor::CFileMonitor()
{
    m_watcher.SetReportHandler([](unsigned record) {
        // The worker thread: only a posted call reaches the windows.
        if (wxAppConsole* app = wxAppConsole::GetInstance())
            app->CallAfter([record] { CFileMonitor::Instance().OnReport(record); });
    });
}

unsigned CFileMonitor::AddFileWatch(const std::string& path, IWatchedDocument* doc,
                                    const CFileWatcher::KnownFile* known)
{
    unsigned record = m_watcher.AddFileWatch(path, known);
    if (record) {
        m_documents[record] = doc;
    } else if (m_status && (m_watcher.LastError() == ENOSPC || m_watcher.LastError() == EMFILE)) {
        CFileWatcher::FileState state;
        if (CFileWatcher::ReadState(path, state))
            m_status(wxString::Format(KibText(IDS_MSG_WATCH_LIMIT), DisplayPath(path)));
    }
    return record;
}

void CFileMonitor::SetWatchTypeFlag(unsigned record, bool* reloadAllOfType)
{
    m_watcher.SetWatchTypeFlag(record, reloadAllOfType);
}

void CFileMonitor::RemoveFileWatch(unsigned record)
{
    m_documents.erase(record);
    m_watcher.RemoveFileWatch(record);
}

void CFileMonitor::StopFileWatcher()
{
    m_watcher.StopFileWatcher();
    m_documents.clear();
}

wxString CFileMonitor::QuestionText(const std::string& path, bool documentModified)
{
    wxString text = wxString::Format("%s\n\n%s", DisplayPath(path), KibText(IDS_MSG_RELOAD_QUESTION));
    // Reloading replaces the text in the window: unsaved work is lost.
    if (documentModified)
        text << "\n\n" << KibText(IDS_MSG_RELOAD_MODIFIED);
    return text;
}

bool CFileMonitor::AskReload(unsigned record, wxWindow* parent, bool documentModified)
{
    CFileWatcher::RecordInfo info;
    if (!m_watcher.FindRecord(record, info))
        return false;
    bool always = info.reloadThisFile || (info.reloadAllOfType && *info.reloadAllOfType);
    // An automatic reload would drop unsaved changes without a word.
    if (always && !documentModified)
        return true;
    bool thisFile = info.reloadThisFile;
    bool allOfType = info.reloadAllOfType && *info.reloadAllOfType;
    if (!UserDialogs().ReloadQuestion(parent, QuestionText(info.path, documentModified), thisFile,
                                      info.reloadAllOfType ? &allOfType : nullptr))
        return false;
    // The check boxes count only with "&Ja", and only for a record that is
    // still there.
    CFileWatcher::RecordInfo now;
    if (m_watcher.FindRecord(record, now)) {
        m_watcher.SetReloadThisFile(record, thisFile);
        if (now.reloadAllOfType)
            *now.reloadAllOfType = allOfType;
    }
    return true;
}

void CFileMonitor::OnReport(unsigned record)
{
    ++m_reportsHandled;
    auto it = m_documents.find(record);
    if (it == m_documents.end())
        return;
    if (m_asking.count(record)) {
        m_changedWhileAsking.insert(record);
        return;
    }
    IWatchedDocument* doc = it->second;
    wxWindow* parent = doc->ReloadQuestionParent();
    if (!parent)
        return;
    m_asking.insert(record);
    bool reload = AskReload(record, parent, doc->IsModified());
    m_asking.erase(record);
    bool changedAgain = m_changedWhileAsking.erase(record) > 0;
    // The document may have been closed or saved anew meanwhile: then the
    // record is no longer its own.
    it = m_documents.find(record);
    if (it == m_documents.end() || it->second != doc)
        return;
    if (reload)
        doc->ReloadAndRepaint();
    else if (changedAgain)
        OnReport(record);
}

bool CFileMonitor::DropWatchWhileSaving() const
{
    return !m_settings || m_settings->m_reopenAfterChange != 0;
}
