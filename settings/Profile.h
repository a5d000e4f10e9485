// The application's profile: integer and string values by section and name,
// kept in the per-user store below "Software\Orvane\Kib".
#pragma once

#include <string>

namespace profile {

inline constexpr char kProfileKey[] = "Software\\Orvane\\Kib";

int GetProfileInt(const std::string& section, const std::string& entry, int def);
std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& def = {});
bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value);

} // namespace profile
