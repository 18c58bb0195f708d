#include "image/ScreenBuffer.h"

#include "support/FakeScreenMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

std::uint32_t LittleEndian(const Bytes& bytes, std::size_t offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
    return value;
}

Bytes ScreenPixel(const ScreenBuffer& buffer, std::int32_t x, std::int32_t y)
{
    const int bytes = buffer.Depth() / 8;
    const std::uint8_t* p = buffer.ScreenRow(y) + static_cast<std::size_t>(x) * bytes;
    return Bytes(p, p + bytes);
}

} // namespace

TEST(ScreenBufferTest, StartsAsOnePixelFullColourWithoutStorage)
{
    const ScreenBuffer buffer;
    EXPECT_EQ(buffer.Depth(), 32);
    EXPECT_EQ(buffer.ScreenRect(), (Rect{0, 0, 1, 1}));
    EXPECT_TRUE(buffer.DirtyRect().IsEmpty());
    EXPECT_FALSE(buffer.HasPixels());
    EXPECT_TRUE(buffer.UsesSection());
    EXPECT_EQ(buffer.BackgroundIndex(), 255);
    EXPECT_EQ(Bytes(buffer.BackgroundColour(), buffer.BackgroundColour() + 4),
              (Bytes{255, 255, 255, 0}));
}

TEST(ScreenBufferTest, RowsArePaddedToFourBytesAndStoredBottomUp)
{
    ScreenBuffer buffer;
    buffer.SetFormat(450, 3, 8);
    EXPECT_EQ(buffer.RowSize(), 452);
    buffer.SetFormat(0, 0, 24);
    EXPECT_EQ(buffer.RowSize(), 1352);
    EXPECT_EQ(buffer.Width(), 450);
    buffer.SetFormat(0, 0, 32);
    EXPECT_EQ(buffer.RowSize(), 1800);
    ASSERT_TRUE(buffer.HasPixels());
    EXPECT_EQ(buffer.ScreenRow(2), buffer.Pixels());
    EXPECT_EQ(buffer.ScreenRow(0), buffer.Pixels() + 2 * 1800);
}

TEST(ScreenBufferTest, SetFormatKeepsWhatIsZeroAndMarksAllDirty)
{
    ScreenBuffer buffer;
    buffer.SetFormat(448, 320, 0);
    EXPECT_EQ(buffer.ScreenRect(), (Rect{0, 0, 448, 320}));
    EXPECT_EQ(buffer.DirtyRect(), buffer.ScreenRect());
    EXPECT_EQ(buffer.Depth(), 32);
    buffer.ClearDirty();
    buffer.SetFormat(0, 0, 8);
    EXPECT_EQ(buffer.ScreenRect(), (Rect{0, 0, 448, 320}));
    EXPECT_EQ(buffer.DirtyRect(), buffer.ScreenRect());
    EXPECT_EQ(buffer.Depth(), 8);
    buffer.SetFormat(100, 0, 0);
    EXPECT_EQ(buffer.Width(), 448);
    buffer.SetFormat(-5, 10, 0);
    EXPECT_EQ(buffer.ScreenRect(), (Rect{0, 0, 448, 320}));
}

TEST(ScreenBufferTest, BitmapInfoHeaderDescribesTheLayout)
{
    ScreenBuffer buffer;
    buffer.SetFormat(450, 7, 32);
    const Bytes& info = buffer.BitmapInfo();
    ASSERT_EQ(info.size(), 40u);
    EXPECT_EQ(LittleEndian(info, 0, 4), 40u);
    EXPECT_EQ(LittleEndian(info, 4, 4), 450u);
    EXPECT_EQ(LittleEndian(info, 8, 4), 7u);
    EXPECT_EQ(LittleEndian(info, 12, 2), 1u);
    EXPECT_EQ(LittleEndian(info, 14, 2), 32u);
    for (std::size_t offset = 16; offset < 40; ++offset)
        EXPECT_EQ(info[offset], 0) << offset;

    buffer.SetFormat(0, 0, 8);
    ASSERT_EQ(buffer.BitmapInfo().size(), 40u + 1024u);
    EXPECT_EQ(LittleEndian(buffer.BitmapInfo(), 14, 2), 8u);
}

TEST(ScreenBufferTest, ColourTableFollowsThePaletteThenBlack)
{
    ScreenBuffer buffer;
    buffer.SetFormat(4, 4, 8);
    // Without palette data the table is a grey ramp.
    EXPECT_EQ(Bytes(&buffer.BitmapInfo()[40 + 4 * 200], &buffer.BitmapInfo()[40 + 4 * 201]),
              (Bytes{200, 200, 200, 0}));

    const PaletteColour merged[3] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {255, 0, 1, 0}};
    buffer.ClearDirty();
    buffer.SetPalette(merged, 3);
    EXPECT_EQ(buffer.PaletteEntryCount(), 3);
    EXPECT_EQ(buffer.DirtyRect(), buffer.ScreenRect());
    const Bytes& info = buffer.BitmapInfo();
    EXPECT_EQ(Bytes(&info[40], &info[52]), (Bytes{30, 20, 10, 0, 60, 50, 40, 0, 1, 0, 255, 0}));
    EXPECT_EQ(Bytes(&info[52], info.data() + info.size()), Bytes(253 * 4, 0));
}

TEST(ScreenBufferTest, EmptyPaletteOnlyDropsThePaletteData)
{
    ScreenBuffer buffer;
    buffer.SetFormat(4, 4, 8);
    const PaletteColour one{1, 2, 3, 0};
    buffer.SetPalette(&one, 1);
    buffer.ClearDirty();
    buffer.SetPalette(nullptr, 0);
    EXPECT_EQ(buffer.PaletteEntryCount(), 0);
    EXPECT_TRUE(buffer.DirtyRect().IsEmpty());
    EXPECT_EQ(buffer.BitmapInfo()[40], 3);
}

TEST(ScreenBufferTest, BackgroundIsPaletteEntryOrGrey)
{
    ScreenBuffer buffer;
    const PaletteColour merged[2] = {{10, 20, 30, 0}, {40, 50, 60, 0}};
    buffer.SetPalette(merged, 2);
    buffer.SetBackground(1);
    EXPECT_EQ(buffer.BackgroundIndex(), 1);
    EXPECT_EQ(Bytes(buffer.BackgroundColour(), buffer.BackgroundColour() + 4),
              (Bytes{60, 50, 40, 0}));
    buffer.SetBackground(2);
    EXPECT_EQ(Bytes(buffer.BackgroundColour(), buffer.BackgroundColour() + 4), (Bytes{2, 2, 2, 0}));

    ScreenBuffer bare;
    bare.SetBackground(0);
    EXPECT_EQ(Bytes(bare.BackgroundColour(), bare.BackgroundColour() + 3), (Bytes{0, 0, 0}));
    bare.SetBackground(255);
    EXPECT_EQ(Bytes(bare.BackgroundColour(), bare.BackgroundColour() + 3), (Bytes{255, 255, 255}));
}

TEST(ScreenBufferTest, FillBackgroundClearsOnlyInsideTheScreen)
{
    const PaletteColour merged[1] = {{10, 20, 30, 0}};
    for (const std::int32_t depth : {8, 24, 32})
    {
        ScreenBuffer buffer;
        buffer.SetFormat(5, 3, depth);
        buffer.SetPalette(merged, 1);
        buffer.SetBackground(0);
        buffer.FillBackground({-2, -2, 100, 100});
        buffer.SetBackground(7);
        buffer.FillBackground({1, 1, 3, 2});

        const Bytes zero = depth == 8    ? Bytes{0}
                           : depth == 24 ? Bytes{30, 20, 10}
                                         : Bytes{30, 20, 10, 0};
        const Bytes seven = depth == 8    ? Bytes{7}
                            : depth == 24 ? Bytes{7, 7, 7}
                                          : Bytes{7, 7, 7, 0};
        for (std::int32_t y = 0; y < 3; ++y)
        {
            for (std::int32_t x = 0; x < 5; ++x)
            {
                const bool inner = x >= 1 && x < 3 && y == 1;
                EXPECT_EQ(ScreenPixel(buffer, x, y), inner ? seven : zero)
                    << depth << " bits at " << x << "," << y;
            }
        }
    }
}

TEST(ScreenBufferTest, SectionFailureFallsBackToTwentyFourBitsForGood)
{
    FakeScreenMemory memory;
    memory.sectionFails = true;
    RecordingMessageSink sink;
    ScreenBuffer buffer(&memory, &sink);
    buffer.SetFormat(10, 10, 0);
    EXPECT_FALSE(buffer.UsesSection());
    EXPECT_EQ(buffer.Depth(), 24);
    EXPECT_TRUE(buffer.HasPixels());
    EXPECT_EQ(LittleEndian(buffer.BitmapInfo(), 14, 2), 24u);
    EXPECT_EQ(memory.sectionCalls, 1);
    EXPECT_EQ(memory.plainCalls, 1);

    memory.sectionFails = false;
    buffer.SetFormat(0, 0, 8);
    buffer.SetFormat(0, 0, 32);
    EXPECT_EQ(buffer.Depth(), 24);
    EXPECT_EQ(memory.sectionCalls, 1);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ScreenBufferTest, PlainMemoryFailureShowsTheMessageAndLeavesNoStorage)
{
    FakeScreenMemory memory;
    memory.sectionFails = true;
    memory.plainFails = true;
    RecordingMessageSink sink;
    ScreenBuffer buffer(&memory, &sink);
    buffer.SetFormat(10, 10, 32);
    EXPECT_FALSE(buffer.HasPixels());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], "スクリーンバッファの作成に失敗しました。");
    buffer.FillBackground({0, 0, 10, 10});

    memory.plainFails = false;
    buffer.SetFormat(0, 0, 0);
    EXPECT_TRUE(buffer.HasPixels());
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(ScreenBufferTest, HugeScreenIsRefusedWithoutGivingUpTheSection)
{
    FakeScreenMemory memory;
    RecordingMessageSink sink;
    ScreenBuffer buffer(&memory, &sink);
    buffer.SetFormat(60000, 60000, 32);
    EXPECT_FALSE(buffer.HasPixels());
    EXPECT_EQ(memory.sectionCalls + memory.plainCalls, 0);
    ASSERT_EQ(sink.messages.size(), 1u);

    buffer.SetFormat(640, 480, 0);
    EXPECT_TRUE(buffer.HasPixels());
    EXPECT_TRUE(buffer.UsesSection());
    EXPECT_EQ(buffer.Depth(), 32);
}

TEST(ScreenBufferTest, DirtyRectangleGrowsByUnion)
{
    ScreenBuffer buffer;
    buffer.SetFormat(100, 100, 32);
    buffer.ClearDirty();
    buffer.AddDirty({10, 10, 20, 20});
    EXPECT_EQ(buffer.DirtyRect(), (Rect{10, 10, 20, 20}));
    buffer.AddDirty({15, 5, 30, 12});
    EXPECT_EQ(buffer.DirtyRect(), (Rect{10, 5, 30, 20}));
    buffer.MarkAllDirty();
    EXPECT_EQ(buffer.DirtyRect(), (Rect{0, 0, 100, 100}));
}
