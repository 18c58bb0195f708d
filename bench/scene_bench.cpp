#include "bench/MemoryFiles.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

const std::string kRealSet = std::string(VELQUIN_KISS_SETS_DIR) + "/lucca1r/lucca.cnf";

constexpr int kSyntheticCels = 1000;
constexpr int kScreenWidth = 1500;
constexpr int kScreenHeight = 600;
constexpr int kDragWidth = 200;
constexpr int kDragHeight = 300;

/// An 8-bit cel with a transparent border ring and colour numbers varying across it.
std::vector<std::uint8_t> SyntheticCel(int width, int height, int seed)
{
    std::vector<std::uint8_t> bytes(32 + static_cast<std::size_t>(width * height), 0);
    const char magic[] = {'K', 'i', 'S', 'S', 0x20, 8};
    std::copy(std::begin(magic), std::end(magic), bytes.begin());
    PutWord(bytes, 8, width);
    PutWord(bytes, 10, height);
    for (int y = 1; y + 1 < height; ++y)
    {
        for (int x = 1; x + 1 < width; ++x)
            bytes[32 + static_cast<std::size_t>(y * width + x)] =
                static_cast<std::uint8_t>(1 + (x + y + seed) % 255);
    }
    return bytes;
}

/// A 24-bit palette of ten groups of 256 colours.
std::vector<std::uint8_t> SyntheticPalette()
{
    std::vector<std::uint8_t> bytes(32, 0);
    const char magic[] = {'K', 'i', 'S', 'S', 0x10, 24};
    std::copy(std::begin(magic), std::end(magic), bytes.begin());
    PutWord(bytes, 8, 256);
    PutWord(bytes, 10, 10);
    for (int group = 0; group < 10; ++group)
    {
        for (int c = 0; c < 256; ++c)
        {
            bytes.push_back(static_cast<std::uint8_t>(c));
            bytes.push_back(static_cast<std::uint8_t>(255 - c));
            bytes.push_back(static_cast<std::uint8_t>(c * 7 + group * 25));
        }
    }
    return bytes;
}

/// 1000 objects of one cel each on a 1500 × 600 screen; object 0 is 200 × 300 and drawn on top.
/// Every set places every object somewhere else. The cels cover the screen about four times
/// over, a little more than the densest real set (sk_kimux set 8, 3.8 times).
std::string SyntheticSet(MemoryFiles& files)
{
    files.files["pal.kcf"] = SyntheticPalette();
    std::string config = "(" + std::to_string(kScreenWidth) + "," + std::to_string(kScreenHeight) +
                         ")\r\n%pal.kcf\r\n";
    std::vector<Point> sizes;
    for (int i = 0; i < kSyntheticCels; ++i)
    {
        const std::string name = "c" + std::to_string(i) + ".cel";
        const int width = i == 0 ? kDragWidth : 30 + (i * 37) % 60;
        const int height = i == 0 ? kDragHeight : 30 + (i * 53) % 80;
        sizes.push_back(Point{width, height});
        files.files[name] = SyntheticCel(width, height, i);
        config += "#" + std::to_string(i) + " " + name + " *0\r\n";
    }
    for (int set = 0; set < kSetCount; ++set)
    {
        std::string line = "$" + std::to_string(set);
        std::size_t column = line.size();
        for (int i = 0; i < kSyntheticCels; ++i)
        {
            const Point size = sizes[static_cast<std::size_t>(i)];
            const int x = 1 + (i * 131 + set * 97) % (kScreenWidth - size.x - 1);
            const int y = 1 + (i * 71 + set * 59) % (kScreenHeight - size.y - 1);
            // Items begin with a space, so a break before one makes a continuation line.
            if (column > 60)
            {
                line += "\r\n";
                column = 0;
            }
            const std::string item = " " + std::to_string(x) + "," + std::to_string(y);
            line += item;
            column += item.size();
        }
        config += line + "\r\n";
    }
    return config;
}

void ComposeAll(const Scene& scene, ScreenBuffer& buffer)
{
    scene.DrawDirty(buffer);
    buffer.ClearDirty();
}

/// Sizes the buffer and composes the first screen, as opening a file does after the load.
void ShowFirstScreen(const Scene& scene, ScreenBuffer& buffer)
{
    scene.ApplyToBuffer(buffer, true, true);
    ComposeAll(scene, buffer);
}

void OpenRealSet(Scene& scene, ScreenBuffer& buffer)
{
    scene.LoadScene(kRealSet);
    ShowFirstScreen(scene, buffer);
}

void OpenSynthetic(Scene& scene, ScreenBuffer& buffer, MemoryFiles& files,
                   const std::string& config)
{
    scene.LoadSceneFromBytes(config, files);
    ShowFirstScreen(scene, buffer);
}

bool HaveRealSet(benchmark::State& state)
{
    if (std::filesystem::exists(kRealSet))
        return true;
    state.SkipWithError("real sets not found");
    return false;
}

void BM_OpenRealSet(benchmark::State& state)
{
    if (!HaveRealSet(state))
        return;
    ScreenBuffer buffer;
    for (auto _ : state)
    {
        Scene scene;
        OpenRealSet(scene, buffer);
        benchmark::DoNotOptimize(buffer.Pixels());
    }
}
BENCHMARK(BM_OpenRealSet)->Unit(benchmark::kMillisecond);

void BM_OpenSynthetic(benchmark::State& state)
{
    MemoryFiles files;
    const std::string config = SyntheticSet(files);
    ScreenBuffer buffer;
    for (auto _ : state)
    {
        Scene scene;
        OpenSynthetic(scene, buffer, files, config);
        benchmark::DoNotOptimize(buffer.Pixels());
    }
    state.counters["cels"] = static_cast<double>(kSyntheticCels);
}
BENCHMARK(BM_OpenSynthetic)->Unit(benchmark::kMillisecond);

/// Next set and its full recompose, as the set command and the view's refresh do it.
void SwitchSets(benchmark::State& state, Scene& scene, ScreenBuffer& buffer)
{
    int set = 0;
    for (auto _ : state)
    {
        set = (set + 1) % kSetCount;
        scene.SelectSet(set, 0);
        scene.ApplyToBuffer(buffer, true, false);
        ComposeAll(scene, buffer);
        benchmark::DoNotOptimize(buffer.Pixels());
    }
}

void BM_SetSwitchRealSet(benchmark::State& state)
{
    if (!HaveRealSet(state))
        return;
    Scene scene;
    ScreenBuffer buffer;
    OpenRealSet(scene, buffer);
    SwitchSets(state, scene, buffer);
}
BENCHMARK(BM_SetSwitchRealSet)->Unit(benchmark::kMillisecond);

/// The synthetic set, opened and composed once.
struct OpenedSynthetic
{
    OpenedSynthetic() { OpenSynthetic(scene, buffer, files, SyntheticSet(files)); }

    MemoryFiles files;
    Scene scene;
    ScreenBuffer buffer;
};

void BM_SetSwitchSynthetic(benchmark::State& state)
{
    OpenedSynthetic opened;
    SwitchSets(state, opened.scene, opened.buffer);
}
BENCHMARK(BM_SetSwitchSynthetic)->Unit(benchmark::kMillisecond);

/// One mouse move of a drag: move the 200 × 300 object by a few pixels, recompose and empty
/// the dirty rectangle.
void BM_DragStepSynthetic(benchmark::State& state)
{
    OpenedSynthetic opened;
    Scene& scene = opened.scene;
    ScreenBuffer& buffer = opened.buffer;
    const int top = static_cast<int>(scene.PlacedCels().size()) - 1;
    int step = 0;
    for (auto _ : state)
    {
        const int dx = (step++ % 20) < 10 ? 3 : -3;
        scene.MoveObjectBy(buffer, top, dx, 2 * dx / 3);
        ComposeAll(scene, buffer);
        benchmark::DoNotOptimize(buffer.Pixels());
    }
}
BENCHMARK(BM_DragStepSynthetic)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
