// The documents of the previous run, reopened a slice at a time: the first
// few at once, the rest in idle time, so that the main window works (and
// "Beenden" ends it) while thousands are still waiting.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class CKibApp;
class wxIdleEvent;
class wxWindow;

class CReopenQueue {
public:
    // Opened before the window takes any event: a short list opens at once.
    static constexpr size_t kAtStart = 20;
    // What one idle-time slice may take before waiting events get their turn:
    // at least kSlice, and as long as the rest of an event-loop round took
    // (with thousands of windows that round grows with their number, and
    // slices kept short would then cost more in rounds than in opening), but
    // never more than kMaxSlice.
    static constexpr std::chrono::milliseconds kSlice{40};
    static constexpr std::chrono::milliseconds kMaxSlice{400};
    // At most this many are reopened. Every window costs the toolkit work per
    // window already there (tab layout, focus chain, idle updates), so beyond
    // this the reopening would grow with the square of the list; the rest is
    // held back, kept in the list and written out again, and the user told.
    static constexpr size_t kMaxReopened = 1000;

    explicit CReopenQueue(CKibApp& app);
    ~CReopenQueue();
    CReopenQueue(const CReopenQueue&) = delete;
    CReopenQueue& operator=(const CReopenQueue&) = delete;

    // Reopens the first kMaxReopened stored paths in their order; done gets
    // the number that could not be opened and the number held back, once,
    // after the last (not when stopped before).
    void Start(std::vector<std::string> stored, std::function<void(int failures, size_t heldBack)> done);
    // Nothing more is opened (the main frame closes or goes).
    void Stop();
    bool Running() const { return m_window != nullptr; }
    // The stored paths not reached yet, in their order.
    std::vector<std::string> Pending() const;
    // The stored paths beyond kMaxReopened, in their order: never opened,
    // kept until the next start.
    const std::vector<std::string>& HeldBack() const { return m_heldBack; }

private:
    // Opens up to count paths, or until budget has passed (zero: no limit);
    // true when all are done.
    bool RunSlice(size_t count, std::chrono::steady_clock::duration budget);
    bool OpenOne(const std::string& stored);
    void OnIdle(wxIdleEvent& event);
    void Unbind();

    CKibApp& m_app;
    std::vector<std::string> m_stored;
    std::vector<std::string> m_heldBack;
    size_t m_next = 0;
    int m_failures = 0;
    std::function<void(int, size_t)> m_done;
    wxWindow* m_window = nullptr; // whose idle time is used while running
    std::chrono::steady_clock::time_point m_sliceEnd;
};
