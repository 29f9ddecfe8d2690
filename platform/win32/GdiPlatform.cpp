#include "platform/win32/GdiPlatform.h"

#include "platform/win32/WicDecoder.h"

namespace automenu::platform {

GdiPlatform::GdiPlatform()
    : m_screen_dc(::CreateCompatibleDC(nullptr)),
      m_screen_canvas(std::make_unique<GdiCanvas>(m_screen_dc.get(), nullptr)) {}

GdiPlatform::~GdiPlatform() = default;

std::shared_ptr<IFont> GdiPlatform::CreateFont(const FontDescription& description) {
    return std::make_shared<Win32Font>(description);
}

bool GdiPlatform::DecodePng(std::span<const std::uint8_t> png, PixelImage& out) { return DecodePngWithWic(png, out); }

bool GdiPlatform::DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                                PixelImage& out) {
    return DecodePictureWithWic(format, file, visible, out);
}

}  // namespace automenu::platform
