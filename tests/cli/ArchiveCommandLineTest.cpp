#include "cli/CommandLine.h"

#include "../scene/PngRead.h"
#include "../scene/SceneFixtures.h"
#include "support/ArchiveBytes.h"
#include "support/ConfigText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace
{

int RunTool(std::vector<std::string> args)
{
    args.insert(args.begin(), "velquin");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return RunCommandLineTool(static_cast<int>(args.size()), argv.data()).value_or(-1);
}

/// Two configurations over one palette and cel: the top one shows the cel at 3,4, the one in
/// a folder (whose files lie at the top) at 0,0.
class ArchiveCommandLineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const auto palette = Palette24({{Rgb(0, 0, 64), Rgb(255, 0, 0)}});
        const auto cel = SolidCel(2, 2, 1);
        const std::string top = ConfigText({"(8,6)", "%p.kcf", "#1 c.cel", "$0 * 3,4"});
        const std::string inner = ConfigText({"(8,6)", "%P.KCF", "#1 C.CEL", "$0 * 0,0"});
        twoConfigs = dir.Write("two.lzh", LzhArchive({{"kiss.cnf", Bytes(top)},
                                                      {"extra/Other.CNF", Bytes(inner)},
                                                      {"p.kcf", palette},
                                                      {"c.cel", cel}}));
        oneConfig = dir.Write(
            "one.zip",
            ZipArchive({{"set/kiss.cnf", Bytes(top)}, {"set/p.kcf", palette}, {"set/c.cel", cel}}));
    }

    TempDir dir;
    std::string twoConfigs;
    std::string oneConfig;
};

} // namespace

TEST_F(ArchiveCommandLineTest, ListsTheConfigurationsOfAnArchive)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunTool({"--list", twoConfigs}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "extra/Other.CNF\nkiss.cnf\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--list", dir.Write("bad.zip", std::string("PK\x03\x04 broken"))}), 1);
    EXPECT_EQ(RunTool({"--list", dir.File("none.lzh")}), 1);
    EXPECT_EQ(RunTool({"--list", twoConfigs, "--export", "x.png"}), 2);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("cannot read " + dir.File("bad.zip")), std::string::npos);
    EXPECT_NE(errors.find("cannot open " + dir.File("none.lzh")), std::string::npos);
}

TEST_F(ArchiveCommandLineTest, ExportsTheChosenOrOnlyConfiguration)
{
    const std::string out = dir.File("out.png");
    struct Case
    {
        std::string archive;
        std::string cnf;
        std::uint32_t atOrigin;
        std::uint32_t at34;
    };
    const Case cases[] = {
        {oneConfig, "", 0x000040u, 0xFF0000u},
        {twoConfigs, "KISS.CNF", 0x000040u, 0xFF0000u},
        {twoConfigs, "other.cnf", 0xFF0000u, 0x000040u},
        {twoConfigs, "EXTRA/other.cnf", 0xFF0000u, 0x000040u},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.archive + " " + c.cnf);
        std::vector<std::string> args{"--export", out};
        if (!c.cnf.empty())
            args.insert(args.end(), {"--cnf", c.cnf});
        args.push_back(c.archive);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunTool(args), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        const auto picture = ReadPng(out);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->At(0, 0), c.atOrigin);
        EXPECT_EQ(picture->At(3, 4), c.at34);
    }

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export", out, twoConfigs}), 2);
    EXPECT_EQ(RunTool({"--export", out, "--cnf", "third.cnf", twoConfigs}), 2);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("  extra/Other.CNF\n  kiss.cnf\n"), std::string::npos);
    EXPECT_NE(errors.find("third.cnf"), std::string::npos);
}
