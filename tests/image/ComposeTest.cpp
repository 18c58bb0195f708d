#include "image/Compose.h"
#include "image/PlacedCel.h"
#include "image/ScreenBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

/// Runs check once with the vector code of each instruction set that this processor runs.
void ForEachVectorTarget(const std::function<void(ComposeFunction)>& check)
{
    for (const VectorTarget& target : SupportedVectorTargets())
    {
        SCOPED_TRACE(target.name);
        check(target.compose);
    }
}

std::int32_t Uniform(std::mt19937& random, std::int32_t low, std::int32_t high)
{
    return std::uniform_int_distribution<std::int32_t>(low, high)(random);
}

/// Random bytes in which the values where the rules branch (0, 255, the transparent number)
/// come often.
std::uint8_t EdgyByte(std::mt19937& random, std::uint8_t special)
{
    switch (Uniform(random, 0, 5))
    {
    case 0:
        return 0;
    case 1:
        return 255;
    case 2:
        return special;
    default:
        return static_cast<std::uint8_t>(random());
    }
}

struct Scene
{
    ScreenBuffer buffer;
    PlacedCel cel;
    ColourMap map;
};

/// A random buffer (any depth, odd sizes, random bytes, a palette that may be short), a random
/// cel placed anywhere from wholly off the left or top to wholly off the right or bottom, with
/// a random dirty rectangle, map and opacity.
void MakeScene(std::mt19937& random, Scene& scene)
{
    static constexpr std::int32_t kDepths[] = {8, 24, 32};
    static constexpr std::int32_t kOpacities[] = {0, 1, 127, 128, 255, 256, 300, -1};
    const std::int32_t width = Uniform(random, 1, 290);
    const std::int32_t height = Uniform(random, 1, 9);
    std::vector<PaletteColour> palette(static_cast<std::size_t>(Uniform(random, 1, 256)));
    for (PaletteColour& c : palette)
        c = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
             static_cast<std::uint8_t>(random()), 0};
    scene.buffer.SetFormat(width, height, kDepths[Uniform(random, 0, 2)]);
    scene.buffer.SetPalette(palette.data(), static_cast<std::int32_t>(palette.size()));
    const std::size_t bytes =
        static_cast<std::size_t>(scene.buffer.RowSize()) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < bytes; ++i)
        scene.buffer.Pixels()[i] = EdgyByte(random, 0);
    scene.buffer.ClearDirty();
    scene.buffer.AddDirty({Uniform(random, -5, width), Uniform(random, -5, height),
                           Uniform(random, 0, width + 5), Uniform(random, 0, height + 5)});
    if (Uniform(random, 0, 1))
        scene.buffer.MarkAllDirty();

    CelImage image;
    image.depth = Uniform(random, 0, 1) ? 8 : 32;
    image.width = Uniform(random, 1, 300);
    image.height = Uniform(random, 1, 9);
    image.transparentIndex = static_cast<std::uint8_t>(random());
    image.opacity =
        Uniform(random, 0, 2) ? kOpacities[Uniform(random, 0, 7)] : Uniform(random, 0, 256);
    Bytes pixels(static_cast<std::size_t>(image.RowBytes()) * image.height);
    for (std::uint8_t& b : pixels)
        b = EdgyByte(random, image.transparentIndex);
    image.pixels = std::make_shared<const Bytes>(std::move(pixels));
    scene.cel = PlacedCel(image);
    scene.cel.x = Uniform(random, -image.width - 2, width + 2);
    scene.cel.y = Uniform(random, -image.height - 2, height + 2);
    for (std::uint8_t& m : scene.map.map)
        m = static_cast<std::uint8_t>(random());
    scene.cel.colourMap = Uniform(random, 0, 4) ? &scene.map : nullptr;
}

Bytes Contents(const ScreenBuffer& buffer)
{
    const std::size_t bytes =
        static_cast<std::size_t>(buffer.RowSize()) * static_cast<std::size_t>(buffer.Height());
    return Bytes(buffer.Pixels(), buffer.Pixels() + bytes);
}

/// Composes one row of count pixels both ways; the number of target bytes that differ.
int RowMismatches(ComposeFunction compose, const Bytes& source, const Bytes& target,
                  std::size_t count, const Composition& composition)
{
    Bytes expected = target;
    Bytes got = target;
    const Run run{source.data(), 0, expected.data(), 0, static_cast<std::int32_t>(count), 1};
    ComposeScalar(run, composition);
    compose({source.data(), 0, got.data(), 0, static_cast<std::int32_t>(count), 1}, composition);
    int mismatches = 0;
    for (std::size_t i = 0; i < got.size(); ++i)
        mismatches += got[i] != expected[i];
    return mismatches;
}

} // namespace

TEST(ComposeTest, VectorCodeMatchesTheReferenceOnRandomScenes)
{
    ForEachVectorTarget(
        [](ComposeFunction compose)
        {
            std::mt19937 random(20261208);
            for (int trial = 0; trial < 400; ++trial)
            {
                Scene scene;
                MakeScene(random, scene);
                const Bytes before = Contents(scene.buffer);
                scene.cel.Draw(scene.buffer, ComposeScalar);
                const Bytes expected = Contents(scene.buffer);
                std::memcpy(scene.buffer.Pixels(), before.data(), before.size());
                scene.cel.Draw(scene.buffer, compose);
                ASSERT_EQ(Contents(scene.buffer), expected)
                    << "trial " << trial << ", depth " << scene.buffer.Depth() << ", cel depth "
                    << scene.cel.depth << ", opacity " << scene.cel.opacity;
            }
        });
}

TEST(ComposeTest, VectorArithmeticMatchesTheReferenceForEveryDifferenceAndWeight)
{
    // The rules depend on a source and a target byte only through their difference, so targets
    // of 0 and 255 give every difference of either sign. One row holds every (source, alpha)
    // pair, or every colour number over both targets.
    Bytes trueColour(4 * 65536);
    for (std::size_t i = 0; i < 65536; ++i)
    {
        const auto s = static_cast<std::uint8_t>(i);
        trueColour[4 * i] = s;
        trueColour[4 * i + 1] = static_cast<std::uint8_t>(255 - s);
        trueColour[4 * i + 2] = static_cast<std::uint8_t>(s * 37);
        trueColour[4 * i + 3] = static_cast<std::uint8_t>(i >> 8);
    }
    Bytes numbers(512);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        numbers[i] = static_cast<std::uint8_t>(i);
    NumberLookup lookup;
    for (std::size_t c = 0; c < 256; ++c)
    {
        lookup.blue[c] = static_cast<std::uint8_t>(c);
        lookup.green[c] = static_cast<std::uint8_t>(255 - c);
        lookup.red[c] = static_cast<std::uint8_t>(c * 101);
    }
    lookup.transparent = 7;
    lookup.PackPixels();

    ForEachVectorTarget(
        [&](ComposeFunction compose)
        {
            int mismatches = 0;
            for (const std::size_t bytes : {std::size_t{3}, std::size_t{4}})
            {
                for (const std::int32_t g : {256, 1, 100, 255})
                {
                    const Composition c{g == 256 ? ComposeRule::Alpha
                                                 : ComposeRule::AlphaAndOpacity,
                                        bytes, g, nullptr};
                    for (const std::uint8_t d : {0, 255})
                        mismatches +=
                            RowMismatches(compose, trueColour, Bytes(bytes * 65536, d), 65536, c);
                }
                Bytes targetOfNumbers(bytes * 512, 0);
                std::memset(&targetOfNumbers[bytes * 256], 255, bytes * 256);
                for (std::int32_t g = 1; g <= 256; ++g)
                {
                    const Composition c{g == 256 ? ComposeRule::SolidNumbers
                                                 : ComposeRule::BlendedNumbers,
                                        bytes, g, &lookup};
                    mismatches += RowMismatches(compose, numbers, targetOfNumbers, 512, c);
                }
            }
            EXPECT_EQ(mismatches, 0);
        });
}
