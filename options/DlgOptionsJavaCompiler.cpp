#include "options/DlgOptionsJavaCompiler.h"

#include "options/OptionsTexts.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace optiontexts;

CDlgOptionsJavaCompiler::CDlgOptionsJavaCompiler(wxWindow* parent, const COptionsContext& context,
                                                 CSettings& s)
    : COptionsPage(parent, wxString::FromUTF8(kTitleCompiler), context)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kCompilerPath)), 0, wxLEFT | wxRIGHT | wxTOP, 8);
    wxTextCtrl* path = AddEdit(this, kPathId, s.m_compilerPath);
    auto* browse = new wxButton(this, kPathBrowseId, wxString::FromUTF8(kBrowse), wxDefaultPosition,
                                wxDefaultSize, wxBU_EXACTFIT);
    AddBrowse(browse, path, [this](wxString& p) {
        return Context().chooseFile && Context().chooseFile(this, "javac", p);
    });
    auto* pathRow = new wxBoxSizer(wxHORIZONTAL);
    pathRow->Add(path, 1, wxALIGN_CENTER_VERTICAL);
    pathRow->Add(browse, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 6);
    top->Add(pathRow, 0, wxEXPAND | wxALL, 8);

    auto* switches = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kCompilerSwitches));
    wxWindow* box = switches->GetStaticBox();
    switches->Add(AddCheck(box, kDebugId, wxString::FromUTF8(kCompilerDebug), s.m_debugInfo), 0, wxALL, 3);
    switches->Add(AddCheck(box, kOptimizeId, wxString::FromUTF8(kCompilerOptimize), s.m_optimize), 0, wxALL, 3);
    switches->Add(AddCheck(box, kNoWarningsId, wxString::FromUTF8(kCompilerNoWarnings), s.m_noWarnings), 0,
                  wxALL, 3);
    switches->Add(AddCheck(box, kStatusId, wxString::FromUTF8(kCompilerStatus), s.m_status), 0, wxALL, 3);
    switches->Add(AddCheck(box, kDeprecatedId, wxString::FromUTF8(kCompilerDeprecated), s.m_deprecated), 0,
                  wxALL, 3);
    top->Add(switches, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    m_destinationCheck =
        AddCheck(this, kDestinationCheckId, wxString::FromUTF8(kCompilerDestination), s.m_setDestinationPath);
    m_destination = AddEdit(this, kDestinationId, s.m_destinationPath);
    m_destinationBrowse = new wxButton(this, kDestinationBrowseId, wxString::FromUTF8(kBrowse),
                                       wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    AddBrowse(m_destinationBrowse, m_destination, [this](wxString& p) {
        return Context().chooseFolder && Context().chooseFolder(this, kib::KibText(kib::IDS_DESTINATION_FOLDER), p);
    });
    auto* destRow = new wxBoxSizer(wxHORIZONTAL);
    destRow->Add(m_destinationCheck, 0, wxALIGN_CENTER_VERTICAL);
    destRow->Add(m_destination, 1, wxLEFT | wxALIGN_CENTER_VERTICAL, 6);
    destRow->Add(m_destinationBrowse, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 6);
    top->Add(destRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    m_autoSave = AddCheck(this, kAutoSaveId, wxString::FromUTF8(kCompilerAutoSave), s.m_autoSaveBeforeCompile);
    top->Add(m_autoSave, 0, wxLEFT | wxRIGHT, 8);
    m_saveType = AddRadios(this,
                           {{kAllFilesId, wxString::FromUTF8(kCompilerAllFiles)},
                            {kThisFileId, wxString::FromUTF8(kCompilerThisFile)}},
                           s.m_autoSaveBeforeCompileType);
    auto* saveRow = new wxBoxSizer(wxHORIZONTAL);
    saveRow->AddSpacer(FromDIP(20));
    saveRow->Add(m_saveType[0], 0, wxRIGHT, 16);
    saveRow->Add(m_saveType[1]);
    top->Add(saveRow, 0, wxALL, 8);

    m_destinationCheck->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); });
    m_autoSave->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); });
    SetSizerAndFit(top);
    TransferDataToWindow();
    UpdateControls();
}

void CDlgOptionsJavaCompiler::UpdateControls()
{
    const bool destination = m_destinationCheck->GetValue();
    m_destination->Enable(destination);
    m_destinationBrowse->Enable(destination);
    for (wxRadioButton* r : m_saveType)
        r->Enable(m_autoSave->GetValue());
}
