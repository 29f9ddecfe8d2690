// PNG and JPEG pictures decoded for the Linux back ends: PNG with libpng,
// JPEG with libjpeg(-turbo). Both are read whole, so damage anywhere fails
// the file, but only the top-left part that can be seen is kept: memory
// stays within the screen's size whatever size the file declares. The
// declared size is checked first (formats/CompressedImage.h).
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
