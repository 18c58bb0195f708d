#include "ShellTestSupport.h"
#include "shell/CMainFrame.h"
#include "shell/CSysCanvas.h"
#include "shell/CSysDoc.h"
#include "shell/CSysView.h"
#include "shell/CommandIds.h"

#include <wx/image.h>

#include <gtest/gtest.h>

namespace
{
/// A started viewer on a set, scrolled to the origin so that client points are picture points.
template <typename Set> class UndoFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(viewer.started);
        viewer.Frame()->Canvas()->Scroll(0, 0);
    }

    /// The user's drag from one picture point to another, in one move.
    void Drag(wxPoint from, wxPoint to)
    {
        viewer.View()->OnLButtonDown(from);
        viewer.View()->OnMouseMove(to);
        viewer.View()->OnLButtonUp(to);
    }
    Point At(std::int32_t object) { return PositionOf(viewer.Doc(), object); }
    bool Enabled(int id)
    {
        bool enabled = false;
        bool checked = false;
        viewer.QueryUpdate(id, &enabled, &checked);
        return enabled;
    }
    wxImage Picture() { return viewer.View()->ScreenBitmap().ConvertToImage(); }

    Set set;
    ViewerFixture viewer{set.configPath};
};

bool SamePixels(const wxImage& a, const wxImage& b)
{
    return a.IsOk() && b.IsOk() && a.GetSize() == b.GetSize() &&
           std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
}

using PlainUndo = UndoFixture<TestSet>;
using FkissUndo = UndoFixture<FkissTestSet>;
} // namespace

TEST_F(PlainUndo, ADragIsTakenBackAndPutBackWithThePictureAsBeforeEachStep)
{
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
    const wxImage before = Picture();
    Drag({15, 15}, {35, 25});
    ASSERT_EQ(At(1), (Point{30, 20}));
    const wxImage moved = Picture();
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));

    viewer.Command(ID_EDIT_UNDO);
    EXPECT_EQ(At(1), (Point{10, 10}));
    EXPECT_TRUE(SamePixels(Picture(), before));
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled(ID_EDIT_REDO));

    viewer.Command(ID_EDIT_REDO);
    EXPECT_EQ(At(1), (Point{30, 20}));
    EXPECT_TRUE(SamePixels(Picture(), moved));

    // A new move after an undo drops what could have been redone.
    viewer.Command(ID_EDIT_UNDO);
    Drag({15, 15}, {16, 15});
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
    // A click that moves nothing is no step: one undo takes the last real move back.
    Drag({11, 11}, {11, 11});
    viewer.Command(ID_EDIT_UNDO);
    EXPECT_EQ(At(1), (Point{10, 10}));
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST_F(PlainUndo, ALooseningDragGetsItsFixBackAndUndoWaitsForTheRelease)
{
    const int cel = viewer.Doc()->GetScene().HitTest({47, 15}).index;
    ASSERT_EQ(viewer.Doc()->GetScene().GetObjectFix(cel), 1);
    Drag({47, 15}, {87, 55});
    ASSERT_EQ(viewer.Doc()->GetScene().GetObjectFix(cel), 0);
    const Point loose = At(2);
    ASSERT_NE(loose, (Point{40, 10}));

    viewer.View()->OnLButtonDown({15, 15});
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO)); // not in the middle of a hold
    viewer.Command(ID_EDIT_UNDO);
    EXPECT_EQ(At(2), loose);
    viewer.View()->OnLButtonUp({15, 15});

    viewer.Command(ID_EDIT_UNDO);
    EXPECT_EQ(At(2), (Point{40, 10}));
    EXPECT_EQ(viewer.Doc()->GetScene().GetObjectFix(cel), 1);
    viewer.Command(ID_EDIT_REDO);
    EXPECT_EQ(At(2), loose);
    EXPECT_EQ(viewer.Doc()->GetScene().GetObjectFix(cel), 0);
}

TEST_F(PlainUndo, RestoreAndMovesInOtherSetsAreTakenBackInTheirSet)
{
    Drag({15, 15}, {25, 15}); // set 0: object 1 to 20,10
    viewer.Command(ID_SET_0 + 3);
    Drag({25, 35}, {25, 45}); // set 3: object 1 to 20,40
    viewer.Command(ID_RESTORE);
    EXPECT_EQ(At(1), (Point{20, 30}));

    viewer.Command(ID_EDIT_UNDO); // Restore
    EXPECT_EQ(At(1), (Point{20, 40}));
    viewer.Command(ID_SET_0 + 5);
    viewer.Command(ID_EDIT_UNDO); // the move in set 3 shows set 3 first
    EXPECT_EQ(viewer.Doc()->GetScene().CurrentSet(), 3);
    EXPECT_EQ(At(1), (Point{20, 30}));
    viewer.Command(ID_EDIT_UNDO);
    EXPECT_EQ(viewer.Doc()->GetScene().CurrentSet(), 0);
    EXPECT_EQ(At(1), (Point{10, 10}));

    viewer.Command(ID_EDIT_REDO);
    viewer.Command(ID_EDIT_REDO);
    viewer.Command(ID_EDIT_REDO); // Restore again
    EXPECT_EQ(viewer.Doc()->GetScene().CurrentSet(), 3);
    EXPECT_EQ(At(1), (Point{20, 30}));
    viewer.Command(ID_SET_0);
    EXPECT_EQ(At(1), (Point{10, 10}));
}

TEST_F(PlainUndo, TheHistoryKeepsAHundredStepsAndOnlyANewSetEmptiesIt)
{
    // One pixel at a time: right 50 times, then down 51 times.
    for (int i = 0; i < CSysDoc::kUndoSteps + 1; ++i)
    {
        const Point at = At(1);
        const wxPoint from(at.x + 5, at.y + 5);
        Drag(from, from + (i < 50 ? wxPoint(1, 0) : wxPoint(0, 1)));
    }
    ASSERT_EQ(At(1), (Point{60, 61}));
    for (int i = 0; i < CSysDoc::kUndoSteps; ++i)
        viewer.Command(ID_EDIT_UNDO);
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_EQ(At(1), (Point{11, 10})); // the first move fell out of the history

    for (int id : {ID_RELOAD, ID_FILE_NEW})
    {
        ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
        Drag({15, 15}, {25, 15});
        ASSERT_TRUE(Enabled(ID_EDIT_UNDO));
        viewer.Command(id);
        EXPECT_FALSE(Enabled(ID_EDIT_UNDO)) << id;
        EXPECT_FALSE(Enabled(ID_EDIT_REDO)) << id;
    }
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    Drag({15, 15}, {25, 15});
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
}

TEST_F(PlainUndo, UndoingPastASaveAndSavingAgainWritesTheOlderPlaces)
{
    Drag({15, 15}, {25, 15});
    viewer.Command(ID_FILE_SAVE);
    ASSERT_NE(ReadAll(set.configPath).find("$0 * 20,10 40,10 70,10"), std::string::npos);
    Drag({25, 15}, {25, 25});
    viewer.Command(ID_EDIT_UNDO);
    viewer.Command(ID_EDIT_UNDO);
    EXPECT_TRUE(Enabled(ID_EDIT_REDO)); // the save emptied nothing
    viewer.Command(ID_FILE_SAVE);
    EXPECT_NE(ReadAll(set.configPath).find("$0 * 10,10 40,10 70,10"), std::string::npos);
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST_F(FkissUndo, ChildrenComeBackWithTheirParentAndTheSetsOwnMovesStay)
{
    ASSERT_EQ(At(5), (Point{30, 50}));
    Drag({12, 52}, {47, 52}); // #2 carries #5 into #3, whose in() sends #3 up
    ASSERT_EQ(At(2), (Point{45, 50}));
    ASSERT_EQ(At(5), (Point{65, 50}));
    ASSERT_EQ(At(3), (Point{50, 10}));

    viewer.Command(ID_EDIT_UNDO);
    EXPECT_EQ(At(2), (Point{10, 50}));
    EXPECT_EQ(At(5), (Point{30, 50}));
    EXPECT_EQ(At(3), (Point{50, 10})); // moved by the set's code: not the user's step

    // Undo fires nothing: moving #3 back down over #2's old place would fire in() again.
    viewer.Doc()->GetScene().MoveObjectTo(viewer.Doc()->Screen(),
                                          viewer.Doc()->GetScene().HitTest({55, 15}).index, 50, 50);
    viewer.Command(ID_EDIT_REDO);
    EXPECT_EQ(At(2), (Point{45, 50}));
    EXPECT_EQ(At(5), (Point{65, 50}));
    EXPECT_EQ(At(3), (Point{50, 50}));
    EXPECT_TRUE(viewer.messages.shown.empty());
}
