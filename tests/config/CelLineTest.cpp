#include "config/CelLine.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string SetsOf(const CelLine& cel)
{
    std::string sets;
    for (int n = 0; n < 10; ++n)
    {
        if (cel.IsInSet(n))
            sets += static_cast<char>('0' + n);
    }
    return sets;
}

} // namespace

TEST(CelLineTest, ReadsEveryFieldOfATypicalLine)
{
    const CelLine cel("#17.15\tsuitu.cel\t*3 :0 1   3 4 5         ;a comment");
    EXPECT_EQ(cel.ObjectNumber(), 17);
    EXPECT_EQ(cel.Fix(), 15);
    EXPECT_EQ(cel.CelFileName(), "suitu.cel");
    EXPECT_EQ(cel.PaletteNumber(), 3);
    EXPECT_EQ(SetsOf(cel), "01345");
    EXPECT_EQ(cel.CommentText(), ";a comment");
    EXPECT_EQ(cel.Transparency(), -1);
    EXPECT_FALSE(cel.IsModified());
}

TEST(CelLineTest, BareHashTakesEveryDefault)
{
    const CelLine cel("#");
    EXPECT_EQ(cel.ObjectNumber(), 0);
    EXPECT_EQ(cel.Fix(), 0);
    EXPECT_EQ(cel.CelFileName(), "");
    EXPECT_EQ(cel.PaletteNumber(), 0);
    EXPECT_EQ(SetsOf(cel), "0123456789");
    EXPECT_EQ(cel.CommentText(), "");
    EXPECT_EQ(cel.Transparency(), -1);
}

TEST(CelLineTest, SetListDigitsAreSingleSetsAndStopAtOtherCharacters)
{
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel")), "0123456789");
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel :;x")), "");
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel :")), "");
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel :12")), "12");
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel :1 2")), "12");
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel :1\t2x 5")), "12");
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel :1 2 :7")), "7");
    EXPECT_EQ(SetsOf(CelLine("#1 a.cel :3 ;:4")), "3");

    const CelLine stoppedByStar("#1 a.cel :1 2*4 9");
    EXPECT_EQ(SetsOf(stoppedByStar), "12");
    EXPECT_EQ(stoppedByStar.PaletteNumber(), 4);
}

TEST(CelLineTest, StarTakesTheNextNumberBeforeTheComment)
{
    EXPECT_EQ(CelLine("#1 a.cel * ;5").PaletteNumber(), 0);
    EXPECT_EQ(CelLine("#1 a.cel *2 *6").PaletteNumber(), 6);
    EXPECT_EQ(CelLine("#1 a.cel ;*5").PaletteNumber(), 0);

    const CelLine starThenSets("#1 a.cel * :3 4");
    EXPECT_EQ(starThenSets.PaletteNumber(), 3);
    EXPECT_EQ(SetsOf(starThenSets), "0123456789");
}

TEST(CelLineTest, FileNameIsTheFirstRunOfNameCharactersAfterTheNumbers)
{
    const CelLine inComment("#\t;face.cel");
    EXPECT_EQ(inComment.ObjectNumber(), 0);
    EXPECT_EQ(inComment.CelFileName(), "face.cel");
    EXPECT_EQ(inComment.CommentText(), "");
    EXPECT_EQ(CelLine("#;face.cel ;note").CommentText(), ";note");

    const CelLine starFirst("#1 *2 a.cel");
    EXPECT_EQ(starFirst.CelFileName(), "2");
    EXPECT_EQ(starFirst.PaletteNumber(), 0);

    EXPECT_EQ(CelLine("#1 dir\\a.cel").CelFileName(), "dir");
    EXPECT_EQ(CelLine("#1 O'Neil-~_@.CEL").CelFileName(), "O'Neil-~_@.CEL");
}

TEST(CelLineTest, FixNeedsTheDotDirectlyAfterTheObjectNumber)
{
    const CelLine dotThenSpace("#5. a.cel");
    EXPECT_EQ(dotThenSpace.Fix(), 0);
    EXPECT_EQ(dotThenSpace.CelFileName(), "a.cel");

    const CelLine detachedDot("#5 .abc");
    EXPECT_EQ(detachedDot.Fix(), 0);
    EXPECT_EQ(detachedDot.CelFileName(), ".abc");

    const CelLine fixed("#52.512\tHAIR_F.CEL\t");
    EXPECT_EQ(fixed.ObjectNumber(), 52);
    EXPECT_EQ(fixed.Fix(), 512);
    EXPECT_EQ(fixed.CelFileName(), "HAIR_F.CEL");
}

TEST(CelLineTest, MinusSignsAreSkipped)
{
    const CelLine cel("#-5 a.cel *-2");
    EXPECT_EQ(cel.ObjectNumber(), 5);
    EXPECT_EQ(cel.PaletteNumber(), 2);
}

TEST(CelLineTest, LongDigitRunsSaturate)
{
    EXPECT_EQ(CelLine("#2147483647 a.cel").ObjectNumber(), 2147483647);
    EXPECT_EQ(CelLine("#2147483648 a.cel").ObjectNumber(), 2147483647);
    EXPECT_EQ(CelLine("#99999999999999999999 a.cel *123456789012").PaletteNumber(), 2147483647);
    EXPECT_EQ(CelLine("#1 a.cel ;%t99999999999").Transparency(), 0);
}

TEST(CelLineTest, TransparencyOptionInTheComment)
{
    EXPECT_EQ(CelLine("#1 a.cel ;%t0").Transparency(), 256);
    EXPECT_EQ(CelLine("#1 a.cel ;%t128").Transparency(), 128);
    EXPECT_EQ(CelLine("#1 a.cel ;%T256").Transparency(), 0);
    EXPECT_EQ(CelLine("#1 a.cel ;%t300").Transparency(), 0);
    EXPECT_EQ(CelLine("#1 a.cel ;%t").Transparency(), 256);
    EXPECT_EQ(CelLine("#1 a.cel ;%t ;64").Transparency(), 256);
    EXPECT_EQ(CelLine("#1 a.cel ; shadow %t = 64 here").Transparency(), 192);
    EXPECT_EQ(CelLine("#1 a.cel ;%t10 %t20").Transparency(), 236);
    EXPECT_EQ(CelLine("#1 a.cel ;%x%t5").Transparency(), 251);
    EXPECT_EQ(CelLine("#1 a.cel ;%%t5").Transparency(), -1);
    EXPECT_EQ(CelLine("#1 a.cel ;plain").Transparency(), -1);
    EXPECT_EQ(CelLine("#1 a.cel %t5").Transparency(), -1);
    EXPECT_EQ(CelLine("#1 a.cel ;%").Transparency(), -1);
}

TEST(CelLineTest, OffsetTagsInTheCommentGiveTheCelOffsets)
{
    const CelLine tagged("#3.2 top.cel *0 :0 1 ;%t64 %x144 %y-42 jacket");
    EXPECT_EQ(tagged.XOffset(), 144);
    EXPECT_EQ(tagged.YOffset(), -42);
    EXPECT_EQ(tagged.Transparency(), 192);
    EXPECT_EQ(tagged.CelFileName(), "top.cel");
    EXPECT_EQ(tagged.LineText(), "#3.2 top.cel *0 :0 1 ;%t64 %x144 %y-42 jacket");

    const CelLine upper("#1 a.cel ;%X7%Y0");
    EXPECT_EQ(upper.XOffset(), 7);
    EXPECT_EQ(upper.YOffset(), 0);
    EXPECT_EQ(CelLine("#1 a.cel ;%x1 %x2").XOffset(), 2);

    // Without digits right after the letter there is no tag, and the rest still counts.
    const CelLine bare("#1 a.cel ;%x %y- %x-%t5 %y 9");
    EXPECT_EQ(bare.XOffset(), std::nullopt);
    EXPECT_EQ(bare.YOffset(), std::nullopt);
    EXPECT_EQ(bare.Transparency(), 251);
    EXPECT_EQ(CelLine("#1 a.cel ;%x").XOffset(), std::nullopt);
    // Tags count only in the comment.
    EXPECT_EQ(CelLine("#1 a.cel %x5").XOffset(), std::nullopt);
    EXPECT_EQ(CelLine("#1 a.cel ;plain").XOffset(), std::nullopt);
    // Long runs stop at the 32-bit limits.
    EXPECT_EQ(CelLine("#1 a.cel ;%x99999999999").XOffset(), 2147483647);
    EXPECT_EQ(CelLine("#1 a.cel ;%y-99999999999").YOffset(), -2147483647 - 1);
}

TEST(CelLineTest, ShiftJisCharactersNeverLendTheirTrailBytesToAName)
{
    // 0x83 0x40 and 0x83 0x41 are katakana whose trail bytes are "@" and "A".
    const CelLine before("#1\t\x83\x40\x83\x41 b.cel");
    EXPECT_EQ(before.CelFileName(), "b.cel");

    EXPECT_EQ(CelLine("#1 abc\x83\x41.cel").CelFileName(), "abc");
    EXPECT_EQ(CelLine("#1 \xE0\x61x.cel").CelFileName(), "x.cel");
    EXPECT_EQ(CelLine("#1 \x83").CelFileName(), "");

    const CelLine comment("#1 a.cel ;\x83\x4E\x83\x8A%t64");
    EXPECT_EQ(comment.CommentText(), ";\x83\x4E\x83\x8A%t64");
    EXPECT_EQ(comment.Transparency(), 192);
}
