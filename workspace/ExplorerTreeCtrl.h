// Kib's explorer: the file tree showing files by the extension mask of the
// settings, and opening a file as a Kib document through the opener the
// application gives it.
#pragma once

#include "workspace/ExplorerMask.h"
#include "workspace/TreeFileCtrl.h"

#include <functional>
#include <string>
#include <vector>

class CExplorerTreeCtrl : public CTreeFileCtrl {
public:
    // Opens a file as a document; false when it could not (the opener has
    // told the user why).
    using DocumentOpener = std::function<bool(const std::string& path)>;

    CExplorerTreeCtrl(wxWindow* parent, wxWindowID id);

    void SetDocumentOpener(DocumentOpener opener) { m_opener = std::move(opener); }

    // The mask as typed ("*.java;*.jav"); the tree is read again.
    void SetMask(const std::string& mask);
    // Every entry followed by ";".
    std::string GetMask() const { return m_mask.GetMask(); }
    // The list as the settings keep it; the tree is read again when it changed.
    void SetExtensions(const std::vector<std::string>& extensions);
    const std::vector<std::string>& Extensions() const { return m_mask.Extensions(); }

    bool Open(const wxTreeItemId& item) override;
    bool IsFileShown(std::string_view name) const override;
    CFolderListing::FileShown FileFilter() const override;

private:
    CExplorerMask m_mask;
    DocumentOpener m_opener;
};
