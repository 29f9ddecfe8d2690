#include "platform/cairo/PangoText.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "formats/TextDecoding.h"

namespace automenu::platform {

namespace {

struct PangoFontDescriptionDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
struct GObjectDeleter {
    void operator()(void* o) const { g_object_unref(o); }
};
struct PangoTabArrayDeleter {
    void operator()(PangoTabArray* t) const { pango_tab_array_free(t); }
};
struct FontOptionsDeleter {
    void operator()(cairo_font_options_t* o) const { cairo_font_options_destroy(o); }
};
struct FontMetricsDeleter {
    void operator()(PangoFontMetrics* m) const { pango_font_metrics_unref(m); }
};
using PangoDescriptionPtr = std::unique_ptr<PangoFontDescription, PangoFontDescriptionDeleter>;

// One font map and context for all measuring and drawing, with fixed font
// options, so that a text measures the same on every surface it is drawn on
// (the screen canvas, a window, an off-screen image). Grey antialiasing and
// whole-pixel glyph metrics give crisp text like the original platform's.
class TextContext {
public:
    static TextContext& Get() {
        static TextContext instance;
        return instance;
    }
    PangoFontMap* FontMap() const { return m_font_map.get(); }
    PangoContext* Context() const { return m_context.get(); }

private:
    TextContext() {
        m_font_map.reset(pango_cairo_font_map_new());
        m_context.reset(pango_font_map_create_context(PANGO_FONT_MAP(m_font_map.get())));
        std::unique_ptr<cairo_font_options_t, FontOptionsDeleter> options(cairo_font_options_create());
        cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(m_context.get(), options.get());
        pango_cairo_context_set_resolution(m_context.get(), 96.0);
        pango_context_set_language(m_context.get(), pango_language_from_string("en"));
        pango_context_set_base_dir(m_context.get(), PANGO_DIRECTION_LTR);
    }
    std::unique_ptr<PangoFontMap, GObjectDeleter> m_font_map;
    std::unique_ptr<PangoContext, GObjectDeleter> m_context;
};

// The family list handed to fontconfig. A comma would split the name into two
// families, so it is replaced. Fixed pitch asks for a monospace face when the
// named one is not installed.
std::string FamilyOf(const FontDescription& d) {
    std::string family = DecodeCaptionBytes(d.name);
    if (family.empty()) family = "Sans";
    std::replace(family.begin(), family.end(), ',', ' ');
    if (d.pitch == TFontPitch::fpFixed) family += ",Monospace";
    return family;
}

struct RawMetrics {
    double ascent = 0;   // pixels
    double descent = 0;
    double char_width = 0;
    double underline_position = 0;  // top of the bar above the baseline
    double underline_thickness = 0;
    double strike_position = 0;
    double strike_thickness = 0;
};

RawMetrics Measure(const PangoFontDescription* desc) {
    TextContext& tc = TextContext::Get();
    std::unique_ptr<PangoFont, GObjectDeleter> font(pango_font_map_load_font(tc.FontMap(), tc.Context(), desc));
    RawMetrics m;
    if (!font) return m;
    std::unique_ptr<PangoFontMetrics, FontMetricsDeleter> metrics(pango_font_get_metrics(font.get(), nullptr));
    m.ascent = pango_font_metrics_get_ascent(metrics.get()) / double(PANGO_SCALE);
    m.descent = pango_font_metrics_get_descent(metrics.get()) / double(PANGO_SCALE);
    m.char_width = pango_font_metrics_get_approximate_char_width(metrics.get()) / double(PANGO_SCALE);
    m.underline_position = pango_font_metrics_get_underline_position(metrics.get()) / double(PANGO_SCALE);
    m.underline_thickness = pango_font_metrics_get_underline_thickness(metrics.get()) / double(PANGO_SCALE);
    m.strike_position = pango_font_metrics_get_strikethrough_position(metrics.get()) / double(PANGO_SCALE);
    m.strike_thickness = pango_font_metrics_get_strikethrough_thickness(metrics.get()) / double(PANGO_SCALE);
    return m;
}

class PangoTextFont final : public IFont {
public:
    PangoTextFont(const FontDescription& d, int pixels_per_inch) : m_description(d) {
        m_pango.reset(pango_font_description_new());
        const std::string family = FamilyOf(d);
        pango_font_description_set_family(m_pango.get(), family.c_str());
        pango_font_description_set_weight(m_pango.get(), (d.style & fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(m_pango.get(), (d.style & fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

        // Heights beyond any sensible screen font are capped so a bad value
        // cannot ask the rasteriser for enormous glyphs.
        constexpr double kMaxPixels = 2000.0;
        // Height 0 asks for the GDI's default height: a 16-pixel cell at 96
        // pixels per inch, whatever the face.
        constexpr int kDefaultCellHeight = 16;
        const int height =
            d.height != 0 ? d.height : MulDiv(kDefaultCellHeight, pixels_per_inch > 0 ? pixels_per_inch : 96, 96);
        double em;
        if (height < 0) {
            em = -static_cast<double>(height);
        } else {
            // A cell height: scale the face so that ascent plus descent fill it.
            constexpr double kProbe = 100.0;
            pango_font_description_set_absolute_size(m_pango.get(), kProbe * PANGO_SCALE);
            RawMetrics probe = Measure(m_pango.get());
            const double cell = probe.ascent + probe.descent;
            em = cell > 0 ? height * kProbe / cell : height;
        }
        em = std::clamp(em, 1.0, kMaxPixels);
        m_metrics.em_pixels = em;
        pango_font_description_set_absolute_size(m_pango.get(), em * PANGO_SCALE);

        RawMetrics m = Measure(m_pango.get());
        m_metrics.ascent = static_cast<int>(std::lround(m.ascent));
        m_metrics.cell_height = height > 0 ? height : static_cast<int>(std::lround(m.ascent + m.descent));
        if (m_metrics.cell_height < 1) m_metrics.cell_height = 1;
        m_metrics.average_char_width = std::max(1, static_cast<int>(std::lround(m.char_width)));
        m_metrics.underline_thickness = std::max(1, static_cast<int>(std::lround(m.underline_thickness)));
        // Below the baseline, inside the cell.
        const int descent = m_metrics.cell_height - m_metrics.ascent;
        m_metrics.underline_offset =
            std::clamp(static_cast<int>(std::lround(-m.underline_position)), 1, std::max(1, descent - 1));
        m_metrics.strike_thickness = std::max(1, static_cast<int>(std::lround(m.strike_thickness)));
        m_metrics.strike_offset = -std::max(1, static_cast<int>(std::lround(m.strike_position)));
    }

    const FontDescription& Description() const override { return m_description; }
    const PangoFontDescription* Pango() const { return m_pango.get(); }
    const TextFontMetrics& Metrics() const { return m_metrics; }

private:
    FontDescription m_description;
    PangoDescriptionPtr m_pango;
    TextFontMetrics m_metrics;
};

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Length of the UTF-8 sequence starting at text[i] (the text is valid UTF-8).
std::size_t CodePointLength(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    return std::min(len, text.size() - i);
}

struct PreparedText {
    std::string text;  // UTF-8, every line break a single "\n"
    std::vector<std::pair<unsigned, unsigned>> underlined;  // byte ranges in text
};

PreparedText Prepare(std::string_view utf8, bool prefix) {
    PreparedText out;
    out.text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = utf8[i];
        if (IsLineBreak(c)) {
            out.text += '\n';
            i += (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        if (prefix && c == '&') {
            ++i;
            if (i >= utf8.size() || IsLineBreak(utf8[i])) continue;  // nothing to mark
            if (utf8[i] == '&') {
                out.text += '&';
                ++i;
                continue;
            }
            const std::size_t len = CodePointLength(utf8, i);
            const auto start = static_cast<unsigned>(out.text.size());
            out.text.append(utf8.substr(i, len));
            out.underlined.emplace_back(start, static_cast<unsigned>(out.text.size()));
            i += len;
            continue;
        }
        out.text += c;
        ++i;
    }
    return out;
}

}  // namespace

PangoContext* SharedTextContext() { return TextContext::Get().Context(); }

std::shared_ptr<IFont> CreatePangoFont(const FontDescription& description, int pixels_per_inch) {
    return std::make_shared<PangoTextFont>(description, pixels_per_inch);
}

TextFontMetrics MetricsOf(const IFont& font) { return static_cast<const PangoTextFont&>(font).Metrics(); }

TRect DrawTextOnCairo(cairo_t* cr, const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                      unsigned flags) {
    const auto& pf = static_cast<const PangoTextFont&>(font);
    const TextFontMetrics& metrics = pf.Metrics();

    // The text is a C string on the original platform: it ends at a NUL.
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    if (text.empty()) return rect;

    const std::string utf8 = DecodeCaptionBytes(text);
    const PreparedText prepared = Prepare(utf8, (flags & DT_NOPREFIX) == 0);

    std::unique_ptr<PangoLayout, GObjectDeleter> layout(pango_layout_new(SharedTextContext()));
    // Arabic and Hebrew are shaped and their runs read right to left, but
    // the label reads left to right, as Windows' DrawText lays them out
    // without DT_RTLREADING: a "." after Arabic words stands at the right.
    pango_layout_set_auto_dir(layout.get(), FALSE);
    pango_layout_set_font_description(layout.get(), pf.Pango());
    pango_layout_set_text(layout.get(), prepared.text.c_str(), static_cast<int>(prepared.text.size()));

    if (flags & DT_EXPANDTABS) {
        // Two stops fix the interval; pango repeats it for the tabs beyond.
        const int step = 8 * metrics.average_char_width;
        std::unique_ptr<PangoTabArray, PangoTabArrayDeleter> tabs(pango_tab_array_new(2, TRUE));
        pango_tab_array_set_tab(tabs.get(), 0, PANGO_TAB_LEFT, step);
        pango_tab_array_set_tab(tabs.get(), 1, PANGO_TAB_LEFT, 2 * step);
        pango_layout_set_tabs(layout.get(), tabs.get());
    }
    if (flags & DT_WORDBREAK) {
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
        pango_layout_set_width(layout.get(), std::max(rect.Width(), 1) * PANGO_SCALE);
    }

    struct Line {
        PangoLayoutLine* line;
        int width;
        int start_index;  // of its text in the layout
        int end_index;
    };
    std::vector<Line> lines;
    int widest = 0;
    for (GSList* l = pango_layout_get_lines_readonly(layout.get()); l; l = l->next) {
        auto* line = static_cast<PangoLayoutLine*>(l->data);
        PangoRectangle logical;
        pango_layout_line_get_pixel_extents(line, nullptr, &logical);
        const int width = std::max(0, logical.x + logical.width);
        lines.push_back({line, width, line->start_index, line->start_index + line->length});
        widest = std::max(widest, width);
    }
    const int line_count = std::max<int>(1, static_cast<int>(lines.size()));
    // A cell height can come from a file as anything up to the int limit, and
    // a caption can have two thousand lines: sum in 64 bits, then saturate.
    const auto saturate = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const TRect used{rect.left, rect.top, saturate(std::int64_t{rect.left} + widest),
                     saturate(rect.top + std::int64_t{line_count} * metrics.cell_height)};
    if (flags & DT_CALCRECT) return used;

    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
    cairo_clip(cr);
    cairo_set_source_rgb(cr, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
    std::int64_t y = rect.top;
    for (const Line& line : lines) {
        if (y >= rect.bottom) break;
        std::int64_t x = rect.left;
        if (flags & DT_CENTER)
            x = rect.left + (std::int64_t{rect.right} - rect.left - line.width) / 2;
        else if (flags & DT_RIGHT)
            x = std::int64_t{rect.right} - line.width;
        const std::int64_t baseline = y + metrics.ascent;
        cairo_move_to(cr, x, baseline);
        pango_cairo_show_layout_line(cr, line.line);
        cairo_new_path(cr);
        // Underlines and strike-outs are solid whole-pixel bars, as the
        // original platform draws them, never smeared across two rows.
        const TFontStyles style = font.Description().style;
        if ((style & fsUnderline) && line.width > 0)
            cairo_rectangle(cr, x, baseline + metrics.underline_offset, line.width, metrics.underline_thickness);
        if ((style & fsStrikeOut) && line.width > 0)
            cairo_rectangle(cr, x, baseline + metrics.strike_offset, line.width, metrics.strike_thickness);
        for (auto [start, end] : prepared.underlined) {
            if (static_cast<int>(start) < line.start_index || static_cast<int>(start) >= line.end_index) continue;
            PangoRectangle pos;
            pango_layout_index_to_pos(layout.get(), static_cast<int>(start), &pos);
            int left = PANGO_PIXELS(pos.x);
            int right = PANGO_PIXELS(pos.x + pos.width);
            if (right < left) std::swap(left, right);  // right-to-left text
            cairo_rectangle(cr, x + left, baseline + metrics.underline_offset, right - left,
                            metrics.underline_thickness);
        }
        cairo_fill(cr);
        y += metrics.cell_height;
    }
    cairo_restore(cr);
    return used;
}

}  // namespace automenu::platform
