#include <algorithm>
#include <fstream>

#include "platform/DesktopScale.h"
#include "platform/headless/OffscreenSurface.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/WicDecoder.h"
#include "platform/win32/WideText.h"

namespace automenu::platform {

namespace {

class GdiOffscreen final : public IOffscreenSurface {
public:
    GdiOffscreen(TSize client, double scale)
        : m_dib(nullptr, std::max(ScaledLength(client.cx, scale), 1), std::max(ScaledLength(client.cy, scale), 1)),
          m_scale(scale) {
        if (m_dib.Valid()) std::fill_n(m_dib.Pixels(), std::size_t(m_dib.Width()) * m_dib.Height(), 0u);
    }

    std::unique_ptr<ICanvas> Canvas() override {
        if (!m_dib.Valid()) return nullptr;
        HDC dc = m_dib.Dc();
        // Each paint starts from the DC as made: no clip or origin of the last.
        const int saved = ::SaveDC(dc);
        if (m_scale != 1.0) {
            // Design units at the device's resolution, as a high-DPI window
            // draws them.
            ::SetGraphicsMode(dc, GM_ADVANCED);
            const XFORM scale{static_cast<FLOAT>(m_scale), 0, 0, static_cast<FLOAT>(m_scale), 0, 0};
            ::SetWorldTransform(dc, &scale);
        }
        return std::make_unique<GdiCanvas>(dc, [dc, saved] {
            ::GdiFlush();
            ::RestoreDC(dc, saved);
        });
    }
    TSize DeviceSize() const override { return {m_dib.Width(), m_dib.Height()}; }
    Rgb DevicePixel(int x, int y) const override {
        if (!m_dib.Valid()) return {};
        ::GdiFlush();
        const std::uint32_t px = m_dib.Pixels()[std::size_t(y) * m_dib.Width() + x];
        return {static_cast<std::uint8_t>(px >> 16), static_cast<std::uint8_t>(px >> 8),
                static_cast<std::uint8_t>(px)};
    }
    bool SavePng(const std::string& path) const override {
        if (!m_dib.Valid()) return false;
        ::GdiFlush();
        PixelImage image{m_dib.Width(), m_dib.Height(), {}, false};
        image.pixels.assign(m_dib.Pixels(), m_dib.Pixels() + std::size_t(m_dib.Width()) * m_dib.Height());
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
    double m_scale;
};

}  // namespace

std::unique_ptr<IOffscreenSurface> CreateOffscreenSurface(TSize client, double scale) {
    return std::make_unique<GdiOffscreen>(client, scale);
}

}  // namespace automenu::platform
