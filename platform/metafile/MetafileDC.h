// The drawing state a metafile's records act on (what a Windows device
// context holds while it plays one): mapping, objects, colours, current
// position, path and clip, and the drawing operations both metafile forms
// share. Coordinates given to the operations are logical units.
//
// MetafileDC.cpp holds the state, mapping, objects, painting, paths and
// clipping; the drawing operations are in MetafileDCShapes.cpp (lines,
// curves and shapes), MetafileDCFills.cpp (fills, gradients, bitmaps) and
// MetafileDCText.cpp (text).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/cairo/MetafileBitmap.h"
#include "platform/cairo/MetafileObjects.h"
#include "platform/cairo/PlaybackBudget.h"

namespace automenu::platform {

// Windows keeps device coordinates within 27 bits (signed): a shape with a
// corner or point past this is refused, as GDI refuses it.
constexpr double kMaxDeviceCoordinate = 1 << 27;

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

    // The work budget (see PlaybackBudget) that every record and drawing
    // operation pays from.
    bool Spend(std::uint64_t units) { return m_budget.Spend(units); }
    bool CanAfford(std::uint64_t units) { return m_budget.CanAfford(units); }
    const PlaybackReport& Report() const { return m_budget.Report(); }

    // A DIB from a record, paid from the budget (see DecodeRecordDib).
    std::shared_ptr<MfSurface> DecodeDib(std::span<const std::uint8_t> info,
                                         std::optional<std::span<const std::uint8_t>> bits = std::nullopt,
                                         bool with_alpha = false) {
        return DecodeRecordDib(m_budget, info, bits, with_alpha);
    }

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
    // Polygons (filled and outlined) or polylines (outlined), `counts`
    // points each.
    void PolyPoly(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts, bool closed);
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

    struct PathDeleter {
        void operator()(cairo_path_t* p) const { cairo_path_destroy(p); }
    };

    cairo_t* m_cr;
    double m_view_height = 0;  // the target's height in pixels
    PlaybackBudget m_budget;
    // The vertices and crossed scanlines of the shape being built, and of
    // the last path bracket.
    ShapeSize m_shape;
    ShapeSize m_path_shape;
    cairo_matrix_t m_playback;
    double m_px_per_mm_x = 3.78;
    double m_px_per_mm_y = 3.78;
    State m_s;
    std::vector<State> m_saved;
    std::unordered_map<std::uint32_t, MfObject> m_objects;
    bool m_in_path = false;
    std::unique_ptr<cairo_path_t, PathDeleter> m_path;  // the last closed path bracket, in device space
};

}  // namespace automenu::platform
