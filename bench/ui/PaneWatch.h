// What an output pane's user sees while text streams in: the pane's paint
// events (counted and timed, the whole handler chain) and how long new text
// waits until a paint shows it.
#pragma once

#include "controls/OutputPane.h"

#include <wx/event.h>

#include <algorithm>
#include <chrono>

namespace kibbench {

class CPaneWatch : public wxEvtHandler {
public:
    using clock = std::chrono::steady_clock;

    explicit CPaneWatch(COutputPane* pane) : m_pane(pane) { pane->PushEventHandler(this); }
    ~CPaneWatch() override { m_pane->RemoveEventHandler(this); }
    CPaneWatch(const CPaneWatch&) = delete;
    CPaneWatch& operator=(const CPaneWatch&) = delete;

    bool ProcessEvent(wxEvent& event) override
    {
        if (event.GetEventType() != wxEVT_PAINT)
            return wxEvtHandler::ProcessEvent(event);
        auto start = clock::now();
        bool handled = wxEvtHandler::ProcessEvent(event);
        auto end = clock::now();
        double ms = std::chrono::duration<double, std::milli>(end - start).count();
        ++paints;
        paintMs += ms;
        longestPaintMs = std::max(longestPaintMs, ms);
        if (m_changed)
            longestWaitMs = std::max(longestWaitMs, std::chrono::duration<double, std::milli>(end - m_changedAt).count());
        m_changed = false;
        m_paintedBytes = m_pane->GetTextLength();
        return handled;
    }

    // Called often (every tick, every pump): notes when the text first
    // differs from what the last paint showed.
    void Look()
    {
        if (!m_changed && m_pane->GetTextLength() != m_paintedBytes) {
            m_changed = true;
            m_changedAt = clock::now();
        }
    }
    // Whether the last paint showed the text as it is now.
    bool Shown() const { return m_pane->GetTextLength() == m_paintedBytes; }

    int paints = 0;
    double paintMs = 0;
    double longestPaintMs = 0;
    double longestWaitMs = 0; // from new text to the paint that shows it

private:
    COutputPane* m_pane;
    bool m_changed = false;
    size_t m_paintedBytes = 0;
    clock::time_point m_changedAt;
};

} // namespace kibbench
