#include "options/OptionsPage.h"

#include "controls/TreePropertySheet.h"
#include "text/Cp1252.h"
#include "options/IntegerField.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <memory>

COptionsPage::COptionsPage(wxWindow* parent, const wxString& title, const COptionsContext& context)
    : wxPanel(parent, wxID_ANY), m_context(context)
{
    SetLabel(title);
}

bool COptionsPage::TransferDataToWindow()
{
    for (Binding& b : m_bindings)
        if (b.load)
            b.load();
    return true;
}

bool COptionsPage::TransferDataFromWindow()
{
    for (Binding& b : m_bindings)
        if (b.store)
            b.store();
    return true;
}

bool COptionsPage::Validate()
{
    for (Binding& b : m_bindings)
        if (b.validate && !b.validate())
            return false;
    return true;
}

wxString COptionsPage::FromFileBytes(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    if (s.empty() && !bytes.empty())
        s = wxString(cp1252::DecodeWide(bytes));
    return s;
}

std::string COptionsPage::ToFileBytes(const wxString& text)
{
    return text.utf8_string();
}

wxString COptionsPage::FromDocumentBytes(const std::string& bytes)
{
    return wxString(cp1252::DecodeWide(bytes));
}

std::string COptionsPage::ToDocumentBytes(const wxString& text)
{
    return cp1252::EncodeWide(text.ToStdWstring());
}

wxString COptionsPage::FromDocumentLines(const std::string& bytes)
{
    std::string lf;
    lf.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            lf += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            lf += bytes[i];
        }
    }
    return FromDocumentBytes(lf);
}

std::string COptionsPage::ToDocumentLines(const wxString& text)
{
    std::string lf = ToDocumentBytes(text);
    std::string crlf;
    crlf.reserve(lf.size() + lf.size() / 16);
    for (char c : lf) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return crlf;
}

void COptionsPage::AddBinding(std::function<void()> load, std::function<void()> store,
                              std::function<bool()> validate)
{
    m_bindings.push_back(Binding{std::move(load), std::move(store), std::move(validate)});
}

wxCheckBox* COptionsPage::AddCheck(wxWindow* parent, int id, const wxString& label, int& flag)
{
    auto* box = new wxCheckBox(parent, id, label);
    AddBinding([box, &flag] { box->SetValue(flag != 0); },
               [box, &flag] {
                   // A stored flag other than 0 and 1 stays as it is while
                   // the box is left as shown.
                   if (box->GetValue() != (flag != 0))
                       flag = box->GetValue() ? 1 : 0;
               });
    return box;
}

wxTextCtrl* COptionsPage::AddEdit(wxWindow* parent, int id, std::string& value, long style)
{
    auto* field = new wxTextCtrl(parent, id, wxString(), wxDefaultPosition, wxDefaultSize, style);
    auto shown = std::make_shared<wxString>();
    AddBinding(
        [field, &value, shown] {
            field->ChangeValue(FromFileBytes(value));
            // What the field holds now (a NUL ends a text in the toolkit).
            *shown = field->GetValue();
        },
        [field, &value, shown] {
            if (field->GetValue() != *shown)
                value = ToFileBytes(field->GetValue());
        });
    return field;
}

std::vector<wxRadioButton*> COptionsPage::AddRadios(wxWindow* parent,
                                                     const std::vector<std::pair<int, wxString>>& buttons,
                                                     int& value)
{
    std::vector<wxRadioButton*> radios;
    for (size_t i = 0; i < buttons.size(); ++i)
        radios.push_back(new wxRadioButton(parent, buttons[i].first, buttons[i].second, wxDefaultPosition,
                                           wxDefaultSize, i == 0 ? wxRB_GROUP : 0));
    AddBinding(
        [radios, &value] {
            // A stored value no button stands for shows the first one.
            const size_t index = value >= 0 && static_cast<size_t>(value) < radios.size()
                                     ? static_cast<size_t>(value)
                                     : 0;
            radios[index]->SetValue(true);
        },
        [radios, &value] {
            for (size_t i = 0; i < radios.size(); ++i)
                if (radios[i]->GetValue())
                    value = static_cast<int>(i);
        });
    return radios;
}

wxTextCtrl* COptionsPage::AddNumber(wxWindow* parent, int id, int spinId, int& value, int min, int max,
                                    int spinMin, int spinMax, wxSpinButton** spinOut)
{
    auto* field = new wxTextCtrl(parent, id, wxString(), wxDefaultPosition, wxSize(FromDIP(48), -1));
    auto* spin = new wxSpinButton(parent, spinId, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin->SetRange(spinMin, spinMax);
    // The spin button moves the number in its field, as a buddy does.
    spin->Bind(wxEVT_SPIN, [field](wxSpinEvent& e) { field->ChangeValue(wxString::Format("%d", e.GetPosition())); });
    field->Bind(wxEVT_TEXT, [field, spin](wxCommandEvent&) {
        long v = 0;
        if (field->GetValue().Trim().Trim(false).ToLong(&v))
            spin->SetValue(static_cast<int>(std::clamp<long>(v, spin->GetMin(), spin->GetMax())));
    });
    AddBinding(
        [field, spin, &value, min, max] {
            const int shown = std::clamp(value, min, max);
            field->ChangeValue(wxString::Format("%d", shown));
            spin->SetValue(std::clamp(shown, spin->GetMin(), spin->GetMax()));
        },
        [field, &value, min, max] {
            int v = value;
            if (CIntegerField::Parse(field->GetValue().utf8_string(), min, max, v) == CIntegerField::OK)
                value = v;
        },
        [this, field, min, max] {
            int v = 0;
            switch (CIntegerField::Parse(field->GetValue().utf8_string(), min, max, v)) {
            case CIntegerField::OK: return true;
            case CIntegerField::NOT_A_NUMBER: Fail(field, kib::KibText(kib::IDS_MSG_ENTER_INTEGER)); return false;
            case CIntegerField::OUT_OF_RANGE: {
                wxString text = kib::KibText(kib::IDS_MSG_INTEGER_RANGE);
                text.Replace("%1", wxString::Format("%d", min));
                text.Replace("%2", wxString::Format("%d", max));
                Fail(field, text);
                return false;
            }
            }
            return false;
        });
    if (spinOut)
        *spinOut = spin;
    return field;
}

void COptionsPage::AddBrowse(wxWindow* button, wxTextCtrl* field, std::function<bool(wxString& path)> chooser)
{
    button->Bind(wxEVT_BUTTON, [field, chooser](wxCommandEvent&) {
        wxString path = field->GetValue();
        // A cancelled dialog leaves the field as it was.
        if (chooser && chooser(path))
            field->SetValue(path);
    });
}

void COptionsPage::Fail(wxTextCtrl* field, const wxString& message)
{
    if (CTreePropertySheet* sheet = CTreePropertySheet::Of(this))
        sheet->SetActivePage(this);
    if (m_context.message)
        m_context.message(this, message);
    field->SetFocus();
    field->SelectAll();
}

wxSizer* COptionsPage::Row(std::initializer_list<wxWindow*> windows, int gap)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    bool first = true;
    for (wxWindow* w : windows) {
        row->Add(w, 0, wxALIGN_CENTER_VERTICAL | (first ? 0 : wxLEFT), first ? 0 : gap);
        first = false;
    }
    return row;
}
