// PNG images (inside icon files) and PNG and JPEG pictures decoded with the
// Windows Imaging Component, which every supported Windows has.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/Types.h"
#include "formats/CompressedImage.h"

namespace automenu::platform {

// Decodes a whole PNG into premultiplied ARGB pixels with alpha; false when
// Windows cannot read it.
bool DecodePngWithWic(std::span<const std::uint8_t> png, PixelImage& out);

// A PNG or JPEG picture file found whole by ReadCompressedImageSize: its
// top-left part of at most `visible` (each side at least 1) is decoded;
// alpha only where a PNG is transparent.
bool DecodePictureWithWic(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                          PixelImage& out);

// The image as a PNG file, 32 bits a pixel with alpha where it has any, else
// 24; empty when Windows cannot write it.
std::vector<std::uint8_t> EncodePngWithWic(const PixelImage& image);

}  // namespace automenu::platform
