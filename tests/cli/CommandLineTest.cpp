#include "cli/CommandLine.h"

#include "../scene/PngRead.h"
#include "../scene/SceneFixtures.h"
#include "support/ChildProcess.h"
#include "support/ConfigText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace
{

std::optional<int> RunTool(std::vector<std::string> args)
{
    args.insert(args.begin(), "velquin");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return RunCommandLineTool(static_cast<int>(args.size()), argv.data());
}

/// An 8 × 6 screen: background colour 0, a 2 × 2 cel of colour 1 at 3,4 in set 0 and at 0,0
/// in set 1, a missing cel, and two palette groups.
class CommandLineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir.Write("p.kcf",
                  Palette24({{Rgb(0, 0, 64), Rgb(255, 0, 0)}, {Rgb(0, 64, 0), Rgb(0, 0, 255)}}));
        dir.Write("c.cel", SolidCel(2, 2, 1));
        config = dir.Write("kiss.cnf", ConfigText({"(8,6)", "%p.kcf", "#1 c.cel", "#2 gone.cel",
                                                   "$0 * 3,4", "$0 *"}));
    }

    TempDir dir;
    std::string config;
};

} // namespace

TEST_F(CommandLineTest, LeavesTheWindowCommandLineAlone)
{
    EXPECT_EQ(RunTool({}), std::nullopt);
    EXPECT_EQ(RunTool({config}), std::nullopt);
    EXPECT_EQ(RunTool({"-"}), std::nullopt);
}

TEST_F(CommandLineTest, UnknownOptionsEndWithTheUsageInsteadOfOpeningTheWindow)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--bogus"}, {"-x", config}, {"--set", "3", config}})
    {
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunTool(args), 2) << args.front();
        const std::string text = testing::internal::GetCapturedStderr();
        EXPECT_NE(text.find("Usage: velquin [FILE.CNF]"), std::string::npos) << text;
    }
    testing::internal::CaptureStderr();
    RunTool({"--bogus"});
    EXPECT_NE(testing::internal::GetCapturedStderr().find("unknown option --bogus"),
              std::string::npos);
}

TEST_F(CommandLineTest, HelpListsTheOptionsAndTheWindowUsage)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunTool({"--help"}), 0);
    const std::string text = testing::internal::GetCapturedStdout();
    for (const char* part : {"velquin [FILE.CNF]", "--export OUT.png", "--set N",
                             "--palette-group G", "--colour-mode full|256", "--size N", "--help"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(CommandLineTest, WritesTheComposedScreenAndListsLoadMessages)
{
    std::filesystem::current_path(dir.Path()); // OUT is relative to the start directory
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export", "out.png", "kiss.cnf"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ファイル gone.cel を開けません。\n");

    const auto picture = ReadPng(dir.File("out.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 8u);
    EXPECT_EQ(picture->height, 6u);
    EXPECT_EQ(picture->At(0, 0), 0x000040u);
    EXPECT_EQ(picture->At(3, 4), 0xFF0000u);
    EXPECT_EQ(picture->At(4, 5), 0xFF0000u);
    EXPECT_EQ(picture->At(2, 4), 0x000040u);
    EXPECT_EQ(picture->At(7, 5), 0x000040u);
}

TEST_F(CommandLineTest, ChoosesSetPaletteGroupAndColourMode)
{
    const std::string out = dir.File("set1.png");
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export=" + out, "--set", "1", "--palette-group=1", "--colour-mode", "256",
                       config}),
              0);
    testing::internal::GetCapturedStderr();

    const auto picture = ReadPng(out);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->At(0, 0), 0x0000FFu);
    EXPECT_EQ(picture->At(1, 1), 0x0000FFu);
    EXPECT_EQ(picture->At(3, 4), 0x004000u);
}

TEST_F(CommandLineTest, SizeReducesThePictureToFitAndNeverEnlargesIt)
{
    const std::string out = dir.File("small.png");
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export", out, "--size", "4", config}), 0);
    const auto small = ReadPng(out);
    EXPECT_EQ(RunTool({"--export", out, "--size=100", config}), 0);
    const auto same = ReadPng(out);
    EXPECT_EQ(RunTool({"--export", out, "--size", "0", config}), 2);
    testing::internal::GetCapturedStderr();

    ASSERT_TRUE(small && same);
    EXPECT_EQ(small->width, 4u);
    EXPECT_EQ(small->height, 3u);
    // Half of this pixel's area is the red cel, half the dark blue background.
    EXPECT_EQ(small->At(1, 2), 0x800020u);
    EXPECT_EQ(small->At(0, 0), 0x000040u);
    EXPECT_EQ(same->width, 8u);
    EXPECT_EQ(same->height, 6u);
}

TEST_F(CommandLineTest, RejectsBadCommandLinesAndUnusableFiles)
{
    const std::string out = dir.File("out.png");
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export", out}), 2);
    EXPECT_EQ(RunTool({"--export", out, "--set", "10", config}), 2);
    EXPECT_EQ(RunTool({"--export", out, "--palette-group", "-1", config}), 2);
    EXPECT_EQ(RunTool({"--export", out, "--colour-mode", "16", config}), 2);
    EXPECT_EQ(RunTool({"--export", out, "--zoom", "2", config}), 2);
    EXPECT_EQ(RunTool({"--export", out, config, config}), 2);
    EXPECT_EQ(RunTool({config, "--export"}), 2);
    const std::string usage = testing::internal::GetCapturedStderr();
    EXPECT_NE(usage.find("--set takes a number from 0 to 9"), std::string::npos);
    EXPECT_NE(usage.find("unknown option --zoom"), std::string::npos);

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export", out, dir.File("none.cnf")}), 1);
    EXPECT_EQ(RunTool({"--export", dir.File("no/such/out.png"), config}), 1);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("cannot open " + dir.File("none.cnf")), std::string::npos);
    EXPECT_NE(errors.find("cannot write " + dir.File("no/such/out.png")), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CommandLineTest, PipesAndDevicesAreRefusedAsSetsAndArchives)
{
    const std::string pipe = dir.File("pipe.cnf");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, std::string("/dev/zero"), dir.Path()})
    {
        std::string errors;
        // A hang or an endless read is what went wrong before: the child ends itself instead.
        const int status = RunInChild(
            [&](std::ostream& out)
            {
                alarm(10);
                testing::internal::CaptureStderr();
                const auto result = RunTool({"--export", dir.File("out.png"), path});
                out << testing::internal::GetCapturedStderr();
                return result.value_or(-1);
            },
            &errors);
        EXPECT_EQ(status, 1) << path;
        EXPECT_NE(errors.find("velquin: cannot open " + path + ": "), std::string::npos) << errors;
    }
    const std::string packed = dir.File("pipe.zip");
    ASSERT_EQ(mkfifo(packed.c_str(), 0600), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--list", packed}), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("velquin: cannot open " + packed),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.png")));
}

TEST_F(CommandLineTest, AFailedWriteKeepsTheOldPicture)
{
    const std::string out = dir.Write("out.png", std::string(20, 'k'));
    // Room for the old file's size, not for the new picture. The messages go to the test's own
    // standard error: a capture would be a file under the same limit.
    const int status = RunInChild(
        [&](std::ostream&)
        { return LimitFileSize(20) ? RunTool({"--export", out, config}).value_or(-1) : 99; });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(dir.Read("out.png"), std::string(20, 'k'));
    // Nothing left beside it: the set's three files and the old picture.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              4);
}

TEST_F(CommandLineTest, RunsFkissTimersForTheGivenSimulatedTime)
{
    // The cel blinks: shown at first, gone from 3000 ms, back from 3200 ms.
    const std::string blink = dir.Write(
        "blink.cnf", ConfigText({"(8,6)", "%p.kcf", "#1 c.cel", "$0 * 3,4", ";@EventHandler",
                                 ";@initialize() timer(1, 3000) frob()",
                                 ";@alarm(1) unmap(#1) timer(2, 200)", ";@alarm(2) map(#1)"}));
    const auto pixelAt = [&](std::vector<std::string> extra)
    {
        const std::string out = dir.File("blink.png");
        std::vector<std::string> args = {"--export", out};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(blink);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunTool(args), 0);
        const std::string errors = testing::internal::GetCapturedStderr();
        const auto picture = ReadPng(out);
        return std::make_pair(picture ? picture->At(3, 4) : 0u, errors);
    };
    const std::uint32_t red = 0xFF0000u;
    const std::uint32_t background = 0x000040u;
    EXPECT_EQ(pixelAt({}).first, red);
    EXPECT_EQ(pixelAt({"--time", "3100"}).first, background);
    EXPECT_EQ(pixelAt({"--time=3300"}).first, red);
    EXPECT_EQ(pixelAt({"--time", "3100", "--no-fkiss"}).first, red);

    EXPECT_EQ(pixelAt({}).second, "blink.cnf:6: warning: unknown command frob\n");
    EXPECT_EQ(pixelAt({"--no-fkiss"}).second, "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export", dir.File("x.png"), "--time", "-5", blink}), 2);
    testing::internal::GetCapturedStderr();
}

TEST_F(CommandLineTest, VariablesFramesAndAttachmentsReachTheirStateAtTheGivenTime)
{
    dir.Write("q.kcf", Palette24({{Rgb(0, 0, 64), Rgb(255, 0, 0), Rgb(0, 255, 0)}}));
    dir.Write("r.cel", SolidCel(2, 2, 1));
    dir.Write("g.cel", SolidCel(2, 2, 2));
    const std::string counter = dir.Write(
        "counter.cnf",
        ConfigText({"(8,6)", "%q.kcf", "#1 r.cel", "$0 * 0,0", ";@EventHandler",
                    ";@initialize() timer(1, 100)",
                    ";@alarm(1) add(n, n, 1) ifequal(n, 3) unmap(#1) else() timer(1, 100) endif()"}));
    const std::string frames = dir.Write(
        "frames.cnf",
        ConfigText({"(8,6)", "%q.kcf", "#1 r.cel ;!Anim :0", "#1 g.cel ;!anim :1 2", "$0 * 0,0",
                    ";@EventHandler", ";@initialize() setframe(!anim, 0) timer(1, 100)",
                    ";@alarm(1) gosub(next) timer(1, 100)",
                    ";@label(next) add(f, f, 1) ifgreaterthan(f, 2) let(f, 0) endif()",
                    ";@ setframe(!anim, f)"}));
    const std::string attached = dir.Write(
        "attached.cnf",
        ConfigText({"(8,6)", "%q.kcf", "#1 r.cel", "#2 g.cel", "$0 * 0,0 0,4", ";@EventHandler",
                    ";@initialize() attach(#2, #1) timer(1, 50)",
                    ";@alarm(1) move(#1, 3, 0) timer(1, 50)"}));
    struct Case
    {
        std::string config;
        std::string time;
        std::uint32_t x;
        std::uint32_t y;
        std::uint32_t colour;
    };
    const std::uint32_t red = 0xFF0000u;
    const std::uint32_t green = 0x00FF00u;
    const std::uint32_t background = 0x000040u;
    const Case cases[] = {
        {counter, "299", 0, 0, red},         {counter, "300", 0, 0, background},
        {counter, "5000", 0, 0, background}, {frames, "0", 0, 0, red},
        {frames, "100", 0, 0, green},        {frames, "250", 0, 0, green},
        {frames, "300", 0, 0, red},          {attached, "0", 0, 4, green},
        {attached, "100", 6, 4, green},      {attached, "100", 0, 4, background},
    };
    for (const Case& c : cases)
    {
        const std::string out = dir.File("state.png");
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunTool({"--export", out, "--time", c.time, c.config}), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        const auto picture = ReadPng(out);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->At(c.x, c.y), c.colour) << c.config << " at " << c.time;
    }
}
