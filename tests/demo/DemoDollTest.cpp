#include "DemoDoll.h"
#include "config/ConfigFile.h"
#include "i18n/ProblemText.h"
#include "image/Cel.h"
#include "image/PaletteFile.h"
#include "scene/Scene.h"
#include "support/FakeFileSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string_view>

namespace
{
class DemoDollTest : public ::testing::Test
{
protected:
    DemoDollTest()
    {
        for (const DemoFile& file : m_files)
            m_byName[file.name] = &file.bytes;
    }

    std::string_view Text(const std::string& name) const
    {
        const auto& bytes = *m_byName.at(name);
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }
    Cel LoadCel(const std::string& name) const
    {
        Cel cel;
        cel.Load(*m_byName.at(name));
        return cel;
    }
    PaletteFile LoadPalette(const std::string& name) const
    {
        PaletteFile palette;
        palette.Load(*m_byName.at(name));
        return palette;
    }

    const std::vector<DemoFile> m_files = MakeDemoDoll();
    std::map<std::string, const std::vector<std::uint8_t>*> m_byName;
};
} // namespace

TEST_F(DemoDollTest, IsTheSameOnEveryRun)
{
    const std::vector<DemoFile> again = MakeDemoDoll();
    ASSERT_EQ(again.size(), m_files.size());
    for (std::size_t i = 0; i < again.size(); ++i)
    {
        EXPECT_EQ(again[i].name, m_files[i].name);
        EXPECT_EQ(again[i].bytes, m_files[i].bytes) << again[i].name;
    }
}

TEST_F(DemoDollTest, ConfigurationNamesEveryFileWithCrLfLines)
{
    ASSERT_EQ(m_files.front().name, "DEMO.CNF");
    const std::string_view text = Text("DEMO.CNF");
    ASSERT_TRUE(text.ends_with("\r\n"));
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', at + 1))
        EXPECT_EQ(text[at - 1], '\r') << "bare line feed at " << at;

    const ConfigFile config(text);
    ASSERT_NE(config.WindowSize(), nullptr);
    EXPECT_EQ(config.WindowSize()->Width(), 448);
    EXPECT_EQ(config.WindowSize()->Height(), 320);
    EXPECT_EQ(config.SetLines().size(), 10u);
    ASSERT_EQ(config.PaletteLines().size(), 2u);
    std::set<std::string> named;
    for (const PaletteLine* line : config.PaletteLines())
        named.insert(line->PaletteFileName());
    for (const CelLine* line : config.CelLines())
    {
        named.insert(line->CelFileName());
        EXPECT_LT(line->PaletteNumber(), 2);
    }
    std::set<std::string> written;
    for (const DemoFile& file : m_files)
        written.insert(file.name);
    written.erase("DEMO.CNF");
    EXPECT_EQ(named, written);
}

TEST_F(DemoDollTest, PalettesHoldTwoColouringsAndStayWithinOneMergedTable)
{
    const PaletteFile body = LoadPalette("BODY.KCF");
    const PaletteFile cloth = LoadPalette("CLOTH.KCF");
    ASSERT_TRUE(body.IsOk());
    ASSERT_TRUE(cloth.IsOk());
    EXPECT_EQ(body.BitsPerColour(), 24);
    EXPECT_EQ(cloth.BitsPerColour(), 12);
    EXPECT_EQ(body.ColoursPerGroup(), 16);
    EXPECT_EQ(cloth.ColoursPerGroup(), 256);
    EXPECT_EQ(body.GroupCount(), 2u);
    EXPECT_EQ(cloth.GroupCount(), 2u);
    for (int group = 0; group < 2; ++group)
    {
        std::set<std::uint32_t> distinct;
        for (const PaletteFile* palette : {&body, &cloth})
            for (const PaletteColour& c : palette->Group(group))
                distinct.insert(std::uint32_t{c.red} << 16 | c.green << 8 | c.blue);
        EXPECT_LE(distinct.size(), 256u);
    }
    EXPECT_NE(body.Group(0)[0], body.Group(1)[0]) << "the background follows the colouring";
}

TEST_F(DemoDollTest, CelsLoadInEveryFormatAndStayOnTheScreenInEverySet)
{
    const ConfigFile config(Text("DEMO.CNF"));
    std::set<int> bitsSeen;
    bool partlyTransparent = false;
    bool translucentAlpha = false;
    for (const CelLine* line : config.CelLines())
    {
        const Cel cel = LoadCel(line->CelFileName());
        ASSERT_TRUE(cel.IsOk()) << line->CelFileName();
        bitsSeen.insert(cel.fileBitsPerPixel);
        partlyTransparent |= cel.opacity < 256 || line->Transparency() >= 0;
        const auto& pixels = *cel.pixels;
        if (cel.depth == 32)
            for (std::size_t i = 3; i < pixels.size(); i += 4)
                translucentAlpha |= pixels[i] > 0 && pixels[i] < 255;
        else
            EXPECT_LT(*std::ranges::max_element(pixels), cel.fileBitsPerPixel == 4 ? 16 : 256);

        for (int set = 0; set < 10; ++set)
        {
            const SetLine& positions = *config.SetLines()[static_cast<std::size_t>(set)];
            const int object = line->ObjectNumber();
            ASSERT_TRUE(positions.Positions().contains(object)) << "set " << set;
            const int left = positions.GetX(object) + cel.xOffset;
            const int top = positions.GetY(object) + cel.yOffset;
            EXPECT_GE(left, 0) << line->CelFileName() << " in set " << set;
            EXPECT_GE(top, 0) << line->CelFileName() << " in set " << set;
            EXPECT_LE(left + cel.width, 448) << line->CelFileName() << " in set " << set;
            EXPECT_LE(top + cel.height, 320) << line->CelFileName() << " in set " << set;
        }
    }
    EXPECT_EQ(bitsSeen, (std::set<int>{4, 8, 32}));
    EXPECT_TRUE(partlyTransparent);
    EXPECT_TRUE(translucentAlpha);
}

TEST_F(DemoDollTest, SceneLoadsItWithoutMessagesAndSwitchesColourings)
{
    FakeFileSource files;
    for (const DemoFile& file : m_files)
        files.Add(file.name, file.bytes);
    Scene scene;
    scene.LoadSceneFromBytes(Text("DEMO.CNF"), files);
    EXPECT_TRUE(scene.LoadProblems().empty())
        << ProblemLines(scene.LoadProblems(), ProblemForm::Sentence);
    ASSERT_EQ(scene.PlacedCels().size(), 9u);
    EXPECT_EQ(scene.ScreenSize(), (Point{448, 320}));
    // Entry 0 is the background: the first palette's colour 0 of the current group.
    EXPECT_EQ(scene.Colours().entries[0], (PaletteColour{214, 232, 242, 0}));

    const auto visibleCount = [&]
    { return std::ranges::count_if(scene.PlacedCels(), [](const auto& c) { return c->visible; }); };
    EXPECT_EQ(visibleCount(), 9);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 0);
    scene.SelectSet(2, 0);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 1);
    EXPECT_EQ(visibleCount(), 8) << "no glasses in set 2";
    EXPECT_EQ(scene.Colours().entries[0], (PaletteColour{246, 226, 232, 0}));
}
