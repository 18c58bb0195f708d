#include "scene/FileSource.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(FileSourceTest, ExactNameWinsOverOtherCase)
{
    TempDir dir;
    dir.Write("FUKIDASI.CEL", "upper");
    dir.Write("fukidasi.cel", "lower");
    FolderFileSource files(dir.Path());
    auto bytes = files.Read("fukidasi.cel");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "lower");
}

TEST(FileSourceTest, FindsNameIgnoringCaseFirstInByteOrder)
{
    TempDir dir;
    dir.Write("fukidasi.cel", "lower");
    dir.Write("Fukidasi.cel", "mixed");
    FolderFileSource files(dir.Path());
    auto bytes = files.Read("FUKIDASI.CEL");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "mixed"); // 'F' sorts before 'f'
    EXPECT_FALSE(files.Read("missing.cel"));
    EXPECT_FALSE(files.Read(""));
}

TEST(FileSourceTest, FolderOfUsesTheLastSlash)
{
    EXPECT_EQ(FolderOf("/a/b/KISS.CNF"), "/a/b");
    EXPECT_EQ(FolderOf("KISS.CNF"), "");
    EXPECT_EQ(FolderOf("/KISS.CNF"), "/");
}
