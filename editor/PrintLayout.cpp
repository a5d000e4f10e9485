#include "editor/PrintLayout.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace printing {

Rect Normalised(Rect r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

int HundredthsMmToDevice(int hundredthsMm, int dotsPerInch)
{
    // 1 inch = 2540 hundredths of a millimetre.
    long long v = static_cast<long long>(hundredthsMm) * dotsPerInch;
    return static_cast<int>(v >= 0 ? (v + 1270) / 2540 : (v - 1270) / 2540);
}

namespace {
constexpr int kLineNumberWidth = 4;
} // namespace

int AppendLineNumberPrefix(std::u32string& cells, int lineNumber)
{
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, lineNumber);
    const int n = static_cast<int>(end - digits);
    const size_t before = cells.size();
    if (n < kLineNumberWidth)
        cells.append(static_cast<size_t>(kLineNumberWidth - n), U' ');
    cells.append(digits, end);
    cells.append(U": ");
    return static_cast<int>(cells.size() - before);
}

int LineNumberPrefixLength(int lineNumber)
{
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, lineNumber);
    return std::max(kLineNumberWidth, static_cast<int>(end - digits)) + 2;
}

std::vector<Row> WrapCells(std::u32string_view cells, int cellsPerRow, char32_t wideTail)
{
    std::vector<Row> rows;
    WrapCellsInto(rows, cells, cellsPerRow, wideTail);
    return rows;
}

void WrapCellsInto(std::vector<Row>& rows, std::u32string_view cells, int cellsPerRow, char32_t wideTail)
{
    const int n = static_cast<int>(cells.size());
    cellsPerRow = std::max(cellsPerRow, 1);
    rows.clear();
    int begin = 0;
    while (n - begin > cellsPerRow) {
        int limit = begin + cellsPerRow;
        // Break after the last blank within the row, else at the row's end
        // (never between a wide character and its tail).
        int cut = -1;
        for (int i = limit; i > begin; --i)
            if (cells[i - 1] == U' ') {
                cut = i;
                break;
            }
        if (cut < 0) {
            cut = limit;
            if (cells[cut] == wideTail && cut - 1 > begin)
                --cut;
        }
        rows.push_back({begin, cut});
        begin = cut;
    }
    rows.push_back({begin, n});
}

void CPrintLayout::Discard()
{
    m_starts.clear();
    m_starts.shrink_to_fit();
    m_pageCount = 0;
}

void CPrintLayout::StartPage(int line)
{
    // The array of page starts grows 32 entries at a time.
    if (m_starts.size() == m_starts.capacity())
        m_starts.reserve(m_starts.capacity() + 32);
    m_starts.push_back(line);
    ++m_pageCount;
}

void CPrintLayout::Layout(const Rect& pageRect, const Margins& margins, int dotsPerInch, int lineHeight,
                          int lineCount, const IsEmptyLine& isEmpty, const MeasureLine& measure)
{
    Discard();
    m_page = Normalised(pageRect);
    m_lineHeight = std::max(lineHeight, 1);
    m_text = m_page;
    m_text.left += HundredthsMmToDevice(margins.left, dotsPerInch);
    m_text.top += HundredthsMmToDevice(margins.top, dotsPerInch);
    m_text.right -= HundredthsMmToDevice(margins.right, dotsPerInch);
    m_text.bottom -= HundredthsMmToDevice(margins.bottom, dotsPerInch);
    if (header)
        m_text.top += BandHeight();
    if (footer)
        m_text.bottom -= BandHeight();

    const int width = m_text.Width();
    auto height = [&](int line) { return isEmpty(line) ? m_lineHeight : measure(line, width); };
    lineCount = std::max(lineCount, 1);
    StartPage(0);
    long long y = m_text.top + static_cast<long long>(height(0));
    for (int i = 1; i < lineCount; ++i) {
        int h = height(i);
        y += h;
        if (y > m_text.bottom) {
            StartPage(i);
            y = m_text.top + static_cast<long long>(h);
        }
    }
}

bool CPrintLayout::PageLines(int page, int lineCount, int& first, int& end) const
{
    if (page < 1 || page > m_pageCount)
        return false;
    first = m_starts[page - 1];
    end = page < m_pageCount ? m_starts[page] : std::max(lineCount, 1);
    return true;
}

Rect CPrintLayout::HeaderBand() const
{
    if (!header)
        return {m_text.left, m_text.top, m_text.right, m_text.top};
    return {m_text.left, m_text.top - BandHeight(), m_text.right, m_text.top};
}

Rect CPrintLayout::FooterBand() const
{
    if (!footer)
        return {m_text.left, m_text.bottom, m_text.right, m_text.bottom};
    return {m_text.left, m_text.bottom, m_text.right, m_text.bottom + BandHeight()};
}

std::string CPrintLayout::FooterText(const std::string& format, int page) const
{
    char buf[256];
    std::snprintf(buf, sizeof buf, format.c_str(), page, m_pageCount);
    return buf;
}

} // namespace printing
