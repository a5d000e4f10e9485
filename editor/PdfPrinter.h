// Prints a wxPrintout into a PDF file, without the toolkit's print dialog or
// any printer: the path that always works, also the one a real printer is fed
// from (the file goes to the spooler). A text printout whose characters all
// have glyphs in its primary TrueType face is written by Kib's own PDF writer;
// anything else is drawn through cairo.
#pragma once

#include <string>

class wxPrintout;

struct PdfPageSetup {
    double widthMm = 210.0; // A4 portrait
    double heightMm = 297.0;
    int dotsPerInch = 600;  // the printout's device units
    bool cairoOnly = false; // every job through cairo (for comparisons)
};

// Pages fromPage..toPage (0: from the first, to the last page the printout
// has) into a new PDF file at path. False, with a German reason, when the file
// cannot be written; a page the printout does not have ends the job.
bool PrintToPdf(wxPrintout& printout, const std::string& path, const PdfPageSetup& page, int fromPage,
                int toPage, std::string* error = nullptr);
