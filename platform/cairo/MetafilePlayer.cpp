#include "platform/cairo/MetafilePlayer.h"

#include <cmath>

#include "platform/cairo/MetafileDrawingState.h"

namespace automenu::platform {

namespace {

// Largest scratch surface we play into; beyond it the clip is cut down.
constexpr int kMaxScratchSide = 8192;

}  // namespace

void PlayMetafileOnCairo(cairo_t* cr, const MetafileBits& metafile, const TRect& dest) {
    if (metafile.records.empty() || dest.right == dest.left || dest.bottom == dest.top) return;

    // The records play on a scratch surface of their own, covering the
    // visible part of the target, then it is painted on. A damaged metafile
    // can at worst spoil that surface, never the caller's context.
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    const double ox = std::floor(x1), oy = std::floor(y1);
    const int w = static_cast<int>(std::min<double>(std::ceil(x2) - ox, kMaxScratchSide));
    const int h = static_cast<int>(std::min<double>(std::ceil(y2) - oy, kMaxScratchSide));
    if (w <= 0 || h <= 0) return;

    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(scratch) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(scratch);
        return;
    }
    cairo_surface_set_device_offset(scratch, -ox, -oy);
    cairo_t* inner = cairo_create(scratch);
    cairo_set_antialias(inner, CAIRO_ANTIALIAS_GRAY);
    {
        MetafileDC dc(inner);
        if (metafile.enhanced) PlayEmfRecords(dc, metafile, dest);
        else PlayWmfRecords(dc, metafile, dest);
    }
    cairo_destroy(inner);
    cairo_surface_flush(scratch);

    cairo_save(cr);
    cairo_set_source_surface(cr, scratch, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(scratch);
}

}  // namespace automenu::platform
