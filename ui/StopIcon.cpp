#include "ui/StopIcon.h"

#include <algorithm>
#include <cmath>

namespace automenu {

namespace {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;  // straight (not premultiplied), 0..1
};

// Paints `top` over `bottom` with the coverage `cover` (0..1).
Rgba Over(const Rgba& bottom, Rgba top, double cover) {
    top.a *= cover;
    const double a = top.a + bottom.a * (1 - top.a);
    if (a <= 0) return {};
    const auto mix = [&](double t, double b) { return (t * top.a + b * bottom.a * (1 - top.a)) / a; };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), a};
}

// How much of a pixel a shape covers, from the signed distance of the
// pixel's centre to the shape's edge (negative inside): a one-pixel ramp.
double Coverage(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

// Not std::hypot: that would make the program need a newer C library.
double Length(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return Length(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

PixelImage MakeStopIcon(int size) {
    PixelImage image;
    if (size <= 0) return image;
    image.width = image.height = size;
    image.has_alpha = true;
    image.pixels.resize(static_cast<std::size_t>(size) * size);

    // Proportions of the 32-pixel design; other sizes scale it.
    const double unit = size / 32.0;
    const double centre = 15.5 * unit;
    const double radius = 14.5 * unit;
    const double rim = 1.2 * unit;
    const double shadow_dx = 1.0 * unit, shadow_dy = 1.5 * unit, shadow_blur = 1.5 * unit;
    const double arm = 6.0 * unit;          // half the X's extent along each axis
    const double stroke = 2.1 * unit;       // half the X's stroke width
    const Rgba top_red{0.93, 0.30, 0.24, 1}, bottom_red{0.74, 0.05, 0.03, 1};
    const Rgba rim_red{0.50, 0.0, 0.0, 1};
    const Rgba white{1, 1, 1, 1};

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            Rgba p;
            // A soft shadow below and to the right.
            const double shadow = Length(px - centre - shadow_dx, py - centre - shadow_dy) - radius;
            p = Over(p, {0, 0, 0, 0.35}, std::clamp(0.5 - shadow / shadow_blur, 0.0, 1.0));
            // The disc: lighter at the top, then a darker rim at its edge.
            const double disc = Length(px - centre, py - centre) - radius;
            const double t = std::clamp((py - (centre - radius)) / (2 * radius), 0.0, 1.0);
            const Rgba fill{top_red.r + (bottom_red.r - top_red.r) * t, top_red.g + (bottom_red.g - top_red.g) * t,
                            top_red.b + (bottom_red.b - top_red.b) * t, 1};
            p = Over(p, Over(fill, rim_red, Coverage(-(disc + rim))), Coverage(disc));
            // The X: two strokes with rounded ends.
            const double cross = std::min(
                SegmentDistance(px, py, centre - arm, centre - arm, centre + arm, centre + arm),
                SegmentDistance(px, py, centre + arm, centre - arm, centre - arm, centre + arm));
            p = Over(p, white, Coverage(cross - stroke));

            const auto channel = [&](double c) {
                return static_cast<std::uint32_t>(std::lround(std::clamp(c * p.a, 0.0, 1.0) * 255));
            };
            const auto alpha = static_cast<std::uint32_t>(std::lround(std::clamp(p.a, 0.0, 1.0) * 255));
            image.pixels[static_cast<std::size_t>(y) * size + x] =
                (alpha << 24) | (channel(p.r) << 16) | (channel(p.g) << 8) | channel(p.b);
        }
    }
    return image;
}

}  // namespace automenu
