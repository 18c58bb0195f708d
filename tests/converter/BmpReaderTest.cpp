#include "BmpReader.h"

#include "BmpBytes.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace
{
std::string Text(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

BitmapCheck CheckOf(const std::vector<std::uint8_t>& bytes)
{
    std::istringstream in(Text(bytes));
    return BmpReader(in).Check();
}

BitmapCheck CheckOf(const BmpBytes& bmp)
{
    return CheckOf(bmp.Bytes());
}
} // namespace

TEST(BmpReaderTest, AcceptsTwentyFourBitBitmapAndReportsItsSize)
{
    std::istringstream in(Text(BmpBytes(5, 3).Bytes()));
    BmpReader reader(in);
    EXPECT_EQ(reader.Check(), BitmapCheck::Ok);
    EXPECT_EQ(reader.Width(), 5);
    EXPECT_EQ(reader.Height(), 3);
}

TEST(BmpReaderTest, RowsArePaddedToFourBytes)
{
    EXPECT_EQ(BmpReader::RowBytes(1), 4);
    EXPECT_EQ(BmpReader::RowBytes(3), 12);
    EXPECT_EQ(BmpReader::RowBytes(4), 12);
    EXPECT_EQ(BmpReader::RowBytes(5), 16);
}

TEST(BmpReaderTest, WrongTypeOrIncompleteFileHeaderIsNotABitmap)
{
    BmpBytes wrongType(2, 2);
    wrongType.type = 0x4142;
    EXPECT_EQ(CheckOf(wrongType), BitmapCheck::NotBitmap);

    auto bytes = BmpBytes(2, 2).Bytes();
    EXPECT_EQ(CheckOf({}), BitmapCheck::NotBitmap);
    EXPECT_EQ(CheckOf({bytes.begin(), bytes.begin() + 13}), BitmapCheck::NotBitmap);
    EXPECT_EQ(CheckOf({bytes.begin(), bytes.begin() + 14}), BitmapCheck::Unsupported);
    EXPECT_EQ(CheckOf({bytes.begin(), bytes.begin() + 53}), BitmapCheck::Unsupported);
    EXPECT_EQ(CheckOf({bytes.begin(), bytes.begin() + 54}), BitmapCheck::Ok);
}

TEST(BmpReaderTest, OnlyUncompressedTwentyFourBitSinglePlaneWithoutColourCountsIsSupported)
{
    const auto check = [](auto change)
    {
        BmpBytes bmp(2, 2);
        change(bmp);
        return CheckOf(bmp);
    };
    EXPECT_EQ(check([](BmpBytes& b) { b.bitCount = 8; }), BitmapCheck::Unsupported);
    EXPECT_EQ(check([](BmpBytes& b) { b.bitCount = 32; }), BitmapCheck::Unsupported);
    EXPECT_EQ(check([](BmpBytes& b) { b.planes = 2; }), BitmapCheck::Unsupported);
    EXPECT_EQ(check([](BmpBytes& b) { b.compression = 1; }), BitmapCheck::Unsupported);
    EXPECT_EQ(check([](BmpBytes& b) { b.coloursUsed = 1; }), BitmapCheck::Unsupported);
    EXPECT_EQ(check([](BmpBytes& b) { b.coloursImportant = 1; }), BitmapCheck::Unsupported);
}

TEST(BmpReaderTest, EmptyTopDownAndOversizedBitmapsAreUnsupported)
{
    EXPECT_EQ(CheckOf(BmpBytes(0, 2)), BitmapCheck::Unsupported);
    EXPECT_EQ(CheckOf(BmpBytes(2, 0)), BitmapCheck::Unsupported);
    EXPECT_EQ(CheckOf(BmpBytes(2, -2)), BitmapCheck::Unsupported);
    EXPECT_EQ(CheckOf(BmpBytes(-2, 2)), BitmapCheck::Unsupported);

    // Only the headers: the sizes alone must be refused without reading any pixels.
    const auto headers = [](std::int32_t width, std::int32_t height)
    {
        BmpBytes bmp(1, 1);
        bmp.width = width;
        bmp.height = height;
        return CheckOf(bmp.Headers());
    };
    EXPECT_EQ(headers(65535, 1), BitmapCheck::Ok);
    EXPECT_EQ(headers(65536, 1), BitmapCheck::Unsupported);
    EXPECT_EQ(headers(1, 65536), BitmapCheck::Unsupported);
    EXPECT_EQ(headers(0x7FFFFFFF, 0x7FFFFFFF), BitmapCheck::Unsupported);
    // 65535 × 65535 fits a cel header but not a bitmap file of 32-bit size.
    EXPECT_EQ(headers(65535, 65535), BitmapCheck::Unsupported);
    EXPECT_EQ(headers(65535, 21000), BitmapCheck::Ok);
    EXPECT_EQ(headers(65535, 21846), BitmapCheck::Unsupported);
}

TEST(BmpReaderTest, ReadsStoredRowsFromByte54AndZeroesWhatTheFileLacks)
{
    BmpBytes bmp(2, 2);
    bmp.At(0, 0) = 0x010203; // top row, stored second
    bmp.At(1, 0) = 0x040506;
    bmp.At(0, 1) = 0x0A0B0C; // bottom row, stored first
    bmp.At(1, 1) = 0x0D0E0F;
    auto bytes = bmp.Bytes();
    bytes.resize(bytes.size() - 5);
    std::istringstream in(Text(bytes));
    BmpReader reader(in);
    ASSERT_EQ(reader.Check(), BitmapCheck::Ok);

    std::vector<std::uint8_t> row(8, 0x55);
    reader.ReadRow(2, 0, row);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0xEE, 0xEE}));
    reader.ReadRow(2, 1, row);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{0x03, 0x02, 0x01, 0, 0, 0, 0, 0}));
    // Rows past the end, and rows read again after the stream hit its end.
    reader.ReadRow(2, 5, row);
    EXPECT_EQ(row, std::vector<std::uint8_t>(8, 0));
    reader.ReadRow(2, 0, row);
    EXPECT_EQ(row[0], 0x0C);
}
