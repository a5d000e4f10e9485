#include "toolchain/ToolsDialog.h"

#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/Artwork.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "toolchain/ToolchainTexts.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <memory>

using namespace toolchain;

namespace {

wxString Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

// A field's text as bytes; an unchanged one keeps its original bytes, also
// when they are no UTF-8.
std::string Edited(const std::string& original, const wxTextCtrl* field)
{
    wxString now = field->GetValue();
    return now == Display(original) ? original : now.utf8_string();
}

wxString T(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

// Header bitmap 181: a band across the top with the dialog's subject.
class CHeaderBand : public wxWindow {
public:
    explicit CHeaderBand(wxWindow* parent) : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(-1, 46))
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) { Paint(); });
    }

private:
    void Paint()
    {
        wxAutoBufferedPaintDC dc(this);
        wxRect r = GetClientRect();
        dc.GradientFillLinear(r, wxColour(0x1f, 0x3c, 0x88), wxColour(0x9d, 0xb4, 0xe8), wxEAST);
        wxBitmap icon = kib::ToolbarBitmap(kib::ID_OPTIONS, 16);
        int x = 12;
        if (icon.IsOk()) {
            dc.DrawBitmap(icon, x, (r.height - icon.GetHeight()) / 2, true);
            x += icon.GetWidth() + 10;
        }
        wxFont font = GetFont().Bold();
        font.SetPointSize(font.GetPointSize() + 3);
        dc.SetFont(font);
        dc.SetTextForeground(*wxWHITE);
        wxString text = kib::KibText(kib::IDS_TOOLS_CAPTION);
        dc.DrawText(text, x, (r.height - dc.GetTextExtent(text).y) / 2);
    }
};

} // namespace

const char* CToolsDialog::MacroText(int command)
{
    switch (command) {
    case kib::ID_MACRO_SOURCE: return "$source";
    case kib::ID_MACRO_CLASS: return "$class";
    case kib::ID_MACRO_FILE: return "$file";
    case kib::ID_MACRO_PATH: return "$path";
    case kib::ID_MACRO_DESTPATH: return "$destpath";
    default: return "";
    }
}

CToolsDialog::CToolsDialog(wxWindow* parent, const std::vector<CToolEntry>& tools, DeleteConfirm confirm,
                           ProgramChooser chooseProgram, MacroMenu macroMenu)
    : wxDialog(parent, wxID_ANY, T("Toolmenü konfigurieren"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      m_tools(tools), m_confirm(std::move(confirm)), m_chooseProgram(std::move(chooseProgram)),
      m_macroMenu(std::move(macroMenu))
{
    if (!m_macroMenu)
        m_macroMenu = [](wxWindow* parent, wxMenu& menu, const wxPoint& at) {
            int wx = parent->GetPopupMenuSelectionFromUser(menu, at);
            return wx == wxID_NONE ? -1 : kib::FromWxId(wx);
        };

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new CHeaderBand(this), 0, wxEXPAND);

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    // Left: the names, "&Neu" and "&Löschen...".
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(new wxStaticText(this, wxID_ANY, T("&Toolmenüeinträge:")), 0, wxBOTTOM, 4);
    m_list = new wxListBox(this, kListId, wxDefaultPosition, wxSize(FromDIP(190), FromDIP(210)), 0, nullptr,
                           wxLB_SINGLE | wxLB_NEEDED_SB);
    left->Add(m_list, 1, wxEXPAND | wxBOTTOM, 6);
    auto* listButtons = new wxBoxSizer(wxHORIZONTAL);
    listButtons->Add(new wxButton(this, kNewId, T("&Neu")), 1, wxRIGHT, 6);
    m_delete = new wxButton(this, kDeleteId, T("&Löschen..."));
    listButtons->Add(m_delete, 1);
    left->Add(listButtons, 0, wxEXPAND);
    body->Add(left, 0, wxEXPAND | wxRIGHT, 14);

    // Right: the fields of the selected tool.
    auto* right = new wxBoxSizer(wxVERTICAL);
    wxStaticText* nameLabel = new wxStaticText(this, wxID_ANY, T("Menü&eintrag:"));
    right->Add(nameLabel, 0, wxBOTTOM, 3);
    m_name = new wxTextCtrl(this, kNameId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(300), -1));
    right->Add(m_name, 0, wxEXPAND | wxBOTTOM, 10);

    wxStaticText* programLabel = new wxStaticText(this, wxID_ANY, T("Auszuführendes &Programm:"));
    right->Add(programLabel, 0, wxBOTTOM, 3);
    auto* programRow = new wxBoxSizer(wxHORIZONTAL);
    m_program = new wxTextCtrl(this, kProgramId);
    programRow->Add(m_program, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    m_browse = new wxButton(this, kBrowseId, T("..."), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    programRow->Add(m_browse, 0, wxALIGN_CENTER_VERTICAL);
    right->Add(programRow, 0, wxEXPAND | wxBOTTOM, 10);

    wxStaticText* argsLabel = new wxStaticText(this, wxID_ANY, T("&Argumente:"));
    right->Add(argsLabel, 0, wxBOTTOM, 3);
    auto* argsRow = new wxBoxSizer(wxHORIZONTAL);
    m_args = new wxTextCtrl(this, kArgumentsId);
    argsRow->Add(m_args, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    m_macro = new wxButton(this, kMacroId, T(">"), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    argsRow->Add(m_macro, 0, wxALIGN_CENTER_VERTICAL);
    right->Add(argsRow, 0, wxEXPAND | wxBOTTOM, 10);

    m_stop = new wxCheckBox(this, kStopId, T("Nach dem Ausführen an&halten"));
    right->Add(m_stop, 0, wxBOTTOM, 10);

    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, T("Speichern von Quelldateien vor Ausführen"));
    wxStaticBox* box = group->GetStaticBox();
    const char* saveTexts[3] = {"&Nein", "A&ktuelle Datei", "Alle &Dateien"};
    const int saveIds[3] = {kSaveNoneId, kSaveActiveId, kSaveAllId};
    auto* radios = new wxBoxSizer(wxHORIZONTAL);
    for (int i = 0; i < 3; ++i) {
        m_save[i] = new wxRadioButton(box, saveIds[i], T(saveTexts[i]), wxDefaultPosition, wxDefaultSize,
                                      i == 0 ? wxRB_GROUP : 0);
        radios->Add(m_save[i], 0, wxRIGHT, 14);
    }
    group->Add(radios, 0, wxALL, 6);
    right->Add(group, 0, wxEXPAND);
    body->Add(right, 1, wxEXPAND);
    top->Add(body, 1, wxEXPAND | wxALL, 12);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, T(kButtonOk));
    ok->SetDefault();
    buttons->Add(ok, 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, T(kButtonCancel)), 0);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    CentreOnParent();

    m_details = {m_delete, nameLabel, m_name, programLabel, m_program, m_browse, argsLabel,
                 m_args,   m_macro,   m_stop, box,          m_save[0], m_save[1], m_save[2]};
    EnableDetails(false);

    m_list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { SelectionChanged(); });
    m_name->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        // The list shows the new name at once; the tool takes it later.
        if (m_previous >= 0 && m_previous < static_cast<int>(m_list->GetCount()))
            m_list->SetString(static_cast<unsigned>(m_previous), m_name->GetValue());
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { NewEntry(); }, kNewId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { DeleteEntry(); }, kDeleteId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BrowseProgram(); }, kBrowseId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ShowMacroMenu(); }, kMacroId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);

    // Opening: the names in order, the first one selected.
    for (const CToolEntry& t : m_tools)
        m_list->Append(Display(t.name));
    if (!m_tools.empty())
        m_list->SetSelection(0);
    SelectionChanged();
}

void CToolsDialog::EnableDetails(bool on)
{
    for (wxWindow* w : m_details)
        w->Enable(on);
}

void CToolsDialog::StoreFields(CToolEntry& tool) const
{
    tool.name = Edited(tool.name, m_name);
    tool.path = Edited(tool.path, m_program);
    tool.args = Edited(tool.args, m_args);
    tool.stop = m_stop->GetValue() ? 1 : 0;
    tool.save = m_save[2]->GetValue() ? 2 : m_save[1]->GetValue() ? 1 : 0;
}

void CToolsDialog::LoadFields(const CToolEntry& tool)
{
    // ChangeValue: loading is no typing, so the list is left alone.
    m_name->ChangeValue(Display(tool.name));
    m_program->ChangeValue(Display(tool.path));
    m_args->ChangeValue(Display(tool.args));
    m_stop->SetValue(tool.stop == 1);
    // A mode other than 1 or 2 saves nothing, as "&Nein" does.
    m_save[tool.save == 1 || tool.save == 2 ? tool.save : 0]->SetValue(true);
}

void CToolsDialog::SelectionChanged()
{
    if (m_previous >= 0 && m_previous < static_cast<int>(m_tools.size())) {
        CToolEntry& before = m_tools[static_cast<size_t>(m_previous)];
        StoreFields(before);
        m_list->SetString(static_cast<unsigned>(m_previous), Display(before.name));
    }
    int sel = m_list->GetSelection();
    if (sel != wxNOT_FOUND && sel < static_cast<int>(m_tools.size())) {
        EnableDetails(true);
        LoadFields(m_tools[static_cast<size_t>(sel)]);
        m_previous = sel;
    } else {
        m_previous = -1;
    }
}

void CToolsDialog::NewEntry()
{
    CToolEntry tool;
    tool.name = kib::LoadKibString(kib::IDS_TOOLS_NEW_ENTRY);
    tool.stop = 0;
    tool.save = 0;
    m_tools.push_back(tool);
    m_list->Append(Display(tool.name));
    m_list->SetSelection(static_cast<int>(m_list->GetCount()) - 1);
    SelectionChanged();
}

void CToolsDialog::DeleteEntry()
{
    if (!m_confirm || !m_confirm(this))
        return;
    int sel = m_list->GetSelection();
    if (sel != wxNOT_FOUND && sel < static_cast<int>(m_tools.size())) {
        m_list->Delete(static_cast<unsigned>(sel));
        m_tools.erase(m_tools.begin() + sel);
        m_name->ChangeValue(wxEmptyString);
        m_program->ChangeValue(wxEmptyString);
        m_args->ChangeValue(wxEmptyString);
        EnableDetails(false);
    }
    if (m_list->GetCount() > 0)
        m_list->SetSelection(0);
    m_previous = -1;
    SelectionChanged();
}

void CToolsDialog::BrowseProgram()
{
    wxString path = m_program->GetValue();
    if (m_chooseProgram && m_chooseProgram(this, path))
        m_program->SetValue(path);
}

void CToolsDialog::ShowMacroMenu()
{
    std::unique_ptr<wxMenu> menu(kib::BuildMenu(kib::MenuResource(kib::IDR_TOOL_ARGUMENTS)));
    wxRect r = m_macro->GetRect();
    int command = m_macroMenu(this, *menu, wxPoint(r.GetRight() + 1, r.GetTop()));
    if (command > 0)
        AppendMacro(command);
}

void CToolsDialog::AppendMacro(int command)
{
    const char* text = MacroText(command);
    if (*text)
        m_args->SetValue(m_args->GetValue() + T(text));
}

void CToolsDialog::OnOk()
{
    if (m_previous >= 0 && m_previous < static_cast<int>(m_tools.size()))
        StoreFields(m_tools[static_cast<size_t>(m_previous)]);
    EndModal(wxID_OK);
}
