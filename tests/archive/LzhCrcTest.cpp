#include "archive/LzhCrc.h"

#include <gtest/gtest.h>

#include <string_view>

TEST(LzhCrcTest, MatchesTheCheckValueOfTheArcCrc)
{
    constexpr std::string_view check = "123456789";
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(check.data()), check.size());
    EXPECT_EQ(LzhCrc16(bytes), 0xBB3D);
    EXPECT_EQ(LzhCrc16({}), 0);
}
