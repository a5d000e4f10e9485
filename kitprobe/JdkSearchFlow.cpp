#include "kitprobe/JdkSearchFlow.h"

#include "kitprobe/JdkSearch.h"
#include "kitprobe/KitprobeDialogs.h"
#include "kitprobe/KitprobeText.h"
#include "kitprobe/SearchAnimation.h"
#include "kitprobe/SearchProgressDlg.h"
#include "platform/Path.h"
#include "settings/ParamSaveReport.h"

#include <wx/app.h>

#include <system_error>

CJdkSearchFlow::CJdkSearchFlow(IKitprobeDialogs& dialogs, std::string paramFile, Search search)
    : m_dialogs(dialogs), m_paramFile(std::move(paramFile)), m_search(std::move(search))
{
    if (!m_search)
        m_search = [](const CJdkWalker::Progress& progress) {
            return CJdkSearch::Run(CJdkSearch::SearchRoots(), progress);
        };
    m_timer.Bind(wxEVT_TIMER, &CJdkSearchFlow::OnTick, this);
}

CJdkSearchFlow::~CJdkSearchFlow()
{
    *m_alive = false;
    m_timer.Stop();
    if (m_worker.joinable())
        m_worker.join();
    if (m_progress) {
        m_progress->AllowClose();
        m_progress->Destroy();
    }
}

void CJdkSearchFlow::Start(std::function<void()> onDone)
{
    m_onDone = std::move(onDone);
    if (!m_dialogs.AskSearch()) {
        Finish(DECLINED);
        return;
    }
    m_progress = new CSearchProgressDlg(nullptr);
    if (wxTheApp)
        wxTheApp->SetTopWindow(m_progress);
    m_progress->Show();
    m_progress->Animation()->Play();
    m_timer.Start(kRefreshMs);

    std::weak_ptr<bool> alive = m_alive;
    try {
        m_worker = std::thread([this, alive] {
            CJdkFinds finds = m_search([this](const std::string& folder) {
                std::lock_guard<std::mutex> lock(m_folderMutex);
                m_folder.assign(folder);
                m_folderChanged = true;
            });
            m_finds = std::move(finds);
            // m_finds is read only after the join in OnSearchDone.
            wxTheApp->CallAfter([this, alive] {
                if (auto a = alive.lock(); a && *a)
                    OnSearchDone();
            });
        });
    } catch (const std::system_error&) {
        // No thread to be had: search here; the window just stands still.
        m_finds = m_search({});
        OnSearchDone();
    }
}

void CJdkSearchFlow::OnTick(wxTimerEvent&)
{
    std::string folder;
    {
        std::lock_guard<std::mutex> lock(m_folderMutex);
        if (!m_folderChanged)
            return;
        folder = m_folder;
        m_folderChanged = false;
    }
    if (m_progress)
        m_progress->SetFolder(kitprobe::DisplayText(folder));
}

void CJdkSearchFlow::OnSearchDone()
{
    if (m_worker.joinable())
        m_worker.join();
    m_timer.Stop();
    m_progress->Animation()->Stop();

    CJdkChoices choices;
    if (!m_dialogs.ChooseResults(m_progress, m_finds, choices)) {
        Finish(CANCELLED);
        return;
    }
    CParamSaveReport report;
    const CJdkParamWriter::EResult result = CJdkParamWriter::Update(m_paramFile, choices, &report);
    if (report.outcome != CParamSaveReport::WRITTEN)
        m_dialogs.Tell(m_progress, kitprobe::DisplayText(report.Text(platform::AbsolutePath(m_paramFile))),
                       !report.Written());
    switch (result) {
    case CJdkParamWriter::WRITTEN:
        Finish(WRITTEN);
        break;
    case CJdkParamWriter::WRITE_FAILED:
        Finish(WRITE_FAILED);
        break;
    case CJdkParamWriter::UNREADABLE:
        Finish(UNREADABLE);
        break;
    case CJdkParamWriter::REFUSED:
        Finish(REFUSED);
        break;
    }
}

void CJdkSearchFlow::Finish(EOutcome outcome)
{
    m_outcome = outcome;
    if (m_progress) {
        if (wxTheApp && wxTheApp->GetTopWindow() == m_progress)
            wxTheApp->SetTopWindow(nullptr);
        m_progress->AllowClose();
        m_progress->Destroy();
        m_progress = nullptr;
    }
    if (m_onDone)
        m_onDone();
}
