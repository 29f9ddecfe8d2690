// The device context's text, laid out with Pango.
#include "platform/metafile/MetafileDC.h"

#include <algorithm>
#include <cmath>

namespace automenu::platform {

namespace {

constexpr double kMaxFontPixels = 2000;

}  // namespace

void MetafileDC::TextOut(MfPoint ref, const MfTextString& text, std::uint32_t options, const double* rect) {
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
            m_surface.FillPath(background, true, background.colour, false, kRopPatCopy);
        }
        m_surface.NewPath();
    }
    const std::size_t count = text.Count();
    if (count == 0) return;

    // The font's height in destination pixels, along the logical y axis.
    double hx = 0, hy = m_s.font.height == 0 ? 12 : std::fabs(static_cast<double>(m_s.font.height));
    m.TransformDistance(hx, hy);
    double px = std::hypot(hx, hy);
    if (m_s.font.height > 0) px /= 1.17;  // cell height to character height
    if (!(px >= 0.5) || px > kMaxFontPixels) return Refuse();
    // Shaping costs by the character, drawing by the glyphs' area.
    const std::uint64_t per_char = kUnitsPerCharacter + static_cast<std::uint64_t>(px * px / kPixelsPerUnit);
    if (!Spend(kTextUnits + count * per_char)) return;

    double x = ref.x, y = ref.y;
    m.TransformPoint(x, y);

    MfTextRun run;
    run.x = x;
    run.y = y;
    run.utf8 = text.utf8;
    run.glyphs = text.glyphs;
    run.glyph_indices = text.glyph_indices;
    run.font = m_s.font;
    run.pixels = px;
    // Advances that do not match the string are left to the font.
    if (text.dx.size() == count && (text.dy.empty() || text.dy.size() == count)) {
        run.places = PlaceCharacters(text.dx, text.dy, m);
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
        // The current position moves by the advances the record gives (as
        // they add up), or by the width the font drew.
        double adv_x = 0, adv_y = 0;
        if (!run.places.empty()) {
            for (double d : text.dx) adv_x += d;
            for (double d : text.dy) adv_y -= d;
        } else {
            double zero = 0;
            adv_x = width;
            MfMatrix inv = m;
            inv.Invert();
            inv.TransformDistance(adv_x, zero);
        }
        const double sign = (m_s.text_align & TA_HMASK) == TA_RIGHT ? -1 : 1;
        m_s.pos.x += sign * adv_x;
        m_s.pos.y += sign * adv_y;
    }
}

}  // namespace automenu::platform
