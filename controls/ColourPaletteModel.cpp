#include "controls/ColourPaletteModel.h"

#include <algorithm>

using colours::Colour;

CColourPaletteModel::CColourPaletteModel(Colour initial, bool hasAutomatic, bool hasCustom)
    : m_initial(initial), m_current(initial), m_hasAutomatic(hasAutomatic), m_hasCustom(hasCustom)
{
    if (initial == colours::kAutomatic && hasAutomatic)
        m_chosen = kAutomatic;
    else if (int i = colours::FindTableColour(initial); i >= 0)
        m_chosen = i;
    else if (hasCustom)
        m_chosen = kCustom;
}

void CColourPaletteModel::Layout(int x, int y, int edge, int textWidth, int textHeight,
                                 const Rect& screen, int pickerTop)
{
    edge = std::max(0, edge);
    m_margin = edge;
    m_box = 18 - 2 * edge - 7 < 0 ? 2 * edge + 7 : 18;
    const bool anyText = m_hasAutomatic || m_hasCustom;
    const int h = anyText ? textHeight + 4 * m_margin + 2 : 0;
    const int w = anyText ? textWidth + 2 * m_margin : 0;
    m_textHeight = h;

    int width = 2 * m_margin + kColumns * m_box;
    int height = kRows * m_box + 2 * m_margin;
    m_automaticRect = Rect();
    m_customRect = Rect();
    if (m_hasAutomatic) {
        width = std::max(width, w);
        m_automaticRect = Rect{m_margin, m_margin, width - m_margin, h + 2 * m_margin};
        height += h + 3 * m_margin;
    }
    if (m_hasCustom) {
        width = std::max(width, w);
        const int t = height;
        m_customRect = Rect{m_margin, t, width - m_margin, t + m_margin + h};
        height += h + 3 * m_margin;
    }
    // The automatic entry spans the final width.
    if (m_hasAutomatic)
        m_automaticRect.right = width - m_margin;

    Rect win{x, y, x + width, y + height};
    if (win.right > screen.right) {
        const int excess = win.right - screen.right;
        win.left -= excess;
        win.right -= excess;
    }
    if (win.left < screen.left) {
        const int shift = screen.left - win.left;
        win.left += shift;
        win.right += shift;
    }
    if (win.bottom > screen.bottom) {
        win.top = pickerTop - height;
        win.bottom = pickerTop;
    }
    m_window = win;
}

CColourPaletteModel::Rect CColourPaletteModel::BoxRect(int index) const
{
    if (index < 0 || index >= colours::kCount)
        return Rect();
    const int c = index % kColumns, r = index / kColumns;
    const int left = c * m_box + m_margin;
    int top = r * m_box + m_margin;
    if (m_hasAutomatic)
        top += m_textHeight + 2 * m_margin;
    return Rect{left, top, left + m_box, top + m_box};
}

int CColourPaletteModel::EntryAt(int x, int y) const
{
    if (m_hasCustom && m_customRect.Contains(x, y))
        return kCustom;
    if (m_hasAutomatic && m_automaticRect.Contains(x, y))
        return kAutomatic;
    for (int i = 0; i < colours::kCount; ++i)
        if (BoxRect(i).Contains(x, y))
            return i;
    return kNone;
}

Colour CColourPaletteModel::Hover(int e)
{
    if (e >= colours::kCount)
        e = kCustom;
    m_hovered = e;
    if (e == kCustom)
        return m_initial;
    if (e == kAutomatic) {
        m_current = colours::kAutomatic;
        return m_current;
    }
    if (e >= 0) {
        m_current = colours::TableColour(e);
        return m_current;
    }
    return m_current;
}

int CColourPaletteModel::Fallback(bool automaticFirst) const
{
    // Leaving the colours at their start or end: the captions in the order
    // the key names, the far end of the colours when there are none.
    if (automaticFirst) {
        if (m_hasAutomatic)
            return kAutomatic;
        if (m_hasCustom)
            return kCustom;
        return colours::kCount - 1;
    }
    if (m_hasCustom)
        return kCustom;
    if (m_hasAutomatic)
        return kAutomatic;
    return 0;
}

int CColourPaletteModel::Move(Key key) const
{
    constexpr int last = colours::kCount - 1;
    int from = m_hovered;
    if (from == kNone)
        from = m_chosen != kNone ? m_chosen : 0;
    if (m_hovered == kNone)
        return from; // the first key lands on the chosen entry
    switch (key) {
    case KEY_LEFT:
    case KEY_UP:
        if (from == kCustom)
            return last;
        if (from == kAutomatic)
            return m_hasCustom ? kCustom : last;
        if (key == KEY_LEFT)
            return from > 0 ? from - 1 : Fallback(true);
        return from >= kColumns ? from - kColumns : Fallback(true);
    case KEY_RIGHT:
    case KEY_DOWN:
        if (from == kAutomatic)
            return 0;
        if (from == kCustom)
            return m_hasAutomatic ? kAutomatic : 0;
        {
            const int next = key == KEY_RIGHT ? from + 1 : from + kColumns;
            return next <= last ? next : Fallback(false);
        }
    }
    return from;
}
