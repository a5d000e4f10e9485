#include "options/DlgOptionsJavaJDK.h"

#include "options/OptionsTexts.h"
#include "settings/Settings.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace optiontexts;

CDlgOptionsJavaJDK::CDlgOptionsJavaJDK(wxWindow* parent, const COptionsContext& context, CSettings& settings)
    : COptionsPage(parent, wxString::FromUTF8(kTitleJdk), context)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kJdkIntro)), 0, wxALL, 8);
    auto fileRow = [&](const char* label, int id, int browseId, std::string& value, const wxString& preset) {
        top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(label)), 0, wxLEFT | wxRIGHT, 8);
        wxTextCtrl* field = AddEdit(this, id, value);
        auto* browse = new wxButton(this, browseId, wxString::FromUTF8(kBrowse), wxDefaultPosition,
                                wxDefaultSize, wxBU_EXACTFIT);
        AddBrowse(browse, field, [this, preset](wxString& path) {
            return Context().chooseFile && Context().chooseFile(this, preset, path);
        });
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(field, 1, wxALIGN_CENTER_VERTICAL);
        row->Add(browse, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 6);
        top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    };
    fileRow(kJdkAppletViewer, kAppletViewerId, kAppletViewerBrowseId, settings.m_appletViewerPath, "appletviewer");
    fileRow(kJdkDocs, kDocsId, kDocsBrowseId, settings.m_docuPath, "*.html");
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kJdkClassPath)), 0, wxLEFT | wxRIGHT, 8);
    wxTextCtrl* classPath = AddEdit(this, kClassPathId, settings.m_classPath, wxTE_MULTILINE);
    classPath->SetMinSize(wxSize(FromDIP(360), FromDIP(80)));
    top->Add(classPath, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(top);
    TransferDataToWindow();
}
