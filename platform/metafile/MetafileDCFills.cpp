// The device context's fills: patterns, regions, gradients and bitmaps.
#include "platform/metafile/MetafileDC.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace automenu::platform {

void MetafileDC::PatBlt(double l, double t, double r, double b, std::uint32_t rop) {
    if (m_in_path) return Refuse();
    if (!AdmitBox(l, t, r, b) || !UseLogical()) return;
    m_surface.NewPath();
    m_surface.Rectangle(l, t, r - l, b - t);
    const std::uint8_t code = static_cast<std::uint8_t>(rop >> 16);
    if (!PayForPaint(0, code != kRopPatCopy)) {
        m_surface.NewPath();
        return;
    }
    if (RopUsesSource(code)) {  // a blit without its bitmap
        m_surface.NewPath();
        return Refuse();
    }
    MfBrush brush = m_s.brush;
    if (!RopUsesPattern(code)) brush = StockBrush(4);  // the place alone counts
    else if (brush.style == BS_NULL) return m_surface.NewPath();  // a null brush paints nothing
    brush.colour = Colour(brush.colour);
    m_surface.FillPath(brush, false, Colour(m_s.bk_colour), m_s.bk_mode == OPAQUE_BK, code);
    m_surface.NewPath();
}

MfBox MetafileDC::AddRegionPath(const MfRegion& region) {
    m_surface.Save();
    m_surface.SetMatrix(m_playback);
    m_surface.NewPath();
    // Region rectangles are device units already; like GDI, none past 27 bits.
    auto in_range = [](int v) { return std::abs(static_cast<double>(v)) < kMaxDeviceCoordinate; };
    MfBox box;
    for (const TRect& r : region.rects) {
        if (!(in_range(r.left) && in_range(r.top) && in_range(r.right) && in_range(r.bottom))) continue;
        m_surface.Rectangle(r.left, r.top, r.Width(), r.Height());
        for (MfPoint p : {MfPoint{double(r.left), double(r.top)}, MfPoint{double(r.right), double(r.bottom)}}) {
            m_playback.TransformPoint(p.x, p.y);
            box.Add(p.x, p.y);
        }
    }
    m_surface.Restore();
    return box;
}

void MetafileDC::FillRegion(const MfRegion& region, const MfBrush& brush) {
    if (m_in_path) return Refuse();
    if (region.rects.size() > kMaxRegionRectangles) Loose();
    if (!Spend(region.rects.size())) return;
    m_shape_box = AddRegionPath(region);
    if (PayForPaint(0, m_s.mix != kRopPatCopy)) Fill(brush);
    m_surface.NewPath();
}

void MetafileDC::GradientRect(const MfVertex& a, const MfVertex& b, bool vertical) {
    // Like a bitmap, a gradient is no part of a path bracket.
    MfMatrix m;
    if (m_in_path || !UseLogical() || !LogicalMatrix(m)) return Refuse();
    m_surface.NewPath();
    m_surface.Rectangle(a.p.x, a.p.y, b.p.x - a.p.x, b.p.y - a.p.y);
    m_shape_box = {};
    for (MfPoint p : {a.p, b.p, MfPoint{a.p.x, b.p.y}, MfPoint{b.p.x, a.p.y}}) {
        m.TransformPoint(p.x, p.y);
        m_shape_box.Add(p.x, p.y);
    }
    // The stops sit on the corners' own edges, so a rectangle given from
    // right to left (or bottom to top) is shaded that way.
    if (PayForPaint()) m_surface.FillLinearGradient(a, b, vertical);
}

void MetafileDC::GradientTriangle(const MfVertex& a, const MfVertex& b, const MfVertex& c) {
    MfMatrix m;
    if (m_in_path || !LogicalMatrix(m)) return Refuse();
    std::array<MfShadedCorner, 3> corners;
    m_shape_box = {};
    std::size_t i = 0;
    for (const MfVertex* v : {&a, &b, &c}) {
        MfShadedCorner& corner = corners[i++];
        corner = {v->p.x, v->p.y, v->colour};
        m.TransformPoint(corner.x, corner.y);
        m_shape_box.Add(corner.x, corner.y);
    }
    // Only the part inside the clip is shaded, and paid for: a metafile can
    // make a triangle billions of pixels wide.
    const MfBox& clip = m_s.clip;
    const MfBox seen = m_shape_box.Intersect({clip.left - 1, clip.top - 1, clip.right + 1, clip.bottom + 1});
    if (!(seen.right >= seen.left && seen.bottom >= seen.top)) {
        m_shape_box = {};
        return;
    }
    if (PayForPaint()) m_surface.FillShadedTriangle(corners);
}

void MetafileDC::DrawBitmap(const MfBitmap& bitmap, double dx, double dy, double dw, double dh, double sx, double sy,
                            double sw, double sh, std::uint32_t rop, double alpha) {
    if (m_in_path || sw == 0 || sh == 0 || dw == 0 || dh == 0) return Refuse();
    if (!AdmitBox(dx, dy, dx + dw, dy + dh) || !UseLogical()) return;
    if (!PayForPaint(0, static_cast<std::uint8_t>(rop >> 16) != kRopSrcCopy)) return;
    MfBrush pattern = m_s.brush;
    pattern.colour = Colour(pattern.colour);
    m_surface.DrawBitmap(bitmap, dx, dy, dw, dh, sx, sy, sw, sh, alpha, static_cast<std::uint8_t>(rop >> 16), pattern);
}

}  // namespace automenu::platform
