// PNG and JPEG picture files: what is read of them before the platform's
// decoder sees them. Both systems hand the decoding to a library of their
// own (libpng and libjpeg on Linux, the imaging component on Windows); the
// size a file declares is read and held to the bitmaps' limits here, so
// both accept and refuse the same files and no decoder is asked for more.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/Types.h"

namespace automenu {

enum class CompressedImageFormat { Png, Jpeg };

// The failure of a file that is not a picture of its kind, worded as the
// other kinds' failures: "PNG image is not valid", "JPEG image is not valid".
std::string InvalidImageMessage(CompressedImageFormat format);

// The pixel size the file declares: a PNG's image header, a JPEG's first
// frame header. Throws EInvalidGraphic with the kind's message when the file
// does not begin as that kind, declares an empty size or one beyond the
// bitmaps' limits (32767 a side, 2^28 pixels), or is not whole: a PNG must
// have all its chunks up to the end chunk, each with its checksum; a JPEG
// must have an end marker after its frame header. Decoders then read only
// the rows that can be seen, and a file damaged past them fails all the same.
TSize ReadCompressedImageSize(CompressedImageFormat format, std::span<const std::uint8_t> file);

// The checksum of a PNG chunk: the CRC-32 of its type and data.
std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes);

}  // namespace automenu
