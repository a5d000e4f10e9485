#include "app/DocManager.h"

#include "app/FileCheck.h"
#include "app/KibDoc.h"
#include "app/UserDialogs.h"
#include "platform/Path.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

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
bool CheckOpenable(const std::string& path, wxWindow* parent)
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

CDocManager::~CDocManager() = default;

std::string CDocManager::NextUntitledTitle()
{
    return "Kib" + std::to_string(++m_untitled);
}

std::vector<CKibDoc*> CDocManager::Documents() const
{
    std::vector<CKibDoc*> docs;
    docs.reserve(m_docs.size());
    for (const auto& doc : m_docs)
        docs.push_back(doc.get());
    return docs;
}

wxWindow* CDocManager::DialogParent() const
{
    return m_mainFrame;
}

void CDocManager::AddListener(CDocumentListener* listener)
{
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void CDocManager::RemoveListener(CDocumentListener* listener)
{
    auto it = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (it == m_listeners.end())
        return;
    if (m_notifyDepth > 0) {
        // A listener that leaves during a notice is skipped, not moved under the loop.
        *it = nullptr;
        m_listenersRemoved = true;
    } else {
        m_listeners.erase(it);
    }
}

template <class... Args>
void CDocManager::NotifyAll(void (CDocumentListener::*notice)(Args...), Args... args)
{
    ++m_notifyDepth;
    // Listeners added meanwhile hear from the next notice on.
    const size_t n = m_listeners.size();
    for (size_t i = 0; i < n; ++i)
        if (CDocumentListener* listener = m_listeners[i])
            (listener->*notice)(args...);
    if (--m_notifyDepth == 0 && m_listenersRemoved) {
        m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), nullptr), m_listeners.end());
        m_listenersRemoved = false;
    }
}

void CDocManager::Notify(void (CDocumentListener::*notice)(CKibDoc&), CKibDoc& doc)
{
    NotifyAll<CKibDoc&>(notice, doc);
}

CKibDoc* CDocManager::NewDocument()
{
    if (!m_mainFrame)
        return nullptr;
    CKibDoc* doc = m_docs.emplace_back(std::make_unique<CKibDoc>(this)).get();
    if (!doc->OnNewDocument(NextUntitledTitle())) {
        CloseDocument(doc);
        return nullptr;
    }
    // The listeners give the document its window.
    Notify(&CDocumentListener::OnDocumentOpened, *doc);
    if (doc->Views().empty()) {
        CloseDocument(doc);
        return nullptr;
    }
    Notify(&CDocumentListener::OnDocumentActivated, *doc);
    return doc;
}

CKibDoc* CDocManager::FindDocument(const std::string& path) const
{
    for (const auto& doc : m_docs)
        if (!doc->GetPathName().empty() && doc->GetPathName() == path)
            return doc.get();
    return nullptr;
}

CKibDoc* CDocManager::OpenDocumentFile(const std::string& path, bool addToRecent)
{
    if (!m_mainFrame || path.empty())
        return nullptr;
    // The one place a name is made absolute: everything behind it compares
    // and stores the full path.
    std::string full = platform::AbsolutePath(path);
    if (CKibDoc* open = FindDocument(full)) {
        // Already open: only its window comes to the front.
        Notify(&CDocumentListener::OnDocumentActivated, *open);
        return open;
    }
    if (!CheckOpenable(full, m_mainFrame))
        return nullptr;
    CKibDoc* doc = m_docs.emplace_back(std::make_unique<CKibDoc>(this)).get();
    if (!doc->OnOpenDocument(full)) {
        CloseDocument(doc);
        return nullptr;
    }
    if (addToRecent)
        m_recent.Add(full);
    // The window comes with its final caption: a caption changed afterwards
    // has the notebook repaint at once.
    Notify(&CDocumentListener::OnDocumentOpened, *doc);
    if (doc->Views().empty()) {
        CloseDocument(doc);
        return nullptr;
    }
    Notify(&CDocumentListener::OnDocumentActivated, *doc);
    return doc;
}

void CDocManager::CloseAllDocuments()
{
    // The windows close theirs first, in the order they show them; then
    // hidden windows and whatever else is left.
    NotifyAll<CDocManager&>(&CDocumentListener::OnAllClosing, *this);
    for (CKibDoc* doc : Documents())
        CloseDocument(doc);
    NotifyAll<>(&CDocumentListener::OnAllClosed);
}

bool CDocManager::SaveAllModified()
{
    for (CKibDoc* doc : Documents())
        if (!doc->SaveModified())
            return false;
    return true;
}

void CDocManager::CloseDocument(CKibDoc* doc)
{
    auto it = std::find_if(m_docs.begin(), m_docs.end(), [doc](const auto& d) { return d.get() == doc; });
    if (it == m_docs.end() || doc->IsClosing())
        return;
    doc->BeginClose();
    // The listeners close the document's windows; the views leave it as
    // their windows go.
    Notify(&CDocumentListener::OnDocumentClosing, *doc);
    doc->EndClose();
    // Found again: a listener may have opened or closed other documents.
    it = std::find_if(m_docs.begin(), m_docs.end(), [doc](const auto& d) { return d.get() == doc; });
    if (it != m_docs.end())
        m_docs.erase(it);
    NotifyAll<>(&CDocumentListener::OnDocumentRemoved);
}
