#include "scene/Scene.h"

#include "SceneFixtures.h"
#include "support/ConfigText.h"

#include <gtest/gtest.h>

namespace
{

/// Object 0 (two cels, only the first in sets 0 and 1) and object 1; two palettes of three
/// groups each.
class SceneSetsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        files.Add("a.kcf", Palette24({{Rgb(0, 0, 0), Rgb(10, 0, 0)},
                                      {Rgb(0, 0, 0), Rgb(20, 0, 0)},
                                      {Rgb(0, 0, 0), Rgb(30, 0, 0)}}));
        files.Add("b.kcf", Palette24({{Rgb(1, 1, 1)}, {Rgb(2, 2, 2)}, {Rgb(3, 3, 3)}}));
        files.Add("x.cel", SolidCel(2, 2, 1));
        scene.LoadSceneFromBytes(ConfigText({"%a.kcf", "%b.kcf", "#0.2 x.cel :0 1", "#0.3 x.cel",
                                             "#1 x.cel *1", "$0 5,6 7,8", "$2 9,10", "$1"}),
                                 files);
    }

    const PlacedCel& Cel(std::size_t i) const { return *scene.PlacedCels()[i]; }

    FakeFileSource files;
    Scene scene;
};

} // namespace

TEST_F(SceneSetsTest, SetsOutsideZeroToNineAreIgnored)
{
    scene.SelectSet(-1, -1);
    EXPECT_EQ(scene.CurrentSet(), 0);
    scene.SelectSet(9, 0);
    EXPECT_EQ(scene.CurrentSet(), 9);
    scene.SelectSet(-1, 1);
    EXPECT_EQ(scene.CurrentSet(), 9);
    scene.SelectSet(10, 0);
    EXPECT_EQ(scene.CurrentSet(), 9);
    scene.SelectSet(-1, -1);
    EXPECT_EQ(scene.CurrentSet(), 8);

    Scene empty;
    empty.SelectSet(3, 0);
    empty.SelectPaletteGroup(3, 0);
    EXPECT_EQ(empty.CurrentSet(), 0);
    EXPECT_EQ(empty.CurrentPaletteGroup(), 0);
}

TEST_F(SceneSetsTest, EachSetKeepsItsOwnPositionsAndVisibility)
{
    ScreenBuffer buffer;
    const auto* cels = &scene.PlacedCels();
    const PlacedCel* first = (*cels)[2].get(); // "#0.2", the top cel
    EXPECT_EQ(first->x, 5);
    scene.MoveObjectBy(buffer, 2, 3, 4);
    scene.ReduceObjectFix(2, 4);

    scene.SelectSet(1, 0);
    EXPECT_EQ(&scene.PlacedCels(), cels);
    EXPECT_EQ(scene.PlacedCels()[2].get(), first); // updated in place, not rebuilt
    EXPECT_EQ(first->x, 9);
    EXPECT_EQ(first->y, 10);
    EXPECT_EQ(Cel(0).x, 0); // object 1 has no position in set 1
    EXPECT_EQ(first->visible, 1);
    EXPECT_EQ(scene.GetObjectFix(2), 4); // loosening survives set changes

    scene.SelectSet(2, 0);
    EXPECT_EQ(first->visible, 0);
    EXPECT_EQ(Cel(1).visible, 1);
    EXPECT_EQ(first->x, 0);

    scene.SelectSet(0, 0);
    EXPECT_EQ(first->x, 8);
    EXPECT_EQ(first->y, 10);
    EXPECT_EQ(Cel(0).x, 7);
    EXPECT_EQ(scene.WorkingSetLines()[0]->GetX(0), 8);
}

TEST_F(SceneSetsTest, PaletteGroupsChangeTheColoursOfTheCurrentSetOnly)
{
    const ColourMap* mapA = scene.ColourMaps()[0].get();
    EXPECT_EQ(scene.CurrentPaletteGroup(), 0);
    EXPECT_EQ(scene.Colours().entries[1], Rgb(10, 0, 0));

    scene.SelectSet(1, 0);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 2);
    EXPECT_EQ(scene.Colours().entries[1], Rgb(30, 0, 0));
    EXPECT_EQ(scene.Colours().entries[2], Rgb(3, 3, 3));
    EXPECT_EQ(scene.Colours().count, 3);

    scene.SelectPaletteGroup(-1, -1);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 1);
    EXPECT_EQ(scene.Colours().entries[1], Rgb(20, 0, 0));
    EXPECT_EQ(scene.ColourMaps()[0].get(), mapA); // refilled in place

    scene.SelectSet(0, 0);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 0);
    scene.SelectPaletteGroup(-1, -1);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 0);
    scene.SelectSet(1, 0);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 1);

    // Beyond a palette's groups its group 0 shows; there is no upper bound.
    scene.SelectPaletteGroup(9, 1);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 10);
    EXPECT_EQ(scene.Colours().entries[1], Rgb(10, 0, 0));
    scene.SelectPaletteGroup(-1, -1);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 9);
    scene.SelectPaletteGroup(-2, 0);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 9);
}

TEST_F(SceneSetsTest, SetChangePassesOverCelLinesWhoseCelDidNotLoad)
{
    scene.LoadSceneFromBytes(ConfigText({"#2 x.cel :1", "#1 gone.cel", "#1 x.cel :0", "#0 gone.cel",
                                         "#0 x.cel", "$0 1,1 2,2 3,3", "$0 4,4 5,5 6,6"}),
                             files);
    ASSERT_EQ(scene.PlacedCels().size(), 3u);

    scene.SelectSet(1, 0);
    EXPECT_EQ(Cel(0).x, 4); // object 0
    EXPECT_EQ(Cel(1).x, 5);
    EXPECT_EQ(Cel(1).visible, 0);
    EXPECT_EQ(Cel(2).x, 6);
    EXPECT_EQ(Cel(2).visible, 1);
}
