// One open Java source file: its text buffer, path, title and modified flag,
// the views that show it, and opening and saving it. What changes is told to
// the manager's listeners; the manager owns and closes it.
#pragma once

#include "app/CommandTarget.h"
#include "app/FileMonitor.h"
#include "editor/TextBuffer.h"
#include "settings/LogFont.h"

#include <wx/string.h>

#include <string>
#include <vector>

class CKibDoc;
class CKibView;
class CDocManager;
class CDocumentListener;

// The document's buffer: a change of its modified state marks the document.
class CKibDocBuffer : public CTextBuffer {
public:
    explicit CKibDocBuffer(CKibDoc* doc) : m_doc(doc) {}
    void MarkModified(bool modified) override;

private:
    CKibDoc* m_doc;
};

class CKibDoc : public CCommandTarget, public IWatchedDocument {
public:
    explicit CKibDoc(CDocManager* manager);
    ~CKibDoc() override;
    CKibDoc(const CKibDoc&) = delete;
    CKibDoc& operator=(const CKibDoc&) = delete;

    CTextBuffer& Buffer() { return m_buffer; }

    // Full path (bytes as the file system has them); empty until saved.
    const std::string& GetPathName() const { return m_path; }
    // The file name, or "Kib<n>" for a new document (UTF-8 for display).
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title);
    // Sets the full path, the title (the file name) and, when asked, adds
    // the path to the recent-file list.
    void SetPathName(const std::string& path, bool addToRecent = true);

    // The record of the watch on the file (0: none).
    unsigned WatchRecord() const { return m_watchRecord; }
    // Watches the file anew from now on (its state now counts as seen).
    void RenewFileWatch(const CFileWatcher::KnownFile* known = nullptr);
    // Reads the file again (line ends detected as when opening); unsaved
    // changes go. False, with the text unchanged, when it cannot be read.
    bool Reload();
    bool ReloadAndRepaint() override;
    wxWindow* ReloadQuestionParent() override;

    bool IsModified() const override { return m_modified; }
    void SetModifiedFlag(bool modified);

    // An empty text under title.
    bool OnNewDocument(const std::string& title);
    // Reads the file at path (full); the title becomes its file name.
    bool OnOpenDocument(const std::string& path);
    // Writes the buffer to path (made absolute here); on failure the
    // document stays modified and the user is told why.
    bool OnSaveDocument(const std::string& path);
    // Has the manager close the document: its windows close and it is
    // deleted. Without a manager only the text goes.
    void OnCloseDocument();
    void DeleteContents();

    // The manager's two halves of closing: the flag that keeps a second
    // close (and the renumbering of windows that go) out, then the views and
    // the text go.
    bool IsClosing() const { return m_closing; }
    void BeginClose() { m_closing = true; }
    void EndClose();

    // Asks "Änderungen in %1 speichern?" when modified; false on cancel or a
    // failed save.
    bool SaveModified();
    // Save (to the own path, or through save-as when there is none).
    bool DoFileSave();
    // Save as: asks for a name when path is empty.
    bool DoSave(const std::string& path, bool replace = true);

    // Views.
    void AddView(CKibView* view);
    void RemoveView(CKibView* view);
    const std::vector<CKibView*>& Views() const { return m_views; }
    CKibView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }

    const CLogFont& FallbackFont() const { return m_fallbackFont; }

    // Id, action and enabling rule of each command, row by row.
    using Commands = CCommandTable<CKibDoc>;
    static const Commands& CommandTable();
    // CCommandTarget
    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;

private:
    void Tell(void (CDocumentListener::*notice)(CKibDoc&));
    void DropFileWatch();

    CDocManager* m_manager;
    CKibDocBuffer m_buffer;
    std::string m_path;
    std::string m_title;
    bool m_modified = false;
    bool m_closing = false;
    unsigned m_watchRecord = 0;
    std::vector<CKibView*> m_views;
    CLogFont m_fallbackFont;
};
