#include "ui/THintWindow.h"

#include "platform/PlatformAccess.h"

namespace automenu {

namespace {
constexpr unsigned kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
}  // namespace

THintWindow::THintWindow() {
    // The system's status-bar font, else 8 points of the default face.
    if (auto status = HasPlatform() ? Platform().StatusFont() : std::nullopt) {
        m_font.SetName(status->name);
        m_font.SetHeight(status->height);
        m_font.SetStyle(status->style);
        m_font.SetCharset(status->charset);
    } else {
        m_font.SetSize(8);
    }
    m_font.SetColor(clInfoText);
}

THintWindow::~THintWindow() {
    if (m_handle != platform::kNoWindow && HasPlatform()) Platform().DestroyWindow(m_handle);
}

TRect THintWindow::CalcHintRect(int max_width, const std::string& text) {
    TRect r = Platform().ScreenCanvas().DrawText(m_font.Handle(), {}, text, {0, 0, max_width, 0},
                                                 kHintTextFlags | DT_CALCRECT);
    r = {0, 0, r.Width() + 6, r.Height() + 2};
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& text) {
    m_text = text;
    rect.bottom += 4;
    const int width = rect.Width();
    const int height = rect.Height();
    // Keep it on the desktop (every monitor): up or left to touch the bottom
    // or right edge, then right or down so it never starts off the left or
    // top.
    const TRect desktop = Platform().VirtualDesktop();
    int left = rect.left;
    int top = rect.top;
    if (top + height > desktop.bottom) top = desktop.bottom - height;
    if (left + width > desktop.right) left = desktop.right - width;
    if (left < desktop.left) left = desktop.left;
    if (top < desktop.top) top = desktop.top;
    m_bounds = TRect::FromBounds(left, top, width, height);

    if (m_handle == platform::kNoWindow) {
        platform::WindowParams params;
        params.kind = platform::WindowKind::Tooltip;
        params.client_size = {width, height};
        m_handle = Platform().CreateWindow(params);
    } else {
        Platform().SetClientSize(m_handle, {width, height});
    }
    Platform().MoveWindow(m_handle, {left, top});
    Platform().ShowWindow(m_handle, true);
    // A window already showing gets the new text painted too.
    Platform().Invalidate(m_handle, {0, 0, width, height});
    m_visible = true;
}

void THintWindow::Hide() {
    if (!m_visible) return;
    m_visible = false;
    if (m_handle != platform::kNoWindow) Platform().ShowWindow(m_handle, false);
}

void THintWindow::SetColor(TColor color) {
    if (color == m_color) return;
    m_color = color;
    if (m_visible) Platform().Invalidate(m_handle, {0, 0, m_bounds.Width(), m_bounds.Height()});
}

void THintWindow::WndProc(const platform::Message& msg) {
    if (msg.kind != platform::MessageKind::Paint) return;
    TRect area;
    if (auto canvas = Platform().BeginPaint(m_handle, area)) Paint(*canvas);
}

void THintWindow::Paint(platform::ICanvas& canvas) {
    const TRect client{0, 0, m_bounds.Width(), m_bounds.Height()};
    canvas.FillRect(client, ResolveColor(m_color));
    canvas.DrawRaisedEdge(client);
    // Inside the one-pixel edge, 2 pixels in from the left and the top.
    canvas.DrawText(m_font.Handle(), ResolveColor(m_font.Color()), m_text,
                    {client.left + 3, client.top + 3, client.right - 1, client.bottom - 1}, kHintTextFlags);
}

}  // namespace automenu
