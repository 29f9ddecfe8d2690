// What the X11 desktop tells a client beyond SDL: the window manager, its
// frame around a window, dialog functions, the desktop's double-click time,
// and an error handler that survives windows the manager has already let go.
#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "platform/Platform.h"

namespace automenu::platform {

// An X error must not end the program the way Xlib's default handler does:
// requests about a window that is already gone (the window manager closing
// it while the menu shuts down) are routine. Installed before SDL starts, so
// it is also what SDL restores and falls back to.
int IgnoreXError(Display*, XErrorEvent* e);

// Asks the window manager for a dialog frame: move and close only, no
// minimise, maximise or resize.
void SetDialogFunctions(Display* display, ::Window window);

// Whether a window manager runs: one that follows the desktop conventions
// names its check window on the root window, and that window names itself
// (a stale property left by a window manager that has gone does not).
bool WindowManagerRunning(Display* display);

// The window manager's frame around a client window, once it has said.
std::optional<FrameExtents> ReadFrameExtents(Display* display, ::Window window);

// The desktop's double-click time, when a settings manager publishes one.
std::optional<unsigned> ReadDesktopDoubleClickTime(Display* display);

}  // namespace automenu::platform
