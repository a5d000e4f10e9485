#include "editor/SelectionModel.h"

#include "editor/TextMotion.h"
#include "text/TextLayout.h"
#include "text/Utf8.h"

#include <algorithm>

namespace {

int ColumnOf(const ITextLines& text, TextPos pos, int tabWidth)
{
    if (pos.y < 0 || pos.y >= text.LineCount())
        return 0;
    return textlayout::DisplayColumn(text.LineChars(pos.y), text.LineLength(pos.y), pos.x, tabWidth,
                                     text.Encoding());
}

int CharAtColumn(const ITextLines& text, int line, int column, int tabWidth)
{
    if (line < 0 || line >= text.LineCount())
        return 0;
    return textlayout::ColumnToChar(text.LineChars(line), text.LineLength(line), column, tabWidth,
                                    text.Encoding());
}

bool IsUtf8(const ITextLines& text)
{
    return text.Encoding() == TextEncoding::Utf8;
}

// x on line moved back onto the start of the character it lies in.
int OnBoundary(const ITextLines& text, int line, int x)
{
    if (!IsUtf8(text) || line < 0 || line >= text.LineCount())
        return x;
    const int len = text.LineLength(line);
    const char* chars = text.LineChars(line);
    return x < len && !utf8::IsBoundary(chars, len, x) ? utf8::Prev(chars, len, x) : x;
}

} // namespace

void CSelectionModel::Reset()
{
    m_caret = m_anchor = m_selStart = m_selEnd = TextPos(0, 0);
    m_idealColumn = -1;
}

void CSelectionModel::GetOrdered(TextPos& start, TextPos& end) const
{
    if (m_selEnd < m_selStart) {
        start = m_selEnd;
        end = m_selStart;
    } else {
        start = m_selStart;
        end = m_selEnd;
    }
}

bool CSelectionModel::IsInside(TextPos pos) const
{
    TextPos s, e;
    GetOrdered(s, e);
    return s <= pos && pos < e;
}

void CSelectionModel::Adjust(const TextChange& change)
{
    change.AdjustPosition(m_caret);
    change.AdjustPosition(m_selStart);
    change.AdjustPosition(m_selEnd);
    change.AdjustPosition(m_anchor);
}

void CSelectionModel::CharLeft(const ITextLines& text, bool extend)
{
    TextPos s, e;
    GetOrdered(s, e);
    if (MovesWithSelection(extend)) {
        m_caret = s;
    } else if (m_caret.x == 0) {
        if (m_caret.y > 0) {
            --m_caret.y;
            m_caret.x = text.LineLength(m_caret.y);
        }
    } else if (IsUtf8(text)) {
        m_caret.x = utf8::Prev(text.LineChars(m_caret.y), text.LineLength(m_caret.y), m_caret.x);
    } else {
        --m_caret.x;
    }
}

void CSelectionModel::CharRight(const ITextLines& text, bool extend)
{
    TextPos s, e;
    GetOrdered(s, e);
    if (MovesWithSelection(extend)) {
        m_caret = e;
    } else if (m_caret.x >= text.LineLength(m_caret.y)) {
        if (m_caret.y < text.LineCount() - 1)
            m_caret = TextPos(0, m_caret.y + 1);
    } else if (IsUtf8(text)) {
        m_caret.x = utf8::Next(text.LineChars(m_caret.y), text.LineLength(m_caret.y), m_caret.x);
    } else {
        ++m_caret.x;
    }
}

void CSelectionModel::WordLeft(const ITextLines& text, bool extend)
{
    if (MovesWithSelection(extend)) {
        CharLeft(text, extend);
        return;
    }
    if (m_caret.x == 0) {
        if (m_caret.y == 0)
            return;
        --m_caret.y;
        m_caret.x = text.LineLength(m_caret.y);
    }
    m_caret.x = textmotion::WordLeft(text.LineChars(m_caret.y), text.LineLength(m_caret.y), m_caret.x,
                                     text.Encoding());
}

void CSelectionModel::WordRight(const ITextLines& text, bool extend)
{
    if (MovesWithSelection(extend)) {
        CharRight(text, extend);
        return;
    }
    int len = text.LineLength(m_caret.y);
    if (m_caret.x >= len) {
        CharRight(text, extend);
        return;
    }
    m_caret.x = textmotion::WordRight(text.LineChars(m_caret.y), len, m_caret.x, text.Encoding());
}

void CSelectionModel::LineUp(const ITextLines& text, int tabWidth, bool extend)
{
    VerticalStep(text, tabWidth, extend, -1);
}

void CSelectionModel::LineDown(const ITextLines& text, int tabWidth, bool extend)
{
    VerticalStep(text, tabWidth, extend, +1);
}

void CSelectionModel::VerticalStep(const ITextLines& text, int tabWidth, bool extend, int direction)
{
    TextPos s, e;
    GetOrdered(s, e);
    if (MovesWithSelection(extend))
        m_caret = direction < 0 ? s : e;
    if (m_idealColumn == -1)
        m_idealColumn = ColumnOf(text, m_caret, tabWidth);
    const int line = m_caret.y + direction;
    if (line >= 0 && line < text.LineCount()) {
        m_caret.y = line;
        m_caret.x = std::min(CharAtColumn(text, line, m_idealColumn, tabWidth), text.LineLength(line));
    }
}

void CSelectionModel::PageStep(const ITextLines& text, int step)
{
    m_caret.y = step < 0 ? std::max(0, m_caret.y + step) : std::min(text.LineCount() - 1, m_caret.y + step);
    m_caret.x = OnBoundary(text, m_caret.y, std::min(m_caret.x, text.LineLength(m_caret.y)));
}

void CSelectionModel::LineEnd(const ITextLines& text)
{
    m_caret.x = text.LineLength(m_caret.y);
}

void CSelectionModel::SmartHome(const ITextLines& text)
{
    m_caret.x = textmotion::SmartHome(text.LineChars(m_caret.y), text.LineLength(m_caret.y), m_caret.x);
}

void CSelectionModel::TextBegin()
{
    m_caret = TextPos(0, 0);
}

void CSelectionModel::TextEnd(const ITextLines& text)
{
    int last = text.LineCount() - 1;
    m_caret = TextPos(text.LineLength(last), last);
}

void CSelectionModel::LineSelection(const ITextLines& text, int anchorLine, int line, TextPos& start,
                                    TextPos& end)
{
    int lo = std::min(anchorLine, line);
    int hi = std::max(anchorLine, line);
    start = TextPos(0, lo);
    end = hi + 1 < text.LineCount() ? TextPos(0, hi + 1) : TextPos(text.LineLength(hi), hi);
}

void CSelectionModel::WordSelection(const ITextLines& text, TextPos a, TextPos b, TextPos& start, TextPos& end)
{
    TextPos lo = std::min(a, b), hi = std::max(a, b);
    const TextEncoding encoding = text.Encoding();
    start = TextPos(textmotion::WordStart(text.LineChars(lo.y), text.LineLength(lo.y), lo.x, encoding), lo.y);
    end = TextPos(textmotion::WordEnd(text.LineChars(hi.y), text.LineLength(hi.y), hi.x, encoding), hi.y);
}

void CSelectionModel::ExtendWordSelection(const ITextLines& text, TextPos hit, TextPos& start, TextPos& end)
{
    WordSelection(text, hit, m_anchor, start, end);
    if (hit < m_anchor) {
        m_caret = start;
        std::swap(start, end);
    } else {
        m_caret = end;
    }
}
