#include "ui/TCompressedImage.h"

#include "base/Exceptions.h"
#include "platform/PlatformAccess.h"

namespace automenu {

void TCompressedImage::Draw(platform::ICanvas& canvas, const TRect& rect) {
    if (Empty()) return;
    canvas.DrawImage(m_image, rect.left, rect.top);
}

void TCompressedImage::ReadData(std::span<const std::uint8_t> bytes) {
    const TSize size = ReadCompressedImageSize(m_format, bytes);
    PixelImage image;
    if (!Platform().DecodePicture(m_format, bytes, VisiblePictureSize(), image) || image.IsEmpty())
        throw EInvalidGraphic(InvalidImageMessage(m_format));
    m_size = size;
    m_image = std::move(image);
    Changed();
}

void TCompressedImage::ThrowOutOfMemory() const { throw EOutOfResources("Out of system resources"); }

}  // namespace automenu
