// PNG images (inside icon files) decoded with cairo's PNG reader.
#pragma once

#include <cstdint>
#include <span>

#include "base/Types.h"

namespace automenu::platform {

// Decodes a whole PNG into premultiplied ARGB pixels with alpha; false when
// cairo cannot read it.
bool DecodePngWithCairo(std::span<const std::uint8_t> png, PixelImage& out);

}  // namespace automenu::platform
