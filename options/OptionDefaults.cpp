#include "options/OptionDefaults.h"

std::vector<CHighlightStyle> COptionDefaults::WindowColours()
{
    return {{0, 16777215, 0}, {16777215, 12546160, 0}, {12546160, 15395562, 0}};
}

const std::vector<EHighlight>& COptionDefaults::SyntaxOrder()
{
    static const std::vector<EHighlight> order = {HL_KEYWORD,        HL_FUNCTION, HL_STRING,
                                                  HL_COMMENT,        HL_COMMENTMULTI,
                                                  HL_COMMENTJAVADOC, HL_NUMBER,   HL_OPERATOR,
                                                  HL_BRACEMATCH};
    return order;
}

std::vector<CHighlightStyle> COptionDefaults::SyntaxColours()
{
    return {
        {16711680, 16777215, 0}, // Schlüsselwörter
        {10908492, 16777215, 0}, // Funktionsnamen
        {8388736, 16777215, 0},  // Zeichenketten
        {37632, 16777215, 0},    // Einzeilige Kommentare
        {37632, 16777215, 0},    // Mehrzeilige Kommentare
        {37632, 15658734, 0},    // Javadoc Kommentare
        {6710886, 16777215, 0},  // Nummern
        {9109504, 16777215, 0},  // Operatoren: dark blue
        {255, 65535, 0},         // Hervorhebung zugehöriger Klammern
    };
}

std::string COptionDefaults::TextBlockContent(int index)
{
    std::string content = CSettings::DefaultTextBlock(index).content;
    if (index >= 4 && index <= 7) // "private ", "protected ", "public ", "void "
        content += ' ';
    return content;
}
