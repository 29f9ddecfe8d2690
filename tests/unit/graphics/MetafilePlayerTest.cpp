#include <gtest/gtest.h>

#include <cstdlib>

#include "GraphicsTestSupport.h"
#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/MetafilePlayer.h"
#include "ui/TMetafile.h"

namespace automenu::test {
namespace {

using platform::CairoContextPtr;
using platform::CairoSurfacePtr;

// Draws the graphic into (0, 0, width, height) on white and returns the pixels.
PixelImage RenderOnWhite(TGraphic& graphic, int width, int height, const char* save_as = nullptr) {
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    {
        platform::CairoCanvas canvas(CairoContextPtr(cairo_create(surface.get())));
        canvas.FillRect({0, 0, width, height}, {255, 255, 255});
        graphic.Draw(canvas, {0, 0, width, height});
    }
    cairo_surface_flush(surface.get());
    if (save_as && std::getenv("AUTOMENU_SAVE_RENDERINGS"))
        cairo_surface_write_to_png(surface.get(), (std::string(std::getenv("AUTOMENU_SAVE_RENDERINGS")) + "/" + save_as + ".png").c_str());
    PixelImage img;
    img.width = width;
    img.height = height;
    const int stride = cairo_image_surface_get_stride(surface.get());
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] | 0xFF000000u);
    return img;
}

class MetafilePlayback : public PictureTest {};

TEST_F(MetafilePlayback, DrawsLikeTheReferenceRendering) {
    struct Row {
        const char* file;
        const char* reference;
        int tolerance;        // per channel
        double max_mismatch;  // share of pixels off by more than the tolerance (edges, text)
    } rows[] = {
        {"shapes.wmf", "shapes.png", 64, 0.04},
        {"office.wmf", "office.png", 64, 0.04},
        // The exporter wrote an enhanced frame about 1.5 % larger than the
        // drawing; mapping that frame onto the destination, as playback must,
        // shrinks the picture a little against the reference.
        {"shapes.emf", "shapes.png", 64, 0.09},
        {"office.emf", "office.png", 64, 0.06},
        // Played by the GDI itself, frame and all: only the shading's rounding
        // and the edge pixels of the shapes differ.
        {"gradients.emf", "gradients.png", 10, 0.01},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TMetafile metafile;
        metafile.LoadFromFile(PictureFixture(row.file));
        const PixelImage expected = LoadReferencePng(row.reference);
        const PixelImage got = RenderOnWhite(metafile, expected.width, expected.height, row.file);
        EXPECT_LE(MismatchShare(got, expected, row.tolerance), row.max_mismatch);
    }
}

TEST_F(MetafilePlayback, DamagedRecordEndsPlaybackQuietly) {
    // The first record after the header is damaged: nothing is drawn.
    for (const char* file : {"emf_record_size_zero.emf", "emf_record_size_odd.emf", "wmf_record_size_huge.wmf"}) {
        SCOPED_TRACE(file);
        TMetafile metafile;
        metafile.LoadFromFile(PictureFixture(file));
        const PixelImage got = RenderOnWhite(metafile, 160, 120);
        for (std::uint32_t px : got.pixels) ASSERT_EQ(px, 0xFFFFFFFFu);
    }
}

}  // namespace
}  // namespace automenu::test
