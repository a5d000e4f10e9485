// The explorer tree on real folders made by each test: the mask, expanding
// and collapsing, the keys and the context menu with its enable rules, the
// history, refresh, opening files, properties, awkward names, and the
// drive watcher refreshing the tree after a change.
#include "gui/GuiTestMain.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "workspace/DriveWatcher.h"
#include "workspace/ExplorerTreeCtrl.h"
#include "workspace/FilePropertiesWindow.h"
#include "workspace/ShareEnumerator.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kib;
using namespace kibtest;
using Lines = std::vector<std::string>;

namespace {

class ExplorerTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "Explorer", wxPoint(0, 0), wxSize(420, 700));
        tree = new CExplorerTreeCtrl(frame, 100);
        tree->SetDocumentOpener([this](const std::string& path) {
            opened.push_back(path);
            return true;
        });
        // Other programs write in /tmp too: only the tests of watching watch,
        // so that no refresh of theirs comes between a test's steps.
        tree->Options().watchDrives = false;
        tree->OnInitialise();
        frame->Show();
        PumpEvents(30);
        // The test's folder is readable for the unprivileged checks.
        chmod(dir.Path().c_str(), 0755);
    }
    void TearDown() override
    {
        CTreeFileCtrl::SetPopupRunner({});
        frame->Destroy();
        PumpEvents(30);
    }

    wxTreeItemId At(const std::string& name) { return tree->PathToItem(dir.File(name)); }
    wxTreeItemId Top() { return tree->PathToItem(dir.Path()); }

    // The children's texts, "+" after those with an expand button.
    Lines Children(const wxTreeItemId& item)
    {
        Lines out;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie))
            out.push_back(tree->GetItemText(c).utf8_string() + (tree->ItemHasChildren(c) ? "+" : ""));
        return out;
    }

    void Key(int code, int modifiers = wxMOD_NONE)
    {
        wxKeyEvent e(wxEVT_KEY_DOWN);
        e.m_keyCode = code;
        e.m_controlDown = modifiers & wxMOD_CONTROL;
        e.m_altDown = modifiers & wxMOD_ALT;
        e.m_shiftDown = modifiers & wxMOD_SHIFT;
        e.SetEventObject(tree);
        tree->ProcessWindowEvent(e);
        PumpEvents(20);
    }

    // Shows the context menu and notes which items it enabled; chooses
    // nothing unless told.
    std::map<int, bool> MenuStates(int choose = 0)
    {
        std::map<int, bool> states;
        CTreeFileCtrl::SetPopupRunner([&](CTreeFileCtrl&, wxMenu& menu, const wxPoint&) {
            for (int c : {ID_EXPLORER_OPEN, ID_EXPLORER_RENAME, ID_EXPLORER_DELETE, ID_EXPLORER_PROPERTIES})
                states[c] = menu.IsEnabled(ToWxId(c));
            return choose ? ToWxId(choose) : wxID_NONE;
        });
        tree->ShowContextMenu(wxPoint(10, 10));
        CTreeFileCtrl::SetPopupRunner({});
        return states;
    }

    // Puts the pointer on the middle of an item's text.
    bool PointAt(const wxTreeItemId& item)
    {
        tree->EnsureVisible(item);
        PumpEvents(50);
        wxRect r;
        if (!tree->GetBoundingRect(item, r, true))
            return false;
        wxUIActionSimulator().MouseMove(tree->ClientToScreen(wxPoint(r.x + r.width / 2, r.y + r.height / 2)));
        PumpEvents(50);
        return true;
    }

    void Make(const std::string& folder) { ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0755), 0); }
    void Touch(const std::string& file) { WriteFile(dir.File(file), "class X {}\n"); }

    CTempDir dir;
    wxFrame* frame = nullptr;
    CExplorerTreeCtrl* tree = nullptr;
    Lines opened;
};

} // namespace

TEST_F(ExplorerTreeTest, IconsComeWithTheLoopWhenMadeHiddenAndAtOnceWhenShown)
{
    // The fixture's tree was made before its frame showed.
    wxImageList* images = tree->GetImageList();
    ASSERT_NE(images, nullptr);
    const int count = images->GetImageCount();
    EXPECT_GE(count, 15);
    int w = 0, h = 0;
    ASSERT_TRUE(images->GetSize(0, w, h));
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 16);
    // The rows are as high as their icons need.
    wxRect row;
    ASSERT_TRUE(tree->GetBoundingRect(tree->GetFirstVisibleItem(), row));
    EXPECT_GE(row.height, 16);

    // Shown already: the icons are there when OnInitialise returns.
    auto* shown = new CExplorerTreeCtrl(frame, 101);
    shown->Options().watchDrives = false;
    shown->OnInitialise();
    ASSERT_NE(shown->GetImageList(), nullptr);
    EXPECT_EQ(shown->GetImageList()->GetImageCount(), count);
    shown->Destroy();

    // Gone before the loop's turn: nothing is left to build them for.
    auto* other = new wxFrame(nullptr, wxID_ANY, "Explorer 2");
    auto* gone = new CExplorerTreeCtrl(other, 102);
    gone->Options().watchDrives = false;
    gone->OnInitialise();
    EXPECT_EQ(gone->GetImageList(), nullptr);
    other->Destroy();
    PumpEvents(30);
}

TEST_F(ExplorerTreeTest, ComputerNodeHoldsRootFirstAndTheHomeFolderAndStartsThere)
{
    const Lines top = Children(tree->GetRootItem());
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0], "Arbeitsplatz+");
    EXPECT_EQ(top[1].rfind("Netzwerkumgebung", 0), 0u);
    tree->Expand(tree->ComputerItem());
    const Lines drives = Children(tree->ComputerItem());
    ASSERT_GE(drives.size(), 1u);
    EXPECT_EQ(drives[0], "Dateisystem (/)+");
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    if (std::string(home) != "/") {
        ASSERT_GE(drives.size(), 2u);
        EXPECT_EQ(drives[1], "Persönlicher Ordner (" + std::string(home) + ")+");
        // The start: the home folder, selected and expanded.
        wxTreeItemId item = tree->SelectPath(home, true);
        ASSERT_TRUE(item.IsOk());
        EXPECT_EQ(tree->ItemToPath(tree->GetSelection()), home);
        EXPECT_TRUE(tree->IsDrive(item));
    }
}

TEST_F(ExplorerTreeTest, MaskDecidesWhichFilesShowAndFoldersComeFirst)
{
    Make("sub");
    Make("Alpha");
    Touch("Beta.java");
    Touch("alpha.JAV");
    Touch("notes.txt");
    Touch("Makefile");
    Touch("sub/Inner.java");

    tree->SetMask(".java;.jav");
    EXPECT_EQ(tree->GetMask(), ".java;.jav;");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    EXPECT_EQ(Children(Top()), (Lines{"Alpha", "sub+", "alpha.JAV", "Beta.java"}));

    // An empty mask (the setting's default): folders only.
    tree->SetMask("");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    EXPECT_EQ(Children(Top()), (Lines{"Alpha", "sub"}));

    // "*.*" shows every file.
    tree->SetMask("*.*");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    EXPECT_EQ(Children(Top()), (Lines{"Alpha", "sub+", "alpha.JAV", "Beta.java", "Makefile", "notes.txt"}));
}

TEST_F(ExplorerTreeTest, FolderOfTxtFilesLosesItsExpandButton)
{
    Make("texts");
    Touch("texts/a.txt");
    Touch("texts/b.txt");
    tree->SetMask("*.*");
    ASSERT_TRUE(tree->SelectPath(dir.File("texts"), true).IsOk());
    EXPECT_EQ(Children(At("texts")), (Lines{"a.txt", "b.txt"}));

    // The mask changes while the folder still shows its button from before:
    // expanding it once finds nothing and takes the button away.
    tree->SetMask(".java;.jav");
    tree->SelectPath(dir.Path(), true);
    wxTreeItemId texts = At("texts");
    ASSERT_TRUE(texts.IsOk());
    EXPECT_FALSE(tree->ItemHasChildren(texts)); // the fresh listing knew
    tree->SetItemHasChildren(texts, true);      // as a listing from before would show it
    tree->Expand(texts);
    PumpEvents(20);
    EXPECT_FALSE(tree->ItemHasChildren(texts));
    EXPECT_FALSE(tree->IsExpanded(texts));
}

TEST_F(ExplorerTreeTest, CollapseDropsChildrenAndExpandReadsThemAgain)
{
    Make("pkg");
    Touch("pkg/A.java");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.File("pkg"), true).IsOk());
    wxTreeItemId pkg = At("pkg");
    EXPECT_EQ(Children(pkg), (Lines{"A.java"}));
    tree->Collapse(pkg);
    EXPECT_EQ(tree->GetChildrenCount(pkg, false), 0u);
    EXPECT_TRUE(tree->ItemHasChildren(pkg)); // keeps its button
    Touch("pkg/B.java");
    tree->Expand(pkg);
    EXPECT_EQ(Children(pkg), (Lines{"A.java", "B.java"}));

    // Everything gone: the next expand finds nothing and the button goes.
    tree->Collapse(pkg);
    ASSERT_EQ(unlink(dir.File("pkg/A.java").c_str()), 0);
    ASSERT_EQ(unlink(dir.File("pkg/B.java").c_str()), 0);
    tree->Expand(pkg);
    EXPECT_FALSE(tree->ItemHasChildren(pkg));
}

TEST_F(ExplorerTreeTest, DoubleClickExpandsAFolderAndOpensAJavaFile)
{
    Make("outer");
    Make("outer/inner");
    Touch("Main.java");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    frame->Raise();
    PumpEvents(50);

    auto doubleClick = [&](const wxTreeItemId& item) {
        tree->SelectItem(item);
        ASSERT_TRUE(PointAt(item));
        wxUIActionSimulator().MouseDblClick();
        PumpEvents(200);
    };
    wxTreeItemId outer = At("outer");
    ASSERT_TRUE(tree->ItemHasChildren(outer));
    doubleClick(outer);
    EXPECT_TRUE(tree->IsExpanded(outer));
    EXPECT_EQ(Children(outer), (Lines{"inner"}));
    EXPECT_TRUE(opened.empty());

    doubleClick(At("Main.java"));
    EXPECT_EQ(opened, (Lines{dir.File("Main.java")}));

    // Enter on the selected file opens it too.
    Key(WXK_RETURN);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(ExplorerTreeTest, RenameAndDeleteAreOffForKeysAndMenu)
{
    Touch("Keep.java");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.File("Keep.java"), false).IsOk());
    ASSERT_EQ(tree->ItemToPath(tree->GetSelection()), dir.File("Keep.java"));

    Key(WXK_F2);
    EXPECT_EQ(tree->GetEditControl(), nullptr);
    Key(WXK_DELETE);
    EXPECT_TRUE(Exists(dir.File("Keep.java")));
    EXPECT_TRUE(tree->PathToItem(dir.File("Keep.java")).IsOk());

    auto states = MenuStates();
    EXPECT_TRUE(states[ID_EXPLORER_OPEN]);
    EXPECT_FALSE(states[ID_EXPLORER_RENAME]);
    EXPECT_FALSE(states[ID_EXPLORER_DELETE]);
    EXPECT_TRUE(states[ID_EXPLORER_PROPERTIES]);
    // Choosing a disabled entry does nothing either.
    MenuStates(ID_EXPLORER_DELETE);
    EXPECT_TRUE(Exists(dir.File("Keep.java")));
    // "&Öffnen" from the menu opens it.
    MenuStates(ID_EXPLORER_OPEN);
    EXPECT_EQ(opened, (Lines{dir.File("Keep.java")}));

    // On the network node nothing but refresh is on.
    tree->SelectItem(tree->NetworkItem());
    states = MenuStates();
    EXPECT_FALSE(states[ID_EXPLORER_OPEN]);
    EXPECT_FALSE(states[ID_EXPLORER_PROPERTIES]);
    EXPECT_TRUE(tree->IsCommandEnabled(ID_EXPLORER_REFRESH));
}

TEST_F(ExplorerTreeTest, BackAndForwardSkipAnItemRemovedByACollapse)
{
    Make("a");
    Make("b");
    Touch("a/One.java");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.File("a"), true).IsOk());
    wxTreeItemId a = At("a");
    tree->SelectItem(At("a/One.java"));
    wxTreeItemId b = At("b");
    tree->SelectItem(b);
    // The history: ..., a, One.java; now b. Collapsing a drops One.java.
    tree->Collapse(a);
    EXPECT_FALSE(At("a/One.java").IsOk());
    ASSERT_TRUE(tree->CanGoBack());
    Key(WXK_LEFT, wxMOD_ALT);
    EXPECT_EQ(tree->GetSelection(), a);
    Key(WXK_RIGHT, wxMOD_ALT);
    EXPECT_EQ(tree->GetSelection(), b);
    EXPECT_FALSE(tree->CanGoForward());
    // Backspace goes to the parent.
    Key(WXK_BACK);
    EXPECT_EQ(tree->ItemToPath(tree->GetSelection()), dir.Path());
    Key(WXK_LEFT, wxMOD_ALT);
    EXPECT_EQ(tree->GetSelection(), b);
}

TEST_F(ExplorerTreeTest, F5ReadsEverythingAgainAndKeepsTheSelection)
{
    Make("src");
    Touch("src/A.java");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.File("src"), true).IsOk());
    Touch("src/B.java");
    EXPECT_EQ(Children(At("src")), (Lines{"A.java"}));
    Key(WXK_F5);
    EXPECT_EQ(tree->ItemToPath(tree->GetSelection()), dir.File("src"));
    EXPECT_TRUE(tree->IsExpanded(tree->GetSelection()));
    EXPECT_EQ(Children(At("src")), (Lines{"A.java", "B.java"}));
    EXPECT_FALSE(tree->CanGoBack()); // items of before are gone
}

TEST_F(ExplorerTreeTest, PropertiesWindowNamesPathTypeSizeAndRights)
{
    WriteFile(dir.File("Size.java"), std::string(1234, 'x'));
    chmod(dir.File("Size.java").c_str(), 0640);
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.File("Size.java"), false).IsOk());
    Key(WXK_RETURN, wxMOD_ALT);
    CFilePropertiesWindow* window = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* p = dynamic_cast<CFilePropertiesWindow*>(w))
            window = p;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetTitle().utf8_string(), "Eigenschaften von Size.java");
    std::map<std::string, std::string> rows;
    for (const auto& [label, value] : window->Rows())
        rows[label.utf8_string()] = value.utf8_string();
    EXPECT_EQ(rows["Pfad:"], dir.File("Size.java"));
    EXPECT_EQ(rows["Typ:"], "Datei");
    EXPECT_EQ(rows["Größe:"], "1.234 Bytes");
    EXPECT_EQ(rows["Rechte:"], "rw-r----- (0640)");
    EXPECT_EQ(rows.count("Geändert:"), 1u);
    window->Destroy();
    PumpEvents(20);
}

TEST_F(ExplorerTreeTest, AwkwardNamesAndLinkLoops)
{
    const std::string bad = "bad\xff.java", newline = "two\nlines.java", dash = "-rf.java";
    for (const std::string& f : {bad, newline, dash})
        Touch(f);
    Make("locked");
    Make("locked/inner");
    ASSERT_EQ(symlink(".", dir.File("self").c_str()), 0);
    ASSERT_EQ(symlink("loop2.java", dir.File("loop1.java").c_str()), 0);
    ASSERT_EQ(symlink("loop1.java", dir.File("loop2.java").c_str()), 0);
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    const Lines children = Children(Top());
    EXPECT_EQ(children, (Lines{"locked+", "self+", "-rf.java", "bad\xc3\xbf.java", "loop1.java", "loop2.java",
                               "two?lines.java"}));
    // Each node still knows its bytes: the path finds it, and opening it
    // passes the real name on.
    wxTreeItemId badItem = At(bad);
    ASSERT_TRUE(badItem.IsOk());
    tree->SelectItem(badItem);
    Key(WXK_RETURN);
    tree->SelectItem(At(newline));
    Key(WXK_RETURN);
    EXPECT_EQ(opened, (Lines{dir.File(bad), dir.File(newline)}));

    // The link to its own folder opens one level per expand, no further.
    wxTreeItemId self = At("self");
    tree->Expand(self);
    wxTreeItemId selfSelf = tree->FindChild(self, "self");
    ASSERT_TRUE(selfSelf.IsOk());
    EXPECT_EQ(tree->GetChildrenCount(selfSelf, false), 0u);
    EXPECT_TRUE(tree->ItemHasChildren(selfSelf));
}

TEST_F(ExplorerTreeTest, UnreadableFolderExpandsToNothing)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root reads every folder; the unprivileged unit test FolderListing."
                        "MissingAndUnreadableFoldersFailWithTheirError covers the listing";
    Make("locked");
    Make("locked/inner");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    chmod(dir.File("locked").c_str(), 0);
    wxTreeItemId locked = At("locked");
    tree->Expand(locked);
    EXPECT_FALSE(tree->ItemHasChildren(locked));
    chmod(dir.File("locked").c_str(), 0755);
}

TEST_F(ExplorerTreeTest, FolderRemovedOutsideGoesWhenSelectedOrExpanded)
{
    Make("gone");
    Make("gone/child");
    Make("stays");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    ASSERT_EQ(rmdir(dir.File("gone/child").c_str()), 0);
    ASSERT_EQ(rmdir(dir.File("gone").c_str()), 0);
    tree->SelectItem(At("gone"));
    PumpEvents(50);
    EXPECT_FALSE(At("gone").IsOk());
    EXPECT_EQ(Children(Top()), (Lines{"stays"}));
}

// --- Drive watching ------------------------------------------------------------

TEST_F(ExplorerTreeTest, FileCreatedUnderAnExpandedFolderAppearsAndTheSelectionReturns)
{
    Make("watched");
    Touch("watched/A.java");
    tree->SetMask("*.java");
    tree->Options().watchDrives = true;
    tree->SetWatchCoalescing(30, 200);
    tree->RefreshTree();
    ASSERT_TRUE(tree->SelectPath(dir.File("watched/A.java"), false).IsOk());
    PumpEvents(100);
    ASSERT_EQ(tree->WatcherCount(), 1u); // the drive "/" of the temporary folder
    CDriveWatcher* watcher = tree->WatcherOf("/");
    ASSERT_NE(watcher, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return watcher->WatchedCount() >= 3; }, 2000));

    const unsigned before = tree->DriveRefreshes();
    Touch("watched/B.java");
    ASSERT_TRUE(PumpUntil([&] { return At("watched/B.java").IsOk(); }, 3000));
    EXPECT_GT(tree->DriveRefreshes(), before);
    EXPECT_EQ(tree->ItemToPath(tree->GetSelection()), dir.File("watched/A.java"));

    // Collapsing the drive ends its watcher; expanding starts a new one.
    wxTreeItemId drive = tree->PathToItem("/");
    tree->Collapse(drive);
    EXPECT_EQ(tree->WatcherCount(), 0u);
    tree->Expand(drive);
    EXPECT_EQ(tree->WatcherCount(), 1u);
}

TEST_F(ExplorerTreeTest, TenThousandFilesInABurstGiveFewRefreshesAndNoFreeze)
{
    Make("burst");
    Touch("burst/First.java"); // so that it can be expanded
    tree->SetMask("*.java");
    tree->Options().watchDrives = true;
    tree->SetWatchCoalescing(100, 500);
    tree->RefreshTree();
    ASSERT_TRUE(tree->SelectPath(dir.File("burst"), true).IsOk());
    ASSERT_TRUE(tree->IsExpanded(tree->GetSelection()));
    CDriveWatcher* watcher = tree->WatcherOf("/");
    ASSERT_NE(watcher, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return watcher->WatchedCount() >= 3; }, 2000));
    PumpEvents(300); // what other programs did in /tmp so far
    const unsigned before = tree->DriveRefreshes();

    // The files come from another thread while the event loop runs; the
    // longest gap between two turns of the loop is what the user would feel.
    std::atomic<bool> done{false};
    const std::string folder = dir.File("burst");
    std::thread writer([&] {
        for (int i = 0; i < 10000; ++i)
            WriteFile(folder + "/F" + std::to_string(i) + ".java", "");
        done = true;
    });
    auto last = std::chrono::steady_clock::now();
    long longestMs = 0;
    const auto start = last;
    while (!done || std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) {
        PumpEvents(5);
        auto now = std::chrono::steady_clock::now();
        longestMs = std::max<long>(longestMs, std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count());
        last = now;
        if (done && tree->GetChildrenCount(tree->PathToItem(folder), false) == 10001 &&
            std::chrono::steady_clock::now() - start > std::chrono::seconds(2))
            break;
    }
    writer.join();
    const auto burstMs = std::chrono::duration_cast<std::chrono::milliseconds>(last - start).count();
    ASSERT_TRUE(PumpUntil([&] { return tree->GetChildrenCount(tree->PathToItem(folder), false) == 10001; }, 5000))
        << tree->GetChildrenCount(tree->PathToItem(folder), false) << " items after " << tree->DriveRefreshes() - before
        << " refreshes; " << watcher->Reports() << " reports, watching " << tree->WatcherOf("/")->WatchedCount();
    const unsigned refreshes = tree->DriveRefreshes() - before;
    // One refresh per 500 ms of burst at most, and one after it.
    EXPECT_LE(refreshes, burstMs / 500 + 3) << "burst and settling took " << burstMs << " ms";
    EXPECT_GE(refreshes, 1u);
    // A refresh reads the drive and the 10,000 files again: well below a second.
    EXPECT_LT(longestMs, 1000) << "the loop stood still that long";
    EXPECT_EQ(tree->ItemToPath(tree->GetSelection()), folder);
    std::printf("10,000 files: %u refreshes over %ld ms, longest stand-still %ld ms\n", refreshes,
                static_cast<long>(burstMs), longestMs);
}

TEST_F(ExplorerTreeTest, HugeFolderShowsItsFirstFilesAtOnceAndTheRestWhileIdle)
{
    Make("huge");
    for (int i = 0; i < 20000; ++i)
        WriteFile(dir.File("huge/F" + std::to_string(100000 + i) + ".java"), "");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    wxTreeItemId huge = At("huge");
    tree->Expand(huge);
    const size_t atOnce = tree->GetChildrenCount(huge, false);
    EXPECT_GE(atOnce, 1000u);
    EXPECT_LT(atOnce, 20000u);
    EXPECT_TRUE(tree->IsFilling());
    ASSERT_TRUE(PumpUntil([&] { return !tree->IsFilling(); }, 10000));
    ASSERT_EQ(tree->GetChildrenCount(huge, false), 20000u);
    EXPECT_EQ(tree->GetItemText(tree->GetLastChild(huge)).utf8_string(), "F119999.java");

    // A path among the files still to come is found at once; a collapse
    // while the files come drops the rest.
    tree->Collapse(huge);
    ASSERT_TRUE(tree->SelectPath(dir.File("huge/F119998.java"), false).IsOk());
    EXPECT_EQ(tree->ItemToPath(tree->GetSelection()), dir.File("huge/F119998.java"));
    tree->Collapse(huge);
    tree->Expand(huge);
    tree->Collapse(huge);
    EXPECT_FALSE(tree->IsFilling());
    EXPECT_EQ(tree->GetChildrenCount(huge, false), 0u);
}

TEST_F(ExplorerTreeTest, BigFolderKeepsItsOrderShowsItsTextsWhereverScrolledAndComesBackAfterACollapse)
{
    // Folders first, then files by name whatever their case; a file name
    // too wide for the window at the very end.
    Make("big");
    Make("big/zeta");
    Make("big/Alpha");
    const int files = 30000;
    for (int i = 0; i < files; ++i)
        WriteFile(dir.File("big/" + std::string(i % 2 ? "f" : "F") + std::to_string(100000 + i) + ".java"), "");
    const std::string wide = std::string(120, 'z') + ".java";
    WriteFile(dir.File("big/" + wide), "");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    const wxTreeItemId big = At("big");
    ASSERT_TRUE(big.IsOk());
    tree->Expand(big);
    ASSERT_TRUE(PumpUntil([&] { return !tree->IsFilling(); }, 10000));
    ASSERT_EQ(tree->GetChildrenCount(big, false), size_t(files + 3));

    const Lines all = Children(big);
    EXPECT_EQ(all[0], "Alpha");
    EXPECT_EQ(all[1], "zeta");
    for (int i = 0; i < files; ++i)
        if (all[2 + i] != std::string(i % 2 ? "f" : "F") + std::to_string(100000 + i) + ".java") {
            ADD_FAILURE() << "file " << i << " is " << all[2 + i];
            break;
        }
    EXPECT_EQ(all.back(), wide);

    // What the window shows carries its own text, at the top and wherever
    // it is scrolled to; the wide name widens the item to its text.
    PumpEvents(50);
    auto shownText = [&](const wxTreeItemId& item) { return tree->wxTreeCtrl::GetItemText(item).utf8_string(); };
    wxTreeItemIdValue cookie;
    const wxTreeItemId alpha = tree->GetFirstChild(big, cookie);
    tree->EnsureVisible(alpha);
    PumpEvents(100);
    EXPECT_EQ(shownText(alpha), "Alpha");
    const wxTreeItemId last = tree->GetLastChild(big);
    tree->SelectItem(last);
    tree->EnsureVisible(last);
    PumpEvents(100);
    EXPECT_EQ(tree->ItemToPath(tree->GetSelection()), dir.File("big/" + wide));
    EXPECT_EQ(shownText(last), wide);
    wxRect textRect;
    ASSERT_TRUE(tree->GetBoundingRect(last, textRect, true));
    EXPECT_GT(textRect.width, tree->GetClientSize().x / 2);
    // The key Up goes to the file before it, shown with its text.
    wxKeyEvent up(wxEVT_CHAR);
    up.m_keyCode = WXK_UP;
    up.SetEventObject(tree);
    tree->ProcessWindowEvent(up);
    PumpEvents(100);
    const std::string before = "f" + std::to_string(100000 + files - 1) + ".java";
    EXPECT_EQ(tree->GetItemText(tree->GetSelection()).utf8_string(), before);
    EXPECT_EQ(shownText(tree->GetSelection()), before);
    // The middle, by the scroll bar's way.
    wxTreeItemId middle;
    for (wxTreeItemId c = tree->GetFirstChild(big, cookie); c.IsOk(); c = tree->GetNextChild(big, cookie))
        if (tree->GetItemText(c) == "F115000.java")
            middle = c;
    ASSERT_TRUE(middle.IsOk());
    tree->ScrollTo(middle);
    PumpEvents(100);
    EXPECT_EQ(shownText(middle), "F115000.java");
    wxTreeItemId next = tree->GetNextSibling(middle);
    EXPECT_EQ(shownText(next), "f115001.java");

    if (const char* out = std::getenv("KIB_SCREENSHOT_DIR"); out && *out) {
        const std::string cmd = std::string("import -window root '") + out + "/explorer-big-folder.png'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }

    // Collapsed and expanded again: all of it back, in the same order.
    tree->Collapse(big);
    EXPECT_EQ(tree->GetChildrenCount(big, false), 0u);
    EXPECT_TRUE(tree->ItemHasChildren(big));
    tree->Expand(big);
    ASSERT_TRUE(PumpUntil([&] { return !tree->IsFilling(); }, 10000));
    EXPECT_EQ(Children(big), all);
    ASSERT_TRUE(tree->SelectPath(dir.File("big/f129999.java"), false).IsOk());
    PumpEvents(50);
    EXPECT_EQ(shownText(tree->GetSelection()), "f129999.java");
}

// --- The network node ---------------------------------------------------------

namespace {

// A FUSE mount whose server never answers: every look into it waits, as on
// a network mount whose server has gone. Made only in a mount namespace of
// the test's own (ctest's gui.explorer_stale_mount), so that nothing else on
// the machine can stumble into it; gone with the object.
class CStaleMount {
public:
    explicit CStaleMount(const std::string& point) : m_point(point)
    {
        m_fd = open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (m_fd < 0)
            return;
        const std::string options = "fd=" + std::to_string(m_fd) + ",rootmode=40000,user_id=0,group_id=0";
        if (mount("kibtest:/export", point.c_str(), "fuse.sshfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0)
            m_mounted = true;
    }
    ~CStaleMount()
    {
        if (m_mounted)
            umount2(m_point.c_str(), MNT_DETACH);
        if (m_fd >= 0)
            close(m_fd); // what still waits in there gets its error now
    }
    bool Ok() const { return m_mounted; }

private:
    std::string m_point;
    int m_fd = -1;
    bool m_mounted = false;
};

} // namespace

TEST_F(ExplorerTreeTest, StaleNetworkMountIsListedButNeverHoldsTheWindow)
{
    const char* privateMounts = std::getenv("KIB_PRIVATE_MOUNTS");
    if (!privateMounts || std::string(privateMounts) != "1")
        GTEST_SKIP() << "runs as the test gui.explorer_stale_mount, in a mount namespace of its own";
    Make("net");
    Touch("Local.java");
    CStaleMount stale(dir.File("net"));
    ASSERT_TRUE(stale.Ok()) << "no FUSE mount here: " << std::strerror(errno);
    tree->SetMask("*.java");
    tree->SetNetworkTimeout(200);
    tree->RefreshTree();

    // The network node lists the mount from the mount table, without a look into it.
    auto start = std::chrono::steady_clock::now();
    tree->Expand(tree->NetworkItem());
    const Lines network = Children(tree->NetworkItem());
    ASSERT_EQ(network.size(), 1u);
    EXPECT_EQ(network[0], "kibtest:/export (" + dir.File("net") + ")+");
    wxTreeItemIdValue cookie;
    wxTreeItemId share = tree->GetFirstChild(tree->NetworkItem(), cookie);
    tree->SelectItem(share);
    EXPECT_TRUE(tree->IsCommandEnabled(ID_EXPLORER_OPEN));
    EXPECT_FALSE(tree->IsCommandEnabled(ID_EXPLORER_DELETE));
    // Expanding it gives up after the time-out and adds nothing.
    tree->Expand(share);
    EXPECT_EQ(tree->GetChildrenCount(share, false), 0u);
    // "Eigenschaften..." says it could not look.
    ASSERT_TRUE(tree->RunCommand(ID_EXPLORER_PROPERTIES));
    CFilePropertiesWindow* window = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* p = dynamic_cast<CFilePropertiesWindow*>(w))
            window = p;
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->Rows().size(), 2u);
    EXPECT_EQ(window->Rows()[1].second.utf8_string().rfind("nicht lesbar: ", 0), 0u);
    window->Destroy();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    // The folder that holds the mount point is listed as ever; the mount
    // point is shown as a folder without a look into it.
    start = std::chrono::steady_clock::now();
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    EXPECT_EQ(Children(Top()), (Lines{"net+", "Local.java"}));
    tree->SelectItem(At("net"));
    PumpEvents(50);
    EXPECT_TRUE(At("net").IsOk());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// --- Shares -------------------------------------------------------------------

TEST_F(ExplorerTreeTest, SharedFolderShowsTheOverlayUntilTheShareGoes)
{
    Make("public");
    Make("private");
    Make("usershares");
    WriteFile(dir.File("usershares/public"), "#VERSION 2\npath=" + dir.File("public") + "\ncomment=\n");
    CShareEnumerator& shares = CShareEnumerator::Instance();
    const CShareEnumerator::Sources saved = shares.GetSources();
    shares.SetSources({dir.File("usershares"), dir.File("none"), dir.File("none"), dir.File("none"), ""});
    tree->SetMask("*.java");
    tree->RefreshTree(); // reads the shares
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    const int shared = tree->GetItemImage(At("public"));
    const int plain = tree->GetItemImage(At("private"));
    EXPECT_NE(shared, plain);
    EXPECT_TRUE(tree->IsShared(dir.File("public")));
    // Opened, it keeps the overlay.
    EXPECT_NE(tree->GetItemImage(At("public"), wxTreeItemIcon_Expanded),
              tree->GetItemImage(At("private"), wxTreeItemIcon_Expanded));

    // The share is removed outside Kib: gone at the next refresh.
    ASSERT_EQ(unlink(dir.File("usershares/public").c_str()), 0);
    Key(WXK_F5);
    ASSERT_TRUE(tree->SelectPath(dir.Path(), true).IsOk());
    EXPECT_EQ(tree->GetItemImage(At("public")), plain);
    shares.SetSources(saved);
    shares.RefreshShares();
}

TEST_F(ExplorerTreeTest, RightClickSelectsTheItemAndShiftF10ShowsTheMenu)
{
    Touch("A.java");
    Touch("B.java");
    tree->SetMask("*.java");
    ASSERT_TRUE(tree->SelectPath(dir.File("A.java"), false).IsOk());
    frame->Raise();
    PumpEvents(50);
    int menus = 0;
    std::string selectedWhenShown;
    CTreeFileCtrl::SetPopupRunner([&](CTreeFileCtrl& t, wxMenu&, const wxPoint&) {
        ++menus;
        selectedWhenShown = t.ItemToPath(t.GetSelection());
        return wxID_NONE;
    });
    ASSERT_TRUE(PointAt(At("B.java")));
    wxUIActionSimulator().MouseClick(wxMOUSE_BTN_RIGHT);
    ASSERT_TRUE(PumpUntil([&] { return menus == 1; }, 2000));
    EXPECT_EQ(selectedWhenShown, dir.File("B.java"));
    Key(WXK_F10, wxMOD_SHIFT);
    EXPECT_EQ(menus, 2);
    CTreeFileCtrl::SetPopupRunner({});
}
