#include "Wildcard.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using Names = std::vector<std::string>;

TEST(WildcardTest, StarAndQuestionMarkMatchWithoutRegardToCase)
{
    EXPECT_TRUE(WildcardMatch("*.bmp", "DOLL.BMP"));
    EXPECT_TRUE(WildcardMatch("*.BMP", "doll.bmp"));
    EXPECT_TRUE(WildcardMatch("d?ll.*", "Doll.bmp"));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("a*b*c", "aXbYbZc"));
    EXPECT_TRUE(WildcardMatch("**.bmp", ".bmp"));
    EXPECT_TRUE(WildcardMatch("?.bmp", "あ.bmp"));
    EXPECT_TRUE(WildcardMatch("あ*", "あい.bmp"));
    EXPECT_FALSE(WildcardMatch("?.bmp", "ab.bmp"));
    EXPECT_FALSE(WildcardMatch("*.bmp", "doll.bmp.bak"));
    EXPECT_FALSE(WildcardMatch("a*b*c", "aXbYcZ"));
    EXPECT_FALSE(WildcardMatch("?", ""));
    EXPECT_FALSE(WildcardMatch("い", "イ"));
}

TEST(WildcardTest, PatternsBecomeTheMatchingNamesSortedWithoutRegardToCase)
{
    TempDir dir;
    for (const char* name : {"b.BMP", "A.bmp", "c.txt", "_a.bmp", "B.bmp"})
        dir.Write(name, std::string_view("x"));
    std::filesystem::create_directory(dir.File("sub"));
    dir.Write("sub/x.bmp", std::string_view("x"));
    std::filesystem::current_path(dir.Path());

    EXPECT_EQ(ExpandWildcards({"*.bmp"}), (Names{"_a.bmp", "A.bmp", "B.bmp", "b.BMP"}));
    EXPECT_EQ(ExpandWildcards({"sub/*.BMP", "?.txt"}), (Names{"sub/x.bmp", "c.txt"}));
    EXPECT_EQ(ExpandWildcards({dir.Path() + "/c*"}), (Names{dir.Path() + "/c.txt"}));
    // Plain names pass through, in place between the expansions.
    EXPECT_EQ(ExpandWildcards({"z.bmp", "a*", "missing"}), (Names{"z.bmp", "A.bmp", "missing"}));
}

TEST(WildcardTest, UnmatchedQuotedAndFolderPatternsStayAsTheyAre)
{
    TempDir dir;
    dir.Write("a.bmp", std::string_view("x"));
    std::filesystem::create_directory(dir.File("sub"));
    std::filesystem::current_path(dir.Path());

    EXPECT_EQ(ExpandWildcards({"*.png"}), (Names{"*.png"}));
    EXPECT_EQ(ExpandWildcards({"\"*.bmp\"", "\"a.bmp\""}), (Names{"*.bmp", "a.bmp"}));
    EXPECT_EQ(ExpandWildcards({"s*/a.bmp"}), (Names{"s*/a.bmp"}));
    EXPECT_EQ(ExpandWildcards({"nowhere/*.bmp"}), (Names{"nowhere/*.bmp"}));
    // Folders match like files, but "." and ".." never appear.
    EXPECT_EQ(ExpandWildcards({"*"}), (Names{"a.bmp", "sub"}));
    EXPECT_EQ(ExpandWildcards({".*"}), (Names{".*"}));
}
