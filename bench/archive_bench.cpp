#include "archive/ArchiveFileSource.h"
#include "archive/LzhCrc.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"
#include "support/ArchiveBytes.h"
#include "support/CelBytes.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
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
    scene.DrawDirty(buffer);
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

/// An archive of members in all, cels of them named by as many cel lines in lower case while
/// the members are in upper case, as real sets often are: every lookup misses the exact name.
/// The rest lie in other folders, so that no base name is unique by accident.
std::vector<std::uint8_t> ManyMembers(int members, int cels)
{
    const std::vector<std::uint8_t> cel = CelBytes::Indexed(2, 2, {1, 1, 1, 1}).Bytes();
    std::vector<ArchiveEntry> entries;
    std::string config = "(448,320)\r\n";
    std::string positions = "$0";
    char name[32];
    for (int i = 0; i < cels; ++i)
    {
        std::snprintf(name, sizeof name, "c%05d.cel", i);
        config += "#" + std::to_string(i) + " " + name + " *0 :0\r\n";
        positions += " " + std::to_string(i % 400) + "," + std::to_string(i % 300);
        std::snprintf(name, sizeof name, "SET/C%05d.CEL", i);
        entries.push_back({name, cel});
    }
    entries.push_back({"SET/KISS.CNF", Bytes(config + positions + "\r\n")});
    for (int i = cels + 1; i < members; ++i)
    {
        std::snprintf(name, sizeof name, "EXTRA%d/X%05d.DAT", i % 16, i);
        entries.push_back({name, Bytes("x")});
    }
    return LzhArchive(entries, {1, "-lh0-", 0x20});
}

void BM_OpenManyMembers(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes =
        ManyMembers(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
    {
        Archive::OpenResult opened = Archive::FromBytes(bytes);
        std::shared_ptr<const Archive> archive = std::move(opened.archive);
        const std::vector<std::uint8_t>& config = *archive->Find("SET/KISS.CNF")->bytes;
        ArchiveFileSource files(archive, "SET");
        Scene scene;
        scene.LoadSceneFromBytes(
            std::string_view(reinterpret_cast<const char*>(config.data()), config.size()), files);
        if (scene.PlacedCels().size() != static_cast<std::size_t>(state.range(1)))
            state.SkipWithError("cels missing");
    }
    ReportPeakMemory(state);
}
BENCHMARK(BM_OpenManyMembers)->Args({30000, 3000})->Args({60000, 6000})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
