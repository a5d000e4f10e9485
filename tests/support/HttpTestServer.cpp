#include "support/HttpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <unistd.h>

namespace kibtest {

namespace {

int Listener(int* port)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(addr.sin_port);
    return fd;
}

} // namespace

CHttpTestServer::CHttpTestServer(Handler handler) : m_handler(std::move(handler))
{
    m_listen = Listener(&m_port);
    if (pipe2(m_wake, O_CLOEXEC) != 0)
        m_wake[0] = m_wake[1] = -1;
    m_thread = std::thread([this] { Run(); });
}

CHttpTestServer::~CHttpTestServer()
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stop = true;
    }
    m_stopped.notify_all();
    if (m_wake[1] >= 0 && write(m_wake[1], "x", 1) < 0) {
    }
    m_thread.join();
    for (int fd : {m_listen, m_wake[0], m_wake[1]})
        if (fd >= 0)
            close(fd);
}

std::string CHttpTestServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<std::string> CHttpTestServer::Requests() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_requests;
}

bool CHttpTestServer::Send(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool CHttpTestServer::Respond(int fd, int status, const std::string& body, const std::string& extraHeaders)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size()) +
                       "\r\nConnection: close\r\n" + extraHeaders + "\r\n";
    return Send(fd, head + body);
}

void CHttpTestServer::WaitForStop()
{
    std::unique_lock<std::mutex> hold(m_lock);
    m_stopped.wait(hold, [this] { return m_stop.load(); });
}

int CHttpTestServer::ClosedPort()
{
    int port = 0;
    int fd = Listener(&port);
    if (fd >= 0)
        close(fd);
    return port;
}

void CHttpTestServer::Run()
{
    while (!m_stop) {
        pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (poll(fds, 2, 1000) <= 0 || (fds[1].revents & POLLIN))
            continue;
        int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++m_connections;
        std::string request;
        char buf[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            pollfd in = {fd, POLLIN, 0};
            if (poll(&in, 1, 2000) <= 0)
                break;
            ssize_t n = recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            request.append(buf, static_cast<size_t>(n));
        }
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_requests.push_back(request);
        }
        m_handler(*this, fd, request);
        close(fd);
    }
}

} // namespace kibtest
