// An in-memory desktop, for the tests and automenu-tool: the real framework
// runs on it, and the render tool draws menus with it.
//  - Implements: a 1280 x 1024 screen (96 pixels per inch, and a scale, both
//    settable), windows painted in memory (OffscreenSurface.h), input scripted by
//    the caller, a virtual clock for timers, error boxes and opens recorded
//    (an open's failure and the system the menu takes itself to run on are
//    settable), a window's accessible items read and activated by the
//    caller, and their change notices recorded.
//  - Leaves to the defaults: system colours, colour depth, icon sizes and the
//    smallest captioned window; to CairoPlatform on Linux and GdiPlatform on
//    Windows: files, fonts, pictures and timers.
//  - Differs from Windows: every dialog has the frame of a common window
//    manager (3 pixels, a 22-pixel caption); there is no message box of its
//    own, so the framework draws its error box here too, and the scripted
//    user answers it with Enter unless the script does otherwise; "open"
//    only records the target.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DoubleClickDetector.h"
#include "platform/headless/OffscreenSurface.h"
#ifdef _WIN32
#include "platform/win32/GdiPlatform.h"
#else
#include "platform/cairo/CairoPlatform.h"
#endif

namespace automenu::platform {

// What the desktop takes from the system it runs on: its files, fonts,
// pictures and drawing.
#ifdef _WIN32
using HeadlessBase = GdiPlatform;
#else
using HeadlessBase = CairoPlatform;
#endif

class HeadlessPlatform final : public HeadlessBase {
public:
    struct Box {
        std::string caption;
        std::string text;
        WindowId window = kNoWindow;  // the framework's box, once it is made
    };

    HeadlessPlatform();
    ~HeadlessPlatform() override;

    // --- IPlatform ---
    TSize ScreenSize() override { return m_screen; }
    TRect WorkArea() override { return m_work_area.value_or(TRect{0, 0, m_screen.cx, m_screen.cy}); }
    TRect VirtualDesktop() override { return m_virtual_desktop.value_or(TRect{0, 0, m_screen.cx, m_screen.cy}); }
    std::optional<FontDescription> StatusFont() override { return m_status_font; }
    int PixelsPerInch() override { return m_ppi; }
    void ShellOpen(const std::string& target) override;
    TargetSystem System() override { return m_system; }
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
    TPoint ClientToScreen(WindowId w, TPoint p) override;
    void Invalidate(WindowId w, const TRect& r) override;
    void SetCapture(WindowId w) override { m_capture = w; }
    void ReleaseCapture() override { m_capture = kNoWindow; }
    std::unique_ptr<ICanvas> BeginPaint(WindowId w, TRect& area) override;
    TPoint CursorPos() override { return m_cursor; }
    int CursorHeight() override { return 20; }
    WindowId WindowAtPoint(TPoint screen) override;
    bool IsProgramActive() override { return m_program_active; }
    WindowId ActiveWindow() override { return m_active; }
    void ActivateWindow(WindowId w) override {
        if (Find(w)) m_active = w;
    }
    bool PeekMessage(Message& out) override;
    void WaitMessage() override;
    bool ErrorBox(const std::string& caption, const std::string& text) override;
    void SetAccessibleContent(WindowId w, const IAccessibleContent* content) override;
    void NotifyAccessible(WindowId w, AccessibleEvent event, std::size_t item) override;

    // --- Scripted input (client coordinates of window w) ---
    void MoveMouse(WindowId w, int x, int y);
    // A press is a double click by the desktop's rules (same spot, within the
    // double-click time on the virtual clock).
    void PressLeft(WindowId w, int x, int y);
    void ReleaseLeft(WindowId w, int x, int y);
    void DoubleClick(WindowId w, int x, int y);  // two presses and releases at once
    // `keys`: MK_SHIFT and MK_CONTROL held with the key.
    void PressKey(WindowId w, int key, unsigned keys = 0);
    void ReleaseKey(WindowId w, int key, unsigned keys = 0);
    void RequestClose(WindowId w);
    // Assistive technology activates item `item` of the window's content.
    void ActivateAccessible(WindowId w, std::size_t item);
    // The system takes the mouse capture away from w, as another window
    // taking it or a cancelled mode does.
    void TakeCapture(WindowId w);
    // Advances the virtual clock; due timers fire as the loop takes messages.
    void AdvanceTime(unsigned milliseconds) { m_now += milliseconds; }
    void SetProgramActive(bool active) { m_program_active = active; }
    // The caller's file system in place of the system's (null: the system's
    // again); it must outlive its use.
    void UseFiles(IFileSystem* files) { m_files = files; }
    IFileSystem& Files() override { return m_files ? *m_files : HeadlessBase::Files(); }
    // Every later open fails for this reason, reported as the Linux opener
    // reports it; nothing: they succeed.
    void SetOpenFailure(std::optional<OpenFailure> reason) { m_open_failure = reason; }
    // Which targets the menu reads (Linux unless set).
    void SetSystem(TargetSystem system) { m_system = system; }
    // Makes CreateWindow fail, as when the display refuses a window.
    void SetWindowCreationFails(bool fails) { m_window_creation_fails = fails; }

    // Called when the loop waits with nothing queued and no timer pending; the
    // script may queue more input there. When it queues nothing, the loop gets
    // a quit message so a finished script never hangs.
    void SetWhenIdle(std::function<void()> when_idle) { m_when_idle = std::move(when_idle); }
    // Called each time the loop waits while an error box is up (before the
    // script's idle step); the script may answer the box there. When it
    // queues nothing, Enter is pressed on the box.
    void SetOnErrorBox(std::function<void(const Box&)> on_box) { m_on_box = std::move(on_box); }

    // --- Inspection ---
    void SetScreen(TSize size, int ppi) { m_screen = size; m_ppi = ppi; }
    // A desktop with panels: windows may take only this part of the screen.
    void SetWorkArea(const TRect& area) { m_work_area = area; }
    // Monitors beside the screen, left of or above it included.
    void SetVirtualDesktop(const TRect& area) { m_virtual_desktop = area; }
    void SetStatusFont(const FontDescription& font) { m_status_font = font; }
    // A high-DPI desktop: windows created from now on have this many pixels
    // per design unit, and their pictures (SavePng) that size.
    void SetScale(double scale) { m_scale = scale; }
    const std::vector<Box>& Boxes() const { return m_boxes; }
    const std::vector<std::string>& ShellOpens() const { return m_shell_opens; }
    // What assistive technology reads of the window now; nothing without content.
    std::vector<AccessibleItem> AccessibleItems(WindowId w) const;
    struct AccessibleNotice {
        WindowId window = kNoWindow;
        AccessibleEvent event = AccessibleEvent::Focus;
        std::size_t item = 0;
        bool operator==(const AccessibleNotice&) const = default;
    };
    const std::vector<AccessibleNotice>& AccessibleNotices() const { return m_accessible_notices; }
    void ClearAccessibleNotices() { m_accessible_notices.clear(); }
    std::vector<WindowId> Windows() const;
    std::string Caption(WindowId w) const;
    bool IsWindowVisible(WindowId w) const;
    TSize ClientSize(WindowId w) const;
    bool IsEnabled(WindowId w) const;
    WindowKind Kind(WindowId w) const;
    bool IsModal(WindowId w) const;
    TPoint Position(WindowId w) const;  // outer top-left
    WindowId Capture() const { return m_capture; }
    int WaitCount() const { return m_wait_count; }
    int PaintCount() const { return m_paint_count; }
    int InvalidateCount() const { return m_invalidate_count; }
    bool HasPendingPaint(WindowId w) const { return m_queue.HasInvalid(w); }
    const PixelImage* Icon(WindowId w) const;
    // Paints everything pending, then reads the client area's pixels.
    Rgb Pixel(WindowId w, int x, int y) const;
    bool SavePng(WindowId w, const std::string& path) const;

private:
    struct Window {
        WindowParams params;
        bool visible = false;
        bool enabled = true;
        TPoint position;
        std::unique_ptr<IOffscreenSurface> surface;
        PixelImage icon;
        const IAccessibleContent* accessible = nullptr;
    };
    Window* Find(WindowId w);
    const Window* Find(WindowId w) const;
    void PostMouse(WindowId w, MessageKind kind, int x, int y);
    void PostKey(WindowId w, MessageKind kind, int key, unsigned keys);
    // The newest error box still on screen, or null.
    const Box* OpenBox() const;
    std::uint64_t Now() override { return m_now; }

    TSize m_screen{1280, 1024};
    std::optional<TRect> m_work_area;
    std::optional<TRect> m_virtual_desktop;
    WindowId m_active = kNoWindow;
    std::optional<FontDescription> m_status_font;
    int m_ppi = 96;
    double m_scale = 1.0;
    bool m_window_creation_fails = false;
    std::uint64_t m_now = 0;
    DoubleClickDetector m_clicks;
    WindowId m_next_id = 1;
    std::map<WindowId, Window> m_windows;
    TPoint m_cursor;
    unsigned m_buttons = 0;
    WindowId m_capture = kNoWindow;
    bool m_program_active = true;
    IFileSystem* m_files = nullptr;
    int m_wait_count = 0;
    int m_paint_count = 0;
    int m_invalidate_count = 0;
    std::vector<Box> m_boxes;
    std::vector<std::string> m_shell_opens;
    std::vector<AccessibleNotice> m_accessible_notices;
    std::optional<OpenFailure> m_open_failure;
    TargetSystem m_system = TargetSystem::Linux;
    std::function<void()> m_when_idle;
    std::function<void(const Box&)> m_on_box;
};

}  // namespace automenu::platform
