// Draws a text view's lines and margin onto its CPixelCanvas: colour runs,
// selection, the brace partner, white space marks, the column guide, line
// numbers and bookmark icons. It reads the text through ITextPaintSource and
// the layout of one paint from TextPaintFrame, and changes neither.
#pragma once

#include "editor/GlyphCache.h"
#include "editor/JavaColoring.h"
#include "editor/PixelCanvas.h"
#include "editor/TextLines.h"
#include "editor/TextPos.h"
#include "text/TextLayout.h"

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <cstdint>
#include <vector>

// What the renderer asks of the view about the text.
class ITextPaintSource : public ITextLines {
public:
    virtual uint32_t LineFlags(int line) const = 0;
    // Display columns of the whole line.
    virtual int DisplayLength(int line) = 0;
    // The classifier state at the end of line (line -1: the start state).
    virtual LineState GetLineState(int line) = 0;
    virtual LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs,
                                   int runCapacity, int& runCount) = 0;
    // The end state of a whole line, found while painting it.
    virtual void StoreLineState(int line, LineState state) = 0;
    virtual bool LineColorOverride(int line, COLORREF& back, COLORREF& text, bool& drawWhitespace) = 0;
    virtual COLORREF TextColor(int colorClass) const = 0;
    virtual COLORREF BackColor(int colorClass) const = 0;
    virtual bool IsClassItalic(int colorClass) const = 0;
    virtual bool IsClassBold(int colorClass) const = 0;
    // The column and character of the highlighted brace partner on line.
    virtual bool BraceMatchOnLine(int line, int& column, char& partner) const = 0;
};

// The layout and selection of one paint.
struct TextPaintFrame {
    int topLine = 0;
    int firstColumn = 0;
    int lineHeight = 1;
    int charWidth = 1;
    int tabWidth = 4;
    int marginWidth = 0;
    int clientWidth = 0;
    bool showWhitespace = false;
    bool selectionMargin = true;
    bool lineNumbers = true;
    bool drawGuide = false;
    int guidePosition = 80;
    // The selection in text order; drawn only when showSelection is set.
    bool showSelection = false;
    TextPos selStart;
    TextPos selEnd;
};

class CTextRenderer {
public:
    static constexpr int kIconSize = 12;
    static constexpr COLORREF kMarginEdgeColor = 0xD4ACAC;

    // The lines whose slots meet box (window pixels), margin and text.
    void RenderArea(CPixelCanvas& canvas, const wxRect& box, const TextPaintFrame& frame,
                    ITextPaintSource& source);
    // One line's text part into rect, drawing only inside clip (empty: all
    // of rect); line -1 or past the end: the background alone.
    void RenderLine(CPixelCanvas& canvas, const wxRect& rect, const wxRect& clip, int line,
                    const TextPaintFrame& frame, ITextPaintSource& source);
    void RenderMargin(CPixelCanvas& canvas, const wxRect& rect, const wxRect& clip, int line,
                      const TextPaintFrame& frame, ITextPaintSource& source);

    CGlyphCache& Glyphs() { return m_glyphs; }
    // Forgets what was kept of the text (a new text, an edit).
    void ForgetLineWindow()
    {
        m_lineWindow = LineWindow();
        m_lineMarks = LineMarks();
    }
    void Reset();
    // The last of the places kept for the line at or before character x
    // (none kept: the line's start).
    textlayout::ColumnMark MarkBefore(int line, const char* chars, int len, int x, int tabWidth,
                                      TextEncoding encoding) const;

    // How far into a line painting classifies from the line's start; past it
    // a window before the visible part is classified.
    static void SetLongLineWindow(int chars);

private:
    int WindowStart(const char* chars, int startChar) const;
    LineState StateInLine(ITextPaintSource& source, int line, LineState in, const char* chars, int from);
    // Where painting of the line starts for column wanted.
    int StartOfPaint(int line, const char* chars, int len, int wanted, int tabWidth, TextEncoding encoding,
                     int& startColumn);
    const std::vector<wxImage>& MarginIcons();

    CGlyphCache m_glyphs;
    std::vector<ColorBlock> m_runs;
    std::vector<wxImage> m_icons;
    // The classifier state at a place inside a very long line, for painting
    // a window of it (forgotten with every change).
    struct LineWindow {
        int line = -1;
        int from = 0;
        LineState in = 0;
        LineState state = 0;
    } m_lineWindow;
    // Places inside the last very long line painted right of its start, so
    // that a repaint there does not walk the line from its start (forgotten
    // with every change).
    struct LineMarks {
        int line = -1;
        const char* chars = nullptr;
        int len = 0;
        int tabWidth = 0;
        TextEncoding encoding = TextEncoding::Cp1252;
        std::vector<textlayout::ColumnMark> marks;
        bool Of(int l, const char* c, int n, int tab, TextEncoding e) const
        {
            return line == l && chars == c && len == n && tabWidth == tab && encoding == e;
        }
    } m_lineMarks;
};
