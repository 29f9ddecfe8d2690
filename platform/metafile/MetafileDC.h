// The drawing state a metafile's records act on (what a Windows device
// context holds while it plays one): mapping, objects, colours, current
// position, path and clip, and the drawing operations both metafile forms
// share. Coordinates given to the operations are logical units.
//
// It decides what is drawn: every point is held to the device coordinate
// range, every step is paid from the work budget, and what is refused is
// noted for the record being played (RecordOutcome). What is drawn goes to a
// MetafileSurface; the decisions and their costs depend on nothing the
// surface does, so every surface (or none) plays a file alike.
//
// MetafileDC.cpp holds the state, mapping, objects, painting, paths and
// clipping; the drawing operations are in MetafileDCShapes.cpp (lines,
// curves and shapes), MetafileDCFills.cpp (fills, gradients, bitmaps) and
// MetafileDCText.cpp (text).
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/metafile/MetafileBitmap.h"
#include "platform/metafile/MetafileMatrix.h"
#include "platform/metafile/MetafileObjects.h"
#include "platform/metafile/MetafileRasterOp.h"
#include "platform/metafile/MetafileSurface.h"
#include "platform/metafile/MetafileText.h"
#include "platform/metafile/PlaybackBudget.h"

namespace automenu::platform {

// Windows keeps device coordinates within 27 bits (signed): a shape with a
// corner or point past this is refused, as GDI refuses it.
constexpr double kMaxDeviceCoordinate = 1 << 27;

// What a platform's own player pays for by a shape's whole size rather than
// by what of it is seen, or by the system objects it holds: past these a
// record is played here but called loose, and a platform player is not
// given it. (Windows also holds a process to 10,000 GDI objects.)
constexpr double kMaxCurvePixels = 1 << 16;         // an ellipse's or arc's box, either way
constexpr double kMaxFilledVertices = 1 << 14;      // the corners of one filled shape
constexpr std::size_t kMaxRegionRectangles = 1 << 12;
constexpr std::size_t kMaxLiveObjects = 1 << 12;    // objects made and not deleted
constexpr std::uint32_t kMaxPaletteEntries = 256;     // a palette's entries kept: an 8-bit device's

// What became of one record.
struct RecordOutcome {
    // What the object a record makes stands for, when not what it asked.
    enum class StandIn {
        kAsAsked,
        kWhiteBrush,   // a pattern brush whose bitmap was refused: its colour, white
        kEmptyObject,  // a Windows metafile object that takes its slot and is never drawn
    };
    // Not played, or not drawn (out of range, unpaid, damaged, unknown).
    bool refused = false;
    // Played here, but not for a platform's player: a part of it lies outside
    // the record or does not add up, or it passes the limits above.
    bool loose = false;
    StandIn stand_in = StandIn::kAsAsked;
};

// A box in destination pixels, spanning no point until one is added.
struct MfBox {
    static constexpr double kNowhere = std::numeric_limits<double>::infinity();
    double left = kNowhere, top = kNowhere, right = -kNowhere, bottom = -kNowhere;
    void Add(double x, double y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    void Add(const MfBox& b) {
        Add(b.left, b.top);
        Add(b.right, b.bottom);
    }
    MfBox Intersect(const MfBox& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
};

class MetafileDC {
public:
    // Draws on `surface`, whose device space is the destination's pixels
    // (`view` of them can be seen). Bitmaps of more than `max_bitmap_pixels`
    // (what the screen can show) are refused before anything is allocated
    // for them.
    MetafileDC(MetafileSurface& surface, TSize view, std::uint64_t max_bitmap_pixels,
               std::uint64_t work_units = kPlaybackWorkUnits);
    ~MetafileDC();
    MetafileDC(const MetafileDC&) = delete;
    MetafileDC& operator=(const MetafileDC&) = delete;

    // Device units to destination pixels (the playback mapping of the whole picture).
    void SetPlaybackTransform(const MfMatrix& m) { m_playback = m; }
    // Reference device pixels per millimetre, for the metric map modes.
    void SetDeviceResolution(double px_per_mm_x, double px_per_mm_y) {
        m_px_per_mm_x = px_per_mm_x;
        m_px_per_mm_y = px_per_mm_y;
    }

    // The work budget (see PlaybackBudget) that every record and drawing
    // operation pays from.
    // A refusal counts against the record being played.
    bool Spend(std::uint64_t units) { return Note(m_budget.Spend(units)); }
    bool CanAfford(std::uint64_t units) { return Note(m_budget.CanAfford(units)); }
    const PlaybackReport& Report() const { return m_budget.Report(); }

    // What became of the record being played: the players start each record
    // with BeginRecord; a record they cannot read or do not know they Refuse,
    // and one they read past its sense they call Loose.
    void BeginRecord() { m_record = {}; }
    void Refuse() { m_record.refused = true; }
    void Loose() { m_record.loose = true; }
    void StandIn(RecordOutcome::StandIn stand_in) { m_record.stand_in = stand_in; }
    const RecordOutcome& Outcome() const { return m_record; }

    // A DIB from a record, paid from the budget (see DecodeRecordDib);
    // `whole` tells whether its bits hold every row.
    std::shared_ptr<const MfBitmap> DecodeDib(std::span<const std::uint8_t> info,
                                              std::optional<std::span<const std::uint8_t>> bits, bool with_alpha,
                                              bool& whole);

    // --- Mapping ---
    void SetMapMode(int mode);
    void SetWindowOrg(double x, double y) { m_s.win_org = {x, y}; }
    void SetWindowExt(double x, double y);
    void SetViewportOrg(double x, double y) { m_s.vp_org = {x, y}; }
    void SetViewportExt(double x, double y);
    void OffsetWindowOrg(double dx, double dy) { m_s.win_org.x += dx; m_s.win_org.y += dy; }
    void ScaleWindowExt(double xn, double xd, double yn, double yd);
    void ScaleViewportExt(double xn, double xd, double yn, double yd);
    void SetWorldTransform(const MfMatrix& m);
    void ModifyWorldTransform(const MfMatrix& m, int mode);

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
    // The binary raster operation of lines and fills (R2_*).
    void SetRop2(int mode);

    // --- Objects ---
    void CreateObject(std::uint32_t index, MfObject object);
    void SelectObject(std::uint32_t index);  // a stock object when the top bit is set
    void DeleteObject(std::uint32_t index);
    // The brush an object index names, stock or created; none for other objects.
    std::optional<MfBrush> BrushAt(std::uint32_t index) const;
    // Palettes: selecting one (DEFAULT_PALETTE is stock object 15), and
    // changing a created one's entries or count.
    void SelectPalette(std::uint32_t index);
    std::uint32_t SelectedPalette() const { return m_s.palette; }
    void SetPaletteEntries(std::uint32_t index, std::uint32_t start, std::span<const std::uint32_t> entries);
    void ResizePalette(std::uint32_t index, std::uint32_t count);
    // `count` palette entries (PALETTEENTRY) from a record: at most
    // kMaxPaletteEntries are kept. Throws ReadPastEnd when the record holds fewer.
    std::vector<std::uint32_t> ReadPaletteEntries(ByteReader& r, std::uint32_t count);
    // A colour as it is painted: a palette index (0x01 in the top byte)
    // through the selected palette, or the default palette when none is; any
    // other colour by its red, green and blue.
    std::uint32_t Colour(std::uint32_t colour) const;

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
    // Combines the rectangle with the current brush by a ternary raster
    // operation that uses no source.
    void PatBlt(double l, double t, double r, double b, std::uint32_t rop);
    void FillRegion(const MfRegion& region, const MfBrush& brush);
    // GradientFill: the rectangle two corners span, shaded from the first's
    // colour to the second's across (or down); a triangle shaded smoothly
    // between its corners' colours.
    void GradientRect(const MfVertex& a, const MfVertex& b, bool vertical);
    void GradientTriangle(const MfVertex& a, const MfVertex& b, const MfVertex& c);

    // Draws text at a reference point with the current font and alignment,
    // each character where the string's advances place it; `rect` is used
    // with ETO_OPAQUE/ETO_CLIPPED.
    void TextOut(MfPoint ref, const MfTextString& text, std::uint32_t options, const double* rect);

    // Draws a bitmap into a logical rectangle from a source rectangle
    // (top-down pixels), by a ternary raster operation (SRCCOPY and the
    // like, with the current brush as its pattern).
    void DrawBitmap(const MfBitmap& bitmap, double dx, double dy, double dw, double dh, double sx, double sy,
                    double sw, double sh, std::uint32_t rop = 0x00CC0020, double alpha = 1.0);

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
        MfMatrix world;
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
        std::uint8_t mix = kRopPatCopy;  // SetROP2's mode as a ternary code
        MfPoint pos{0, 0};
        MfBox clip;  // what the clip leaves of the view, at most
        std::uint32_t palette = 0x80000000u | 15;  // DEFAULT_PALETTE
    };

    // Notes a refusal for the record being played; gives `admitted` back.
    bool Note(bool admitted) {
        if (!admitted) m_record.refused = true;
        return admitted;
    }
    const MfObject* Object(std::uint32_t index) const;
    // Logical units to destination pixels; false when it cannot be used.
    bool LogicalMatrix(MfMatrix& out) const;
    bool UseLogical();
    void UseDevice();
    // Fills and/or outlines the current path (or only keeps it in a path bracket).
    void FillAndStroke(bool fill, bool stroke);
    void Fill(const MfBrush& brush);
    void Stroke();
    // The current pen's width in device pixels, as drawn (at most 4000), and
    // as asked.
    double PenPixels() const;
    double AskedPenPixels() const;
    void BuildPolyline(std::span<const MfPoint> pts, bool close);
    // Polygons (filled and outlined) or polylines (outlined), `counts`
    // points each.
    void PolyPoly(std::span<const MfPoint> pts, std::span<const std::uint32_t> counts, bool closed);
    // Checks logical points against the device range and pays a unit for
    // each; notes the scanlines the lines between them cross (`closed` adds
    // the closing line) and the box they span for the shape's painting.
    // False when refused.
    bool Admit(std::span<const MfPoint> pts, bool closed = false);
    // The same for a shape inside the logical box; a `curve` (ellipse, arc,
    // rounded corners) larger than kMaxCurvePixels leaves the record loose.
    bool AdmitBox(double l, double t, double r, double b, bool curve = false);
    // Pays for painting the current path: its vertices, scanlines and area
    // as noted, as an outline of `pen_width` pixels or, with 0, as a fill,
    // combined with the picture bit by bit when `bitwise`.
    bool PayForPaint(double pen_width = 0, bool bitwise = false);
    void AddEllipsePath(double l, double t, double r, double b);
    // The region's rectangles (in range) as the current path; gives the box they span.
    MfBox AddRegionPath(const MfRegion& region);
    void ResetClip();
    void ClipTo(const MfBox& box, bool reset);

    MetafileSurface& m_surface;
    MfBox m_view;  // the target's pixels
    PlaybackBudget m_budget;
    RecordOutcome m_record;
    // The shape being built and the last path bracket: vertices, crossed
    // scanlines, and the box they span in destination pixels.
    ShapeSize m_shape;
    MfBox m_shape_box;
    ShapeSize m_path_shape;
    MfBox m_path_box;
    MfMatrix m_playback;
    double m_px_per_mm_x = 3.78;
    double m_px_per_mm_y = 3.78;
    State m_s;
    std::vector<State> m_saved;
    std::unordered_map<std::uint32_t, MfObject> m_objects;
    bool m_in_path = false;
    bool m_has_path = false;  // the surface keeps the last closed path bracket
};

}  // namespace automenu::platform
