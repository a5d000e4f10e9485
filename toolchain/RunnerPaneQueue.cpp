#include "toolchain/RunnerPaneQueue.h"

#include <utility>

namespace toolchain {

CRunnerPaneQueue::CRunnerPaneQueue(std::function<void()> postFlush, size_t limit)
    : m_postFlush(std::move(postFlush)), m_limit(limit)
{
}

void CRunnerPaneQueue::NewStart(TextEncoding childOutput)
{
    m_convert[kStdOut].Reset(childOutput);
    m_convert[kStdErr].Reset(childOutput);
}

void CRunnerPaneQueue::Push(EOutputPane pane, EStream stream, std::string_view bytes, bool mayWait)
{
    if (pane == EOutputPane::None)
        return;
    std::string converted = m_convert[stream].Convert(bytes);
    int which = pane == EOutputPane::Compiler ? 0 : 1;
    std::unique_lock lock(m_lock);
    if (mayWait && m_pendingBytes >= m_limit && !m_noWait && !m_closed) {
        // The child now waits for the user-interface thread: ask it for the
        // text as soon as it is free rather than after the batch interval.
        if (!m_fullPosted) {
            m_fullPosted = true;
            m_postFlush();
        }
        m_room.wait(lock, [&] { return m_pendingBytes < m_limit || m_noWait || m_closed; });
    }
    if (m_closed)
        return;
    m_pending[which] += converted;
    m_pendingBytes += converted.size();
    if (!m_flushQueued) {
        m_flushQueued = true;
        m_postFlush();
    }
}

CRunnerPaneQueue::Batch CRunnerPaneQueue::Take(bool all)
{
    Batch batch;
    std::string* take[2] = {&batch.compiler, &batch.program};
    {
        std::lock_guard lock(m_lock);
        for (int i = 0; i < 2; ++i) {
            std::string& p = m_pending[i];
            if (!all && !p.empty() && p.back() == '\r') {
                // A CR LF the child wrote may be split between two reads:
                // the CR waits for its neighbour, or for the child's end.
                take[i]->assign(p, 0, p.size() - 1);
                p.erase(0, p.size() - 1);
            } else {
                take[i]->swap(p);
                p.clear();
            }
        }
        m_pendingBytes = m_pending[0].size() + m_pending[1].size();
        m_fullPosted = false;
        if (!all && batch.Empty())
            m_flushQueued = false; // quiet: the next text posts a flush again
    }
    m_room.notify_all();
    return batch;
}

void CRunnerPaneQueue::BeginStop()
{
    {
        std::lock_guard lock(m_lock);
        m_noWait = true;
    }
    m_room.notify_all();
}

void CRunnerPaneQueue::EndStop()
{
    std::lock_guard lock(m_lock);
    m_noWait = false;
}

void CRunnerPaneQueue::Close()
{
    {
        std::lock_guard lock(m_lock);
        m_closed = true;
    }
    m_room.notify_all();
}

bool CRunnerPaneQueue::Closed() const
{
    std::lock_guard lock(m_lock);
    return m_closed;
}

bool CRunnerPaneQueue::PostUnlessClosed(const std::function<void()>& post)
{
    std::lock_guard lock(m_lock);
    if (m_closed)
        return false;
    post();
    return true;
}

bool CRunnerPaneQueue::TakeExit(uint64_t startId)
{
    if (startId == 0 || startId != m_awaited)
        return false;
    m_awaited = 0;
    return true;
}

size_t CRunnerPaneQueue::PendingBytes() const
{
    std::lock_guard lock(m_lock);
    return m_pendingBytes;
}

} // namespace toolchain
