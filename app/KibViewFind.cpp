// CKibView's find commands: the engine's dialogs and F3 through the
// application's dialogs interface, and the search of the tool bar's box.
#include "app/KibView.h"

#include "app/MainFrame.h"
#include "app/MainFrameFind.h"
#include "app/UserDialogs.h"
#include "editor/ViewSearch.h"
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/aui/auibar.h>
#include <wx/combobox.h>

using namespace kib;

namespace {

class CAppFindHost : public IFindHost {
public:
    int RunFindDialog(wxDialog& dialog) override { return UserDialogs().RunModal(dialog); }
    void ShowFindMessage(wxWindow* parent, const wxString& text) override
    {
        UserDialogs().MessageBox(parent, text, KibText(IDS_APP_TITLE), wxOK | wxICON_INFORMATION);
    }
};

} // namespace

IFindHost& CKibView::FindHost()
{
    static CAppFindHost host;
    return host;
}

void CKibView::ToolbarSearch(wxWindow* control)
{
    SetFocus();
    CMainFrame* frame = Frame();
    wxComboBox* box = frame ? FindBoxOf(wxDynamicCast(frame->StandardToolBar(), wxAuiToolBar), control) : nullptr;
    if (!box)
        return;
    const wxString text = box->GetValue();
    if (text.empty())
        return;
    int index = box->FindString(text, false);
    if (index == wxNOT_FOUND)
        index = box->Append(text);
    box->SetSelection(index);
    box->ChangeValue(text);
    box->SelectAll();
    // Ignoring case, downwards with wrap; F3 still repeats the find dialog's search.
    m_find.SearchFromCaret(ControlBytes(text));
}
