#include "archive/ArchiveFileSource.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <string>

namespace
{

const std::string kSets = VELQUIN_KISS_SETS_DIR;
const std::string kFolderSet = kSets + "/lucca1r/lucca.cnf";
const std::string kArchiveSet = kSets + "/archives/lucca1r.lzh";

/// The first full picture: compose the loaded scene's whole screen once.
void Compose(const Scene& scene, benchmark::State& state)
{
    ScreenBuffer buffer;
    buffer.SetFormat(0, 0, 32);
    scene.ApplyToBuffer(buffer, true, true);
    buffer.FillBackground(buffer.DirtyRect());
    scene.DrawAll(buffer);
    buffer.ClearDirty();
    if (!buffer.HasPixels())
        state.SkipWithError("no picture");
    benchmark::DoNotOptimize(buffer.Pixels());
}

void ReportPeakMemory(benchmark::State& state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_kib"] = static_cast<double>(usage.ru_maxrss);
}

void BM_OpenFolderSet(benchmark::State& state)
{
    if (!std::filesystem::exists(kFolderSet))
    {
        state.SkipWithError("no real sets");
        return;
    }
    for (auto _ : state)
    {
        Scene scene;
        scene.LoadScene(kFolderSet);
        Compose(scene, state);
    }
    ReportPeakMemory(state);
}
BENCHMARK(BM_OpenFolderSet)->Unit(benchmark::kMillisecond);

void BM_OpenArchiveSet(benchmark::State& state)
{
    if (!std::filesystem::exists(kArchiveSet))
    {
        state.SkipWithError("no real sets");
        return;
    }
    for (auto _ : state)
    {
        Archive::OpenResult opened = Archive::Open(kArchiveSet);
        std::shared_ptr<const Archive> archive = std::move(opened.archive);
        const std::string member = archive->Configurations().front();
        const std::vector<std::uint8_t>& config = *archive->Find(member)->bytes;
        ArchiveFileSource files(archive, MemberFolder(member));
        Scene scene;
        scene.LoadSceneFromBytes(
            std::string_view(reinterpret_cast<const char*>(config.data()), config.size()), files);
        Compose(scene, state);
    }
    ReportPeakMemory(state);
}
BENCHMARK(BM_OpenArchiveSet)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
