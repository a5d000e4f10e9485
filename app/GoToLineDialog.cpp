#include "app/GoToLineDialog.h"

#include "controls/DialogButtons.h"

#include "app/UserDialogs.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

using namespace kib;

CGoToLineDialog::CGoToLineDialog(wxWindow* parent, int line, int maxLine)
    : wxDialog(parent, wxID_ANY, KibText(IDS_GOTO_LINE_CAPTION)), m_line(line), m_maxLine(maxLine)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, KibText(IDS_GOTO_LINE_LABEL)), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_edit = new wxTextCtrl(this, 1047, wxString::Format("%d", line), wxDefaultPosition,
                            wxSize(120, -1), 0, wxTextValidator(wxFILTER_DIGITS));
    row->Add(m_edit, 1);
    top->Add(row, 0, wxALL | wxEXPAND, 12);
    top->Add(CreateOkCancelRow(this), 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);
    SetSizerAndFit(top);
    m_edit->SelectAll();
    m_edit->SetFocus();
    Bind(wxEVT_BUTTON, &CGoToLineDialog::OnOk, this, wxID_OK);
    CentreOnParent();
}

bool CGoToLineDialog::ParseLine(const wxString& text, int maxLine, int& line, wxString& message)
{
    wxString t = text;
    t.Trim().Trim(false);
    unsigned long value = 0;
    if (t.empty() || !t.ToULong(&value)) {
        message = KibText(IDS_MSG_ENTER_INTEGER);
        return false;
    }
    // Line 0 or one past the end names no line: refuse rather than guess.
    if (value < 1 || value > static_cast<unsigned long>(maxLine)) {
        message = wxString::Format(KibText(IDS_MSG_LINE_OUT_OF_RANGE), maxLine);
        return false;
    }
    line = static_cast<int>(value);
    return true;
}

void CGoToLineDialog::OnOk(wxCommandEvent&)
{
    wxString message;
    if (!ParseLine(m_edit->GetValue(), m_maxLine, m_line, message)) {
        UserDialogs().MessageBox(this, message, KibText(IDS_APP_TITLE), wxOK | wxICON_EXCLAMATION);
        m_edit->SetFocus();
        return; // the dialog stays open
    }
    EndModal(wxID_OK);
}
