#include "platform/cairo/CairoMetafileSurface.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/PangoText.h"
#include "platform/metafile/MetafileRasterOp.h"

namespace automenu::platform {

namespace {

// An 8 x 8 hatch tile of the given style (HS_*), foreground on background.
CairoPatternPtr HatchPattern(std::uint32_t hatch, std::uint32_t fg, std::uint32_t bg, bool opaque) {
    CairoSurfacePtr tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8));
    CairoContextPtr context(cairo_create(tile.get()));
    cairo_t* t = context.get();
    if (opaque) {
        cairo_set_source_rgb(t, RedOf(bg), GreenOf(bg), BlueOf(bg));
        cairo_paint(t);
    }
    cairo_set_source_rgb(t, RedOf(fg), GreenOf(fg), BlueOf(fg));
    for (int i = 0; i < 8; ++i) {
        auto px = [&](int x, int y) { cairo_rectangle(t, x, y, 1, 1); };
        switch (hatch) {
        case 0: px(i, 4); break;                 // HS_HORIZONTAL
        case 1: px(4, i); break;                 // HS_VERTICAL
        case 2: px(i, 7 - i); break;             // HS_FDIAGONAL
        case 3: px(i, i); break;                 // HS_BDIAGONAL
        case 4: px(i, 4); px(4, i); break;       // HS_CROSS
        default: px(i, i); px(i, 7 - i); break;  // HS_DIAGCROSS
        }
    }
    cairo_fill(t);
    CairoPatternPtr p(cairo_pattern_create_for_surface(tile.get()));
    cairo_pattern_set_extend(p.get(), CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(p.get(), CAIRO_FILTER_NEAREST);
    return p;
}

// A cairo surface over a decoded bitmap's pixels, which it must not outlive.
CairoSurfacePtr SurfaceOver(const MfBitmap& bitmap) {
    const PixelImage& image = bitmap.image;
    CairoSurfacePtr s(cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels.data())), CAIRO_FORMAT_ARGB32,
        image.width, image.height, image.width * 4));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return s;
}

// A corner of a shaded shape with its colour (0..1).
struct ShadedPoint {
    double x, y, r, g, b;
};

// The part of a convex shape on one side of an edge: x (or y) >= edge when
// side is 1, <= edge when it is -1. Colours on the cut are interpolated, so
// linear shading is unchanged.
std::vector<ShadedPoint> ClipToHalfPlane(const std::vector<ShadedPoint>& shape, bool x_edge, double edge,
                                         double side) {
    auto inside = [&](const ShadedPoint& p) { return side * ((x_edge ? p.x : p.y) - edge); };
    std::vector<ShadedPoint> out;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const ShadedPoint& p = shape[i];
        const ShadedPoint& q = shape[(i + 1) % shape.size()];
        const double dp = inside(p), dq = inside(q);
        if (dp >= 0) out.push_back(p);
        if ((dp >= 0) != (dq >= 0)) {
            const double t = dp / (dp - dq);
            out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.r + t * (q.r - p.r), p.g + t * (q.g - p.g),
                           p.b + t * (q.b - p.b)});
        }
    }
    return out;
}

// Paints the bitmap's source rectangle into the destination rectangle (current units).
void PaintBitmap(cairo_t* cr, cairo_surface_t* source, double dx, double dy, double dw, double dh, double sx, double sy,
                 double sw, double sh, double alpha) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, dx, dy, dw, dh);
    cairo_clip(cr);
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, dw / sw, dh / sh);
    cairo_set_source_surface(cr, source, -sx, -sy);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    // Enlarged bitmaps keep hard pixel edges, as a stretch blit does.
    if (std::fabs(dw) >= std::fabs(sw) && std::fabs(dh) >= std::fabs(sh))
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    if (alpha >= 1) cairo_paint(cr);
    else cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

// Fills the current path with a pattern given in the current units.
void FillWith(cairo_t* cr, cairo_pattern_t* pattern) {
    cairo_save(cr);
    // Whole pixels, as GDI fills them: triangles of one mesh meet without a
    // seam of background between them.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace

void CairoMetafileSurface::SetMatrix(const MfMatrix& m) {
    cairo_matrix_t cm;
    cairo_matrix_init(&cm, m.xx, m.yx, m.xy, m.yy, m.x0, m.y0);
    cairo_set_matrix(m_cr, &cm);
}

void CairoMetafileSurface::Arc(double xc, double yc, double r, double a0, double a1, bool negative) {
    if (negative) cairo_arc_negative(m_cr, xc, yc, r, a0, a1);
    else cairo_arc(m_cr, xc, yc, r, a0, a1);
}

void CairoMetafileSurface::SetSourceColour(std::uint32_t c) {
    cairo_set_source_rgb(m_cr, RedOf(c), GreenOf(c), BlueOf(c));
}

namespace {

// What a layer drawn by cairo_push_group holds: its pixels and where they lie.
struct Layer {
    CairoSurfacePtr surface;
    const std::uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;  // stride in pixels
    double x = 0, y = 0;                    // device place of its first pixel
};

Layer PopLayer(cairo_t* cr) {
    Layer layer;
    const CairoPatternPtr group(cairo_pop_group(cr));
    cairo_surface_t* s = nullptr;
    if (cairo_pattern_get_surface(group.get(), &s) != CAIRO_STATUS_SUCCESS || !s ||
        cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32)
        return layer;
    layer.surface.reset(cairo_surface_reference(s));
    cairo_surface_flush(s);
    layer.pixels = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s));
    layer.width = cairo_image_surface_get_width(s);
    layer.height = cairo_image_surface_get_height(s);
    layer.stride = cairo_image_surface_get_stride(s) / 4;
    cairo_surface_get_device_offset(s, &layer.x, &layer.y);
    layer.x = -layer.x;
    layer.y = -layer.y;
    return layer;
}

}  // namespace

void CairoMetafileSurface::Combine(std::uint8_t rop, double x1, double y1, double x2, double y2,
                                   const std::function<void()>& source, const std::function<void()>& pattern) {
    cairo_surface_t* target = cairo_get_target(m_cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32)
        return;
    // Only the shape's box is laid out, so the work is what the shape covers.
    const int tw = cairo_image_surface_get_width(target), th = cairo_image_surface_get_height(target);
    const double left = std::max(std::floor(x1), 0.0), top = std::max(std::floor(y1), 0.0);
    const double right = std::min(std::ceil(x2), static_cast<double>(tw));
    const double bottom = std::min(std::ceil(y2), static_cast<double>(th));
    if (!(right > left && bottom > top)) return;
    // Everything here is in device pixels, the path too.
    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    const std::unique_ptr<cairo_path_t, PathDeleter> path(cairo_copy_path(m_cr));
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, left, top, right - left, bottom - top);
    cairo_clip(m_cr);
    cairo_new_path(m_cr);
    auto draw = [&](const std::function<void()>& paint) {
        cairo_push_group_with_content(m_cr, CAIRO_CONTENT_COLOR_ALPHA);
        cairo_append_path(m_cr, path.get());
        paint();
        cairo_new_path(m_cr);
        return PopLayer(m_cr);
    };
    const Layer s = draw(source);
    Layer p;
    if (pattern) p = draw(pattern);
    cairo_new_path(m_cr);
    cairo_append_path(m_cr, path.get());
    cairo_restore(m_cr);
    if (!s.pixels || (pattern && (!p.pixels || p.width != s.width || p.height != s.height || p.x != s.x || p.y != s.y)))
        return;
    cairo_surface_flush(target);
    auto* d = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(target));
    const int d_stride = cairo_image_surface_get_stride(target) / 4;
    const int ox = static_cast<int>(s.x), oy = static_cast<int>(s.y);
    for (int y = 0; y < s.height; ++y) {
        if (oy + y < 0 || oy + y >= th) continue;
        for (int x = 0; x < s.width; ++x) {
            if (ox + x < 0 || ox + x >= tw) continue;
            const std::uint32_t sp = s.pixels[y * s.stride + x];
            const unsigned cover = sp >> 24;
            if (cover == 0) continue;
            const std::uint32_t pp = Unpremultiplied(pattern ? p.pixels[y * p.stride + x] : sp);
            std::uint32_t& px = d[(oy + y) * d_stride + ox + x];
            px = CombinePixel(rop, pp, Unpremultiplied(sp), px, cover);
        }
    }
    cairo_surface_mark_dirty(target);
}

void CairoMetafileSurface::FillPath(const MfBrush& brush, bool winding, std::uint32_t bk_colour, bool opaque_bk,
                                    std::uint8_t rop) {
    if (brush.style == BS_NULL) return;
    if (rop == kRopPatCopy) return FillWithBrush(brush, winding, bk_colour, opaque_bk);
    cairo_save(m_cr);
    UseDevice();
    cairo_set_fill_rule(m_cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    double x1, y1, x2, y2;
    cairo_fill_extents(m_cr, &x1, &y1, &x2, &y2);
    cairo_restore(m_cr);
    Combine(rop, x1 - 1, y1 - 1, x2 + 1, y2 + 1, [&] { FillWithBrush(brush, winding, bk_colour, opaque_bk); }, {});
}

void CairoMetafileSurface::FillWithBrush(const MfBrush& brush, bool winding, std::uint32_t bk_colour, bool opaque_bk) {
    cairo_save(m_cr);
    UseDevice();  // patterns are aligned to device pixels
    cairo_set_fill_rule(m_cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    CairoSurfacePtr pattern;
    switch (brush.style) {
    case BS_NULL:
        cairo_restore(m_cr);
        return;
    case BS_HATCHED: {
        const CairoPatternPtr p = HatchPattern(brush.hatch, brush.colour, bk_colour, opaque_bk);
        cairo_set_source(m_cr, p.get());
        break;
    }
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
        if (brush.pattern && (pattern = SurfaceOver(*brush.pattern))) {
            cairo_set_source_surface(m_cr, pattern.get(), 0, 0);
            cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_REPEAT);
            break;
        }
        SetSourceColour(brush.colour);
        break;
    default:
        SetSourceColour(brush.colour);
        break;
    }
    cairo_fill_preserve(m_cr);
    cairo_restore(m_cr);
}

void CairoMetafileSurface::StrokePath(const MfPen& pen, double width, double miter_limit, std::uint32_t bk_colour,
                                      bool opaque_bk, std::uint8_t rop) {
    if (rop == kRopPatCopy) return StrokeWithPen(pen, width, miter_limit, bk_colour, opaque_bk);
    cairo_save(m_cr);
    UseDevice();
    double x1, y1, x2, y2;
    cairo_path_extents(m_cr, &x1, &y1, &x2, &y2);
    cairo_restore(m_cr);
    // Miter joins reach furthest from the path: half the width times the limit.
    const double reach = width * std::clamp(miter_limit, 1.0, 100.0) / 2 + 2;
    Combine(rop, x1 - reach, y1 - reach, x2 + reach, y2 + reach,
            [&] { StrokeWithPen(pen, width, miter_limit, bk_colour, opaque_bk); }, {});
}

void CairoMetafileSurface::StrokeWithPen(const MfPen& pen, double width, double miter_limit, std::uint32_t bk_colour,
                                         bool opaque_bk) {
    cairo_save(m_cr);
    UseDevice();
    cairo_set_line_width(m_cr, width);
    const std::uint32_t style = pen.style & PS_STYLE_MASK;
    const bool geometric = (pen.style & PS_GEOMETRIC) != 0;
    cairo_line_cap_t cap = CAIRO_LINE_CAP_ROUND;
    cairo_line_join_t join = CAIRO_LINE_JOIN_ROUND;
    if (geometric) {
        switch (pen.style & PS_ENDCAP_MASK) {
        case PS_ENDCAP_SQUARE: cap = CAIRO_LINE_CAP_SQUARE; break;
        case PS_ENDCAP_FLAT: cap = CAIRO_LINE_CAP_BUTT; break;
        default: break;
        }
        switch (pen.style & PS_JOIN_MASK) {
        case PS_JOIN_BEVEL: join = CAIRO_LINE_JOIN_BEVEL; break;
        case PS_JOIN_MITER: join = CAIRO_LINE_JOIN_MITER; break;
        default: break;
        }
    } else if (width <= 1) {
        cap = CAIRO_LINE_CAP_BUTT;
        join = CAIRO_LINE_JOIN_MITER;
    }
    cairo_set_line_cap(m_cr, cap);
    cairo_set_line_join(m_cr, join);
    cairo_set_miter_limit(m_cr, std::clamp(miter_limit, 1.0, 100.0));
    const double u = std::max(width, 1.0);
    // A one-pixel cosmetic pen's dashes and gaps are the GDI's, in pixels.
    const bool one_pixel = !geometric && width <= 1;
    std::vector<double> dashes;
    switch (style) {
    case PS_DASH: dashes = one_pixel ? std::vector<double>{18, 6} : std::vector<double>{6 * u, 2 * u}; break;
    case PS_DOT: dashes = one_pixel ? std::vector<double>{3, 3} : std::vector<double>{u, u}; break;
    case PS_DASHDOT:
        dashes = one_pixel ? std::vector<double>{9, 6, 3, 6} : std::vector<double>{6 * u, 2 * u, u, 2 * u};
        break;
    case PS_DASHDOTDOT:
        dashes = one_pixel ? std::vector<double>{9, 3, 3, 3, 3, 3}
                           : std::vector<double>{6 * u, 2 * u, u, 2 * u, u, 2 * u};
        break;
    case PS_USERSTYLE:
        for (double d : pen.dashes) dashes.push_back(std::clamp(d * u, 0.0, 10000.0));
        break;
    default: break;
    }
    double total = 0;
    for (double d : dashes) total += d;
    // Strokes the path, which stays.
    auto stroke = [&] {
        if (cairo_get_antialias(m_cr) != CAIRO_ANTIALIAS_NONE) return cairo_stroke_preserve(m_cr);
        // On whole pixels a pixel is painted when its centre is covered; the
        // GDI runs a pen's centre line through the middle of the pixel a
        // coordinate names, half a pixel right of and below its corner. A
        // hair less than half: of a line's two ends, the first pixel is
        // painted and the last is not (drawn left to right or downwards).
        constexpr double kToCentre = 0.5 - 1.0 / 16;
        const std::unique_ptr<cairo_path_t, PathDeleter> path(cairo_copy_path(m_cr));
        cairo_new_path(m_cr);
        cairo_translate(m_cr, kToCentre, kToCentre);
        cairo_append_path(m_cr, path.get());
        cairo_stroke(m_cr);
        cairo_translate(m_cr, -kToCentre, -kToCentre);
        cairo_append_path(m_cr, path.get());
    };
    if (total > 0 && opaque_bk) {  // the gaps in the background colour, under the dashes
        SetSourceColour(bk_colour);
        stroke();
    }
    if (total > 0) cairo_set_dash(m_cr, dashes.data(), static_cast<int>(dashes.size()), 0);
    SetSourceColour(pen.colour);
    stroke();
    cairo_restore(m_cr);
}

void CairoMetafileSurface::FillLinearGradient(const MfVertex& a, const MfVertex& b, bool vertical) {
    CairoPatternPtr pattern(vertical ? cairo_pattern_create_linear(0, a.p.y, 0, b.p.y)
                                     : cairo_pattern_create_linear(a.p.x, 0, b.p.x, 0));
    cairo_pattern_add_color_stop_rgb(pattern.get(), 0, RedOf(a.colour), GreenOf(a.colour), BlueOf(a.colour));
    cairo_pattern_add_color_stop_rgb(pattern.get(), 1, RedOf(b.colour), GreenOf(b.colour), BlueOf(b.colour));
    FillWith(m_cr, pattern.get());
}

void CairoMetafileSurface::Clip(bool winding) {
    cairo_set_fill_rule(m_cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(m_cr);
}

void CairoMetafileSurface::ClipOut(double l, double t, double r, double b) {
    // The rectangle and, around it, the whole clip: even-odd leaves the ring.
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, l, t, r - l, b - t);
    cairo_save(m_cr);
    UseDevice();
    double x1, y1, x2, y2;
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    cairo_rectangle(m_cr, x1 - 1, y1 - 1, x2 - x1 + 2, y2 - y1 + 2);
    cairo_restore(m_cr);
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(m_cr);
}

void CairoMetafileSurface::FillPixel(double x, double y, std::uint32_t colour) {
    cairo_save(m_cr);
    UseDevice();
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, std::floor(x), std::floor(y), 1, 1);
    SetSourceColour(colour);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
}

void CairoMetafileSurface::FillShadedTriangle(const std::array<MfShadedCorner, 3>& corners) {
    std::vector<ShadedPoint> shape;
    for (const MfShadedCorner& c : corners)
        shape.push_back({c.x, c.y, RedOf(c.colour), GreenOf(c.colour), BlueOf(c.colour)});
    // Only the visible part is shaded: cairo's mesh rasterizer walks a whole
    // patch, and a metafile can make one billions of pixels wide.
    UseDevice();
    double x1, y1, x2, y2;
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    shape = ClipToHalfPlane(shape, true, x1 - 1, 1);
    shape = ClipToHalfPlane(shape, true, x2 + 1, -1);
    shape = ClipToHalfPlane(shape, false, y1 - 1, 1);
    shape = ClipToHalfPlane(shape, false, y2 + 1, -1);
    if (shape.size() < 3) return;
    // The clipped shape as a fan of three-sided patches. cairo closes each
    // back to its first corner and gives the fourth corner the first one's
    // colour, which makes the shading linear across the triangle.
    CairoPatternPtr pattern(cairo_pattern_create_mesh());
    for (std::size_t i = 1; i + 1 < shape.size(); ++i) {
        cairo_mesh_pattern_begin_patch(pattern.get());
        unsigned corner = 0;
        for (const ShadedPoint* p : {&shape[0], &shape[i], &shape[i + 1]}) {
            cairo_mesh_pattern_line_to(pattern.get(), p->x, p->y);
            cairo_mesh_pattern_set_corner_color_rgb(pattern.get(), corner++, p->r, p->g, p->b);
        }
        cairo_mesh_pattern_end_patch(pattern.get());
    }
    cairo_new_path(m_cr);
    for (const ShadedPoint& p : shape) cairo_line_to(m_cr, p.x, p.y);
    cairo_close_path(m_cr);
    FillWith(m_cr, pattern.get());
}

void CairoMetafileSurface::DrawBitmap(const MfBitmap& bitmap, double dx, double dy, double dw, double dh, double sx,
                                      double sy, double sw, double sh, double alpha, std::uint8_t rop,
                                      const MfBrush& pattern) {
    CairoSurfacePtr source = SurfaceOver(bitmap);
    if (!source) return;
    if (rop != kRopSrcCopy) {
        // The destination rectangle's box in device pixels.
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, dx, dy, dw, dh);
        double x1, y1, x2, y2;
        cairo_save(m_cr);
        UseDevice();
        cairo_path_extents(m_cr, &x1, &y1, &x2, &y2);
        cairo_restore(m_cr);
        // The layers are drawn in device pixels; the rectangle is logical.
        cairo_matrix_t logical;
        cairo_get_matrix(m_cr, &logical);
        auto paint_bitmap = [&] {
            cairo_save(m_cr);
            cairo_set_matrix(m_cr, &logical);
            PaintBitmap(m_cr, source.get(), dx, dy, dw, dh, sx, sy, sw, sh, 1);
            cairo_restore(m_cr);
        };
        auto paint_pattern = [&] {
            cairo_save(m_cr);
            cairo_set_matrix(m_cr, &logical);
            cairo_new_path(m_cr);
            cairo_rectangle(m_cr, dx, dy, dw, dh);
            cairo_restore(m_cr);
            FillWithBrush(pattern.style == BS_NULL ? StockBrush(4) : pattern, false, 0xFFFFFF, false);
        };
        Combine(rop, x1 - 1, y1 - 1, x2 + 1, y2 + 1, paint_bitmap,
                RopUsesPattern(rop) ? std::function<void()>(paint_pattern) : std::function<void()>());
        cairo_new_path(m_cr);
        return;
    }
    PaintBitmap(m_cr, source.get(), dx, dy, dw, dh, sx, sy, sw, sh, alpha);
}

namespace {

struct GObjectDeleter {
    void operator()(gpointer p) const { g_object_unref(p); }
};
struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
struct MetricsDeleter {
    void operator()(PangoFontMetrics* m) const { pango_font_metrics_unref(m); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectDeleter>;
using PangoFontPtr = std::unique_ptr<PangoFont, GObjectDeleter>;
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;
using MetricsPtr = std::unique_ptr<PangoFontMetrics, MetricsDeleter>;

FontDescriptionPtr DescribeFont(const MfTextRun& run) {
    const MfFont& font = run.font;
    FontDescriptionPtr desc(pango_font_description_new());
    pango_font_description_set_family(desc.get(), font.face.empty() ? "Sans" : font.face.c_str());
    pango_font_description_set_weight(
        desc.get(), static_cast<PangoWeight>(std::clamp(font.weight == 0 ? 400 : font.weight, 100, 1000)));
    pango_font_description_set_style(desc.get(), font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(desc.get(), run.pixels * PANGO_SCALE);
    return desc;
}

double Pixels(int pango_units) { return pango_units / static_cast<double>(PANGO_SCALE); }

// Glyphs of one font, each at its place on the baseline.
struct GlyphGroup {
    PangoFont* font = nullptr;  // held by the layout or the caller
    std::vector<cairo_glyph_t> glyphs;
};

// The layout's glyphs, each character's at the place the metafile gives it
// (a cluster of several glyphs, as a base and its marks, keeps its own
// spacing from there).
std::vector<GlyphGroup> PlaceLayoutGlyphs(PangoLayout* layout, const std::string& utf8,
                                          const std::vector<MfTextPlace>& places) {
    std::vector<std::size_t> character_at(utf8.size() + 1, 0);
    std::size_t character = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (i > 0 && (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) ++character;
        character_at[i] = character;
    }
    std::vector<GlyphGroup> groups;
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
    for (GSList* l = line ? line->runs : nullptr; l; l = l->next) {
        const auto* run = static_cast<PangoGlyphItem*>(l->data);
        GlyphGroup group;
        group.font = run->item->analysis.font;
        const PangoGlyphString* glyphs = run->glyphs;
        int cluster = -1;
        double in_cluster = 0;
        for (int i = 0; i < glyphs->num_glyphs; ++i) {
            const PangoGlyphInfo& info = glyphs->glyphs[i];
            const int byte = run->item->offset + glyphs->log_clusters[i];
            if (byte != cluster) in_cluster = 0;
            cluster = byte;
            const std::size_t c = std::min(character_at[std::min<std::size_t>(byte, utf8.size())], places.size() - 1);
            if (info.glyph != PANGO_GLYPH_EMPTY && !(info.glyph & PANGO_GLYPH_UNKNOWN_FLAG))
                group.glyphs.push_back({info.glyph, places[c].x + in_cluster + Pixels(info.geometry.x_offset),
                                        places[c].y + Pixels(info.geometry.y_offset)});
            in_cluster += Pixels(info.geometry.width);
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

}  // namespace

double CairoMetafileSurface::DrawTextRun(const MfTextRun& run) {
    const MfFont& font = run.font;
    cairo_save(m_cr);
    cairo_translate(m_cr, run.x, run.y);
    if (font.escapement != 0) cairo_rotate(m_cr, -font.escapement * std::numbers::pi / 1800.0);
    const FontDescriptionPtr desc = DescribeFont(run);
    const double width =
        run.places.empty() && !run.glyph_indices ? DrawLaidOutText(run, desc.get()) : DrawPlacedGlyphs(run, desc.get());
    cairo_restore(m_cr);
    return width;
}

double CairoMetafileSurface::DrawLaidOutText(const MfTextRun& run, const PangoFontDescription* desc) {
    LayoutPtr layout(pango_layout_new(SharedTextContext()));
    pango_layout_set_font_description(layout.get(), desc);
    PangoAttrList* attrs = pango_attr_list_new();
    if (run.font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (run.font.strike_out) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout.get(), attrs);
    pango_attr_list_unref(attrs);
    pango_layout_set_text(layout.get(), run.utf8.c_str(), static_cast<int>(run.utf8.size()));

    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    const double baseline = Pixels(pango_layout_get_baseline(layout.get()));
    const double width = logical.width;
    double ox = 0, oy = 0;
    switch (run.align & TA_HMASK) {
    case TA_RIGHT: ox = -width; break;
    case TA_CENTER: ox = -width / 2; break;
    default: break;
    }
    switch (run.align & TA_VMASK) {
    case TA_BASELINE: oy = -baseline; break;
    case TA_BOTTOM: oy = -logical.height; break;
    default: break;
    }
    if (run.opaque_bk) {
        cairo_rectangle(m_cr, ox, oy, width, logical.height);
        SetSourceColour(run.bk_colour);
        cairo_fill(m_cr);
    }
    cairo_translate(m_cr, ox, oy);
    SetSourceColour(run.text_colour);
    pango_cairo_show_layout(m_cr, layout.get());
    return width;
}

double CairoMetafileSurface::DrawPlacedGlyphs(const MfTextRun& run, const PangoFontDescription* desc) {
    // Characters are shaped by pango (fonts for every script, marks) and
    // then moved to their places; glyph indices are the face's own glyphs.
    LayoutPtr layout;
    PangoFontPtr face;
    std::vector<GlyphGroup> groups;
    double ascent = 0, descent = 0;
    PangoFont* first_font = nullptr;
    if (run.glyph_indices) {
        face.reset(pango_context_load_font(SharedTextContext(), desc));
        if (!face) return 0;
        GlyphGroup group;
        group.font = face.get();
        cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(face.get()));
        double x = 0;
        for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
            cairo_glyph_t g{run.glyphs[i], x, 0};
            if (!run.places.empty()) {
                g.x = run.places[i].x;
                g.y = run.places[i].y;
            } else if (scaled) {
                cairo_text_extents_t extents;
                cairo_scaled_font_glyph_extents(scaled, &g, 1, &extents);
                x += extents.x_advance;
            }
            group.glyphs.push_back(g);
        }
        groups.push_back(std::move(group));
        first_font = face.get();
    } else {
        layout.reset(pango_layout_new(SharedTextContext()));
        pango_layout_set_font_description(layout.get(), desc);
        pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
        pango_layout_set_text(layout.get(), run.utf8.c_str(), static_cast<int>(run.utf8.size()));
        groups = PlaceLayoutGlyphs(layout.get(), run.utf8, run.places);
        PangoRectangle logical;
        pango_layout_get_extents(layout.get(), nullptr, &logical);
        ascent = Pixels(pango_layout_get_baseline(layout.get()));
        descent = Pixels(logical.height) - ascent;
        if (!groups.empty()) first_font = groups.front().font;
    }
    MetricsPtr metrics(first_font ? pango_font_get_metrics(first_font, nullptr) : nullptr);
    if (run.glyph_indices && metrics) {
        ascent = Pixels(pango_font_metrics_get_ascent(metrics.get()));
        descent = Pixels(pango_font_metrics_get_descent(metrics.get()));
    }

    // The run's end: where the places end, or the font's advances.
    MfTextPlace end;
    if (!run.places.empty()) {
        end = run.places.back();
    } else if (!groups.empty() && !groups.front().glyphs.empty()) {
        const cairo_glyph_t& last = groups.front().glyphs.back();
        cairo_text_extents_t extents;
        cairo_scaled_font_glyph_extents(pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(first_font)), &last, 1,
                                        &extents);
        end = {last.x + extents.x_advance, 0};
    }
    // The reference point is the run's start, end or middle, and its top,
    // baseline or bottom; the width is what the advances add up to.
    double ox = 0, oy = 0;
    switch (run.align & TA_HMASK) {
    case TA_RIGHT: ox = -end.x; oy = -end.y; break;
    case TA_CENTER: ox = -end.x / 2; oy = -end.y / 2; break;
    default: break;
    }
    switch (run.align & TA_VMASK) {
    case TA_BASELINE: break;
    case TA_BOTTOM: oy -= descent; break;
    default: oy += ascent; break;
    }
    cairo_translate(m_cr, ox, oy);
    if (run.opaque_bk) {
        cairo_rectangle(m_cr, std::min(0.0, end.x), -ascent, std::fabs(end.x), ascent + descent);
        SetSourceColour(run.bk_colour);
        cairo_fill(m_cr);
    }
    SetSourceColour(run.text_colour);
    for (const GlyphGroup& group : groups) {
        if (group.glyphs.empty()) continue;
        cairo_set_scaled_font(m_cr, pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(group.font)));
        cairo_show_glyphs(m_cr, group.glyphs.data(), static_cast<int>(group.glyphs.size()));
    }
    if (metrics && (run.font.underline || run.font.strike_out)) {
        const double thickness = std::max(1.0, Pixels(pango_font_metrics_get_underline_thickness(metrics.get())));
        auto bar = [&](double above_baseline) {
            cairo_rectangle(m_cr, std::min(0.0, end.x), -above_baseline, std::fabs(end.x), thickness);
        };
        if (run.font.underline) bar(Pixels(pango_font_metrics_get_underline_position(metrics.get())));
        if (run.font.strike_out) bar(Pixels(pango_font_metrics_get_strikethrough_position(metrics.get())));
        cairo_fill(m_cr);
    }
    return end.x;
}

}  // namespace automenu::platform
