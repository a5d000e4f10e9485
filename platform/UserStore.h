// The per-user store that stands in for the registry below HKEY_CURRENT_USER:
// hierarchical keys whose names compare without regard to case, holding
// 32-bit integer and string values. It lives in one text file that is
// re-read when another process changed it and replaced atomically on every
// write, under an advisory lock, so two running instances never leave a torn
// file and the last writer wins.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>

namespace platform {

// Status codes in the numbering of the Windows registry functions.
enum : long {
    kStoreSuccess = 0,
    kStoreNotFound = 2,        // ERROR_FILE_NOT_FOUND
    kStoreAccessDenied = 5,    // ERROR_ACCESS_DENIED
    kStoreWriteFault = 29,     // ERROR_WRITE_FAULT
    kStoreInvalidParam = 87,   // ERROR_INVALID_PARAMETER
    kStoreMoreData = 234,      // ERROR_MORE_DATA
};

enum class StoreType : uint32_t { None = 0, String = 1, Dword = 4 }; // REG_NONE, REG_SZ, REG_DWORD

class CUserStore {
public:
    // The store of this process; its file defaults to DefaultFile().
    static CUserStore& Instance();

    // $XDG_CONFIG_HOME/kib/registry (or ~/.config/kib/registry).
    static std::string DefaultFile();

    explicit CUserStore(std::string file = {});

    void SetFile(const std::string& file);
    std::string File() const;

    // Key paths are separated by backslashes; callers pass normalised paths
    // (no leading or trailing separator). The empty path is the root.
    long CreateKey(const std::string& path);
    long OpenKey(const std::string& path);
    long DeleteKey(const std::string& path); // with everything below it

    long SetValue(const std::string& key, const std::string& name, StoreType type,
                  const std::string& data);
    // As RegQueryValueEx: *size is the room in data on entry and the size of
    // the value on return; data may be null to ask for type and size only.
    // A string's size includes its terminating zero. Too little room gives
    // kStoreMoreData with *size set to what is needed.
    long QueryValue(const std::string& key, const std::string& name, StoreType* type, char* data,
                    uint32_t* size);

private:
    struct Value {
        std::string name; // as first written
        StoreType type = StoreType::None;
        std::string data; // DWORD: 4 bytes little endian; string: without terminator
    };
    struct Key {
        std::string path; // as first created
        std::map<std::string, Value> values; // by folded name
    };

    static std::string Fold(const std::string& s);
    void Reload();                 // re-reads the file when it changed
    bool Persist();                // writes the whole store atomically
    int LockFile(bool exclusive);  // advisory lock on "<file>.lock"
    void Parse(const std::string& text);
    std::string Serialize() const;
    void EnsureKey(const std::string& path);

    mutable std::mutex m_mutex;
    std::string m_file;
    std::map<std::string, Key> m_keys; // by folded path
    bool m_loaded = false;
    // What the file looked like when it was last read or written.
    struct timespec m_mtime {};
    off_t m_size = -1;
    ino_t m_inode = 0;
};

} // namespace platform
