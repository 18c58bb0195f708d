#include "fkiss/IfBlocks.h"

#include "i18n/ProblemText.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace
{

/// A handler whose action i is on line i + 1.
FkissHandler Handler(std::initializer_list<FkissOp> ops)
{
    FkissHandler handler;
    for (const FkissOp op : ops)
        handler.actions.push_back(
            FkissAction{op, {}, static_cast<int>(handler.actions.size()) + 1, -1, -1});
    return handler;
}

std::vector<std::string> Link(FkissHandler& handler)
{
    std::vector<FkissDiagnostic> diagnostics;
    LinkIfBlocks(handler, "b.cnf", diagnostics);
    std::vector<std::string> texts;
    for (const FkissDiagnostic& d : diagnostics)
        texts.push_back(std::to_string(d.line) + " " + ProblemSentence(d));
    return texts;
}

using Op = FkissOp;

} // namespace

TEST(IfBlocksTest, EachClauseJumpsToTheNextAndEndsPastTheEndif)
{
    FkissHandler h = Handler({Op::IfEqual, Op::Nop, Op::ElseIfLessThan, Op::Nop,
                              Op::ElseIfGreaterThan, Op::Else, Op::Nop, Op::EndIf, Op::Nop});
    EXPECT_TRUE(Link(h).empty());
    const auto& a = h.actions;
    EXPECT_EQ(a[0].jump, 2);
    EXPECT_EQ(a[2].jump, 4);
    EXPECT_EQ(a[4].jump, 5);
    EXPECT_EQ(a[5].jump, -1); // else has nowhere to fail to
    for (const int clause : {0, 2, 4, 5})
        EXPECT_EQ(a[static_cast<std::size_t>(clause)].end, 8);
}

TEST(IfBlocksTest, InnerBlocksCloseFirst)
{
    FkissHandler h =
        Handler({Op::IfEqual, Op::IfNotEqual, Op::Nop, Op::EndIf, Op::Else, Op::EndIf});
    EXPECT_TRUE(Link(h).empty());
    EXPECT_EQ(h.actions[1].jump, 4);
    EXPECT_EQ(h.actions[1].end, 4);
    EXPECT_EQ(h.actions[0].jump, 4);
    EXPECT_EQ(h.actions[0].end, 6);
    EXPECT_EQ(h.actions[4].end, 6);
}

TEST(IfBlocksTest, UnclosedIfsEndAtTheNextIfAndStrayClausesBecomeNops)
{
    FkissHandler h = Handler(
        {Op::EndIf, Op::IfEqual, Op::Nop, Op::Else, Op::Else, Op::IfLessThan, Op::Nop, Op::EndIf});
    EXPECT_EQ(Link(h), (std::vector<std::string>{"1 endif without if", "2 if without endif",
                                                 "5 else without if"}));
    const auto& a = h.actions;
    EXPECT_EQ(a[0].op, Op::Nop);
    EXPECT_EQ(a[1].jump, 3);
    EXPECT_EQ(a[1].end, 5);
    EXPECT_EQ(a[3].end, 5);
    EXPECT_EQ(a[4].op, Op::Nop); // a second else
    EXPECT_EQ(a[5].jump, 8);
    EXPECT_EQ(a[5].end, 8);
}
