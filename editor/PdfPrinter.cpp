#include "editor/PdfPrinter.h"

#include "editor/PdfTextWriter.h"
#include "editor/TextPrintout.h"

#include <wx/dc.h>
#include <wx/dcgraph.h>
#include <wx/graphics.h>
#include <wx/prntbase.h>

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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

// cairo's output, held back until the job knows that cairo draws its pages
// (layout measures on a cairo PDF surface either way, so that both writers
// lay out alike); dropped when Kib's writer writes the file.
struct CairoSink {
    std::FILE* file = nullptr;
    std::string held;
    bool passThrough = false;
    bool discard = false;
    bool failed = false;

    bool Write(const char* data, size_t length)
    {
        if (length && std::fwrite(data, 1, length, file) != length)
            failed = true;
        return !failed;
    }
    void PassThrough()
    {
        passThrough = true;
        Write(held.data(), held.size());
        held.clear();
        held.shrink_to_fit();
    }
};

cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length)
{
    auto* sink = static_cast<CairoSink*>(closure);
    if (sink->discard)
        return CAIRO_STATUS_SUCCESS;
    if (!sink->passThrough) {
        sink->held.append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    }
    return sink->Write(reinterpret_cast<const char*>(data), length) ? CAIRO_STATUS_SUCCESS
                                                                    : CAIRO_STATUS_WRITE_ERROR;
}

// The face file of the last job, read again only when it changed.
const pdf::FontFace* FaceOf(const std::string& file)
{
    static pdf::FontFace face;
    static std::string path;
    static struct stat known {};
    struct stat now {};
    if (stat(file.c_str(), &now) != 0)
        return nullptr;
    const bool same = !path.empty() && path == file && now.st_size == known.st_size &&
                      now.st_mtim.tv_sec == known.st_mtim.tv_sec && now.st_mtim.tv_nsec == known.st_mtim.tv_nsec;
    if (!same) {
        path.clear();
        if (!pdf::LoadFont(file, face))
            return nullptr;
        path = file;
        known = now;
    }
    return &face;
}

// The pages fromPage..toPage of a text printout by Kib's PDF writer: false,
// nothing written, when a page has a character the grid face lacks, the face
// is not one the writer embeds, or there is no page.
bool WriteOwnPdf(CTextPrintout& printout, int fromPage, int toPage, double widthPt,
                 double heightPt, int dpi, std::string& out)
{
    CTextPrintout::GridFace grid;
    if (!printout.GetGridFace(grid))
        return false;
    const pdf::FontFace* face = FaceOf(grid.file);
    if (!face)
        return false;
    pdf::CPdfTextWriter writer(*face, widthPt, heightPt, dpi, grid.size, grid.widthScale);
    std::vector<pdf::Glyph> glyphs;
    for (int pageNumber = fromPage; pageNumber <= toPage && printout.HasPage(pageNumber); ++pageNumber)
        if (!printout.GridPage(pageNumber, glyphs) || !writer.AddPage(glyphs))
            return false;
    if (writer.PageCount() == 0)
        return false;
    out = writer.Finish(printout.GetTitle().utf8_string(), std::time(nullptr));
    return true;
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

    CairoSink sink;
    sink.file = std::fopen(path.c_str(), "wb");
    if (!sink.file) {
        SetError(error, "Die Datei kann nicht geschrieben werden.");
        return false;
    }
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(WriteToSink, &sink, widthPt, heightPt);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        SetError(error, "Die Datei kann nicht geschrieben werden.");
        cairo_surface_destroy(surface);
        std::fclose(sink.file);
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
    std::string own;
    auto* text = dynamic_cast<CTextPrintout*>(&printout);
    const bool ownWriter = ok && text && !page.cairoOnly &&
                           WriteOwnPdf(*text, fromPage, toPage, widthPt, heightPt, dpi, own);
    if (ownWriter)
        sink.discard = true;
    else
        sink.PassThrough();
    for (int pageNumber = fromPage; ok && !ownWriter && pageNumber <= toPage && printout.HasPage(pageNumber);
         ++pageNumber) {
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
    bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (ownWriter && written)
        written = sink.Write(own.data(), own.size());
    written = written && !sink.failed;
    if (std::fflush(sink.file) != 0 || std::ferror(sink.file))
        written = false;
    // The data must have reached the file (a full disk shows at close).
    if (std::fclose(sink.file) != 0)
        written = false;
    // A part of a PDF is no PDF: none is left behind as if printed.
    struct stat target {};
    if ((!ok || !written) && stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode))
        std::remove(path.c_str());
    if (!ok)
        SetError(error, "Der Druck wurde abgebrochen.");
    else if (!written)
        SetError(error, "Die Datei kann nicht geschrieben werden.");
    return ok && written;
}
