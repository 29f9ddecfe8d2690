#include "ui/TCompressedImage.h"

#include "base/Exceptions.h"
#include "platform/PlatformAccess.h"

namespace automenu {

void TCompressedImage::ReadData(std::span<const std::uint8_t> bytes) {
    const TSize size = ReadCompressedImageSize(m_format, bytes);
    PixelImage image;
    if (!Platform().DecodePicture(m_format, bytes, VisiblePictureSize(), image) || image.IsEmpty())
        throw EInvalidGraphic(InvalidImageMessage(m_format));
    SetPixels(size, std::move(image));
}

void TCompressedImage::ThrowOutOfMemory() const { throw EOutOfResources("Out of system resources"); }

}  // namespace automenu
