#include "config/ConfigFile.h"

#include "support/ConfigText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

namespace
{

std::string WrittenAll(const ConfigFile& file)
{
    std::ostringstream out;
    file.WriteAll(out);
    return out.str();
}

std::vector<std::string> LineTexts(const ConfigFile& file)
{
    std::vector<std::string> texts;
    for (const auto& record : file.Records())
        texts.push_back(record->LineText());
    return texts;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(ConfigFileTest, EmptyInputGivesNothing)
{
    const ConfigFile file("");
    EXPECT_TRUE(file.Records().empty());
    EXPECT_TRUE(file.CelLines().empty());
    EXPECT_TRUE(file.PaletteLines().empty());
    EXPECT_TRUE(file.SetLines().empty());
    EXPECT_EQ(file.WindowSize(), nullptr);
    EXPECT_EQ(file.Border(), nullptr);
    EXPECT_EQ(WrittenAll(file), "");
}

TEST(ConfigFileTest, LineEndsFollowTextModeRules)
{
    EXPECT_EQ(LineTexts(ConfigFile("a\r\nb")), (Lines{"a", "b"}));
    EXPECT_EQ(LineTexts(ConfigFile("a\r\nb\r\n")), (Lines{"a", "b"}));
    EXPECT_EQ(LineTexts(ConfigFile("a\nb\n\n")), (Lines{"a", "b", ""}));
    EXPECT_EQ(LineTexts(ConfigFile("a\rb\r\nx\r\r\ny\r")), (Lines{"a\rb", "x\r", "y\r"}));
    EXPECT_EQ(LineTexts(ConfigFile("a\r\n\x1A b\r\n")), (Lines{"a"}));
    EXPECT_EQ(LineTexts(ConfigFile("a\x1A\r\n")), (Lines{"a"}));
    EXPECT_EQ(LineTexts(ConfigFile(std::string_view("a\0b\n", 4))),
              (Lines{std::string("a\0b", 3)}));

    const ConfigFile mixed("a\rb\nx\r\r\n\r\n");
    EXPECT_EQ(WrittenAll(mixed), "a\rb\r\nx\r\r\n\r\n");
}

TEST(ConfigFileTest, DispatchesOnTheFirstCharacterIntoTheTypedLists)
{
    const ConfigFile file(
        ConfigText({"%a.kcf", "(400,300)", "(10,10)", "=512", "[3", "[4", "#1 one.cel", "$0 1,1",
                    "#2 two.cel", "", "\tcomment", "#3 three.cel", "$1 *", "x"}));
    ASSERT_EQ(file.Records().size(), 14u);
    ASSERT_EQ(file.CelLines().size(), 3u);
    EXPECT_EQ(file.CelLines()[0]->CelFileName(), "three.cel");
    EXPECT_EQ(file.CelLines()[2]->CelFileName(), "one.cel");
    EXPECT_EQ(file.Records()[6].get(), file.CelLines()[2]);
    ASSERT_EQ(file.PaletteLines().size(), 1u);
    EXPECT_EQ(file.PaletteLines()[0]->PaletteFileName(), "a.kcf");
    ASSERT_EQ(file.SetLines().size(), 2u);
    EXPECT_EQ(file.SetLines()[1]->PaletteGroup(), 1);
    ASSERT_NE(file.WindowSize(), nullptr);
    EXPECT_EQ(file.WindowSize()->Width(), 400);
    ASSERT_NE(file.Border(), nullptr);
    EXPECT_EQ(file.Border()->ColourIndex(), 3);
    EXPECT_NE(dynamic_cast<const MemoryLine*>(file.Records()[3].get()), nullptr);
    EXPECT_EQ(file.Records()[9]->CommentText(), "");
    EXPECT_EQ(file.Records()[10]->CommentText(), "\tcomment");
    EXPECT_EQ(typeid(*file.Records()[13]), typeid(ConfigRecord));
}

TEST(ConfigFileTest, SpaceLinesContinueOnlyASetLine)
{
    const std::string text =
        ConfigText({"$0 1,2", " 3,4", "  5,6", "\t7,8", " 9,9", "$1 *", " ;c"});
    const ConfigFile file(text);
    EXPECT_EQ(LineTexts(file), (Lines{"$0 1,2  3,4   5,6", "\t7,8", " 9,9", "$1 *  ;c"}));
    ASSERT_EQ(file.SetLines().size(), 2u);
    EXPECT_EQ(file.SetLines()[0]->Positions().size(), 3u);
    EXPECT_EQ(file.SetLines()[1]->CommentText(), ";c");
    EXPECT_EQ(WrittenAll(file), text);

    EXPECT_EQ(LineTexts(ConfigFile("$0 1,2")), (Lines{"$0 1,2"}));
    EXPECT_EQ(LineTexts(ConfigFile("$0 1,2\n 3,4")), (Lines{"$0 1,2  3,4"}));
    EXPECT_EQ(LineTexts(ConfigFile("$0 1,2\n 3,4\n 5,6")), (Lines{"$0 1,2  3,4  5,6"}));
    EXPECT_EQ(LineTexts(ConfigFile("\n 3,4\n")), (Lines{"", " 3,4"}));
}

TEST(ConfigFileTest, LongLinesAreReadWholeAndWrittenBackUnchanged)
{
    const std::string longCel = "#1 a.cel ;" + std::string(600, 'x') + "%t64";
    std::string longSet = "$0";
    for (int i = 0; i < 100; ++i)
        longSet += " 12,34";
    const std::string text = ConfigText({longCel, std::string(499, ';'), longSet});
    const ConfigFile file(text);
    ASSERT_EQ(file.Records().size(), 3u);
    EXPECT_EQ(file.CelLines()[0]->Transparency(), 192);
    EXPECT_EQ(file.SetLines()[0]->Positions().size(), 100u);
    EXPECT_EQ(WrittenAll(file), text);
}

TEST(ConfigFileTest, SerialNumbersGrowAcrossLoads)
{
    const std::string text = ConfigText({"#1 a.cel", "$0 *"});
    const ConfigFile first(text);
    const ConfigFile second(text);
    EXPECT_LT(first.Records()[0]->Serial(), first.Records()[1]->Serial());
    EXPECT_LT(first.Records()[1]->Serial(), second.Records()[0]->Serial());
}

TEST(ConfigFileTest, MergeRewritesSetLinesInPlaceAndAppendsTheRest)
{
    ConfigFile file(ConfigText({";head", "$0 1,1 ;first", "#1 a.cel", ";tail"}));
    std::vector<std::unique_ptr<SetLine>> sets;
    for (int n = 0; n < 10; ++n)
    {
        auto set = std::make_unique<SetLine>(n == 0 ? *file.SetLines()[0] : SetLine("$0 *"));
        set->SetPosition(1, n, -n);
        sets.push_back(std::move(set));
    }
    const std::int32_t serial = file.SetLines()[0]->Serial();
    file.MergeSetLines(sets);

    ASSERT_EQ(file.SetLines().size(), 10u);
    ASSERT_EQ(file.Records().size(), 13u);
    EXPECT_EQ(file.SetLines()[0]->Serial(), serial);
    EXPECT_TRUE(file.SetLines()[9]->IsModified());
    EXPECT_EQ(file.Records()[12].get(), file.SetLines()[9]);

    std::string expected = ConfigText({";head", "$0 1,1;first", "#1 a.cel", ";tail"});
    for (int n = 1; n < 10; ++n)
        expected += "$0 * " + std::to_string(n) + ",-" + std::to_string(n) + "\r\n";
    EXPECT_EQ(WrittenAll(file), expected);

    const ConfigFile back(WrittenAll(file));
    ASSERT_EQ(back.SetLines().size(), 10u);
    for (std::size_t n = 0; n < 10; ++n)
        EXPECT_EQ(back.SetLines()[n]->Positions(), sets[n]->Positions()) << n;
}

TEST(ConfigFileTest, MergeLeavesFileSetLinesBeyondTheGivenOnes)
{
    ConfigFile file(ConfigText({"$0 1,1", "$1   2,2", " 3,3"}));
    std::vector<std::unique_ptr<SetLine>> sets;
    sets.push_back(std::make_unique<SetLine>("$5 *"));
    file.MergeSetLines(sets);
    EXPECT_FALSE(file.SetLines()[1]->IsModified());
    EXPECT_EQ(WrittenAll(file), ConfigText({"$5 *", "$1   2,2", " 3,3"}));
}

TEST(ConfigFileTest, FromPathReadsFilesAndRefusesWhatCannotBeRead)
{
    const TempDir dir;
    const std::string path = dir.Write("set.cnf", ConfigText({"%a.kcf", "#1 a.cel"}));
    const auto file = ConfigFile::FromPath(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Records().size(), 2u);

    EXPECT_EQ(ConfigFile::FromPath(dir.File("missing.cnf")), nullptr);
    EXPECT_EQ(ConfigFile::FromPath(dir.Path()), nullptr);
}
