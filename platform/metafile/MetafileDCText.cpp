// The device context's text, laid out with Pango.
#include "platform/metafile/MetafileDC.h"

#include <algorithm>
#include <cmath>

namespace automenu::platform {

namespace {

constexpr double kMaxFontPixels = 2000;

}  // namespace

void MetafileDC::TextOut(MfPoint ref, const std::string& utf8, std::span<const double> dx, std::uint32_t options,
                         const double* rect) {
    MfMatrix m;
    if (m_in_path || !LogicalMatrix(m)) return Refuse();
    if (m_s.text_align & TA_UPDATECP) ref = m_s.pos;
    if (!Admit({&ref, 1})) return;
    m_shape = {};
    m_shape_box = {};
    const bool boxed = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
    if (boxed && !AdmitBox(rect[0], rect[1], rect[2], rect[3])) return;

    if (boxed) {
        m_surface.SetMatrix(m);
        m_surface.NewPath();
        m_surface.Rectangle(rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        if (!PayForPaint()) {
            m_surface.NewPath();
            return;
        }
        if (options & ETO_OPAQUE) {
            MfBrush background;
            background.colour = Colour(m_s.bk_colour);
            m_surface.FillPath(background, true, background.colour, false);
        }
        m_surface.NewPath();
    }
    if (utf8.empty()) return;

    // The font's height in destination pixels, along the logical y axis.
    double hx = 0, hy = m_s.font.height == 0 ? 12 : std::fabs(static_cast<double>(m_s.font.height));
    m.TransformDistance(hx, hy);
    double px = std::hypot(hx, hy);
    if (m_s.font.height > 0) px /= 1.17;  // cell height to character height
    if (!(px >= 0.5) || px > kMaxFontPixels) return Refuse();
    // Shaping costs by the character, drawing by the glyphs' area.
    const std::uint64_t per_char = kUnitsPerCharacter + static_cast<std::uint64_t>(px * px / kPixelsPerUnit);
    if (!Spend(kTextUnits + utf8.size() * per_char)) return;

    double x = ref.x, y = ref.y;
    m.TransformPoint(x, y);

    MfTextRun run;
    run.x = x;
    run.y = y;
    run.utf8 = utf8;
    run.font = m_s.font;
    run.pixels = px;
    if (!dx.empty()) {
        double total = 0;
        for (double d : dx) total += d;
        double tx = total, ty = 0;
        m.TransformDistance(tx, ty);
        run.advance_total = std::hypot(tx, ty);
    }
    run.align = m_s.text_align;
    run.text_colour = Colour(m_s.text_colour);
    run.bk_colour = Colour(m_s.bk_colour);
    run.opaque_bk = m_s.bk_mode == OPAQUE_BK && !(options & ETO_OPAQUE);

    m_surface.Save();
    UseDevice();
    if (rect && (options & ETO_CLIPPED)) {
        m_surface.SetMatrix(m);
        m_surface.Rectangle(rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        UseDevice();
        m_surface.Clip(true);
    }
    const double width = m_surface.DrawTextRun(run);
    m_surface.Restore();

    if (m_s.text_align & TA_UPDATECP) {
        double adv = width, zero = 0;
        MfMatrix inv = m;
        inv.Invert();
        inv.TransformDistance(adv, zero);
        m_s.pos.x += (m_s.text_align & TA_HMASK) == TA_RIGHT ? -adv : adv;
    }
}

}  // namespace automenu::platform
