// The open documents of the one document type: creating, opening (an open
// document is only activated), closing all, saving all modified, the
// running number of new documents and the recent-file list.
#pragma once

#include "app/RecentFileList.h"

#include <memory>
#include <string>
#include <vector>

class CKibDoc;
class CChildFrame;
class CMainFrame;

class CDocManager {
public:
    CDocManager();
    ~CDocManager();

    void SetMainFrame(CMainFrame* frame) { m_mainFrame = frame; }
    CMainFrame* MainFrame() const { return m_mainFrame; }

    // A new empty document "Kib<n>" in a new window.
    CKibDoc* NewDocument();
    // Opens path (made absolute) or activates the window of the document
    // that already has it; null when it cannot be opened (the user has
    // been told why, except for what the design leaves silent).
    CKibDoc* OpenDocumentFile(const std::string& path, bool addToRecent = true);
    // Closes every document without asking.
    void CloseAllDocuments();
    // Asks for every modified document; false when the user cancelled.
    bool SaveAllModified();

    const std::vector<CKibDoc*>& Documents() const { return m_docs; }
    CKibDoc* FindDocument(const std::string& path) const;
    // Called by a document that closes: forgets and deletes it.
    void RemoveDocument(CKibDoc* doc);

    // A new window on doc (also for "Neues Fenster").
    CChildFrame* CreateFrame(CKibDoc* doc);

    CRecentFileList& RecentFiles() { return m_recent; }
    std::string NextUntitledTitle();

private:
    CMainFrame* m_mainFrame = nullptr;
    std::vector<CKibDoc*> m_docs;
    int m_untitled = 0;
    CRecentFileList m_recent;
};
