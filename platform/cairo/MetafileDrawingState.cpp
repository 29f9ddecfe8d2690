#include "platform/cairo/MetafileDrawingState.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "formats/ByteReader.h"
#include "formats/DibDecoder.h"
#include "formats/TextDecoding.h"
#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/PangoText.h"

namespace automenu::platform {

// --- Bitmaps -------------------------------------------------------------

struct MfSurface {
    std::vector<std::uint32_t> pixels;
    cairo_surface_t* surface = nullptr;
    bool bottom_up = false;  // as the DIB stored its rows
    ~MfSurface() {
        if (surface) cairo_surface_destroy(surface);
    }
};

cairo_surface_t* SurfaceOf(const MfSurface& s) { return s.surface; }

double DibSourceTop(const MfSurface& s, double sy, double sh) {
    return s.bottom_up ? cairo_image_surface_get_height(s.surface) - (sy + sh) : sy;
}

// --- Points ---------------------------------------------------------------

std::vector<MfPoint> ReadPoints(ByteReader& r, std::size_t count, bool short_form) {
    constexpr std::size_t kMaxPoints = 1 << 22;
    if (count > kMaxPoints || count * (short_form ? 4 : 8) > r.Remaining()) throw ReadPastEnd();
    std::vector<MfPoint> pts(count);
    for (auto& p : pts) {
        if (short_form) {
            p.x = r.I16();
            p.y = r.I16();
        } else {
            p.x = r.I32();
            p.y = r.I32();
        }
    }
    return pts;
}

// --- Text encodings ------------------------------------------------------

std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::size_t chars) {
    // The text ends at the first NUL unit, or after chars units.
    const std::size_t units = std::min(chars, bytes.size() / 2);
    std::size_t n = 0;
    while (n < units && (bytes[2 * n] | bytes[2 * n + 1]) != 0) ++n;
    return automenu::Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), 2 * n), false);
}

std::string AnsiToUtf8(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Windows1252ToUtf8(text.substr(0, text.find('\0')));
}

// --- Device context ------------------------------------------------------

namespace {

constexpr double kMaxFontPixels = 2000;
constexpr double kMaxPenPixels = 4000;

double R(std::uint32_t c) { return (c & 0xFF) / 255.0; }
double G(std::uint32_t c) { return ((c >> 8) & 0xFF) / 255.0; }
double B(std::uint32_t c) { return ((c >> 16) & 0xFF) / 255.0; }

bool Invertible(const cairo_matrix_t& m) {
    cairo_matrix_t copy = m;
    if (cairo_matrix_invert(&copy) != CAIRO_STATUS_SUCCESS) return false;
    return std::isfinite(m.xx) && std::isfinite(m.yy) && std::isfinite(m.xy) && std::isfinite(m.yx) &&
           std::isfinite(m.x0) && std::isfinite(m.y0);
}

// An 8 x 8 hatch tile of the given style (HS_*), foreground on background.
cairo_pattern_t* HatchPattern(std::uint32_t hatch, std::uint32_t fg, std::uint32_t bg, bool opaque) {
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_t* t = cairo_create(tile);
    if (opaque) {
        cairo_set_source_rgb(t, R(bg), G(bg), B(bg));
        cairo_paint(t);
    }
    cairo_set_source_rgb(t, R(fg), G(fg), B(fg));
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
    cairo_destroy(t);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(tile);
    cairo_surface_destroy(tile);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    return p;
}

MfPen StockPen(std::uint32_t index) {
    MfPen p;
    if (index == 6) p.colour = 0xFFFFFF;  // WHITE_PEN
    if (index == 8) p.style = PS_NULL;    // NULL_PEN
    return p;
}

MfBrush StockBrush(std::uint32_t index) {
    static constexpr std::uint32_t greys[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
    MfBrush b;
    if (index <= 4) b.colour = greys[index];
    if (index == 5) b.style = BS_NULL;
    return b;
}

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

MetafileDC::MetafileDC(cairo_t* cr, std::uint64_t max_bitmap_pixels, std::uint64_t work_units)
    : m_cr(cr), m_max_bitmap_pixels(max_bitmap_pixels), m_units_left(work_units) {
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    m_view_height = std::max(0.0, y2 - y1);
    cairo_matrix_init_identity(&m_playback);
    cairo_matrix_init_identity(&m_s.world);
    m_s.font.face = "Sans";
    m_s.font.height = 12;
}

MetafileDC::~MetafileDC() {
    if (m_path) cairo_path_destroy(m_path);
    for (std::size_t i = 0; i < m_saved.size(); ++i) cairo_restore(m_cr);
}

bool MetafileDC::Spend(std::uint64_t units) {
    if (m_report.budget_exhausted || units > m_units_left) {
        m_report.budget_exhausted = true;
        return false;
    }
    m_units_left -= units;
    m_report.units += units;
    return true;
}

bool MetafileDC::CanAfford(std::uint64_t units) {
    if (units <= m_units_left && !m_report.budget_exhausted) return true;
    m_report.budget_exhausted = true;
    return false;
}

std::shared_ptr<MfSurface> MetafileDC::DecodeDib(std::span<const std::uint8_t> info_bytes,
                                                 std::optional<std::span<const std::uint8_t>> bits, bool with_alpha) {
    try {
        ByteReader r(info_bytes);
        DibInfo info = ReadDibInfo(r);
        // The declared size decides, before a single row is made: nothing
        // larger than the screen can be seen whole, and a file can declare
        // 16384 x 16384 in a few bytes.
        const std::uint64_t pixels = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(info.header.width))) *
                                     static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(info.header.height)));
        if (pixels > m_max_bitmap_pixels) {
            ++m_report.bitmaps_refused;
            return nullptr;
        }
        if (!Spend(1 + pixels / kBitmapPixelsPerUnit)) return nullptr;
        PixelImage img;
        if (!automenu::DecodeDib(info, bits ? *bits : info_bytes.subspan(r.Position()), img,
                       with_alpha ? DibAlpha::FromData : DibAlpha::Ignore))
            return nullptr;
        m_report.largest_bitmap = std::max<std::uint64_t>(m_report.largest_bitmap, img.pixels.size());
        auto s = std::make_shared<MfSurface>();
        s->pixels = std::move(img.pixels);
        s->bottom_up = info.header.height > 0;
        s->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(s->pixels.data()),
                                                         CAIRO_FORMAT_ARGB32, img.width, img.height, img.width * 4);
        if (cairo_surface_status(s->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
        return s;
    } catch (const ReadPastEnd&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
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
    const double factor = pen_width > 0 ? kStrokeFactor : 1;
    const double edges_per_scanline = std::max(1.0, shape.scanlines / std::max(1.0, m_view_height));
    const double units = kPaintUnits + w * h / kPixelsPerUnit +
                         factor * (shape.vertices * kVertexUnits + shape.scanlines / kScanlinesPerUnit +
                                   shape.scanlines * edges_per_scanline / kCrossingsPerUnit);
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

void MetafileDC::SetSourceColour(std::uint32_t c) { cairo_set_source_rgb(m_cr, R(c), G(c), B(c)); }

bool MetafileDC::SetBrushSource(const MfBrush& brush) {
    switch (brush.style) {
    case BS_NULL:
        return false;
    case BS_HATCHED: {
        cairo_pattern_t* p = HatchPattern(brush.hatch, brush.colour, m_s.bk_colour, m_s.bk_mode == OPAQUE_BK);
        cairo_set_source(m_cr, p);
        cairo_pattern_destroy(p);
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

// --- Drawing ---

void MetafileDC::MoveTo(MfPoint p) {
    m_s.pos = p;
    if (m_in_path && Admit({&p, 1}) && UseLogical()) cairo_move_to(m_cr, p.x, p.y);
}

void MetafileDC::LineTo(MfPoint p) {
    const MfPoint line[] = {m_s.pos, p};
    if (Admit(line) && UseLogical()) {
        if (!m_in_path) {
            cairo_new_path(m_cr);
            cairo_move_to(m_cr, m_s.pos.x, m_s.pos.y);
        } else if (!cairo_has_current_point(m_cr)) {
            cairo_move_to(m_cr, m_s.pos.x, m_s.pos.y);
        }
        cairo_line_to(m_cr, p.x, p.y);
        FillAndStroke(false, true);
    }
    m_s.pos = p;
}

void MetafileDC::BuildPolyline(std::span<const MfPoint> pts, bool close) {
    if (pts.empty()) return;
    cairo_move_to(m_cr, pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(m_cr, pts[i].x, pts[i].y);
    if (close) cairo_close_path(m_cr);
}

void MetafileDC::Polyline(std::span<const MfPoint> pts) {
    if (pts.size() < 2 || !Admit(pts) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    BuildPolyline(pts, false);
    FillAndStroke(false, true);
}

void MetafileDC::PolylineTo(std::span<const MfPoint> pts) {
    if (pts.empty()) return;
    const MfPoint first[] = {m_s.pos, pts[0]};
    if (Admit(first) && Admit(pts) && UseLogical()) {
        if (!m_in_path) cairo_new_path(m_cr);
        if (!m_in_path || !cairo_has_current_point(m_cr)) cairo_move_to(m_cr, m_s.pos.x, m_s.pos.y);
        for (const MfPoint& p : pts) cairo_line_to(m_cr, p.x, p.y);
        FillAndStroke(false, true);
    }
    m_s.pos = pts.back();
}

void MetafileDC::Polygon(std::span<const MfPoint> pts) {
    if (pts.size() < 2 || !Admit(pts, true) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    BuildPolyline(pts, true);
    FillAndStroke(true, true);
}

void MetafileDC::PolyPolygon(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts) {
    if (!Spend(counts.size()) || !Admit(pts, true) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    std::size_t at = 0;
    for (std::uint32_t n : counts) {
        if (n > pts.size() - at) break;
        BuildPolyline(pts.subspan(at, n), true);
        at += n;
    }
    FillAndStroke(true, true);
}

void MetafileDC::PolyPolyline(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts) {
    if (!Spend(counts.size()) || !Admit(pts) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    std::size_t at = 0;
    for (std::uint32_t n : counts) {
        if (n > pts.size() - at) break;
        BuildPolyline(pts.subspan(at, n), false);
        at += n;
    }
    FillAndStroke(false, true);
}

void MetafileDC::PolyBezier(std::span<const MfPoint> pts) {
    if (pts.size() < 4 || !Admit(pts) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    cairo_move_to(m_cr, pts[0].x, pts[0].y);
    for (std::size_t i = 1; i + 2 < pts.size(); i += 3)
        cairo_curve_to(m_cr, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pts[i + 2].x, pts[i + 2].y);
    FillAndStroke(false, true);
}

void MetafileDC::PolyBezierTo(std::span<const MfPoint> pts) {
    if (pts.size() < 3) return;
    const MfPoint first[] = {m_s.pos, pts[0]};
    if (Admit(first) && Admit(pts) && UseLogical()) {
        if (!m_in_path) cairo_new_path(m_cr);
        if (!m_in_path || !cairo_has_current_point(m_cr)) cairo_move_to(m_cr, m_s.pos.x, m_s.pos.y);
        for (std::size_t i = 0; i + 2 < pts.size(); i += 3)
            cairo_curve_to(m_cr, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pts[i + 2].x, pts[i + 2].y);
        FillAndStroke(false, true);
    }
    m_s.pos = pts[(pts.size() / 3) * 3 - 1];
}

void MetafileDC::Rectangle(double l, double t, double r, double b) {
    if (!AdmitBox(l, t, r, b) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    cairo_rectangle(m_cr, l, t, r - l, b - t);
    FillAndStroke(true, true);
}

void MetafileDC::RoundRect(double l, double t, double r, double b, double w, double h) {
    if (!AdmitBox(l, t, r, b) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    const double rx = std::min(std::fabs(w) / 2, std::fabs(r - l) / 2);
    const double ry = std::min(std::fabs(h) / 2, std::fabs(b - t) / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(m_cr, l, t, r - l, b - t);
    } else {
        const double x0 = std::min(l, r), x1 = std::max(l, r), y0 = std::min(t, b), y1 = std::max(t, b);
        auto corner = [&](double cx, double cy, double a0) {
            cairo_save(m_cr);
            cairo_translate(m_cr, cx, cy);
            cairo_scale(m_cr, rx, ry);
            cairo_arc(m_cr, 0, 0, 1, a0, a0 + M_PI / 2);
            cairo_restore(m_cr);
        };
        cairo_new_sub_path(m_cr);
        corner(x1 - rx, y0 + ry, -M_PI / 2);
        corner(x1 - rx, y1 - ry, 0);
        corner(x0 + rx, y1 - ry, M_PI / 2);
        corner(x0 + rx, y0 + ry, M_PI);
        cairo_close_path(m_cr);
    }
    FillAndStroke(true, true);
}

void MetafileDC::AddEllipsePath(double l, double t, double r, double b) {
    const double rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
    if (rx <= 0 || ry <= 0) return;
    cairo_new_sub_path(m_cr);
    cairo_save(m_cr);
    cairo_translate(m_cr, (l + r) / 2, (t + b) / 2);
    cairo_scale(m_cr, rx, ry);
    cairo_arc(m_cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(m_cr);
    cairo_close_path(m_cr);
}

void MetafileDC::Ellipse(double l, double t, double r, double b) {
    if (!AdmitBox(l, t, r, b) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
    AddEllipsePath(l, t, r, b);
    FillAndStroke(true, true);
}

void MetafileDC::Arc(ArcKind kind, double l, double t, double r, double b, MfPoint start, MfPoint end) {
    cairo_matrix_t m;
    const double rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
    if (rx <= 0 || ry <= 0 || !AdmitBox(l, t, r, b) || !LogicalMatrix(m)) return;
    cairo_set_matrix(m_cr, &m);
    const double cx = (l + r) / 2, cy = (t + b) / 2;
    const double a0 = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
    const double a1 = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
    // Counter-clockwise as seen on the destination, unless set otherwise.
    const bool flipped = (m.xx * m.yy - m.xy * m.yx) < 0;
    const bool negative = m_s.arc_clockwise == flipped;
    if (!m_in_path) cairo_new_path(m_cr);
    cairo_save(m_cr);
    cairo_translate(m_cr, cx, cy);
    cairo_scale(m_cr, rx, ry);
    if (kind == ArcKind::Pie) cairo_move_to(m_cr, 0, 0);
    else if (kind == ArcKind::ArcTo) {
        cairo_restore(m_cr);
        cairo_save(m_cr);
        if (!m_in_path || !cairo_has_current_point(m_cr)) cairo_move_to(m_cr, m_s.pos.x, m_s.pos.y);
        cairo_translate(m_cr, cx, cy);
        cairo_scale(m_cr, rx, ry);
    } else {
        cairo_new_sub_path(m_cr);
    }
    if (negative) cairo_arc_negative(m_cr, 0, 0, 1, a0, a1);
    else cairo_arc(m_cr, 0, 0, 1, a0, a1);
    if (kind == ArcKind::Pie || kind == ArcKind::Chord) cairo_close_path(m_cr);
    cairo_restore(m_cr);
    if (kind == ArcKind::ArcTo) m_s.pos = {cx + rx * std::cos(a1), cy + ry * std::sin(a1)};
    FillAndStroke(kind == ArcKind::Pie || kind == ArcKind::Chord, true);
}

void MetafileDC::SetPixel(MfPoint p, std::uint32_t colour) {
    cairo_matrix_t m;
    if (!Admit({&p, 1}) || !LogicalMatrix(m)) return;
    m_shape = {};
    if (!Spend(kPaintUnits)) return;
    double x = p.x, y = p.y;
    cairo_matrix_transform_point(&m, &x, &y);
    cairo_save(m_cr);
    UseDevice();
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, std::floor(x), std::floor(y), 1, 1);
    SetSourceColour(colour);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
}

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
    cairo_pattern_add_color_stop_rgb(pattern.get(), 0, R(a.colour), G(a.colour), B(a.colour));
    cairo_pattern_add_color_stop_rgb(pattern.get(), 1, R(b.colour), G(b.colour), B(b.colour));
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, a.p.x, a.p.y, b.p.x - a.p.x, b.p.y - a.p.y);
    if (PayForPaint()) FillWith(pattern.get());
}

void MetafileDC::GradientTriangle(const MfVertex& a, const MfVertex& b, const MfVertex& c) {
    cairo_matrix_t m;
    if (m_in_path || !LogicalMatrix(m)) return;
    std::vector<ShadedPoint> shape;
    for (const MfVertex* v : {&a, &b, &c}) {
        ShadedPoint p{v->p.x, v->p.y, R(v->colour), G(v->colour), B(v->colour)};
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

void MetafileDC::TextOut(MfPoint ref, const std::string& utf8, std::span<const double> dx, std::uint32_t options,
                         const double* rect) {
    cairo_matrix_t m;
    if (m_in_path || !LogicalMatrix(m)) return;
    if (m_s.text_align & TA_UPDATECP) ref = m_s.pos;
    if (!Admit({&ref, 1})) return;
    m_shape = {};
    const bool boxed = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
    if (boxed && !AdmitBox(rect[0], rect[1], rect[2], rect[3])) return;

    if (boxed) {
        cairo_set_matrix(m_cr, &m);
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        if (!PayForPaint()) {
            cairo_new_path(m_cr);
            return;
        }
        if (options & ETO_OPAQUE) {
            cairo_save(m_cr);
            SetSourceColour(m_s.bk_colour);
            cairo_fill_preserve(m_cr);
            cairo_restore(m_cr);
        }
        cairo_new_path(m_cr);
    }
    if (utf8.empty()) return;

    // The font's height in destination pixels, along the logical y axis.
    double hx = 0, hy = m_s.font.height == 0 ? 12 : std::fabs(static_cast<double>(m_s.font.height));
    cairo_matrix_transform_distance(&m, &hx, &hy);
    double px = std::hypot(hx, hy);
    if (m_s.font.height > 0) px /= 1.17;  // cell height to character height
    if (!(px >= 0.5) || px > kMaxFontPixels) return;
    // Shaping costs by the character, drawing by the glyphs' area.
    const std::uint64_t per_char = kUnitsPerCharacter + static_cast<std::uint64_t>(px * px / kPixelsPerUnit);
    if (!Spend(kTextUnits + utf8.size() * per_char)) return;

    double x = ref.x, y = ref.y;
    cairo_matrix_transform_point(&m, &x, &y);

    cairo_save(m_cr);
    UseDevice();
    if (rect && (options & ETO_CLIPPED)) {
        cairo_set_matrix(m_cr, &m);
        cairo_rectangle(m_cr, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        UseDevice();
        cairo_clip(m_cr);
    }
    cairo_translate(m_cr, x, y);
    if (m_s.font.escapement != 0) cairo_rotate(m_cr, -m_s.font.escapement * M_PI / 1800.0);

    PangoLayout* layout = pango_layout_new(SharedTextContext());
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, m_s.font.face.empty() ? "Sans" : m_s.font.face.c_str());
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(std::clamp(m_s.font.weight == 0 ? 400 : m_s.font.weight, 100, 1000)));
    pango_font_description_set_style(desc, m_s.font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    PangoAttrList* attrs = pango_attr_list_new();
    if (m_s.font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (m_s.font.strike_out) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));

    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    const double baseline = pango_layout_get_baseline(layout) / static_cast<double>(PANGO_SCALE);
    double width = logical.width;
    // Advances the metafile gives: stretch the run to their total so lines
    // keep the width they had where they were made.
    double xscale = 1;
    if (!dx.empty() && width > 0) {
        double total = 0;
        for (double d : dx) total += d;
        double tx = total, ty = 0;
        cairo_matrix_transform_distance(&m, &tx, &ty);
        const double target = std::hypot(tx, ty);
        if (target > 0 && target / width > 0.5 && target / width < 2) xscale = target / width;
    }
    width *= xscale;
    double ox = 0, oy = 0;
    switch (m_s.text_align & TA_HMASK) {
    case TA_RIGHT: ox = -width; break;
    case TA_CENTER: ox = -width / 2; break;
    default: break;
    }
    switch (m_s.text_align & TA_VMASK) {
    case TA_BASELINE: oy = -baseline; break;
    case TA_BOTTOM: oy = -logical.height; break;
    default: break;
    }
    if (m_s.bk_mode == OPAQUE_BK && !(options & ETO_OPAQUE)) {
        cairo_rectangle(m_cr, ox, oy, width, logical.height);
        SetSourceColour(m_s.bk_colour);
        cairo_fill(m_cr);
    }
    cairo_translate(m_cr, ox, oy);
    cairo_scale(m_cr, xscale, 1);
    SetSourceColour(m_s.text_colour);
    pango_cairo_show_layout(m_cr, layout);
    g_object_unref(layout);
    cairo_restore(m_cr);

    if (m_s.text_align & TA_UPDATECP) {
        double adv = width, zero = 0;
        cairo_matrix_t inv = m;
        cairo_matrix_invert(&inv);
        cairo_matrix_transform_distance(&inv, &adv, &zero);
        m_s.pos.x += (m_s.text_align & TA_HMASK) == TA_RIGHT ? -adv : adv;
    }
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
    if (m_path) cairo_path_destroy(m_path);
    cairo_save(m_cr);
    UseDevice();
    m_path = cairo_copy_path(m_cr);
    cairo_restore(m_cr);
    cairo_new_path(m_cr);
}

void MetafileDC::AbortPath() {
    m_in_path = false;
    cairo_new_path(m_cr);
    if (m_path) cairo_path_destroy(m_path);
    m_path = nullptr;
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
    cairo_append_path(m_cr, m_path);
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
        cairo_append_path(m_cr, m_path);
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
