#include "toolchain/CompilerMessage.h"

#include "platform/Path.h"
#include "text/Utf8.h"

#include <climits>

namespace toolchain {

namespace {

constexpr std::string_view kJavaColon = ".java:";

// The line number after ".java:": its leading digits, 0 when there are none.
int ParseLineNumber(std::string_view rest)
{
    long long value = 0;
    for (char c : rest) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

// javac's caret line: blanks and tabs (copied from the source line, so the
// caret's index is the byte offset in the source) and then the caret. A "^"
// in the message text or in the quoted source line is not one.
int CaretIndex(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '^')
            return static_cast<int>(i);
        if (c != ' ' && c != '\t')
            return -1;
    }
    return -1;
}

std::string FullPath(const std::string& name, const std::string& baseDir)
{
    if (name.empty())
        return name;
    if (platform::IsPathSeparator(name.front()) || baseDir.empty())
        return platform::AbsolutePath(name);
    return platform::AbsolutePath(platform::JoinPath(baseDir, name));
}

} // namespace

CCompilerMessage RecognizeCompilerMessage(const std::vector<std::string>& lines, int clickedLine,
                                          const std::string& baseDir)
{
    return RecognizeCompilerMessage(
        static_cast<int>(lines.size()),
        [&](int i) { return std::string_view(lines[static_cast<size_t>(i)]); }, clickedLine, baseDir);
}

CCompilerMessage RecognizeCompilerMessage(int lineCount,
                                          const std::function<std::string_view(int)>& lineAt,
                                          int clickedLine, const std::string& baseDir)
{
    CCompilerMessage msg;
    if (lineCount <= 0)
        return msg;
    int last = lineCount - 1;
    int l = clickedLine > last ? last : clickedLine;
    for (; l > 0; --l) {
        std::string_view text = lineAt(l);
        size_t p = text.find(kJavaColon);
        if (p == std::string_view::npos)
            continue;
        msg.messageFound = true;
        msg.messageLine = l;
        msg.line = ParseLineNumber(text.substr(p + kJavaColon.size()));
        msg.file = FullPath(std::string(text.substr(0, p + 5)), baseDir);
        break;
    }
    if (!msg.messageFound)
        return msg;

    for (int k = msg.messageLine; k <= last; ++k) {
        std::string_view text = lineAt(k);
        int c = CaretIndex(text);
        if (c < 0)
            continue;
        msg.caretFound = true;
        msg.caretLine = k;
        msg.caretIndex = c;
        msg.column = c + 1;
        msg.selStartLine = msg.messageLine;
        msg.selStartColumn = 0;
        msg.selEndLine = k;
        int end = c + 2;
        msg.selEndColumn = end > static_cast<int>(text.size()) ? static_cast<int>(text.size()) : end;
        break;
    }
    return msg;
}

int SourceIndexOfCaret(std::string_view line, int caretIndex, TextEncoding encoding, bool bomBefore)
{
    const int len = static_cast<int>(line.size());
    int units = caretIndex - (bomBefore ? 1 : 0);
    if (units <= 0)
        return 0;
    if (encoding == TextEncoding::Cp1252)
        return units < len ? units : len;
    int i = 0;
    while (i < len && units > 0) {
        int n = 1;
        char32_t cp = utf8::Decode(line.data(), len, i, n);
        units -= cp != utf8::kInvalid && cp > 0xFFFF ? 2 : 1;
        i += n;
    }
    return i;
}

std::vector<std::string> SplitPaneLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(std::move(current));
            current.clear();
            continue;
        }
        current.push_back(c);
    }
    lines.push_back(std::move(current));
    return lines;
}

} // namespace toolchain
