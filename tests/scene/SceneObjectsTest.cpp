#include "scene/Scene.h"

#include "SceneFixtures.h"
#include "support/ConfigText.h"

#include <gtest/gtest.h>

namespace
{

Scene& Load(Scene& scene, FakeFileSource& files, std::initializer_list<std::string_view> lines)
{
    files.Add("p.kcf", Palette24({{Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 255, 0)}}));
    scene.LoadSceneFromBytes(ConfigText(lines), files);
    return scene;
}

} // namespace

TEST(SceneObjectsTest, HitTestPicksTheTopmostOpaquePixel)
{
    FakeFileSource files;
    // The top cel has a transparent hole at its left column.
    files.Add("top.cel", CelBytes::Indexed(2, 1, {0, 1}).Bytes());
    files.Add("under.cel", SolidCel(4, 4, 2));
    Scene scene;
    Load(scene, files, {"%p.kcf", "#1 top.cel ;over", "#2 under.cel ;under", "$0 * 10,10 10,10"});

    const auto hit = scene.HitTest(Point{11, 10});
    EXPECT_EQ(hit.index, 1);
    EXPECT_EQ(hit.objectNumber, 1);
    EXPECT_EQ(hit.position, (Point{10, 10}));
    EXPECT_EQ(hit.comment, ";over");

    const auto through = scene.HitTest(Point{10, 10});
    EXPECT_EQ(through.index, 0);
    EXPECT_EQ(through.objectNumber, 2);

    const auto miss = scene.HitTest(Point{9, 10});
    EXPECT_EQ(miss.index, -1);
    EXPECT_EQ(miss.objectNumber, -1);
    EXPECT_EQ(miss.position, (Point{-1, -1}));
    EXPECT_EQ(miss.comment, "");

    scene.SelectSet(1, 0); // the objects are at 0,0 in set 1
    EXPECT_EQ(scene.HitTest(Point{11, 10}).index, -1);
    EXPECT_EQ(scene.HitTest(Point{1, 0}).index, 1);
}

TEST(SceneObjectsTest, ReduceObjectFixSpendsStrengthInArrayOrder)
{
    FakeFileSource files;
    files.Add("c.cel", SolidCel(1, 1, 1));
    Scene scene;
    Load(scene, files, {"%p.kcf", "#1.4 c.cel", "#1.3 c.cel", "#2.10 c.cel"});
    // Array order: object 2, then the "#1.3" cel, then the "#1.4" cel.
    EXPECT_EQ(scene.GetObjectFix(1), 7);

    scene.ReduceObjectFix(1, 3);
    EXPECT_EQ(scene.GetObjectFix(1), 7);
    scene.ReduceObjectFix(1, 4);
    EXPECT_EQ(scene.GetObjectFix(1), 6);
    EXPECT_EQ(scene.PlacedCels()[1]->fix, 2);

    scene.ReduceObjectFix(2, 1024); // strength 5: the "#1.3" cel's 2, then 3 of the other's 4
    EXPECT_EQ(scene.PlacedCels()[1]->fix, 0);
    EXPECT_EQ(scene.PlacedCels()[2]->fix, 1);
    EXPECT_EQ(scene.GetObjectFix(2), 1);
    EXPECT_EQ(scene.GetObjectFix(0), 10);

    scene.ReduceObjectFix(0, std::int64_t{1} << 40); // strength 20 frees the object
    EXPECT_EQ(scene.GetObjectFix(0), 0);
}

TEST(SceneObjectsTest, TwoCelObjectOfFixThreeAndFourLoosenedByFiveKeepsTwo)
{
    FakeFileSource files;
    files.Add("c.cel", SolidCel(1, 1, 1));
    Scene scene;
    Load(scene, files, {"%p.kcf", "#1.4 c.cel", "#1.3 c.cel"});
    scene.ReduceObjectFix(0, 1024); // strength 5
    EXPECT_EQ(scene.PlacedCels()[0]->fix, 0);
    EXPECT_EQ(scene.PlacedCels()[1]->fix, 2);
    EXPECT_EQ(scene.GetObjectFix(1), 2);
}

TEST(SceneObjectsTest, ExtentAndMovesCoverEveryCelOfTheObject)
{
    FakeFileSource files;
    files.Add("small.cel", SolidCel(2, 2, 1, 1, 1));
    files.Add("wide.cel", SolidCel(6, 1, 1, 0, 8));
    files.Add("other.cel", SolidCel(1, 1, 1));
    Scene scene;
    Load(scene, files,
         {"%p.kcf", "#3 small.cel", "#3 wide.cel :5", "#4 other.cel", "$0 * * * 20,30 50,50"});
    ScreenBuffer buffer;
    scene.ApplyToBuffer(buffer, true, true);
    buffer.ClearDirty();

    // The invisible wide cel still counts.
    EXPECT_EQ(scene.GetObjectExtent(2), (Point{6, 9}));
    EXPECT_EQ(scene.GetObjectExtent(0), (Point{1, 1}));

    scene.MoveObjectBy(buffer, 2, 5, -2);
    EXPECT_EQ(scene.GetCelPosition(1), (Point{25, 28}));
    EXPECT_EQ(scene.GetCelPosition(2), (Point{25, 28}));
    EXPECT_EQ(scene.GetCelPosition(0), (Point{50, 50}));
    // Only the visible cel adds its old and new areas.
    EXPECT_EQ(buffer.DirtyRect(), (Rect{21, 29, 28, 33}));

    buffer.ClearDirty();
    scene.MoveObjectTo(buffer, 1, -3, 4);
    EXPECT_EQ(scene.GetCelPosition(2), (Point{-3, 4}));
    EXPECT_EQ(buffer.DirtyRect(), (Rect{-2, 5, 28, 31}));

    // Out-of-range indices do nothing.
    scene.MoveObjectBy(buffer, 7, 1, 1);
    EXPECT_EQ(scene.GetObjectFix(-1), 0);
    EXPECT_EQ(scene.GetObjectExtent(3), (Point{}));
}

TEST(SceneObjectsTest, OffsetTagsPlaceCelsForDrawingHitsAndExtents)
{
    FakeFileSource files;
    // The file says offset 3,3; the lines move it.
    files.Add("dot.cel", SolidCel(2, 2, 1, 3, 3));
    Scene scene;
    Load(
        scene, files,
        {"%p.kcf", "#1 dot.cel ;%x10 %y-4", "#1 dot.cel ;%y7", "#2 dot.cel ;%x", "$0 * 20,20 0,0"});
    // Placed from the last line up: the untagged cel, then %y7, then %x10 %y-4.
    const auto& cels = scene.PlacedCels();
    EXPECT_EQ(cels[0]->CelRect(), (Rect{3, 3, 5, 5}));
    EXPECT_EQ(cels[1]->CelRect(), (Rect{23, 27, 25, 29}));
    EXPECT_EQ(cels[2]->CelRect(), (Rect{30, 16, 32, 18}));

    EXPECT_EQ(scene.HitTest(Point{30, 16}).index, 2);
    EXPECT_EQ(scene.HitTest(Point{23, 28}).index, 1);
    EXPECT_EQ(scene.HitTest(Point{23, 23}).index, -1); // where the file's offsets would put it
    EXPECT_EQ(scene.HitTest(Point{4, 4}).index, 0);
    EXPECT_EQ(scene.GetObjectExtent(1), (Point{12, 9}));

    ScreenBuffer buffer;
    buffer.SetFormat(40, 40, 32);
    scene.ApplyToBuffer(buffer, true, false);
    buffer.FillBackground(buffer.ScreenRect());
    scene.DrawAll(buffer);
    EXPECT_EQ(buffer.ScreenRow(16)[4 * 30 + 2], 255); // red at the tagged place
    EXPECT_EQ(buffer.ScreenRow(23)[4 * 23 + 2], 0);

    // Offsets at the 32-bit limits neither wrap the extent nor the hit test.
    Scene far;
    Load(far, files, {"%p.kcf", "#1 dot.cel ;%x2147483647 %y-2147483648", "#1 dot.cel"});
    EXPECT_EQ(far.GetObjectExtent(0), (Point{2147483647, 5}));
    EXPECT_EQ(far.HitTest(Point{-2147483647 - 1, 0}).index, -1);
    EXPECT_EQ(far.HitTest(Point{4, 4}).index, 0);
}

TEST(SceneObjectsTest, StorePositionsKeepsTheFirstCelsPositionAndDropsZero)
{
    FakeFileSource files;
    files.Add("c.cel", SolidCel(1, 1, 1));
    Scene scene;
    Load(scene, files, {"%p.kcf", "#1 c.cel", "#1 c.cel", "#2 c.cel", "$0 * 5,5 6,6"});
    // Cels of one object that disagree: the first in array order wins.
    scene.PlacedCels()[1]->x = 40;
    ScreenBuffer buffer;
    scene.MoveObjectTo(buffer, 0, 0, 0);
    scene.StorePositions();

    const SetLine& set = *scene.WorkingSetLines()[0];
    EXPECT_EQ(set.GetX(1), 40);
    EXPECT_EQ(set.GetY(1), 5);
    EXPECT_EQ(set.Positions().count(2), 0u);
}

TEST(SceneObjectsTest, RestoreReturnsEverySetToTheFile)
{
    FakeFileSource files;
    files.Add("q.kcf", Palette24({{Rgb(1, 1, 1)}, {Rgb(2, 2, 2)}}));
    files.Add("c.cel", SolidCel(1, 1, 0));
    Scene scene;
    scene.LoadSceneFromBytes(ConfigText({"%q.kcf", "#0.5 c.cel", "$0 3,3", "$1 4,4"}), files);
    ScreenBuffer buffer;
    scene.SelectSet(1, 0);
    scene.MoveObjectBy(buffer, 0, 10, 10);
    scene.ReduceObjectFix(0, 64);
    scene.SelectPaletteGroup(0, 0);
    scene.SelectSet(0, 0);
    scene.MoveObjectBy(buffer, 0, 1, 1);
    scene.SelectSet(1, 0);
    EXPECT_EQ(scene.GetCelPosition(0), (Point{14, 14}));

    scene.RestoreLoadState();
    EXPECT_EQ(scene.CurrentSet(), 1);
    EXPECT_EQ(scene.GetCelPosition(0), (Point{4, 4}));
    EXPECT_EQ(scene.CurrentPaletteGroup(), 1);
    EXPECT_EQ(scene.Colours().entries[0], Rgb(2, 2, 2));
    EXPECT_EQ(scene.GetObjectFix(0), 5);
    EXPECT_EQ(scene.WorkingSetLines()[0]->GetX(0), 3);
    EXPECT_EQ(files.ReadCount("c.cel"), 1); // nothing read again
}

TEST(SceneObjectsTest, DrawDirtyRedrawsOnlyTheDirtyPartAndLeavesItMarked)
{
    FakeFileSource files;
    files.Add("c.cel", SolidCel(4, 4, 1));
    Scene scene;
    Load(scene, files, {"(20,20)", "%p.kcf", "#1 c.cel", "$0 * 2,2"});
    ScreenBuffer buffer;
    buffer.SetFormat(0, 0, 32);
    scene.ApplyToBuffer(buffer, true, true);
    scene.DrawDirty(buffer);
    EXPECT_EQ(buffer.ScreenRow(3)[4 * 3 + 2], 255); // red
    EXPECT_EQ(buffer.DirtyRect(), buffer.ScreenRect());

    // A mark outside the dirty part stays; the object's old place gets the background back.
    buffer.ClearDirty();
    buffer.ScreenRow(15)[4 * 15 + 1] = 77;
    scene.MoveObjectBy(buffer, 0, 8, 0);
    scene.DrawDirty(buffer);
    EXPECT_EQ(buffer.ScreenRow(15)[4 * 15 + 1], 77);
    EXPECT_EQ(buffer.ScreenRow(3)[4 * 3 + 2], 0);
    EXPECT_EQ(buffer.ScreenRow(3)[4 * 11 + 2], 255);
    EXPECT_EQ(buffer.DirtyRect(), (Rect{2, 2, 14, 6}));
}
