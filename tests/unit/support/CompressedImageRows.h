// The PNG and JPEG fixtures both systems' decoders are held to
// (tests/data/pictures/make-fixtures.py, step "compressed"), on a 1024 x 768
// screen: a picture larger than that keeps its top-left 1024 x 768.
#pragma once

#include <algorithm>

#include "base/Types.h"
#include "formats/CompressedImage.h"

namespace automenu::test {

constexpr TSize kCompressedTestScreen{1024, 768};

// The top-left part of an image, at most `size`.
inline PixelImage TopLeft(const PixelImage& image, TSize size) {
    PixelImage out;
    out.width = std::min(size.cx, image.width);
    out.height = std::min(size.cy, image.height);
    out.has_alpha = image.has_alpha;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels.push_back(image.pixels[static_cast<std::size_t>(y) * image.width + x]);
    return out;
}

struct DecodedRow {
    const char* file;
    const char* reference;  // a PNG is its own; a JPEG file: libjpeg's reading, as a PNG
    TSize natural;
    bool alpha;
    int tolerance;  // per channel
};

inline constexpr DecodedRow kDecodedRows[] = {
    {"png_rgb.png", "png_rgb.png", {33, 21}, false, 0},
    {"png_rgba.png", "png_rgba.png", {33, 21}, true, 1},
    {"png_palette_transparent.png", "png_palette_transparent.png", {33, 21}, true, 0},
    {"png_gray.png", "png_gray.png", {33, 21}, false, 1},  // 16-bit grey
    {"png_rgb16.png", "png_rgb16.png", {33, 21}, false, 1},
    {"png_interlaced.png", "png_interlaced.png", {33, 21}, true, 1},
    {"jpeg_baseline.jpg", "jpeg_baseline.png", {33, 21}, false, 2},
    {"jpeg_progressive.jpg", "jpeg_progressive.png", {33, 21}, false, 2},
    {"jpeg_gray.jpg", "jpeg_gray.png", {33, 21}, false, 2},
    {"jpeg_cmyk.jpg", "jpeg_cmyk.png", {33, 21}, false, 3},
    {"png_large.png", "png_large.png", {1100, 800}, false, 0},
    {"jpeg_large.jpg", "jpeg_large.png", {1100, 800}, false, 2},
};

// Files that fail: refused by the size read from their header or by the decoder.
struct RefusedRow {
    const char* file;
    CompressedImageFormat format;
};

inline constexpr RefusedRow kRefusedRows[] = {
    {"png_empty.png", CompressedImageFormat::Png},
    {"png_cut.png", CompressedImageFormat::Png},
    {"png_crc_damaged.png", CompressedImageFormat::Png},
    {"png_width_over_limit.png", CompressedImageFormat::Png},
    {"png_pixel_count_over_limit.png", CompressedImageFormat::Png},
    {"jpeg_empty.jpg", CompressedImageFormat::Jpeg},
    {"jpeg_cut.jpg", CompressedImageFormat::Jpeg},
    {"jpeg_width_over_limit.jpg", CompressedImageFormat::Jpeg},
    {"jpeg_height_zero.jpg", CompressedImageFormat::Jpeg},
    // The extension decides the kind: a PNG named .jpg is no JPEG, and a bitmap named .png no PNG.
    {"png_named.jpg", CompressedImageFormat::Jpeg},
    {"rgb24_v3.bmp", CompressedImageFormat::Png},
};

}  // namespace automenu::test
