// A manual-reset event: stays signalled until reset; waiters wake at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class CManualResetEvent {
public:
    void Set()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = true;
        m_cv.notify_all();
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = false;
    }
    bool IsSet() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_signalled;
    }
    // True when signalled within ms milliseconds.
    bool Wait(int ms)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_signalled; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_signalled = false;
};
