// Hover highlighting on the real menu window (headless): the background
// handler, which re-reads AUTORUN.INF and refreshes the eight entries and the
// exit entry (90 lookups), against one read-and-parse of the same file; and a
// long run of mouse moves alternating between an entry and the background,
// through the message loop with painting, watching the resident memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "bench/RatioReporter.h"
#include "config/TIniFile.h"
#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/unit/support/FullAutorun.h"
#include "tests/unit/support/MenuFolder.h"
#include "ui/TApplication.h"

namespace {

using namespace automenu;

// Resident set size in KiB (second field of /proc/self/statm, in pages).
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// The full file (all 240 keys, both counts 8) in a folder of its own, and the
// menu window started from it.
class Menu {
public:
    Menu() {
        SetPlatform(&m_desktop);
        testing::WriteFullMenu(m_folder.Path());
        m_app = std::make_unique<TApplication>(m_desktop, "/opt/menu/automenu");
        m_app->CreateForm(InstallationForm);
        Pump();
    }
    ~Menu() {
        m_app.reset();
        InstallationForm = nullptr;
        SetPlatform(nullptr);
    }
    void Pump() {
        while (m_app->ProcessMessage()) {
        }
    }
    std::string ConfigurationFile() const { return m_folder.File("AUTORUN.INF"); }
    platform::HeadlessPlatform& Desktop() { return m_desktop; }
    TInstallationForm& Form() { return *InstallationForm; }

private:
    platform::HeadlessPlatform m_desktop;
    testing::MenuFolder m_folder;
    std::unique_ptr<TApplication> m_app;
};

Menu& TheMenu() {
    static Menu menu;
    return menu;
}

void BM_ReadAndParse(benchmark::State& state) {
    const std::string file = TheMenu().ConfigurationFile();
    for (auto _ : state) {
        auto reader = platform::PosixFileSystem::ReadProfile(file);
        benchmark::DoNotOptimize(reader);
    }
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    state.counters["bytes"] = static_cast<double>(in.tellg());
}
BENCHMARK(BM_ReadAndParse);

// One event of BackGroundImageMouseMove: a new reader, 90 lookups, every
// value applied to its label (all unchanged, as between two background moves).
void BM_BackgroundMove(benchmark::State& state) {
    TInstallationForm& form = TheMenu().Form();
    int lookups = 0;
    {
        ScopedLookUpObserver count([&](std::string_view, std::string_view) { ++lookups; });
        form.BackGroundImageMouseMove(form.BackGroundImage, {}, 10, 10);
    }
    for (auto _ : state) form.BackGroundImageMouseMove(form.BackGroundImage, {}, 10, 10);
    state.counters["lookups"] = lookups;
}
BENCHMARK(BM_BackgroundMove);

// One event of an entry's handler: a new reader and 10 lookups.
void BM_EntryMove(benchmark::State& state) {
    TInstallationForm& form = TheMenu().Form();
    for (auto _ : state) form.InstallationMessageLabel3->OnMouseMove(form.InstallationMessageLabel3, {}, 2, 2);
    form.BackGroundImageMouseMove(form.BackGroundImage, {}, 10, 10);
}
BENCHMARK(BM_EntryMove);

// Mouse moves through the loop, alternating entry 3 and the background, so
// that every move changes the look of entry 3 and repaints it.
void BM_AlternatingMoves(benchmark::State& state) {
    Menu& menu = TheMenu();
    TInstallationForm& form = menu.Form();
    platform::HeadlessPlatform& desktop = menu.Desktop();
    const TLabel& entry = *form.InstallationMessageLabel3;
    const int moves = static_cast<int>(state.range(0));
    auto run = [&](int count) {
        for (int i = 0; i < count; ++i) {
            if (i % 2 == 0)
                desktop.MoveMouse(form.Handle(), entry.Left() + 2, entry.Top() + 2);
            else
                desktop.MoveMouse(form.Handle(), 600, 40);
            menu.Pump();
        }
    };
    run(1000);  // first use of the hover fonts and the paint buffers
    const long before = ResidentKiB();
    const int paints_before = desktop.PaintCount();
    for (auto _ : state) run(moves);
    const long after = ResidentKiB();
    state.counters["events/s"] = benchmark::Counter(static_cast<double>(moves) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
    state.counters["rss_before_KiB"] = static_cast<double>(before);
    state.counters["rss_after_KiB"] = static_cast<double>(after);
    state.counters["paints/move"] =
        static_cast<double>(desktop.PaintCount() - paints_before) / (static_cast<double>(moves) * state.iterations());
}
BENCHMARK(BM_AlternatingMoves)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Remembers each benchmark's time per iteration to print the ratios.
}  // namespace

int main(int argc, char** argv) {
    return RatioReporter::RunAll(argc, argv, [](const RatioReporter& reporter) {
        const double ratio = reporter.Ratio("BM_BackgroundMove", "BM_ReadAndParse");
        if (ratio > 0)
            std::printf("\nBackground move / one read-and-parse (CPU time): %.2fx (target 1.5x at most)\n", ratio);
    });
}
