#include "cli/CommandLine.h"

#include "../scene/PngRead.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace
{

const char* const kRealSetConfigs[] = {"lina/lina.cnf", "lucca1r/lucca.cnf", "sk_kimux/kiss.cnf"};

int Export(const std::string& config, const std::string& out, int set, const char* mode)
{
    std::string args[] = {"velquin",           "--export",      out,  "--set",
                          std::to_string(set), "--colour-mode", mode, config};
    char* argv[std::size(args)];
    for (std::size_t i = 0; i < std::size(args); ++i)
        argv[i] = args[i].data();
    return RunCommandLineTool(static_cast<int>(std::size(args)), argv).value_or(-1);
}

} // namespace

TEST(ExportRealSetsTest, EverySetOfTheRealSetsExportsWithoutMessages)
{
    if (!std::filesystem::exists(VELQUIN_KISS_SETS_DIR))
        GTEST_SKIP() << "no real sets at " << VELQUIN_KISS_SETS_DIR;
    TempDir dir;
    for (const char* relative : kRealSetConfigs)
    {
        const std::string config = std::string(VELQUIN_KISS_SETS_DIR) + "/" + relative;
        std::set<std::vector<std::uint8_t>> distinct;
        for (int set = 0; set < 10; ++set)
        {
            SCOPED_TRACE(std::string(relative) + " set " + std::to_string(set));
            const std::string out = dir.File("set" + std::to_string(set) + ".png");
            testing::internal::CaptureStderr();
            EXPECT_EQ(Export(config, out, set, "full"), 0);
            EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
            const auto picture = ReadPng(out);
            ASSERT_TRUE(picture);
            EXPECT_GE(picture->width, 400u);
            distinct.insert(picture->rgb);
        }
        // The sets are dressed differently.
        EXPECT_GE(distinct.size(), 5u) << relative;

        const std::string indexed = dir.File("indexed.png");
        EXPECT_EQ(Export(config, indexed, 0, "256"), 0);
        EXPECT_TRUE(ReadPng(indexed));
    }
}
