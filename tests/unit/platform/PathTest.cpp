#include "platform/Path.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace platform;

TEST(SplitPath, SplitsFolderNameAndExtension)
{
    auto r = SplitPath("/home/anna/src/Hello.java");
    EXPECT_EQ(r.drive, "");
    EXPECT_EQ(r.dir, "/home/anna/src/");
    EXPECT_EQ(r.fname, "Hello");
    EXPECT_EQ(r.ext, ".java");
}

TEST(SplitPath, ExtensionIsFromTheLastDotOfTheLastComponent)
{
    EXPECT_EQ(SplitPath("a.b/c").ext, "");
    EXPECT_EQ(SplitPath("a.b/c").fname, "c");
    EXPECT_EQ(SplitPath("x.tar.gz").ext, ".gz");
    EXPECT_EQ(SplitPath("x.tar.gz").fname, "x.tar");
    EXPECT_EQ(SplitPath("*.java").ext, ".java");
    EXPECT_EQ(SplitPath("*.java").fname, "*");
    EXPECT_EQ(SplitPath(".bashrc").ext, ".bashrc");
    EXPECT_EQ(SplitPath(".bashrc").fname, "");
    EXPECT_EQ(SplitPath("name.").ext, ".");
}

TEST(SplitPath, EdgeCases)
{
    auto r = SplitPath("");
    EXPECT_EQ(r.dir + r.fname + r.ext, "");
    r = SplitPath("/");
    EXPECT_EQ(r.dir, "/");
    EXPECT_EQ(r.fname, "");
    r = SplitPath("dir/");
    EXPECT_EQ(r.dir, "dir/");
    EXPECT_EQ(r.fname, "");
    // Backslashes are ordinary name bytes here.
    r = SplitPath("C:\\Java\\Hello.java");
    EXPECT_EQ(r.dir, "");
    EXPECT_EQ(r.fname, "C:\\Java\\Hello");
}

TEST(MakePath, JoinsTheParts)
{
    EXPECT_EQ(MakePath("", "/tmp", "Hello", "java"), "/tmp/Hello.java");
    EXPECT_EQ(MakePath("", "/tmp/", "Hello", ".java"), "/tmp/Hello.java");
    EXPECT_EQ(MakePath("", "", "Hello", ""), "Hello");
    auto r = SplitPath("/a/b/c.d");
    EXPECT_EQ(MakePath(r.drive, r.dir, r.fname, r.ext), "/a/b/c.d");
}

TEST(JoinPath, AddsOneSeparator)
{
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
    EXPECT_EQ(DirectoryOf("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(DirectoryOf("c.txt"), "");
    EXPECT_EQ(FileNameOf("/a/b/c.txt"), "c.txt");
}

TEST(AbsolutePath, ResolvesDotsLexically)
{
    EXPECT_EQ(AbsolutePath("/a/./b//c/../d"), "/a/b/d");
    EXPECT_EQ(AbsolutePath("/.."), "/");
    EXPECT_EQ(AbsolutePath("/"), "/");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(AbsolutePath("x/y"), std::string(cwd == std::string("/") ? "" : cwd) + "/x/y");
    EXPECT_EQ(AbsolutePath(""), AbsolutePath("."));
}
