// One open Java source file: its text buffer, path, title and modified flag,
// the windows that show it, and opening, saving and closing it.
#pragma once

#include "app/CommandTarget.h"
#include "editor/TextBuffer.h"
#include "settings/LogFont.h"

#include <string>
#include <vector>

class CKibDoc;
class CKibView;
class CDocManager;

// The document's buffer: a change of its modified state marks the document.
class CKibDocBuffer : public CTextBuffer {
public:
    explicit CKibDocBuffer(CKibDoc* doc) : m_doc(doc) {}
    void MarkModified(bool modified) override;

private:
    CKibDoc* m_doc;
};

class CKibDoc : public CCommandTarget {
public:
    explicit CKibDoc(CDocManager* manager);
    ~CKibDoc() override;
    CKibDoc(const CKibDoc&) = delete;
    CKibDoc& operator=(const CKibDoc&) = delete;

    CTextBuffer& Buffer() { return m_buffer; }
    CDocManager* Manager() const { return m_manager; }

    // Full path (bytes as the file system has them); empty until saved.
    const std::string& GetPathName() const { return m_path; }
    // The file name, or "Kib<n>" for a new document (UTF-8 for display).
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title);
    // Sets the path, the title (the file name) and, when asked, adds the path
    // to the recent-file list.
    void SetPathName(const std::string& path, bool addToRecent = true);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified) { m_modified = modified; }

    bool OnNewDocument();
    bool OnOpenDocument(const std::string& path);
    // Writes the buffer to path; on failure the document stays modified and
    // the user is told why.
    bool OnSaveDocument(const std::string& path);
    // Removes the document from the open-files list, closes its windows and
    // deletes it.
    void OnCloseDocument();
    void DeleteContents();
    // Reads the file again (after an outside change was accepted).
    bool Reload();

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
    // Recomputes the window numbers (":1", ":2") of the captions.
    void UpdateFrameCounts();

    const CLogFont& FallbackFont() const { return m_fallbackFont; }

    // CCommandTarget
    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;

private:
    CDocManager* m_manager;
    CKibDocBuffer m_buffer;
    std::string m_path;
    std::string m_title;
    bool m_modified = false;
    bool m_closing = false;
    std::vector<CKibView*> m_views;
    CLogFont m_fallbackFont;
    int m_watchRecord = -1; // the file watch of this document (not yet kept)
};
