// The version file of the update server: section "VERSIONINFO" of an INI
// text read with the rules of a Windows profile, and the numbers versions
// are compared by.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace update {

// The values of the version file, each cut to its room less one.
struct CVersionInfo {
    std::string download; // 2084
    std::string info;     // 2084: the page offered to the user
    std::string version;  // 300
    std::string title;    // 200
    std::string size;     // 100
    std::string date;     // 20
    std::string details;  // 1000
    bool operator==(const CVersionInfo&) const = default;
};

inline constexpr size_t kUrlRoom = 2084;
inline constexpr size_t kVersionRoom = 300;

// Section and key names compare without regard to case; a value is the
// rest of its line after the first "=", blanks and tabs around it removed,
// and loses a pair of matching quotes around it; lines starting with ";"
// are comments; the first occurrence of a key counts; a missing key is "".
CVersionInfo ParseVersionFile(std::string_view text);

// One value of a section of such a text ("" when missing), uncut.
std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key);

// The pieces of text between separators (empty ones skipped) weighted
// 10000, 1000, 100, 10 and 1, each piece read by its leading digits (none:
// 0); later pieces weigh nothing. Only the first 299 characters count.
int64_t VersionToNumber(std::string_view text, char separator);

// True when current's number (separator ".") is smaller than server's.
bool IsNewerVersion(std::string_view current, std::string_view server);

} // namespace update
