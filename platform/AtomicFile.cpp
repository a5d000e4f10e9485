#include "platform/AtomicFile.h"

#include "platform/Path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace platform {

namespace {

constexpr size_t kBufferSize = 256 * 1024;

unsigned CurrentUmask()
{
    // /proc tells the umask without the race of setting it twice.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<unsigned>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    mode_t m = umask(022);
    umask(m);
    return m;
}

bool WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (w == 0) {
            errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

} // namespace

std::string ResolveSymlinks(const std::string& path)
{
    std::string current = AbsolutePath(path);
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        ssize_t n = readlink(current.c_str(), buf.data(), buf.size());
        if (n < 0)
            return current;
        std::string link(buf.data(), static_cast<size_t>(n));
        if (!link.empty() && link.front() == '/')
            current = AbsolutePath(link);
        else
            current = AbsolutePath(JoinPath(DirectoryOf(current), link));
    }
    errno = ELOOP;
    return {};
}

CAtomicFileWriter::CAtomicFileWriter(std::string prefix) : m_prefix(std::move(prefix)) {}

CAtomicFileWriter::~CAtomicFileWriter()
{
    Abort();
}

bool CAtomicFileWriter::Fail(int err)
{
    if (m_error == 0)
        m_error = err ? err : EIO;
    Abort();
    return false;
}

bool CAtomicFileWriter::Open(const std::string& target)
{
    Abort();
    m_error = 0;
    m_target = ResolveSymlinks(target);
    if (m_target.empty())
        return Fail(ELOOP);

    struct stat st;
    m_targetExists = stat(m_target.c_str(), &st) == 0;
    if (m_targetExists) {
        if (S_ISDIR(st.st_mode))
            return Fail(EISDIR);
        if (!S_ISREG(st.st_mode))
            return Fail(EINVAL);
        // A file the user may not write stays as it is, even where the
        // folder would allow the rename.
        if (access(m_target.c_str(), W_OK) != 0)
            return Fail(errno);
        m_mode = st.st_mode & 07777;
        m_uid = st.st_uid;
        m_gid = st.st_gid;
    } else {
        m_mode = 0666 & ~CurrentUmask();
    }

    std::string dir = DirectoryOf(m_target);
    std::string templ = JoinPath(dir.empty() ? "." : dir, m_prefix + "XXXXXX");
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    m_fd = fd;
    m_temp = name.data();
    m_buffer.clear();
    m_buffer.reserve(kBufferSize);
    return true;
}

bool CAtomicFileWriter::FlushBuffer()
{
    if (m_buffer.empty())
        return true;
    bool ok = WriteAll(m_fd, m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return ok;
}

bool CAtomicFileWriter::Write(const void* data, size_t size)
{
    if (m_fd < 0)
        return false;
    const char* p = static_cast<const char*>(data);
    if (m_buffer.size() + size <= kBufferSize) {
        m_buffer.append(p, size);
        return true;
    }
    if (!FlushBuffer())
        return Fail(errno);
    if (size >= kBufferSize) {
        if (!WriteAll(m_fd, p, size))
            return Fail(errno);
        return true;
    }
    m_buffer.append(p, size);
    return true;
}

bool CAtomicFileWriter::Commit()
{
    if (m_fd < 0)
        return false;
    if (!FlushBuffer())
        return Fail(errno);
    if (m_targetExists && fchown(m_fd, m_uid, m_gid) != 0) {
        // Only root may give a file away; a plain user keeps ownership.
    }
    if (fchmod(m_fd, static_cast<mode_t>(m_mode)) != 0)
        return Fail(errno);
    if (fsync(m_fd) != 0)
        return Fail(errno);
    int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0) {
        m_fd = -1;
        int e = errno;
        unlink(m_temp.c_str());
        m_temp.clear();
        return Fail(e);
    }
    if (rename(m_temp.c_str(), m_target.c_str()) != 0) {
        int e = errno;
        unlink(m_temp.c_str());
        m_temp.clear();
        return Fail(e);
    }
    m_temp.clear();
    // Make the rename itself durable.
    std::string dir = DirectoryOf(m_target);
    int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

void CAtomicFileWriter::Abort()
{
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        unlink(m_temp.c_str());
        m_temp.clear();
    }
    m_buffer.clear();
}

bool AtomicWriteFile(const std::string& target, std::string_view bytes, int* err,
                     const std::string& prefix)
{
    CAtomicFileWriter w(prefix);
    bool ok = w.Open(target) && w.Write(bytes) && w.Commit();
    if (err)
        *err = ok ? 0 : w.Error();
    return ok;
}

} // namespace platform
