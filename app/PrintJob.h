// Printing a view: the session's printer choice, print jobs to a printer or a
// PDF file (both drawn through cairo into PDF; a printer gets the file
// through the spooler), the preview window, and printing from the command
// line. The toolkit's own print dialog is never used: it blocks when the
// system has no printer.
#pragma once

#include <wx/string.h>

#include <string>
#include <vector>

class CTextView;
class wxWindow;

namespace printjob {

// What "Druckereinrichtung" chooses, for the rest of the session.
struct PrintSetup {
    std::string printer;     // empty: print into a PDF file
    bool landscape = false;
    int paper = 0;           // index into Papers()
};
struct Paper {
    const char* name;
    double widthMm, heightMm;
};
const std::vector<Paper>& Papers();

// The session's setup; the first call takes the system's default printer.
PrintSetup& CurrentSetup();

// One print job as the print dialog describes it.
struct PrintRequest {
    std::string printer;  // empty: into pdfPath
    std::string pdfPath;
    int fromPage = 0;     // 0: from the first page
    int toPage = 0;       // 0: to the last page
    int copies = 1;
};

// The PDF file a document prints into when there is no printer: next to the
// file, its name with ".pdf" (an untitled document in the home folder).
std::string PdfPathFor(const std::string& documentPath, const std::string& title);

// Runs the job; false with a German message for the user.
bool Print(CTextView& view, const wxString& title, const PrintRequest& request, wxString& message);

// "Drucken...": the print dialog, then the job; failures are shown.
void PrintWithDialog(CTextView& view, const wxString& title, const std::string& documentPath);

// Printing without a dialog (the shell's print command, /p and /pt): to
// printer, or the default printer when it is empty. With no such printer the
// text goes into the PDF file of PdfPathFor. message says what was done.
bool PrintDirect(CTextView& view, const wxString& title, const std::string& documentPath,
                 const std::string& printer, wxString& message);

// "Seitenansicht": the preview window on the view (owned by the toolkit;
// null with the failure shown when it cannot be opened).
wxWindow* OpenPreview(CTextView& view, const wxString& title, const std::string& documentPath);

} // namespace printjob
