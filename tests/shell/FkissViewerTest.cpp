// FKiSS in the running viewer, driven with real input through the X server.
#include "ShellTestSupport.h"
#include "shell/CMainFrame.h"
#include "shell/CSysCanvas.h"
#include "shell/CSysDoc.h"
#include "shell/CSysView.h"
#include "shell/RecentFiles.h"
#include "support/ConfigText.h"

#include <wx/statusbr.h>
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include <chrono>

namespace
{

using Clock = std::chrono::steady_clock;

bool Mapped(CSysDoc* doc, std::int32_t object)
{
    for (const auto& cel : doc->GetScene().PlacedCels())
    {
        if (cel->objectNumber == object && cel->mapped)
            return true;
    }
    return false;
}

std::int32_t Variable(CSysDoc* doc, const char* name)
{
    return doc->Fkiss() != nullptr ? doc->Fkiss()->Variable(name) : -1;
}

/// Lets the viewer run until the moment comes.
void PumpUntilTime(Clock::time_point moment)
{
    PumpUntil([&] { return Clock::now() >= moment; }, 60000);
}

/// A set whose end() unmaps its one cel after 300 ms and keeps a timer going for ever.
std::string WriteFarewellSet(FkissTestSet& set)
{
    return set.folder.Write(
        "END.CNF", ConfigText({"(100,80)", "%P.KCF", "#1 A.CEL *0", "$0 * 10,10", ";@EventHandler",
                               ";@end() notify(\"bye\") timer(1, 300)",
                               ";@alarm(1) unmap(#1) timer(2, 100)", ";@alarm(2) timer(2, 100)"}));
}

} // namespace

TEST(FkissViewerTest, KeyAndClickTimersCountFromTheKeyAndTheClickWithoutAClickFirst)
{
    FkissTestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    CSysDoc* doc = viewer.Doc();
    canvas->Scroll(0, 0);
    wxUIActionSimulator input;

    // Over the picture but never clicked: without a window manager the keys go to the
    // window under the pointer, and within it to the focus the viewer gave.
    input.MouseMove(canvas->ClientToScreen(wxPoint(90, 70)));
    PumpUntilTime(Clock::now() + std::chrono::seconds(3));
    ASSERT_FALSE(doc->Fkiss()->HasPendingTimers()); // idle: no tick runs
    input.Char('t');
    ASSERT_TRUE(PumpUntil([&] { return Variable(doc, "keyed") == 1; }));
    const Clock::time_point key = Clock::now();
    PumpUntilTime(key + std::chrono::milliseconds(600));
    EXPECT_TRUE(Mapped(doc, 6));

    input.MouseMove(canvas->ClientToScreen(wxPoint(63, 33)));
    Pump();
    input.MouseClick();
    ASSERT_TRUE(PumpUntil([&] { return Variable(doc, "pressed") == 1; }));
    const Clock::time_point click = Clock::now();
    PumpUntilTime(click + std::chrono::milliseconds(600));
    EXPECT_TRUE(Mapped(doc, 7));
    const auto left = click + std::chrono::milliseconds(3500) - Clock::now();
    EXPECT_TRUE(
        PumpUntil([&] { return !Mapped(doc, 6) && !Mapped(doc, 7); },
                  static_cast<int>(std::max<std::int64_t>(
                      0, std::chrono::duration_cast<std::chrono::milliseconds>(left).count()))));
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(FkissViewerTest, ANotifyDuringADragIsStillReadableAfterTheDrop)
{
    FkissTestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    wxStatusBar* status = viewer.Frame()->StatusBar();
    canvas->Scroll(0, 0);
    wxUIActionSimulator input;
    ButtonGuard button{input};

    input.MouseMove(canvas->ClientToScreen(wxPoint(12, 52)));
    Pump();
    input.MouseDown();
    button.down = true;
    ASSERT_TRUE(PumpUntil([&] { return viewer.View()->IsCatching(); }));
    EXPECT_EQ(status->GetStatusText(0), "held");
    for (int step = 1; step <= 4; ++step)
    {
        input.MouseMove(canvas->ClientToScreen(wxPoint(12 + 3 * step, 52)));
        Pump();
    }
    input.MouseUp();
    button.down = false;
    ASSERT_TRUE(PumpUntil([&] { return !viewer.View()->IsCatching(); }));
    // Hover prompts over cels and over nothing would have replaced it at once.
    input.MouseMove(canvas->ClientToScreen(wxPoint(15, 15)));
    Pump();
    input.MouseMove(canvas->ClientToScreen(wxPoint(90, 70)));
    Pump();
    EXPECT_EQ(status->GetStatusText(0), "held");
}

TEST(FkissViewerTest, ThePointerLeavingTheWindowLeavesTheCelAndEnteringOverOneEntersIt)
{
    FkissTestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CSysCanvas* canvas = viewer.Frame()->Canvas();
    CSysDoc* doc = viewer.Doc();
    canvas->Scroll(0, 0);
    wxUIActionSimulator input;

    // A loaded X server can take its time with synthetic motion: generous waits, no timing.
    constexpr int kPatienceMs = 15000;
    input.MouseMove(canvas->ClientToScreen(wxPoint(90, 70)));
    Pump();
    input.MouseMove(canvas->ClientToScreen(wxPoint(63, 33)));
    ASSERT_TRUE(PumpUntil([&] { return Variable(doc, "inside") == 1; }, kPatienceMs));
    // Straight from the cel to the status bar, out of the picture's window.
    wxStatusBar* status = viewer.Frame()->StatusBar();
    input.MouseMove(status->ClientToScreen(wxPoint(5, 5)));
    EXPECT_TRUE(PumpUntil([&] { return Variable(doc, "inside") == 0; }, kPatienceMs));
    EXPECT_EQ(Variable(doc, "outs"), 1);
    // And back in, landing on the cel at once.
    input.MouseMove(canvas->ClientToScreen(wxPoint(63, 33)));
    EXPECT_TRUE(PumpUntil([&] { return Variable(doc, "inside") == 1; }, kPatienceMs));
}

TEST(FkissViewerTest, AClosingSetPlaysWhatEndStartsForFiveSecondsAtMostAndASecondCloseIsAtOnce)
{
    FkissTestSet set;
    const std::string farewell = WriteFarewellSet(set);
    ViewerFixture viewer(farewell);
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();

    const Clock::time_point asked = Clock::now();
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    EXPECT_EQ(doc->GetTitle(), "END.CNF");
    EXPECT_EQ(viewer.Frame()->StatusBar()->GetStatusText(0), "bye");
    EXPECT_TRUE(PumpUntil([&] { return !Mapped(doc, 1); }));
    PumpUntilTime(asked + std::chrono::milliseconds(1500));
    EXPECT_EQ(doc->GetTitle(), "END.CNF");
    ASSERT_TRUE(PumpUntil([&] { return doc->GetTitle() == "FK.CNF"; }, 10000));
    EXPECT_GE(Clock::now() - asked, std::chrono::milliseconds(4500));
    EXPECT_NE(viewer.App().Recent()->File(0).Find("FK.CNF"), wxNOT_FOUND);

    // A set without end() closes at once; asked twice, the waiting one does too.
    ASSERT_TRUE(viewer.App().OpenDocumentFile(farewell));
    EXPECT_EQ(doc->GetTitle(), "END.CNF");
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    EXPECT_EQ(doc->GetTitle(), "END.CNF");
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    EXPECT_EQ(doc->GetTitle(), "FK.CNF");
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(FkissViewerTest, ClosingTheWindowWaitsForEndUnlessAskedTwice)
{
    FkissTestSet set;
    ViewerFixture viewer(WriteFarewellSet(set));
    ASSERT_TRUE(viewer.started);
    viewer.Frame()->Close();
    Pump();
    ASSERT_NE(viewer.Frame(), nullptr);
    EXPECT_TRUE(viewer.Frame()->IsShown());
    EXPECT_EQ(viewer.Doc()->GetTitle(), "END.CNF");
    viewer.Frame()->Close();
    EXPECT_TRUE(PumpUntil([&] { return viewer.Frame() == nullptr; }));
}

TEST(FkissViewerTest, TheWindowClosesByItselfOnceEndIsOver)
{
    FkissTestSet set;
    const std::string farewell = set.folder.Write(
        "END.CNF", ConfigText({"(100,80)", "%P.KCF", "#1 A.CEL *0", "$0 * 10,10", ";@EventHandler",
                               ";@end() timer(1, 300)", ";@alarm(1) nop()"}));
    ViewerFixture viewer(farewell);
    ASSERT_TRUE(viewer.started);
    viewer.Frame()->Close();
    Pump();
    ASSERT_NE(viewer.Frame(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return viewer.Frame() == nullptr; }));
}
