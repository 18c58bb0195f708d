#include "SessionFixtures.h"

#include "archive/ArchiveFileSource.h"
#include "session/SetPreload.h"
#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

ArchiveEntry EntryOf(const SmallSet& set, const std::string& file, const std::string& name)
{
    const std::string bytes = set.folder.Read(file);
    return ArchiveEntry{name, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

/// An archive of the small set's files with the configuration under each of configs.
std::string WriteArchive(const SmallSet& set, const std::vector<std::string>& configs)
{
    std::vector<ArchiveEntry> entries = {EntryOf(set, "P.KCF", "P.KCF"),
                                         EntryOf(set, "A.CEL", "A.CEL"),
                                         EntryOf(set, "B.CEL", "B.CEL")};
    for (const std::string& config : configs)
        entries.push_back(EntryOf(set, "SMALL.CNF", config));
    return set.folder.Write("SET.LZH", LzhArchive(entries));
}

} // namespace

TEST(SetPreloadTest, FolderSetIsHandedOverOnceAndOnlyForItsOwnPath)
{
    const SmallSet set({}, "GONE.CEL");
    {
        SetPreload preload(set.configPath);
        std::optional<LoadedSet> loaded = preload.Take(set.configPath);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_TRUE(loaded->loaded);
        EXPECT_EQ(loaded->layer.path, set.configPath);
        EXPECT_EQ(loaded->scene.PlacedCels().size(), 2u);
        // The load's problems wait in the scene for whoever adopts it.
        EXPECT_EQ(loaded->scene.LoadProblems().size(), 1u);
        EXPECT_FALSE(preload.Take(set.configPath).has_value());
    }
    {
        SetPreload preload(set.configPath);
        EXPECT_FALSE(preload.Take(set.folder.File("OTHER.CNF")).has_value());
        EXPECT_FALSE(preload.Take(set.configPath).has_value());
    }
}

TEST(SetPreloadTest, RelativePathResolvesAgainstTheFolderItWasGivenIn)
{
    const SmallSet set;
    std::filesystem::current_path(set.folder.Path());
    SetPreload preload("SMALL.CNF");
    std::optional<LoadedSet> loaded = preload.Take("SMALL.CNF");
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->layer.path, set.configPath);
}

TEST(SetPreloadTest, ArchivesLoadAheadOnlyWhenNoChoiceIsNeeded)
{
    const SmallSet one;
    const std::string single = WriteArchive(one, {"ONE.CNF"});
    {
        SetPreload preload(single);
        std::optional<LoadedSet> loaded = preload.Take(single);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(loaded->layer.member, "ONE.CNF");
        EXPECT_EQ(loaded->scene.PlacedCels().size(), 2u);
    }

    const SmallSet two;
    const std::string several = WriteArchive(two, {"ONE.CNF", "TWO.CNF"});
    {
        SetPreload preload(several);
        EXPECT_FALSE(preload.Take(several).has_value());
    }
    const std::string named = ArchiveMemberPath(several, "TWO.CNF");
    SetPreload preload(named);
    std::optional<LoadedSet> loaded = preload.Take(named);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->layer.member, "TWO.CNF");
    EXPECT_EQ(loaded->layer.ReopenPath(), named);
}

TEST(SetPreloadTest, WhatCannotOpenIsLeftToTheOrdinaryOpen)
{
    const SmallSet set;
    const std::string noConfiguration =
        set.folder.Write("NOCNF.LZH", LzhArchive({EntryOf(set, "A.CEL", "A.CEL")}));
    for (const std::string& path : {set.folder.File("NONE.CNF"), set.folder.Path(), noConfiguration,
                                    ArchiveMemberPath(noConfiguration, "NONE.CNF")})
    {
        SetPreload preload(path);
        EXPECT_FALSE(preload.Take(path).has_value()) << path;
    }
    // Never taken: the thread is joined on the way out.
    SetPreload untaken(set.configPath);
}
