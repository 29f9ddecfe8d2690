#include "ui/TBitmap.h"

#include "formats/BmpDecoder.h"

namespace automenu {

void TBitmap::ReadData(std::span<const std::uint8_t> bytes) {
    BmpImage bitmap = DecodeBmpFile(bytes, VisiblePictureSize());
    SetPixels(bitmap.size, std::move(bitmap.image));
}

void TBitmap::ThrowOutOfMemory() const { ThrowBitmapOutOfMemory(); }

}  // namespace automenu
