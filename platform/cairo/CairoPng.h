// PNG images (inside icon files) decoded with cairo's PNG reader, and
// pictures written as PNG files with its writer.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/Types.h"

namespace automenu::platform {

// Decodes a whole PNG into premultiplied ARGB pixels with alpha; false when
// cairo cannot read it.
bool DecodePngWithCairo(std::span<const std::uint8_t> png, PixelImage& out);

// The image as a PNG file: 8-bit RGB, or RGBA when it has alpha. Empty when
// cairo cannot write it.
std::vector<std::uint8_t> EncodePngWithCairo(const PixelImage& image);

}  // namespace automenu::platform
