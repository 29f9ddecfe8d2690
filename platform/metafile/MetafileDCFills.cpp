// The device context's fills: patterns, regions, gradients and bitmaps.
#include "platform/cairo/MetafileDC.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace automenu::platform {

namespace {

// A corner of a shaded shape in destination pixels, with its colour (0..1).
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

}  // namespace

void MetafileDC::PatBlt(double l, double t, double r, double b, std::uint32_t rop) {
    if (m_in_path || !AdmitBox(l, t, r, b) || !UseLogical()) return;
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, l, t, r - l, b - t);
    if (!PayForPaint()) {
        cairo_new_path(m_cr);
        return;
    }
    MfBrush brush = m_s.brush;
    if (rop == 0x00000042) brush = StockBrush(4);         // BLACKNESS
    else if (rop == 0x00FF0062) brush = StockBrush(0);    // WHITENESS
    else if (rop != 0x00F00021) { cairo_new_path(m_cr); return; }  // only PATCOPY paints
    Fill(brush);
    cairo_new_path(m_cr);
}

// The region's rectangles as the current path.
void MetafileDC::AddRegionPath(const MfRegion& region) {
    cairo_save(m_cr);
    cairo_set_matrix(m_cr, &m_playback);
    cairo_new_path(m_cr);
    // Region rectangles are device units already; like GDI, none past 27 bits.
    auto in_range = [](int v) { return std::abs(static_cast<double>(v)) < kMaxDeviceCoordinate; };
    for (const TRect& r : region.rects)
        if (in_range(r.left) && in_range(r.top) && in_range(r.right) && in_range(r.bottom))
            cairo_rectangle(m_cr, r.left, r.top, r.Width(), r.Height());
    cairo_restore(m_cr);
}

void MetafileDC::FillRegion(const MfRegion& region, const MfBrush& brush) {
    if (m_in_path || !Spend(region.rects.size())) return;
    AddRegionPath(region);
    if (PayForPaint()) Fill(brush);
    cairo_new_path(m_cr);
}

void MetafileDC::FillWith(cairo_pattern_t* pattern) {
    cairo_save(m_cr);
    // Whole pixels, as GDI fills them: triangles of one mesh meet without a
    // seam of background between them.
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source(m_cr, pattern);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
}

void MetafileDC::GradientRect(const MfVertex& a, const MfVertex& b, bool vertical) {
    // Like a bitmap, a gradient is no part of a path bracket.
    if (m_in_path || !UseLogical()) return;
    // The stops sit on the corners' own edges, so a rectangle given from
    // right to left (or bottom to top) is shaded that way.
    CairoPatternPtr pattern(vertical ? cairo_pattern_create_linear(0, a.p.y, 0, b.p.y)
                                     : cairo_pattern_create_linear(a.p.x, 0, b.p.x, 0));
    cairo_pattern_add_color_stop_rgb(pattern.get(), 0, RedOf(a.colour), GreenOf(a.colour), BlueOf(a.colour));
    cairo_pattern_add_color_stop_rgb(pattern.get(), 1, RedOf(b.colour), GreenOf(b.colour), BlueOf(b.colour));
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, a.p.x, a.p.y, b.p.x - a.p.x, b.p.y - a.p.y);
    if (PayForPaint()) FillWith(pattern.get());
}

void MetafileDC::GradientTriangle(const MfVertex& a, const MfVertex& b, const MfVertex& c) {
    cairo_matrix_t m;
    if (m_in_path || !LogicalMatrix(m)) return;
    std::vector<ShadedPoint> shape;
    for (const MfVertex* v : {&a, &b, &c}) {
        ShadedPoint p{v->p.x, v->p.y, RedOf(v->colour), GreenOf(v->colour), BlueOf(v->colour)};
        cairo_matrix_transform_point(&m, &p.x, &p.y);
        shape.push_back(p);
    }
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
    if (PayForPaint()) FillWith(pattern.get());
}

void MetafileDC::DrawBitmap(const MfSurface& bitmap, double dx, double dy, double dw, double dh, double sx, double sy,
                            double sw, double sh, double alpha) {
    if (m_in_path || sw == 0 || sh == 0 || dw == 0 || dh == 0 || !AdmitBox(dx, dy, dx + dw, dy + dh) ||
        !UseLogical())
        return;
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, dx, dy, dw, dh);
    if (!PayForPaint()) {
        cairo_new_path(m_cr);
        cairo_restore(m_cr);
        return;
    }
    cairo_clip(m_cr);
    cairo_translate(m_cr, dx, dy);
    cairo_scale(m_cr, dw / sw, dh / sh);
    cairo_set_source_surface(m_cr, SurfaceOf(bitmap), -sx, -sy);
    cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_PAD);
    // Enlarged bitmaps keep hard pixel edges, as a stretch blit does.
    if (std::fabs(dw) >= std::fabs(sw) && std::fabs(dh) >= std::fabs(sh))
        cairo_pattern_set_filter(cairo_get_source(m_cr), CAIRO_FILTER_NEAREST);
    if (alpha >= 1) cairo_paint(m_cr);
    else cairo_paint_with_alpha(m_cr, alpha);
    cairo_restore(m_cr);
}

}  // namespace automenu::platform
