#include "FkissFixture.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

namespace
{

using Texts = std::vector<std::string>;

class FkissScriptingTest : public FkissFixture
{
protected:
    /// Loads a 100 × 100 set of a.cel (#1 at 10,10) and b.cel (#2 at 50,50) with the code lines.
    void LoadCode(const std::vector<std::string>& code)
    {
        LoadWithCode({"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel", "$0 * 10,10 50,50",
                      "$1 * 10,10 50,50"},
                     code);
    }
    std::int32_t Var(std::string_view name) { return Engine().Variable(name); }
};

} // namespace

TEST_F(FkissScriptingTest, ArithmeticWrapsAndDivisionByZeroFiresOverflow)
{
    LoadCode({";@begin() add(a, 2147483647, 1) sub(b, -2147483648, 1) mul(c, 65536, 65536)",
              ";@ mul(d, -2147483648, -1) div(e, -7, 2) div(f, -2147483648, -1)",
              ";@ mod(g, -7, 3) mod(h, 7, -3) mod(i, -2147483648, -1) let(j, 9) div(j, 5, 0)",
              ";@ let(k, 9) mod(k, 5, 0) random(r, 5, 5) random(s, 3, 1)",
              ";@overflow() add(Overflows, OVERFLOWS, 1)"});
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::vector<std::pair<std::string, std::int32_t>> expected = {
        {"a", kMin}, {"b", kMax}, {"c", 0}, {"d", kMin}, {"e", -3}, {"f", kMin},     {"g", -1},
        {"h", 1},    {"i", 0},    {"j", 0}, {"k", 0},    {"r", 5},  {"overflows", 2}};
    for (const auto& [name, value] : expected)
        EXPECT_EQ(Var(name), value) << name;
    EXPECT_GE(Var("s"), 1);
    EXPECT_LE(Var("s"), 3);
}

TEST_F(FkissScriptingTest, NestedIfsTakeExactlyOneBranch)
{
    struct Case
    {
        int a;
        int b;
        int expected;
    };
    for (const Case c :
         {Case{1, 1, 11}, Case{1, 0, 10}, Case{2, 0, 2}, Case{-5, 0, -1}, Case{7, 0, 99}})
    {
        LoadCode(
            {";@begin() let(a, " + std::to_string(c.a) + ") let(b, " + std::to_string(c.b) + ")",
             ";@ ifequal(a, 1) ifequal(b, 1) let(r, 11) else() let(r, 10) endif()",
             ";@ elseifequal(a, 2) let(r, 2) elseiflessthan(a, 0) let(r, -1)",
             ";@ elseifgreaterthan(a, 100) let(r, 100) else() let(r, 99) endif()",
             ";@ ifnotequal(a, 1) add(r, r, 1000) endif() ifgreaterthan(a, 1) endif()"});
        EXPECT_EQ(Var("r"), c.expected + (c.a != 1 ? 1000 : 0)) << c.a << "," << c.b;
    }
}

TEST_F(FkissScriptingTest, GosubReturnsGotoDoesNotAndBothStopAtTheirLimits)
{
    LoadCode({";@begin() gosub(1) let(after, 1) gosub(Deep) goto(2) let(never, 1)",
              ";@label(1) add(calls, calls, 1)", ";@label(2) let(jumped, 1)",
              ";@label(deep) add(depth, depth, 1) gosub(deep)", ";@press(#1) goto(3)",
              ";@label(3) add(n, n, 1) goto(3)",
              ";@release(#1) let(alive, 1) exitevent() let(x, 1)"});
    EXPECT_EQ(Var("calls"), 1);
    EXPECT_EQ(Var("after"), 1);
    EXPECT_EQ(Var("depth"), FkissEngine::kMaxGosubDepth);
    // The gosub limit stops the whole event.
    EXPECT_EQ(Var("jumped"), 0);

    Engine().Press(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(Var("n"), FkissEngine::kMaxActionsPerEvent / 2);
    Engine().Release(CelOf("a.cel"), Point{10, 10});
    EXPECT_EQ(Var("alive"), 1);
    EXPECT_EQ(Var("x"), 0);
    EXPECT_EQ(DiagnosticTexts(),
              (Texts{"test.cnf:11: warning: gosub nested more than 64 deep; stopped",
                     "test.cnf:13: warning: more than 100000 actions in one event; stopped"}));
}

TEST_F(FkissScriptingTest, VariablesStandForNumbersObjectsAndAlarms)
{
    LoadCode({";@begin() let(obj, 1) let(step, 3) let(alarm, 2) let(set, 1) let(t, 56)",
              ";@ move(obj, step, step) unmap(obj) transparent(obj, t) timer(alarm, step)",
              ";@ letobjectx(x, obj) letobjecty(y, obj) changeset(set) lettimer(left, alarm)",
              ";@alarm(2) map(obj) gotorandom(100, 4, 5)", ";@label(4) let(went, 4)",
              ";@label(5) let(went, 5)"});
    EXPECT_EQ(Var("x"), 13);
    EXPECT_EQ(Var("y"), 13);
    EXPECT_EQ(scene.CurrentSet(), 1);
    EXPECT_EQ(Var("left"), 3);
    EXPECT_FALSE(Engine().IsMapped(CelOf("a.cel")));
    EXPECT_EQ(scene.PlacedCels()[static_cast<std::size_t>(CelOf("a.cel"))]->opacity, 200);
    Engine().RunFor(3);
    EXPECT_TRUE(Engine().IsMapped(CelOf("a.cel")));
    EXPECT_EQ(Var("went"), 4);
}

TEST_F(FkissScriptingTest, QueriesReadTheSceneState)
{
    LoadCode(
        {";@begin() ghost(#2, 1) setfix(#2, 4) transparent(\"b.cel\", 30)",
         ";@press(#1) letcatch(caught) letfix(fix, #2) letmapped(m, \"b.cel\")",
         ";@ letmousex(mx, 0) letmousey(my) letpal(pal) letset(set)",
         ";@ lettransparent(tr, #2) letinside(in, #1, #2) letcollide(co, \"a.cel\", \"b.cel\")",
         ";@ letwidth(w, #1) letheight(h, \"b.cel\") letinitx(ix, #2) letinity(iy, #2)"});
    EXPECT_EQ(DiagnosticTexts(),
              (Texts{"test.cnf:10: warning: letmousex: expected 1 arguments, found 2"}));
    EXPECT_EQ(scene.HitTest(Point{51, 51}).index, -1);
    Engine().Press(CelOf("a.cel"), Point{12, 13});
    const std::vector<std::pair<std::string, std::int32_t>> expected = {
        {"caught", 1}, {"fix", 4}, {"m", 1}, {"my", 13}, {"pal", 0}, {"set", 0}, {"tr", 30},
        {"in", 0},     {"co", 0},  {"w", 4}, {"h", 4},   {"ix", 50}, {"iy", 50}};
    for (const auto& [name, value] : expected)
        EXPECT_EQ(Var(name), value) << name;
}

TEST_F(FkissScriptingTest, AttachedObjectsFollowTheirParent)
{
    files.Add("c.cel", std::vector<std::uint8_t>(files.Read("a.cel").value()));
    Load({"(100,100)", "%p.kcf", "#1 a.cel", "#2 b.cel", "#3 c.cel", "$0 * 10,10 50,50 70,70",
          ";@EventHandler", ";@begin() attach(#2, #1) glue(#3, #2) attach(#1, #3)",
          ";@ letparent(p, #3) letchild(c, #1) letsibling(s, #2)", ";@press(#1) move(#1, 5, 0)",
          ";@detached(#2) notify(\"detached\")"});
    EXPECT_EQ(DiagnosticTexts(), (Texts{"test.cnf:8: warning: attach would make a loop"}));
    EXPECT_EQ(Engine().Variable("p"), 2);
    EXPECT_EQ(Engine().Variable("c"), 2);
    EXPECT_EQ(Engine().Variable("s"), -1);

    Engine().Press(CelOf("a.cel"), Point{10, 10}); // moves by FKiSS
    EXPECT_EQ(PositionOf(2), (Point{55, 50}));
    EXPECT_EQ(PositionOf(3), (Point{75, 70}));
    Engine().Drag(CelOf("a.cel"), 1, 1); // a drag takes the children along
    Engine().Release(CelOf("a.cel"), Point{11, 11});
    EXPECT_EQ(PositionOf(3), (Point{76, 71}));

    // Glued: the parent moves instead, and being only attached itself, it comes loose.
    DragCel(CelOf("c.cel"), 2, 0);
    EXPECT_EQ(PositionOf(2), (Point{58, 51}));
    EXPECT_EQ(PositionOf(3), (Point{78, 71}));
    EXPECT_EQ(host.texts, (Texts{"detached"}));
    DragCel(CelOf("a.cel"), 1, 0); // its press moves it by 5 more
    EXPECT_EQ(PositionOf(2), (Point{58, 51}));

    std::ostringstream saved;
    scene.SaveScene(saved);
    EXPECT_NE(saved.str().find("$0 * 22,11 58,51 78,71\r\n"), std::string::npos) << saved.str();
}

TEST_F(FkissScriptingTest, KeysFireTheirHandlersIgnoringCase)
{
    LoadCode({";@keypress(\"A\") letkey(k) letkeymap(km, \"xa\") map(#1)",
              ";@keyrelease(\"a\") unmap(#1) letkeymap(after, \"xa\")",
              ";@keypress(\"Up\") move(#2, 0, -1)", ";@begin() unmap(#1)"});
    EXPECT_TRUE(Engine().KeyPress("a"));
    EXPECT_TRUE(Engine().IsMapped(CelOf("a.cel")));
    EXPECT_EQ(Var("k"), 'a');
    EXPECT_EQ(Var("km"), 1);
    EXPECT_TRUE(Engine().KeyRelease("A"));
    EXPECT_FALSE(Engine().IsMapped(CelOf("a.cel")));
    EXPECT_EQ(Var("after"), -1);
    EXPECT_TRUE(Engine().KeyPress("UP"));
    EXPECT_EQ(PositionOf(2), (Point{50, 49}));
    EXPECT_FALSE(Engine().KeyPress("3"));
}

TEST_F(FkissScriptingTest, FramesMapOneFrameOfAGroupAndGroupsNameEventCels)
{
    files.Add("c.cel", std::vector<std::uint8_t>(files.Read("a.cel").value()));
    Load({"(100,100)", "%p.kcf", "#1 a.cel ;!Anim :0 2", "#1 b.cel ;!anim :1", "#2 c.cel ;!anim",
          "$0 * 10,10 50,50", ";@EventHandler", ";@begin() setframe(!anim, 1) letframe(f, !ANIM)",
          ";@press(!anim) setframe(!anim, 2) letframe(g, !anim)"});
    EXPECT_FALSE(Shown("a.cel"));
    EXPECT_TRUE(Shown("b.cel"));
    EXPECT_TRUE(Shown("c.cel")); // no frame list: not part of the animation
    EXPECT_EQ(Engine().Variable("f"), 1);
    Engine().Press(CelOf("c.cel"), Point{50, 50});
    EXPECT_TRUE(Shown("a.cel"));
    EXPECT_FALSE(Shown("b.cel"));
    EXPECT_EQ(Engine().Variable("g"), 2);
}

TEST_F(FkissScriptingTest, RestrictionsLimitMovesAndDrags)
{
    LoadCode({";@begin() restrictx(#1, 0, 20) restricty(#1, 5, 15) move(#1, 50, 50)",
              ";@mousein(#2) notify(\"in\")", ";@mouseout(#2) notify(\"out\")"});
    EXPECT_EQ(PositionOf(1), (Point{20, 15}));
    DragCel(CelOf("a.cel"), -100, -100);
    EXPECT_EQ(PositionOf(1), (Point{0, 5}));

    Engine().MouseMoved(Point{51, 51});
    Engine().MouseMoved(Point{52, 51});
    Engine().MouseMoved(Point{0, 0});
    EXPECT_EQ(host.texts, (Texts{"in", "out"}));
}
