// The application's tooltip state: which control's hint is pending or shown,
// the show and hide timer, and the one hint window.
//
// Timeline: the pointer rests on a control with a hint for the show delay
// (500 ms) and the hint appears below the pointer; it hides after the display
// time (2500 ms) and does not come back while the pointer stays within that
// control. While a hint is active, moving onto another control with a hint
// shows that one at once. Moving onto something without a hint, leaving the
// program's windows, or any key, button, wheel or activation message removes it.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace automenu {

class TControl;
class TCustomForm;
class THintWindow;

class THintController {
public:
    static constexpr int kTimerId = 0x4849;  // "HI"
    static constexpr unsigned kShowPause = 500;
    static constexpr unsigned kShortPause = 0;  // between hints
    static constexpr unsigned kHidePause = 2500;

    THintController();
    ~THintController();
    THintController(const THintController&) = delete;
    THintController& operator=(const THintController&) = delete;

    // A mouse move reached `form` at client point `pos`, over `control`: the
    // topmost visible control there (not the one holding the capture), or
    // null for the bare window.
    void MouseMoved(TCustomForm& form, TControl* control, TPoint pos);
    // Every message the loop takes passes here first; some cancel the hint.
    void FilterMessage(const platform::Message& msg);
    // The loop has nothing to do: cancel the hint when the pointer has left
    // the program's windows.
    void Idle();
    // The show or hide timer (kTimerId on a form's window) has fired.
    void TimerFired();
    // Hides the hint and forgets the control, when one is recorded.
    void Cancel();
    // Hints off cancels and destroys the hint window (program end).
    void SetEnabled(bool enabled);
    // The window form `form` is going away: forget anything that refers to it.
    void FormDestroyed(TCustomForm& form);

    // Messages addressed to the hint window; false when `msg` is for another window.
    bool HandleWindowMessage(const platform::Message& msg);

    // The hint window, or null before the first hint.
    const THintWindow* Window() const { return m_window.get(); }
    bool Showing() const;

    // The hint text rule: the part before the first "|".
    static std::string ShortHint(const std::string& hint);

private:
    enum class TimerMode { None, Show, Hide };

    // Shows the recorded control's hint below the screen point `cursor`.
    void ActivateHint(TCustomForm& form, TPoint cursor);
    // The timer runs on the window of the form under the pointer.
    void StartTimer(TCustomForm& form, unsigned milliseconds, TimerMode mode);
    void StopTimer();
    void HideWindow();

    bool m_enabled = true;
    TControl* m_hint_control = nullptr;
    bool m_active = false;
    // Screen bounds of the control whose hint was last shown; cancelling
    // leaves them, so a hint that timed out does not return on the same control.
    TRect m_cursor_rect;
    TimerMode m_timer_mode = TimerMode::None;
    platform::WindowId m_timer_window = platform::kNoWindow;
    std::unique_ptr<THintWindow> m_window;
};

}  // namespace automenu
