// Reads a bitmap file (".bmp") into pixels, with the framework's failures.
#pragma once

#include <cstdint>
#include <span>

#include "base/Types.h"

namespace automenu {

// A bitmap as shown: its natural size and the top-left part of it that is
// decoded and held.
struct BmpImage {
    TSize size;
    PixelImage image;
};

// A 0-byte file gives an empty image. Only the top-left part within
// `visible` (each side at least 1) is decoded. Throws EReadError "Stream
// read error" for a cut-short header, EInvalidGraphic "Bitmap image is not
// valid" for a bad signature, bad planes or pixels we cannot create, EOSError
// "System Error.  Code: 8." when memory runs out.
BmpImage DecodeBmpFile(std::span<const std::uint8_t> bytes, TSize visible);
// The whole bitmap, for tests and measurements.
PixelImage DecodeBmpFile(std::span<const std::uint8_t> bytes);

// The failure for memory that runs out while a bitmap is made.
[[noreturn]] void ThrowBitmapOutOfMemory();

}  // namespace automenu
