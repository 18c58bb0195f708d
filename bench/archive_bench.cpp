#include "archive/ArchiveFileSource.h"
#include "archive/LzhCrc.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

/// Every file of folder as a stored member with level-0 headers that name the method.
std::vector<std::uint8_t> StoredArchive(const std::filesystem::path& folder, const char* method)
{
    std::vector<std::uint8_t> out;
    for (const auto& file : std::filesystem::directory_iterator(folder))
    {
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
        const std::string name = file.path().filename().string();
        std::vector<std::uint8_t> header(22 + name.size() + 2);
        std::memcpy(&header[2], method, 5);
        for (int b = 0; b < 4; ++b)
        {
            header[7 + b] = header[11 + b] = static_cast<std::uint8_t>(data.size() >> (8 * b));
        }
        header[19] = 0x20;
        header[21] = static_cast<std::uint8_t>(name.size());
        std::memcpy(&header[22], name.data(), name.size());
        const std::uint16_t crc = LzhCrc16(data);
        header[22 + name.size()] = static_cast<std::uint8_t>(crc);
        header[23 + name.size()] = static_cast<std::uint8_t>(crc >> 8);
        header[0] = static_cast<std::uint8_t>(header.size() - 2);
        unsigned sum = 0;
        for (std::size_t i = 2; i < header.size(); ++i)
            sum += header[i];
        header[1] = static_cast<std::uint8_t>(sum);
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), data.begin(), data.end());
    }
    out.push_back(0);
    return out;
}

/// Reading a set stored as "-lh0-" (argument 0) and as "-lhd-" (argument 1), whose every member
/// liblhasa first refuses.
void BM_ReadStoredMembers(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::path(kFolderSet).parent_path();
    if (!std::filesystem::exists(folder))
    {
        state.SkipWithError("no real sets");
        return;
    }
    const std::vector<std::uint8_t> bytes =
        StoredArchive(folder, state.range(0) == 0 ? "-lh0-" : "-lhd-");
    for (auto _ : state)
    {
        const Archive::OpenResult opened = Archive::FromBytes(bytes);
        if (!opened.archive)
            state.SkipWithError("not read");
        benchmark::DoNotOptimize(opened.archive);
    }
    state.counters["members"] =
        static_cast<double>(std::distance(std::filesystem::directory_iterator(folder), {}));
}
BENCHMARK(BM_ReadStoredMembers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
