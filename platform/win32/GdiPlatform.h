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

#include "platform/MessageQueue.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32FileSystem.h"

namespace automenu::platform {

class GdiPlatform : public IPlatform {
public:
    IFileSystem& Files() override { return m_files; }
    std::shared_ptr<IFont> CreateFont(const FontDescription& description) override;
    ICanvas& ScreenCanvas() override { return *m_screen_canvas; }
    bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) override;
    bool DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                       PixelImage& out) override;
    void PostQuitMessage(int exit_code) override { m_queue.PostQuit(exit_code); }
    void SetTimer(WindowId w, int id, unsigned milliseconds) override { m_queue.SetTimer(w, id, milliseconds, Now()); }
    void KillTimer(WindowId w, int id) override { m_queue.KillTimer(w, id); }

protected:
    GdiPlatform();
    ~GdiPlatform() override;
    GdiPlatform(const GdiPlatform&) = delete;
    GdiPlatform& operator=(const GdiPlatform&) = delete;

    // The time timers are measured on, in milliseconds.
    virtual std::uint64_t Now() = 0;

    MessageQueue m_queue;

private:
    Win32FileSystem m_files;
    MemoryDc m_screen_dc;
    std::unique_ptr<GdiCanvas> m_screen_canvas;
};

}  // namespace automenu::platform
