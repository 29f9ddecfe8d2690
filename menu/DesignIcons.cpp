#include "menu/DesignIcons.h"

#include <cmath>

namespace automenu {

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A disc seen from above: silver rim, blue label ring, a hole in the middle.
// Returns 0 outside the disc, 1 rim, 2 label, 3 shine, 4 hub.
int DiscPart(double x, double y) {
    const double cx = 15.5, cy = 15.5;
    double d = std::hypot(x - cx, y - cy);
    if (d > 15.2 || d < 2.6) return 0;
    if (d < 4.6) return 4;
    if (d > 13.6) return 1;
    double angle = std::atan2(y - cy, x - cx);
    if (angle > -2.4 && angle < -1.6 && d > 6.0) return 3;
    return 2;
}

}  // namespace

std::vector<std::uint8_t> DesignIconData() {
    constexpr int kSize = 32;
    constexpr std::uint32_t kImageBytes = 40 + 256 * 4 + kSize * kSize + kSize * kSize / 8;
    std::vector<std::uint8_t> out;
    out.reserve(6 + 16 + kImageBytes);
    Put16(out, 0);  // reserved
    Put16(out, 1);  // icon
    Put16(out, 1);  // one image
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);  // colours: 256 (0 = unlimited)
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 8);  // bits
    Put32(out, kImageBytes);
    Put32(out, 22);
    // BITMAPINFOHEADER: height counts colour and mask rows together.
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, kSize * 2);
    Put16(out, 1);
    Put16(out, 8);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    // Colour table (blue, green, red, reserved).
    const std::uint8_t palette[5][3] = {{0, 0, 0}, {200, 200, 200}, {176, 96, 32}, {255, 255, 255}, {120, 120, 120}};
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* c = i < 5 ? palette[i] : palette[0];
        out.push_back(c[0]);
        out.push_back(c[1]);
        out.push_back(c[2]);
        out.push_back(0);
    }
    // Pixel rows bottom-up.
    for (int row = kSize - 1; row >= 0; --row)
        for (int x = 0; x < kSize; ++x) out.push_back(static_cast<std::uint8_t>(DiscPart(x, row)));
    // AND mask: 1 = transparent.
    for (int row = kSize - 1; row >= 0; --row) {
        for (int byte = 0; byte < kSize / 8; ++byte) {
            std::uint8_t bits = 0;
            for (int b = 0; b < 8; ++b)
                if (DiscPart(byte * 8 + b, row) == 0) bits |= static_cast<std::uint8_t>(0x80 >> b);
            out.push_back(bits);
        }
    }
    return out;
}

PixelImage ApplicationIcon() {
    constexpr int kSize = 32;
    PixelImage image;
    image.width = kSize;
    image.height = kSize;
    image.has_alpha = true;
    image.pixels.resize(kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Supersample for soft edges.
            int counts[5] = {};
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) ++counts[DiscPart(x + (sx + 0.5) / 4 - 0.5, y + (sy + 0.5) / 4 - 0.5)];
            const double rgb[5][3] = {{0, 0, 0}, {0.80, 0.80, 0.84}, {0.13, 0.38, 0.72}, {0.85, 0.92, 1.0},
                                      {0.55, 0.55, 0.58}};
            double a = 0, r = 0, g = 0, b = 0;
            for (int p = 1; p < 5; ++p) {
                double w = counts[p] / 16.0;
                a += w;
                r += w * rgb[p][0];
                g += w * rgb[p][1];
                b += w * rgb[p][2];
            }
            // Premultiplied ARGB.
            auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(v * 255.0)); };
            image.pixels[y * kSize + x] = (byte(a) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
        }
    }
    return image;
}

}  // namespace automenu
