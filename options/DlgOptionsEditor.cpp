#include "options/DlgOptionsEditor.h"

#include "options/OptionsTexts.h"
#include "settings/Settings.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace optiontexts;

CDlgOptionsEditor::CDlgOptionsEditor(wxWindow* parent, const COptionsContext& context, CSettings& s)
    : COptionsPage(parent, wxString::FromUTF8(kTitleEditor), context)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* tabs = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kEditorTabsGroup));
    wxWindow* tb = tabs->GetStaticBox();
    tabs->Add(AddCheck(tb, kTabsAsSpacesId, wxString::FromUTF8(kEditorTabsAsSpaces), s.m_insertTabsAsSpaces), 0,
              wxALL, 3);
    tabs->Add(AddCheck(tb, kShowTabsId, wxString::FromUTF8(kEditorShowTabs), s.m_showTabsAndSpaces), 0, wxALL, 3);
    wxSpinButton* tabSpin = nullptr;
    wxTextCtrl* tabWidth = AddNumber(tb, kTabWidthId, kTabWidthSpinId, s.m_tabWidth, 1, 20, 1, 20, &tabSpin);
    tabs->Add(Row({new wxStaticText(tb, wxID_ANY, wxString::FromUTF8(kEditorTabWidth)), tabWidth, tabSpin,
                   new wxStaticText(tb, wxID_ANY, wxString::FromUTF8(kEditorChars))},
                  4),
              0, wxALL, 3);
    top->Add(tabs, 0, wxEXPAND | wxALL, 8);

    auto* files = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kEditorFilesGroup));
    wxWindow* fb = files->GetStaticBox();
    files->Add(AddCheck(fb, kReopenId, wxString::FromUTF8(kEditorReopen), s.m_reopenFiles), 0, wxALL, 3);
    files->Add(AddCheck(fb, kReloadId, wxString::FromUTF8(kEditorReload), s.m_reopenAfterChange), 0, wxALL, 3);
    top->Add(files, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    for (auto [id, label, flag] : {std::tuple{kIndentId, kEditorIndent, &s.m_indentAfterBracket},
                                   std::tuple{kMatchBraceId, kEditorMatchBrace, &s.m_matchBrace},
                                   std::tuple{kLineNumbersId, kEditorLineNumbers, &s.m_showLineNumbers},
                                   std::tuple{kSplashId, kEditorSplash, &s.m_showSplash}})
        top->Add(AddCheck(this, id, wxString::FromUTF8(label), *flag), 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);

    m_guide = AddCheck(this, kGuideId, wxString::FromUTF8(kEditorGuide), s.m_drawColumnGuide);
    m_guideAt = new wxStaticText(this, kGuideAtId, wxString::FromUTF8(kEditorGuideAt));
    // The field takes 0 although the spin button stops at 1.
    m_guideColumn = AddNumber(this, kGuideColumnId, kGuideSpinId, s.m_columnGuidePos, 0, 200, 1, 200, &m_guideSpin);
    m_guideChars = new wxStaticText(this, kGuideCharsId, wxString::FromUTF8(kEditorChars));
    top->Add(Row({m_guide, m_guideAt, m_guideColumn, m_guideSpin, m_guideChars}, 4), 0,
             wxLEFT | wxRIGHT | wxBOTTOM, 8);
    m_guide->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); });
    SetSizerAndFit(top);
    TransferDataToWindow();
    UpdateControls();
}

void CDlgOptionsEditor::UpdateControls()
{
    const bool on = m_guide->GetValue();
    for (wxWindow* w : std::initializer_list<wxWindow*>{m_guideAt, m_guideColumn, m_guideSpin, m_guideChars})
        w->Enable(on);
}
