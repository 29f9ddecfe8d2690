// Plain value types shared by every layer: geometry, colours, pixels, and
// Windows' integer arithmetic. Nothing here knows about SDL, cairo or pango.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace automenu {

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Sums and differences of coordinates wrap round at 32 bits, as they do on
// Windows: a position from a file may be anywhere in the int range, and an
// overflow must not be undefined behaviour.
constexpr int WrapAdd(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); }
constexpr int WrapSub(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b)); }
constexpr int WrapNeg(int a) { return WrapSub(0, a); }

// a * b / c rounded to the nearest integer, halves away from zero; like the Windows call, a zero divisor or a
// result that does not fit in an int gives -1.
constexpr int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const std::int64_t ap = p < 0 ? -p : p;
    const std::int64_t ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t q = (ap + ac / 2) / ac;
    if (negative) q = -q;
    if (q > INT32_MAX || q < INT32_MIN) return -1;
    return static_cast<int>(q);
}

// Right and bottom are exclusive, as on Windows.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static TRect FromBounds(int x, int y, int w, int h) { return {x, y, WrapAdd(x, w), WrapAdd(y, h)}; }
    int Width() const { return WrapSub(right, left); }
    int Height() const { return WrapSub(bottom, top); }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    TRect Offset(int dx, int dy) const {
        return {WrapAdd(left, dx), WrapAdd(top, dy), WrapAdd(right, dx), WrapAdd(bottom, dy)};
    }
    TRect Intersect(const TRect& o) const {
        TRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        if (r.IsEmpty()) return {};
        return r;
    }
    TRect Union(const TRect& o) const {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    bool Intersects(const TRect& o) const { return !Intersect(o).IsEmpty(); }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// A colour as the framework stores it: 0x00BBGGRR for an explicit colour, or
// with the top bit set, the index of a system colour in the low byte.
using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }

// System colour indices, numbered as on Windows so colours round-trip.
enum SystemColorIndex : int {
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_WINDOWTEXT = 8,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
};

constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);

// A resolved colour, ready to draw.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb RgbFromColorRef(TColor c) {
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
            static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

// Decoded pixels: premultiplied ARGB, one 32-bit word per pixel in native byte
// order, rows top-down with no padding. This is cairo's ARGB32 layout, and also
// what a Windows back end can hand to a 32-bit top-down DIB.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // False: every pixel is opaque and the image is copied, not blended.
    bool has_alpha = false;
    // Pixels per design unit: more than 1 for an image made at the resolution
    // of a scaled (high-DPI) window, which covers width / scale units there.
    double scale = 1.0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
};

// Font description as the framework interns it.
enum TFontStyle : std::uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};
using TFontStyles = std::uint8_t;

enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

constexpr std::uint8_t DEFAULT_CHARSET = 1;

struct FontDescription {
    int height = 0;  // pixels: negative = em height, positive = cell height, 0 = face default
    TFontPitch pitch = TFontPitch::fpDefault;
    TFontStyles style = 0;
    std::uint8_t charset = DEFAULT_CHARSET;
    std::string name;  // at most 31 characters
    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// Text drawing flags, with the values of the Windows text API so callers read
// the same everywhere.
enum DrawTextFlag : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_WORDBREAK = 0x10,
    DT_EXPANDTABS = 0x40,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

}  // namespace automenu
