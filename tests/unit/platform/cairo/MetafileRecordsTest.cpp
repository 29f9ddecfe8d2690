// Record-level behaviour of the metafile player on small enhanced metafiles
// built here: each case draws on white and checks a few pixels.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "support/GraphicsTestSupport.h"
#include "support/MetafileBuilders.h"
#include "formats/MetafileReader.h"
#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/MetafilePlayer.h"

using automenu::platform::PlaybackReport;

namespace automenu::test {
namespace {

constexpr std::int64_t kStock = 0x80000000;
constexpr std::int64_t kBlackBrush = kStock | 4, kNullPen = kStock | 8;
enum : std::uint32_t {
    EMR_SETWINDOWEXTEX = 9, EMR_SETVIEWPORTEXTEX = 11, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18,
    EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30,
    EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35, EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_LINETO = 54,
    EMR_BEGINPATH = 59, EMR_ENDPATH = 60, EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62, EMR_FILLRGN = 71,
    EMR_STRETCHDIBITS = 81, EMR_ROUNDRECT = 44, EMR_CREATEDIBPATTERNBRUSHPT = 94, EMR_SELECTPALETTE = 48,
    EMR_CREATEPALETTE = 49, EMR_SETPALETTEENTRIES = 50, EMR_RESIZEPALETTE = 51,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84, EMR_POLYLINE16 = 87, EMR_GRADIENTFILL = 118,
};

std::int64_t FloatBits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

// Black brush, no outline: the usual start of a case.
Emf BlackFill() {
    Emf e;
    e.Record(EMR_SELECTOBJECT, {kBlackBrush}).Record(EMR_SELECTOBJECT, {kNullPen});
    return e;
}

Rgb Play(const MetafileBits& bits, int x, int y, PixelImage* all = nullptr) {
    platform::CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 100, 100));
    {
        platform::CairoCanvas canvas(platform::CairoContextPtr(cairo_create(surface.get())));
        canvas.FillRect({0, 0, 100, 100}, {255, 255, 255});
        canvas.DrawImage(canvas.RenderMetafile(bits, {0, 0, 100, 100}, {100, 100}, {1280, 1024}), 0, 0);
    }
    cairo_surface_flush(surface.get());
    const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface.get()));
    const int stride = cairo_image_surface_get_stride(surface.get()) / 4;
    if (all) {
        all->width = all->height = 100;
        all->pixels.clear();
        for (int j = 0; j < 100; ++j)
            for (int i = 0; i < 100; ++i) all->pixels.push_back(data[j * stride + i] | 0xFF000000u);
    }
    const std::uint32_t px = data[y * stride + x];
    return {static_cast<std::uint8_t>(px >> 16), static_cast<std::uint8_t>(px >> 8), static_cast<std::uint8_t>(px)};
}

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

struct Probe {
    int x, y;
    Rgb expected;
};

TEST(MetafileRecords, DrawingStateAndShapes) {
    struct Row {
        const char* why;
        MetafileBits bits;
        std::vector<Probe> probes;
    };
    std::vector<Row> rows;
    rows.push_back({"plain rectangle", BlackFill().Record(EMR_RECTANGLE, {10, 10, 50, 50}).Bits(),
                    {{30, 30, kBlack}, {70, 70, kWhite}}});
    rows.push_back({"unknown record skipped",
                    BlackFill().Record(0x4321, {1, 2, 3}).Record(EMR_RECTANGLE, {10, 10, 50, 50}).Bits(),
                    {{30, 30, kBlack}}});
    rows.push_back({"record of size 0 ends playback",
                    BlackFill().Raw(0x4321, 0, {}).Record(EMR_RECTANGLE, {10, 10, 50, 50}).Bits(),
                    {{30, 30, kWhite}}});
    rows.push_back({"record size not a multiple of 4 ends playback",
                    BlackFill().Raw(0x4321, 10, {0}).Record(EMR_RECTANGLE, {10, 10, 50, 50}).Bits(),
                    {{30, 30, kWhite}}});
    rows.push_back({"record larger than what is left ends playback",
                    BlackFill().Raw(EMR_RECTANGLE, 4000, {10, 10, 50, 50}).Bits(), {{30, 30, kWhite}}});
    rows.push_back({"short record skipped, playback goes on",
                    BlackFill().Record(EMR_RECTANGLE, {10, 10}).Record(EMR_ELLIPSE, {50, 50, 90, 90}).Bits(),
                    {{30, 30, kWhite}, {70, 70, kBlack}}});
    rows.push_back(
        {"intersect clip rectangle",
         BlackFill().Record(EMR_INTERSECTCLIPRECT, {0, 0, 40, 100}).Record(EMR_RECTANGLE, {10, 10, 90, 90}).Bits(),
         {{20, 50, kBlack}, {60, 50, kWhite}}});
    rows.push_back(
        {"exclude clip rectangle",
         BlackFill().Record(EMR_EXCLUDECLIPRECT, {40, 0, 100, 100}).Record(EMR_RECTANGLE, {10, 10, 90, 90}).Bits(),
         {{20, 50, kBlack}, {60, 50, kWhite}}});
    rows.push_back({"restore DC restores the clip",
                    BlackFill()
                        .Record(EMR_SAVEDC, {})
                        .Record(EMR_INTERSECTCLIPRECT, {0, 0, 40, 100})
                        .Record(EMR_RESTOREDC, {-1})
                        .Record(EMR_RECTANGLE, {10, 10, 90, 90})
                        .Bits(),
                    {{60, 50, kBlack}}});
    rows.push_back({"anisotropic window and viewport",
                    BlackFill()
                        .Record(EMR_SETMAPMODE, {8})
                        .Record(EMR_SETWINDOWEXTEX, {10, 10})
                        .Record(EMR_SETVIEWPORTEXTEX, {100, 100})
                        .Record(EMR_RECTANGLE, {1, 1, 5, 5})
                        .Bits(),
                    {{30, 30, kBlack}, {60, 60, kWhite}}});
    rows.push_back({"world transform",
                    BlackFill()
                        .Record(EMR_SETWORLDTRANSFORM, {FloatBits(2), 0, 0, FloatBits(2), FloatBits(0), FloatBits(0)})
                        .Record(EMR_RECTANGLE, {5, 5, 20, 20})
                        .Bits(),
                    {{35, 35, kBlack}, {45, 45, kWhite}}});
    rows.push_back({"solid brush and pen colours",
                    Emf()
                        .Record(EMR_CREATEBRUSHINDIRECT, {1, 0, 0x0000FF, 0})
                        .Record(EMR_CREATEPEN, {2, 0, 10, 0, 0xFF0000})
                        .Record(EMR_SELECTOBJECT, {1})
                        .Record(EMR_SELECTOBJECT, {2})
                        .Record(EMR_RECTANGLE, {20, 20, 80, 80})
                        .Bits(),
                    {{50, 50, kRed}, {20, 50, kBlue}, {5, 5, kWhite}}});
    rows.push_back({"path filled",
                    BlackFill()
                        .Record(EMR_BEGINPATH, {})
                        .Record(EMR_MOVETOEX, {10, 10})
                        .Record(EMR_LINETO, {90, 10})
                        .Record(EMR_LINETO, {10, 90})
                        .Record(EMR_CLOSEFIGURE, {})
                        .Record(EMR_ENDPATH, {})
                        .Record(EMR_FILLPATH, {0, 0, 100, 100})
                        .Bits(),
                    {{20, 20, kBlack}, {80, 80, kWhite}}});
    rows.push_back({"16-bit polyline with a wide pen",
                    Emf()
                        .Record(EMR_CREATEPEN, {1, 0, 10, 0, 0x00FF00})
                        .Record(EMR_SELECTOBJECT, {1})
                        .Record(EMR_POLYLINE16, {0, 0, 100, 100, 2, (50 << 16) | 10, (50 << 16) | 90})
                        .Bits(),
                    {{50, 50, kGreen}, {50, 30, kWhite}}});
    // The default pen, one pixel wide, paints the pixels its coordinates
    // name, the last point left out.
    rows.push_back({"one-pixel pen across",
                    Emf().Record(EMR_MOVETOEX, {10, 50}).Record(EMR_LINETO, {90, 50}).Bits(),
                    {{10, 50, kBlack}, {89, 50, kBlack}, {90, 50, kWhite}, {50, 49, kWhite}, {50, 51, kWhite}}});
    rows.push_back({"one-pixel pen down",
                    Emf().Record(EMR_MOVETOEX, {50, 10}).Record(EMR_LINETO, {50, 90}).Bits(),
                    {{50, 10, kBlack}, {50, 89, kBlack}, {50, 90, kWhite}, {49, 50, kWhite}, {51, 50, kWhite}}});
    rows.push_back({"three-pixel pen across, centred on its row",
                    Emf()
                        .Record(EMR_CREATEPEN, {1, 0, 3, 0, 0})
                        .Record(EMR_SELECTOBJECT, {1})
                        .Record(EMR_MOVETOEX, {10, 50})
                        .Record(EMR_LINETO, {90, 50})
                        .Bits(),
                    {{50, 49, kBlack}, {50, 50, kBlack}, {50, 51, kBlack}, {50, 48, kWhite}, {50, 52, kWhite}}});
    rows.push_back({"ellipse", BlackFill().Record(EMR_ELLIPSE, {10, 10, 90, 90}).Bits(),
                    {{50, 50, kBlack}, {13, 13, kWhite}}});
    // A region of one rectangle, in device units (pixels here).
    auto fill_region = [](Emf e, std::int64_t brush) {
        return e.Record(EMR_FILLRGN, {0, 0, 100, 100, 48, brush, 32, 1, 1, 16, 10, 10, 50, 50, 10, 10, 50, 50}).Bits();
    };
    rows.push_back({"region filled with a created brush",
                    fill_region(Emf().Record(EMR_CREATEBRUSHINDIRECT, {1, 0, 0xFF0000, 0}), 1),
                    {{30, 30, kBlue}, {70, 70, kWhite}}});
    rows.push_back({"region filled with the DC brush, white by default",
                    fill_region(BlackFill().Record(EMR_RECTANGLE, {0, 0, 100, 100}), kStock | 18),
                    {{30, 30, kWhite}, {70, 70, kBlack}}});
    // Palette-index colours (0x01 in the top byte) through the selected
    // palette; without one, through the default palette (13 is red).
    auto palette_fill = [](Emf e, std::int64_t colour) {
        return e.Record(EMR_CREATEBRUSHINDIRECT, {9, 0, colour, 0})
            .Record(EMR_SELECTOBJECT, {9})
            .Record(EMR_SELECTOBJECT, {kNullPen})
            .Record(EMR_RECTANGLE, {10, 10, 90, 90})
            .Bits();
    };
    // A palette of two entries, blue and green, selected.
    auto blue_green = [] {
        return Emf()
            .Record(EMR_CREATEPALETTE, {1, 0x300 | 2 << 16, 0xFF0000, 0x00FF00})
            .Record(EMR_SELECTPALETTE, {1});
    };
    rows.push_back({"palette index through the selected palette", palette_fill(blue_green(), 0x01000001),
                    {{50, 50, kGreen}}});
    rows.push_back({"palette index without a palette: the default palette's", palette_fill(Emf(), 0x0100000D),
                    {{50, 50, kRed}}});
    rows.push_back({"palette index past the palette's end: its first entry", palette_fill(blue_green(), 0x01000005),
                    {{50, 50, kBlue}}});
    rows.push_back({"palette entries changed after it was selected",
                    palette_fill(blue_green().Record(EMR_SETPALETTEENTRIES, {1, 1, 1, 0x0000FF}), 0x01000001),
                    {{50, 50, kRed}}});
    rows.push_back({"palette made larger: new entries are black",
                    palette_fill(blue_green().Record(EMR_RESIZEPALETTE, {1, 4}), 0x01000003), {{50, 50, kBlack}}});
    rows.push_back({"restore DC selects the palette it had",
                    palette_fill(Emf()
                                     .Record(EMR_CREATEPALETTE, {1, 0x300 | 1 << 16, 0xFF0000})
                                     .Record(EMR_SAVEDC, {})
                                     .Record(EMR_SELECTPALETTE, {1})
                                     .Record(EMR_RESTOREDC, {-1}),
                                 0x0100000D),
                    {{50, 50, kRed}}});
    rows.push_back({"RGB colour with the palette-relative flag", palette_fill(blue_green(), 0x020000FF),
                    {{50, 50, kRed}}});
    rows.push_back({"pen colour through the palette",
                    blue_green()
                        .Record(EMR_CREATEPEN, {2, 0, 10, 0, 0x01000000})
                        .Record(EMR_SELECTOBJECT, {2})
                        .Record(EMR_MOVETOEX, {10, 50})
                        .Record(EMR_LINETO, {90, 50})
                        .Bits(),
                    {{50, 50, kBlue}}});
    // A 2 x 2 bottom-up DIB: bottom row red, green; top row blue, white.
    rows.push_back({"stretched DIB",
                    Emf()
                        .Record(EMR_STRETCHDIBITS, {0, 0, 100, 100, 0, 0, 0, 0, 2, 2,
                                                    80, 40, 120, 16, 0, 0x00CC0020, 100, 100,
                                                    40, 2, 2, (24 << 16) | 1, 0, 16, 0, 0, 0, 0,
                                                    0x00FF0000, 0x000000FF, 0xFF0000FF, 0x0000FFFF})
                        .Bits(),
                    {{25, 75, kRed}, {75, 75, kGreen}, {25, 25, kBlue}, {75, 25, kWhite}}});
    for (Row& row : rows) {
        SCOPED_TRACE(row.why);
        for (const Probe& p : row.probes) EXPECT_EQ(Play(row.bits, p.x, p.y), p.expected) << p.x << "," << p.y;
    }
}

TEST(MetafileRecords, PlaysInTheCanvasOwnCoordinates) {
    // A control at (30, 20), clipped to 40 x 40: the picture moves with it and stops at the clip.
    platform::CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 100, 100));
    {
        platform::CairoCanvas canvas(platform::CairoContextPtr(cairo_create(surface.get())));
        canvas.FillRect({0, 0, 100, 100}, {255, 255, 255});
        canvas.Translate(30, 20);
        canvas.IntersectClip({0, 0, 40, 40});
        const PixelImage image = canvas.RenderMetafile(BlackFill().Record(EMR_RECTANGLE, {0, 0, 100, 100}).Bits(),
                                                       {0, 0, 100, 100}, {100, 100}, {1280, 1024});
        canvas.DrawImage(image, 0, 0);
    }
    cairo_surface_flush(surface.get());
    const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface.get()));
    const int stride = cairo_image_surface_get_stride(surface.get()) / 4;
    auto black = [&](int x, int y) { return (data[y * stride + x] & 0xFFFFFF) == 0; };
    EXPECT_TRUE(black(31, 21));
    EXPECT_TRUE(black(68, 58));
    EXPECT_FALSE(black(29, 21));
    EXPECT_FALSE(black(31, 19));
    EXPECT_FALSE(black(71, 50));
    EXPECT_FALSE(black(50, 61));
}

TEST(MetafileRecords, HatchedBrushLeavesTheBackgroundBetweenLines) {
    PixelImage img;
    Play(Emf()
             .Record(EMR_SETBKMODE, {1})                      // transparent
             .Record(EMR_CREATEBRUSHINDIRECT, {1, 2, 0, 4})  // black cross hatch
             .Record(EMR_SELECTOBJECT, {1})
             .Record(EMR_SELECTOBJECT, {kNullPen})
             .Record(EMR_RECTANGLE, {0, 0, 100, 100})
             .Bits(),
         0, 0, &img);
    int black = 0;
    for (std::uint32_t px : img.pixels) black += (px & 0xFFFFFF) == 0;
    // A cross of one line in every 8 pixels each way covers 15 of 64 pixels.
    EXPECT_NEAR(black / 10000.0, 15.0 / 64, 0.03);
}

// A 40-pixel DejaVu Sans selected, red, on a transparent background.
Emf RedFont() {
    Emf e;
    e.Record(EMR_SETTEXTCOLOR, {0x0000FF}).Record(EMR_SETBKMODE, {1});
    const char16_t face[] = u"DejaVu Sans";
    std::int64_t words[16] = {};
    for (int i = 0; i < 11; ++i) words[i / 2] |= static_cast<std::int64_t>(face[i]) << (16 * (i % 2));
    e.Put(EMR_EXTCREATEFONTINDIRECTW);
    e.Put(8 + 4 + 92);
    e.Put(1);
    for (std::int64_t v : {-40, 0, 0, 0, 400}) e.Put(static_cast<std::uint32_t>(v));
    e.Put(0);  // italic, underline, strike-out, charset
    e.Put(0);  // precision, quality, pitch
    for (std::int64_t w : words) e.Put(static_cast<std::uint32_t>(w));
    e.Record(EMR_SELECTOBJECT, {1});
    return e;
}

// A 40-pixel red "W" at (20, 20), aligned by its top.
Emf BlueW() {
    Emf e = RedFont();
    // EMR_EXTTEXTOUTW: bounds, mode, scales, then EMRTEXT with the string at offset 76.
    e.Record(EMR_EXTTEXTOUTW, {0, 0, 100, 100, 1, 0, 0, 20, 20, 1, 76, 0, 0, 0, 0, 0, 0, 'W'});
    return e;
}

TEST(MetafileRecords, WideTextIsDrawnInTheTextColour) {
    Emf e = BlueW();
    PixelImage img;
    Play(e.Bits(), 0, 0, &img);
    int red = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const std::uint32_t px = img.pixels[y * 100 + x] & 0xFFFFFF;
            if (px == 0xFF0000) {
                if (x >= 18 && x < 70 && y >= 18 && y < 70) ++red;
                else ++outside;
            }
        }
    EXPECT_GT(red, 50);
    EXPECT_EQ(outside, 0);
}

// EMR_EXTTEXTOUTW words: bounds, mode, scales, then EMRTEXT with the string
// at offset 76 and the advances (pairs with ETO_PDY) after it.
std::vector<std::int64_t> TextWords(int x, int y, std::u16string_view units, std::vector<int> dx,
                                    std::uint32_t options = 0, std::array<int, 4> rect = {}) {
    const std::size_t string_words = (units.size() + 1) / 2;
    const std::int64_t off_dx = dx.empty() ? 0 : 76 + 4 * static_cast<std::int64_t>(string_words);
    std::vector<std::int64_t> w = {
        0,  0,       -1,      -1,      1,       0,       0,     x, y, static_cast<std::int64_t>(units.size()),
        76, options, rect[0], rect[1], rect[2], rect[3], off_dx};
    for (std::size_t i = 0; i < units.size(); i += 2)
        w.push_back(units[i] | (i + 1 < units.size() ? std::int64_t{units[i + 1]} << 16 : 0));
    w.insert(w.end(), dx.begin(), dx.end());
    return w;
}

// Black 40-pixel DejaVu Sans on a transparent background, aligned as asked.
Emf TextSetUp(std::uint32_t align) {
    Emf e = RedFont();
    e.Record(EMR_SETTEXTCOLOR, {0}).Record(22 /* EMR_SETTEXTALIGN */, {align});
    return e;
}

// The columns (or rows) of the picture with ink in them, as [first, last] spans.
std::vector<std::pair<int, int>> InkSpans(const PixelImage& img, bool columns) {
    std::vector<std::pair<int, int>> spans;
    for (int i = 0; i < 100; ++i) {
        bool ink = false;
        for (int j = 0; j < 100 && !ink; ++j) {
            const std::uint32_t px = img.pixels[columns ? j * 100 + i : i * 100 + j];
            ink = (px & 0xFF) < 128;
        }
        if (!ink) continue;
        if (!spans.empty() && spans.back().second == i - 1)
            spans.back().second = i;
        else
            spans.push_back({i, i});
    }
    return spans;
}

enum : std::uint32_t { TA_BASELINE = 24, TA_RIGHT = 2, TA_CENTER = 6, TA_UPDATECP = 1 };
enum : std::uint32_t {
    EMR_POLYTEXTOUTW = 97,
    ETO_OPAQUE = 2,
    ETO_CLIPPED = 4,
    ETO_GLYPH_INDEX = 0x10,
    ETO_PDY = 0x2000
};

TEST(MetafileRecords, TextIsPlacedByTheRecordsAdvances) {
    // Two letters I (a stem 4 pixels wide, 4 pixels right of the origin)
    // 60 pixels apart: where each lands.
    constexpr int kBearing = 4;
    auto two_is = [](std::uint32_t align, int x, std::vector<int> dx, std::uint32_t options = 0) {
        return TextSetUp(align).Record(EMR_EXTTEXTOUTW, TextWords(x, 60, u"II", std::move(dx), options));
    };
    struct Row {
        const char* why;
        Emf emf;
        std::vector<int> starts;  // each I's origin
    } rows[] = {
        {"left: from the reference point", two_is(TA_BASELINE, 10, {60, 7}), {10, 70}},
        {"right: the advances' sum ends there", two_is(TA_BASELINE | TA_RIGHT, 90, {60, 10}), {20, 80}},
        {"centre: half the sum each side", two_is(TA_BASELINE | TA_CENTER, 50, {60, 10}), {15, 75}},
        {"negative advances go back", two_is(TA_BASELINE, 70, {-60, 7}), {10, 70}},
        {"glyph indices (44 is I) placed alike",
         TextSetUp(TA_BASELINE).Record(EMR_EXTTEXTOUTW, TextWords(10, 60, u"\x2C\x2C", {60, 7}, ETO_GLYPH_INDEX)),
         {10, 70}},
        {"the current position moves by the advances",
         TextSetUp(TA_BASELINE | TA_UPDATECP)
             .Record(EMR_MOVETOEX, {10, 60})
             .Record(EMR_EXTTEXTOUTW, TextWords(0, 0, u"I", {45}))
             .Record(EMR_EXTTEXTOUTW, TextWords(0, 0, u"I", {5})),
         {10, 55}},
        {"EMR_POLYTEXTOUTW: each string at its own point",
         [] {
             std::vector<std::int64_t> w = {0, 0, -1, -1, 1, 0, 0, 2};
             // Two EMRTEXTs; the strings and advances follow them (offsets from the record's start).
             const std::int64_t base = 8 + 32 + 2 * 40;
             for (int k = 0; k < 2; ++k)
                 w.insert(w.end(), {20 + 50 * k, 60, 1, base + 8 * k, 0, 0, 0, 0, 0, base + 8 * k + 4});
             w.insert(w.end(), {'I', 10, 'I', 10});
             return TextSetUp(TA_BASELINE).Record(EMR_POLYTEXTOUTW, w);
         }(),
         {20, 70}},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.why);
        PixelImage img;
        Play(row.emf.Bits(), 0, 0, &img);
        const auto spans = InkSpans(img, true);
        ASSERT_EQ(spans.size(), row.starts.size());
        for (std::size_t i = 0; i < spans.size(); ++i) {
            EXPECT_NEAR(spans[i].first, row.starts[i] + kBearing, 1) << i;
            EXPECT_LE(spans[i].second - spans[i].first, 7) << i;
        }
    }
}

TEST(MetafileRecords, TextOffsetsBoxesAndGlyphIndices) {
    auto image = [](Emf e) {
        PixelImage img;
        Play(e.Bits(), 0, 0, &img);
        return img;
    };
    // ETO_PDY: the second I 35 pixels up, the third back down.
    const auto rows_of_ink =
        InkSpans(image(TextSetUp(TA_BASELINE)
                           .Record(EMR_EXTTEXTOUTW, TextWords(10, 75, u"III", {30, 35, 30, -35, 30, 0}, ETO_PDY))),
                 false);
    ASSERT_EQ(rows_of_ink.size(), 2u);
    EXPECT_NEAR(rows_of_ink[1].first - rows_of_ink[0].first, 35, 1);

    // Glyph indices draw the font's glyphs: the same pixels as the characters.
    const std::vector<int> advances = {20, 40};
    EXPECT_EQ(
        image(TextSetUp(TA_BASELINE).Record(EMR_EXTTEXTOUTW, TextWords(5, 60, u"\x2C\x50", advances, ETO_GLYPH_INDEX)))
            .pixels,
        image(TextSetUp(TA_BASELINE).Record(EMR_EXTTEXTOUTW, TextWords(5, 60, u"Im", advances))).pixels);

    // A Windows metafile's META_EXTTEXTOUT: its 16-bit advances after the string.
    {
        Wmf w;
        w.Record(0x02FB /* META_CREATEFONTINDIRECT */, {-40, 0, 0, 0, 400, 0, 0, 0, 0, 'D' | 'e' << 8, 'j' | 'a' << 8,
                                                        'V' | 'u' << 8, ' ' | 'S' << 8, 'a' | 'n' << 8, 's'})
            .Record(0x012D /* META_SELECTOBJECT */, {0})
            .Record(0x012E /* META_SETTEXTALIGN */, {TA_BASELINE})
            .Record(0x0A32 /* META_EXTTEXTOUT */, {60, 10, 2, 0, 'I' | 'I' << 8, 60, 7});
        PixelImage img;
        Play(w.Bits(), 0, 0, &img);
        const auto spans = InkSpans(img, true);
        ASSERT_EQ(spans.size(), 2u);
        EXPECT_EQ(spans[1].first - spans[0].first, 60);
    }

    // ETO_OPAQUE fills the box with the background colour; ETO_CLIPPED cuts
    // the text to it.
    const auto boxed = [&](std::uint32_t options) {
        return image(TextSetUp(TA_BASELINE)
                         .Record(25 /* EMR_SETBKCOLOR */, {0x0000FF})
                         .Record(EMR_EXTTEXTOUTW, TextWords(10, 60, u"II", {60, 7}, options, {5, 30, 50, 70})));
    };
    const PixelImage opaque = boxed(ETO_OPAQUE), clipped = boxed(ETO_CLIPPED);
    EXPECT_EQ(opaque.pixels[40 * 100 + 30] & 0xFFFFFF, 0xFF0000u);  // inside the box, not under a letter
    EXPECT_EQ(opaque.pixels[80 * 100 + 30] & 0xFFFFFF, 0xFFFFFFu);  // outside it
    EXPECT_EQ(InkSpans(opaque, true).size(), 2u);                   // the box (with the first I), and the second I
    EXPECT_EQ(InkSpans(clipped, true).size(), 1u);                  // only the first I
}

// The pixels of a played picture that are partly covered: neither left
// transparent nor painted fully.
int PartlyCovered(const PixelImage& image) {
    int n = 0;
    for (std::uint32_t px : image.pixels) n += (px >> 24) != 0 && (px >> 24) != 0xFF;
    return n;
}

TEST(MetafileRecords, EdgesAreWholePixelsAtScaleOneAndSmoothWhenScaled) {
    enum { EMR_SELECTCLIPPATH = 67 };
    struct Row {
        const char* why;
        MetafileBits bits;
        bool text;  // text keeps its grey edges at every scale
    } rows[] = {
        {"filled ellipse", BlackFill().Record(EMR_ELLIPSE, {10, 10, 90, 70}).Bits(), false},
        {"slanted wide line",
         Emf()
             .Record(EMR_CREATEPEN, {1, 0, 5, 0, 0})
             .Record(EMR_SELECTOBJECT, {1})
             .Record(EMR_MOVETOEX, {10, 10})
             .Record(EMR_LINETO, {90, 60})
             .Bits(),
         false},
        {"slanted one-pixel line", Emf().Record(EMR_MOVETOEX, {10, 90}).Record(EMR_LINETO, {90, 20}).Bits(), false},
        {"rotated rectangle",
         BlackFill()
             .Record(EMR_SETWORLDTRANSFORM,
                     {FloatBits(0.8f), FloatBits(0.6f), FloatBits(-0.6f), FloatBits(0.8f), FloatBits(50), FloatBits(0)})
             .Record(EMR_RECTANGLE, {10, 10, 60, 40})
             .Bits(),
         false},
        {"rectangle clipped to an ellipse",
         BlackFill()
             .Record(EMR_BEGINPATH, {})
             .Record(EMR_ELLIPSE, {10, 10, 90, 70})
             .Record(EMR_ENDPATH, {})
             .Record(EMR_SELECTCLIPPATH, {5})  // RGN_COPY
             .Record(EMR_RECTANGLE, {0, 0, 100, 100})
             .Bits(),
         false},
        {"text", BlueW().Bits(), true},
    };
    for (const Row& row : rows) {
        for (double scale : {1.0, 1.5, 2.0}) {
            SCOPED_TRACE(std::string(row.why) + " at scale " + std::to_string(scale));
            const int side = static_cast<int>(100 * scale);
            platform::CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, side, side));
            platform::CairoContextPtr cr(cairo_create(surface.get()));
            cairo_scale(cr.get(), scale, scale);
            platform::CairoCanvas canvas(std::move(cr));
            const PixelImage image = canvas.RenderMetafile(row.bits, {0, 0, 100, 100}, {100, 100}, {1280, 1024});
            ASSERT_EQ(image.width, side);
            int painted = 0;
            for (std::uint32_t px : image.pixels) painted += (px >> 24) != 0;
            EXPECT_GT(painted, 100);
            if (row.text || scale != 1.0) EXPECT_GT(PartlyCovered(image), 20);
            else EXPECT_EQ(PartlyCovered(image), 0);
        }
    }
}

// The lengths of the black and white runs along row y, from the left edge.
std::vector<int> RunsAlongRow(const PixelImage& image, int y) {
    std::vector<int> runs;
    bool black = false;
    for (int x = 0; x < image.width; ++x) {
        const bool b = (image.pixels[static_cast<std::size_t>(y) * image.width + x] & 0xFFFFFF) == 0;
        if (runs.empty() || b != black) runs.push_back(0);
        black = b;
        ++runs.back();
    }
    return runs;
}

TEST(MetafileRecords, CosmeticPensAreOnePixelWhateverTheTransform) {
    enum : std::uint32_t { PS_GEOMETRIC = 0x10000, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4 };
    enum { EMR_EXTCREATEPEN = 95 };
    // A pen drawn across row 50 under a world transform that scales by 4.
    auto across = [](std::uint32_t type, std::vector<std::int64_t> pen) {
        return Emf()
            .Record(type, pen)
            .Record(EMR_SELECTOBJECT, {1})
            .Record(EMR_SETWORLDTRANSFORM, {FloatBits(4), 0, 0, FloatBits(4), FloatBits(0), FloatBits(0)})
            .Record(EMR_MOVETOEX, {0, 12})
            .Record(EMR_LINETO, {25, 12})
            .Bits();
    };
    auto ext_pen = [](std::uint32_t style, std::int64_t width) {
        return std::vector<std::int64_t>{1, 0, 0, 0, 0, style, width, 0, 0, 0, 0};
    };
    struct Row {
        const char* why;
        MetafileBits bits;
        int rows;  // black rows at column 50
    } rows[] = {
        {"pen of width 0", across(EMR_CREATEPEN, {1, 0, 0, 0, 0}), 1},
        {"cosmetic pen of width 1", across(EMR_EXTCREATEPEN, ext_pen(0, 1)), 1},
        {"geometric pen of width 1", across(EMR_EXTCREATEPEN, ext_pen(PS_GEOMETRIC, 1)), 4},
        {"pen of width 1", across(EMR_CREATEPEN, {1, 0, 1, 0, 0}), 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        PixelImage img;
        Play(row.bits, 0, 0, &img);
        int black = 0;
        for (int y = 0; y < 100; ++y) black += (img.pixels[y * 100 + 50] & 0xFFFFFF) == 0;
        EXPECT_EQ(black, row.rows);
    }

    // Styled one-pixel pens: the GDI's dashes and gaps, in pixels, whatever the transform.
    struct Styled {
        std::uint32_t style;
        std::vector<int> runs;  // black, white ... from the line's start
    } styled[] = {
        {PS_DASH, {18, 6, 18, 6}},
        {PS_DOT, {3, 3, 3, 3}},
        {PS_DASHDOT, {9, 6, 3, 6, 9}},
        {PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3, 9}},
    };
    for (const Styled& s : styled) {
        SCOPED_TRACE(s.style);
        PixelImage img;
        Play(across(EMR_CREATEPEN, {1, s.style, 0, 0, 0}), 0, 0, &img);
        const std::vector<int> runs = RunsAlongRow(img, 48);
        ASSERT_GE(runs.size(), s.runs.size());
        EXPECT_EQ(std::vector<int>(runs.begin(), runs.begin() + static_cast<long>(s.runs.size())), s.runs);
    }
}

TEST(MetafileRecords, PenWidthsCapsJoinsAndStylesAsTheGdiDrawsThem) {
    enum : std::uint32_t {
        PS_GEOMETRIC = 0x10000, PS_DASH = 1, PS_USERSTYLE = 7, SQUARE = 0x100, FLAT = 0x200, BEVEL = 0x1000,
        MITER = 0x2000, EMR_EXTCREATEPEN = 95, EMR_POLYLINE = 4, EMR_SETMITERLIMIT = 58,
    };
    auto line = [](Emf e, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
        return e.Record(EMR_SELECTOBJECT, {1}).Record(EMR_MOVETOEX, {x1, y1}).Record(EMR_LINETO, {x2, y2}).Bits();
    };
    auto pen = [](std::int64_t style, std::int64_t width) {
        return Emf().Record(EMR_CREATEPEN, {1, style, width, 0, 0});
    };
    auto ext = [](std::uint32_t style, std::int64_t width, std::vector<std::int64_t> dashes = {}) {
        std::vector<std::int64_t> w = {1, 0, 0, 0, 0, PS_GEOMETRIC | style, width, 0, 0, 0,
                                       static_cast<std::int64_t>(dashes.size())};
        w.insert(w.end(), dashes.begin(), dashes.end());
        return Emf().Record(EMR_EXTCREATEPEN, w);
    };
    auto roof = [](Emf e) {  // a roof of width 10 with its ridge at (50, 20)
        return e.Record(EMR_SELECTOBJECT, {1}).Record(EMR_POLYLINE, {0, 0, 0, 0, 3, 20, 80, 50, 20, 80, 80}).Bits();
    };
    const std::int64_t one_and_half = FloatBits(1.5f);
    auto scaled = [&](std::int64_t width) {
        return line(pen(0, width).Record(EMR_SETWORLDTRANSFORM, {one_and_half, 0, 0, one_and_half, 0, 0}), 0, 30, 60,
                    30);
    };
    struct Row {
        const char* why;
        MetafileBits bits;
        std::vector<Probe> probes;
    } rows[] = {
        // The width is the x extent transformed: 8 units where x is halved are 4 pixels.
        {"width under a mapping that halves x",
         line(pen(0, 8).Record(EMR_SETMAPMODE, {8}).Record(EMR_SETWINDOWEXTEX, {2, 1}).Record(EMR_SETVIEWPORTEXTEX,
                                                                                                {1, 1}),
              0, 50, 200, 50),
         {{50, 47, kWhite}, {50, 48, kBlack}, {50, 51, kBlack}, {50, 52, kWhite}}},
        {"1.5 pixels are 2", scaled(1), {{30, 43, kWhite}, {30, 44, kBlack}, {30, 45, kBlack}, {30, 46, kWhite}}},
        {"4.5 pixels are 5", scaled(3), {{30, 42, kWhite}, {30, 43, kBlack}, {30, 47, kBlack}, {30, 48, kWhite}}},
        {"a dashed CreatePen wider than a pixel is solid", line(pen(PS_DASH, 3), 0, 50, 100, 50),
         {{19, 50, kBlack}, {20, 50, kBlack}, {21, 50, kBlack}, {22, 50, kBlack}, {23, 50, kBlack}}},
        {"flat ends", line(ext(FLAT, 10), 20, 50, 80, 50), {{18, 50, kWhite}, {21, 50, kBlack}, {81, 50, kWhite}}},
        {"square ends", line(ext(SQUARE, 10), 20, 50, 80, 50),
         {{16, 46, kBlack}, {83, 54, kBlack}, {14, 50, kWhite}}},
        {"round ends", line(ext(0, 10), 20, 50, 80, 50), {{16, 50, kBlack}, {16, 46, kWhite}}},
        {"miter join", roof(ext(FLAT | MITER, 10)), {{50, 11, kBlack}, {50, 16, kBlack}}},
        {"bevel join", roof(ext(FLAT | BEVEL, 10)), {{50, 11, kWhite}, {50, 16, kWhite}, {50, 19, kBlack}}},
        {"round join", roof(ext(FLAT, 10)), {{50, 11, kWhite}, {50, 16, kBlack}}},
        {"miter past its limit is bevelled", roof(ext(FLAT | MITER, 10).Record(EMR_SETMITERLIMIT, {1})),
         {{50, 11, kWhite}, {50, 16, kWhite}}},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.why);
        for (const Probe& p : row.probes) EXPECT_EQ(Play(row.bits, p.x, p.y), p.expected) << p.x << "," << p.y;
    }
    // A geometric pen's user style: its lengths as given, in logical units.
    PixelImage img;
    Play(line(ext(FLAT | PS_USERSTYLE, 4, {12, 4}), 0, 50, 100, 50), 0, 0, &img);
    const std::vector<int> runs = RunsAlongRow(img, 50);
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(std::vector<int>(runs.begin(), runs.begin() + 4), (std::vector<int>{12, 4, 12, 4}));
    // Opaque background: a styled pen's gaps are the background colour.
    Play(line(pen(PS_DASH, 0).Record(EMR_SETBKCOLOR, {0x0000FF}).Record(EMR_SETBKMODE, {2}), 0, 50, 100, 50), 0, 0,
         &img);
    EXPECT_EQ(img.pixels[50 * 100 + 20] & 0xFFFFFF, 0xFF0000u);  // red, in cairo's 0xRRGGBB
}

// A 2 x 2 24-bit DIB blitted over the whole picture by `rop`; pixels
// top-left, top-right, bottom-left, bottom-right.
std::vector<std::int64_t> Blit(std::uint32_t rop, std::array<std::uint32_t, 4> rgb) {
    auto bgr = [](std::uint32_t c) {
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                           static_cast<std::uint8_t>(c >> 16)};
    };
    std::vector<std::uint8_t> bytes;
    for (int row : {2, 0}) {  // bottom-up
        for (int i = 0; i < 2; ++i)
            for (std::uint8_t b : bgr(rgb[row + i])) bytes.push_back(b);
        bytes.insert(bytes.end(), {0, 0});
    }
    std::vector<std::int64_t> w = {0, 0, 100, 100, 0, 0, 0, 0, 2, 2, 80, 40, 120, 16, 0, rop, 100, 100,
                                   40, 2, 2, (24 << 16) | 1, 0, 16, 0, 0, 0, 0};
    for (std::size_t i = 0; i < bytes.size(); i += 4)
        w.push_back(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16 | static_cast<std::int64_t>(bytes[i + 3]) << 24);
    return w;
}

// The same over 100 x 200 logical units from x = 100: the right half under
// a world transform that halves them.
std::vector<std::int64_t> Blit2x(std::uint32_t rop, std::array<std::uint32_t, 4> rgb) {
    std::vector<std::int64_t> w = Blit(rop, rgb);
    w[4] = 100;   // destination x
    w[16] = 100;  // width
    w[17] = 200;  // and height
    return w;
}

TEST(MetafileRecords, RasterOperationsCombineWithWhatIsThere) {
    enum : std::uint32_t { EMR_SETROP2 = 20, EMR_BITBLT = 76 };
    constexpr Rgb kMagenta{255, 0, 255}, kCyan{0, 255, 255}, kYellow{255, 255, 0};
    // Red on the left half; nothing drawn on the right, where white shows.
    auto red_left = [] {
        Emf e = BlackFill();
        e.Record(EMR_CREATEBRUSHINDIRECT, {1, 0, 0x0000FF, 0}).Record(EMR_SELECTOBJECT, {1});
        e.Record(EMR_RECTANGLE, {0, 0, 50, 100});
        return e;
    };
    auto brush = [](Emf e, std::uint32_t colour) {
        return e.Record(EMR_CREATEBRUSHINDIRECT, {2, 0, colour, 0}).Record(EMR_SELECTOBJECT, {2});
    };
    auto mix = [&](int mode, std::uint32_t colour) {
        return brush(red_left(), colour).Record(EMR_SETROP2, {mode}).Record(EMR_RECTANGLE, {0, 0, 100, 100}).Bits();
    };
    auto pattern_blit = [&](std::uint32_t rop) {
        return brush(red_left(), 0xFF0000)
            .Record(EMR_BITBLT, {0, 0, 99, 99, 0, 0, 100, 100, rop, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0, 0, 0,
                                 0, 0, 0, 0, 0})
            .Bits();
    };
    const MetafileBits null_brush_blit =
        red_left()
            .Record(EMR_SELECTOBJECT, {kStock | 5})
            .Record(EMR_BITBLT, {0, 0, 99, 99, 0, 0, 100, 100, 0x00F00021, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0,
                                 0, 0, 0, 0, 0, 0, 0})
            .Bits();
    const std::array<std::uint32_t, 4> mask = {0xFFFFFF, 0, 0, 0xFFFFFF}, image = {0, 0x00FF00, 0x00FF00, 0};
    struct Row {
        const char* why;
        MetafileBits bits;
        Rgb over_red, over_nothing;
    } rows[] = {
        {"R2_XORPEN", mix(7, 0xFF0000), kMagenta, kYellow},
        {"R2_NOT", mix(6, 0xFF0000), kCyan, kBlack},
        {"R2_MASKPEN", mix(9, 0x00FF00), kBlack, kGreen},
        {"R2_MERGEPEN", mix(15, 0xFF0000), kMagenta, kWhite},
        {"R2_NOP", mix(11, 0xFF0000), kRed, kWhite},
        {"R2_BLACK", mix(1, 0xFF0000), kBlack, kBlack},
        {"R2_WHITE", mix(16, 0xFF0000), kWhite, kWhite},
        {"R2_COPYPEN", mix(13, 0xFF0000), kBlue, kBlue},
        {"PATINVERT", pattern_blit(0x005A0049), kMagenta, kYellow},
        {"DSTINVERT", pattern_blit(0x00550009), kCyan, kBlack},
        {"PATCOPY", pattern_blit(0x00F00021), kBlue, kBlue},
        {"PATCOPY with the null brush", null_brush_blit, kRed, kWhite},
        {"BLACKNESS", pattern_blit(0x00000042), kBlack, kBlack},
        {"WHITENESS", pattern_blit(0x00FF0062), kWhite, kWhite},
        {"MERGECOPY: brush AND bitmap", brush(red_left(), 0xFF0000).Record(EMR_STRETCHDIBITS, Blit(0x00C000CA, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF})).Bits(), kBlue, kBlue},
        {"R2_XORPEN under a world transform",
         brush(red_left(), 0xFF0000)
             .Record(EMR_SETWORLDTRANSFORM, {FloatBits(0.5f), 0, 0, FloatBits(0.5f), 0, 0})
             .Record(EMR_SETROP2, {7})
             .Record(EMR_RECTANGLE, {100, 0, 200, 200})
             .Bits(),
         kRed, kYellow},
        {"NOTSRCCOPY under a world transform",
         red_left()
             .Record(EMR_SETWORLDTRANSFORM, {FloatBits(0.5f), 0, 0, FloatBits(0.5f), 0, 0})
             .Record(EMR_STRETCHDIBITS, Blit2x(0x00330008, {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}))
             .Bits(),
         kRed, kCyan},
        {"NOTSRCCOPY", red_left().Record(EMR_STRETCHDIBITS, Blit(0x00330008, {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000})).Bits(), kCyan, kCyan},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(Play(row.bits, 25, 50), row.over_red);
        EXPECT_EQ(Play(row.bits, 75, 50), row.over_nothing);
    }
    // Mask pairs: AND the mask, then OR or XOR the image. The mask's white
    // quarters show what was below, drawn or not; its black ones the image.
    for (std::uint32_t second : {0x00EE0086u, 0x00660046u}) {
        SCOPED_TRACE(second);
        const MetafileBits pair = red_left()
                                      .Record(EMR_STRETCHDIBITS, Blit(0x008800C6, mask))
                                      .Record(EMR_STRETCHDIBITS, Blit(second, image))
                                      .Bits();
        EXPECT_EQ(Play(pair, 25, 25), kRed);
        EXPECT_EQ(Play(pair, 75, 25), kGreen);
        EXPECT_EQ(Play(pair, 25, 75), kGreen);
        EXPECT_EQ(Play(pair, 75, 75), kWhite);
        // Where nothing was drawn the picture stays transparent.
        const PixelImage picture = platform::RenderMetafileImage(pair, {0, 0, 100, 100}, {100, 100}, {1280, 1024});
        EXPECT_EQ(picture.pixels[75 * 100 + 75] >> 24, 0u);
        EXPECT_EQ(picture.pixels[25 * 100 + 75] >> 24, 255u);
    }
}

// EMR_GRADIENTFILL words: bounds, counts and mode, grey vertices {x, y, level}
// with alpha 0 (which the fill ignores), then the index words as given.
std::vector<std::int64_t> Gradient(std::uint32_t mode, std::int64_t shapes,
                                   std::initializer_list<std::array<std::int64_t, 3>> vertices,
                                   std::initializer_list<std::int64_t> indices) {
    std::vector<std::int64_t> w = {0, 0, 0, 0, static_cast<std::int64_t>(vertices.size()), shapes, mode};
    for (const auto& [x, y, level] : vertices) w.insert(w.end(), {x, y, level << 8 | level << 24, level << 8});
    w.insert(w.end(), indices);
    return w;
}

TEST(MetafileRecords, GradientFill) {
    struct GreyProbe {
        int x, y, level;
    };
    struct Row {
        const char* why;
        std::vector<std::int64_t> record;
        std::vector<GreyProbe> probes;
    };
    constexpr std::int64_t kHuge = 1 << 30;
    auto too_many_vertices = Gradient(0, 1, {{10, 10, 0}, {90, 50, 200}}, {0, 1, 0});
    too_many_vertices[4] = 1000;
    const std::vector<Row> rows = {
        {"across, colours from the high bytes, alpha ignored",
         Gradient(0, 1, {{10, 10, 0}, {90, 50, 200}}, {0, 1, 0}),
         {{10, 30, 1}, {50, 30, 101}, {89, 30, 199}, {50, 55, 255}, {95, 30, 255}}},
        {"across from right to left: each corner keeps its colour",
         Gradient(0, 1, {{90, 10, 0}, {10, 50, 200}}, {0, 1, 0}), {{11, 30, 196}, {89, 30, 1}}},
        {"down", Gradient(1, 1, {{10, 10, 0}, {90, 90, 200}}, {0, 1, 0}), {{50, 10, 1}, {50, 50, 101}, {95, 50, 255}}},
        {"rectangle without the padding", Gradient(1, 1, {{10, 10, 0}, {90, 90, 200}}, {0, 1}), {{50, 50, 101}}},
        {"triangle shaded between its corners",
         Gradient(2, 1, {{10, 10, 0}, {90, 10, 240}, {10, 90, 0}}, {0, 1, 2}),
         {{50, 20, 121}, {20, 50, 31}, {80, 80, 255}}},
        {"two triangles meet without a seam",
         Gradient(2, 2, {{10, 10, 0}, {90, 10, 0}, {10, 90, 0}, {90, 90, 0}}, {0, 1, 2, 1, 3, 2}),
         {{49, 50, 0}, {29, 70, 0}, {69, 30, 0}}},
        // Shading it whole would take minutes; its level is 100 near the origin.
        {"a triangle billions of pixels wide is shaded where it is seen",
         Gradient(2, 1, {{-kHuge, 0, 0}, {kHuge, 0, 200}, {-kHuge, kHuge, 0}}, {0, 1, 2}),
         {{5, 50, 100}, {95, 95, 100}}},
        {"a rectangle billions of pixels wide", Gradient(0, 1, {{-kHuge, 10, 0}, {kHuge, 50, 200}}, {0, 1, 0}),
         {{5, 30, 100}, {95, 30, 100}, {50, 60, 255}}},
        {"more shapes than the record holds", Gradient(0, 1000, {{10, 10, 0}, {90, 50, 200}}, {0, 1, 0}),
         {{50, 30, 255}}},
        {"more vertices than the record holds", too_many_vertices, {{50, 30, 255}}},
        {"an index past the vertices refuses the whole record",
         Gradient(0, 2, {{10, 10, 0}, {90, 50, 200}}, {0, 1, 0, 5, 0, 0}), {{50, 30, 255}}},
        {"unknown mode", Gradient(3, 1, {{10, 10, 0}, {90, 50, 200}, {10, 50, 0}}, {0, 1, 2}), {{50, 30, 255}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const MetafileBits bits = Emf().Record(EMR_GRADIENTFILL, row.record).Bits();
        for (const GreyProbe& p : row.probes) {
            const Rgb got = Play(bits, p.x, p.y);
            for (int channel : {got.r, got.g, got.b}) EXPECT_NEAR(channel, p.level, 3) << p.x << "," << p.y;
        }
    }
}

enum : std::uint16_t {
    META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_RECTANGLE = 0x041B, META_SELECTOBJECT = 0x012D,
    META_DELETEOBJECT = 0x01F0, META_CREATEBRUSHINDIRECT = 0x02FC, META_CREATEPENINDIRECT = 0x02FA,
};

TEST(WindowsMetafileRecords, DrawingThroughTheSameState) {
    const std::initializer_list<std::int16_t> null_pen = {5, 0, 0, 0, 0};  // PS_NULL
    struct Row {
        const char* why;
        MetafileBits bits;
        std::vector<Probe> probes;
    };
    std::vector<Row> rows;
    rows.push_back({"rectangle, parameters bottom first",
                    Wmf()
                        .Record(META_CREATEBRUSHINDIRECT, {0, 0, 0, 0})
                        .Record(META_SELECTOBJECT, {0})
                        .Record(META_RECTANGLE, {50, 50, 10, 10})
                        .Bits(),
                    {{30, 30, kBlack}, {70, 70, kWhite}}});
    rows.push_back({"the placeable box maps onto the destination",
                    Wmf()
                        .Record(META_SETWINDOWEXT, {10, 10})  // y, x: the window now spans 0..10
                        .Record(META_CREATEBRUSHINDIRECT, {0, 0, 0, 0})
                        .Record(META_SELECTOBJECT, {0})
                        .Record(META_RECTANGLE, {5, 5, 0, 0})
                        .Bits(),
                    {{25, 25, kBlack}, {75, 75, kWhite}}});
    {
        // Objects take the lowest free slot: the pen reuses the red brush's slot 0,
        // so slot 1 is still the blue brush.
        Wmf w;
        w.Record(META_CREATEBRUSHINDIRECT, {0, 0x00FF, 0, 0})    // slot 0: red
            .Record(META_CREATEBRUSHINDIRECT, {0, 0, 0x00FF, 0})  // slot 1: blue
            .Record(META_DELETEOBJECT, {0})
            .Record(META_CREATEPENINDIRECT, null_pen)  // slot 0
            .Record(META_SELECTOBJECT, {1})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_RECTANGLE, {90, 90, 10, 10});
        rows.push_back({"lowest free object slot", w.Bits(), {{50, 50, kBlue}, {10, 50, kBlue}}});
    }
    rows.push_back({"window origin moves the drawing",
                    Wmf()
                        .Record(META_SETWINDOWORG, {-50, -50})
                        .Record(META_CREATEBRUSHINDIRECT, {0, 0, 0, 0})
                        .Record(META_SELECTOBJECT, {0})
                        .Record(META_RECTANGLE, {40, 40, 0, 0})
                        .Bits(),
                    {{70, 70, kBlack}, {30, 30, kWhite}}});
    for (Row& row : rows) {
        SCOPED_TRACE(row.why);
        for (const Probe& p : row.probes) EXPECT_EQ(Play(row.bits, p.x, p.y), p.expected) << p.x << "," << p.y;
    }
}

TEST(WindowsMetafileRecords, PalettesAndBinaryRasterOperations) {
    enum : std::uint16_t { META_CREATEPALETTE = 0x00F7, META_SELECTPALETTE = 0x0234, META_SETROP2 = 0x0104 };
    auto fill = [](Wmf& w, std::int16_t lo, std::int16_t hi, std::int16_t slot) {
        w.Record(META_CREATEBRUSHINDIRECT, {0, lo, hi, 0}).Record(META_SELECTOBJECT, {slot});
        w.Record(META_RECTANGLE, {90, 90, 10, 10});
    };
    // Slot 0: a palette of green then blue; a brush of entry 1 fills blue.
    Wmf palette;
    palette.Record(META_CREATEPALETTE, {0x300, 2, static_cast<std::int16_t>(0xFF00), 0, 0, 0x00FF})
        .Record(META_SELECTPALETTE, {0});
    fill(palette, 1, 0x0100, 1);
    EXPECT_EQ(Play(palette.Bits(), 50, 50), kBlue);
    // Without a palette selected: the default palette's entry 13 is red.
    Wmf fallback;
    fill(fallback, 13, 0x0100, 0);
    EXPECT_EQ(Play(fallback.Bits(), 50, 50), kRed);
    // Red, then blue XORed over it: magenta.
    Wmf xored;
    fill(xored, 0x00FF, 0, 0);
    xored.Record(META_SETROP2, {7});
    fill(xored, 0, 0x00FF, 1);
    EXPECT_EQ(Play(xored.Bits(), 50, 50), (Rgb{255, 0, 255}));
}

// Files built to exhaust playback: each must end with bounded work and
// bounded pixels held, whatever it asks for.
TEST(HostileMetafiles, PlaybackWorkAndPixelsStayBounded) {
    constexpr TSize kScreen{1280, 1024};
    constexpr std::int64_t kHugeScale = 0x7E967699;  // 1e38 as a float
    // A 16384 x 16384 32-bit BITMAPINFOHEADER with no bits after it.
    const std::vector<std::int64_t> huge_dib = {40, 16384, 16384, (32 << 16) | 1, 0, 0, 0, 0, 0, 0};
    std::vector<std::int64_t> pattern = {1, 0, 32, 40, 72, 0};  // index, usage, offsets and sizes
    pattern.insert(pattern.end(), huge_dib.begin(), huge_dib.end());
    std::vector<std::int64_t> stretch = {0,     0,  100, 100, 0, 0, 0,          0,   16384,
                                         16384, 80, 40,  120, 0, 0, 0x00CC0020, 100, 100};
    stretch.insert(stretch.end(), huge_dib.begin(), huge_dib.end());
    // 2 M points zigzagging across the picture.
    std::vector<std::int64_t> zigzag = {0, 0, 100, 100, 2'000'000};
    for (int i = 0; i < 2'000'000; ++i) zigzag.push_back((i % 2 ? 90 << 16 : 10 << 16) | (i % 100));
    // 20 k XOR fills of the whole picture, each read and written pixel by pixel.
    Emf xor_fills = BlackFill();
    xor_fills.Record(20 /* EMR_SETROP2 */, {7});
    for (int i = 0; i < 20'000; ++i) xor_fills.Record(EMR_RECTANGLE, {0, 0, 100, 100});
    Wmf objects(0xFFFF);
    for (int i = 0; i < 300'000; ++i) objects.Record(META_CREATEBRUSHINDIRECT, {0, 0, 0, 0});
    // With the table full, a freed slot is the one the next object takes.
    objects.Record(META_DELETEOBJECT, {777})
        .Record(META_CREATEBRUSHINDIRECT, {0, 0x00FF, 0, 0})
        .Record(META_SELECTOBJECT, {777})
        .Record(META_RECTANGLE, {90, 90, 10, 10});
    // 200 k letters, each with its advance (1.6 MB), ETO_PDY pairs and all.
    std::vector<int> long_advances(400'000, 1);
    const std::u16string long_string(200'000, u'I');
    const std::vector<std::int64_t> long_text = TextWords(0, 50, long_string, long_advances, ETO_PDY);
    struct Row {
        const char* why;
        MetafileBits bits;
        bool exhausted;
        std::uint64_t max_units;
        std::uint64_t refused;
        Rgb centre;  // the pixel at (50, 50) on white
    };
    const Row rows[] = {
        {"huge world transform, then an ellipse and a rounded rectangle",
         BlackFill()
             .Record(EMR_SETWORLDTRANSFORM, {kHugeScale, 0, 0, kHugeScale, 0, 0})
             .Record(EMR_ELLIPSE, {10, 10, 90, 90})
             .Record(EMR_ROUNDRECT, {10, 10, 90, 90, 20, 20})
             .Bits(),
         false, 10, 0, kWhite},
        {"a 16384 x 16384 pattern brush falls back to its colour",
         BlackFill()
             .Record(EMR_CREATEDIBPATTERNBRUSHPT, pattern)
             .Record(EMR_SELECTOBJECT, {1})
             .Record(EMR_RECTANGLE, {0, 0, 100, 100})
             .Bits(),
         false, 1000, 1, kWhite},
        {"a 16384 x 16384 stretched DIB", Emf().Record(EMR_STRETCHDIBITS, stretch).Bits(), false, 10, 1, kWhite},
        {"2 M polyline points", Emf().Record(EMR_POLYLINE16, zigzag).Bits(), true, platform::kPlaybackWorkUnits, 0,
         kWhite},
        {"300 k object creations in a full table", objects.Bits(), false, 302'000, 0, kRed},
        {"20 k XOR fills of the whole picture", xor_fills.Bits(), true, platform::kPlaybackWorkUnits, 0, kWhite},
        {"text of 2^31 characters in a short record",
         Emf()
             .Record(EMR_EXTTEXTOUTW, {0, 0, -1, -1, 1, 0, 0, 10, 10, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 80, 'I', 10})
             .Bits(),
         false, 10, 0, kWhite},
        {"2^32 - 1 strings in one EMR_POLYTEXTOUTW", Emf().Record(EMR_POLYTEXTOUTW, {0, 0, -1, -1, 1, 0, 0, -1}).Bits(),
         false, 10, 0, kWhite},
        {"200 k characters with their advances", RedFont().Record(EMR_EXTTEXTOUTW, long_text).Bits(), true,
         platform::kPlaybackWorkUnits, 0, kWhite},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        PlaybackReport report;
        const PixelImage image =
            platform::RenderMetafileImage(row.bits, {0, 0, 100, 100}, {100, 100}, kScreen, &report);
        EXPECT_EQ(report.budget_exhausted, row.exhausted);
        EXPECT_LE(report.units, row.max_units);
        EXPECT_EQ(report.bitmaps_refused, row.refused);
        EXPECT_LE(report.largest_bitmap, static_cast<std::uint64_t>(kScreen.cx) * kScreen.cy);
        EXPECT_EQ(Play(row.bits, 50, 50), row.centre);
    }
}

TEST(HostileMetafiles, DeviceCoordinatesPastTwentySevenBitsAreRefused) {
    // Reaching far out (but inside the range GDI accepts) is drawn; past it, not.
    constexpr std::int64_t kFar = 1 << 22, kPast = (1 << 27) + 1'000'000;
    auto region = [](std::int64_t right) {
        return Emf().Record(EMR_FILLRGN,
                            {0, 0, 100, 100, 48, kBlackBrush, 32, 1, 1, 16, 10, 10, right, 50, 10, 10, right, 50});
    };
    const std::pair<Emf, Rgb> rows[] = {
        {BlackFill().Record(EMR_RECTANGLE, {10, 10, kFar, 50}), kBlack},
        {BlackFill().Record(EMR_RECTANGLE, {10, 10, kPast, 50}), kWhite},
        {region(kFar), kBlack},
        {region(kPast), kWhite},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        Emf emf = rows[i].first;
        EXPECT_EQ(Play(emf.Bits(), 50, 30), rows[i].second);
    }
}

}  // namespace
}  // namespace automenu::test
