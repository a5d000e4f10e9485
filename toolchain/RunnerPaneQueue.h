// A child's text on its way from the runner's reader threads to the compiler
// and program output panes, and which exit notice still counts. Readers wait
// while too much text is pending (the child then waits in its write, as with
// a synchronous insertion); a CR that ends a batch waits for the LF of its
// CR LF; the notice of an earlier start is stale.
#pragma once

#include "toolchain/CommandMode.h"
#include "toolchain/PaneText.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace toolchain {

class CRunnerPaneQueue {
public:
    // Text waiting for the user-interface thread beyond which a reader waits.
    static constexpr size_t kDefaultLimit = 1 << 20;
    enum EStream { kStdOut = 0, kStdErr = 1 };

    // postFlush asks the user-interface thread to call Take(false) soon. It
    // runs under the queue's lock, once, until a Take(false) finds nothing;
    // and once more whenever a reader finds the queue full and waits, until
    // the next Take.
    explicit CRunnerPaneQueue(std::function<void()> postFlush, size_t limit = kDefaultLimit);
    CRunnerPaneQueue(const CRunnerPaneQueue&) = delete;
    CRunnerPaneQueue& operator=(const CRunnerPaneQueue&) = delete;

    // A new child starts: the streams' CR LF state starts afresh, and its
    // output is taken to be in childOutput.
    void NewStart(TextEncoding childOutput = TextEncoding::Utf8);

    // Reader thread of stream: the child's raw bytes for pane (None: dropped),
    // line feeds made CR LF. Waits for room when mayWait (never on the
    // user-interface thread, which would wait for itself). After Close the
    // text is dropped.
    void Push(EOutputPane pane, EStream stream, std::string_view bytes, bool mayWait);

    struct Batch {
        std::string compiler;
        std::string program;
        bool Empty() const { return compiler.empty() && program.empty(); }
    };
    // User-interface thread: what waits, per pane. Without all a CR at the
    // end stays behind for its LF, and a Take that finds nothing lets the
    // next Push post again; all (the child's end) takes everything.
    Batch Take(bool all);

    // While a stop joins the reader threads they must not wait for room.
    void BeginStop();
    void EndStop();
    // The view closes: pending text stays for a last Take, new text is
    // dropped, no reader waits and nothing is posted any more.
    void Close();
    bool Closed() const;
    // Runs post under the lock unless closed (a notice posted after the
    // close would reach a view that is gone); false when closed.
    bool PostUnlessClosed(const std::function<void()>& post);

    // Exit notices, on the user-interface thread: the start whose notice
    // counts (0: none).
    void Await(uint64_t startId) { m_awaited = startId; }
    void ForgetAwaited() { m_awaited = 0; }
    // True, once, for the notice of the awaited start; false for a stale one.
    bool TakeExit(uint64_t startId);

    size_t PendingBytes() const;

private:
    std::function<void()> m_postFlush;
    const size_t m_limit;
    CPaneTextConverter m_convert[2]; // one per stream, each used by its reader only
    uint64_t m_awaited = 0;

    mutable std::mutex m_lock;
    std::condition_variable m_room;
    std::string m_pending[2]; // compiler, program
    size_t m_pendingBytes = 0;
    bool m_flushQueued = false; // a flush is posted, or the batches run
    bool m_fullPosted = false;  // a reader waits and has asked for a flush
    bool m_noWait = false;
    bool m_closed = false;
};

} // namespace toolchain
