#include "scene/ObjectDrag.h"

#include "SceneFixtures.h"
#include "scene/Scene.h"
#include "support/ConfigText.h"

#include <gtest/gtest.h>

namespace
{

/// A 100 × 80 screen: object 1 (20 × 10, free) at 10,10, object 2 (10 × 10, fix 1) at 40,10,
/// object 3 (8 × 8, fix 300) at 70,10, and object 4 (120 × 10, free), wider than the screen.
struct Field
{
    FakeFileSource files;
    Scene scene;
    ScreenBuffer buffer;
    const Rect screen{0, 0, 100, 80};

    Field()
    {
        files.Add("p.kcf", Palette24({{Rgb(0, 0, 0), Rgb(255, 0, 0)}}));
        files.Add("a.cel", SolidCel(20, 10, 1));
        files.Add("b.cel", SolidCel(10, 10, 1));
        files.Add("c.cel", SolidCel(8, 8, 1));
        files.Add("w.cel", SolidCel(120, 10, 1));
        scene.LoadSceneFromBytes(ConfigText({"(100,80)", "%p.kcf", "#1 a.cel", "#2.1 b.cel",
                                             "#3.300 c.cel", "#4 w.cel",
                                             "$0 * 10,10 40,10 70,10 0,60"}),
                                 files);
    }

    int Cel(std::int32_t object) const { return scene.FirstCelOf(object); }

    /// Holds object at press, moves through the points, applying each move as the view does.
    ObjectDrag Drag(std::int32_t object, Point press, std::initializer_list<Point> points)
    {
        ObjectDrag drag(scene, screen, Cel(object), press);
        for (const Point point : points)
        {
            const ObjectDrag::Move move = drag.MoveTo(scene, point);
            scene.MoveObjectBy(buffer, Cel(object), move.delta.x, move.delta.y);
        }
        return drag;
    }
    Point At(std::int32_t object) const { return scene.GetCelPosition(Cel(object)); }
};

} // namespace

TEST(ObjectDragTest, TheLimitKeepsTheWholeObjectOnTheScreen)
{
    Field f;
    ObjectDrag drag = f.Drag(1, {15, 15}, {{25, 35}});
    EXPECT_EQ(drag.Limit(), (Rect{5, 5, 85, 75}));
    EXPECT_EQ(f.At(1), (Point{20, 30}));
    // Far outside: the right and bottom edges stay one pixel inside.
    EXPECT_EQ(drag.MoveTo(f.scene, {500, 500}).pointer, (Point{84, 74}));
    f.Drag(1, {25, 35}, {{500, 500}});
    EXPECT_EQ(f.At(1), (Point{79, 69}));
    f.Drag(1, {85, 75}, {{-50, -50}});
    EXPECT_EQ(f.At(1), (Point{0, 0}));
    EXPECT_FALSE(drag.SpringBack());

    // Wider than the screen: the pointer may go anywhere on it.
    EXPECT_EQ(ObjectDrag(f.scene, f.screen, f.Cel(4), {5, 65}).Limit(), f.screen);
}

TEST(ObjectDragTest, AFixedObjectIsTuggedOnceFollowsByItsWeightAndSpringsBack)
{
    Field f;
    // One pixel: squared distance 1 spends nothing; 256/(1+3) of the way is a quarter.
    ObjectDrag gentle = f.Drag(2, {47, 15}, {{48, 15}, {67, 15}});
    EXPECT_EQ(gentle.Fix(), 1);
    EXPECT_EQ(f.At(2), (Point{45, 10}));
    EXPECT_EQ(gentle.SpringBack(), (Point{40, 10}));
    f.scene.MoveObjectTo(f.buffer, f.Cel(2), 40, 10);

    // Only the first move tugs: a first move onto the press point spends the pull.
    ObjectDrag spent = f.Drag(2, {47, 15}, {{47, 15}, {60, 15}});
    EXPECT_EQ(spent.Fix(), 1);
    f.scene.MoveObjectTo(f.buffer, f.Cel(2), 40, 10);

    // Two pixels come free: the move that loosens says so, once, and the object then follows.
    ObjectDrag loose(f.scene, f.screen, f.Cel(2), {47, 15});
    const ObjectDrag::Move first = loose.MoveTo(f.scene, {49, 15});
    EXPECT_TRUE(first.loosened);
    EXPECT_EQ(first.delta, (Point{2, 0}));
    const ObjectDrag::Move second = loose.MoveTo(f.scene, {57, 15});
    EXPECT_FALSE(second.loosened);
    EXPECT_EQ(second.delta, (Point{8, 0}));
    EXPECT_FALSE(loose.SpringBack());

    // Heavily fixed: 256/303 of a pixel is nothing.
    ObjectDrag heavy = f.Drag(3, {72, 12}, {{90, 30}});
    EXPECT_EQ(heavy.Fix(), 296);
    EXPECT_EQ(f.At(3), (Point{70, 10}));
}
