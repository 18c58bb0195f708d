#include "config/ConfigFile.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace
{

// The largest configuration file among the real sets.
std::string LuccaBytes()
{
    std::ifstream in(VELQUIN_KISS_SETS_DIR "/lucca1r/lucca.cnf", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ReadLucca(benchmark::State& state)
{
    const std::string bytes = LuccaBytes();
    if (bytes.empty())
    {
        state.SkipWithError("real sets not present");
        return;
    }
    for (auto _ : state)
    {
        ConfigFile file(bytes);
        benchmark::DoNotOptimize(file.Records().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void WriteLucca(benchmark::State& state, bool regenerateSets)
{
    const std::string bytes = LuccaBytes();
    if (bytes.empty())
    {
        state.SkipWithError("real sets not present");
        return;
    }
    ConfigFile file(bytes);
    if (regenerateSets)
    {
        std::vector<std::unique_ptr<SetLine>> sets;
        for (const SetLine* line : file.SetLines())
            sets.push_back(std::make_unique<SetLine>(*line));
        file.MergeSetLines(sets);
    }
    std::ostringstream out;
    for (auto _ : state)
    {
        out.str({});
        file.WriteAll(out);
        benchmark::DoNotOptimize(out.tellp());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

} // namespace

BENCHMARK(ReadLucca);
BENCHMARK_CAPTURE(WriteLucca, Unchanged, false);
BENCHMARK_CAPTURE(WriteLucca, SetLinesRegenerated, true);

BENCHMARK_MAIN();
