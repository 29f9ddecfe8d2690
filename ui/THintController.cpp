#include "ui/THintController.h"

#include "platform/PlatformAccess.h"
#include "ui/TApplication.h"
#include "ui/TControl.h"
#include "ui/TCustomForm.h"
#include "ui/THintWindow.h"

namespace automenu {

using platform::MessageKind;

namespace {

// The form of this program under a screen point, or null.
TCustomForm* FormAt(TPoint screen) {
    return HasApplication() ? Application().FormOfWindow(Platform().WindowAtPoint(screen)) : nullptr;
}

TPoint Origin(const TCustomForm& form) { return Platform().ClientToScreen(form.Handle(), {0, 0}); }

// The control or its first parent that shows hints. The form itself never
// does, so only the control counts.
TControl* HintControlOf(TControl* control) { return control && control->ShowHint() ? control : nullptr; }

bool CancelsHint(MessageKind kind) {
    return platform::IsKeyOrButtonMessage(kind) || kind == MessageKind::NcMouseMove ||
           kind == MessageKind::Activate || kind == MessageKind::Deactivate;
}

}  // namespace

THintController::THintController() = default;
THintController::~THintController() = default;

std::string THintController::ShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

bool THintController::Showing() const { return m_window && m_window->Visible(); }

void THintController::MouseMoved(TCustomForm& form, TControl* control, TPoint pos) {
    if (!m_enabled) return;
    // A captured pointer outside the client area is over none of its controls.
    if (!TRect{0, 0, form.ClientWidth(), form.ClientHeight()}.Contains(pos)) control = nullptr;
    TControl* hint_control = HintControlOf(control);
    if (!hint_control) {
        Cancel();
        return;
    }
    const TPoint origin = Origin(form);
    const TPoint cursor{origin.x + pos.x, origin.y + pos.y};
    if (hint_control == m_hint_control && m_cursor_rect.Contains(cursor)) return;
    const unsigned pause = m_active ? kShortPause : kShowPause;
    if (!m_active || pause != 0) {
        Cancel();
        m_hint_control = hint_control;
        StartTimer(form, pause, TimerMode::Show);
    } else {
        m_hint_control = hint_control;
        ActivateHint(form, cursor);
    }
}

void THintController::ActivateHint(TCustomForm& form, TPoint cursor) {
    m_active = false;
    if (!m_enabled || !m_hint_control || !Platform().IsProgramActive()) return;
    const std::string text = ShortHint(m_hint_control->Hint());
    if (text.empty()) return;

    m_active = true;
    if (!m_window) m_window = std::make_unique<THintWindow>();
    TRect rect = m_window->CalcHintRect(Platform().ScreenSize().cx, text);
    // Below the pointer by the visible height of the cursor.
    rect = rect.Offset(cursor.x, cursor.y + Platform().CursorHeight());
    const TPoint origin = Origin(form);
    m_cursor_rect = m_hint_control->BoundsRect().Offset(origin.x, origin.y);
    m_window->SetColor(clInfoBk);
    m_window->ActivateHint(rect, text);
    StartTimer(form, kHidePause, TimerMode::Hide);
}

void THintController::StartTimer(TCustomForm& form, unsigned milliseconds, TimerMode mode) {
    StopTimer();
    // The form passes the timer back through TimerFired.
    m_timer_window = form.Handle();
    m_timer_mode = mode;
    Platform().SetTimer(m_timer_window, kTimerId, milliseconds);
}

void THintController::StopTimer() {
    if (m_timer_mode == TimerMode::None) return;
    Platform().KillTimer(m_timer_window, kTimerId);
    m_timer_mode = TimerMode::None;
    m_timer_window = platform::kNoWindow;
}

void THintController::TimerFired() {
    const TimerMode mode = m_timer_mode;
    StopTimer();
    if (mode == TimerMode::Show) {
        // The pointer may have left the control while the timer ran.
        const TPoint cursor = Platform().CursorPos();
        TCustomForm* form = FormAt(cursor);
        if (!form) return;
        const TPoint origin = Origin(*form);
        if (HintControlOf(form->ControlAtPos({cursor.x - origin.x, cursor.y - origin.y})) == m_hint_control)
            ActivateHint(*form, cursor);
    } else if (mode == TimerMode::Hide) {
        HideWindow();  // still active, control still recorded: it does not come back here
    }
}

void THintController::HideWindow() {
    if (m_window) m_window->Hide();
}

void THintController::Cancel() {
    if (!m_hint_control) return;
    HideWindow();
    m_hint_control = nullptr;
    m_active = false;
    StopTimer();
}

void THintController::FilterMessage(const platform::Message& msg) {
    if (m_enabled && CancelsHint(msg.kind)) Cancel();
}

void THintController::Idle() {
    if (!m_enabled || !m_hint_control) return;
    if (!FormAt(Platform().CursorPos())) Cancel();
}

void THintController::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (!enabled) {
        Cancel();
        m_window.reset();
    }
}

void THintController::FormDestroyed(TCustomForm& form) {
    if (m_hint_control && &m_hint_control->Parent() == &form) Cancel();
    if (form.HandleAllocated() && m_timer_window == form.Handle()) StopTimer();
}

bool THintController::HandleWindowMessage(const platform::Message& msg) {
    if (!m_window || msg.window == platform::kNoWindow || msg.window != m_window->Handle()) return false;
    m_window->WndProc(msg);
    return true;
}

}  // namespace automenu
