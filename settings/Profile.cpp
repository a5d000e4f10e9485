#include "settings/Profile.h"

#include "settings/RegistryKey.h"

namespace profile {

static std::string SectionPath(const std::string& section)
{
    return std::string(kProfileKey) + "\\" + section;
}

int GetProfileInt(const std::string& section, const std::string& entry, int def)
{
    CRegistryKey key(HKEY_CURRENT_USER, SectionPath(section), false);
    uint32_t value = 0;
    if (!key.IsOpen() || !key.ReadDword(entry, value))
        return def;
    return static_cast<int>(value);
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& def)
{
    CRegistryKey key(HKEY_CURRENT_USER, SectionPath(section), false);
    if (!key.IsOpen())
        return def;
    std::string value = key.ReadString(entry);
    if (key.LastStatus() != 0)
        return def;
    return value;
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    CRegistryKey key(HKEY_CURRENT_USER, SectionPath(section), true);
    return key.IsOpen() && key.WriteDword(entry, static_cast<uint32_t>(value));
}

bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value)
{
    CRegistryKey key(HKEY_CURRENT_USER, SectionPath(section), true);
    return key.IsOpen() && key.WriteString(entry, value);
}

} // namespace profile
