#include "toolchain/ToolchainTexts.h"

#include "platform/Path.h"

namespace toolchain {

std::string CompileHeadingText(const std::string& sourcePath, const std::string& sourceEncoding,
                               bool sourceHasBom)
{
    std::string text = "Compile " + sourcePath;
    if (!sourceEncoding.empty())
        text += " -encoding " + sourceEncoding;
    text += "....\r\n";
    if (sourceHasBom)
        text += std::string(kPaneBomHint) + "\r\n";
    return text;
}

std::string CompileFinishedText()
{
    return std::string("\r\n") + kPaneCompileFinished;
}

std::string CouldNotStartMessage(const std::string& name)
{
    return "<" + name + "> konnte nicht gestartet werden";
}

std::string NoTerminalMessage(const std::string& name)
{
    return CouldNotStartMessage(name) + "\n\n" + kMsgNoTerminal;
}

std::string CompileProgressText(const std::string& sourcePath)
{
    return "Die Datei " + CompactPath(sourcePath, kProgressPathRoom);
}

std::string CompactPath(const std::string& path, int room)
{
    if (room <= 1)
        return {};
    const size_t max = static_cast<size_t>(room - 1);
    if (path.size() <= max)
        return path;
    static const std::string kDots = "...";
    size_t slash = path.find_last_of(platform::kPathSeparator);
    std::string name = slash == std::string::npos ? path : path.substr(slash);
    // name starts with its separator here, unless there is no folder at all.
    if (name.size() + kDots.size() > max) {
        std::string bare = slash == std::string::npos ? path : path.substr(slash + 1);
        if (max <= kDots.size())
            return kDots.substr(0, max);
        return bare.substr(0, max - kDots.size()) + kDots;
    }
    size_t keep = max - kDots.size() - name.size();
    // Cut the leading part at a separator when one is in reach, so that no
    // folder name is shown half.
    std::string head = path.substr(0, keep);
    size_t lastSep = head.find_last_of(platform::kPathSeparator);
    if (lastSep != std::string::npos && lastSep > 0)
        head = head.substr(0, lastSep + 1);
    else if (lastSep == 0)
        head = head.substr(0, 1);
    return head + kDots + name;
}

} // namespace toolchain
