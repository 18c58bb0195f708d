#include "Raster.h"

#include <gtest/gtest.h>

TEST(RasterTest, LaterPartCarriesTheOneLineBetweenParts)
{
    IndexedCanvas canvas(7, 3);
    canvas.Part(Box(0, 0, 4, 3), 1, 2);
    canvas.Part(Box(4, 0, 7, 3), 3, 4);
    canvas.Paint(Box(1, 1, 2, 2), 5);
    const std::vector<std::uint8_t> expected{2, 2, 2, 2, 4, 4, 4, //
                                             2, 5, 1, 1, 4, 3, 4, //
                                             2, 2, 2, 2, 4, 4, 4};
    EXPECT_EQ(canvas.Pixels(), expected);
}

TEST(RasterTest, SmoothedEdgesAreTranslucentAndCropFindsTheDrawing)
{
    TrueColourCanvas canvas(8, 8);
    canvas.Fill(Box(2, 2, 4.5, 5), {10, 20, 30, 255});
    const auto& pixels = canvas.Pixels();
    const auto alpha = [&](int x, int y) { return pixels[4 * (y * 8 + x) + 3]; };
    EXPECT_EQ(alpha(2, 2), 255);
    EXPECT_EQ(alpha(4, 2), 128);
    EXPECT_EQ(alpha(5, 2), 0);
    EXPECT_EQ(pixels[4 * (2 * 8 + 4) + 2], 10) << "colour stays straight, not premultiplied";

    const Crop crop = FindCrop(8, 8, [&](std::size_t i) { return pixels[4 * i + 3] != 0; });
    EXPECT_EQ(crop.left, 2);
    EXPECT_EQ(crop.top, 2);
    EXPECT_EQ(crop.width, 3);
    EXPECT_EQ(crop.height, 3);
    EXPECT_EQ(CropPixels(pixels, 8, crop, 4).size(), 4u * 9u);
}

TEST(RasterTest, MirrorAndCapsuleCoverWhatTheySay)
{
    const Shape left = Capsule({1, 5}, {9, 5}, 1, 3);
    EXPECT_TRUE(left.inside(1, 5.9));
    EXPECT_FALSE(left.inside(1, 6.5));
    EXPECT_TRUE(left.inside(9, 7.9));
    const Shape right = Mirror(left, 10);
    EXPECT_TRUE(right.inside(19, 5.9));
    EXPECT_FALSE(right.inside(19, 6.5));
    EXPECT_EQ(right.left, 8);
    EXPECT_EQ(right.right, 22);
}
