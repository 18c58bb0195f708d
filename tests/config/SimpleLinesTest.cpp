#include "config/SimpleLines.h"

#include <gtest/gtest.h>

TEST(SimpleLinesTest, PaletteNameIsTheFirstRunOfNameCharacters)
{
    const PaletteLine plain("%Lina.kcf   ; palette");
    EXPECT_EQ(plain.PaletteFileName(), "Lina.kcf");
    EXPECT_EQ(plain.CommentText(), "; palette");

    const PaletteLine afterSemicolon("%;x a.kcf");
    EXPECT_EQ(afterSemicolon.PaletteFileName(), "x");
    EXPECT_EQ(afterSemicolon.CommentText(), "");

    EXPECT_EQ(PaletteLine("%").PaletteFileName(), "");
    EXPECT_EQ(PaletteLine("%dir\\pal.kcf").PaletteFileName(), "dir");
    EXPECT_EQ(PaletteLine("%COL.kcf\t\t; \x83\x70\x83\x8C").CommentText(), "; \x83\x70\x83\x8C");
    // A katakana whose trail byte is "@" before the name.
    EXPECT_EQ(PaletteLine("%\x83\x40pal.kcf").PaletteFileName(), "pal.kcf");
}

TEST(SimpleLinesTest, WindowSizeTakesTwoNumbers)
{
    const WindowSizeLine full("(400,350)  ; Environment size");
    EXPECT_EQ(full.Width(), 400);
    EXPECT_EQ(full.Height(), 350);
    EXPECT_EQ(full.CommentText(), "; Environment size");

    const WindowSizeLine widthOnly("(640");
    EXPECT_EQ(widthOnly.Width(), 640);
    EXPECT_EQ(widthOnly.Height(), 0);

    const WindowSizeLine none("(;5,6");
    EXPECT_EQ(none.Width(), 0);
    EXPECT_EQ(none.Height(), 0);
    EXPECT_EQ(none.CommentText(), ";5,6");

    EXPECT_EQ(WindowSizeLine("(-640 x -480").Height(), 480);
}

TEST(SimpleLinesTest, MemoryAndBorderTakeOneNumber)
{
    const MemoryLine memory("=512K ;memory");
    EXPECT_EQ(memory.Value(), 512);
    EXPECT_EQ(memory.CommentText(), ";memory");
    EXPECT_EQ(MemoryLine("=").Value(), 0);

    const BorderLine border("[12  ; Border color");
    EXPECT_EQ(border.ColourIndex(), 12);
    EXPECT_EQ(border.CommentText(), "; Border color");
    EXPECT_EQ(BorderLine("[").CommentText(), "");
}

TEST(SimpleLinesTest, BorderOfThreeNumbersIsAColour)
{
    using Rgb = BorderLine::Rgb;
    const BorderLine light("[204,255,255");
    EXPECT_EQ(light.Colour(), (Rgb{204, 255, 255}));
    EXPECT_EQ(light.ColourIndex(), 204);
    EXPECT_EQ(light.LineText(), "[204,255,255");
    EXPECT_FALSE(light.IsModified());

    const BorderLine spaced("[ 0 , 16,\t255\t;sky");
    EXPECT_EQ(spaced.Colour(), (Rgb{0, 16, 255}));
    EXPECT_EQ(spaced.CommentText(), ";sky");

    // Anything else keeps the one-number reading and gives no colour.
    for (const char* text : {"[12", "[1,2", "[1,2,", "[1,2,3,4", "[1,2,256", "[1,2,3 x", "[1;2,3,4",
                             "[-1,2,3", "[1,,2,3", "[", "[a1,2,3"})
    {
        const BorderLine line(text);
        EXPECT_EQ(line.Colour(), std::nullopt) << text;
        EXPECT_EQ(line.LineText(), text);
    }
    EXPECT_EQ(BorderLine("[1,2").ColourIndex(), 1);
    EXPECT_EQ(BorderLine("[1,2,3 x").ColourIndex(), 1);
}

TEST(SimpleLinesTest, CommentLineKeepsTheWholeLineAsComment)
{
    const ConfigRecord line("\tx;y");
    EXPECT_EQ(line.LineText(), "\tx;y");
    EXPECT_EQ(line.CommentText(), "\tx;y");
    EXPECT_FALSE(line.IsModified());
}
