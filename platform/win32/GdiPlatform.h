// The base of the in-memory desktop on Windows (HeadlessPlatform), as
// CairoPlatform is on Linux, holding what it takes from the system:
//  - files: Win32FileSystem;
//  - fonts and text: GDI, measured on a memory device context;
//  - PNG and JPEG pictures: the imaging component;
//  - quit messages and timers: the framework's message queue, on the clock
//    the back end names (Now).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/QueuedPlatform.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32FileSystem.h"

namespace automenu::platform {

class GdiPlatform : public QueuedPlatform {
public:
    IFileSystem& Files() override { return m_files; }
    std::shared_ptr<IFont> CreateFont(const FontDescription& description) override;
    ICanvas& ScreenCanvas() override { return *m_screen_canvas; }
    bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) override;
    bool DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                       PixelImage& out) override;

protected:
    GdiPlatform();
    ~GdiPlatform() override;
    GdiPlatform(const GdiPlatform&) = delete;
    GdiPlatform& operator=(const GdiPlatform&) = delete;

private:
    Win32FileSystem m_files;
    MemoryDc m_screen_dc;
    std::unique_ptr<GdiCanvas> m_screen_canvas;
};

}  // namespace automenu::platform
