#include "app/MainFrameOptions.h"

#include "app/KibApp.h"
#include "app/MainFrame.h"
#include "app/UserDialogs.h"
#include "options/EditedSettings.h"
#include "options/OptionsDialog.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/msgdlg.h>

bool HandleOptionsCommand(CMainFrame& frame, int command)
{
    if (command != kib::ID_OPTIONS)
        return false;
    RunOptionsDialog(frame);
    return true;
}

bool QueryOptionsCommand(CMainFrame&, int command, CCommandState& state)
{
    if (command != kib::ID_OPTIONS)
        return false;
    state.enabled = true;
    return true;
}

bool RunOptionsDialog(CMainFrame& frame)
{
    COptionsContext context;
    context.ppi = frame.PixelsPerInch();
    context.message = [](wxWindow* parent, const wxString& text) {
        UserDialogs().MessageBox(parent, text, kib::KibText(kib::IDS_MSGBOX_CAPTION), wxOK | wxICON_EXCLAMATION);
    };
    context.chooseFile = [](wxWindow* parent, const wxString& preset, wxString& path) {
        return UserDialogs().ChooseFile(parent, preset, path);
    };
    context.chooseFolder = [](wxWindow* parent, const wxString& title, wxString& path) {
        return UserDialogs().ChooseFolder(parent, title, path);
    };
    context.chooseColour = [](wxWindow* parent, colours::Colour& colour) {
        return UserDialogs().ChooseColour(parent, colour);
    };
    COptionsDialog dialog(&frame, frame.Settings(), context);
    if (UserDialogs().RunModal(dialog) != wxID_OK)
        return false;
    ApplyOptions(frame, dialog.Edited());
    return true;
}

void ApplyOptions(CMainFrame& frame, const CSettings& edited)
{
    CSettings& s = frame.Settings();
    CopyEditedSettings(edited, s);
    // The tab location stays the application's.
    const int location = CKibApp::Instance() ? CKibApp::Instance()->MdiTabLocation() : frame.DocumentTabLocation();
    // Either switch lays out and repaints the whole frame; one that changes
    // nothing is left out.
    const bool tabs = s.m_editorTabs != 0;
    if (tabs != frame.DocumentTabsShown() || location != frame.DocumentTabLocation())
        frame.EnableDocumentTabs(tabs, location);
    if (s.m_skin != frame.CurrentSkin())
        frame.ApplySkin(s.m_skin);
    // The explorer reads its extensions from the settings.
    frame.ApplyOptionsToViews();
}
