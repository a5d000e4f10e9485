// The colours and styles of a view's colour classes (CI_*): text and
// background per class, bold and italic for the highlighted ones. Directive
// lines and the column guide have fixed colours.
#pragma once

#include "settings/Settings.h"

#include <array>

class CTextColors {
public:
    static constexpr COLORREF kDirectiveColor = 0xC08000;
    static constexpr COLORREF kColumnGuideColor = 0x9C9C9C;

    // The defaults of the settings.
    CTextColors();

    COLORREF TextColor(int colorClass) const;
    COLORREF BackColor(int colorClass) const;
    bool IsItalic(int colorClass) const;
    bool IsBold(int colorClass) const;
    // Bit 1 bold, bit 2 italic, bit 4 underline (stored, never painted).
    int Style(int colorClass) const;

    // Each returns true when something changed (the view repaints).
    bool SetTextColor(int colorClass, COLORREF color);
    bool SetBackColor(int colorClass, COLORREF color);
    bool SetStyle(int colorClass, int styleBits);

private:
    static bool SetIn(std::array<COLORREF, 14>& table, int colorClass, COLORREF color);

    std::array<COLORREF, 14> m_text{};
    std::array<COLORREF, 14> m_back{};
    std::array<int, 14> m_styles{};
};
