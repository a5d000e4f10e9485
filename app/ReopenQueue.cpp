#include "app/ReopenQueue.h"

#include "app/FileCheck.h"
#include "app/KibApp.h"
#include "app/MainFrame.h"
#include "app/OpenFilesList.h"
#include "platform/Path.h"

#include <wx/event.h>
#include <wx/window.h>

#include <algorithm>
#include <iterator>

CReopenQueue::CReopenQueue(CKibApp& app) : m_app(app) {}

CReopenQueue::~CReopenQueue()
{
    Unbind();
}

void CReopenQueue::Start(std::vector<std::string> stored, std::function<void(int, size_t)> done)
{
    Stop();
    m_stored = std::move(stored);
    m_heldBack.clear();
    if (m_stored.size() > kMaxReopened) {
        m_heldBack.assign(std::make_move_iterator(m_stored.begin() + kMaxReopened),
                          std::make_move_iterator(m_stored.end()));
        m_stored.resize(kMaxReopened);
    }
    m_next = 0;
    m_failures = 0;
    m_done = std::move(done);
    CMainFrame* frame = m_app.MainFrame();
    if (!frame)
        return;
    m_window = frame;
    if (!RunSlice(kAtStart, {}))
        frame->Bind(wxEVT_IDLE, &CReopenQueue::OnIdle, this);
}

void CReopenQueue::Stop()
{
    Unbind();
    m_window = nullptr;
}

void CReopenQueue::Unbind()
{
    if (m_window)
        m_window->Unbind(wxEVT_IDLE, &CReopenQueue::OnIdle, this);
}

std::vector<std::string> CReopenQueue::Pending() const
{
    if (!Running())
        return {};
    return std::vector<std::string>(m_stored.begin() + static_cast<std::ptrdiff_t>(m_next), m_stored.end());
}

void CReopenQueue::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    if (!Running())
        return;
    auto round = std::chrono::steady_clock::now() - m_sliceEnd;
    auto budget = std::clamp<std::chrono::steady_clock::duration>(round, kSlice, kMaxSlice);
    if (!RunSlice(m_stored.size(), budget))
        event.RequestMore();
}

bool CReopenQueue::RunSlice(size_t count, std::chrono::steady_clock::duration budget)
{
    CMainFrame* frame = m_app.MainFrame();
    if (!frame) {
        Stop();
        return true;
    }
    auto start = std::chrono::steady_clock::now();
    frame->BeginDocumentBatch();
    for (size_t n = 0; n < count && m_next < m_stored.size(); ++n) {
        if (!OpenOne(m_stored[m_next++]))
            ++m_failures;
        if (budget.count() > 0 && std::chrono::steady_clock::now() - start >= budget)
            break;
    }
    frame->EndDocumentBatch();
    m_sliceEnd = std::chrono::steady_clock::now();
    if (m_next < m_stored.size())
        return false;
    Stop();
    m_stored.clear();
    if (m_done) {
        auto done = std::move(m_done);
        m_done = nullptr;
        done(m_failures, m_heldBack.size());
    }
    return true;
}

bool CReopenQueue::OpenOne(const std::string& stored)
{
    std::string path = ExistingStoredPath(stored);
    if (path.empty())
        return false;
    CDocManager& docs = m_app.Docs();
    // A file the open step refuses would tell the user once more; the one
    // message after the list says it all.
    if (!docs.FindDocument(platform::AbsolutePath(path)) && CheckFileForOpening(path) != FileProblem::None)
        return false;
    return docs.OpenDocumentFile(path) != nullptr;
}
