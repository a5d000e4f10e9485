#include "toolchain/StartFilesDialog.h"

#include "controls/DialogButtons.h"

#include "toolchain/StartFileEntryDialog.h"
#include "toolchain/ToolchainTexts.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

using namespace toolchain;

namespace {

wxString Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

} // namespace

CStartFilesDialog::CStartFilesDialog(wxWindow* parent, const std::vector<std::string>& files,
                                     EntryEditor edit, DeleteConfirm confirm)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kStartFilesCaption), wxDefaultPosition,
               wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_list(files), m_edit(std::move(edit)), m_confirm(std::move(confirm))
{
    if (!m_edit)
        m_edit = [](wxWindow* parent, wxString& path) {
            CStartFileEntryDialog dlg(parent, path);
            if (dlg.ShowModal() != wxID_OK)
                return false;
            path = dlg.Path();
            return true;
        };
    if (!m_confirm)
        m_confirm = [](wxWindow* parent) {
            return ShowMessageBox(parent, wxString::FromUTF8(kStartFilesDeleteAsk),
                                  wxString::FromUTF8(kStartFilesDeleteCaption), wxYES_NO) == wxYES;
        };

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kStartFilesList)), 0,
             wxLEFT | wxRIGHT | wxTOP, 12);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    // The order is kept by the list, not by the control (GTK sorts by its own rules).
    m_box = new wxListBox(this, kListId, wxDefaultPosition, wxSize(FromDIP(420), FromDIP(200)), 0,
                          nullptr, wxLB_SINGLE | wxLB_HSCROLL | wxLB_NEEDED_SB);
    body->Add(m_box, 1, wxEXPAND | wxRIGHT, 10);
    auto* side = new wxBoxSizer(wxVERTICAL);
    side->Add(new wxButton(this, kNewId, wxString::FromUTF8(kStartFilesNew)), 0, wxEXPAND | wxBOTTOM, 6);
    m_change = new wxButton(this, kChangeId, wxString::FromUTF8(kStartFilesChange));
    side->Add(m_change, 0, wxEXPAND | wxBOTTOM, 6);
    m_delete = new wxButton(this, kDeleteId, wxString::FromUTF8(kStartFilesDelete));
    side->Add(m_delete, 0, wxEXPAND | wxBOTTOM, 18);
    auto* ok = new wxButton(this, wxID_OK, wxString::FromUTF8(kButtonOk));
    ok->SetDefault();
    side->Add(ok, 0, wxEXPAND | wxBOTTOM, 6);
    side->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8(kButtonCancel)), 0, wxEXPAND);
    body->Add(side, 0);
    top->Add(body, 1, wxALL | wxEXPAND, 12);
    SetSizerAndFit(top);
    CentreOnParent();

    Fill();
    UpdateButtons();
    m_box->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { UpdateButtons(); });
    m_box->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
        UpdateButtons();
        e.Skip();
    });
    m_box->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { ChangeEntry(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { NewEntry(); }, kNewId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ChangeEntry(); }, kChangeId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { DeleteEntry(); }, kDeleteId);
}

void CStartFilesDialog::Fill()
{
    wxArrayString items;
    for (const std::string& f : m_list.Items())
        items.Add(Display(f));
    m_box->Set(items);
}

void CStartFilesDialog::UpdateButtons()
{
    bool selected = m_box->GetSelection() != wxNOT_FOUND;
    m_change->Enable(selected);
    m_delete->Enable(selected);
}

void CStartFilesDialog::NewEntry()
{
    wxString path;
    if (!m_edit(this, path))
        return;
    int at = m_list.Add(path.utf8_string());
    m_box->Insert(Display(m_list.Items()[static_cast<size_t>(at)]), static_cast<unsigned>(at));
    UpdateButtons();
}

void CStartFilesDialog::ChangeEntry()
{
    int sel = m_box->GetSelection();
    if (sel == wxNOT_FOUND)
        return;
    const std::string original = m_list.Items()[static_cast<size_t>(sel)];
    const wxString shown = Display(original);
    wxString path = shown;
    if (!m_edit(this, path))
        return;
    // An entry left as it was keeps its bytes, also when they are no UTF-8.
    m_list.Replace(sel, path == shown ? original : path.utf8_string());
    m_box->SetString(static_cast<unsigned>(sel), path);
    m_box->SetSelection(sel);
    UpdateButtons();
}

void CStartFilesDialog::DeleteEntry()
{
    int sel = m_box->GetSelection();
    if (sel == wxNOT_FOUND || !m_confirm(this))
        return;
    m_list.Remove(sel);
    m_box->Delete(static_cast<unsigned>(sel));
    UpdateButtons();
}
