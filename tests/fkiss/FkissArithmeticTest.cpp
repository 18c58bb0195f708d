#include "fkiss/FkissArithmetic.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

} // namespace

TEST(FkissArithmeticTest, AddSubAndMulWrapAround)
{
    EXPECT_EQ(WrappingAdd(2, 3), 5);
    EXPECT_EQ(WrappingAdd(kMax, 1), kMin);
    EXPECT_EQ(WrappingSub(kMin, 1), kMax);
    EXPECT_EQ(WrappingSub(-3, -5), 2);
    EXPECT_EQ(WrappingMul(-4, 6), -24);
    EXPECT_EQ(WrappingMul(65536, 65536), 0);
    EXPECT_EQ(WrappingMul(kMax, 2), -2);
}

TEST(FkissArithmeticTest, DivAndModTruncateTowardZeroAndRefuseZero)
{
    EXPECT_EQ(Quotient(7, 2), 3);
    EXPECT_EQ(Quotient(-7, 2), -3);
    EXPECT_EQ(Remainder(-7, 2), -1);
    EXPECT_EQ(Remainder(7, -2), 1);
    EXPECT_EQ(Quotient(kMin, -1), kMin);
    EXPECT_EQ(Remainder(kMin, -1), 0);
    EXPECT_FALSE(Quotient(1, 0));
    EXPECT_FALSE(Remainder(1, 0));
}
