// Reads a bitmap file (".bmp") into pixels, with the framework's failures.
#pragma once

#include <cstdint>
#include <span>

#include "platform/Types.h"

namespace automenu {

// A 0-byte file gives an empty image. Throws EReadError "Stream read error"
// for a cut-short header, EInvalidGraphic "Bitmap image is not valid" for a
// bad signature, bad planes or pixels we cannot create, EOSError when
// memory runs out.
PixelImage DecodeBmpFile(std::span<const std::uint8_t> bytes);

}  // namespace automenu
