#pragma once

#include <optional>

#include "base/Types.h"

namespace automenu::platform {

// When the pointer leaves a window that does not hold the capture, SDL on
// X11 sends one more motion event, its position clamped to the window's
// edge. Windows sends no mouse move then, and the menu must not take it for
// a move over whatever lies at the edge (the background picture, which
// would end every entry's hover). Such an event lies on the edge of the
// window (`size`, SDL's units) while the pointer, asked of the system
// (relative to the window; unknown on Wayland), is outside it.
inline bool OnWindowEdge(TPoint event, TSize size) {
    return event.x <= 0 || event.y <= 0 || event.x >= size.cx - 1 || event.y >= size.cy - 1;
}

inline bool IsLeavingMotion(TPoint event, TSize size, std::optional<TPoint> pointer) {
    if (!pointer || !OnWindowEdge(event, size)) return false;
    return pointer->x < 0 || pointer->y < 0 || pointer->x >= size.cx || pointer->y >= size.cy;
}

}  // namespace automenu::platform
