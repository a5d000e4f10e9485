#include "app/KibDoc.h"

#include "app/DocManager.h"
#include "app/DocumentListener.h"
#include "app/FileCheck.h"
#include "app/FilePreload.h"
#include "app/KibView.h"
#include "app/UserDialogs.h"
#include "platform/Path.h"
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/msgdlg.h>

#include <algorithm>

using namespace kib;

namespace {

wxString Display(const std::string& bytes)
{
    return DisplayPath(bytes);
}

} // namespace

void CKibDocBuffer::MarkModified(bool modified)
{
    CTextBuffer::MarkModified(modified);
    if (m_doc)
        m_doc->SetModifiedFlag(modified);
}

CKibDoc::CKibDoc(CDocManager* manager) : m_manager(manager), m_buffer(this)
{
    m_fallbackFont.lfWeight = 400;
    m_fallbackFont.SetFaceName("Courier");
}

CKibDoc::~CKibDoc()
{
    DropFileWatch();
}

void CKibDoc::DropFileWatch()
{
    if (m_watchRecord)
        CFileMonitor::Instance().RemoveFileWatch(m_watchRecord);
    m_watchRecord = 0;
}

void CKibDoc::RenewFileWatch(const CFileWatcher::KnownFile* known)
{
    DropFileWatch();
    if (m_path.empty())
        return;
    m_watchRecord = CFileMonitor::Instance().AddFileWatch(m_path, this, known);
    CFileMonitor::Instance().SetWatchTypeFlag(m_watchRecord, nullptr);
}

bool CKibDoc::Reload()
{
    if (m_path.empty() || !m_buffer.LoadFile(m_path, -1))
        return false;
    m_buffer.MarkModified(false);
    return true;
}

bool CKibDoc::ReloadAndRepaint()
{
    if (!Reload())
        return false;
    for (CKibView* view : m_views)
        view->Refresh();
    return true;
}

wxWindow* CKibDoc::ReloadQuestionParent()
{
    return GetFirstView();
}

void CKibDoc::Tell(void (CDocumentListener::*notice)(CKibDoc&))
{
    // A closing document has said its last word.
    if (m_manager && !m_closing)
        m_manager->Notify(notice, *this);
}

void CKibDoc::SetTitle(const std::string& title)
{
    m_title = title;
    Tell(&CDocumentListener::OnDocumentRenamed);
}

void CKibDoc::SetPathName(const std::string& path, bool addToRecent)
{
    DropFileWatch();
    m_path = path;
    SetTitle(platform::FileNameOf(m_path));
    if (addToRecent && m_manager)
        m_manager->RecentFiles().Add(m_path);
    RenewFileWatch();
}

void CKibDoc::SetModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Tell(&CDocumentListener::OnDocumentModifiedChanged);
}

bool CKibDoc::OnNewDocument(const std::string& title)
{
    DeleteContents();
    m_modified = false;
    m_title = title;
    m_buffer.InitEmpty(EOL_CRLF);
    return true;
}

bool CKibDoc::OnOpenDocument(const std::string& path)
{
    DeleteContents();
    m_modified = false;
    // The file named on the command line may have been read while the
    // program started.
    bool ok = CFilePreload::Instance().TakeInto(path, m_buffer) || m_buffer.LoadFile(path, -1);
    if (!ok)
        return false;
    m_path = path;
    m_title = platform::FileNameOf(path);
    m_buffer.MarkModified(false);
    // The watch starts from the bytes just read instead of reading them again.
    const CTextBuffer::LoadedFile& load = m_buffer.LastLoad();
    CFileWatcher::KnownFile known;
    known.content.size = load.size;
    known.content.contentHash = load.contentHash;
    known.stamp = load.stamp;
    RenewFileWatch(load.valid ? &known : nullptr);
    return true;
}

bool CKibDoc::OnSaveDocument(const std::string& name)
{
    std::string path = platform::AbsolutePath(name);
    // Our own write is no change from outside.
    bool dropWatch = CFileMonitor::Instance().DropWatchWhileSaving();
    if (dropWatch)
        DropFileWatch();
    bool ok = m_buffer.SaveFile(path, -1, true);
    if (dropWatch || !ok)
        RenewFileWatch();
    if (!ok) {
        // The design is silent here; silence would hide that nothing was
        // written. The document stays modified and open.
        int err = m_buffer.LastErrorCode();
        wxString text = wxString::Format(KibText(IDS_MSG_SAVE_FAILED), Display(path),
                                         wxString::FromUTF8(GermanErrorText(err)));
        UserDialogs().MessageBox((m_manager ? m_manager->DialogParent() : nullptr), text, KibText(IDS_APP_TITLE), wxOK | wxICON_ERROR);
        return false;
    }
    if (m_buffer.LastSaveSplitHardLink()) {
        // Replacing the file keeps the save atomic; its other names still
        // show the old text, which the user must know.
        wxString text = wxString::Format(KibText(IDS_MSG_HARD_LINK_SPLIT), Display(path));
        UserDialogs().MessageBox((m_manager ? m_manager->DialogParent() : nullptr), text, KibText(IDS_APP_TITLE), wxOK | wxICON_INFORMATION);
    }
    SetPathName(path, true);
    SetModifiedFlag(false);
    Tell(&CDocumentListener::OnDocumentSaved);
    return true;
}

void CKibDoc::DeleteContents()
{
    m_buffer.DiscardAll();
}

void CKibDoc::OnCloseDocument()
{
    if (m_manager) {
        m_manager->CloseDocument(this);
    } else if (!m_closing) {
        BeginClose();
        EndClose();
    }
}

void CKibDoc::EndClose()
{
    m_views.clear();
    DeleteContents();
}

bool CKibDoc::SaveModified()
{
    if (!IsModified())
        return true;
    wxString prompt = KibText(IDS_MSG_SAVE_CHANGES);
    prompt.Replace("%1", Display(m_title));
    int answer = UserDialogs().MessageBox((m_manager ? m_manager->DialogParent() : nullptr), prompt, KibText(IDS_APP_TITLE),
                                          wxYES_NO | wxCANCEL | wxICON_EXCLAMATION);
    if (answer == wxCANCEL)
        return false;
    if (answer == wxYES)
        return DoFileSave();
    return true;
}

bool CKibDoc::DoFileSave()
{
    return DoSave(m_path.empty() ? std::string() : m_path);
}

bool CKibDoc::DoSave(const std::string& path, bool)
{
    std::string target = path;
    if (target.empty()) {
        wxString name = Display(m_path.empty() ? m_title + ".java" : platform::FileNameOf(m_path));
        wxString chosen = m_path.empty() ? name : Display(m_path);
        if (!UserDialogs().SaveAs((m_manager ? m_manager->DialogParent() : nullptr), KibText(IDS_SAVE_FILTER), chosen))
            return false;
        target = chosen.utf8_string();
    }
    return OnSaveDocument(target);
}

void CKibDoc::AddView(CKibView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CKibDoc::RemoveView(CKibView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

const CKibDoc::Commands& CKibDoc::CommandTable()
{
    using Row = Commands::Row;
    static const Commands table = {
        {ID_FILE_SAVE, [](CKibDoc& d, int) { d.DoFileSave(); }, Row::Always},
        {ID_FILE_SAVE_AS, [](CKibDoc& d, int) { d.DoSave(std::string()); }, Row::Always},
        // The document is gone afterwards: nothing may touch it.
        {ID_FILE_CLOSE, [](CKibDoc& d, int) { if (d.SaveModified()) d.OnCloseDocument(); }, Row::Always},
        // The caption's "*": only a text to show.
        {ID_TITLE_MARKER, nullptr, Row::Always,
         [](CKibDoc& d, int, CCommandState& s) {
             s.setText = true;
             s.text = d.IsModified() ? "*" : "";
         }},
    };
    return table;
}

bool CKibDoc::HandleCommand(int command)
{
    return CommandTable().Handle(*this, command);
}

bool CKibDoc::QueryCommand(int command, CCommandState& state)
{
    return CommandTable().Query(*this, command, state);
}
