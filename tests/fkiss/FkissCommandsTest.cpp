#include "fkiss/FkissCommands.h"

#include "i18n/ProblemText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

FkissArg Number(std::int32_t n)
{
    return FkissArg{FkissArg::Kind::Number, n, {}};
}

FkissArg Named(FkissArg::Kind kind, std::string text)
{
    return FkissArg{kind, 0, std::move(text)};
}

std::vector<std::string> Check(std::string_view name, const std::vector<FkissArg>& args)
{
    const FkissCommand* command = FindFkissCommand(name);
    EXPECT_NE(command, nullptr) << name;
    std::vector<FkissDiagnostic> diagnostics;
    const bool ok = command && CheckFkissArgs(*command, args, 3, "c.cnf", diagnostics);
    std::vector<std::string> texts;
    for (const FkissDiagnostic& d : diagnostics)
        texts.push_back(ProblemSentence(d));
    EXPECT_EQ(ok, texts.empty());
    return texts;
}

using Texts = std::vector<std::string>;
using Kind = FkissArg::Kind;

} // namespace

TEST(FkissCommandsTest, EveryEventIsACommandAndNamesItself)
{
    for (const FkissOp event : kFkissEvents)
    {
        const std::string_view name = FkissOpName(event);
        const FkissCommand* command = FindFkissCommand(name);
        ASSERT_NE(command, nullptr) << name;
        EXPECT_EQ(command->op, event);
    }
    EXPECT_FALSE(IsFkissEvent(FkissOp::Map));
    EXPECT_EQ(FindFkissCommand("nothing")->op, FkissOp::Nop);
    EXPECT_EQ(FindFkissCommand("Map"), nullptr); // names arrive in lower case
    EXPECT_EQ(FindFkissCommand("shell"), nullptr);
}

TEST(FkissCommandsTest, ArgumentsAreCountedAndTyped)
{
    EXPECT_TRUE(
        Check("move", {Named(Kind::Cel, "a.cel"), Number(1), Named(Kind::Variable, "x")}).empty());
    EXPECT_EQ(Check("move", {Number(1)}), (Texts{"move: expected 3 arguments, found 1"}));
    EXPECT_EQ(Check("let", {Number(1), Number(2)}), (Texts{"let: argument 1 must be a variable"}));
    EXPECT_EQ(Check("setframe", {Named(Kind::Object, ""), Number(1)}),
              (Texts{"setframe: argument 1 must be a cel or group"}));
    EXPECT_EQ(Check("set", {Number(1)}), Texts{});
    EXPECT_EQ(Check("set", {Named(Kind::Any, "")}), Texts{});
    EXPECT_EQ(Check("map", {Named(Kind::Any, "")}),
              (Texts{"map: argument 1 must be an object or cel"}));
    EXPECT_EQ(Check("keypress", {Number(3)}), (Texts{"keypress: argument 1 must be a string"}));
    // music's file may be left out; nothing else may.
    EXPECT_EQ(Check("music", {}), Texts{});
    EXPECT_EQ(Check("sound", {}), (Texts{"sound: expected 1 arguments, found 0"}));
}
