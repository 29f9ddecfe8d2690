// Reading AUTORUN.INF: one read-and-parse of a full file (all 240 keys) against
// a pass of 90 lookups (a mouse move over the background) and one of 200
// (start-up), and against a naive reader that reads the file anew for every
// lookup. The ratios to one read-and-parse are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "config/TIniFile.h"
#include "platform/ProfileReader.h"
#include "tests/unit/support/PassLookups.h"

namespace {

using automenu::testing::BackgroundLookups;
using automenu::testing::Lookup;
using automenu::testing::StartupLookups;

const std::string kFile = AUTOMENU_SOURCE_DIR "/bench/data/full-AUTORUN.INF";

void BM_ReadAndParse(benchmark::State& state) {
    for (auto _ : state) {
        auto reader = automenu::platform::ProfileReader::FromFile(kFile);
        benchmark::DoNotOptimize(reader);
    }
}
BENCHMARK(BM_ReadAndParse);

void Pass(benchmark::State& state, const std::vector<Lookup>& lookups) {
    for (auto _ : state) {
        automenu::TIniFile reader(kFile);
        for (const Lookup& l : lookups) {
            std::string value = reader.LookUpSetting(l.first, l.second);
            benchmark::DoNotOptimize(value);
        }
    }
    state.counters["lookups"] = static_cast<double>(lookups.size());
}

void BM_Pass90(benchmark::State& state) { Pass(state, BackgroundLookups(8, true)); }
BENCHMARK(BM_Pass90);

void BM_Pass200(benchmark::State& state) { Pass(state, StartupLookups({})); }
BENCHMARK(BM_Pass200);

// As the platform does without its cache: read and search the file anew for
// every lookup.
void BM_NaiveReader90(benchmark::State& state) {
    const std::vector<Lookup> lookups = BackgroundLookups(8, true);
    for (auto _ : state) {
        for (const Lookup& l : lookups) {
            const auto reader = automenu::platform::ProfileReader::FromFile(kFile, 0);
            std::string value = reader.GetString(l.first, l.second, "0");
            benchmark::DoNotOptimize(value);
        }
    }
}
BENCHMARK(BM_NaiveReader90);

// Remembers each benchmark's time per iteration to print the ratios.
}  // namespace

int main(int argc, char** argv) {
    return RatioReporter::RunAll(argc, argv, [](const RatioReporter& reporter) {
        if (!reporter.Times().contains("BM_ReadAndParse")) return;
        std::printf("\nRatio to one read-and-parse (CPU time):\n");
        for (const auto& [name, time] : reporter.Times())
            std::printf("  %-20s %6.2fx\n", name.c_str(), reporter.Ratio(name, "BM_ReadAndParse"));
    });
}
