// The list of open documents in the workspace bar: one item per document,
// sorted by name, with the Java image for ".jav..." names, a "*" while
// modified, the full path as tool tip, and activation by click.
#pragma once

#include <wx/treectrl.h>

#include <functional>
#include <string>

class CKibDoc;

class COpenFilesTree : public wxTreeCtrl {
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

protected:
    int OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) override;

private:
    void Activate();
    void OnMotion(wxMouseEvent& event);

    wxTreeItemId m_root;
    std::function<void(CKibDoc*)> m_activate;
    wxTreeItemId m_tipItem;
    unsigned m_tooltipCounter = 0;
    bool m_refreshing = false;

    wxDECLARE_DYNAMIC_CLASS(COpenFilesTree);
};
