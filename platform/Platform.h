// The operating-system services the menu relies on, as one small interface.
// The layers above reach the installed back end through PlatformAccess.h and
// never ask which system they run on.
//
// Back ends: Win32Platform (Windows: USER32, GDI and the shell),
// SdlPlatform (a Linux desktop through SDL2, X11 or Wayland) and
// HeadlessPlatform (an in-memory desktop for the tests and automenu-tool).
// The last two share CairoPlatform: drawing and text with cairo and pango,
// files through POSIX, the framework's message queue. The interface speaks in
// the terms of Windows, which the menu imitates (its messages, virtual keys,
// system colours and DrawText flags), and uses only the plain types of
// Types.h. Where a value has a Windows default (system colours, icon sizes,
// 96 pixels per inch), the interface gives it, so a back end overrides it
// only where its system has its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"
#include "platform/Accessibility.h"
#include "platform/FileSystem.h"
#include "platform/SystemColors.h"
#include "platform/ShellOpen.h"

namespace automenu {

struct MetafileBits;  // formats/MetafileBits.h
enum class CompressedImageFormat;  // formats/CompressedImage.h

namespace platform {

using WindowId = std::uint32_t;
constexpr WindowId kNoWindow = 0;

// Key and button state carried by mouse messages (MK_* values of Windows).
enum MouseKeyState : unsigned {
    MK_LBUTTON = 0x1,
    MK_RBUTTON = 0x2,
    MK_SHIFT = 0x4,
    MK_CONTROL = 0x8,
    MK_MBUTTON = 0x10,
};

enum class MessageKind {
    MouseMove,
    LButtonDown,
    LButtonUp,
    LButtonDblClk,
    RButtonDown,
    RButtonUp,
    MButtonDown,
    MButtonUp,
    MouseWheel,
    NcMouseMove,  // a move over the window frame
    KeyDown,
    KeyUp,
    Close,        // the user asked the window to close (close button, Alt+F4, window manager)
    Paint,        // part of the window needs painting (see BeginPaint)
    Timer,
    Activate,
    Deactivate,
    OpenFailed,   // the desktop could not open a target (see ShellOpen)
    // The system took the mouse capture away (another window, a cancelled mode).
    CaptureLost,
    // Assistive technology activated item `item` of the window's accessible
    // content, as a click would.
    DefaultAction,
    Quit,
};

// Keys, mouse buttons and the wheel: the input that ends a tooltip and that a
// window disabled behind a modal box must not receive late.
constexpr bool IsKeyOrButtonMessage(MessageKind kind) {
    switch (kind) {
        case MessageKind::KeyDown:
        case MessageKind::KeyUp:
        case MessageKind::LButtonDown:
        case MessageKind::LButtonUp:
        case MessageKind::LButtonDblClk:
        case MessageKind::RButtonDown:
        case MessageKind::RButtonUp:
        case MessageKind::MButtonDown:
        case MessageKind::MButtonUp:
        case MessageKind::MouseWheel:
            return true;
        default:
            return false;
    }
}

// Key codes of key messages: the Windows virtual-key codes. SDL's key codes
// for Tab, Return, Escape and Space have the same values; a back end
// translates the others.
enum KeyCode : int {
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
};

struct Message {
    MessageKind kind = MessageKind::MouseMove;
    WindowId window = kNoWindow;
    TPoint pos;             // client coordinates for mouse messages
    unsigned keys = 0;      // MouseKeyState bits (MK_SHIFT and MK_CONTROL also for keys)
    int timer_id = 0;
    int key = 0;
    int wheel_delta = 0;
    int exit_code = 0;      // Quit
    std::size_t item = 0;   // DefaultAction
    OpenFailureReport open_failure;  // OpenFailed
};

// The system a back end runs on, as far as the menu's targets go: the Linux
// menu opens an entry's Linux target where it has one, the Windows menu
// never reads it.
enum class TargetSystem { Windows, Linux };

enum class WindowKind {
    Dialog,   // fixed-size top-level window with a caption bar and a close button only
    Tooltip,  // borderless, topmost pop-up that never takes focus or mouse input
};

struct WindowParams {
    WindowKind kind = WindowKind::Dialog;
    std::string caption;
    TSize client_size;
    // A modal dialog (the framework's error box): it stays above the
    // program's other windows, which are disabled while it is up, and takes
    // the keyboard focus when shown.
    bool modal = false;
};

// Space the window manager's frame adds around the client area.
struct FrameExtents {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A platform font object. Created once per distinct description and shared.
class IFont {
public:
    virtual ~IFont() = default;
    virtual const FontDescription& Description() const = 0;
};

// A drawing surface. Coordinates are pixels relative to the current origin.
class ICanvas {
public:
    virtual ~ICanvas() = default;

    // Drawing state: Save/Restore bracket origin and clip changes.
    virtual void Save() = 0;
    virtual void Restore() = 0;
    virtual void Translate(int dx, int dy) = 0;
    virtual void IntersectClip(const TRect& r) = 0;

    virtual void FillRect(const TRect& r, Rgb colour) = 0;
    // A raised one-pixel edge, as around a tooltip.
    virtual void DrawRaisedEdge(const TRect& r) = 0;
    // The keyboard focus cue, as Windows' DrawFocusRect draws it: every other
    // pixel of the rectangle's one-pixel border inverted, those whose x + y
    // is even. Drawn twice, it is gone.
    virtual void DrawFocusRect(const TRect& r) = 0;

    // Opaque images are copied; images with alpha are blended over what lies beneath.
    virtual void DrawImage(const PixelImage& image, int x, int y) = 0;
    // Plays a metafile once into an image to keep: its frame maps onto dest
    // (right and bottom exclusive), the image covers (0, 0) to `size` and is
    // transparent where the metafile draws nothing. No bitmap in the metafile
    // larger than `screen` is decoded, and playback stops after a fixed
    // amount of work, so any file renders in bounded time and memory.
    virtual PixelImage RenderMetafile(const MetafileBits& metafile, const TRect& dest, TSize size,
                                      TSize screen) = 0;

    // Draws (or with DT_CALCRECT only measures) text the way the Windows
    // DrawText call does for the given DT_* flags. Returns the rectangle the
    // text occupies, starting at rect's top-left.
    virtual TRect DrawText(const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                           unsigned flags) = 0;
};

class IPlatform {
public:
    virtual ~IPlatform() = default;

    // --- Screen ---
    virtual TSize ScreenSize() = 0;
    // The part of the screen windows may take: the screen less the desktop's
    // panels. The whole screen where the system tells no less.
    virtual TRect WorkArea() {
        const TSize screen = ScreenSize();
        return {0, 0, screen.cx, screen.cy};
    }
    // Logical, vertical. Default: the design resolution.
    virtual int PixelsPerInch() { return 96; }
    // The whole desktop over every monitor, which may start at negative
    // coordinates. Default: the screen.
    virtual TRect VirtualDesktop() {
        const TSize screen = ScreenSize();
        return {0, 0, screen.cx, screen.cy};
    }
    // The system's status-bar font, which hints are drawn in. Default: none,
    // and hints take 8 points of the default face.
    virtual std::optional<FontDescription> StatusFont() { return std::nullopt; }
    // Default: a current Windows in its default theme.
    virtual Rgb SysColor(int index) { return DefaultSystemColor(index); }
    // Bits per pixel times planes of the screen (for icon image selection).
    virtual int ScreenColorBits() { return 32; }
    // Large icon size (SM_CXICON) and small icon size (SM_CXSMICON).
    virtual TSize LargeIconSize() { return {32, 32}; }
    virtual TSize SmallIconSize() { return {16, 16}; }

    // --- Files and processes ---
    virtual IFileSystem& Files() = 0;
    // The desktop's "open" for a target: a file, a folder or a URL. Only a
    // failure is reported, as an OpenFailed message: at once where the system
    // tells at once (Windows' shell), else once the opener has ended. Nothing
    // waits for the target, nor for its opener, to end.
    virtual void ShellOpen(const std::string& target) = 0;
    virtual TargetSystem System() = 0;

    // --- Windows ---
    virtual WindowId CreateWindow(const WindowParams& params) = 0;
    virtual void DestroyWindow(WindowId w) = 0;
    virtual void SetCaption(WindowId w, const std::string& caption) = 0;
    virtual void SetIcon(WindowId w, const PixelImage& icon) = 0;
    virtual void ShowWindow(WindowId w, bool visible) = 0;
    virtual void SetEnabled(WindowId w, bool enabled) = 0;
    // Outer top-left position in screen coordinates.
    virtual void MoveWindow(WindowId w, TPoint outer_top_left) = 0;
    virtual TPoint WindowPosition(WindowId w) = 0;
    virtual void SetClientSize(WindowId w, TSize size) = 0;
    // The frame the window system adds; zero on every side until it is known.
    virtual FrameExtents Frame(WindowId w) = 0;
    // Smallest outer size the window system allows for a captioned window.
    // Default: Windows' at 96 pixels per inch (SM_CXMIN, SM_CYMIN).
    virtual TSize MinimumCaptionedSize() { return {112, 27}; }
    virtual TPoint ClientToScreen(WindowId w, TPoint p) = 0;
    virtual void Invalidate(WindowId w, const TRect& r) = 0;
    virtual void SetCapture(WindowId w) = 0;
    virtual void ReleaseCapture() = 0;

    // Paints the pending invalid area of a window: returns a canvas clipped to
    // it (and the area in `area`), or null when nothing is invalid. The
    // painted pixels reach the screen when the canvas is destroyed.
    virtual std::unique_ptr<ICanvas> BeginPaint(WindowId w, TRect& area) = 0;

    // --- Pointer and activation ---
    virtual TPoint CursorPos() = 0;     // screen coordinates
    virtual int CursorHeight() = 0;     // visible height below the hot spot
    // This program's window under the screen point, or kNoWindow.
    virtual WindowId WindowAtPoint(TPoint screen) = 0;
    // True when the active (focused) window belongs to this program.
    virtual bool IsProgramActive() = 0;
    // This program's active window, or kNoWindow; and activating one (after
    // a message box, the window that was active before it). Default: the
    // window system activates windows itself.
    virtual WindowId ActiveWindow() { return kNoWindow; }
    virtual void ActivateWindow(WindowId) {}

    // --- Message queue ---
    // Takes the next message without waiting. Paint messages come only when
    // nothing else is waiting.
    virtual bool PeekMessage(Message& out) = 0;
    // Blocks until a message is available.
    virtual void WaitMessage() = 0;
    virtual void PostQuitMessage(int exit_code) = 0;
    virtual void SetTimer(WindowId w, int id, unsigned milliseconds) = 0;
    virtual void KillTimer(WindowId w, int id) = 0;
    // Where the window system runs loops of its own (a message box, the
    // dragging of a caption), the back end hands the paint requests that
    // arrive meanwhile to this, which paints at once as the framework's loop
    // would. Default: paint requests wait for the framework's loop.
    virtual void SetPaintHandler(std::function<void(WindowId)>) {}

    // --- Assistive technology ---
    // The items a window describes to assistive technology; null: none, the
    // system describes the window alone. The content must stay alive while
    // it is set. An activation comes back as a DefaultAction message. Default:
    // the system has no such interface (or the back end none yet).
    virtual void SetAccessibleContent(WindowId, const IAccessibleContent*) {}
    // Tells the window's clients that item `item` of its content changed.
    virtual void NotifyAccessible(WindowId, AccessibleEvent, std::size_t /*item*/) {}

    // --- Message box ---
    // Reports an error to the user. Where the window system has a message box
    // of its own (Windows), shows it with one OK button and the stop icon and
    // returns true once it is dismissed. Otherwise returns false at once, and
    // the framework shows its own box (TErrorDialog).
    virtual bool ErrorBox(const std::string& caption, const std::string& text) = 0;

    // --- Fonts and text ---
    virtual std::shared_ptr<IFont> CreateFont(const FontDescription& description) = 0;
    // A canvas on the screen for measuring text (DT_CALCRECT).
    virtual ICanvas& ScreenCanvas() = 0;

    // --- Pictures ---
    // Decodes a whole PNG image (inside an icon file) into pixels with alpha.
    virtual bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) = 0;
    // Decodes a PNG or JPEG picture file whose declared size has been
    // checked (ReadCompressedImageSize) into premultiplied pixels, with alpha
    // where a PNG has transparency, keeping only its top-left part of at
    // most `visible`. False when the system's decoder cannot read the file.
    virtual bool DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                               PixelImage& out) = 0;
};

}  // namespace platform
}  // namespace automenu
