#include "app/MainFrameTools.h"

#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/UserDialogs.h"
#include "resources/CommandIds.h"
#include "toolchain/CompilerOutputEdit.h"

bool HandleStartFileCommand(CMainFrame& frame, int command)
{
    if (command != kib::ID_STARTFILE_CONFIGURE)
        return false;
    std::vector<std::string> files = frame.Settings().m_startFiles;
    if (UserDialogs().ConfigureStartFiles(&frame, files))
        frame.Settings().m_startFiles = files;
    return true;
}

bool QueryStartFileCommand(CMainFrame&, int command, CCommandState& state)
{
    if (command != kib::ID_STARTFILE_CONFIGURE)
        return false;
    state.enabled = true;
    return true;
}

COutputPane* CreateCompilerOutputPane(wxWindow* parent, int id)
{
    auto* pane = new CCompilerOutputEdit(parent, id);
    pane->SetJumpHandler(&JumpToCompilerMessage);
    return pane;
}

void JumpToCompilerMessage(const std::string& file, int line, int column)
{
    CMainFrame* frame = CMainFrame::Instance();
    CKibView* view = frame ? frame->OpenFileView(file) : nullptr;
    if (!view)
        return;
    view->GoToMessagePosition(line, column);
    view->SetFocus();
}
