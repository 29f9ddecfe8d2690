// The work a metafile playback may do, what each step of it costs, and the
// report of what it did.
#pragma once

#include <cstdint>

namespace automenu::platform {

// Work a playback may do, in units of about 0.1 microsecond of playing on
// the machine this was measured on. Cairo's costs are what is counted:
// - a record, or a point read into a shape: 1;
// - painting a shape: kPaintUnits, and for every vertex, scanline its edges
//   cross and pixel of its bounding box, the amounts below (an outline is
//   drawn as a polygon of its own, and costs kStrokeFactor times more);
// - edges are kept sorted along each scanline, so a shape whose edges
//   meet on many scanlines (a polygon of random points) costs its crossings
//   times the edges a scanline meets, over kCrossingsPerUnit;
// - a bitmap: one unit per kBitmapPixelsPerUnit pixels decoded (which also
//   bounds what bitmaps hold: 12 M pixels, 48 MB in all);
// - text: kTextUnits a run, kUnitsPerCharacter a character plus its area;
// - a raster operation other than a copy draws into a layer of its own and
//   combines it with the picture pixel by pixel: kPaintUnits more, and its
//   area kRasterOpFactor times over.
// A file that uses the whole budget plays in 0.3 s or less (measured with
// full-screen ellipses, a million one-pixel rectangles, 200 k one-letter
// runs, random polygons and 2 M points); the office slide among the test
// pictures uses 60 k.
constexpr std::uint64_t kPlaybackWorkUnits = 3'000'000;
constexpr double kPaintUnits = 32;
constexpr double kVertexUnits = 2;
constexpr double kScanlinesPerUnit = 1;
constexpr double kPixelsPerUnit = 64;
constexpr double kCrossingsPerUnit = 128;
constexpr double kStrokeFactor = 8;
constexpr double kRasterOpFactor = 4;
constexpr std::uint64_t kBitmapPixelsPerUnit = 4;
constexpr std::uint64_t kTextUnits = 200;
constexpr std::uint64_t kUnitsPerCharacter = 20;

// What a playback did, for its caller and the tests.
struct PlaybackReport {
    std::uint64_t units = 0;             // work spent
    bool budget_exhausted = false;       // playback stopped there
    std::uint64_t largest_bitmap = 0;    // pixels of the largest bitmap decoded
    std::uint64_t bitmaps_refused = 0;   // bitmaps larger than the screen, never decoded
};

// The vertices of a shape and the scanlines its edges cross, as noted while
// it is built.
struct ShapeSize {
    double vertices = 0;
    double scanlines = 0;
};

// What painting a shape costs: its size as noted, and the part of its
// bounding box (width x height pixels) inside the clip, on a target
// `view_height` pixels high; with `outline`, as an outline rather than a fill.
double PaintUnits(const ShapeSize& shape, double width, double height, double view_height, bool outline);

class PlaybackBudget {
public:
    // Bitmaps of more than `max_bitmap_pixels` (what the screen can show)
    // are refused before anything is allocated for them.
    PlaybackBudget(std::uint64_t units, std::uint64_t max_bitmap_pixels)
        : m_units_left(units), m_max_bitmap_pixels(max_bitmap_pixels) {}

    // Takes units from the budget; false (and nothing taken) once it would
    // run out, after which every call fails.
    bool Spend(std::uint64_t units);
    // Whether `units` could be spent, asked before reading what would cost
    // them (a record's points); when not, the budget counts as spent.
    bool CanAfford(std::uint64_t units);
    // Whether a bitmap of `pixels` may be decoded: not when it is larger than
    // the screen (counted as refused) or its decoding cannot be paid for.
    bool AdmitBitmap(std::uint64_t pixels);
    void NoteBitmapDecoded(std::uint64_t pixels);
    const PlaybackReport& Report() const { return m_report; }

private:
    std::uint64_t m_units_left;
    std::uint64_t m_max_bitmap_pixels;
    PlaybackReport m_report;
};

}  // namespace automenu::platform
