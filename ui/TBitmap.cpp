#include "ui/TBitmap.h"

#include "formats/BmpDecoder.h"

namespace automenu {

void TBitmap::Draw(platform::ICanvas& canvas, const TRect& rect) {
    if (Empty()) return;
    // Source copy at natural size; the caller's clip cuts it to the rect.
    // What is not held lies beyond the screen and is never seen.
    canvas.DrawImage(m_image, rect.left, rect.top);
}

void TBitmap::ReadData(std::span<const std::uint8_t> bytes) {
    BmpImage bitmap = DecodeBmpFile(bytes, VisiblePictureSize());
    m_size = bitmap.size;
    m_image = std::move(bitmap.image);
    Changed();
}

void TBitmap::ThrowOutOfMemory() const { ThrowBitmapOutOfMemory(); }

}  // namespace automenu
