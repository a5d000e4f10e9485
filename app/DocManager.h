// The open documents of the one document type: creating, opening (an open
// document is only activated), closing all, saving all modified, the
// running number of new documents and the recent-file list. It owns the
// documents and tells its listeners (the windows) what happens to them.
#pragma once

#include "app/DocumentListener.h"
#include "app/RecentFileList.h"

#include <memory>
#include <string>
#include <vector>

class CKibDoc;
class wxWindow;

class CDocManager {
public:
    CDocManager();
    ~CDocManager();

    // The main window: documents open only while there is one; it is the
    // parent of their messages.
    void SetMainFrame(wxWindow* frame) { m_mainFrame = frame; }

    // A new empty document "Kib<n>"; its window comes from the listeners.
    CKibDoc* NewDocument();
    // Opens path (made absolute) or activates the window of the document
    // that already has it; null when it cannot be opened (the user has
    // been told why, except for what the design leaves silent) or when no
    // listener gave it a window.
    CKibDoc* OpenDocumentFile(const std::string& path, bool addToRecent = true);
    // Closes every document without asking.
    void CloseAllDocuments();
    // Asks for every modified document; false when the user cancelled.
    bool SaveAllModified();

    // The open documents in the order they were opened (owned here).
    std::vector<CKibDoc*> Documents() const;
    size_t DocumentCount() const { return m_docs.size(); }
    CKibDoc* FindDocument(const std::string& path) const;
    // Tells the listeners the document closes, then forgets and deletes it.
    void CloseDocument(CKibDoc* doc);

    // Listeners are told in the order they were added; one that goes away
    // removes itself first.
    void AddListener(CDocumentListener* listener);
    void RemoveListener(CDocumentListener* listener);
    // Tells every listener (used by the documents for their own changes).
    void Notify(void (CDocumentListener::*notice)(CKibDoc&), CKibDoc& doc);

    // The window the documents' messages and dialogs belong to, or null.
    wxWindow* DialogParent() const;

    CRecentFileList& RecentFiles() { return m_recent; }
    std::string NextUntitledTitle();

private:
    template <class... Args>
    void NotifyAll(void (CDocumentListener::*notice)(Args...), Args... args);

    wxWindow* m_mainFrame = nullptr;
    std::vector<std::unique_ptr<CKibDoc>> m_docs;
    std::vector<CDocumentListener*> m_listeners;
    int m_notifyDepth = 0;
    bool m_listenersRemoved = false;
    int m_untitled = 0;
    CRecentFileList m_recent;
};
