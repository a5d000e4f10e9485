// A tree of the machine's file system: the computer node with its drives
// (the mount points of the real local file systems, the home folder as an
// entry of its own) and the network node with the mounted network file
// systems. Children are read on every expand and dropped on collapse;
// expanded drives are watched. Switches say what it shows and allows.
#pragma once

#include "workspace/FolderListing.h"
#include "workspace/TreeHistory.h"

#include <wx/treectrl.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CDriveWatcher;
class wxMenu;

class CTreeFileCtrl : public wxTreeCtrl {
public:
    // The node record of an item (its item data).
    struct Node : wxTreeItemData {
        enum Kind { Computer, Network, Drive, Folder, File, NetworkItem };
        // Display types of network items.
        enum NetType { NetGeneric = 0, NetDomain = 1, NetServer = 2, NetShare = 3, NetRoot = 7 };
        Kind kind = File;
        std::string path;
        std::string name;
        bool isNetwork = false;
        bool extensionHidden = false;
        int netType = NetGeneric;
        CTreeHistory::Key key = 0;
        CTreeFileCtrl* owner = nullptr;
        // False while the item has no text of its own yet: it gets it when
        // it is first shown, so that a huge folder's items are not measured.
        bool labelled = true;
        ~Node() override;
    };

    struct Switches {
        bool showFiles = true;
        bool allowOpen = true;
        bool allowProperties = true;
        bool allowRename = false;
        bool allowDelete = false;
        bool allowDragging = false;
        bool showComputer = true;
        bool showNetwork = true;
        bool showSharedOverlay = true;
        bool showDriveNames = true;
        bool colourCompressed = true;
        wxColour compressedColour{0, 0, 255};
        bool colourEncrypted = true;
        wxColour encryptedColour{255, 0, 0};
        bool watchDrives = true;
    };

    CTreeFileCtrl(wxWindow* parent, wxWindowID id);
    ~CTreeFileCtrl() override;

    Switches& Options() { return m_switches; }

    // Image list (at once when shown, else from the event loop's next
    // turn), then the first fill.
    void OnInitialise();

    // --- Items and paths.
    virtual std::string ItemToPath(const wxTreeItemId& item) const;
    virtual wxTreeItemId PathToItem(const std::string& path) const;
    Node* NodeOf(const wxTreeItemId& item) const;
    virtual bool IsFile(const std::string& path) const;
    virtual bool IsFolder(const std::string& path) const;
    bool IsFile(const wxTreeItemId& item) const;
    bool IsFolder(const wxTreeItemId& item) const;
    bool IsDrive(const wxTreeItemId& item) const;
    virtual bool IsCompressed(const std::string& path) const;
    virtual bool IsEncrypted(const std::string& path) const;
    virtual bool IsShared(const std::string& path) const;
    wxTreeItemId ComputerItem() const { return m_computer; }
    wxTreeItemId NetworkItem() const { return m_network; }
    wxTreeItemId FindChild(const wxTreeItemId& parent, const std::string& name) const;

    // --- Item commands.
    virtual bool Open(const wxTreeItemId& item);
    virtual bool Rename(const wxTreeItemId& item);
    // (Delete is the tree control's own name for removing an item.)
    virtual bool DeleteItem(const wxTreeItemId& item);
    virtual bool ShowProperties(const wxTreeItemId& item);

    // --- Navigation.
    void UpOneLevel();
    // Everything read again from scratch; the selection comes back.
    void RefreshTree();
    bool Back();
    bool Forward();
    bool CanGoBack();
    bool CanGoForward();
    size_t GetMaxHistory() const { return m_history.GetMax(); }
    void SetMaxHistory(size_t max) { m_history.SetMax(max); }
    // Walks to a path from its drive, expanding on the way; the item found
    // last (the path itself when it is in the tree) is selected.
    wxTreeItemId SelectPath(const std::string& path, bool expand);

    // --- Filling.
    // The children of a folder or drive read again; false when it cannot be read.
    bool DisplayPath(const wxTreeItemId& item, bool redraw = true);
    void DisplayDrives(const wxTreeItemId& parent);
    bool EnumNetwork(const wxTreeItemId& item);
    bool HasChildren(const std::string& folder) const;
    void DeleteChildrenOf(const wxTreeItemId& item);
    // Files of a big folder still to come in idle time: all of them now
    // (false when the item has none waiting), and whether any are waiting.
    bool FinishFilling(const wxTreeItemId& item);
    bool IsFilling() const;

    // --- Filters.
    virtual bool IsFileShown(std::string_view name) const;
    // The filter as a copy that outlives this tree (for listing threads).
    virtual CFolderListing::FileShown FileFilter() const;

    // --- Commands of menu 114 and key table 160.
    bool IsCommandEnabled(int command);
    bool RunCommand(int command);
    // Shows menu 114 at pt (client coordinates).
    void ShowContextMenu(const wxPoint& pt);
    // Tests choose from the menu instead of the user; the answer is a wx id
    // or wxID_NONE.
    using PopupRunner = std::function<int(CTreeFileCtrl&, wxMenu&, const wxPoint&)>;
    static void SetPopupRunner(PopupRunner runner);

    // --- Drive watching.
    bool CanWatch(const wxTreeItemId& item) const;
    void StartWatching(const wxTreeItemId& drive);
    void StopWatching(const std::string& drivePath);
    void StopAllWatching();
    size_t WatcherCount() const { return m_watchers.size(); }
    CDriveWatcher* WatcherOf(const std::string& drivePath) const;
    // How often a drive's change re-read it (tests and figures).
    unsigned DriveRefreshes() const { return m_driveRefreshes; }
    // Coalescing of the watchers started from now on.
    void SetWatchCoalescing(int quietMs, int maxMs);

    // Listing a folder on a network mount waits at most this long.
    void SetNetworkTimeout(int ms) { m_networkTimeoutMs = ms; }

    // The text an item shows for a name: bytes that are no UTF-8 as Latin-1,
    // control characters as "?".
    static wxString DisplayName(const std::string& name);

    // An item's text, also of one not shown yet.
    wxString GetItemText(const wxTreeItemId& item) const override;

protected:
    virtual void OnSelectionChanged(const wxTreeItemId&) {}
    wxTreeItemId InsertFileItem(const wxTreeItemId& parent, std::unique_ptr<Node> node, const wxString& text,
                                int image, int openImage, bool hasChildren, unsigned attributes, bool shared,
                                bool labelLater = false);
    // The images of the list set by OnInitialise.
    enum Image {
        IMG_COMPUTER, IMG_NETWORK, IMG_DRIVE, IMG_HOME, IMG_FOLDER, IMG_FOLDER_OPEN, IMG_FILE, IMG_JAVA,
        IMG_SERVER, IMG_DOMAIN, IMG_REMOTE, IMG_FOLDER_SHARED, IMG_FOLDER_OPEN_SHARED, IMG_DRIVE_SHARED,
        IMG_HOME_SHARED, IMG_COUNT
    };
    virtual int FileImage(const std::string& name) const;

private:
    friend struct Node;
    struct Watch;
    // The files of a folder not yet in the tree.
    struct Pending {
        CTreeHistory::Key parent = 0;
        std::vector<FolderItem> files;
        size_t next = 0;
    };
    static constexpr size_t kFirstFiles = 3000;
    static constexpr size_t kFilesPerSlice = 2000;
    static constexpr std::chrono::milliseconds kIdleTurn{40};
    void InsertFiles(const wxTreeItemId& item, Pending& fill, size_t count);
    // Gives an item its text if it has none yet.
    void Label(const wxTreeItemId& item);
    // The rows shown in the window get their texts before they are painted.
    void OnPaint(wxPaintEvent& event);
    void LabelRows(const wxTreeItemId& parent, size_t& row, size_t first, size_t last);

    void OnExpanding(wxTreeEvent& event);
    void OnCollapsed(wxTreeEvent& event);
    void OnSelChanged(wxTreeEvent& event);
    void OnActivated(wxTreeEvent& event);
    void OnItemMenu(wxTreeEvent& event);
    void OnBeginLabelEdit(wxTreeEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnDriveChanged(unsigned watchId);

    CTreeHistory::Key NextKey() { return ++m_lastKey; }
    bool IsLive(CTreeHistory::Key key) const { return m_live.count(key) != 0; }
    CTreeHistory::Key KeyOf(const wxTreeItemId& item) const
    {
        const Node* node = NodeOf(item);
        return node ? node->key : 0;
    }
    wxTreeItemId ItemOfKey(CTreeHistory::Key key) const;
    void SelectFromHistory(const wxTreeItemId& item);
    bool Step(bool back);
    // The drive item that holds a path (the one with the longest path).
    wxTreeItemId DriveItemFor(const std::string& path) const;
    wxTreeItemId DriveItemOf(wxTreeItemId item) const;
    bool IsOnNetworkMount(const std::string& path) const;
    // The folders of a drive shown expanded (the drive itself first).
    std::vector<std::string> ExpandedFolders(const wxTreeItemId& drive) const;
    void UpdateWatchedFolders(const wxTreeItemId& anyItemOfDrive);
    // A folder or file that went away: removed, its parent's button with it
    // when nothing is left.
    void RemoveVanished(const wxTreeItemId& item);
    void BuildImages();

    Switches m_switches;
    wxTreeItemId m_root, m_computer, m_network;
    CTreeHistory m_history;
    bool m_inHistoryMove = false;
    bool m_filling = false;
    // By key: an item id says nothing once the item is deleted.
    CTreeHistory::Key m_lastSelected = 0;
    CTreeHistory::Key m_lastKey = 0;
    std::unordered_map<CTreeHistory::Key, wxTreeItemId::Type> m_live;
    std::vector<std::unique_ptr<Watch>> m_watchers;
    unsigned m_lastWatchId = 0;
    unsigned m_driveRefreshes = 0;
    int m_quietMs = 100, m_maxMs = 500;
    int m_networkTimeoutMs = 300;
    std::vector<Pending> m_pending;
    std::shared_ptr<bool> m_alive;
};
