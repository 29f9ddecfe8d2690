// The drawing state a metafile's records act on (what a Windows device
// context holds while it plays one): mapping, objects, colours, current
// position, path and clip, and the drawing operations both metafile forms
// share. Coordinates given to the operations are logical units.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "base/Types.h"
#include "formats/ByteReader.h"
#include "formats/MetafileBits.h"

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
enum : std::uint32_t { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6 };
enum : int { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS, MM_ISOTROPIC, MM_ANISOTROPIC };
enum : int { TRANSPARENT_BK = 1, OPAQUE_BK = 2 };
enum : std::uint32_t {
    TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_HMASK = 6, TA_BOTTOM = 8, TA_BASELINE = 24, TA_VMASK = 24,
};
enum : std::uint32_t { ETO_OPAQUE = 2, ETO_CLIPPED = 4 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

struct MfPen {
    std::uint32_t style = PS_SOLID;
    double width = 0;  // logical units; 0 is one device pixel
    std::uint32_t colour = 0;
    std::vector<double> dashes;  // PS_USERSTYLE
};

struct MfSurface;  // a decoded bitmap as a cairo surface

struct MfBrush {
    std::uint32_t style = BS_SOLID;
    std::uint32_t colour = 0xFFFFFF;
    std::uint32_t hatch = 0;
    std::shared_ptr<MfSurface> pattern;  // BS_DIBPATTERN*
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

struct MfPalette {};

// A corner of a gradient fill: a logical point and its colour (0x00BBGGRR).
struct MfVertex {
    MfPoint p;
    std::uint32_t colour = 0;
};

using MfObject = std::variant<std::monostate, MfPen, MfBrush, MfFont, MfPalette>;

// A record's points, 16-bit (short_form) or 32-bit pairs. Throws ReadPastEnd
// when the record holds fewer.
std::vector<MfPoint> ReadPoints(ByteReader& r, std::size_t count, bool short_form);

cairo_surface_t* SurfaceOf(const MfSurface& s);
// The top row of a source rectangle given in DIB coordinates, which count
// from the bottom of a bottom-up DIB.
double DibSourceTop(const MfSurface& s, double sy, double sh);

// Text as the metafile holds it.
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::size_t chars);
std::string AnsiToUtf8(std::span<const std::uint8_t> bytes);

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
// - text: kTextUnits a run, kUnitsPerCharacter a character plus its area.
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
constexpr std::uint64_t kBitmapPixelsPerUnit = 4;
constexpr std::uint64_t kTextUnits = 200;
constexpr std::uint64_t kUnitsPerCharacter = 20;

// Windows keeps device coordinates within 27 bits (signed): a shape with a
// corner or point past this is refused, as GDI refuses it.
constexpr double kMaxDeviceCoordinate = 1 << 27;

// What a playback did, for its caller and the tests.
struct PlaybackReport {
    std::uint64_t units = 0;             // work spent
    bool budget_exhausted = false;       // playback stopped there
    std::uint64_t largest_bitmap = 0;    // pixels of the largest bitmap decoded
    std::uint64_t bitmaps_refused = 0;   // bitmaps larger than the screen, never decoded
};

class MetafileDC {
public:
    // `cr` draws in the destination's pixel space. Bitmaps of more than
    // `max_bitmap_pixels` (what the screen can show) are refused before
    // anything is allocated for them.
    MetafileDC(cairo_t* cr, std::uint64_t max_bitmap_pixels, std::uint64_t work_units = kPlaybackWorkUnits);
    ~MetafileDC();
    MetafileDC(const MetafileDC&) = delete;
    MetafileDC& operator=(const MetafileDC&) = delete;

    // Device units to destination pixels (the playback mapping of the whole picture).
    void SetPlaybackTransform(const cairo_matrix_t& m) { m_playback = m; }
    // Reference device pixels per millimetre, for the metric map modes.
    void SetDeviceResolution(double px_per_mm_x, double px_per_mm_y) {
        m_px_per_mm_x = px_per_mm_x;
        m_px_per_mm_y = px_per_mm_y;
    }

    // Takes units from the work budget; false (and nothing taken) once it
    // would run out, after which every call fails.
    bool Spend(std::uint64_t units);
    // Whether `units` could be spent, asked before reading what would cost
    // them (a record's points); when not, the budget counts as spent.
    bool CanAfford(std::uint64_t units);
    bool Exhausted() const { return m_report.budget_exhausted; }
    const PlaybackReport& Report() const { return m_report; }

    // A DIB from a record: BITMAPINFO and, apart from it, the bits; without
    // `bits`, a packed DIB whose bits follow the colour table. Null when it
    // cannot be decoded, is larger than the screen, or the budget is spent.
    std::shared_ptr<MfSurface> DecodeDib(std::span<const std::uint8_t> info,
                                         std::optional<std::span<const std::uint8_t>> bits = std::nullopt,
                                         bool with_alpha = false);

    // --- Mapping ---
    void SetMapMode(int mode);
    void SetWindowOrg(double x, double y) { m_s.win_org = {x, y}; }
    void SetWindowExt(double x, double y);
    void SetViewportOrg(double x, double y) { m_s.vp_org = {x, y}; }
    void SetViewportExt(double x, double y);
    void OffsetWindowOrg(double dx, double dy) { m_s.win_org.x += dx; m_s.win_org.y += dy; }
    void ScaleWindowExt(double xn, double xd, double yn, double yd);
    void ScaleViewportExt(double xn, double xd, double yn, double yd);
    void SetWorldTransform(const cairo_matrix_t& m);
    void ModifyWorldTransform(const cairo_matrix_t& m, int mode);

    // --- State ---
    void SaveDC();
    void RestoreDC(int which);
    void SetTextColour(std::uint32_t c) { m_s.text_colour = c; }
    void SetBkColour(std::uint32_t c) { m_s.bk_colour = c; }
    void SetBkMode(int mode) { m_s.bk_mode = mode; }
    void SetTextAlign(std::uint32_t align) { m_s.text_align = align; }
    void SetPolyFillMode(int mode) { m_s.poly_fill = mode; }
    void SetArcDirection(int dir) { m_s.arc_clockwise = dir == 2; }
    void SetMiterLimit(double limit) { m_s.miter_limit = limit; }

    // --- Objects ---
    void CreateObject(std::uint32_t index, MfObject object);
    void SelectObject(std::uint32_t index);  // a stock object when the top bit is set
    void DeleteObject(std::uint32_t index);
    // The brush an object index names, stock or created; none for other objects.
    std::optional<MfBrush> BrushAt(std::uint32_t index) const;

    // --- Drawing ---
    void MoveTo(MfPoint p);
    void LineTo(MfPoint p);
    void Polyline(std::span<const MfPoint> pts);
    void PolylineTo(std::span<const MfPoint> pts);
    void Polygon(std::span<const MfPoint> pts);
    void PolyPolygon(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts);
    void PolyPolyline(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts);
    void PolyBezier(std::span<const MfPoint> pts);
    void PolyBezierTo(std::span<const MfPoint> pts);
    void Rectangle(double l, double t, double r, double b);
    void RoundRect(double l, double t, double r, double b, double w, double h);
    void Ellipse(double l, double t, double r, double b);
    enum class ArcKind { Arc, Chord, Pie, ArcTo };
    void Arc(ArcKind kind, double l, double t, double r, double b, MfPoint start, MfPoint end);
    void SetPixel(MfPoint p, std::uint32_t colour);
    // Fills the rectangle with the current brush (PATCOPY) or a fixed colour.
    void PatBlt(double l, double t, double r, double b, std::uint32_t rop);
    void FillRegion(const MfRegion& region, const MfBrush& brush);
    // GradientFill: the rectangle two corners span, shaded from the first's
    // colour to the second's across (or down); a triangle shaded smoothly
    // between its corners' colours.
    void GradientRect(const MfVertex& a, const MfVertex& b, bool vertical);
    void GradientTriangle(const MfVertex& a, const MfVertex& b, const MfVertex& c);

    // Draws text at a reference point with the current font and alignment.
    // `dx` (logical advances) may be empty; `rect` is used with ETO_OPAQUE/ETO_CLIPPED.
    void TextOut(MfPoint ref, const std::string& utf8, std::span<const double> dx, std::uint32_t options,
                 const double* rect);

    // Draws a bitmap into a logical rectangle from a source rectangle (top-down pixels).
    void DrawBitmap(const MfSurface& bitmap, double dx, double dy, double dw, double dh, double sx, double sy,
                    double sw, double sh, double alpha = 1.0);

    // --- Paths and clipping ---
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath(int mode);
    void IntersectClipRect(double l, double t, double r, double b);
    void ExcludeClipRect(double l, double t, double r, double b);
    // None with RGN_COPY resets the clip.
    void SelectClipRegion(const MfRegion* region, int mode);

private:
    void PaintPath(bool fill, bool stroke);
    struct State {
        int map_mode = MM_TEXT;
        MfPoint win_org{0, 0};
        MfPoint win_ext{1, 1};
        MfPoint vp_org{0, 0};
        MfPoint vp_ext{1, 1};
        cairo_matrix_t world;
        MfPen pen;
        MfBrush brush;
        MfFont font;
        std::uint32_t text_colour = 0;
        std::uint32_t bk_colour = 0xFFFFFF;
        int bk_mode = OPAQUE_BK;
        std::uint32_t text_align = 0;
        int poly_fill = 1;  // ALTERNATE
        bool arc_clockwise = false;
        double miter_limit = 10;
        MfPoint pos{0, 0};
    };

    const MfObject* Object(std::uint32_t index) const;
    // Logical units to destination pixels; false when it cannot be used.
    bool LogicalMatrix(cairo_matrix_t& out) const;
    bool UseLogical();
    void UseDevice();
    // Fills and/or outlines the current cairo path (or only keeps it in a path bracket).
    void FillAndStroke(bool fill, bool stroke);
    void Fill(const MfBrush& brush);
    // Fills the current path with a pattern given in logical units.
    void FillWith(cairo_pattern_t* pattern);
    void Stroke();
    void SetSourceColour(std::uint32_t colour);
    bool SetBrushSource(const MfBrush& brush);
    void ApplyPen();
    // The current pen's width in device pixels.
    double PenPixels() const;
    void BuildPolyline(std::span<const MfPoint> pts, bool close);
    // Checks logical points against the device range and pays a unit for
    // each; notes the scanlines the lines between them cross (`closed` adds
    // the closing line) for the shape's painting. False when refused.
    bool Admit(std::span<const MfPoint> pts, bool closed = false);
    // The same for a shape inside the logical box (ellipse, arc, rounded corners).
    bool AdmitBox(double l, double t, double r, double b);
    // Pays for painting the current path: its vertices, scanlines and area
    // as noted, as an outline of `pen_width` pixels or, with 0, as a fill.
    bool PayForPaint(double pen_width = 0);
    void AddEllipsePath(double l, double t, double r, double b);
    void AddRegionPath(const MfRegion& region);
    void ResetClip();

    cairo_t* m_cr;
    double m_view_height = 0;  // the target's height in pixels
    std::uint64_t m_max_bitmap_pixels;
    std::uint64_t m_units_left;
    PlaybackReport m_report;
    // The vertices and crossed scanlines of the shape being built, and of
    // the last path bracket.
    struct ShapeSize {
        double vertices = 0;
        double scanlines = 0;
    };
    ShapeSize m_shape;
    ShapeSize m_path_shape;
    cairo_matrix_t m_playback;
    double m_px_per_mm_x = 3.78;
    double m_px_per_mm_y = 3.78;
    State m_s;
    std::vector<State> m_saved;
    std::unordered_map<std::uint32_t, MfObject> m_objects;
    bool m_in_path = false;
    cairo_path_t* m_path = nullptr;  // the last closed path bracket, in device space
};

// Record interpreters. Damaged or unknown records are skipped; a record
// whose size is 0, not a whole number of units, or past the data ends
// playback.
void PlayEmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest);
void PlayWmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest);

}  // namespace automenu::platform
