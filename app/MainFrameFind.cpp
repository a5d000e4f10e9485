#include "app/MainFrameFind.h"

#include "app/ChildFrame.h"
#include "app/FindComboBox.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/OutputBar.h"
#include "app/UserDialogs.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "workspace/FindInFilesDialog.h"
#include "workspace/FindInFilesRun.h"
#include "workspace/SearchResultEdit.h"

#include <wx/aui/auibar.h>

using namespace kib;

namespace {

wxWindow* g_commandControl = nullptr;

CChildFrame* ChildOf(wxWindow* window)
{
    for (wxWindow* w = window; w; w = w->GetParent())
        if (auto* child = dynamic_cast<CChildFrame*>(w))
            return child;
    return nullptr;
}

// Opens the file of a result and puts the caret on its line. The document
// opens on this thread before OpenFileView returns, so the event is only
// looked at, never waited for (a wait could not end earlier, only freeze).
void JumpToResult(const std::string& file, int line, CSearchResultEdit::EJump how)
{
    CMainFrame* frame = CMainFrame::Instance();
    if (!frame || file.empty() || line < 1)
        return;
    if (how == CSearchResultEdit::JUMP_DOUBLE_CLICK)
        frame->DocumentOpenedEvent().Reset();
    CKibView* view = frame->OpenFileView(file);
    if (!view)
        return;
    if (how == CSearchResultEdit::JUMP_DOUBLE_CLICK)
        frame->DocumentOpenedEvent().Wait(0);
    // The window of the view comes to the front, so that the jump is seen.
    if (CChildFrame* child = ChildOf(view)) {
        if (!child->IsChildVisible())
            frame->ShowChild(child, true);
        frame->ActivateChild(child);
    }
    view->GoToPosition(line, how == CSearchResultEdit::JUMP_DOUBLE_CLICK ? 0 : 1);
    view->SetFocus();
}

} // namespace

wxWindow* CurrentCommandControl()
{
    return g_commandControl;
}

CCommandControlScope::CCommandControlScope(wxObject* sender) : m_previous(g_commandControl)
{
    g_commandControl = wxDynamicCast(sender, wxWindow);
}

CCommandControlScope::~CCommandControlScope()
{
    g_commandControl = m_previous;
}

void AddFindBox(CMainFrame& frame, wxAuiToolBar* bar)
{
    auto* box = new CFindComboBox(bar, ToWxId(ID_EDIT_FIND_BOX), wxSize(160, -1));
    box->SetToolTip(KibText(ID_EDIT_FIND_BOX));
    bar->AddControl(box, KibText(ID_EDIT_FIND_BOX));
}

wxComboBox* FindBoxOf(wxAuiToolBar* bar, wxWindow* control)
{
    if (!bar || !control)
        return nullptr;
    for (size_t i = 0; i < bar->GetToolCount(); ++i) {
        wxAuiToolBarItem* item = bar->FindToolByIndex(static_cast<int>(i));
        if (item && item->GetId() == ToWxId(ID_EDIT_FIND_BOX) &&
            item->GetWindow() == control)
            return wxDynamicCast(control, wxComboBox);
    }
    return nullptr;
}

COutputPane* CreateSearchResultPane(wxWindow* parent, int id)
{
    auto* pane = new CSearchResultEdit(parent, id);
    pane->SetJumpHandler(JumpToResult);
    return pane;
}

bool HandleFindInFilesCommand(CMainFrame& frame, int command)
{
    if (command != ID_EDIT_FIND_IN_FILES)
        return false;
    if (CFindInFilesRun::IsRunning())
        return true;
    FindInFilesRequest request;
    {
        CFindInFilesDialog dialog(&frame, [](wxWindow* parent, const wxString& title, wxString& path) {
            return UserDialogs().ChooseFolder(parent, title, path);
        });
        if (UserDialogs().RunModal(dialog) != wxID_OK)
            return true;
        request = dialog.Request();
    }
    COutputBar* bar = frame.OutputBar();
    if (!bar)
        return true;
    const COutputBar::Pane which =
        request.options.searchPane == 1 ? COutputBar::PANE_SEARCH2 : COutputBar::PANE_SEARCH1;
    COutputPane* pane = bar->GetPane(which);
    if (!pane)
        return true;
    // A hidden output bar would hide the results.
    if (!frame.IsBarShown(bar))
        frame.ShowBar(bar, true);
    bar->ShowPane(which);
    CFindInFilesRun run(&frame, *pane);
    run.Run(request);
    return true;
}

bool QueryFindInFilesCommand(CMainFrame&, int command, CCommandState& state)
{
    if (command != ID_EDIT_FIND_IN_FILES)
        return false;
    state.enabled = !CFindInFilesRun::IsRunning();
    return true;
}
