#include "image/Blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

// The rules written with real numbers: quotients cut toward zero.
int ReferenceBlend(int d, int s, int w)
{
    return d + static_cast<int>(std::trunc((s - d) * w / 256.0));
}

int ReferenceBlendTwice(int d, int s, int a, int g)
{
    const double inner = std::trunc((s - d) * a / 256.0);
    return d + static_cast<int>(std::trunc(g * inner / 256.0));
}

} // namespace

TEST(BlendTest, DivisionRoundsTowardZeroForBothSigns)
{
    EXPECT_EQ(DivideBy256(-300), -1);
    EXPECT_EQ(DivideBy256(300), 1);
    EXPECT_EQ(DivideBy256(-255), 0);
    EXPECT_EQ(DivideBy256(-256), -1);
    EXPECT_EQ(Scale(-255, 128), -127);
    EXPECT_EQ(Scale(-127, 100), -49);
}

TEST(BlendTest, BlendMatchesReferenceForEveryInput)
{
    int mismatches = 0;
    int outOfRange = 0;
    for (int d = 0; d < 256; ++d)
    {
        for (int s = 0; s < 256; ++s)
        {
            for (int w = 0; w <= 256; ++w)
            {
                const int got =
                    Blend(static_cast<std::uint8_t>(d), static_cast<std::uint8_t>(s), w);
                mismatches += got != ReferenceBlend(d, s, w);
                outOfRange += got < std::min(d, s) || got > std::max(d, s);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(outOfRange, 0);
    EXPECT_EQ(Blend(100, 200, 128), 150);
    EXPECT_EQ(Blend(255, 0, 128), 128);
    EXPECT_EQ(Blend(7, 9, 0), 7);
    EXPECT_EQ(Blend(7, 9, 256), 9);
}

TEST(BlendTest, BlendTwiceMatchesReferenceForEveryInput)
{
    // The result depends on d and s only through s - d, so every difference stands for all pairs.
    int mismatches = 0;
    int outOfRange = 0;
    for (int s = 0; s < 256; ++s)
    {
        for (int d : {0, 255})
        {
            for (int a = 0; a < 256; ++a)
            {
                for (int g = 0; g <= 256; ++g)
                {
                    const int got = BlendTwice(static_cast<std::uint8_t>(d),
                                               static_cast<std::uint8_t>(s), a, g);
                    mismatches += got != ReferenceBlendTwice(d, s, a, g);
                    outOfRange += got < std::min(d, s) || got > std::max(d, s);
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(outOfRange, 0);
    EXPECT_EQ(BlendTwice(255, 0, 128, 100), 206);
}
