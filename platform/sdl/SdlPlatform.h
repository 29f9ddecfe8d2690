// The Linux desktop back end: SDL2 windows and events on X11 or Wayland,
// painted with cairo into each window's surface, text through pango.
//  - Implements: the screen, windows (on X11 some calls go to Xlib itself:
//    the frame, the outer position, the fixed size), painting, the pointer,
//    activation, the message queue fed from SDL's events, double clicks,
//    "open" (DesktopOpener, whose failures come as messages once the opener
//    has ended), the error box's line on standard error, and the windows'
//    accessible content in the desktop's accessibility tree (AT-SPI, when
//    an accessibility bus runs; see AtspiBridge.h).
//  - Leaves to the defaults: 96 pixels per inch (a high-DPI desktop enlarges
//    the whole window instead, see DesktopScale.h), the classic system
//    colours, colour depth and icon sizes; to CairoPlatform: files, fonts,
//    PNG images and timers.
//  - Differs from Windows: no message box a program can ask for (the
//    framework draws its own, TErrorDialog); "open" starts only this
//    system's programs and hands everything else to xdg-open; on Wayland the
//    compositor places top-level windows and the frame is not known; the
//    double-click time is the desktop's (XSETTINGS).
#pragma once

#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/DesktopScale.h"
#include "platform/DoubleClickDetector.h"
#include "platform/cairo/CairoPlatform.h"
#include "platform/posix/CompositorWatch.h"
#include "platform/posix/DesktopOpener.h"
#include "platform/sdl/AtspiBridge.h"

struct _XDisplay;
struct wl_display;

namespace automenu::platform {

class SdlPlatform final : public CairoPlatform, private AtspiHost {
public:
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // Connects to the display. False (with the reason in `error`) when there is none.
    bool Open(std::string& error);

    TSize ScreenSize() override;
    TRect WorkArea() override;
    void ShellOpen(const std::string& target) override;
    TargetSystem System() override { return TargetSystem::Linux; }
    WindowId CreateWindow(const WindowParams& params) override;
    void DestroyWindow(WindowId w) override;
    void SetCaption(WindowId w, const std::string& caption) override;
    void SetIcon(WindowId w, const PixelImage& icon) override;
    void ShowWindow(WindowId w, bool visible) override;
    void SetEnabled(WindowId w, bool enabled) override;
    void MoveWindow(WindowId w, TPoint outer_top_left) override;
    TPoint WindowPosition(WindowId w) override;
    void SetClientSize(WindowId w, TSize size) override;
    FrameExtents Frame(WindowId w) override;
    TSize MinimumCaptionedSize() override;
    TPoint ClientToScreen(WindowId w, TPoint p) override;
    void Invalidate(WindowId w, const TRect& r) override;
    void SetCapture(WindowId w) override;
    void ReleaseCapture() override;
    std::unique_ptr<ICanvas> BeginPaint(WindowId w, TRect& area) override;
    TPoint CursorPos() override;
    int CursorHeight() override;
    WindowId WindowAtPoint(TPoint screen) override;
    bool IsProgramActive() override;
    bool PeekMessage(Message& out) override;
    void WaitMessage() override;
    bool ErrorBox(const std::string& caption, const std::string& text) override;
    void SetAccessibleContent(WindowId w, const IAccessibleContent* content) override;
    void NotifyAccessible(WindowId w, AccessibleEvent event, std::size_t item) override;

private:
    struct WindowDeleter {
        void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
    };
    struct RendererDeleter {
        void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
    };
    struct TextureDeleter {
        void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    };
    struct Window {
        // Declared first, so destroyed last: the renderer belongs to it.
        std::unique_ptr<SDL_Window, WindowDeleter> sdl;
        std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;  // not on X11
        std::unique_ptr<SDL_Texture, TextureDeleter> texture;
        CairoSurfacePtr backing;  // the window's pixels, when painted through the renderer
        unsigned long x11 = 0;  // the X window, when SDL's connection is X11 (m_display)
        WindowKind kind = WindowKind::Dialog;
        bool visible = false;
        bool enabled = true;
        bool shown_once = false;
        bool modal = false;
        TSize client;        // design units
        FrameExtents frame;  // SDL's units (device pixels on X11)
    };
    Window* Find(WindowId w);
    std::uint64_t Now() override;
    std::unique_ptr<ICanvas> BeginRendererPaint(Window& win, TRect& area);
    void PumpEvents();
    void PostOpenFailure(OpenFailureReport failure);
    void EndWithoutDisplay();
    void Translate(const SDL_Event& e);
    // A motion event SDL makes of the pointer leaving the window (see LeavingMotion.h).
    bool IsLeaving(const SDL_MouseMotionEvent& motion);
    void WaitForFrame(Window& win);
    // Tells the accessibility tree that something of the window may have changed.
    void AccessibleUpdate(WindowId w);
    // Joins the accessibility tree, when there is one, once the menu first waits.
    void StartAccessibility();
    std::string AccessibleCaption(WindowId w) override;
    bool AccessibleShown(WindowId w) override;
    bool AccessibleActive(WindowId w) override;
    TRect AccessibleScreenRect(WindowId w, std::optional<TRect> client) override;
    void AccessibleActivate(WindowId w, std::size_t item) override;
    unsigned DoubleClickTime();
    // SDL's window coordinates are device pixels on X11 and the desktop's
    // logical units elsewhere (Wayland scales on its own): these map them to
    // and from design units.
    int ToSdl(int design) const { return ScaledLength(design, m_scale); }
    int FromSdl(int sdl) const { return static_cast<int>(std::floor(sdl / m_scale)); }
    int FromSdlLength(int sdl) const { return static_cast<int>(std::lround(sdl / m_scale)); }

    bool m_sdl_started = false;
    bool m_window_manager_known = false;
    bool m_window_manager = true;
    ::_XDisplay* m_display = nullptr;  // SDL's connection, when it is X11
    struct {
        ::wl_display* display = nullptr;  // SDL's connection, when it is Wayland
        int (*get_error)(::wl_display*) = nullptr;
    } m_wayland;
    bool m_x11 = false;
    CompositorWatch m_compositor_watch;  // on Wayland
    double m_scale = 1.0;  // SDL window units per design unit
    std::map<WindowId, Window> m_windows;
    DoubleClickDetector m_clicks;
    bool m_double_click_time_known = false;
    FrameExtents m_last_frame;
    DesktopOpener m_opener;
    std::map<WindowId, const IAccessibleContent*> m_accessible;
    bool m_accessibility_tried = false;
    // How long the loop sleeps at most while it is in the accessibility
    // tree: while readers are quiet, and for a while after each request.
    static constexpr std::uint64_t kAtspiIdlePollMs = 50, kAtspiTalkPollMs = 4, kAtspiTalkMs = 500;
    std::uint64_t m_atspi_talking_until = 0;
    std::unique_ptr<AtspiBridge> m_atspi;  // declared last: let go of first
};

}  // namespace automenu::platform
