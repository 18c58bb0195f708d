#include "shell/ShellOpenServer.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

TEST(ShellOpenServerTest, OnlyWellFormedOpenRequestsCount)
{
    EXPECT_EQ(ParseOpenRequest("[open(\"/sets/a b/KISS.CNF\")]"), wxString("/sets/a b/KISS.CNF"));
    EXPECT_EQ(ParseOpenRequest(MakeOpenRequest("/x/y.cnf")), wxString("/x/y.cnf"));
    EXPECT_FALSE(ParseOpenRequest("[open(\"\")]"));
    EXPECT_FALSE(ParseOpenRequest("[open(/x.cnf)]"));
    EXPECT_FALSE(ParseOpenRequest("[print(\"/x.cnf\")]"));
    EXPECT_FALSE(ParseOpenRequest("[open(\"/x.cnf\")] "));
    EXPECT_FALSE(ParseOpenRequest("[open(\"/a\")][open(\"/b\")]"));
    EXPECT_FALSE(ParseOpenRequest(""));
}

TEST(ShellOpenServerTest, SocketFolderMustBeTheUsersAlone)
{
    TempDir dir;
    const std::string folder = dir.File("private");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_TRUE(IsPrivateFolder(folder));
    ::chmod(folder.c_str(), 0755);
    EXPECT_FALSE(IsPrivateFolder(folder));
    const std::string link = dir.File("link");
    ::chmod(folder.c_str(), 0700);
    ASSERT_EQ(::symlink(folder.c_str(), link.c_str()), 0);
    EXPECT_FALSE(IsPrivateFolder(link));
    EXPECT_FALSE(IsPrivateFolder(dir.File("missing")));
    EXPECT_FALSE(IsPrivateFolder(dir.Write("file", "x")));

    EXPECT_EQ(ShellOpenService("/run/user/1", "velquin"), "/run/user/1/velquin");
}

TEST(ShellOpenServerTest, EachDisplayHasItsOwnService)
{
    struct Case
    {
        const char* display;
        const char* service;
    };
    const Case cases[] = {
        {"", "/run/user/1/velquin"},
        {":0", "/run/user/1/velquin-:0"},
        {":0.1", "/run/user/1/velquin-:0"},
        {":12", "/run/user/1/velquin-:12"},
        {"localhost:10.0", "/run/user/1/velquin-localhost:10"},
        {"wayland-0", "/run/user/1/velquin-wayland-0"},
        {"/run/user/1/wayland-1", "/run/user/1/velquin-_run_user_1_wayland-1"},
        {"../x y", "/run/user/1/velquin-.._x_y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShellOpenService("/run/user/1", "velquin", c.display), c.service) << c.display;
}
