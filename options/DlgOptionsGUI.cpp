#include "options/DlgOptionsGUI.h"

#include "options/OptionsTexts.h"
#include "settings/ExtensionList.h"
#include "settings/Settings.h"

#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace optiontexts;

CDlgOptionsGUI::CDlgOptionsGUI(wxWindow* parent, const COptionsContext& context, CSettings& settings)
    : COptionsPage(parent, wxString::FromUTF8(kTitleGui), context),
      m_mask(CExtensionList::Join(settings.m_fileExtensions))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kGuiIntro)), 0, wxALL, 8);

    auto* style = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kGuiStyleGroup));
    for (wxRadioButton* r : AddRadios(style->GetStaticBox(),
                                      {{kOfficeXpId, wxString::FromUTF8(kGuiOfficeXp)},
                                       {kBuntId, wxString::FromUTF8(kGuiBunt)},
                                       {kMacId, wxString::FromUTF8(kGuiMac)},
                                       {kWindowsId, wxString::FromUTF8(kGuiWindows)}},
                                      settings.m_skin))
        style->Add(r, 0, wxALL, 3);
    top->Add(style, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* windows = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kGuiWindowsGroup));
    windows->Add(AddCheck(windows->GetStaticBox(), kTabsId, wxString::FromUTF8(kGuiTabs), settings.m_editorTabs),
                 0, wxALL, 3);
    windows->Add(AddCheck(windows->GetStaticBox(), kMaximizedId, wxString::FromUTF8(kGuiMaximized),
                          settings.m_openMaximized),
                 0, wxALL, 3);
    top->Add(windows, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* explorer = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kGuiExplorerGroup));
    explorer->Add(new wxStaticText(explorer->GetStaticBox(), wxID_ANY, wxString::FromUTF8(kGuiMask)), 0,
                  wxLEFT | wxRIGHT | wxTOP, 3);
    std::vector<std::string>& extensions = settings.m_fileExtensions;
    wxTextCtrl* mask = AddEdit(explorer->GetStaticBox(), kMaskId, m_mask);
    // The list changes only when the text did: a list holding an empty
    // extension does not come back from its own joined text.
    AddBinding({}, [this, &extensions, initial = m_mask]() {
        if (m_mask != initial)
            extensions = CExtensionList::Split(m_mask);
    });
    explorer->Add(mask, 0, wxEXPAND | wxALL, 3);
    top->Add(explorer, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(top);
    TransferDataToWindow();
}
