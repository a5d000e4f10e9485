#include "options/DlgOptionsColorList.h"

#include "controls/ColourPicker.h"
#include "options/OptionsTexts.h"
#include "resources/MenuBuilder.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

using namespace optiontexts;

namespace {

std::vector<CHighlightStyle> Stored(const std::vector<CDlgOptionsColorList::Entry>& entries)
{
    std::vector<CHighlightStyle> values;
    for (const auto& e : entries) {
        CHighlightStyle v = e.value;
        // Colours are 24-bit; stray high bits from the file are dropped.
        v.foreground &= 0xFFFFFFu;
        v.background &= 0xFFFFFFu;
        values.push_back(v);
    }
    return values;
}

} // namespace

CDlgOptionsColorList::CDlgOptionsColorList(wxWindow* parent, const COptionsContext& context,
                                           const wxString& title, const std::vector<Entry>& entries,
                                           std::vector<CHighlightStyle> defaults, bool withStyle,
                                           int foregroundId, Store store)
    : COptionsPage(parent, title, context), m_defaults(std::move(defaults)), m_entries(Stored(entries)),
      m_withStyle(withStyle)
{
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kColourFor)), 0, wxBOTTOM, 3);
    wxArrayString labels;
    for (const Entry& e : entries)
        labels.Add(kib::KibText(e.labelId));
    m_list = new wxListBox(this, kListId, wxDefaultPosition, wxSize(FromDIP(230), FromDIP(200)), labels,
                           wxLB_SINGLE);
    left->Add(m_list, 1, wxEXPAND);
    top->Add(left, 1, wxEXPAND | wxALL, 8);

    auto* right = new wxBoxSizer(wxVERTICAL);
    auto picker = [&](int id, const char* label) {
        right->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(label)), 0, wxBOTTOM, 3);
        auto* p = new CColourPicker(this, id);
        p->SetMinSize(wxSize(FromDIP(110), -1));
        if (Context().chooseColour)
            p->SetColourDialog(Context().chooseColour);
        right->Add(p, 0, wxEXPAND | wxBOTTOM, 8);
        return p;
    };
    m_foreground = picker(foregroundId, kForeground);
    m_background = picker(kBackgroundId, kBackground);
    if (m_withStyle) {
        auto* style = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kStyleGroup));
        wxWindow* box = style->GetStaticBox();
        m_bold = new wxCheckBox(box, kBoldId, wxString::FromUTF8(kStyleBold));
        m_italic = new wxCheckBox(box, kItalicId, wxString::FromUTF8(kStyleItalic));
        auto* underline = new wxCheckBox(box, kUnderlineId, wxString::FromUTF8(kStyleUnderline));
        underline->Disable();
        for (wxWindow* w : std::initializer_list<wxWindow*>{m_bold, m_italic, underline})
            style->Add(w, 0, wxALL, 3);
        right->Add(style, 0, wxEXPAND | wxBOTTOM, 8);
    }
    right->AddStretchSpacer();
    auto* restore = new wxButton(this, kRestoreId, wxString::FromUTF8(kRestoreColours));
    right->Add(restore, 0, wxEXPAND);
    top->Add(right, 0, wxEXPAND | wxTOP | wxBOTTOM | wxRIGHT, 8);

    m_list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) { SelectEntry(e.GetSelection()); });
    restore->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RestoreDefaults(); });
    Bind(MSG_COLOUR_CHOSEN, &CDlgOptionsColorList::OnColourChosen, this);
    AddBinding({}, [this, store = std::move(store)] {
        m_entries.Commit(Shown());
        if (store)
            store(m_entries.Values());
    });

    m_list->SetSelection(0);
    Show(m_entries.Value(0));
    SetSizerAndFit(top);
}

CHighlightStyle CDlgOptionsColorList::Shown() const
{
    CHighlightStyle v;
    v.foreground = m_foreground->GetColour();
    v.background = m_background->GetColour();
    v.style = m_otherStyleBits;
    if (m_withStyle) {
        if (m_bold->GetValue())
            v.style |= STYLE_BOLD;
        if (m_italic->GetValue())
            v.style |= STYLE_ITALIC;
    }
    return v;
}

void CDlgOptionsColorList::Show(const CHighlightStyle& v)
{
    m_foreground->SetColour(v.foreground);
    m_background->SetColour(v.background);
    m_otherStyleBits = v.style & ~(STYLE_BOLD | STYLE_ITALIC);
    if (m_withStyle) {
        m_bold->SetValue((v.style & STYLE_BOLD) != 0);
        m_italic->SetValue((v.style & STYLE_ITALIC) != 0);
    }
}

void CDlgOptionsColorList::SelectEntry(int index)
{
    if (index < 0 || index >= m_entries.Count())
        return;
    if (m_list->GetSelection() != index)
        m_list->SetSelection(index);
    Show(m_entries.Select(index, Shown()));
}

void CDlgOptionsColorList::RestoreDefaults()
{
    m_entries.Restore(m_defaults);
}

void CDlgOptionsColorList::OnColourChosen(wxCommandEvent& event)
{
    // "Automatisch" on an editor colour means the system's colour for it
    // now: the file holds real colours only.
    auto* picker = dynamic_cast<CColourPicker*>(event.GetEventObject());
    if (picker && static_cast<colours::Colour>(event.GetInt()) == colours::kAutomatic)
        picker->SetColour(FromWxColour(wxSystemSettings::GetColour(
            picker == m_foreground ? wxSYS_COLOUR_WINDOWTEXT : wxSYS_COLOUR_WINDOW)));
    event.Skip();
}
