// What the restore buttons of the options pages put back: the colours of
// the "Farben" and "Syntax Highlighting" lists in their list order, and the
// text-block contents of "Textblöcke".
#pragma once

#include "settings/Settings.h"

#include <string>
#include <vector>

class COptionDefaults {
public:
    // "Editorfenster", "Selektion", "Selektionsrand (links)" (styles 0).
    static std::vector<CHighlightStyle> WindowColours();
    // The syntax classes in the list's order (SyntaxOrder) with colours and
    // styles; the operators' foreground is dark blue here.
    static std::vector<CHighlightStyle> SyntaxColours();
    // The settings' class of each entry of the syntax list.
    static const std::vector<EHighlight>& SyntaxOrder();
    // The content "&Standard wiederherstellen" gives block index (0..11):
    // the settings' default, blocks 5 to 8 with a trailing blank.
    static std::string TextBlockContent(int index);
};
