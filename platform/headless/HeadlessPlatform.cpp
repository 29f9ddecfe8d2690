#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>

#include "platform/DesktopScale.h"

namespace automenu::platform {

namespace {
// A frame like a common window manager's: thin borders and a caption bar.
constexpr FrameExtents kDialogFrame{3, 22, 3, 3};
}  // namespace

HeadlessPlatform::HeadlessPlatform() = default;

HeadlessPlatform::~HeadlessPlatform() = default;

HeadlessPlatform::Window* HeadlessPlatform::Find(WindowId w) {
    auto it = m_windows.find(w);
    return it == m_windows.end() ? nullptr : &it->second;
}

const HeadlessPlatform::Window* HeadlessPlatform::Find(WindowId w) const {
    auto it = m_windows.find(w);
    return it == m_windows.end() ? nullptr : &it->second;
}

WindowId HeadlessPlatform::CreateWindow(const WindowParams& params) {
    if (m_window_creation_fails) return kNoWindow;
    WindowId id = m_next_id++;
    Window& win = m_windows[id];
    win.params = params;
    // The framework makes its error box right after asking for a system one.
    if (params.modal && !m_boxes.empty() && m_boxes.back().window == kNoWindow) m_boxes.back().window = id;
    win.surface = CreateOffscreenSurface(params.client_size, m_scale);
    return id;
}

void HeadlessPlatform::DestroyWindow(WindowId w) {
    m_windows.erase(w);
    m_queue.Forget(w);
    if (m_capture == w) m_capture = kNoWindow;
    if (m_active == w) m_active = kNoWindow;
}

void HeadlessPlatform::SetCaption(WindowId w, const std::string& caption) {
    if (auto* win = Find(w)) win->params.caption = caption;
}

void HeadlessPlatform::SetIcon(WindowId w, const PixelImage& icon) {
    if (auto* win = Find(w)) win->icon = icon;
}

void HeadlessPlatform::ShowWindow(WindowId w, bool visible) {
    auto* win = Find(w);
    if (!win || win->visible == visible) return;
    win->visible = visible;
    // A captioned window is activated when it appears, and gives up being
    // active when it goes; the desktop then activates none of ours.
    if (visible && win->params.kind == WindowKind::Dialog) m_active = w;
    if (!visible && m_active == w) m_active = kNoWindow;
    if (visible) Invalidate(w, {0, 0, win->params.client_size.cx, win->params.client_size.cy});
}

bool HeadlessPlatform::IsWindowVisible(WindowId w) const {
    auto* win = Find(w);
    return win && win->visible;
}

void HeadlessPlatform::SetEnabled(WindowId w, bool enabled) {
    if (auto* win = Find(w)) win->enabled = enabled;
}

void HeadlessPlatform::MoveWindow(WindowId w, TPoint outer_top_left) {
    if (auto* win = Find(w)) win->position = outer_top_left;
}

TPoint HeadlessPlatform::WindowPosition(WindowId w) {
    auto* win = Find(w);
    return win ? win->position : TPoint{};
}

void HeadlessPlatform::SetClientSize(WindowId w, TSize size) {
    auto* win = Find(w);
    if (!win || win->params.client_size == size) return;
    win->params.client_size = size;
    win->surface = CreateOffscreenSurface(size, m_scale);
    Invalidate(w, {0, 0, size.cx, size.cy});
}

TSize HeadlessPlatform::ClientSize(WindowId w) const {
    auto* win = Find(w);
    return win ? win->params.client_size : TSize{};
}

FrameExtents HeadlessPlatform::Frame(WindowId w) {
    auto* win = Find(w);
    return win && win->params.kind == WindowKind::Dialog ? kDialogFrame : FrameExtents{};
}

TPoint HeadlessPlatform::ClientToScreen(WindowId w, TPoint p) {
    auto* win = Find(w);
    if (!win) return p;
    FrameExtents f = Frame(w);
    return {win->position.x + f.left + p.x, win->position.y + f.top + p.y};
}

void HeadlessPlatform::Invalidate(WindowId w, const TRect& r) {
    auto* win = Find(w);
    if (!win || r.IsEmpty()) return;
    ++m_invalidate_count;
    m_queue.Invalidate(w, r.Intersect({0, 0, win->params.client_size.cx, win->params.client_size.cy}));
}

std::unique_ptr<ICanvas> HeadlessPlatform::BeginPaint(WindowId w, TRect& area) {
    area = m_queue.TakeInvalid(w);
    auto* win = Find(w);
    if (!win || area.IsEmpty()) return nullptr;
    ++m_paint_count;
    auto canvas = win->surface->Canvas();
    if (!canvas) return nullptr;
    canvas->IntersectClip(area);
    return canvas;
}

WindowId HeadlessPlatform::WindowAtPoint(TPoint screen) {
    // Topmost first: later windows lie above earlier ones.
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
        const Window& win = it->second;
        if (!win.visible || win.params.kind == WindowKind::Tooltip) continue;
        FrameExtents f = Frame(it->first);
        TRect outer = TRect::FromBounds(win.position.x, win.position.y, win.params.client_size.cx + f.left + f.right,
                                        win.params.client_size.cy + f.top + f.bottom);
        if (outer.Contains(screen)) return it->first;
    }
    return kNoWindow;
}

bool HeadlessPlatform::PeekMessage(Message& out) { return m_queue.Take(out, m_now); }

void HeadlessPlatform::ShellOpen(const std::string& target) {
    m_shell_opens.push_back(target);
    if (!m_open_failure) return;
    Message msg;
    msg.kind = MessageKind::OpenFailed;
    msg.open_failure = {target, *m_open_failure};
    m_queue.Post(msg);
}

const HeadlessPlatform::Box* HeadlessPlatform::OpenBox() const {
    for (auto it = m_boxes.rbegin(); it != m_boxes.rend(); ++it)
        if (IsWindowVisible(it->window)) return &*it;
    return nullptr;
}

void HeadlessPlatform::WaitMessage() {
    ++m_wait_count;
    if (m_queue.HasPosted()) return;
    if (const Box* box = OpenBox()) {
        // A user answers a box before anything else happens.
        if (m_on_box) m_on_box(*box);
        if (!m_queue.HasPosted() && !m_queue.HasQuit()) PressKey(box->window, VK_RETURN);
        return;
    }
    if (auto due = m_queue.NextTimerDue()) {
        if (*due > m_now) m_now = *due;
        return;
    }
    if (m_when_idle) m_when_idle();
    if (!m_queue.HasPosted() && !m_queue.NextTimerDue()) m_queue.PostQuit(0);
}

bool HeadlessPlatform::ErrorBox(const std::string& caption, const std::string& text) {
    m_boxes.push_back({caption, text});
    return false;
}

void HeadlessPlatform::PostMouse(WindowId w, MessageKind kind, int x, int y) {
    m_cursor = ClientToScreen(w, {x, y});
    Message msg;
    msg.kind = kind;
    msg.window = w;
    msg.pos = {x, y};
    msg.keys = m_buttons;
    m_queue.Post(msg);
}

void HeadlessPlatform::TakeCapture(WindowId w) {
    if (m_capture != w) return;
    m_capture = kNoWindow;
    Message msg;
    msg.kind = MessageKind::CaptureLost;
    msg.window = w;
    m_queue.Post(msg);
}

void HeadlessPlatform::MoveMouse(WindowId w, int x, int y) { PostMouse(w, MessageKind::MouseMove, x, y); }

void HeadlessPlatform::PressLeft(WindowId w, int x, int y) {
    m_buttons |= MK_LBUTTON;
    PostMouse(w, m_clicks.Press(w, {x, y}, m_now) ? MessageKind::LButtonDblClk : MessageKind::LButtonDown, x, y);
}

void HeadlessPlatform::ReleaseLeft(WindowId w, int x, int y) {
    m_buttons &= ~MK_LBUTTON;
    PostMouse(w, MessageKind::LButtonUp, x, y);
}

void HeadlessPlatform::DoubleClick(WindowId w, int x, int y) {
    m_clicks.Reset();
    for (int i = 0; i < 2; ++i) {
        PressLeft(w, x, y);
        ReleaseLeft(w, x, y);
    }
}

void HeadlessPlatform::PostKey(WindowId w, MessageKind kind, int key, unsigned keys) {
    Message msg;
    msg.kind = kind;
    msg.window = w;
    msg.key = key;
    msg.keys = keys;
    m_queue.Post(msg);
}

void HeadlessPlatform::PressKey(WindowId w, int key, unsigned keys) { PostKey(w, MessageKind::KeyDown, key, keys); }

void HeadlessPlatform::ReleaseKey(WindowId w, int key, unsigned keys) { PostKey(w, MessageKind::KeyUp, key, keys); }

void HeadlessPlatform::RequestClose(WindowId w) {
    Message msg;
    msg.kind = MessageKind::Close;
    msg.window = w;
    m_queue.Post(msg);
}

void HeadlessPlatform::ActivateAccessible(WindowId w, std::size_t item) { m_queue.PostDefaultAction(w, item); }

void HeadlessPlatform::SetAccessibleContent(WindowId w, const IAccessibleContent* content) {
    if (auto* win = Find(w)) win->accessible = content;
}

void HeadlessPlatform::NotifyAccessible(WindowId w, AccessibleEvent event, std::size_t item) {
    if (Find(w)) m_accessible_notices.push_back({w, event, item});
}

std::vector<AccessibleItem> HeadlessPlatform::AccessibleItems(WindowId w) const {
    const Window* win = Find(w);
    return win && win->accessible ? win->accessible->AccessibleItems() : std::vector<AccessibleItem>{};
}

std::vector<WindowId> HeadlessPlatform::Windows() const {
    std::vector<WindowId> ids;
    for (const auto& [id, win] : m_windows) ids.push_back(id);
    return ids;
}

std::string HeadlessPlatform::Caption(WindowId w) const {
    auto* win = Find(w);
    return win ? win->params.caption : std::string();
}

bool HeadlessPlatform::IsEnabled(WindowId w) const {
    auto* win = Find(w);
    return win && win->enabled;
}

WindowKind HeadlessPlatform::Kind(WindowId w) const {
    auto* win = Find(w);
    return win ? win->params.kind : WindowKind::Dialog;
}

bool HeadlessPlatform::IsModal(WindowId w) const {
    auto* win = Find(w);
    return win && win->params.modal;
}

TPoint HeadlessPlatform::Position(WindowId w) const {
    auto* win = Find(w);
    return win ? win->position : TPoint{};
}

const PixelImage* HeadlessPlatform::Icon(WindowId w) const {
    auto* win = Find(w);
    return win ? &win->icon : nullptr;
}

Rgb HeadlessPlatform::Pixel(WindowId w, int x, int y) const {
    auto* win = Find(w);
    if (!win || x < 0 || y < 0 || x >= win->params.client_size.cx || y >= win->params.client_size.cy) return {};
    // The device pixel at the design unit's top-left corner.
    const TSize device = win->surface->DeviceSize();
    return win->surface->DevicePixel(std::min(ScaledLength(x, m_scale), device.cx - 1),
                                     std::min(ScaledLength(y, m_scale), device.cy - 1));
}

bool HeadlessPlatform::SavePng(WindowId w, const std::string& path) const {
    auto* win = Find(w);
    if (!win) return false;
    return win->surface->SavePng(path);
}

}  // namespace automenu::platform
