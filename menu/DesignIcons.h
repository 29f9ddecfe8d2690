// The menu's own icons, drawn in code.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Types.h"

namespace automenu {

// The window's design-time icon in the icon file format: one 32 x 32 image at
// 8 bits per pixel with a 256-colour table and a transparency mask (2238 bytes).
std::vector<std::uint8_t> DesignIconData();

// The application icon: 32 x 32 with alpha, used for the taskbar entry.
PixelImage ApplicationIcon();

}  // namespace automenu
