#include <algorithm>

#include "platform/DesktopScale.h"
#include "platform/cairo/CairoCanvas.h"
#include "platform/headless/OffscreenSurface.h"

namespace automenu::platform {

namespace {

class CairoOffscreen final : public IOffscreenSurface {
public:
    CairoOffscreen(TSize client, double scale)
        // Drawn in design units at the device's resolution, as the desktop
        // back end draws a high-DPI window.
        : m_surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(ScaledLength(client.cx, scale), 1),
                                               std::max(ScaledLength(client.cy, scale), 1))) {
        if (scale != 1.0) cairo_surface_set_device_scale(m_surface.get(), scale, scale);
    }

    std::unique_ptr<ICanvas> Canvas() override {
        return std::make_unique<CairoCanvas>(CairoContextPtr(cairo_create(m_surface.get())));
    }
    TSize DeviceSize() const override {
        return {cairo_image_surface_get_width(m_surface.get()), cairo_image_surface_get_height(m_surface.get())};
    }
    Rgb DevicePixel(int x, int y) const override {
        cairo_surface_t* s = m_surface.get();
        cairo_surface_flush(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        const std::uint32_t px = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
        return {static_cast<std::uint8_t>(px >> 16), static_cast<std::uint8_t>(px >> 8),
                static_cast<std::uint8_t>(px)};
    }
    bool SavePng(const std::string& path) const override {
        cairo_surface_flush(m_surface.get());
        return cairo_surface_write_to_png(m_surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
    }

private:
    CairoSurfacePtr m_surface;
};

}  // namespace

std::unique_ptr<IOffscreenSurface> CreateOffscreenSurface(TSize client, double scale) {
    return std::make_unique<CairoOffscreen>(client, scale);
}

}  // namespace automenu::platform
