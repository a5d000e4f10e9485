#include "platform/UserStore.h"

#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "platform/Path.h"
#include "platform/ProgramDir.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace platform {

namespace {

constexpr char kMagic[] = "KIBSTORE 1";

class CLockGuard {
public:
    explicit CLockGuard(int fd) : m_fd(fd) {}
    ~CLockGuard()
    {
        if (m_fd >= 0) {
            flock(m_fd, LOCK_UN);
            close(m_fd);
        }
    }

private:
    int m_fd;
};

std::string Escape(const std::string& s)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(s.size() + 2);
    for (unsigned char c : s) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a quoted, escaped text starting at s[pos] == '"'; pos ends after the
// closing quote. False when the text is malformed.
bool ReadQuoted(const std::string& s, size_t& pos, std::string& out)
{
    if (pos >= s.size() || s[pos] != '"')
        return false;
    ++pos;
    out.clear();
    while (pos < s.size()) {
        char c = s[pos++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= s.size())
            return false;
        char e = s[pos++];
        if (e == 'x') {
            if (pos + 2 > s.size())
                return false;
            int hi = HexDigit(s[pos]), lo = HexDigit(s[pos + 1]);
            if (hi < 0 || lo < 0)
                return false;
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
        } else {
            out += e;
        }
    }
    return false;
}

std::string DwordBytes(uint32_t v)
{
    std::string d(4, '\0');
    for (int i = 0; i < 4; ++i)
        d[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xff);
    return d;
}

uint32_t DwordOf(const std::string& d)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && i < d.size(); ++i)
        v |= static_cast<uint32_t>(static_cast<unsigned char>(d[i])) << (8 * i);
    return v;
}

} // namespace

CUserStore& CUserStore::Instance()
{
    static CUserStore store;
    return store;
}

std::string CUserStore::DefaultFile()
{
    return UserConfigDirectory() + "registry";
}

CUserStore::CUserStore(std::string file) : m_file(std::move(file)) {}

void CUserStore::SetFile(const std::string& file)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file = file;
    m_keys.clear();
    m_loaded = false;
    m_size = -1;
}

std::string CUserStore::File() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_file;
}

std::string CUserStore::Fold(const std::string& s)
{
    return AsciiLowerCopy(s);
}

int CUserStore::LockFile(bool exclusive)
{
    if (m_file.empty())
        m_file = DefaultFile();
    std::string lockName = m_file + ".lock";
    int fd = open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        fd = open(lockName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1; // no lock possible (read-only folder): go on without
    while (flock(fd, exclusive ? LOCK_EX : LOCK_SH) != 0) {
        if (errno != EINTR) {
            close(fd);
            return -1;
        }
    }
    return fd;
}

void CUserStore::Reload()
{
    struct stat st;
    if (stat(m_file.c_str(), &st) != 0) {
        if (!m_loaded || m_size != -1) {
            m_keys.clear();
            m_size = -1;
        }
        m_loaded = true;
        return;
    }
    if (m_loaded && st.st_size == m_size && st.st_ino == m_inode &&
        st.st_mtim.tv_sec == m_mtime.tv_sec && st.st_mtim.tv_nsec == m_mtime.tv_nsec)
        return;
    std::string text;
    ReadWholeFile(m_file, text);
    Parse(text);
    m_loaded = true;
    m_size = st.st_size;
    m_inode = st.st_ino;
    m_mtime = st.st_mtim;
}

void CUserStore::Parse(const std::string& text)
{
    m_keys.clear();
    std::istringstream in(text);
    std::string line;
    Key* current = nullptr;
    bool first = true;
    while (std::getline(in, line)) {
        if (first) {
            first = false;
            if (line == kMagic)
                continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        size_t pos = 0;
        if (line[0] == '[') {
            // [ "path" ]
            pos = 1;
            std::string path;
            if (!ReadQuoted(line, pos, path)) {
                current = nullptr;
                continue;
            }
            EnsureKey(path);
            current = &m_keys[Fold(path)];
            continue;
        }
        if (!current)
            continue;
        std::string name;
        if (!ReadQuoted(line, pos, name) || pos >= line.size() || line[pos] != '=')
            continue;
        ++pos;
        Value v;
        v.name = name;
        if (line.compare(pos, 6, "dword:") == 0) {
            std::string digits = line.substr(pos + 6);
            if (digits.empty() || digits.size() > 8)
                continue;
            uint32_t x = 0;
            bool ok = true;
            for (char c : digits) {
                int d = HexDigit(c);
                if (d < 0) {
                    ok = false;
                    break;
                }
                x = x * 16 + static_cast<uint32_t>(d);
            }
            if (!ok)
                continue;
            v.type = StoreType::Dword;
            v.data = DwordBytes(x);
        } else if (line.compare(pos, 3, "sz:") == 0) {
            pos += 3;
            std::string data;
            if (!ReadQuoted(line, pos, data))
                continue;
            v.type = StoreType::String;
            v.data = data;
        } else {
            continue;
        }
        current->values[Fold(name)] = std::move(v);
    }
}

std::string CUserStore::Serialize() const
{
    std::string out = std::string(kMagic) + "\n";
    for (const auto& [folded, key] : m_keys) {
        out += "[\"" + Escape(key.path) + "\"]\n";
        for (const auto& [fname, v] : key.values) {
            out += "\"" + Escape(v.name) + "\"=";
            if (v.type == StoreType::Dword) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", DwordOf(v.data));
                out += buf;
            } else {
                out += "sz:\"" + Escape(v.data) + "\"";
            }
            out += '\n';
        }
    }
    return out;
}

bool CUserStore::Persist()
{
    std::string dir = DirectoryOf(m_file);
    if (!dir.empty())
        mkdir(dir.c_str(), 0700);
    if (!AtomicWriteFile(m_file, Serialize(), nullptr, ".registry")) {
        // Memory no longer matches the file: read it again next time.
        m_loaded = false;
        m_size = -1;
        return false;
    }
    struct stat st;
    if (stat(m_file.c_str(), &st) == 0) {
        m_size = st.st_size;
        m_inode = st.st_ino;
        m_mtime = st.st_mtim;
    }
    return true;
}

void CUserStore::EnsureKey(const std::string& path)
{
    // Every ancestor exists whenever a key exists.
    size_t pos = 0;
    for (;;) {
        size_t sep = path.find('\\', pos);
        std::string prefix = path.substr(0, sep);
        std::string folded = Fold(prefix);
        if (!m_keys.count(folded))
            m_keys[folded].path = prefix;
        if (sep == std::string::npos)
            break;
        pos = sep + 1;
    }
}

long CUserStore::CreateKey(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CLockGuard fileLock(LockFile(true));
    Reload();
    if (m_keys.count(Fold(path)))
        return kStoreSuccess;
    EnsureKey(path);
    if (!Persist())
        return kStoreAccessDenied;
    return kStoreSuccess;
}

long CUserStore::OpenKey(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (path.empty())
        return kStoreSuccess;
    CLockGuard fileLock(LockFile(false));
    Reload();
    return m_keys.count(Fold(path)) ? kStoreSuccess : kStoreNotFound;
}

long CUserStore::DeleteKey(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CLockGuard fileLock(LockFile(true));
    Reload();
    std::string folded = Fold(path);
    if (!m_keys.count(folded))
        return kStoreNotFound;
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        const std::string& k = it->first;
        if (k == folded || (k.size() > folded.size() && k.compare(0, folded.size(), folded) == 0 &&
                            k[folded.size()] == '\\'))
            it = m_keys.erase(it);
        else
            ++it;
    }
    return Persist() ? kStoreSuccess : kStoreAccessDenied;
}

long CUserStore::SetValue(const std::string& key, const std::string& name, StoreType type,
                          const std::string& data)
{
    if (type != StoreType::Dword && type != StoreType::String)
        return kStoreInvalidParam;
    std::lock_guard<std::mutex> lock(m_mutex);
    CLockGuard fileLock(LockFile(true));
    Reload();
    auto it = m_keys.find(Fold(key));
    if (it == m_keys.end())
        return kStoreNotFound;
    Value& v = it->second.values[Fold(name)];
    if (v.name.empty())
        v.name = name;
    v.type = type;
    v.data = type == StoreType::Dword ? data.substr(0, 4) : data;
    if (type == StoreType::Dword)
        v.data.resize(4, '\0');
    return Persist() ? kStoreSuccess : kStoreAccessDenied;
}

long CUserStore::QueryValue(const std::string& key, const std::string& name, StoreType* type,
                            char* data, uint32_t* size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CLockGuard fileLock(LockFile(false));
    Reload();
    auto it = m_keys.find(Fold(key));
    if (it == m_keys.end())
        return kStoreNotFound;
    auto vit = it->second.values.find(Fold(name));
    if (vit == it->second.values.end())
        return kStoreNotFound;
    const Value& v = vit->second;
    if (type)
        *type = v.type;
    uint32_t needed = static_cast<uint32_t>(v.data.size() + (v.type == StoreType::String ? 1 : 0));
    if (!size)
        return data ? kStoreInvalidParam : kStoreSuccess;
    uint32_t room = *size;
    *size = needed;
    if (!data)
        return kStoreSuccess;
    if (room < needed)
        return kStoreMoreData;
    std::memcpy(data, v.data.data(), v.data.size());
    if (v.type == StoreType::String)
        data[v.data.size()] = '\0';
    return kStoreSuccess;
}

} // namespace platform
