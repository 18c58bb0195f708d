#include "image/PlacedCel.h"

#include "image/ScreenBuffer.h"
#include "support/CelBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

PlacedCel Placed(const CelBytes& bytes)
{
    Cel cel;
    cel.Load(bytes.Bytes());
    EXPECT_TRUE(cel.IsOk());
    return PlacedCel(cel);
}

const PaletteColour kMerged[3] = {{10, 20, 30, 0}, {200, 100, 50, 0}, {0, 0, 0, 0}};

/// A buffer of the given format holding kMerged, cleared to its background index 2 (black).
void Prepare(ScreenBuffer& buffer, std::int32_t width, std::int32_t height, std::int32_t depth)
{
    buffer.SetFormat(width, height, depth);
    buffer.SetPalette(kMerged, 3);
    buffer.SetBackground(2);
    buffer.FillBackground(buffer.ScreenRect());
}

Bytes Pixel(const ScreenBuffer& buffer, std::int32_t x, std::int32_t y)
{
    const int bytes = buffer.Depth() / 8;
    const std::uint8_t* p = buffer.ScreenRow(y) + static_cast<std::size_t>(x) * bytes;
    return Bytes(p, p + bytes);
}

/// Screen rows top-down, one index per pixel, as a string of digits (8-bit buffers).
std::string Indices(const ScreenBuffer& buffer)
{
    std::string rows;
    for (std::int32_t y = 0; y < buffer.Height(); ++y)
    {
        for (std::int32_t x = 0; x < buffer.Width(); ++x)
            rows += static_cast<char>('0' + Pixel(buffer, x, y)[0] % 10);
        rows += '/';
    }
    return rows;
}

/// One pixel composed over a one-pixel full-colour target holding target.
Bytes ComposeOne(std::int32_t depth, const Bytes& target, PlacedCel cel)
{
    ScreenBuffer buffer;
    Prepare(buffer, 1, 1, depth);
    std::memcpy(buffer.ScreenRow(0), target.data(), target.size());
    cel.Draw(buffer);
    return Pixel(buffer, 0, 0);
}

struct Regression
{
    Bytes target; // blue, green, red, fourth byte
    Bytes source; // blue, green, red, alpha
    std::int32_t opacity;
    Bytes expected; // blue, green, red, fourth byte
};

} // namespace

TEST(PlacedCelTest, TrueColourPixelsFollowTheAlphaAndOpacityRules)
{
    const Regression table[] = {
        // Alpha alone: d + (s - d) * a / 256, toward zero.
        {{255, 0, 9, 7}, {0, 255, 9, 128}, 256, {128, 127, 9, 7}},
        {{0, 0, 0, 7}, {255, 255, 255, 1}, 256, {0, 0, 0, 7}},
        {{0, 255, 0, 7}, {255, 0, 0, 254}, 256, {253, 2, 0, 7}},
        // Alpha 255 copies the whole pixel, alpha included; alpha 0 keeps the target.
        {{1, 2, 3, 7}, {9, 8, 7, 255}, 256, {9, 8, 7, 255}},
        {{1, 2, 3, 7}, {9, 8, 7, 0}, 256, {1, 2, 3, 7}},
        // Opacity on opaque pixels, then both one after the other.
        {{100, 100, 100, 7}, {200, 0, 100, 255}, 128, {150, 50, 100, 7}},
        {{255, 0, 9, 7}, {0, 255, 9, 128}, 100, {206, 49, 9, 7}},
        {{10, 250, 10, 7}, {250, 10, 10, 200}, 200, {156, 104, 10, 7}},
        {{1, 2, 3, 7}, {9, 8, 7, 0}, 100, {1, 2, 3, 7}},
        // Opacity 0 or below draws nothing.
        {{1, 2, 3, 7}, {9, 8, 7, 255}, 0, {1, 2, 3, 7}},
        {{1, 2, 3, 7}, {9, 8, 7, 255}, -5, {1, 2, 3, 7}},
        // Above 256 counts as solid.
        {{1, 2, 3, 7}, {9, 8, 7, 255}, 300, {9, 8, 7, 255}},
    };
    for (const Regression& r : table)
    {
        PlacedCel cel = Placed(CelBytes::TrueColour(1, 1, r.source));
        cel.opacity = r.opacity;
        EXPECT_EQ(ComposeOne(32, r.target, cel), r.expected)
            << "opacity " << r.opacity << " alpha " << int(r.source[3]);
        const Bytes target3(r.target.begin(), r.target.begin() + 3);
        const Bytes expected3(r.expected.begin(), r.expected.begin() + 3);
        EXPECT_EQ(ComposeOne(24, target3, cel), expected3)
            << "24 bits, opacity " << r.opacity << " alpha " << int(r.source[3]);
    }
}

TEST(PlacedCelTest, ColourNumbersInFullColourUseTheMapAndOpacity)
{
    ColourMap map;
    map.map[5] = 1; // (200, 100, 50) → blue 50, green 100, red 200
    map.map[6] = 3; // past the three merged colours: black
    struct Case
    {
        std::uint8_t number;
        const ColourMap* map;
        std::int32_t opacity;
        Bytes expected;
    };
    const Bytes target{100, 100, 100, 7};
    const Case table[] = {
        {5, &map, 256, {50, 100, 200, 7}},
        {5, &map, 128, {75, 100, 150, 7}},
        {5, &map, 6, {99, 100, 102, 7}}, // -300 / 256 is -1, not -2
        {5, &map, 0, {100, 100, 100, 7}},
        {6, &map, 256, {0, 0, 0, 7}},
        {4, &map, 256, {100, 100, 100, 7}}, // the transparent index
        {5, nullptr, 256, {255, 255, 255, 7}},
        {5, nullptr, 0, {255, 255, 255, 7}}, // no map: white whatever the opacity
        {4, nullptr, 0, {100, 100, 100, 7}},
    };
    for (const Case& c : table)
    {
        PlacedCel cel = Placed(CelBytes::Indexed(1, 1, {c.number}).TransparentIndex(4));
        cel.colourMap = c.map;
        cel.opacity = c.opacity;
        EXPECT_EQ(ComposeOne(32, target, cel), c.expected)
            << int(c.number) << " opacity " << c.opacity << (c.map ? " map" : " no map");
        EXPECT_EQ(ComposeOne(24, {100, 100, 100}, cel),
                  Bytes(c.expected.begin(), c.expected.begin() + 3));
    }
}

TEST(PlacedCelTest, TwoHundredFiftySixColoursIgnoreOpacityAndTrueColour)
{
    ColourMap map;
    map.map[1] = 4;
    map.map[2] = 9;
    ScreenBuffer buffer;
    Prepare(buffer, 4, 1, 8);

    PlacedCel numbers = Placed(CelBytes::Indexed(4, 1, {1, 2, 3, 0}).TransparentIndex(3));
    numbers.colourMap = &map;
    numbers.opacity = 0;
    numbers.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "4920/");

    PlacedCel unmapped = Placed(CelBytes::Indexed(4, 1, {3, 0, 1, 1}).TransparentIndex(1));
    unmapped.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "5520/"); // 255 shows as its last digit

    PlacedCel trueColour = Placed(CelBytes::TrueColour(1, 1, {1, 1, 1, 255}));
    trueColour.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "5520/");
}

TEST(PlacedCelTest, DrawsOnlyInsideTheScreenAndDirtyRectangles)
{
    ColourMap map;
    for (int c = 0; c < 10; ++c)
        map.map[c] = static_cast<std::uint8_t>(c);
    // 3 × 3 cel, numbers 1 to 9 row by row, 0 transparent.
    PlacedCel cel = Placed(CelBytes::Indexed(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}).Offset(1, 0));
    cel.colourMap = &map;

    ScreenBuffer buffer;
    Prepare(buffer, 4, 3, 8);
    cel.x = -3;
    cel.y = 1; // top-left at (-2, 1): only the last column and first two rows show
    cel.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "2222/3222/6222/");

    Prepare(buffer, 4, 3, 8);
    cel.x = 0;
    cel.y = 0;
    buffer.ClearDirty();
    buffer.AddDirty({2, 1, 10, 2});
    cel.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "2222/2256/2222/");

    buffer.ClearDirty();
    cel.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "2222/2256/2222/");

    buffer.MarkAllDirty();
    cel.visible = 0;
    cel.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "2222/2256/2222/");
}

TEST(PlacedCelTest, FullColourRowsLandBottomUpWithClipping)
{
    ColourMap map;
    map.map[1] = 0;
    map.map[2] = 1;
    PlacedCel cel = Placed(CelBytes::Indexed(2, 2, {1, 0, 2, 1}));
    cel.colourMap = &map;
    cel.x = 1;
    cel.y = 1;
    for (const std::int32_t depth : {24, 32})
    {
        ScreenBuffer buffer;
        Prepare(buffer, 2, 3, depth);
        cel.Draw(buffer);
        const Bytes black(depth / 8, 0);
        Bytes first{30, 20, 10};
        Bytes second{50, 100, 200};
        first.resize(depth / 8, 0);
        second.resize(depth / 8, 0);
        EXPECT_EQ(Pixel(buffer, 0, 0), black);
        EXPECT_EQ(Pixel(buffer, 1, 0), black);
        EXPECT_EQ(Pixel(buffer, 0, 1), black);
        EXPECT_EQ(Pixel(buffer, 1, 1), first);
        EXPECT_EQ(Pixel(buffer, 0, 2), black);
        EXPECT_EQ(Pixel(buffer, 1, 2), second);
    }
}

TEST(PlacedCelTest, NothingIsDrawnWithoutStorageOrPixels)
{
    ScreenBuffer buffer;
    PlacedCel cel = Placed(CelBytes::Indexed(1, 1, {1}));
    cel.Draw(buffer); // no storage yet
    EXPECT_FALSE(buffer.HasPixels());

    Prepare(buffer, 2, 2, 8);
    PlacedCel empty;
    empty.width = 2;
    empty.height = 2;
    empty.depth = 8;
    empty.Draw(buffer);
    // A block smaller than the stated size is never read.
    empty.pixels = std::make_shared<const Bytes>(Bytes{1, 1, 1});
    empty.Draw(buffer);
    EXPECT_FALSE(empty.HitTest(1, 1));
    EXPECT_EQ(Indices(buffer), "22/22/");
}

TEST(PlacedCelTest, HitTestSeesThroughTransparentPixelsOnly)
{
    PlacedCel numbers =
        Placed(CelBytes::Indexed(2, 2, {0, 1, 2, 5}).Offset(10, 20).TransparentIndex(5));
    numbers.x = 100;
    numbers.y = 200;
    numbers.opacity = 0;
    EXPECT_TRUE(numbers.HitTest(110, 220)); // colour 0 is not the transparent index
    EXPECT_TRUE(numbers.HitTest(111, 220));
    EXPECT_TRUE(numbers.HitTest(110, 221));
    EXPECT_FALSE(numbers.HitTest(111, 221));
    EXPECT_FALSE(numbers.HitTest(109, 220));
    EXPECT_FALSE(numbers.HitTest(112, 220));
    EXPECT_FALSE(numbers.HitTest(110, 222));
    numbers.visible = 0;
    EXPECT_FALSE(numbers.HitTest(110, 220));

    PlacedCel trueColour = Placed(CelBytes::TrueColour(2, 1, {9, 9, 9, 0, 0, 0, 0, 1}));
    EXPECT_FALSE(trueColour.HitTest(0, 0));
    EXPECT_TRUE(trueColour.HitTest(1, 0));
}

TEST(PlacedCelTest, MovesGrowTheDirtyRectangleOnlyForVisibleCels)
{
    ScreenBuffer buffer;
    buffer.SetFormat(100, 100, 32);
    buffer.ClearDirty();
    PlacedCel cel = Placed(CelBytes::Indexed(4, 3, Bytes(12, 1)).Offset(2, 1));
    cel.x = 10;
    cel.y = 10;
    EXPECT_EQ(cel.CelRect(), (Rect{12, 11, 16, 14}));

    cel.MoveBy(buffer, 5, -2);
    EXPECT_EQ(buffer.DirtyRect(), (Rect{12, 9, 21, 14}));
    EXPECT_EQ(cel.x, 15);
    EXPECT_EQ(cel.y, 8);

    buffer.ClearDirty();
    cel.MoveTo(buffer, 0, 0);
    EXPECT_EQ(buffer.DirtyRect(), (Rect{2, 1, 21, 12}));
    EXPECT_EQ(cel.x, 0);

    buffer.ClearDirty();
    cel.visible = 0;
    cel.MoveBy(buffer, 30, 30);
    cel.MoveTo(buffer, 50, 60);
    EXPECT_TRUE(buffer.DirtyRect().IsEmpty());
    EXPECT_EQ(cel.x, 50);
    EXPECT_EQ(cel.y, 60);
}

TEST(PlacedCelTest, PositionsAtTheThirtyTwoBitLimitsNeitherWrapNorOverflow)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    ScreenBuffer buffer;
    Prepare(buffer, 8, 8, 8);
    buffer.ClearDirty();
    PlacedCel cel = Placed(CelBytes::Indexed(4, 3, Bytes(12, 1)).Offset(5, 2));
    cel.x = kMax - 6;
    cel.y = kMin;
    EXPECT_EQ(cel.CelRect(), (Rect{kMax - 1, kMin + 2, kMax, kMin + 5}));
    EXPECT_TRUE(cel.HitTest(kMax - 1, kMin + 2));

    cel.MoveBy(buffer, 100, -100);
    EXPECT_EQ(cel.x, kMax);
    EXPECT_EQ(cel.y, kMin);
    EXPECT_TRUE(Rect::Intersect(buffer.DirtyRect(), buffer.ScreenRect()).IsEmpty());

    cel.MoveTo(buffer, -5, -2);
    EXPECT_EQ(cel.CelRect(), (Rect{0, 0, 4, 3}));
    cel.Draw(buffer);
    EXPECT_EQ(Indices(buffer).substr(0, 9), "55552222/");
}

TEST(PlacedCelTest, EarlierDrawnCelIsCoveredByLaterOne)
{
    ColourMap map;
    map.map[1] = 1;
    map.map[3] = 3;
    ScreenBuffer buffer;
    Prepare(buffer, 3, 1, 8);
    PlacedCel back = Placed(CelBytes::Indexed(2, 1, {1, 1}));
    PlacedCel front = Placed(CelBytes::Indexed(2, 1, {3, 3}));
    back.colourMap = front.colourMap = &map;
    front.x = 1;
    back.Draw(buffer);
    front.Draw(buffer);
    EXPECT_EQ(Indices(buffer), "133/");
}
