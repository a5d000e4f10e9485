// Compiler-message recognition over arbitrary pane text: the first byte picks
// the clicked line, the rest is the pane. Whatever is found must point at a
// ".java:" line and a real caret, inside the pane.
#include "toolchain/CompilerMessage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> lines = toolchain::SplitPaneLines(text);
    const int count = static_cast<int>(lines.size());
    const int clicked = static_cast<int>(data[0] % (count + 2)) - 1;
    toolchain::CCompilerMessage m = toolchain::RecognizeCompilerMessage(lines, clicked, "/base");
    if (!m.messageFound) {
        if (m.caretFound)
            std::abort();
        return 0;
    }
    if (m.messageLine < 1 || m.messageLine >= count || m.messageLine > std::max(clicked, 1))
        std::abort();
    if (lines[static_cast<size_t>(m.messageLine)].find(".java:") == std::string::npos || m.line < 0)
        std::abort();
    if (m.file.empty() || m.file[0] != '/')
        std::abort();
    if (m.caretFound) {
        if (m.caretLine < m.messageLine || m.caretLine >= count)
            std::abort();
        const std::string& caret = lines[static_cast<size_t>(m.caretLine)];
        if (m.caretIndex < 0 || static_cast<size_t>(m.caretIndex) >= caret.size() ||
            caret[static_cast<size_t>(m.caretIndex)] != '^' || m.column != m.caretIndex + 1)
            std::abort();
        if (m.selStartLine != m.messageLine || m.selEndLine != m.caretLine ||
            m.selEndColumn > static_cast<int>(caret.size()) || m.selEndColumn <= m.caretIndex)
            std::abort();
    }
    return 0;
}
