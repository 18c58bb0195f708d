#include "image/Cel.h"

#include "support/CelBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

Cel Loaded(const Bytes& bytes)
{
    Cel cel;
    cel.Load(bytes);
    return cel;
}

Bytes PixelsOf(const Cel& cel)
{
    return cel.pixels ? *cel.pixels : Bytes{};
}

} // namespace

TEST(CelTest, NewCelIsEmptyAndNotLoaded)
{
    const Cel cel;
    EXPECT_FALSE(cel.IsOk());
    EXPECT_EQ(cel.width, 0);
    EXPECT_EQ(cel.depth, 0);
    EXPECT_EQ(cel.opacity, 256);
    EXPECT_EQ(cel.Data(), nullptr);
}

TEST(CelTest, LoadsEightBitHeaderCelWithAllHeaderFields)
{
    const Cel cel = Loaded(CelBytes::Indexed(3, 2, {1, 2, 3, 4, 5, 255})
                               .Offset(10, 65535)
                               .TransparentIndex(7)
                               .ReservedWord(0xBEEF)
                               .Bytes());
    ASSERT_TRUE(cel.IsOk());
    EXPECT_EQ(cel.mark, 0x20);
    EXPECT_EQ(cel.fileBitsPerPixel, 8);
    EXPECT_EQ(cel.reservedWord, 0xBEEF);
    EXPECT_EQ(cel.width, 3);
    EXPECT_EQ(cel.height, 2);
    EXPECT_EQ(cel.xOffset, 10);
    EXPECT_EQ(cel.yOffset, 65535);
    EXPECT_EQ(cel.depth, 8);
    EXPECT_EQ(cel.transparentIndex, 7);
    EXPECT_EQ(cel.opacity, 256);
    EXPECT_EQ(PixelsOf(cel), (Bytes{1, 2, 3, 4, 5, 255}));
}

TEST(CelTest, FourBitRowsUnpackHighNibbleFirstAndSkipTheOddNibble)
{
    // Width 5: three bytes a row, the low nibble of the third is not a pixel.
    const Bytes data{0x12, 0x34, 0x5F, 0xAB, 0xCD, 0xEF};
    const Cel cel = Loaded(CelBytes().BitsPerPixel(4).Size(5, 2).RawData(data).Bytes());
    ASSERT_TRUE(cel.IsOk());
    EXPECT_EQ(cel.fileBitsPerPixel, 4);
    EXPECT_EQ(cel.depth, 8);
    EXPECT_EQ(PixelsOf(cel), (Bytes{1, 2, 3, 4, 5, 10, 11, 12, 13, 14}));

    const Cel packed = Loaded(CelBytes::Indexed(3, 1, {15, 0, 9}, 4).Bytes());
    EXPECT_EQ(PixelsOf(packed), (Bytes{15, 0, 9}));
}

TEST(CelTest, LoadsThirtyTwoBitCelAsStored)
{
    const Bytes bgra{1, 2, 3, 255, 4, 5, 6, 0};
    const Cel cel = Loaded(CelBytes::TrueColour(2, 1, bgra).Bytes());
    ASSERT_TRUE(cel.IsOk());
    EXPECT_EQ(cel.mark, 0x21);
    EXPECT_EQ(cel.depth, 32);
    EXPECT_EQ(cel.RowBytes(), 8);
    EXPECT_EQ(PixelsOf(cel), bgra);
}

TEST(CelTest, SpaceMarkedThirtyTwoBitCelLoadsAsTheExclamationMarkedOne)
{
    const Bytes bgra{1,  2,  3,  255, 4,  5,  6,  0,   7, 8, 9, 128,
                     10, 11, 12, 1,   13, 14, 15, 255, 0, 0, 0, 0};
    const Cel marked =
        Loaded(CelBytes::TrueColour(3, 2, bgra).Offset(4, 5).Transparency(56).Bytes());
    const Cel spaced =
        Loaded(CelBytes::TrueColour(3, 2, bgra).Offset(4, 5).Transparency(56).Mark(0x20).Bytes());
    ASSERT_TRUE(spaced.IsOk());
    EXPECT_EQ(spaced.mark, 0x20);
    EXPECT_EQ(spaced.depth, 32);
    EXPECT_EQ(PixelsOf(spaced), PixelsOf(marked));
    EXPECT_EQ(spaced.RowBytes(), marked.RowBytes());
    EXPECT_EQ(spaced.xOffset, 4);
    EXPECT_EQ(spaced.yOffset, 5);
    EXPECT_EQ(spaced.opacity, marked.opacity);

    // Its reserved word is not checked.
    const Cel reserved =
        Loaded(CelBytes::TrueColour(3, 2, bgra).Mark(0x20).ReservedWord(0x1234).Bytes());
    ASSERT_TRUE(reserved.IsOk());
    EXPECT_EQ(PixelsOf(reserved), bgra);

    // Rows that stop short are refused as with 0x21, and nothing of them is kept.
    Bytes truncated = CelBytes::TrueColour(3, 2, bgra).Mark(0x20).Bytes();
    truncated.resize(truncated.size() - 3);
    const Cel refused = Loaded(truncated);
    EXPECT_FALSE(refused.IsOk());
    EXPECT_EQ(refused.pixels, nullptr);
    EXPECT_EQ(refused.depth, 0);

    // Other widths with the space mark stay colour numbers.
    const Cel eight = Loaded(CelBytes::Indexed(2, 1, {9, 200}).Bytes());
    EXPECT_EQ(eight.depth, 8);
    EXPECT_EQ(PixelsOf(eight), (Bytes{9, 200}));
    const Cel wide = Loaded(CelBytes().BitsPerPixel(24).Size(1, 1).RawData({0x5A, 0, 0}).Bytes());
    EXPECT_EQ(wide.depth, 8);
    EXPECT_EQ(PixelsOf(wide), (Bytes{5}));
}

TEST(CelTest, TransparencyWordSetsOpacityUpTo256)
{
    const auto opacityFor = [](std::uint16_t t)
    { return Loaded(CelBytes::Indexed(1, 1, {1}).Transparency(t).Bytes()).opacity; };
    EXPECT_EQ(opacityFor(0), 256);
    EXPECT_EQ(opacityFor(100), 156);
    EXPECT_EQ(opacityFor(256), 0);
    EXPECT_EQ(opacityFor(257), 256);
    EXPECT_EQ(opacityFor(300), 256);
}

TEST(CelTest, ShortOrUnmarkedFilesAreReadAsTheOldFormat)
{
    // 20 bytes: width 3 and height 2 from the first four, then 4-bit rows of 2 bytes.
    Bytes twenty{3, 0, 2, 0, 0x12, 0x30, 0x45, 0x60};
    twenty.resize(20, 0xEE);
    const Cel cel = Loaded(twenty);
    ASSERT_TRUE(cel.IsOk());
    EXPECT_EQ(cel.mark, 0x20);
    EXPECT_EQ(cel.fileBitsPerPixel, 4);
    EXPECT_EQ(cel.reservedWord, 0);
    EXPECT_EQ(cel.width, 3);
    EXPECT_EQ(cel.height, 2);
    EXPECT_EQ(cel.xOffset, 0);
    EXPECT_EQ(cel.opacity, 256);
    EXPECT_EQ(PixelsOf(cel), (Bytes{1, 2, 3, 4, 5, 6}));

    const Cel old = Loaded(CelBytes::Indexed(3, 1, {7, 8, 9}).OldFormat().Bytes());
    EXPECT_TRUE(old.IsOk());
    EXPECT_EQ(PixelsOf(old), (Bytes{7, 8, 9}));

    // "KiSS" in a file shorter than a header is old-format data: width 0x694B, far too big.
    EXPECT_FALSE(Loaded(Bytes{'K', 'i', 'S', 'S', 0x20, 8, 0, 0, 0, 0, 0}).IsOk());
    // Five bytes stating 0 × 0 make an empty old-format cel.
    EXPECT_TRUE(Loaded(Bytes{0, 0, 0, 0, 0}).IsOk());
}

TEST(CelTest, EmptyHeaderCelLoadsWithAnEmptyBlock)
{
    const Bytes header = CelBytes().Bytes();
    ASSERT_EQ(header.size(), 32u);
    const Cel cel = Loaded(header);
    ASSERT_TRUE(cel.IsOk());
    ASSERT_NE(cel.pixels, nullptr);
    EXPECT_TRUE(cel.pixels->empty());
}

TEST(CelTest, RejectsEveryMalformedFile)
{
    EXPECT_FALSE(Loaded({}).IsOk());
    EXPECT_FALSE(Loaded(Bytes{1, 0, 1, 0}).IsOk());
    EXPECT_FALSE(Loaded(CelBytes::Indexed(1, 1, {1}).Mark(0x22).Bytes()).IsOk());
    EXPECT_FALSE(Loaded(CelBytes::Indexed(1, 1, {1}).Mark(0).Bytes()).IsOk());
    EXPECT_FALSE(Loaded(CelBytes::TrueColour(1, 1, {1, 2, 3, 4}).ReservedWord(1).Bytes()).IsOk());
    EXPECT_FALSE(Loaded(CelBytes::TrueColour(1, 1, {1, 2, 3, 4}).BitsPerPixel(24).Bytes()).IsOk());
    // Bits per pixel below 4 would unpack more than the rows read.
    EXPECT_FALSE(Loaded(CelBytes::Indexed(4, 4, Bytes(16, 1)).BitsPerPixel(2).Bytes()).IsOk());
    EXPECT_FALSE(Loaded(CelBytes::Indexed(4, 4, Bytes(16, 1)).BitsPerPixel(0).Bytes()).IsOk());

    Bytes shortData = CelBytes::Indexed(3, 2, {1, 2, 3, 4, 5, 6}).Bytes();
    shortData.pop_back();
    const Cel rejected = Loaded(shortData);
    EXPECT_FALSE(rejected.IsOk());
    EXPECT_EQ(rejected.pixels, nullptr);
    EXPECT_EQ(rejected.depth, 0);

    Bytes shortTrue = CelBytes::TrueColour(1, 2, {1, 2, 3, 4, 5, 6, 7, 8}).Bytes();
    shortTrue.pop_back();
    EXPECT_FALSE(Loaded(shortTrue).IsOk());
}

TEST(CelTest, HugeStatedSizeInASmallFileIsRejected)
{
    EXPECT_FALSE(Loaded(CelBytes::TrueColour(65535, 65535, {}).Bytes()).IsOk());
    EXPECT_FALSE(Loaded(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0}).IsOk());
}

TEST(CelTest, OtherBitsPerPixelReadStatedRowsAndUnpackFourBitRows)
{
    // Six bits per pixel at width 2: two 2-byte rows are read, the first two bytes unpacked.
    const Bytes data{0x12, 0x34, 0x56, 0x78};
    const Cel cel = Loaded(CelBytes().BitsPerPixel(6).Size(2, 2).RawData(data).Bytes());
    ASSERT_TRUE(cel.IsOk());
    EXPECT_EQ(cel.fileBitsPerPixel, 6);
    EXPECT_EQ(PixelsOf(cel), (Bytes{1, 2, 3, 4}));
    EXPECT_FALSE(
        Loaded(CelBytes().BitsPerPixel(6).Size(2, 2).RawData({0x12, 0x34, 0x56}).Bytes()).IsOk());
}

TEST(CelTest, ReloadingWithABadFileClearsTheEarlierCel)
{
    Cel cel;
    cel.Load(CelBytes::Indexed(1, 1, {1}).Bytes());
    ASSERT_TRUE(cel.IsOk());
    cel.Load(Bytes{1, 2, 3});
    EXPECT_FALSE(cel.IsOk());
    EXPECT_EQ(cel.pixels, nullptr);
}

TEST(CelTest, CopiesShareOnePixelBlockThatOutlivesTheCel)
{
    auto cel = std::make_unique<Cel>();
    cel->Load(CelBytes::Indexed(2, 1, {4, 5}).Bytes());
    auto first = std::make_unique<CelImage>(*cel);
    CelImage second;
    second = *cel;
    EXPECT_EQ(first->Data(), cel->Data());
    EXPECT_EQ(second.Data(), cel->Data());
    EXPECT_EQ(cel->pixels.use_count(), 3);

    cel.reset();
    first.reset();
    ASSERT_EQ(second.pixels.use_count(), 1);
    EXPECT_EQ(*second.pixels, (Bytes{4, 5}));

    const CelImage& same = second;
    second = same;
    EXPECT_EQ(second.pixels.use_count(), 1);
    second.ClearImage();
    EXPECT_EQ(second.pixels, nullptr);
    EXPECT_EQ(second.width, 0);
    EXPECT_EQ(second.opacity, 256);
}
