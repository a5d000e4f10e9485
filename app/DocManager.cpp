#include "app/DocManager.h"

#include "app/ChildFrame.h"
#include "app/FileCheck.h"
#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/UserDialogs.h"
#include "platform/Path.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/aui/auibook.h>
#include <wx/msgdlg.h>

#include <algorithm>

using namespace kib;

namespace {

wxString Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

// The open step's own checks; true when the file can be read.
bool CheckOpenable(const std::string& path, CMainFrame* parent)
{
    int64_t size = 0;
    FileProblem problem = CheckFileForOpening(path, kMaxDocumentBytes, &size);
    int message = 0;
    switch (problem) {
    case FileProblem::None: return true;
    case FileProblem::NotFound: message = IDS_MSG_FILE_NOT_FOUND; break;
    case FileProblem::IsDirectory: message = IDS_MSG_IS_DIRECTORY; break;
    case FileProblem::NotRegular: message = IDS_MSG_NOT_A_REGULAR_FILE; break;
    case FileProblem::NoPermission: message = IDS_MSG_NO_READ_PERMISSION; break;
    case FileProblem::TooLarge: message = IDS_MSG_FILE_TOO_LARGE; break;
    }
    wxString text;
    if (problem == FileProblem::TooLarge)
        text = wxString::Format(KibText(message), Display(path),
                                wxString::Format("%lld", static_cast<long long>(size >> 20)),
                                wxString::Format("%lld", static_cast<long long>(kMaxDocumentBytes >> 20)));
    else
        text = wxString::Format(KibText(message), Display(path));
    UserDialogs().MessageBox(parent, text, KibText(IDS_APP_TITLE), wxOK | wxICON_EXCLAMATION);
    return false;
}

} // namespace

CDocManager::CDocManager() = default;

CDocManager::~CDocManager()
{
    for (CKibDoc* doc : std::vector<CKibDoc*>(m_docs))
        delete doc;
}

std::string CDocManager::NextUntitledTitle()
{
    return "Kib" + std::to_string(++m_untitled);
}

CChildFrame* CDocManager::CreateFrame(CKibDoc* doc)
{
    if (!m_mainFrame)
        return nullptr;
    auto* child = new CChildFrame(m_mainFrame, doc);
    m_mainFrame->AddChild(child);
    return child;
}

CKibDoc* CDocManager::NewDocument()
{
    if (!m_mainFrame)
        return nullptr;
    auto* doc = new CKibDoc(this);
    m_docs.push_back(doc);
    doc->SetTitle(NextUntitledTitle());
    CChildFrame* frame = CreateFrame(doc);
    if (!doc->OnNewDocument()) {
        doc->OnCloseDocument();
        return nullptr;
    }
    frame->GetActiveView()->OnInitialUpdate();
    frame->ActivateFrame(m_mainFrame->Settings().m_openMaximized != 0);
    return doc;
}

CKibDoc* CDocManager::FindDocument(const std::string& path) const
{
    for (CKibDoc* doc : m_docs)
        if (!doc->GetPathName().empty() && doc->GetPathName() == path)
            return doc;
    return nullptr;
}

CKibDoc* CDocManager::OpenDocumentFile(const std::string& path, bool addToRecent)
{
    if (!m_mainFrame || path.empty())
        return nullptr;
    std::string full = platform::AbsolutePath(path);
    if (CKibDoc* open = FindDocument(full)) {
        // Already open: only its window comes to the front.
        if (CKibView* view = open->GetFirstView())
            if (auto* frame = dynamic_cast<CChildFrame*>(view->GetParent()))
                frame->ActivateFrame(m_mainFrame->Settings().m_openMaximized != 0);
        return open;
    }
    if (!CheckOpenable(full, m_mainFrame))
        return nullptr;
    auto* doc = new CKibDoc(this);
    m_docs.push_back(doc);
    if (!doc->OnOpenDocument(full)) {
        // Closing the document also takes its entry out of the open-files list.
        doc->OnCloseDocument();
        return nullptr;
    }
    doc->SetPathName(full, addToRecent);
    // The window comes with its final caption: a caption changed afterwards
    // has the notebook repaint at once.
    CChildFrame* frame = CreateFrame(doc);
    if (!frame) {
        doc->OnCloseDocument();
        return nullptr;
    }
    frame->GetActiveView()->OnInitialUpdate();
    frame->ActivateFrame(m_mainFrame->Settings().m_openMaximized != 0);
    return doc;
}

void CDocManager::CloseAllDocuments()
{
    if (m_mainFrame)
        m_mainFrame->BeginDocumentBatch();
    // Tab by tab from the first, made the shown one: the notebook then finds
    // each next tab at the start of the strip, without measuring or
    // scrolling along it. Hidden meanwhile, it does not lay out, paint and
    // focus the window shown next after every removal either.
    if (wxAuiNotebook* tabs = m_mainFrame ? m_mainFrame->Client() : nullptr) {
        bool shown = tabs->IsShown();
        if (tabs->GetPageCount() > 1)
            tabs->Hide();
        if (tabs->GetPageCount() > 0)
            tabs->ChangeSelection(0);
        while (size_t count = tabs->GetPageCount()) {
            auto* child = dynamic_cast<CChildFrame*>(tabs->GetPage(0));
            if (!child || !child->GetDocument())
                break;
            child->GetDocument()->OnCloseDocument();
            if (tabs->GetPageCount() >= count)
                break;
        }
        if (shown && !tabs->IsShown())
            tabs->Show();
    }
    // Hidden windows and whatever else is left.
    for (CKibDoc* doc : std::vector<CKibDoc*>(m_docs))
        doc->OnCloseDocument();
    if (m_mainFrame)
        m_mainFrame->EndDocumentBatch();
}

bool CDocManager::SaveAllModified()
{
    for (CKibDoc* doc : std::vector<CKibDoc*>(m_docs))
        if (!doc->SaveModified())
            return false;
    return true;
}

void CDocManager::RemoveDocument(CKibDoc* doc)
{
    auto it = std::find(m_docs.begin(), m_docs.end(), doc);
    if (it == m_docs.end())
        return;
    m_docs.erase(it);
    delete doc;
    if (m_mainFrame)
        m_mainFrame->UpdateMenuBar();
}
