// The editor window of a document: the edit view of the text engine, with
// Kib's settings applied, Java colouring, the status-bar line and column,
// jumps to a line and column, the go-to-line dialog and the context menu.
#pragma once

#include "editor/EditFindCommands.h"
#include "editor/TextEditView.h"
#include "toolchain/ProcessRunner.h"

#include <memory>

class CKibDoc;
class CKibViewTools;
class CMainFrame;
class CSettings;

using CKibViewBase = CTextEditView;

class CKibView : public CKibViewBase, public IProcessEvents {
public:
    CKibView(wxWindow* parent, CKibDoc* doc);
    ~CKibView() override;

    CKibDoc* GetDocument() const { return m_doc; }
    // The document's title and path (empty without a document or a file).
    std::string DocumentTitle() const;
    std::string DocumentPath() const;
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

    // A typed, pasted or dropped character this document's encoding cannot
    // hold: the user is told which.
    void RefuseCharacter(char32_t cp) override;

    // Converts the document into `to` as one undo step, the caret staying on
    // its character; a character Windows-1252 cannot hold refuses it with a
    // message that names the character and its line.
    void ConvertDocumentEncoding(TextEncoding to);

    // "Zeile: %d" and "Spalte: %d" of the caret.
    std::string LineStatusText() const;
    std::string ColumnStatusText() const;

    // Id, action and enabling rule of each command, row by row.
    using Commands = CCommandTable<CKibView>;
    static const Commands& CommandTable();
    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;
    // The main frame's text block; none without a main frame.
    const std::string* TextBlockContent(int index) override;

    // --- Compile and run, with this view's own process runner
    // (KibViewTools.cpp). Compile: "&Compilieren", or with thenRun
    // "Compilieren und anschließend Starten".
    void Compile(bool thenRun);
    // Runs the chosen start file's class (this view's own file when none is
    // chosen) with the arguments as typed.
    void Run(const std::string& arguments);
    void RunWithArguments();
    void RunApplet();
    // 0 idle, 1 compile, 2 run, 4 compile then run.
    int CommandMode() const;
    bool ErrorOutputSeen() const;
    CProcessRunner& Runner();
    wxWindow* CompileProgressWindow() const;
    // A compiler message's position: 1-based line and 1-based column of
    // javac's caret (0: the line's start), mapped onto the document's bytes.
    void GoToMessagePosition(int line, int caretColumn);

    // IProcessEvents: the runner's reader and watcher threads.
    void OnChildStdOut(std::string_view text) override;
    void OnChildStdErr(std::string_view text) override;
    void OnChildTerminate(const ChildExit& exit) override;

    // Find, F3, replace (KibViewFind.cpp) and the tool bar's find box,
    // whose window sent the command.
    CEditFindCommands& FindCommands() { return m_find; }
    void ToolbarSearch(wxWindow* control);

private:
    void OnContextMenu(wxContextMenuEvent& event);
    void OnFocus(wxFocusEvent& event);
    CMainFrame* Frame() const;
    static IFindHost& FindHost();
    void CloseTools();

    CKibDoc* m_doc;
    CEditFindCommands m_find;
    std::unique_ptr<CKibViewTools> m_tools;
};
