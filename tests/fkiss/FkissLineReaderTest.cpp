#include "fkiss/FkissLineReader.h"

#include "i18n/ProblemText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct ReadLine
{
    std::vector<FkissLineReader::Command> commands;
    std::vector<std::string> problems;
};

ReadLine Read(std::string_view text)
{
    ReadLine out;
    std::vector<FkissDiagnostic> diagnostics;
    const std::string file = "a.cnf";
    FkissLineReader reader(text, 4, file, diagnostics);
    while (auto command = reader.Next())
        out.commands.push_back(std::move(*command));
    for (const FkissDiagnostic& d : diagnostics)
        out.problems.push_back(LocatedText(d));
    return out;
}

} // namespace

TEST(FkissLineReaderTest, ReadsEveryKindOfArgument)
{
    const ReadLine line =
        Read(" Map(#3) MOVE( \"Shirt.CEL\" ,-4,+5 ) set(*) ghost(!Arms, Count) nop ; comment");
    ASSERT_TRUE(line.problems.empty());
    ASSERT_EQ(line.commands.size(), 5u);
    EXPECT_EQ(line.commands[0].name, "map");
    EXPECT_EQ(line.commands[0].args[0].kind, FkissArg::Kind::Object);
    EXPECT_EQ(line.commands[0].args[0].number, 3);
    const auto& move = line.commands[1].args;
    ASSERT_EQ(move.size(), 3u);
    EXPECT_EQ(move[0].kind, FkissArg::Kind::Cel);
    EXPECT_EQ(move[0].text, "Shirt.CEL"); // strings keep their bytes
    EXPECT_EQ(move[1].number, -4);
    EXPECT_EQ(move[2].number, 5);
    EXPECT_EQ(line.commands[2].args[0].kind, FkissArg::Kind::Any);
    EXPECT_EQ(line.commands[3].args[0].kind, FkissArg::Kind::Group);
    EXPECT_EQ(line.commands[3].args[0].text, "arms");
    EXPECT_EQ(line.commands[3].args[1].kind, FkissArg::Kind::Variable);
    EXPECT_EQ(line.commands[3].args[1].text, "count");
    EXPECT_TRUE(line.commands[4].args.empty());
}

TEST(FkissLineReaderTest, NumbersHoldThirtyTwoBitsExactly)
{
    const ReadLine line = Read("let(a, 2147483647) let(b, -2147483648) let(c, 2147483648)");
    ASSERT_EQ(line.commands.size(), 3u);
    EXPECT_EQ(line.commands[0].args[1].number, 2147483647);
    EXPECT_EQ(line.commands[1].args[1].number, -2147483647 - 1);
    EXPECT_TRUE(line.commands[2].broken);
    EXPECT_EQ(line.problems, (std::vector<std::string>{"a.cnf:4: warning: let: bad number"}));
}

TEST(FkissLineReaderTest, ABadArgumentSpoilsItsCommandABadLineTheRest)
{
    const ReadLine names = Read("map(!) map(#x) unmap(#1)");
    ASSERT_EQ(names.commands.size(), 3u);
    EXPECT_TRUE(names.commands[0].broken);
    EXPECT_TRUE(names.commands[1].broken);
    EXPECT_FALSE(names.commands[2].broken);
    EXPECT_EQ(names.problems.size(), 2u);

    const ReadLine toolong = Read("let(abcdefghijabcdefghijabcdefghijabc, 1) nop()");
    ASSERT_EQ(toolong.commands.size(), 2u);
    EXPECT_TRUE(toolong.commands[0].broken);

    const ReadLine string = Read("notify(\"open) map(#1)");
    EXPECT_EQ(string.commands.size(), 1u);
    EXPECT_EQ(string.problems,
              (std::vector<std::string>{"a.cnf:4: warning: notify: unterminated string"}));

    const ReadLine stray = Read("map(#1) 9 unmap(#1)");
    EXPECT_EQ(stray.commands.size(), 1u);
    EXPECT_EQ(stray.problems,
              (std::vector<std::string>{"a.cnf:4: warning: unexpected character '9'"}));
}
