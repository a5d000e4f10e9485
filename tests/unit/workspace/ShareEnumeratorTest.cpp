#include "workspace/ShareEnumerator.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using kibtest::CTempDir;
using kibtest::WriteFile;
using Paths = std::vector<std::string>;

TEST(ShareEnumerator, ReadsUserSharesSmbConfAndExports)
{
    EXPECT_EQ(CShareEnumerator::ParseUserShare("#VERSION 2\npath=/home/u/Public/\ncomment=\nusershare_acl=S-1-1-0:R\n"),
              (Paths{"/home/u/Public"}));
    EXPECT_EQ(CShareEnumerator::ParseSmbConf("[global]\n  path = /not/a/share\n"
                                             "[Daten]\n  comment = x\n  Path = /srv/daten\n"
                                             "; [old]\n;  path = /srv/old\n"
                                             "[printers]\n  path = /var/spool/samba\n"
                                             "[long]\n  path = /srv/\\\nlong name\n"
                                             "[users]\n  path = /home/%U\n"
                                             "[homes]\n  browseable = no\n",
                                             "/home/u"),
              (Paths{"/srv/daten", "/var/spool/samba", "/srv/long name", "/home/u"}));
    EXPECT_EQ(CShareEnumerator::ParseSmbConf("[homes]\n available = no\n", "/home/u"), Paths{});
    EXPECT_EQ(CShareEnumerator::ParseExports("# comment\n/srv/nfs  192.168.0.0/24(rw,sync)\n"
                                             "\"/srv/with blank\" *(ro)\n/srv/esc\\040aped host(ro)\n"
                                             "   \nrelative host(ro)\n"),
              (Paths{"/srv/nfs", "/srv/with blank", "/srv/esc aped"}));
}

TEST(ShareEnumerator, RefreshReadsEverySourceAndForgetsRemovedShares)
{
    CTempDir dir;
    ASSERT_EQ(mkdir(dir.File("usershares").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(dir.File("exports.d").c_str(), 0755), 0);
    WriteFile(dir.File("usershares/public"), "path=" + dir.File("pub") + "\n");
    WriteFile(dir.File("smb.conf"), "[x]\npath = /srv/x\n");
    WriteFile(dir.File("exports"), "/srv/nfs *(ro)\n");
    WriteFile(dir.File("exports.d/extra.exports"), "/srv/more *(ro)\n");
    WriteFile(dir.File("exports.d/ignored.txt"), "/srv/not *(ro)\n");

    CShareEnumerator shares;
    shares.SetSources({dir.File("usershares"), dir.File("smb.conf"), dir.File("exports"), dir.File("exports.d"), "/h"});
    EXPECT_FALSE(shares.IsShared("/srv/x"));
    shares.RefreshShares();
    EXPECT_EQ(shares.Count(), 4u);
    EXPECT_TRUE(shares.IsShared(dir.File("pub")));
    EXPECT_TRUE(shares.IsShared(dir.File("pub") + "/"));
    EXPECT_TRUE(shares.IsShared("/srv/x"));
    EXPECT_TRUE(shares.IsShared("/srv/nfs"));
    EXPECT_TRUE(shares.IsShared("/srv/more"));
    EXPECT_FALSE(shares.IsShared("/srv/not"));
    EXPECT_FALSE(shares.IsShared("/SRV/X")); // case counts on this file system
    EXPECT_FALSE(shares.IsShared("/srv"));
    EXPECT_FALSE(shares.IsShared(""));

    // The share goes away outside: the next refresh forgets it.
    ASSERT_EQ(unlink(dir.File("usershares/public").c_str()), 0);
    shares.RefreshShares();
    EXPECT_FALSE(shares.IsShared(dir.File("pub")));
    // Missing sources add nothing and fail nothing.
    shares.SetSources({dir.File("none"), dir.File("none"), dir.File("none"), dir.File("none"), ""});
    shares.RefreshShares();
    EXPECT_EQ(shares.Count(), 0u);
}
