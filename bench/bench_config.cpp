// Reading AUTORUN.INF: one read-and-parse of a full file (all 240 keys) against
// a pass of 90 lookups (a mouse move over the background) and one of 200
// (start-up), and against a naive reader that reads the file anew for every
// lookup. The ratios to one read-and-parse are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/RatioReporter.h"
#include "config/TIniFile.h"
#include "platform/ProfileReader.h"

namespace {

using Lookup = std::pair<std::string, std::string>;

const std::string kFile = AUTOMENU_SOURCE_DIR "/bench/data/full-AUTORUN.INF";

void Appearance(std::vector<Lookup>& out, const std::string& section, const std::string& prefix) {
    for (const char* suffix :
         {"Name", "Color", "Style Bold Use", "Style Italic Use", "Style Underline Use", "Size"})
        out.emplace_back(section, prefix + " " + suffix);
}

void EntryFirstFont(std::vector<Lookup>& out, int n) {
    const std::string label = "Installation Message Label " + std::to_string(n);
    const std::string section = label + " Font Setup";
    out.emplace_back("Installation Message Label Count Setup", "Installation Message Label Count");
    out.emplace_back(section, label + " Caption");
    out.emplace_back(section, label + " Font Top");
    out.emplace_back(section, label + " Font Left");
    Appearance(out, section, label + " First Font");
}

void ExitFirstFont(std::vector<Lookup>& out) {
    for (const char* key : {"Exit Label Use", "Exit Label Caption", "Exit Label Top", "Exit Label Left"})
        out.emplace_back("Exit Label Setup", key);
    Appearance(out, "Exit Label Setup", "Exit Label First Font");
}

// The keys of a mouse move over the background picture, every label shown.
std::vector<Lookup> BackgroundPass() {
    std::vector<Lookup> out;
    for (int n = 1; n <= 8; ++n) EntryFirstFont(out, n);
    ExitFirstFont(out);
    return out;
}

// The keys of the start-up pass, every switch on and every label shown.
std::vector<Lookup> StartUpPass() {
    std::vector<Lookup> out;
    for (const char* key : {"Logo Use", "Logo Path", "Logo Name"}) out.emplace_back("Logo Setup", key);
    for (const char* key : {"Form Height", "Form Width"}) out.emplace_back("Installation Form Size Setup", key);
    for (const char* key : {"BackGround Image Use", "BackGround Image Path", "BackGround Image Name",
                            "BackGround Image Height", "BackGround Image Width", "BackGround Image Top",
                            "BackGround Image Left"})
        out.emplace_back("BackGround Image File Setup", key);
    for (const char* key : {"Title Message Label Use", "Title Message Label Caption", "Title Message Label Top",
                            "Title Message Label Left"})
        out.emplace_back("Title Message Label Setup", key);
    Appearance(out, "Title Message Label Setup", "Title Message Label Font");
    ExitFirstFont(out);
    for (int n = 1; n <= 8; ++n) {
        const std::string label = "Normal Message Label " + std::to_string(n);
        const std::string section = label + " Font Setup";
        out.emplace_back("Normal Message Label Count Setup", "Normal Message Label Count");
        out.emplace_back(section, label + " Caption");
        out.emplace_back(section, label + " Font Top");
        out.emplace_back(section, label + " Font Left");
        Appearance(out, section, label + " Font");
    }
    for (int n = 1; n <= 8; ++n) EntryFirstFont(out, n);
    for (int n = 1; n <= 8; ++n) {
        const std::string label = "Installation Message Label " + std::to_string(n);
        out.emplace_back(label + " Font Setup", label + " File Path");
    }
    return out;
}

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

void BM_Pass90(benchmark::State& state) { Pass(state, BackgroundPass()); }
BENCHMARK(BM_Pass90);

void BM_Pass200(benchmark::State& state) { Pass(state, StartUpPass()); }
BENCHMARK(BM_Pass200);

// As the platform does without its cache: read and search the file anew for
// every lookup.
void BM_NaiveReader90(benchmark::State& state) {
    const std::vector<Lookup> lookups = BackgroundPass();
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
