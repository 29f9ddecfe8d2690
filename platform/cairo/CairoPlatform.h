// The base of the back ends that draw with cairo and pango on a POSIX system
// (SdlPlatform, HeadlessPlatform), holding what they share:
//  - files: the POSIX file system;
//  - fonts and text: pango, at the back end's pixels per inch; the screen
//    canvas for measuring is a 1 x 1 image;
//  - PNG images inside icons: cairo's reader; PNG and JPEG pictures: libpng
//    and libjpeg (PictureDecoders.h);
//  - quit messages and timers: the framework's message queue, on the clock
//    the back end names (Now).
// A back end derived from it writes its screen, its windows, its input and
// its message box.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/QueuedPlatform.h"
#include "platform/Platform.h"
#include "platform/cairo/CairoCanvas.h"

namespace automenu::platform {

class CairoPlatform : public QueuedPlatform {
public:
    IFileSystem& Files() override;
    std::shared_ptr<IFont> CreateFont(const FontDescription& description) override;
    ICanvas& ScreenCanvas() override { return *m_screen_canvas; }
    bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) override;
    bool DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                       PixelImage& out) override;

protected:
    CairoPlatform();
    ~CairoPlatform() override;
    CairoPlatform(const CairoPlatform&) = delete;
    CairoPlatform& operator=(const CairoPlatform&) = delete;

private:
    CairoSurfacePtr m_screen_surface;
    std::unique_ptr<CairoCanvas> m_screen_canvas;
};

}  // namespace automenu::platform
