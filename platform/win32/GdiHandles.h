// Owning handles for the GDI and USER objects the Win32 back end creates.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using BitmapHandle = GdiObject<HBITMAP>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct EnhMetafileDeleter {
    void operator()(HENHMETAFILE metafile) const { ::DeleteEnhMetaFile(metafile); }
};
using EnhMetafileHandle = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, EnhMetafileDeleter>;

struct WindowDeleter {
    void operator()(HWND window) const { ::DestroyWindow(window); }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

// A window's device context, released with the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A top-down 32-bit DIB section selected into a memory DC: pixels as
// 0xAARRGGBB words, the layout of PixelImage.
class DibSurface {
public:
    DibSurface(HDC reference, int width, int height);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    bool Valid() const { return m_bits != nullptr; }
    HDC Dc() const { return m_dc.get(); }
    std::uint32_t* Pixels() const { return m_bits; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    MemoryDc m_dc;
    BitmapHandle m_bitmap;
    HGDIOBJ m_previous = nullptr;
    std::uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace automenu::platform
