#include "platform/MountTable.h"

#include "platform/FileRead.h"

#include <array>

namespace platform {

std::string UnescapeMountField(std::string_view field)
{
    auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && field.size() - i >= 4 && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            int v = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (v < 256) {
                out += static_cast<char>(v);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<MountEntry> ParseMountTable(std::string_view text)
{
    std::vector<MountEntry> mounts;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        std::array<std::string_view, 3> fields;
        size_t n = 0, i = 0;
        while (n < fields.size() && i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                ++i;
            if (i > start)
                fields[n++] = line.substr(start, i - start);
        }
        if (n < fields.size())
            continue;
        MountEntry m{UnescapeMountField(fields[0]), UnescapeMountField(fields[1]), UnescapeMountField(fields[2])};
        while (m.mountPoint.size() > 1 && m.mountPoint.back() == '/')
            m.mountPoint.pop_back();
        if (m.mountPoint.empty() || m.mountPoint[0] != '/')
            continue;
        mounts.push_back(std::move(m));
    }
    return mounts;
}

bool ReadMountTable(std::vector<MountEntry>& mounts)
{
    std::string text;
    mounts.clear();
    if (!ReadWholeFile("/proc/self/mounts", text))
        return false;
    mounts = ParseMountTable(text);
    return true;
}

} // namespace platform
