// One find-in-files search on the user-interface thread: the progress
// window, the engine's walk, one result line per occurrence in a results
// pane, the event loop kept going so that the program repaints, and Escape
// (or "Abbrechen") ending the list with "Abbruch".
#pragma once

#include "workspace/FindInFilesDialog.h"

#include <wx/eventfilter.h>
#include <wx/weakref.h>

#include <chrono>
#include <functional>
#include <memory>

class COutputPane;
class CFindProgressWindow;
class wxWindow;

class CFindInFilesRun : public wxEventFilter {
public:
    // Called after each listed result (tests slow a search down with it).
    using HitObserver = std::function<void(int results, CFindProgressWindow& progress)>;

    CFindInFilesRun(wxWindow* parent, COutputPane& pane);
    ~CFindInFilesRun() override;

    // Empties the pane and lists every occurrence. Returns the number of
    // result lines written.
    int Run(const FindInFilesRequest& request);
    bool Cancelled() const { return m_cancelled; }

    // Whether a search is going on (the command is not offered again then).
    static bool IsRunning();
    static void SetHitObserver(HitObserver observer);

    // wxEventFilter: notes Escape pressed anywhere while the search runs.
    int FilterEvent(wxEvent& event) override;

private:
    bool EscapeRequested(bool askKeyboard);
    void Pump(const std::string& path, bool force);
    void Write(std::string_view bytes);

    wxWindow* m_parent;
    wxWeakRef<COutputPane> m_pane;
    CFindProgressWindow* m_progress = nullptr;
    bool m_escapeSeen = false;
    bool m_cancelled = false;
    std::chrono::steady_clock::time_point m_lastPump{};
    std::chrono::steady_clock::time_point m_lastKeyCheck{};
};
