#include "app/OpenFilesTree.h"

#include "app/KibDoc.h"
#include "platform/Path.h"
#include "resources/Artwork.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <strings.h>

#include <algorithm>

using namespace kib;

wxIMPLEMENT_DYNAMIC_CLASS(COpenFilesTree, wxTreeCtrl);

namespace {

class CDocItemData : public wxTreeItemData {
public:
    explicit CDocItemData(CKibDoc* doc) : m_doc(doc) {}
    CKibDoc* m_doc;
};

wxString Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

std::string NameOf(const std::string& pathOrTitle)
{
    return platform::FileNameOf(pathOrTitle);
}

} // namespace

COpenFilesTree::COpenFilesTree(wxWindow* parent, wxWindowID id)
    : wxTreeCtrl(parent, id, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_FULL_ROW_HIGHLIGHT | wxTR_SINGLE |
                     wxBORDER_NONE)
{
    AssignImageList(CreateOpenFilesImageList());
    m_root = AddRoot(KibText(IDS_OPEN_FILES_ROOT), kImageRoot, kImageRoot);
    SetItemBold(m_root);
    Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent&) { Activate(); });
    Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent&) { Activate(); });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        int flags = 0;
        wxTreeItemId item = HitTest(e.GetPosition(), flags);
        if (item.IsOk() && (flags & wxTREE_HITTEST_ONITEM) && item == GetSelection())
            Activate();
        e.Skip();
    });
    Bind(wxEVT_MOTION, &COpenFilesTree::OnMotion, this);
}

int COpenFilesTree::ImageFor(const std::string& name)
{
    std::string ext = platform::SplitPath(name).ext;
    return ext.size() >= 4 && strncasecmp(ext.c_str(), ".jav", 4) == 0 ? kImageJava : kImageFile;
}

void COpenFilesTree::InsertSorted(CKibDoc* doc, const std::string& name)
{
    // The order of the system's tree control: names without regard to case;
    // a name goes behind the names equal to it, so equal names keep their order.
    wxString text = Display(name);
    auto at = std::upper_bound(m_order.begin(), m_order.end(), text,
                               [](const wxString& t, const Entry& e) { return t.CmpNoCase(e.name) < 0; });
    size_t index = static_cast<size_t>(at - m_order.begin());
    m_order.insert(at, Entry{text, doc});
    wxTreeItemId id = InsertItem(m_root, index, text, ImageFor(name), ImageFor(name), new CDocItemData(doc));
    m_items[doc] = Item{id, text};
}

void COpenFilesTree::RemoveDocument(CKibDoc* doc)
{
    auto found = m_items.find(doc);
    if (found == m_items.end())
        return;
    wxTreeItemId item = found->second.id;
    auto range = std::equal_range(m_order.begin(), m_order.end(), Entry{found->second.name, nullptr},
                                  [](const Entry& a, const Entry& b) { return a.name.CmpNoCase(b.name) < 0; });
    for (auto it = range.first; it != range.second; ++it)
        if (it->doc == doc) {
            m_order.erase(it);
            break;
        }
    m_items.erase(found);
    if (item == m_tipItem) {
        m_tipItem = wxTreeItemId();
        UnsetToolTip();
    }
    m_refreshing = true; // deleting the selection must not activate another window
    Delete(item);
    m_refreshing = false;
}

void COpenFilesTree::AddDocument(CKibDoc* doc)
{
    if (m_items.count(doc))
        return;
    InsertSorted(doc, NameOf(doc->GetTitle()));
    Expand(m_root);
}

wxTreeItemId COpenFilesTree::FindDocumentItem(CKibDoc* doc) const
{
    auto found = m_items.find(doc);
    return found == m_items.end() ? wxTreeItemId() : found->second.id;
}

CKibDoc* COpenFilesTree::DocumentOf(const wxTreeItemId& item) const
{
    if (!item.IsOk())
        return nullptr;
    auto* data = static_cast<CDocItemData*>(GetItemData(item));
    return data ? data->m_doc : nullptr;
}

void COpenFilesTree::RefreshDocument(CKibDoc* doc)
{
    wxTreeItemId item = FindDocumentItem(doc);
    if (!item.IsOk())
        return;
    std::string name = NameOf(doc->GetPathName().empty() ? doc->GetTitle() : doc->GetPathName());
    wxString text = Display(name);
    if (m_items[doc].name == text) {
        SetItemImage(item, ImageFor(name));
        SetItemImage(item, ImageFor(name), wxTreeItemIcon_Selected);
        SetItemText(item, text);
        return;
    }
    // A new name: the item moves to its place; a selection stays on it.
    bool selected = GetSelection() == item;
    RemoveDocument(doc);
    InsertSorted(doc, name);
    if (selected) {
        m_refreshing = true;
        SelectItem(m_items[doc].id);
        m_refreshing = false;
    }
}

void COpenFilesTree::SetDocumentMarker(CKibDoc* doc, const std::string& marker)
{
    wxTreeItemId item = FindDocumentItem(doc);
    if (!item.IsOk())
        return;
    wxString text = GetItemText(item);
    wxString current = !text.empty() && text.Last() == '*' ? wxString("*") : wxString();
    wxString wanted = wxString::FromUTF8(marker);
    if (current == wanted)
        return;
    std::string name = NameOf(doc->GetPathName().empty() ? doc->GetTitle() : doc->GetPathName());
    Freeze();
    SetItemText(item, Display(name) + wanted);
    Thaw();
}

void COpenFilesTree::OnDocumentOpened(CKibDoc& doc)
{
    AddDocument(&doc);
}

void COpenFilesTree::OnDocumentModifiedChanged(CKibDoc& doc)
{
    if (!doc.Views().empty())
        SetDocumentMarker(&doc, doc.IsModified() ? "*" : "");
}

void COpenFilesTree::OnDocumentSaved(CKibDoc& doc)
{
    // A new name moves the item to its place.
    if (!doc.Views().empty())
        RefreshDocument(&doc);
}

void COpenFilesTree::OnDocumentClosing(CKibDoc& doc)
{
    RemoveDocument(&doc);
}

void COpenFilesTree::Activate()
{
    if (m_refreshing)
        return;
    CKibDoc* doc = DocumentOf(GetSelection());
    if (doc && m_activate)
        m_activate(doc);
}

wxString COpenFilesTree::TooltipAt(const wxPoint& pt) const
{
    int flags = 0;
    wxTreeItemId item = const_cast<COpenFilesTree*>(this)->HitTest(pt, flags);
    if (!item.IsOk() || !(flags & (wxTREE_HITTEST_ONITEMLABEL | wxTREE_HITTEST_ONITEMICON)))
        return wxString();
    CKibDoc* doc = DocumentOf(item);
    if (!doc)
        return wxString();
    return Display(doc->GetPathName().empty() ? doc->GetTitle() : doc->GetPathName());
}

void COpenFilesTree::OnMotion(wxMouseEvent& event)
{
    int flags = 0;
    wxTreeItemId item = HitTest(event.GetPosition(), flags);
    if (!(flags & (wxTREE_HITTEST_ONITEMLABEL | wxTREE_HITTEST_ONITEMICON)))
        item = wxTreeItemId();
    if (item != m_tipItem) {
        m_tipItem = item;
        m_tooltipCounter = m_tooltipCounter >= 65534 ? 0 : m_tooltipCounter + 1;
        wxString tip = TooltipAt(event.GetPosition());
        if (tip.empty())
            UnsetToolTip();
        else
            SetToolTip(tip);
    }
    event.Skip();
}
