#include "kitprobe/SearchResultDlg.h"

#include "kitprobe/KitprobeArt.h"
#include "kitprobe/KitprobeText.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

using kitprobe::Ui;

namespace {

wxString ProgramLabel(const char* article, EJdkFind kind)
{
    return Ui(article) + " " + kitprobe::DisplayText(CJdkFinds::ProgramName(kind)) + ":";
}

} // namespace

CSearchResultDlg::CSearchResultDlg(wxWindow* parent, const CJdkFinds& finds)
    : wxDialog(parent, wxID_ANY, Ui("Ergebnis"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    SetIcons(kitprobe::ProgramIcons());
    struct Row {
        EJdkFind kind;
        int id;
        wxString label;
    };
    const Row rows[] = {
        {FIND_COMPILER, IDC_COMPILER, Ui("Gefundene(r) Java Compiler:")},
        {FIND_INTERPRETER, IDC_INTERPRETER, Ui("Gefundene(r) Java Interpreter:")},
        {FIND_APPLETVIEWER, IDC_APPLETVIEWER, ProgramLabel("Gefundene(r)", FIND_APPLETVIEWER)},
        {FIND_DOCGENERATOR, IDC_DOCGENERATOR, ProgramLabel("Gefundene(s)", FIND_DOCGENERATOR)},
        {FIND_DOCUMENTATION, IDC_DOCUMENTATION, Ui("Gefundene JDK Doku(s):")},
    };

    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, 8, 10);
    grid->AddGrowableCol(1, 1);
    for (const Row& row : rows) {
        std::vector<std::string> items = finds.Sorted(row.kind);
        if (items.empty())
            items.push_back(CJdkParamWriter::kNothingFound);
        wxArrayString shown;
        for (const std::string& item : items)
            shown.Add(kitprobe::DisplayText(item));
        // Sorted here rather than by the control, so the order does not
        // depend on the locale and each item keeps its bytes.
        auto* combo = new wxComboBox(this, row.id, shown[0], wxDefaultPosition, wxSize(460, -1),
                                     shown, wxCB_DROPDOWN);
        combo->SetSelection(0);
        m_combos[row.kind] = combo;
        m_items[row.kind] = std::move(items);
        grid->Add(new wxStaticText(this, wxID_ANY, row.label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(combo, 1, wxEXPAND);
    }
    top->Add(grid, 0, wxEXPAND | wxALL, 14);
    top->Add(new wxStaticText(this, wxID_ANY,
                              Ui("Alle Einstellungen können zu einem späteren Zeitpunkt im "
                                 "Optionen Dialog von KIB geändert\nwerden")),
             0, wxLEFT | wxRIGHT | wxBOTTOM, 14);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 10);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, Ui("OK"));
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, Ui("Abbrechen")));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    ok->SetDefault();
    SetEscapeId(wxID_CANCEL);

    SetSizerAndFit(top);
    CentreOnParent();
}

std::string CSearchResultDlg::BoxBytes(EJdkFind kind) const
{
    const wxComboBox* combo = m_combos[kind];
    wxString text = combo->GetValue();
    // The shown text of an item stands for its path's bytes, which need not
    // be UTF-8; anything typed is taken as typed.
    const std::vector<std::string>& items = m_items[kind];
    int sel = combo->GetSelection();
    if (sel != wxNOT_FOUND && static_cast<size_t>(sel) < items.size() &&
        text == combo->GetString(static_cast<unsigned>(sel)))
        return items[static_cast<size_t>(sel)];
    for (size_t i = 0; i < items.size(); ++i)
        if (text == combo->GetString(static_cast<unsigned>(i)))
            return items[i];
    return kitprobe::BytesOf(text);
}

CJdkChoices CSearchResultDlg::Choices() const
{
    CJdkChoices c;
    c.compiler = BoxBytes(FIND_COMPILER);
    c.interpreter = BoxBytes(FIND_INTERPRETER);
    c.appletViewer = BoxBytes(FIND_APPLETVIEWER);
    c.docGenerator = BoxBytes(FIND_DOCGENERATOR);
    c.documentation = BoxBytes(FIND_DOCUMENTATION);
    return c;
}
