#include "toolchain/PaneText.h"

#include "text/Transcode.h"

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
    return m_encoding == TextEncoding::Utf8 ? out : transcode::ToPaneText(out, m_encoding);
}

} // namespace toolchain
