#include "editor/TextPrintout.h"

#include "editor/TextView.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "settings/Profile.h"
#include "text/TextLayout.h"
#include "text/Utf8.h"

#include <wx/dc.h>
#include <wx/dcscreen.h>
#include <wx/graphics.h>

#if defined(__WXGTK__) && wxUSE_CAIRO
#include <wx/fontutil.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-font.h>
#define KIB_PRINT_PANGO 1
#endif

#include <algorithm>
#include <cmath>

namespace {

constexpr char kPageSetup[] = "PageSetup";

printing::Margins ReadMargins()
{
    printing::Margins m;
    // Negative values would move the text off the paper.
    auto read = [](const char* name) { return std::max(0, profile::GetProfileInt(kPageSetup, name, 1000)); };
    m.left = read("LeftMargin");
    m.right = read("RightMargin");
    m.top = read("TopMargin");
    m.bottom = read("BottomMargin");
    return m;
}

wxString CellsText(const std::u32string& cells, int begin, int end)
{
    std::wstring text;
    text.reserve(static_cast<size_t>(end - begin));
    for (int i = begin; i < end; ++i)
        if (cells[static_cast<size_t>(i)] != textlayout::kWideTail)
            text.push_back(static_cast<wchar_t>(cells[static_cast<size_t>(i)]));
    return wxString(text);
}

int ScreenPpi()
{
    static const int ppi = [] {
        int y = wxScreenDC().GetPPI().y;
        return y > 0 ? y : 96;
    }();
    return ppi;
}

#ifdef KIB_PRINT_PANGO
cairo_t* CairoOf(wxDC& dc)
{
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (!gc || gc->GetRenderer() != wxGraphicsRenderer::GetCairoRenderer())
        return nullptr;
    return static_cast<cairo_t*>(gc->GetNativeContext());
}
#endif

} // namespace

#ifdef KIB_PRINT_PANGO
struct CTextPrintout::PangoText {
    PangoFontDescription* font = nullptr;
    PangoLayout* layout = nullptr;
    cairo_t* cr = nullptr;
    int naturalHeight = 0; // of one row, in Pango units
    // The primary face for rows it has every glyph of: glyphs put straight
    // onto the cell grid, without shaping (rows of other text go through
    // the layout, which finds fallback fonts).
    cairo_scaled_font_t* scaled = nullptr;
    double size = 0, baseline = 0;
    // Horizontal scale of the grid's glyphs that makes their advance the
    // cell width: the PDF then carries each row as one plain string instead
    // of a position correction after every glyph or two (a third of the
    // file and of the time cairo spends on a page).
    double widthScale = 1;
    // The face's file where it is one plain face: embeddable by a writer
    // that draws the grid without cairo.
    std::string faceFile;

    ~PangoText()
    {
        if (layout)
            g_object_unref(layout);
        if (font)
            pango_font_description_free(font);
        if (scaled)
            cairo_scaled_font_destroy(scaled);
    }
    void TakePrimaryFace(double fontSize)
    {
        size = fontSize;
        baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
        PangoFont* loaded = pango_context_load_font(pango_layout_get_context(layout), font);
        if (loaded && PANGO_IS_CAIRO_FONT(loaded))
            if (cairo_scaled_font_t* sf = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(loaded)))
                scaled = cairo_scaled_font_reference(sf);
        if (loaded && PANGO_IS_FC_FONT(loaded))
            if (FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(loaded))) {
                FcChar8* file = nullptr;
                int index = 0;
                FcBool embolden = FcFalse;
                FcMatrix* matrix = nullptr;
                const bool plain =
                    FcPatternGetString(pattern, FC_FILE, 0, &file) == FcResultMatch &&
                    (FcPatternGetInteger(pattern, FC_INDEX, 0, &index) != FcResultMatch || index == 0) &&
                    (FcPatternGetBool(pattern, FC_EMBOLDEN, 0, &embolden) != FcResultMatch || !embolden) &&
                    (FcPatternGetMatrix(pattern, FC_MATRIX, 0, &matrix) != FcResultMatch ||
                     (matrix->xx == 1 && matrix->yy == 1 && matrix->xy == 0 && matrix->yx == 0));
                if (plain)
                    faceFile = reinterpret_cast<const char*>(file);
            }
        if (loaded)
            g_object_unref(loaded);
    }
    void FitAdvanceTo(int cellWidth)
    {
        widthScale = 1;
        if (!scaled)
            return;
        cairo_text_extents_t x{};
        cairo_scaled_font_text_extents(scaled, "X", &x);
        // Cells are the advance rounded up to whole device units; anything
        // else is not the face the cells were measured with.
        if (x.x_advance > 0 && std::abs(cellWidth - x.x_advance) <= 1.0)
            widthScale = cellWidth / x.x_advance;
    }
    // Glyphs of the page that sit on the cell grid, drawn in one call at the
    // page's end (each call costs the PDF surface far more than a glyph).
    std::string batchText;
    std::vector<cairo_glyph_t> batchGlyphs;
    std::vector<cairo_text_cluster_t> batchClusters;

    // Glyph of a character in the primary face, 0 when it has none. Asking
    // cairo costs a conversion and a lock per call; the characters of a
    // document are few.
    std::vector<uint32_t> glyphOf; // by character below 0x10000, kUnknown unless asked
    static constexpr uint32_t kUnknown = 0xFFFFFFFF;
    unsigned long GlyphOf(char32_t c)
    {
        if (c < 0x10000 && glyphOf.empty())
            glyphOf.assign(0x10000, kUnknown);
        if (c < 0x10000 && glyphOf[c] != kUnknown)
            return glyphOf[c];
        std::string utf8;
        utf8::Append(utf8, c);
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        unsigned long index = 0;
        if (cairo_scaled_font_text_to_glyphs(scaled, 0, 0, utf8.data(), static_cast<int>(utf8.size()), &glyphs,
                                             &count, nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
            count == 1)
            index = glyphs[0].index;
        cairo_glyph_free(glyphs);
        if (c < 0x10000)
            glyphOf[c] = static_cast<uint32_t>(index);
        return index;
    }

    // Calls put(glyph, character, x, baseline y) for the rows' cells on the
    // grid; false at the first character the face has no glyph of, or a
    // wide one.
    template <class Put>
    bool EachOnGrid(const PrintedLine& printed, size_t rows, double x, double y, int lineHeight, int cellWidth,
                    Put&& put)
    {
        if (!scaled)
            return false;
        for (size_t r = 0; r < rows; ++r) {
            // Row 0 starts with the prefix; later rows are indented by it.
            const printing::Row& row = printed.rows[r];
            const int begin = r == 0 ? 0 : row.begin;
            const int indent = r == 0 ? 0 : printed.prefix;
            const double rowY = y + static_cast<double>(r) * lineHeight + baseline;
            for (int i = begin; i < row.end; ++i) {
                const char32_t c = printed.cells[static_cast<size_t>(i)];
                const unsigned long glyph = c == textlayout::kWideTail ? 0 : GlyphOf(c);
                if (glyph == 0)
                    return false;
                put(glyph, c, x + static_cast<double>(indent + i - begin) * cellWidth, rowY);
            }
        }
        return true;
    }
    // Adds the rows' cells to the page's glyphs, one glyph and one cluster
    // per character; false (nothing added) when EachOnGrid fails.
    bool AddOnGrid(const PrintedLine& printed, size_t rows, double x, double y, int lineHeight, int cellWidth)
    {
        const size_t glyphMark = batchGlyphs.size(), clusterMark = batchClusters.size(), textMark = batchText.size();
        const bool all = EachOnGrid(printed, rows, x, y, lineHeight, cellWidth,
                                    [this](unsigned long glyph, char32_t c, double gx, double gy) {
                                        const size_t before = batchText.size();
                                        utf8::Append(batchText, c);
                                        batchGlyphs.push_back({glyph, gx, gy});
                                        batchClusters.push_back({static_cast<int>(batchText.size() - before), 1});
                                    });
        if (!all) {
            batchGlyphs.resize(glyphMark);
            batchClusters.resize(clusterMark);
            batchText.resize(textMark);
        }
        return all;
    }
    void FlushGrid(cairo_t* cr)
    {
        if (!batchGlyphs.empty()) {
            cairo_save(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_set_font_face(cr, cairo_scaled_font_get_font_face(scaled));
            cairo_matrix_t matrix;
            cairo_matrix_init_scale(&matrix, size * widthScale, size);
            cairo_set_font_matrix(cr, &matrix);
            cairo_show_text_glyphs(cr, batchText.data(), static_cast<int>(batchText.size()), batchGlyphs.data(),
                                   static_cast<int>(batchGlyphs.size()), batchClusters.data(),
                                   static_cast<int>(batchClusters.size()), cairo_text_cluster_flags_t{});
            cairo_restore(cr);
        }
        batchText.clear();
        batchGlyphs.clear();
        batchClusters.clear();
    }
    // The layout drawing onto cr (made anew when the page's context changes).
    PangoLayout* On(cairo_t* target)
    {
        if (target != cr || !layout) {
            if (layout)
                g_object_unref(layout);
            layout = pango_cairo_create_layout(target);
            pango_layout_set_font_description(layout, font);
            cr = target;
        } else {
            pango_cairo_update_layout(target, layout);
        }
        return layout;
    }
    PangoRectangle Extent(cairo_t* target, const char* text)
    {
        PangoLayout* l = On(target);
        pango_layout_set_text(l, text, -1);
        PangoRectangle logical{};
        pango_layout_get_extents(l, nullptr, &logical);
        return logical;
    }
    static void Free(PangoText* p) { delete p; }
};
#else
struct CTextPrintout::PangoText {
    static void Free(PangoText* p) {}
};
#endif

CTextPrintout::CTextPrintout(CTextView* view, const wxString& title) : wxPrintout(title), m_view(view) {}

void CTextPrintout::MakePrintedLine(PrintedLine& out, const char* chars, int length, int lineNumber,
                                    bool lineNumbers, int tabWidth, bool showWhitespace, TextEncoding encoding,
                                    int cellsPerRow)
{
    out.cells.clear();
    out.prefix = lineNumbers ? printing::AppendLineNumberPrefix(out.cells, lineNumber) : 0;
    textlayout::AppendForDisplay(out.cells, chars, 0, length, 0, tabWidth, showWhitespace, encoding);
    // The text wraps beside the prefix; a page too narrow for the prefix
    // still gets one cell a row.
    const std::u32string_view text = std::u32string_view(out.cells).substr(static_cast<size_t>(out.prefix));
    printing::WrapCellsInto(out.rows, text, std::max(1, cellsPerRow - out.prefix), textlayout::kWideTail);
    for (printing::Row& r : out.rows) {
        r.begin += out.prefix;
        r.end += out.prefix;
    }
}

const CTextPrintout::PrintedLine& CTextPrintout::LineAt(int line)
{
    CTextView* v = m_view.get();
    MakePrintedLine(m_line, v->LineChars(line), v->LineLength(line), line + 1, v->GetLineNumbers(),
                    v->GetTabWidth(), v->GetShowWhitespace(), v->Encoding(), m_cellsPerRow);
    return m_line;
}

int CTextPrintout::RowCount(int line)
{
    // A single-byte line has a cell per byte and a tab's cells up to the
    // next stop; when they fit beside the prefix it is one row. Other lines
    // (UTF-8 characters may be wide) are wrapped as they are drawn.
    CTextView* v = m_view.get();
    const char* chars = v->LineChars(line);
    const int length = v->LineLength(line);
    const TextEncoding encoding = v->Encoding();
    if (encoding == TextEncoding::Cp1252 ||
        textencoding::IsAscii(std::string_view(chars, static_cast<size_t>(std::max(0, length))))) {
        const int prefix = v->GetLineNumbers() ? printing::LineNumberPrefixLength(line + 1) : 0;
        if (textlayout::DisplayLength(chars, length, v->GetTabWidth(), encoding) <= std::max(1, m_cellsPerRow - prefix))
            return 1;
    }
    return static_cast<int>(LineAt(line).rows.size());
}

void CTextPrintout::MapToPrinterPixels()
{
    wxDC* dc = GetDC();
    int dw = 0, dh = 0, pw = 0, ph = 0;
    dc->GetSize(&dw, &dh);
    GetPageSizePixels(&pw, &ph);
    const double scale = dw > 0 && pw > 0 ? static_cast<double>(dw) / pw : 1.0;
    dc->SetUserScale(scale, scale);
    dc->SetLogicalOrigin(0, 0);
}

void CTextPrintout::ChooseFont(wxDC& dc)
{
    // The view's font at the size it has on screen, in printer pixels. The
    // point size is corrected by measuring, since DCs differ in how they
    // turn points into their units.
    CTextView* v = m_view.get();
    wxFont font = v->TextFont();
    int ppx = 0, ppy = 0;
    GetPPIPrinter(&ppx, &ppy);
    if (ppy <= 0)
        ppy = 72;
    const double wanted = static_cast<double>(v->GetFontHeight()) * ppy / ScreenPpi();
    double points = font.GetFractionalPointSize() > 0 ? font.GetFractionalPointSize() : 10.0;
    for (int i = 0; i < 2; ++i) {
        font.SetFractionalPointSize(points);
        dc.SetFont(font);
        wxCoord w = 0, h = 0;
        dc.GetTextExtent("X", &w, &h);
        if (h <= 0)
            break;
        points *= wanted / h;
    }
    font.SetFractionalPointSize(points);
    m_font = font;
}

void CTextPrintout::OnPreparePrinting()
{
    m_layout.Discard();
    EnsureLayout();
}

bool CTextPrintout::EnsureLayout()
{
    if (m_layout.HasLayout())
        return true;
    CTextView* v = m_view.get();
    wxDC* dc = GetDC();
    if (!v || !dc)
        return false;
    MapToPrinterPixels();
    ChooseFont(*dc);
    dc->SetFont(m_font);
    wxCoord w = 0, h = 0;
    dc->GetTextExtent("X", &w, &h);
    m_pango.reset();
#ifdef KIB_PRINT_PANGO
    if (cairo_t* cr = CairoOf(*dc); cr && m_font.GetNativeFontInfo()) {
        // The same target height as the DC's font; cells and rows in whole
        // device units, rounded up so that a row never outgrows the area.
        auto* text = new PangoText;
        m_pango = {text, &PangoText::Free};
        text->font = pango_font_description_copy(m_font.GetNativeFontInfo()->description);
        const double wanted = std::max(1, static_cast<int>(h));
        double size = wanted * 0.8;
        PangoRectangle x{};
        for (int i = 0; i < 3; ++i) {
            pango_font_description_set_absolute_size(text->font, size * PANGO_SCALE);
            pango_layout_set_font_description(text->On(cr), text->font);
            x = text->Extent(cr, "X");
            if (x.height <= 0)
                break;
            size *= wanted * PANGO_SCALE / x.height;
        }
        pango_font_description_set_absolute_size(text->font, size * PANGO_SCALE);
        pango_layout_set_font_description(text->On(cr), text->font);
        x = text->Extent(cr, "X");
        text->naturalHeight = x.height;
        text->TakePrimaryFace(size);
        w = (x.width + PANGO_SCALE - 1) / PANGO_SCALE;
        h = (x.height + PANGO_SCALE - 1) / PANGO_SCALE;
        text->FitAdvanceTo(static_cast<int>(w));
        // The layout object belongs to this DC; pages make their own.
        g_object_unref(text->layout);
        text->layout = nullptr;
        text->cr = nullptr;
    }
#endif
    m_charWidth = std::max(1, static_cast<int>(w));
    int pw = 0, ph = 0, ppx = 0, ppy = 0;
    GetPageSizePixels(&pw, &ph);
    GetPPIPrinter(&ppx, &ppy);
    const printing::Rect page{0, 0, pw, ph};
    const printing::Margins margins = ReadMargins();
    // The text area's width is known only inside Layout; the measurement
    // learns it from its width argument.
    const int lines = v->LineCount();
    m_layout.Layout(
        page, margins, ppx > 0 ? ppx : 72, std::max(1, static_cast<int>(h)), lines,
        [v](int line) { return v->LineLength(line) == 0; },
        [this, h](int line, int width) {
            m_cellsPerRow = std::max(1, width / m_charWidth);
            return RowCount(line) * std::max(1, static_cast<int>(h));
        });
    m_cellsPerRow = std::max(1, m_layout.TextArea().Width() / m_charWidth);
    return true;
}

void CTextPrintout::OnEndPrinting()
{
    // A preview renders every page as a job of its own; its layout lives as
    // long as the preview (the printout goes with it).
    if (!IsPreview())
        m_layout.Discard();
}

bool CTextPrintout::HasPage(int page)
{
    if (!m_layout.HasLayout())
        return page == 1;
    return page >= 1 && page <= m_layout.PageCount();
}

void CTextPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo)
{
    const int count = std::max(1, m_layout.PageCount());
    *minPage = 1;
    *maxPage = count;
    *pageFrom = 1;
    *pageTo = count;
}

std::string CTextPrintout::FooterText(int page) const
{
    return m_layout.FooterText(std::string(kib::KibText(kib::IDS_PRINT_FOOTER).utf8_str()), page);
}

void CTextPrintout::DrawFooter(wxDC& dc, int page)
{
    const printing::Rect band = m_layout.FooterBand();
    if (band.Height() <= 0)
        return;
    const std::string text = FooterText(page);
    // Centred by one measurement: a label would measure the line three
    // times, each a text layout of its own.
    const wxString label = wxString::FromUTF8(text);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(label, &w, &h);
    dc.DrawText(label, band.left + (band.Width() - w) / 2, band.top + (band.Height() - h) / 2);
}

template <class F>
bool CTextPrintout::ForPageRows(int page, F&& rowsOf)
{
    CTextView* v = m_view.get();
    int first = 0, end = 0;
    const int lineCount = v->LineCount();
    if (!m_layout.PageLines(page, lineCount, first, end))
        return true; // beyond the last page: nothing
    end = std::min(end, lineCount);
    const printing::Rect area = m_layout.TextArea();
    const int h = m_layout.LineHeight();
    int y = area.top;
    for (int line = first; line < end; ++line) {
        if (v->LineLength(line) == 0) {
            y += h;
            continue;
        }
        const PrintedLine& printed = LineAt(line);
        // A line taller than the area is cut at its bottom (its first row
        // is always printed).
        size_t rows = printed.rows.size();
        const int fit = std::max(1, (area.bottom - y) / h);
        if (static_cast<int>(rows) > fit)
            rows = static_cast<size_t>(fit);
        if (!rowsOf(printed, rows, area.left, y))
            return false;
        y += static_cast<int>(rows) * h;
        if (rows < printed.rows.size())
            break;
    }
    return true;
}

bool CTextPrintout::OnPrintPage(int page)
{
    CTextView* v = m_view.get();
    wxDC* dc = GetDC();
    if (!v || !dc || !EnsureLayout())
        return false;
    int first = 0, end = 0;
    if (!m_layout.PageLines(page, v->LineCount(), first, end))
        return true; // beyond the last page: nothing
    MapToPrinterPixels();
    dc->SetFont(m_font);
    dc->SetTextForeground(*wxBLACK);
    dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    if (m_layout.footer)
        DrawFooter(*dc, page);
    ForPageRows(page, [&](const PrintedLine& printed, size_t rows, int x, int y) {
        DrawRows(*dc, printed, rows, x, y);
        return true;
    });
#ifdef KIB_PRINT_PANGO
    if (m_pango)
        if (cairo_t* cr = CairoOf(*dc))
            m_pango->FlushGrid(cr);
#endif
    return true;
}

void CTextPrintout::DrawRows(wxDC& dc, const PrintedLine& printed, size_t rows, int x, int y)
{
    const int h = m_layout.LineHeight();
    // Row 0 starts with the prefix; later rows are indented by it.
    auto rowText = [&](size_t r) {
        const printing::Row& row = printed.rows[r];
        wxString text = r == 0 ? CellsText(printed.cells, 0, row.end) : CellsText(printed.cells, row.begin, row.end);
        return text;
    };
#ifdef KIB_PRINT_PANGO
    if (m_pango) {
        if (cairo_t* cr = CairoOf(dc)) {
            if (m_pango->AddOnGrid(printed, rows, x, y, h, m_charWidth))
                return;
            // One layout for all rows of the line, each exactly h apart.
            std::string utf8;
            for (size_t r = 0; r < rows; ++r) {
                if (r)
                    utf8 += '\n' + std::string(static_cast<size_t>(printed.prefix), ' ');
                utf8 += rowText(r).utf8_string();
            }
            PangoLayout* layout = m_pango->On(cr);
            pango_layout_set_spacing(layout, h * PANGO_SCALE - m_pango->naturalHeight);
            pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
            cairo_save(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_move_to(cr, x, y);
            pango_cairo_show_layout(cr, layout);
            cairo_restore(cr);
            return;
        }
    }
#endif
    for (size_t r = 0; r < rows; ++r)
        dc.DrawText(rowText(r), x + (r == 0 ? 0 : printed.prefix * m_charWidth), y + static_cast<int>(r) * h);
}

bool CTextPrintout::GetGridFace(GridFace& face) const
{
#ifdef KIB_PRINT_PANGO
    if (!m_pango || !m_pango->scaled || m_pango->faceFile.empty() || !m_layout.HasLayout())
        return false;
    face.file = m_pango->faceFile;
    face.size = m_pango->size;
    face.widthScale = m_pango->widthScale;
    return true;
#else
    (void)face;
    return false;
#endif
}

bool CTextPrintout::GridPage(int page, std::vector<pdf::Glyph>& glyphs)
{
    glyphs.clear();
#ifdef KIB_PRINT_PANGO
    if (!m_view.get() || !m_pango || !m_pango->scaled || !m_layout.HasLayout())
        return false;
    int first = 0, end = 0;
    if (!m_layout.PageLines(page, m_view->LineCount(), first, end))
        return true;
    PangoText& text = *m_pango;
    auto put = [&glyphs](unsigned long glyph, char32_t c, double x, double y) {
        glyphs.push_back({static_cast<uint16_t>(glyph), c, x, y});
    };
    const printing::Rect band = m_layout.FooterBand();
    if (m_layout.footer && band.Height() > 0) {
        // Centred as DrawFooter centres it, in cells of the grid.
        const std::string footer = FooterText(page);
        PrintedLine line;
        for (int i = 0, n = 0; i < static_cast<int>(footer.size()); i += std::max(1, n))
            line.cells.push_back(utf8::Decode(footer.data(), static_cast<int>(footer.size()), i, n));
        const std::u32string& cells = line.cells;
        line.rows.push_back({0, static_cast<int>(cells.size())});
        const int h = m_layout.LineHeight();
        const int w = static_cast<int>(cells.size()) * m_charWidth;
        if (!text.EachOnGrid(line, 1, band.left + (band.Width() - w) / 2, band.top + (band.Height() - h) / 2, h,
                             m_charWidth, put))
            return false;
    }
    return ForPageRows(page, [&](const PrintedLine& printed, size_t rows, int x, int y) {
        return text.EachOnGrid(printed, rows, x, y, m_layout.LineHeight(), m_charWidth, put);
    });
#else
    (void)page;
    return false;
#endif
}
