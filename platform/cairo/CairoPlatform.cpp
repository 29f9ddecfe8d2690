#include "platform/cairo/CairoPlatform.h"

#include "platform/cairo/CairoPng.h"
#include "platform/cairo/PangoText.h"
#include "platform/cairo/PictureDecoders.h"
#include "platform/posix/PosixFileSystem.h"

namespace automenu::platform {

CairoPlatform::CairoPlatform()
    : m_screen_surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1)),
      m_screen_canvas(std::make_unique<CairoCanvas>(CairoContextPtr(cairo_create(m_screen_surface.get())))) {}

CairoPlatform::~CairoPlatform() = default;

IFileSystem& CairoPlatform::Files() { return PosixFileSystem::Instance(); }

std::shared_ptr<IFont> CairoPlatform::CreateFont(const FontDescription& description) {
    return CreatePangoFont(description, PixelsPerInch());
}

bool CairoPlatform::DecodePng(std::span<const std::uint8_t> png, PixelImage& out) {
    return DecodePngWithCairo(png, out);
}

bool CairoPlatform::DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                                  PixelImage& out) {
    return DecodePicturePart(format, file, visible, out);
}

}  // namespace automenu::platform
