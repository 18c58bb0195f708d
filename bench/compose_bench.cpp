// Composing speed: pixels per second for the common cel kinds, beside a memcpy of as many
// target bytes as the reference.
#include "image/Cel.h"
#include "image/PlacedCel.h"
#include "image/ScreenBuffer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace
{

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;
constexpr std::int64_t kPixels = std::int64_t{kWidth} * kHeight;

/// A full-screen cel; colour numbers are random with about one pixel in eight transparent,
/// alphas random with about a quarter each fully transparent and fully opaque.
PlacedCel MakeCel(std::int32_t depth)
{
    std::mt19937 random(42);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kPixels) * (depth / 8));
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        const auto value = static_cast<std::uint8_t>(random());
        if (depth == 8)
            bytes[i] = value % 8 == 0 ? 0 : value;
        else if (i % 4 == 3)
            bytes[i] = value < 64 ? 0 : value < 128 ? 255 : value;
        else
            bytes[i] = value;
    }
    CelImage image;
    image.width = kWidth;
    image.height = kHeight;
    image.depth = depth;
    image.pixels = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    return PlacedCel(image);
}

const ColourMap& IdentityMap()
{
    static const ColourMap map = []
    {
        ColourMap m;
        for (std::size_t c = 0; c < m.map.size(); ++c)
            m.map[c] = static_cast<std::uint8_t>(c);
        return m;
    }();
    return map;
}

void Compose(benchmark::State& state, std::int32_t bufferDepth, std::int32_t celDepth,
             std::int32_t opacity)
{
    std::vector<PaletteColour> palette(256);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7, 0};
    ScreenBuffer buffer;
    buffer.SetFormat(kWidth, kHeight, bufferDepth);
    buffer.SetPalette(palette.data(), 256);
    buffer.FillBackground(buffer.ScreenRect());
    PlacedCel cel = MakeCel(celDepth);
    cel.colourMap = &IdentityMap();
    cel.opacity = opacity;
    for (auto _ : state)
    {
        cel.Draw(buffer);
        benchmark::DoNotOptimize(buffer.Pixels());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(kPixels * state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

void Memcpy(benchmark::State& state, std::size_t bytesPerPixel)
{
    const std::size_t bytes = static_cast<std::size_t>(kPixels) * bytesPerPixel;
    std::vector<std::uint8_t> source(bytes, 1);
    std::vector<std::uint8_t> target(bytes, 2);
    for (auto _ : state)
    {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(kPixels * state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

void BM_MemcpyFullColour(benchmark::State& state)
{
    Memcpy(state, 4);
}

void BM_MemcpyIndexed(benchmark::State& state)
{
    Memcpy(state, 1);
}

void BM_Opaque8BitIntoFullColour(benchmark::State& state)
{
    Compose(state, 32, 8, 256);
}

void BM_Opaque8BitInto256Colours(benchmark::State& state)
{
    Compose(state, 8, 8, 256);
}

void BM_PartialOpacity8BitIntoFullColour(benchmark::State& state)
{
    Compose(state, 32, 8, 128);
}

void BM_Alpha32BitIntoFullColour(benchmark::State& state)
{
    Compose(state, 32, 32, 256);
}

void BM_Alpha32BitPartialOpacityIntoFullColour(benchmark::State& state)
{
    Compose(state, 32, 32, 128);
}

} // namespace

BENCHMARK(BM_MemcpyFullColour);
BENCHMARK(BM_Opaque8BitIntoFullColour);
BENCHMARK(BM_PartialOpacity8BitIntoFullColour);
BENCHMARK(BM_Alpha32BitIntoFullColour);
BENCHMARK(BM_Alpha32BitPartialOpacityIntoFullColour);
BENCHMARK(BM_MemcpyIndexed);
BENCHMARK(BM_Opaque8BitInto256Colours);

BENCHMARK_MAIN();
