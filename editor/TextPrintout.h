// The printout of a text view for wx's printing framework and for the PDF
// printer: pages laid out from the view's text when a job starts, drawn in the
// view's font with its tab width, white-space marks and line numbers, with a
// footer "Page %d/%d" centred below the text. The layout ends with the job.
#pragma once

#include "editor/PdfTextWriter.h"
#include "editor/PrintLayout.h"
#include "text/TextEncoding.h"

#include <wx/font.h>
#include <wx/prntbase.h>
#include <wx/weakref.h>

#include <memory>
#include <string>
#include <vector>

class CTextView;

class CTextPrintout : public wxPrintout {
public:
    explicit CTextPrintout(CTextView* view, const wxString& title = wxString::FromUTF8("Kib"));

    void OnPreparePrinting() override;
    void OnEndPrinting() override;
    bool HasPage(int page) override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool OnPrintPage(int page) override;

    const printing::CPrintLayout& Layout() const { return m_layout; }
    // The font of the last layout, at its printed size.
    const wxFont& PrintFont() const { return m_font; }
    int CharWidth() const { return m_charWidth; }

    // One text line as printed: the line-number prefix and the expanded text
    // as cells, cut into rows that fit cellsPerRow; rows after the first are
    // indented by the prefix, so that measuring and drawing agree.
    struct PrintedLine {
        std::u32string cells; // prefix followed by the line's display cells
        int prefix = 0;       // cells of the line-number prefix
        std::vector<printing::Row> rows;
    };
    // Made into out, whose buffers are reused line after line.
    static void MakePrintedLine(PrintedLine& out, const char* chars, int length, int lineNumber, bool lineNumbers,
                                int tabWidth, bool showWhitespace, TextEncoding encoding, int cellsPerRow);

    // The face the rows on the cell grid are printed in, for a PDF writer of
    // its own, after the job's layout: its file (a single face, without
    // synthetic emboldening or slant), size in device units and the
    // horizontal scale that makes its advance the cell width. False where
    // the printout draws no grid.
    struct GridFace {
        std::string file;
        double size = 0;
        double widthScale = 1;
    };
    bool GetGridFace(GridFace& face) const;
    // The glyphs of a page in the grid face, footer first, at the positions
    // OnPrintPage draws them; false when a character of the page has no
    // glyph there (or is wide).
    bool GridPage(int page, std::vector<pdf::Glyph>& glyphs);

private:
    bool EnsureLayout();
    // Logical units of the DC become printer pixels, whatever the DC's size
    // (the preview draws into a bitmap of the zoomed page).
    void MapToPrinterPixels();
    void ChooseFont(wxDC& dc);
    // Line as printed, in a buffer that the next call overwrites.
    const PrintedLine& LineAt(int line);
    // Rows of the line as printed, without expanding a line that fits a row.
    int RowCount(int line);
    void DrawFooter(wxDC& dc, int page);
    std::string FooterText(int page) const;
    // Calls rows(printed, rowCount, x, y) for the lines of the page, in
    // device units; stops with false when rows does.
    template <class F>
    bool ForPageRows(int page, F&& rows);
    void DrawRows(wxDC& dc, const PrintedLine& printed, size_t rows, int x, int y);

    // Where the DC draws through cairo, the text goes straight to Pango with
    // one layout for the whole job (measured and drawn with the same font
    // size), which is many times faster than a DC text call per row.
    struct PangoText;
    std::unique_ptr<PangoText, void (*)(PangoText*)> m_pango{nullptr, nullptr};

    wxWeakRef<CTextView> m_view;
    printing::CPrintLayout m_layout;
    wxFont m_font;
    int m_charWidth = 1;
    int m_cellsPerRow = 1;
    PrintedLine m_line;
};
