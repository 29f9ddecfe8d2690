#include "platform/cairo/MetafilePlayer.h"

#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/CairoMetafileSurface.h"
#include "platform/metafile/MetafileRecordPlayers.h"

namespace automenu::platform {

PixelImage RenderMetafileImage(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen,
                               PlaybackReport* report, MetafileEdges edges) {
    PixelImage image;
    if (report) *report = {};
    if (metafile.records.empty() || dest.right == dest.left || dest.bottom == dest.top) return image;
    if (size.cx <= 0 || size.cy <= 0) return image;
    image.width = size.cx;
    image.height = size.cy;
    image.has_alpha = true;
    image.pixels.assign(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy), 0);

    // The image's own pixels are the surface: what the records leave alone
    // stays transparent, so the window shows through when it is drawn.
    CairoSurfacePtr surface(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(image.pixels.data()),
                                                                CAIRO_FORMAT_ARGB32, size.cx, size.cy, size.cx * 4));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return {};
    {
        CairoContextPtr cr(cairo_create(surface.get()));
        cairo_set_antialias(cr.get(), edges == MetafileEdges::Smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
        const std::uint64_t screen_pixels =
            static_cast<std::uint64_t>(std::max(screen.cx, 0)) * static_cast<std::uint64_t>(std::max(screen.cy, 0));
        CairoMetafileSurface drawing(cr.get());
        MetafileDC dc(drawing, size, screen_pixels);
        if (metafile.enhanced) PlayEmfRecords(dc, metafile, dest);
        else PlayWmfRecords(dc, metafile, dest);
        if (report) *report = dc.Report();
    }
    cairo_surface_flush(surface.get());
    return image;
}

}  // namespace automenu::platform
