#include "platform/win32/Win32Platform.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WicDecoder.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Shell.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace automenu::platform {

namespace {

constexpr wchar_t kDialogClass[] = L"TInstallationForm";
constexpr wchar_t kTooltipClass[] = L"THintWindow";

DWORD StyleOf(WindowKind kind) {
    // A dialog frame: caption and system menu, no minimise or maximise box,
    // no sizing border.
    // A hint paints its one-pixel edge itself.
    return kind == WindowKind::Dialog ? WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS : WS_POPUP;
}

DWORD ExStyleOf(WindowKind kind) {
    return kind == WindowKind::Dialog ? WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW
                                      : WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
}

TRect RectOf(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

TPoint PointOf(LPARAM lparam) { return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}; }

// The visible rows of a cursor below its hot spot, read from its masks.
std::optional<int> VisibleCursorHeight(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !::GetIconInfo(cursor, &info)) return std::nullopt;
    BitmapHandle mask(info.hbmMask);
    BitmapHandle colour(info.hbmColor);
    BITMAP bm{};
    if (!mask || !::GetObject(mask.get(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return std::nullopt;
    // A monochrome cursor holds its AND mask above its XOR mask.
    const int height = colour ? bm.bmHeight : bm.bmHeight / 2;
    const int stride = ((bm.bmWidth + 31) / 32) * 4;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * bm.bmHeight);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } bmi{};
    bmi.header.biSize = sizeof bmi.header;
    bmi.header.biWidth = bm.bmWidth;
    bmi.header.biHeight = -bm.bmHeight;
    bmi.header.biPlanes = 1;
    bmi.header.biBitCount = 1;
    WindowDc screen(nullptr);
    if (!::GetDIBits(screen.Get(), mask.get(), 0, static_cast<UINT>(bm.bmHeight), bits.data(),
                     reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS))
        return std::nullopt;
    // The last row whose AND mask is not all set (or whose XOR mask shows).
    int last = -1;
    for (int y = 0; y < height; ++y) {
        bool visible = false;
        for (int x = 0; x < bm.bmWidth && !visible; ++x) {
            const auto bit = [&](int row) { return (bits[row * stride + x / 8] >> (7 - x % 8)) & 1; };
            visible = bit(y) == 0 || (!colour && bit(y + height) == 1);
        }
        if (visible) last = y;
    }
    if (last < 0) return std::nullopt;
    return std::max(0, last + 1 - static_cast<int>(info.yHotspot));
}

}  // namespace

Win32Platform::Win32Platform() = default;

Win32Platform::~Win32Platform() {
    m_windows.clear();
    m_screen_canvas.reset();
    // So that the classes can be registered again by a later back end of the
    // same process.
    if (m_classes_registered) {
        ::UnregisterClassW(kDialogClass, ::GetModuleHandleW(nullptr));
        ::UnregisterClassW(kTooltipClass, ::GetModuleHandleW(nullptr));
    }
}

bool Win32Platform::Open(std::string& error) {
    RestrictDllSearch();
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW dialog{};
    dialog.cbSize = sizeof dialog;
    dialog.style = CS_DBLCLKS;
    dialog.lpfnWndProc = &Win32Platform::WindowProc;
    dialog.hInstance = instance;
    dialog.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    dialog.hIcon = ::LoadIconW(instance, L"MAINICON");
    dialog.lpszClassName = kDialogClass;
    WNDCLASSEXW tooltip = dialog;
    tooltip.style = CS_SAVEBITS;
    tooltip.hIcon = nullptr;
    tooltip.lpszClassName = kTooltipClass;
    if (!::RegisterClassExW(&dialog) || !::RegisterClassExW(&tooltip)) {
        error = "cannot register the window classes";
        return false;
    }
    m_classes_registered = true;
    m_screen_dc.reset(::CreateCompatibleDC(nullptr));
    if (!m_screen_dc) {
        error = "cannot create a device context";
        return false;
    }
    m_ppi = ::GetDeviceCaps(m_screen_dc.get(), LOGPIXELSY);
    if (m_ppi <= 0) m_ppi = 96;
    m_screen_canvas = std::make_unique<GdiCanvas>(m_screen_dc.get(), nullptr);
    return true;
}

TSize Win32Platform::ScreenSize() { return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

TRect Win32Platform::VirtualDesktop() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return TRect::FromBounds(left, top, ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

std::optional<FontDescription> Win32Platform::StatusFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return std::nullopt;
    const LOGFONTW& status = metrics.lfStatusFont;
    FontDescription d;
    d.height = status.lfHeight;
    d.style = static_cast<TFontStyles>((status.lfWeight >= FW_BOLD ? fsBold : 0) | (status.lfItalic ? fsItalic : 0) |
                                       (status.lfUnderline ? fsUnderline : 0) | (status.lfStrikeOut ? fsStrikeOut : 0));
    d.charset = status.lfCharSet;
    d.name = Utf8(status.lfFaceName);
    return d;
}

Rgb Win32Platform::SysColor(int index) {
    const COLORREF c = ::GetSysColor(index);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

int Win32Platform::ScreenColorBits() {
    return ::GetDeviceCaps(m_screen_dc.get(), BITSPIXEL) * ::GetDeviceCaps(m_screen_dc.get(), PLANES);
}

TSize Win32Platform::LargeIconSize() { return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)}; }
TSize Win32Platform::SmallIconSize() { return {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)}; }

void Win32Platform::ShellOpen(const std::string& target) {
    // The shell tells at once; the failure takes the way it takes elsewhere.
    if (auto failure = Win32ShellOpen(target)) {
        Message msg;
        msg.kind = MessageKind::OpenFailed;
        msg.open_failure = std::move(*failure);
        m_queue.Post(msg);
    }
}

Win32Platform::Window* Win32Platform::Find(WindowId w) {
    auto it = m_windows.find(w);
    return it == m_windows.end() ? nullptr : &it->second;
}

WindowId Win32Platform::IdOf(HWND hwnd) const {
    for (const auto& [id, win] : m_windows)
        if (win.hwnd.get() == hwnd) return id;
    return kNoWindow;
}

WindowId Win32Platform::CreateWindow(const WindowParams& params) {
    const DWORD style = StyleOf(params.kind);
    const DWORD ex_style = ExStyleOf(params.kind);
    RECT outer{0, 0, std::max(params.client_size.cx, 1), std::max(params.client_size.cy, 1)};
    ::AdjustWindowRectEx(&outer, style, FALSE, ex_style);
    HWND hwnd =
        ::CreateWindowExW(ex_style, params.kind == WindowKind::Dialog ? kDialogClass : kTooltipClass,
                          Wide(params.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                          outer.bottom - outer.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!hwnd) return kNoWindow;
    const WindowId id = m_next_id++;
    Window& win = m_windows[id];
    win.hwnd.reset(hwnd);
    win.kind = params.kind;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return id;
}

void Win32Platform::DestroyWindow(WindowId w) {
    m_windows.erase(w);
    m_queue.Forget(w);
}

void Win32Platform::SetCaption(WindowId w, const std::string& caption) {
    if (auto* win = Find(w)) ::SetWindowTextW(win->hwnd.get(), Wide(caption).c_str());
}

void Win32Platform::SetIcon(WindowId w, const PixelImage& icon) {
    auto* win = Find(w);
    if (!win || icon.IsEmpty()) return;
    DibSurface colour(m_screen_dc.get(), icon.width, icon.height);
    if (!colour.Valid()) return;
    std::copy(icon.pixels.begin(), icon.pixels.end(), colour.Pixels());
    if (!icon.has_alpha)
        for (int i = 0; i < icon.width * icon.height; ++i) colour.Pixels()[i] |= 0xFF000000u;
    ::GdiFlush();
    // Transparency comes from the alpha channel; the mask stays clear.
    std::vector<std::uint8_t> zeros(static_cast<std::size_t>((icon.width + 15) / 16 * 2) * icon.height, 0);
    BitmapHandle mask(::CreateBitmap(icon.width, icon.height, 1, 1, zeros.data()));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = static_cast<HBITMAP>(::GetCurrentObject(colour.Dc(), OBJ_BITMAP));
    IconHandle handle(::CreateIconIndirect(&info));
    if (!handle) return;
    // The big icon only, for the task switcher: a dialog frame shows no icon
    // in its caption unless it is given a small one.
    ::SendMessageW(win->hwnd.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(handle.get()));
    win->icon = std::move(handle);
}

// A window is shown, placed and sized in one step when the loop next looks
// for messages, as DeferWindowPos batches them: the menu shows its window,
// centres it and then sets its configured size before its first message, and
// one change of a mapped window costs a round trip to the window system
// under Wine. Until then the window's own answers (position, size, client
// origin) come from the pending placement, and anything that needs the real
// window on the screen applies it first.
RECT Win32Platform::OuterRect(const Window& win) const {
    if (win.pending_rect) return *win.pending_rect;
    RECT r{};
    ::GetWindowRect(win.hwnd.get(), &r);
    return r;
}

void Win32Platform::ApplyPending() {
    for (auto& [id, win] : m_windows) {
        HWND hwnd = win.hwnd.get();
        if (win.pending_rect) {
            const RECT r = *win.pending_rect;
            win.pending_rect.reset();
            ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (!win.pending_show) continue;
        win.pending_show = false;
        if (win.kind == WindowKind::Tooltip) {
            ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        } else {
            ::ShowWindow(hwnd, SW_SHOWNORMAL);
        }
    }
}

void Win32Platform::ShowWindow(WindowId w, bool visible) {
    auto* win = Find(w);
    if (!win) return;
    if (!visible) {
        win->pending_show = false;
        ::ShowWindow(win->hwnd.get(), SW_HIDE);
        return;
    }
    win->pending_show = true;
    const TSize client = ClientSize(w);
    m_queue.Invalidate(w, {0, 0, client.cx, client.cy});
}

void Win32Platform::SetEnabled(WindowId w, bool enabled) {
    if (auto* win = Find(w)) ::EnableWindow(win->hwnd.get(), enabled ? TRUE : FALSE);
}

void Win32Platform::MoveWindow(WindowId w, TPoint p) {
    auto* win = Find(w);
    if (!win) return;
    RECT r = OuterRect(*win);
    ::OffsetRect(&r, p.x - r.left, p.y - r.top);
    win->pending_rect = r;
}

TPoint Win32Platform::WindowPosition(WindowId w) {
    auto* win = Find(w);
    if (!win) return {};
    const RECT r = OuterRect(*win);
    return {r.left, r.top};
}

void Win32Platform::SetClientSize(WindowId w, TSize size) {
    auto* win = Find(w);
    if (!win) return;
    size = {std::max(size.cx, 1), std::max(size.cy, 1)};
    RECT outer{0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&outer, StyleOf(win->kind), FALSE, ExStyleOf(win->kind));
    RECT r = OuterRect(*win);
    r.right = r.left + (outer.right - outer.left);
    r.bottom = r.top + (outer.bottom - outer.top);
    win->pending_rect = r;
    m_queue.Invalidate(w, {0, 0, size.cx, size.cy});
}

TSize Win32Platform::ClientSize(WindowId w) {
    auto* win = Find(w);
    if (!win) return {};
    const RECT r = OuterRect(*win);
    const FrameExtents f = Frame(w);
    return {r.right - r.left - f.left - f.right, r.bottom - r.top - f.top - f.bottom};
}

FrameExtents Win32Platform::Frame(WindowId w) {
    // The frame of our fixed styles does not depend on where the window is.
    auto* win = Find(w);
    RECT outer{}, client{};
    if (!win || !::GetWindowRect(win->hwnd.get(), &outer) || !::GetClientRect(win->hwnd.get(), &client)) return {};
    POINT origin{0, 0};
    ::ClientToScreen(win->hwnd.get(), &origin);
    return {origin.x - outer.left, origin.y - outer.top, outer.right - (origin.x + client.right),
            outer.bottom - (origin.y + client.bottom)};
}

TSize Win32Platform::MinimumCaptionedSize() { return {::GetSystemMetrics(SM_CXMIN), ::GetSystemMetrics(SM_CYMIN)}; }

TPoint Win32Platform::ClientToScreen(WindowId w, TPoint p) {
    auto* win = Find(w);
    if (!win) return p;
    const RECT r = OuterRect(*win);
    const FrameExtents f = Frame(w);
    return {r.left + f.left + p.x, r.top + f.top + p.y};
}

void Win32Platform::Invalidate(WindowId w, const TRect& r) {
    if (Find(w)) m_queue.Invalidate(w, r);
}

// The capture the framework moves or gives back itself is no loss: only the
// system taking it away ends a press.
void Win32Platform::SetCapture(WindowId w) {
    ApplyPending();
    auto* win = Find(w);
    if (!win) return;
    m_moving_capture = true;
    ::SetCapture(win->hwnd.get());
    m_moving_capture = false;
}

void Win32Platform::ReleaseCapture() {
    m_moving_capture = true;
    ::ReleaseCapture();
    m_moving_capture = false;
}

std::unique_ptr<ICanvas> Win32Platform::BeginPaint(WindowId w, TRect& area) {
    ApplyPending();
    area = m_queue.TakeInvalid(w);
    auto* win = Find(w);
    if (!win || area.IsEmpty() || !::IsWindowVisible(win->hwnd.get())) return nullptr;
    const TSize client = ClientSize(w);
    area = area.Intersect({0, 0, client.cx, client.cy});
    if (area.IsEmpty()) return nullptr;
    // Drawn off screen, then copied in one go: no flicker.
    HWND hwnd = win->hwnd.get();
    auto window_dc = std::make_shared<WindowDc>(hwnd);
    auto surface = std::make_shared<DibSurface>(window_dc->Get(), area.Width(), area.Height());
    if (!window_dc->Get() || !surface->Valid()) return nullptr;
    ::SetViewportOrgEx(surface->Dc(), -area.left, -area.top, nullptr);
    const TRect target = area;
    auto canvas = std::make_unique<GdiCanvas>(surface->Dc(), [window_dc, surface, target] {
        ::SetViewportOrgEx(surface->Dc(), 0, 0, nullptr);
        ::BitBlt(window_dc->Get(), target.left, target.top, target.Width(), target.Height(), surface->Dc(), 0, 0,
                 SRCCOPY);
#ifdef AUTOMENU_EXIT_AFTER_FIRST_FRAME
        // The start-up benchmark's build: done once the first frame is out.
        ::GdiFlush();
        ::ExitProcess(0);
#endif
    });
    canvas->IntersectClip(area);
    return canvas;
}

TPoint Win32Platform::CursorPos() {
    POINT p{};
    ::GetCursorPos(&p);
    return {p.x, p.y};
}

int Win32Platform::CursorHeight() {
    if (auto height = VisibleCursorHeight(::GetCursor())) return *height;
    return ::GetSystemMetrics(SM_CYCURSOR);
}

WindowId Win32Platform::WindowAtPoint(TPoint screen) {
    ApplyPending();
    HWND hwnd = ::WindowFromPoint(POINT{screen.x, screen.y});
    if (!hwnd) return kNoWindow;
    const WindowId id = IdOf(::GetAncestor(hwnd, GA_ROOT));
    auto* win = Find(id);
    return win && win->kind == WindowKind::Dialog ? id : kNoWindow;
}

bool Win32Platform::IsProgramActive() {
    HWND active = ::GetForegroundWindow();
    DWORD process = 0;
    return active && ::GetWindowThreadProcessId(active, &process) && process == ::GetCurrentProcessId();
}

WindowId Win32Platform::ActiveWindow() { return IdOf(::GetActiveWindow()); }

void Win32Platform::ActivateWindow(WindowId w) {
    if (auto* win = Find(w)) ::SetActiveWindow(win->hwnd.get());
}

void Win32Platform::PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            m_queue.PostQuit(static_cast<int>(msg.wParam));
            continue;
        }
        ::TranslateMessage(&msg);
        // A paint request taken here waits for the framework's loop; one
        // that a loop inside this message (a caption being dragged) takes
        // does not.
        const bool outer = m_own_paint;
        m_own_paint = msg.message == WM_PAINT;
        ::DispatchMessageW(&msg);
        m_own_paint = outer;
    }
}

bool Win32Platform::PeekMessage(Message& out) {
    ApplyPending();
    PumpMessages();
    return m_queue.Take(out, ::GetTickCount64());
}

void Win32Platform::WaitMessage() {
    ApplyPending();
    if (m_queue.HasPosted()) return;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// The system's timers: WM_TIMER comes only when nothing else is waiting, and
// a destroyed window's timers end with it.
void Win32Platform::SetTimer(WindowId w, int id, unsigned milliseconds) {
    if (auto* win = Find(w)) ::SetTimer(win->hwnd.get(), static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

void Win32Platform::KillTimer(WindowId w, int id) {
    if (auto* win = Find(w)) ::KillTimer(win->hwnd.get(), static_cast<UINT_PTR>(id));
}

bool Win32Platform::ErrorBox(const std::string& caption, const std::string& text) {
    ApplyPending();
    HWND owner = nullptr;
    for (auto& [id, win] : m_windows)
        if (win.kind == WindowKind::Dialog && ::IsWindowVisible(win.hwnd.get())) owner = win.hwnd.get();
    ::MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONSTOP);
    // Input aimed at the disabled windows while the box was up is dropped.
    PumpMessages();
    m_queue.DropInput();
    return true;
}

void Win32Platform::SetAccessibleContent(WindowId w, const IAccessibleContent* content) {
    auto* win = Find(w);
    if (!win) return;
    win->accessible.reset();
    if (!content) return;
    // An activation takes the way of input: the framework's loop handles it.
    win->accessible = std::make_unique<AccessibleWindow>(win->hwnd.get(), *content, [this, w](std::size_t item) {
        Message msg;
        msg.kind = MessageKind::DefaultAction;
        msg.window = w;
        msg.item = item;
        m_queue.Post(msg);
    });
}

void Win32Platform::NotifyAccessible(WindowId w, AccessibleEvent event, std::size_t item) {
    auto* win = Find(w);
    if (win && win->accessible) win->accessible->Notify(event, item);
}

std::shared_ptr<IFont> Win32Platform::CreateFont(const FontDescription& description) {
    return std::make_shared<Win32Font>(description);
}

bool Win32Platform::DecodePng(std::span<const std::uint8_t> png, PixelImage& out) {
    return DecodePngWithWic(png, out);
}

bool Win32Platform::DecodePicture(CompressedImageFormat format, std::span<const std::uint8_t> file, TSize visible,
                                  PixelImage& out) {
    return DecodePictureWithWic(format, file, visible, out);
}

LRESULT CALLBACK Win32Platform::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<Win32Platform*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const WindowId id = self ? self->IdOf(hwnd) : kNoWindow;
    if (id == kNoWindow) return ::DefWindowProcW(hwnd, message, wparam, lparam);
    return self->Handle(id, hwnd, message, wparam, lparam);
}

LRESULT Win32Platform::Handle(WindowId id, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Message msg;
    msg.window = id;
    const auto mouse = [&](MessageKind kind) {
        msg.kind = kind;
        msg.pos = PointOf(lparam);
        msg.keys = static_cast<unsigned>(GET_KEYSTATE_WPARAM(wparam));
        m_queue.Post(msg);
        return 0;
    };
    switch (message) {
        case WM_MOUSEMOVE: return mouse(MessageKind::MouseMove);
        case WM_LBUTTONDOWN: return mouse(MessageKind::LButtonDown);
        case WM_LBUTTONUP: return mouse(MessageKind::LButtonUp);
        case WM_LBUTTONDBLCLK: return mouse(MessageKind::LButtonDblClk);
        case WM_RBUTTONDOWN: return mouse(MessageKind::RButtonDown);
        case WM_RBUTTONUP: return mouse(MessageKind::RButtonUp);
        case WM_MBUTTONDOWN: return mouse(MessageKind::MButtonDown);
        case WM_MBUTTONUP: return mouse(MessageKind::MButtonUp);
        case WM_MOUSEWHEEL: {
            POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            ::ScreenToClient(hwnd, &p);
            msg.kind = MessageKind::MouseWheel;
            msg.pos = {p.x, p.y};
            msg.keys = GET_KEYSTATE_WPARAM(wparam);
            msg.wheel_delta = GET_WHEEL_DELTA_WPARAM(wparam);
            m_queue.Post(msg);
            return 0;
        }
        case WM_NCMOUSEMOVE: {
            POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            ::ScreenToClient(hwnd, &p);
            msg.kind = MessageKind::NcMouseMove;
            msg.pos = {p.x, p.y};
            m_queue.Post(msg);
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            msg.kind = message == WM_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
            msg.key = static_cast<int>(wparam);
            // The state as of this message, not as the keyboard is now.
            if (::GetKeyState(VK_SHIFT) < 0) msg.keys |= MK_SHIFT;
            if (::GetKeyState(VK_CONTROL) < 0) msg.keys |= MK_CONTROL;
            m_queue.Post(msg);
            return 0;
        case WM_TIMER:
            msg.kind = MessageKind::Timer;
            msg.timer_id = static_cast<int>(wparam);
            m_queue.Post(msg);
            return 0;
        case WM_CLOSE:
            msg.kind = MessageKind::Close;
            m_queue.Post(msg);
            return 0;
        case WM_ACTIVATE:
            msg.kind = LOWORD(wparam) == WA_INACTIVE ? MessageKind::Deactivate : MessageKind::Activate;
            m_queue.Post(msg);
            break;
        case WM_NCHITTEST:
            // The hint window lets the mouse through to what lies beneath.
            if (Find(id)->kind == WindowKind::Tooltip) return HTTRANSPARENT;
            break;
        case WM_MOUSEACTIVATE:
            if (Find(id)->kind == WindowKind::Tooltip) return MA_NOACTIVATE;
            break;
        case WM_ERASEBKGND:
            return 1;  // every pixel is painted
        case WM_GETOBJECT: {
            auto* win = Find(id);
            if (static_cast<LONG>(static_cast<DWORD>(lparam)) != OBJID_CLIENT || !win->accessible) break;
            if (!m_com) m_com.emplace();
            if (const LRESULT answer = win->accessible->Answer(wparam)) return answer;
            break;
        }
        case WM_PAINT: {
            RECT r{};
            if (::GetUpdateRect(hwnd, &r, FALSE)) m_queue.Invalidate(id, RectOf(r));
            ::ValidateRect(hwnd, nullptr);
            // In a loop of the system's own (a message box, a caption being
            // dragged) the framework's loop waits: paint now.
            if (!m_own_paint && m_paint_now) m_paint_now(id);
            return 0;
        }
        case WM_CANCELMODE:
            msg.kind = MessageKind::CaptureLost;
            m_queue.Post(msg);
            break;  // the system releases the capture
        case WM_CAPTURECHANGED:
            if (!m_moving_capture && reinterpret_cast<HWND>(lparam) != hwnd) {
                msg.kind = MessageKind::CaptureLost;
                m_queue.Post(msg);
            }
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace automenu::platform
