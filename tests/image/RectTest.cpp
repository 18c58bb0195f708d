#include "image/Rect.h"

#include <gtest/gtest.h>

TEST(RectTest, RightAndBottomAreExclusive)
{
    const Rect r{2, 3, 5, 7};
    EXPECT_EQ(r.Width(), 3);
    EXPECT_EQ(r.Height(), 4);
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(4, 6));
    EXPECT_FALSE(r.Contains(5, 3));
    EXPECT_FALSE(r.Contains(2, 7));
    EXPECT_FALSE(r.Contains(1, 3));
    EXPECT_TRUE((Rect{0, 0, 1, 1}).Contains(0, 0));
}

TEST(RectTest, EmptyWhenEitherSideIsZeroOrNegative)
{
    EXPECT_TRUE(Rect{}.IsEmpty());
    EXPECT_TRUE((Rect{5, 5, 5, 9}).IsEmpty());
    EXPECT_TRUE((Rect{5, 5, 9, 5}).IsEmpty());
    EXPECT_TRUE((Rect{5, 5, 4, 9}).IsEmpty());
    EXPECT_FALSE((Rect{-3, -3, -2, -2}).IsEmpty());
    EXPECT_FALSE((Rect{-3, -3, -2, -2}).Contains(-2, -3));
}

TEST(RectTest, IntersectGivesCommonPartOrAllZero)
{
    EXPECT_EQ(Rect::Intersect({0, 0, 10, 10}, {5, -5, 20, 5}), (Rect{5, 0, 10, 5}));
    // Touching edges share nothing because right and bottom are exclusive.
    EXPECT_EQ(Rect::Intersect({0, 0, 10, 10}, {10, 0, 20, 10}), Rect{});
    EXPECT_EQ(Rect::Intersect({0, 0, 10, 10}, {30, 30, 40, 40}), Rect{});
    EXPECT_EQ(Rect::Intersect({0, 0, 10, 10}, {3, 3, 3, 8}), Rect{});
}

TEST(RectTest, UnionIgnoresAnEmptyOperand)
{
    EXPECT_EQ(Rect::Union({0, 0, 2, 2}, {5, 6, 7, 8}), (Rect{0, 0, 7, 8}));
    EXPECT_EQ(Rect::Union({}, {5, 6, 7, 8}), (Rect{5, 6, 7, 8}));
    EXPECT_EQ(Rect::Union({5, 6, 7, 8}, {1, 1, 1, 9}), (Rect{5, 6, 7, 8}));
    EXPECT_EQ(Rect::Union({3, 3, 1, 1}, {9, 9, 2, 2}), Rect{});
}

TEST(RectTest, OffsetMovesAllFourEdgesAndSetEmptyZeroesThem)
{
    Rect r{1, 2, 3, 4};
    r.Offset(-5, 10);
    EXPECT_EQ(r, (Rect{-4, 12, -2, 14}));
    r.SetEmpty();
    EXPECT_EQ(r, Rect{});
}
