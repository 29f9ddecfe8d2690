#include "platform/cairo/CairoPng.h"

#include <cairo.h>

#include <cstring>
#include <memory>
#include <vector>

namespace automenu::platform {

namespace {

struct PngSource {
    std::span<const std::uint8_t> data;
    std::size_t pos = 0;
};

cairo_status_t ReadPngChunk(void* closure, unsigned char* out, unsigned int length) {
    auto* src = static_cast<PngSource*>(closure);
    if (length > src->data.size() - src->pos) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, src->data.data() + src->pos, length);
    src->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t WritePngChunk(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

}  // namespace

bool DecodePngWithCairo(std::span<const std::uint8_t> png, PixelImage& out) {
    PngSource src{png};
    SurfacePtr surface(cairo_image_surface_create_from_png_stream(&ReadPngChunk, &src), &cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return false;
    cairo_surface_flush(surface.get());
    const int w = cairo_image_surface_get_width(surface.get());
    const int h = cairo_image_surface_get_height(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const cairo_format_t format = cairo_image_surface_get_format(surface.get());
    const unsigned char* px = cairo_image_surface_get_data(surface.get());
    if (!px || w <= 0 || h <= 0) return false;

    PixelImage img;
    img.width = w;
    img.height = h;
    img.pixels.resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(px + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = row[x];
            if (format != CAIRO_FORMAT_ARGB32) v |= 0xFF000000u;
            img.pixels[static_cast<std::size_t>(y) * w + x] = v;
        }
    }
    img.has_alpha = true;
    out = std::move(img);
    return true;
}

std::vector<std::uint8_t> EncodePngWithCairo(const PixelImage& image) {
    if (image.IsEmpty()) return {};
    SurfacePtr surface(cairo_image_surface_create(image.has_alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                                  image.width, image.height),
                       &cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return {};
    cairo_surface_flush(surface.get());
    unsigned char* px = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < image.height; ++y)
        std::memcpy(px + static_cast<std::size_t>(y) * stride,
                    image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                    static_cast<std::size_t>(image.width) * 4);
    cairo_surface_mark_dirty(surface.get());
    std::vector<std::uint8_t> png;
    if (cairo_surface_write_to_png_stream(surface.get(), &WritePngChunk, &png) != CAIRO_STATUS_SUCCESS) return {};
    return png;
}

}  // namespace automenu::platform
