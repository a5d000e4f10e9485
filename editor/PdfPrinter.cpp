#include "editor/PdfPrinter.h"

#include <wx/dc.h>
#include <wx/dcgraph.h>
#include <wx/graphics.h>
#include <wx/prntbase.h>

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double kMmPerInch = 25.4;

// A DC on the surface's current page, in device units of dotsPerInch. One
// per page: wx's cairo context keeps its own state, which must not leak
// from one page into the next.
std::unique_ptr<wxGCDC> PageDC(cairo_t* cr)
{
    wxGraphicsRenderer* renderer = wxGraphicsRenderer::GetCairoRenderer();
    wxGraphicsContext* gc = renderer ? renderer->CreateContextFromNativeContext(cr) : nullptr;
    if (!gc)
        return nullptr;
    return std::make_unique<wxGCDC>(gc);
}

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

} // namespace

bool PrintToPdf(wxPrintout& printout, const std::string& path, const PdfPageSetup& page, int fromPage,
                int toPage, std::string* error)
{
    const double widthPt = page.widthMm / kMmPerInch * 72.0;
    const double heightPt = page.heightMm / kMmPerInch * 72.0;
    const int dpi = std::max(72, page.dotsPerInch);
    const int widthPx = static_cast<int>(std::lround(page.widthMm / kMmPerInch * dpi));
    const int heightPx = static_cast<int>(std::lround(page.heightMm / kMmPerInch * dpi));

    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), widthPt, heightPt);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        SetError(error, "Die Datei kann nicht geschrieben werden.");
        cairo_surface_destroy(surface);
        return false;
    }
    // PDF 1.4: no compressed object streams, a second pass cairo spares.
    cairo_pdf_surface_restrict_to_version(surface, CAIRO_PDF_VERSION_1_4);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, 72.0 / dpi, 72.0 / dpi);

    printout.SetPPIScreen(96, 96);
    printout.SetPPIPrinter(dpi, dpi);
    printout.SetPageSizePixels(widthPx, heightPx);
    printout.SetPageSizeMM(static_cast<int>(std::lround(page.widthMm)), static_cast<int>(std::lround(page.heightMm)));
    printout.SetPaperRectPixels(wxRect(0, 0, widthPx, heightPx));

    bool ok = true;
    {
        // Preparation measures in the same units as the pages are drawn.
        cairo_save(cr);
        std::unique_ptr<wxGCDC> dc = PageDC(cr);
        ok = dc != nullptr;
        if (ok) {
            printout.SetDC(dc.get());
            printout.OnPreparePrinting();
            int minPage = 1, maxPage = 1, selFrom = 1, selTo = 1;
            printout.GetPageInfo(&minPage, &maxPage, &selFrom, &selTo);
            if (fromPage <= 0)
                fromPage = std::max(1, minPage);
            if (toPage <= 0)
                toPage = maxPage;
            printout.OnBeginPrinting();
            ok = printout.OnBeginDocument(fromPage, toPage);
            printout.SetDC(nullptr);
        }
        dc.reset();
        cairo_restore(cr);
    }
    for (int pageNumber = fromPage; ok && pageNumber <= toPage && printout.HasPage(pageNumber); ++pageNumber) {
        cairo_save(cr);
        std::unique_ptr<wxGCDC> dc = PageDC(cr);
        if (!dc) {
            ok = false;
            break;
        }
        printout.SetDC(dc.get());
        ok = printout.OnPrintPage(pageNumber);
        printout.SetDC(nullptr);
        dc.reset();
        cairo_restore(cr);
        cairo_show_page(cr);
    }
    {
        std::unique_ptr<wxGCDC> dc = PageDC(cr);
        printout.SetDC(dc.get());
        if (dc)
            printout.OnEndDocument();
        printout.OnEndPrinting();
        printout.SetDC(nullptr);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok)
        SetError(error, "Der Druck wurde abgebrochen.");
    else if (!written)
        SetError(error, "Die Datei kann nicht geschrieben werden.");
    return ok && written;
}
