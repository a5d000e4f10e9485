#include "app/MainFrameTools.h"

#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/UserDialogs.h"
#include "platform/Terminal.h"
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "toolchain/CompilerOutputEdit.h"
#include "toolchain/ToolchainTexts.h"
#include "toolchain/UserTools.h"

#include <wx/msgdlg.h>

#include <cstdlib>

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

bool HandleToolCommand(CMainFrame& frame, int command)
{
    if (command == kib::ID_TOOLS_CONFIGURE) {
        std::vector<CToolEntry> tools = frame.Settings().m_tools;
        if (UserDialogs().ConfigureTools(&frame, tools)) {
            frame.Settings().m_tools = std::move(tools);
            frame.SaveSettings();
            frame.ToolsChanged();
        }
        return true;
    }
    if (command < kib::ID_TOOL_FIRST || command > kib::ID_TOOL_LAST)
        return false;
    RunTool(frame, command - kib::ID_TOOL_FIRST);
    return true;
}

bool QueryToolCommand(CMainFrame&, int command, CCommandState& state)
{
    if (command != kib::ID_TOOLS_CONFIGURE && (command < kib::ID_TOOL_FIRST || command > kib::ID_TOOL_LAST))
        return false;
    state.enabled = true;
    return true;
}

void RunTool(CMainFrame& frame, int index)
{
    const std::vector<CToolEntry>& tools = frame.Settings().m_tools;
    if (index < 0 || index >= static_cast<int>(tools.size()))
        return;
    // Every tool works on the active document.
    CKibView* view = frame.ActiveView();
    CKibDoc* doc = view ? view->GetDocument() : nullptr;
    if (!doc)
        return;
    const CToolEntry tool = tools[static_cast<size_t>(index)];
    if (tool.save == 2)
        frame.SaveAll();
    else if (tool.save == 1 && !doc->GetPathName().empty())
        doc->OnSaveDocument(doc->GetPathName());

    const char* pathVar = std::getenv("PATH");
    toolchain::CToolLaunch launch = toolchain::BuildToolLaunch(
        tool, doc->GetPathName(), frame.Settings().m_destinationPath, pathVar ? pathVar : "/usr/bin:/bin");
    if (toolchain::StartToolLaunch(launch) == 0)
        return;
    std::string name = tool.path.empty() ? tool.name : tool.path;
    bool noTerminal = launch.how == toolchain::EToolStart::Terminal && platform::UserTerminal().empty();
    UserDialogs().MessageBox(
        &frame,
        kib::DisplayPath(noTerminal ? toolchain::NoTerminalMessage(name) : toolchain::CouldNotStartMessage(name)),
        wxString::FromUTF8(toolchain::kMsgErrorCaption), wxOK | wxICON_ERROR);
}
