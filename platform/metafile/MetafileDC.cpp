#include "platform/cairo/MetafileDC.h"

#include <algorithm>
#include <cmath>

namespace automenu::platform {

namespace {

constexpr double kMaxPenPixels = 4000;

bool Invertible(const cairo_matrix_t& m) {
    cairo_matrix_t copy = m;
    if (cairo_matrix_invert(&copy) != CAIRO_STATUS_SUCCESS) return false;
    return std::isfinite(m.xx) && std::isfinite(m.yy) && std::isfinite(m.xy) && std::isfinite(m.yx) &&
           std::isfinite(m.x0) && std::isfinite(m.y0);
}

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

}  // namespace

MetafileDC::MetafileDC(cairo_t* cr, std::uint64_t max_bitmap_pixels, std::uint64_t work_units)
    : m_cr(cr), m_budget(work_units, max_bitmap_pixels) {
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    m_view_height = std::max(0.0, y2 - y1);
    cairo_matrix_init_identity(&m_playback);
    cairo_matrix_init_identity(&m_s.world);
    m_s.font.face = "Sans";
    m_s.font.height = 12;
}

MetafileDC::~MetafileDC() {
    for (std::size_t i = 0; i < m_saved.size(); ++i) cairo_restore(m_cr);
}

bool MetafileDC::Admit(std::span<const MfPoint> pts, bool closed) {
    cairo_matrix_t m;
    if (!LogicalMatrix(m)) return false;
    double scanlines = 0, prev_y = 0, first_y = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        double x = pts[i].x, y = pts[i].y;
        cairo_matrix_transform_point(&m, &x, &y);
        if (!(std::fabs(x) < kMaxDeviceCoordinate && std::fabs(y) < kMaxDeviceCoordinate)) return false;
        if (i == 0) first_y = y;
        else scanlines += std::min(std::fabs(y - prev_y), m_view_height);
        prev_y = y;
    }
    if (closed && pts.size() > 1) scanlines += std::min(std::fabs(first_y - prev_y), m_view_height);
    if (!Spend(pts.size())) return false;
    m_shape.vertices += static_cast<double>(pts.size());
    m_shape.scanlines += scanlines;
    return true;
}

bool MetafileDC::AdmitBox(double l, double t, double r, double b) {
    // The corners, and twice the box's height: a curve's flattened edges
    // cross each scanline of it about twice.
    const MfPoint corners[] = {{l, t}, {r, t}, {r, b}, {l, b}};
    return Admit(corners, true);
}

bool MetafileDC::PayForPaint(double pen_width) {
    double x1, y1, x2, y2, cx1, cy1, cx2, cy2;
    cairo_save(m_cr);
    UseDevice();
    cairo_path_extents(m_cr, &x1, &y1, &x2, &y2);
    cairo_clip_extents(m_cr, &cx1, &cy1, &cx2, &cy2);
    cairo_restore(m_cr);
    const double w = std::max(0.0, std::min(x2 + pen_width, cx2) - std::max(x1 - pen_width, cx1));
    const double h = std::max(0.0, std::min(y2 + pen_width, cy2) - std::max(y1 - pen_width, cy1));
    const ShapeSize shape = m_shape;
    m_shape = {};
    const double units = PaintUnits(shape, w, h, m_view_height, pen_width > 0);
    return Spend(static_cast<std::uint64_t>(std::min(units, 1e15)));
}

void MetafileDC::SetWorldTransform(const cairo_matrix_t& m) {
    if (Invertible(m)) m_s.world = m;  // GDI refuses a singular transform
}

void MetafileDC::SetMapMode(int mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return;
    m_s.map_mode = mode;
}

void MetafileDC::SetWindowExt(double x, double y) {
    if (x == 0 || y == 0) return;  // refused, as on Windows
    m_s.win_ext = {x, y};
}

void MetafileDC::SetViewportExt(double x, double y) {
    if (x == 0 || y == 0) return;
    m_s.vp_ext = {x, y};
}

void MetafileDC::ScaleWindowExt(double xn, double xd, double yn, double yd) {
    if (xd == 0 || yd == 0) return;
    SetWindowExt(m_s.win_ext.x * xn / xd, m_s.win_ext.y * yn / yd);
}

void MetafileDC::ScaleViewportExt(double xn, double xd, double yn, double yd) {
    if (xd == 0 || yd == 0) return;
    SetViewportExt(m_s.vp_ext.x * xn / xd, m_s.vp_ext.y * yn / yd);
}

void MetafileDC::ModifyWorldTransform(const cairo_matrix_t& m, int mode) {
    cairo_matrix_t result;
    switch (mode) {
    case 1:  // MWT_IDENTITY
        cairo_matrix_init_identity(&m_s.world);
        return;
    case 2:  // MWT_LEFTMULTIPLY: the new transform applies first
        cairo_matrix_multiply(&result, &m, &m_s.world);
        m_s.world = result;
        return;
    case 3:  // MWT_RIGHTMULTIPLY
        cairo_matrix_multiply(&result, &m_s.world, &m);
        m_s.world = result;
        return;
    case 4:  // MWT_SET
        m_s.world = m;
        return;
    default:
        return;
    }
}

bool MetafileDC::LogicalMatrix(cairo_matrix_t& out) const {
    // Page space to device space by the map mode.
    double sx = 1, sy = 1;
    switch (m_s.map_mode) {
    case MM_LOMETRIC: sx = m_px_per_mm_x / 10; sy = -m_px_per_mm_y / 10; break;
    case MM_HIMETRIC: sx = m_px_per_mm_x / 100; sy = -m_px_per_mm_y / 100; break;
    case MM_LOENGLISH: sx = m_px_per_mm_x * 0.254; sy = -m_px_per_mm_y * 0.254; break;
    case MM_HIENGLISH: sx = m_px_per_mm_x * 0.0254; sy = -m_px_per_mm_y * 0.0254; break;
    case MM_TWIPS: sx = m_px_per_mm_x * 25.4 / 1440; sy = -m_px_per_mm_y * 25.4 / 1440; break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        sx = m_s.vp_ext.x / m_s.win_ext.x;
        sy = m_s.vp_ext.y / m_s.win_ext.y;
        if (m_s.map_mode == MM_ISOTROPIC) {
            const double s = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    default: break;
    }
    const bool scaled = m_s.map_mode != MM_TEXT;
    cairo_matrix_t page;
    cairo_matrix_init(&page, sx, 0, 0, sy, m_s.vp_org.x - (scaled ? m_s.win_org.x * sx : m_s.win_org.x),
                      m_s.vp_org.y - (scaled ? m_s.win_org.y * sy : m_s.win_org.y));
    cairo_matrix_t world_page;
    cairo_matrix_multiply(&world_page, &m_s.world, &page);
    cairo_matrix_multiply(&out, &world_page, &m_playback);
    return Invertible(out);
}

bool MetafileDC::UseLogical() {
    cairo_matrix_t m;
    if (!LogicalMatrix(m)) return false;
    cairo_set_matrix(m_cr, &m);
    return true;
}

void MetafileDC::UseDevice() { cairo_identity_matrix(m_cr); }

void MetafileDC::SaveDC() {
    if (m_saved.size() >= 1024) return;
    m_saved.push_back(m_s);
    cairo_save(m_cr);
}

void MetafileDC::RestoreDC(int which) {
    // Negative: relative to the current level; positive: an absolute level.
    const int depth = static_cast<int>(m_saved.size());
    const int target = which < 0 ? depth + which : which - 1;
    if (target < 0 || target >= depth) return;
    while (static_cast<int>(m_saved.size()) > target) {
        m_s = m_saved.back();
        m_saved.pop_back();
        cairo_restore(m_cr);
    }
}

void MetafileDC::CreateObject(std::uint32_t index, MfObject object) {
    if (m_objects.size() >= 65536 && !m_objects.count(index)) return;
    m_objects[index] = std::move(object);
}

const MfObject* MetafileDC::Object(std::uint32_t index) const {
    auto it = m_objects.find(index);
    return it == m_objects.end() ? nullptr : &it->second;
}

std::optional<MfBrush> MetafileDC::BrushAt(std::uint32_t index) const {
    if (index & 0x80000000u) {
        const std::uint32_t stock = index & 0x7FFFFFFFu;
        if (stock <= 5) return StockBrush(stock);
        if (stock == 18) return StockBrush(0);  // DC_BRUSH: white until changed
        return std::nullopt;
    }
    const MfObject* o = Object(index);
    if (const auto* brush = o ? std::get_if<MfBrush>(o) : nullptr) return *brush;
    return std::nullopt;
}

void MetafileDC::SelectObject(std::uint32_t index) {
    if (auto brush = BrushAt(index)) {
        m_s.brush = std::move(*brush);
    } else if (index & 0x80000000u) {
        const std::uint32_t stock = index & 0x7FFFFFFFu;
        if (stock <= 8 || stock == 19) m_s.pen = StockPen(stock == 19 ? 7 : stock);
        else if (stock >= 10 && stock <= 17 && stock != 15) {
            m_s.font = MfFont{};
            m_s.font.face = (stock == 10 || stock == 11 || stock == 16) ? "Monospace" : "Sans";
            m_s.font.height = stock == 17 ? -11 : 16;
            m_s.font.weight = stock == 13 ? 700 : 400;
        }
    } else if (const MfObject* o = Object(index)) {
        if (auto* pen = std::get_if<MfPen>(o)) m_s.pen = *pen;
        else if (auto* font = std::get_if<MfFont>(o)) m_s.font = *font;
    }
}

void MetafileDC::DeleteObject(std::uint32_t index) { m_objects.erase(index); }

// --- Painting helpers ---

void MetafileDC::SetSourceColour(std::uint32_t c) { cairo_set_source_rgb(m_cr, RedOf(c), GreenOf(c), BlueOf(c)); }

bool MetafileDC::SetBrushSource(const MfBrush& brush) {
    switch (brush.style) {
    case BS_NULL:
        return false;
    case BS_HATCHED: {
        const CairoPatternPtr p = HatchPattern(brush.hatch, brush.colour, m_s.bk_colour, m_s.bk_mode == OPAQUE_BK);
        cairo_set_source(m_cr, p.get());
        return true;
    }
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
        if (brush.pattern) {
            cairo_set_source_surface(m_cr, SurfaceOf(*brush.pattern), 0, 0);
            cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_REPEAT);
            return true;
        }
        SetSourceColour(brush.colour);
        return true;
    default:
        SetSourceColour(brush.colour);
        return true;
    }
}

void MetafileDC::Fill(const MfBrush& brush) {
    cairo_save(m_cr);
    UseDevice();  // patterns are aligned to device pixels
    cairo_set_fill_rule(m_cr, m_s.poly_fill == 2 ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    if (SetBrushSource(brush)) cairo_fill_preserve(m_cr);
    cairo_restore(m_cr);
}

double MetafileDC::PenPixels() const {
    const MfPen& pen = m_s.pen;
    cairo_matrix_t m;
    if (!(pen.width > 0) || !LogicalMatrix(m)) return 1;
    // The pen's width in device pixels, judged along the wider axis.
    double wx = pen.width, wy = 0, hx = 0, hy = pen.width;
    cairo_matrix_transform_distance(&m, &wx, &wy);
    cairo_matrix_transform_distance(&m, &hx, &hy);
    return std::clamp(std::max(std::hypot(wx, wy), std::hypot(hx, hy)), 1.0, kMaxPenPixels);
}

void MetafileDC::ApplyPen() {
    const MfPen& pen = m_s.pen;
    const double width = PenPixels();
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
    cairo_set_miter_limit(m_cr, std::clamp(m_s.miter_limit, 1.0, 100.0));
    const double u = std::max(width, 1.0);
    std::vector<double> dashes;
    switch (style) {
    case PS_DASH: dashes = {6 * u, 2 * u}; break;
    case PS_DOT: dashes = {u, u}; break;
    case PS_DASHDOT: dashes = {6 * u, 2 * u, u, 2 * u}; break;
    case PS_DASHDOTDOT: dashes = {6 * u, 2 * u, u, 2 * u, u, 2 * u}; break;
    case PS_USERSTYLE:
        for (double d : pen.dashes) dashes.push_back(std::clamp(d * u, 0.0, 10000.0));
        break;
    default: break;
    }
    double total = 0;
    for (double d : dashes) total += d;
    if (total > 0) cairo_set_dash(m_cr, dashes.data(), static_cast<int>(dashes.size()), 0);
    SetSourceColour(pen.colour);
}

void MetafileDC::Stroke() {
    if ((m_s.pen.style & PS_STYLE_MASK) == PS_NULL) return;
    cairo_save(m_cr);
    ApplyPen();
    cairo_stroke_preserve(m_cr);
    cairo_restore(m_cr);
}

void MetafileDC::FillAndStroke(bool fill, bool stroke) {
    if (m_in_path) return;  // the figure stays in the path bracket
    const bool outline = stroke && (m_s.pen.style & PS_STYLE_MASK) != PS_NULL;
    if ((fill || outline) && PayForPaint(outline ? PenPixels() : 0)) {
        if (fill) Fill(m_s.brush);
        if (outline) Stroke();
    }
    m_shape = {};
    cairo_new_path(m_cr);
}

// --- Paths and clipping ---

void MetafileDC::BeginPath() {
    m_in_path = true;
    m_shape = {};
    cairo_new_path(m_cr);
}

void MetafileDC::EndPath() {
    if (!m_in_path) return;
    m_in_path = false;
    m_path_shape = m_shape;
    m_shape = {};
    cairo_save(m_cr);
    UseDevice();
    m_path.reset(cairo_copy_path(m_cr));
    cairo_restore(m_cr);
    cairo_new_path(m_cr);
}

void MetafileDC::AbortPath() {
    m_in_path = false;
    cairo_new_path(m_cr);
    m_path.reset();
}

void MetafileDC::CloseFigure() {
    if (m_in_path && cairo_has_current_point(m_cr)) cairo_close_path(m_cr);
}

// The recorded path, filled and/or stroked, then forgotten.
void MetafileDC::PaintPath(bool fill, bool stroke) {
    if (!m_path || m_in_path) return;
    m_shape = m_path_shape;
    cairo_save(m_cr);
    UseDevice();
    cairo_new_path(m_cr);
    cairo_append_path(m_cr, m_path.get());
    cairo_restore(m_cr);
    FillAndStroke(fill, stroke);
    AbortPath();
}

void MetafileDC::FillPath() { PaintPath(true, false); }
void MetafileDC::StrokePath() { PaintPath(false, true); }
void MetafileDC::StrokeAndFillPath() { PaintPath(true, true); }

void MetafileDC::ResetClip() { cairo_reset_clip(m_cr); }

void MetafileDC::SelectClipPath(int mode) {
    if (!m_path || m_in_path) return;
    m_shape = m_path_shape;
    if (!PayForPaint()) return AbortPath();
    if (mode == RGN_COPY) ResetClip();
    if (mode == RGN_AND || mode == RGN_COPY) {
        cairo_save(m_cr);
        UseDevice();
        cairo_new_path(m_cr);
        cairo_append_path(m_cr, m_path.get());
        cairo_restore(m_cr);
        cairo_set_fill_rule(m_cr, m_s.poly_fill == 2 ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(m_cr);
    }
    AbortPath();
}

void MetafileDC::IntersectClipRect(double l, double t, double r, double b) {
    if (!UseLogical()) return;
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, l, t, r - l, b - t);
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(m_cr);
}

void MetafileDC::ExcludeClipRect(double l, double t, double r, double b) {
    if (!UseLogical()) return;
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

void MetafileDC::SelectClipRegion(const MfRegion* region, int mode) {
    if (mode == RGN_COPY) ResetClip();
    if (!region || (mode != RGN_AND && mode != RGN_COPY) || !Spend(region->rects.size())) return;
    AddRegionPath(*region);
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(m_cr);
}

}  // namespace automenu::platform
