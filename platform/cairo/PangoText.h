// Fonts and text on cairo through pango; fontconfig maps face names, so a face
// that is not installed falls back the way fontconfig decides.
//
// Heights follow the Windows font mapper:
//   negative  the em size in pixels (character height without internal leading)
//   positive  the cell height in pixels (ascent plus descent)
//   0         the default height: 8 points at the given pixels per inch as the
//             em size (11 pixels at 96 ppi, 13 at 120)
// One line of text takes the cell height, rounded to whole pixels; lines follow
// one another without extra spacing, as DrawText places them.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <memory>
#include <string_view>

#include "platform/Platform.h"

namespace automenu::platform {

// The context all text is laid out with, so that it measures the same on
// every surface.
PangoContext* SharedTextContext();

std::shared_ptr<IFont> CreatePangoFont(const FontDescription& description, int pixels_per_inch = 96);

// Whole-pixel metrics of a font made by CreatePangoFont.
struct TextFontMetrics {
    int ascent = 0;
    int cell_height = 0;         // ascent plus descent: the line height
    int average_char_width = 0;  // tab stops are 8 of these apart
    double em_pixels = 0;        // the size asked of pango
    // Underline and strike-out bars, drawn as whole-pixel rectangles: the top
    // of each relative to the baseline (positive = below) and its thickness.
    int underline_offset = 1;
    int underline_thickness = 1;
    int strike_offset = -3;
    int strike_thickness = 1;
};
TextFontMetrics MetricsOf(const IFont& font);

// DrawText of the Windows text API for the DT_* flags in Types.h:
// - the text is bytes: valid UTF-8 is taken as UTF-8, anything else as
//   Windows-1252; it ends at the first NUL byte;
// - "\r\n", "\n" and "\r" each start a new line; nothing wraps unless
//   DT_WORDBREAK, which breaks between words to fit the rectangle's width;
// - unless DT_NOPREFIX, "&" underlines the next character and is dropped, and
//   "&&" gives one "&";
// - DT_EXPANDTABS puts tab stops every 8 average character widths;
// - drawing is clipped to rect and leaves the background as it is;
// - DT_CALCRECT only measures: the result is the rectangle from rect's
//   top-left as wide as the widest line and one cell height per line. An
//   empty text leaves rect as it is.
// Measuring and drawing lay the text out the same way.
TRect DrawTextOnCairo(cairo_t* cr, const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                      unsigned flags);

}  // namespace automenu::platform
