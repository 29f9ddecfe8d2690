// Reading AUTORUN.INF: one read-and-parse of a full file (all 240 keys) against
// a pass of 90 lookups (a mouse move over the background) and one of 200
// (start-up), and against a naive reader that reads the file anew for every
// lookup. The ratios to one read-and-parse are printed at the end. The same
// passes over a file at the 16 MiB cap (500,000 lines) cost about one
// read-and-parse of that file too. A file in UTF-8 with captions in other
// scripts shows what checking and decoding its bytes adds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "config/TIniFile.h"
#include "platform/PlatformAccess.h"
#include "platform/ProfileReader.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/unit/support/PassLookups.h"

namespace {

using automenu::testing::BackgroundLookups;
using automenu::testing::Lookup;
using automenu::testing::StartupLookups;

const std::string kFile = AUTOMENU_SOURCE_DIR "/bench/data/full-AUTORUN.INF";

// The full file after 500,000 filler lines, 16 MiB in all: written once to
// the temporary directory.
const std::string& LargeFile() {
    static const std::string path = [] {
        std::ifstream in(kFile, std::ios::binary);
        const std::string full((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t filler_bytes = automenu::ProfileReader::kMaxFileBytes - full.size();
        std::string text;
        for (int i = 0; i < 500000; ++i) {
            if (i % 20000 == 0) text += "[Filler " + std::to_string(i) + "]\r\n";
            text += "Filler Key " + std::to_string(i) + "=";
            text.append(12, 'v');
            text += "\r\n";
        }
        text.resize(std::min(text.size(), filler_bytes));
        text.resize(filler_bytes - 2, ' ');
        text += "\r\n";
        text += full;
        const std::string file = (std::filesystem::temp_directory_path() / "automenu-bench-large.inf").string();
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }();
    return path;
}

// The full file with every caption in Russian and Japanese as well, saved as
// UTF-8 without a mark: each read then checks and decodes the bytes as UTF-8.
const std::string& Utf8File() {
    static const std::string path = [] {
        std::ifstream in(kFile, std::ios::binary);
        std::string line, text;
        while (std::getline(in, line)) {
            if (line.find(" Caption=") != std::string::npos) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                line += " \u2014 \u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430 "
                        "\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\r";
            }
            text += line + "\n";
        }
        const std::string file = (std::filesystem::temp_directory_path() / "automenu-bench-utf8.inf").string();
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }();
    return path;
}

void ReadAndParse(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        auto reader = automenu::platform::PosixFileSystem::ReadProfile(file);
        benchmark::DoNotOptimize(reader);
    }
}

void BM_ReadAndParse(benchmark::State& state) { ReadAndParse(state, kFile); }
BENCHMARK(BM_ReadAndParse);

void Pass(benchmark::State& state, const std::vector<Lookup>& lookups, const std::string& file = kFile) {
    for (auto _ : state) {
        automenu::TIniFile reader(file);
        for (const Lookup& l : lookups) {
            std::string value = reader.LookUpSetting(l.first, l.second);
            benchmark::DoNotOptimize(value);
        }
    }
    state.counters["lookups"] = static_cast<double>(lookups.size());
}

void BM_Pass90(benchmark::State& state) { Pass(state, BackgroundLookups(8, true)); }
BENCHMARK(BM_Pass90);

void BM_Utf8ReadAndParse(benchmark::State& state) { ReadAndParse(state, Utf8File()); }
BENCHMARK(BM_Utf8ReadAndParse);

void BM_Utf8Pass90(benchmark::State& state) { Pass(state, BackgroundLookups(8, true), Utf8File()); }
BENCHMARK(BM_Utf8Pass90);

void BM_Pass200(benchmark::State& state) { Pass(state, StartupLookups({.linux_targets = false})); }
BENCHMARK(BM_Pass200);

// As the platform does without its cache: read and search the file anew for
// every lookup.
void BM_NaiveReader90(benchmark::State& state) {
    const std::vector<Lookup> lookups = BackgroundLookups(8, true);
    for (auto _ : state) {
        for (const Lookup& l : lookups) {
            const auto reader = automenu::platform::PosixFileSystem::ReadProfile(kFile);
            std::string value = reader.ReadString(l.first, l.second, "0");
            benchmark::DoNotOptimize(value);
        }
    }
}
BENCHMARK(BM_NaiveReader90);

void BM_LargeReadAndParse(benchmark::State& state) { ReadAndParse(state, LargeFile()); }
BENCHMARK(BM_LargeReadAndParse)->Unit(benchmark::kMillisecond);

void BM_LargePass90(benchmark::State& state) { Pass(state, BackgroundLookups(8, true), LargeFile()); }
BENCHMARK(BM_LargePass90)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // A pass opens its file through the back end, as in the menu.
    automenu::platform::HeadlessPlatform desktop;
    automenu::ScopedPlatform installed(desktop);
    return RatioReporter::RunAll(argc, argv, [](const RatioReporter& reporter) {
        if (!reporter.Times().contains("BM_ReadAndParse")) return;
        std::printf("\nRatio to one read-and-parse (CPU time):\n");
        for (const auto& [name, time] : reporter.Times()) {
            const bool large = name.starts_with("BM_Large");
            std::printf("  %-22s %6.2fx\n", name.c_str(),
                        reporter.Ratio(name, large ? "BM_LargeReadAndParse" : "BM_ReadAndParse"));
        }
    });
}
