#include "fkiss/KeyNames.h"

#include <gtest/gtest.h>

TEST(KeyNamesTest, SpellingsOfOneKeyMeet)
{
    EXPECT_EQ(CanonicalKey("A"), "a");
    EXPECT_EQ(CanonicalKey("Esc"), "escape");
    EXPECT_EQ(CanonicalKey("RETURN"), "enter");
    EXPECT_EQ(CanonicalKey(" "), "space");
    EXPECT_EQ(CanonicalKey("Up"), "up");
}

TEST(KeyNamesTest, CodesOfCharactersAndNamedKeys)
{
    EXPECT_EQ(KeyCode("a"), 'a');
    EXPECT_EQ(KeyCode("7"), '7');
    EXPECT_EQ(KeyCode("\xE9"), 0xE9); // a byte above 0x7F stays positive
    EXPECT_EQ(KeyCode("enter"), 13);
    EXPECT_EQ(KeyCode("escape"), 27);
    EXPECT_EQ(KeyCode("space"), 32);
    EXPECT_EQ(KeyCode("left"), 37);
    EXPECT_EQ(KeyCode("down"), 40);
    EXPECT_EQ(KeyCode("delete"), 127);
    EXPECT_EQ(KeyCode("f13"), 0);
    EXPECT_EQ(KeyCode(""), 0);
}
