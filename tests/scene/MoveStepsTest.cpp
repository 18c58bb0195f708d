#include "scene/MoveSteps.h"

#include "SceneFixtures.h"
#include "support/ConfigText.h"

#include <gtest/gtest.h>


namespace
{

/// Objects 1 (free), 2 (fix 6, two cels) and 3 (free), in sets 0 and 1; palette groups 0 and 1.
struct Dressing
{
    FakeFileSource files;
    Scene scene;
    ScreenBuffer buffer;

    Dressing()
    {
        files.Add("p.kcf", Palette24({{Rgb(0, 0, 0), Rgb(255, 0, 0)}, {Rgb(9, 9, 9), Rgb(0, 0, 255)}}));
        files.Add("c.cel", SolidCel(4, 4, 1));
        scene.LoadSceneFromBytes(ConfigText({"%p.kcf", "#1 c.cel", "#2.2 c.cel", "#2.4 c.cel",
                                             "#3 c.cel", "$0 * 10,10 20,20 30,30",
                                             "$1 * 40,40 50,50 60,60"}),
                                 files);
        scene.ApplyToBuffer(buffer, true, true);
        buffer.ClearDirty();
    }

    Point At(std::int32_t object) const { return scene.GetCelPosition(scene.FirstCelOf(object)); }
    int Cel(std::int32_t object) const { return scene.FirstCelOf(object); }

    /// A drag of object by dx, dy; loosen gives the tug's squared distance on the first move.
    std::optional<DragStep> Drag(std::int32_t object, std::int32_t dx, std::int32_t dy,
                                 std::int64_t loosen = 0)
    {
        DragRecorder recorder;
        recorder.Begin(scene);
        if (loosen > 0)
            scene.ReduceObjectFix(Cel(object), loosen);
        scene.MoveObjectBy(buffer, Cel(object), dx, dy);
        return recorder.Finish(scene, {object});
    }
};

} // namespace

TEST(MoveStepsTest, ADragIsTakenBackAndDoneAgainRepaintingOnlyTheObject)
{
    Dressing d;
    const auto step = d.Drag(1, 5, 7);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->set, 0);
    ASSERT_EQ(step->moves.size(), 1u);
    EXPECT_EQ(step->moves[0].before, (Point{10, 10}));
    EXPECT_EQ(step->moves[0].after, (Point{15, 17}));

    d.buffer.ClearDirty();
    EXPECT_EQ(ApplyStep(*step, StepDirection::Undo, d.scene, d.buffer), StepRepaint::Dirty);
    EXPECT_EQ(d.At(1), (Point{10, 10}));
    EXPECT_EQ(d.buffer.DirtyRect(), (Rect{10, 10, 19, 21})); // the old and the new place
    EXPECT_EQ(d.At(2), (Point{20, 20}));

    EXPECT_EQ(ApplyStep(*step, StepDirection::Redo, d.scene, d.buffer), StepRepaint::Dirty);
    EXPECT_EQ(d.At(1), (Point{15, 17}));
}

TEST(MoveStepsTest, ALooseningDragGetsItsFixBackAndAFixedTugWithoutAMoveCounts)
{
    Dressing d;
    const auto loosened = d.Drag(2, 3, 0, std::int64_t{1} << 20);
    ASSERT_TRUE(loosened);
    EXPECT_EQ(d.scene.GetObjectFix(d.Cel(2)), 0);
    ApplyStep(*loosened, StepDirection::Undo, d.scene, d.buffer);
    EXPECT_EQ(d.scene.ObjectCelFixes(2), (std::vector<std::int32_t>{4, 2})); // placed-cel order
    EXPECT_EQ(d.At(2), (Point{20, 20}));
    ApplyStep(*loosened, StepDirection::Redo, d.scene, d.buffer);
    EXPECT_EQ(d.scene.ObjectCelFixes(2), (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(d.At(2), (Point{23, 20}));

    // Still fixed: it sprang back, but the tug spent some of its fix.
    Dressing e;
    const auto tug = e.Drag(2, 0, 0, 16);
    ASSERT_TRUE(tug);
    EXPECT_EQ(tug->moves[0].before, tug->moves[0].after);
    ApplyStep(*tug, StepDirection::Undo, e.scene, e.buffer);
    EXPECT_EQ(e.scene.GetObjectFix(e.Cel(2)), 6);

    // A press and release that changed nothing is no step.
    EXPECT_FALSE(e.Drag(1, 0, 0));
}

TEST(MoveStepsTest, CarriedChildrenComeBackWithTheirParentButOtherMovesStay)
{
    Dressing d;
    DragRecorder recorder;
    recorder.Begin(d.scene);
    d.scene.MoveObjectBy(d.buffer, d.Cel(1), 4, 4);
    d.scene.MoveObjectBy(d.buffer, d.Cel(3), 4, 4); // carried along
    d.scene.MoveObjectBy(d.buffer, d.Cel(2), 1, 0); // by the set's own code
    const auto step = recorder.Finish(d.scene, {1, 3});
    ASSERT_TRUE(step);
    EXPECT_EQ(step->moves.size(), 2u);
    EXPECT_FALSE(recorder.IsActive());

    ApplyStep(*step, StepDirection::Undo, d.scene, d.buffer);
    EXPECT_EQ(d.At(1), (Point{10, 10}));
    EXPECT_EQ(d.At(3), (Point{30, 30}));
    EXPECT_EQ(d.At(2), (Point{21, 20}));
}

TEST(MoveStepsTest, UndoingAMoveOfAnotherSetShowsThatSetFirst)
{
    Dressing d;
    const auto step = d.Drag(1, -5, 0);
    ASSERT_TRUE(step);
    d.scene.SelectSet(1, 0);
    d.scene.MoveObjectBy(d.buffer, d.Cel(1), 1, 1);

    EXPECT_EQ(ApplyStep(*step, StepDirection::Undo, d.scene, d.buffer), StepRepaint::All);
    EXPECT_EQ(d.scene.CurrentSet(), 0);
    EXPECT_EQ(d.At(1), (Point{10, 10}));
    // Set 1 kept what was done there meanwhile.
    d.scene.SelectSet(1, 0);
    EXPECT_EQ(d.At(1), (Point{41, 41}));

    // A set change in the middle of a hold leaves nothing to compare.
    DragRecorder recorder;
    recorder.Begin(d.scene);
    d.scene.SelectSet(0, 0);
    EXPECT_FALSE(recorder.Finish(d.scene, {1}));
}

TEST(MoveStepsTest, RestoreIsTakenBackWholeAcrossSetsAndDoneAgainWithoutReloading)
{
    Dressing d;
    d.Drag(1, 2, 2);
    d.scene.SelectSet(1, 0);
    d.scene.SelectPaletteGroup(0, 0);
    d.Drag(2, 9, 9, std::int64_t{1} << 20);
    RestoreStep step{d.scene.TakeArrangement(), {}};
    d.scene.RestoreLoadState();
    step.after = d.scene.TakeArrangement();
    EXPECT_EQ(d.At(2), (Point{50, 50}));
    EXPECT_EQ(d.scene.CurrentPaletteGroup(), 1);

    EXPECT_EQ(ApplyStep(step, StepDirection::Undo, d.scene, d.buffer), StepRepaint::All);
    EXPECT_EQ(d.scene.CurrentSet(), 1);
    EXPECT_EQ(d.scene.CurrentPaletteGroup(), 0);
    EXPECT_EQ(d.At(2), (Point{59, 59}));
    EXPECT_EQ(d.scene.GetObjectFix(d.Cel(2)), 0);
    // Every set as before.
    const Scene::Arrangement undone = d.scene.TakeArrangement();
    ASSERT_EQ(undone.sets.size(), step.before.sets.size());
    for (std::size_t i = 0; i < undone.sets.size(); ++i)
        EXPECT_EQ(undone.sets[i].Positions(), step.before.sets[i].Positions()) << i;
    d.scene.SelectSet(0, 0);
    EXPECT_EQ(d.At(1), (Point{12, 12}));
    d.scene.SelectSet(1, 0);

    ApplyStep(step, StepDirection::Redo, d.scene, d.buffer);
    EXPECT_EQ(d.At(2), (Point{50, 50}));
    EXPECT_EQ(d.scene.GetObjectFix(d.Cel(2)), 6);
    EXPECT_EQ(d.scene.CurrentPaletteGroup(), 1);
    d.scene.SelectSet(0, 0);
    EXPECT_EQ(d.At(1), (Point{10, 10}));
    EXPECT_EQ(d.files.ReadCount("c.cel"), 1);

    EXPECT_FALSE(ChangesNothing(step));
    RestoreStep again{d.scene.TakeArrangement(), {}};
    d.scene.RestoreLoadState();
    again.after = d.scene.TakeArrangement();
    EXPECT_TRUE(ChangesNothing(again));

    // An arrangement of another load is not put over this one.
    Dressing other;
    other.scene.PutArrangement(Scene::Arrangement{});
    EXPECT_EQ(other.At(1), (Point{10, 10}));
}
