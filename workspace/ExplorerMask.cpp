#include "workspace/ExplorerMask.h"

#include "settings/ExtensionList.h"

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

void CExplorerMask::SetMask(const std::string& mask)
{
    SetExtensions(CExtensionList::Split(mask));
}

std::string CExplorerMask::GetMask() const
{
    return CExtensionList::Join(m_extensions);
}

void CExplorerMask::SetExtensions(std::vector<std::string> extensions)
{
    m_extensions = std::move(extensions);
    m_all = false;
    for (const std::string& e : m_extensions)
        if (e == "*" || e == ".*")
            m_all = true;
}

std::string_view CExplorerMask::ExtensionOf(std::string_view fileName)
{
    size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

bool CExplorerMask::Shows(std::string_view fileName) const
{
    if (m_all)
        return true;
    std::string_view ext = ExtensionOf(fileName);
    for (const std::string& e : m_extensions)
        if (EqualIgnoringCase(e, ext))
            return true;
    return false;
}
