#include "shell/CSysView.h"

#include "ShellTestSupport.h"
#include "shell/CSysDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CSysCanvas.h"
#include "shell/CommandIds.h"
#include "shell/UiText.h"
#include "shell/WxBridge.h"

#include <wx/statusbr.h>

#include <gtest/gtest.h>

#include <array>

namespace
{
/// The test set in a started viewer, scrolled to the origin so that client points are
/// picture points.
class ViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(viewer.started);
        viewer.Frame()->Canvas()->Scroll(0, 0);
    }

    Point PositionOf(std::int32_t object) { return ::PositionOf(Doc(), object); }

    wxString MessagePane() { return viewer.Frame()->StatusBar()->GetStatusText(0); }
    CSysView* View() { return viewer.View(); }
    CSysDoc* Doc() { return viewer.Doc(); }

    TestSet set;
    ViewerFixture viewer{set.configPath};
};

const wxString kComment = DecodeCp932(kRedBoxComment);
} // namespace

TEST_F(ViewTest, PressOnNothingCatchesNothing)
{
    // The left half of object 2 is transparent and nothing lies beneath it.
    View()->OnLButtonDown(wxPoint(42, 15));
    EXPECT_FALSE(View()->IsCatching());
    EXPECT_EQ(View()->CaughtIndex(), -8);
    EXPECT_EQ(View()->HoverObject(), -1);
    EXPECT_EQ(View()->StatusPoint(), (Point{-1, -1}));
    EXPECT_EQ(MessagePane(), "");
    View()->OnLButtonUp(wxPoint(43, 16));
    EXPECT_EQ(View()->StatusPoint(), (Point{43, 16}));
}

TEST_F(ViewTest, FreeObjectFollowsTheMouseAndStaysOnTheScreen)
{
    View()->OnLButtonDown(wxPoint(15, 15));
    ASSERT_TRUE(View()->IsCatching());
    EXPECT_EQ(View()->HoverObject(), 1);
    EXPECT_EQ(View()->StatusPoint(), (Point{10, 10}));
    // The press shows the comment as stored, decoded from the sets' code page.
    EXPECT_EQ(MessagePane(), kComment);
    EXPECT_EQ(kComment, wxString::FromUTF8(";赤い箱ｶﾊﾞﾝ"));
    EXPECT_EQ(View()->DragLimit(), (Rect{5, 5, 85, 75}));

    View()->OnMouseMove(wxPoint(25, 35));
    EXPECT_EQ(PositionOf(1), (Point{20, 30}));
    EXPECT_EQ(View()->StatusPoint(), (Point{20, 30}));
    EXPECT_EQ(MessagePane(), kComment.Mid(1));
    EXPECT_TRUE(Doc()->Screen().DirtyRect().IsEmpty());

    // Far outside: the object's right and bottom edge stay one pixel inside the screen.
    View()->OnMouseMove(wxPoint(500, 500));
    EXPECT_EQ(PositionOf(1), (Point{79, 69}));
    View()->OnMouseMove(wxPoint(-50, -50));
    EXPECT_EQ(PositionOf(1), (Point{0, 0}));
    View()->OnMouseMove(wxPoint(30, 20));
    View()->OnLButtonUp(wxPoint(30, 20));
    EXPECT_FALSE(View()->IsCatching());
    EXPECT_EQ(PositionOf(1), (Point{25, 15}));
    EXPECT_EQ(View()->StatusPoint(), (Point{30, 20}));

    // What the window shows follows: red where the object went, background where it was.
    const wxImage picture = View()->ScreenBitmap().ConvertToImage();
    EXPECT_EQ(picture.GetRed(40, 20), 255);
    EXPECT_EQ(picture.GetRed(12, 12), 0);
}

TEST_F(ViewTest, GentlePullLeavesTheFixAndTheObjectSpringsBack)
{
    View()->OnLButtonDown(wxPoint(47, 15));
    ASSERT_TRUE(View()->IsCatching());
    EXPECT_EQ(View()->CaughtFix(), 1);
    // One pixel: squared distance 1 loosens nothing; the object follows a quarter of the way.
    View()->OnMouseMove(wxPoint(48, 15));
    EXPECT_EQ(View()->CaughtFix(), 1);
    EXPECT_EQ(PositionOf(2), (Point{40, 10}));
    View()->OnMouseMove(wxPoint(67, 15));
    EXPECT_EQ(PositionOf(2), (Point{45, 10}));
    View()->OnLButtonUp(wxPoint(67, 15));
    EXPECT_EQ(PositionOf(2), (Point{40, 10}));
    const Scene& scene = Doc()->GetScene();
    EXPECT_EQ(scene.GetObjectFix(scene.HitTest({47, 15}).index), 1);
}

TEST_F(ViewTest, FirstMoveAtThePressPointUsesUpThePull)
{
    View()->OnLButtonDown(wxPoint(47, 15));
    View()->OnMouseMove(wxPoint(47, 15));
    View()->OnMouseMove(wxPoint(60, 15));
    EXPECT_EQ(View()->CaughtFix(), 1);
    View()->OnLButtonUp(wxPoint(60, 15));
    EXPECT_EQ(PositionOf(2), (Point{40, 10}));

    // The next hold pulls again: two pixels come free, and it stays where it is dropped.
    View()->OnLButtonDown(wxPoint(47, 15));
    View()->OnMouseMove(wxPoint(49, 15));
    EXPECT_EQ(View()->CaughtFix(), 0);
    EXPECT_EQ(PositionOf(2), (Point{42, 10}));
    View()->OnMouseMove(wxPoint(57, 15));
    View()->OnLButtonUp(wxPoint(57, 15));
    EXPECT_EQ(PositionOf(2), (Point{50, 10}));
}

TEST_F(ViewTest, HeavilyFixedObjectDoesNotMove)
{
    View()->OnLButtonDown(wxPoint(72, 12));
    ASSERT_TRUE(View()->IsCatching());
    EXPECT_EQ(View()->CaughtFix(), 300);
    View()->OnMouseMove(wxPoint(90, 30));
    EXPECT_EQ(View()->CaughtFix(), 296);
    EXPECT_EQ(PositionOf(3), (Point{70, 10}));
    View()->OnLButtonUp(wxPoint(90, 30));
    EXPECT_EQ(PositionOf(3), (Point{70, 10}));
    // A second press during a hold is ignored.
    View()->OnLButtonDown(wxPoint(15, 15));
    View()->OnLButtonDown(wxPoint(72, 12));
    EXPECT_EQ(View()->HoverObject(), 1);
    View()->OnLButtonUp(wxPoint(15, 15));
}

TEST_F(ViewTest, SetChangeBlanksTheHoverPanesUntilTheMouseMoves)
{
    View()->OnMouseMove(wxPoint(15, 15));
    viewer.Frame()->UpdateStatusPanes();
    wxStatusBar* bar = viewer.Frame()->StatusBar();
    EXPECT_EQ(bar->GetStatusText(1), "Set 0");
    EXPECT_EQ(bar->GetStatusText(2), "Pal 0");
    EXPECT_EQ(bar->GetStatusText(3), "15,15");
    EXPECT_EQ(bar->GetStatusText(4), "#1");
    EXPECT_EQ(bar->GetStatusText(5), "");

    viewer.Command(ID_SET_0 + 3);
    viewer.Frame()->UpdateStatusPanes();
    EXPECT_EQ(bar->GetStatusText(1), "Set 3");
    EXPECT_EQ(bar->GetStatusText(2), "Pal 1");
    EXPECT_EQ(bar->GetStatusText(3), "");
    EXPECT_EQ(bar->GetStatusText(4), "");

    View()->OnLButtonDown(wxPoint(25, 35));
    viewer.Frame()->UpdateStatusPanes();
    EXPECT_EQ(bar->GetStatusText(3), "20,30");
    EXPECT_EQ(bar->GetStatusText(5), "Catch");
    View()->OnLButtonUp(wxPoint(25, 35));
}

TEST(StatusPanesTest, DefaultsAndObjectZero)
{
    const auto none = FormatStatusPanes(StatusValues{});
    EXPECT_EQ(none, (std::array<wxString, 5>{"Set 0", "Pal 0", "", "", ""}));
    StatusValues values;
    values.point = Point{0, 7};
    values.hoverObject = 0;
    values.catching = true;
    values.set = 9;
    values.paletteGroup = 12;
    EXPECT_EQ(FormatStatusPanes(values),
              (std::array<wxString, 5>{"Set 9", "Pal 12", "0,7", "", "Catch"}));
    values.point = Point{-1, 5};
    values.hoverObject = 1;
    EXPECT_EQ(FormatStatusPanes(values)[2], "");
    EXPECT_EQ(FormatStatusPanes(values)[3], "#1");
}

TEST(StatusPanesTest, PanesFitTheirSampleTextsAndLeaveTheRestToTheMessagePane)
{
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    wxStatusBar* bar = viewer.Frame()->StatusBar();
    const std::array samples = {UiText::kPaneSetSample, UiText::kPanePaletteSample,
                                UiText::kPanePointSample, UiText::kPaneObjectSample,
                                UiText::kPaneCatchSample};
    // Four pixels of text margins inside each pane; the last pane also holds the size grip.
    for (int pane = 1; pane < 5; ++pane)
    {
        wxRect field;
        ASSERT_TRUE(bar->GetFieldRect(pane, field));
        const int text = bar->GetTextExtent(Ui(samples[std::size_t(pane - 1)])).x;
        EXPECT_GE(field.width, text + 4) << pane;
        EXPECT_LE(field.width, text + 12) << pane;
    }
    wxRect message;
    ASSERT_TRUE(bar->GetFieldRect(0, message));
    EXPECT_GE(message.width, bar->GetTextExtent(Ui("ﾂｰﾙ ﾊﾞｰの表示/非表示")).x + 4);
}

TEST(WxBridgeTest, CodePageTextDecodesAndBadBytesDoNotHideTheRest)
{
    EXPECT_EQ(DecodeCp932("\x82\xa0\xb1 abc"), wxString::FromUTF8("あｱ abc"));
    EXPECT_EQ(DecodeCp932("ok\x82"), wxString::FromUTF8("ok\xEF\xBF\xBD"));
    EXPECT_EQ(DecodeCp932(""), "");
}
