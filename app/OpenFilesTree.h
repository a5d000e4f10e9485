// The list of open documents in the workspace bar: one item per document,
// sorted by name, with the Java image for ".jav..." names, a "*" while
// modified, the full path as tool tip, and activation by click. It follows
// the documents as one of the document manager's listeners.
#pragma once

#include "app/DocumentListener.h"

#include <wx/treectrl.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class CKibDoc;

class COpenFilesTree : public wxTreeCtrl, public CDocumentListener {
public:
    COpenFilesTree() = default;
    COpenFilesTree(wxWindow* parent, wxWindowID id);

    void AddDocument(CKibDoc* doc);
    void RemoveDocument(CKibDoc* doc);
    void RefreshDocument(CKibDoc* doc);
    void SetDocumentMarker(CKibDoc* doc, const std::string& marker);

    wxTreeItemId FindDocumentItem(CKibDoc* doc) const;
    CKibDoc* DocumentOf(const wxTreeItemId& item) const;
    wxTreeItemId Root() const { return m_root; }
    // The tool tip for a client point (the item's full path), or empty.
    wxString TooltipAt(const wxPoint& pt) const;

    // Called with the document to bring to the front.
    void SetActivateHandler(std::function<void(CKibDoc*)> handler) { m_activate = std::move(handler); }

    static int ImageFor(const std::string& name);

    // CDocumentListener
    void OnDocumentOpened(CKibDoc& doc) override;
    void OnDocumentModifiedChanged(CKibDoc& doc) override;
    void OnDocumentSaved(CKibDoc& doc) override;
    void OnDocumentClosing(CKibDoc& doc) override;

private:
    struct Entry {
        wxString name; // without the "*" marker
        CKibDoc* doc;
    };
    struct Item {
        wxTreeItemId id;
        wxString name;
    };
    void Activate();
    void OnMotion(wxMouseEvent& event);
    // Each document's item goes straight to its sorted place and is found
    // through the map, so that thousands of documents cost no sorting.
    void InsertSorted(CKibDoc* doc, const std::string& name);

    wxTreeItemId m_root;
    std::vector<Entry> m_order; // the root's children, in their order
    std::unordered_map<CKibDoc*, Item> m_items;
    std::function<void(CKibDoc*)> m_activate;
    wxTreeItemId m_tipItem;
    unsigned m_tooltipCounter = 0;
    bool m_refreshing = false;

    wxDECLARE_DYNAMIC_CLASS(COpenFilesTree);
};
