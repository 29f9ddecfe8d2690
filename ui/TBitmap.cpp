#include "ui/TBitmap.h"

#include "ui/BmpDecoder.h"

namespace automenu {

void TBitmap::Draw(platform::ICanvas& canvas, const TRect& rect) {
    if (Empty()) return;
    // Source copy at natural size; the caller's clip cuts it to the rect.
    canvas.DrawImage(m_image, rect.left, rect.top);
}

void TBitmap::ReadData(std::span<const std::uint8_t> bytes) {
    PixelImage image = DecodeBmpFile(bytes);
    m_image = std::move(image);
    Changed();
}

}  // namespace automenu
