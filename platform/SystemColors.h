#pragma once

#include "base/Types.h"

namespace automenu::platform {

// The classic Windows default scheme: Linux desktops have no system colours
// the menu could ask for, and menus are designed against these.
Rgb ClassicSystemColor(int index);

}  // namespace automenu::platform
