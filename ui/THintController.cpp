#include "ui/THintController.h"

#include "ui/PlatformAccess.h"
#include "ui/TApplication.h"
#include "ui/TControl.h"
#include "ui/TCustomForm.h"
#include "ui/THintWindow.h"

namespace automenu {

using platform::MessageKind;

namespace {

// What lies under a screen point: a form of this program, and the topmost
// visible control there (disabled ones included), or null for the bare form.
struct UnderPointer {
    TCustomForm* form = nullptr;
    TControl* control = nullptr;
};

UnderPointer FindUnderPointer(TPoint screen) {
    UnderPointer under;
    if (!HasApplication()) return under;
    const platform::WindowId w = Platform().WindowAtPoint(screen);
    if (w == platform::kNoWindow) return under;
    under.form = Application().FormOfWindow(w);
    if (!under.form) return under;
    const TPoint origin = Platform().ClientToScreen(w, {0, 0});
    const TPoint p{screen.x - origin.x, screen.y - origin.y};
    const auto& controls = under.form->Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        TControl& c = **it;
        if (c.Visible() && c.BoundsRect().Contains(p)) {
            under.control = &c;
            break;
        }
    }
    return under;
}

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

void THintController::MouseMoved(TCustomForm&, TControl*) {
    if (!m_enabled) return;
    const TPoint cursor = Platform().CursorPos();
    TControl* hint_control = HintControlOf(FindUnderPointer(cursor).control);
    if (!hint_control) {
        Cancel();
        return;
    }
    if (hint_control == m_hint_control && m_cursor_rect.Contains(cursor)) return;
    const unsigned pause = m_active ? kShortPause : kShowPause;
    if (!m_active || pause != 0) {
        Cancel();
        m_hint_control = hint_control;
        StartTimer(pause, TimerMode::Show);
    } else {
        m_hint_control = hint_control;
        ActivateHint(cursor);
    }
}

void THintController::ActivateHint(TPoint cursor) {
    m_active = false;
    if (!m_enabled || !m_hint_control || !Platform().IsProgramActive()) return;
    const UnderPointer under = FindUnderPointer(cursor);
    if (HintControlOf(under.control) != m_hint_control) return;
    const std::string text = ShortHint(m_hint_control->Hint());
    if (text.empty()) return;

    m_active = true;
    if (!m_window) m_window = std::make_unique<THintWindow>();
    TRect rect = m_window->CalcHintRect(Platform().ScreenSize().cx, text);
    // Below the pointer by the visible height of the cursor.
    rect = rect.Offset(cursor.x, cursor.y + Platform().CursorHeight());
    const TPoint origin = Platform().ClientToScreen(under.form->Handle(), {0, 0});
    m_cursor_rect = m_hint_control->BoundsRect().Offset(origin.x, origin.y);
    m_window->SetColor(clInfoBk);
    m_window->ActivateHint(rect, text);
    StartTimer(kHidePause, TimerMode::Hide);
}

void THintController::StartTimer(unsigned milliseconds, TimerMode mode) {
    StopTimer();
    // The timer runs on the window of the form under the pointer; the form
    // passes it back through TimerFired.
    const UnderPointer under = FindUnderPointer(Platform().CursorPos());
    TCustomForm* form = under.form ? under.form : (m_hint_control ? &m_hint_control->Parent() : nullptr);
    if (!form || !form->HandleAllocated()) return;
    m_timer_window = form->Handle();
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
    if (mode == TimerMode::Show)
        ActivateHint(Platform().CursorPos());
    else if (mode == TimerMode::Hide)
        HideWindow();  // still active, control still recorded: it does not come back here
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
    if (!FindUnderPointer(Platform().CursorPos()).form) Cancel();
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
