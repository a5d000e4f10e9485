#include "workspace/ExplorerMask.h"
#include "workspace/FolderListing.h"
#include "workspace/MountTable.h"
#include "workspace/TreeHistory.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

using kibtest::CTempDir;
using kibtest::WriteFile;
using Names = std::vector<std::string>;

namespace {

Names NamesOf(const std::vector<FolderItem>& items)
{
    Names out;
    for (const FolderItem& i : items)
        out.push_back(i.name);
    return out;
}

Names DrivePaths(const std::vector<DriveEntry>& drives)
{
    Names out;
    for (const DriveEntry& d : drives)
        out.push_back(d.path);
    return out;
}

} // namespace

// --- The mount table -------------------------------------------------------

TEST(MountTable, ParsesFieldsAndTheKernelsEscapes)
{
    auto mounts = CMountTable::Parse("/dev/sda1 / ext4 rw,relatime 0 0\n"
                                     "proc /proc proc rw 0 0\n"
                                     "/dev/sdb1 /media/USB\\040Stick vfat rw 0 0\n"
                                     "/dev/sdc1 /mnt/a\\134b\\012c ext4 rw 0 0\n"
                                     "broken-line-without-fields\n"
                                     "server:/export /mnt/nfs nfs4 rw 0 0");
    ASSERT_EQ(mounts.size(), 5u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].type, "ext4");
    EXPECT_EQ(mounts[2].mountPoint, "/media/USB Stick");
    EXPECT_EQ(mounts[3].mountPoint, "/mnt/a\\b\nc");
    EXPECT_EQ(mounts[4].device, "server:/export");
}

TEST(MountTable, DrivesAreRootFirstThenHomeThenRealLocalMounts)
{
    CTempDir home;
    auto mounts = CMountTable::Parse("sysfs /sys sysfs rw 0 0\n"
                                     "/dev/sdb1 /srv/data xfs rw 0 0\n"
                                     "tmpfs /run tmpfs rw 0 0\n"
                                     "/dev/sda1 / ext4 rw 0 0\n"
                                     "/dev/sda2 /boot ext4 rw 0 0\n"
                                     "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                                     "//srv/share /mnt/smb cifs rw 0 0\n"
                                     "user@h:/ /mnt/ssh fuse.sshfs rw 0 0\n"
                                     "/dev/sdc1 /boot ext4 rw 0 0\n");
    auto drives = CMountTable::LocalDrives(mounts, home.Path() + "/");
    EXPECT_EQ(DrivePaths(drives), (Names{"/", home.Path(), "/boot", "/srv/data"}));
    EXPECT_EQ(drives[0].kind, DriveEntry::Root);
    EXPECT_EQ(drives[0].type, "ext4");
    EXPECT_EQ(drives[1].kind, DriveEntry::Home);
    // Mounted twice: the last mount is what is seen there.
    EXPECT_EQ(drives[2].device, "/dev/sdc1");

    auto network = CMountTable::NetworkMounts(mounts);
    ASSERT_EQ(network.size(), 2u);
    EXPECT_EQ(network[0].mountPoint, "/mnt/smb");
    EXPECT_EQ(network[1].mountPoint, "/mnt/ssh");

    // No home folder, or one that is "/" or missing, gives no entry of its own.
    EXPECT_EQ(DrivePaths(CMountTable::LocalDrives(mounts, "")), (Names{"/", "/boot", "/srv/data"}));
    EXPECT_EQ(DrivePaths(CMountTable::LocalDrives(mounts, "/")), (Names{"/", "/boot", "/srv/data"}));
    EXPECT_EQ(DrivePaths(CMountTable::LocalDrives(mounts, home.File("gone"))), (Names{"/", "/boot", "/srv/data"}));
    // Even an empty table offers "/".
    EXPECT_EQ(DrivePaths(CMountTable::LocalDrives({}, "")), (Names{"/"}));
}

TEST(MountTable, MountOfTakesTheLongestMountPointByComponents)
{
    auto mounts = CMountTable::Parse("/dev/sda1 / ext4 rw 0 0\n"
                                     "srv:/x /mnt/net nfs rw 0 0\n"
                                     "/dev/sdb1 /mnt/net/inner ext4 rw 0 0\n");
    EXPECT_EQ(CMountTable::MountOf(mounts, "/mnt/net/a")->type, "nfs");
    EXPECT_EQ(CMountTable::MountOf(mounts, "/mnt/net")->type, "nfs");
    EXPECT_EQ(CMountTable::MountOf(mounts, "/mnt/network")->type, "ext4");
    EXPECT_EQ(CMountTable::MountOf(mounts, "/mnt/net/inner/b")->device, "/dev/sdb1");
    EXPECT_EQ(CMountTable::MountOf({}, "/x"), nullptr);
}

TEST(MountTable, ThisMachinesTableHasARootDrive)
{
    auto mounts = CMountTable::ReadSystem();
    ASSERT_FALSE(mounts.empty());
    auto drives = CMountTable::LocalDrives(mounts, CMountTable::HomeFolder());
    EXPECT_EQ(drives.front().path, "/");
    for (const DriveEntry& d : drives)
        EXPECT_FALSE(CMountTable::IsPseudoType(d.type)) << d.path << " " << d.type;
}

// --- The mask -----------------------------------------------------------------

TEST(ExplorerMask, TokensGiveExtensionsThatMatchWithoutRegardToCase)
{
    CExplorerMask mask;
    mask.SetMask(".java;*.jav;;");
    EXPECT_EQ(mask.Extensions(), (Names{".java", ".jav"}));
    EXPECT_EQ(mask.GetMask(), ".java;.jav;");
    EXPECT_TRUE(mask.Shows("A.java"));
    EXPECT_TRUE(mask.Shows("B.JAVA"));
    EXPECT_TRUE(mask.Shows("c.Jav"));
    EXPECT_TRUE(mask.Shows("x.txt.java"));
    EXPECT_FALSE(mask.Shows("A.java.txt"));
    EXPECT_FALSE(mask.Shows("A.javax"));
    EXPECT_FALSE(mask.Shows("Makefile"));
    EXPECT_FALSE(mask.Shows("java"));
}

TEST(ExplorerMask, EmptyMaskShowsNoFileAndStarDotStarShowsEvery)
{
    CExplorerMask empty;
    empty.SetMask("");
    EXPECT_TRUE(empty.Extensions().empty());
    EXPECT_EQ(empty.GetMask(), "");
    EXPECT_FALSE(empty.Shows("A.java"));
    EXPECT_FALSE(empty.Shows("Makefile"));

    CExplorerMask all;
    all.SetMask("*.*");
    EXPECT_EQ(all.Extensions(), (Names{".*"}));
    EXPECT_TRUE(all.Shows("A.java"));
    EXPECT_TRUE(all.Shows("Makefile"));

    // A token without a dot gives the empty extension: files without one.
    CExplorerMask bare;
    bare.SetMask("README");
    EXPECT_EQ(bare.Extensions(), (Names{""}));
    EXPECT_TRUE(bare.Shows("Makefile"));
    EXPECT_FALSE(bare.Shows("A.java"));
}

// --- Folder listings ----------------------------------------------------------

TEST(FolderListing, FoldersFirstThenShownFilesEachSortedIgnoringCase)
{
    CTempDir dir;
    for (const char* f : {"b.java", "A.java", "c.txt", "C.java", ".hidden.java", "Z.JAVA"})
        WriteFile(dir.File(f), "x");
    for (const char* d : {"zeta", "Alpha", ".git", "beta"})
        ASSERT_EQ(mkdir(dir.File(d).c_str(), 0755), 0);
    WriteFile(dir.File("beta/Inner.java"), "x");
    WriteFile(dir.File("zeta/notes.txt"), "x");

    CExplorerMask mask;
    mask.SetMask("*.java");
    CFolderListing::Result r;
    ASSERT_TRUE(CFolderListing::List(dir.Path(), [&](std::string_view n) { return mask.Shows(n); }, r));
    EXPECT_EQ(NamesOf(r.folders), (Names{".git", "Alpha", "beta", "zeta"}));
    EXPECT_EQ(NamesOf(r.files), (Names{".hidden.java", "A.java", "b.java", "C.java", "Z.JAVA"}));
    EXPECT_EQ(r.files[1].path, dir.Path() + "/A.java");
    // Only beta holds something shown.
    EXPECT_FALSE(r.folders[0].hasChildren);
    EXPECT_TRUE(r.folders[2].hasChildren);
    EXPECT_FALSE(r.folders[3].hasChildren);

    // An empty mask: folders only, and zeta's .txt file gives it no children.
    ASSERT_TRUE(CFolderListing::List(dir.Path(), nullptr, r));
    EXPECT_EQ(r.files.size(), 0u);
    EXPECT_EQ(r.folders.size(), 4u);
    EXPECT_FALSE(CFolderListing::HasChildren(dir.File("beta"), nullptr));
}

TEST(FolderListing, OrderIsTotalForNamesThatDifferOnlyInCase)
{
    EXPECT_TRUE(CFolderListing::Less("a", "B"));
    EXPECT_TRUE(CFolderListing::Less("B", "b")); // ties go by the bytes
    EXPECT_FALSE(CFolderListing::Less("b", "B"));
    EXPECT_TRUE(CFolderListing::Less("ab", "abc"));
    EXPECT_TRUE(CFolderListing::Less("Z", "\xc3\xa4")); // bytes above ASCII after it
}

TEST(FolderListing, BadNamesLinksAndLoopsAreListedAsTheyAre)
{
    CTempDir dir;
    const std::string badUtf8 = "bad\xff\xfe.java", newline = "new\nline.java", dash = "-rf.java";
    for (const std::string& f : {badUtf8, newline, dash})
        WriteFile(dir.File(f), "x");
    ASSERT_EQ(mkdir(dir.File("real").c_str(), 0755), 0);
    ASSERT_EQ(symlink("real", dir.File("linked").c_str()), 0);
    ASSERT_EQ(symlink("loop2.java", dir.File("loop1.java").c_str()), 0);
    ASSERT_EQ(symlink("loop1.java", dir.File("loop2.java").c_str()), 0);
    ASSERT_EQ(symlink(".", dir.File("self").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", dir.File("dangling.java").c_str()), 0);

    CExplorerMask mask;
    mask.SetMask("*.java");
    CFolderListing::Result r;
    ASSERT_TRUE(CFolderListing::List(dir.Path(), [&](std::string_view n) { return mask.Shows(n); }, r));
    EXPECT_EQ(NamesOf(r.folders), (Names{"linked", "real", "self"}));
    EXPECT_TRUE(r.folders[0].link);
    EXPECT_FALSE(r.folders[1].link);
    // A link to its own folder has children (itself among them), but only
    // one level is read per call: no walk goes round the loop.
    EXPECT_TRUE(r.folders[2].hasChildren);
    std::set<std::string> files;
    for (const FolderItem& f : r.files)
        files.insert(f.name);
    EXPECT_EQ(files, (std::set<std::string>{badUtf8, newline, dash, "loop1.java", "loop2.java", "dangling.java"}));
    for (const FolderItem& f : r.files)
        EXPECT_EQ(f.path, dir.Path() + "/" + f.name);
}

TEST(FolderListing, MissingAndUnreadableFoldersFailWithTheirError)
{
    CTempDir dir;
    CFolderListing::Result r;
    EXPECT_FALSE(CFolderListing::List(dir.File("gone"), nullptr, r));
    EXPECT_EQ(r.error, ENOENT);
    WriteFile(dir.File("file.java"), "x");
    EXPECT_FALSE(CFolderListing::List(dir.File("file.java"), nullptr, r));
    EXPECT_EQ(r.error, ENOTDIR);

    ASSERT_EQ(mkdir(dir.File("locked").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(dir.File("locked/inner").c_str(), 0755), 0);
    ASSERT_EQ(chmod(dir.File("locked").c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    const std::string root = dir.Path();
    EXPECT_UNPRIVILEGED_OK([root] {
        CFolderListing::Result out;
        if (CFolderListing::List(root + "/locked", nullptr, out) || out.error != EACCES)
            return 1;
        if (CFolderListing::HasChildren(root + "/locked", nullptr))
            return 2;
        // Its parent still lists it, without an expand button.
        if (!CFolderListing::List(root, nullptr, out) || out.folders.size() != 1 || out.folders[0].hasChildren)
            return 3;
        return 0;
    });
    chmod(dir.File("locked").c_str(), 0755);
}

// --- History ------------------------------------------------------------------

TEST(TreeHistory, BackAndForwardSwapTheCurrentItem)
{
    CTreeHistory h;
    auto live = [](CTreeHistory::Key) { return true; };
    EXPECT_FALSE(h.CanGoBack(live));
    h.Push(1); // 1 -> 2
    h.Push(2); // 2 -> 3
    EXPECT_EQ(h.Back(3, live), 2u);
    EXPECT_EQ(h.Back(2, live), 1u);
    EXPECT_FALSE(h.CanGoBack(live));
    EXPECT_EQ(h.Forward(1, live), 2u);
    EXPECT_EQ(h.Forward(2, live), 3u);
    EXPECT_FALSE(h.CanGoForward(live));
    // Moving on empties the forward list.
    EXPECT_EQ(h.Back(3, live), 2u);
    h.Push(2);
    EXPECT_FALSE(h.CanGoForward(live));
}

TEST(TreeHistory, HoldsTwentyAndSkipsItemsThatLeftTheTree)
{
    CTreeHistory h;
    auto live = [](CTreeHistory::Key) { return true; };
    for (CTreeHistory::Key k = 1; k <= 25; ++k)
        h.Push(k);
    EXPECT_EQ(h.BackSize(), 20u);
    int steps = 0;
    CTreeHistory::Key cur = 26, last = 0;
    while (auto k = h.Back(cur, live)) {
        last = cur = *k;
        ++steps;
    }
    EXPECT_EQ(steps, 20);
    EXPECT_EQ(last, 6u); // 1..5 were dropped first

    CTreeHistory s;
    std::set<CTreeHistory::Key> gone = {2, 3};
    auto alive = [&](CTreeHistory::Key k) { return !gone.count(k); };
    s.Push(1);
    s.Push(2);
    s.Push(3);
    EXPECT_EQ(s.Back(4, alive), 1u);
    EXPECT_EQ(s.Forward(1, alive), 4u);
    gone = {1, 4};
    EXPECT_FALSE(s.CanGoBack(alive));
    EXPECT_FALSE(s.CanGoForward(alive));
    // A vanished current item is not put onto the other list.
    s.Push(5);
    EXPECT_EQ(s.Back(4, alive), 5u);
    EXPECT_FALSE(s.CanGoForward(alive));
}

TEST(FolderListing, BoundedListingGivesTheSameOrTimesOut)
{
    CTempDir dir;
    WriteFile(dir.File("b.java"), "x");
    ASSERT_EQ(mkdir(dir.File("a").c_str(), 0755), 0);
    CFolderListing::Result r;
    ASSERT_TRUE(CFolderListing::ListBounded(dir.Path(), [](std::string_view) { return true; }, r, 2000));
    EXPECT_EQ(NamesOf(r.folders), (Names{"a"}));
    EXPECT_EQ(NamesOf(r.files), (Names{"b.java"}));
    EXPECT_FALSE(CFolderListing::ListBounded(dir.File("gone"), nullptr, r, 2000));
    EXPECT_EQ(r.error, ENOENT);
    // A filter that hangs stands in for a mount that no longer answers.
    auto slow = [](std::string_view) {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return true;
    };
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CFolderListing::ListBounded(dir.Path(), slow, r, 50));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(r.error, ETIMEDOUT);
    EXPECT_TRUE(r.files.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // let the thread end before the folder goes
}
