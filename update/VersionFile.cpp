#include "update/VersionFile.h"

#include "platform/AsciiCase.h"

#include <algorithm>

namespace update {

namespace {

std::string_view Trim(std::string_view s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::string Cut(std::string value, size_t room)
{
    if (value.size() > room - 1)
        value.resize(room - 1);
    return value;
}

} // namespace

std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key)
{
    bool inSection = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            inSection = platform::EqualsAsciiNoCase(name, section);
            continue;
        }
        if (!inSection)
            continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || !platform::EqualsAsciiNoCase(Trim(line.substr(0, eq)), key))
            continue;
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return {};
}

CVersionInfo ParseVersionFile(std::string_view text)
{
    constexpr std::string_view s = "VERSIONINFO";
    CVersionInfo v;
    v.title = Cut(ProfileValue(text, s, "TITLE"), 200);
    v.version = Cut(ProfileValue(text, s, "VERSION"), kVersionRoom);
    v.date = Cut(ProfileValue(text, s, "DATE"), 20);
    v.size = Cut(ProfileValue(text, s, "SIZE"), 100);
    v.download = Cut(ProfileValue(text, s, "DOWNLOAD"), kUrlRoom);
    v.info = Cut(ProfileValue(text, s, "INFO"), kUrlRoom);
    v.details = Cut(ProfileValue(text, s, "DETAILS"), 1000);
    return v;
}

int64_t VersionToNumber(std::string_view text, char separator)
{
    text = text.substr(0, std::min(text.size(), kVersionRoom - 1));
    static constexpr int64_t kWeights[] = {10000, 1000, 100, 10, 1};
    // A piece counts at most this much, so that the sum cannot overflow.
    constexpr int64_t kPieceLimit = 1'000'000'000'000;
    int64_t sum = 0;
    size_t piece = 0;
    size_t pos = 0;
    while (pos <= text.size() && piece < std::size(kWeights)) {
        size_t end = text.find(separator, pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view part = text.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty())
            continue;
        int64_t n = 0;
        for (char c : part) {
            if (c < '0' || c > '9')
                break;
            n = std::min(kPieceLimit, n * 10 + (c - '0'));
        }
        sum += n * kWeights[piece++];
    }
    return sum;
}

bool IsNewerVersion(std::string_view current, std::string_view server)
{
    return VersionToNumber(current, '.') < VersionToNumber(server, '.');
}

} // namespace update
