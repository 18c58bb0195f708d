#include "config/AsciiCase.h"

#include <gtest/gtest.h>

TEST(AsciiCaseTest, OnlyAsciiLettersFoldAndShiftJisBytesStay)
{
    // "ソ" in Shift-JIS is 0x83 0x5C; 0xC0-0xDE are half-width katakana, which a locale's
    // lower-casing could take for Latin-1 capitals.
    const std::string sjis = "\x83\x5C\xC0\xDE";
    EXPECT_EQ(LowerAscii("DOLL.CEL" + sjis), "doll.cel" + sjis);
    EXPECT_EQ(LowerAscii('['), '[');
    EXPECT_EQ(LowerAscii('@'), '@');
    EXPECT_TRUE(EqualsIgnoringAsciiCase("[Recent File List]", "[recent file list]"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase(sjis, sjis));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("A.CEL", "A.CEL "));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC0", "\xE0"));
}
