#include "scene/Scene.h"

#include "scene/FileSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace
{

struct RealSet
{
    const char* folder;
    const char* config;
};

constexpr RealSet kRealSets[] = {
    {"lina", "lina.cnf"}, {"lucca1r", "lucca.cnf"}, {"sk_kimux", "kiss.cnf"}};

std::string RealSetPath(const RealSet& set)
{
    return std::string(VELQUIN_KISS_SETS_DIR) + "/" + set.folder + "/" + set.config;
}

/// Pixels of the composed screen that differ from the background colour.
std::size_t DrawnPixels(const ScreenBuffer& buffer)
{
    std::size_t drawn = 0;
    for (std::int32_t y = 0; y < buffer.Height(); ++y)
    {
        const std::uint8_t* row = buffer.ScreenRow(y);
        for (std::int32_t x = 0; x < buffer.Width(); ++x)
        {
            const std::uint8_t* pixel = row + 4 * x;
            drawn += !std::equal(pixel, pixel + 3, buffer.BackgroundColour());
        }
    }
    return drawn;
}

} // namespace

TEST(SceneRealSetsTest, EverySetOfTheRealSetsLoadsAndDrawsWithoutMessages)
{
    if (!std::filesystem::exists(VELQUIN_KISS_SETS_DIR))
        GTEST_SKIP() << "no real sets at " << VELQUIN_KISS_SETS_DIR;
    for (const RealSet& real : kRealSets)
    {
        SCOPED_TRACE(real.folder);
        Scene scene;
        ASSERT_TRUE(scene.LoadScene(RealSetPath(real)));
        EXPECT_EQ(scene.LoadProblems().size(), 0u);
        EXPECT_EQ(scene.PlacedCels().size(), scene.Config()->CelLines().size());

        // Lina dresses sets 0 to 5 only; the others are empty.
        ScreenBuffer buffer;
        int dressedSets = 0;
        for (int set = 0; set < kSetCount; ++set)
        {
            scene.SelectSet(set, 0);
            scene.ApplyToBuffer(buffer, true, set == 0);
            scene.DrawDirty(buffer);
            dressedSets += DrawnPixels(buffer) > 1000u;
        }
        EXPECT_GE(dressedSets, 6);

        // Saving and loading again keeps every position.
        std::ostringstream saved;
        scene.SaveScene(saved);
        const auto before = scene.WorkingSetLines().size();
        std::vector<std::map<std::int32_t, SetLine::Position>> positions;
        for (const auto& line : scene.WorkingSetLines())
            positions.push_back(line->Positions());
        FolderFileSource files(FolderOf(RealSetPath(real)));
        scene.LoadSceneFromBytes(saved.str(), files);
        ASSERT_EQ(scene.WorkingSetLines().size(), before);
        for (std::size_t i = 0; i < before; ++i)
            EXPECT_EQ(scene.WorkingSetLines()[i]->Positions(), positions[i]) << "set " << i;
    }
}
