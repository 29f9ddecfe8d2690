// Picture decoding and metafile playback: what loading and painting the
// menu's background picture costs.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <zlib.h>

#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "formats/BmpDecoder.h"
#include "formats/CompressedImage.h"
#include "formats/DibDecoder.h"
#include "formats/IcoDecoder.h"
#include "formats/MetafileReader.h"
#include "platform/cairo/CairoPng.h"
#include "platform/cairo/MetafilePlayer.h"
#include "platform/cairo/PictureDecoders.h"
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

// The pixels of Bitmap24() (blue x, green y, red x ^ y), row by row, as RGB.
std::vector<std::uint8_t> PhotoRgb() {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x ^ y));
            rgb.push_back(static_cast<std::uint8_t>(y));
            rgb.push_back(static_cast<std::uint8_t>(x));
        }
    return rgb;
}

// The same picture as a PNG file, as cairo writes it.
std::vector<std::uint8_t> PhotoPng() {
    const std::vector<std::uint8_t> rgb = PhotoRgb();
    PixelImage image{kWidth, kHeight, std::vector<std::uint32_t>(rgb.size() / 3), false};
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = PackArgb(255, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return platform::EncodePngWithCairo(image);
}

// The same picture as a baseline JPEG file of quality 90, as libjpeg writes it.
std::vector<std::uint8_t> PhotoJpeg() {
    std::vector<std::uint8_t> rgb = PhotoRgb();
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = rgb.data() + static_cast<std::size_t>(cinfo.next_scanline) * kWidth * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> jpeg(buffer, buffer + size);
    std::free(buffer);
    return jpeg;
}

// What loading a PNG or JPEG picture does: the whole file checked, then the
// part a 1280 x 1024 screen shows decoded.
void DecodeCompressed(benchmark::State& state, CompressedImageFormat format, const std::vector<std::uint8_t>& file) {
    for (auto _ : state) {
        PixelImage out;
        benchmark::DoNotOptimize(ReadCompressedImageSize(format, file));
        if (!platform::DecodePicturePart(format, file, {1280, 1024}, out)) state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(out);
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
}

// The 640 x 480 picture of BM_DecodeBmp24 as PNG and as JPEG.
void BM_DecodePng(benchmark::State& state) { DecodeCompressed(state, CompressedImageFormat::Png, PhotoPng()); }
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMicrosecond);
void BM_DecodeJpeg(benchmark::State& state) { DecodeCompressed(state, CompressedImageFormat::Jpeg, PhotoJpeg()); }
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMicrosecond);

// An 8192 x 8192 RGBA PNG of zero rows, the largest allowed: 256 MiB of
// pixels in 250 KB of file. The file is checked whole; only the rows a
// 1280 x 1024 screen shows are inflated.
std::vector<std::uint8_t> PngBomb() {
    constexpr std::uint32_t kSide = 8192;
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, const std::vector<std::uint8_t>& data) {
        for (int i = 3; i >= 0; --i) png.push_back(static_cast<std::uint8_t>(data.size() >> (8 * i)));
        const std::size_t start = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, png.data() + start, static_cast<uInt>(png.size() - start)));
        for (int i = 3; i >= 0; --i) png.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    };
    chunk("IHDR", {0, 0, 0x20, 0, 0, 0, 0x20, 0, 8, 6, 0, 0, 0});
    z_stream z{};
    deflateInit(&z, 9);
    std::vector<std::uint8_t> row(1 + kSide * 4), data(2 << 20);
    z.next_out = data.data();
    z.avail_out = static_cast<uInt>(data.size());
    for (std::uint32_t y = 0; y < kSide; ++y) {
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        deflate(&z, y + 1 == kSide ? Z_FINISH : Z_NO_FLUSH);
    }
    data.resize(z.total_out);
    deflateEnd(&z);
    chunk("IDAT", data);
    chunk("IEND", {});
    return png;
}

void BM_DecodePngLargerThanScreen(benchmark::State& state) {
    DecodeCompressed(state, CompressedImageFormat::Png, PngBomb());
}
BENCHMARK(BM_DecodePngLargerThanScreen)->Unit(benchmark::kMillisecond);

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
