#include "toolchain/PaneText.h"

namespace toolchain {

std::string CPaneTextConverter::Convert(std::string_view chunk)
{
    std::string out;
    out.reserve(chunk.size() + chunk.size() / 16 + 2);
    for (char c : chunk) {
        if (c == '\n' && !m_afterCR)
            out.push_back('\r');
        out.push_back(c);
        m_afterCR = (c == '\r');
    }
    return out;
}

} // namespace toolchain
