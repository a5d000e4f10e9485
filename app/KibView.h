// The editor window of a document: the edit view of the text engine, with
// Kib's settings applied, Java colouring, the status-bar line and column,
// jumps to a line and column, the go-to-line dialog and the context menu.
#pragma once

#include "editor/EditFindCommands.h"
#include "editor/TextEditView.h"

class CKibDoc;
class CMainFrame;
class CSettings;

using CKibViewBase = CTextEditView;

class CKibView : public CKibViewBase {
public:
    CKibView(wxWindow* parent, CKibDoc* doc);
    ~CKibView() override;

    CKibDoc* GetDocument() const { return m_doc; }
    CTextBuffer* FindBuffer() override;
    LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs,
                           int runCapacity, int& runCount) override;

    // Attaches the buffer and applies the settings (the fallback font only
    // when there is no main frame).
    void OnInitialUpdate();
    // Every setting in the order of a new view.
    void ApplySettings(const CSettings& settings);
    // What a confirmed options dialog changes, in its own order.
    void ApplyChangedSettings(const CSettings& settings);
    void SetAutoIndentSetting(bool on) { SetAutoIndent(on); }
    bool GetAutoIndentSetting() const { return GetAutoIndent(); }

    // Caret to a 1-based line and a column (see JumpColumnIndex).
    void GoToPosition(int line, int column);

    // "Zeile: %d" and "Spalte: %d" of the caret.
    std::string LineStatusText() const;
    std::string ColumnStatusText() const;

    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;

    // The toolchain's process runner will live here (one per view).

    // Find, F3, replace (KibViewFind.cpp) and the tool bar's find box,
    // whose window sent the command.
    CEditFindCommands& FindCommands() { return m_find; }
    void ToolbarSearch(wxWindow* control);

private:
    void OnContextMenu(wxContextMenuEvent& event);
    void OnFocus(wxFocusEvent& event);
    CMainFrame* Frame() const;
    static IFindHost& FindHost();
    bool HandleFindCommand(int command);
    bool QueryFindCommand(int command, CCommandState& state);

    CKibDoc* m_doc;
    CEditFindCommands m_find;
};
