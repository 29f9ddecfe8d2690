#include "platform/cairo/PangoText.h"

#include <pango/pangocairo.h>

#include <string>

namespace automenu::platform {

namespace {

struct PangoFontDescriptionDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
struct GObjectDeleter {
    void operator()(void* o) const { g_object_unref(o); }
};
struct PangoAttrListDeleter {
    void operator()(PangoAttrList* l) const { pango_attr_list_unref(l); }
};

class PangoFont final : public IFont {
public:
    explicit PangoFont(const FontDescription& d) : m_description(d) {
        m_pango.reset(pango_font_description_new());
        std::string family = d.name;
        if (family.empty() || family == "Default" || family == "default") family = "Sans";
        pango_font_description_set_family(m_pango.get(), family.c_str());
        pango_font_description_set_weight(m_pango.get(), (d.style & fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(m_pango.get(), (d.style & fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        int px = d.height < 0 ? -d.height : (d.height == 0 ? 11 : d.height * 4 / 5);
        if (px < 1) px = 1;
        pango_font_description_set_absolute_size(m_pango.get(), px * PANGO_SCALE);
    }
    const FontDescription& Description() const override { return m_description; }
    const PangoFontDescription* Pango() const { return m_pango.get(); }

private:
    FontDescription m_description;
    std::unique_ptr<PangoFontDescription, PangoFontDescriptionDeleter> m_pango;
};

// Strips "&" prefixes (keeping "&&" as one "&") and records the underlined character.
std::string PrepareText(std::string_view text, bool prefix, int& underline_at) {
    std::string out;
    underline_at = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            continue;
        }
        if (prefix && c == '&') {
            if (i + 1 < text.size()) {
                ++i;
                if (text[i] != '&') underline_at = static_cast<int>(out.size());
                out += text[i];
            }
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace

std::shared_ptr<IFont> CreatePangoFont(const FontDescription& description) {
    return std::make_shared<PangoFont>(description);
}

TRect DrawTextOnCairo(cairo_t* cr, const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                      unsigned flags, int) {
    const auto& pf = static_cast<const PangoFont&>(font);
    int underline_at = -1;
    std::string prepared = PrepareText(text, (flags & DT_NOPREFIX) == 0, underline_at);
    std::unique_ptr<PangoLayout, GObjectDeleter> layout(pango_cairo_create_layout(cr));
    pango_layout_set_font_description(layout.get(), pf.Pango());
    pango_layout_set_text(layout.get(), prepared.c_str(), static_cast<int>(prepared.size()));
    std::unique_ptr<PangoAttrList, PangoAttrListDeleter> attrs(pango_attr_list_new());
    const auto style = font.Description().style;
    if (style & (fsUnderline | fsStrikeOut)) {
        if (style & fsUnderline) pango_attr_list_insert(attrs.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (style & fsStrikeOut) pango_attr_list_insert(attrs.get(), pango_attr_strikethrough_new(TRUE));
    }
    if (underline_at >= 0) {
        PangoAttribute* u = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        u->start_index = static_cast<guint>(underline_at);
        u->end_index = static_cast<guint>(underline_at + 1);
        pango_attr_list_insert(attrs.get(), u);
    }
    pango_layout_set_attributes(layout.get(), attrs.get());
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    TRect used{rect.left, rect.top, rect.left + logical.width, rect.top + logical.height};
    if (flags & DT_CALCRECT) return used;
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(cr);
    cairo_set_source_rgb(cr, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
    cairo_move_to(cr, rect.left, rect.top);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
    return used;
}

}  // namespace automenu::platform
