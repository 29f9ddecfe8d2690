#include "platform/sdl/SdlPlatform.h"

#include <SDL_syswm.h>
#include <dlfcn.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/DesktopScale.h"
#include "platform/posix/ScopedEnvironmentVariable.h"
#include "platform/sdl/LeavingMotion.h"
#include "platform/sdl/X11Desktop.h"

namespace automenu::platform {

namespace {

// The desktop's scale factor on X11: GDK_SCALE, else the Xft.dpi resource.
// Read from SDL's own connection, which a hidden window lends us: opening a
// second connection costs more than the window does.
double ReadX11DesktopScale() {
    std::optional<double> xft_dpi;
    const char* gdk_scale = std::getenv("GDK_SCALE");
    if (!gdk_scale || !*gdk_scale) {
        std::unique_ptr<SDL_Window, void (*)(SDL_Window*)> probe(
            SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS), SDL_DestroyWindow);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (probe && SDL_GetWindowWMInfo(probe.get(), &info) && info.subsystem == SDL_SYSWM_X11)
            xft_dpi = FindXftDpi(XResourceManagerString(info.info.x11.display));
    }
    return DesktopScale(gdk_scale, xft_dpi);
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// Whether SDL will pick X11: it tries X11 first when there is a display,
// unless the user names another driver.
bool X11Likely() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && *driver && std::strncmp(driver, "x11", 3) != 0) return false;
    return IsSet("DISPLAY");
}

// A frame has reached the screen. The start-up benchmark's build of the menu
// (automenu_firstframe, compiled with AUTOMENU_EXIT_AFTER_FIRST_FRAME) ends
// there, silently and with status 0, so a run lasts from exec to the first
// frame; the menu itself carries nothing of this.
void FramePresented() {
#ifdef AUTOMENU_EXIT_AFTER_FIRST_FRAME
    std::_Exit(0);
#endif
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// The keys whose SDL codes differ from Windows' virtual keys.
int VirtualKeyOf(SDL_Keycode sym) {
    switch (sym) {
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_END:
            return VK_END;
        default:
            return sym;
    }
}

unsigned KeysFromState(Uint32 buttons) {
    unsigned keys = 0;
    if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK) keys |= MK_MBUTTON;
    SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) keys |= MK_SHIFT;
    if (mod & KMOD_CTRL) keys |= MK_CONTROL;
    return keys;
}

}  // namespace

SdlPlatform::SdlPlatform() = default;

SdlPlatform::~SdlPlatform() {
    m_atspi.reset();
    XSetErrorHandler(IgnoreXError);
    m_windows.clear();
    if (m_sdl_started) SDL_Quit();
}

bool SdlPlatform::Open(std::string& error) {
    // Only X11 and Wayland show the menu to its user. Left to itself, SDL
    // falls back to drivers that show nothing (its off-screen one) and the
    // menu would run unseen for ever. A driver the user names still wins.
    const bool own_choice = !IsSet("SDL_VIDEODRIVER");
    if (own_choice) {
        if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
            error = "neither DISPLAY nor WAYLAND_DISPLAY is set";
            return false;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    }
    // Watching from before SDL connects: a compositor that goes while SDL
    // starts leaves SDL crashing in its clean-up.
    if (!X11Likely()) m_compositor_watch.Start();
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    XSetErrorHandler(IgnoreXError);
    {
        // SDL opens an input method, which parses the locale's whole compose
        // table (a fifth of the start-up time). The menu takes no typed text,
        // so it needs none; programs it starts get the user's setting back.
        // Only for X11: on Wayland xkbcommon complains about the empty file.
        std::optional<ScopedEnvironmentVariable> no_compose_table;
        if (X11Likely()) no_compose_table.emplace("XCOMPOSEFILE", "/dev/null");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            error = own_choice ? "no X11 or Wayland display answers" : SDL_GetError();
            return false;
        }
    }
    m_sdl_started = true;
    // SDL chooses the driver (X11 before Wayland, SDL_VIDEODRIVER first).
    m_x11 = std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0;
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "wayland") != 0)
        m_compositor_watch.Stop();
    else if (!m_compositor_watch.Watching())
        m_compositor_watch.Start();
    if (m_x11) {
        // Paint into the window system's own pixel buffer: on X11 an
        // accelerated surface makes SDL recreate the shown window at the
        // first paint. (Wayland has no such buffer; see BeginRendererPaint.)
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        m_scale = ReadX11DesktopScale();
    }
    return true;
}

TSize SdlPlatform::ScreenSize() {
    SDL_Rect bounds;
    if (!m_x11) {
        // Wayland gives the output's size in its logical units.
        if (SDL_GetDisplayBounds(0, &bounds) != 0) return {1024, 768};
        return {bounds.w, bounds.h};
    }
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {1024, 768};
    // Whole design units that fit: a window as large as the screen then
    // takes no more device pixels than the screen has.
    return {FromSdl(mode.w), FromSdl(mode.h)};
}

TRect SdlPlatform::WorkArea() {
    const TSize screen = ScreenSize();
    const TRect whole{0, 0, screen.cx, screen.cy};
    SDL_Rect usable;
    if (!m_x11 || SDL_GetDisplayUsableBounds(0, &usable) != 0) return whole;
    // The whole design units inside it (_NET_WORKAREA, in device pixels).
    const auto inward = [this](int sdl) { return static_cast<int>(std::ceil(sdl / m_scale)); };
    const TRect work =
        TRect{inward(usable.x), inward(usable.y), FromSdl(usable.x + usable.w), FromSdl(usable.y + usable.h)}.Intersect(
            whole);
    return work.IsEmpty() ? whole : work;
}

void SdlPlatform::ShellOpen(const std::string& target) {
    if (auto failure = m_opener.Open(target)) PostOpenFailure(std::move(*failure));
}

void SdlPlatform::PostOpenFailure(OpenFailureReport failure) {
    Message msg;
    msg.kind = MessageKind::OpenFailed;
    msg.open_failure = std::move(failure);
    m_queue.Post(msg);
}

SdlPlatform::Window* SdlPlatform::Find(WindowId w) {
    auto it = m_windows.find(w);
    return it == m_windows.end() ? nullptr : &it->second;
}

WindowId SdlPlatform::CreateWindow(const WindowParams& params) {
    // High-DPI: on Wayland the window's buffer then has the output's pixels.
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (params.kind == WindowKind::Tooltip) {
        SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_TOOLTIP");
        flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    } else {
        // A dialog: the window manager gives it a caption with a close button only.
        SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DIALOG");
    }
    const TSize client{std::max(params.client_size.cx, 1), std::max(params.client_size.cy, 1)};
    SDL_Window* sdl = SDL_CreateWindow(params.caption.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                       ToSdl(client.cx), ToSdl(client.cy), flags);
    if (!sdl) {
        std::fprintf(stderr, "automenu: cannot create a window: %s\n", SDL_GetError());
        EndWithoutDisplay();
        return kNoWindow;
    }
    WindowId id = SDL_GetWindowID(sdl);
    Window& win = m_windows[id];
    win.sdl.reset(sdl);
    win.kind = params.kind;
    win.client = client;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdl, &info) && info.subsystem == SDL_SYSWM_X11) {
        m_display = info.info.x11.display;
        win.x11 = info.info.x11.window;
        if (params.kind == WindowKind::Dialog) SetDialogFunctions(m_display, win.x11);
    }
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    if (info.subsystem == SDL_SYSWM_WAYLAND && !m_wayland.display) {
        // SDL brings the client library in; asked for by name so that a
        // build whose SDL lacks Wayland needs nothing more.
        m_wayland.display = info.info.wl.display;
        m_wayland.get_error = reinterpret_cast<int (*)(wl_display*)>(::dlsym(RTLD_DEFAULT, "wl_display_get_error"));
    }
#endif
    if (params.modal) {
        // Kept above the program's window it stands for.
        win.modal = true;
        for (auto& [other_id, other] : m_windows)
            if (other_id != id && other.visible && other.kind == WindowKind::Dialog)
                SDL_SetWindowModalFor(sdl, other.sdl.get());
    }
    return id;
}

void SdlPlatform::DestroyWindow(WindowId w) {
    // The window manager may already have let go of a closed window; X then
    // reports the withdrawal as an error that must not end the program.
    // X reports errors late, so wait for the server here, under our handler.
    XErrorHandler previous = XSetErrorHandler(IgnoreXError);
    SetAccessibleContent(w, nullptr);
    m_windows.erase(w);
    m_queue.Forget(w);
    if (m_display) XSync(m_display, False);
    XSetErrorHandler(previous);
}

void SdlPlatform::SetCaption(WindowId w, const std::string& caption) {
    auto* win = Find(w);
    if (!win) return;
    SDL_SetWindowTitle(win->sdl.get(), caption.c_str());
    AccessibleUpdate(w);
}

void SdlPlatform::SetIcon(WindowId w, const PixelImage& icon) {
    auto* win = Find(w);
    if (!win || icon.IsEmpty()) return;
    // SDL wants straight (not premultiplied) alpha.
    std::vector<std::uint32_t> straight(icon.pixels.size());
    for (std::size_t i = 0; i < icon.pixels.size(); ++i) {
        std::uint32_t p = icon.pixels[i];
        std::uint32_t a = icon.has_alpha ? p >> 24 : 255;
        auto un = [a](std::uint32_t c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
        straight[i] = (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
    }
    std::unique_ptr<SDL_Surface, SurfaceDeleter> surface(SDL_CreateRGBSurfaceWithFormatFrom(
        straight.data(), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_ARGB8888));
    if (surface) SDL_SetWindowIcon(win->sdl.get(), surface.get());
}

void SdlPlatform::WaitForFrame(Window& win) {
    // The window manager reports its frame shortly after mapping; the form
    // needs it to centre the outer window. Without a window manager there is
    // no frame to wait for, and a Wayland client cannot place itself anyway.
    if (!m_window_manager_known) {
        m_window_manager_known = true;
        m_window_manager = win.x11 ? WindowManagerRunning(m_display) : m_x11;
    }
    if (!m_window_manager) return;
    const Uint64 deadline = SDL_GetTicks64() + 500;
    for (;;) {
        // Read from the server rather than from SDL, which learns of the
        // frame only when it next handles events.
        std::optional<FrameExtents> frame;
        if (win.x11) {
            frame = ReadFrameExtents(m_display, win.x11);
        } else if (int top = 0, left = 0, bottom = 0, right = 0;
                   SDL_GetWindowBordersSize(win.sdl.get(), &top, &left, &bottom, &right) == 0) {
            frame = FrameExtents{left, top, right, bottom};
        }
        if (frame && (frame->top || frame->left)) {
            win.frame = *frame;
            m_last_frame = *frame;
            return;
        }
        if (SDL_GetTicks64() >= deadline) return;
        SDL_PumpEvents();
        EndWithoutDisplay();
        const timespec pause{0, 250'000};
        nanosleep(&pause, nullptr);
    }
}

void SdlPlatform::ShowWindow(WindowId w, bool visible) {
    auto* win = Find(w);
    if (!win || win->visible == visible) return;
    win->visible = visible;
    if (!visible) {
        SDL_HideWindow(win->sdl.get());
        AccessibleUpdate(w);
        return;
    }
    if (win->kind == WindowKind::Tooltip) {
        SDL_ShowWindow(win->sdl.get());
        // The window manager restacks the frames it manages, so a tooltip
        // shown again can end up beneath the menu: raise it each time.
        if (win->x11) {
            XRaiseWindow(m_display, win->x11);
            XFlush(m_display);
        }
    } else {
        SDL_ShowWindow(win->sdl.get());
        if (!win->shown_once) WaitForFrame(*win);
        if (win->modal) SDL_RaiseWindow(win->sdl.get());  // and the keyboard focus with it
    }
    win->shown_once = true;
    m_queue.Invalidate(w, {0, 0, win->client.cx, win->client.cy});
    AccessibleUpdate(w);
}

void SdlPlatform::SetEnabled(WindowId w, bool enabled) {
    if (auto* win = Find(w)) win->enabled = enabled;
}

void SdlPlatform::MoveWindow(WindowId w, TPoint p) {
    auto* win = Find(w);
    if (!win) return;
    // The outer top-left corner: asked of X directly, where a window
    // manager places the frame's corner for a client with north-west gravity.
    // (SDL's own call means the client's corner, but only once it has seen
    // the frame, which races with the window manager taking the window over.)
    if (win->kind == WindowKind::Dialog && win->x11) {
        XMoveWindow(m_display, win->x11, ToSdl(p.x), ToSdl(p.y));
        XFlush(m_display);
        return;
    }
    // On Wayland SDL keeps the position without placing the window: the
    // compositor places top-level windows. It still places a tooltip by it,
    // relative to the window it belongs to.
    SDL_SetWindowPosition(win->sdl.get(), ToSdl(p.x), ToSdl(p.y));
}

TPoint SdlPlatform::WindowPosition(WindowId w) {
    auto* win = Find(w);
    if (!win) return {};
    int x = 0, y = 0;
    SDL_GetWindowPosition(win->sdl.get(), &x, &y);
    return {FromSdl(x - win->frame.left), FromSdl(y - win->frame.top)};
}

void SdlPlatform::SetClientSize(WindowId w, TSize size) {
    auto* win = Find(w);
    if (!win) return;
    size = {std::max(size.cx, 1), std::max(size.cy, 1)};
    win->client = size;
    m_queue.Invalidate(w, {0, 0, size.cx, size.cy});
    size = {ToSdl(size.cx), ToSdl(size.cy)};
    if (win->kind != WindowKind::Dialog || !win->x11) {
        SDL_SetWindowSize(win->sdl.get(), size.cx, size.cy);
        return;
    }
    // A fixed size, asked of X directly. SDL would also repeat the position
    // hint it last saw, and the window manager would take the window back
    // there from where the centring put it. The new size reaches SDL (and
    // its window surface) with the configure event.
    Display* display = m_display;
    const ::Window window = win->x11;
    XSizeHints* hints = XAllocSizeHints();
    if (hints) {
        long supplied = 0;
        XGetWMNormalHints(display, window, hints, &supplied);
        hints->flags &= ~(USPosition | PPosition);
        hints->flags |= PMinSize | PMaxSize;
        hints->min_width = hints->max_width = size.cx;
        hints->min_height = hints->max_height = size.cy;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }
    XResizeWindow(display, window, static_cast<unsigned>(size.cx), static_cast<unsigned>(size.cy));
    XFlush(display);
}

FrameExtents SdlPlatform::Frame(WindowId w) {
    auto* win = Find(w);
    if (!win) return {};
    const FrameExtents& f = win->frame;
    return {FromSdlLength(f.left), FromSdlLength(f.top), FromSdlLength(f.right), FromSdlLength(f.bottom)};
}

TSize SdlPlatform::MinimumCaptionedSize() {
    // Room for the frame, a sliver of client area, and a caption bar wide
    // enough for its close button.
    const FrameExtents& d = m_last_frame;
    const FrameExtents f{FromSdlLength(d.left), FromSdlLength(d.top), FromSdlLength(d.right), FromSdlLength(d.bottom)};
    return {std::max(112, f.left + f.right + 64), std::max(27, f.top + f.bottom + 1)};
}

TPoint SdlPlatform::ClientToScreen(WindowId w, TPoint p) {
    auto* win = Find(w);
    if (!win) return p;
    int x = 0, y = 0;
    SDL_GetWindowPosition(win->sdl.get(), &x, &y);
    return {FromSdl(x) + p.x, FromSdl(y) + p.y};
}

void SdlPlatform::Invalidate(WindowId w, const TRect& r) {
    if (Find(w)) m_queue.Invalidate(w, r);
}

void SdlPlatform::SetCapture(WindowId) { SDL_CaptureMouse(SDL_TRUE); }

void SdlPlatform::ReleaseCapture() { SDL_CaptureMouse(SDL_FALSE); }

namespace {

// The window's pixels that a paint of `area` (design units) touches.
SDL_Rect DeviceRect(const TRect& area, double scale, int width, int height) {
    const int left = static_cast<int>(std::floor(area.left * scale));
    const int top = static_cast<int>(std::floor(area.top * scale));
    const int right = std::min(width, static_cast<int>(std::ceil(area.right * scale)));
    const int bottom = std::min(height, static_cast<int>(std::ceil(area.bottom * scale)));
    return {left, top, right - left, bottom - top};
}

// The design units that cover a window of that many pixels.
TRect DesignBounds(int width, int height, double scale) {
    return {0, 0, static_cast<int>(std::ceil(width / scale)), static_cast<int>(std::ceil(height / scale))};
}

}  // namespace

std::unique_ptr<ICanvas> SdlPlatform::BeginPaint(WindowId w, TRect& area) {
    area = m_queue.TakeInvalid(w);
    auto* win = Find(w);
    if (!win || area.IsEmpty() || !win->visible) return nullptr;
    if (!m_x11) return BeginRendererPaint(*win, area);
    SDL_Window* sdl = win->sdl.get();
    SDL_Surface* surface = SDL_GetWindowSurface(sdl);
    if (!surface) return nullptr;
    const double scale = m_scale;
    area = area.Intersect(DesignBounds(surface->w, surface->h, scale));
    if (area.IsEmpty()) return nullptr;
    const SDL_Rect dirty = DeviceRect(area, scale, surface->w, surface->h);
    CairoSurfacePtr target;
    std::function<void()> present;
    if (surface->format->format == SDL_PIXELFORMAT_RGB888 || surface->format->format == SDL_PIXELFORMAT_ARGB8888) {
        // The usual X11 case: cairo draws straight into the window's pixels.
        target.reset(cairo_image_surface_create_for_data(static_cast<unsigned char*>(surface->pixels),
                                                         CAIRO_FORMAT_RGB24, surface->w, surface->h, surface->pitch));
        present = [sdl, dirty] {
            SDL_UpdateWindowSurfaceRects(sdl, &dirty, 1);
            FramePresented();
        };
    } else {
        // Another pixel layout: paint into an image, then convert.
        target.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, surface->w, surface->h));
        std::shared_ptr<cairo_surface_t> image(cairo_surface_reference(target.get()), cairo_surface_destroy);
        present = [sdl, dirty, image, surface] {
            cairo_surface_flush(image.get());
            SDL_ConvertPixels(surface->w, surface->h, SDL_PIXELFORMAT_RGB888, cairo_image_surface_get_data(image.get()),
                              cairo_image_surface_get_stride(image.get()), surface->format->format, surface->pixels,
                              surface->pitch);
            SDL_UpdateWindowSurfaceRects(sdl, &dirty, 1);
            FramePresented();
        };
    }
    // Design units on the canvas: text and shapes are drawn at the device's
    // resolution, not enlarged afterwards.
    if (scale != 1.0) cairo_surface_set_device_scale(target.get(), scale, scale);
    auto canvas = std::make_unique<CairoCanvas>(CairoContextPtr(cairo_create(target.get())), present);
    canvas->IntersectClip(area);
    return canvas;
}

std::unique_ptr<ICanvas> SdlPlatform::BeginRendererPaint(Window& win, TRect& area) {
    // Wayland: SDL's window surface has the window's logical size and is
    // enlarged for a scaled output, so the window is painted into an image
    // of its real pixels, kept between paints, and handed over as a texture.
    SDL_Window* sdl = win.sdl.get();
    if (!win.renderer) win.renderer.reset(SDL_CreateRenderer(sdl, -1, 0));
    if (!win.renderer) return nullptr;
    int pw = 0, ph = 0, lw = 0, lh = 0;
    SDL_GetRendererOutputSize(win.renderer.get(), &pw, &ph);
    SDL_GetWindowSize(sdl, &lw, &lh);
    if (pw <= 0 || ph <= 0 || lw <= 0) return nullptr;
    double scale = static_cast<double>(pw) / lw * m_scale;
    if (std::abs(scale - 1.0) < 0.01) scale = 1.0;
    if (!win.backing || cairo_image_surface_get_width(win.backing.get()) != pw ||
        cairo_image_surface_get_height(win.backing.get()) != ph) {
        win.texture.reset(SDL_CreateTexture(win.renderer.get(), SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC,
                                            pw, ph));
        win.backing.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, pw, ph));
        if (!win.texture || cairo_surface_status(win.backing.get()) != CAIRO_STATUS_SUCCESS) {
            win.backing.reset();
            return nullptr;
        }
        if (scale != 1.0) cairo_surface_set_device_scale(win.backing.get(), scale, scale);
        area = {0, 0, win.client.cx, win.client.cy};  // a new image: everything
    }
    area = area.Intersect(DesignBounds(pw, ph, scale));
    if (area.IsEmpty()) return nullptr;
    const SDL_Rect dirty = DeviceRect(area, scale, pw, ph);
    cairo_surface_t* backing = win.backing.get();
    SDL_Renderer* renderer = win.renderer.get();
    SDL_Texture* texture = win.texture.get();
    auto present = [backing, renderer, texture, dirty] {
        cairo_surface_flush(backing);
        const unsigned char* data = cairo_image_surface_get_data(backing);
        const int stride = cairo_image_surface_get_stride(backing);
        SDL_UpdateTexture(texture, &dirty, data + dirty.y * stride + dirty.x * 4, stride);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        FramePresented();
    };
    auto canvas = std::make_unique<CairoCanvas>(CairoContextPtr(cairo_create(backing)), present);
    canvas->IntersectClip(area);
    return canvas;
}

TPoint SdlPlatform::CursorPos() {
    // Ask the X server: SDL's global mouse state is a cache that misses
    // pointer moves it gets no raw input event for (warps, synthetic input).
    int x = 0, y = 0;
    if (m_display && !m_windows.empty()) {
        ::Window root = 0, child = 0;
        int wx = 0, wy = 0;
        unsigned mask = 0;
        if (XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &x, &y, &wx, &wy, &mask))
            return {FromSdl(x), FromSdl(y)};
    }
    if (!m_x11) {
        // A Wayland client learns the pointer only inside its own windows,
        // relative to them. Measured from where the program believes its
        // window to be, it agrees with ClientToScreen and WindowAtPoint.
        if (SDL_Window* focus = SDL_GetMouseFocus()) {
            SDL_GetMouseState(&x, &y);
            return ClientToScreen(SDL_GetWindowID(focus), {FromSdl(x), FromSdl(y)});
        }
        // Outside every window of the program: a point none of them covers.
        return {-32768, -32768};
    }
    SDL_GetGlobalMouseState(&x, &y);
    return {FromSdl(x), FromSdl(y)};
}

int SdlPlatform::CursorHeight() {
    // X cursors are drawn at XCURSOR_SIZE (default 24) with the arrow's hot
    // spot at the top; most of that height lies below the hot spot.
    const char* size = std::getenv("XCURSOR_SIZE");
    int s = size ? std::atoi(size) : 0;
    if (s <= 0 || s > 256) s = 24;
    return FromSdlLength(s * 5 / 6);
}

WindowId SdlPlatform::WindowAtPoint(TPoint screen) {
    for (auto& [id, win] : m_windows) {
        if (!win.visible || win.kind == WindowKind::Tooltip) continue;
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(win.sdl.get(), &x, &y);
        SDL_GetWindowSize(win.sdl.get(), &w, &h);
        TRect outer{x - win.frame.left, y - win.frame.top, x + w + win.frame.right, y + h + win.frame.bottom};
        // The point's device pixel, as the pointer's own position maps back.
        if (outer.Contains({ToSdl(screen.x), ToSdl(screen.y)})) return id;
    }
    return kNoWindow;
}

bool SdlPlatform::IsProgramActive() {
    for (auto& [id, win] : m_windows)
        if (win.visible && (SDL_GetWindowFlags(win.sdl.get()) & SDL_WINDOW_INPUT_FOCUS)) return true;
    return false;
}

unsigned SdlPlatform::DoubleClickTime() {
    // SDL's own setting, when the user gives one, wins over the desktop's.
    if (const char* hint = SDL_GetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME)) {
        const int ms = std::atoi(hint);
        if (ms > 0 && ms <= 5000) return static_cast<unsigned>(ms);
    }
    if (m_display)
        if (auto ms = ReadDesktopDoubleClickTime(m_display)) return *ms;
    return DoubleClickDetector::kDefaultTimeMs;
}

bool SdlPlatform::IsLeaving(const SDL_MouseMotionEvent& motion) {
    Window* win = Find(motion.windowID);
    // Captured moves go on outside the window, with their own positions.
    if (!win || !m_display || !win->x11 || (SDL_GetWindowFlags(win->sdl.get()) & SDL_WINDOW_MOUSE_CAPTURE))
        return false;
    TSize size;
    SDL_GetWindowSize(win->sdl.get(), &size.cx, &size.cy);
    // Only an event on the edge costs a round trip to the X server.
    if (!OnWindowEdge({motion.x, motion.y}, size)) return false;
    ::Window root = 0, child = 0;
    int root_x = 0, root_y = 0, x = 0, y = 0;
    unsigned mask = 0;
    std::optional<TPoint> pointer;
    if (XQueryPointer(m_display, win->x11, &root, &child, &root_x, &root_y, &x, &y, &mask)) pointer = TPoint{x, y};
    return IsLeavingMotion({motion.x, motion.y}, size, pointer);
}

void SdlPlatform::Translate(const SDL_Event& e) {
    Message msg;
    auto mouse_target = [&](Uint32 window_id) -> bool {
        Window* win = Find(window_id);
        // Tooltips take no mouse input, and disabled windows none at all.
        if (!win || win->kind == WindowKind::Tooltip || !win->enabled) return false;
        msg.window = window_id;
        return true;
    };
    switch (e.type) {
        case SDL_MOUSEMOTION:
            if (e.motion.which == SDL_TOUCH_MOUSEID || !mouse_target(e.motion.windowID)) return;
            if (IsLeaving(e.motion)) return;
            msg.kind = MessageKind::MouseMove;
            msg.pos = {FromSdl(e.motion.x), FromSdl(e.motion.y)};
            msg.keys = KeysFromState(e.motion.state);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (!mouse_target(e.button.windowID)) return;
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            msg.pos = {FromSdl(e.button.x), FromSdl(e.button.y)};
            msg.keys = KeysFromState(SDL_GetMouseState(nullptr, nullptr));
            // SDL's own click count uses a 32-pixel radius, which makes two
            // quick clicks on neighbouring entries one double click.
            if (down && e.button.button != SDL_BUTTON_LEFT) m_clicks.Reset();
            if (!m_double_click_time_known) {
                // Asked at the first click, not at start, which is timed.
                m_double_click_time_known = true;
                m_clicks = DoubleClickDetector(DoubleClickTime());
            }
            if (e.button.button == SDL_BUTTON_LEFT) {
                msg.kind = !down ? MessageKind::LButtonUp
                           : m_clicks.Press(e.button.windowID, msg.pos, e.button.timestamp) ? MessageKind::LButtonDblClk
                                                                                             : MessageKind::LButtonDown;
            } else if (e.button.button == SDL_BUTTON_RIGHT) {
                msg.kind = down ? MessageKind::RButtonDown : MessageKind::RButtonUp;
            } else {
                msg.kind = down ? MessageKind::MButtonDown : MessageKind::MButtonUp;
            }
            break;
        }
        case SDL_MOUSEWHEEL:
            if (!mouse_target(e.wheel.windowID)) return;
            msg.kind = MessageKind::MouseWheel;
            msg.wheel_delta = e.wheel.y * 120;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            Window* win = Find(e.key.windowID);
            if (!win || !win->enabled) return;
            msg.window = e.key.windowID;
            msg.kind = e.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
            msg.key = VirtualKeyOf(e.key.keysym.sym);
            if (e.key.keysym.mod & KMOD_SHIFT) msg.keys |= MK_SHIFT;
            if (e.key.keysym.mod & KMOD_CTRL) msg.keys |= MK_CONTROL;
            break;
        }
        case SDL_WINDOWEVENT: {
            Window* win = Find(e.window.windowID);
            if (!win) return;
            msg.window = e.window.windowID;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    if (!win->enabled) return;
                    msg.kind = MessageKind::Close;
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    // Also a new output scale on Wayland: everything again.
                    m_queue.Invalidate(e.window.windowID, {0, 0, win->client.cx, win->client.cy});
                    return;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    msg.kind = MessageKind::Activate;
                    AccessibleUpdate(e.window.windowID);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    msg.kind = MessageKind::Deactivate;
                    AccessibleUpdate(e.window.windowID);
                    break;
                default:
                    return;
            }
            break;
        }
        default:
            return;
    }
    m_queue.Post(msg);
}

void SdlPlatform::PumpEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
    EndWithoutDisplay();
    // A reader asks one thing after another, each when the last is
    // answered: while it does, the loop looks again soon.
    if (m_atspi && m_atspi->Dispatch()) m_atspi_talking_until = SDL_GetTicks64() + kAtspiTalkMs;
}

// Without its compositor a Wayland client can show nothing again, and SDL
// would go on waiting (or spinning) for events that never come. The program
// ends as Xlib ends it when the X server goes away.
void SdlPlatform::EndWithoutDisplay() {
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    if (!m_wayland.get_error || m_wayland.get_error(m_wayland.display) == 0) return;
    m_compositor_watch.Stop();  // one message, not a second from the watch
    std::fputs("automenu: the connection to the display was lost\n", stderr);
    std::exit(1);
#endif
}

bool SdlPlatform::PeekMessage(Message& out) {
    PumpEvents();
    for (OpenFailureReport& failure : m_opener.Poll()) PostOpenFailure(std::move(failure));
    return m_queue.Take(out, Now());
}

void SdlPlatform::WaitMessage() {
    StartAccessibility();
    if (m_queue.HasPosted()) return;
    std::optional<Uint64> wake = m_queue.NextTimerDue();
    const Uint64 now = SDL_GetTicks64();
    // Requests of accessibility clients cannot wake SDL's wait either: they
    // are answered at the next look, which comes at least this often, and
    // more often while a reader is asking.
    if (m_atspi) {
        const Uint64 poll = now < m_atspi_talking_until ? kAtspiTalkPollMs : kAtspiIdlePollMs;
        wake = std::min(wake.value_or(now + poll), now + poll);
    }
    // An opener that ends cannot wake SDL's wait: while one runs, the loop
    // looks again this often, so that its failure shows without delay.
    constexpr Uint64 kOpenerPollMs = 50;
    if (m_opener.Watching()) wake = std::min(wake.value_or(now + kOpenerPollMs), now + kOpenerPollMs);
    if (!wake) {
        SDL_WaitEvent(nullptr);
        EndWithoutDisplay();
        return;
    }
    if (*wake <= now) return;
    SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<Uint64>(*wake - now, 1u << 30)));
    EndWithoutDisplay();
}

std::uint64_t SdlPlatform::Now() { return SDL_GetTicks64(); }

void SdlPlatform::SetAccessibleContent(WindowId w, const IAccessibleContent* content) {
    if (content && Find(w))
        m_accessible[w] = content;
    else if (m_accessible.erase(w) == 0)
        return;
    if (m_atspi) m_atspi->SetContent(w, content);
}

void SdlPlatform::NotifyAccessible(WindowId w, AccessibleEvent, std::size_t) { AccessibleUpdate(w); }

void SdlPlatform::AccessibleUpdate(WindowId w) {
    if (m_atspi) m_atspi->Update(w);
}

void SdlPlatform::StartAccessibility() {
    // Not before: the first frame is timed, and a menu nobody reads needs nothing.
    if (m_accessibility_tried) return;
    m_accessibility_tried = true;
    if (!AccessibilityBusRunning()) return;
    m_atspi = AtspiBridge::Start(*this);
    if (!m_atspi) return;
    for (const auto& [w, content] : m_accessible) m_atspi->SetContent(w, content);
}

std::string SdlPlatform::AccessibleCaption(WindowId w) {
    auto* win = Find(w);
    return win ? SDL_GetWindowTitle(win->sdl.get()) : "";
}

bool SdlPlatform::AccessibleShown(WindowId w) {
    auto* win = Find(w);
    return win && win->visible;
}

bool SdlPlatform::AccessibleActive(WindowId w) {
    auto* win = Find(w);
    return win && win->visible && (SDL_GetWindowFlags(win->sdl.get()) & SDL_WINDOW_INPUT_FOCUS);
}

TRect SdlPlatform::AccessibleScreenRect(WindowId w, std::optional<TRect> client) {
    auto* win = Find(w);
    if (!win) return {};
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(win->sdl.get(), &x, &y);
    SDL_GetWindowSize(win->sdl.get(), &width, &height);
    if (!client) return {x, y, x + width, y + height};
    return {x + ToSdl(client->left), y + ToSdl(client->top), x + ToSdl(client->right), y + ToSdl(client->bottom)};
}

void SdlPlatform::AccessibleActivate(WindowId w, std::size_t item) { m_queue.PostDefaultAction(w, item); }

bool SdlPlatform::ErrorBox(const std::string& caption, const std::string& text) {
    // Also on standard error, for menus started from a terminal. The box
    // itself is the framework's (SDL's own lives in a child process and
    // looks like nothing else on the desktop).
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return false;
}

}  // namespace automenu::platform
