// Pagination of a text for printing: which lines go on which page, where the
// text area and the header and footer bands lie, and how a line wraps. The
// measurement of a line is passed in, so the layout knows nothing of fonts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace printing {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Rectangle with left <= right and top <= bottom.
Rect Normalised(Rect r);

// Page margins in hundredths of a millimetre.
struct Margins {
    int left = 1000, right = 1000, top = 1000, bottom = 1000;
};

// Hundredths of a millimetre in device units at dotsPerInch (rounded to nearest).
int HundredthsMmToDevice(int hundredthsMm, int dotsPerInch);

// "%4d: " for a 1-based line number appended to cells; returns its length.
int AppendLineNumberPrefix(std::u32string& cells, int lineNumber);
// The length AppendLineNumberPrefix appends, without making the text.
int LineNumberPrefixLength(int lineNumber);

// Rows of a word-wrapped line of cells: each row is [begin, end) into the
// cells. A row breaks after the last blank that fits; a word longer than a
// row breaks inside it. cellsPerRow < 1 counts as 1. An empty line is one row.
struct Row {
    int begin, end;
};
std::vector<Row> WrapCells(std::u32string_view cells, int cellsPerRow, char32_t wideTail = 0xFFFFFFFE);
// The same rows into rows (cleared first), whose capacity the caller keeps.
void WrapCellsInto(std::vector<Row>& rows, std::u32string_view cells, int cellsPerRow,
                   char32_t wideTail = 0xFFFFFFFE);

class CPrintLayout {
public:
    // Height in device units of line i printed in a rectangle width wide.
    using MeasureLine = std::function<int(int line, int width)>;
    // Whether line i has no characters (it then takes one line height).
    using IsEmptyLine = std::function<bool(int line)>;

    // The state of a new view: no header, a footer.
    bool header = false;
    bool footer = true;

    bool HasLayout() const { return m_pageCount > 0; }
    int PageCount() const { return m_pageCount; }
    int LineHeight() const { return m_lineHeight; }
    const Rect& PageRect() const { return m_page; }
    const Rect& TextArea() const { return m_text; }
    const std::vector<int32_t>& PageStarts() const { return m_starts; }

    // Lays lineCount lines (at least one) out into pages of pageRect.
    void Layout(const Rect& pageRect, const Margins& margins, int dotsPerInch, int lineHeight, int lineCount,
                const IsEmptyLine& isEmpty, const MeasureLine& measure);
    // Forgets the layout (page count 0).
    void Discard();

    // Lines [first, end) of 1-based page k; false when k is not laid out.
    bool PageLines(int page, int lineCount, int& first, int& end) const;

    // The bands above and below the text area (empty when switched off).
    Rect HeaderBand() const;
    Rect FooterBand() const;

    // The footer format (two %d: the page, the page count) filled in.
    std::string FooterText(const std::string& format, int page) const;

private:
    int BandHeight() const { return m_lineHeight + m_lineHeight / 2; }
    void StartPage(int line);

    int m_lineHeight = 0;
    Rect m_page, m_text;
    std::vector<int32_t> m_starts;
    int m_pageCount = 0;
};

} // namespace printing
