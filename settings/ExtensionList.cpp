#include "settings/ExtensionList.h"

#include "platform/Path.h"

std::vector<std::string> CExtensionList::Split(const std::string& mask)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= mask.size()) {
        size_t semi = mask.find(';', pos);
        size_t end = semi == std::string::npos ? mask.size() : semi;
        if (end > pos)
            out.push_back(platform::SplitPath(mask.substr(pos, end - pos)).ext);
        if (semi == std::string::npos)
            break;
        pos = semi + 1;
    }
    return out;
}

std::string CExtensionList::Join(const std::vector<std::string>& extensions)
{
    std::string out;
    for (const auto& ext : extensions) {
        out += ext;
        out += ';';
    }
    return out;
}
