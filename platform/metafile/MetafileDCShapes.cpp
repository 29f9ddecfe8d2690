// The device context's lines, curves and shapes.
#include "platform/metafile/MetafileDC.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace automenu::platform {

void MetafileDC::MoveTo(MfPoint p) {
    m_s.pos = p;
    if (m_in_path && Admit({&p, 1}) && UseLogical()) m_surface.MoveTo(p.x, p.y);
}

void MetafileDC::LineTo(MfPoint p) {
    const MfPoint line[] = {m_s.pos, p};
    if (Admit(line) && UseLogical()) {
        if (!m_in_path) {
            m_surface.NewPath();
            m_surface.MoveTo(m_s.pos.x, m_s.pos.y);
        } else if (!m_surface.HasCurrentPoint()) {
            m_surface.MoveTo(m_s.pos.x, m_s.pos.y);
        }
        m_surface.LineTo(p.x, p.y);
        FillAndStroke(false, true);
    }
    m_s.pos = p;
}

void MetafileDC::BuildPolyline(std::span<const MfPoint> pts, bool close) {
    if (pts.empty()) return;
    m_surface.MoveTo(pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) m_surface.LineTo(pts[i].x, pts[i].y);
    if (close) m_surface.ClosePath();
}

void MetafileDC::Polyline(std::span<const MfPoint> pts) {
    if (pts.size() < 2 || !Admit(pts) || !UseLogical()) return;
    if (!m_in_path) m_surface.NewPath();
    BuildPolyline(pts, false);
    FillAndStroke(false, true);
}

void MetafileDC::PolylineTo(std::span<const MfPoint> pts) {
    if (pts.empty()) return;
    const MfPoint first[] = {m_s.pos, pts[0]};
    if (Admit(first) && Admit(pts) && UseLogical()) {
        if (!m_in_path) m_surface.NewPath();
        if (!m_in_path || !m_surface.HasCurrentPoint()) m_surface.MoveTo(m_s.pos.x, m_s.pos.y);
        for (const MfPoint& p : pts) m_surface.LineTo(p.x, p.y);
        FillAndStroke(false, true);
    }
    m_s.pos = pts.back();
}

void MetafileDC::Polygon(std::span<const MfPoint> pts) {
    if (pts.size() < 2 || !Admit(pts, true) || !UseLogical()) return;
    if (!m_in_path) m_surface.NewPath();
    BuildPolyline(pts, true);
    FillAndStroke(true, true);
}

void MetafileDC::PolyPolygon(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts) {
    PolyPoly(pts, counts, true);
}

void MetafileDC::PolyPolyline(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts) {
    PolyPoly(pts, counts, false);
}

void MetafileDC::PolyPoly(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts, bool closed) {
    if (!Spend(counts.size()) || !Admit(pts, closed) || !UseLogical()) return;
    if (!m_in_path) m_surface.NewPath();
    std::size_t at = 0;
    for (std::uint32_t n : counts) {
        if (n > pts.size() - at) break;
        BuildPolyline(pts.subspan(at, n), closed);
        at += n;
    }
    FillAndStroke(closed, true);
}

void MetafileDC::PolyBezier(std::span<const MfPoint> pts) {
    if (pts.size() < 4 || !Admit(pts) || !UseLogical()) return;
    if (!m_in_path) m_surface.NewPath();
    m_surface.MoveTo(pts[0].x, pts[0].y);
    for (std::size_t i = 1; i + 2 < pts.size(); i += 3)
        m_surface.CurveTo(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pts[i + 2].x, pts[i + 2].y);
    FillAndStroke(false, true);
}

void MetafileDC::PolyBezierTo(std::span<const MfPoint> pts) {
    if (pts.size() < 3) return;
    const MfPoint first[] = {m_s.pos, pts[0]};
    if (Admit(first) && Admit(pts) && UseLogical()) {
        if (!m_in_path) m_surface.NewPath();
        if (!m_in_path || !m_surface.HasCurrentPoint()) m_surface.MoveTo(m_s.pos.x, m_s.pos.y);
        for (std::size_t i = 0; i + 2 < pts.size(); i += 3)
            m_surface.CurveTo(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pts[i + 2].x, pts[i + 2].y);
        FillAndStroke(false, true);
    }
    m_s.pos = pts[(pts.size() / 3) * 3 - 1];
}

void MetafileDC::Rectangle(double l, double t, double r, double b) {
    if (!AdmitBox(l, t, r, b) || !UseLogical()) return;
    if (!m_in_path) m_surface.NewPath();
    m_surface.Rectangle(l, t, r - l, b - t);
    FillAndStroke(true, true);
}

void MetafileDC::RoundRect(double l, double t, double r, double b, double w, double h) {
    if (!AdmitBox(l, t, r, b, true) || !UseLogical()) return;
    if (!m_in_path) m_surface.NewPath();
    const double rx = std::min(std::fabs(w) / 2, std::fabs(r - l) / 2);
    const double ry = std::min(std::fabs(h) / 2, std::fabs(b - t) / 2);
    if (rx <= 0 || ry <= 0) {
        m_surface.Rectangle(l, t, r - l, b - t);
    } else {
        const double x0 = std::min(l, r), x1 = std::max(l, r), y0 = std::min(t, b), y1 = std::max(t, b);
        auto corner = [&](double cx, double cy, double a0) {
            m_surface.Save();
            m_surface.Translate(cx, cy);
            m_surface.Scale(rx, ry);
            m_surface.Arc(0, 0, 1, a0, a0 + std::numbers::pi / 2, false);
            m_surface.Restore();
        };
        m_surface.NewSubPath();
        corner(x1 - rx, y0 + ry, -std::numbers::pi / 2);
        corner(x1 - rx, y1 - ry, 0);
        corner(x0 + rx, y1 - ry, std::numbers::pi / 2);
        corner(x0 + rx, y0 + ry, std::numbers::pi);
        m_surface.ClosePath();
    }
    FillAndStroke(true, true);
}

void MetafileDC::AddEllipsePath(double l, double t, double r, double b) {
    const double rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
    if (rx <= 0 || ry <= 0) return;
    m_surface.NewSubPath();
    m_surface.Save();
    m_surface.Translate((l + r) / 2, (t + b) / 2);
    m_surface.Scale(rx, ry);
    m_surface.Arc(0, 0, 1, 0, 2 * std::numbers::pi, false);
    m_surface.Restore();
    m_surface.ClosePath();
}

void MetafileDC::Ellipse(double l, double t, double r, double b) {
    if (!AdmitBox(l, t, r, b, true) || !UseLogical()) return;
    if (!m_in_path) m_surface.NewPath();
    AddEllipsePath(l, t, r, b);
    FillAndStroke(true, true);
}

void MetafileDC::Arc(ArcKind kind, double l, double t, double r, double b, MfPoint start, MfPoint end) {
    MfMatrix m;
    const double rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
    if (rx <= 0 || ry <= 0 || !AdmitBox(l, t, r, b, true) || !LogicalMatrix(m)) return;
    m_surface.SetMatrix(m);
    const double cx = (l + r) / 2, cy = (t + b) / 2;
    const double a0 = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
    const double a1 = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
    // Counter-clockwise as seen on the destination, unless set otherwise.
    const bool flipped = (m.xx * m.yy - m.xy * m.yx) < 0;
    const bool negative = m_s.arc_clockwise == flipped;
    if (!m_in_path) m_surface.NewPath();
    m_surface.Save();
    m_surface.Translate(cx, cy);
    m_surface.Scale(rx, ry);
    if (kind == ArcKind::Pie) m_surface.MoveTo(0, 0);
    else if (kind == ArcKind::ArcTo) {
        m_surface.Restore();
        m_surface.Save();
        if (!m_in_path || !m_surface.HasCurrentPoint()) m_surface.MoveTo(m_s.pos.x, m_s.pos.y);
        m_surface.Translate(cx, cy);
        m_surface.Scale(rx, ry);
    } else {
        m_surface.NewSubPath();
    }
    if (negative) m_surface.Arc(0, 0, 1, a0, a1, true);
    else m_surface.Arc(0, 0, 1, a0, a1, false);
    if (kind == ArcKind::Pie || kind == ArcKind::Chord) m_surface.ClosePath();
    m_surface.Restore();
    if (kind == ArcKind::ArcTo) m_s.pos = {cx + rx * std::cos(a1), cy + ry * std::sin(a1)};
    FillAndStroke(kind == ArcKind::Pie || kind == ArcKind::Chord, true);
}

void MetafileDC::SetPixel(MfPoint p, std::uint32_t colour) {
    MfMatrix m;
    if (!Admit({&p, 1}) || !LogicalMatrix(m)) return;
    m_shape = {};
    m_shape_box = {};
    if (!Spend(kPaintUnits)) return;
    double x = p.x, y = p.y;
    m.TransformPoint(x, y);
    m_surface.FillPixel(x, y, Colour(colour));
}

}  // namespace automenu::platform
