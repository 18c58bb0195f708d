#include "image/Cel.h"
#include "image/PaletteFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string LowerExtension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace

TEST(ImageRealSetsTest, EveryCelAndPaletteOfTheRealSetsLoads)
{
    const std::filesystem::path root = VELQUIN_KISS_SETS_DIR;
    if (!std::filesystem::is_directory(root))
        GTEST_SKIP() << "no real sets at " << root;

    int cels = 0;
    int palettes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    {
        if (!entry.is_regular_file())
            continue;
        const std::string ext = LowerExtension(entry.path());
        if (ext == ".cel")
        {
            Cel cel;
            cel.Load(ReadAll(entry.path()));
            EXPECT_TRUE(cel.IsOk()) << entry.path();
            EXPECT_NE(cel.pixels, nullptr) << entry.path();
            ++cels;
        }
        else if (ext == ".kcf")
        {
            PaletteFile palette;
            palette.Load(ReadAll(entry.path()));
            EXPECT_TRUE(palette.IsOk()) << entry.path();
            EXPECT_FALSE(palette.Group(0).empty()) << entry.path();
            ++palettes;
        }
    }
    EXPECT_GT(cels, 0);
    EXPECT_GT(palettes, 0);
}
