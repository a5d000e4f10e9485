#include "editor/TextColors.h"

#include "editor/JavaColoring.h"

#include <utility>

namespace {

// The slot of a class with colours of its own; white space inside code
// takes the window's. -1 for the fixed and unknown ones.
int ClassIndex(int colorClass)
{
    if (colorClass == CI_WHITESPACE)
        return CI_WND;
    if (colorClass >= CI_WND && colorClass <= CI_BRACEMATCH && colorClass != CI_DIRECTIVE)
        return colorClass;
    return -1;
}

bool HasStyle(int colorClass)
{
    return (colorClass >= CI_KEYWORD && colorClass <= CI_STRING) || colorClass == CI_BRACEMATCH;
}

} // namespace

CTextColors::CTextColors()
{
    const CSettings defaults;
    m_text[CI_WND] = defaults.m_windowForeground;
    m_back[CI_WND] = defaults.m_windowBackground;
    m_text[CI_MARGIN] = defaults.m_marginForeground;
    m_back[CI_MARGIN] = defaults.m_marginBackground;
    m_text[CI_SELECTION] = defaults.m_selectionForeground;
    m_back[CI_SELECTION] = defaults.m_selectionBackground;
    const std::pair<int, EHighlight> classes[] = {
        {CI_KEYWORD, HL_KEYWORD},         {CI_FUNCTION, HL_FUNCTION}, {CI_COMMENT, HL_COMMENT},
        {CI_COMMENTMULTI, HL_COMMENTMULTI}, {CI_COMMENTJAVADOC, HL_COMMENTJAVADOC},
        {CI_NUMBER, HL_NUMBER},           {CI_OPERATOR, HL_OPERATOR}, {CI_STRING, HL_STRING},
        {CI_BRACEMATCH, HL_BRACEMATCH},
    };
    for (auto [cls, hl] : classes) {
        const CHighlightStyle& h = defaults.m_highlight[static_cast<size_t>(hl)];
        m_text[static_cast<size_t>(cls)] = h.foreground;
        m_back[static_cast<size_t>(cls)] = h.background;
        m_styles[static_cast<size_t>(cls)] = h.style;
    }
}

COLORREF CTextColors::TextColor(int colorClass) const
{
    if (colorClass == CI_DIRECTIVE)
        return kDirectiveColor;
    if (colorClass == CI_COLUMNGUIDE)
        return kColumnGuideColor;
    int i = ClassIndex(colorClass);
    return m_text[static_cast<size_t>(i < 0 ? CI_FUNCTION : i)];
}

COLORREF CTextColors::BackColor(int colorClass) const
{
    // A directive line keeps the window background: its fixed text colour
    // on a background of the same colour would be unreadable.
    if (colorClass == CI_DIRECTIVE)
        return BackColor(CI_WND);
    if (colorClass == CI_COLUMNGUIDE)
        return kColumnGuideColor;
    int i = ClassIndex(colorClass);
    return m_back[static_cast<size_t>(i < 0 ? CI_FUNCTION : i)];
}

bool CTextColors::IsItalic(int colorClass) const
{
    return HasStyle(colorClass) && (m_styles[static_cast<size_t>(colorClass)] & STYLE_ITALIC);
}

bool CTextColors::IsBold(int colorClass) const
{
    return HasStyle(colorClass) && (m_styles[static_cast<size_t>(colorClass)] & STYLE_BOLD);
}

int CTextColors::Style(int colorClass) const
{
    return HasStyle(colorClass) ? m_styles[static_cast<size_t>(colorClass)] : 0;
}

bool CTextColors::SetTextColor(int colorClass, COLORREF color)
{
    return SetIn(m_text, colorClass, color);
}

bool CTextColors::SetBackColor(int colorClass, COLORREF color)
{
    return SetIn(m_back, colorClass, color);
}

bool CTextColors::SetIn(std::array<COLORREF, 14>& table, int colorClass, COLORREF color)
{
    int i = ClassIndex(colorClass);
    if (i < 0 || table[static_cast<size_t>(i)] == color)
        return false;
    table[static_cast<size_t>(i)] = color;
    return true;
}

bool CTextColors::SetStyle(int colorClass, int styleBits)
{
    if (!HasStyle(colorClass))
        return false;
    int& s = m_styles[static_cast<size_t>(colorClass)];
    if (s == (styleBits & 7))
        return false;
    s = styleBits & 7;
    return true;
}
