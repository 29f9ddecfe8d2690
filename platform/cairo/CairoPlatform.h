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

#include "platform/MessageQueue.h"
#include "platform/Platform.h"
#include "platform/cairo/CairoCanvas.h"

namespace automenu::platform {

class CairoPlatform : public IPlatform {
public:
    IFileSystem& Files() override;
    std::shared_ptr<IFont> CreateFont(const FontDescription& description) override;
    ICanvas& ScreenCanvas() override { return *m_screen_canvas; }
    bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) override;
    bool DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                       PixelImage& out) override;
    void PostQuitMessage(int exit_code) override { m_queue.PostQuit(exit_code); }
    void SetTimer(WindowId w, int id, unsigned milliseconds) override { m_queue.SetTimer(w, id, milliseconds, Now()); }
    void KillTimer(WindowId w, int id) override { m_queue.KillTimer(w, id); }

protected:
    CairoPlatform();
    ~CairoPlatform() override;
    CairoPlatform(const CairoPlatform&) = delete;
    CairoPlatform& operator=(const CairoPlatform&) = delete;

    // The time timers are measured on, in milliseconds.
    virtual std::uint64_t Now() = 0;

    MessageQueue m_queue;

private:
    CairoSurfacePtr m_screen_surface;
    std::unique_ptr<CairoCanvas> m_screen_canvas;
};

}  // namespace automenu::platform
