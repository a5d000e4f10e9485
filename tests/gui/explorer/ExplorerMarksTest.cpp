// Compressed and encrypted entries on file systems that keep those marks:
// a btrfs volume and an ext4 volume with an encrypted folder, made on loop
// devices by with_marked_mounts.sh (ctest's gui.explorer_marks). The listing
// reports the marks and the tree colours the items, unless told not to.
#include "gui/GuiTestMain.h"
#include "support/TempDir.h"
#include "workspace/ExplorerTreeCtrl.h"
#include "workspace/FolderListing.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kibtest;

namespace {

// chattr +c: new files in a compressed folder are compressed too.
bool Compress(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags |= FS_COMPR_FL;
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return ok;
}

unsigned MarksOf(const CFolderListing::Result& r, const std::string& name)
{
    for (const auto* group : {&r.folders, &r.files})
        for (const FolderItem& item : *group)
            if (item.name == name)
                return item.attributes;
    ADD_FAILURE() << name << " not listed";
    return 0;
}

class ExplorerMarksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* root = std::getenv("KIB_MARKED_MOUNTS");
        if (!root)
            GTEST_SKIP() << "runs as the test gui.explorer_marks, with file systems made for it";
        btrfs = std::string(root) + "/btrfs";
        ext4 = std::string(root) + "/ext4";
    }

    std::string btrfs, ext4;
};

TEST_F(ExplorerMarksTest, CompressedAndEncryptedEntriesAreListedAndColoured)
{
    // btrfs: a compressed folder whose file inherits the mark, a compressed
    // file beside a plain one.
    ASSERT_EQ(mkdir((btrfs + "/packed").c_str(), 0755), 0);
    ASSERT_TRUE(Compress(btrfs + "/packed"));
    WriteFile(btrfs + "/packed/Inside.java", "class Inside {}\n");
    WriteFile(btrfs + "/One.java", "");
    ASSERT_TRUE(Compress(btrfs + "/One.java"));
    WriteFile(btrfs + "/One.java", "class One {}\n");
    WriteFile(btrfs + "/Plain.java", "class Plain {}\n");
    // ext4: the encrypted folder (its files are encrypted with it) and a plain one.
    WriteFile(ext4 + "/secret/Geheim.java", "class Geheim {}\n");
    ASSERT_EQ(mkdir((ext4 + "/open").c_str(), 0755), 0);
    WriteFile(ext4 + "/open/Offen.java", "class Offen {}\n");

    auto java = [](std::string_view name) { return name.size() > 5 && name.substr(name.size() - 5) == ".java"; };
    CFolderListing::Result r;
    ASSERT_TRUE(CFolderListing::List(btrfs, java, r));
    EXPECT_EQ(MarksOf(r, "packed"), FolderItem::Compressed);
    EXPECT_EQ(MarksOf(r, "One.java"), FolderItem::Compressed);
    EXPECT_EQ(MarksOf(r, "Plain.java"), 0u);
    ASSERT_TRUE(CFolderListing::List(btrfs + "/packed", java, r));
    EXPECT_EQ(MarksOf(r, "Inside.java"), FolderItem::Compressed);
    ASSERT_TRUE(CFolderListing::List(ext4, java, r));
    EXPECT_EQ(MarksOf(r, "secret"), FolderItem::Encrypted);
    EXPECT_EQ(MarksOf(r, "open"), 0u);
    ASSERT_TRUE(CFolderListing::List(ext4 + "/secret", java, r));
    EXPECT_EQ(MarksOf(r, "Geheim.java"), FolderItem::Encrypted);
    ASSERT_TRUE(CFolderListing::List(ext4 + "/open", java, r));
    EXPECT_EQ(MarksOf(r, "Offen.java"), 0u);
    EXPECT_EQ(CFolderListing::Attributes(btrfs + "/One.java"), FolderItem::Compressed);
    EXPECT_EQ(CFolderListing::Attributes(ext4 + "/secret/Geheim.java"), FolderItem::Encrypted);

    auto* frame = new wxFrame(nullptr, wxID_ANY, "Explorer", wxPoint(0, 0), wxSize(420, 700));
    auto* tree = new CExplorerTreeCtrl(frame, 100);
    tree->Options().watchDrives = false;
    tree->OnInitialise();
    tree->SetMask("*.java");
    frame->Show();
    PumpEvents(30);
    const wxColour compressed = tree->Options().compressedColour, encrypted = tree->Options().encryptedColour;
    auto colourOf = [&](const std::string& path) {
        wxTreeItemId item = tree->PathToItem(path);
        EXPECT_TRUE(item.IsOk()) << path;
        return item.IsOk() ? tree->GetItemTextColour(item) : wxColour();
    };
    auto showAll = [&] {
        ASSERT_TRUE(tree->SelectPath(btrfs + "/packed", true).IsOk());
        ASSERT_TRUE(tree->SelectPath(ext4 + "/secret", true).IsOk());
        ASSERT_TRUE(tree->SelectPath(ext4 + "/open", true).IsOk());
        PumpEvents(20);
    };
    showAll();
    EXPECT_EQ(colourOf(btrfs + "/packed"), compressed);
    EXPECT_EQ(colourOf(btrfs + "/packed/Inside.java"), compressed);
    EXPECT_EQ(colourOf(btrfs + "/One.java"), compressed);
    EXPECT_NE(colourOf(btrfs + "/Plain.java"), compressed);
    EXPECT_EQ(colourOf(ext4 + "/secret"), encrypted);
    EXPECT_EQ(colourOf(ext4 + "/secret/Geheim.java"), encrypted);
    EXPECT_NE(colourOf(ext4 + "/open"), encrypted);
    EXPECT_NE(colourOf(ext4 + "/open/Offen.java"), encrypted);
    tree->SelectPath(btrfs + "/packed/Inside.java", false);
    PumpEvents(50);
    SaveScreenIfAsked("explorer-marks");

    // Switched off, the items keep the tree's own colour.
    tree->Options().colourCompressed = false;
    tree->Options().colourEncrypted = false;
    tree->RefreshTree();
    showAll();
    EXPECT_NE(colourOf(btrfs + "/One.java"), compressed);
    EXPECT_NE(colourOf(btrfs + "/packed/Inside.java"), compressed);
    EXPECT_NE(colourOf(ext4 + "/secret/Geheim.java"), encrypted);

    frame->Destroy();
    PumpEvents(30);
}

} // namespace
