#include "options/DlgOptionsJavaInterpreter.h"

#include "options/OptionsTexts.h"
#include "settings/Settings.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace optiontexts;

CDlgOptionsJavaInterpreter::CDlgOptionsJavaInterpreter(wxWindow* parent, const COptionsContext& context,
                                                       CSettings& s)
    : COptionsPage(parent, wxString::FromUTF8(kTitleInterpreter), context)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kInterpreterIntro)), 0, wxALL, 8);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kInterpreterPath)), 0, wxLEFT | wxRIGHT, 8);
    wxTextCtrl* path = AddEdit(this, kPathId, s.m_interpreterPath);
    auto* browse = new wxButton(this, kPathBrowseId, wxString::FromUTF8(kBrowse), wxDefaultPosition,
                                wxDefaultSize, wxBU_EXACTFIT);
    AddBrowse(browse, path, [this](wxString& p) {
        return Context().chooseFile && Context().chooseFile(this, "java", p);
    });
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(path, 1, wxALIGN_CENTER_VERTICAL);
    row->Add(browse, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 6);
    top->Add(row, 0, wxEXPAND | wxALL, 8);
    m_capture = AddCheck(this, kCaptureId, wxString::FromUTF8(kInterpreterCapture), s.m_captureOutput);
    top->Add(m_capture, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    m_stop = AddCheck(this, kStopId, wxString::FromUTF8(kInterpreterStop), s.m_stopAfterRun);
    // Indented under the box it depends on.
    auto* stopRow = new wxBoxSizer(wxHORIZONTAL);
    stopRow->AddSpacer(FromDIP(20));
    stopRow->Add(m_stop);
    top->Add(stopRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    m_capture->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); });
    SetSizerAndFit(top);
    TransferDataToWindow();
    UpdateControls();
}

void CDlgOptionsJavaInterpreter::UpdateControls()
{
    m_stop->Enable(!m_capture->GetValue());
}
