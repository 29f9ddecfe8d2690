#include "platform/metafile/MetafileDC.h"

#include <algorithm>
#include <cmath>

namespace automenu::platform {

namespace {

constexpr double kMaxPenPixels = 4000;

}  // namespace

MetafileDC::MetafileDC(MetafileSurface& surface, TSize view, std::uint64_t max_bitmap_pixels,
                       std::uint64_t work_units)
    : m_surface(surface),
      m_view{0, 0, static_cast<double>(std::max(view.cx, 0)), static_cast<double>(std::max(view.cy, 0))},
      m_budget(work_units, max_bitmap_pixels) {
    m_s.clip = m_view;
    m_s.font.face = "Sans";
    m_s.font.height = 12;
}

MetafileDC::~MetafileDC() {
    for (std::size_t i = 0; i < m_saved.size(); ++i) m_surface.Restore();
}

std::shared_ptr<const MfBitmap> MetafileDC::DecodeDib(std::span<const std::uint8_t> info,
                                                      std::optional<std::span<const std::uint8_t>> bits,
                                                      bool with_alpha, bool& whole) {
    whole = true;
    return DecodeRecordDib(m_budget, info, bits, with_alpha, &whole);
}

bool MetafileDC::Admit(std::span<const MfPoint> pts, bool closed) {
    MfMatrix m;
    if (!Note(LogicalMatrix(m))) return false;
    const double view_height = m_view.bottom;
    double scanlines = 0, prev_y = 0, first_y = 0;
    MfBox box;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        double x = pts[i].x, y = pts[i].y;
        m.TransformPoint(x, y);
        if (!(std::fabs(x) < kMaxDeviceCoordinate && std::fabs(y) < kMaxDeviceCoordinate)) return Note(false);
        if (i == 0) first_y = y;
        else scanlines += std::min(std::fabs(y - prev_y), view_height);
        prev_y = y;
        box.Add(x, y);
    }
    if (closed && pts.size() > 1) scanlines += std::min(std::fabs(first_y - prev_y), view_height);
    if (!Spend(pts.size())) return false;
    m_shape.vertices += static_cast<double>(pts.size());
    m_shape.scanlines += scanlines;
    m_shape_box.Add(box);
    return true;
}

bool MetafileDC::AdmitBox(double l, double t, double r, double b, bool curve) {
    // The corners, and twice the box's height: a curve's flattened edges
    // cross each scanline of it about twice.
    const MfPoint corners[] = {{l, t}, {r, t}, {r, b}, {l, b}};
    const MfBox before = m_shape_box;
    m_shape_box = {};
    const bool admitted = Admit(corners, true);
    const MfBox box = m_shape_box;
    m_shape_box = before;
    if (!admitted) return false;
    m_shape_box.Add(box);
    if (curve && (box.right - box.left > kMaxCurvePixels || box.bottom - box.top > kMaxCurvePixels)) Loose();
    return true;
}

bool MetafileDC::PayForPaint(double pen_width, bool bitwise) {
    // What is painted: the shape's box, widened by the pen, inside the clip.
    const MfBox& clip = m_s.clip;
    const MfBox& box = m_shape_box;
    const double w =
        std::max(0.0, std::min(box.right + pen_width, clip.right) - std::max(box.left - pen_width, clip.left));
    const double h =
        std::max(0.0, std::min(box.bottom + pen_width, clip.bottom) - std::max(box.top - pen_width, clip.top));
    const ShapeSize shape = m_shape;
    m_shape = {};
    m_shape_box = {};
    const double area_w = std::isfinite(w) ? w : 0, area_h = std::isfinite(h) ? h : 0;
    double units = PaintUnits(shape, area_w, area_h, m_view.bottom, pen_width > 0);
    if (bitwise) units += kPaintUnits + kRasterOpFactor * area_w * area_h / kPixelsPerUnit;
    return Spend(static_cast<std::uint64_t>(std::min(units, 1e15)));
}

void MetafileDC::SetWorldTransform(const MfMatrix& m) {
    if (Invertible(m)) m_s.world = m;  // GDI refuses a singular transform
    else Refuse();
}

void MetafileDC::SetRop2(int mode) {
    if (mode < 1 || mode > 16) return Refuse();
    m_s.mix = RopOfMix(mode);
}

void MetafileDC::SetMapMode(int mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return Refuse();
    m_s.map_mode = mode;
}

void MetafileDC::SetWindowExt(double x, double y) {
    if (x == 0 || y == 0) return Refuse();  // refused, as on Windows
    m_s.win_ext = {x, y};
}

void MetafileDC::SetViewportExt(double x, double y) {
    if (x == 0 || y == 0) return Refuse();
    m_s.vp_ext = {x, y};
}

void MetafileDC::ScaleWindowExt(double xn, double xd, double yn, double yd) {
    if (xd == 0 || yd == 0) return Refuse();
    SetWindowExt(m_s.win_ext.x * xn / xd, m_s.win_ext.y * yn / yd);
}

void MetafileDC::ScaleViewportExt(double xn, double xd, double yn, double yd) {
    if (xd == 0 || yd == 0) return Refuse();
    SetViewportExt(m_s.vp_ext.x * xn / xd, m_s.vp_ext.y * yn / yd);
}

void MetafileDC::ModifyWorldTransform(const MfMatrix& m, int mode) {
    switch (mode) {
    case 1:  // MWT_IDENTITY
        m_s.world = MfMatrix{};
        return;
    case 2:  // MWT_LEFTMULTIPLY: the new transform applies first
        m_s.world = Multiply(m, m_s.world);
        return;
    case 3:  // MWT_RIGHTMULTIPLY
        m_s.world = Multiply(m_s.world, m);
        return;
    case 4:  // MWT_SET
        m_s.world = m;
        return;
    default:
        return Refuse();
    }
}

bool MetafileDC::LogicalMatrix(MfMatrix& out) const {
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
    const MfMatrix page = MfMatrix::Scale(sx, sy, m_s.vp_org.x - (scaled ? m_s.win_org.x * sx : m_s.win_org.x),
                                          m_s.vp_org.y - (scaled ? m_s.win_org.y * sy : m_s.win_org.y));
    out = Multiply(Multiply(m_s.world, page), m_playback);
    return Invertible(out);
}

bool MetafileDC::UseLogical() {
    MfMatrix m;
    if (!Note(LogicalMatrix(m))) return false;
    m_surface.SetMatrix(m);
    return true;
}

void MetafileDC::UseDevice() { m_surface.SetMatrix(MfMatrix{}); }

void MetafileDC::SaveDC() {
    if (m_saved.size() >= 1024) return Refuse();
    m_saved.push_back(m_s);
    m_surface.Save();
}

void MetafileDC::RestoreDC(int which) {
    // Negative: relative to the current level; positive: an absolute level.
    const int depth = static_cast<int>(m_saved.size());
    const int target = which < 0 ? depth + which : which - 1;
    if (target < 0 || target >= depth) return Refuse();
    while (static_cast<int>(m_saved.size()) > target) {
        m_s = m_saved.back();
        m_saved.pop_back();
        m_surface.Restore();
    }
}

void MetafileDC::CreateObject(std::uint32_t index, MfObject object) {
    const bool new_index = !m_objects.count(index);
    if (m_objects.size() >= 65536 && new_index) return Refuse();
    if (m_objects.size() >= kMaxLiveObjects && new_index) Loose();
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

void MetafileDC::SelectPalette(std::uint32_t index) {
    const MfObject* o = (index & 0x80000000u) ? nullptr : Object(index);
    if (index == (0x80000000u | 15) || (o && std::holds_alternative<MfPalette>(*o))) m_s.palette = index;
    else Refuse();
}

void MetafileDC::SetPaletteEntries(std::uint32_t index, std::uint32_t start, std::span<const std::uint32_t> entries) {
    auto it = m_objects.find(index);
    auto* palette = it == m_objects.end() ? nullptr : std::get_if<MfPalette>(&it->second);
    if (!palette || start >= palette->entries.size()) return Refuse();
    const std::size_t n = std::min<std::size_t>(entries.size(), palette->entries.size() - start);
    for (std::size_t i = 0; i < n; ++i) palette->entries[start + i] = entries[i] & 0xFFFFFF;
}

std::vector<std::uint32_t> MetafileDC::ReadPaletteEntries(ByteReader& r, std::uint32_t count) {
    if (count > r.Remaining() / 4) throw ReadPastEnd();
    if (count > kMaxPaletteEntries) Loose();
    std::vector<std::uint32_t> entries(std::min(count, kMaxPaletteEntries));
    for (std::uint32_t& e : entries) e = r.U32() & 0xFFFFFF;
    return entries;
}

void MetafileDC::ResizePalette(std::uint32_t index, std::uint32_t count) {
    auto it = m_objects.find(index);
    auto* palette = it == m_objects.end() ? nullptr : std::get_if<MfPalette>(&it->second);
    if (!palette || count == 0 || count > kMaxPaletteEntries) return Refuse();
    palette->entries.resize(count, 0);
}

std::uint32_t MetafileDC::Colour(std::uint32_t colour) const {
    if ((colour >> 24) != 1) return colour & 0xFFFFFF;
    // The 20 colours of the system's default palette.
    static constexpr std::uint32_t kDefault[] = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
        0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    std::span<const std::uint32_t> entries = kDefault;
    if (const MfObject* o = (m_s.palette & 0x80000000u) ? nullptr : Object(m_s.palette))
        if (const auto* palette = std::get_if<MfPalette>(o)) entries = palette->entries;
    // An index past the palette's end takes its first entry.
    const std::uint32_t index = colour & 0xFFFF;
    if (entries.empty()) return 0;
    return index < entries.size() ? entries[index] : entries[0];
}

// --- Painting helpers ---

void MetafileDC::Fill(const MfBrush& brush) {
    if (brush.style == BS_NULL) return;
    MfBrush painted = brush;
    painted.colour = Colour(brush.colour);
    m_surface.FillPath(painted, m_s.poly_fill == 2, Colour(m_s.bk_colour), m_s.bk_mode == OPAQUE_BK, m_s.mix);
}

double MetafileDC::AskedPenPixels() const {
    const MfPen& pen = m_s.pen;
    MfMatrix m;
    if (!(pen.width > 0) || !LogicalMatrix(m)) return 1;
    // The GDI transforms a pen's width as a distance along x, whatever the
    // mapping does to y: under a mapping that halves x and keeps y, a pen
    // 8 units wide is 4 pixels wide.
    double wx = pen.width, wy = 0;
    m.TransformDistance(wx, wy);
    return std::hypot(wx, wy);
}

double MetafileDC::PenPixels() const {
    // Whole pixels, halves rounded up (1.5 units is 2 pixels, 4.5 is 5).
    return std::clamp(std::floor(AskedPenPixels() + 0.5), 1.0, kMaxPenPixels);
}

void MetafileDC::Stroke() {
    if ((m_s.pen.style & PS_STYLE_MASK) == PS_NULL) return;
    MfPen painted = m_s.pen;
    painted.colour = Colour(painted.colour);
    const double width = PenPixels();
    // A pen made by CreatePen is styled only while it is one pixel wide.
    const std::uint32_t style = painted.style & PS_STYLE_MASK;
    if (!(painted.style & PS_GEOMETRIC) && width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT)
        painted.style = (painted.style & ~PS_STYLE_MASK) | PS_SOLID;
    m_surface.StrokePath(painted, width, m_s.miter_limit, Colour(m_s.bk_colour), m_s.bk_mode == OPAQUE_BK, m_s.mix);
}

void MetafileDC::FillAndStroke(bool fill, bool stroke) {
    if (m_in_path) return;  // the figure stays in the path bracket
    const bool outline = stroke && (m_s.pen.style & PS_STYLE_MASK) != PS_NULL;
    if ((fill && m_shape.vertices > kMaxFilledVertices) || (outline && !(AskedPenPixels() <= kMaxPenPixels))) Loose();
    if ((fill || outline) && PayForPaint(outline ? PenPixels() : 0, m_s.mix != kRopPatCopy)) {
        if (fill) Fill(m_s.brush);
        if (outline) Stroke();
    }
    m_shape = {};
    m_shape_box = {};
    m_surface.NewPath();
}

// --- Paths and clipping ---

void MetafileDC::BeginPath() {
    m_in_path = true;
    m_shape = {};
    m_shape_box = {};
    m_surface.NewPath();
}

void MetafileDC::EndPath() {
    if (!m_in_path) return Refuse();
    m_in_path = false;
    m_path_shape = m_shape;
    m_path_box = m_shape_box;
    m_shape = {};
    m_shape_box = {};
    m_surface.Save();
    UseDevice();
    m_surface.KeepPath();
    m_has_path = true;
    m_surface.Restore();
    m_surface.NewPath();
}

void MetafileDC::AbortPath() {
    m_in_path = false;
    m_surface.NewPath();
    m_surface.ForgetKeptPath();
    m_has_path = false;
}

void MetafileDC::CloseFigure() {
    if (m_in_path && m_surface.HasCurrentPoint()) m_surface.ClosePath();
}

// The recorded path, filled and/or stroked, then forgotten.
void MetafileDC::PaintPath(bool fill, bool stroke) {
    if (!m_has_path || m_in_path) return Refuse();
    m_shape = m_path_shape;
    m_shape_box = m_path_box;
    m_surface.Save();
    UseDevice();
    m_surface.NewPath();
    m_surface.UseKeptPath();
    m_surface.Restore();
    FillAndStroke(fill, stroke);
    AbortPath();
}

void MetafileDC::FillPath() { PaintPath(true, false); }
void MetafileDC::StrokePath() { PaintPath(false, true); }
void MetafileDC::StrokeAndFillPath() { PaintPath(true, true); }

void MetafileDC::ResetClip() {
    m_surface.ResetClip();
    m_s.clip = m_view;
}

void MetafileDC::ClipTo(const MfBox& box, bool reset) {
    if (reset) m_s.clip = m_view;
    m_s.clip = m_s.clip.Intersect(box);
}

void MetafileDC::SelectClipPath(int mode) {
    if (!m_has_path || m_in_path) return Refuse();
    m_shape = m_path_shape;
    m_shape_box = m_path_box;
    const MfBox path_box = m_path_box;
    if (!PayForPaint()) return AbortPath();
    if (mode == RGN_COPY) ResetClip();
    if (mode == RGN_AND || mode == RGN_COPY) {
        m_surface.Save();
        UseDevice();
        m_surface.NewPath();
        m_surface.UseKeptPath();
        m_surface.Restore();
        m_surface.Clip(m_s.poly_fill == 2);
        ClipTo(path_box, false);
    }
    AbortPath();
}

void MetafileDC::IntersectClipRect(double l, double t, double r, double b) {
    MfMatrix m;
    if (!UseLogical() || !LogicalMatrix(m)) return;
    m_surface.NewPath();
    m_surface.Rectangle(l, t, r - l, b - t);
    m_surface.Clip(true);
    MfBox box;
    for (MfPoint p : {MfPoint{l, t}, MfPoint{r, t}, MfPoint{r, b}, MfPoint{l, b}}) {
        m.TransformPoint(p.x, p.y);
        box.Add(p.x, p.y);
    }
    ClipTo(box, false);
}

void MetafileDC::ExcludeClipRect(double l, double t, double r, double b) {
    if (!UseLogical()) return;
    // The box of what is left is not made smaller: it may still be whole.
    m_surface.ClipOut(l, t, r, b);
}

void MetafileDC::SelectClipRegion(const MfRegion* region, int mode) {
    if (mode == RGN_COPY) ResetClip();
    if (!region || (mode != RGN_AND && mode != RGN_COPY)) return;
    if (region->rects.size() > kMaxRegionRectangles) Loose();
    if (!Spend(region->rects.size())) return;
    const MfBox box = AddRegionPath(*region);
    m_surface.Clip(true);
    ClipTo(box, false);
}

}  // namespace automenu::platform
