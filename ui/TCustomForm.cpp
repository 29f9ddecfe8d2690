#include "ui/TCustomForm.h"

#include <algorithm>
#include <exception>

#include "platform/PlatformAccess.h"
#include "ui/TApplication.h"

namespace automenu {

using platform::Message;
using platform::MessageKind;

namespace {
TShiftState ShiftFromKeys(unsigned keys) {
    TShiftState s = 0;
    if (keys & platform::MK_SHIFT) s |= ssShift;
    if (keys & platform::MK_CONTROL) s |= ssCtrl;
    if (keys & platform::MK_LBUTTON) s |= ssLeft;
    if (keys & platform::MK_RBUTTON) s |= ssRight;
    if (keys & platform::MK_MBUTTON) s |= ssMiddle;
    return s;
}
}  // namespace

TCustomForm::TCustomForm() {
    if (HasPlatform()) m_icon.SetRequestedSize(Platform().SmallIconSize());
    m_font.OnChange = [this] {
        for (auto& c : m_controls) c->ParentFontChanged();
        InvalidateRect({0, 0, m_client.cx, m_client.cy});
    };
}

TCustomForm::~TCustomForm() {
    if (HasApplication()) Application().Hints().FormDestroyed(*this);
    if (m_handle != platform::kNoWindow) {
        if (HasApplication()) Application().UnregisterWindow(m_handle);
        Platform().SetAccessibleContent(m_handle, nullptr);
        Platform().DestroyWindow(m_handle);
    }
    m_controls.clear();
}

void TCustomForm::SetCaption(std::string caption) {
    if (caption == m_caption) return;
    m_caption = std::move(caption);
    if (HandleAllocated()) Platform().SetCaption(m_handle, m_caption);
}

void TCustomForm::SetColor(TColor color) {
    if (color == m_color) return;
    m_color = color;
    InvalidateRect({0, 0, m_client.cx, m_client.cy});
}

void TCustomForm::SetClientSize(TSize size) {
    size.cx = std::max(size.cx, 0);
    size.cy = std::max(size.cy, 0);
    if (size == m_client) return;
    m_client = size;
    if (HandleAllocated()) Platform().SetClientSize(m_handle, size);
}

int TCustomForm::Width() const {
    if (!HandleAllocated()) return m_client.cx;
    auto f = Platform().Frame(m_handle);
    return m_client.cx + f.left + f.right;
}

int TCustomForm::Height() const {
    if (!HandleAllocated()) return m_client.cy;
    auto f = Platform().Frame(m_handle);
    return m_client.cy + f.top + f.bottom;
}

void TCustomForm::UpdateOuterSize(TSize outer) {
    HandleNeeded();
    // As Windows tracks a top-level window: never larger than the screen plus
    // the frame (so a mistyped size can't make a window of gigabytes), never
    // smaller than a captioned window can be.
    const auto f = Platform().Frame(m_handle);
    const TSize screen = Platform().ScreenSize();
    const TSize min = Platform().MinimumCaptionedSize();
    outer.cx = std::max(std::min(outer.cx, screen.cx + f.left + f.right), min.cx);
    outer.cy = std::max(std::min(outer.cy, screen.cy + f.top + f.bottom), min.cy);
    SetClientSize({outer.cx - f.left - f.right, outer.cy - f.top - f.bottom});
    // A size change keeps the top-left corner, unless the caption's close
    // button would leave the screen.
    if (m_placed && m_position != TPosition::poDesigned) PlaceCentred(m_centred_at);
}

TPoint ReachablePosition(TPoint at, TSize outer, const platform::FrameExtents& frame, const TRect& work) {
    at.x = std::max(at.x, work.left - frame.left);
    // The close button wins over the caption's left end.
    const int caption_right = at.x + outer.cx - frame.right;
    if (caption_right > work.right) at.x -= caption_right - work.right;
    at.y = std::max(at.y, work.top);
    return at;
}

void TCustomForm::PlaceCentred(TPoint at) {
    const TPoint reachable =
        ReachablePosition(at, {Width(), Height()}, Platform().Frame(m_handle), Platform().WorkArea());
    if (m_placed && reachable == m_centred_at) return;
    m_placed = true;
    m_centred_at = reachable;
    Platform().MoveWindow(m_handle, reachable);
}

void TCustomForm::SetWidth(int outer_width) { UpdateOuterSize({outer_width, Height()}); }

void TCustomForm::SetHeight(int outer_height) { UpdateOuterSize({Width(), outer_height}); }

int TCustomForm::Left() const {
    return HandleAllocated() ? Platform().WindowPosition(m_handle).x : m_designed_position.x;
}

int TCustomForm::Top() const {
    return HandleAllocated() ? Platform().WindowPosition(m_handle).y : m_designed_position.y;
}

void TCustomForm::HandleNeeded() {
    if (HandleAllocated()) return;
    platform::WindowParams params;
    params.kind = platform::WindowKind::Dialog;
    params.caption = m_caption;
    params.client_size = m_client;
    params.modal = m_modal;
    m_handle = Platform().CreateWindow(params);
    // Without a window the loop would wait for ever for a message that can
    // never come: the creation fails instead, with a message.
    if (m_handle == platform::kNoWindow) throw EOutOfResources("Cannot create the window");
    if (!m_app_icon.IsEmpty()) Platform().SetIcon(m_handle, m_app_icon);
    if (!m_enabled) Platform().SetEnabled(m_handle, false);
    if (!m_accessible.empty()) Platform().SetAccessibleContent(m_handle, this);
    // A centred window is placed when it is first shown.
    if (m_position == TPosition::poDesigned) Platform().MoveWindow(m_handle, m_designed_position);
    if (HasApplication()) Application().RegisterWindow(m_handle, *this);
}

void TCustomForm::Show() {
    HandleNeeded();
    if (m_visible) return;
    m_visible = true;
    Platform().ShowWindow(m_handle, true);
    if (!m_placed) {
        // Centred once, for the outer size it has now; later size changes
        // keep the top-left corner.
        if (m_position != TPosition::poDesigned) {
            const TSize screen = Platform().ScreenSize();
            const TRect area = m_position == TPosition::poScreenCenter ? TRect{0, 0, screen.cx, screen.cy}
                                                                       : Platform().WorkArea();
            PlaceCentred({area.left + (area.Width() - Width()) / 2, area.top + (area.Height() - Height()) / 2});
        }
        m_placed = true;
    }
}

void TCustomForm::Hide() {
    if (!m_visible) return;
    m_visible = false;
    if (HandleAllocated()) Platform().ShowWindow(m_handle, false);
}

void TCustomForm::Close() {
    // No close-query or close handler can refuse; the main window ends the
    // application, which destroys the window at program end.
    if (HasApplication() && Application().MainForm() == this) {
        Application().Terminate();
        return;
    }
    if (m_modal) {
        m_modal_result = mrCancel;
        return;
    }
    Hide();
}

void TCustomForm::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (HandleAllocated()) Platform().SetEnabled(m_handle, enabled);
}

TModalResult TCustomForm::ShowModal() {
    // The window is created modal when it does not exist yet.
    m_modal = true;
    m_modal_result = mrNone;
    try {
        Show();
        while (m_modal_result == mrNone) {
            Application().HandleMessage();
            // A quit message taken by this loop ends the form, and then the
            // application's own loop.
            if (Application().Terminated()) m_modal_result = mrCancel;
        }
    } catch (...) {
        m_modal = false;
        throw;
    }
    m_modal = false;
    Hide();
    return m_modal_result;
}

TControl* TCustomForm::FindControl(const std::string& name) const {
    for (const auto& c : m_controls)
        if (c->Name() == name) return c.get();
    return nullptr;
}

TControl* TCustomForm::ControlAtPos(TPoint p) const {
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        TControl& c = **it;
        if (c.Visible() && c.BoundsRect().Contains(p)) return &c;
    }
    return nullptr;
}

void TCustomForm::InvalidateRect(const TRect& r) {
    if (HandleAllocated() && !r.IsEmpty()) Platform().Invalidate(m_handle, r);
}

void TCustomForm::SetAppIcon(const PixelImage& icon) {
    m_app_icon = icon;
    if (HandleAllocated()) Platform().SetIcon(m_handle, m_app_icon);
}

void TCustomForm::ReleaseMouseCapture() {
    if (!m_capture_control) return;
    m_capture_control = nullptr;
    Platform().ReleaseCapture();
}

void TCustomForm::CancelMode() {
    TControl* pressed = m_capture_control;
    ReleaseMouseCapture();
    if (pressed) pressed->MouseUp(0, -1, -1);
}

void TCustomForm::CaptureLost() {
    TControl* pressed = m_capture_control;
    // The system has taken the capture already: nothing to give back.
    m_capture_control = nullptr;
    if (pressed) pressed->MouseUp(0, -1, -1);
}

void TCustomForm::DispatchMouse(const Message& msg) {
    TControl* target = m_capture_control ? m_capture_control : ControlAtPos(msg.pos);
    const TShiftState shift = ShiftFromKeys(msg.keys);
    const int x = msg.pos.x - (target ? target->Left() : 0);
    const int y = msg.pos.y - (target ? target->Top() : 0);
    switch (msg.kind) {
        case MessageKind::MouseMove:
            if (target) target->MouseMove(shift, x, y);
            // The hint goes by what lies under the pointer once the handler has
            // run, not by the capture.
            if (HasApplication()) Application().Hints().MouseMoved(*this, ControlAtPos(msg.pos), msg.pos);
            break;
        case MessageKind::LButtonDown:
        case MessageKind::LButtonDblClk:
            if (!target) break;
            m_capture_control = target;
            Platform().SetCapture(m_handle);
            target->MouseDown(shift | (msg.kind == MessageKind::LButtonDblClk ? ssDouble : 0), x, y,
                              msg.kind == MessageKind::LButtonDblClk);
            break;
        case MessageKind::LButtonUp:
            ReleaseMouseCapture();
            if (target) target->MouseUp(shift, x, y);
            break;
        default:
            break;
    }
}

void TCustomForm::WndProc(const Message& msg) {
    // Input that was queued before the window was disabled never reaches it.
    if (!m_enabled && (platform::IsKeyOrButtonMessage(msg.kind) || msg.kind == MessageKind::MouseMove ||
                       msg.kind == MessageKind::Close || msg.kind == MessageKind::DefaultAction))
        return;
    switch (msg.kind) {
        case MessageKind::MouseMove:
        case MessageKind::LButtonDown:
        case MessageKind::LButtonDblClk:
        case MessageKind::LButtonUp:
            DispatchMouse(msg);
            break;
        case MessageKind::Close:
            Close();
            break;
        case MessageKind::CaptureLost:
            CaptureLost();
            break;
        case MessageKind::DefaultAction:
            AccessibleAction(msg.item);
            break;
        case MessageKind::KeyDown:
            ShowFocusCues();
            if (OnKeyDown) OnKeyDown(this, msg.key, ShiftFromKeys(msg.keys));
            break;
        case MessageKind::KeyUp:
            if (OnKeyUp) OnKeyUp(this, msg.key, ShiftFromKeys(msg.keys));
            break;
        case MessageKind::Paint: {
            TRect area;
            if (auto canvas = Platform().BeginPaint(m_handle, area)) PaintWindow(*canvas, area);
            break;
        }
        case MessageKind::Timer:
            if (msg.timer_id == THintController::kTimerId && HasApplication()) Application().Hints().TimerFired();
            break;
        default:
            break;
    }
}

void TCustomForm::PaintWindow(platform::ICanvas& canvas, const TRect& area) {
    canvas.FillRect(area, ResolveColor(m_color));
    // A control that fails to paint is reported once and then left out until
    // it changes: the error box would otherwise repaint the window, fail
    // again and show another box, for ever. The other controls still paint.
    std::exception_ptr failure;
    for (const auto& c : m_controls) {
        if (!c->Visible() || c->PaintFailed() || !c->BoundsRect().Intersects(area)) continue;
        canvas.Save();
        canvas.Translate(c->Left(), c->Top());
        canvas.IntersectClip({0, 0, c->Width(), c->Height()});
        try {
            c->Paint(canvas);
        } catch (...) {
            c->SetPaintFailed();
            if (!failure) failure = std::current_exception();
        }
        canvas.Restore();
    }
    // Over every control, as it marks one of them; inside its bounds, which
    // every change of the control repaints.
    if (m_focus_cues && m_focused && m_focused->Visible() && m_focused->BoundsRect().Intersects(area))
        canvas.DrawFocusRect(m_focused->BoundsRect());
    if (failure) std::rethrow_exception(failure);
}

void TCustomForm::SetFocusedControl(TControl* control) {
    if (control == m_focused) return;
    if (m_focus_cues && m_focused) m_focused->Invalidate();
    m_focused = control;
    if (m_focus_cues && m_focused) m_focused->Invalidate();
    if (m_focused) AccessibleChanged(*m_focused, platform::AccessibleEvent::Focus);
}

void TCustomForm::ShowFocusCues() {
    if (m_focus_cues) return;
    m_focus_cues = true;
    if (m_focused) m_focused->Invalidate();
}

void TCustomForm::SetAccessibleControls(std::vector<TAccessibleControl> controls) {
    m_accessible = std::move(controls);
    if (HandleAllocated()) Platform().SetAccessibleContent(m_handle, m_accessible.empty() ? nullptr : this);
}

std::vector<platform::AccessibleItem> TCustomForm::AccessibleItems() const {
    std::vector<platform::AccessibleItem> items;
    items.reserve(m_accessible.size());
    for (const TAccessibleControl& a : m_accessible) {
        const TControl& c = *a.control;
        platform::AccessibleItem& item = items.emplace_back();
        item.role = a.role;
        item.name = c.AccessibleName();
        if (c.ShowHint()) item.description = c.Hint();
        item.default_action = a.default_action;
        item.bounds = c.BoundsRect();
        item.visible = m_visible && c.Visible();
        item.focusable = a.role == platform::AccessibleRole::PushButton;
        item.focused = &c == m_focused;
    }
    return items;
}

void TCustomForm::AccessibleChanged(const TControl& control, platform::AccessibleEvent event) {
    if (!HandleAllocated()) return;
    const auto it = std::find_if(m_accessible.begin(), m_accessible.end(),
                                 [&](const TAccessibleControl& a) { return a.control == &control; });
    if (it != m_accessible.end())
        Platform().NotifyAccessible(m_handle, event, static_cast<std::size_t>(it - m_accessible.begin()));
}

void TCustomForm::AccessibleAction(std::size_t item) {
    // Only what a click could reach: a shown control that has something to do.
    if (item >= m_accessible.size() || !m_visible) return;
    const TAccessibleControl& a = m_accessible[item];
    if (a.default_action.empty() || !a.control->Visible()) return;
    a.control->Click();
}

}  // namespace automenu
