// What a metafile's drawing lands on: the pixel half of playback. MetafileDC
// interprets the records, keeps the drawing state and decides what is drawn
// and what it costs; a surface only draws what it is handed. Path building
// follows cairo's model (a current path, built under a current matrix, then
// filled, stroked or made the clip); painting takes the state it needs.
//
// NullMetafileSurface draws nothing: playing a metafile onto it tells what
// would be drawn, at what cost, without any pixels.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/metafile/MetafileBitmap.h"
#include "platform/metafile/MetafileMatrix.h"
#include "platform/metafile/MetafileObjects.h"
#include "platform/metafile/MetafileText.h"

namespace automenu::platform {

// A corner of a shaded triangle in destination pixels, with its colour.
struct MfShadedCorner {
    double x = 0, y = 0;
    std::uint32_t colour = 0;  // 0x00BBGGRR
};

// One run of text at (x, y) in device pixels, turned by the font's
// escapement, aligned on that point as `align` says.
struct MfTextRun {
    double x = 0, y = 0;
    std::string utf8;
    std::vector<std::uint16_t> glyphs;  // glyph indices in the font, drawn instead of utf8 when glyph_indices
    bool glyph_indices = false;
    // Each character's (or glyph's) start and then the run's end, from
    // (x, y) before the turn, where the metafile places them; empty: the
    // font's own advances.
    std::vector<MfTextPlace> places;
    MfFont font;
    double pixels = 0;                // character height
    std::uint32_t align = 0;          // TA_*
    std::uint32_t text_colour = 0;
    std::uint32_t bk_colour = 0;
    bool opaque_bk = false;           // fill behind the text
};

class MetafileSurface {
public:
    virtual ~MetafileSurface() = default;

    // --- Drawing state: the matrix and the clip, saved and restored together ---
    virtual void Save() = 0;
    virtual void Restore() = 0;
    virtual void SetMatrix(const MfMatrix& m) = 0;
    virtual void Translate(double x, double y) = 0;
    virtual void Scale(double sx, double sy) = 0;

    // --- The current path, in the current matrix's units ---
    virtual void NewPath() = 0;
    virtual void NewSubPath() = 0;
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y) = 0;
    virtual void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) = 0;
    // A circular arc of radius r about (xc, yc) from angle a0 to a1, counter-
    // clockwise in the y-down sense when `negative`.
    virtual void Arc(double xc, double yc, double r, double a0, double a1, bool negative) = 0;
    virtual void Rectangle(double x, double y, double w, double h) = 0;
    virtual void ClosePath() = 0;
    virtual bool HasCurrentPoint() = 0;
    // A path bracket's path, kept in device space, and later made current again.
    virtual void KeepPath() = 0;
    virtual void ForgetKeptPath() = 0;
    virtual void UseKeptPath() = 0;

    // --- Painting the current path, which stays ---
    // `rop` (MetafileRasterOp.h) combines the brush or pen with what is there.
    virtual void FillPath(const MfBrush& brush, bool winding, std::uint32_t bk_colour, bool opaque_bk,
                          std::uint8_t rop) = 0;
    // An outline `width` device pixels wide; a styled pen's gaps are
    // filled with `bk_colour` when `opaque_bk`.
    virtual void StrokePath(const MfPen& pen, double width, double miter_limit, std::uint32_t bk_colour,
                            bool opaque_bk, std::uint8_t rop) = 0;
    // Fills it (whole pixels) with a gradient from a to b, in the current matrix's units.
    virtual void FillLinearGradient(const MfVertex& a, const MfVertex& b, bool vertical) = 0;

    // --- Clipping ---
    virtual void ResetClip() = 0;
    // Intersects the clip with the current path, which is used up.
    virtual void Clip(bool winding) = 0;
    // Takes the rectangle (current matrix's units) out of the clip.
    virtual void ClipOut(double l, double t, double r, double b) = 0;

    // --- Direct painting, in device pixels ---
    virtual void FillPixel(double x, double y, std::uint32_t colour) = 0;
    // The part of the triangle that can be seen, shaded between its corners.
    virtual void FillShadedTriangle(const std::array<MfShadedCorner, 3>& corners) = 0;
    // The bitmap's source rectangle into the logical one (current matrix),
    // combined with what is there and the `pattern` brush by `rop`.
    virtual void DrawBitmap(const MfBitmap& bitmap, double dx, double dy, double dw, double dh, double sx, double sy,
                            double sw, double sh, double alpha, std::uint8_t rop, const MfBrush& pattern) = 0;
    // Draws the run; gives its advance in pixels along the baseline.
    virtual double DrawTextRun(const MfTextRun& run) = 0;
};

class NullMetafileSurface final : public MetafileSurface {
public:
    void Save() override {}
    void Restore() override {}
    void SetMatrix(const MfMatrix&) override {}
    void Translate(double, double) override {}
    void Scale(double, double) override {}
    void NewPath() override {}
    void NewSubPath() override {}
    void MoveTo(double, double) override {}
    void LineTo(double, double) override {}
    void CurveTo(double, double, double, double, double, double) override {}
    void Arc(double, double, double, double, double, bool) override {}
    void Rectangle(double, double, double, double) override {}
    void ClosePath() override {}
    bool HasCurrentPoint() override { return false; }
    void KeepPath() override {}
    void ForgetKeptPath() override {}
    void UseKeptPath() override {}
    void FillPath(const MfBrush&, bool, std::uint32_t, bool, std::uint8_t) override {}
    void StrokePath(const MfPen&, double, double, std::uint32_t, bool, std::uint8_t) override {}
    void FillLinearGradient(const MfVertex&, const MfVertex&, bool) override {}
    void ResetClip() override {}
    void Clip(bool) override {}
    void ClipOut(double, double, double, double) override {}
    void FillPixel(double, double, std::uint32_t) override {}
    void FillShadedTriangle(const std::array<MfShadedCorner, 3>&) override {}
    void DrawBitmap(const MfBitmap&, double, double, double, double, double, double, double, double, double,
                    std::uint8_t, const MfBrush&) override {}
    double DrawTextRun(const MfTextRun&) override { return 0; }
};

}  // namespace automenu::platform
