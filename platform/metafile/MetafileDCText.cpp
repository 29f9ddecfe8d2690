// The device context's text, laid out with Pango.
#include "platform/cairo/MetafileDC.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/cairo/PangoText.h"

namespace automenu::platform {

namespace {

constexpr double kMaxFontPixels = 2000;

}  // namespace

void MetafileDC::TextOut(MfPoint ref, const std::string& utf8, std::span<const double> dx, std::uint32_t options,
                         const double* rect) {
    cairo_matrix_t m;
    if (m_in_path || !LogicalMatrix(m)) return;
    if (m_s.text_align & TA_UPDATECP) ref = m_s.pos;
    if (!Admit({&ref, 1})) return;
    m_shape = {};
    const bool boxed = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
    if (boxed && !AdmitBox(rect[0], rect[1], rect[2], rect[3])) return;

    if (boxed) {
        cairo_set_matrix(m_cr, &m);
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        if (!PayForPaint()) {
            cairo_new_path(m_cr);
            return;
        }
        if (options & ETO_OPAQUE) {
            cairo_save(m_cr);
            SetSourceColour(m_s.bk_colour);
            cairo_fill_preserve(m_cr);
            cairo_restore(m_cr);
        }
        cairo_new_path(m_cr);
    }
    if (utf8.empty()) return;

    // The font's height in destination pixels, along the logical y axis.
    double hx = 0, hy = m_s.font.height == 0 ? 12 : std::fabs(static_cast<double>(m_s.font.height));
    cairo_matrix_transform_distance(&m, &hx, &hy);
    double px = std::hypot(hx, hy);
    if (m_s.font.height > 0) px /= 1.17;  // cell height to character height
    if (!(px >= 0.5) || px > kMaxFontPixels) return;
    // Shaping costs by the character, drawing by the glyphs' area.
    const std::uint64_t per_char = kUnitsPerCharacter + static_cast<std::uint64_t>(px * px / kPixelsPerUnit);
    if (!Spend(kTextUnits + utf8.size() * per_char)) return;

    double x = ref.x, y = ref.y;
    cairo_matrix_transform_point(&m, &x, &y);

    cairo_save(m_cr);
    UseDevice();
    if (rect && (options & ETO_CLIPPED)) {
        cairo_set_matrix(m_cr, &m);
        cairo_rectangle(m_cr, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        UseDevice();
        cairo_clip(m_cr);
    }
    cairo_translate(m_cr, x, y);
    if (m_s.font.escapement != 0) cairo_rotate(m_cr, -m_s.font.escapement * M_PI / 1800.0);

    PangoLayout* layout = pango_layout_new(SharedTextContext());
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, m_s.font.face.empty() ? "Sans" : m_s.font.face.c_str());
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(std::clamp(m_s.font.weight == 0 ? 400 : m_s.font.weight, 100, 1000)));
    pango_font_description_set_style(desc, m_s.font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    PangoAttrList* attrs = pango_attr_list_new();
    if (m_s.font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (m_s.font.strike_out) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));

    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    const double baseline = pango_layout_get_baseline(layout) / static_cast<double>(PANGO_SCALE);
    double width = logical.width;
    // Advances the metafile gives: stretch the run to their total so lines
    // keep the width they had where they were made.
    double xscale = 1;
    if (!dx.empty() && width > 0) {
        double total = 0;
        for (double d : dx) total += d;
        double tx = total, ty = 0;
        cairo_matrix_transform_distance(&m, &tx, &ty);
        const double target = std::hypot(tx, ty);
        if (target > 0 && target / width > 0.5 && target / width < 2) xscale = target / width;
    }
    width *= xscale;
    double ox = 0, oy = 0;
    switch (m_s.text_align & TA_HMASK) {
    case TA_RIGHT: ox = -width; break;
    case TA_CENTER: ox = -width / 2; break;
    default: break;
    }
    switch (m_s.text_align & TA_VMASK) {
    case TA_BASELINE: oy = -baseline; break;
    case TA_BOTTOM: oy = -logical.height; break;
    default: break;
    }
    if (m_s.bk_mode == OPAQUE_BK && !(options & ETO_OPAQUE)) {
        cairo_rectangle(m_cr, ox, oy, width, logical.height);
        SetSourceColour(m_s.bk_colour);
        cairo_fill(m_cr);
    }
    cairo_translate(m_cr, ox, oy);
    cairo_scale(m_cr, xscale, 1);
    SetSourceColour(m_s.text_colour);
    pango_cairo_show_layout(m_cr, layout);
    g_object_unref(layout);
    cairo_restore(m_cr);

    if (m_s.text_align & TA_UPDATECP) {
        double adv = width, zero = 0;
        cairo_matrix_t inv = m;
        cairo_matrix_invert(&inv);
        cairo_matrix_transform_distance(&inv, &adv, &zero);
        m_s.pos.x += (m_s.text_align & TA_HMASK) == TA_RIGHT ? -adv : adv;
    }
}

}  // namespace automenu::platform
