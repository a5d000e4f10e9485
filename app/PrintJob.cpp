#include "app/PrintJob.h"

#include "app/UserDialogs.h"
#include "editor/PdfPrinter.h"
#include "editor/TextPrintout.h"
#include "editor/TextView.h"
#include "platform/Path.h"
#include "platform/Printers.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/weakref.h>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace printjob {

namespace {

const Paper& SetupPaper(const PrintSetup& setup)
{
    const auto& papers = Papers();
    return papers[static_cast<size_t>(std::clamp(setup.paper, 0, static_cast<int>(papers.size()) - 1))];
}

PdfPageSetup PageFor(const PrintSetup& setup)
{
    const Paper& paper = SetupPaper(setup);
    PdfPageSetup page;
    page.widthMm = setup.landscape ? paper.heightMm : paper.widthMm;
    page.heightMm = setup.landscape ? paper.widthMm : paper.heightMm;
    return page;
}

wxString Quoted(const std::string& text)
{
    return wxString::FromUTF8("„") + wxString::FromUTF8(text) + wxString::FromUTF8("“");
}

bool PrintPdf(CTextView& view, const wxString& title, const PrintRequest& request, const std::string& path,
              wxString& message)
{
    CTextPrintout printout(&view, title);
    std::string reason;
    if (PrintToPdf(printout, path, PageFor(CurrentSetup()), request.fromPage, request.toPage, &reason))
        return true;
    message = wxString::Format(wxString::FromUTF8("Die Datei %s konnte nicht gedruckt werden.\n%s"), Quoted(path),
                               wxString::FromUTF8(reason));
    return false;
}

// The preview's "Drucken" goes through Kib's own print dialog.
class CKibPrintPreview : public wxPrintPreview {
public:
    CKibPrintPreview(CTextView& view, const wxString& title, const std::string& documentPath,
                     wxPrintDialogData* data)
        : wxPrintPreview(new CTextPrintout(&view, title), new CTextPrintout(&view, title), data), m_view(&view),
          m_title(title), m_path(documentPath)
    {
    }

    bool Print(bool) override
    {
        wxWeakRef<CTextView> view = m_view;
        wxString title = m_title;
        std::string path = m_path;
        if (wxFrame* frame = GetFrame())
            frame->Close(true);
        wxTheApp->CallAfter([view, title, path] {
            if (view)
                PrintWithDialog(*view.get(), title, path);
        });
        return true;
    }

private:
    wxWeakRef<CTextView> m_view;
    wxString m_title;
    std::string m_path;
};

wxPaperSize PaperId(const PrintSetup& setup)
{
    switch (setup.paper) {
    case 1:
        return wxPAPER_LETTER;
    case 2:
        return wxPAPER_A3;
    default:
        return wxPAPER_A4;
    }
}

} // namespace

const std::vector<Paper>& Papers()
{
    static const std::vector<Paper> papers = {{"A4", 210.0, 297.0}, {"Letter", 215.9, 279.4}, {"A3", 297.0, 420.0}};
    return papers;
}

PrintSetup& CurrentSetup()
{
    static PrintSetup setup = [] {
        PrintSetup s;
        s.printer = platform::DefaultPrinter();
        return s;
    }();
    return setup;
}

std::string PdfPathFor(const std::string& documentPath, const std::string& title)
{
    if (documentPath.empty()) {
        const char* home = std::getenv("HOME");
        return platform::JoinPath(home && *home ? home : "/tmp", (title.empty() ? "Kib" : title) + ".pdf");
    }
    const size_t slash = documentPath.rfind('/');
    const size_t dot = documentPath.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
        return documentPath.substr(0, dot) + ".pdf";
    return documentPath + ".pdf";
}

bool Print(CTextView& view, const wxString& title, const PrintRequest& request, wxString& message)
{
    if (request.printer.empty())
        return PrintPdf(view, title, request, request.pdfPath, message);
    // A printer gets the PDF through the spooler, which copies it.
    char tmpl[] = "/tmp/kib-print-XXXXXX.pdf";
    const int fd = mkstemps(tmpl, 4);
    if (fd < 0) {
        message = wxString::FromUTF8("Für den Druck kann keine temporäre Datei angelegt werden.");
        return false;
    }
    close(fd);
    bool ok = PrintPdf(view, title, request, tmpl, message);
    if (ok) {
        std::string error;
        ok = platform::SubmitPrintFile(request.printer, tmpl, request.copies, title.utf8_string(), error);
        if (!ok)
            message = wxString::Format(wxString::FromUTF8("Der Druck auf %s ist fehlgeschlagen:\n%s"),
                                       Quoted(request.printer), wxString::FromUTF8(error));
    }
    unlink(tmpl);
    return ok;
}

void PrintWithDialog(CTextView& view, const wxString& title, const std::string& documentPath)
{
    PrintRequest request;
    request.printer = CurrentSetup().printer;
    request.pdfPath = PdfPathFor(documentPath, title.utf8_string());
    if (!UserDialogs().Print(&view, request))
        return;
    wxString message;
    if (!Print(view, title, request, message))
        UserDialogs().MessageBox(&view, message, kib::KibText(kib::IDS_MSGBOX_CAPTION), wxOK | wxICON_EXCLAMATION);
}

bool PrintDirect(CTextView& view, const wxString& title, const std::string& documentPath,
                 const std::string& printer, wxString& message)
{
    PrintRequest request;
    request.printer = printer.empty() ? CurrentSetup().printer : printer;
    wxString why;
    if (!request.printer.empty()) {
        const std::vector<std::string> printers = platform::ListPrinters();
        if (std::find(printers.begin(), printers.end(), request.printer) == printers.end()) {
            why = wxString::Format(wxString::FromUTF8("Den Drucker %s gibt es nicht."), Quoted(request.printer));
            request.printer.clear();
        }
    } else {
        why = kib::KibText(kib::IDS_NO_PRINTER);
    }
    if (request.printer.empty())
        request.pdfPath = PdfPathFor(documentPath, title.utf8_string());
    if (!Print(view, title, request, message))
        return false;
    if (request.printer.empty())
        message = why + wxString::FromUTF8(" Der Text wurde in die Datei ") + Quoted(request.pdfPath) +
                  wxString::FromUTF8(" gedruckt.");
    else
        message = wxString::Format(wxString::FromUTF8("Der Text wurde auf %s gedruckt."), Quoted(request.printer));
    return true;
}

wxWindow* OpenPreview(CTextView& view, const wxString& title, const std::string& documentPath)
{
    wxPrintData data;
    data.SetPaperId(PaperId(CurrentSetup()));
    data.SetOrientation(CurrentSetup().landscape ? wxLANDSCAPE : wxPORTRAIT);
    wxPrintDialogData dialogData(data);
    auto* preview = new CKibPrintPreview(view, title, documentPath, &dialogData);
    if (!preview->IsOk()) {
        delete preview;
        UserDialogs().MessageBox(&view, wxString::FromUTF8("Die Seitenansicht kann nicht geöffnet werden."),
                                 kib::KibText(kib::IDS_MSGBOX_CAPTION), wxOK | wxICON_EXCLAMATION);
        return nullptr;
    }
    wxWindow* top = wxGetTopLevelParent(&view);
    auto* frame = new wxPreviewFrame(preview, top, wxString::FromUTF8("Seitenansicht - ") + title,
                                     wxDefaultPosition, wxSize(900, 800));
    frame->Initialize();
    frame->Centre();
    frame->Show();
    return frame;
}

} // namespace printjob
