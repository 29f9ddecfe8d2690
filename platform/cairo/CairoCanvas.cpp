#include "platform/cairo/CairoCanvas.h"

#include <cmath>
#include <cstring>

#include "platform/cairo/MetafilePlayer.h"
#include "platform/cairo/PangoText.h"

namespace automenu::platform {

namespace {
void SetSource(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }
}  // namespace

CairoCanvas::CairoCanvas(CairoContextPtr cr, std::function<void()> done)
    : m_cr(std::move(cr)), m_done(std::move(done)) {}

CairoCanvas::~CairoCanvas() {
    m_cr.reset();
    if (m_done) m_done();
}

void CairoCanvas::Save() { cairo_save(m_cr.get()); }
void CairoCanvas::Restore() { cairo_restore(m_cr.get()); }
void CairoCanvas::Translate(int dx, int dy) { cairo_translate(m_cr.get(), dx, dy); }

void CairoCanvas::IntersectClip(const TRect& r) {
    cairo_t* cr = m_cr.get();
    cairo_rectangle(cr, r.left, r.top, r.Width() > 0 ? r.Width() : 0, r.Height() > 0 ? r.Height() : 0);
    cairo_clip(cr);
}

void CairoCanvas::FillRect(const TRect& r, Rgb colour) {
    if (r.IsEmpty()) return;
    cairo_t* cr = m_cr.get();
    SetSource(cr, colour);
    cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
    cairo_fill(cr);
}

void CairoCanvas::DrawRaisedEdge(const TRect& r) {
    if (r.IsEmpty()) return;
    cairo_t* cr = m_cr.get();
    cairo_save(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    // Light top-left, dark bottom-right: the classic raised look.
    SetSource(cr, {255, 255, 255});
    cairo_move_to(cr, r.left + 0.5, r.bottom - 1);
    cairo_line_to(cr, r.left + 0.5, r.top + 0.5);
    cairo_line_to(cr, r.right - 1, r.top + 0.5);
    cairo_stroke(cr);
    SetSource(cr, {105, 105, 105});
    cairo_move_to(cr, r.right - 0.5, r.top);
    cairo_line_to(cr, r.right - 0.5, r.bottom - 0.5);
    cairo_line_to(cr, r.left, r.bottom - 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CairoCanvas::DrawFocusRect(const TRect& r) {
    if (r.IsEmpty()) return;
    cairo_t* cr = m_cr.get();
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    // White by difference inverts an opaque pixel exactly, as GDI's XOR does.
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    const auto dot = [cr](int x, int y) {
        if ((x + y) % 2 == 0) cairo_rectangle(cr, x, y, 1, 1);
    };
    // Each border pixel once, corners included, so none is inverted twice.
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left) dot(r.right - 1, y);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void CairoCanvas::DrawImage(const PixelImage& image, int x, int y) {
    if (image.IsEmpty()) return;
    cairo_t* cr = m_cr.get();
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, image.width);
    if (stride != image.width * 4) return;  // cannot happen for ARGB32, but never read out of bounds
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels.data()));
    CairoSurfacePtr surface(cairo_image_surface_create_for_data(
        data, image.has_alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, image.width, image.height, stride));
    cairo_save(cr);
    // An image made at a scaled window's resolution covers fewer design units.
    const double image_scale = image.scale > 0 ? image.scale : 1.0;
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.0 / image_scale, 1.0 / image_scale);
    cairo_set_source_surface(cr, surface.get(), 0, 0);
    // On a scaled canvas (a high-DPI window) the picture is enlarged with a
    // smoothing filter, its edge pixels repeated outward so the border does
    // not fade; at design size pixels are copied one to one.
    double sx = 1.0, sy = 0.0;
    cairo_user_to_device_distance(cr, &sx, &sy);
    if (std::abs(sx - 1.0) < 1e-9) {
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    } else {
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    }
    if (!image.has_alpha) cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(cr, 0, 0, image.width, image.height);
    cairo_fill(cr);
    cairo_restore(cr);
}

PixelImage CairoCanvas::RenderMetafile(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen) {
    // On a scaled canvas the metafile is played at the device's resolution,
    // so its lines and text stay sharp, and with smooth edges: at a scale the
    // GDI never drew it at, whole pixels would show as steps.
    double scale = 1.0, unused = 0.0;
    cairo_user_to_device_distance(m_cr.get(), &scale, &unused);
    if (std::abs(scale - 1.0) < 1e-9 || scale <= 0) return RenderMetafileImage(metafile, dest, size, screen);
    auto grow = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    // The same mapping of the metafile's frame, in device pixels.
    const TRect scaled_dest{grow(dest.left), grow(dest.top), grow(dest.right), grow(dest.bottom)};
    PixelImage image = RenderMetafileImage(metafile, scaled_dest, {grow(size.cx), grow(size.cy)},
                                           {grow(screen.cx), grow(screen.cy)}, nullptr, MetafileEdges::Smooth);
    image.scale = scale;
    return image;
}

TRect CairoCanvas::DrawText(const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                            unsigned flags) {
    return DrawTextOnCairo(m_cr.get(), font, colour, text, rect, flags);
}

}  // namespace automenu::platform
