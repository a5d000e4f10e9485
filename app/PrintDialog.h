// Kib's print dialog ("Drucken") and printer set-up ("Druckereinrichtung"):
// the system's printers or a PDF file, pages and copies; paper and
// orientation for the session.
#pragma once

#include "app/PrintJob.h"

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxChoice;
class wxRadioButton;
class wxSpinCtrl;
class wxTextCtrl;

class CPrintDialog : public wxDialog {
public:
    // The print dialog.
    CPrintDialog(wxWindow* parent, const std::vector<std::string>& printers, const printjob::PrintRequest& request);
    // The printer set-up.
    CPrintDialog(wxWindow* parent, const std::vector<std::string>& printers, const printjob::PrintSetup& setup);

    printjob::PrintRequest Request() const;
    printjob::PrintSetup Setup() const;

    // The entry of the printer choice that stands for a PDF file.
    static wxString PdfFileEntry();

private:
    void Build(bool setup, const std::string& printer);
    std::string ChosenPrinter() const;
    void UpdateControls();

    std::vector<std::string> m_printers;
    printjob::PrintRequest m_request;
    printjob::PrintSetup m_setup;
    wxChoice* m_printer = nullptr;
    wxTextCtrl* m_file = nullptr;
    wxRadioButton* m_all = nullptr;
    wxRadioButton* m_range = nullptr;
    wxSpinCtrl* m_from = nullptr;
    wxSpinCtrl* m_to = nullptr;
    wxSpinCtrl* m_copies = nullptr;
    wxChoice* m_paper = nullptr;
    wxRadioButton* m_portrait = nullptr;
    wxRadioButton* m_landscape = nullptr;
};
