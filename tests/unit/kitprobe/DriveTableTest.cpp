// Which mounts of the mount table are drives for the JDK search.
#include "kitprobe/DriveTable.h"
#include "support/TempDir.h"
#include "unit/kitprobe/KitprobeTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>

using ::testing::ElementsAre;

namespace {

TEST(DriveTableTest, ParsesFieldsAndOctalEscapes)
{
    CDriveTable t;
    t.Parse("/dev/sda1 / ext4 rw,relatime 0 0\n"
            "/dev/sdb1 /media/anna/my\\040disk vfat rw 0 0\n"
            "odd\\134dev /with\\011tab/ btrfs rw 0 0\n"
            "short line\n"
            "\n"
            "/dev/sdc1 relative ext4 rw 0 0\n"
            "/dev/sdd1 /unfinished\\04 xfs rw 0 0");
    ASSERT_EQ(t.Mounts().size(), 4u);
    EXPECT_EQ(t.Mounts()[0].mountPoint, "/");
    EXPECT_EQ(t.Mounts()[1].mountPoint, "/media/anna/my disk");
    EXPECT_EQ(t.Mounts()[1].type, "vfat");
    EXPECT_EQ(t.Mounts()[2].device, "odd\\dev");
    EXPECT_EQ(t.Mounts()[2].mountPoint, "/with\ttab");
    EXPECT_EQ(t.Mounts()[3].mountPoint, "/unfinished\\04");
}

TEST(DriveTableTest, PseudoNetworkAndOpticalFileSystemsAreNoDrives)
{
    for (const char* type : {"proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "ramfs", "cgroup",
                             "cgroup2", "autofs", "nfs", "nfs4", "cifs", "smb3", "9p",
                             "fuse.sshfs", "fuse.gvfsd-fuse", "iso9660", "udf", "virtiofs"})
        EXPECT_FALSE(CDriveTable::IsSearchedType(type)) << type;
    // Disks, container roots, images and types this list does not know (a
    // drive of undeterminable type is searched).
    for (const char* type : {"ext4", "ext3", "xfs", "btrfs", "zfs", "f2fs", "vfat", "exfat",
                             "ntfs3", "fuseblk", "overlay", "squashfs", "bcachefs"})
        EXPECT_TRUE(CDriveTable::IsSearchedType(type)) << type;
}

TEST(DriveTableTest, EachFileSystemIsOneDriveAtItsVisibleMount)
{
    kibtest::CTempDir tmp;
    for (const char* d : {"a", "b", "c", "p", "n"})
        kptest::MakeDirs(tmp.File(d));
    const std::string T = tmp.Path();
    // All these folders lie on one file system, as a disk mounted at several
    // places (or bind-mounted) would.
    CDriveTable t;
    t.Parse("proc " + T + "/p proc rw 0 0\n" +
            "server:/export " + T + "/n nfs4 rw 0 0\n" +
            "/dev/sdc1 " + T + "/c ext4 rw 0 0\n" +  // hidden by the tmpfs below
            "tmpfs " + T + "/c tmpfs rw 0 0\n" +
            "/dev/sdz1 " + T + "/missing ext4 rw 0 0\n" +
            "/dev/sda1 " + T + "/a ext4 rw 0 0\n" +
            "/dev/sda1 " + T + "/b ext4 rw 0 0\n");
    EXPECT_THAT(t.Drives(), ElementsAre(T + "/a"));
    EXPECT_THAT(t.MountPoints(), ElementsAre(T + "/p", T + "/n", T + "/c", T + "/missing",
                                             T + "/a", T + "/b"));
}

TEST(DriveTableTest, RemovableDevicesAreRecognisedFromSysfs)
{
    kibtest::CTempDir sys;
    const std::string S = sys.Path();
    auto write = [](const std::string& path, const char* text) {
        kibtest::WriteFile(path, text);
    };
    // A USB stick with one partition, and a fixed disk.
    kptest::MakeDirs(S + "/devices/usb/block/sdb/sdb1");
    write(S + "/devices/usb/block/sdb/removable", "1\n");
    write(S + "/devices/usb/block/sdb/sdb1/partition", "1\n");
    kptest::MakeDirs(S + "/devices/pci/block/sda/sda1");
    write(S + "/devices/pci/block/sda/removable", "0\n");
    write(S + "/devices/pci/block/sda/sda1/partition", "1\n");
    kptest::MakeLink("../../devices/usb/block/sdb", S + "/dev/block/8:16");
    kptest::MakeLink("../../devices/usb/block/sdb/sdb1", S + "/dev/block/8:17");
    kptest::MakeLink("../../devices/pci/block/sda/sda1", S + "/dev/block/8:1");

    EXPECT_TRUE(CDriveTable::IsRemovableDevice(makedev(8, 16), S));
    EXPECT_TRUE(CDriveTable::IsRemovableDevice(makedev(8, 17), S));
    EXPECT_FALSE(CDriveTable::IsRemovableDevice(makedev(8, 1), S));
    EXPECT_FALSE(CDriveTable::IsRemovableDevice(makedev(8, 2), S)); // unknown
    EXPECT_FALSE(CDriveTable::IsRemovableDevice(makedev(0, 42), S)); // overlay, fuse …
}

TEST(DriveTableTest, ThisMachinesRootIsADriveWhenItIsADisk)
{
    CDriveTable t;
    ASSERT_TRUE(t.LoadSystem());
    auto visibleRoot = std::find_if(t.Mounts().rbegin(), t.Mounts().rend(),
                                    [](const auto& m) { return m.mountPoint == "/"; });
    ASSERT_NE(visibleRoot, t.Mounts().rend());
    struct stat st {};
    ASSERT_EQ(stat("/", &st), 0);
    std::vector<std::string> drives = t.Drives();
    bool expected = CDriveTable::IsSearchedType(visibleRoot->type) &&
                    !CDriveTable::IsRemovableDevice(st.st_dev, "/sys");
    EXPECT_EQ(std::count(drives.begin(), drives.end(), "/"), expected ? 1 : 0)
        << "root file system type " << visibleRoot->type;
    for (const std::string& d : drives)
        EXPECT_NE(d.rfind("/proc", 0), 0u) << d;
}

} // namespace
