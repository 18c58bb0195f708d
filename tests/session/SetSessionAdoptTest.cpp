#include "SessionFixtures.h"

#include "i18n/ProblemText.h"
#include "scene/SceneFixtures.h"
#include "session/SetSession.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{

/// Each batch of problems reported, as the box would word it.
struct RecordingSink : ProblemSink
{
    void Report(std::span<const Problem> problems) override
    {
        shown.push_back(ProblemBox(problems));
    }
    std::vector<std::string> shown;
};

struct HandClock : FkissClock
{
    std::int64_t NowMs() const override { return now; }
    std::int64_t now = 0;
};

SetLayer LayerOf(const std::string& path)
{
    OpenOutcome outcome = OpenSetLayer(path, nullptr);
    EXPECT_TRUE(outcome.layer.has_value()) << path;
    return outcome.layer.value_or(SetLayer{});
}

bool Mapped(const Scene& scene, std::int32_t object)
{
    for (const auto& cel : scene.PlacedCels())
    {
        if (cel->objectNumber == object)
            return cel->mapped;
    }
    ADD_FAILURE() << "no object " << object;
    return false;
}

std::vector<std::uint8_t> Picture(SetSession& session)
{
    session.AfterOpen();
    ScreenBuffer& screen = session.Screen();
    session.GetScene().DrawAll(screen);
    std::vector<std::uint8_t> pixels;
    for (std::int32_t y = 0; y < screen.Height(); ++y)
    {
        const std::uint8_t* row = screen.ScreenRow(y);
        pixels.insert(pixels.end(), row, row + screen.RowSize());
    }
    return pixels;
}

} // namespace

TEST(SetSessionAdoptTest, AdoptedSetPlaysAsAnOpenedOneAndReportsItsProblemsOnce)
{
    const SmallSet set({"begin() unmap(#2)"}, "GONE.CEL");
    RecordingSink openedProblems;
    RecordingSink adoptedProblems;
    SetSession opened({Presentation::Headless, nullptr}, &openedProblems, nullptr);
    SetSession adopted({Presentation::Headless, nullptr}, &adoptedProblems, nullptr);

    ASSERT_TRUE(opened.Open(LayerOf(set.configPath)));
    LoadedSet loaded = LoadSet(LayerOf(set.configPath));
    // Loading reports nothing and runs no code: both wait for the session.
    EXPECT_TRUE(loaded.loaded);
    EXPECT_TRUE(Mapped(loaded.scene, 2));
    EXPECT_EQ(loaded.scene.LoadProblems().size(), 1u);
    ASSERT_TRUE(adopted.Adopt(std::move(loaded)));

    EXPECT_EQ(adoptedProblems.shown, openedProblems.shown);
    ASSERT_EQ(adoptedProblems.shown.size(), 1u);
    EXPECT_NE(adoptedProblems.shown[0].find("GONE.CEL"), std::string::npos);
    EXPECT_FALSE(Mapped(adopted.GetScene(), 2));
    EXPECT_EQ(adopted.GetScene().Log().Entries(), opened.GetScene().Log().Entries());
    EXPECT_EQ(adopted.Base().ReopenPath(), set.configPath);
    EXPECT_NE(adopted.Files(), nullptr);
    EXPECT_NE(adopted.Engine(), nullptr);
    EXPECT_EQ(Picture(adopted), Picture(opened));
}

TEST(SetSessionAdoptTest, UnreadableConfigurationAdoptsAsAFailedOpen)
{
    const SmallSet set;
    SetLayer layer = LayerOf(set.configPath);
    std::remove(set.configPath.c_str());
    SetSession session({Presentation::Headless, nullptr}, nullptr, nullptr);
    LoadedSet loaded = LoadSet(layer);
    EXPECT_FALSE(loaded.loaded);
    EXPECT_FALSE(session.Adopt(std::move(loaded)));
    EXPECT_FALSE(session.GetScene().IsLoaded());
    EXPECT_EQ(session.Engine(), nullptr);
}

TEST(SetSessionAdoptTest, CodeStartsOnTheSessionClockWhenAdoptedNotWhenLoaded)
{
    const SmallSet set({"begin() timer(1, 100)", "alarm(1) unmap(#1)"});
    HandClock clock;
    clock.now = 1000;
    LoadedSet loaded = LoadSet(LayerOf(set.configPath));

    SetSession session({Presentation::Headless, &clock}, nullptr, nullptr);
    clock.now = 5000;
    session.Adopt(std::move(loaded));
    ASSERT_NE(session.Engine(), nullptr);
    clock.now = 5099;
    session.Tick();
    EXPECT_TRUE(Mapped(session.GetScene(), 1));
    clock.now = 5100;
    session.Tick();
    EXPECT_FALSE(Mapped(session.GetScene(), 1));
}

TEST(SetSessionAdoptTest, AdoptingReplacesThePlayingSetAndItsCodeAndRaisesTheLogRevision)
{
    const SmallSet first({"begin() timer(1, 10)", "alarm(1) unmap(#1)"}, "GONE.CEL");
    const SmallSet second;
    HandClock clock;
    SetSession session({Presentation::Headless, &clock}, nullptr, nullptr);
    session.SetFkiss(FkissSwitch::On);
    ASSERT_TRUE(session.Open(LayerOf(first.configPath)));
    ASSERT_NE(session.Engine(), nullptr);
    const std::uint64_t revision = session.GetScene().Log().Revision();

    // A set loaded with fewer messages than the log had seen must still read as a change.
    session.Adopt(LoadSet(LayerOf(second.configPath)));
    EXPECT_GT(session.GetScene().Log().Revision(), revision);
    EXPECT_TRUE(session.GetScene().Log().Entries().empty());
    EXPECT_EQ(session.Engine(), nullptr);
    EXPECT_EQ(session.Base().path, second.configPath);
    clock.now = 100;
    session.Tick();
    EXPECT_TRUE(Mapped(session.GetScene(), 1));
}

TEST(SetSessionAdoptTest, FkissSwitchedOffAdoptsWithoutCode)
{
    const SmallSet set({"begin() unmap(#1)"});
    SetSession session({Presentation::Headless, nullptr}, nullptr, nullptr);
    session.SetFkiss(FkissSwitch::Off);
    session.Adopt(LoadSet(LayerOf(set.configPath)));
    EXPECT_EQ(session.Engine(), nullptr);
    EXPECT_TRUE(Mapped(session.GetScene(), 1));
}
