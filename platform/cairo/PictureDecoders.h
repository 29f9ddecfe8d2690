// PNG and JPEG pictures decoded for the Linux back ends: PNG with libpng,
// JPEG with libjpeg(-turbo). The file is first found whole and its declared
// size checked (formats/CompressedImage.h); then only the top-left part that
// can be seen is decoded and kept, so time and memory follow the screen's
// size, not the size the file declares (a progressive JPEG, which holds all
// its coefficients until its last scan, excepted).
#pragma once

#include <cstdint>
#include <span>

#include "base/Types.h"
#include "formats/CompressedImage.h"

namespace automenu::platform {

// The file's top-left part of at most `visible` (each side at least 1), in
// premultiplied ARGB; a PNG with transparency gives an image with alpha.
// False when the library cannot read the file.
bool DecodePngPart(std::span<const std::uint8_t> file, TSize visible, PixelImage& out);
bool DecodeJpegPart(std::span<const std::uint8_t> file, TSize visible, PixelImage& out);
// The one of the two the format names.
inline bool DecodePicturePart(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                              PixelImage& out) {
    return format == CompressedImageFormat::Png ? DecodePngPart(file, visible, out)
                                                : DecodeJpegPart(file, visible, out);
}

}  // namespace automenu::platform
