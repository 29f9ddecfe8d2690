// The affine transforms of metafile playback (world, page, playback),
// with the same layout and the same arithmetic as cairo's matrices, so that a
// drawing back end can take them over field by field.
#pragma once

#include <cmath>

namespace automenu::platform {

// x' = xx * x + xy * y + x0, y' = yx * x + yy * y + y0.
struct MfMatrix {
    double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;

    static MfMatrix Scale(double sx, double sy, double x0 = 0, double y0 = 0) { return {sx, 0, 0, sy, x0, y0}; }

    void TransformPoint(double& x, double& y) const {
        TransformDistance(x, y);
        x += x0;
        y += y0;
    }
    void TransformDistance(double& dx, double& dy) const {
        const double new_x = xx * dx + xy * dy;
        const double new_y = yx * dx + yy * dy;
        dx = new_x;
        dy = new_y;
    }
    bool Finite() const {
        return std::isfinite(xx) && std::isfinite(yy) && std::isfinite(xy) && std::isfinite(yx) &&
               std::isfinite(x0) && std::isfinite(y0);
    }
    // The inverse, or false (and no change) when there is none.
    bool Invert();
    // The transform that applies `a` first, then `b`.
    friend MfMatrix Multiply(const MfMatrix& a, const MfMatrix& b) {
        MfMatrix r;
        r.xx = a.xx * b.xx + a.yx * b.xy;
        r.yx = a.xx * b.yx + a.yx * b.yy;
        r.xy = a.xy * b.xx + a.yy * b.xy;
        r.yy = a.xy * b.yx + a.yy * b.yy;
        r.x0 = a.x0 * b.xx + a.y0 * b.xy + b.x0;
        r.y0 = a.x0 * b.yx + a.y0 * b.yy + b.y0;
        return r;
    }
};

inline bool MfMatrix::Invert() {
    // Step by step as cairo inverts, so that both give the same bits.
    if (xy == 0 && yx == 0) {
        if (xx == 0 || yy == 0) return false;
        x0 = -x0;
        y0 = -y0;
        if (xx != 1) {
            xx = 1 / xx;
            x0 *= xx;
        }
        if (yy != 1) {
            yy = 1 / yy;
            y0 *= yy;
        }
        return true;
    }
    const double det = xx * yy - yx * xy;
    if (!std::isfinite(det) || det == 0) return false;
    const MfMatrix a = *this;
    const double scale = 1 / det;
    xx = a.yy * scale;
    yx = -a.yx * scale;
    xy = -a.xy * scale;
    yy = a.xx * scale;
    x0 = (a.xy * a.y0 - a.yy * a.x0) * scale;
    y0 = (a.yx * a.x0 - a.xx * a.y0) * scale;
    return true;
}

// Usable for drawing: finite and invertible.
inline bool Invertible(const MfMatrix& m) {
    MfMatrix copy = m;
    return copy.Invert() && m.Finite();
}

}  // namespace automenu::platform
