// The real application driven with real input: keys and mouse go through the X server, and
// what the window shows is read back from the screen.
#include "ShellTestSupport.h"
#include "shell/CSysDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CSysCanvas.h"
#include "shell/CommandIds.h"
#include "shell/CSysView.h"
#include "shell/WxBridge.h"

#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/image.h>
#include <wx/process.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace
{
/// What the screen shows of the canvas, as a screenshot of the X server sees it.
wxImage GrabCanvas(CSysCanvas* canvas)
{
    const wxSize size = canvas->GetClientSize();
    const wxPoint origin = canvas->ClientToScreen(wxPoint(0, 0));
    TempDir folder;
    const std::string shot = folder.File("shot.png");
    const std::string command = "import -window root -crop " + std::to_string(size.x) + "x" +
                                std::to_string(size.y) + "+" + std::to_string(origin.x) + "+" +
                                std::to_string(origin.y) + " +repage " + shot;
    if (std::system(command.c_str()) != 0)
        return wxImage();
    return wxImage(shot, wxBITMAP_TYPE_PNG);
}

bool SameColour(const wxImage& image, int x, int y, unsigned char r, unsigned char g,
                unsigned char b)
{
    return image.IsOk() && x < image.GetWidth() && y < image.GetHeight() && image.GetRed(x, y) == r && image.GetGreen(x, y) == g && image.GetBlue(x, y) == b;
}

/// The size of the window that search finds, as the X server has it rather than as wx
/// believes it to be.
wxSize WindowSystemSize(const char* search)
{
    const std::string command = search + std::string("getwindowgeometry --shell %@");
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return wxSize();
    wxSize size;
    char line[128];
    while (std::fgets(line, sizeof line, pipe) != nullptr)
    {
        std::sscanf(line, "WIDTH=%d", &size.x);
        std::sscanf(line, "HEIGHT=%d", &size.y);
    }
    ::pclose(pipe);
    return size;
}

std::string RealSet(const char* folder)
{
    const std::filesystem::path path = std::filesystem::path(VELQUIN_KISS_SETS_DIR) / folder;
    return std::filesystem::is_directory(path) ? path.string() : std::string();
}
} // namespace

TEST(ViewerGuiTest, TypedDigitChangesTheSetAndTheMouseDragsAnObjectThatIsSaved)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    CSysDoc* doc = viewer.Doc();
    wxUIActionSimulator input;
    ButtonGuard button{input};

    // Keys go to the window under the pointer when no window manager hands out focus.
    input.MouseMove(canvas->ClientToScreen(wxPoint(90, 70)));
    canvas->SetFocus();
    Pump();
    input.Char('3');
    ASSERT_TRUE(PumpUntil([&] { return doc->GetScene().CurrentSet() == 3; }));
    // Ctrl+Z has no handler: nothing happens.
    input.Char('z', wxMOD_CONTROL);
    Pump();
    EXPECT_EQ(doc->GetScene().CurrentSet(), 3);

    // Drag object 1 (at 20,30 in set 3) by 30,20.
    canvas->Scroll(0, 0);
    input.MouseMove(canvas->ClientToScreen(wxPoint(25, 35)));
    Pump();
    input.MouseDown();
    button.down = true;
    ASSERT_TRUE(PumpUntil([&] { return viewer.View()->IsCatching(); }));
    for (int step = 1; step <= 6; ++step)
    {
        input.MouseMove(canvas->ClientToScreen(wxPoint(25 + 5 * step, 35 + 3 * step + (step > 3))));
        Pump();
    }
    input.MouseMove(canvas->ClientToScreen(wxPoint(55, 55)));
    ASSERT_TRUE(PumpUntil([&] { return PositionOf(doc, 1) == Point{50, 50}; }))
        << PositionOf(doc, 1).x << "," << PositionOf(doc, 1).y;
    input.MouseUp();
    button.down = false;
    ASSERT_TRUE(PumpUntil([&] { return !viewer.View()->IsCatching(); }));

    // The screen shows the green of palette group 1 where the object now is.
    ASSERT_TRUE(PumpUntil([&] {
        const wxImage shot = GrabCanvas(canvas);
        return SameColour(shot, 60, 55, 0, 255, 0) && SameColour(shot, 25, 35, 0, 128, 128);
    }));

    // Resting on a button shows its prompt and its tip; leaving it says "Ready." again.
    wxAuiToolBar* bar = viewer.Frame()->MainBar();
    input.MouseMove(bar->ClientToScreen(bar->GetToolRect(ID_NEXT_SET).GetPosition() +
                                        wxPoint(5, 5)));
    EXPECT_TRUE(PumpUntil([&] {
        return viewer.Frame()->StatusBar()->GetStatusText(0) == wxString::FromUTF8("次のセットへ");
    }));
    // The bar sets its tip when it handles the motion itself, which may come a little later.
    EXPECT_TRUE(PumpUntil([&] { return bar->GetToolTipText() == wxString::FromUTF8("次のセットへ"); }));
    wxStatusBar* status = viewer.Frame()->StatusBar();
    input.MouseMove(status->ClientToScreen(wxPoint(5, 5)));
    EXPECT_TRUE(PumpUntil([&] { return status->GetStatusText(0) == "Ready."; }));

    input.Char('s', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([&] {
        return ReadAll(set.configPath).find("$1 * 50,50 40,10 70,10") != std::string::npos;
    }));
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(ViewerGuiTest, FrameFollowsThePictureOfARealSet)
{
    const std::string lina = RealSet("lina");
    if (lina.empty())
        GTEST_SKIP() << "no real sets";
    ViewerFixture viewer(wxString(lina + "/lina.cnf"));
    ASSERT_TRUE(viewer.started);
    CMainFrame* frame = viewer.Frame();
    CSysCanvas* canvas = frame->Canvas();
    const wxSize picture(400, 350);
    ASSERT_TRUE(PumpUntil([&] { return canvas->GetSize() == picture; }));
    EXPECT_TRUE(viewer.messages.shown.empty());

    // What the screen shows is the picture, one to one.
    const wxImage expected = viewer.View()->ScreenBitmap().ConvertToImage();
    auto differing = [&] {
        const wxImage shown = GrabCanvas(canvas);
        int count = 0;
        for (int y = 0; y < picture.y; y += 7)
            for (int x = 0; x < picture.x; x += 7)
                count += !SameColour(shown, x, y, expected.GetRed(x, y), expected.GetGreen(x, y),
                                     expected.GetBlue(x, y));
        return count;
    };
    EXPECT_TRUE(PumpUntil([&] { return differing() == 0; })) << differing();

    // Larger than the picture snaps back; smaller is allowed. First enlarged from outside, as
    // the user's drag does, while the frame has exactly the size that it asked for last.
    const char* const window = "xdotool search --name '^lina.cnf - Velquin$' ";
    const wxSize fitted = WindowSystemSize(window);
    ASSERT_EQ(fitted, frame->GetSize());
    const std::string enlarge = window + std::string("windowsize %@ ") +
                                std::to_string(fitted.x + 150) + " " +
                                std::to_string(fitted.y + 120);
    ASSERT_EQ(std::system(enlarge.c_str()), 0);
    EXPECT_TRUE(PumpUntil([&] { return WindowSystemSize(window) == fitted; }));
    EXPECT_EQ(canvas->GetSize(), picture);
    frame->SetSize(frame->GetSize() + wxSize(60, 40));
    EXPECT_TRUE(PumpUntil([&] { return canvas->GetSize() == picture; }));
    // (Not narrower than the menu bar, which the frame never is.)
    frame->SetSize(frame->GetSize() - wxSize(10, 50));
    EXPECT_TRUE(PumpUntil([&] { return canvas->GetSize() == picture - wxSize(10, 50); }));
    viewer.Command(ID_SIZE_ADJUST);
    EXPECT_TRUE(PumpUntil([&] { return canvas->GetSize() == picture; }));

    // Hiding the set-change bar shrinks the frame to the picture again.
    const int height = frame->GetSize().y;
    viewer.Command(ID_VIEW_SET_BAR);
    EXPECT_FALSE(frame->IsBarShown(frame->SetBar()));
    EXPECT_TRUE(PumpUntil([&] { return canvas->GetSize() == picture; }));
    EXPECT_LT(frame->GetSize().y, height);
    // So does hiding the status bar.
    const int withStatus = frame->GetSize().y;
    viewer.Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->IsStatusBarShown());
    EXPECT_TRUE(PumpUntil([&] { return frame->GetSize().y < withStatus; }));
    EXPECT_TRUE(PumpUntil([&] { return canvas->GetSize() == picture; }));
    viewer.Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->IsStatusBarShown());
    // The palette bar starts hidden, the tool-bar toggle acts on the main bar only.
    EXPECT_FALSE(frame->IsBarShown(frame->PaletteBar()));
    viewer.Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame->IsBarShown(frame->MainBar()));
    EXPECT_FALSE(frame->IsBarShown(frame->SetBar()));
}

TEST(ViewerGuiTest, FloatingABarLetsTheFrameShrinkToThePicture)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CMainFrame* frame = viewer.Frame();
    CSysCanvas* canvas = frame->Canvas();
    ASSERT_TRUE(PumpUntil([&] { return canvas->GetSize().y == 80; }));
    const int height = frame->GetSize().y;

    // The bars' manager lays the frame out by itself when a bar is dragged off and back.
    wxAuiManager* bars = wxAuiManager::GetManager(frame);
    ASSERT_NE(bars, nullptr);
    bars->GetPane(frame->SetBar()).Float();
    bars->Update();
    EXPECT_TRUE(PumpUntil([&] { return frame->GetSize().y < height; }));
    EXPECT_TRUE(PumpUntil([&] { return canvas->GetSize().y == 80; }));
    const int floating = frame->GetSize().y;
    // Docked again it takes room from the view; the frame does not grow.
    bars->GetPane(frame->SetBar()).Dock();
    bars->Update();
    Pump();
    EXPECT_EQ(frame->GetSize().y, floating);
    EXPECT_LT(canvas->GetSize().y, 80);
}

TEST(ViewerGuiTest, SecondStartHandsItsFileToTheRunningViewer)
{
    TestSet set;
    const std::string other = set.folder.Write(
        "OTHER.CNF", "(100,80)\r\n%P.KCF\r\n#1 A.CEL *0\r\n$0 * 30,30\r\n");
    TempDir runtime;
    wxExecuteEnv env;
    wxGetEnvMap(&env.env);
    env.env["XDG_RUNTIME_DIR"] = runtime.Path();
    env.env["XDG_CONFIG_HOME"] = runtime.Path();
    const long first = wxExecute(wxString(VELQUIN_BINARY) + " " + set.configPath, wxEXEC_ASYNC,
                                 nullptr, &env);
    ASSERT_GT(first, 0);
    auto windowTitled = [](const std::string& title) {
        return std::system(("xdotool search --name '^" + title + "$' >/dev/null 2>&1").c_str()) == 0;
    };
    EXPECT_TRUE(PumpUntil([&] { return windowTitled("TEST.CNF - Velquin"); }, 20000));
    // The second start with a relative name: it is made absolute before it is handed over.
    env.cwd = set.folder.Path();
    const long status = wxExecute(wxString(VELQUIN_BINARY) + " OTHER.CNF", wxEXEC_SYNC, nullptr,
                                  &env);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(PumpUntil([&] { return windowTitled("OTHER.CNF - Velquin"); }, 20000));
    wxKill(first, wxSIGTERM);
}

TEST(ViewerGuiTest, TwoViewersStartedAtOnceLeaveOneWindowWithTheLaterFile)
{
    TestSet set;
    set.folder.Write("OTHER.CNF", "(100,80)\r\n%P.KCF\r\n#1 A.CEL *0\r\n$0 * 30,30\r\n");
    TempDir runtime;
    wxExecuteEnv env;
    wxGetEnvMap(&env.env);
    env.env["XDG_RUNTIME_DIR"] = runtime.Path();
    env.env["XDG_CONFIG_HOME"] = runtime.Path();
    env.cwd = set.folder.Path();
    struct Viewer : wxProcess
    {
        void OnTerminate(int, int status) override
        {
            ended = true;
            exitStatus = status;
        }
        bool ended = false;
        int exitStatus = -1;
    };
    // Not deleted by wx: OnTerminate is overridden and the objects outlive the processes.
    Viewer first;
    Viewer second;
    const long firstPid =
        wxExecute(wxString(VELQUIN_BINARY) + " TEST.CNF", wxEXEC_ASYNC, &first, &env);
    const long secondPid =
        wxExecute(wxString(VELQUIN_BINARY) + " OTHER.CNF", wxEXEC_ASYNC, &second, &env);
    ASSERT_GT(firstPid, 0);
    ASSERT_GT(secondPid, 0);
    // One of them hands its file to the other and ends well; that one then shows it.
    EXPECT_TRUE(PumpUntil([&] { return first.ended || second.ended; }, 20000));
    const bool firstEnded = first.ended;
    EXPECT_EQ(firstEnded ? first.exitStatus : second.exitStatus, 0);
    const std::string handed = firstEnded ? "TEST.CNF" : "OTHER.CNF";
    auto windowsTitled = [](const std::string& title)
    {
        FILE* pipe = ::popen(("xdotool search --name '" + title + "' 2>/dev/null").c_str(), "r");
        int count = 0;
        char line[64];
        while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr)
            ++count;
        if (pipe != nullptr)
            ::pclose(pipe);
        return count;
    };
    EXPECT_TRUE(PumpUntil([&] { return windowsTitled("^" + handed + " - Velquin$") == 1; }, 20000));
    Pump();
    EXPECT_EQ(windowsTitled(" - Velquin$"), 1);
    EXPECT_FALSE(first.ended && second.ended);
    wxKill(firstEnded ? secondPid : firstPid, wxSIGTERM);
    PumpUntil([&] { return first.ended && second.ended; }, 10000);
}

TEST(ViewerGuiTest, FkissButtonsDragsAndKeysChangeThePicture)
{
    FkissTestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    CSysDoc* doc = viewer.Doc();
    canvas->Scroll(0, 0);
    wxUIActionSimulator input;
    ButtonGuard button{input};

    // The lamp starts unmapped; a click on the button maps it.
    ASSERT_TRUE(PumpUntil([&] { return SameColour(GrabCanvas(canvas), 74, 54, 0, 128, 128); }));
    input.MouseMove(canvas->ClientToScreen(wxPoint(15, 15)));
    Pump();
    input.MouseClick();
    EXPECT_TRUE(PumpUntil([&] { return SameColour(GrabCanvas(canvas), 74, 54, 255, 255, 0); }));

    // Dragging #2 into #3 sends #3 up; #5 hangs from #2 and comes along.
    input.MouseMove(canvas->ClientToScreen(wxPoint(12, 52)));
    Pump();
    input.MouseDown();
    button.down = true;
    ASSERT_TRUE(PumpUntil([&] { return viewer.View()->IsCatching(); }));
    for (int step = 1; step <= 7; ++step)
    {
        input.MouseMove(canvas->ClientToScreen(wxPoint(12 + 5 * step, 52)));
        Pump();
    }
    input.MouseMove(canvas->ClientToScreen(wxPoint(47, 52)));
    ASSERT_TRUE(PumpUntil([&] { return PositionOf(doc, 2) == Point{45, 50}; }))
        << PositionOf(doc, 2).x << "," << PositionOf(doc, 2).y;
    EXPECT_EQ(PositionOf(doc, 5), (Point{65, 50}));
    EXPECT_EQ(PositionOf(doc, 3), (Point{50, 50})); // decided at the release
    input.MouseUp();
    button.down = false;
    ASSERT_TRUE(PumpUntil([&] { return PositionOf(doc, 3) == Point{50, 10}; }));
    EXPECT_TRUE(PumpUntil([&] { return SameColour(GrabCanvas(canvas), 55, 15, 0, 0, 255); }));

    // A key bound by keypress is the set's; an unbound digit still switches sets.
    canvas->SetFocus();
    input.MouseMove(canvas->ClientToScreen(wxPoint(90, 70)));
    Pump();
    input.Char('k');
    EXPECT_TRUE(PumpUntil([&] { return SameColour(GrabCanvas(canvas), 15, 15, 0, 128, 128); }));
    input.Char('1');
    EXPECT_TRUE(PumpUntil([&] { return doc->GetScene().CurrentSet() == 1; }));
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(ViewerGuiTest, TwiceShowsEveryPicturePixelAsATwoByTwoBlock)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    const ScreenBuffer& screen = viewer.Doc()->Screen();
    wxBitmap single;
    CopyToBitmap(screen, screen.ScreenRect(), single);
    const wxImage expected = single.ConvertToImage().Scale(200, 160, wxIMAGE_QUALITY_NEAREST);

    viewer.Command(ID_ZOOM_IN);
    canvas->Scroll(0, 0);
    wxImage shot;
    ASSERT_TRUE(PumpUntil([&] {
        shot = GrabCanvas(canvas);
        // Object 1's red begins at picture 10,10, so at 20,20 on the screen.
        return SameColour(shot, 20, 20, 255, 0, 0) && !SameColour(shot, 19, 20, 255, 0, 0);
    }));
    ASSERT_GE(shot.GetWidth(), 200);
    ASSERT_GE(shot.GetHeight(), 160);
    int differing = 0;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 200; ++x)
            differing += !SameColour(shot, x, y, expected.GetRed(x, y), expected.GetGreen(x, y),
                                     expected.GetBlue(x, y));
    EXPECT_EQ(differing, 0);
}

TEST(ViewerGuiTest, CtrlZTakesBackADragOfARealSetAndCtrlYPutsItBack)
{
    const std::string lina = RealSet("lina");
    if (lina.empty())
        GTEST_SKIP() << "no real sets";
    // A copy, so that the moved state can be saved and exported.
    TempDir copy;
    std::filesystem::copy(lina, copy.Path(), std::filesystem::copy_options::recursive);
    const std::string config = copy.File("lina.cnf");
    // The shared sets may be read-only; Save must not ask for a name.
    std::filesystem::permissions(config, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    auto exported = [&](const std::string& name) {
        const std::string png = copy.File(name);
        const std::string command = std::string(VELQUIN_BINARY) + " --export '" + png + "' '" +
                                    config + "' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0 ? wxImage(png, wxBITMAP_TYPE_PNG) : wxImage();
    };
    const wxImage original = exported("original.png");
    ASSERT_TRUE(original.IsOk());

    ViewerFixture viewer{wxString(config)};
    ASSERT_TRUE(viewer.started);
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    CSysDoc* doc = viewer.Doc();
    canvas->Scroll(0, 0);
    auto shows = [&](const wxImage& picture) {
        const wxImage shot = GrabCanvas(canvas);
        if (!shot.IsOk() || shot.GetWidth() < picture.GetWidth() ||
            shot.GetHeight() < picture.GetHeight())
            return false;
        for (int y = 0; y < picture.GetHeight(); ++y)
            for (int x = 0; x < picture.GetWidth(); ++x)
                if (!SameColour(shot, x, y, picture.GetRed(x, y), picture.GetGreen(x, y),
                                picture.GetBlue(x, y)))
                    return false;
        return true;
    };
    ASSERT_TRUE(PumpUntil([&] { return shows(original); }));

    // The first free object found from the top left, held five pixels inside its cel.
    const Scene& scene = doc->GetScene();
    Scene::HitResult held;
    for (int y = 5; y < original.GetHeight() && held.index < 0; y += 10)
        for (int x = 5; x < original.GetWidth() && held.index < 0; x += 10)
            if (const auto hit = scene.HitTest({x, y}); hit.index >= 0 && scene.GetObjectFix(hit.index) == 0)
                held = hit;
    ASSERT_GE(held.index, 0);
    const Point start = held.position;
    wxPoint grip;
    for (int y = 0; y < original.GetHeight() && grip == wxPoint(); ++y)
        for (int x = 0; x < original.GetWidth() && grip == wxPoint(); ++x)
            if (scene.HitTest({x, y}).index == held.index)
                grip = wxPoint(x, y);

    wxUIActionSimulator input;
    ButtonGuard button{input};
    input.MouseMove(canvas->ClientToScreen(grip));
    Pump();
    input.MouseDown();
    button.down = true;
    ASSERT_TRUE(PumpUntil([&] { return viewer.View()->IsCatching(); }));
    for (int step = 1; step <= 6; ++step)
    {
        input.MouseMove(canvas->ClientToScreen(grip + wxPoint(4 * step, 3 * step)));
        Pump();
    }
    ASSERT_TRUE(PumpUntil([&] { return scene.GetCelPosition(held.index) != start; }));
    input.MouseUp();
    button.down = false;
    ASSERT_TRUE(PumpUntil([&] { return !viewer.View()->IsCatching(); }));
    const Point moved = scene.GetCelPosition(held.index);

    canvas->SetFocus();
    input.Char('s', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([&] { return ReadAll(config).find(std::to_string(moved.x) + "," +
                                                            std::to_string(moved.y)) !=
                                       std::string::npos; }));
    const wxImage dragged = exported("dragged.png");
    ASSERT_TRUE(dragged.IsOk());
    EXPECT_TRUE(PumpUntil([&] { return shows(dragged); }));

    input.Char('z', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([&] { return scene.GetCelPosition(held.index) == start; }));
    EXPECT_TRUE(PumpUntil([&] { return shows(original); }));
    input.Char('y', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([&] { return scene.GetCelPosition(held.index) == moved; }));
    EXPECT_TRUE(PumpUntil([&] { return shows(dragged); }));
    EXPECT_TRUE(viewer.messages.shown.empty());
}
