// The two search results panes of the output bar: find-in-files result
// lines "file(line,column):text", a double-click or the context menu's
// "&Zu Zeile springen" opening the file at the line. The jump itself is the
// application's, given as a handler.
#pragma once

#include "controls/OutputPane.h"
#include "workspace/SearchResultLine.h"

#include <functional>
#include <string>

class wxMenu;

class CSearchResultEdit : public COutputPane {
public:
    enum EJump {
        JUMP_DOUBLE_CLICK, // wait for the document, caret to column 0
        JUMP_MENU,         // activate the window, caret to column 1
    };
    using JumpHandler = std::function<void(const std::string& file, int line, EJump how)>;
    // Runs a popup menu at a client point; returns the chosen wx id or
    // wxID_NONE. The real one is the toolkit's; tests put in their own.
    using PopupRunner = std::function<int(CSearchResultEdit& pane, wxMenu& menu, const wxPoint& pt)>;

    CSearchResultEdit(wxWindow* parent, wxWindowID id);

    void SetJumpHandler(JumpHandler handler) { m_jump = std::move(handler); }
    static void SetPopupRunner(PopupRunner runner);

    // Recognises the result on a pane line (at most its first 1024 bytes).
    bool RecognizeLine(int line, SearchResultLocation& result) const;

    // What the last context menu recognised; the line is 0 when nothing.
    const std::string& MenuFile() const { return m_file; }
    int MenuLine() const { return m_line; }

    // The context menu's commands: "&Kopieren" (57634), "&Löschen" (57632),
    // "&Zu Zeile springen" (32877). False for any other.
    bool HandleMenuCommand(int command);
    bool IsMenuCommandEnabled(int command) const;

    // Recognises at a client point into the menu members and shows menu 118.
    void ShowContextMenu(const wxPoint& pt) override;

protected:
    void OnLineDoubleClicked(int line) override;
    // Copying is offered while the selection ends past the text's start,
    // even when it is empty (then nothing is copied).
    bool CanCopy() const override { return SelectionEndsPastStart(); }

private:
    JumpHandler m_jump;
    std::string m_file;
    int m_line = 0;
};
