#include "fkiss/CelTags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Names = std::vector<std::string>;
using Frames = std::vector<std::int32_t>;

TEST(CelTagsTest, PercentTagsInAnyCaseAnywhere)
{
    EXPECT_TRUE(ReadCelTags(";%u").unmapped);
    EXPECT_TRUE(ReadCelTags("; note%U").unmapped);
    EXPECT_TRUE(ReadCelTags(";%G").ghosted);
    const CelTags both = ReadCelTags(";%g %u %x10 %y-3");
    EXPECT_TRUE(both.unmapped);
    EXPECT_TRUE(both.ghosted);
    EXPECT_TRUE(both.groups.empty());
    EXPECT_TRUE(both.frames.empty());
    const CelTags none = ReadCelTags("; shirt 100% cotton%");
    EXPECT_FALSE(none.unmapped);
    EXPECT_FALSE(none.ghosted);
}

TEST(CelTagsTest, GroupsStartAWordAndEndAtTheFirstOtherCharacter)
{
    EXPECT_EQ(ReadCelTags(";!Arms !legs_2\t!X").groups, (Names{"arms", "legs_2", "x"}));
    EXPECT_EQ(ReadCelTags(";!hat-red").groups, (Names{"hat"}));
    // Inside a word, or with no name after it, '!' is text.
    EXPECT_TRUE(ReadCelTags("; wow!nice ! !-").groups.empty());
    // Shift-JIS bytes end a name.
    EXPECT_EQ(ReadCelTags(";!ab\x83\x41").groups, (Names{"ab"}));
}

TEST(CelTagsTest, FramesAreTheNumbersAfterAColon)
{
    EXPECT_EQ(ReadCelTags(";:0 2  5").frames, (Frames{0, 2, 5}));
    EXPECT_EQ(ReadCelTags(";!walk :1 3 !run").frames, (Frames{1, 3}));
    EXPECT_EQ(ReadCelTags(";!walk :1 3 !run").groups, (Names{"walk", "run"}));
    EXPECT_TRUE(ReadCelTags("; time 12:30").frames.empty());
    EXPECT_TRUE(ReadCelTags(";: x").frames.empty());
    // A long run of digits is cut into numbers of nine digits, so none overflows.
    EXPECT_EQ(ReadCelTags(";:12345678901").frames, (Frames{123456789, 1}));
}
