#include "platform/sdl/X11Desktop.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/XSettings.h"

namespace automenu::platform {

// An X error must not end the program the way Xlib's default handler does:
// requests about a window that is already gone (the window manager closing
// it while the menu shuts down) are routine. Installed before SDL starts, so
// it is also what SDL restores and falls back to.
int IgnoreXError(Display*, XErrorEvent* e) {
    if (e->error_code != BadWindow && e->error_code != BadDrawable)
        std::fprintf(stderr, "automenu: X error %d (request %d)\n", e->error_code, e->request_code);
    return 0;
}

// Asks the window manager for a dialog frame: move and close only, no
// minimise, maximise or resize.
void SetDialogFunctions(Display* display, ::Window window) {
    struct {
        unsigned long flags, functions, decorations;
        long input_mode;
        unsigned long status;
    } hints{1 | 2, 4 | 32, 2 | 8 | 16, 0, 0};
    Atom atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, window, atom, atom, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&hints), 5);
}

namespace {

// The values of a format-32 property of a window (they come back as longs),
// when it has the type asked for and exactly count of them.
std::optional<std::vector<long>> ReadProperty32(Display* display, ::Window window, const char* name, Atom type,
                                                unsigned long count) {
    Atom actual = None;
    int format = 0;
    unsigned long found = 0, after = 0;
    unsigned char* data = nullptr;
    const bool ok = XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, static_cast<long>(count),
                                       False, type, &actual, &format, &found, &after, &data) == Success &&
                    actual == type && format == 32 && found == count && data;
    std::optional<std::vector<long>> values;
    if (ok) {
        const long* v = reinterpret_cast<const long*>(data);
        values.emplace(v, v + count);
    }
    if (data) XFree(data);
    return values;
}

}  // namespace

// Whether a window manager runs: one that follows the desktop conventions
// names its check window on the root window, and that window names itself
// (a stale property left by a window manager that has gone does not).
bool WindowManagerRunning(Display* display) {
    const char* check = "_NET_SUPPORTING_WM_CHECK";
    const auto child = ReadProperty32(display, DefaultRootWindow(display), check, XA_WINDOW, 1);
    if (!child) return false;
    // The check window may vanish between the two reads; ignore the error.
    auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const auto self = ReadProperty32(display, static_cast<::Window>((*child)[0]), check, XA_WINDOW, 1);
    XSync(display, False);
    XSetErrorHandler(previous);
    return self && *self == *child;
}

// The window manager's frame around a client window, once it has said.
std::optional<FrameExtents> ReadFrameExtents(Display* display, ::Window window) {
    const auto v = ReadProperty32(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL, 4);
    if (!v) return std::nullopt;
    auto side = [&](int i) { return static_cast<int>(std::clamp((*v)[i], 0L, 1000L)); };
    return FrameExtents{side(0), side(2), side(1), side(3)};
}

// The desktop's double-click time, when a settings manager publishes one.
std::optional<unsigned> ReadDesktopDoubleClickTime(Display* display) {
    const std::string selection = "_XSETTINGS_S" + std::to_string(DefaultScreen(display));
    const Atom selection_atom = XInternAtom(display, selection.c_str(), True);
    if (selection_atom == None) return std::nullopt;
    const ::Window owner = XGetSelectionOwner(display, selection_atom);
    if (owner == None) return std::nullopt;
    const Atom settings = XInternAtom(display, "_XSETTINGS_SETTINGS", False);
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<std::int32_t> ms;
    // At most 64 KiB: the settings of a desktop take a few kilobytes.
    if (XGetWindowProperty(display, owner, settings, 0, 16384, False, settings, &actual, &format, &count, &after,
                           &data) == Success &&
        actual == settings && format == 8 && data)
        ms = FindXSettingsInteger({data, count}, "Net/DoubleClickTime");
    if (data) XFree(data);
    if (!ms || *ms <= 0 || *ms > 5000) return std::nullopt;
    return static_cast<unsigned>(*ms);
}

}  // namespace automenu::platform
