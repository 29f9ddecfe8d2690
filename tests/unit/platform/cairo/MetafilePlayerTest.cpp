#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <functional>

#include "support/GraphicsTestSupport.h"
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
        cairo_surface_write_to_png(
            surface.get(), (std::string(std::getenv("AUTOMENU_SAVE_RENDERINGS")) + "/" + save_as + ".png").c_str());
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
        // Text placed by the records' advances (letter-spaced, justified,
        // each alignment, ETO_PDY offsets), glyph indices, opaque and
        // clipped boxes, played by the GDI: the glyphs' own shapes differ by
        // their hinting and smoothing. (Drawn by the font's advances, as
        // characters, 4 to 10 % of the pixels were off.)
        {"text_dx.emf", "text_dx.png", 64, 0.035},
        {"text_pdy.emf", "text_pdy.png", 64, 0.02},
        {"text_glyphs.emf", "text_glyphs.png", 64, 0.02},
        {"text_opaque_clipped.emf", "text_opaque_clipped.png", 64, 0.02},
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

TEST_F(MetafilePlayback, PensAndRasterOperationsDrawLikeTheGdi) {
    // Generated pictures played by the GDI: pen widths under a scaled
    // mapping, caps and joins, dash styles, palette indices, the binary
    // modes and the ternary blits (mask pairs, inversions).
    struct Row {
        const char* file;
        double max_rmse;  // blurred, 0..1
    } rows[] = {
        // Wide pens' diagonals come out a pixel thinner than the GDI's.
        {"pens_widths.emf", 0.03}, {"pens_mapping.emf", 0.045}, {"pens_joins.emf", 0.04},
        {"pens_styles.emf", 0.03}, {"palette_index.emf", 0.01},  {"rop2.emf", 0.03},
        {"rop_blits.emf", 0.005},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TMetafile metafile;
        metafile.LoadFromFile(PictureFixture(row.file));
        const std::string reference = std::string(row.file, std::strlen(row.file) - 4) + ".png";
        const PixelImage expected = LoadReferencePng(reference);
        const PixelImage got = RenderOnWhite(metafile, expected.width, expected.height, row.file);
        const double rmse = BlurredRmse(got, expected);
        RecordProperty(row.file, std::to_string(rmse));
        EXPECT_LE(rmse, row.max_rmse);
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

// A canvas that passes everything on to a cairo canvas and counts the
// metafile plays and the size of the images drawn.
class CountingCanvas final : public platform::ICanvas {
public:
    explicit CountingCanvas(platform::ICanvas& inner) : m_inner(inner) {}
    int plays = 0;
    TSize drawn;

    void Save() override { m_inner.Save(); }
    void Restore() override { m_inner.Restore(); }
    void Translate(int dx, int dy) override { m_inner.Translate(dx, dy); }
    void IntersectClip(const TRect& r) override { m_inner.IntersectClip(r); }
    void FillRect(const TRect& r, Rgb colour) override { m_inner.FillRect(r, colour); }
    void DrawRaisedEdge(const TRect& r) override { m_inner.DrawRaisedEdge(r); }
    void DrawFocusRect(const TRect& r) override { m_inner.DrawFocusRect(r); }
    void DrawImage(const PixelImage& image, int x, int y) override {
        drawn = {image.width, image.height};
        m_inner.DrawImage(image, x, y);
    }
    PixelImage RenderMetafile(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen) override {
        ++plays;
        return m_inner.RenderMetafile(metafile, dest, size, screen);
    }
    TRect DrawText(const platform::IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                   unsigned flags) override {
        return m_inner.DrawText(font, colour, text, rect, flags);
    }

private:
    platform::ICanvas& m_inner;
};

TEST_F(MetafilePlayback, PlaysOnceAndKeepsThePixels) {
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 200, 200));
    platform::CairoCanvas cairo(CairoContextPtr(cairo_create(surface.get())));
    CountingCanvas canvas(cairo);
    TMetafile metafile;
    metafile.LoadFromFile(PictureFixture("shapes.wmf"));
    struct Step {
        const char* why;
        std::function<void()> change;
        TRect rect;
        int plays;
        TSize drawn;
    } steps[] = {
        {"first paint", [] {}, {0, 0, 160, 120}, 1, {160, 120}},
        {"repaint, elsewhere too", [] {}, {10, 10, 170, 130}, 1, {160, 120}},
        {"another size", [] {}, {0, 0, 80, 60}, 2, {80, 60}},
        {"a new picture", [&] { metafile.LoadFromFile(PictureFixture("office.wmf")); }, {0, 0, 80, 60}, 3, {80, 60}},
        // Never more than the screen (1024 x 768 here) from the top-left.
        {"larger than the screen", [] {}, {0, 0, 3000, 500}, 4, {1024, 500}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.why);
        step.change();
        metafile.Draw(canvas, step.rect);
        EXPECT_EQ(canvas.plays, step.plays);
        EXPECT_EQ(canvas.drawn, step.drawn);
    }
}

}  // namespace
}  // namespace automenu::test
