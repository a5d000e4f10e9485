#include "platform/ProgramDir.h"

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

using namespace platform;

namespace {

using CEnvVar = kibtest::CScopedEnv;

} // namespace

TEST(ProgramDirectory, UsesTheFolderOfAnArgvWithASlash)
{
    kibtest::CTempDir dir;
    std::string fake = dir.File("kib");
    kibtest::WriteFile(fake, "");
    EXPECT_EQ(ProgramDirectory(fake.c_str()), dir.Path() + "/");
    EXPECT_EQ(ExecutableDirectory(fake.c_str()), dir.Path() + "/");
}

TEST(ProgramDirectory, RelativeArgvIsMadeAbsolute)
{
    kibtest::CTempDir dir;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    mkdir("bin", 0755);
    std::string got = ExecutableDirectory("./bin/kib");
    ASSERT_EQ(chdir(old), 0);
    EXPECT_EQ(got, dir.Path() + "/bin/");
}

TEST(ProgramDirectory, BareNameUsesTheRunningExecutable)
{
    std::string got = ExecutableDirectory("kib");
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), '/');
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    exe[n] = 0;
    EXPECT_EQ(std::string(exe).rfind(got, 0), 0u) << got << " vs " << exe;
}

TEST(ProgramDirectory, FallsBackToTheUserConfigFolderWhenNotWritable)
{
    kibtest::CTempDir home;
    CEnvVar xdg("XDG_CONFIG_HOME", home.File("cfg").c_str());
    EXPECT_EQ(UserConfigDirectory(), home.File("cfg") + "/kib/");
    struct stat st;
    EXPECT_EQ(stat(home.File("cfg/kib").c_str(), &st), 0);
    // /proc/1 is not writable, even for root.
    EXPECT_EQ(ProgramDirectory("/proc/1/kib"), home.File("cfg") + "/kib/");
}

TEST(UserConfigDirectory, DefaultsToDotConfigBelowHome)
{
    kibtest::CTempDir home;
    CEnvVar xdg("XDG_CONFIG_HOME", nullptr);
    CEnvVar h("HOME", home.Path().c_str());
    EXPECT_EQ(UserConfigDirectory(), home.Path() + "/.config/kib/");
    // A relative XDG_CONFIG_HOME is not valid and is ignored.
    CEnvVar rel("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(UserConfigDirectory(), home.Path() + "/.config/kib/");
}
