#include <algorithm>
#include <fstream>

#include "platform/DesktopScale.h"
#include "platform/headless/OffscreenSurface.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/WicDecoder.h"
#include "platform/win32/WideText.h"

namespace automenu::platform {

namespace {

// The window drawn at 96 pixels per inch: a program that declares no DPI
// awareness, as the menu, is drawn so and stretched by Windows on a scaled
// desktop; so is this surface when its pixels are read.
class GdiOffscreen final : public IOffscreenSurface {
public:
    GdiOffscreen(TSize client, double scale)
        : m_dib(nullptr, std::max(client.cx, 1), std::max(client.cy, 1)),
          m_device{std::max(ScaledLength(client.cx, scale), 1), std::max(ScaledLength(client.cy, scale), 1)} {
        if (m_dib.Valid()) std::fill_n(m_dib.Pixels(), std::size_t(m_dib.Width()) * m_dib.Height(), 0u);
    }

    std::unique_ptr<ICanvas> Canvas() override {
        if (!m_dib.Valid()) return nullptr;
        HDC dc = m_dib.Dc();
        // Each paint starts from the DC as made: no clip or origin of the last.
        const int saved = ::SaveDC(dc);
        return std::make_unique<GdiCanvas>(dc, [dc, saved] {
            ::GdiFlush();
            ::RestoreDC(dc, saved);
        });
    }
    TSize DeviceSize() const override { return m_device; }
    Rgb DevicePixel(int x, int y) const override {
        if (!m_dib.Valid()) return {};
        ::GdiFlush();
        // The drawn pixel the stretched one comes from.
        const int from_x = std::min(x * m_dib.Width() / m_device.cx, m_dib.Width() - 1);
        const int from_y = std::min(y * m_dib.Height() / m_device.cy, m_dib.Height() - 1);
        const std::uint32_t px = m_dib.Pixels()[std::size_t(from_y) * m_dib.Width() + from_x];
        return {static_cast<std::uint8_t>(px >> 16), static_cast<std::uint8_t>(px >> 8),
                static_cast<std::uint8_t>(px)};
    }
    bool SavePng(const std::string& path) const override {
        if (!m_dib.Valid()) return false;
        ::GdiFlush();
        PixelImage image{m_device.cx, m_device.cy, {}, false};
        if (m_device.cx == m_dib.Width() && m_device.cy == m_dib.Height()) {
            image.pixels.assign(m_dib.Pixels(), m_dib.Pixels() + std::size_t(m_dib.Width()) * m_dib.Height());
        } else {
            // Stretched smoothly, as the desktop stretches such a window.
            const DibSurface scaled(m_dib.Dc(), m_device.cx, m_device.cy);
            if (!scaled.Valid()) return false;
            ::SetStretchBltMode(scaled.Dc(), HALFTONE);
            ::SetBrushOrgEx(scaled.Dc(), 0, 0, nullptr);
            ::StretchBlt(scaled.Dc(), 0, 0, m_device.cx, m_device.cy, m_dib.Dc(), 0, 0, m_dib.Width(), m_dib.Height(),
                         SRCCOPY);
            ::GdiFlush();
            image.pixels.assign(scaled.Pixels(), scaled.Pixels() + std::size_t(m_device.cx) * m_device.cy);
        }
        for (std::uint32_t& p : image.pixels) p |= 0xFF000000u;  // GDI leaves alpha 0
        const std::vector<std::uint8_t> png = EncodePngWithWic(image);
        if (png.empty()) return false;
        std::ofstream out(Wide(path).c_str(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        out.close();
        return static_cast<bool>(out);
    }

private:
    DibSurface m_dib;
    TSize m_device;
};

}  // namespace

std::unique_ptr<IOffscreenSurface> CreateOffscreenSurface(TSize client, double scale) {
    return std::make_unique<GdiOffscreen>(client, scale);
}

}  // namespace automenu::platform
