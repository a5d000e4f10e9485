// A runner owner for tests: collects what the runner delivers, checks the
// order of the callbacks and lets a test wait for them.
#pragma once

#include "toolchain/ProcessRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kibtest {

class CRunnerSink : public IProcessEvents {
public:
    void OnChildStarted(const std::string& commandLine) override
    {
        std::lock_guard lock(m_mutex);
        m_started.push_back(commandLine);
        m_startThread = std::this_thread::get_id();
    }
    void OnChildStdOut(std::string_view text) override { Text(text, m_out, m_outChunks); }
    void OnChildStdErr(std::string_view text) override { Text(text, m_err, m_errChunks); }
    void OnChildTerminate(const ChildExit& exit) override
    {
        std::lock_guard lock(m_mutex);
        m_exits.push_back(exit);
        m_afterTerminate = 0;
        m_cv.notify_all();
    }

    // Waits until a child has ended (count exits in all).
    bool WaitForExit(size_t count = 1, int ms = 20000)
    {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(ms),
                             [&] { return m_exits.size() >= count; });
    }
    // Waits until stdout holds the text.
    bool WaitForOut(const std::string& text, int ms = 20000)
    {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(ms),
                             [&] { return m_out.find(text) != std::string::npos; });
    }

    std::string Out() { std::lock_guard lock(m_mutex); return m_out; }
    std::string Err() { std::lock_guard lock(m_mutex); return m_err; }
    size_t OutChunks() { std::lock_guard lock(m_mutex); return m_outChunks; }
    std::vector<ChildExit> Exits() { std::lock_guard lock(m_mutex); return m_exits; }
    std::vector<std::string> Started() { std::lock_guard lock(m_mutex); return m_started; }
    // Text callbacks that came after an OnChildTerminate (must stay 0).
    int TextAfterTerminate() { std::lock_guard lock(m_mutex); return m_lateText; }
    size_t MaxChunk() { std::lock_guard lock(m_mutex); return m_maxChunk; }
    bool NulTerminated() { std::lock_guard lock(m_mutex); return m_nulOk; }

    void Clear()
    {
        std::lock_guard lock(m_mutex);
        m_out.clear();
        m_err.clear();
        m_exits.clear();
        m_started.clear();
        m_outChunks = m_errChunks = 0;
        m_lateText = 0;
        m_afterTerminate = -1;
    }

private:
    void Text(std::string_view text, std::string& into, size_t& chunks)
    {
        std::lock_guard lock(m_mutex);
        into.append(text);
        ++chunks;
        if (text.size() > m_maxChunk)
            m_maxChunk = text.size();
        if (text.data()[text.size()] != '\0')
            m_nulOk = false;
        if (m_afterTerminate >= 0 && !m_exits.empty() && m_exits.size() == m_started.size())
            ++m_lateText;
        m_cv.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::string m_out, m_err;
    size_t m_outChunks = 0, m_errChunks = 0;
    std::vector<ChildExit> m_exits;
    std::vector<std::string> m_started;
    std::thread::id m_startThread;
    int m_afterTerminate = -1;
    int m_lateText = 0;
    size_t m_maxChunk = 0;
    bool m_nulOk = true;
};

// Descriptors and threads of this process, for leak checks.
int CountOpenFds();
int CountThreads();

} // namespace kibtest
