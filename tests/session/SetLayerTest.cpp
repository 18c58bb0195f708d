#include "session/SetLayer.h"

#include "archive/ArchiveFileSource.h"
#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace
{

/// Chooses the configuration at index and notes what it was offered; -1 chooses none.
struct RecordingChooser
{
    int index = 0;
    std::vector<std::string> offered;
    int calls = 0;

    ChooseConfiguration Function()
    {
        return [this](const Archive&, const std::vector<std::string>& configs) {
            ++calls;
            offered = configs;
            return index < 0 ? std::nullopt : std::optional<std::string>(configs.at(index));
        };
    }
};

std::string Text(const std::optional<std::vector<std::uint8_t>>& bytes)
{
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

} // namespace

TEST(SetLayerTest, AConfigurationIsTakenWholeAndItsFolderGivesTheFiles)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("set"));
    dir.Write("set/KISS.CNF", "#0 a.cel\r\n");
    dir.Write("set/a.cel", "cel");
    RecordingChooser chooser;
    // Relative and with detours: kept whole and plain, so a later change of directory is safe.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const OpenOutcome outcome = OpenSetLayer("set/../set/./KISS.CNF", chooser.Function());
    std::filesystem::current_path(previous);

    ASSERT_TRUE(outcome.layer);
    EXPECT_EQ(outcome.failure, OpenFailure::None);
    const SetLayer& layer = *outcome.layer;
    EXPECT_EQ(layer.path, dir.File("set/KISS.CNF"));
    EXPECT_EQ(layer.ConfigName(), "KISS.CNF");
    EXPECT_EQ(layer.ReopenPath(), layer.path);
    EXPECT_EQ(Text(layer.files->Read("a.cel")), "cel");
    EXPECT_EQ(chooser.calls, 0);
}

TEST(SetLayerTest, WhatCannotBeReadSaysWhyAndNamesThePathAsGiven)
{
    TempDir dir;
    RecordingChooser chooser;
    OpenOutcome missing = OpenSetLayer(dir.File("GONE.CNF"), chooser.Function());
    EXPECT_FALSE(missing.layer);
    EXPECT_EQ(missing.failure, OpenFailure::Unreadable);
    EXPECT_EQ(missing.systemError, ENOENT);
    EXPECT_EQ(missing.file, dir.File("GONE.CNF"));

    std::filesystem::create_directory(dir.File("FOLDER.CNF"));
    const OpenOutcome folder = OpenSetLayer(dir.File("FOLDER.CNF"), chooser.Function());
    EXPECT_EQ(folder.failure, OpenFailure::Unreadable);
    EXPECT_EQ(folder.systemError, EISDIR);

    dir.Write("JUNK.LZH", "not an archive at all");
    const OpenOutcome junk = OpenSetLayer(dir.File("JUNK.LZH"), chooser.Function());
    EXPECT_EQ(junk.failure, OpenFailure::ArchiveUnreadable);
    EXPECT_EQ(junk.archiveError, ArchiveError::NotAnArchive);
    EXPECT_EQ(chooser.calls, 0);
}

TEST(SetLayerTest, AnArchiveAsksForItsConfigurationUnlessThePathNamesIt)
{
    TempDir dir;
    const std::string archive = dir.File("TWO.LZH");
    WriteFileBytes(archive, LzhArchive({{"one/A.CNF", Bytes("#0 x.cel\r\n")},
                                        {"one/x.cel", Bytes("from one")},
                                        {"two/B.CNF", Bytes("#0 x.cel\r\n")},
                                        {"two/x.cel", Bytes("from two")}}));
    RecordingChooser chooser;
    chooser.index = 1;
    const OpenOutcome chosen = OpenSetLayer(archive, chooser.Function());
    ASSERT_TRUE(chosen.layer);
    EXPECT_EQ(chooser.offered, (std::vector<std::string>{"one/A.CNF", "two/B.CNF"}));
    EXPECT_EQ(chosen.layer->member, "two/B.CNF");
    EXPECT_EQ(chosen.layer->ConfigName(), "B.CNF");
    EXPECT_EQ(Text(chosen.layer->files->Read("x.cel")), "from two");
    EXPECT_EQ(chosen.layer->MemberBytes(), "#0 x.cel\r\n");

    // The path to open it again names the member, and asks nothing.
    const OpenOutcome again = OpenSetLayer(chosen.layer->ReopenPath(), chooser.Function());
    ASSERT_TRUE(again.layer);
    EXPECT_EQ(again.layer->member, "two/B.CNF");
    EXPECT_EQ(chooser.calls, 1);

    chooser.index = -1;
    EXPECT_EQ(OpenSetLayer(archive, chooser.Function()).failure, OpenFailure::NotChosen);
    const OpenOutcome gone = OpenSetLayer(ArchiveMemberPath(archive, "three/C.CNF"),
                                          chooser.Function());
    EXPECT_EQ(gone.failure, OpenFailure::NoSuchMember);
    EXPECT_EQ(gone.member, "three/C.CNF");
    EXPECT_EQ(gone.file, archive);
}

TEST(SetLayerTest, AnArchiveWithoutAConfigurationNeverAsks)
{
    TempDir dir;
    const std::string archive = dir.File("NONE.ZIP");
    WriteFileBytes(archive, ZipArchive({{"x.cel", Bytes("cel")}}));
    RecordingChooser chooser;
    EXPECT_EQ(OpenSetLayer(archive, chooser.Function()).failure, OpenFailure::NoConfiguration);
    EXPECT_EQ(chooser.calls, 0);
}
