#include "FkissFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace
{

class FkissMoveActionsTest : public FkissFixture
{
};

} // namespace

TEST_F(FkissMoveActionsTest, MoveToRandomKeepsTheWholeObjectOnThePlayField)
{
    // Object 2 has nothing mapped: with no box it still lands on the field.
    LoadWithCode(
        {"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel ;%u", "$0 * 10,10 50,50"},
        {";@begin() timer(1, 10)", ";@alarm(1) movetorand(#1) movetorand(#2) timer(1, 10)"});
    std::set<std::pair<std::int32_t, std::int32_t>> seen;
    for (int i = 0; i < 60; ++i)
    {
        Engine().RunFor(10);
        for (const std::int32_t object : {1, 2})
        {
            const Point at = PositionOf(object);
            EXPECT_GE(at.x, 0);
            EXPECT_GE(at.y, 0);
            EXPECT_LE(at.x + 4, 100);
            EXPECT_LE(at.y + 4, 100);
        }
        seen.emplace(PositionOf(1).x, PositionOf(1).y);
    }
    EXPECT_GT(seen.size(), 30u);
}

TEST_F(FkissMoveActionsTest, ChildrenFollowEveryKindOfMoveOfTheirParent)
{
    LoadWithCode(
        {"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel", "#3 ring.cel", "$0 * 10,10 20,20 60,60"},
        {";@begin() attach(#2, #1) glue(#3, #2) timer(1, 10) timer(2, 20) timer(3, 30)",
         ";@alarm(1) moveto(#1, 30, 40)", ";@alarm(2) movebyy(#1, #3, -10)",
         ";@alarm(3) moverandx(#1, 5, 5)"});
    const auto offsets = [&]
    {
        const Point parent = PositionOf(1);
        return std::pair{Point{PositionOf(2).x - parent.x, PositionOf(2).y - parent.y},
                         Point{PositionOf(3).x - parent.x, PositionOf(3).y - parent.y}};
    };
    const auto attached = offsets();
    EXPECT_EQ(attached, (std::pair{Point{10, 10}, Point{50, 50}}));
    for (const Point expected : {Point{30, 40}, Point{30, 80}, Point{35, 80}})
    {
        Engine().RunFor(10);
        EXPECT_EQ(PositionOf(1), expected);
        EXPECT_EQ(offsets(), attached);
    }
}
