#include "toolchain/CompilerOutputEdit.h"

#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"

#include <wx/menu.h>

using toolchain::CCompilerMessage;

CCompilerOutputEdit::CCompilerOutputEdit(wxWindow* parent, wxWindowID id) : COutputPane(parent, id)
{
    // The menu's items answer here, not along the frame's command route,
    // which does not know this pane's commands.
    for (int command : {kib::ID_EDIT_CLEAR, kib::ID_OUTPUT_GOTO_ERROR})
        Bind(wxEVT_UPDATE_UI,
             [this, command](wxUpdateUIEvent& e) { e.Enable(IsMenuCommandEnabled(command)); },
             kib::ToWxId(command));
}

CCompilerMessage CCompilerOutputEdit::RecognizeAt(int line)
{
    CCompilerMessage msg = toolchain::RecognizeCompilerMessage(
        GetLineCount(), [this](int i) { return std::string_view(GetLineText(i)); }, line, m_folder);
    if (msg.caretFound)
        SetSelection(Pos{msg.selStartLine, msg.selStartColumn}, Pos{msg.selEndLine, msg.selEndColumn},
                     false);
    return msg;
}

bool CCompilerOutputEdit::JumpFromLine(int line)
{
    CCompilerMessage msg = RecognizeAt(line);
    if (!msg.Complete())
        return false;
    Jump(msg.file, msg.line, msg.column);
    return true;
}

void CCompilerOutputEdit::OnLineDoubleClicked(int line)
{
    // The pane's own word selection does not take place: the highlighted
    // message is what the user sees.
    if (HasCapture())
        ReleaseMouse();
    JumpFromLine(line);
}

void CCompilerOutputEdit::Jump(const std::string& file, int line, int column)
{
    if (m_jump && !file.empty())
        m_jump(file, line, column);
}

std::unique_ptr<wxMenu> CCompilerOutputEdit::PrepareContextMenu(const wxPoint& clientPoint)
{
    SetFocus();
    m_messageFile.clear();
    m_messageLine = 0;
    m_messageColumn = 0;
    // What was found counts, complete or not: a message without a caret line
    // can still be jumped to, at its line's start.
    CCompilerMessage msg = RecognizeAt(PositionFromPoint(clientPoint).line);
    if (msg.messageFound) {
        m_messageFile = msg.file;
        m_messageLine = msg.line;
        m_messageColumn = msg.column;
    }
    std::unique_ptr<wxMenu> menu(kib::BuildMenu(kib::MenuResource(kib::IDR_COMPILER_POPUP)));
    for (int command : {kib::ID_EDIT_COPY, kib::ID_EDIT_CLEAR, kib::ID_OUTPUT_GOTO_ERROR})
        if (menu->FindItem(kib::ToWxId(command)))
            menu->Enable(kib::ToWxId(command), IsMenuCommandEnabled(command));
    return menu;
}

bool CCompilerOutputEdit::IsMenuCommandEnabled(int command) const
{
    switch (command) {
    case kib::ID_EDIT_COPY: return CanCopy();
    case kib::ID_EDIT_CLEAR: return true;
    case kib::ID_OUTPUT_GOTO_ERROR: return m_messageLine > 0;
    default: return false;
    }
}

bool CCompilerOutputEdit::RunMenuCommand(int command)
{
    switch (command) {
    case kib::ID_EDIT_COPY:
        Copy();
        return true;
    case kib::ID_EDIT_CLEAR:
        Clear();
        return true;
    case kib::ID_OUTPUT_GOTO_ERROR:
        if (m_messageLine > 0)
            Jump(m_messageFile, m_messageLine, m_messageColumn);
        return true;
    default:
        return false;
    }
}

void CCompilerOutputEdit::ShowContextMenu(const wxPoint& pt)
{
    std::unique_ptr<wxMenu> menu = PrepareContextMenu(pt);
    int choice = GetPopupMenuSelectionFromUser(*menu, pt);
    if (choice != wxID_NONE)
        RunMenuCommand(kib::FromWxId(choice));
}
