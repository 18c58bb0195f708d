#include "cli/CommandLine.h"

#include "../scene/PngRead.h"
#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{

int Export(const std::string& set, const std::string& out, int number, const char* mode)
{
    std::string args[] = {"velquin",       "--export", out, "--set", std::to_string(number),
                          "--colour-mode", mode,       set};
    char* argv[std::size(args)];
    for (std::size_t i = 0; i < std::size(args); ++i)
        argv[i] = args[i].data();
    return RunCommandLineTool(static_cast<int>(std::size(args)), argv).value_or(-1);
}

} // namespace

TEST(ArchiveRealSetsTest, ArchivesExportTheSamePicturesAsTheirFolders)
{
    if (!std::filesystem::exists(VELQUIN_KISS_SETS_DIR))
        GTEST_SKIP() << "no real sets at " << VELQUIN_KISS_SETS_DIR;
    const std::string root = VELQUIN_KISS_SETS_DIR;
    const struct
    {
        const char* archive;
        const char* config;
    } sets[] = {{"lina", "lina/lina.cnf"},
                {"lucca1r", "lucca1r/lucca.cnf"},
                {"sk_kimux", "sk_kimux/kiss.cnf"}};
    TempDir dir;
    for (const auto& set : sets)
    {
        for (const char* mode : {"full", "256"})
        {
            for (int number = 0; number < 10; ++number)
            {
                SCOPED_TRACE(std::string(set.archive) + " " + mode + " set " +
                             std::to_string(number));
                testing::internal::CaptureStderr();
                ASSERT_EQ(Export(root + "/archives/" + set.archive + ".lzh", dir.File("a.png"),
                                 number, mode),
                          0);
                ASSERT_EQ(Export(root + "/" + set.config, dir.File("f.png"), number, mode), 0);
                EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
                const auto fromArchive = ReadPng(dir.File("a.png"));
                const auto fromFolder = ReadPng(dir.File("f.png"));
                ASSERT_TRUE(fromArchive && fromFolder);
                EXPECT_EQ(fromArchive->width, fromFolder->width);
                EXPECT_TRUE(fromArchive->rgb == fromFolder->rgb);
            }
        }
    }
}

TEST(ArchiveRealSetsTest, FolderMarkedRepacksExportTheSamePicturesAsTheirFolders)
{
    if (!std::filesystem::exists(VELQUIN_KISS_SETS_DIR))
        GTEST_SKIP() << "no real sets at " << VELQUIN_KISS_SETS_DIR;
    const std::string root = VELQUIN_KISS_SETS_DIR;
    TempDir dir;
    for (const char* config : {"lina/lina.cnf", "lucca1r/lucca.cnf", "sk_kimux/kiss.cnf"})
    {
        // Every file as a member marked "-lhd-", every other name ending in a backslash, as
        // set editors that write such archives do.
        const std::filesystem::path folder =
            std::filesystem::path(root + "/" + config).parent_path();
        std::vector<ArchiveEntry> entries;
        for (const auto& file : std::filesystem::directory_iterator(folder))
        {
            std::ifstream in(file.path(), std::ios::binary);
            entries.push_back(
                {file.path().filename().string() + (entries.size() % 2 == 1 ? "\\" : ""),
                 {std::istreambuf_iterator<char>(in), {}}});
        }
        const std::string packed = dir.Write("set.lzh", LzhArchive(entries, {1, "-lhd-", 0x20}));
        for (const char* mode : {"full", "256"})
        {
            for (int number = 0; number < 10; ++number)
            {
                SCOPED_TRACE(std::string(config) + " " + mode + " set " + std::to_string(number));
                testing::internal::CaptureStderr();
                ASSERT_EQ(Export(packed, dir.File("a.png"), number, mode), 0);
                ASSERT_EQ(Export(root + "/" + config, dir.File("f.png"), number, mode), 0);
                EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
                const auto fromArchive = ReadPng(dir.File("a.png"));
                const auto fromFolder = ReadPng(dir.File("f.png"));
                ASSERT_TRUE(fromArchive && fromFolder);
                EXPECT_TRUE(fromArchive->rgb == fromFolder->rgb);
            }
        }
    }
}
