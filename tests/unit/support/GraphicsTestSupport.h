// Shared helpers of the picture tests: a platform that reads real files and
// reports a chosen screen, fixture paths, and pixel comparison.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/Types.h"
#include "platform/Platform.h"
#include "platform/PlatformAccess.h"
#include "platform/cairo/CairoPng.h"
#include "platform/cairo/PictureDecoders.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/ExpectFailure.h"

namespace automenu::test {

using testing::ExpectFailure;

inline std::string PictureFixture(const std::string& name) {
    return std::string(AUTOMENU_TEST_DATA) + "/pictures/" + name;
}

inline std::vector<std::uint8_t> ReadFixture(const std::string& name) {
    std::ifstream in(PictureFixture(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Only what picture loading asks of the platform; the rest is never called.
class PictureTestPlatform : public platform::IPlatform {
public:
    int color_bits = 32;
    TSize large_icon{32, 32};
    TSize small_icon{16, 16};
    int ppi = 96;

    TSize ScreenSize() override { return {1024, 768}; }
    int PixelsPerInch() override { return ppi; }
    Rgb SysColor(int) override { return {}; }
    int ScreenColorBits() override { return color_bits; }
    TSize LargeIconSize() override { return large_icon; }
    TSize SmallIconSize() override { return small_icon; }
    platform::IFileSystem& Files() override { return platform::PosixFileSystem::Instance(); }
    void ShellOpen(const std::string&) override {}
    platform::TargetSystem System() override { return platform::TargetSystem::Linux; }
    platform::WindowId CreateWindow(const platform::WindowParams&) override { return 1; }
    void DestroyWindow(platform::WindowId) override {}
    void SetCaption(platform::WindowId, const std::string&) override {}
    void SetIcon(platform::WindowId, const PixelImage&) override {}
    void ShowWindow(platform::WindowId, bool) override {}
    void SetEnabled(platform::WindowId, bool) override {}
    void MoveWindow(platform::WindowId, TPoint) override {}
    TPoint WindowPosition(platform::WindowId) override { return {}; }
    void SetClientSize(platform::WindowId, TSize) override {}
    platform::FrameExtents Frame(platform::WindowId) override { return {}; }
    TSize MinimumCaptionedSize() override { return {}; }
    TPoint ClientToScreen(platform::WindowId, TPoint p) override { return p; }
    void Invalidate(platform::WindowId, const TRect&) override {}
    void SetCapture(platform::WindowId) override {}
    void ReleaseCapture() override {}
    std::unique_ptr<platform::ICanvas> BeginPaint(platform::WindowId, TRect&) override { return nullptr; }
    TPoint CursorPos() override { return {}; }
    int CursorHeight() override { return 0; }
    platform::WindowId WindowAtPoint(TPoint) override { return 0; }
    bool IsProgramActive() override { return false; }
    bool PeekMessage(platform::Message&) override { return false; }
    void WaitMessage() override {}
    void PostQuitMessage(int) override {}
    void SetTimer(platform::WindowId, int, unsigned) override {}
    void KillTimer(platform::WindowId, int) override {}
    bool ErrorBox(const std::string&, const std::string&) override { return true; }
    std::shared_ptr<platform::IFont> CreateFont(const FontDescription&) override { return nullptr; }
    platform::ICanvas& ScreenCanvas() override { std::abort(); }
    bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) override {
        return platform::DecodePngWithCairo(png, out);
    }
    bool DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                       PixelImage& out) override {
        return platform::DecodePicturePart(format, file, visible, out);
    }
};

// Installs a PictureTestPlatform for the test's lifetime.
class PictureTest : public ::testing::Test {
protected:
    PictureTestPlatform platform;

private:
    ScopedPlatform m_installed{platform};
};

// A PNG file as premultiplied ARGB (cairo's reading); empty when unreadable.
inline PixelImage LoadPng(const std::string& path) {
    PixelImage img;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> s(
        cairo_image_surface_create_from_png(path.c_str()), &cairo_surface_destroy);
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return img;
    cairo_surface_flush(s.get());
    img.width = cairo_image_surface_get_width(s.get());
    img.height = cairo_image_surface_get_height(s.get());
    const bool alpha = cairo_image_surface_get_format(s.get()) == CAIRO_FORMAT_ARGB32;
    const int stride = cairo_image_surface_get_stride(s.get());
    const unsigned char* data = cairo_image_surface_get_data(s.get());
    for (int y = 0; y < img.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < img.width; ++x) img.pixels.push_back(alpha ? row[x] : (row[x] | 0xFF000000u));
    }
    img.has_alpha = alpha;
    return img;
}

// A reference rendering among the test pictures.
inline PixelImage LoadReferencePng(const std::string& name) { return LoadPng(PictureFixture(name)); }

inline int Channel(std::uint32_t px, int shift) { return static_cast<int>((px >> shift) & 0xFF); }

// Largest difference of any channel between two pixels.
inline int PixelDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16, 24}) worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
    return worst;
}

// Share of pixels (0..1) that differ by more than `tolerance` in some channel.
inline double MismatchShare(const PixelImage& a, const PixelImage& b, int tolerance) {
    if (a.width != b.width || a.height != b.height) return 1.0;
    std::size_t bad = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        if (PixelDistance(a.pixels[i], b.pixels[i]) > tolerance) ++bad;
    return a.pixels.empty() ? 0.0 : static_cast<double>(bad) / static_cast<double>(a.pixels.size());
}

// Root mean square difference (0..1) of the colour channels after a 3 x 3
// box blur of both pictures: a line one pixel off counts little, a line
// twice as wide or a wrong colour counts fully.
inline double BlurredRmse(const PixelImage& a, const PixelImage& b) {
    if (a.width != b.width || a.height != b.height) return 1.0;
    if (a.pixels.empty()) return 0.0;
    auto blurred = [](const PixelImage& img, int x, int y, int shift) {
        int sum = 0, n = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int cx = std::clamp(x + dx, 0, img.width - 1), cy = std::clamp(y + dy, 0, img.height - 1);
                sum += Channel(img.pixels[static_cast<std::size_t>(cy) * img.width + cx], shift);
                ++n;
            }
        return sum / (255.0 * n);
    };
    double total = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int shift : {0, 8, 16}) {
                const double d = blurred(a, x, y, shift) - blurred(b, x, y, shift);
                total += d * d;
            }
    return std::sqrt(total / (3.0 * a.width * a.height));
}

}  // namespace automenu::test
