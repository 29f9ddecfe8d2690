// The error box for messages of every length, on the headless desktop
// (1280 x 1024): laying the box out for its text, making and painting its
// window, and dismissing it, one box per iteration. The huge messages are
// what a hostile medium can make of a path: a word of ten thousand
// characters, a hundred or ten thousand lines, a word of a megabyte.
// Each case reports the process's peak memory (peak_rss_mb): run one case
// per process (--benchmark_filter) for its own figure.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "base/Exceptions.h"
#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/TApplication.h"

namespace {

using namespace automenu;

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Cannot open file /media/cdrom/line" + std::to_string(i) + ".bmp\n";
    return text;
}

void ErrorBox(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        // A desktop of its own each time: it keeps a copy of every text shown.
        state.PauseTiming();
        auto desktop = std::make_unique<platform::HeadlessPlatform>();  // answers each box with Enter
        SetPlatform(desktop.get());
        auto app = std::make_unique<TApplication>(*desktop, "/media/cdrom/automenu");
        state.ResumeTiming();
        app->ShowException(Exception(text));
        state.PauseTiming();
        app.reset();
        SetPlatform(nullptr);
        desktop.reset();
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

BENCHMARK_CAPTURE(ErrorBox, ordinary, std::string("'abc' is not a valid integer value."))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ErrorBox, lines_100, Lines(100))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ErrorBox, lines_10000, Lines(10000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ErrorBox, word_10000, "Cannot open file " + std::string(10000, 'w') + ".bmp")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ErrorBox, word_1mb, std::string(1 << 20, 'x'))->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
