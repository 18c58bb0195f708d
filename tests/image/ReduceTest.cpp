#include "image/Reduce.h"

#include <gtest/gtest.h>

TEST(ReduceTest, FitWithinKeepsTheAspectAndNeverEnlarges)
{
    const struct
    {
        ImageSize image;
        std::int32_t limit;
        ImageSize fitted;
    } cases[] = {
        {{640, 480}, 128, {128, 96}},
        {{480, 640}, 128, {96, 128}},
        {{448, 320}, 256, {256, 183}},
        {{1000, 1}, 16, {16, 1}},
        {{100, 50}, 128, {100, 50}},
        {{128, 128}, 128, {128, 128}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitWithin(c.image, c.limit), c.fitted) << c.image.width << "x" << c.image.height;
}

TEST(ReduceTest, EachTargetPixelIsTheMeanOfTheAreaItCovers)
{
    // Whole blocks: 2 by 2 source pixels per target pixel.
    const std::vector<std::uint8_t> blocks{
        0,  0, 0, 40, 0, 0, 100, 0, 0, 100, 0, 0, //
        20, 0, 0, 60, 0, 0, 100, 0, 0, 104, 0, 0,
    };
    EXPECT_EQ(ReduceRgb(blocks, {4, 2}, {2, 1}), (std::vector<std::uint8_t>{30, 0, 0, 101, 0, 0}));

    // Three pixels into two: the middle one counts half for each.
    const std::vector<std::uint8_t> thirds{0, 10, 255, 90, 10, 255, 180, 10, 255};
    EXPECT_EQ(ReduceRgb(thirds, {3, 1}, {2, 1}),
              (std::vector<std::uint8_t>{30, 10, 255, 150, 10, 255}));
}

TEST(ReduceTest, AFlatColourStaysExactlyThatColour)
{
    std::vector<std::uint8_t> flat;
    for (int i = 0; i < 7 * 5; ++i)
        flat.insert(flat.end(), {13, 200, 77});
    const auto reduced = ReduceRgb(flat, {7, 5}, {3, 2});
    ASSERT_EQ(reduced.size(), 3u * 3 * 2);
    for (std::size_t i = 0; i < reduced.size(); i += 3)
        EXPECT_EQ((std::vector<std::uint8_t>(reduced.begin() + i, reduced.begin() + i + 3)),
                  (std::vector<std::uint8_t>{13, 200, 77}));
}
