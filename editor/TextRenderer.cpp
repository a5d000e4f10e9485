#include "editor/TextRenderer.h"

#include "editor/TextBuffer.h"
#include "text/Cp1252.h"
#include "text/TextLayout.h"
#include "text/Utf8.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Runs gathered for one painted line at most; only a line of millions of
// characters, scrolled far to the right, can reach it.
constexpr int kMaxPaintRuns = 3 << 20;
// How far past the visible end the classifier looks for a place where a
// prefix of the line colours exactly like the whole line.
constexpr int kSafeCutSearch = 4096;
// Beyond this many characters into a line, painting classifies only a
// window before the visible part.
int g_longLineWindow = 8192;
// Lines this long keep places to start a walk to a column from, this far
// apart.
constexpr int kMarkedLine = 1 << 20;
constexpr int kMarkSpacing = 1 << 16;

bool IsIdentChar(unsigned char c)
{
    return c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c >= 0x80;
}

// A prefix [0, cut) of a line colours its first want characters exactly as
// the whole line does when the character before cut ends every token (it is
// neither blank, identifier character nor ".") and two characters of
// look-ahead lie inside it.
int SafeCut(const char* chars, int len, int want)
{
    if (want + 2 >= len)
        return len;
    int limit = std::min(len, want + 2 + kSafeCutSearch);
    for (int cut = want + 2; cut <= limit; ++cut) {
        unsigned char c = static_cast<unsigned char>(chars[cut - 1]);
        if (!IsIdentChar(c) && !cp1252::IsSpace(c) && c != '.')
            return cut;
    }
    return limit;
}

} // namespace

void CTextRenderer::SetLongLineWindow(int chars)
{
    g_longLineWindow = std::max(16, chars);
}

void CTextRenderer::Reset()
{
    m_icons.clear();
    std::vector<ColorBlock>().swap(m_runs);
    ForgetLineWindow();
}

void CTextRenderer::RenderArea(CPixelCanvas& canvas, const wxRect& box, const TextPaintFrame& frame,
                               ITextPaintSource& source)
{
    const int lh = frame.lineHeight;
    const int margin = frame.marginWidth;
    const int count = source.LineCount();
    int firstSlot = std::max(0, box.y / lh);
    int lastSlot = std::max(firstSlot, (box.y + box.height - 1) / lh);
    for (int slot = firstSlot; slot <= lastSlot; ++slot) {
        int y = slot * lh;
        int line = frame.topLine + slot;
        if (line >= count)
            line = -1;
        if (margin > 0 && box.x < margin)
            RenderMargin(canvas, wxRect(0, y, margin, lh), box, line, frame, source);
        if (box.x + box.width > margin)
            RenderLine(canvas, wxRect(margin, y, std::max(0, frame.clientWidth - margin), lh), box, line, frame,
                       source);
    }
    canvas.ResetClip();
}

const std::vector<wxImage>& CTextRenderer::MarginIcons()
{
    if (m_icons.empty()) {
        // Eleven 12 x 12 icons: green discs with the digits 0-9, and a plain
        // one for the unnumbered mark; white is transparent.
        for (int i = 0; i < 11; ++i) {
            wxBitmap bmp(kIconSize, kIconSize, 24);
            {
                wxMemoryDC mdc(bmp);
                mdc.SetBackground(*wxWHITE_BRUSH);
                mdc.Clear();
                mdc.SetPen(wxPen(wxColour(0, 100, 0)));
                mdc.SetBrush(wxBrush(wxColour(0, 160, 0)));
                mdc.DrawEllipse(0, 0, kIconSize, kIconSize);
                if (i < 10) {
                    mdc.SetFont(wxFont(wxFontInfo(7).Family(wxFONTFAMILY_SWISS).Bold()));
                    wxString digit = wxString::Format("%d", i);
                    int tw = 0, th = 0;
                    mdc.GetTextExtent(digit, &tw, &th);
                    mdc.SetTextForeground(*wxWHITE);
                    mdc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
                    mdc.DrawText(digit, (kIconSize - tw) / 2, (kIconSize - th) / 2);
                }
            }
            wxImage image = bmp.ConvertToImage();
            image.SetMaskColour(255, 255, 255);
            m_icons.push_back(image);
        }
    }
    return m_icons;
}

void CTextRenderer::RenderMargin(CPixelCanvas& canvas, const wxRect& rect, const wxRect& clip, int line,
                                 const TextPaintFrame& frame, ITextPaintSource& source)
{
    canvas.SetClip(clip.IsEmpty() ? rect : rect.Intersect(clip));
    if (!frame.selectionMargin) {
        canvas.Fill(rect, source.BackColor(CI_WND));
        return;
    }
    canvas.Fill(rect, source.BackColor(CI_MARGIN));
    canvas.VLine(rect.GetRight(), rect.y, rect.y + rect.height, kMarginEdgeColor);
    if (line < 0)
        return;
    if (frame.lineNumbers) {
        char buf[16];
        int n = std::snprintf(buf, sizeof buf, "%d:", line + 1);
        std::u32string text(buf, buf + n);
        int width = m_glyphs.TextWidth(CGlyphCache::kMargin, text);
        const int right = rect.x + rect.width - 4;
        int x = right - width;
        const COLORREF ink = source.TextColor(CI_MARGIN);
        for (char32_t c : text) {
            const CGlyphCache::Glyph& g = m_glyphs.Get(CGlyphCache::kMargin, c);
            canvas.DrawGlyph(x, rect.y + (rect.height - g.height) / 2, g, ink);
            x += g.width;
        }
    }
    uint32_t flags = source.LineFlags(line);
    int icon = -1;
    for (int n = 1; n <= 9 && icon < 0; ++n)
        if (flags & LineBookmark(n))
            icon = n;
    if (icon < 0 && (flags & LINE_BOOKMARK_0))
        icon = 0;
    if (icon < 0 && (flags & LINE_MARK))
        icon = 10;
    if (icon >= 0)
        canvas.DrawImage(rect.x + 2, rect.y + (rect.height - kIconSize) / 2,
                         MarginIcons()[static_cast<size_t>(icon)]);
}

int CTextRenderer::WindowStart(const char* chars, int startChar) const
{
    // A place well before the visible part where a fresh start colours like
    // the whole line: after a blank or ";" and on a character that neither
    // continues a token nor is "#" (a directive's mark at a line start).
    int p = std::max(1, startChar - g_longLineWindow / 2);
    for (int tries = 0; p > 1 && tries < g_longLineWindow; ++tries, --p) {
        unsigned char before = static_cast<unsigned char>(chars[p - 1]);
        unsigned char at = static_cast<unsigned char>(chars[p]);
        if ((before == ' ' || before == ';') && at != '#' && !cp1252::IsSpace(at) && at != '/' && at != '*' &&
            at != '\\')
            return p;
    }
    return 0;
}

int CTextRenderer::StartOfPaint(int line, const char* chars, int len, int wanted, int tabWidth,
                                TextEncoding encoding, int& startColumn)
{
    if (len < kMarkedLine || wanted <= kMarkSpacing / 2)
        return textlayout::FirstCharAtColumn(chars, len, wanted, tabWidth, startColumn, encoding);
    LineMarks& m = m_lineMarks;
    if (!m.Of(line, chars, len, tabWidth, encoding))
        m = {line, chars, len, tabWidth, encoding, textlayout::ColumnMarks(chars, len, tabWidth, kMarkSpacing, encoding)};
    // The last mark at or before the wanted column.
    auto after = std::upper_bound(m.marks.begin(), m.marks.end(), wanted,
                                  [](int column, const textlayout::ColumnMark& mark) { return column < mark.column; });
    const textlayout::ColumnMark from = after == m.marks.begin() ? textlayout::ColumnMark() : *(after - 1);
    return textlayout::FirstCharAtColumn(chars, len, wanted, tabWidth, startColumn, encoding, from);
}

textlayout::ColumnMark CTextRenderer::MarkBefore(int line, const char* chars, int len, int x, int tabWidth,
                                                 TextEncoding encoding) const
{
    const LineMarks& m = m_lineMarks;
    if (!m.Of(line, chars, len, tabWidth, encoding))
        return {};
    auto after = std::upper_bound(m.marks.begin(), m.marks.end(), x,
                                  [](int index, const textlayout::ColumnMark& mark) { return index < mark.index; });
    return after == m.marks.begin() ? textlayout::ColumnMark() : *(after - 1);
}

LineState CTextRenderer::StateInLine(ITextPaintSource& source, int line, LineState in, const char* chars,
                                     int from)
{
    if (m_lineWindow.line == line && m_lineWindow.from == from && m_lineWindow.in == in)
        return m_lineWindow.state;
    // The state after chars[0, from): the prefix is classified with a
    // backslash appended, so that a line comment running on at "from" keeps
    // its state instead of ending with the (shortened) line.
    std::string prefix(chars, static_cast<size_t>(from));
    prefix.push_back('\\');
    int n = 0;
    LineState state = source.ClassifyLine(in, prefix.data(), static_cast<int>(prefix.size()), nullptr, 0, n);
    m_lineWindow = {line, from, in, state};
    return state;
}

void CTextRenderer::RenderLine(CPixelCanvas& canvas, const wxRect& rect, const wxRect& paintClip, int line,
                               const TextPaintFrame& frame, ITextPaintSource& source)
{
    wxRect clip = paintClip.IsEmpty() ? rect : rect.Intersect(paintClip);
    canvas.SetClip(clip);
    if (line < 0 || line >= source.LineCount()) {
        canvas.Fill(clip, source.BackColor(CI_WHITESPACE));
        return;
    }
    if (clip.IsEmpty())
        return;
    const int cw = frame.charWidth;
    const int tabWidth = frame.tabWidth;
    const int firstColumn = frame.firstColumn;
    const int len = source.LineLength(line);
    const char* chars = source.LineChars(line);
    COLORREF overrideBack = 0, overrideText = 0;
    bool overrideWhitespace = frame.showWhitespace;
    const bool overridden = source.LineColorOverride(line, overrideBack, overrideText, overrideWhitespace);
    const bool showWhitespace = overridden ? overrideWhitespace : frame.showWhitespace;
    const COLORREF lineBack = overridden ? overrideBack : source.BackColor(CI_WND);
    canvas.Fill(clip, lineBack);

    // Only the columns inside the repainted area are laid out and drawn.
    const int colFrom = firstColumn + std::max(0, (clip.x - rect.x) / cw);
    const int colTo = firstColumn + (clip.x + clip.width - rect.x + cw - 1) / cw + 1;
    const TextEncoding encoding = source.Encoding();
    const bool utf8 = encoding == TextEncoding::Utf8;
    int startCol = 0;
    const int startChar = StartOfPaint(line, chars, len, colFrom, tabWidth, encoding, startCol);
    int endChar = startChar;
    for (int col = startCol; endChar < len && col < colTo;) {
        int next = endChar + 1;
        col += textlayout::CharCells(chars, len, endChar, col, tabWidth, encoding, next);
        endChar = next;
    }

    int runCount = 0;
    if (len > 0) {
        LineState in = source.GetLineState(line - 1);
        int cut = SafeCut(chars, len, endChar);
        // Far into a very long line only a window before the visible part is
        // classified, starting in the state the line has there.
        int from = startChar > g_longLineWindow ? WindowStart(chars, startChar) : 0;
        LineState windowState = from > 0 ? StateInLine(source, line, in, chars, from) : in;
        int capacity = std::min(CJavaColoring::RunCapacityFor(cut - from), kMaxPaintRuns);
        if (m_runs.size() < static_cast<size_t>(capacity))
            m_runs.resize(static_cast<size_t>(capacity));
        LineState out =
            source.ClassifyLine(windowState, chars + from, cut - from, m_runs.data(), capacity, runCount);
        if (from == 0 && cut == len)
            source.StoreLineState(line, out);
        runCount = std::clamp(runCount, 0, capacity);
        for (int r = 0; r < runCount && from > 0; ++r)
            m_runs[static_cast<size_t>(r)].start += from;
    }

    const TextPos selStart = frame.selStart, selEnd = frame.selEnd;
    int selFrom = -1, selTo = -1;
    if (frame.showSelection && selStart.y <= line && line <= selEnd.y) {
        selFrom = selStart.y == line ? selStart.x : 0;
        selTo = selEnd.y == line ? selEnd.x : len;
    }

    int col = startCol;
    // Lays out characters [from, to) at the running column and draws their
    // visible cells.
    auto drawCells = [&](int from, int to, int font, COLORREF fg, COLORREF bg) {
        const std::u32string cells =
            textlayout::ExpandForDisplay(chars, from, to - from, col, tabWidth, showWhitespace, encoding);
        const int first = col;
        col += static_cast<int>(cells.size());
        int drop = std::max(0, colFrom - first);
        if (drop >= static_cast<int>(cells.size()))
            return;
        // A wide character across the left edge is drawn whole; the clip cuts it.
        if (cells[static_cast<size_t>(drop)] == textlayout::kWideTail)
            --drop;
        int x = rect.x + (first + drop - firstColumn) * cw;
        int n = static_cast<int>(cells.size()) - drop;
        if (bg != lineBack)
            canvas.Fill(wxRect(x, rect.y, n * cw, rect.height), bg);
        for (int k = 0; k < n; ++k, x += cw) {
            const char32_t glyph = cells[static_cast<size_t>(drop + k)];
            if (glyph != U' ' && glyph != textlayout::kWideTail)
                canvas.DrawGlyph(x, rect.y, m_glyphs.Get(font, glyph), fg);
        }
    };
    // A colour run or selection bound inside a UTF-8 character moves to its
    // end, so that a character is always drawn whole in one colour.
    auto whole = [&](int x) {
        return utf8 && x < len && !utf8::IsBoundary(chars, len, x) ? utf8::Next(chars, len, x) : x;
    };
    auto paintPiece = [&](int from, int to, int cls) {
        if (to <= from)
            return;
        int font = (source.IsClassBold(cls) ? CGlyphCache::kBold : 0) +
                   (source.IsClassItalic(cls) ? CGlyphCache::kItalic : 0);
        COLORREF fg = overridden ? overrideText : source.TextColor(cls);
        COLORREF bg = overridden ? overrideBack : source.BackColor(cls);
        // Characters inside the selection take the selection's colours.
        int a = selFrom >= 0 ? std::clamp(whole(selFrom), from, to) : to;
        int b = selFrom >= 0 ? std::clamp(whole(selTo), from, to) : to;
        if (a >= b) {
            drawCells(from, to, font, fg, bg);
            return;
        }
        if (a > from)
            drawCells(from, a, font, fg, bg);
        drawCells(a, b, font, source.TextColor(CI_SELECTION), source.BackColor(CI_SELECTION));
        if (b < to)
            drawCells(b, to, font, fg, bg);
    };

    if (startChar < endChar) {
        const ColorBlock* runs = m_runs.data();
        // The run that covers startChar: the last one starting at or before it.
        int r = static_cast<int>(std::upper_bound(runs, runs + runCount, startChar,
                                                  [](int v, const ColorBlock& b) { return v < b.start; }) -
                                 runs) - 1;
        int pos = startChar;
        while (pos < endChar) {
            int cls = r >= 0 ? runs[r].colorClass : CI_WND;
            int next = r + 1 < runCount ? std::max(whole(runs[r + 1].start), pos) : len;
            int to = std::min(next, endChar);
            paintPiece(pos, to, cls);
            pos = to;
            ++r;
        }
    }

    // The selected line break.
    if (selFrom >= 0 && TextPos(len, line) >= selStart && TextPos(len, line) < selEnd) {
        int endCol = source.DisplayLength(line);
        if (endCol >= colFrom - 1 && endCol < colTo)
            canvas.Fill(wxRect(rect.x + (endCol - firstColumn) * cw, rect.y, cw, rect.height),
                        source.BackColor(CI_SELECTION));
    }

    // The partner of the brace at the caret.
    int matchX = 0;
    char matchChar = 0;
    if (source.BraceMatchOnLine(line, matchX, matchChar)) {
        int mc = textlayout::DisplayColumn(chars, len, matchX, tabWidth, encoding);
        if (mc >= colFrom - 1 && mc < colTo) {
            int x = rect.x + (mc - firstColumn) * cw;
            canvas.Fill(wxRect(x, rect.y, cw, rect.height), source.BackColor(CI_BRACEMATCH));
            canvas.DrawGlyph(x, rect.y,
                             m_glyphs.Get(CGlyphCache::kBold,
                                          textlayout::DisplayGlyph(static_cast<unsigned char>(matchChar))),
                             source.TextColor(CI_BRACEMATCH));
        }
    }

    if (frame.drawGuide && frame.guidePosition > 0) {
        int x = rect.x + cw * (frame.guidePosition - firstColumn - 1);
        if (x >= rect.x)
            canvas.DottedVLine(x, rect.y, rect.y + rect.height, source.TextColor(CI_COLUMNGUIDE));
    }

    if (m_runs.size() > 65536)
        std::vector<ColorBlock>().swap(m_runs);
}
