#include "BmpBytes.h"
#include "Convert.h"
#include "image/Cel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

// What Tarnel writes must be what the viewer reads.
TEST(ConvertedCelTest, ViewerLoadsTheConvertedCelWithItsAlpha)
{
    TempDir dir;
    std::filesystem::current_path(dir.Path());
    BmpBytes image(3, 2, 0x203040);
    image.At(0, 0) = 0xAABBCC;
    BmpBytes mask(3, 2, 0x0000FF);
    mask.At(0, 0) = 0x000000;
    mask.At(1, 0) = 0x000080;
    dir.Write("pic.bmp", image.Bytes());
    dir.Write("_ic.bmp", mask.Bytes());
    std::ostringstream messages;
    ConvertArgument("pic.bmp", messages);
    const std::string file = dir.Read("pic.CEL");

    Cel cel;
    cel.Load(std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
    ASSERT_TRUE(cel.IsOk());
    EXPECT_EQ(cel.mark, kCelMarkTrueColour);
    EXPECT_EQ(cel.fileBitsPerPixel, 32);
    EXPECT_EQ(cel.depth, 32);
    EXPECT_EQ(cel.width, 3);
    EXPECT_EQ(cel.height, 2);
    EXPECT_EQ(cel.xOffset, 0);
    EXPECT_EQ(cel.yOffset, 0);
    EXPECT_EQ(cel.opacity, 256);
    const std::vector<std::uint8_t> expected{0xCC, 0xBB, 0xAA, 0xFF, 0x40, 0x30, 0x20, 0x7F,
                                             0,    0,    0,    0,    0,    0,    0,    0,
                                             0,    0,    0,    0,    0,    0,    0,    0};
    EXPECT_EQ(*cel.pixels, expected);
}
