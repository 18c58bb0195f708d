#include "FkissFixture.h"

#include "../scene/SceneFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using Texts = std::vector<std::string>;

class FkissEngineTest : public FkissFixture
{
};

} // namespace

TEST_F(FkissEngineTest, LoadEventsRunInOrderBeforeThePicture)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", ";@EventHandler",
          ";@col(0) notify(\"col0\")", ";@set(0) notify(\"set0\")", ";@begin() notify(\"begin\")",
          ";@version(5) notify(\"v5\")", ";@version(6) notify(\"v6\")",
          ";@version(1) notify(\"v1\")", ";@initialize() notify(\"init\") unmap(#1)",
          ";@end() notify(\"end\")"});
    EXPECT_EQ(host.texts, (Texts{"init", "v5", "v1", "begin", "set0", "col0"}));
    EXPECT_FALSE(Shown("a.cel"));
    Engine().Stop();
    EXPECT_EQ(host.texts.back(), "end");
}

TEST_F(FkissEngineTest, CelTagsStartCelsUnmappedOrGhosted)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel ;%u", "#2 b.cel ; note %G", "$0 * 10,10 50,50",
          ";@EventHandler"});
    EXPECT_FALSE(Shown("a.cel"));
    EXPECT_EQ(scene.HitTest(Point{11, 11}).index, -1);
    EXPECT_TRUE(Shown("b.cel"));
    EXPECT_EQ(scene.HitTest(Point{51, 51}).index, -1);
}

TEST_F(FkissEngineTest, BlinkFollowsSimulatedTime)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", ";@EventHandler",
          ";@initialize() timer(1, 3000)", ";@alarm(1) unmap(#1) timer(2, 200)",
          ";@alarm(2) map(#1) timer(1, 3000)"});
    EXPECT_TRUE(Engine().HasPendingTimers());
    Engine().RunFor(2999);
    EXPECT_TRUE(Shown("a.cel"));
    Engine().RunFor(101);
    EXPECT_FALSE(Shown("a.cel"));
    Engine().RunFor(200);
    EXPECT_TRUE(Shown("a.cel"));
    Engine().RunFor(3000);
    EXPECT_FALSE(Shown("a.cel"));
    EXPECT_EQ(Engine().Now(), 6300);
}

TEST_F(FkissEngineTest, TimersAreReplacedCancelledAndKeepTheOrderTheyWereSet)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", ";@EventHandler",
          ";@begin() timer(1, 100) timer(2, 50) timer(1, 50) timer(3, 10) timer(3, 0)",
          ";@ randomtimer(4, 200, 50)", ";@alarm(1) notify(\"1\")", ";@alarm(2) notify(\"2\")",
          ";@alarm(3) notify(\"3\")", ";@alarm(4) notify(\"4\")"});
    Engine().RunFor(199);
    EXPECT_EQ(host.texts, (Texts{"2", "1"}));
    Engine().RunFor(51);
    EXPECT_EQ(host.texts, (Texts{"2", "1", "4"}));
    EXPECT_FALSE(Engine().HasPendingTimers());
}

TEST_F(FkissEngineTest, ATimerSetInsideItsAlarmWaitsForTheNextTick)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", ";@EventHandler",
          ";@begin() timer(1, 1)", ";@alarm(1) notify(\"tick\") timer(1, 1)"});
    Engine().AdvanceTo(500);
    EXPECT_EQ(host.texts.size(), 1u);
    Engine().AdvanceTo(500);
    EXPECT_EQ(host.texts.size(), 2u);
    Engine().RunFor(10);
    EXPECT_EQ(host.texts.size(), 12u);
}

TEST_F(FkissEngineTest, MouseEventsFollowPressCatchReleaseDrop)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "#2.5 b.cel", "$0 * 10,10 50,50", ";@EventHandler",
          ";@press(#1) notify(\"press\")", ";@catch(#1) notify(\"catch\")",
          ";@release(#1) notify(\"release\")", ";@drop(#1) notify(\"drop\")",
          ";@press(\"B.cel\") notify(\"press b\")", ";@fixcatch(#2) notify(\"fixcatch\")",
          ";@fixdrop(#2) notify(\"fixdrop\")", ";@unfix(#2) notify(\"unfix\")",
          ";@catch(#2) notify(\"wrong\")"});
    const int a = CelOf("a.cel");
    const int b = CelOf("b.cel");
    Engine().Press(a, Point{10, 10});
    Engine().Release(a, Point{10, 10});
    EXPECT_EQ(host.texts, (Texts{"press", "catch", "release", "drop"}));
    host.texts.clear();
    Engine().Press(b, Point{50, 50});
    Engine().Unfixed(b);
    Engine().Release(b, Point{50, 50});
    EXPECT_EQ(host.texts, (Texts{"press b", "fixcatch", "unfix", "fixdrop"}));
}

TEST_F(FkissEngineTest, BoxCollisionsCompareTheStateAtPressWithTheStateAtRelease)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel", "$0 * 10,10 50,50", ";@EventHandler",
          ";@in(#1, #2) notify(\"in\")", ";@out(#1, #2) notify(\"out\")",
          ";@stillin(#1, #2) notify(\"stillin\")", ";@stillout(#1, #2) notify(\"stillout\")"});
    const int a = CelOf("a.cel");
    // Over b and back again within one hold: apart at both ends.
    Engine().Press(a, Point{10, 10});
    Engine().Drag(a, 40, 40);
    Engine().Drag(a, -40, -40);
    Engine().Release(a, Point{10, 10});
    EXPECT_EQ(host.texts, (Texts{"stillout"}));
    host.texts.clear();

    DragCel(a, 36, 36); // a's right edge touches b's left edge
    DragCel(a, 1, 1);
    DragCel(a, -30, 0);
    EXPECT_EQ(host.texts, (Texts{"in", "stillin", "out"}));
    host.texts.clear();

    // A press and release without a move changes nothing.
    Engine().Press(a, Point{17, 47});
    Engine().Release(a, Point{17, 47});
    EXPECT_TRUE(host.texts.empty());
}

TEST_F(FkissEngineTest, CollisionsUseTheOffsetsOfTheCelLines)
{
    // Both objects stand at 10,10; the tags set b 20 pixels to the right, then back on a.
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel ;%x20 %y0", "$0 * 10,10 10,10",
          ";@EventHandler", ";@in(#1, #2) notify(\"in\")",
          ";@collide(\"a.cel\", \"b.cel\") notify(\"collide\")"});
    const int a = CelOf("a.cel");
    DragCel(a, 17, 0); // a's last column reaches b's first, at 30
    std::sort(host.texts.begin(), host.texts.end());
    EXPECT_EQ(host.texts, (Texts{"collide", "in"}));
    host.texts.clear();
    DragCel(a, -17, 0);
    DragCel(a, 0, 30);
    EXPECT_TRUE(host.texts.empty());
}

TEST_F(FkissEngineTest, MovesMadeByAnEventFireCollisionsAfterIt)
{
    files.Add("dot.cel", SolidCel(1, 1, 1));
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel", "#3 ring.cel", "#4 dot.cel",
          "$0 * 10,10 50,50 80,80 0,0", ";@EventHandler", ";@begin() timer(1, 10)",
          ";@alarm(1) moveto(#1, 52, 52) moveto(#4, 81, 81)", ";@alarm(2) move(#4, -1, 0)",
          ";@in(#1, #2) notify(\"in\")", ";@in(#4, #3) notify(\"dot in ring\") timer(2, 10)",
          ";@collide(\"dot.cel\", \"ring.cel\") notify(\"collide\")",
          ";@apart(\"dot.cel\", \"ring.cel\") notify(\"apart\")"});
    // During a hold: decided after the alarm, not once more at the release.
    Engine().Press(CelOf("b.cel"), Point{50, 50});
    Engine().Drag(CelOf("b.cel"), 1, 0);
    Engine().Drag(CelOf("b.cel"), -1, 0);
    Engine().RunFor(10);
    Engine().Release(CelOf("b.cel"), Point{50, 50});
    EXPECT_EQ(host.texts, (Texts{"in", "dot in ring"}));
    EXPECT_EQ(PositionOf(1), (Point{52, 52}));
    Engine().RunFor(10);
    EXPECT_EQ(host.texts.back(), "collide");
}

TEST_F(FkissEngineTest, MappingActsOnCelNamesAndObjectsAndHoldsAcrossSets)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "#1 b.cel", "#2 a.cel", "$0 * 10,10 50,50",
          "$1 * 10,10 50,50", ";@EventHandler", ";@begin() unmap(#1)",
          ";@press(#2) altmap(\"A.CEL\") changeset(1)"});
    EXPECT_FALSE(Shown("b.cel"));
    EXPECT_FALSE(Engine().IsMapped(CelOf("a.cel", 1)));
    EXPECT_TRUE(Engine().IsMapped(CelOf("a.cel", 0)));
    Engine().Press(CelOf("a.cel", 0), Point{50, 50});
    EXPECT_EQ(scene.CurrentSet(), 1);
    EXPECT_FALSE(Engine().IsMapped(CelOf("a.cel", 0)));
    EXPECT_TRUE(Engine().IsMapped(CelOf("a.cel", 1)));
    EXPECT_FALSE(Shown("b.cel"));
}

TEST_F(FkissEngineTest, SetAndColourChangesFireTheirEvents)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", "$1 * 10,10", ";@EventHandler",
          ";@press(#1) changeset(1)", ";@release(#1) changecol(0)", ";@set(1) notify(\"set1\")",
          ";@col(1) notify(\"col1\")", ";@col(0) notify(\"col0\")"});
    host.texts.clear();
    Engine().Press(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(host.texts, (Texts{"set1", "col1"}));
    EXPECT_EQ(scene.CurrentPaletteGroup(), 1);
    Engine().Release(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(host.texts.back(), "col0");
    EXPECT_EQ(scene.CurrentPaletteGroup(), 0);
}

TEST_F(FkissEngineTest, TransparencyAddsToTheCelValueWithinItsRange)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel ;%t100", "#2 b.cel", "$0 * 10,10 50,50",
          ";@EventHandler", ";@press(#1) transparent(#1, 200)",
          ";@press(#2) transparent(#1, -999) transparent(\"b.cel\", 56)"});
    const PlacedCel& a = *scene.PlacedCels()[static_cast<std::size_t>(CelOf("a.cel"))];
    const PlacedCel& b = *scene.PlacedCels()[static_cast<std::size_t>(CelOf("b.cel"))];
    EXPECT_EQ(a.opacity, 156);
    Engine().Press(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(a.opacity, 1);
    Engine().Press(CelOf("b.cel"), Point{50, 50});
    EXPECT_EQ(a.opacity, 256);
    EXPECT_EQ(b.opacity, 200);
}

TEST_F(FkissEngineTest, MovesAndConditionalTimers)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "#2.3 b.cel", "$0 * 10,10 50,50", ";@EventHandler",
          ";@begin() move(#1, 5, -5) movebyx(#2, #1, 3) movebyy(#2, #1, -3)",
          ";@ iffixed(#2, 1, 10) ifnotfixed(#1, 2, 10) ifmapped(\"a.cel\", 3, 10)",
          ";@ ifnotmapped(\"a.cel\", 4, 10) ifmoved(#1, 5, 10) ifnotmoved(#1, 6, 10)",
          ";@ setfix(#2, 0) moverandx(#1, 2, 2) moverandy(#1, -1, -1)", ";@alarm(1) notify(\"1\")",
          ";@alarm(2) notify(\"2\")", ";@alarm(3) notify(\"3\")", ";@alarm(4) notify(\"4\")",
          ";@alarm(5) notify(\"5\")", ";@alarm(6) notify(\"6\")"});
    EXPECT_EQ(PositionOf(1), (Point{17, 4}));
    EXPECT_EQ(PositionOf(2), (Point{18, 2}));
    EXPECT_EQ(scene.GetObjectFix(CelOf("b.cel")), 0);
    Engine().RunFor(10);
    EXPECT_EQ(host.texts, (Texts{"1", "2", "3", "5"}));
}

TEST_F(FkissEngineTest, SoundsComeFromTheFileSourceAndFailuresAreDiagnostics)
{
    player.FailOn("bad.wav", {SoundFailureKind::NotASound, {"junk"}});
    files.Add("bad.wav", std::string_view("junk"));
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", ";@EventHandler",
          ";@press(#1) sound(\"beep.wav\") music(\"tune.mid\") music()",
          ";@ sound(\"gone.wav\") sound(\"bad.wav\")"});
    Engine().Press(CelOf("a.cel"), Point{10, 10});
    using Action = RecordingSoundPlayer::Action;
    std::vector<std::pair<Action, std::string>> calls;
    for (const RecordingSoundPlayer::Call& call : player.Calls())
        calls.emplace_back(call.action, call.name);
    // The missing file never reaches the player; the undecodable one does, and fails there.
    EXPECT_EQ(calls, (std::vector<std::pair<Action, std::string>>{{Action::Sound, "beep.wav"},
                                                                  {Action::Music, "tune.mid"},
                                                                  {Action::StopMusic, ""},
                                                                  {Action::Sound, "bad.wav"}}));
    EXPECT_EQ(DiagnosticTexts(),
              (Texts{"test.cnf:7: warning: cannot open sound file gone.wav",
                     "test.cnf:7: warning: cannot play bad.wav: not a WAV or AU sound (junk)"}));
    // Reported once, however often it happens.
    Engine().Press(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(DiagnosticTexts().size(), 2u);
}

TEST_F(FkissEngineTest, TextsViewAndQuitGoToTheHost)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", ";@EventHandler",
          ";@press(#1) debug(\"d\") viewport(3, 4) windowsize(200, 150) quit() notify(\"after\")",
          ";@end() notify(\"end\")", ";@begin() timer(1, 10)", ";@alarm(1) notify(\"alarm\")"});
    Engine().Press(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(host.texts, (Texts{"d", "end"}));
    EXPECT_EQ(host.scrolls, (std::vector<Point>{{3, 4}}));
    EXPECT_EQ(host.sizes, (std::vector<Point>{{200, 150}}));
    EXPECT_EQ(host.closes, 1);
    EXPECT_TRUE(Engine().QuitRequested());
    Engine().RunFor(100);
    EXPECT_EQ(host.texts.size(), 2u);
}

TEST_F(FkissEngineTest, EventsStartingEachOtherStopAtTheNestingLimit)
{
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "$0 * 10,10", "$1 * 10,10", ";@EventHandler",
          ";@set(0) changeset(1)", ";@set(1) changeset(0)"});
    EXPECT_EQ(DiagnosticTexts(),
              (Texts{"test.cnf:7: warning: events nested more than 64 deep; stopped"}));
}
