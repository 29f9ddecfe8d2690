// Picture decoding and metafile playback: what loading and painting the
// menu's background picture costs.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "formats/BmpDecoder.h"
#include "formats/IcoDecoder.h"
#include "formats/MetafileReader.h"
#include "platform/cairo/CairoPng.h"
#include "platform/cairo/MetafilePlayer.h"
#include "tests/unit/support/BmpHeader.h"

namespace {

using namespace automenu;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::vector<std::uint8_t> ReadData(const char* name) {
    std::ifstream in(std::string(AUTOMENU_SOURCE_DIR) + "/tests/data/pictures/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> FileHeader(int bits, std::uint32_t compression, std::size_t palette_entries) {
    std::vector<std::uint8_t> b =
        automenu::testing::BmpHeader(kWidth, kHeight, static_cast<std::uint16_t>(bits), compression);
    b.resize(54 + palette_entries * 4);
    for (std::size_t i = 0; i < palette_entries; ++i)
        automenu::testing::Put32(b, 54 + 4 * i, static_cast<std::uint32_t>(i * 0x010101));
    return b;
}

// A photo-like 24-bit picture: every pixel different.
std::vector<std::uint8_t> Bitmap24() {
    auto b = FileHeader(24, 0, 0);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            b.push_back(static_cast<std::uint8_t>(x));
            b.push_back(static_cast<std::uint8_t>(y));
            b.push_back(static_cast<std::uint8_t>(x ^ y));
        }
    return b;
}

// A drawn 8-bit picture, RLE-compressed: runs of 4 to 40 pixels with a short
// literal stretch in every row.
std::vector<std::uint8_t> Bitmap8Rle() {
    auto b = FileHeader(8, 1, 256);
    for (int y = 0; y < kHeight; ++y) {
        int x = 0;
        for (int run = 0; x < kWidth - 8; ++run) {
            const int n = std::min(4 + (run * 7 + y) % 37, kWidth - 8 - x);
            b.push_back(static_cast<std::uint8_t>(n));
            b.push_back(static_cast<std::uint8_t>((run * 13 + y) & 0xFF));
            x += n;
        }
        b.push_back(0);  // 8 literal pixels
        b.push_back(8);
        for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(i * 30));
        b.push_back(0);
        b.push_back(0);  // end of line
    }
    b.push_back(0);
    b.push_back(1);
    return b;
}

void BM_DecodeBmp24(benchmark::State& state) {
    const auto file = Bitmap24();
    for (auto _ : state) benchmark::DoNotOptimize(DecodeBmpFile(file));
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 3);
}
BENCHMARK(BM_DecodeBmp24)->Unit(benchmark::kMicrosecond);

// The physical limit: copying the same pixel bytes, nothing decoded.
void BM_MemcpyPixelBytes24(benchmark::State& state) {
    const auto file = Bitmap24();
    std::vector<std::uint8_t> out(file.size() - 54);
    for (auto _ : state) {
        std::memcpy(out.data(), file.data() + 54, out.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_MemcpyPixelBytes24)->Unit(benchmark::kMicrosecond);

void BM_DecodeBmpRle8(benchmark::State& state) {
    const auto file = Bitmap8Rle();
    for (auto _ : state) benchmark::DoNotOptimize(DecodeBmpFile(file));
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_DecodeBmpRle8)->Unit(benchmark::kMicrosecond);

// A 54-byte header declaring 32767 x 8192 at 24 bits: only a 1280 x 1024
// screen's worth of (black) pixels is made.
void BM_DecodeBmpHeaderLargerThanScreen(benchmark::State& state) {
    const auto file = automenu::testing::BmpHeader(32767, 8192, 24);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeBmpFile(file, {1280, 1024}));
}
BENCHMARK(BM_DecodeBmpHeaderLargerThanScreen)->Unit(benchmark::kMicrosecond);

// Six images (16 to 256 pixels, 32-bit, the largest as PNG); the 32 x 32 one is chosen and decoded.
void BM_BuildSixImageIcon(benchmark::State& state) {
    const auto file = ReadData("six_images.ico");
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildIcon(file, {32, 32}, 0, {1280, 1024}, &platform::DecodePngWithCairo));
}
BENCHMARK(BM_BuildSixImageIcon)->Unit(benchmark::kMicrosecond);

void PlayInto632x453(benchmark::State& state, const char* name) {
    const auto metafile = ReadMetafile(ReadData(name));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            platform::RenderMetafileImage(metafile.bits, {0, 0, 631, 452}, {632, 453}, {1280, 1024}));
    state.counters["records_bytes"] = static_cast<double>(metafile.bits.records.size());
}

// An office-style slide (title bar, bullet list, table, bar chart, dashed
// curve, 20 text runs) as saved in both metafile forms.
void BM_PlayOfficeEmf(benchmark::State& state) { PlayInto632x453(state, "office.emf"); }
BENCHMARK(BM_PlayOfficeEmf)->Unit(benchmark::kMillisecond);
void BM_PlayOfficeWmf(benchmark::State& state) { PlayInto632x453(state, "office.wmf"); }
BENCHMARK(BM_PlayOfficeWmf)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
