// What a metafile's records make and select: points, the GDI objects (pens,
// brushes, fonts, regions, palettes) with their constants, and the stock
// objects a device context starts from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "base/Types.h"
#include "formats/ByteReader.h"

namespace automenu::platform {

struct MfPoint {
    double x = 0;
    double y = 0;
};

// Pen styles (PS_*), brush styles (BS_*), map modes (MM_*) with their GDI values.
enum : std::uint32_t {
    PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5, PS_INSIDEFRAME = 6,
    PS_USERSTYLE = 7, PS_STYLE_MASK = 0xF, PS_ENDCAP_MASK = 0xF00, PS_JOIN_MASK = 0xF000, PS_GEOMETRIC = 0x10000,
    PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200,
    PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000,
};
enum : std::uint32_t {
    BS_SOLID = 0,
    BS_NULL = 1,
    BS_HATCHED = 2,
    BS_PATTERN = 3,
    BS_DIBPATTERN = 5,
    BS_DIBPATTERNPT = 6
};
enum : int {
    MM_TEXT = 1,
    MM_LOMETRIC,
    MM_HIMETRIC,
    MM_LOENGLISH,
    MM_HIENGLISH,
    MM_TWIPS,
    MM_ISOTROPIC,
    MM_ANISOTROPIC
};
enum : int { TRANSPARENT_BK = 1, OPAQUE_BK = 2 };
enum : std::uint32_t {
    TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_HMASK = 6, TA_BOTTOM = 8, TA_BASELINE = 24, TA_VMASK = 24,
};
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

struct MfPen {
    std::uint32_t style = PS_SOLID;
    double width = 0;  // logical units; 0 is one device pixel
    std::uint32_t colour = 0;
    std::vector<double> dashes;  // PS_USERSTYLE
};

struct MfBitmap;  // a decoded bitmap (MetafileBitmap.h)

struct MfBrush {
    std::uint32_t style = BS_SOLID;
    std::uint32_t colour = 0xFFFFFF;
    std::uint32_t hatch = 0;
    std::shared_ptr<const MfBitmap> pattern;  // BS_DIBPATTERN*
};

struct MfFont {
    int height = 0;  // logical: negative = character height, positive = cell height
    int escapement = 0;  // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    std::string face;
};

struct MfRegion {
    std::vector<TRect> rects;  // device units
};

// A logical palette: its entries as 0x00BBGGRR.
struct MfPalette {
    std::vector<std::uint32_t> entries;
};

// A corner of a gradient fill: a logical point and its colour (0x00BBGGRR).
struct MfVertex {
    MfPoint p;
    std::uint32_t colour = 0;
};

using MfObject = std::variant<std::monostate, MfPen, MfBrush, MfFont, MfPalette>;

// A colour's channels (0x00BBGGRR) as drawing libraries take them, 0 to 1.
inline double RedOf(std::uint32_t c) { return (c & 0xFF) / 255.0; }
inline double GreenOf(std::uint32_t c) { return ((c >> 8) & 0xFF) / 255.0; }
inline double BlueOf(std::uint32_t c) { return ((c >> 16) & 0xFF) / 255.0; }

// The stock pens and brushes by their GDI numbers (WHITE_BRUSH 0 to
// NULL_BRUSH 5, WHITE_PEN 6 to NULL_PEN 8); others give the default.
MfPen StockPen(std::uint32_t index);
MfBrush StockBrush(std::uint32_t index);

// A record's points, 16-bit (short_form) or 32-bit pairs. Throws ReadPastEnd
// when the record holds fewer.
std::vector<MfPoint> ReadPoints(ByteReader& r, std::size_t count, bool short_form);

}  // namespace automenu::platform
