#include "workspace/TreeFileCtrl.h"

#include "resources/Artwork.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"
#include "resources/MenuTable.h"
#include "resources/StringTable.h"
#include "workspace/DriveWatcher.h"
#include "workspace/FilePropertiesWindow.h"
#include "workspace/MountTable.h"
#include "workspace/ShareEnumerator.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/image.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include <chrono>

#include <sys/stat.h>
#include <unistd.h>

using namespace kib;

struct CTreeFileCtrl::Watch {
    unsigned id = 0;
    std::string drive;
    std::unique_ptr<CDriveWatcher> watcher;
};

namespace {

CTreeFileCtrl::PopupRunner& Runner()
{
    static CTreeFileCtrl::PopupRunner runner;
    return runner;
}

// The mount table as last read: which paths lie on network file systems.
std::vector<MountEntry>& Mounts()
{
    static std::vector<MountEntry> mounts = CMountTable::ReadSystem();
    return mounts;
}

wxBitmap Art(const char* name, const wxArtID& fallback)
{
    wxBitmap b = wxArtProvider::GetBitmap(wxART_MAKE_ART_ID_FROM_STR(name), wxART_OTHER, wxSize(16, 16));
    if (!b.IsOk())
        b = wxArtProvider::GetBitmap(fallback, wxART_OTHER, wxSize(16, 16));
    if (!b.IsOk()) {
        b.Create(16, 16);
    }
    if (b.GetWidth() != 16 || b.GetHeight() != 16)
        b = wxBitmap(b.ConvertToImage().Rescale(16, 16, wxIMAGE_QUALITY_HIGH));
    return b;
}

// The shared overlay: the theme's emblem in the lower left corner.
wxBitmap WithSharedOverlay(const wxBitmap& base)
{
    wxImage image = base.ConvertToImage();
    if (!image.HasAlpha())
        image.InitAlpha();
    wxBitmap emblem = wxArtProvider::GetBitmap(wxART_MAKE_ART_ID_FROM_STR("emblem-shared"), wxART_OTHER, wxSize(16, 16));
    wxImage mark;
    if (emblem.IsOk())
        mark = emblem.ConvertToImage().Rescale(9, 9, wxIMAGE_QUALITY_HIGH);
    if (!mark.IsOk()) {
        // A small blue hand-like block where the theme has no emblem.
        mark.Create(7, 7);
        mark.SetRGB(wxRect(0, 0, 7, 7), 30, 90, 200);
        mark.InitAlpha();
    }
    const int ox = 0, oy = 16 - mark.GetHeight();
    for (int y = 0; y < mark.GetHeight(); ++y)
        for (int x = 0; x < mark.GetWidth(); ++x) {
            const int a = mark.HasAlpha() ? mark.GetAlpha(x, y) : 255;
            if (a == 0)
                continue;
            const int bx = ox + x, by = oy + y;
            auto blend = [a](int under, int over) { return (over * a + under * (255 - a)) / 255; };
            image.SetRGB(bx, by, blend(image.GetRed(bx, by), mark.GetRed(x, y)),
                         blend(image.GetGreen(bx, by), mark.GetGreen(x, y)),
                         blend(image.GetBlue(bx, by), mark.GetBlue(x, y)));
            image.SetAlpha(bx, by, std::max<int>(image.GetAlpha(bx, by), a));
        }
    return wxBitmap(image);
}

// The names of path below root, which holds it.
std::vector<std::string> ComponentsBelow(const std::string& root, const std::string& path)
{
    std::vector<std::string> names;
    size_t at = root.size();
    while (at < path.size()) {
        while (at < path.size() && path[at] == '/')
            ++at;
        if (at >= path.size())
            break;
        size_t end = path.find('/', at);
        if (end == std::string::npos)
            end = path.size();
        names.push_back(path.substr(at, end - at));
        at = end;
    }
    return names;
}

} // namespace

CTreeFileCtrl::Node::~Node()
{
    if (owner)
        owner->m_live.erase(key);
}

CTreeFileCtrl::CTreeFileCtrl(wxWindow* parent, wxWindowID id)
    : wxTreeCtrl(parent, id, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_FULL_ROW_HIGHLIGHT | wxTR_HIDE_ROOT | wxTR_SINGLE |
                     wxTR_EDIT_LABELS),
      m_alive(std::make_shared<bool>(true))
{
    Bind(wxEVT_TREE_ITEM_EXPANDING, &CTreeFileCtrl::OnExpanding, this);
    Bind(wxEVT_TREE_ITEM_COLLAPSED, &CTreeFileCtrl::OnCollapsed, this);
    Bind(wxEVT_TREE_SEL_CHANGED, &CTreeFileCtrl::OnSelChanged, this);
    Bind(wxEVT_TREE_ITEM_ACTIVATED, &CTreeFileCtrl::OnActivated, this);
    Bind(wxEVT_TREE_ITEM_MENU, &CTreeFileCtrl::OnItemMenu, this);
    Bind(wxEVT_TREE_BEGIN_LABEL_EDIT, &CTreeFileCtrl::OnBeginLabelEdit, this);
    Bind(wxEVT_KEY_DOWN, &CTreeFileCtrl::OnKeyDown, this);
    Bind(wxEVT_IDLE, &CTreeFileCtrl::OnIdle, this);
    Bind(wxEVT_PAINT, &CTreeFileCtrl::OnPaint, this);
    // Nothing here listens for items going; left to travel up to the frame,
    // the events of a big folder's collapse would take longer than the rest.
    Bind(wxEVT_TREE_DELETE_ITEM, [](wxTreeEvent&) {});
    // The menu's own update pass: answered here, before it reaches a frame
    // that would disable commands it does not know.
    for (int command : {ID_EXPLORER_OPEN, ID_EXPLORER_RENAME, ID_EXPLORER_DELETE, ID_EXPLORER_PROPERTIES,
                        ID_EXPLORER_REFRESH, ID_EXPLORER_UP, ID_EXPLORER_BACK, ID_EXPLORER_FORWARD})
        Bind(wxEVT_UPDATE_UI, [this, command](wxUpdateUIEvent& e) { e.Enable(IsCommandEnabled(command)); },
             ToWxId(command));
}

CTreeFileCtrl::~CTreeFileCtrl()
{
    StopAllWatching();
    m_pending.clear();
    // The nodes forget themselves in m_live, which must still be there.
    DeleteAllItems();
    m_alive.reset();
}

void CTreeFileCtrl::BuildImages()
{
    auto* images = new wxImageList(16, 16, true, IMG_COUNT);
    wxBitmap bitmaps[IMG_COUNT];
    bitmaps[IMG_COMPUTER] = Art("computer", wxART_HARDDISK);
    bitmaps[IMG_NETWORK] = Art("network-workgroup", wxART_HARDDISK);
    bitmaps[IMG_DRIVE] = Art("drive-harddisk", wxART_HARDDISK);
    bitmaps[IMG_HOME] = Art("user-home", wxART_GO_HOME);
    bitmaps[IMG_FOLDER] = Art("folder", wxART_FOLDER);
    bitmaps[IMG_FOLDER_OPEN] = Art("folder-open", wxART_FOLDER_OPEN);
    bitmaps[IMG_FILE] = Art("text-x-generic", wxART_NORMAL_FILE);
    // Java sources carry Kib's own mark, as in the list of open files.
    bitmaps[IMG_JAVA] = OpenFilesBitmap(kImageJava);
    bitmaps[IMG_SERVER] = Art("network-server", wxART_HARDDISK);
    bitmaps[IMG_DOMAIN] = Art("network-workgroup", wxART_HARDDISK);
    bitmaps[IMG_REMOTE] = Art("folder-remote", wxART_FOLDER);
    bitmaps[IMG_FOLDER_SHARED] = WithSharedOverlay(bitmaps[IMG_FOLDER]);
    bitmaps[IMG_FOLDER_OPEN_SHARED] = WithSharedOverlay(bitmaps[IMG_FOLDER_OPEN]);
    bitmaps[IMG_DRIVE_SHARED] = WithSharedOverlay(bitmaps[IMG_DRIVE]);
    bitmaps[IMG_HOME_SHARED] = WithSharedOverlay(bitmaps[IMG_HOME]);
    for (const wxBitmap& b : bitmaps)
        images->Add(b);
    AssignImageList(images);
}

void CTreeFileCtrl::OnInitialise()
{
    // The icons come from the icon theme, which takes milliseconds to look
    // them up: the main window shows first (the tree is not on its first
    // tab), and the tree draws them from the loop's next turn on.
    if (IsShownOnScreen())
        BuildImages();
    else
        CallAfter([this] {
            if (!GetImageList())
                BuildImages();
        });
    RefreshTree();
}

// --- Items and paths -------------------------------------------------------

CTreeFileCtrl::Node* CTreeFileCtrl::NodeOf(const wxTreeItemId& item) const
{
    return item.IsOk() ? dynamic_cast<Node*>(GetItemData(item)) : nullptr;
}

std::string CTreeFileCtrl::ItemToPath(const wxTreeItemId& item) const
{
    const Node* node = NodeOf(item);
    return node ? node->path : std::string();
}

wxTreeItemId CTreeFileCtrl::ItemOfKey(CTreeHistory::Key key) const
{
    auto it = m_live.find(key);
    return it == m_live.end() ? wxTreeItemId() : wxTreeItemId(it->second);
}

wxTreeItemId CTreeFileCtrl::FindChild(const wxTreeItemId& parent, const std::string& name) const
{
    if (!parent.IsOk())
        return {};
    // Two names that differ only in case are two entries here: the exact
    // one wins, the other only when there is no exact one.
    wxTreeItemIdValue cookie;
    wxTreeItemId folded;
    for (wxTreeItemId c = GetFirstChild(parent, cookie); c.IsOk(); c = GetNextChild(parent, cookie)) {
        const Node* node = NodeOf(c);
        if (!node)
            continue;
        if (node->name == name)
            return c;
        if (!folded.IsOk() && node->name.size() == name.size()) {
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i)
                same = std::tolower(static_cast<unsigned char>(name[i])) ==
                       std::tolower(static_cast<unsigned char>(node->name[i]));
            if (same)
                folded = c;
        }
    }
    return folded;
}

wxTreeItemId CTreeFileCtrl::DriveItemFor(const std::string& path) const
{
    if (!m_computer.IsOk())
        return {};
    wxTreeItemIdValue cookie;
    wxTreeItemId best;
    size_t bestLength = 0;
    for (wxTreeItemId c = GetFirstChild(m_computer, cookie); c.IsOk(); c = GetNextChild(m_computer, cookie)) {
        const Node* node = NodeOf(c);
        if (!node)
            continue;
        const std::string& p = node->path;
        bool holds = p == "/" || path == p || (path.size() > p.size() && path.compare(0, p.size(), p) == 0 &&
                                               path[p.size()] == '/');
        if (holds && (!best.IsOk() || p.size() > bestLength)) {
            best = c;
            bestLength = p.size();
        }
    }
    return best;
}

wxTreeItemId CTreeFileCtrl::PathToItem(const std::string& path) const
{
    wxTreeItemId drive = DriveItemFor(path);
    if (!drive.IsOk())
        return {};
    wxTreeItemId item = drive;
    for (const std::string& name : ComponentsBelow(NodeOf(drive)->path, path)) {
        item = FindChild(item, name);
        if (!item.IsOk())
            break;
    }
    return item;
}

bool CTreeFileCtrl::IsFile(const std::string& path) const
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool CTreeFileCtrl::IsFolder(const std::string& path) const
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CTreeFileCtrl::IsFile(const wxTreeItemId& item) const
{
    const Node* node = NodeOf(item);
    return node && node->kind == Node::File;
}

bool CTreeFileCtrl::IsFolder(const wxTreeItemId& item) const
{
    const Node* node = NodeOf(item);
    return node && (node->kind == Node::Folder || node->kind == Node::Drive);
}

bool CTreeFileCtrl::IsDrive(const wxTreeItemId& item) const
{
    const Node* node = NodeOf(item);
    return node && node->kind == Node::Drive;
}

bool CTreeFileCtrl::IsCompressed(const std::string& path) const
{
    return (CFolderListing::Attributes(path) & FolderItem::Compressed) != 0;
}

bool CTreeFileCtrl::IsEncrypted(const std::string& path) const
{
    return (CFolderListing::Attributes(path) & FolderItem::Encrypted) != 0;
}

bool CTreeFileCtrl::IsShared(const std::string& path) const
{
    return CShareEnumerator::Instance().IsShared(path);
}

bool CTreeFileCtrl::IsOnNetworkMount(const std::string& path) const
{
    const MountEntry* m = CMountTable::MountOf(Mounts(), path);
    return m && CMountTable::IsNetworkType(m->type);
}

wxTreeItemId CTreeFileCtrl::DriveItemOf(wxTreeItemId item) const
{
    while (item.IsOk() && item != m_root) {
        const Node* node = NodeOf(item);
        if (node && node->kind == Node::Drive)
            return item;
        item = GetItemParent(item);
    }
    return {};
}

wxString CTreeFileCtrl::DisplayName(const std::string& name)
{
    std::string clean = name;
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return kib::DisplayPath(clean);
}

// --- Filters -------------------------------------------------------------------

bool CTreeFileCtrl::IsFileShown(std::string_view name) const
{
    return m_switches.showFiles && !name.empty();
}

CFolderListing::FileShown CTreeFileCtrl::FileFilter() const
{
    if (!m_switches.showFiles)
        return nullptr;
    return [](std::string_view name) { return !name.empty(); };
}

bool CTreeFileCtrl::HasChildren(const std::string& folder) const
{
    if (IsOnNetworkMount(folder))
        return true;
    return CFolderListing::HasChildren(folder, FileFilter());
}

int CTreeFileCtrl::FileImage(const std::string& name) const
{
    std::string_view n = name;
    auto ends = [&](std::string_view ext) {
        if (n.size() < ext.size())
            return false;
        for (size_t i = 0; i < ext.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(n[n.size() - ext.size() + i])) != ext[i])
                return false;
        return true;
    };
    return ends(".java") || ends(".jav") ? IMG_JAVA : IMG_FILE;
}

// --- Filling ---------------------------------------------------------------------

wxTreeItemId CTreeFileCtrl::InsertFileItem(const wxTreeItemId& parent, std::unique_ptr<Node> node, const wxString& text,
                                           int image, int openImage, bool hasChildren, unsigned attributes, bool shared,
                                           bool labelLater)
{
    node->key = NextKey();
    node->owner = this;
    node->labelled = !labelLater;
    const CTreeHistory::Key key = node->key;
    if (shared && m_switches.showSharedOverlay) {
        auto overlay = [](int img) {
            switch (img) {
            case IMG_FOLDER: return static_cast<int>(IMG_FOLDER_SHARED);
            case IMG_FOLDER_OPEN: return static_cast<int>(IMG_FOLDER_OPEN_SHARED);
            case IMG_DRIVE: return static_cast<int>(IMG_DRIVE_SHARED);
            case IMG_HOME: return static_cast<int>(IMG_HOME_SHARED);
            default: return img;
            }
        };
        image = overlay(image);
        openImage = overlay(openImage);
    }
    wxTreeItemId item = AppendItem(parent, text, image, image, node.release());
    if (openImage != image)
        SetItemImage(item, openImage, wxTreeItemIcon_Expanded);
    m_live[key] = item.GetID();
    if (hasChildren)
        SetItemHasChildren(item, true);
    if (m_switches.colourEncrypted && (attributes & FolderItem::Encrypted))
        SetItemTextColour(item, m_switches.encryptedColour);
    else if (m_switches.colourCompressed && (attributes & FolderItem::Compressed))
        SetItemTextColour(item, m_switches.compressedColour);
    return item;
}

void CTreeFileCtrl::InsertFiles(const wxTreeItemId& item, Pending& fill, size_t count)
{
    const size_t end = std::min(fill.files.size(), fill.next + count);
    for (; fill.next < end; ++fill.next) {
        FolderItem& f = fill.files[fill.next];
        auto child = std::make_unique<Node>();
        child->kind = Node::File;
        child->path = std::move(f.path);
        child->name = std::move(f.name);
        const int image = FileImage(child->name);
        InsertFileItem(item, std::move(child), wxString(), image, image, false, f.attributes, false, true);
    }
}

// --- Texts given when shown ---------------------------------------------------------
// The generic tree measures the text of every item it lays out; an item
// without text costs it nothing. Items of a folder get their texts when they
// come into view (or are selected, edited or asked for), which keeps a folder
// of 100,000 files from being measured item by item.

wxString CTreeFileCtrl::GetItemText(const wxTreeItemId& item) const
{
    const Node* node = NodeOf(item);
    if (node && !node->labelled)
        return DisplayName(node->name);
    return wxTreeCtrl::GetItemText(item);
}

void CTreeFileCtrl::Label(const wxTreeItemId& item)
{
    Node* node = NodeOf(item);
    if (!node || node->labelled)
        return;
    node->labelled = true;
    SetItemText(item, DisplayName(node->name));
}

void CTreeFileCtrl::LabelRows(const wxTreeItemId& parent, size_t& row, size_t first, size_t last)
{
    // One walk in row order that ends at the last row shown.
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = GetFirstChild(parent, cookie); c.IsOk() && row <= last; c = GetNextChild(parent, cookie)) {
        if (row >= first)
            Label(c);
        ++row;
        if (IsExpanded(c))
            LabelRows(c, row, first, last);
    }
}

void CTreeFileCtrl::OnPaint(wxPaintEvent& event)
{
    event.Skip();
    if (!m_root.IsOk())
        return;
    // Rows are laid out from y = 2, one line height each, the hidden root's
    // children first; a row more on either side covers a partly shown one.
    const int line = std::max(1, m_lineHeight);
    const wxPoint top = CalcUnscrolledPosition(wxPoint(0, 0));
    const int height = GetClientSize().y;
    const size_t first = static_cast<size_t>(std::max(0, (top.y - 2) / line - 1));
    const size_t last = static_cast<size_t>(std::max(0, (top.y + height - 2) / line + 1));
    // Each text set would ask for this paint once more: the paint to come
    // shows it anyway.
    const bool dirty = m_dirty;
    m_dirty = true;
    size_t row = 0;
    LabelRows(m_root, row, first, last);
    m_dirty = dirty;
}

void CTreeFileCtrl::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    if (m_pending.empty())
        return;
    Pending& fill = m_pending.front();
    wxTreeItemId item = ItemOfKey(fill.parent);
    if (item.IsOk()) {
        // As many as fit in a short turn of the loop: every turn costs the
        // tree a pass over all its items to lay them out and paint them.
        const auto until = std::chrono::steady_clock::now() + kIdleTurn;
        do
            InsertFiles(item, fill, kFilesPerSlice);
        while (fill.next < fill.files.size() && std::chrono::steady_clock::now() < until);
    }
    if (!item.IsOk() || fill.next >= fill.files.size())
        m_pending.erase(m_pending.begin());
    if (!m_pending.empty())
        event.RequestMore();
}

bool CTreeFileCtrl::FinishFilling(const wxTreeItemId& item)
{
    const Node* node = NodeOf(item);
    for (auto it = m_pending.begin(); node && it != m_pending.end(); ++it)
        if (it->parent == node->key) {
            InsertFiles(item, *it, it->files.size());
            m_pending.erase(it);
            return true;
        }
    return false;
}

bool CTreeFileCtrl::IsFilling() const
{
    return !m_pending.empty();
}

void CTreeFileCtrl::DeleteChildrenOf(const wxTreeItemId& item)
{
    if (!item.IsOk())
        return;
    if (const Node* node = NodeOf(item))
        m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(),
                                       [&](const Pending& p) { return p.parent == node->key; }),
                        m_pending.end());
    // A selection inside moves to the item first, so no deleted item stays
    // selected.
    wxTreeItemId sel = GetSelection();
    for (wxTreeItemId p = sel.IsOk() ? GetItemParent(sel) : wxTreeItemId(); p.IsOk(); p = GetItemParent(p))
        if (p == item) {
            bool was = m_inHistoryMove;
            m_inHistoryMove = true; // no history entry for this move
            SelectItem(item);
            m_inHistoryMove = was;
            break;
        }
    wxTreeCtrl::DeleteChildren(item);
}

bool CTreeFileCtrl::DisplayPath(const wxTreeItemId& item, bool redraw)
{
    Node* node = NodeOf(item);
    if (!node)
        return false;
    wxBusyCursor wait;
    const bool freeze = !redraw;
    if (freeze)
        Freeze();
    const bool was = m_filling;
    m_filling = true;
    DeleteChildrenOf(item);
    const std::string folder = node->path;
    CFolderListing::Result listing;
    bool ok;
    // A network mount inside a local folder is not looked into from here.
    auto untouchable = [this](const std::string& p) { return IsOnNetworkMount(p); };
    if (IsOnNetworkMount(folder))
        ok = CFolderListing::ListBounded(folder, FileFilter(), listing, m_networkTimeoutMs);
    else
        ok = CFolderListing::List(folder, FileFilter(), listing, true, untouchable);
    for (const FolderItem& f : listing.folders) {
        auto child = std::make_unique<Node>();
        child->kind = Node::Folder;
        child->path = f.path;
        child->name = f.name;
        InsertFileItem(item, std::move(child), wxString(), IMG_FOLDER, IMG_FOLDER_OPEN, f.hasChildren, f.attributes,
                       IsShared(f.path), true);
    }
    if (listing.folders.empty() && listing.files.empty())
        SetItemHasChildren(item, false);
    // A huge folder shows its first files at once and gets the rest in
    // batches while the program is idle: painting an item costs the tree
    // more than listing it, and the window must not stand still meanwhile.
    Pending fill{node->key, std::move(listing.files), 0};
    InsertFiles(item, fill, kFirstFiles);
    if (fill.next < fill.files.size()) {
        m_pending.push_back(std::move(fill));
        wxWakeUpIdle();
    }
    m_filling = was;
    if (freeze)
        Thaw();
    return ok;
}

void CTreeFileCtrl::DisplayDrives(const wxTreeItemId& parent)
{
    DeleteChildrenOf(parent);
    Mounts() = CMountTable::ReadSystem();
    const auto drives = CMountTable::LocalDrives(Mounts(), CMountTable::HomeFolder());
    for (const DriveEntry& d : drives) {
        auto node = std::make_unique<Node>();
        node->kind = Node::Drive;
        node->path = d.path;
        node->name = d.path;
        wxString text = kib::DisplayPath(d.path);
        int image = IMG_DRIVE;
        if (m_switches.showDriveNames) {
            switch (d.kind) {
            case DriveEntry::Root: text = KibText(IDS_EXPLORER_ROOT_DRIVE); break;
            case DriveEntry::Home:
                text = wxString::Format(KibText(IDS_EXPLORER_HOME_DRIVE), kib::DisplayPath(d.path));
                image = IMG_HOME;
                break;
            case DriveEntry::Mount:
                text = wxString::Format(KibText(IDS_EXPLORER_MOUNT_DRIVE), DisplayName(d.path.substr(d.path.rfind('/') + 1)),
                                        kib::DisplayPath(d.path));
                break;
            }
        } else if (d.kind == DriveEntry::Home) {
            image = IMG_HOME;
        }
        // A drive always offers its button; it is read when it opens.
        InsertFileItem(parent, std::move(node), text, image, image, true, 0, IsShared(d.path));
    }
}

bool CTreeFileCtrl::EnumNetwork(const wxTreeItemId& item)
{
    if (item != m_network)
        return false;
    DeleteChildrenOf(item);
    Mounts() = CMountTable::ReadSystem();
    bool added = false;
    // Mounted network file systems: shown by what they mount, never looked
    // into here (a server that no longer answers would hold the window).
    for (const MountEntry& m : CMountTable::NetworkMounts(Mounts())) {
        auto node = std::make_unique<Node>();
        node->kind = Node::Drive;
        node->path = m.mountPoint;
        node->name = m.mountPoint;
        node->isNetwork = true;
        node->netType = Node::NetShare;
        const wxString text = wxString::Format(KibText(IDS_EXPLORER_MOUNT_DRIVE), DisplayName(m.device),
                                               kib::DisplayPath(m.mountPoint));
        InsertFileItem(item, std::move(node), text, IMG_REMOTE, IMG_REMOTE, true, 0, false);
        added = true;
    }
    if (!added)
        SetItemHasChildren(item, false);
    return added;
}

// --- Navigation -----------------------------------------------------------------

void CTreeFileCtrl::RefreshTree()
{
    wxBusyCursor wait;
    Freeze();
    std::string selectedPath;
    bool selectedExpanded = false;
    const Node* selected = NodeOf(GetSelection());
    int selectedKind = -1;
    if (selected) {
        selectedPath = selected->path;
        selectedKind = selected->kind;
        selectedExpanded = IsExpanded(GetSelection());
    }
    CShareEnumerator::Instance().RefreshShares();
    StopAllWatching();
    m_filling = true;
    m_pending.clear();
    DeleteAllItems();
    m_history.Clear();
    m_lastSelected = 0;
    m_root = AddRoot(wxEmptyString);
    auto computer = std::make_unique<Node>();
    computer->kind = Node::Computer;
    if (m_switches.showComputer)
        m_computer = InsertFileItem(m_root, std::move(computer), KibText(IDS_EXPLORER_COMPUTER), IMG_COMPUTER,
                                    IMG_COMPUTER, true, 0, false);
    else
        m_computer = wxTreeItemId();
    if (m_switches.showNetwork) {
        auto network = std::make_unique<Node>();
        network->kind = Node::Network;
        network->isNetwork = true;
        m_network = InsertFileItem(m_root, std::move(network), KibText(IDS_EXPLORER_NETWORK), IMG_NETWORK, IMG_NETWORK,
                                   true, 0, false);
    } else {
        m_network = wxTreeItemId();
    }
    m_filling = false;
    if (selectedKind == Node::Computer && m_computer.IsOk())
        SelectItem(m_computer);
    else if (selectedKind == Node::Network && m_network.IsOk())
        SelectItem(m_network);
    else if (!selectedPath.empty())
        SelectPath(selectedPath, selectedExpanded);
    Thaw();
}

void CTreeFileCtrl::UpOneLevel()
{
    wxTreeItemId sel = GetSelection();
    if (!sel.IsOk())
        return;
    wxTreeItemId parent = GetItemParent(sel);
    if (parent.IsOk() && parent != m_root) {
        SelectItem(parent);
        EnsureVisible(parent);
    }
}

bool CTreeFileCtrl::CanGoBack()
{
    return m_history.CanGoBack([this](CTreeHistory::Key k) { return IsLive(k); });
}

bool CTreeFileCtrl::CanGoForward()
{
    return m_history.CanGoForward([this](CTreeHistory::Key k) { return IsLive(k); });
}

void CTreeFileCtrl::SelectFromHistory(const wxTreeItemId& item)
{
    m_inHistoryMove = true;
    SelectItem(item);
    EnsureVisible(item);
    m_inHistoryMove = false;
    m_lastSelected = KeyOf(GetSelection());
}

bool CTreeFileCtrl::Step(bool back)
{
    const Node* cur = NodeOf(GetSelection());
    const CTreeHistory::Key current = cur ? cur->key : 0;
    auto live = [this](CTreeHistory::Key k) { return IsLive(k); };
    auto key = back ? m_history.Back(current, live) : m_history.Forward(current, live);
    if (!key)
        return false;
    SelectFromHistory(ItemOfKey(*key));
    return true;
}

bool CTreeFileCtrl::Back()
{
    return Step(true);
}

bool CTreeFileCtrl::Forward()
{
    return Step(false);
}

wxTreeItemId CTreeFileCtrl::SelectPath(const std::string& pathIn, bool expand)
{
    std::string path = pathIn;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.empty() || path.front() != '/' || !m_computer.IsOk())
        return {};
    Freeze();
    if (!IsExpanded(m_computer))
        Expand(m_computer);
    wxTreeItemId item = DriveItemFor(path);
    wxTreeItemId found = item;
    if (item.IsOk()) {
        for (const std::string& name : ComponentsBelow(NodeOf(item)->path, path)) {
            if (!IsExpanded(found))
                Expand(found);
            wxTreeItemId child = FindChild(found, name);
            if (!child.IsOk() && FinishFilling(found))
                child = FindChild(found, name);
            if (!child.IsOk())
                break;
            found = child;
        }
    }
    if (found.IsOk()) {
        SelectItem(found);
        if (expand && ItemHasChildren(found))
            Expand(found);
        EnsureVisible(found);
    }
    Thaw();
    return found;
}

// --- Events ------------------------------------------------------------------------

void CTreeFileCtrl::OnExpanding(wxTreeEvent& event)
{
    wxTreeItemId item = event.GetItem();
    Node* node = NodeOf(item);
    if (!node)
        return;
    switch (node->kind) {
    case Node::Computer:
        DisplayDrives(item);
        break;
    case Node::Network:
        EnumNetwork(item);
        break;
    case Node::NetworkItem:
        EnumNetwork(item);
        break;
    case Node::Drive:
    case Node::Folder:
        if (!IsOnNetworkMount(node->path) && !IsFolder(node->path)) {
            // Gone since it was listed.
            event.Veto();
            CallAfter([this, key = node->key] {
                if (wxTreeItemId i = ItemOfKey(key); i.IsOk())
                    RemoveVanished(i);
            });
            return;
        }
        if (GetChildrenCount(item, false) == 0) {
            DisplayPath(item);
            if (GetChildrenCount(item, false) == 0) {
                event.Veto();
                return;
            }
        }
        if (node->kind == Node::Drive && m_switches.watchDrives && CanWatch(item) && !WatcherOf(node->path))
            StartWatching(item);
        // The folder shown from now on is watched with its drive.
        CallAfter([this, key = node->key] {
            if (wxTreeItemId i = ItemOfKey(key); i.IsOk())
                UpdateWatchedFolders(i);
        });
        break;
    case Node::File:
        event.Veto();
        break;
    }
}

void CTreeFileCtrl::OnCollapsed(wxTreeEvent& event)
{
    wxTreeItemId item = event.GetItem();
    Node* node = NodeOf(item);
    if (!node)
        return;
    const bool had = GetChildrenCount(item, false) > 0;
    DeleteChildrenOf(item);
    if (had)
        SetItemHasChildren(item, true);
    if (node->kind == Node::Drive)
        StopWatching(node->path);
    else
        UpdateWatchedFolders(item);
}

void CTreeFileCtrl::RemoveVanished(const wxTreeItemId& item)
{
    wxTreeItemId parent = GetItemParent(item);
    if (GetSelection() == item && parent.IsOk() && parent != m_root) {
        m_inHistoryMove = true;
        SelectItem(parent);
        m_inHistoryMove = false;
        m_lastSelected = KeyOf(parent);
    }
    wxTreeCtrl::Delete(item);
    if (parent.IsOk() && parent != m_root && GetChildrenCount(parent, false) == 0)
        SetItemHasChildren(parent, false);
}

void CTreeFileCtrl::OnSelChanged(wxTreeEvent& event)
{
    wxTreeItemId item = event.GetItem();
    Label(item);
    const Node* node = NodeOf(item);
    if (m_filling || !node)
        return;
    const bool exists = node->kind == Node::Computer || node->kind == Node::Network || node->isNetwork ||
                        node->kind == Node::Drive || IsOnNetworkMount(node->path) || IsFile(node->path) ||
                        IsFolder(node->path);
    if (exists) {
        const Node* previous = NodeOf(ItemOfKey(m_lastSelected));
        if (!m_inHistoryMove && previous && previous != node && IsLive(previous->key))
            m_history.Push(previous->key);
        m_lastSelected = node->key;
        OnSelectionChanged(item);
    } else {
        CallAfter([this, key = node->key] {
            if (wxTreeItemId i = ItemOfKey(key); i.IsOk())
                RemoveVanished(i);
        });
    }
}

void CTreeFileCtrl::OnActivated(wxTreeEvent& event)
{
    // A double-click opens an item with no children count (a file, or a
    // folder found empty); on others the tree expands or collapses.
    wxTreeItemId item = event.GetItem();
    if (!item.IsOk() || item != GetSelection() || ItemHasChildren(item)) {
        event.Skip();
        return;
    }
    if (IsCommandEnabled(ID_EXPLORER_OPEN))
        Open(item);
}

void CTreeFileCtrl::OnItemMenu(wxTreeEvent& event)
{
    wxTreeItemId item = event.GetItem();
    if (item.IsOk() && item != GetSelection())
        SelectItem(item);
    wxPoint pt = event.GetPoint();
    wxRect rect;
    // From the keyboard the point is not on the item: the middle of its text.
    if (GetSelection().IsOk() && GetBoundingRect(GetSelection(), rect, true) && !rect.Contains(pt))
        pt = wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2);
    ShowContextMenu(pt);
}

void CTreeFileCtrl::OnBeginLabelEdit(wxTreeEvent& event)
{
    if (!IsCommandEnabled(ID_EXPLORER_RENAME))
        event.Veto();
}

void CTreeFileCtrl::OnKeyDown(wxKeyEvent& event)
{
    int mods = 0;
    if (event.ControlDown())
        mods |= KMOD_CTRL;
    if (event.ShiftDown())
        mods |= KMOD_SHIFT;
    if (event.AltDown())
        mods |= KMOD_ALT;
    int vk = 0;
    switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: vk = VK_RETURN; break;
    case WXK_F2: vk = VK_F1 + 1; break;
    case WXK_F5: vk = VK_F1 + 4; break;
    case WXK_DELETE: vk = VK_DELETE; break;
    case WXK_BACK: vk = VK_BACK; break;
    case WXK_LEFT: vk = VK_LEFT; break;
    case WXK_RIGHT: vk = VK_RIGHT; break;
    case WXK_F10:
        if (mods == KMOD_SHIFT) {
            wxRect rect;
            if (GetSelection().IsOk() && GetBoundingRect(GetSelection(), rect, true))
                ShowContextMenu(wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2));
            return;
        }
        break;
    default: break;
    }
    const int command = vk ? LookupKey(KeyTable(IDR_EXPLORER_KEYS), mods, vk) : 0;
    if (!command) {
        event.Skip();
        return;
    }
    // A key whose command is off does nothing (F2 and Delete in Kib).
    if (IsCommandEnabled(command))
        RunCommand(command);
}

// --- Commands -------------------------------------------------------------------------

bool CTreeFileCtrl::IsCommandEnabled(int command)
{
    const wxTreeItemId sel = GetSelection();
    const Node* node = NodeOf(sel);
    const bool network = node && node->isNetwork;
    const bool serverOrShare = network && (node->netType == Node::NetServer || node->netType == Node::NetShare);
    const bool fileItem = node && (node->kind == Node::File || node->kind == Node::Folder || node->kind == Node::Drive);
    switch (command) {
    case ID_EXPLORER_OPEN: return m_switches.allowOpen && node && (network ? serverOrShare : fileItem);
    case ID_EXPLORER_PROPERTIES: return m_switches.allowProperties && node && (network ? serverOrShare : fileItem);
    case ID_EXPLORER_RENAME:
    case ID_EXPLORER_DELETE:
        return (command == ID_EXPLORER_RENAME ? m_switches.allowRename : m_switches.allowDelete) && node &&
               !network && (node->kind == Node::File || node->kind == Node::Folder);
    case ID_EXPLORER_REFRESH: return true;
    case ID_EXPLORER_UP: return sel.IsOk() && GetItemParent(sel).IsOk() && GetItemParent(sel) != m_root;
    case ID_EXPLORER_BACK: return CanGoBack();
    case ID_EXPLORER_FORWARD: return CanGoForward();
    default: return false;
    }
}

bool CTreeFileCtrl::RunCommand(int command)
{
    const wxTreeItemId sel = GetSelection();
    switch (command) {
    case ID_EXPLORER_OPEN: return sel.IsOk() && Open(sel);
    case ID_EXPLORER_RENAME: return sel.IsOk() && Rename(sel);
    case ID_EXPLORER_DELETE: return sel.IsOk() && DeleteItem(sel);
    case ID_EXPLORER_PROPERTIES: return sel.IsOk() && ShowProperties(sel);
    case ID_EXPLORER_REFRESH: RefreshTree(); return true;
    case ID_EXPLORER_UP: UpOneLevel(); return true;
    case ID_EXPLORER_BACK: return Back();
    case ID_EXPLORER_FORWARD: return Forward();
    default: return false;
    }
}

void CTreeFileCtrl::SetPopupRunner(PopupRunner runner)
{
    Runner() = std::move(runner);
}

void CTreeFileCtrl::ShowContextMenu(const wxPoint& pt)
{
    std::unique_ptr<wxMenu> menu(BuildMenu(MenuResource(IDR_EXPLORER_POPUP)));
    for (int command : {ID_EXPLORER_OPEN, ID_EXPLORER_RENAME, ID_EXPLORER_DELETE, ID_EXPLORER_PROPERTIES})
        menu->Enable(ToWxId(command), IsCommandEnabled(command));
    const int choice = Runner() ? Runner()(*this, *menu, pt) : GetPopupMenuSelectionFromUser(*menu, pt);
    if (choice != wxID_NONE && menu->IsEnabled(choice))
        RunCommand(FromWxId(choice));
}

// --- Item commands ---------------------------------------------------------------------

bool CTreeFileCtrl::Open(const wxTreeItemId& item)
{
    const Node* node = NodeOf(item);
    if (!node || node->path.empty())
        return false;
    if (node->kind == Node::File)
        return wxLaunchDefaultApplication(wxString::FromUTF8(node->path));
    Toggle(item);
    return true;
}

bool CTreeFileCtrl::Rename(const wxTreeItemId& item)
{
    if (!IsCommandEnabled(ID_EXPLORER_RENAME))
        return false;
    Label(item);
    EditLabel(item);
    return true;
}

bool CTreeFileCtrl::DeleteItem(const wxTreeItemId& item)
{
    const Node* node = NodeOf(item);
    if (!IsCommandEnabled(ID_EXPLORER_DELETE) || !node)
        return false;
    // Files only; a folder's contents are not removed from here.
    if (node->kind != Node::File || unlink(node->path.c_str()) != 0)
        return false;
    RemoveVanished(item);
    return true;
}

bool CTreeFileCtrl::ShowProperties(const wxTreeItemId& item)
{
    const Node* node = NodeOf(item);
    if (!node || node->path.empty())
        return false;
    CFilePropertiesWindow::Show(wxGetTopLevelParent(this), node->path, m_networkTimeoutMs);
    return true;
}

// --- Drive watching ----------------------------------------------------------------------

bool CTreeFileCtrl::CanWatch(const wxTreeItemId& item) const
{
    const Node* node = NodeOf(item);
    return node && node->kind == Node::Drive && !node->isNetwork && !IsOnNetworkMount(node->path);
}

CDriveWatcher* CTreeFileCtrl::WatcherOf(const std::string& drivePath) const
{
    for (const auto& w : m_watchers)
        if (w->drive == drivePath)
            return w->watcher.get();
    return nullptr;
}

void CTreeFileCtrl::SetWatchCoalescing(int quietMs, int maxMs)
{
    m_quietMs = quietMs;
    m_maxMs = maxMs;
}

void CTreeFileCtrl::StartWatching(const wxTreeItemId& drive)
{
    const Node* node = NodeOf(drive);
    if (!node)
        return;
    auto watch = std::make_unique<Watch>();
    watch->id = ++m_lastWatchId;
    watch->drive = node->path;
    // The worker reaches the tree only through a call posted to the UI
    // thread, and a watcher gone by then is not looked for.
    std::weak_ptr<bool> alive = m_alive;
    const unsigned id = watch->id;
    watch->watcher = std::make_unique<CDriveWatcher>(node->path, [this, alive, id] {
        if (wxTheApp)
            wxTheApp->CallAfter([this, alive, id] {
                if (alive.lock())
                    OnDriveChanged(id);
            });
    });
    watch->watcher->SetCoalescing(m_quietMs, m_maxMs);
    if (!watch->watcher->Start())
        return;
    m_watchers.push_back(std::move(watch));
    UpdateWatchedFolders(drive);
}

void CTreeFileCtrl::StopWatching(const std::string& drivePath)
{
    for (auto it = m_watchers.begin(); it != m_watchers.end(); ++it)
        if ((*it)->drive == drivePath) {
            (*it)->watcher->Stop();
            m_watchers.erase(it);
            return;
        }
}

void CTreeFileCtrl::StopAllWatching()
{
    for (auto& w : m_watchers)
        w->watcher->Stop();
    m_watchers.clear();
}

std::vector<std::string> CTreeFileCtrl::ExpandedFolders(const wxTreeItemId& drive) const
{
    std::vector<std::string> folders;
    std::vector<wxTreeItemId> stack{drive};
    while (!stack.empty()) {
        wxTreeItemId item = stack.back();
        stack.pop_back();
        const Node* node = NodeOf(item);
        if (!node || (item != drive && node->kind != Node::Folder))
            continue;
        if (item != drive && !IsExpanded(item))
            continue;
        folders.push_back(node->path);
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = GetFirstChild(item, cookie); c.IsOk(); c = GetNextChild(item, cookie))
            if (ItemHasChildren(c) && IsExpanded(c))
                stack.push_back(c);
    }
    return folders;
}

void CTreeFileCtrl::UpdateWatchedFolders(const wxTreeItemId& anyItemOfDrive)
{
    wxTreeItemId drive = DriveItemOf(anyItemOfDrive);
    const Node* node = NodeOf(drive);
    if (!node)
        return;
    if (CDriveWatcher* w = WatcherOf(node->path))
        w->SetFolders(ExpandedFolders(drive));
}

void CTreeFileCtrl::OnDriveChanged(unsigned watchId)
{
    Watch* watch = nullptr;
    for (auto& w : m_watchers)
        if (w->id == watchId)
            watch = w.get();
    if (!watch)
        return;
    ++m_driveRefreshes;
    Freeze();
    std::string selectedPath;
    bool expanded = false;
    if (const Node* sel = NodeOf(GetSelection())) {
        selectedPath = sel->path;
        expanded = IsExpanded(GetSelection());
    }
    wxTreeItemId drive;
    wxTreeItemIdValue cookie;
    if (m_computer.IsOk())
        for (wxTreeItemId c = GetFirstChild(m_computer, cookie); c.IsOk(); c = GetNextChild(m_computer, cookie))
            if (const Node* n = NodeOf(c); n && n->path == watch->drive)
                drive = c;
    if (drive.IsOk()) {
        const bool was = m_inHistoryMove;
        m_inHistoryMove = true;
        DisplayPath(drive);
        if (!selectedPath.empty())
            SelectPath(selectedPath, expanded);
        m_inHistoryMove = was;
        m_lastSelected = KeyOf(GetSelection());
        UpdateWatchedFolders(drive);
    }
    Thaw();
    watch->watcher->Acknowledge();
}
