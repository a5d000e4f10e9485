#include "editor/TextBlockText.h"

CTextBlockText CTextBlockText::Build(std::string_view content, size_t markerOffset, std::string_view indentation)
{
    CTextBlockText out;
    out.text.reserve(content.size() + indentation.size() * 4);
    for (size_t i = 0; i < content.size(); ++i) {
        if (i == markerOffset)
            out.marker = out.text.size();
        const char c = content[i];
        out.text += c;
        if (c != '\r')
            continue;
        if (i + 1 < content.size() && content[i + 1] == '\n') {
            if (i + 1 == markerOffset)
                out.marker = out.text.size();
            out.text += '\n';
            ++i;
        }
        out.text += indentation;
    }
    if (markerOffset == content.size())
        out.marker = out.text.size();
    return out;
}

TextPos CTextBlockText::PositionAfter(std::string_view text, size_t offset, TextPos start)
{
    if (offset > text.size())
        offset = text.size();
    TextPos p = start;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\r') {
            ++p.y;
            p.x = 0;
            // LF after CR belongs to the same break.
            if (i + 1 < offset && text[i + 1] == '\n')
                ++i;
        } else {
            ++p.x;
        }
    }
    return p;
}

std::string_view CTextBlockText::Indentation(std::string_view line)
{
    size_t n = 0;
    while (n < line.size() && (line[n] == ' ' || (line[n] >= '\t' && line[n] <= '\r')))
        ++n;
    return line.substr(0, n);
}
