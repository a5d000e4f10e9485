#include "workspace/ExplorerTreeCtrl.h"

CExplorerTreeCtrl::CExplorerTreeCtrl(wxWindow* parent, wxWindowID id) : CTreeFileCtrl(parent, id)
{
    m_mask.SetMask("*.*");
}

void CExplorerTreeCtrl::SetMask(const std::string& mask)
{
    m_mask.SetMask(mask);
    RefreshTree();
}

void CExplorerTreeCtrl::SetExtensions(const std::vector<std::string>& extensions)
{
    if (extensions == m_mask.Extensions())
        return;
    m_mask.SetExtensions(extensions);
    RefreshTree();
}

bool CExplorerTreeCtrl::IsFileShown(std::string_view name) const
{
    return m_mask.Shows(name);
}

CFolderListing::FileShown CExplorerTreeCtrl::FileFilter() const
{
    if (m_mask.Extensions().empty())
        return nullptr;
    return [mask = m_mask](std::string_view name) { return mask.Shows(name); };
}

bool CExplorerTreeCtrl::Open(const wxTreeItemId& item)
{
    const Node* node = NodeOf(item);
    if (!node || node->kind != Node::File)
        return CTreeFileCtrl::Open(item);
    return m_opener && m_opener(node->path);
}
