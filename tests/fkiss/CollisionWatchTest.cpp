#include "fkiss/CollisionWatch.h"

#include <gtest/gtest.h>

#include <array>

namespace
{

/// Whether the event fires for each (before, after, involved), in the order
/// 000 001 010 011 100 101 110 111.
std::array<bool, 8> Table(FkissOp event)
{
    std::array<bool, 8> fires{};
    for (int i = 0; i < 8; ++i)
        fires[static_cast<std::size_t>(i)] =
            CollisionFires(event, (i & 4) != 0, (i & 2) != 0, (i & 1) != 0);
    return fires;
}

constexpr bool F = false;
constexpr bool T = true;

} // namespace

TEST(CollisionWatchTest, TruthTableOfEveryWatchingEvent)
{
    // Meeting and parting fire whoever moved; the still events only for a move of their pair.
    EXPECT_EQ(Table(FkissOp::In), (std::array{F, F, T, T, F, F, F, F}));
    EXPECT_EQ(Table(FkissOp::Collide), (std::array{F, F, T, T, F, F, F, F}));
    EXPECT_EQ(Table(FkissOp::Out), (std::array{F, F, F, F, T, T, F, F}));
    EXPECT_EQ(Table(FkissOp::Apart), (std::array{F, F, F, F, T, T, F, F}));
    EXPECT_EQ(Table(FkissOp::StillIn), (std::array{F, F, F, F, F, F, F, T}));
    EXPECT_EQ(Table(FkissOp::StillOut), (std::array{F, T, F, F, F, F, F, F}));
    EXPECT_EQ(Table(FkissOp::Press), (std::array<bool, 8>{}));
}

TEST(CollisionWatchTest, WhichEventsWatchAndHow)
{
    for (const FkissOp event : {FkissOp::In, FkissOp::Out, FkissOp::StillIn, FkissOp::StillOut})
    {
        EXPECT_TRUE(IsCollisionEvent(event));
        EXPECT_FALSE(TestsPixels(event));
    }
    for (const FkissOp event : {FkissOp::Collide, FkissOp::Apart})
    {
        EXPECT_TRUE(IsCollisionEvent(event));
        EXPECT_TRUE(TestsPixels(event));
    }
    EXPECT_FALSE(IsCollisionEvent(FkissOp::MouseIn));
    EXPECT_FALSE(IsCollisionEvent(FkissOp::Drop));
}
