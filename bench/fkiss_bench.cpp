#include "bench/MemoryFiles.h"
#include "fkiss/FkissSession.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

constexpr int kObjects = 200;
constexpr int kAlarms = 500;
constexpr int kAlarmPeriodMs = kAlarms;
constexpr int kManyTimers = 5000;

/// An 8-bit cel with a transparent border ring.
std::vector<std::uint8_t> Cel(int width, int height)
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
                static_cast<std::uint8_t>(1 + (x + y) % 255);
    }
    return bytes;
}

std::vector<std::uint8_t> Palette()
{
    std::vector<std::uint8_t> bytes(32, 0);
    const char magic[] = {'K', 'i', 'S', 'S', 0x10, 24};
    std::copy(std::begin(magic), std::end(magic), bytes.begin());
    PutWord(bytes, 8, 256);
    PutWord(bytes, 10, 1);
    for (int c = 0; c < 256; ++c)
    {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(255 - c));
        bytes.push_back(static_cast<std::uint8_t>(c * 7));
    }
    return bytes;
}

/// The scene, its buffer composed once, and a started engine.
struct Playing
{
    Playing(MemoryFiles source, const std::string& config) : files(std::move(source))
    {
        scene.LoadSceneFromBytes(config, files);
        buffer.SetFormat(0, 0, 32);
        scene.ApplyToBuffer(buffer, true, true);
        session = FkissSession::Create(scene, buffer, host, "bench.cnf", 1);
        session->Engine().Start();
        Compose();
    }
    void Compose()
    {
        scene.DrawDirty(buffer);
        buffer.ClearDirty();
    }

    MemoryFiles files;
    Scene scene;
    ScreenBuffer buffer;
    QuietFkissHost host;
    std::unique_ptr<FkissSession> session;
};

/// 200 objects of 20 × 20 on a 1000 × 600 screen, each with an in() handler against object 0;
/// 500 alarms, one due every millisecond, each moving an object and setting itself again.
std::string TimerSet(MemoryFiles& files)
{
    files.files["p.kcf"] = Palette();
    files.files["c.cel"] = Cel(20, 20);
    std::string config = "(1000,600)\r\n%p.kcf\r\n";
    std::string positions = "$0";
    for (int i = 0; i < kObjects; ++i)
    {
        config += "#" + std::to_string(i) + " c.cel\r\n";
        positions += " " + std::to_string((i * 47) % 980) + "," + std::to_string((i * 29) % 580);
    }
    config += positions + "\r\n;@EventHandler\r\n;@begin()";
    for (int a = 0; a < kAlarms; ++a)
        config += " timer(" + std::to_string(a) + "," + std::to_string(a + 1) + ")";
    config += "\r\n";
    for (int i = 1; i < kObjects; ++i)
        config += ";@in(#" + std::to_string(i) + ",#0) nop()\r\n";
    for (int a = 0; a < kAlarms; ++a)
    {
        const int object = a % kObjects;
        config += ";@alarm(" + std::to_string(a) + ") move(#" + std::to_string(object) + "," +
                  (a % 2 ? "3,1" : "-3,-1") + ") timer(" + std::to_string(a) + "," +
                  std::to_string(kAlarmPeriodMs) + ")\r\n";
    }
    return config;
}

/// One tick of the viewer's timer: the alarm due fires, moves an object, the collisions of
/// every in() handler are decided before and after it, and the dirty part is recomposed.
void BM_FkissTick(benchmark::State& state)
{
    MemoryFiles files;
    const std::string config = TimerSet(files);
    Playing playing(files, config);
    std::int64_t now = 0;
    for (auto _ : state)
    {
        playing.session->Engine().AdvanceTo(++now);
        playing.Compose();
        benchmark::DoNotOptimize(playing.buffer.Pixels());
    }
    state.counters["timers"] = static_cast<double>(kAlarms);
    state.counters["objects"] = static_cast<double>(kObjects);
}
BENCHMARK(BM_FkissTick)->Unit(benchmark::kMicrosecond);

/// 5,000 alarms, each setting itself again; the first ones are due one per millisecond.
std::string ManyTimersSet(MemoryFiles& files, int periodMs)
{
    files.files["p.kcf"] = Palette();
    files.files["c.cel"] = Cel(20, 20);
    std::string config = "(640,480)\r\n%p.kcf\r\n#0 c.cel\r\n$0 10,10\r\n;@EventHandler\r\n";
    for (int a = 0; a < kManyTimers; ++a)
    {
        config += ";@begin() timer(" + std::to_string(a) + "," + std::to_string(a + 1) + ")\r\n";
        config += ";@alarm(" + std::to_string(a) + ") timer(" + std::to_string(a) + "," +
                  std::to_string(periodMs) + ")\r\n";
    }
    return config;
}

/// One alarm among 5,000 pending timers: it fires and sets its timer again.
void BM_FkissAlarmAmongManyTimers(benchmark::State& state)
{
    MemoryFiles files;
    const std::string config = ManyTimersSet(files, kManyTimers);
    Playing playing(files, config);
    FkissEngine& engine = playing.session->Engine();
    std::int64_t now = 0;
    for (auto _ : state)
        engine.AdvanceTo(++now);
    state.counters["timers"] = static_cast<double>(kManyTimers);
}
BENCHMARK(BM_FkissAlarmAmongManyTimers)->Unit(benchmark::kMicrosecond);

/// One second of simulated time with 5,000 timers of 100 ms each: 50,000 alarms.
void BM_FkissOneSecondOfManyTimers(benchmark::State& state)
{
    MemoryFiles files;
    const std::string config = ManyTimersSet(files, 100);
    Playing playing(files, config);
    FkissEngine& engine = playing.session->Engine();
    for (auto _ : state)
        engine.RunFor(1000);
    state.counters["timers"] = static_cast<double>(kManyTimers);
}
BENCHMARK(BM_FkissOneSecondOfManyTimers)->Unit(benchmark::kMillisecond);

/// altmap() of a 200 × 300 cel over a background, then the repaint of what it uncovered.
void BM_FkissMapUnmap(benchmark::State& state)
{
    MemoryFiles files;
    files.files["p.kcf"] = Palette();
    files.files["big.cel"] = Cel(200, 300);
    files.files["back.cel"] = Cel(640, 480);
    const std::string config =
        "(640,480)\r\n%p.kcf\r\n#0 big.cel\r\n#1 back.cel\r\n"
        "$0 100,80 0,0\r\n;@EventHandler\r\n;@keypress(\"m\") altmap(#0)\r\n";
    Playing playing(files, config);
    for (auto _ : state)
    {
        playing.session->Engine().KeyPress("m");
        playing.Compose();
        benchmark::DoNotOptimize(playing.buffer.Pixels());
    }
}
BENCHMARK(BM_FkissMapUnmap)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
