#include "kitprobe/JdkFinds.h"

#include <algorithm>

namespace {

unsigned char Lower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

void CJdkFinds::Add(EJdkFind kind, std::string path)
{
    m_lists[kind].push_back(std::move(path));
}

const std::vector<std::string>& CJdkFinds::List(EJdkFind kind) const
{
    return m_lists[kind];
}

bool CJdkFinds::Empty() const
{
    return std::all_of(m_lists.begin(), m_lists.end(), [](const auto& l) { return l.empty(); });
}

bool CJdkFinds::DisplayLess(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = Lower(static_cast<unsigned char>(a[i]));
        unsigned char cb = Lower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::vector<std::string> CJdkFinds::Sorted(EJdkFind kind) const
{
    std::vector<std::string> out = m_lists[kind];
    std::stable_sort(out.begin(), out.end(),
                     [](const std::string& a, const std::string& b) { return DisplayLess(a, b); });
    return out;
}

const char* CJdkFinds::ProgramName(EJdkFind kind)
{
#ifdef _WIN32
    static const char* const names[] = {"javac.exe", "java.exe", "appletviewer.exe",
                                        "javadoc.exe", ""};
#else
    static const char* const names[] = {"javac", "java", "appletviewer", "javadoc", ""};
#endif
    return names[kind];
}
