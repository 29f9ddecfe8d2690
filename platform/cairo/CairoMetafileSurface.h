// A metafile's drawing with cairo (and its text with pango): the pixel half
// of playback, over a cairo context in the destination's pixels.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <functional>
#include <memory>

#include "platform/metafile/MetafileSurface.h"

namespace automenu::platform {

class CairoMetafileSurface final : public MetafileSurface {
public:
    explicit CairoMetafileSurface(cairo_t* cr) : m_cr(cr) {}

    void Save() override { cairo_save(m_cr); }
    void Restore() override { cairo_restore(m_cr); }
    void SetMatrix(const MfMatrix& m) override;
    void Translate(double x, double y) override { cairo_translate(m_cr, x, y); }
    void Scale(double sx, double sy) override { cairo_scale(m_cr, sx, sy); }

    void NewPath() override { cairo_new_path(m_cr); }
    void NewSubPath() override { cairo_new_sub_path(m_cr); }
    void MoveTo(double x, double y) override { cairo_move_to(m_cr, x, y); }
    void LineTo(double x, double y) override { cairo_line_to(m_cr, x, y); }
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) override {
        cairo_curve_to(m_cr, x1, y1, x2, y2, x3, y3);
    }
    void Arc(double xc, double yc, double r, double a0, double a1, bool negative) override;
    void Rectangle(double x, double y, double w, double h) override { cairo_rectangle(m_cr, x, y, w, h); }
    void ClosePath() override { cairo_close_path(m_cr); }
    bool HasCurrentPoint() override { return cairo_has_current_point(m_cr); }
    void KeepPath() override { m_kept.reset(cairo_copy_path(m_cr)); }
    void ForgetKeptPath() override { m_kept.reset(); }
    void UseKeptPath() override {
        if (m_kept) cairo_append_path(m_cr, m_kept.get());
    }

    void FillPath(const MfBrush& brush, bool winding, std::uint32_t bk_colour, bool opaque_bk,
                  std::uint8_t rop) override;
    void StrokePath(const MfPen& pen, double width, double miter_limit, std::uint32_t bk_colour, bool opaque_bk,
                    std::uint8_t rop) override;
    void FillLinearGradient(const MfVertex& a, const MfVertex& b, bool vertical) override;

    void ResetClip() override { cairo_reset_clip(m_cr); }
    void Clip(bool winding) override;
    void ClipOut(double l, double t, double r, double b) override;

    void FillPixel(double x, double y, std::uint32_t colour) override;
    void FillShadedTriangle(const std::array<MfShadedCorner, 3>& corners) override;
    void DrawBitmap(const MfBitmap& bitmap, double dx, double dy, double dw, double dh, double sx, double sy,
                    double sw, double sh, double alpha, std::uint8_t rop, const MfBrush& pattern) override;
    double DrawTextRun(const MfTextRun& run) override;

private:
    struct PathDeleter {
        void operator()(cairo_path_t* p) const { cairo_path_destroy(p); }
    };

    void SetSourceColour(std::uint32_t colour);
    void FillWithBrush(const MfBrush& brush, bool winding, std::uint32_t bk_colour, bool opaque_bk);
    void StrokeWithPen(const MfPen& pen, double width, double miter_limit, std::uint32_t bk_colour, bool opaque_bk);
    // Paints `source` (and `pattern`, when given) each into a layer of their
    // own over the part of the device box (x1, y1)-(x2, y2) the clip leaves,
    // and combines them with the picture's pixels by `rop`, bit by bit, where
    // the first layer covers them. The current path stays.
    void Combine(std::uint8_t rop, double x1, double y1, double x2, double y2, const std::function<void()>& source,
                 const std::function<void()>& pattern);
    // A run without places, laid out by pango; one whose characters (or
    // glyphs) the metafile places. Both give the run's advance.
    double DrawLaidOutText(const MfTextRun& run, const PangoFontDescription* desc);
    double DrawPlacedGlyphs(const MfTextRun& run, const PangoFontDescription* desc);
    void UseDevice() { cairo_identity_matrix(m_cr); }

    cairo_t* m_cr;
    std::unique_ptr<cairo_path_t, PathDeleter> m_kept;  // the last closed path bracket, in device space
};

}  // namespace automenu::platform
