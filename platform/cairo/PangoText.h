// Fonts and text on cairo through pango (fontconfig maps face names).
#pragma once

#include <cairo.h>

#include <memory>
#include <string_view>

#include "platform/Platform.h"

namespace automenu::platform {

std::shared_ptr<IFont> CreatePangoFont(const FontDescription& description);

// DrawText semantics of the Windows text API for the DT_* flags in Types.h.
TRect DrawTextOnCairo(cairo_t* cr, const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                      unsigned flags, int pixels_per_inch);

}  // namespace automenu::platform
