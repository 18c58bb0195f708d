#include "image/PaletteFile.h"

#include "support/PaletteBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;
using Colours = std::vector<PaletteColour>;

PaletteFile Loaded(const Bytes& bytes)
{
    PaletteFile palette;
    palette.Load(bytes);
    return palette;
}

Colours ColoursOf(std::span<const PaletteColour> group)
{
    return Colours(group.begin(), group.end());
}

Bytes Header(std::uint8_t bits, std::uint16_t colours, std::uint16_t groups)
{
    Bytes h{'K', 'i', 'S', 'S', 0x10, bits, 0, 0};
    h.insert(h.end(), {static_cast<std::uint8_t>(colours), static_cast<std::uint8_t>(colours >> 8),
                       static_cast<std::uint8_t>(groups), static_cast<std::uint8_t>(groups >> 8)});
    h.resize(32, 0);
    return h;
}

} // namespace

TEST(PaletteFileTest, TwelveBitColoursSpreadEachNibbleTimesSeventeen)
{
    Bytes file = Header(12, 3, 1);
    file.insert(file.end(), {0xF0, 0x0F, 0x0A, 0xF5, 0x7C, 0x03});
    const PaletteFile palette = Loaded(file);
    ASSERT_TRUE(palette.IsOk());
    EXPECT_EQ(palette.BitsPerColour(), 12);
    EXPECT_EQ(palette.Mark(), 0x10);
    EXPECT_EQ(palette.ColoursPerGroup(), 3);
    EXPECT_EQ(ColoursOf(palette.Group(0)),
              (Colours{{255, 255, 0, 0}, {0, 85, 170, 0}, {119, 51, 204, 0}}));
}

TEST(PaletteFileTest, TwentyFourBitGroupsLoadInOrder)
{
    const Colours g0{{1, 2, 3, 0}, {4, 5, 6, 0}};
    const Colours g1{{7, 8, 9, 0}, {10, 11, 12, 0}};
    const Colours g2{{13, 14, 15, 0}, {255, 254, 253, 0}};
    const PaletteFile palette = Loaded(PaletteBytes().Group(g0).Group(g1).Group(g2).Bytes());
    ASSERT_TRUE(palette.IsOk());
    EXPECT_EQ(palette.BitsPerColour(), 24);
    EXPECT_EQ(palette.GroupCount(), 3u);
    EXPECT_EQ(ColoursOf(palette.Group(1)), g1);
    EXPECT_EQ(ColoursOf(palette.Group(2)), g2);
    // Beyond the last group, and below the first, group 0 answers.
    EXPECT_EQ(ColoursOf(palette.Group(7)), g0);
    EXPECT_EQ(ColoursOf(palette.Group(-1)), g0);
}

TEST(PaletteFileTest, OldFormatNeedsAllTenGroupsOfSixteen)
{
    PaletteBytes old;
    old.OldFormat();
    for (int g = 0; g < 10; ++g)
        old.Group(Colours(16, PaletteColour{static_cast<std::uint8_t>(17 * g), 0, 255, 0}));
    const Bytes bytes = old.Bytes();
    ASSERT_EQ(bytes.size(), 320u);
    const PaletteFile palette = Loaded(bytes);
    ASSERT_TRUE(palette.IsOk());
    EXPECT_EQ(palette.Mark(), 0x10);
    EXPECT_EQ(palette.BitsPerColour(), 12);
    EXPECT_EQ(palette.ColoursPerGroup(), 16);
    EXPECT_EQ(palette.GroupCount(), 10u);
    EXPECT_EQ(palette.Group(9)[15], (PaletteColour{153, 0, 255, 0}));

    EXPECT_FALSE(Loaded(Bytes(bytes.begin(), bytes.begin() + 300)).IsOk());
}

TEST(PaletteFileTest, StatedDataMustBeInTheFile)
{
    Bytes file = Header(24, 256, 2);
    file.resize(32 + 1536, 9);
    EXPECT_TRUE(Loaded(file).IsOk());
    file.pop_back();
    const PaletteFile shortFile = Loaded(file);
    EXPECT_FALSE(shortFile.IsOk());
    EXPECT_EQ(shortFile.GroupCount(), 0u);
    // A header claiming gigabytes is turned away without allocating them.
    EXPECT_FALSE(Loaded(Header(24, 65535, 65535)).IsOk());
}

TEST(PaletteFileTest, RejectsBadBitsTinyFilesAndZeroMark)
{
    EXPECT_FALSE(Loaded(PaletteBytes().BitsPerColour(16).Group({{}}).Bytes()).IsOk());
    EXPECT_FALSE(Loaded(Bytes{'K', 'i', 'S', 'S'}).IsOk());
    EXPECT_FALSE(Loaded({}).IsOk());
    const PaletteFile unmarked = Loaded(PaletteBytes().Mark(0).Group({{1, 2, 3, 0}}).Bytes());
    EXPECT_FALSE(unmarked.IsOk());

    PaletteFile reused = Loaded(PaletteBytes().Group({{1, 2, 3, 0}}).Bytes());
    ASSERT_TRUE(reused.IsOk());
    reused.Load(Bytes{1, 2});
    EXPECT_FALSE(reused.IsOk());
    EXPECT_EQ(reused.GroupCount(), 0u);
}

TEST(PaletteFileTest, ZeroGroupsLoadWithoutColours)
{
    const PaletteFile palette = Loaded(Header(24, 16, 0));
    EXPECT_TRUE(palette.IsOk());
    EXPECT_EQ(palette.GroupCount(), 0u);
    EXPECT_TRUE(palette.Group(0).empty());
    EXPECT_TRUE(palette.Group(3).empty());
}

TEST(PaletteFileTest, AddGroupKeepsEveryGroupTheSameLength)
{
    PaletteFile palette;
    palette.AddGroup(Colours(3));
    palette.AddGroup(Colours(4));
    palette.AddGroup(Colours(3, PaletteColour{9, 9, 9, 0}));
    EXPECT_EQ(palette.ColoursPerGroup(), 3);
    EXPECT_EQ(palette.GroupCount(), 2u);
    palette.Clear();
    EXPECT_EQ(palette.ColoursPerGroup(), 0);
    EXPECT_EQ(palette.GroupCount(), 0u);
    palette.AddGroup(Colours(5));
    EXPECT_EQ(palette.ColoursPerGroup(), 5);
}

TEST(PaletteFileTest, MappableGroupStopsAt256Colours)
{
    PaletteFile palette;
    palette.AddGroup(Colours(300));
    EXPECT_EQ(palette.ColoursPerGroup(), 300);
    EXPECT_EQ(palette.Group(0).size(), 300u);
    EXPECT_EQ(palette.MappableGroup(0).size(), 256u);

    PaletteFile small;
    small.AddGroup(Colours(16));
    EXPECT_EQ(small.MappableGroup(4).size(), 16u);
    EXPECT_TRUE(PaletteFile().MappableGroup(0).empty());
}
