// PNG images (inside icon files) decoded with the Windows Imaging Component,
// which every supported Windows has.
#pragma once

#include <cstdint>
#include <span>

#include "base/Types.h"

namespace automenu::platform {

// Decodes a whole PNG into premultiplied ARGB pixels with alpha; false when
// Windows cannot read it.
bool DecodePngWithWic(std::span<const std::uint8_t> png, PixelImage& out);

}  // namespace automenu::platform
