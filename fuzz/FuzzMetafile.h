// Shared by the metafile fuzz targets: read the bytes as a metafile file and
// play whatever loads into a small surface.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>

#include "platform/cairo/MetafilePlayer.h"
#include "ui/Exceptions.h"
#include "ui/MetafileReader.h"

inline void FuzzMetafile(const std::uint8_t* data, std::size_t size) {
    automenu::LoadedMetafile m;
    try {
        m = automenu::ReadMetafile({data, size});
    } catch (const automenu::Exception&) {
        return;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 48);
    cairo_t* cr = cairo_create(surface);
    automenu::platform::PlayMetafileOnCairo(cr, m.bits, {0, 0, 63, 47});
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
