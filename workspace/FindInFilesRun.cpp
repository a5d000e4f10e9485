#include "workspace/FindInFilesRun.h"

#include "controls/OutputPane.h"
#include "workspace/FileTextSearch.h"
#include "workspace/FindProgressWindow.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

namespace {

// The event loop runs at least this often while hits arrive; between the
// turns the pane only collects text.
constexpr std::chrono::milliseconds kPumpInterval(25);

bool g_running = false;

CFindInFilesRun::HitObserver& Observer()
{
    static CFindInFilesRun::HitObserver observer;
    return observer;
}

// Dispatches what is pending: native events (painting included), queued
// events and one round of idle processing.
void DispatchPending()
{
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (loop && loop->IsYielding()) {
        // Started from inside a yield further up the stack: dispatch by hand.
        for (int i = 0; i < 1000 && loop->Pending(); ++i)
            loop->Dispatch();
        if (wxTheApp)
            wxTheApp->ProcessPendingEvents();
        return;
    }
    if (wxTheApp)
        wxTheApp->Yield(true);
}

} // namespace

CFindInFilesRun::CFindInFilesRun(wxWindow* parent, COutputPane& pane) : m_parent(parent), m_pane(&pane) {}

CFindInFilesRun::~CFindInFilesRun() = default;

bool CFindInFilesRun::IsRunning()
{
    return g_running;
}

void CFindInFilesRun::SetHitObserver(HitObserver observer)
{
    Observer() = std::move(observer);
}

int CFindInFilesRun::FilterEvent(wxEvent& event)
{
    const wxEventType type = event.GetEventType();
    if ((type == wxEVT_KEY_DOWN || type == wxEVT_CHAR_HOOK) &&
        static_cast<wxKeyEvent&>(event).GetKeyCode() == WXK_ESCAPE) {
        m_escapeSeen = true;
        return Event_Processed;
    }
    return Event_Skip;
}

// Escape pressed while events were dispatched, held down now (asked of the
// keyboard at most once per pump interval), or "Abbrechen" in the window.
bool CFindInFilesRun::EscapeRequested(bool askKeyboard)
{
    if (m_escapeSeen || (m_progress && m_progress->CancelRequested()))
        return true;
    if (askKeyboard) {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastKeyCheck >= kPumpInterval) {
            m_lastKeyCheck = now;
            if (wxGetKeyState(WXK_ESCAPE))
                m_escapeSeen = true;
        }
    }
    return m_escapeSeen;
}

void CFindInFilesRun::Pump(const std::string& path, bool force)
{
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - m_lastPump < kPumpInterval)
        return;
    if (m_progress)
        m_progress->SetFileName(path);
    DispatchPending();
    m_lastPump = std::chrono::steady_clock::now();
}

void CFindInFilesRun::Write(std::string_view bytes)
{
    if (m_pane)
        m_pane->ReplaceSel(bytes);
}

int CFindInFilesRun::Run(const FindInFilesRequest& request)
{
    COutputPane* pane = m_pane.get();
    if (!pane || g_running)
        return 0;
    g_running = true;
    m_cancelled = false;
    m_escapeSeen = false;
    wxWeakRef<wxWindow> focus(wxWindow::FindFocus());

    m_progress = new CFindProgressWindow(m_parent);
    m_progress->CentreOnParent();
    m_progress->Show();
    int results = 0;
    {
        // The program keeps painting, but nothing else can be started or
        // closed underneath the search: only the progress window takes input.
        wxWindowDisabler disabler(m_progress);
        wxEvtHandler::AddFilter(this);

        pane->SelectAll();
        pane->EnsureVisible(pane->GetCaret());
        pane->ReplaceSel({});

        CFileTextSearch search;
        search.SetPoll([this](const std::string& path) {
            // Files without hits: the window stays alive and Escape works.
            Pump(path, false);
            return !EscapeRequested(true) && m_pane;
        });
        search.Setup(request.searchText, request.folder, request.filter, request.options.EngineFlags());
        Pump(request.folder, true);
        bool stopped = false;
        while (!stopped && search.NextFile()) {
            FileOccurrence occurrence;
            while (search.NextOccurrence(occurrence)) {
                if (EscapeRequested(true) || !m_pane) {
                    stopped = true;
                    break;
                }
                Pump(search.CurrentPath(), results == 0);
                Write("\r\n" + search.ResultLine(occurrence));
                ++results;
                if (Observer())
                    Observer()(results, *m_progress);
            }
        }
        if (stopped || search.Cancelled()) {
            m_cancelled = true;
            search.Cancel();
            Write("\r\nAbbruch");
        }
        wxEvtHandler::RemoveFilter(this);
    }
    m_progress->Hide();
    m_progress->Destroy();
    m_progress = nullptr;
    if (focus)
        focus->SetFocus();
    g_running = false;
    return results;
}
