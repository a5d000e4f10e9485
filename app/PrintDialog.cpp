#include "app/PrintDialog.h"

#include "controls/DialogButtons.h"

#include <wx/button.h>
#include <algorithm>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CPrintDialog::CPrintDialog(wxWindow* parent, const std::vector<std::string>& printers,
                           const printjob::PrintRequest& request)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("Drucken")), m_printers(printers), m_request(request)
{
    Build(false, request.printer);
}

CPrintDialog::CPrintDialog(wxWindow* parent, const std::vector<std::string>& printers,
                           const printjob::PrintSetup& setup)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("Druckereinrichtung")), m_printers(printers), m_setup(setup)
{
    Build(true, setup.printer);
}

wxString CPrintDialog::PdfFileEntry()
{
    return wxString::FromUTF8("In PDF-Datei drucken");
}

void CPrintDialog::Build(bool setup, const std::string& printer)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, wxSize(8, 8));
    grid->AddGrowableCol(1);
    auto label = [&](const char* text) {
        grid->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(text)), 0, wxALIGN_CENTER_VERTICAL);
    };

    label("&Drucker:");
    m_printer = new wxChoice(this, wxID_ANY);
    for (const std::string& p : m_printers)
        m_printer->Append(wxString::FromUTF8(p));
    m_printer->Append(PdfFileEntry());
    int chosen = static_cast<int>(m_printers.size());
    for (size_t i = 0; i < m_printers.size(); ++i)
        if (m_printers[i] == printer)
            chosen = static_cast<int>(i);
    m_printer->SetSelection(chosen);
    grid->Add(m_printer, 1, wxEXPAND);

    if (setup) {
        label("&Papierformat:");
        m_paper = new wxChoice(this, wxID_ANY);
        for (const printjob::Paper& p : printjob::Papers())
            m_paper->Append(wxString::FromUTF8(p.name));
        m_paper->SetSelection(std::clamp(m_setup.paper, 0, static_cast<int>(m_paper->GetCount()) - 1));
        grid->Add(m_paper, 1, wxEXPAND);
        label("Ausrichtung:");
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        m_portrait = new wxRadioButton(this, wxID_ANY, wxString::FromUTF8("&Hochformat"), wxDefaultPosition,
                                       wxDefaultSize, wxRB_GROUP);
        m_landscape = new wxRadioButton(this, wxID_ANY, wxString::FromUTF8("&Querformat"));
        (m_setup.landscape ? m_landscape : m_portrait)->SetValue(true);
        row->Add(m_portrait, 0, wxRIGHT, 12);
        row->Add(m_landscape);
        grid->Add(row);
    } else {
        label("Da&tei:");
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        m_file = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(m_request.pdfPath), wxDefaultPosition,
                                wxSize(320, -1));
        auto* browse = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
        browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            wxFileDialog dlg(this, wxString::FromUTF8("Drucken in Datei"), wxEmptyString, m_file->GetValue(),
                             wxString::FromUTF8("PDF-Dateien (*.pdf)|*.pdf"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
            if (dlg.ShowModal() == wxID_OK)
                m_file->SetValue(dlg.GetPath());
        });
        row->Add(m_file, 1, wxEXPAND | wxRIGHT, 4);
        row->Add(browse);
        grid->Add(row, 1, wxEXPAND);

        label("Seiten:");
        auto* pages = new wxBoxSizer(wxHORIZONTAL);
        m_all = new wxRadioButton(this, wxID_ANY, wxString::FromUTF8("&Alle"), wxDefaultPosition, wxDefaultSize,
                                  wxRB_GROUP);
        m_range = new wxRadioButton(this, wxID_ANY, wxString::FromUTF8("&Von"));
        m_from = new wxSpinCtrl(this, wxID_ANY, "1", wxDefaultPosition, wxSize(130, -1), wxSP_ARROW_KEYS, 1, 99999, 1);
        m_to = new wxSpinCtrl(this, wxID_ANY, "1", wxDefaultPosition, wxSize(130, -1), wxSP_ARROW_KEYS, 1, 99999, 1);
        const bool range = m_request.fromPage > 0 || m_request.toPage > 0;
        (range ? m_range : m_all)->SetValue(true);
        if (range) {
            m_from->SetValue(std::max(1, m_request.fromPage));
            m_to->SetValue(std::max(1, m_request.toPage));
        }
        pages->Add(m_all, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
        pages->Add(m_range, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
        pages->Add(m_from, 0, wxRIGHT, 4);
        pages->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8("bis")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                   4);
        pages->Add(m_to);
        grid->Add(pages);

        label("E&xemplare:");
        m_copies = new wxSpinCtrl(this, wxID_ANY, "1", wxDefaultPosition, wxSize(130, -1), wxSP_ARROW_KEYS, 1, 999,
                                  std::max(1, m_request.copies));
        grid->Add(m_copies);

        m_printer->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { UpdateControls(); });
        m_all->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { UpdateControls(); });
        m_range->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { UpdateControls(); });
    }
    top->Add(grid, 1, wxALL | wxEXPAND, 12);
    top->Add(CreateOkCancelRow(this), 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);
    SetSizerAndFit(top);
    UpdateControls();
    CentreOnParent();
}

std::string CPrintDialog::ChosenPrinter() const
{
    const int sel = m_printer->GetSelection();
    if (sel < 0 || sel >= static_cast<int>(m_printers.size()))
        return {};
    return m_printers[static_cast<size_t>(sel)];
}

void CPrintDialog::UpdateControls()
{
    if (!m_file)
        return;
    const bool pdf = ChosenPrinter().empty();
    m_file->Enable(pdf);
    m_copies->Enable(!pdf);
    m_from->Enable(m_range->GetValue());
    m_to->Enable(m_range->GetValue());
}

printjob::PrintRequest CPrintDialog::Request() const
{
    printjob::PrintRequest r = m_request;
    r.printer = ChosenPrinter();
    if (m_file) {
        r.pdfPath = m_file->GetValue().utf8_string();
        r.fromPage = m_range->GetValue() ? m_from->GetValue() : 0;
        r.toPage = m_range->GetValue() ? std::max(m_from->GetValue(), m_to->GetValue()) : 0;
        r.copies = m_copies->GetValue();
    }
    return r;
}

printjob::PrintSetup CPrintDialog::Setup() const
{
    printjob::PrintSetup s = m_setup;
    s.printer = ChosenPrinter();
    if (m_paper) {
        s.paper = m_paper->GetSelection();
        s.landscape = m_landscape->GetValue();
    }
    return s;
}
