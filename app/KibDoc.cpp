#include "app/KibDoc.h"

#include "app/ChildFrame.h"
#include "app/DocManager.h"
#include "app/FileCheck.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/OpenFilesTree.h"
#include "app/UserDialogs.h"
#include "platform/Path.h"
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/msgdlg.h>

#include <algorithm>

using namespace kib;

namespace {

COpenFilesTree* Tree()
{
    CMainFrame* frame = CMainFrame::Instance();
    return frame ? frame->OpenFilesTree() : nullptr;
}

wxWindow* DialogParent()
{
    return CMainFrame::Instance();
}

wxString Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
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

CKibDoc::~CKibDoc() = default;

void CKibDoc::SetTitle(const std::string& title)
{
    m_title = title;
    for (CKibView* view : m_views)
        if (auto* frame = dynamic_cast<CChildFrame*>(view->GetParent())) {
            frame->RebuildCaption();
            frame->TitleBar().Invalidate();
        }
}

void CKibDoc::SetPathName(const std::string& path, bool addToRecent)
{
    // The file watch follows the path (kept by the file monitor once it exists).
    m_watchRecord = -1;
    m_path = platform::AbsolutePath(path);
    SetTitle(platform::FileNameOf(m_path));
    if (addToRecent && m_manager)
        m_manager->RecentFiles().Add(m_path);
}

bool CKibDoc::OnNewDocument()
{
    DeleteContents();
    m_modified = false;
    m_buffer.InitEmpty(EOL_CRLF);
    if (COpenFilesTree* tree = Tree())
        tree->AddDocument(this);
    return true;
}

bool CKibDoc::OnOpenDocument(const std::string& path)
{
    DeleteContents();
    m_modified = false;
    bool ok = m_buffer.LoadFile(path, -1);
    m_title = path;
    if (COpenFilesTree* tree = Tree())
        tree->AddDocument(this);
    if (CMainFrame* frame = CMainFrame::Instance())
        frame->DocumentOpenedEvent().Set();
    if (ok)
        m_buffer.MarkModified(false);
    return ok;
}

bool CKibDoc::OnSaveDocument(const std::string& path)
{
    bool ok = m_buffer.SaveFile(path, -1, true);
    if (!ok) {
        // The design is silent here; silence would hide that nothing was
        // written. The document stays modified and open.
        int err = m_buffer.LastErrorCode();
        wxString text = wxString::Format(KibText(IDS_MSG_SAVE_FAILED), Display(path),
                                         wxString::FromUTF8(GermanErrorText(err)));
        UserDialogs().MessageBox(DialogParent(), text, KibText(IDS_APP_TITLE), wxOK | wxICON_ERROR);
        return false;
    }
    if (m_buffer.LastSaveSplitHardLink()) {
        // Replacing the file keeps the save atomic; its other names still
        // show the old text, which the user must know.
        wxString text = wxString::Format(KibText(IDS_MSG_HARD_LINK_SPLIT), Display(path));
        UserDialogs().MessageBox(DialogParent(), text, KibText(IDS_APP_TITLE), wxOK | wxICON_INFORMATION);
    }
    SetPathName(path, true);
    m_modified = false;
    if (!m_views.empty())
        if (COpenFilesTree* tree = Tree())
            tree->RefreshDocument(this);
    return true;
}

void CKibDoc::DeleteContents()
{
    m_buffer.DiscardAll();
}

bool CKibDoc::Reload()
{
    if (m_path.empty() || !m_buffer.LoadFile(m_path, -1))
        return false;
    m_buffer.MarkModified(false);
    m_modified = false;
    for (CKibView* view : m_views)
        view->Refresh();
    return true;
}

void CKibDoc::OnCloseDocument()
{
    if (m_closing)
        return;
    m_closing = true;
    if (COpenFilesTree* tree = Tree())
        tree->RemoveDocument(this);
    // Close every window on the document; the views leave the list as their
    // windows go.
    CMainFrame* frame = CMainFrame::Instance();
    std::vector<CKibView*> views = m_views;
    for (CKibView* view : views) {
        auto* child = dynamic_cast<CChildFrame*>(view->GetParent());
        if (!child)
            continue;
        int index = frame ? frame->Client()->GetPageIndex(child) : wxNOT_FOUND;
        if (index != wxNOT_FOUND)
            frame->Client()->DeletePage(static_cast<size_t>(index));
        else
            delete child;
    }
    m_views.clear();
    DeleteContents();
    if (m_manager)
        m_manager->RemoveDocument(this); // deletes this
    else
        delete this;
}

bool CKibDoc::SaveModified()
{
    if (!IsModified())
        return true;
    wxString prompt = KibText(IDS_MSG_SAVE_CHANGES);
    prompt.Replace("%1", Display(m_title));
    int answer = UserDialogs().MessageBox(DialogParent(), prompt, KibText(IDS_APP_TITLE),
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
        if (!UserDialogs().SaveAs(DialogParent(), KibText(IDS_SAVE_FILTER), chosen))
            return false;
        target = chosen.utf8_string();
    }
    return OnSaveDocument(target);
}

void CKibDoc::AddView(CKibView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
    UpdateFrameCounts();
}

void CKibDoc::RemoveView(CKibView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    if (!m_closing)
        UpdateFrameCounts();
}

void CKibDoc::UpdateFrameCounts()
{
    int n = 0;
    int count = static_cast<int>(m_views.size());
    for (CKibView* view : m_views)
        if (auto* frame = dynamic_cast<CChildFrame*>(view->GetParent())) {
            frame->SetWindowNumber(count > 1 ? ++n : 0);
            frame->RebuildCaption();
            frame->TitleBar().Invalidate();
        }
}

bool CKibDoc::HandleCommand(int command)
{
    switch (command) {
    case ID_FILE_SAVE:
        DoFileSave();
        return true;
    case ID_FILE_SAVE_AS:
        DoSave(std::string());
        return true;
    case ID_FILE_CLOSE:
        if (SaveModified())
            OnCloseDocument();
        return true;
    default:
        return false;
    }
}

bool CKibDoc::QueryCommand(int command, CCommandState& state)
{
    switch (command) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_CLOSE:
        state.enabled = true;
        return true;
    case ID_TITLE_MARKER: {
        state.setText = true;
        state.text = IsModified() ? "*" : "";
        if (!m_views.empty())
            if (COpenFilesTree* tree = Tree())
                tree->SetDocumentMarker(this, state.text);
        return true;
    }
    default:
        return false;
    }
}
