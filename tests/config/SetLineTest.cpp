#include "config/SetLine.h"

#include "config/ConfigFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace
{

std::string Written(SetLine& line)
{
    std::ostringstream out;
    line.Write(out);
    return out.str();
}

std::string WrittenModified(SetLine line)
{
    line.SetModified(true);
    return Written(line);
}

using Position = SetLine::Position;

} // namespace

TEST(SetLineTest, DefaultLineHasNoPositionsAndWritesBackTheSame)
{
    const SetLine line("$0 *");
    EXPECT_EQ(line.PaletteGroup(), 0);
    EXPECT_TRUE(line.Positions().empty());
    EXPECT_EQ(line.CommentText(), "");
    EXPECT_EQ(WrittenModified(line), "$0 *\r\n");

    EXPECT_TRUE(SetLine("$").Positions().empty());
    EXPECT_EQ(SetLine("$abc").PaletteGroup(), 0);
}

TEST(SetLineTest, SeparatorsBetweenAndInsidePairsAreAlike)
{
    const SetLine line("$3 10,20 30 40, 50 ,60\t70,,80");
    EXPECT_EQ(line.PaletteGroup(), 3);
    const std::map<std::int32_t, Position> expected{
        {0, {10, 20}}, {1, {30, 40}}, {2, {50, 60}}, {3, {70, 80}}};
    EXPECT_EQ(line.Positions(), expected);
}

TEST(SetLineTest, ZeroPairIsTheSameAsStar)
{
    const SetLine line("$1 0,0 5,6 * 7,0");
    const std::map<std::int32_t, Position> expected{{1, {5, 6}}, {3, {7, 0}}};
    EXPECT_EQ(line.Positions(), expected);
    EXPECT_EQ(line.GetX(0), 0);
    EXPECT_EQ(line.GetY(2), 0);
    EXPECT_EQ(WrittenModified(line), "$1 * 5,6 * 7,0\r\n");
}

TEST(SetLineTest, PairMissingItsSecondNumber)
{
    const SetLine beforeStar("$0 5 * 7,8");
    const std::map<std::int32_t, Position> lostStar{{0, {5, 7}}, {1, {8, 0}}};
    EXPECT_EQ(beforeStar.Positions(), lostStar);

    const SetLine beforeComment("$0 5 ;c 9,9");
    const std::map<std::int32_t, Position> single{{0, {5, 0}}};
    EXPECT_EQ(beforeComment.Positions(), single);
    EXPECT_EQ(beforeComment.CommentText(), ";c 9,9");
}

TEST(SetLineTest, SetPositionAddsReplacesAndRemoves)
{
    SetLine line("$0 *");
    line.SetPosition(2, 3, 4);
    line.SetPosition(5, 1, 1);
    line.SetPosition(2, 8, 9);
    line.SetPosition(5, 0, 0);
    EXPECT_EQ(line.GetX(2), 8);
    EXPECT_EQ(line.GetY(2), 9);
    EXPECT_EQ(line.Positions().count(5), 0u);
    EXPECT_EQ(WrittenModified(line), "$0 * * 8,9\r\n");
}

TEST(SetLineTest, ModifiedLineIsRegeneratedWithTheCommentAppended)
{
    SetLine line("$2   1,2   ;note *");
    EXPECT_EQ(line.CommentText(), ";note *");
    EXPECT_EQ(Written(line), "$2   1,2   ;note *\r\n");
    line.SetPaletteGroup(7);
    EXPECT_EQ(WrittenModified(line), "$7 1,2;note *\r\n");
}

TEST(SetLineTest, CopiesKeepTheSerialNumber)
{
    const SetLine original("$4 1,2");
    SetLine copy(original);
    EXPECT_EQ(copy.Serial(), original.Serial());
    SetLine other("$0 *");
    EXPECT_NE(other.Serial(), original.Serial());
    other = original;
    EXPECT_EQ(other.Serial(), original.Serial());
    EXPECT_EQ(other.PaletteGroup(), 4);
    EXPECT_EQ(other.LineText(), "$4 1,2");
}

TEST(SetLineTest, NegativePositionsReadBackAsWritten)
{
    SetLine line("$0 *");
    line.SetPosition(0, -12, 5);
    line.SetPosition(1, 3, -7);
    line.SetPosition(2, -2147483647 - 1, 2147483647);
    const std::string text = WrittenModified(line);
    EXPECT_EQ(text, "$0 -12,5 3,-7 -2147483648,2147483647\r\n");

    const SetLine back(text.substr(0, text.size() - 2));
    EXPECT_EQ(back.Positions(), line.Positions());
}

TEST(SetLineTest, MinusSignOutsideACoordinateIsSkipped)
{
    const SetLine line("$-2 1 - 2 -*3,4");
    EXPECT_EQ(line.PaletteGroup(), 2);
    const std::map<std::int32_t, Position> expected{{0, {1, 2}}, {2, {3, 4}}};
    EXPECT_EQ(line.Positions(), expected);
    EXPECT_EQ(SetLine("$0 99999999999,1").GetX(0), 2147483647);
}

TEST(SetLineTest, LongLineBreaksBeforeColumn67AndReadsBack)
{
    SetLine line("$0 *");
    for (std::int32_t object = 0; object < 20; ++object)
        line.SetPosition(object, 100, 100);
    std::string first = "$0";
    std::string second;
    std::string third;
    for (int i = 0; i < 9; ++i)
    {
        first += " 100,100";
        second += " 100,100";
    }
    third = " 100,100 100,100";
    EXPECT_EQ(WrittenModified(line), first + "\r\n" + second + "\r\n" + third + "\r\n");

    const ConfigFile file(WrittenModified(line));
    ASSERT_EQ(file.Records().size(), 1u);
    ASSERT_EQ(file.SetLines().size(), 1u);
    EXPECT_EQ(file.SetLines()[0]->Positions(), line.Positions());
}

TEST(SetLineTest, ObjectsAfterTheLastPositionAreNotWritten)
{
    SetLine line("$0 1,1 * * *");
    EXPECT_EQ(WrittenModified(line), "$0 1,1\r\n");
    line.SetPosition(0, 0, 0);
    EXPECT_EQ(WrittenModified(line), "$0 *\r\n");
}
