// The Windows back end: windows, input, painting and text through USER32 and
// GDI, the framework's own message queue fed by the window procedure.
//  - Implements: everything, through the system: its metrics (screen, pixels
//    per inch, colours, colour depth, icon sizes, smallest window), USER32
//    dialogs and tooltips, GDI painting into a memory bitmap, the system's
//    timers and message box, "open" through the shell, PNG through the
//    imaging component, files through Win32FileSystem (the profile API),
//    the accessible items of a window through Active Accessibility.
//  - Leaves to the defaults: the work area, taken as the whole screen (it
//    only keeps the caption bar of a window larger than the screen on it);
//    the other defaults are Windows' own values at its default settings.
//  - Differs from Windows: it does not; it is the reference the other back
//    ends follow. Placement and showing wait for the loop and are applied in
//    one step, as DeferWindowPos batches them.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/MessageQueue.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Accessible.h"
#include "platform/win32/Win32FileSystem.h"

namespace automenu::platform {

class Win32Platform final : public IPlatform {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // Registers the window classes. False (with the reason) when it cannot.
    bool Open(std::string& error);

    TSize ScreenSize() override;
    int PixelsPerInch() override { return m_ppi; }
    Rgb SysColor(int index) override;
    int ScreenColorBits() override;
    TSize LargeIconSize() override;
    TSize SmallIconSize() override;
    IFileSystem& Files() override { return m_files; }
    void ShellOpen(const std::string& target) override;
    TargetSystem System() override { return TargetSystem::Windows; }
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
    WindowId ActiveWindow() override;
    void ActivateWindow(WindowId w) override;
    TRect VirtualDesktop() override;
    std::optional<FontDescription> StatusFont() override;
    bool PeekMessage(Message& out) override;
    void WaitMessage() override;
    void PostQuitMessage(int exit_code) override { m_queue.PostQuit(exit_code); }
    void SetTimer(WindowId w, int id, unsigned milliseconds) override;
    void KillTimer(WindowId w, int id) override;
    void SetPaintHandler(std::function<void(WindowId)> paint) override { m_paint_now = std::move(paint); }
    bool ErrorBox(const std::string& caption, const std::string& text) override;
    void SetAccessibleContent(WindowId w, const IAccessibleContent* content) override;
    void NotifyAccessible(WindowId w, AccessibleEvent event, std::size_t item) override;
    std::shared_ptr<IFont> CreateFont(const FontDescription& description) override;
    ICanvas& ScreenCanvas() override { return *m_screen_canvas; }
    bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) override;
    bool DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                       PixelImage& out) override;

private:
    struct Window {
        WindowHandle hwnd;
        WindowKind kind = WindowKind::Dialog;
        IconHandle icon;  // the big icon, for the task switcher
        // Placement and showing wait for the loop (see ApplyPending).
        std::optional<RECT> pending_rect;
        bool pending_show = false;
        // Declared after the window: it lets go of its clients first.
        std::unique_ptr<AccessibleWindow> accessible;
    };
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Handle(WindowId id, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    Window* Find(WindowId w);
    TSize ClientSize(WindowId w);
    RECT OuterRect(const Window& win) const;
    void ApplyPending();
    WindowId IdOf(HWND hwnd) const;
    void PumpMessages();

    // From the first accessibility client's request on.
    std::optional<ComApartment> m_com;
    Win32FileSystem m_files;
    bool m_classes_registered = false;
    int m_ppi = 96;
    WindowId m_next_id = 1;
    std::map<WindowId, Window> m_windows;
    MessageQueue m_queue;
    MemoryDc m_screen_dc;
    std::unique_ptr<GdiCanvas> m_screen_canvas;
    std::function<void(WindowId)> m_paint_now;
    bool m_own_paint = false;  // PumpMessages is handing on a WM_PAINT it took
    bool m_moving_capture = false;
};

}  // namespace automenu::platform
