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

TEST(WxBridgeTest, MessagesKeepTheirOwnWordsAndDecodeQuotedNamesFromTheCodePage)
{
    struct Case
    {
        std::string bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"ファイル A.CEL を開けません。", "ファイル A.CEL を開けません。"},
        {"ファイル \x82\xa0.CEL を開けません。", "ファイル あ.CEL を開けません。"},
        {"\xb1\xb2.KCF", "ｱｲ.KCF"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeMessage(c.bytes), wxString::FromUTF8(c.expected)) << c.expected;
}

TEST(WxBridgeTest, CodePageTextDecodesAndBadBytesDoNotHideTheRest)
{
    EXPECT_EQ(DecodeCp932("\x82\xa0\xb1 abc"), wxString::FromUTF8("あｱ abc"));
    EXPECT_EQ(DecodeCp932("ok\x82"), wxString::FromUTF8("ok\xEF\xBF\xBD"));
    EXPECT_EQ(DecodeCp932(""), "");
}

TEST_F(ViewTest, DragAtTwiceMovesByHalfThePointerAndKeepsTheFractions)
{
    View()->SetZoom(2);
    ASSERT_EQ(View()->Zoom(), 2);
    // Client 30,30 is picture pixel 15,15, on object 1 at 10,10.
    View()->OnLButtonDown(wxPoint(30, 30));
    ASSERT_TRUE(View()->IsCatching());
    EXPECT_EQ(View()->DragLimit(), (Rect{5, 5, 85, 75}));
    // A slow drag, one screen pixel at a time: every second step moves one picture pixel.
    for (int x = 31; x <= 51; ++x)
        View()->OnMouseMove(wxPoint(x, 30));
    EXPECT_EQ(PositionOf(1), (Point{20, 10}));
    View()->OnMouseMove(wxPoint(51, 33));
    EXPECT_EQ(PositionOf(1), (Point{20, 11}));
    View()->OnLButtonUp(wxPoint(51, 33));
    EXPECT_EQ(View()->StatusPoint(), (Point{25, 16}));

    // The window shows the moved object as blocks of 2 × 2.
    const wxImage picture = View()->ScreenBitmap().ConvertToImage();
    EXPECT_EQ(picture.GetSize(), wxSize(200, 160));
    EXPECT_EQ(picture.GetRed(40, 22), 255);
    EXPECT_EQ(picture.GetRed(39, 22), 0);
    EXPECT_EQ(picture.GetRed(40, 21), 0);
}

TEST_F(ViewTest, HitTestAndStatusPanesAtThreeTimes)
{
    View()->SetZoom(3);
    wxStatusBar* bar = viewer.Frame()->StatusBar();
    // 47,46 lies inside picture pixel 15,15 of object 1.
    View()->OnMouseMove(wxPoint(47, 46));
    viewer.Frame()->UpdateStatusPanes();
    EXPECT_EQ(bar->GetStatusText(kPanePoint), "15,15");
    EXPECT_EQ(bar->GetStatusText(kPaneObject), "#1");
    EXPECT_EQ(MessagePane(), kComment.Mid(1));
    EXPECT_EQ(bar->GetStatusText(kPaneZoom), wxString::FromUTF8("×3"));
    // The transparent left half of object 2 (picture 40 to 44) is no hit; its right half is.
    View()->OnMouseMove(wxPoint(3 * 44 + 2, 3 * 15));
    EXPECT_EQ(View()->HoverObject(), -1);
    View()->OnMouseMove(wxPoint(3 * 45, 3 * 15));
    EXPECT_EQ(View()->HoverObject(), 2);
    // The window scrolls by window pixels; the picture pixel under the pointer follows.
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    viewer.Frame()->SetSize(viewer.Frame()->GetSize() - wxSize(0, 100));
    ASSERT_TRUE(PumpUntil([&] { return canvas->GetClientSize().y < 240; }));
    canvas->Scroll(0, 30);
    ASSERT_EQ(canvas->GetViewStart(), wxPoint(0, 30));
    EXPECT_EQ(View()->ToPicture(wxPoint(47, 16)), (Point{15, 15}));
}

TEST_F(ViewTest, ZoomStepsStayWithinOneToFourAndAreRemembered)
{
    bool enabled = false;
    bool checked = false;
    ASSERT_TRUE(viewer.QueryUpdate(ID_ZOOM_OUT, &enabled, &checked));
    EXPECT_FALSE(enabled);
    for (int i = 0; i < 5; ++i)
        viewer.Command(ID_ZOOM_IN);
    EXPECT_EQ(View()->Zoom(), 4);
    ASSERT_TRUE(viewer.QueryUpdate(ID_ZOOM_IN, &enabled, &checked));
    EXPECT_FALSE(enabled);
    viewer.Command(ID_ZOOM_OUT);
    EXPECT_EQ(View()->Zoom(), 3);
    // The frame fits the zoomed picture (it cannot be narrower than its menu bar).
    EXPECT_EQ(viewer.Frame()->Canvas()->GetSize().y, 240);
    EXPECT_GE(viewer.Frame()->Canvas()->GetSize().x, 300);
    const std::string ini = ReadAll(viewer.configHome.File("velquin.INI"));
    EXPECT_NE(ini.find("[View]\nZoom=3\nFitToWindow=0\n"), std::string::npos) << ini;

    // Ctrl and the wheel zoom; the wheel alone does not.
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = -120;
    wheel.m_wheelDelta = 120;
    EXPECT_FALSE(View()->OnMouseWheel(wheel));
    wheel.m_controlDown = true;
    EXPECT_TRUE(View()->OnMouseWheel(wheel));
    EXPECT_EQ(View()->Zoom(), 2);
}

TEST_F(ViewTest, FitToWindowPicksTheLargestFactorForTheWindowsSize)
{
    CMainFrame* frame = viewer.Frame();
    viewer.Command(ID_ZOOM_FIT);
    EXPECT_TRUE(View()->IsFitToWindow());
    const wxSize chrome = frame->GetSize() - frame->Canvas()->GetSize();
    struct Case
    {
        wxSize canvas;
        int zoom;
    };
    // The picture is 100 × 80; the frame is never narrower than its menu bar.
    for (const Case& c : {Case{{420, 250}, 3}, Case{{420, 239}, 2}, Case{{420, 330}, 4},
                          Case{{400, 170}, 2}})
    {
        frame->SetSize(c.canvas + chrome);
        EXPECT_TRUE(PumpUntil([&] { return View()->Zoom() == c.zoom; }))
            << c.canvas.x << "x" << c.canvas.y << " gave " << View()->Zoom();
        // The window keeps the size it was given.
        EXPECT_EQ(frame->Canvas()->GetSize(), c.canvas);
    }
    // A step by hand leaves fitting.
    viewer.Command(ID_ZOOM_OUT);
    EXPECT_FALSE(View()->IsFitToWindow());
    EXPECT_EQ(View()->Zoom(), 1);
}

TEST(CSysViewZoomTest, AWidePictureZoomsOnlyAsFarAsItsBitmapCanBeMade)
{
    TempDir folder;
    ViewerFixture viewer(wxString::FromUTF8(folder.Write("WIDE.CNF", "(9000,100)\r\n")));
    ASSERT_TRUE(viewer.started);
    CSysView* view = viewer.View();
    view->SetZoom(4);
    EXPECT_EQ(view->Zoom(), 3);
    EXPECT_EQ(view->ScreenBitmap().GetSize(), wxSize(27000, 300));
    bool enabled = true;
    bool checked = false;
    ASSERT_TRUE(viewer.QueryUpdate(ID_ZOOM_IN, &enabled, &checked));
    EXPECT_FALSE(enabled);
}

TEST(CSysViewZoomTest, APlayFieldLargerThanABitmapIsShrunkWithOneMessage)
{
    // A toolkit assertion would bring up its dialog on every repaint; here it is only noted.
    static std::vector<wxString> asserts;
    asserts.clear();
    const wxAssertHandler_t previous = wxSetAssertHandler(
        [](const wxString&, int, const wxString&, const wxString& cond, const wxString& msg)
        { asserts.push_back(cond + ": " + msg); });
    TempDir folder;
    ViewerFixture viewer(wxString::FromUTF8(folder.Write("WIDE.CNF", "(40000,10)\r\n")));
    ASSERT_TRUE(viewer.started);
    EXPECT_EQ(viewer.View()->ScreenBitmap().GetSize(), wxSize(32767, 10));
    viewer.Command(ID_RELOAD);
    viewer.Frame()->Refresh();
    Pump();
    ASSERT_EQ(viewer.messages.shown.size(), 2u);
    EXPECT_EQ(viewer.messages.shown[0], "画面の大きさ (40000,10) は表示できないため (32767,10) にしました。");

    // FKiSS asks for more yet, and scrolls past any end.
    const std::string big = folder.Write(
        "BIG.CNF", "(100,80)\r\n;@EventHandler\r\n"
                   ";@begin() windowsize(65536,200) viewport(2147483647,2147483647)\r\n");
    ASSERT_TRUE(viewer.App().OpenDocumentFile(wxString::FromUTF8(big)));
    viewer.Frame()->Refresh();
    Pump();
    EXPECT_EQ(viewer.Doc()->Screen().Width(), 32767);
    EXPECT_EQ(viewer.Doc()->Screen().Height(), 200);
    EXPECT_TRUE(viewer.Doc()->Screen().HasPixels());
    ASSERT_EQ(viewer.messages.shown.size(), 3u);
    EXPECT_EQ(viewer.messages.shown[2], "画面の大きさ (65536,200) は表示できないため (32767,200) にしました。");
    wxSetAssertHandler(previous);
    EXPECT_TRUE(asserts.empty()) << asserts.front();
}

TEST(CSysViewZoomTest, ZoomKeepsThePixelUnderThePointerInPlace)
{
    TempDir folder;
    ViewerFixture viewer(wxString::FromUTF8(folder.Write("LARGE.CNF", "(1000,500)\r\n")));
    ASSERT_TRUE(viewer.started);
    CSysView* view = viewer.View();
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    // At 1× the whole picture shows; at 3× it no longer fits the 1600 × 1200 screen.
    ASSERT_EQ(view->ToPicture(wxPoint(300, 200)), (Point{300, 200}));
    view->SetZoom(3, wxPoint(300, 200));
    ASSERT_EQ(view->Zoom(), 3);
    EXPECT_EQ(view->ToPicture(wxPoint(300, 200)), (Point{300, 200}));
    EXPECT_NE(canvas->GetViewStart(), wxPoint(0, 0));
    // Back to 1×: everything fits again, so nothing is scrolled.
    view->SetZoom(1, wxPoint(300, 200));
    EXPECT_EQ(canvas->GetViewStart(), wxPoint(0, 0));
    EXPECT_EQ(view->ToPicture(wxPoint(300, 200)), (Point{300, 200}));
}
