// A text block made ready for the buffer: the caret marker's place kept
// while the markers are taken out, the caret line's indentation put after
// every line break, and where the marker lands once the text is in.
#pragma once

#include "editor/TextPos.h"

#include <string>
#include <string_view>

struct CTextBlockText {
    static constexpr size_t kNoMarker = std::string::npos;

    std::string text;
    size_t marker = kNoMarker; // byte offset into text

    // content: the block without markers (document bytes); markerOffset:
    // where the first marker stood in it, or kNoMarker. Every line break as
    // the buffer reads one (CR LF, or a lone CR) is followed by indentation.
    static CTextBlockText Build(std::string_view content, size_t markerOffset, std::string_view indentation);

    // The position that offset bytes of text reach when text goes in at
    // start.
    static TextPos PositionAfter(std::string_view text, size_t offset, TextPos start);

    // The leading white space of a line (blank, tab, LF, VT, FF, CR).
    static std::string_view Indentation(std::string_view line);
};
