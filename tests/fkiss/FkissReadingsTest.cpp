// How the engine reads what real sets write and do, played in simulated time.
#include "FkissFixture.h"

#include <gtest/gtest.h>

namespace
{

using Texts = std::vector<std::string>;

/// A clock the test sets by hand.
struct HandClock : FkissClock
{
    std::int64_t NowMs() const override { return now; }
    std::int64_t now = 0;
};

class FkissReadingsTest : public FkissFixture
{
protected:
    /// A 100 × 100 set: a.cel #1 at 10,10, b.cel #2 at 50,50, ring.cel #3 at 80,80 only in
    /// set 1, then the code lines.
    void LoadCode(const std::vector<std::string>& code)
    {
        LoadWithCode({"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel", "#3 ring.cel :1",
                      "$0 * 10,10 50,50 80,80", "$1 * 10,10 50,50 80,80"},
                     code);
    }
    std::int32_t Var(std::string_view name) { return Engine().Variable(name); }
};

} // namespace

TEST_F(FkissReadingsTest, EveryEventReadsTheClockSoDelaysCountFromIt)
{
    LoadCode({";@keypress(\"k\") timer(1, 2000)", ";@press(#2) timer(2, 2000)",
              ";@alarm(1) unmap(#1)", ";@alarm(2) unmap(#2)"});
    HandClock clock;
    Engine().SetClock(&clock);
    // Idle for three seconds: no tick runs while nothing is pending.
    clock.now = 3000;
    Engine().KeyPress("k");
    clock.now = 3400;
    Engine().Press(CelOf("b.cel"), Point{50, 50});
    clock.now = 4999;
    Engine().Tick();
    EXPECT_TRUE(Shown("a.cel"));
    clock.now = 5000;
    Engine().Tick();
    EXPECT_FALSE(Shown("a.cel"));
    EXPECT_TRUE(Shown("b.cel"));
    clock.now = 5400;
    Engine().Tick();
    EXPECT_FALSE(Shown("b.cel"));
}

TEST_F(FkissReadingsTest, AnEventThatCannotBeReadRunsNoneOfItsActions)
{
    LoadCode({";@initialize() let(a, 1)", ";@set(#) let(b, 1)", ";@ let(c, 1)",
              ";@begin() let(d, 1) frob() let(e, 1)"});
    EXPECT_EQ(Var("a"), 1);
    EXPECT_EQ(Var("b"), 0);
    EXPECT_EQ(Var("c"), 0);
    EXPECT_EQ(Var("d"), 1);
    EXPECT_EQ(Var("e"), 1);
}

TEST_F(FkissReadingsTest, GenericSetAndColFireAfterTheNumberedOnes)
{
    LoadCode({";@set(*) notify(\"any set\")", ";@set(1) notify(\"set 1\")",
              ";@col(*) notify(\"any col\")", ";@col(1) notify(\"col 1\")",
              ";@press(#1) changeset(1)", ";@release(#1) changecol(0)"});
    EXPECT_EQ(host.texts, (Texts{"any set", "any col"}));
    host.texts.clear();
    Engine().Press(CelOf("a.cel"), Point{10, 10});
    Engine().Release(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(host.texts, (Texts{"set 1", "any set", "col 1", "any col", "any col"}));
}

TEST_F(FkissReadingsTest, IfsWithoutEndifEndWhereTheNextIfBegins)
{
    struct Case
    {
        int a;
        Texts expected;
    };
    for (const Case& c : {Case{1, {"one", "after"}}, Case{2, {"not one", "two", "after"}},
                          Case{3, {"not one", "after"}}})
    {
        host.texts.clear();
        LoadCode({";@begin() let(a, " + std::to_string(c.a) + ")",
                  ";@ ifequal(a, 1) notify(\"one\") else() notify(\"not one\")",
                  ";@ ifequal(a, 2) notify(\"two\")",
                  ";@ ifequal(a, 9) ifequal(a, 9) notify(\"nine\") endif() notify(\"after\")"});
        EXPECT_EQ(host.texts, c.expected) << c.a;
    }
    EXPECT_EQ(DiagnosticTexts(), (Texts{"test.cnf:10: warning: if without endif",
                                        "test.cnf:11: warning: if without endif",
                                        "test.cnf:12: warning: if without endif"}));
}

TEST_F(FkissReadingsTest, RestrictionsAreLiftedByAMinimumAboveTheMaximum)
{
    LoadCode({";@begin() restrictx(#1, 0, 20) restricty(#1, 5, 15) move(#1, 50, 50)",
              ";@press(#1) restrictx(#1, 1, 0) move(#1, 30, 30)"});
    EXPECT_EQ(PositionOf(1), (Point{20, 15}));
    Engine().Press(CelOf("a.cel"), Point{20, 15});
    EXPECT_EQ(PositionOf(1), (Point{50, 15}));
}

TEST_F(FkissReadingsTest, DetachedFiresWheneverAnObjectLeavesItsParent)
{
    LoadCode({";@begin() attach(#2, #1)", ";@detached(#2) notify(\"detached\")",
              ";@keypress(\"d\") detach(#2) detach(#2)", ";@keypress(\"a\") attach(#2, #1)",
              ";@keypress(\"g\") glue(#2, #1)", ";@keypress(\"o\") attach(#2, #3)"});
    Engine().KeyPress("d"); // the second detach finds no parent
    EXPECT_EQ(host.texts, (Texts{"detached"}));
    Engine().KeyPress("a");
    Engine().KeyPress("g"); // the same parent, only held tighter
    EXPECT_EQ(host.texts.size(), 1u);
    Engine().KeyPress("o");
    EXPECT_EQ(host.texts.size(), 2u);
    DragCel(CelOf("b.cel"), 1, 1);
    EXPECT_EQ(host.texts.size(), 3u);
}

TEST_F(FkissReadingsTest, MovesByTheCodeStayOnThePlayFieldAsDragsDo)
{
    LoadCode({";@keypress(\"r\") move(#1, 500, 500) movebyx(#2, #1, 100)",
              ";@keypress(\"l\") moveto(#1, -50, -60) moverandy(#2, -900, -900)",
              ";@begin() attach(#3, #1)"});
    Engine().KeyPress("r");
    // 100 wide, 4 wide, and a drag stops a pixel short of the edge.
    EXPECT_EQ(PositionOf(1), (Point{95, 95}));
    EXPECT_EQ(PositionOf(2), (Point{95, 50}));
    EXPECT_EQ(PositionOf(3), (Point{165, 165})); // what hangs from it follows as it is
    Engine().KeyPress("l");
    EXPECT_EQ(PositionOf(1), (Point{0, 0}));
    EXPECT_EQ(PositionOf(2), (Point{95, 0}));
}

TEST_F(FkissReadingsTest, MovesInInitializeFireNoCollisions)
{
    LoadCode({";@initialize() moveto(#1, 50, 50)", ";@in(#1, #2) notify(\"in\")",
              ";@out(#1, #2) notify(\"out\")", ";@begin() moveto(#1, 10, 10)"});
    EXPECT_EQ(host.texts, (Texts{"out"}));
}

TEST_F(FkissReadingsTest, ClosingRunsEndAndTheTimersItSetsButNoMoreOfTheUser)
{
    LoadCode({";@begin() timer(9, 100)", ";@alarm(9) notify(\"old timer\")",
              ";@end() notify(\"bye\") timer(1, 1000)", ";@alarm(1) notify(\"gone\")",
              ";@press(#1) notify(\"press\")", ";@keypress(\"q\") quit()"});
    Engine().BeginClose();
    EXPECT_TRUE(Engine().IsClosing());
    EXPECT_EQ(host.texts, (Texts{"bye"}));
    Engine().Press(CelOf("a.cel"), Point{10, 10});
    EXPECT_FALSE(Engine().KeyPress("q"));
    Engine().RunFor(999);
    EXPECT_EQ(host.texts, (Texts{"bye"}));
    Engine().RunFor(1);
    EXPECT_EQ(host.texts, (Texts{"bye", "gone"}));
    EXPECT_FALSE(Engine().HasPendingTimers());
    Engine().Stop(); // end() has run already
    EXPECT_EQ(host.texts.size(), 2u);
    EXPECT_EQ(host.closes, 0);
}

TEST_F(FkissReadingsTest, QuitClosesAndASecondQuitWhileClosingEndsEverything)
{
    LoadCode({";@keypress(\"q\") quit() notify(\"after quit\")",
              ";@end() notify(\"bye\") timer(1, 10)", ";@alarm(1) notify(\"again\") quit()",
              ";@ timer(1, 10)"});
    Engine().KeyPress("q");
    EXPECT_EQ(host.texts, (Texts{"bye"}));
    EXPECT_EQ(host.closes, 1);
    EXPECT_TRUE(Engine().QuitRequested());
    Engine().RunFor(100);
    EXPECT_EQ(host.texts, (Texts{"bye", "again"}));
    EXPECT_EQ(host.closes, 2);
    EXPECT_FALSE(Engine().HasPendingTimers());
}

TEST_F(FkissReadingsTest, TheMappedFamilyTakesObjectsByTheirCelsInTheCurrentSet)
{
    LoadCode({";@begin() unmap(\"a.cel\")",
              ";@press(#2) letmapped(one, #1) letmapped(two, #2) letmapped(three, #3)",
              ";@ letmapped(ring, \"ring.cel\") ifmapped(#2, 1, 10) ifnotmapped(#3, 2, 10)",
              ";@ ifmapped(#1, 3, 10)", ";@alarm(1) notify(\"1\")", ";@alarm(2) notify(\"2\")",
              ";@alarm(3) notify(\"3\")"});
    Engine().Press(CelOf("b.cel"), Point{50, 50});
    EXPECT_EQ(Var("one"), 0);
    EXPECT_EQ(Var("two"), 1);
    EXPECT_EQ(Var("three"), 0); // mapped, but not in set 0
    EXPECT_EQ(Var("ring"), 1);
    Engine().RunFor(10);
    EXPECT_EQ(host.texts, (Texts{"1", "2"}));
}

TEST_F(FkissReadingsTest, MouseoutFiresOnEveryWayOfLeavingAndMouseinOnTheFirstLanding)
{
    LoadCode({";@mousein(#1) notify(\"in 1\")", ";@mouseout(#1) notify(\"out 1\")",
              ";@mousein(#2) notify(\"in 2\")", ";@mouseout(#2) notify(\"out 2\")"});
    Engine().MouseMoved(Point{11, 11}); // the motion that enters the window
    Engine().MouseMoved(Point{51, 51}); // one jump to another cel
    Engine().MouseLeft();
    Engine().MouseLeft();
    EXPECT_EQ(host.texts, (Texts{"in 1", "out 1", "in 2", "out 2"}));
}
