// The menu window's text: painting the full window with its background
// picture and 18 labels, a hover pass that changes nothing, and a caption
// change that resizes a label.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/TApplication.h"
#include "ui/TCustomForm.h"
#include "ui/TLabel.h"

namespace {

using namespace automenu;

// Stands in for the background picture: an opaque 634 x 454 image with a
// gradient, drawn the way a bitmap picture is drawn.
class BackgroundPicture : public TGraphicControl {
public:
    explicit BackgroundPicture(TCustomForm& parent) : TGraphicControl(parent) {
        m_image.width = 634;
        m_image.height = 454;
        m_image.pixels.resize(634 * 454);
        for (int y = 0; y < 454; ++y)
            for (int x = 0; x < 634; ++x)
                m_image.pixels[y * 634 + x] = 0xFF000000u | (static_cast<std::uint32_t>(x * 255 / 634) << 16) |
                                              (static_cast<std::uint32_t>(y * 255 / 454) << 8) | 0x80;
    }
    void Paint(platform::ICanvas& canvas) override { canvas.DrawImage(m_image, 0, 0); }

private:
    PixelImage m_image;
};

struct Menu {
    platform::HeadlessPlatform platform;
    std::unique_ptr<TApplication> app;
    std::unique_ptr<TForm> form;
    std::vector<TLabel*> labels;  // title, exit, 8 text lines, 8 entries

    Menu() {
        SetPlatform(&platform);
        app = std::make_unique<TApplication>(platform, "automenu");
        form = std::make_unique<TForm>();
        form->SetClientSize({634, 454});
        auto& picture = form->AddControl<BackgroundPicture>();
        picture.SetBounds(0, 0, 634, 454);
        auto add = [&](int left, int top, const std::string& caption, int size, TFontStyles style) {
            TLabel& l = form->AddControl<TLabel>();
            l.SetTransparent(true);
            l.SetLeft(left);
            l.SetTop(top);
            l.SetCaption(caption);
            l.Font().SetName("Arial");
            l.Font().SetSize(size);
            l.Font().SetStyle(style);
            l.Font().SetColor(0x00FFFFFF);
            labels.push_back(&l);
        };
        add(16, 16, "Welcome to the &Product installation", 18, fsBold);
        add(552, 408, "E&xit", 10, 0);
        for (int i = 1; i <= 8; ++i)
            add(16, 24 + 16 * i, "Line " + std::to_string(i) + " of the description\ttabbed", 8, 0);
        for (int i = 1; i <= 8; ++i)
            add(16, 160 + 18 * i, "Install component " + std::to_string(i), 10, fsUnderline);
        form->Show();
        Drain();
    }
    ~Menu() {
        form.reset();
        app.reset();
        SetPlatform(nullptr);
    }
    void Drain() {
        while (app->ProcessMessage()) {
        }
    }
    // What a hover handler does: every property of every entry, unchanged.
    void HoverPass() {
        for (std::size_t i = 1; i < labels.size(); ++i) {
            TLabel& l = *labels[i];
            l.SetVisible(true);
            l.SetCaption(l.Caption());
            l.SetTop(l.Top());
            l.SetLeft(l.Left());
            l.Font().SetName("Arial");
            l.Font().SetColor(0x00FFFFFF);
            l.Font().SetStyle(l.Font().Style() & ~fsBold);
            l.Font().SetStyle(l.Font().Style() & ~fsItalic);
            l.Font().SetStyle(l.Font().Style());
            l.Font().SetSize(l.Font().Size());
        }
    }
};

void BM_PaintFullWindow(benchmark::State& state) {
    Menu menu;
    const platform::WindowId w = menu.form->Handle();
    for (auto _ : state) {
        menu.platform.Invalidate(w, {0, 0, 634, 454});
        TRect area;
        auto canvas = menu.platform.BeginPaint(w, area);
        menu.form->PaintWindow(*canvas, area);
        canvas.reset();
        benchmark::DoNotOptimize(area);
    }
    state.counters["labels"] = static_cast<double>(menu.labels.size());
}
BENCHMARK(BM_PaintFullWindow)->Unit(benchmark::kMillisecond);

void BM_HoverPassNoChange(benchmark::State& state) {
    Menu menu;
    const int before = menu.platform.InvalidateCount();
    for (auto _ : state) menu.HoverPass();
    // Must stay 0: a pass that changes nothing repaints nothing.
    state.counters["invalidations"] = menu.platform.InvalidateCount() - before;
    state.counters["setters_per_pass"] = 17 * 10;
}
BENCHMARK(BM_HoverPassNoChange)->Unit(benchmark::kMicrosecond);

void BM_CaptionChangeAutoSize(benchmark::State& state) {
    Menu menu;
    TLabel& entry = *menu.labels[10];
    const std::string captions[2] = {"Install component 1", "Install the complete &package with tools"};
    int i = 0;
    const int before = menu.platform.InvalidateCount();
    for (auto _ : state) {
        entry.SetCaption(captions[i ^= 1]);
        benchmark::DoNotOptimize(entry.Width());
    }
    state.counters["invalidations_per_change"] =
        benchmark::Counter(menu.platform.InvalidateCount() - before, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CaptionChangeAutoSize)->Unit(benchmark::kMicrosecond);

void BM_CaptionChangeAndRepaint(benchmark::State& state) {
    Menu menu;
    TLabel& entry = *menu.labels[10];
    const std::string captions[2] = {"Install component 1", "Install the complete &package with tools"};
    int i = 0;
    for (auto _ : state) {
        entry.SetCaption(captions[i ^= 1]);
        menu.Drain();  // paints the invalidated area
    }
}
BENCHMARK(BM_CaptionChangeAndRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
