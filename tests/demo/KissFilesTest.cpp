#include "KissFiles.h"
#include "image/Cel.h"
#include "image/PaletteFile.h"

#include <gtest/gtest.h>

TEST(KissFilesTest, IndexedCelsPackAsTheViewerUnpacksThem)
{
    const std::vector<std::uint8_t> numbers{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    for (const int bits : {4, 8})
    {
        const auto bytes = EncodeIndexedCel(numbers, 5, 3, bits, {7, 9, 40});
        // Odd rows of 4-bit cels take a whole byte for their last pixel.
        EXPECT_EQ(bytes.size(), 32u + (bits == 4 ? 9u : 15u));
        Cel cel;
        cel.Load(bytes);
        ASSERT_TRUE(cel.IsOk());
        EXPECT_EQ(cel.fileBitsPerPixel, bits);
        EXPECT_EQ(*cel.pixels, numbers);
        EXPECT_EQ(cel.xOffset, 7);
        EXPECT_EQ(cel.yOffset, 9);
        EXPECT_EQ(cel.opacity, 216);
    }
}

TEST(KissFilesTest, TrueColourCelKeepsItsPixels)
{
    const std::vector<std::uint8_t> bgra{1, 2, 3, 4, 5, 6, 7, 8};
    Cel cel;
    cel.Load(EncodeTrueColourCel(bgra, 2, 1, {3, 0, 0}));
    ASSERT_TRUE(cel.IsOk());
    EXPECT_EQ(cel.mark, kCelMarkTrueColour);
    EXPECT_EQ(*cel.pixels, bgra);
    EXPECT_EQ(cel.xOffset, 3);
}

TEST(KissFilesTest, PaletteColoursSurviveBothEncodings)
{
    const std::vector<std::vector<Colour>> groups{{{255, 0, 17}, {200, 100, 50}},
                                                  {{0, 255, 136}, {8, 9, 250}}};
    PaletteFile wide;
    wide.Load(EncodePalette(groups, 24));
    ASSERT_TRUE(wide.IsOk());
    EXPECT_EQ(wide.Group(1)[1], (PaletteColour{8, 9, 250, 0}));

    PaletteFile narrow;
    narrow.Load(EncodePalette(groups, 12));
    ASSERT_TRUE(narrow.IsOk());
    ASSERT_EQ(narrow.GroupCount(), 2u);
    EXPECT_EQ(narrow.Group(0)[0], (PaletteColour{255, 0, 17, 0}));
    // Rounded to the nearest multiple of 17.
    EXPECT_EQ(narrow.Group(0)[1], (PaletteColour{204, 102, 51, 0}));
    EXPECT_EQ(narrow.Group(1)[1], (PaletteColour{0, 17, 255, 0}));
}
