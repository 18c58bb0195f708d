#include "cli/CommandLine.h"

#include "../scene/PngRead.h"
#include "../scene/SceneFixtures.h"
#include "support/ArchiveBytes.h"
#include "support/ConfigText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST_F(ArchiveCommandLineTest, NewerEditorSetExportsAsItsReadingsDraw)
{
    // The newer set: 32-bit cels marked 0x20 placed by offset tags, an RGB background, packed
    // with every member marked as a folder. The reference says the same in the older forms.
    const std::vector<std::uint8_t> a{0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 0, 0};
    const std::vector<std::uint8_t> b{0, 255, 0, 255};
    const auto palette = Palette24({{Rgb(0, 0, 64), Rgb(255, 0, 0)}});
    TempDir newer;
    newer.Write("p.kcf", palette);
    newer.Write("a.cel", CelBytes::TrueColour(2, 2, a).Mark(0x20).Offset(9, 9).Bytes());
    newer.Write("b.cel", CelBytes::TrueColour(1, 1, b).Mark(0x20).ReservedWord(7).Bytes());
    const std::string newerConfig =
        ConfigText({"(8,6)", "[204,255,255", "%p.kcf", "#1 a.cel *0 ;%x1 %y-1", "#2 b.cel ;%y4 %x6",
                    "$0 * 2,2 0,0"});
    newer.Write("kiss.cnf", newerConfig);
    TempDir reference;
    reference.Write("p.kcf", palette);
    reference.Write("a.cel", CelBytes::TrueColour(2, 2, a).Offset(1, 0).Bytes());
    reference.Write("b.cel", CelBytes::TrueColour(1, 1, b).Offset(6, 4).Bytes());
    reference.Write("kiss.cnf",
                    ConfigText({"(8,6)", "%p.kcf", "#1 a.cel *0", "#2 b.cel", "$0 * 2,1 0,0"}));
    std::vector<ArchiveEntry> entries{{"kiss.cnf", Bytes(newerConfig)}, {"p.kcf", palette}};
    for (const char* name : {"a.cel", "b.cel"})
        entries.push_back({name, Bytes(newer.Read(name))});
    const std::string packed = newer.Write("set.lzh", LzhArchive(entries, {1, "-lhd-", 0x20}));

    testing::internal::CaptureStdout();
    EXPECT_EQ(RunTool({"--list", packed}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "kiss.cnf\n");

    const auto exported = [](const std::string& set, const char* mode)
    {
        TempDir out;
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunTool({"--export", out.File("x.png"), "--colour-mode", mode, set}), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        return ReadPng(out.File("x.png")).value_or(RgbPicture{});
    };
    for (const char* mode : {"full", "256"})
    {
        SCOPED_TRACE(mode);
        const RgbPicture folder = exported(newer.File("kiss.cnf"), mode);
        const RgbPicture old = exported(reference.File("kiss.cnf"), mode);
        ASSERT_EQ(folder.width, 8u);
        ASSERT_EQ(old.height, 6u);
        EXPECT_EQ(exported(packed, mode).rgb, folder.rgb);
        const bool full = std::string(mode) == "full";
        for (std::uint32_t y = 0; y < 6; ++y)
        {
            for (std::uint32_t x = 0; x < 8; ++x)
            {
                // Only the background differs, and only in full colour.
                const bool background = old.At(x, y) == 0x000040u;
                EXPECT_EQ(folder.At(x, y), full && background ? 0xCCFFFFu : old.At(x, y))
                    << x << "," << y;
            }
        }
        // 32-bit cels show in full colour only; a's transparent corner shows the background.
        EXPECT_EQ(folder.At(3, 1), full ? 0xFF0000u : 0x000040u);
        EXPECT_EQ(folder.At(6, 4), full ? 0x00FF00u : 0x000040u);
        EXPECT_EQ(folder.At(4, 2), full ? 0xCCFFFFu : 0x000040u);
    }

    // A member whose CRC fails and a cel whose rows stop short are reported as usual; the rest
    // of the set still shows.
    std::vector<std::uint8_t> damaged = LzhArchive(entries, {1, "-lhd-", 0x20});
    const std::vector<std::uint8_t> bCel = Bytes(newer.Read("b.cel"));
    const auto bData = std::search(damaged.begin(), damaged.end(), bCel.begin(), bCel.end());
    ASSERT_NE(bData, damaged.end());
    bData[bCel.size() - 1] ^= 0xFF;
    const std::string broken = newer.Write("broken.lzh", damaged);
    std::vector<std::uint8_t> shortRows = CelBytes::TrueColour(2, 2, a).Mark(0x20).Bytes();
    shortRows.resize(shortRows.size() - 4);
    newer.Write("a.cel", shortRows);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool({"--export", newer.File("x.png"), broken}), 0);
    EXPECT_EQ(RunTool({"--export", newer.File("y.png"), newer.File("kiss.cnf")}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ファイル b.cel を開けません。\n"
              "ファイル a.cel は，認識できないフォーマットです。\n");
    EXPECT_EQ(ReadPng(newer.File("x.png"))->At(3, 1), 0xFF0000u);
    EXPECT_EQ(ReadPng(newer.File("x.png"))->At(6, 4), 0xCCFFFFu);
    EXPECT_EQ(ReadPng(newer.File("y.png"))->At(3, 1), 0xCCFFFFu);
    EXPECT_EQ(ReadPng(newer.File("y.png"))->At(6, 4), 0x00FF00u);
}
