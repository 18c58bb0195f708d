#include "Convert.h"

#include "BmpBytes.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

namespace
{
// The header that Tarnel writes for a cel of the given size.
std::string Header(std::uint8_t width, std::uint8_t height)
{
    std::string header("KiSS\x21\x20\0\0", 8);
    header += std::string{static_cast<char>(width), '\0', static_cast<char>(height), '\0'};
    return header + std::string(20, '\0');
}

std::string Pixel(std::uint8_t blue, std::uint8_t green, std::uint8_t red, std::uint8_t alpha)
{
    return {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red),
            static_cast<char>(alpha)};
}

const std::string kClear = Pixel(0, 0, 0, 0);

class ConvertTest : public ::testing::Test
{
protected:
    ConvertTest() { std::filesystem::current_path(m_dir.Path()); }

    std::string Run(const std::vector<std::string>& arguments)
    {
        std::ostringstream out;
        m_status = RunTarnel(arguments, out);
        return out.str();
    }
    // Runs the program in a child process, so that the limits `restrict` sets stay there; the
    // status is -1 when the child could not set them.
    std::string RunRestricted(const std::vector<std::string>& arguments,
                              const std::function<bool()>& restrict)
    {
        std::string text;
        m_status = RunInChild(
            [&](std::ostream& out) { return restrict() ? RunTarnel(arguments, out) : 99; }, &text);
        if (m_status == 99)
            m_status = -1;
        return text;
    }
    std::set<std::string> Files()
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    void Put(const std::string& name, const BmpBytes& bmp) { m_dir.Write(name, bmp.Bytes()); }
    bool Exists(const std::string& name) { return std::filesystem::exists(m_dir.File(name)); }

    TempDir m_dir;
    int m_status = -1;
};
} // namespace

TEST_F(ConvertTest, WithoutArgumentsPrintsUsage)
{
    EXPECT_EQ(Run({}), "Convert 24bitDib to 32bitCell ver0.02\nusage : Tarnel filename(s)\n"
                       "exit  : 0 all converted, 1 any failed, 2 no filename\n");
    EXPECT_EQ(m_status, kExitUsage);
}

TEST_F(ConvertTest, ExitStatusIsFailedWhenAnyArgumentThatWasNotSkippedFailed)
{
    BmpBytes eightBit(1, 1);
    eightBit.bitCount = 8;
    Put("good.bmp", BmpBytes(1, 1));
    Put("pal.bmp", eightBit);
    const struct
    {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{"good.bmp"}, kExitConverted},
        {{"skipped", "_ood.bmp", "good.bmp"}, kExitConverted},
        {{"skipped"}, kExitConverted},
        {{"missing.bmp", "good.bmp"}, kExitFailed},
        {{"good.bmp", "pal.bmp"}, kExitFailed},
    };
    for (const auto& c : cases)
    {
        Run(c.arguments);
        EXPECT_EQ(m_status, c.status) << c.arguments.back();
    }
}

TEST_F(ConvertTest, FailedWriteIsReportedAndLeavesTheExistingCelAsItWas)
{
    Put("big.bmp", BmpBytes(4, 4, 0x102030));
    Put("new.bmp", BmpBytes(4, 4, 0x102030));
    Put("ok.bmp", BmpBytes(1, 1));
    m_dir.Write("big.CEL", std::string_view("keep"));
    const auto before = Files();

    // Room for a 1 by 1 cel (36 bytes) but not a 4 by 4 one.
    const std::string out =
        RunRestricted({"big.bmp", "new.bmp", "ok.bmp"}, [] { return LimitFileSize(40); });
    EXPECT_EQ(out, "入力ファイル big.bmpを処理します\n"
                   "出力ファイル big.CEL が書き込めません(File too large)\n"
                   "入力ファイル new.bmpを処理します\n"
                   "出力ファイル new.CEL が書き込めません(File too large)\n"
                   "入力ファイル ok.bmpを処理します\n");
    EXPECT_EQ(m_status, kExitFailed);
    EXPECT_EQ(m_dir.Read("big.CEL"), "keep");
    auto expected = before;
    expected.insert("ok.CEL");
    EXPECT_EQ(Files(), expected);
}

TEST_F(ConvertTest, OutputFolderThatIsNotWritableIsReportedAndLeftAsItWas)
{
    Put("doll.bmp", BmpBytes(2, 2));
    m_dir.Write("doll.CEL", std::string_view("keep"));
    const auto before = Files();
    chmod(m_dir.Path().c_str(), 0555);

    // The superuser writes anywhere, so the child gives that up first.
    const std::string out = RunRestricted({"doll.bmp"}, [] {
        return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
    });
    chmod(m_dir.Path().c_str(), 0700);
    if (m_status == -1)
        GTEST_SKIP() << "cannot drop the superuser's rights here";
    EXPECT_EQ(out, "入力ファイル doll.bmpを処理します\n"
                   "出力ファイル doll.CEL がオープンできません\n");
    EXPECT_EQ(m_status, kExitFailed);
    EXPECT_EQ(m_dir.Read("doll.CEL"), "keep");
    EXPECT_EQ(Files(), before);
}

TEST_F(ConvertTest, PipesAndFoldersAreRefusedAsInputOrMask)
{
    Put("doll.bmp", BmpBytes(1, 1));
    ASSERT_EQ(mkfifo(m_dir.File("pipe.bmp").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(m_dir.File("_oll.bmp").c_str(), 0600), 0);
    std::filesystem::create_directory(m_dir.File("dir.bmp"));
    // A hang is what went wrong before: the child ends itself rather than the test waiting.
    const std::string out = RunRestricted({"pipe.bmp", "doll.bmp", "dir.bmp"}, [] {
        alarm(10);
        return true;
    });
    EXPECT_EQ(out, "入力ファイル pipe.bmpがオープンできません\n"
                   "入力ファイル _oll.bmpがオープンできません\n"
                   "入力ファイル dir.bmpがオープンできません\n");
    EXPECT_EQ(m_status, kExitFailed);
    EXPECT_FALSE(Exists("doll.CEL"));
    EXPECT_FALSE(Exists("pipe.CEL"));
}

TEST_F(ConvertTest, NameRulesSelectBitmapsAndDeriveMaskAndOutputNames)
{
    EXPECT_TRUE(IsConvertibleName("DOLL.BMP"));
    EXPECT_TRUE(IsConvertibleName("doll.BmP"));
    EXPECT_TRUE(IsConvertibleName("a.bmp"));
    EXPECT_TRUE(IsConvertibleName("あ.bmp"));
    EXPECT_FALSE(IsConvertibleName("doll.bmp.bak"));
    EXPECT_FALSE(IsConvertibleName("my.doll.bmp"));
    EXPECT_FALSE(IsConvertibleName("doll"));
    EXPECT_FALSE(IsConvertibleName("doll.bm"));
    EXPECT_FALSE(IsConvertibleName("doll.bmx"));
    EXPECT_FALSE(IsConvertibleName("_oll.bmp"));
    EXPECT_FALSE(IsConvertibleName("."));
    EXPECT_FALSE(IsConvertibleName(""));

    EXPECT_EQ(MaskName("doll.bmp"), "_oll.bmp");
    EXPECT_EQ(MaskName("a.bmp"), "_.bmp");
    EXPECT_EQ(MaskName("あい.bmp"), "_い.bmp");
    EXPECT_EQ(OutputName("doll.bmp"), "doll.CEL");
    EXPECT_EQ(OutputName("DOLL.BMP"), "DOLL.CEL");
    EXPECT_EQ(OutputName("a.bmp"), "a.CEL");
}

TEST_F(ConvertTest, WithoutMaskTheBottomLeftColourBecomesTransparentBlackEverywhere)
{
    BmpBytes bmp(3, 2, 0x102030);
    bmp.At(1, 0) = 0xFF0000;
    bmp.At(1, 1) = 0x00FF00;
    bmp.At(2, 1) = 0x102031;
    Put("doll.bmp", bmp);

    EXPECT_EQ(Run({"doll.bmp"}), "入力ファイル doll.bmpを処理します\n");
    // Rows top-down, three pixels each: the padding of the 12-byte bitmap rows is not copied.
    EXPECT_EQ(m_dir.Read("doll.CEL"), Header(3, 2) + kClear + Pixel(0, 0, 0xFF, 0xFF) + kClear +
                                          kClear + Pixel(0, 0xFF, 0, 0xFF) +
                                          Pixel(0x31, 0x20, 0x10, 0xFF));
}

TEST_F(ConvertTest, MaskBlueByteGivesTheComplementAsAlpha)
{
    BmpBytes bmp(3, 1, 0x112233);
    BmpBytes mask(3, 1);
    mask.At(0, 0) = 0x998800; // only blue counts
    mask.At(1, 0) = 0x000040;
    mask.At(2, 0) = 0x0000FF;
    Put("doll.bmp", bmp);
    Put("_oll.bmp", mask);

    EXPECT_EQ(Run({"doll.bmp"}), "入力ファイル doll.bmpと_oll.bmpを処理します\n");
    EXPECT_EQ(m_dir.Read("doll.CEL"), Header(3, 1) + Pixel(0x33, 0x22, 0x11, 0xFF) +
                                          Pixel(0x33, 0x22, 0x11, 0xBF) + kClear);
}

TEST_F(ConvertTest, MaskOfAnotherSizeIsReadWithTheImageSize)
{
    Put("a.bmp", BmpBytes(2, 2, 0x445566));
    BmpBytes mask(1, 1, 0x000010);
    Put("_.bmp", mask);

    EXPECT_EQ(Run({"a.bmp"}), "入力ファイル a.bmpと_.bmpを処理します\n"
                              "入力ファイル a.bmpと_.bmpのサイズが異なります\n");
    // The mask's only row is 4 bytes: its blue, green, red and one padding byte; what lies past
    // the end of the mask file reads as 0, so opaque.
    const std::string top = Pixel(0x66, 0x55, 0x44, 0xFF) + Pixel(0x66, 0x55, 0x44, 0xFF);
    const std::string bottom =
        Pixel(0x66, 0x55, 0x44, 0xEF) + Pixel(0x66, 0x55, 0x44, 0xFF - BmpBytes::kPadding);
    EXPECT_EQ(m_dir.Read("a.CEL"), Header(2, 2) + top + bottom);
}

TEST_F(ConvertTest, EveryArgumentIsReportedAndFailuresDoNotStopTheRest)
{
    Put("DOLL.BMP", BmpBytes(1, 1));
    Put("doll.BmP", BmpBytes(1, 1));
    Put("_oll.bmp", BmpBytes(1, 1));
    std::filesystem::create_directory(m_dir.File("dir.bmp"));

    EXPECT_EQ(Run({"_oll.bmp", "x", "doll", "doll.bmp.bak", "my.doll.bmp", "missing.bmp", "dir.bmp",
                   "DOLL.BMP", "doll.BmP"}),
              "入力ファイル _oll.bmpをスキップします\n"
              "入力ファイル xをスキップします\n"
              "入力ファイル dollをスキップします\n"
              "入力ファイル doll.bmp.bakをスキップします\n"
              "入力ファイル my.doll.bmpをスキップします\n"
              "入力ファイル missing.bmpがオープンできません\n"
              "入力ファイル dir.bmpがオープンできません\n"
              "入力ファイル DOLL.BMPを処理します\n"
              "入力ファイル doll.BmPを処理します\n");
    EXPECT_TRUE(Exists("DOLL.CEL"));
    EXPECT_TRUE(Exists("doll.CEL"));
    EXPECT_FALSE(Exists("missing.CEL"));
}

TEST_F(ConvertTest, InvalidImageOrMaskLeavesExistingOutputUntouchedAndCreatesNone)
{
    BmpBytes notBitmap(1, 1);
    notBitmap.type = 0x4D43;
    BmpBytes eightBit(1, 1);
    eightBit.bitCount = 8;
    Put("bad.bmp", notBitmap);
    Put("pal.bmp", eightBit);
    m_dir.Write("bad.CEL", std::string_view("keep"));
    m_dir.Write("pal.CEL", std::string_view("keep"));

    EXPECT_EQ(Run({"bad.bmp", "pal.bmp"}), "入力ファイル bad.bmpを処理します\n"
                                           "入力ファイル bad.bmpが不正です\n"
                                           "入力ファイル pal.bmpを処理します\n"
                                           "入力ファイル pal.bmpを処理できません\n");
    EXPECT_EQ(m_dir.Read("bad.CEL"), "keep");
    EXPECT_EQ(m_dir.Read("pal.CEL"), "keep");

    Put("mm.bmp", BmpBytes(1, 1));
    Put("_m.bmp", notBitmap);
    Put("nn.bmp", BmpBytes(1, 1));
    Put("_n.bmp", eightBit);
    EXPECT_EQ(Run({"mm.bmp", "nn.bmp"}), "入力ファイル mm.bmpと_m.bmpを処理します\n"
                                         "入力ファイル _m.bmpが不正です\n"
                                         "入力ファイル nn.bmpと_n.bmpを処理します\n"
                                         "入力ファイル _n.bmpを処理できません\n");
    EXPECT_FALSE(Exists("mm.CEL"));
    EXPECT_FALSE(Exists("nn.CEL"));
}

TEST_F(ConvertTest, ShortFilesAreRefusedByHeaderAndZeroFilledInThePixels)
{
    const auto full = BmpBytes(2, 1, 0x808080).Bytes();
    m_dir.Write("aa.bmp", std::vector<std::uint8_t>(full.begin(), full.begin() + 10));
    m_dir.Write("bb.bmp", std::vector<std::uint8_t>(full.begin(), full.begin() + 30));
    BmpBytes bmp(2, 1, 0x808080);
    auto bytes = bmp.Bytes();
    bytes.resize(54 + 4);
    m_dir.Write("cc.bmp", bytes);

    EXPECT_EQ(Run({"aa.bmp", "bb.bmp", "cc.bmp"}), "入力ファイル aa.bmpを処理します\n"
                                                   "入力ファイル aa.bmpが不正です\n"
                                                   "入力ファイル bb.bmpを処理します\n"
                                                   "入力ファイル bb.bmpを処理できません\n"
                                                   "入力ファイル cc.bmpを処理します\n");
    EXPECT_FALSE(Exists("aa.CEL"));
    EXPECT_FALSE(Exists("bb.CEL"));
    // The second pixel lost its green and red: it reads as (0x80, 0, 0), not the key colour.
    EXPECT_EQ(m_dir.Read("cc.CEL"), Header(2, 1) + kClear + Pixel(0x80, 0, 0, 0xFF));
}

TEST_F(ConvertTest, OutputThatCannotBeCreatedIsReported)
{
    Put("doll.bmp", BmpBytes(1, 1));
    std::filesystem::create_directory(m_dir.File("doll.CEL"));
    EXPECT_EQ(Run({"doll.bmp"}), "入力ファイル doll.bmpを処理します\n"
                                 "出力ファイル doll.CEL がオープンできません\n");
}

TEST_F(ConvertTest, WildcardsAreExpandedBeforeConverting)
{
    Put("b.BMP", BmpBytes(1, 1));
    Put("A.bmp", BmpBytes(1, 1));
    Put("_b.bmp", BmpBytes(1, 1));
    EXPECT_EQ(Run({"*.bmp", "*.png"}), "入力ファイル _b.bmpをスキップします\n"
                                       "入力ファイル A.bmpを処理します\n"
                                       "入力ファイル b.BMPを処理します\n"
                                       "入力ファイル *.pngをスキップします\n");
}

TEST_F(ConvertTest, MultiByteNamesReplaceTheirWholeFirstCharacter)
{
    Put("あい.bmp", BmpBytes(1, 1));
    Put("_い.bmp", BmpBytes(1, 1));
    EXPECT_EQ(Run({"あい.bmp"}), "入力ファイル あい.bmpと_い.bmpを処理します\n");
    EXPECT_TRUE(Exists("あい.CEL"));
}
