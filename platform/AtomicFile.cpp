#include "platform/AtomicFile.h"

#include "platform/FileRead.h"
#include "platform/Path.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace platform {

namespace {

constexpr size_t kBufferSize = 256 * 1024;
constexpr int kBackupNames = 100;

std::function<int(ESaveStep)> g_faultHook;
bool g_unnamedAllowed = true;
// Cleared when this system gives unnamed files but cannot name them.
std::atomic<bool> g_unnamedNameable{true};

// Whether a step may touch the disk; a test's hook may fail it instead.
bool Allowed(ESaveStep step)
{
    if (!g_faultHook)
        return true;
    int e = g_faultHook(step);
    if (e == 0)
        return true;
    errno = e;
    return false;
}

ssize_t SysWrite(int fd, const char* p, size_t n)
{
    return Allowed(ESaveStep::Write) ? ::write(fd, p, n) : -1;
}

int SysFsync(int fd)
{
    return Allowed(ESaveStep::Sync) ? ::fsync(fd) : -1;
}

int SysLink(const char* from, const char* to, int flags)
{
    return Allowed(ESaveStep::Link) ? ::linkat(AT_FDCWD, from, AT_FDCWD, to, flags) : -1;
}

void SyncFolder(const std::string& dir)
{
    int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        SysFsync(dfd);
        close(dfd);
    }
}

// An unnamed file is given its name through /proc, which must be there.
bool CanNameUnnamedFiles()
{
    static const bool ok = access("/proc/self/fd", X_OK) == 0;
    return ok;
}

std::string RandomSuffix()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        static std::atomic<unsigned> counter{0};
        unsigned long long x = static_cast<unsigned long long>(
                                   std::chrono::steady_clock::now().time_since_epoch().count()) ^
                               (static_cast<unsigned long long>(getpid()) << 32) ^ counter++;
        for (unsigned char& b : bytes) {
            b = static_cast<unsigned char>(x);
            x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        }
    }
    std::string s;
    for (unsigned char b : bytes)
        s += kChars[b % (sizeof kChars - 1)];
    return s;
}

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
        ssize_t w = SysWrite(fd, p, n);
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
    m_targetLinks = 0;
    if (m_followLinks) {
        m_target = ResolveSymlinks(target);
        if (m_target.empty())
            return Fail(ELOOP);
    } else {
        m_target = AbsolutePath(target);
        struct stat lst;
        if (lstat(m_target.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode))
            return Fail(ELOOP);
    }

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
        m_targetLinks = static_cast<unsigned>(st.st_nlink);
    } else {
        m_mode = m_newFileMode >= 0 ? static_cast<unsigned>(m_newFileMode) : 0666 & ~CurrentUmask();
    }

    m_dir = DirectoryOf(m_target);
    if (m_dir.empty())
        m_dir = ".";
    if (!CreateTemp(m_dir))
        return Fail(errno);
    m_buffer.clear();
    m_buffer.reserve(kBufferSize);
    return true;
}

bool CAtomicFileWriter::CreateTemp(const std::string& dir)
{
    // Unnamed first: until it is complete the file has no name, so a save
    // that is killed leaves nothing behind. File systems without unnamed
    // files (and kernels that predate them) refuse; then a named one.
    if (g_unnamedAllowed && g_unnamedNameable && CanNameUnnamedFiles() &&
        Allowed(ESaveStep::CreateTemp)) {
        // Readable too, so that its bytes can be copied should naming fail.
        int fd = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) {
            m_fd = fd;
            m_unnamed = true;
            return true;
        }
    }
    if (!Allowed(ESaveStep::CreateTemp))
        return false;
    std::string templ = JoinPath(dir, m_prefix + "XXXXXX");
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_unnamed = false;
    m_temp = name.data();
    return true;
}

bool CAtomicFileWriter::NameUnnamedTemp()
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = JoinPath(m_dir, m_prefix + RandomSuffix());
        if (SysLink(self.c_str(), name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_temp = std::move(name);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

bool CAtomicFileWriter::CopyToNamedTemp()
{
    const int unnamed = m_fd;
    m_fd = -1;
    m_unnamed = false;
    if (!CreateTemp(m_dir)) {
        int e = errno;
        close(unnamed);
        errno = e;
        return false;
    }
    std::vector<char> chunk(kBufferSize);
    bool ok = true;
    for (off_t at = 0;;) {
        ssize_t n = pread(unnamed, chunk.data(), chunk.size(), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!WriteAll(m_fd, chunk.data(), static_cast<size_t>(n))) {
            ok = false;
            break;
        }
        at += n;
    }
    const int e = errno;
    close(unnamed);
    if (!ok) {
        errno = e;
        return false;
    }
    return Allowed(ESaveStep::Chmod) && fchmod(m_fd, static_cast<mode_t>(m_mode)) == 0 &&
           SysFsync(m_fd) == 0;
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
    if (!Allowed(ESaveStep::Chmod) || fchmod(m_fd, static_cast<mode_t>(m_mode)) != 0)
        return Fail(errno);
    if (SysFsync(m_fd) != 0)
        return Fail(errno);
    // The name exists only from here to the rename, two calls apart.
    if (m_unnamed && !NameUnnamedTemp()) {
        const int e = errno;
        // No way to name it here (no /proc, not permitted): named files
        // from now on, and this time a copy. Other errors end the save.
        if (e != ENOENT && e != EPERM && e != EACCES && e != EXDEV && e != EOPNOTSUPP &&
            e != EINVAL && e != ENOSYS)
            return Fail(e);
        g_unnamedNameable = false;
        if (!CopyToNamedTemp())
            return Fail(errno);
    }
    if (!m_unnamed) {
        int fd = m_fd;
        m_fd = -1;
        if (close(fd) != 0)
            return Fail(errno);
    }
    if (!Allowed(ESaveStep::Rename) || rename(m_temp.c_str(), m_target.c_str()) != 0)
        return Fail(errno);
    m_temp.clear();
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    // Make the rename itself durable.
    SyncFolder(m_dir);
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
    m_unnamed = false;
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

std::string KeepBackup(const std::string& path, std::string_view bytes, std::string_view suffix,
                       int* err)
{
    auto fail = [&](int e) {
        if (err)
            *err = e ? e : EIO;
        return std::string();
    };
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return fail(errno);
    bool links = true;
    for (int n = 0; n < kBackupNames; ++n) {
        std::string name = path + std::string(suffix);
        if (n > 0)
            name += "." + std::to_string(n);
        struct stat existing;
        if (lstat(name.c_str(), &existing) == 0) {
            std::string held;
            if (S_ISREG(existing.st_mode) && ReadWholeFile(name, held) && held == bytes) {
                if (err)
                    *err = 0;
                return name;
            }
            continue;
        }
        if (links) {
            if (SysLink(path.c_str(), name.c_str(), 0) == 0) {
                SyncFolder(DirectoryOf(name));
                if (err)
                    *err = 0;
                return name;
            }
            if (errno == EEXIST)
                continue;
            // No hard links here (or not for this file): copy instead.
            links = false;
        }
        if (!Allowed(ESaveStep::CreateTemp))
            return fail(errno);
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return fail(errno);
        }
        if (!WriteAll(fd, bytes.data(), bytes.size()) || SysFsync(fd) != 0) {
            int e = errno;
            close(fd);
            unlink(name.c_str());
            return fail(e);
        }
        if (close(fd) != 0) {
            int e = errno;
            unlink(name.c_str());
            return fail(e);
        }
        SyncFolder(DirectoryOf(name));
        if (err)
            *err = 0;
        return name;
    }
    return fail(EEXIST);
}

void SetSaveFaultHookForTesting(std::function<int(ESaveStep)> hook)
{
    g_faultHook = std::move(hook);
}

void SetUnnamedTempFilesForTesting(bool allowed)
{
    g_unnamedAllowed = allowed;
    g_unnamedNameable = true;
}

} // namespace platform
