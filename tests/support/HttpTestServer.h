// A small HTTP server on 127.0.0.1 for the update tests: it accepts one
// connection after another on a thread of its own and lets the test's
// handler answer each request (or not answer at all).
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kibtest {

class CHttpTestServer {
public:
    // fd is the connection; request is the request head (up to the blank line).
    using Handler = std::function<void(CHttpTestServer& server, int fd, const std::string& request)>;

    explicit CHttpTestServer(Handler handler);
    ~CHttpTestServer(); // stops waiting handlers, closes everything, joins
    CHttpTestServer(const CHttpTestServer&) = delete;
    CHttpTestServer& operator=(const CHttpTestServer&) = delete;

    int Port() const { return m_port; }
    std::string Url(const std::string& path) const;
    std::vector<std::string> Requests() const;
    int Connections() const { return m_connections; }

    // Writes a whole response with a Content-Length; false when the peer went.
    static bool Respond(int fd, int status, const std::string& body, const std::string& extraHeaders = "");
    // Writes bytes; false when the peer went.
    static bool Send(int fd, const std::string& bytes);
    // Blocks a handler until the server stops (a server that never answers).
    void WaitForStop();

    // A port on which nothing listens (bound once, then closed).
    static int ClosedPort();

private:
    void Run();

    Handler m_handler;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    mutable std::mutex m_lock;
    std::condition_variable m_stopped;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

} // namespace kibtest
