// Any bytes as a metafile file, enhanced or placeable Windows (the reader
// tells them apart), loaded and played into a small surface.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/cairo/MetafilePlayer.h"
#include "ui/Exceptions.h"
#include "ui/MetafileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    automenu::LoadedMetafile m;
    try {
        m = automenu::ReadMetafile({data, size});
    } catch (const automenu::Exception&) {
        return 0;
    }
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 48), &cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), &cairo_destroy);
    automenu::platform::PlayMetafileOnCairo(cr.get(), m.bits, {0, 0, 63, 47});
    return 0;
}
