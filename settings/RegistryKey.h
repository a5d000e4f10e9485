// One key of the per-user store below HKEY_CURRENT_USER, with 32-bit integer
// and string values; used by the dialogs for their switches and histories.
#pragma once

#include <cstdint>
#include <string>

enum class HKEY_ROOT { CurrentUser };
inline constexpr HKEY_ROOT HKEY_CURRENT_USER = HKEY_ROOT::CurrentUser;
inline constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

// The key of Kib's own dialog state; the framework profile lives in the same
// key, since key names compare without regard to case.
inline constexpr char kKibRegistryKey[] = "SOFTWARE\\Orvane\\KIB";

class CRegistryKey {
public:
    CRegistryKey() = default;
    CRegistryKey(HKEY_ROOT root, const std::string& path, bool create,
                 uint32_t access = KEY_ALL_ACCESS);
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Leading backslashes and one trailing backslash are dropped. With create,
    // a missing key is made. Any key open before is closed.
    bool OpenKey(HKEY_ROOT root, const std::string& path, bool create,
                 uint32_t access = KEY_ALL_ACCESS);
    bool CloseKey();
    bool IsOpen() const { return m_open; }

    bool WriteDword(const std::string& name, uint32_t value);
    // True only for an existing REG_DWORD value; out changes only then.
    bool ReadDword(const std::string& name, uint32_t& out);
    // False for a missing (null) text.
    bool WriteString(const std::string& name, const char* text);
    bool WriteString(const std::string& name, const std::string& text)
    {
        return WriteString(name, text.c_str());
    }
    // The text of a REG_SZ value, empty when missing or of another type. The
    // reference stays valid until the next string read.
    const std::string& ReadString(const std::string& name);

    long LastStatus() const { return m_status; }
    const std::string& KeyPath() const { return m_path; }

    static std::string NormalisePath(const std::string& path);

private:
    bool m_open = false;
    std::string m_path;
    long m_status = 0;
    std::string m_buffer;
};
