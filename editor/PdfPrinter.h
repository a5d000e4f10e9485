// Prints a wxPrintout into a PDF file through cairo, without the toolkit's
// print dialog or any printer: the path that always works, also the one a
// real printer is fed from (the file goes to the spooler).
#pragma once

#include <string>

class wxPrintout;

struct PdfPageSetup {
    double widthMm = 210.0; // A4 portrait
    double heightMm = 297.0;
    int dotsPerInch = 600;  // the printout's device units
};

// Pages fromPage..toPage (0: from the first, to the last page the printout
// has) into a new PDF file at path. False, with a German reason, when the file
// cannot be written; a page the printout does not have ends the job.
bool PrintToPdf(wxPrintout& printout, const std::string& path, const PdfPageSetup& page, int fromPage,
                int toPage, std::string* error = nullptr);
