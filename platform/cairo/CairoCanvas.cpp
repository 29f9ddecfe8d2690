#include "platform/cairo/CairoCanvas.h"

#include <cstring>

#include "platform/cairo/MetafilePlayer.h"
#include "platform/cairo/PangoText.h"

namespace automenu::platform {

namespace {
void SetSource(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }
}  // namespace

CairoCanvas::CairoCanvas(CairoContextPtr cr, int pixels_per_inch, std::function<void()> done)
    : m_owned(std::move(cr)), m_cr(m_owned.get()), m_ppi(pixels_per_inch), m_done(std::move(done)) {}

CairoCanvas::~CairoCanvas() {
    m_owned.reset();
    if (m_done) m_done();
}

void CairoCanvas::Save() { cairo_save(m_cr); }
void CairoCanvas::Restore() { cairo_restore(m_cr); }
void CairoCanvas::Translate(int dx, int dy) { cairo_translate(m_cr, dx, dy); }

void CairoCanvas::IntersectClip(const TRect& r) {
    cairo_rectangle(m_cr, r.left, r.top, r.Width() > 0 ? r.Width() : 0, r.Height() > 0 ? r.Height() : 0);
    cairo_clip(m_cr);
}

void CairoCanvas::FillRect(const TRect& r, Rgb colour) {
    if (r.IsEmpty()) return;
    SetSource(m_cr, colour);
    cairo_rectangle(m_cr, r.left, r.top, r.Width(), r.Height());
    cairo_fill(m_cr);
}

void CairoCanvas::DrawRaisedEdge(const TRect& r) {
    if (r.IsEmpty()) return;
    cairo_save(m_cr);
    cairo_set_line_width(m_cr, 1.0);
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_NONE);
    // Light top-left, dark bottom-right: the classic raised look.
    SetSource(m_cr, {255, 255, 255});
    cairo_move_to(m_cr, r.left + 0.5, r.bottom - 1);
    cairo_line_to(m_cr, r.left + 0.5, r.top + 0.5);
    cairo_line_to(m_cr, r.right - 1, r.top + 0.5);
    cairo_stroke(m_cr);
    SetSource(m_cr, {105, 105, 105});
    cairo_move_to(m_cr, r.right - 0.5, r.top);
    cairo_line_to(m_cr, r.right - 0.5, r.bottom - 0.5);
    cairo_line_to(m_cr, r.left, r.bottom - 0.5);
    cairo_stroke(m_cr);
    cairo_restore(m_cr);
}

void CairoCanvas::DrawImage(const PixelImage& image, int x, int y) {
    if (image.IsEmpty()) return;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, image.width);
    if (stride != image.width * 4) return;  // cannot happen for ARGB32, but never read out of bounds
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels.data()));
    CairoSurfacePtr surface(cairo_image_surface_create_for_data(
        data, image.has_alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, image.width, image.height, stride));
    cairo_save(m_cr);
    cairo_set_source_surface(m_cr, surface.get(), x, y);
    cairo_pattern_set_filter(cairo_get_source(m_cr), CAIRO_FILTER_NEAREST);
    if (!image.has_alpha) cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(m_cr, x, y, image.width, image.height);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
}

void CairoCanvas::PlayMetafile(const MetafileBits& metafile, const TRect& dest) {
    cairo_save(m_cr);
    PlayMetafileOnCairo(m_cr, metafile, dest);
    cairo_restore(m_cr);
}

TRect CairoCanvas::DrawText(const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                            unsigned flags) {
    return DrawTextOnCairo(m_cr, font, colour, text, rect, flags, m_ppi);
}

}  // namespace automenu::platform
