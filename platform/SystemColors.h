#pragma once

#include "base/Types.h"

namespace automenu::platform {

// The system colours of a current Windows (10 and 11) in its default theme:
// Linux desktops have no system colours the menu could ask for, and a part
// of the window that no picture covers should look as it does on a Windows
// PC. Indices the menu never uses give black.
Rgb DefaultSystemColor(int index);

}  // namespace automenu::platform
