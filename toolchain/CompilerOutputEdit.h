// The compiler output pane: finds the JDK compiler message around a
// double-clicked or right-clicked line, highlights it with its source excerpt
// and caret line, and hands the file, line and column to the jump handler
// the application installs. Its context menu is menu 115.
#pragma once

#include "controls/OutputPane.h"
#include "toolchain/CompilerMessage.h"

#include <functional>
#include <memory>
#include <string>

class wxMenu;

class CCompilerOutputEdit : public COutputPane {
public:
    // Opens the file and puts the caret on the 1-based line under the
    // 1-based column of javac's caret (0: the line's start).
    using JumpHandler = std::function<void(const std::string& file, int line, int column)>;

    CCompilerOutputEdit(wxWindow* parent, wxWindowID id);

    void SetJumpHandler(JumpHandler handler) { m_jump = std::move(handler); }
    // The compiler's working folder: relative names in messages are taken
    // from there.
    void SetMessageFolder(const std::string& folder) { m_folder = folder; }

    // Recognises the message at or above a pane line; when its caret line is
    // found, the message up to two bytes past the caret is selected.
    toolchain::CCompilerMessage RecognizeAt(int line);
    // A double-click on a line: recognise, and jump when both the message and
    // its caret line were found. True when it jumped.
    bool JumpFromLine(int line);

    // The context menu at a client point: the focus, the recognition into
    // the remembered message, and menu 115 with its states. Shown by
    // ShowContextMenu; tests take the menu and run its commands directly.
    std::unique_ptr<wxMenu> PrepareContextMenu(const wxPoint& clientPoint);
    bool IsMenuCommandEnabled(int command) const;
    // "&Kopieren", "&Löschen" or "&Zum Fehler springen"; false for others.
    bool RunMenuCommand(int command);

    // The message the last context menu recognised.
    const std::string& MessageFile() const { return m_messageFile; }
    int MessageLine() const { return m_messageLine; }
    int MessageColumn() const { return m_messageColumn; }

protected:
    void OnLineDoubleClicked(int line) override;
    // Copying is offered while the selection ends past the text's start,
    // even when it is empty (then nothing is copied).
    bool CanCopy() const override { return SelectionEndsPastStart(); }
    void ShowContextMenu(const wxPoint& pt) override;

private:
    void Jump(const std::string& file, int line, int column);

    JumpHandler m_jump;
    std::string m_folder;
    std::string m_messageFile;
    int m_messageLine = 0;
    int m_messageColumn = 0;
};
