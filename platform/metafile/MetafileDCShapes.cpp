// The device context's lines, curves and shapes.
#include "platform/cairo/MetafileDC.h"

#include <algorithm>
#include <cmath>

namespace automenu::platform {

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
    PolyPoly(pts, counts, true);
}

void MetafileDC::PolyPolyline(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts) {
    PolyPoly(pts, counts, false);
}

void MetafileDC::PolyPoly(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts, bool closed) {
    if (!Spend(counts.size()) || !Admit(pts, closed) || !UseLogical()) return;
    if (!m_in_path) cairo_new_path(m_cr);
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

}  // namespace automenu::platform
