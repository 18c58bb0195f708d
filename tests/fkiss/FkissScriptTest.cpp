#include "fkiss/FkissScript.h"

#include "i18n/ProblemText.h"
#include "support/ConfigText.h"

#include <gtest/gtest.h>

namespace
{

std::vector<std::string> Messages(const FkissScript& script)
{
    std::vector<std::string> texts;
    for (const FkissDiagnostic& diagnostic : script.diagnostics)
        texts.push_back(LocatedText(diagnostic));
    return texts;
}

} // namespace

TEST(FkissScriptTest, CodeStartsAfterTheEventHandlerLine)
{
    const FkissScript none = ParseFkiss(ConfigText({"#1 a.cel", ";@press(#1) map(#1)"}), "k.cnf");
    EXPECT_FALSE(none.hasCode);
    EXPECT_TRUE(none.handlers.empty());
    EXPECT_TRUE(none.diagnostics.empty());

    const FkissScript script =
        ParseFkiss(ConfigText({";@alarm(1) unknownbefore()", ";@ EVENTHANDLER()", "; @press(#1)",
                               ";@press(#1)"}),
                   "k.cnf");
    EXPECT_TRUE(script.hasCode);
    ASSERT_EQ(script.handlers.size(), 1u);
    EXPECT_EQ(script.handlers[0].line, 4);
    EXPECT_TRUE(script.diagnostics.empty());
}

TEST(FkissScriptTest, ReadsSeveralCommandsPerLineWithCommentsQuotesAndAnyCase)
{
    const FkissScript script =
        ParseFkiss(ConfigText({";@EventHandler",
                               ";@PRESS(\"Face.CEL\") Map( #3 ) UnMap(\"a;b.cel\") ; map(#9)",
                               ";@ moVe(#2, -4, +5) Sound(\"Beep.WAV\")", "#1 x.cel ;@not code",
                               ";@alarm(Ticker) let(Count, -2147483648)"}),
                   "k.cnf");
    ASSERT_EQ(script.handlers.size(), 2u);
    const FkissHandler& press = script.handlers[0];
    EXPECT_EQ(press.event, FkissOp::Press);
    EXPECT_EQ(press.args[0].kind, FkissArg::Kind::Cel);
    EXPECT_EQ(press.args[0].text, "Face.CEL");
    ASSERT_EQ(press.actions.size(), 4u);
    EXPECT_EQ(press.actions[0].op, FkissOp::Map);
    EXPECT_EQ(press.actions[0].args[0].kind, FkissArg::Kind::Object);
    EXPECT_EQ(press.actions[0].args[0].number, 3);
    EXPECT_EQ(press.actions[1].args[0].text, "a;b.cel");
    EXPECT_EQ(press.actions[2].op, FkissOp::Move);
    EXPECT_EQ(press.actions[2].args[1].number, -4);
    EXPECT_EQ(press.actions[2].args[2].number, 5);
    EXPECT_EQ(press.actions[2].line, 3);
    EXPECT_EQ(press.actions[3].args[0].text, "Beep.WAV");

    const FkissHandler& alarm = script.handlers[1];
    EXPECT_EQ(alarm.args[0].kind, FkissArg::Kind::Variable);
    EXPECT_EQ(alarm.args[0].text, "ticker");
    EXPECT_EQ(alarm.actions[0].args[0].text, "count");
    EXPECT_EQ(alarm.actions[0].args[1].number, -2147483647 - 1);
    EXPECT_TRUE(script.diagnostics.empty());
}

TEST(FkissScriptTest, ReportsWhatItCannotUseWithItsLineAndKeepsTheRest)
{
    const FkissScript script =
        ParseFkiss(ConfigText({
                       ";@EventHandler",
                       ";@map(#1)",                            // 2: before any event
                       ";@press(#1) frobnicate(#2) map(#2)",   // 3: unknown, then a good one
                       ";@ move(#1, 2) timer(1, 2, 3)",        // 4: too few, too many
                       ";@ map(5) let(3, 4)",                  // 5: wrong types
                       ";@ notify(\"open",                     // 6: unterminated string
                       ";@ map(#1",                            // 7: missing bracket
                       ";@ shell(\"rm\") let(x, 99999999999)", // 8: refused, number too big
                       ";@ else() endif()",                    // 9: no if open
                       ";@ ifequal(1, 1) map(#1)",             // 10: never closed
                       ";@ $%",                                // 11: not a command
                       ";@ press(4)", // 12: a bad event swallows its actions
                       ";@ map(#1)",
                   }),
                   "set.cnf");
    EXPECT_EQ(Messages(script),
              (std::vector<std::string>{
                  "set.cnf:2: warning: map: action before the first event",
                  "set.cnf:3: warning: unknown command frobnicate",
                  "set.cnf:4: warning: move: expected 3 arguments, found 2",
                  "set.cnf:4: warning: timer: expected 2 arguments, found 3",
                  "set.cnf:5: warning: map: argument 1 must be an object or cel",
                  "set.cnf:5: warning: let: argument 1 must be a variable",
                  "set.cnf:6: warning: notify: unterminated string",
                  "set.cnf:7: warning: map: missing ')'",
                  "set.cnf:8: warning: shell: running programs is refused",
                  "set.cnf:8: warning: let: bad number",
                  "set.cnf:9: warning: else without if",
                  "set.cnf:9: warning: endif without if",
                  "set.cnf:10: warning: if without endif",
                  "set.cnf:11: warning: unexpected character '$'",
                  "set.cnf:12: warning: press: argument 1 must be an object or cel",
              }));
    ASSERT_GE(script.handlers.size(), 1u);
    EXPECT_EQ(script.handlers[0].actions.size(), 5u); // map, else, endif, ifequal, map
    EXPECT_EQ(script.handlers[0].actions[0].op, FkissOp::Map);
    EXPECT_EQ(script.handlers.back().event, FkissOp::Never);
}

TEST(FkissScriptTest, LinksNestedIfElseIfElseBlocks)
{
    const FkissScript script =
        ParseFkiss(ConfigText({";@EventHandler", ";@begin()",
                               ";@ ifequal(a,1) ifequal(b,1) nop() endif()", // 0 1 2 3
                               ";@ elseifequal(a,2) nop()",                  // 4 5
                               ";@ else() nop() endif()"}),                  // 6 7 8
                   "k.cnf");
    ASSERT_TRUE(script.diagnostics.empty());
    const auto& actions = script.handlers[0].actions;
    ASSERT_EQ(actions.size(), 9u);
    EXPECT_EQ(actions[0].jump, 4);
    EXPECT_EQ(actions[1].jump, 4);
    EXPECT_EQ(actions[1].end, 4);
    EXPECT_EQ(actions[4].jump, 6);
    EXPECT_EQ(actions[4].end, 9);
    EXPECT_EQ(actions[6].end, 9);
}

TEST(FkissScriptTest, IfsWithoutEndifEndWhereTheNextIfBegins)
{
    const FkissScript script =
        ParseFkiss(ConfigText({";@EventHandler", ";@begin()",
                               ";@ ifequal(a,1) nop() else() nop()",          // 0 1 2 3: no endif
                               ";@ ifequal(b,1) ifequal(c,1) nop() endif()",  // 4 5 6 7: 4 has none
                               ";@ iflessthan(d,1) nop() elseifequal(d,2)"}), // 8 9 10: no endif
                   "k.cnf");
    EXPECT_EQ(Messages(script), (std::vector<std::string>{"k.cnf:3: warning: if without endif",
                                                          "k.cnf:4: warning: if without endif",
                                                          "k.cnf:5: warning: if without endif"}));
    const auto& actions = script.handlers[0].actions;
    ASSERT_EQ(actions.size(), 11u);
    EXPECT_EQ(actions[0].jump, 2);
    EXPECT_EQ(actions[0].end, 4);
    EXPECT_EQ(actions[2].end, 4);
    // The endif closes the innermost if; the one before it guards nothing.
    EXPECT_EQ(actions[4].jump, 5);
    EXPECT_EQ(actions[5].jump, 8);
    EXPECT_EQ(actions[8].jump, 10);
    EXPECT_EQ(actions[10].jump, 11);
    EXPECT_EQ(actions[10].end, 11);
}

TEST(FkissScriptTest, AnEventThatCannotBeReadSwallowsItsActions)
{
    const FkissScript script =
        ParseFkiss(ConfigText({";@EventHandler", ";@initialize() map(#1)",
                               ";@set(#) unmap(#1)",   // 3: unreadable argument
                               ";@ unmap(#2)",         // 4: still swallowed
                               ";@alarm(x y) map(#3)", // 5: two arguments
                               ";@press() map(#4)",    // 6: none
                               ";@ map(#5)",           // 7
                               ";@press(#1) frob(1) map(#6) map(*) map(#7)", // 8
                               ";@set(*) col( * ) nop()"}),
                   "k.cnf");
    EXPECT_EQ(Messages(script), (std::vector<std::string>{
                                    "k.cnf:3: warning: set: bad number",
                                    "k.cnf:5: warning: alarm: expected 1 arguments, found 2",
                                    "k.cnf:6: warning: press: expected 1 arguments, found 0",
                                    "k.cnf:8: warning: unknown command frob",
                                    "k.cnf:8: warning: map: argument 1 must be an object or cel"}));
    ASSERT_EQ(script.handlers.size(), 7u);
    EXPECT_EQ(script.handlers[0].actions.size(), 1u);
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(script.handlers[i].event, FkissOp::Never) << i;
    // An unknown word or a bad action spoils only itself.
    const auto& press = script.handlers[4].actions;
    ASSERT_EQ(press.size(), 2u);
    EXPECT_EQ(press[0].args[0].number, 6);
    EXPECT_EQ(press[1].args[0].number, 7);
    EXPECT_EQ(script.handlers[5].args[0].kind, FkissArg::Kind::Any);
    EXPECT_EQ(script.handlers[6].event, FkissOp::Col);
    EXPECT_EQ(script.handlers[6].args[0].kind, FkissArg::Kind::Any);
}
