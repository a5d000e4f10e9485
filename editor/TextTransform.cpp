#include "editor/TextTransform.h"

#include "text/CharCase.h"
#include "text/Cp1252.h"
#include "text/TextLayout.h"

#include <algorithm>

namespace texttransform {

namespace {

int SafeTab(int tabWidth)
{
    return tabWidth < 1 ? 1 : tabWidth;
}

bool IsBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

void ConvertCase(std::string& text, ECase kind, TextEncoding encoding)
{
    using charcase::EMapping;
    // Capitalize: a letter after the start or after white space starts a
    // word. Sentence: a letter at the start or the first one after a "." that
    // is not followed by a digit starts a sentence.
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    const char* s = text.data();
    const int len = static_cast<int>(text.size());
    bool startNext = true;
    for (int i = 0; i < len;) {
        int n = 1;
        const char32_t cp = charcase::CharAt(s, len, i, encoding, n);
        const unsigned char c = static_cast<unsigned char>(s[i]);
        EMapping mapping = EMapping::Fold; // Fold: unchanged
        switch (kind) {
        case ECase::Lower:
            mapping = EMapping::Lower;
            break;
        case ECase::Upper:
            mapping = EMapping::Upper;
            break;
        case ECase::Swap:
            if (charcase::IsLower(cp))
                mapping = EMapping::Upper;
            else if (charcase::IsLetter(cp))
                mapping = EMapping::Lower;
            break;
        case ECase::Capitalize:
            if (cp1252::IsSpace(c)) {
                startNext = true;
            } else if (charcase::IsLetter(cp)) {
                mapping = startNext ? EMapping::Title : EMapping::Lower;
                startNext = false;
            }
            break;
        case ECase::Sentence:
            if (c == '.') {
                if (i + 1 < len && !cp1252::IsDigit(static_cast<unsigned char>(s[i + 1])))
                    startNext = true;
            } else if (charcase::IsLetter(cp)) {
                mapping = startNext ? EMapping::Title : EMapping::Lower;
                startNext = false;
            }
            break;
        }
        if (mapping == EMapping::Fold)
            out.append(s + i, static_cast<size_t>(n));
        else
            charcase::AppendMapped(out, s + i, n, cp, mapping, encoding);
        i += n;
    }
    text = std::move(out);
}

std::string TabsToSpaces(std::string_view text, int tabWidth)
{
    tabWidth = SafeTab(tabWidth);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\t')
            out.append(static_cast<size_t>(tabWidth), ' ');
        else
            out.push_back(c);
    }
    return out;
}

std::string SpacesToTabs(std::string_view text, int tabWidth)
{
    tabWidth = SafeTab(tabWidth);
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            size_t run = 0;
            while (i + run < text.size() && text[i + run] == ' ')
                ++run;
            out.append(run / static_cast<size_t>(tabWidth), '\t');
            out.append(run % static_cast<size_t>(tabWidth), ' ');
            i += run;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

std::string TabText(bool tabsAsSpaces, int tabWidth, int column)
{
    tabWidth = SafeTab(tabWidth);
    if (!tabsAsSpaces)
        return "\t";
    return std::string(static_cast<size_t>(tabWidth - column % tabWidth), ' ');
}

bool IsOpeningBracket(unsigned char c)
{
    return c == '{' || c == '(' || c == '[' || c == '<';
}

bool IsClosingBracket(unsigned char c)
{
    return c == '}' || c == ')' || c == ']' || c == '>';
}

std::string AutoIndentText(std::string_view prev, bool indentAfterBracket, bool tabsAsSpaces,
                           int tabWidth)
{
    tabWidth = SafeTab(tabWidth);
    size_t n = 0;
    while (n < prev.size() && IsBlankOrTab(prev[n]))
        ++n;
    std::string indent(prev.substr(0, n));
    if (indentAfterBracket && !prev.empty() &&
        IsOpeningBracket(static_cast<unsigned char>(prev.back()))) {
        if (tabsAsSpaces)
            indent.append(static_cast<size_t>(tabWidth) - n % static_cast<size_t>(tabWidth), ' ');
        else
            indent.push_back('\t');
    }
    return indent;
}

int ClosingBracketOutdent(std::string_view line, int caretX, int tabWidth)
{
    tabWidth = SafeTab(tabWidth);
    int len = static_cast<int>(line.size());
    // White space, then the bracket as the line's last character, caret after it.
    if (caretX != len || len < 2 || !IsClosingBracket(static_cast<unsigned char>(line[len - 1])))
        return 0;
    int n = len - 1;
    for (int i = 0; i < n; ++i)
        if (!IsBlankOrTab(line[i]))
            return 0;
    int k = line[n - 1] == '\t' ? 1 : tabWidth - n % tabWidth;
    return std::min(k, n);
}

int UnindentCount(std::string_view line, int tabWidth)
{
    tabWidth = SafeTab(tabWidth);
    int count = 0;
    int len = static_cast<int>(line.size());
    while (count < len && count < tabWidth) {
        if (line[count] == '\t')
            return count + 1;
        if (line[count] != ' ')
            break;
        ++count;
    }
    return count;
}

int PreviousTabStopChar(std::string_view line, int x, int tabWidth, TextEncoding encoding)
{
    tabWidth = SafeTab(tabWidth);
    int len = static_cast<int>(line.size());
    int c = textlayout::DisplayColumn(line.data(), len, x, tabWidth, encoding);
    if (c <= 0)
        return 0;
    int target = (c - 1) / tabWidth * tabWidth;
    int col = 0;
    for (int i = 0, next; i < len; i = next) {
        if (col >= target)
            return i;
        col += textlayout::CharCells(line.data(), len, i, col, tabWidth, encoding, next);
    }
    return len;
}

int OverwriteTabChar(std::string_view line, int x, int tabWidth, TextEncoding encoding)
{
    tabWidth = SafeTab(tabWidth);
    int len = static_cast<int>(line.size());
    int col = textlayout::DisplayColumn(line.data(), len, x, tabWidth, encoding);
    int steps = tabWidth - col % tabWidth;
    for (int i = 0; i < steps && x < len; ++i) {
        bool wasTab = line[x] == '\t';
        int next = x + 1;
        textlayout::CharCells(line.data(), len, x, col, tabWidth, encoding, next);
        x = next;
        if (wasTab)
            break;
    }
    return x;
}

bool BlockLines(TextPos start, TextPos end, int& firstLine, int& lastLine)
{
    if (start.y == end.y)
        return false;
    firstLine = start.y;
    lastLine = end.x == 0 ? end.y - 1 : end.y;
    return true;
}

bool CanUncomment(std::string_view t)
{
    return t.size() > 3 && t.substr(0, 2) == "/*" && t.substr(t.size() - 2) == "*/";
}

int CommentOpenerLength(std::string_view t)
{
    return t.size() >= 3 && t.substr(0, 3) == "/**" ? 3 : 2;
}

std::string DocumentToClipboardBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out.push_back(text[i]);
    }
    return out;
}

std::string ClipboardToDocumentBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

} // namespace texttransform
